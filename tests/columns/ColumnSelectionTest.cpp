#include "columns/Column.h"
#include "columns/FileDialogServices.h"

#include "core/files/PathNames.h"
#include "core/text/StringList.h"

#include "ColumnTestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using TIndexes = std::set<int32_t>;

// Stands in for the selection dialog: the user typed a name filter and chose "Okay".
class TFakeSelectionDialog : public TFileDialogsStandIn
{
public:
    TFakeSelectionDialog() { TSeam<TFileDialogServices>::Install(this); }
    ~TFakeSelectionDialog() override { TSeam<TFileDialogServices>::Install(nullptr); }
    TFakeSelectionDialog(const TFakeSelectionDialog&) = delete;
    TFakeSelectionDialog& operator=(const TFakeSelectionDialog&) = delete;

    bool SelectionDialog(TColumn& column, bool select) override
    {
        for (int32_t i = 0; i < column.GetItemCount(); ++i) {
            if (!MatchesFileSpec(GetPathName(column.GetItem(i).Title), Filter))
                continue;
            if (select)
                column.SelectItem(i);
            else
                column.DeselectItem(i);
        }
        return true;
    }

    std::string Filter;
};

class ColumnSelection : public ColumnTest
{
protected:
    // Two folders, then eight files "f0.bin", "f1.txt" ... "f7.txt" of 1, 2, 4 ... 128 bytes.
    TColumn& MakeListedColumn()
    {
        MakeDirectory("s/d0");
        MakeDirectory("s/d1");
        for (int i = 0; i < 8; ++i)
            MakeFile("s/f" + std::to_string(i) + (i % 2 == 0 ? ".bin" : ".txt"), size_t{1} << i);
        ProgramOptions.SeparateDocs = false;
        TColumn& column = MakeColumn();
        Open(column, Drive.Path("s\\d0"));
        return column;
    }

    static TIndexes SelectedOf(const TColumn& column)
    {
        TIndexes selected;
        for (int32_t i = 0; i < column.GetItemCount(); ++i)
            if (column.GetItem(i).Selected)
                selected.insert(i);
        return selected;
    }

    // The figures always match the items.
    static void ExpectFiguresMatch(const TColumn& column)
    {
        int32_t count = 0;
        int64_t size = 0;
        for (int32_t i = 0; i < column.GetItemCount(); ++i)
            if (column.GetItem(i).Selected) {
                ++count;
                size += column.GetItem(i).Size;
            }
        EXPECT_EQ(count, column.SelectedCount);
        EXPECT_EQ(size, column.SelectedSize);
    }
};

TEST_F(ColumnSelection, SelectingTwiceOrDeselectingTheUnselectedChangesNothing)
{
    TColumn& column = MakeListedColumn();
    column.SelectItem(3);
    column.SelectItem(3);
    EXPECT_EQ(1, column.SelectedCount);
    EXPECT_EQ(2, column.SelectedSize);
    column.DeselectItem(4);
    column.ToggleItem(5);
    column.ToggleItem(3);
    EXPECT_EQ(TIndexes{5}, SelectedOf(column));
    column.SelectItem(-1);
    column.SelectItem(column.GetItemCount());
    ExpectFiguresMatch(column);
}

TEST_F(ColumnSelection, WholeListCommandsOfAllItemsOrOfFilesOnly)
{
    TColumn& column = MakeListedColumn();
    column.Com_SelectAll();
    EXPECT_EQ(10, column.SelectedCount);
    EXPECT_EQ(255, column.SelectedSize);
    column.Com_DeselectFiles();
    EXPECT_EQ((TIndexes{0, 1}), SelectedOf(column)) << "the directories stay";
    EXPECT_EQ(0, column.SelectedSize);
    column.Com_ToggleFilesSelection();
    EXPECT_EQ(10, column.SelectedCount);
    column.Com_ToggleAllSelection();
    EXPECT_TRUE(SelectedOf(column).empty());
    column.Com_SelectFiles();
    EXPECT_EQ(8, column.SelectedCount);
    EXPECT_EQ(255, column.SelectedSize);
    column.Com_DeselectAll();
    EXPECT_TRUE(SelectedOf(column).empty());
    ExpectFiguresMatch(column);
}

struct ToggleRow
{
    const char* What;
    TIndexes Before;
    int32_t Focus;
    TShiftState Shift;
    TIndexes After;
    int32_t FocusAfter;
};

