#include "BoardTestWindow.h"

#include "mainwindow/BoardPropertiesForm.h"

#include "panels/MyPanelOptions.h"
#include "panels/MyTPanel.h"

#include "core/files/KnownFolders.h"
#include "core/files/ProgramFolders.h"
#include "core/forms/InputState.h"

#include "support/HeldKeys.h"

#include "host/Clock.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <gmock/gmock.h>

#include <map>

using testing::ElementsAre;
using testing::HasSubstr;

namespace {

constexpr TShiftState NoKeys = 0;
const TShiftState Ctrl = ShiftOf(ssCtrl);
const TShiftState Shift = ShiftOf(ssShift);
const TShiftState Alt = ShiftOf(ssAlt);

std::string WindowCaption(const TMainForm& window)
{
    return window.windowTitle().toStdString();
}

std::vector<std::string> BoardNames(int32_t count)
{
    std::vector<std::string> names;
    for (int32_t i = 0; i < count; ++i)
        names.push_back(BoardAt(i).Name);
    return names;
}

std::vector<std::string> ComboItems(const QComboBox& box)
{
    std::vector<std::string> items;
    for (int i = 0; i < box.count(); ++i)
        items.push_back(box.itemText(i).toStdString());
    return items;
}

// The window (board 1, "Main") shows folder "a" in its first column; the fifth board, "Five",
// has three columns, the first at folder "b".
class BoardsTest : public testing::Test
{
protected:
    BoardsTest()
    {
        Drive.WriteFile("a/one.txt", "1");
        Drive.WriteFile("a/two.txt", "2");
        Drive.WriteFile("b/three.txt", "3");
        Open();
    }

    // A fresh window, as the fixture made the first one.
    void Reopen()
    {
        Window.Discard();
        Open();
    }

    void Open()
    {
        TMainForm& window = Window.Open();
        ColumnAt(window, 0).LoadDirectory(
            {.RememberPrevious = true, .ContainerIndex = -1, .Title = Drive.Path("a/two.txt")});
        TBoardData& five = BoardAt(4);
        Boards->SetBoardName(five, "Five");
        five.VisibleColumnCount = 3;
        five.ColumnStates[0].ActiveTitle = Drive.Path("b/three.txt");
    }

