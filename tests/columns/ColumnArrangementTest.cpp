#include "columns/Column.h"

#include "core/files/KnownFolders.h"

#include "BoardTestSupport.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

// What a column carries from slot to slot, view attributes included.
using TColumnState =
    std::tuple<std::string, int32_t, std::string, int32_t, int32_t, int32_t, bool, bool, bool, std::string>;

TColumnState StateOf(const TColumn& column)
{
    return {column.ActiveTitle,          column.ContainerIndex, column.SortMode,  column.WidthAttr,
            column.Subcolumns,           column.ThumbHeight,    column.ThumbAttr, column.FixedAttr,
            column.ShowPathsInContainer, column.DefaultTitle};
}

class ColumnArrangement : public BoardTest
{
protected:
    ColumnArrangement() : BoardTest(4)
    {
        for (int32_t i = 0; i < MaxVisibleColumns; ++i) {
            const std::string folder = "c" + std::to_string(i);
            MakeFile(folder + "/f" + std::to_string(i) + ".txt");
            Open(Board[i], Drive.Path(folder + "\\f" + std::to_string(i) + ".txt"));
        }
    }

    // The folder each board column lists, by the number of its folder ("-" for the drives).
    std::string Layout()
    {
        std::string layout;
        for (int32_t i = 0; i < MaxVisibleColumns; ++i) {
            const std::string folder = ExcludeEndBackslash(Listed(Board[i]));
            layout += folder.empty() ? "-" : folder.substr(folder.size() - 1);
        }
        return layout;
    }

    bool IsFresh(const TColumn& column) const
    {
        return column.ActiveTitle == GetOperatorDrive() && column.SortMode == "Name" && column.WidthAttr == 1;
    }
};

