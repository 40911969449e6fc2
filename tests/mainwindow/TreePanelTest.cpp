#include "BoardTestWindow.h"

#include "mainwindow/TreeNavigatorForm.h"

#include "panels/MyTPanel.h"
#include "panels/PanelDrag.h"

#include "core/desktop/SystemMenu.h"
#include "core/files/PathNames.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// A main window over drive T:, which holds d\a.txt, e\x.txt, data\ and Data\ (two folders
// on Linux, told apart by letter case).
class TreePanel : public testing::Test
{
protected:
    TreePanel()
    {
        Drive.WriteFile("d/a.txt", "a");
        Drive.WriteFile("e/x.txt", "x");
        fs::create_directories(Drive.HostPath("data/inner"));
        fs::create_directories(Drive.HostPath("Data"));
        Window.Open();
    }
    ~TreePanel() override { Window.Discard(); }

    TColumn& Show(int32_t slot, const std::string& title)
    {
        TColumn& column = ColumnAt(*Window, slot);
        column.LoadDirectory({.RememberPrevious = true, .ContainerIndex = -1, .Title = Drive.Path(title)});
        Window->FocusColumn(slot, true);
        return column;
    }

    // The active board shows the tree, with the columns shown.
    void ShowTree(int32_t columns)
    {
        Window->VisibleColumnsMenuClick(columns);
        Boards->GetActiveBoard().ShowTree = true;
        Window->Reset(false);
    }

    void Select(const std::string& path) { NavigateToTreeDirectory(*Window->TreeView, Drive.Path(path)); }

    TTempDrive Drive{'T'};
    TBoardTestWindow Window;
};

TEST_F(TreePanel, WithoutTheTreeASelectionChangesNeitherTheTreePathNorTheColumn)
{
    Window->VisibleColumnsMenuClick(1);
    TColumn& column = Show(0, "e\\x.txt");
    Boards->GetActiveBoard().ShowTree = false;
    Boards->GetActiveBoard().TreePath = "T:\\e";
    Select("d");
    EXPECT_EQ("T:\\e", Boards->GetActiveBoard().TreePath);
    EXPECT_EQ(Drive.Path("e\\x.txt"), column.ActiveTitle);
}

TEST_F(TreePanel, WithSeveralColumnsAndNoSynchronizingOnlyTheTitleAndTheTreePathFollow)
{
    ShowTree(3);
    ProgramOptions.SynchronizeColumn = false;
    TColumn& column = Show(0, "e\\x.txt");
    Select("d");
    EXPECT_EQ("T:\\d", Boards->GetActiveBoard().TreePath);
    EXPECT_EQ("T:\\d", Window->TreePathPanel->GetCaption());
    EXPECT_EQ(Drive.Path("e\\x.txt"), column.ActiveTitle);

    ProgramOptions.SynchronizeColumn = true;
    Select("data");
    EXPECT_EQ(Drive.Path("data\\"), GetParentPath(column.ActiveTitle));
}

// The same folder is told by file identity: "data" and "Data" are two folders.
TEST_F(TreePanel, WithOneColumnASelectionLoadsTheFolderUnlessItIsTheSameFolder)
{
    ShowTree(1);
    TColumn& column = Show(0, "e\\x.txt");
    Select("d");
    EXPECT_EQ(Drive.Path("d\\a.txt"), column.ActiveTitle);

    column.ActiveTitle = Drive.Path("e\\");
    Select("e");
    EXPECT_EQ(Drive.Path("e\\"), column.ActiveTitle) << "the same folder is not loaded again";

    column.ActiveTitle = Drive.Path("Data\\");
    Select("data");
    EXPECT_EQ(Drive.Path("data\\inner"), column.ActiveTitle);
}

TEST_F(TreePanel, ABoardWhoseTreePathIsGoneExpandsToItsDeepestFolderAndKeepsThePath)
{
    ShowTree(1);
    Boards->GetActiveBoard().TreePath = "T:\\d\\gone\\deeper";
    Window->TreeFollowBoard();
    EXPECT_EQ("", GetSelectedTreePath(*Window->TreeView));
    QTreeWidgetItem* d = FindTreeChildNode(*FindTreeRootNode(*Window->TreeView, "T:"), "d");
    ASSERT_NE(nullptr, d);
    EXPECT_TRUE(d->parent()->isExpanded());
    EXPECT_EQ("T:\\d\\gone\\deeper", Boards->GetActiveBoard().TreePath);
}

TEST_F(TreePanel, TheTreeTakingTheFocusChoosesNoFolder)
{
    ShowTree(1);
    TColumn& column = Show(0, "e\\x.txt");
    Boards->GetActiveBoard().TreePath = "T:\\d\\gone";
    Window->TreeFollowBoard();
    QFocusEvent focusIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(Window->TreeView, &focusIn);
    EXPECT_EQ(nullptr, Window->TreeView->currentItem());
    EXPECT_EQ("T:\\d\\gone", Boards->GetActiveBoard().TreePath);
    EXPECT_EQ(Drive.Path("e\\x.txt"), column.ActiveTitle);
}