    TTempDrive Drive;
    TBoardTestWindow Window;
};

TEST_F(BoardsTest, ShowingABoardKeepsTheWindowInTheOldBoardAndLoadsTheNewOne)
{
    Boards->ShowBoard(4);

    EXPECT_EQ(4, Boards->ActiveBoard);
    EXPECT_EQ(Drive.Path("a/two.txt"), BoardAt(0).ColumnStates[0].ActiveTitle);
    EXPECT_EQ(3, Window->VisibleColumnCount);
    EXPECT_THAT(ListedTitles(ColumnAt(*Window, 0)), ElementsAre(Drive.Path("b/three.txt")));
    EXPECT_EQ(Drive.Path("a/two.txt"), ColumnAt(*Window, 0).PreviousTitle);
    EXPECT_FALSE(BoardAt(0).Button->Down);
    EXPECT_TRUE(BoardAt(4).Button->Down);
    EXPECT_THAT(WindowCaption(*Window), HasSubstr("\"Five\""));
    EXPECT_TRUE(GMyPanelGlobal.PaintingEnabled);

    Boards->ShowBoard(0);

    EXPECT_EQ(2, Window->VisibleColumnCount);
    EXPECT_EQ(Drive.Path("a/two.txt"), ColumnAt(*Window, 0).ActiveTitle);
    EXPECT_EQ(1, ColumnAt(*Window, 0).FileList->FocusIndex);
    EXPECT_EQ(Drive.Path("b/three.txt"), BoardAt(4).ColumnStates[0].ActiveTitle);
}

TEST_F(BoardsTest, ShowingTheActiveBoardOrNoBoardChangesNothing)
{
    for (int32_t index : {0, -1}) {
        SCOPED_TRACE(index);
        Boards->ShowBoard(index);
        EXPECT_EQ(0, Boards->ActiveBoard);
        EXPECT_EQ(Drive.Path("a/two.txt"), ColumnAt(*Window, 0).ActiveTitle);
        // The stored board is refreshed only by a switch.
        EXPECT_NE(Drive.Path("a/two.txt"), BoardAt(0).ColumnStates[0].ActiveTitle);
        EXPECT_TRUE(GMyPanelGlobal.PaintingEnabled);
    }
}

// A press on the fifth button: what it does is seen in the active board, the names at
// positions 1 and 5 and what the window's first column shows.
TEST_F(BoardsTest, ABoardButtonActsByItsModifierKeys)
{
    struct Row
    {
        const char* Case;
        TMouseButton Button;
        TShiftState Shift;
        int32_t ActiveAfter;
        std::string NameAt1;
        std::string NameAt5;
        const char* WindowTitle;
    };
    const Row rows[] = {
        {"left: show", mbLeft, NoKeys, 4, "Main", "Five", "b/three.txt"},
        {"Ctrl: copy", mbLeft, Ctrl, 4, "Main", "Five", "a/two.txt"},
        {"Shift: exchange", mbLeft, Shift, 4, "Five", "Main", "a/two.txt"},
        {"Alt: move", mbLeft, Alt, 4, "Temp", "Main", "a/two.txt"},
        {"Ctrl+Alt: nothing", mbLeft, static_cast<TShiftState>(Ctrl | Alt), 0, "Main", "Five", "a/two.txt"},
        {"right: nothing", mbRight, NoKeys, 0, "Main", "Five", "a/two.txt"},
        {"middle: nothing", mbMiddle, NoKeys, 0, "Main", "Five", "a/two.txt"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Case);
        BoardAt(4).Button->MouseDown(row.Button, row.Shift | ShiftOf(ssLeft), 5, 5);
        EXPECT_EQ(row.ActiveAfter, Boards->ActiveBoard);
        EXPECT_EQ(row.NameAt1, BoardAt(0).Name);
        EXPECT_EQ(row.NameAt5, BoardAt(4).Name);
        EXPECT_EQ(Drive.Path(row.WindowTitle), ColumnAt(*Window, 0).ActiveTitle);
        Reopen();
    }
}

// A resting button shows its place in the shared background; after a press that changes
// the active board, the bar looks as a full re-layout draws it.
TEST_F(BoardsTest, TheBarShowsTheActiveBoardsButtonPressedAfterEveryChange)
{
    const auto buttonsShown = [] {
        std::vector<QImage> shown;
        for (int32_t index : {0, 4})
            shown.push_back(GMyPanelOptions.Background.copy(BoardAt(index).Button->GetBackgroundRect()));
        return shown;
    };
    for (TShiftState shift : {NoKeys, Ctrl, Shift, Alt}) {
        SCOPED_TRACE(static_cast<int>(shift));
        ProgramOptions.ShowBoardsBar = true;
        Window->Reset(false);
        const std::vector<QImage> atStart = buttonsShown();
        BoardAt(4).Button->MouseDown(mbLeft, shift | ShiftOf(ssLeft), 5, 5);
        ASSERT_EQ(4, Boards->ActiveBoard);
        const std::vector<QImage> afterPress = buttonsShown();
        EXPECT_NE(atStart[1], afterPress[1]);
        Window->Reset(false);
        EXPECT_EQ(buttonsShown(), afterPress);
        Reopen();
    }
}

TEST_F(BoardsTest, APressOnTheActiveBoardsButtonDoesNothing)
{
    for (TShiftState shift : {NoKeys, Ctrl, Shift, Alt}) {
        BoardAt(0).Button->MouseDown(mbLeft, shift, 5, 5);
        EXPECT_EQ(0, Boards->ActiveBoard);
        EXPECT_EQ("Main", BoardAt(0).Name);
        EXPECT_TRUE(BoardAt(0).Button->Down);
    }
}

TEST_F(BoardsTest, CopyingGivesTheWindowToTheOtherBoardWhichKeepsItsName)
{
    BoardAt(0).ShowTree = true;
    BoardAt(0).TreePath = Drive.Path("a\\");

    Boards->CopyBoard(4);

    EXPECT_EQ(4, Boards->ActiveBoard);
    EXPECT_EQ("Five", BoardAt(4).Name);
    EXPECT_TRUE(BoardAt(4).ShowTree);
    EXPECT_EQ(Drive.Path("a\\"), BoardAt(4).TreePath);
    EXPECT_EQ(Drive.Path("a/two.txt"), BoardAt(0).ColumnStates[0].ActiveTitle);
    // The window is board 5's from now on, stored there at the next switch.
    Boards->ShowBoard(1);
    EXPECT_EQ(Drive.Path("a/two.txt"), BoardAt(4).ColumnStates[0].ActiveTitle);
    EXPECT_EQ(2, BoardAt(4).VisibleColumnCount);
}

TEST_F(BoardsTest, ExchangingMainWithAnUnnamedBoardKeepsTheWindowAndMovesTheNames)
{
    Boards->SetBoardName(BoardAt(4), "");
    BoardAt(4).ShowPlayList = true;

    Boards->SwitchBoard(4);

    EXPECT_EQ(Drive.Path("a/two.txt"), ColumnAt(*Window, 0).ActiveTitle);
    EXPECT_EQ(2, Window->VisibleColumnCount);
    EXPECT_TRUE(BoardAt(4).Button->Down);
    EXPECT_FALSE(BoardAt(0).Button->Down);
    EXPECT_EQ("Main", BoardAt(4).Button->GetCaption());
    EXPECT_EQ("1", BoardAt(0).Button->GetCaption());
    EXPECT_EQ("1", BoardAt(4).Shortcut);
    EXPECT_EQ("5", BoardAt(0).Shortcut);
    EXPECT_TRUE(BoardAt(0).ShowPlayList);
    EXPECT_FALSE(BoardAt(4).ShowPlayList);
    // The columns went along: position 1 holds what board 5 held.
    EXPECT_EQ(Drive.Path("a/two.txt"), BoardAt(4).ColumnStates[0].ActiveTitle);
    EXPECT_EQ(Drive.Path("b/three.txt"), BoardAt(0).ColumnStates[0].ActiveTitle);
    EXPECT_EQ(3, BoardAt(0).VisibleColumnCount);
}

TEST_F(BoardsTest, MovingABoardShiftsTheBoardsBetween)
{
    struct Row
    {
        int32_t From;
        int32_t To;
        std::vector<std::string> Names;
    };
    const Row rows[] = {
        {1, 4, {"Main", "CD", "Search", "Five", "Temp", "Backup"}},
        {4, 1, {"Main", "Five", "Temp", "CD", "Search", "Backup"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.From);
        Boards->ShowBoard(row.From);
        const std::string movedTitle = Drive.Path("a/one.txt");
        ColumnAt(*Window, 0).LoadDirectory({.RememberPrevious = true, .ContainerIndex = -1, .Title = movedTitle});
        const std::string passing = BoardAt(row.To).ColumnStates[0].ActiveTitle;

        Boards->MoveBoard(row.To);

        EXPECT_EQ(row.To, Boards->ActiveBoard);
        EXPECT_EQ(row.Names, BoardNames(6));
        EXPECT_EQ(movedTitle, BoardAt(row.To).ColumnStates[0].ActiveTitle);
        const int32_t passedTo = row.From < row.To ? row.To - 1 : row.To + 1;
        EXPECT_EQ(passing, BoardAt(passedTo).ColumnStates[0].ActiveTitle);
        for (int32_t i = 0; i < 6; ++i)
            EXPECT_EQ(Boards->GetBoardCaption(BoardAt(i)), BoardAt(i).Button->GetCaption());
        Reopen();
    }
}

TEST_F(BoardsTest, ANameEqualToTheBoardsIndexIsStoredEmpty)
{
    struct Row
    {
        std::string Given;
        std::string Stored;
        std::string Caption;
    };
    const Row rows[] = {{"4", "", "5"}, {"5", "5", "5"}, {"Five", "Five", "Five"}, {"", "", "5"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Given);
        Boards->SetBoardName(BoardAt(4), row.Given);
        EXPECT_EQ(row.Stored, BoardAt(4).Name);
        EXPECT_EQ(row.Caption, BoardAt(4).Button->GetCaption());
    }
}

TEST_F(BoardsTest, TheHintNamesTheShortcutOnlyWhenThereIsOne)
{
    const std::map<std::string, bool> named = {{"7", true}, {"", false}, {"none", false}, {"None", false}};
    for (const auto& [shortcut, shown] : named) {
        SCOPED_TRACE(shortcut);
        Boards->SetBoardShortcut(BoardAt(4), shortcut);
        const std::string hint = BoardAt(4).Button->toolTip().toStdString();
        EXPECT_THAT(hint, HasSubstr("[Alt] = move the active board in the place of this board)."));
        EXPECT_THAT(hint, HasSubstr("Each board's status is saved."));
        EXPECT_EQ(shown, hint.find("[7] = show this board.") != std::string::npos);
    }
}

TEST_F(BoardsTest, NewBoardsShowTheDrivesAndTheDefaultBoardsTheirFolders)
{
    EXPECT_EQ(GetOperatorDrive(), BoardAt(19).ColumnStates[0].ActiveTitle);
    EXPECT_EQ(GetOperatorDrive(), BoardAt(19).TreePath);
    EXPECT_EQ("", BoardAt(19).Name);
    EXPECT_EQ("20", BoardAt(19).Button->GetCaption());
    const TBoardData& search = BoardAt(3);
    EXPECT_EQ(GetDocumentsPath(), search.ColumnStates[0].ActiveTitle);
    EXPECT_EQ(1, search.ColumnStates[1].ContainerIndex);
    EXPECT_EQ(0, search.ColumnStates[2].ContainerIndex);
    EXPECT_EQ(2, search.ColumnStates[2].WidthAttr);
    EXPECT_TRUE(search.ColumnStates[2].ShowPathsInContainer);
    EXPECT_EQ(GetOptionsPath(), BoardAt(18).ColumnStates[1].ActiveTitle);
    EXPECT_EQ(0, BoardAt(10).ColumnStates[1].ThumbHeight);
    EXPECT_TRUE(BoardAt(14).ShowTree);
    EXPECT_EQ(1, BoardAt(14).VisibleColumnCount);
}

TEST_F(BoardsTest, BoardsAreFoundByShortcutAndTheSearchBoardByName)
{
    const std::map<char, int32_t> shortcuts = {{'1', 0}, {'0', 9}, {'x', -1}, {'\0', -1}};
    for (const auto& [key, board] : shortcuts)
        EXPECT_EQ(board, Boards->FindBoardByShortcut(key)) << key;
    EXPECT_EQ(3, Boards->FindSearchBoard());

    Boards->SetBoardShortcut(BoardAt(0), "None");
    Boards->SetBoardShortcut(BoardAt(20), "xylophone");
    Boards->SetBoardName(BoardAt(3), "Hunt");
    Boards->SetBoardName(BoardAt(25), "FIND");

    EXPECT_EQ(-1, Boards->FindBoardByShortcut('1'));
    EXPECT_EQ(20, Boards->FindBoardByShortcut('x'));
    EXPECT_EQ(25, Boards->FindSearchBoard());
}

TEST_F(BoardsTest, ADigitTypedInAFileListShowsItsBoard)
{
    uint16_t key = '5';
    ColumnAt(*Window, 0).FileListKeyDown(ColumnAt(*Window, 0).FileList, key, NoKeys);

    EXPECT_EQ(4, Boards->ActiveBoard);
    EXPECT_THAT(ListedTitles(ColumnAt(*Window, 0)), ElementsAre(Drive.Path("b/three.txt")));
}

TEST_F(BoardsTest, TheBarPutsTheVisibleBoardsOnItsRows)
{
    struct Row
    {
        int32_t VisibleBoards;
        int32_t Rows;
        std::vector<int32_t> ButtonsPerRow;
    };
    const Row rows[] = {{30, 4, {8, 8, 8, 6}}, {10, 1, {10}}, {12, 5, {3, 3, 3, 3}}};
    ProgramOptions.ShowBoardsBar = true;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.VisibleBoards);
        Boards->ArrangeBar(row.VisibleBoards, row.Rows, 0, 0, 701);
        const int32_t itemsWidth = Boards->BarPanel->GetItemsWidth(false);
        const int32_t perRow = row.ButtonsPerRow.front();
        const int32_t width = itemsWidth / perRow;
        std::map<int32_t, std::vector<const MyTPanel*>> byRow;
        for (const TBoardData& board : Boards->Items)
            if (!board.Button->isHidden())
                byRow[board.Button->y()].push_back(board.Button);
        std::vector<int32_t> counts;
        for (const auto& [top, buttons] : byRow) {
            counts.push_back(static_cast<int32_t>(buttons.size()));
            for (size_t k = 0; k < buttons.size(); ++k) {
                const bool lastSlot = static_cast<int32_t>(k) == perRow - 1;
                EXPECT_EQ(static_cast<int32_t>(k) * width, buttons[k]->x() - Boards->BarPanel->Border);
                EXPECT_EQ(lastSlot ? itemsWidth - (perRow - 1) * width : width, buttons[k]->width());
            }
        }
        EXPECT_EQ(row.ButtonsPerRow, counts);
        EXPECT_EQ(row.Rows * BoardAt(0).Button->height() + 2 * Boards->BarPanel->Border, Boards->BarPanel->height());
        EXPECT_FALSE(Boards->BarPanel->isHidden());
    }
}

