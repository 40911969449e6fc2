#include "mainwindow/MainForm.h"

#include "mainwindow/Splitters.h"

#include "viewing/FileViewer.h"

#include "columns/ToolServices.h"

#include "panels/MyTPanel.h"

namespace {

constexpr int32_t MinViewerHeight = 50;

} // namespace

void TMainForm::BindViewerSplitter()
{
    ViewerSplitter->OnMouseDown = [this](MyTPanel*, TMouseButton button, TShiftState, int32_t, int32_t) {
        ViewerSplitterMouseDown(button);
    };
    ViewerSplitter->OnSplitterMoving = [this](MyTPanel*, int32_t& distance) { ViewerSplitterMoving(distance); };
    ViewerSplitter->OnSplitterMoved = [this](MyTPanel*, int32_t distance) { ViewerSplitterMoved(distance); };
}

void TMainForm::ShowViewer()
{
    if (!ViewerPanel->isHidden())
        return;
    ViewerPanel->show();
    Reset(false);
    SetViewerHeight(true, 0);
    FocusColumn(-1, false);
}

void TMainForm::HideViewerPanel()
{
    ViewerPanel->hide();
    FileViewer->Clear();
}

// The columns keep one item row of the first column's list above the viewer.
int32_t TMainForm::GetMaxViewerHeight()
{
    const int32_t workBottom =
        WorkAreaPanel->mapToGlobal(QPoint(0, 0)).y() + WorkAreaPanel->height() - 2 * WorkAreaPanel->Border;
    MyTPanel& list = *Columns[0]->FileList;
    const int32_t firstRowBottom = list.mapToGlobal(QPoint(0, 0)).y() + list.GetItemHeight();
    return workBottom - firstRowBottom - 3 * list.Border;
}

void TMainForm::SetViewerHeight(bool refit, int32_t height)
{
    if (ViewerPanel->isHidden()) {
        FileViewer->Clear();
        return;
    }
    const int32_t current = ViewerPanel->height();
    const int32_t wanted = height > 0 ? height : current;
    const int32_t fitted = FitSplitterSize(wanted, 0, MinViewerHeight, GetMaxViewerHeight()).Size;
    if (fitted != current) {
        ViewerPanel->resize(ViewerPanel->width(), fitted);
        Reset(false);
        FileViewer->Refresh();
        FocusColumn(-1, false);
    } else if (refit) {
        FileViewer->Refresh();
    }
}

void TMainForm::CloseViewer()
{
    const bool shown = !ViewerPanel->isHidden();
    if (!shown && !MediaPlayer.IsMediaOpen())
        return;
    MediaPlayer.ClickStopButton();
    if (!shown)
        return;
    HideViewerPanel();
    Reset(false);
    FocusColumn(-1, false);
}

void TMainForm::HideViewer()
{
    if (ViewerPanel->isHidden())
        return;
    // A movie needs the panel.
    if (MediaPlayer.IsMediaOpen() && TFileViewer::HasVideoFiles(*PlayList))
        return;
    HideViewerPanel();
    Reset(false);
    FocusColumn(-1, false);
}

void TMainForm::MaximizeViewerHeight()
{
    SetViewerHeight(false, GetMaxViewerHeight());
}

void TMainForm::ViewerSplitterMouseDown(TMouseButton button)
{
    if (button != mbLeft)
        HideViewer();
}

// The bar moves down by the distance, so the viewer shrinks by it.
void TMainForm::ViewerSplitterMoving(int32_t& distance)
{
    distance = -FitSplitterSize(ViewerPanel->height(), -distance, MinViewerHeight, GetMaxViewerHeight()).Growth;
}

void TMainForm::ViewerSplitterMoved(int32_t distance)
{
    if (ViewerPanel->isHidden())
        return;
    SetViewerHeight(false,
                    FitSplitterSize(ViewerPanel->height(), -distance, MinViewerHeight, GetMaxViewerHeight()).Size);
    FocusColumn(-1, false);
}

void TMainForm::SkinChanged()
{
    FileViewer->Refresh();
    TSeam<TToolServices>::Get().SetFileStreamsEditorOptions();
    FocusColumn(-1, false);
}