TEST_F(ColumnArrangement, InsertingAColumnHereMovesTheRestRightAndLosesTheLast)
{
    Board[1].SortMode = "Size, big-small";
    Board[1].WidthAttr = 2;
    Board[2].WidthAttr = 3;
    Board.ActiveColumnIndex = 1;
    Board[1].Com_InsertColumnHere();

    EXPECT_EQ("0-12345678", Layout()) << "old 9 is gone";
    EXPECT_EQ(GetOperatorDrive(), Board[1].ActiveTitle);
    EXPECT_EQ("Size, big-small", Board[1].SortMode) << "the new column sorts as the one it displaced";
    EXPECT_EQ(1, Board[1].WidthAttr);
    EXPECT_GT(Board[1].GetItemCount(), 0) << "the new column lists the drives";
    EXPECT_EQ(2, Board[2].WidthAttr);
    EXPECT_EQ(3, Board[3].WidthAttr);
    EXPECT_EQ(1, Board[3].GetItemCount()) << "column 3 is still shown: its list came along";
    EXPECT_EQ(0, Board[4].GetItemCount()) << "hidden columns keep no list";
    EXPECT_EQ(4, Board.VisibleCount());
    EXPECT_EQ(1, Board.Arrangements) << "the widths differ";
    EXPECT_EQ((std::vector<std::pair<int32_t, bool>>{{-1, false}}), Board.FocusRequests);
    EXPECT_FALSE(Window.Panels.Window.isHidden());
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(ColumnArrangement, InsertingAtAFixedColumnKeepsTheGroupsStartInPlace)
{
    Board[1].ToggleFixedAttr();
    Board[1].Com_InsertColumnHere();
    EXPECT_TRUE(Board[1].FixedAttr);
    EXPECT_TRUE(Board[1].HeaderButton->Down);
    EXPECT_FALSE(Board[2].FixedAttr) << "the moved column stays in the group";
    EXPECT_FALSE(Board[2].HeaderButton->Down);
    EXPECT_EQ(0, Board.Arrangements) << "all widths are equal";
}

TEST_F(ColumnArrangement, InsertingAtTheEndOfAGroup)
{
    Board[0].Com_InsertColumnAtEnd();
    EXPECT_EQ("0123456789", Layout()) << "the group ends at the last visible column";
    EXPECT_TRUE(Board.FocusRequests.empty());

    Board[2].ToggleFixedAttr();
    Board[2].SortMode = "Size, small-big";
    Board[1].SortMode = "Modified, new-old";
    Board[0].Com_InsertColumnAtEnd();
    EXPECT_EQ("01-2345678", Layout());
    EXPECT_FALSE(Board[2].FixedAttr);
    EXPECT_EQ("Modified, new-old", Board[2].SortMode) << "sorted as the column before it";
    EXPECT_TRUE(Board[3].FixedAttr) << "the fixed column moved right with its attribute";
    EXPECT_EQ("Size, small-big", Board[3].SortMode);

    Board[9].Com_InsertColumnHere();
    EXPECT_EQ("01-2345678", Layout()) << "the last board column takes no insertion";
}

TEST_F(ColumnArrangement, CuttingAColumn)
{
    Board[1].ToggleFixedAttr();
    Board[2].ToggleFixedAttr();
    Board[1].Com_DeleteThisColumn();
    EXPECT_EQ("0123456789", Layout()) << "a group of one column is never cut";
    EXPECT_TRUE(Board.FocusRequests.empty());

    Board.ActiveColumnIndex = 3;
    Board[2].Com_DeleteLastColumn();
    EXPECT_EQ("012456789-", Layout());
    EXPECT_EQ(2, Board.ActiveColumnIndex) << "the active last column of the group moved left";
    EXPECT_TRUE(Board[2].FixedAttr) << "the group's first column keeps its attribute";
    EXPECT_TRUE(IsFresh(Board[9]));
    EXPECT_EQ(1, Board[3].GetItemCount()) << "the last visible column is reloaded";

    Board.ActiveColumnIndex = 3;
    Board[2].Com_DeleteThisColumn();
    EXPECT_EQ("01456789--", Layout());
    EXPECT_EQ(2, Board.ActiveColumnIndex);
    EXPECT_TRUE(Board[2].FixedAttr) << "the cut first column's place keeps the group's start";
}

TEST_F(ColumnArrangement, RotatingRightThenLeftGivesEveryColumnItsStateBack)
{
    Board[0].ToggleFixedAttr();
    Board[2].WidthAttr = 3;
    Board[2].Subcolumns = 2;
    Board[3].ThumbAttr = true;
    Board[3].ThumbHeight = 5;
    Board[6].SortMode = "Created, old-new";
    Board[6].ContainerIndex = 4;
    Board[7].ShowPathsInContainer = true;
    Board[8].DefaultTitle = Drive.Path("c0");
    std::vector<TColumnState> before;
    for (int32_t i = 0; i < MaxVisibleColumns; ++i)
        before.push_back(StateOf(Board[i]));

    Board[1].Com_RotateColumnsToRight();
    EXPECT_EQ("9012345678", Layout());
    EXPECT_EQ(before[0], StateOf(Board[1]));
    EXPECT_EQ(before[6], StateOf(Board[7]));
    EXPECT_EQ(before[9], StateOf(Board[0]));
    EXPECT_EQ(1, Board[0].GetItemCount()) << "the new first column is reloaded";
    EXPECT_EQ(1, Board[3].GetItemCount());
    EXPECT_TRUE(IsFresh(Board[HiddenColumnIndex]));

    Board[1].Com_RotateColumnsToLeft();
    for (int32_t i = 0; i < MaxVisibleColumns; ++i)
        EXPECT_EQ(before[static_cast<size_t>(i)], StateOf(Board[i])) << "column " << i;
    for (int32_t i = 0; i < Board.VisibleCount(); ++i)
        EXPECT_EQ(1, Board[i].GetItemCount()) << "column " << i;
    EXPECT_EQ(2, Board.Arrangements);
    EXPECT_EQ(2u, Board.FocusRequests.size());
}

// A column that takes another's content takes its listing as it is, and the source's
// pending change is seen by both rather than lost with the re-arming of its monitor.
TEST_F(ColumnArrangement, TakingTheSourcesContentKeepsItsChangedMark)
{
    Board[0].SelectItem(0);
    MakeFile("c0/new.txt");
    Board[1].SetWithSourceColumn(Board[0]);
    EXPECT_EQ(Board[0].ActiveTitle, Board[1].ActiveTitle);
    EXPECT_EQ(Board[0].GetItemCount(), Board[1].GetItemCount());
    EXPECT_EQ(1, Board[1].SelectedCount);
    EXPECT_TRUE(Board[1].GetItem(0).Selected);
    EXPECT_EQ(Drive.Path("c1\\f1.txt"), Board[1].PreviousTitle);
    EXPECT_TRUE(Board[0].HeaderButton->StrikeOut);
    EXPECT_TRUE(Board[1].HeaderButton->StrikeOut);
    EXPECT_EQ(1u, Board.FocusRequests.size());

    Board[1].SetWithSourceColumn(Board[1]);
    EXPECT_EQ(1u, Board.FocusRequests.size()) << "a column does not take its own content";
}

TEST_F(ColumnArrangement, SwitchingColumnsExchangesContentsNotViews)
{
    MakeFile("c2/g.txt");
    Open(Board[2], Drive.Path("c2\\g.txt"));
    Board[1].WidthAttr = 2;
    Board[2].SortMode = "Size, big-small";
    Board[1].SwitchColumns(Board[2]);
    EXPECT_EQ(Drive.Path("c2\\g.txt"), Board[1].ActiveTitle);
    EXPECT_EQ("Size, big-small", Board[1].SortMode);
    EXPECT_EQ(2, Board[1].GetItemCount());
    EXPECT_EQ(Drive.Path("c1\\f1.txt"), Board[2].ActiveTitle);
    EXPECT_EQ("Name", Board[2].SortMode);
    EXPECT_EQ(2, Board[1].WidthAttr) << "the views stay";
    EXPECT_EQ(1, Board[2].WidthAttr);
    EXPECT_EQ(1u, Board.FocusRequests.size());
}

} // namespace
