#include "mainwindow/MainForm.h"

#include "mainwindow/Splitters.h"

#include "panels/MyTPanel.h"

namespace {

constexpr int32_t MinSidePanelWidth = 100;

} // namespace

void TMainForm::BindSideSplitters()
{
    TreeSplitter->OnMouseDown = [this](MyTPanel*, TMouseButton button, TShiftState, int32_t, int32_t) {
        TreeSplitterMouseDown(button);
    };
    TreeSplitter->OnSplitterMoving = [this](MyTPanel*, int32_t& distance) { TreeSplitterMoving(distance); };
    TreeSplitter->OnSplitterMoved = [this](MyTPanel*, int32_t distance) { TreeSplitterMoved(distance); };
    PlayListSplitter->OnMouseDown = [this](MyTPanel*, TMouseButton button, TShiftState, int32_t, int32_t) {
        PlayListSplitterMouseDown(button);
    };
    PlayListSplitter->OnSplitterMoving = [this](MyTPanel*, int32_t& distance) { PlayListSplitterMoving(distance); };
    PlayListSplitter->OnSplitterMoved = [this](MyTPanel*, int32_t distance) { PlayListSplitterMoved(distance); };
}

int32_t TMainForm::GetTreeWidthMax() const
{
    return width() * 45 / 100;
}

int32_t TMainForm::GetPlayListWidthMax() const
{
    return width() * 35 / 100;
}

// ---- The tree: its splitter is its right edge, so the tree grows by the distance ----

void TMainForm::TreeSplitterMouseDown(TMouseButton button)
{
    if (button != mbLeft && !TreePanel->isHidden())
        ClickCommand("ToggleTreeNavigatorMenu");
}

void TMainForm::TreeSplitterMoving(int32_t& distance)
{
    distance = FitSplitterSize(TreePanel->width(), distance, MinSidePanelWidth, GetTreeWidthMax()).Growth;
}

void TMainForm::TreeSplitterMoved(int32_t distance)
{
    if (TreePanel->isHidden())
        return;
    TreePanel->resize(FitSplitterSize(TreePanel->width(), distance, MinSidePanelWidth, GetTreeWidthMax()).Size,
                      TreePanel->height());
    Reset(false);
    SetViewerHeight(true, 0);
    FocusColumn(-1, false);
}

// ---- The play list: its splitter is its left edge, so it shrinks by the distance ----

void TMainForm::PlayListSplitterMouseDown(TMouseButton button)
{
    if (button != mbLeft && !PlayListPanel->isHidden())
        ClickCommand("ShowHideMediaPlayListMenu");
}

void TMainForm::PlayListSplitterMoving(int32_t& distance)
{
    distance = -FitSplitterSize(PlayListPanel->width(), -distance, MinSidePanelWidth, GetPlayListWidthMax()).Growth;
}

void TMainForm::PlayListSplitterMoved(int32_t distance)
{
    if (PlayListPanel->isHidden())
        return;
    PlayListPanel->resize(
        FitSplitterSize(PlayListPanel->width(), -distance, MinSidePanelWidth, GetPlayListWidthMax()).Size,
        PlayListPanel->height());
    Reset(false);
    SetViewerHeight(true, 0);
    FocusColumn(-1, false);
}
