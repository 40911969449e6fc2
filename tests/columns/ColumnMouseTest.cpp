#include "MouseTestSupport.h"

#include "panels/PanelDrag.h"

#include "core/errors/Error.h"

namespace {

enum TWhere
{
    OnBadge,
    OnName,
    OnEmpty
};

struct TGesture
{
    const char* Name;
    TMouseButton Button;
    TShiftState Shift;
    TWhere Press;
    int32_t ReleaseColumn;
    TWhere Release;
    // The release on the pressed item itself; else on the other file.
    bool SameItem;
    std::vector<std::string> Expected;
};

class MouseGestureTest : public MouseTest
{
protected:
    MouseGestureTest()
    {
        // Every slot runs a command of its own, so the log tells which slot ran.
        TProgramOptions& o = ProgramOptions;
        o.LMBTypeOperation = "Delete";
        o.LMBNameOperation = "Edit";
        o.RMBTypeOperation = "View";
        o.RMBNameOperation = "Recycle file";
        o.MMBTypeOperation = "Rename file";
        o.MMBNameOperation = "Rename item";
        o.LMBDragTypeOperation = "Copy";
        o.LMBDragNameOperation = "Move";
        o.RMBDragTypeOperation = "Copy as";
        o.RMBDragNameOperation = "Move as";
    }

    QPoint PointOf(TColumn& column, int32_t item, TWhere where)
    {
        return where == OnBadge ? Badge(column, item) : where == OnName ? Name(column, item) : Empty(column);
    }

    // Press on "a.txt" of column 0 (or its empty space), release in the column given on
    // "a.txt" again, on "b.exe", or on empty space.
    void Run(const TGesture& gesture)
    {
        TColumn& source = Board[0];
        TColumn& target = Board[gesture.ReleaseColumn];
        const int32_t pressed = gesture.Press == OnEmpty ? -1 : source.IndexOfName("a.txt");
        const QPoint press = PointOf(source, pressed, gesture.Press);
        const int32_t released = gesture.Release == OnEmpty ? -1
                                 : gesture.SameItem         ? target.IndexOfName("a.txt")
                                                            : target.IndexOfName("b.exe");
        const QPoint release = PointOf(target, released, gesture.Release);
        Mouse.Press.DragSourceColumn = 0;
        Mouse.Press.DragItemIndex = source.FileList->GetItemAt(press.x(), press.y());
        Mouse.Press.DragStartX = press.x();
        Mouse.Press.DragStartY = press.y();
        ASSERT_EQ(pressed, Mouse.Press.DragItemIndex);
        target.FileListMouse(gesture.Button, gesture.Shift, release.x(), release.y());
        EXPECT_EQ(released, Mouse.Press.OperationItemIndex);
    }
};

const TShiftState Double = ShiftOf(ssDouble);

} // namespace

