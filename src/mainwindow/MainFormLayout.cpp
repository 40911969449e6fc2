#include "mainwindow/MainForm.h"

#include "mainwindow/Boards.h"
#include "mainwindow/PanelLooks.h"
#include "mainwindow/WindowLayout.h"

#include "panels/MyTPanel.h"

#include "core/drawing/PictureGeometry.h"
#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/files/ProgramFolders.h"
#include "core/forms/Utilities.h"
#include "core/settings/ProgramOptions.h"
#include "core/settings/SkinOptions.h"

#include "viewing/PictureCache.h"

#include "host/FileSystem.h"

#include <QPainter>
#include <QPlainTextEdit>
#include <QResizeEvent>

#include <algorithm>

namespace {

constexpr int32_t SplitterWidth = 14;
constexpr int32_t LevelBarWidth = 20;

int32_t InnerWidth(MyTPanel& panel)
{
    return panel.GetItemsWidth(false);
}

int32_t InnerHeight(const MyTPanel& panel)
{
    return panel.height() - 2 * panel.Border;
}

void SetColors(QWidget& widget, TColor back, TColor text)
{
    QPalette palette = widget.palette();
    palette.setColor(QPalette::Window, ToQColor(back));
    palette.setColor(QPalette::Base, ToQColor(back));
    palette.setColor(QPalette::Text, ToQColor(text));
    palette.setColor(QPalette::WindowText, ToQColor(text));
    widget.setPalette(palette);
}

} // namespace

void TMainForm::Reset(bool clearLists)
{
    const bool paintingWas = GMyPanelGlobal.PaintingEnabled;
    GMyPanelGlobal.PaintingEnabled = false;
    BeginBusy();
    bool validCount = true;
    TTraced trace;
    try {
        if (VisibleColumnCount < 1 || VisibleColumnCount > MaxVisibleColumns) {
            validCount = false;
            trace.Raise("Invalid number of columns.");
        } else {
            if (clearLists)
                for (int32_t i = 0; i < MaxVisibleColumns; ++i)
                    Columns[static_cast<size_t>(i)]->FileList->ClearItems();
            SetColors(*this, SkinOptions.FillingColor, SkinOptions.WindowTextColor);
            setAutoFillBackground(true);
            SetColors(*ViewerMemo, SkinOptions.WindowBackColor, SkinOptions.WindowTextColor);
            MainPanel->SetBounds(0, 0, width(), height());
            int32_t top = LayoutToolbar();
            LayoutUserLogo();
            Boards->ArrangeBar(ProgramOptions.VisibleBoards, ProgramOptions.BoardsBarRows, 0, top,
                               InnerWidth(*MainPanel));
            if (!BoardsBarPanel->isHidden())
                top += BoardsBarPanel->height();
            int32_t bottom = LayoutHintBar();
            bottom = LayoutInfoBars(bottom);
            LayoutCenter(top, bottom);
        }
    }
    TRACED_CATCH(trace)
    TreePanel->setVisible(validCount && Boards->GetActiveBoard().ShowTree);
    MainPanel->ResetAll();
    if (ActiveColumnIndex >= VisibleColumnCount)
        ActiveColumnIndex = std::max(VisibleColumnCount - 1, 0);
    EndBusy();
    GMyPanelGlobal.PaintingEnabled = paintingWas;
}

// Returns the top of what comes below the toolbar.
int32_t TMainForm::LayoutToolbar()
{
    const TToolbarMetrics metrics = GetToolbarMetrics(ProgramOptions.CaptionFontSize, SkinOptions.ToolbarButtonsStyle);
    int32_t buttonHeight = GetLineHeightWithBorders(*WorkButton);
    if (metrics.Oval)
        buttonHeight = static_cast<int32_t>(buttonHeight * 1.25L);
    ToolbarPanel->SetBounds(0, 0, InnerWidth(*MainPanel), buttonHeight + 2 * ToolbarPanel->Border);
    const int32_t total =
        metrics.ButtonWidths[0] + metrics.ButtonWidths[1] + metrics.ButtonWidths[2] + metrics.ButtonWidths[3];
    int32_t left = ProgramOptions.CenterToolbarButtons ? (InnerWidth(*ToolbarPanel) - total) / 2 : 0;
    const std::array<MyTPanel*, 4> buttons{WorkButton, BoardsButton, SkinsButton, HelpButton};
    for (size_t i = 0; i < buttons.size(); ++i) {
        buttons[i]->SetBounds(left, 0, metrics.ButtonWidths[i], buttonHeight);
        SetToolbarButtonStyle(*buttons[i]);
        left += metrics.ButtonWidths[i];
    }
    return ToolbarPanel->height();
}

