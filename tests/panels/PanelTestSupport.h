#pragma once

#include "panels/MyPanelOptions.h"
#include "panels/MyTPanel.h"

#include "core/settings/ProgramOptions.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QWidget>

#include <string>

// A shown window whose panels share the background. The items font is the one whose
// lines are 15 pixels high here, so a text line (font, extra height and 1) is 20 pixels.
// The shared records come back to rest when the window goes.
class TPanelWindow
{
public:
    static constexpr int LineHeight = 20;

    explicit TPanelWindow(int width = 400, int height = 300) : SavedOptions(ProgramOptions)
    {
        ProgramOptions.ItemsFontSize = 10;
        ProgramOptions.CaptionFontSize = 10;
        Window.resize(width, height);
        Window.show();
        Window.activateWindow();
        for (int round = 0; round < 10 && !Window.isActiveWindow(); ++round)
            QApplication::processEvents();
        GMyPanelGlobal.RootControl = &Window;
        GMyPanelOptions.SizingControl = &Window;
    }
    ~TPanelWindow()
    {
        GMyPanelGlobal.SetTimerEnabled(false);
        GMyPanelGlobal.HotPanel = nullptr;
        GMyPanelGlobal.PressedPanel = nullptr;
        GMyPanelGlobal.RootControl = nullptr;
        GMyPanelGlobal.PaintingEnabled = true;
        GMyPanelOptions.SizingControl = nullptr;
        GMyPanelOptions.Background = QImage();
        GMyPanelOptions.BackPicture = QImage();
        GMyPanelOptions.BindSkin(DefaultPanelSkin);
        ProgramOptions = SavedOptions;
    }
    TPanelWindow(const TPanelWindow&) = delete;
    TPanelWindow& operator=(const TPanelWindow&) = delete;

    // A list of the texts "0", "1", ... placed at the bounds (inside the window).
    MyTPanel& AddList(QRect bounds, int count, int itemHeight = 15, int subcolumns = 1)
    {
        auto* list = new MyTPanel(&Window);
        list->SetKind(mpkList);
        list->SetItemHeight(itemHeight);
        list->SetSubcolumns(subcolumns);
        list->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
        for (int i = 0; i < count; ++i)
            list->AddTextItem(std::to_string(i));
        list->ResetItems();
        return *list;
    }

    MyTPanel& AddPanel(QRect bounds)
    {
        auto* panel = new MyTPanel(&Window);
        panel->SetBounds(bounds.x(), bounds.y(), bounds.width(), bounds.height());
        return *panel;
    }

    QWidget Window;

private:
    TProgramOptions SavedOptions;
};

// Runs the posted paints, and the paints that they post in turn (a list's scroll bar).
inline void FlushPaints()
{
    for (int round = 0; round < 3; ++round)
        QApplication::processEvents();
}

inline void SendKey(QWidget& target, QEvent::Type type, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                    bool autoRepeat = false)
{
    QKeyEvent event(type, key, modifiers, QString(), autoRepeat);
    QApplication::sendEvent(&target, &event);
}

// A press and its release.
inline void TapKey(QWidget& target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    SendKey(target, QEvent::KeyPress, key, modifiers);
    SendKey(target, QEvent::KeyRelease, key, modifiers);
}

inline void SendMouse(QWidget& target, QEvent::Type type, QPoint position, Qt::MouseButton button,
                      Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, QPointF(position), QPointF(target.mapToGlobal(position)), button, buttons, modifiers);
    QApplication::sendEvent(&target, &event);
}

inline void Press(QWidget& target, QPoint position, Qt::MouseButton button = Qt::LeftButton)
{
    SendMouse(target, QEvent::MouseButtonPress, position, button, button);
}

inline void Release(QWidget& target, QPoint position, Qt::MouseButton button = Qt::LeftButton)
{
    SendMouse(target, QEvent::MouseButtonRelease, position, button, Qt::NoButton);
}

inline void MoveHolding(QWidget& target, QPoint position, Qt::MouseButtons buttons = Qt::LeftButton)
{
    SendMouse(target, QEvent::MouseMove, position, Qt::NoButton, buttons);
}

// One notch of the wheel over the point of the target; down when `steps` is positive.
inline void Wheel(QWidget& target, QPoint position, int steps)
{
    QWheelEvent event(QPointF(position), QPointF(target.mapToGlobal(position)), QPoint(), QPoint(0, -120 * steps),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&target, &event);
}

inline std::string TextOf(const MyTPanel& list, int index)
{
    return static_cast<const TTextItem*>(list.GetItem(index))->Text;
}