TEST_F(TreePanel, ARightPressOpensTheSystemMenuOfTheNodeAndNoneOnEmptySpace)
{
    ShowTree(1);
    TTreeView& tree = *Window->TreeView;
    QTreeWidgetItem& root = *FindTreeRootNode(tree, "T:");
    const QRect last = tree.GetRowRect(*tree.topLevelItem(tree.topLevelItemCount() - 1));
    ASSERT_LT(last.bottom() + 2, tree.viewport()->height());
    {
        TModalScript script; // any menu fails the test
        Window->TreeViewMouseDown(mbRight, 0, 5, tree.viewport()->height() - 1);
    }
    TModalScript script;
    bool contextMenu = false;
    script.Expect("System", 0, [&](const TModalRequest& request) {
        contextMenu = dynamic_cast<TContextMenu*>(request.Menu) != nullptr;
    });
    const QPoint label = tree.GetLabelRect(root).center();
    Window->TreeViewMouseDown(mbRight, 0, label.x(), label.y());
    EXPECT_TRUE(contextMenu);
    EXPECT_EQ(&root, tree.currentItem());
}

TEST_F(TreePanel, AColumnDroppedOnTheTreeExpandsItToTheColumnsFolder)
{
    ShowTree(2);
    ProgramOptions.SynchronizeColumn = false;
    TColumn& column = Show(1, "d\\a.txt");
    bool accepted = false;
    Window->TreeViewPanel->DragOver(column.FileList, 10, 10, dsDragEnter, accepted);
    EXPECT_TRUE(accepted);
    Window->TreeViewPanel->DragDrop(column.FileList, 10, 10);
    EXPECT_EQ("T:\\d", GetSelectedTreePath(*Window->TreeView));
    Window->TreeViewPanel->DragOver(Window->TreeViewPanel, 10, 10, dsDragEnter, accepted);
    EXPECT_FALSE(accepted) << "only a column's list";
}

TEST_F(TreePanel, ANodeDroppedOnAColumnShowsItsFolderThere)
{
    ShowTree(2);
    ProgramOptions.SynchronizeColumn = false;
    Show(0, "d\\a.txt");
    TColumn& target = Show(1, "d\\a.txt");
    Select("e");
    bool accepted = false;
    target.FileList->DragOver(Window->TreeView, 10, 10, dsDragEnter, accepted);
    EXPECT_TRUE(accepted);
    target.FileList->DragDrop(Window->TreeView, 10, 10);
    EXPECT_EQ(Drive.Path("e\\"), GetParentPath(target.ActiveTitle));
}

// The tree keeps the mouse after a left press; a move past the drag distance drags the tree.
TEST_F(TreePanel, ALeftPressMovedPastTheDragDistanceDragsTheTree)
{
    ShowTree(1);
    TTreeView& tree = *Window->TreeView;
    const QPoint label = tree.GetLabelRect(*FindTreeRootNode(tree, "T:")).center();
    const TShiftState left = ShiftOf(ssLeft);
    Window->TreeViewMouseDown(mbLeft, 0, label.x(), label.y());
    Window->TreeViewMouseMove(left, label.x() + 1, label.y());
    EXPECT_FALSE(PanelDrag.IsActive());
    EXPECT_EQ(0u, Window->HintBarPanel->GetCaption().find("Current file \"T:\". Drag a directory name"));
    Window->TreeViewMouseMove(left, label.x() + QApplication::startDragDistance() + 1, label.y());
    ASSERT_TRUE(PanelDrag.IsActive());
    EXPECT_EQ(Window->TreeViewPanel, PanelDrag.GetSource());
    EXPECT_TRUE(Window->IsDirectoryTree(PanelDrag.GetDragged()));
    EXPECT_EQ("T:", Window->GetSelectedTreePath());
    PanelDrag.Cancel();
}

TEST_F(TreePanel, TheNavigatorItemsWorkFromTheFileMenu)
{
    TTreeNavigatorForm form(&*Window);
    TreeNavigatorForm = &form;
    Window->VisibleColumnsMenuClick(1);
    TColumn& column = Show(0, "d\\a.txt");
    Window->EnableFileMenuItems(0);
    for (const char* name : {"TreeNavigatorMenu", "NavigateToDirectoryMenu"})
        EXPECT_TRUE(Window->findChild<QAction*>(name)->isEnabled()) << name;

    std::string start;
    TModalScript script;
    script.Expect("Directory tree navigator", TTreeNavigatorForm::mrOkay, [&](const TModalRequest&) {
        start = GetSelectedTreePath(*form.FileSystemTreeView);
        NavigateToTreeDirectory(*form.FileSystemTreeView, Drive.Path("e"));
        form.OkayButton->click();
    });
    Window->ClickCommand("TreeNavigatorMenu");
    EXPECT_EQ("T:\\d", start);
    EXPECT_EQ(Drive.Path("e\\"), GetParentPath(column.ActiveTitle));

    Boards->GetActiveBoard().ShowTree = false;
    Window->Reset(false);
    Window->ClickCommand("NavigateToDirectoryMenu");
    EXPECT_TRUE(Boards->GetActiveBoard().ShowTree);
    EXPECT_EQ(Drive.Path("e"), GetSelectedTreePath(*Window->TreeView));
    EXPECT_EQ(Drive.Path("e\\"), GetParentPath(column.ActiveTitle)) << "the board's former tree path is not loaded";
    TreeNavigatorForm = nullptr;
}

} // namespace