void TMainForm::LayoutUserLogo()
{
    const int32_t height = InnerHeight(*ToolbarPanel);
    const int32_t width = height * ProgramOptions.UserLogoWidth / 100;
    const int32_t left = ProgramOptions.ShowTopLeftUserLogo ? 0 : InnerWidth(*ToolbarPanel) - width;
    UserLogoPanel->SetBounds(left, 0, width, height);
    UserLogoPanel->setVisible(ProgramOptions.ShowUserLogo);
}

// Returns the bottom of what stands above the hint bar.
int32_t TMainForm::LayoutHintBar()
{
    int32_t bottom = InnerHeight(*MainPanel);
    HintBarPanel->Framed = SkinOptions.HintPanelAsWindow;
    HintBarPanel->FaceColorSet = SkinOptions.HintPanelAsWindow ? 1 : 2;
    HintBarPanel->setVisible(ProgramOptions.ShowHintBar);
    const int32_t height =
        GetFontHeight(HintBarPanel->GetTextFont(), *HintBarPanel) * ProgramOptions.HintLines + 2 * HintBarPanel->Border;
    if (ProgramOptions.ShowHintBar)
        bottom -= height;
    HintBarPanel->SetBounds(0, bottom, InnerWidth(*MainPanel), height);
    return bottom;
}

// Returns the bottom of what stands above the information bars.
int32_t TMainForm::LayoutInfoBars(int32_t bottom)
{
    struct TBarLayout
    {
        MyTPanel* Bar;
        bool Shown;
        std::array<long double, 6> Fractions;
        std::array<MyTPanel*, InfoBarFieldCount>* Fields;
    };
    const std::array<TBarLayout, 4> bars{{
        {ColumnInfoBar, ProgramOptions.ShowColumnInfo, {0.10L, 0.13L, 0.13L, 0.16L, 0.16L, 0.18L}, &ColumnInfoFields},
        {FileInfoBar, ProgramOptions.ShowFileInfo, {0.07L, 0.09L, 0.07L, 0.04L, 0.04L, 0.40L}, &FileInfoFields},
        {FileDescBar, ProgramOptions.ShowFileDesc, {}, nullptr},
        {ReferenceInfoBar,
         ProgramOptions.ShowReferenceInfo,
         {0.05L, 0.09L, 0.06L, 0.34L, 0.29L, 0.09L},
         &ReferenceInfoFields},
    }};
    const int32_t barHeight = GetLineHeightWithBorders(*ColumnInfoFields[0]);
    const int32_t barWidth = std::max(InnerWidth(*MainPanel) - 2 * InfoBarsPanel->Border, 0);
    int32_t y = 0;
    for (const TBarLayout& layout : bars) {
        layout.Bar->setVisible(layout.Shown);
        layout.Bar->SetBounds(0, y, barWidth, barHeight);
        if (layout.Fields == nullptr) {
            FileDescField->SetBounds(0, 0, barWidth, barHeight);
        } else {
            const std::array<int32_t, 7> widths = GetInfoFieldWidths(layout.Fractions, barWidth);
            int32_t left = 0;
            for (size_t i = 0; i < widths.size(); ++i) {
                (*layout.Fields)[i]->SetBounds(left, 0, widths[i], barHeight);
                left += widths[i];
            }
        }
        if (layout.Shown)
            y += barHeight;
    }
    if (y < 1) {
        InfoBarsPanel->hide();
        return bottom;
    }
    const int32_t height = y + 2 * InfoBarsPanel->Border;
    bottom -= height;
    InfoBarsPanel->SetBounds(0, bottom, InnerWidth(*MainPanel), height);
    InfoBarsPanel->show();
    return bottom;
}

