#include "panels/MyTPanel.h"

#include "panels/PanelDrag.h"

#include "core/forms/VirtualKeys.h"

#include "PanelTestSupport.h"

#include <QCursor>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct TKeySeen
{
    uint16_t Key;
    TShiftState Shift;
    bool operator==(const TKeySeen&) const = default;
};

// 100 items, one per row, 10 rows in view; the list has the focus and reports the keys
// that reach its owner.
class KeyedList : public testing::Test
{
protected:
    void SetUp() override
    {
        List.OnKeyDown = [this](MyTPanel*, uint16_t& key, TShiftState shift) { Seen.push_back({key, shift}); };
        List.setFocus();
    }

    TPanelWindow Window;
    MyTPanel& List = Window.AddList({0, 0, 200, 10 + 150}, 100);
    std::vector<TKeySeen> Seen;
};

TEST_F(KeyedList, APlainArrowActsOnceAtItsRelease)
{
    SendKey(List, QEvent::KeyPress, Qt::Key_Down);
    EXPECT_EQ(0, List.FocusIndex);
    for (int repeat = 0; repeat < 3; ++repeat) {
        SendKey(List, QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, true);
        SendKey(List, QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, true);
    }
    EXPECT_EQ(0, List.FocusIndex);
    SendKey(List, QEvent::KeyRelease, Qt::Key_Down);
    EXPECT_EQ(1, List.FocusIndex);
    EXPECT_EQ((std::vector<TKeySeen>{{0, 0}}), Seen) << "the list took the key";
}

