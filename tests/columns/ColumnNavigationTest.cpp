#include "columns/Column.h"

#include "core/files/LinkFile.h"

#include "BoardTestSupport.h"
#include "support/RecordingLauncher.h"
#include "support/ShownFailures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

using TFolders = std::vector<std::string>;

constexpr TShiftState NoShift = 0;
constexpr TShiftState Shift = ShiftOf(ssShift);
constexpr TShiftState Ctrl = ShiftOf(ssCtrl);
constexpr TShiftState Alt = ShiftOf(ssAlt);

// T:\a\b\c\f.txt with T:\a\b\z.txt beside c, and T:\x\y.txt.
class ColumnNavigation : public BoardTest
{
protected:
    explicit ColumnNavigation(int32_t visibleCount = 3) : BoardTest(visibleCount)
    {
        MakeFile("a/b/c/f.txt");
        MakeFile("a/b/z.txt");
        MakeFile("x/y.txt");
    }

    // The folders the visible columns list.
    TFolders Folders()
    {
        TFolders folders;
        for (int32_t i = 0; i < Board.VisibleCount(); ++i)
            folders.push_back(Listed(Board[i]));
        return folders;
    }
};

struct TEnterRow
{
    int32_t Column;
    TShiftState Shift;
    bool SecondFixed;
    TFolders Expected; // relative to T:
    int32_t Active;
};

// Columns 0 to 2 list T:\a\, T:\a\b\ and T:\a\b\c\; T:\x is entered from one of them.
TEST_F(ColumnNavigation, EnteringADirectoryOpensItInTheColumnTheModifiersChoose)
{
    const TEnterRow rows[] = {
        {1, NoShift, false, {"a\\", "a\\b\\", "x\\"}, 2},
        {2, NoShift, false, {"a\\b\\", "a\\b\\c\\", "x\\"}, 2},
        {1, Alt, false, {"a\\", "x\\", "a\\b\\c\\"}, 1},
        {1, Ctrl, false, {"a\\b\\", "x\\", "a\\b\\c\\"}, 1},
        {1, Ctrl | Alt, false, {"a\\b\\", "x\\", "a\\b\\c\\"}, 1},
        // Column 1 begins a group: column 0 is a group of its own.
        {0, NoShift, true, {"x\\", "a\\b\\", "a\\b\\c\\"}, 0},
        {1, NoShift, true, {"a\\", "a\\b\\", "x\\"}, 2},
    };
    for (const TEnterRow& row : rows) {
        SCOPED_TRACE("column " + std::to_string(row.Column) + " shift " + std::to_string(row.Shift));
        Open(Board[0], Drive.Path("a\\b"));
        Open(Board[1], Drive.Path("a\\b\\c"));
        Open(Board[2], Drive.Path("a\\b\\c\\f.txt"));
        Board[1].FixedAttr = row.SecondFixed;
        Board.FocusRequests.clear();

        Board[row.Column].EnterDirectory(row.Shift, Drive.Path("x"), true);
        TFolders expected;
        for (const std::string& folder : row.Expected)
            expected.push_back(Drive.Path(folder));
        EXPECT_EQ(expected, Folders());
        EXPECT_EQ(row.Active, Board.ActiveColumnIndex);
        EXPECT_EQ((std::vector<std::pair<int32_t, bool>>{{-1, false}}), Board.FocusRequests);
    }
}

class ColumnCascade : public ColumnNavigation
{
protected:
    ColumnCascade() : ColumnNavigation(5) {}
};

// Each following column of the group opens the folder focused in the column before it,
// focusing what was focused there last, and the cascade stops at a column whose focused
// item is not a folder.
TEST_F(ColumnCascade, ShiftOpensTheFocusedFoldersThroughTheRestOfTheGroup)
{
    Board[4].ToggleFixedAttr();
    Open(Board[0], Drive.Path("a"));
    Board[0].EnterDirectory(Shift, Drive.Path("a"), true);
    EXPECT_EQ((TFolders{Drive.Path(""), Drive.Path("a\\"), Drive.Path("a\\b\\"), Drive.Path("a\\b\\c\\"), ""}),
              Folders())
        << "column 4 begins another group";
    EXPECT_EQ("f.txt", FocusedName(Board[3]));

    Open(Board[2], Drive.Path("a\\b\\z.txt"));
    Open(Board[3], Drive.Path("x\\y.txt"));
    Board[0].EnterDirectory(Shift, Drive.Path("a"), true);
    EXPECT_EQ("z.txt", FocusedName(Board[2])) << "the focus of the last visit";
    EXPECT_EQ(Drive.Path("x\\"), Listed(Board[3])) << "z.txt is no folder: the cascade stops";

    Board[0].EnterDirectory(NoShift, Drive.Path("x"), true);
    EXPECT_EQ(Drive.Path("x\\"), Listed(Board[1]));
    EXPECT_EQ(Drive.Path("a\\b\\"), Listed(Board[2])) << "no cascade without Shift";
}

TEST_F(ColumnCascade, ShiftGoesUpThroughTheParentsUntilAColumnListsTheDrives)
{
    Board[0].EnterParentDirectory(Shift);
    EXPECT_TRUE(Board.FocusRequests.empty()) << "the drives have no parent";

    Open(Board[4], Drive.Path("a\\b\\c\\f.txt"));
    Board[4].EnterParentDirectory(Shift);
    EXPECT_EQ((TFolders{"", Drive.Path(""), Drive.Path("a\\"), Drive.Path("a\\b\\"), Drive.Path("a\\b\\c\\")}),
              Folders());
    EXPECT_EQ("T:", Board[0].ActiveTitle);
    EXPECT_EQ("a", FocusedName(Board[1]));
    EXPECT_EQ("c", FocusedName(Board[3])) << "the folder the column came from";
    EXPECT_EQ(3, Board.ActiveColumnIndex);
}

