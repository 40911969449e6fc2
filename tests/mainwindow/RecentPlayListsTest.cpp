#include "BoardTestWindow.h"

#include "viewing/FileViewer.h"

#include "support/FakeMediaDevice.h"
#include "support/ShownFailures.h"

#include <gmock/gmock.h>

#include <fstream>

namespace {

class RecentPlayLists : public testing::Test
{
protected:
    TTempDrive Drive;
    TFakeMediaDevices Devices;
    TBoardTestWindow Window;
};

TEST_F(RecentPlayLists, ResumingADeletedEntryRemovesItAndSaysWhy)
{
    Window.Open();
    TLastPlayedMPL& recent = Window->FileViewer->LastPlayedMPL;
    recent.Add(Drive.Path("gone.mpl"));
    recent.Add(Drive.Path("kept.mpl"));
    TShownFailures failures;
    {
        TModalScript script;
        failures.Expect(script, "Error");
        Window->LastPlayedMPLMenuClick(Drive.Path("gone.mpl"), "song.wav", 1500);
    }
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], testing::HasSubstr("Failed to resume media play-list."));
    EXPECT_THAT(failures.Reports[0], testing::HasSubstr("The file / directory doesn't exists."));
    ASSERT_EQ(1, recent.Count);
    EXPECT_EQ(Drive.Path("kept.mpl"), recent.Files[0]);
    EXPECT_EQ(0, ColumnAt(*Window, HiddenColumnIndex).GetItemCount()) << "the work column is left empty";
}

TEST_F(RecentPlayLists, TheRecentListIsKeptInTheOptionFileAcrossARestart)
{
    Window.Open();
    Window->FileViewer->LastPlayedMPL.Add(Drive.Path("party.mpl"));
    Window->FileViewer->LastPlayedMPL.SetLastPosition(Drive.Path("b.wav"), 4200);
    Window.Close();

    Window.Open();
    const TLastPlayedMPL& recent = Window->FileViewer->LastPlayedMPL;
    ASSERT_EQ(1, recent.Count);
    EXPECT_EQ(Drive.Path("party.mpl"), recent.Files[0]);
    EXPECT_EQ(Drive.Path("b.wav"), recent.LastTitles[0]);
    EXPECT_EQ(4200, recent.LastPositions[0]);
}

} // namespace
