#include "BoardTestWindow.h"

#include "mainwindow/Splitters.h"

#include "viewing/FileViewer.h"

#include "panels/MyTPanel.h"

#include "core/forms/VirtualKeys.h"
#include "core/settings/ProgramOptions.h"

#include "support/FakeMediaDevice.h"

#include <QPlainTextEdit>

namespace {

constexpr uint16_t VK_F7 = VK_F1 + 6;

TEST(Splitters, ASizeStaysWithinItsLimitsAndTheMaximumWinsButNeverBelowZero)
{
    struct TCase
    {
        const char* Name;
        int32_t Size;
        int32_t Growth;
        int32_t Minimum;
        int32_t Maximum;
        TSplitterFit Fit;
    };
    const TCase cases[] = {
        {"within the limits", 250, -30, 50, 400, {220, -30}},
        {"below the minimum", 250, -230, 50, 400, {50, -200}},
        {"above the maximum", 250, 500, 50, 400, {400, 150}},
        {"the maximum below the minimum", 250, 0, 50, 30, {30, -220}},
        {"the maximum below the minimum, shrinking", 40, -20, 50, 30, {30, -10}},
        {"a maximum below zero", 250, 0, 50, -40, {0, -250}},
        {"a far drag", 250, INT32_MAX, 50, 400, {400, 150}},
    };
    for (const TCase& c : cases) {
        const TSplitterFit fit = FitSplitterSize(c.Size, c.Growth, c.Minimum, c.Maximum);
        EXPECT_EQ(c.Fit.Size, fit.Size) << c.Name;
        EXPECT_EQ(c.Fit.Growth, fit.Growth) << c.Name;
    }
}

// A started window over a folder of files, with media devices that play nothing.
class ViewerPanel : public testing::Test
{
protected:
    TMainForm& Open(const std::string& focused)
    {
        Window.Open();
        TColumn& column = ColumnAt(*Window, 0);
        column.LoadDirectory(
            {.RememberPrevious = true, .ContainerIndex = -1, .Title = Drive.Path(focused), .Type = std::nullopt});
        Window->FocusColumn(0, true);
        return *Window;
    }
    void PressKey(uint16_t key, TShiftState shift = {})
    {
        Window->FormKeyDown(key, shift);
        EXPECT_EQ(0, key);
    }
    bool ViewerShown() const { return !Window->ViewerPanel->isHidden(); }
    int32_t ViewerHeight() const { return Window->ViewerPanel->height(); }
    std::string MemoText() const { return Window->ViewerMemo->toPlainText().toStdString(); }