TEST_F(KeyedList, ArrowsWithModifiersActAtThePress)
{
    List.SetFocusIndex(3);
    SendKey(List, QEvent::KeyPress, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(1, List.TopIndex);
    EXPECT_EQ(4, List.FocusIndex) << "the focused item keeps its place on the screen";
    SendKey(List, QEvent::KeyRelease, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(1, List.TopIndex);
    EXPECT_EQ(4, List.FocusIndex);

    Seen.clear();
    TapKey(List, Qt::Key_Left, Qt::AltModifier);
    TapKey(List, Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ((std::vector<TKeySeen>{{VK_LEFT, ShiftOf(ssAlt)}, {VK_LEFT, ShiftOf(ssCtrl)}}), Seen);
}

TEST_F(KeyedList, ListKeysWithOtherModifiersReachTheOwnerAsNoKey)
{
    List.SetFocusIndex(5);
    TapKey(List, Qt::Key_PageDown, Qt::ShiftModifier);
    EXPECT_EQ(5, List.FocusIndex);
    EXPECT_EQ(0, List.TopIndex);
    TapKey(List, Qt::Key_Shift);
    TapKey(List, Qt::Key_Return);
    EXPECT_EQ((std::vector<TKeySeen>{{0, ShiftOf(ssShift)}, {VK_RETURN, 0}}), Seen);
}

TEST_F(KeyedList, PagesAndEnds)
{
    struct Row
    {
        int Key;
        Qt::KeyboardModifiers Modifiers;
        int Top;
        int Focus;
    };
    // From top 0 and focus 2, one after the other.
    const Row rows[] = {
        {Qt::Key_PageDown, Qt::NoModifier, 10, 12},    {Qt::Key_PageDown, Qt::ControlModifier, 10, 19},
        {Qt::Key_PageUp, Qt::ControlModifier, 10, 10}, {Qt::Key_End, Qt::NoModifier, 90, 99},
        {Qt::Key_PageDown, Qt::NoModifier, 90, 99},    {Qt::Key_PageUp, Qt::NoModifier, 80, 89},
        {Qt::Key_Home, Qt::ControlModifier, 80, 80},   {Qt::Key_End, Qt::ControlModifier, 80, 89},
        {Qt::Key_Home, Qt::NoModifier, 0, 0},          {Qt::Key_PageUp, Qt::NoModifier, 0, 0},
        {Qt::Key_Up, Qt::ControlModifier, 0, 0},
    };
    List.SetFocusIndex(2);
    for (const Row& row : rows) {
        TapKey(List, row.Key, row.Modifiers);
        EXPECT_EQ(row.Top, List.TopIndex) << row.Key;
        EXPECT_EQ(row.Focus, List.FocusIndex) << row.Key;
    }
}

TEST(MyTPanelKeys, TheNumericPadMovesWithinRowsAndScrollsAtTheLastRow)
{
    TPanelWindow window;
    MyTPanel& list = window.AddList({0, 0, 310, 10 + 30}, 10, 15, 3);
    list.setFocus();
    const auto pad = [&list](int key) { TapKey(list, key, Qt::KeypadModifier); };
    list.SetFocusIndex(2);
    pad(Qt::Key_6);
    EXPECT_EQ(2, list.FocusIndex) << "the row's last item";
    pad(Qt::Key_4);
    pad(Qt::Key_4);
    pad(Qt::Key_4);
    EXPECT_EQ(0, list.FocusIndex) << "the row's first item";
    pad(Qt::Key_2);
    EXPECT_EQ(3, list.FocusIndex);
    pad(Qt::Key_2);
    pad(Qt::Key_2);
    EXPECT_EQ(9, list.FocusIndex);
    EXPECT_EQ(6, list.TopIndex);
    list.SetTopIndex(3);
    list.SetFocusIndex(7);
    pad(Qt::Key_2);
    EXPECT_EQ(7, list.FocusIndex) << "no item below: the list scrolls instead";
    EXPECT_EQ(6, list.TopIndex);
    pad(Qt::Key_8);
    EXPECT_EQ(4, list.FocusIndex);
}

TEST(MyTPanelWheel, TheWheelScrollsTheListUnderTheMouseAndGivesItTheFocus)
{
    TPanelWindow window;
    MyTPanel& focused = window.AddList({0, 0, 150, 10 + 150}, 50);
    MyTPanel& other = window.AddList({200, 0, 150, 10 + 150}, 50);
    focused.setFocus();
    ASSERT_TRUE(focused.hasFocus());
    Wheel(other, {50, 50}, 1);
    EXPECT_EQ(1, other.TopIndex);
    EXPECT_EQ(1, other.FocusIndex) << "the focus follows the top";
    EXPECT_TRUE(other.hasFocus());
    EXPECT_EQ(0, focused.TopIndex);

    other.SetFocusIndex(10);
    Wheel(other, {50, 50}, -1);
    EXPECT_EQ(0, other.TopIndex);
    EXPECT_EQ(9, other.FocusIndex) << "the focus stays in view";
}

TEST(MyTPanelWheel, TheWheelIsNotHandledDuringAThumbDrag)
{
    TPanelWindow window;
    MyTPanel& list = window.AddList({0, 0, 150, 10 + 150}, 50);
    list.setFocus();
    Press(*list.ScrollBar, {5, 5});
    Wheel(list, {50, 50}, 1);
    EXPECT_EQ(0, list.TopIndex);
    Release(*list.ScrollBar, {5, 5});
    Wheel(list, {50, 50}, 1);
    EXPECT_EQ(1, list.TopIndex);
}

TEST(MyTPanelMouse, APressFocusesTheItemAndTheListAndReportsInsideTheBorder)
{
    TPanelWindow window;
    MyTPanel& list = window.AddList({0, 0, 150, 10 + 150}, 50);
    std::vector<QPoint> pressed;
    list.OnMouseDown = [&pressed](MyTPanel*, TMouseButton, TShiftState, int x, int y) { pressed.push_back({x, y}); };
    MyTPanel& header = window.AddPanel({0, 170, 150, 20});
    header.FocusTarget = &list;
    Press(header, {10, 10});
    Release(header, {10, 10});
    EXPECT_TRUE(list.hasFocus());

    Press(list, {5 + 10, 5 + 3 * 15 + 2}, Qt::RightButton);
    EXPECT_EQ(3, list.FocusIndex);
    EXPECT_EQ(std::vector<QPoint>{QPoint(10, 47)}, pressed);
}

TEST(MyTPanelMouse, OnlyButtonColouredPanelsLookPressed)
{
    TPanelWindow window;
    MyTPanel& button = window.AddPanel({0, 0, 80, 20});
    button.FaceColorSet = 0;
    MyTPanel& list = window.AddList({0, 30, 150, 10 + 150}, 5);
    Press(list, {20, 20});
    EXPECT_FALSE(list.Pressed);
    Press(button, {10, 10});
    EXPECT_TRUE(button.Pressed);
    EXPECT_EQ(&button, GMyPanelGlobal.PressedPanel);
}

TEST(MyTPanelMouse, ALevelBarReportsWhereItWasPressed)
{
    TPanelWindow window;
    MyTPanel& bar = window.AddPanel({0, 0, 20, 10 + 11});
    bar.SetKind(mpkLevelBar);
    std::vector<double> levels;
    bar.OnLevelClick = [&levels](double level) { levels.push_back(level); };
    for (const int y : {5, 10, 15, 4, 16})
        Press(bar, {10, y});
    EXPECT_EQ((std::vector<double>{0, 0.5, 1}), levels);

    levels.clear();
    bar.SetBounds(0, 0, 20, 10 + 1);
    Press(bar, {10, 5});
    EXPECT_EQ(std::vector<double>{0}, levels);
}

// A vertical splitter whose owner allows only half of each move.
class HalvingSplitter : public testing::Test
{
protected:
    void SetUp() override
    {
        Splitter.SetKind(mpkSplitter);
        Splitter.OnSplitterMoving = [](MyTPanel*, int& distance) { distance /= 2; };
        Splitter.OnSplitterMoved = [this](MyTPanel*, int distance) { Moved.push_back(distance); };
        Splitter.OnMouseDown = [this](MyTPanel*, TMouseButton button, TShiftState, int, int) {
            Downs.push_back(button);
        };
    }

    TPanelWindow Window;
    MyTPanel& Splitter = Window.AddPanel({100, 0, 14, 200});
    std::vector<int> Moved;
    std::vector<TMouseButton> Downs;
};

TEST_F(HalvingSplitter, TheCursorStaysWhereTheOwnerPutTheBar)
{
    const QPoint start(7, 50);
    Press(Splitter, start);
    const QPoint screenStart = Splitter.mapToGlobal(start);
    QCursor::setPos(screenStart + QPoint(20, 0));
    MoveHolding(Splitter, start + QPoint(20, 0));
    EXPECT_EQ(screenStart + QPoint(10, 0), QCursor::pos());

    Release(Splitter, start + QPoint(10, 0));
    EXPECT_EQ(std::vector<int>{5}, Moved);
    EXPECT_TRUE(Downs.empty()) << "a left press is the splitter's own";
}

TEST_F(HalvingSplitter, AReleaseWhereThePressWasMovesNothing)
{
    Press(Splitter, {7, 50});
    Release(Splitter, {7, 80});
    Press(Splitter, {7, 50}, Qt::RightButton);
    Release(Splitter, {30, 50}, Qt::RightButton);
    EXPECT_TRUE(Moved.empty());
    EXPECT_EQ(std::vector<TMouseButton>{mbRight}, Downs);
}

TEST(MyTPanelThumb, TheListFollowsTheThumbInProportionToTheFreeTrack)
{
    TPanelWindow window;
    ProgramOptions.ScrollbarSensitivity = 10;
    MyTPanel& list = window.AddList({0, 0, 200, 10 + 200}, 13, 20);
    ASSERT_EQ(170, list.GetThumbHeight());
    std::vector<int> tops;
    std::vector<bool> scrolls;
    list.OnTopChanged = [&tops](int top) { tops.push_back(top); };
    list.OnScroll = [&scrolls](bool moved) { scrolls.push_back(moved); };

    MyTPanel& bar = *list.ScrollBar;
    Press(bar, {10, 100});
    MoveHolding(bar, {10, 120});
    EXPECT_EQ(2, list.TopIndex) << "3 hidden rows over 30 free pixels";
    EXPECT_TRUE(tops.empty());
    MoveHolding(bar, {10, 500});
    EXPECT_EQ(3, list.TopIndex);
    Release(bar, {10, 500});
    EXPECT_EQ(std::vector<int>{3}, tops);
    EXPECT_EQ(std::vector<bool>{true}, scrolls);
    EXPECT_EQ(3, list.FocusIndex) << "the focus is kept in view";

    Press(bar, {10, 100});
    Release(bar, {10, 100});
    EXPECT_EQ(std::vector<int>{3}, tops) << "no scroll, no report";
}

TEST(MyTPanelThumb, AMillionItemsScrollToTheirEnd)
{
    TPanelWindow window;
    MyTPanel& list = window.AddList({0, 0, 200, 10 + 4000}, 0, 20);
    TPanelItems items;
    for (int i = 0; i < 1000000; ++i)
        items.push_back(std::make_unique<TTextItem>());
    list.AppendItems(std::move(items));
    MyTPanel& bar = *list.ScrollBar;
    const int free = list.GetTrackHeight() - list.GetThumbHeight();
    Press(bar, {10, 5});
    MoveHolding(bar, {10, 5 + free / 2});
    EXPECT_NEAR(500000 - 100, list.TopIndex, 1000000 / free);
    MoveHolding(bar, {10, 5 + free});
    Release(bar, {10, 5 + free});
    EXPECT_EQ(1000000 - 200, list.TopIndex);
}

// The list's owner begins a drag at each press; another list accepts it.
TEST(MyTPanelDrag, APressDragsToThePanelWhereTheButtonIsReleased)
{
    TPanelWindow window;
    MyTPanel& source = window.AddList({0, 0, 150, 10 + 150}, 10);
    MyTPanel& target = window.AddList({200, 0, 150, 10 + 150}, 10);
    source.OnMouseDown = [](MyTPanel* sender, TMouseButton, TShiftState, int, int) { sender->BeginDrag(); };
    std::vector<std::string> heard;
    target.OnDragOver = [&heard](MyTPanel*, QObject* dragged, int, int, TDragState state, bool& accept) {
        heard.push_back("over " + std::to_string(state) + (dragged != nullptr ? " source" : ""));
        accept = true;
    };
    target.OnDragDrop = [&heard](MyTPanel*, QObject*, int x, int y) {
        heard.push_back("drop " + std::to_string(x) + "," + std::to_string(y));
    };
    source.OnEndDrag = [&heard, &target](MyTPanel*, QObject* dropTarget, int, int) {
        heard.push_back(dropTarget == &target ? "end on target" : "end elsewhere");
    };
    bool released = false;
    source.OnMouseUp = [&released](MyTPanel*, TMouseButton, TShiftState, int, int) { released = true; };

    const QPoint press(20, 20);
    QCursor::setPos(source.mapToGlobal(press));
    Press(source, press, Qt::RightButton);
    ASSERT_TRUE(PanelDrag.IsActive());
    const QPoint overTarget = source.mapFromGlobal(target.mapToGlobal(QPoint(30, 40)));
    MoveHolding(source, overTarget, Qt::RightButton);
    MoveHolding(source, overTarget + QPoint(1, 0), Qt::RightButton);
    Release(source, overTarget + QPoint(1, 0), Qt::RightButton);
    EXPECT_FALSE(PanelDrag.IsActive());
    EXPECT_FALSE(released) << "the release ended the drag";
    EXPECT_EQ((std::vector<std::string>{"over 0 source", "over 2 source", "over 1 source", "drop 26,35",
                                        "end on target"}),
              heard);
}

TEST(MyTPanelDrag, EscapeCancelsADrag)
{
    TPanelWindow window;
    MyTPanel& source = window.AddList({0, 0, 150, 10 + 150}, 10);
    source.setFocus();
    QObject* ended = &source;
    source.OnEndDrag = [&ended](MyTPanel*, QObject* target, int, int) { ended = target; };
    source.BeginDrag();
    TapKey(source, Qt::Key_Escape);
    EXPECT_FALSE(PanelDrag.IsActive());
    EXPECT_EQ(nullptr, ended);
}

} // namespace