TEST_F(BoardsTest, TheBoardsMenuActsByTheModifiersItWasOpenedWith)
{
    struct Row
    {
        TShiftState Shift;
        std::string Title;
        std::string NameAt1;
        const char* WindowTitle;
    };
    const Row rows[] = {
        {NoKeys, "Show board", "Main", "b/three.txt"},
        {Ctrl, "Copy board", "Main", "a/two.txt"},
        {Shift, "Switch board", "Five", "a/two.txt"},
        {static_cast<TShiftState>(Ctrl | Shift), "Move board", "Temp", "a/two.txt"},
        {Alt, "Show board", "Main", "b/three.txt"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Title);
        {
            TModalScript script;
            script.Expect(row.Title, 0, [](const TModalRequest& request) {
                const QList<QAction*> items = request.Menu->actions();
                ASSERT_EQ(31, items.size());
                EXPECT_EQ(request.Menu->defaultAction(), items[0]);
                EXPECT_TRUE(items[1]->isChecked());
                EXPECT_FALSE(items[1]->isEnabled());
                EXPECT_EQ("Main\t1", items[1]->text().toStdString());
                EXPECT_EQ("Five\t5", items[5]->text().toStdString());
                EXPECT_EQ("20", items[20]->text().toStdString());
                items[5]->trigger();
            });
            Boards->ShowMenu(*Window->BoardsButton, row.Shift);
        }
        EXPECT_EQ(4, Boards->ActiveBoard);
        EXPECT_EQ(row.NameAt1, BoardAt(0).Name);
        EXPECT_EQ(Drive.Path(row.WindowTitle), ColumnAt(*Window, 0).ActiveTitle);
        Reopen();
    }
}