    TFakeMediaDevices Devices;
    TTempDrive Drive{'T'};
    TBoardTestWindow Window;
};

TEST_F(ViewerPanel, ViewShowsTheFocusedTextAndViewNextTheItemBelow)
{
    Drive.WriteFile("d/a.txt", "first");
    Drive.WriteFile("d/b.txt", "second");
    TMainForm& window = Open("d\\a.txt");

    window.ClickCommand("ViewFileMenu");
    EXPECT_TRUE(ViewerShown());
    EXPECT_EQ("first", MemoText());

    window.ClickCommand("ViewNextMenu");
    EXPECT_EQ(Drive.Path("d\\b.txt"), ColumnAt(window, 0).ActiveTitle);
    EXPECT_EQ("second", MemoText());

    window.ClickCommand("ViewPreviousMenu");
    EXPECT_EQ("first", MemoText());
}

TEST_F(ViewerPanel, AFolderOfAudioPlaysWithoutThePanelAndAVideoShowsIt)
{
    Drive.WriteFile("songs/a.wav", "x");
    Drive.WriteFile("songs/b.ogg", "x");
    Drive.WriteFile("songs/notes.txt", "x");
    Drive.WriteFile("films/a.wav", "x");
    Drive.WriteFile("films/b.avi", "x");
    TMainForm& window = Open("songs\\a.wav");

    window.ClickCommand("ViewMediaInDirMenu");
    EXPECT_FALSE(ViewerShown());
    ASSERT_EQ(1, window.FileViewer->LastPlayedMPL.Count);
    EXPECT_EQ(Drive.Path("songs\\"), window.FileViewer->LastPlayedMPL.Files[0]);

    TColumn& column = ColumnAt(window, 0);
    column.LoadDirectory(
        {.RememberPrevious = true, .ContainerIndex = -1, .Title = Drive.Path("films\\a.wav"), .Type = std::nullopt});
    window.ClickCommand("ViewMediaInDirMenu");
    EXPECT_TRUE(ViewerShown());
}

TEST_F(ViewerPanel, EscHidesCtrlF7ClosesAndShiftF7LeavesTheColumnsOneRow)
{
    Drive.WriteFile("d/a.txt", "text");
    TMainForm& window = Open("d\\a.txt");
    window.ClickCommand("ViewFileMenu");
    ASSERT_TRUE(ViewerShown());
    EXPECT_EQ(250, ViewerHeight());

    PressKey(VK_F7, ShiftOf(ssShift));
    EXPECT_EQ(window.GetMaxViewerHeight(), ViewerHeight());
    EXPECT_EQ(1, window.Columns[0]->FileList->GetRowsInView());

    PressKey(VK_ESCAPE);
    EXPECT_FALSE(ViewerShown());
    EXPECT_FALSE(window.ViewerMemo->isVisibleTo(&window));
    EXPECT_EQ("", MemoText());

    window.ClickCommand("ViewFileMenu");
    ASSERT_TRUE(ViewerShown());
    PressKey(VK_F7, ShiftOf(ssCtrl));
    EXPECT_FALSE(ViewerShown());
}

TEST_F(ViewerPanel, TheSplitterDragsWithinTheLimitsAndAnotherButtonHidesTheViewer)
{
    Drive.WriteFile("d/a.txt", "text");
    TMainForm& window = Open("d\\a.txt");
    window.ClickCommand("ViewFileMenu");
    ASSERT_EQ(250, ViewerHeight());

    int32_t distance = 1000;
    window.ViewerSplitterMoving(distance);
    EXPECT_EQ(200, distance) << "down to the 50 pixels left";
    distance = -30;
    window.ViewerSplitterMoving(distance);
    EXPECT_EQ(-30, distance);
    window.ViewerSplitterMoved(distance);
    EXPECT_EQ(280, ViewerHeight());
    distance = -1000;
    window.ViewerSplitterMoving(distance);
    EXPECT_EQ(280 - window.GetMaxViewerHeight(), distance);

    window.ViewerSplitter->OnMouseDown(window.ViewerSplitter, mbRight, {}, 5, 5);
    EXPECT_FALSE(ViewerShown());
}

TEST_F(ViewerPanel, AtTheSmallestWindowWithEveryBarTheViewerIsZeroHigh)
{
    Drive.WriteFile("d/a.txt", "text");
    TMainForm& window = Open("d\\a.txt");
    for (bool* bar : {&ProgramOptions.ShowBoardsBar, &ProgramOptions.ShowColumnInfo, &ProgramOptions.ShowFileDesc,
                      &ProgramOptions.ShowReferenceInfo, &ProgramOptions.ShowHintBar, &ProgramOptions.ShowFileInfo})
        *bar = true;
    window.resize(window.minimumSize());
    window.Reset(false);
    window.ClickCommand("ViewFileMenu");
    ASSERT_TRUE(ViewerShown());
    ASSERT_LT(window.GetMaxViewerHeight(), 0);

    EXPECT_EQ(0, ViewerHeight());
    PressKey(VK_F7, ShiftOf(ssShift));
    EXPECT_EQ(0, ViewerHeight());
    int32_t distance = -100;
    window.ViewerSplitterMoving(distance);
    EXPECT_EQ(0, distance);
    window.SetViewerHeight(true, 120);
    EXPECT_EQ(0, ViewerHeight());
}

} // namespace