TEST_F(MouseGestureTest, ChoosesTheSlotByButtonAndArea)
{
    const std::vector<TGesture> gestures = {
        {"left click on badge", mbLeft, 0, OnBadge, 0, OnBadge, true, {"Click DeleteFileMenu"}},
        {"second click on badge", mbLeft, Double, OnBadge, 0, OnBadge, true, {"Click DeleteFileMenu"}},
        {"single left click on name", mbLeft, 0, OnName, 0, OnName, true, {}},
        {"double click on name", mbLeft, Double, OnName, 0, OnName, true, {"Click EditFileMenu"}},
        {"released on badge after press on name", mbLeft, Double, OnName, 0, OnBadge, true, {"Click DeleteFileMenu"}},
        {"right click on badge", mbRight, 0, OnBadge, 0, OnBadge, true, {"Click ViewFileMenu"}},
        {"right click on name", mbRight, 0, OnName, 0, OnName, true, {"Click RecycleFileMenu"}},
        {"middle click on badge", mbMiddle, 0, OnBadge, 0, OnBadge, true, {"Click RenameFileMenu"}},
        {"middle click on name", mbMiddle, 0, OnName, 0, OnName, true, {"Click RenameContainerItemMenu"}},
        {"left drag from badge to other column", mbLeft, 0, OnBadge, 1, OnName, false, {"Click FileDragMenu_Copy"}},
        {"left drag from name to other column", mbLeft, 0, OnName, 1, OnBadge, false, {"Click FileDragMenu_Move"}},
        {"left drag from badge onto same item of other column",
         mbLeft,
         0,
         OnBadge,
         1,
         OnBadge,
         true,
         {"Click FileDragMenu_Copy"}},
        {"left drag to other item of same column", mbLeft, 0, OnName, 0, OnName, false, {"Click FileDragMenu_Move"}},
        {"left drag from badge to empty space", mbLeft, 0, OnBadge, 0, OnEmpty, false, {"Click FileDragMenu_Copy"}},
        {"right drag from badge", mbRight, 0, OnBadge, 1, OnName, false, {"Click FileDragMenu_CopyAs"}},
        {"right drag from name", mbRight, 0, OnName, 1, OnName, false, {"Click FileDragMenu_MoveAs"}},
        {"middle drag", mbMiddle, 0, OnBadge, 0, OnName, false, {}},
        {"right click on empty space", mbRight, 0, OnEmpty, 0, OnEmpty, false, {"Click RecycleFileMenu"}},
        {"left click on empty space", mbLeft, 0, OnEmpty, 0, OnEmpty, false, {}},
        {"right press on empty space released on an item", mbRight, 0, OnEmpty, 0, OnName, false, {}},
        {"left drag from empty space to other column", mbLeft, 0, OnEmpty, 1, OnName, false, {"Click FileDragMenu_Move"}},
        {"right drag from empty space to other column",
         mbRight,
         0,
         OnEmpty,
         1,
         OnEmpty,
         false,
         {"Click FileDragMenu_MoveAs"}},
    };
    for (const TGesture& gesture : gestures) {
        SCOPED_TRACE(gesture.Name);
        Mouse.Log.clear();
        Run(gesture);
        EXPECT_EQ(gesture.Expected, Mouse.Operations());
    }
}

TEST_F(MouseTest, DefaultLeftDragsCopyFromTheBadgeAndOfferTheFileDragMenuFromTheName)
{
    const int32_t file = Board[0].IndexOfName("a.txt");
    const QPoint target = Name(Board[1], Board[1].IndexOfName("b.exe"));
    for (const auto& [press, expected] :
         std::vector<std::pair<QPoint, std::string>>{{Badge(Board[0], file), "Click FileDragMenu_Copy"},
                                                     {Name(Board[0], file), "File-drag menu"}}) {
        Mouse.Log = {};
        Mouse.Press = {0, mbLeft, 0, file, "", press.x(), press.y(), -1, false};
        Board[1].FileListMouse(mbLeft, 0, target.x(), target.y());
        EXPECT_EQ((std::vector<std::string>{"Enable drag", expected}), Mouse.Log);
    }
    // The File-drag menu pops up at the drop point.
    EXPECT_EQ(Board[1].FileList->mapToGlobal(target + QPoint(Board[1].FileList->Border, Board[1].FileList->Border)),
              Mouse.MenuPoint);
}

TEST_F(MouseTest, APressFillsThePressRecordAndAMiddleClickDispatchesAtTheRelease)
{
    TColumn& column = Board[1];
    const int32_t file = column.IndexOfName("b.exe");
    const QPoint name = Name(column, file);
    const QPoint border(column.FileList->Border, column.FileList->Border);
    column.FocusIndex(column.IndexOfName("sub"));
    column.FileList->MouseDown(mbMiddle, 0, name.x() + border.x(), name.y() + border.y());
    EXPECT_EQ(1, Mouse.Press.DragSourceColumn);
    EXPECT_EQ(mbMiddle, Mouse.Press.DragMouseButton);
    EXPECT_EQ(file, Mouse.Press.DragItemIndex);
    EXPECT_EQ(Drive.Path("d\\b.exe"), Mouse.Press.DragItemTitle);
    EXPECT_EQ(Drive.Path("d\\b.exe"), column.ActiveTitle);
    EXPECT_FALSE(PanelDrag.IsActive());
    EXPECT_EQ(1, Painting.HoverHidden);
    EXPECT_EQ((std::pair<int32_t, bool>(1, false)), Board.FocusRequests.back());

    // "Toggle selection" by default, when the File menu allows selecting.
    column.FileList->MouseUp(mbMiddle, 0, name.x() + border.x(), name.y() + border.y());
    EXPECT_TRUE(column.GetItem(file).Selected);
    Mouse.SelectMenuEnabled = false;
    column.FileList->MouseUp(mbMiddle, 0, name.x() + border.x(), name.y() + border.y());
    EXPECT_TRUE(column.GetItem(file).Selected);
}