// A column dropped on the Boards button only shows the board picked: the keys held at the
// drop belong to the drag and never make the menu copy, exchange or move boards.
TEST_F(BoardsTest, AColumnDroppedOnTheBoardsButtonShowsThePickedBoardWhateverKeysAreHeld)
{
    struct Row
    {
        const char* Name;
        Qt::KeyboardModifiers Keys;
    };
    const Row rows[] = {
        {"no keys", Qt::NoModifier},
        {"Ctrl", Qt::ControlModifier},
        {"Shift", Qt::ShiftModifier},
        {"Ctrl+Shift", Qt::ControlModifier | Qt::ShiftModifier},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        MyTPanel& button = *Window->BoardsButton;
        const std::vector<std::string> names = BoardNames(6);
        {
            const THeldKeys held(row.Keys);
            ASSERT_EQ(row.Keys, QApplication::keyboardModifiers());
            TModalScript script;
            script.Expect("Show board", 0, [](const TModalRequest& request) { request.Menu->actions()[5]->trigger(); });
            button.OnDragDrop(&button, ColumnAt(*Window, 0).FileList, 5, 5);
            EXPECT_EQ(1U, script.Seen().size());
        }
        EXPECT_EQ(4, Boards->ActiveBoard);
        EXPECT_EQ(names, BoardNames(6));
        EXPECT_EQ(Drive.Path("a/two.txt"), BoardAt(0).ColumnStates[0].ActiveTitle);
        EXPECT_EQ(Drive.Path("b/three.txt"), ColumnAt(*Window, 0).ActiveTitle);
        EXPECT_EQ(Drive.Path("a/two.txt"), ColumnAt(*Window, IBSourceColumnIndex).ActiveTitle);
        Reopen();
    }
}

