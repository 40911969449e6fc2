#include "columns/Column.h"

#include "core/files/KnownFolders.h"
#include "core/text/StringList.h"

#include "ColumnTestSupport.h"

#include <QPointer>

#include <gtest/gtest.h>

namespace {

using ColumnModel = ColumnTest;

TEST_F(ColumnModel, ANewColumnShowsTheDrivesWithTheWindowsDriveFocused)
{
    TColumn column(3);
    EXPECT_EQ(3, column.Index);
    EXPECT_EQ(GetOperatorDrive(), column.ActiveTitle);
    EXPECT_TRUE(IsDriveName(column.ActiveTitle));
    EXPECT_EQ(column.ActiveTitle, column.PreviousTitle);
    EXPECT_EQ(column.ActiveTitle, column.DefaultTitle);
    EXPECT_EQ("Name", column.SortMode);
    EXPECT_EQ(-1, column.ContainerIndex);
    EXPECT_EQ(1, column.WidthAttr);
    EXPECT_EQ(1, column.Subcolumns);
    EXPECT_EQ(3, column.ThumbHeight);
    EXPECT_FALSE(column.ThumbAttr);
    EXPECT_FALSE(column.FixedAttr);
    EXPECT_EQ(ftDirectory, column.ActiveType);
    EXPECT_TRUE(column.FileList->Empty);
    EXPECT_NE(nullptr, dynamic_cast<TFileListData*>(column.FileList->GetItem(0))) << "a column item as placeholder";
    EXPECT_EQ(column.FileList, column.HeaderButton->FocusTarget);
    EXPECT_EQ(&Window.Panels.Window, column.Panel->parentWidget());

    column.LoadDirectory({});
    EXPECT_EQ(column.ActiveTitle, GetPathName(column.GetItem(column.FileList->FocusIndex).Title));
}

TEST_F(ColumnModel, OnlyTheShownColumnsAreLaidOutAndAHiddenOneWatchesNothing)
{
    MakeFile("w/a.bin");
    Window.VisibleColumnCount = 2;
    TColumn& shown = MakeColumn(1);
    TColumn& hidden = MakeColumn(2);
    TColumn& spare = MakeColumn(HiddenColumnIndex);
    EXPECT_TRUE(shown.Panel->isVisible());
    EXPECT_EQ(300, shown.Panel->width());
    EXPECT_EQ(300, shown.FileList->width());
    EXPECT_EQ(shown.HeaderButton->height(), shown.FileList->y());
    EXPECT_EQ(shown.Panel->height(), shown.HeaderButton->height() + shown.FileList->height());
    EXPECT_FALSE(hidden.Panel->isVisible());
    EXPECT_FALSE(hidden.Panel->PaintEnabled);
    EXPECT_FALSE(spare.Panel->isVisible());

    Open(hidden, Drive.Path("w\\a.bin"));
    EXPECT_FALSE(hidden.DirMonitor.Folder.empty());
    hidden.Reset(0, 0, 300, 200);
    EXPECT_TRUE(hidden.DirMonitor.Folder.empty());
}

TEST_F(ColumnModel, TheItemHeightFollowsTheThumbnails)
{
    TColumn& column = MakeColumn();
    const int32_t line = TPanelWindow::LineHeight;
    EXPECT_EQ(line, column.FileList->ItemHeight);
    column.ToggleThumbAttr();
    EXPECT_EQ(5 * line, column.FileList->ItemHeight) << "height 3: the thumbnail, its name and its information";
    column.SetThumbHeight(*MenuItem("Fill"), false);
    EXPECT_EQ(0, column.FileList->ItemHeight);
    EXPECT_EQ(1, column.FileList->GetRowsInView()) << "one item fills the list";
    column.SetThumbHeight(*MenuItem("none"), false);
    EXPECT_EQ(0, column.ThumbHeight);
    column.SetThumbHeight(*MenuItem("10"), false);
    EXPECT_EQ(12 * line, column.FileList->ItemHeight);
    column.ToggleThumbAttr();
    EXPECT_EQ(line, column.FileList->ItemHeight);
}

TEST_F(ColumnModel, AThumbnailHeightForAllColumnsSwitchesOnlyThisOnesThumbnailsOn)
{
    TColumn& first = MakeColumn(0);
    TColumn& active = MakeColumn(1);
    TColumn& third = MakeColumn(2);
    active.SetThumbHeight(*MenuItem("7"), true);
    for (TColumn* column : {&first, &active, &third})
        EXPECT_EQ(7, column->ThumbHeight) << column->Index;
    EXPECT_FALSE(first.ThumbAttr);
    EXPECT_TRUE(active.ThumbAttr);
    EXPECT_FALSE(third.ThumbAttr);
}

struct SubcolumnRow
{
    int32_t Width, Old, New;
    bool WholeLayout;
};

TEST_F(ColumnModel, SubcolumnsLayTheWindowOutOnlyWhenTheyCrossTheWidth)
{
    const SubcolumnRow rows[] = {{2, 1, 3, true}, {2, 1, 2, false}, {2, 3, 3, false}, {1, 3, 1, true}};
    TColumn& column = MakeColumn();
    for (const SubcolumnRow& row : rows) {
        SCOPED_TRACE(std::to_string(row.Old) + " to " + std::to_string(row.New));
        column.WidthAttr = row.Width;
        column.Subcolumns = row.Old;
        column.FileList->SetSubcolumns(row.Old);
        const int layouts = Window.Layouts;
        column.SetSubcolumns(*MenuItem(std::to_string(row.New)));
        EXPECT_EQ(row.New, column.Subcolumns);
        EXPECT_EQ(row.WholeLayout ? layouts + 1 : layouts, Window.Layouts);
        if (!row.WholeLayout) {
            EXPECT_EQ(row.New, column.FileList->Subcolumns);
        }
    }
    const int layouts = Window.Layouts;
    column.SetWidthAttr(*MenuItem("x"));
    EXPECT_EQ(0, column.WidthAttr) << "no number reads as 0";
    EXPECT_EQ(layouts + 1, Window.Layouts);
}

TEST_F(ColumnModel, ASortModeReloadsADirectoryButNeverReordersAContainer)
{
    MakeFile("s/a.bin", 1);
    MakeFile("s/b.bin", 2);
    TColumn& column = MakeColumn();
    Open(column, Drive.Path("s\\a.bin"));
    column.SetSortMode(*MenuItem("Size, big-small"));
    EXPECT_EQ((std::vector<std::string>{"b.bin", "a.bin"}), NamesOf(column));
    EXPECT_EQ("a.bin", FocusedName(column)) << "the focus stays on its item";

    Window.Containers.Find(0)->AddItem(Drive.Path("s\\a.bin"), 0);
    Window.Containers.Find(0)->AddItem(Drive.Path("s\\b.bin"), 0);
    column.LoadDirectory({.ContainerIndex = 0});
    column.SetSortMode(*MenuItem("Size, big-small"));
    EXPECT_EQ("Size, big-small", column.SortMode);
    EXPECT_EQ((std::vector<std::string>{"a.bin", "b.bin"}), NamesOf(column));
}

TEST_F(ColumnModel, FixedAttributeAndResetToDefaults)
{
    TColumn& column = MakeColumn();
    column.ToggleFixedAttr();
    EXPECT_TRUE(column.FixedAttr);
    EXPECT_TRUE(column.HeaderButton->Down);
    column.WidthAttr = 4;
    column.Subcolumns = 3;
    column.ThumbAttr = true;
    column.SortMode = "Size, big-small";
    column.ShowPathsInContainer = true;
    column.ContainerIndex = 5;
    column.ActiveTitle = "T:\\x\\y";
    column.PreviousTitle = "T:\\p";
    column.ActiveTopOffset = 9;

    column.ResetToDefaults(false);
    EXPECT_TRUE(column.FixedAttr);
    EXPECT_EQ("T:\\p", column.PreviousTitle);
    EXPECT_EQ(-1, column.ContainerIndex);
    EXPECT_EQ(1, column.WidthAttr);
    EXPECT_EQ(1, column.FileList->Subcolumns);
    EXPECT_FALSE(column.ThumbAttr);
    EXPECT_EQ("Name", column.SortMode);
    EXPECT_FALSE(column.ShowPathsInContainer);
    EXPECT_EQ(GetOperatorDrive(), column.ActiveTitle);
    EXPECT_EQ(column.ActiveTitle, column.DefaultTitle);
    EXPECT_EQ(0, column.ActiveTopOffset);

    column.ResetToDefaults(true);
    EXPECT_FALSE(column.FixedAttr);
    EXPECT_FALSE(column.HeaderButton->Down);
}

TEST_F(ColumnModel, ClearingTheListLeavesThePlaceholderAndEveryCountAtZero)
{
    MakeFile("c/a.txt", 5);
    TColumn& column = MakeColumn();
    Open(column, Drive.Path("c\\a.txt"));
    column.Com_SelectAll();
    column.ClearList();
    EXPECT_TRUE(column.FileList->Empty);
    EXPECT_EQ(0, column.DocumentsCount);
    EXPECT_EQ(0, column.TotalSize);
    EXPECT_EQ(0, column.SelectedCount);
    EXPECT_EQ(0, column.SelectedSize);
}

// The column's panels live on the columns panel; whichever goes first takes them, and the
// other never deletes them again (the sanitizer reports a second delete).
TEST_F(ColumnModel, AColumnOutlivingItsPanelsParentIsDestroyedSafely)
{
    auto parent = std::make_unique<QWidget>();
    struct TParentWindow : TFakeMainWindow
    {
        QWidget* Parent = nullptr;
        QWidget* GetColumnsPanel() override { return Parent; }
    } window;
    window.Parent = parent.get();
    auto column = std::make_unique<TColumn>(0);
    ASSERT_EQ(parent.get(), column->Panel->parentWidget());
    const QPointer<MyTPanel> panel = column->Panel;
    parent.reset();
    EXPECT_TRUE(panel.isNull()) << "the panel went with its parent";
    column.reset();

    parent = std::make_unique<QWidget>();
    window.Parent = parent.get();
    column = std::make_unique<TColumn>(0);
    column.reset();
    EXPECT_TRUE(parent->findChildren<MyTPanel*>().isEmpty()) << "a column that goes first takes its panels along";
}

} // namespace