TEST_F(MouseTest, ThePressedTitleFallsBackToTheFocusedItemThenToTheDirectory)
{
    TColumn& column = Board[0];
    const QPoint empty = Empty(column);
    column.FileListMouseDown(column.FileList, mbMiddle, 0, empty.x(), empty.y());
    EXPECT_EQ(-1, Mouse.Press.DragItemIndex);
    EXPECT_EQ(Drive.Path("d\\a.txt"), Mouse.Press.DragItemTitle);

    MakeDirectory("e");
    Open(column, Drive.Path("e\\none"));
    column.FileListMouseDown(column.FileList, mbMiddle, 0, empty.x(), empty.y());
    EXPECT_EQ(Drive.Path("e\\"), Mouse.Press.DragItemTitle);
}

TEST_F(MouseTest, ALeftOrRightPressStartsADragAndARightPressOnAnItemArmsTheMouseMenu)
{
    TColumn& column = Board[0];
    const QPoint name = Name(column, column.IndexOfName("a.txt"));
    column.FileListMouseDown(column.FileList, mbLeft, 0, name.x(), name.y());
    EXPECT_TRUE(PanelDrag.IsActive());
    EXPECT_TRUE(Mouse.Press.ColumnDragActive);
    EXPECT_EQ((std::vector<std::string>{"Start column drag"}), Mouse.Log);
    PanelDrag.Cancel();
    EXPECT_FALSE(Mouse.Press.ColumnDragActive);
    EXPECT_EQ((std::vector<std::string>{"Start column drag", "End column drag", "Close mouse menu"}), Mouse.Log);

    Mouse.Log.clear();
    column.FileListMouseDown(column.FileList, mbRight, ShiftOf(ssCtrl), name.x(), name.y());
    EXPECT_TRUE(PanelDrag.IsActive());
    EXPECT_FALSE(Mouse.Press.ColumnDragActive);
    EXPECT_EQ((std::vector<std::string>{"Arm mouse menu"}), Mouse.Log);
    EXPECT_EQ(ProgramOptions.MouseMenuOperation, Mouse.MenuSettings.Operations);
    PanelDrag.Cancel();

    // The mouse menu runs its cell with the press's modifiers.
    Mouse.Log.clear();
    Mouse.Choose("Properties", QPoint(5, 5));
    EXPECT_EQ((std::vector<std::string>{"End column drag", "Enable", "Click ReferencePropertiesMenu"}), Mouse.Log);

    const QPoint empty = Empty(column);
    Mouse.Log.clear();
    column.FileListMouseDown(column.FileList, mbRight, 0, empty.x(), empty.y());
    EXPECT_TRUE(Mouse.Log.empty());
    PanelDrag.Cancel();
}

TEST_F(MouseTest, ADropFocusesTheItemDroppedOnAndDispatchesWithThePress)
{
    const int32_t file = Board[0].IndexOfName("a.txt");
    const QPoint badge = Badge(Board[0], file);
    Mouse.Press = {0, mbRight, 0, file, "", badge.x(), badge.y(), -1, true};
    const int32_t target = Board[1].IndexOfName("sub");
    const QPoint drop = Name(Board[1], target);
    Board[1].FileListDragDrop(Board[1].FileList, Board[0].FileList, drop.x(), drop.y());
    EXPECT_EQ(target, Board[1].FileList->FocusIndex);
    EXPECT_EQ(Drive.Path("d\\sub"), Board[1].ActiveTitle);
    EXPECT_EQ(target, Mouse.HotItem);
    EXPECT_FALSE(Mouse.Press.ColumnDragActive);
    EXPECT_EQ((std::vector<std::string>{"End column drag", "Close mouse menu", "Enable drag",
                                        "Click FileDragMenu_Move"}),
              Mouse.Log);
}