// The drag rests on the fifth button; the clock is the test's.
class BoardDragHoverTest : public BoardsTest
{
protected:
    BoardDragHoverTest()
    {
        host::SetTickCountSource([this] { return Ticks; });
        ProgramOptions.ShowBoardsBar = true;
        Window->show();
        Window->Reset(false);
        Window->Press.DragShiftState = Ctrl;
        Window->Press.DragItemIndex = 1;
        Window->Press.DragItemTitle = Drive.Path("a/two.txt");
        QCursor::setPos(Button().mapToGlobal(Button().rect().center()));
    }
    ~BoardDragHoverTest() override { host::SetTickCountSource({}); }

    MyTPanel& Button() { return *BoardAt(4).Button; }

    void DragOver(TDragState state)
    {
        bool accepted = false;
        Button().DragOver(ColumnAt(*Window, 0).FileList, 5, 5, state, accepted);
        EXPECT_TRUE(accepted);
    }

    void TickAt(uint32_t ms)
    {
        Ticks = ms;
        Boards->DragHoverTimerTick();
    }

    uint32_t Ticks = 100000;
};

TEST_F(BoardDragHoverTest, AColumnDragRestingOnAButtonShowsItsBoardAfterADelay)
{
    Window->Press.ColumnDragActive = true;
    DragOver(dsDragEnter);

    EXPECT_FALSE(Window->Press.ColumnDragActive);
    EXPECT_TRUE(Boards->DragHoverTimer->isActive());
    EXPECT_EQ(IBSourceColumnIndex, Window->Press.DragSourceColumn);
    EXPECT_EQ(ListedTitles(ColumnAt(*Window, 0)), ListedTitles(ColumnAt(*Window, IBSourceColumnIndex)));
    EXPECT_EQ(1, ColumnAt(*Window, IBSourceColumnIndex).FileList->FocusIndex);
    EXPECT_EQ(Ctrl, Window->IBShiftState);
    EXPECT_EQ(1, Window->IBItemIndex);
    EXPECT_EQ(Drive.Path("a/two.txt"), Window->IBItemTitle);

    DragOver(dsDragMove);
    TickAt(100700);
    EXPECT_EQ(0, Boards->ActiveBoard);
    TickAt(100900);
    EXPECT_EQ(4, Boards->ActiveBoard);
    // The marked column stays while the other board shows.
    EXPECT_THAT(ListedTitles(ColumnAt(*Window, IBSourceColumnIndex)),
                ElementsAre(Drive.Path("a/one.txt"), Drive.Path("a/two.txt")));

    Boards->EndColumnDrag();
    EXPECT_FALSE(Boards->DragHoverTimer->isActive());
    EXPECT_EQ(nullptr, Boards->DragBoard);
}