void TMainForm::LayoutCenter(int32_t top, int32_t bottom)
{
    const TBoardData& board = Boards->GetActiveBoard();
    CenterPanel->SetBounds(0, top, InnerWidth(*MainPanel), std::max(bottom - top, 0));
    const int32_t centerWidth = InnerWidth(*CenterPanel);
    const int32_t centerHeight = std::max(InnerHeight(*CenterPanel), 0);
    const int32_t treeWidth = std::min(TreePanel->width(), width() * 45 / 100);
    TreePanel->SetBounds(0, 0, treeWidth, centerHeight);
    PlayListPanel->setVisible(board.ShowPlayList);
    const int32_t playListWidth = std::min(PlayListPanel->width(), width() * 35 / 100);
    PlayListPanel->SetBounds(centerWidth - playListWidth, 0, playListWidth, centerHeight);
    const int32_t workLeft = board.ShowTree ? TreePanel->width() : 0;
    const int32_t workWidth = centerWidth - workLeft - (board.ShowPlayList ? PlayListPanel->width() : 0);
    WorkAreaPanel->SetBounds(workLeft, 0, std::max(workWidth, 0), centerHeight);
    const int32_t workInnerHeight = std::max(InnerHeight(*WorkAreaPanel), 0);
    ViewerPanel->SetBounds(0, workInnerHeight - ViewerPanel->height(), InnerWidth(*WorkAreaPanel),
                           ViewerPanel->height());
    LayoutViewer();
    const int32_t columnsHeight = ViewerPanel->isHidden() ? workInnerHeight : std::max(ViewerPanel->y(), 0);
    ColumnsPanel->SetBounds(0, 0, InnerWidth(*WorkAreaPanel), columnsHeight);
    ArrangeColumns();
    HideInvisibleColumns();
    LayoutPlayList();
    LayoutTree();
}

void TMainForm::HideInvisibleColumns()
{
    for (int32_t i = VisibleColumnCount; i < ColumnCount; ++i)
        Columns[static_cast<size_t>(i)]->Reset(InnerWidth(*ColumnsPanel), 0, 0, InnerHeight(*ColumnsPanel));
}

void TMainForm::ArrangeColumns()
{
    std::vector<TColumnWeight> weights;
    for (int32_t i = 0; i < MaxVisibleColumns; ++i) {
        TColumn& column = *Columns[static_cast<size_t>(i)];
        column.Panel->hide();
        if (i < VisibleColumnCount)
            weights.push_back({column.WidthAttr, column.Subcolumns, 2 * column.FileList->Border});
    }
    const std::vector<TColumnSpan> spans = SpreadColumns(weights, InnerWidth(*ColumnsPanel));
    for (size_t j = 0; j < spans.size(); ++j)
        Columns[j]->Reset(spans[j].Left, 0, spans[j].Width, InnerHeight(*ColumnsPanel));
}

void TMainForm::LayoutViewer()
{
    const int32_t width = InnerWidth(*ViewerPanel);
    ViewerSplitter->SetBounds(0, 0, width, SplitterWidth);
    ViewerClientPanel->SetBounds(0, SplitterWidth, width, std::max(InnerHeight(*ViewerPanel) - SplitterWidth, 0));
    const int32_t border = ViewerClientPanel->Border;
    ViewerMemo->setGeometry(border, border, InnerWidth(*ViewerClientPanel),
                            std::max(InnerHeight(*ViewerClientPanel), 0));
}