TEST_F(MouseTest, OperationsRunByTheirExactNames)
{
    struct TCase
    {
        const char* Operation;
        TShiftState Shift;
        std::vector<std::string> Expected;
    };
    const std::vector<TCase> cases = {
        {"Copy as hard-link", 0, {"Enable drag", "Click FileDragMenu_CopyAsHardLink"}},
        {"Properties", 0, {"Enable", "Click FilePropertiesMenu"}},
        {"Properties", ShiftOf(ssCtrl), {"Enable", "Click ReferencePropertiesMenu"}},
        {"Set as background", 0, {"Enable", "Click SetAsBackgroundPicture"}},
        {"File menu", 0, {"File menu"}},
        {"Inter-board file-drag menu", 0, {"Inter-board menu"}},
        {"System menu", ShiftOf(ssCtrl), {"System menu 3 shift 4"}},
        {"System-drag menu", 0, {"System-drag menu 3 shift 0"}},
        {"copy", 0, {}},
        {"Send menu", 0, {}},
        {"None", 0, {}},
    };
    Mouse.Press.DragItemIndex = 3;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Operation);
        Mouse.Log.clear();
        FunStatContext.Reset(fsError);
        Board[0].ChooseMouseOperation(c.Operation, c.Shift, QPoint());
        EXPECT_EQ(c.Expected, Mouse.Log);
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
    }
}

TEST_F(MouseTest, TheToggleOperationsFixTheirDirection)
{
    TColumn& column = Board[0];
    const int32_t first = column.IndexOfName("sub");
    column.FileList->SetFocusIndex(first + 1);
    // The run from the focus downward.
    column.ChooseMouseOperation("Toggle down selection", 0, QPoint());
    EXPECT_FALSE(column.GetItem(first).Selected);
    EXPECT_TRUE(column.GetItem(first + 1).Selected);
    EXPECT_TRUE(column.GetItem(first + 2).Selected);
    column.ChooseMouseOperation("Toggle up selection", 0, QPoint());
    EXPECT_FALSE(column.GetItem(first + 1).Selected);
    EXPECT_TRUE(column.GetItem(first + 2).Selected);
    // The second press of a double click is no modifier of a run, nor no modifier at all.
    column.ChooseMouseOperation("Toggle selection", Double, QPoint());
    EXPECT_FALSE(column.GetItem(first + 1).Selected);
    EXPECT_TRUE(column.GetItem(first + 2).Selected);
}

TEST_F(MouseTest, TheHeaderButtonRunsItsOperationsAtThePress)
{
    TColumn& column = Board[1];
    column.HeaderButtonMouseDown(column.HeaderButton, mbRight, 0, 4, 2);
    column.HeaderButtonMouseDown(column.HeaderButton, mbMiddle, 0, 4, 2);
    EXPECT_EQ((std::vector<std::string>{"Click FixedAttrMenu", "Click TreeNavigatorMenu"}), Mouse.Log);

    column.HeaderButtonMouseDown(column.HeaderButton, mbLeft, ShiftOf(ssAlt), 4, 2);
    EXPECT_EQ(Drive.Path(""), GetParentPath(column.ActiveTitle));

    Mouse.Log.clear();
    column.ChooseHeaderButtonMouseOperation("Parent System menu", ShiftOf(ssCtrl), 4);
    EXPECT_EQ(1, Mouse.Press.DragSourceColumn);
    EXPECT_EQ((std::vector<std::string>{"System menu -1 shift 1"}), Mouse.Log);

    Mouse.Log.clear();
    column.ChooseHeaderButtonMouseOperation("Toggle thumbnails attribute", 0, 4);
    column.ChooseHeaderButtonMouseOperation("toggle fixed attribute", 0, 4);
    EXPECT_EQ((std::vector<std::string>{"Click ThumbAttrMenu"}), Mouse.Log);
}