TEST_F(BoardDragHoverTest, LeavingTheButtonBeforeTheDelayShowsNothing)
{
    DragOver(dsDragEnter);
    TickAt(100500);
    QCursor::setPos(Window->mapToGlobal(QPoint(-20, -20)));
    TickAt(101000);
    EXPECT_EQ(0, Boards->ActiveBoard);
}

TEST_F(BoardsTest, TheLocationsTreeListsTheNamedBoardsAndTheirFolders)
{
    for (TBoardData& board : Boards->Items)
        Boards->SetBoardName(board, "");
    Boards->SetBoardName(BoardAt(2), "Work");
    BoardAt(2).VisibleColumnCount = 4;
    BoardAt(2).ColumnStates[0].ActiveTitle = Drive.Path("a/one.txt");
    BoardAt(2).ColumnStates[1].ActiveTitle = Drive.Path("a/two.txt");
    BoardAt(2).ColumnStates[2].ActiveTitle = "C:";
    BoardAt(2).ColumnStates[3].ActiveTitle = "C:\\etc";
    BoardAt(2).ColumnStates[4].ActiveTitle = Drive.Path("b/three.txt");
    Boards->SetBoardName(BoardAt(22), "Drives");
    QTreeWidget tree;

    Boards->SetupTreeView(tree);

    ASSERT_EQ(2, tree.topLevelItemCount());
    const QTreeWidgetItem& work = *tree.topLevelItem(0);
    EXPECT_EQ("Work", work.text(0).toStdString());
    EXPECT_EQ(QTreeWidgetItem::ShowIndicator, work.childIndicatorPolicy());
    ASSERT_EQ(2, work.childCount());
    EXPECT_EQ(Drive.Path("a\\"), work.child(0)->text(0).toStdString());
    EXPECT_EQ(Drive.Path("a\\"), work.child(1)->text(0).toStdString());
    EXPECT_EQ("Drives", tree.topLevelItem(1)->text(0).toStdString());
    EXPECT_EQ(0, tree.topLevelItem(1)->childCount());
}