const ToggleRow ToggleRows[] = {
    {"Ctrl flips the selected run upward", {2, 3, 4, 5}, 4, ShiftOf(ssCtrl), {5}, 4},
    {"Ctrl selects up to the first selected", {1}, 5, ShiftOf(ssCtrl), {1, 2, 3, 4, 5}, 5},
    {"Ctrl at the top", {}, 0, ShiftOf(ssCtrl), {0}, 0},
    {"Shift flips the run downward", {}, 6, ShiftOf(ssShift), {6, 7, 8, 9}, 6},
    {"Shift on the last item", {7, 8}, 9, ShiftOf(ssShift), {7, 8, 9}, 9},
    {"Shift stops at a change of state", {4, 5, 7}, 4, ShiftOf(ssShift), {7}, 4},
    {"Ctrl with Shift does nothing", {2}, 2, ShiftOf(ssCtrl) | ShiftOf(ssShift), {2}, 2},
    {"Alt does nothing", {}, 2, ShiftOf(ssAlt), {}, 2},
    {"mouse buttons do not count", {}, 2, ShiftOf(ssCtrl) | ShiftOf(ssLeft), {0, 1, 2}, 2},
    {"a plain toggle moves on", {3}, 3, ShiftOf(ssRight), {}, 4},
    {"a plain toggle on the last item stays", {}, 9, 0, {9}, 9},
};

TEST_F(ColumnSelection, ToggleSelectionByItsModifiers)
{
    TColumn& column = MakeListedColumn();
    for (const ToggleRow& row : ToggleRows) {
        SCOPED_TRACE(row.What);
        column.Com_DeselectAll();
        for (int32_t index : row.Before)
            column.SelectItem(index);
        column.FocusIndex(row.Focus);
        column.ToggleSelection(row.Shift, true);
        EXPECT_EQ(row.After, SelectedOf(column));
        EXPECT_EQ(row.FocusAfter, column.FileList->FocusIndex);
        ExpectFiguresMatch(column);
    }
}

TEST_F(ColumnSelection, AFilterSelectsAndDeselectsWithItsCountAndSize)
{
    TColumn& column = MakeListedColumn();
    TFakeSelectionDialog dialog;
    dialog.Filter = "*.txt";
    column.Com_FilteredSelect();
    EXPECT_EQ(4, column.SelectedCount);
    EXPECT_EQ(2 + 8 + 32 + 128, column.SelectedSize);
    dialog.Filter = "f3.*;f7.*";
    column.Com_FilteredDeselect();
    EXPECT_EQ(2, column.SelectedCount);
    EXPECT_EQ(2 + 32, column.SelectedSize);
    ExpectFiguresMatch(column);

    Reload(column);
    EXPECT_EQ(0, column.SelectedCount) << "a load clears the selection";
    EXPECT_EQ(0, column.SelectedSize);
}

TEST_F(ColumnSelection, WithoutTheDialogAFilteredSelectionChangesNothing)
{
    TColumn& column = MakeListedColumn();
    column.Com_FilteredSelect();
    EXPECT_EQ(0, column.SelectedCount);
}

TEST_F(ColumnSelection, SelectedTitlesOrTheActiveTitleWhenNoneIs)
{
    TColumn& column = MakeListedColumn();
    TStringList titles;
    column.GetSelectedTitles(titles, true);
    ASSERT_EQ(1, titles.Count());
    EXPECT_EQ(Drive.Path("s\\d0"), titles[0]) << "the full path, even for names only";
    column.SelectItem(5);
    column.SelectItem(2);
    column.GetSelectedTitles(titles, true);
    ASSERT_EQ(2, titles.Count());
    EXPECT_EQ("f0.bin", titles[0]);
    EXPECT_EQ("f3.txt", titles[1]);
    column.GetSelectedTitles(titles, false);
    EXPECT_EQ(Drive.Path("s\\f0.bin"), titles[0]);
}

TEST_F(ColumnSelection, AnEmptyDirectoryHasNothingToSelect)
{
    MakeDirectory("e");
    TColumn& column = MakeColumn();
    Open(column, Drive.Path("e\\x"));
    column.Com_SelectAll();
    column.Com_ToggleFilesSelection();
    column.ToggleSelection(0, true);
    column.ToggleUpRun(0);
    column.ToggleDownRun(0);
    EXPECT_EQ(0, column.SelectedCount);
    EXPECT_FALSE(column.GetItem(0).Selected) << "the placeholder";
}

} // namespace
