#pragma once

#include "viewing/MediaPlayer.h"

#include "panels/MyTPanel.h"

#include <QRect>
#include <QWidget>

// The panels a media player drives, laid out on a window of the test's own: the play list
// box at the top left, the viewer's client panel 590 x 390 inside its border of 5.
struct TTestMediaControls
{
    explicit TTestMediaControls(QWidget& window)
    {
        Controls.PlayListPanel = AddPanel(&window, {0, 0, 400, 300});
        MyTPanel* box = Controls.PlayListPanel;
        Controls.PlayList = AddPanel(box, {30, 20, 300, 200});
        Controls.PlayList->SetKind(mpkList);
        Controls.PlayListTitlePanel = AddPanel(box, {0, 0, 300, 20});
        for (MyTPanel** bar : {&Controls.ProgressBar, &Controls.VolumeBar}) {
            // 101 pixels inside: a click at y gives y / 100.
            *bar = AddPanel(box, {0, 20, 20, 101 + 10});
            (*bar)->SetKind(mpkLevelBar);
        }
        for (MyTPanel** button : {&Controls.PlayButton, &Controls.PauseButton, &Controls.StopButton,
                                  &Controls.NextButton, &Controls.PrevButton, &Controls.RandomButton,
                                  &Controls.ClipButton, &Controls.RepeatButton, &Controls.FitButton})
            *button = AddPanel(box, {0, 230, 40, 20});
        Controls.ViewerClientPanel = AddPanel(&window, {0, 0, 600, 400});
    }

    static MyTPanel* AddPanel(QWidget* parent, QRect bounds)
    {
        auto* panel = new MyTPanel(parent);
        panel->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
        return panel;
    }

    TMediaPlayerControls Controls;
};