// ---- The properties dialog ----

// Answers the properties dialog after `act` has worked it, with the result the dialog
// itself came to.
class TPropertiesAnswer
{
public:
    explicit TPropertiesAnswer(std::function<void(TBoardPropertiesForm&)> act)
    {
        SetModalAnswerer([this, act](const TModalRequest& request) {
            ++Requests;
            EXPECT_EQ("Board properties", request.Caption);
            auto& form = *static_cast<TBoardPropertiesForm*>(request.Dialog);
            ShownName = form.NameComboBox->currentText().toStdString();
            ShownShortcut = form.ShortcutComboBox->currentText().toStdString();
            Shortcuts = ComboItems(*form.ShortcutComboBox);
            act(form);
            return form.result();
        });
    }
    ~TPropertiesAnswer() { SetModalAnswerer(nullptr); }
    TPropertiesAnswer(const TPropertiesAnswer&) = delete;
    TPropertiesAnswer& operator=(const TPropertiesAnswer&) = delete;

    int Requests = 0;
    std::string ShownName;
    std::string ShownShortcut;
    std::vector<std::string> Shortcuts;
};

void PressKey(QWidget& control, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&control, &press);
}

TEST_F(BoardsTest, TheShortcutChoicesAreNoneTheBoardsOwnAndTheFreeDigits)
{
    struct Row
    {
        const char* Case;
        int32_t Board;
        std::function<void()> Prepare;
        std::string ShownName;
        std::string ShownShortcut;
        std::vector<std::string> Shortcuts;
    };
    const Row rows[] = {
        {"every other digit taken", 8, [] {}, "Movies", "9", {"None", "9"}},
        {"an unnamed board without shortcut", 22, [] {}, "", "None", {"None"}},
        {"digits freed by None",
         22,
         [] {
             Boards->SetBoardShortcut(BoardAt(2), "None");
             Boards->SetBoardShortcut(BoardAt(9), "");
         },
         "",
         "None",
         {"None", "0", "3"}},
        {"a shortcut that is no digit",
         22,
         [] { Boards->SetBoardShortcut(BoardAt(22), "Q"); },
         "",
         "Q",
         {"None", "Q", "0", "3"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Case);
        row.Prepare();
        Boards->SetActiveBoard(row.Board);
        TPropertiesAnswer answer([](TBoardPropertiesForm& form) { form.CancelButton->click(); });

        Boards->EditProperties();

        EXPECT_EQ(1, answer.Requests);
        EXPECT_EQ(row.ShownName, answer.ShownName);
        EXPECT_EQ(row.ShownShortcut, answer.ShownShortcut);
        EXPECT_EQ(row.Shortcuts, answer.Shortcuts);
    }
}

TEST_F(BoardsTest, EnterInEitherBoxAcceptsThePropertiesAndEscapeCancels)
{
    struct Row
    {
        const char* Case;
        bool InShortcutBox;
        int Key;
        std::string NameAfter;
        std::string ShortcutAfter;
    };
    const Row rows[] = {
        {"Enter in the shortcut box", true, Qt::Key_Return, "Work", "None"},
        {"Enter in the name box", false, Qt::Key_Enter, "Work", "None"},
        {"Escape", true, Qt::Key_Escape, "Five", "5"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Case);
        Boards->SetActiveBoard(4);
        TPropertiesAnswer answer([&row](TBoardPropertiesForm& form) {
            form.NameComboBox->setEditText("Work");
            form.ShortcutComboBox->setCurrentIndex(0);
            QWidget& box = row.InShortcutBox ? static_cast<QWidget&>(*form.ShortcutComboBox)
                                             : static_cast<QWidget&>(*form.NameComboBox->lineEdit());
            PressKey(box, row.Key);
        });

        Boards->EditProperties();

        EXPECT_EQ(row.NameAfter, BoardAt(4).Name);
        EXPECT_EQ(row.ShortcutAfter, BoardAt(4).Shortcut);
        EXPECT_EQ(row.NameAfter, BoardAt(4).Button->GetCaption());
        EXPECT_THAT(WindowCaption(*Window), HasSubstr("\"" + row.NameAfter + "\""));
        Reopen();
    }
}

TEST_F(BoardsTest, TheNameBoxRemembersTheNamesGivenAndRefusesLongerNames)
{
    Boards->SetActiveBoard(4);
    for (const char* name : {"First", "Second", "First"}) {
        TPropertiesAnswer answer([name](TBoardPropertiesForm& form) {
            form.NameComboBox->setEditText(name);
            form.OkayButton->click();
        });
        Boards->EditProperties();
    }
    EXPECT_THAT(ComboItems(*BoardPropertiesForm->NameComboBox), ElementsAre("First", "Second"));

    // Sixteen two-byte letters are 32 bytes: the last one does not go in.
    QLineEdit& edit = *BoardPropertiesForm->NameComboBox->lineEdit();
    edit.clear();
    for (int i = 0; i < 16; ++i)
        edit.insert(QString::fromUtf8("\xC3\xA9"));
    EXPECT_EQ(15, edit.text().size());
}

} // namespace