void TMainForm::LayoutPlayList()
{
    const int32_t titleHeight = GetLineHeightWithBorders(*PlayListTitlePanel);
    const int32_t height = InnerHeight(*PlayListPanel);
    PlayListSplitter->SetBounds(0, 0, SplitterWidth, height);
    PlayListInnerPanel->SetBounds(SplitterWidth, 0, std::max(InnerWidth(*PlayListPanel) - SplitterWidth, 0), height);
    const int32_t innerWidth = InnerWidth(*PlayListInnerPanel);
    const int32_t innerHeight = InnerHeight(*PlayListInnerPanel);
    PlayListTitlePanel->SetBounds(0, 0, innerWidth, titleHeight);
    const int32_t barHeight = 3 * titleHeight + 2 * MediaBarPanel->Border;
    MediaBarPanel->SetBounds(0, innerHeight - barHeight, innerWidth, barHeight);
    const auto buttonWidth = static_cast<int32_t>(50 * GetCaptionScale(ProgramOptions.CaptionFontSize));
    const std::array<std::array<MyTPanel*, 3>, 3> grid{{{PlayButton, PauseButton, StopButton},
                                                        {NextButton, PrevButton, RandomButton},
                                                        {ClipButton, RepeatButton, FitButton}}};
    for (size_t column = 0; column < grid.size(); ++column)
        for (size_t row = 0; row < grid[column].size(); ++row)
            grid[column][row]->SetBounds(static_cast<int32_t>(column) * buttonWidth,
                                         static_cast<int32_t>(row) * titleHeight, buttonWidth, titleHeight);
    const int32_t listHeight = std::max(MediaBarPanel->y() - titleHeight, 0);
    ProgressBar->SetBounds(0, titleHeight, LevelBarWidth, listHeight);
    VolumeBar->SetBounds(std::max(innerWidth - LevelBarWidth, 0), titleHeight, LevelBarWidth, listHeight);
    PlayList->SetBounds(LevelBarWidth, titleHeight, std::max(innerWidth - 2 * LevelBarWidth, 0), listHeight);
    MediaPlayer.SetPlayListItemHeight();
}

void TMainForm::LayoutTree()
{
    const int32_t pathHeight = GetLineHeightWithBorders(*TreePathPanel);
    const int32_t height = InnerHeight(*TreePanel);
    const int32_t innerWidth = std::max(InnerWidth(*TreePanel) - SplitterWidth, 0);
    TreeSplitter->SetBounds(innerWidth, 0, SplitterWidth, height);
    TreeInnerPanel->SetBounds(0, 0, innerWidth, height);
    TreePathPanel->SetBounds(0, 0, InnerWidth(*TreeInnerPanel), pathHeight);
    TreeViewPanel->SetBounds(0, pathHeight, InnerWidth(*TreeInnerPanel),
                             std::max(InnerHeight(*TreeInnerPanel) - pathHeight, 0));
    StyleTreeView();
}

void TMainForm::SetToolbarButtonStyle(MyTPanel& button)
{
    const int32_t shape = GetToolbarButtonShape(SkinOptions.ToolbarButtonsStyle);
    if (shape < 0)
        return;
    button.ButtonShape = shape;
    button.InnerMargin = std::min(1, button.Border);
    button.Invalidate();
}

// The logo is any file named "UserLogo" in the Options folder; without one (the name
// then is the folder itself) nothing is drawn. It is a thumbnail of the panel's size,
// rendered once and kept in the picture cache.
void TMainForm::UserLogoPaint(QPainter& canvas)
{
    TTraced trace;
    try {
        const std::string logo = GetUserLogoFileName();
        const std::optional<host::FindData> info = host::GetFileData(logo);
        if (!info || (info->Attributes & host::FILE_ATTRIBUTE_DIRECTORY) != 0)
            return;
        TThumbParams params;
        params.List = UserLogoPanel;
        params.Repaint = [panel = UserLogoPanel] { panel->Invalidate(); };
        params.FileName = logo;
        params.FileSize = static_cast<int64_t>(info->Size);
        params.FileTime = info->LastWriteTime;
        params.Rect = UserLogoPanel->rect();
        params.ShowWhileScrolling = ProgramOptions.ShowWhileScrolling;
        params.SmartQualitySize = ProgramOptions.SmartQualitySize;
        params.HighQuality = ProgramOptions.HighQualityThumb;
        params.FrameColor = clNone;
        params.BackColor = SkinOptions.ButtonBackColor;
        PictureCache.Load(canvas, params);
        trace.TakeOver();
    }
    TRACED_CATCH(trace)
}

void TMainForm::FormResize()
{
    if (!isVisible() || !StartupDone)
        return;
    SetupBackPicture("");
    Reset(false);
    SetViewerHeight(true, ViewerPanel->height());
    FocusColumn(-1, false);
}

void TMainForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}