// Columns 0 to 2 list T:\x\, T:\a\b\c\ and T:\a\b\; column 1 goes to its parent.
TEST_F(ColumnNavigation, GoingToTheParentOpensItInTheColumnTheModifiersChoose)
{
    const TEnterRow rows[] = {
        {1, NoShift, false, {"a\\b\\", "a\\b\\c\\", "a\\b\\"}, 0},
        {1, Ctrl, false, {"x\\", "a\\b\\", "a\\b\\c\\"}, 1},
        {1, Alt, false, {"x\\", "a\\b\\", "a\\b\\"}, 1},
        // The group's first column makes room by moving the group right.
        {1, NoShift, true, {"x\\", "a\\b\\", "a\\b\\c\\"}, 1},
    };
    for (const TEnterRow& row : rows) {
        SCOPED_TRACE("shift " + std::to_string(row.Shift) + (row.SecondFixed ? " fixed" : ""));
        Open(Board[0], Drive.Path("x\\y.txt"));
        Open(Board[1], Drive.Path("a\\b\\c\\f.txt"));
        Open(Board[2], Drive.Path("a\\b\\z.txt"));
        Board[1].FixedAttr = row.SecondFixed;

        Board[row.Column].EnterParentDirectory(row.Shift);
        TFolders expected;
        for (const std::string& folder : row.Expected)
            expected.push_back(Drive.Path(folder));
        EXPECT_EQ(expected, Folders());
        EXPECT_EQ("c", FocusedName(Board[row.Active])) << "the folder the column came from";
        EXPECT_EQ(row.Active, Board.ActiveColumnIndex);
    }
}

TEST_F(ColumnNavigation, ThePreviousDirectoryTwiceReturnsToTheFirst)
{
    Open(Board[0], Drive.Path("a\\b\\z.txt"));
    Open(Board[0], Drive.Path("x\\y.txt"));
    Board[0].EnterPreviousDirectory(NoShift);
    EXPECT_EQ(Drive.Path("a\\b\\z.txt"), Board[0].ActiveTitle) << "focused as when it was left";
    Board[0].EnterPreviousDirectory(NoShift);
    EXPECT_EQ(Drive.Path("x\\y.txt"), Board[0].ActiveTitle);

    for (const TShiftState shift : {Ctrl, Shift, Alt, ShiftOf(ssDouble)}) {
        Board[0].EnterPreviousDirectory(shift);
        EXPECT_EQ(Drive.Path("x\\y.txt"), Board[0].ActiveTitle) << "shift " << int(shift);
    }
}

TEST_F(ColumnNavigation, FocusMovesToTheNeighbourColumnWrappingAround)
{
    Board[0].FocusPreviousColumn();
    Board[2].FocusNextColumn();
    Board[0].FocusNextColumn();
    Board[2].FocusPreviousColumn();
    EXPECT_EQ((std::vector<std::pair<int32_t, bool>>{{2, false}, {0, false}, {1, false}, {1, false}}),
              Board.FocusRequests);
}

class ColumnRun : public ColumnNavigation
{
protected:
    ColumnRun()
    {
        Drive.WriteFile("tool.sh", "#!/bin/sh\n");
        fs::permissions(Drive.HostPath("tool.sh"), fs::perms(0755));
        MakeDirectory("links");
        MakeDirectory("empty");
        CopyFileAsLink(Drive.Path("x"), Drive.Path("links\\x.lnk"), false, "", false, false);
        CopyFileAsLink(Drive.Path("tool.sh"), Drive.Path("links\\tool.lnk"), false, "", false, false);
    }

    TRecordingLauncher Launcher;
};

TEST_F(ColumnRun, RunningEntersFoldersAndStartsFiles)
{
    Open(Board[0], Drive.Path("a\\b"));
    Board[0].Com_Run(NoShift, false);
    EXPECT_EQ(Drive.Path("a\\b\\"), Listed(Board[1]));

    Open(Board[0], Drive.Path("links\\x.lnk"));
    Board[0].Com_Run(Alt, false);
    EXPECT_EQ(Drive.Path("x\\"), Listed(Board[0])) << "a link's folder is entered, with the modifiers";

    Open(Board[0], Drive.Path("links\\tool.lnk"));
    Board[0].Com_Run(NoShift, true);
    ASSERT_EQ(1u, Launcher.Starts.size());
    EXPECT_EQ(Drive.HostPath("tool.sh"), Launcher.Starts[0].Program) << "a link to a file runs";
    EXPECT_EQ(Drive.Path("tool.sh"), FilesHistory.Titles[0]);

    Open(Board[0], Drive.Path("x\\y.txt"));
    Board[0].Com_Run(Shift, false);
    ASSERT_EQ(2u, Launcher.Starts.size());
    EXPECT_EQ((std::vector<std::string>{"xdg-open", Drive.HostPath("x/y.txt")}),
              (std::vector<std::string>{Launcher.Starts[1].Program, Launcher.Starts[1].Arguments.at(0)}));

    Open(Board[0], Drive.Path("empty\\"));
    Board[0].Com_Run(NoShift, false);
    EXPECT_EQ(2u, Launcher.Starts.size()) << "an empty list runs nothing";
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(ColumnRun, AFailureIsShownOnceAndCleared)
{
    Open(Board[0], Drive.Path("x\\y.txt"));
    fs::remove(Drive.HostPath("x/y.txt"));
    TShownFailures failures;
    {
        TModalScript script;
        failures.Expect(script, "Error");
        Board[0].Com_Run(NoShift, false);
    }
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], testing::HasSubstr("Failed to run file."));
    EXPECT_TRUE(Launcher.Starts.empty());
}

} // namespace
