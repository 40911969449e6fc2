#include "columns/Column.h"

#include "core/errors/Error.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"

#include "ColumnTestSupport.h"

#include <gtest/gtest.h>

namespace {

using TNames = std::vector<std::string>;

std::string Numbered(int i)
{
    std::string digits = std::to_string(i);
    return "n" + std::string(3 - digits.size(), '0') + digits + ".bin";
}

class ColumnLoading : public ColumnTest
{
protected:
    // 60 generic files "n000.bin" to "n059.bin", sized so that "Size, big-small" gives
    // the name order too, and two folders.
    void MakeNumberedFolder()
    {
        MakeDirectory("d/sub1");
        MakeDirectory("d/sub3");
        for (int i = 0; i < 60; ++i)
            MakeFile("d/" + Numbered(i), static_cast<size_t>(100 - i));
    }
};

TEST_F(ColumnLoading, AReloadInPlaceKeepsTheFocusedItemOnItsRow)
{
    MakeNumberedFolder();
    TColumn& column = MakeColumn();
    column.LoadDirectory({.RememberPrevious = true,
                          .ContainerIndex = -1,
                          .Title = Drive.Path("d\\" + Numbered(40)),
                          .Type = ftGeneric,
                          .TopOffset = 7});
    ASSERT_EQ(Numbered(40), FocusedName(column));
    const int32_t focus = column.FileList->FocusIndex;
    EXPECT_EQ(7, focus - column.FileList->TopIndex);

    MakeFile("d/a-new.bin", 1);
    Reload(column);
    EXPECT_EQ(Numbered(40), FocusedName(column));
    EXPECT_EQ(focus + 1, column.FileList->FocusIndex);
    EXPECT_EQ(7, column.FileList->FocusIndex - column.FileList->TopIndex) << "same row after the reload";
    EXPECT_EQ(Drive.Path("d\\" + Numbered(40)), column.ActiveTitle);
    EXPECT_EQ(7, column.ActiveTopOffset);
    EXPECT_EQ(Drive.Path("d"), column.HeaderButton->GetCaption());
    EXPECT_FALSE(column.HeaderButton->StrikeOut);
    EXPECT_EQ(0, Window.Busy);
    EXPECT_TRUE(column.FileList->PaintEnabled);
}

struct DeletedRow
{
    const char* Mode;
    std::string Deleted;
    std::string Expected;
};

// The focus goes where the deleted item stood: to the item that followed it in the same
// order, or the last item; directories are passed over when the order is by a key. All
// the files have one time, so by time the names decide.
TEST_F(ColumnLoading, ADeletedFocusedFileGivesTheFocusToTheItemThatFollowedIt)
{
    MakeNumberedFolder();
    MakeFile("d/b-doc.txt", 50);
    const DeletedRow rows[] = {
        {"Name", Numbered(20), Numbered(21)},
        {"Name", Numbered(59), Numbered(58)},
        {"Name", "b-doc.txt", Numbered(0)},
        {"Size, big-small", Numbered(30), Numbered(31)},
        {"Size, small-big", Numbered(30), Numbered(29)},
        {"Modified, new-old", Numbered(30), Numbered(31)},
    };
    TColumn& column = MakeColumn();
    for (const DeletedRow& row : rows) {
        SCOPED_TRACE(std::string(row.Mode) + ", deleted " + row.Deleted);
        const std::string content = Drive.ReadFile("d/" + row.Deleted);
        column.SortMode = row.Mode;
        Open(column, Drive.Path("d\\" + row.Deleted));
        ASSERT_EQ(row.Deleted, FocusedName(column));
        Remove("d/" + row.Deleted);
        Reload(column);
        EXPECT_EQ(row.Expected, FocusedName(column));
        MakeFile("d/" + row.Deleted, content.size());
    }
}

TEST_F(ColumnLoading, AVanishedDirectoryIsFocusedInItsParentWhereItStood)
{
    MakeDirectory("p/a1");
    MakeDirectory("p/gone/deep");
    MakeDirectory("p/h1");
    MakeFile("p/b2.bin");
    MakeFile("p/gone/deep/x.bin");
    TColumn& column = MakeColumn();
    Open(column, Drive.Path("p\\gone\\deep\\x.bin"));
    ASSERT_EQ(ftGeneric, column.ActiveType);
    Remove("p/gone");
    Reload(column);
    EXPECT_EQ(Drive.Path("p"), column.HeaderButton->GetCaption()) << "climbed two levels";
    EXPECT_EQ("h1", FocusedName(column)) << "among the directories, after where \"gone\" stood";
    EXPECT_EQ(ftDirectory, column.ActiveType);
    EXPECT_EQ(0, Window.Busy);
}

TEST_F(ColumnLoading, AFolderThatCannotBeListedGivesWayToItsParentAndDropsItsHistory)
{
    MakeDirectory("p/locked");
    MakeDirectory("p/other");
    MakeFile("p/locked/x.bin");
    TColumn& column = MakeColumn();
    Open(column, Drive.Path("p\\other"));
    Open(column, Drive.Path("p\\locked\\x.bin"));
    ASSERT_EQ(Drive.Path("p\\locked\\x.bin"), PathsHistory.Titles[static_cast<size_t>(PathsHistory.Count - 1)]);
    const int32_t entries = PathsHistory.Count;

    host::InjectFault(host::HostCall::List, host::ERROR_ACCESS_DENIED);
    Reload(column);
    EXPECT_EQ(fsPerfect, FunStatContext.Status) << "the climb is the whole handling";
    EXPECT_EQ("locked", FocusedName(column));
    EXPECT_EQ(Drive.Path("p\\locked"), PathsHistory.Titles[static_cast<size_t>(PathsHistory.Count - 1)]);
    EXPECT_EQ(entries - 1, PathsHistory.Count) << "the locked folder's entry went; its parent's was refreshed";
}

TEST_F(ColumnLoading, ATitleOnAMissingDriveListsTheDrivesFocusedWhereItWouldStand)
{
    TTempDrive r('R');
    TTempDrive w('W');
    TColumn& column = MakeColumn();
    Open(column, "Q:\\folder\\file.bin", ftGeneric);
    EXPECT_EQ("", column.HeaderButton->GetCaption());
    EXPECT_EQ("R:", FocusedName(column)) << "the first drive after Q:";
    EXPECT_EQ("R:", column.ActiveTitle);
    EXPECT_EQ(ftDirectory, column.ActiveType);
}

TEST_F(ColumnLoading, TheFocusKeepsTheFileOfItsOwnLetterCase)
{
    MakeFile("c/a.txt");
    MakeFile("c/A.txt");
    TColumn& column = MakeColumn();
    Open(column, Drive.Path("c\\a.txt"));
    EXPECT_EQ((TNames{"A.txt", "a.txt"}), NamesOf(column));
    EXPECT_EQ(1, column.FileList->FocusIndex);
    Reload(column);
    EXPECT_EQ(1, column.FileList->FocusIndex);
    EXPECT_EQ(0, column.IndexOfName("a.TXT"));
}

TEST_F(ColumnLoading, AnEmptyDirectoryKeepsTheTitleToFindOnTheNextLoad)
{
    MakeDirectory("e");
    MakeFile("e/late.bin");
    TColumn& column = MakeColumn();
    Open(column, Drive.Path("e\\late.bin"));
    Remove("e/late.bin");
    Reload(column);
    EXPECT_EQ(Drive.Path("e\\late.bin"), column.ActiveTitle);
    EXPECT_EQ(ftGeneric, column.ActiveType);
    EXPECT_EQ(0, column.ActiveTopOffset);
    MakeFile("e/late.bin");
    MakeFile("e/early.bin");
    Reload(column);
    EXPECT_EQ("late.bin", FocusedName(column));
}

TEST_F(ColumnLoading, RememberPreviousRecordsOnlyAChangeOfDirectory)
{
    MakeFile("one/a.bin");
    MakeFile("one/b.bin");
    MakeFile("two/c.bin");
    TColumn& column = MakeColumn();
    Open(column, Drive.Path("one\\a.bin"));
    Open(column, Drive.Path("one\\b.bin"));
    const std::string before = column.PreviousTitle;
    EXPECT_NE(Drive.Path("one\\a.bin"), before) << "same directory";
    Open(column, Drive.Path("two\\c.bin"));
    EXPECT_EQ(Drive.Path("one\\b.bin"), column.PreviousTitle);
    column.LoadDirectory({.ContainerIndex = -1, .Title = Drive.Path("one\\a.bin")});
    EXPECT_EQ(Drive.Path("one\\b.bin"), column.PreviousTitle) << "not remembered";
}

TEST_F(ColumnLoading, EnteringAndLeavingAContainerReturnsToTheItemLeft)
{
    MakeFile("one/a.bin");
    MakeFile("one/b.bin");
    TContainer& container = *Window.Containers.Find(2);
    container.Name = "Pics";
    container.AddItem(Drive.Path("one\\b.bin"), 0);
    container.AddItem(Drive.Path("one\\a.bin"), 0);
    container.AddItem(Drive.Path("one\\gone.bin"), 0);
    TColumn& column = MakeColumn();
    Open(column, Drive.Path("one\\b.bin"));

    column.LoadDirectory({.ContainerIndex = 2, .Title = Drive.Path("one\\a.bin"), .TopOffset = 0});
    EXPECT_EQ(2, column.ContainerIndex);
    EXPECT_EQ((TNames{"b.bin", "a.bin", "gone.bin"}), NamesOf(column)) << "the container's order";
    EXPECT_EQ(1, column.FileList->FocusIndex);
    EXPECT_EQ("Container \"Pics\"", column.HeaderButton->GetCaption());
    EXPECT_EQ(Drive.Path("one\\b.bin"), column.PreviousTitle);

    column.FocusIndex(2);
    container.DeleteItem(2);
    Reload(column);
    EXPECT_EQ(1, column.FileList->FocusIndex) << "a vanished entry keeps its place, clamped";
    column.LoadDirectory({.RememberPrevious = true, .ContainerIndex = 2, .Title = Drive.Path("one\\b.bin")});
    EXPECT_EQ(Drive.Path("one\\b.bin"), column.PreviousTitle) << "moves inside a container keep it";

    column.LoadDirectory({.ContainerIndex = -1});
    EXPECT_EQ(-1, column.ContainerIndex);
    EXPECT_EQ(Drive.Path("one\\b.bin"), column.ActiveTitle);
    EXPECT_EQ("b.bin", FocusedName(column));
    EXPECT_EQ(Drive.Path("one"), column.HeaderButton->GetCaption());
}

TEST_F(ColumnLoading, TheActiveKeyFollowsTheModeAndStaysUnderName)
{
    MakeFile("k/a.bin", 5);
    MakeFile("k/b.bin", 9);
    TColumn& column = MakeColumn();
    column.SortMode = "Size, small-big";
    Open(column, Drive.Path("k\\b.bin"));
    EXPECT_EQ(9, column.ActiveKey);
    column.SortMode = "Name";
    column.FocusIndex(0);
    EXPECT_EQ("a.bin", FocusedName(column));
    EXPECT_EQ(9, column.ActiveKey);
}

TEST_F(ColumnLoading, TheRootOfADriveIsCaptionedWithTheDriveName)
{
    MakeDirectory("top");
    TColumn& column = MakeColumn();
    Open(column, Drive.Path("top"));
    EXPECT_EQ("T:", column.HeaderButton->GetCaption());
    EXPECT_EQ("top", FocusedName(column));
}

TEST_F(ColumnLoading, NextUnselectedAndIndexOfName)
{
    MakeNumberedFolder();
    TColumn& column = MakeColumn();
    Open(column, Drive.Path("d\\" + Numbered(0)));
    column.SelectItem(2);
    column.SelectItem(3);
    EXPECT_EQ(4, column.NextUnselected(2));
    EXPECT_EQ(0, column.NextUnselected(0));
    EXPECT_EQ(-1, column.NextUnselected(column.GetItemCount()));
    EXPECT_EQ(1, column.IndexOfName("SUB3"));
    EXPECT_EQ(-1, column.IndexOfName("sub2"));
}

} // namespace
