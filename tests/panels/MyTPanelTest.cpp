#include "panels/MyTPanel.h"

#include "panels/MyPanelOptions.h"

#include "core/errors/Error.h"
#include "core/text/StringList.h"

#include "PanelTestSupport.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// An owner's own item kind, counting the items alive.
class TCountedItem : public TPanelItem
{
public:
    explicit TCountedItem(int& alive) : Alive(alive) { ++Alive; }
    ~TCountedItem() override { --Alive; }
    int& Alive;
};

std::vector<std::string> TextsOf(const MyTPanel& list)
{
    std::vector<std::string> texts;
    for (int i = 0; i < list.GetRawCount(); ++i)
        texts.push_back(TextOf(list, i));
    return texts;
}

TEST(MyTPanelItems, AListAlwaysHoldsAtLeastItsPlaceholder)
{
    TPanelWindow window;
    MyTPanel& list = window.AddList({0, 0, 200, 100}, 0);
    EXPECT_TRUE(list.Empty);
    EXPECT_EQ(1, list.GetRawCount());
    EXPECT_EQ(0, list.GetCount());

    EXPECT_EQ(-1, list.AddTextItem(""));
    EXPECT_TRUE(list.Empty);
    EXPECT_EQ(0, list.AddTextItem("a"));
    list.ResetItems();
    EXPECT_FALSE(list.Empty);
    EXPECT_EQ(std::vector<std::string>{"a"}, TextsOf(list));

    list.ClearItems();
    EXPECT_TRUE(list.Empty);
    EXPECT_EQ(std::vector<std::string>{""}, TextsOf(list));
}

TEST(MyTPanelItems, TheListDestroysEveryItemItHolds)
{
    int alive = 0;
    {
        TPanelWindow window;
        auto* list = new MyTPanel(&window.Window);
        list->OnNewItem = [&alive] { return std::make_unique<TCountedItem>(alive); };
        list->OnIsEmptyItem = [](const TPanelItem&) { return false; };
        list->OnCopyItem = [](const TPanelItem&, TPanelItem&) {};
        list->SetKind(mpkList);
        TPanelItems items;
        for (int i = 0; i < 3; ++i)
            items.push_back(std::make_unique<TCountedItem>(alive));
        list->AppendItems(std::move(items));
        EXPECT_EQ(3, alive) << "the placeholder went";
        list->ClearItems();
        EXPECT_EQ(1, alive) << "a new placeholder";
        list->AddItem(std::make_unique<TCountedItem>(alive));
        EXPECT_EQ(1, alive) << "the placeholder went";
        list->AddItem(std::make_unique<TCountedItem>(alive));
        EXPECT_EQ(2, alive);
    }
    EXPECT_EQ(0, alive);
}

TEST(MyTPanelItems, CopyItemsFromCopiesAnotherListAndLeavesItselfAlone)
{
    TPanelWindow window;
    MyTPanel& source = window.AddList({0, 0, 200, 100}, 3);
    MyTPanel& copy = window.AddList({0, 100, 200, 100}, 1);
    copy.CopyItemsFrom(source);
    EXPECT_EQ((std::vector<std::string>{"0", "1", "2"}), TextsOf(copy));

    source.CopyItemsFrom(source);
    EXPECT_EQ((std::vector<std::string>{"0", "1", "2"}), TextsOf(source));

    MyTPanel& empty = window.AddList({200, 0, 100, 100}, 0);
    copy.CopyItemsFrom(empty);
    EXPECT_TRUE(copy.Empty);
    EXPECT_EQ(1, copy.GetRawCount());
}

TEST(MyTPanelItems, TextItemsAreFoundIgnoringCaseAndShuffledInPlace)
{
    TPanelWindow window;
    MyTPanel& list = window.AddList({0, 0, 200, 100}, 0);
    EXPECT_EQ(-1, list.IndexOfTextItem(""));
    list.ShuffleItems(3);
    EXPECT_EQ(1, list.GetRawCount());

    for (const char* text : {"Alpha", "beta", "Gamma", "delta"})
        list.AddTextItem(text);
    list.ResetItems();
    EXPECT_EQ(1, list.IndexOfTextItem("BETA"));
    EXPECT_EQ(-1, list.IndexOfTextItem("bet"));

    list.ShuffleItems(5);
    std::vector<std::string> texts = TextsOf(list);
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ((std::vector<std::string>{"Alpha", "Gamma", "beta", "delta"}), texts);
}

TEST(MyTPanelItems, TextItemsLoadFromAFileOfAnyLineEnds)
{
    TTempDrive drive;
    drive.WriteFile("list.txt", "one\r\ntwo\n\nthree\rfour\r\n");
    TPanelWindow window;
    MyTPanel& list = window.AddList({0, 0, 200, 100}, 2);
    list.LoadTextItemsFromFile(drive.Path("list.txt"), 1000);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ((std::vector<std::string>{"one", "two", "three", "four"}), TextsOf(list));

    list.LoadTextItemsFromFile(drive.Path("missing.txt"), 1000);
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("MyTPanel::LoadTextItemsFromFile", FunStatContext.RaiseFunction);
    EXPECT_TRUE(list.Empty);
    EXPECT_EQ(1, list.GetRawCount());
}

// A file of exactly the bound loads; one byte more is refused and leaves the list empty.
TEST(MyTPanelItems, ATextItemsFileAboveItsBoundIsRefused)
{
    TTempDrive drive;
    drive.WriteFile("list.txt", "one\r\ntwo\r\n");
    TPanelWindow window;
    MyTPanel& list = window.AddList({0, 0, 200, 100}, 2);
    list.LoadTextItemsFromFile(drive.Path("list.txt"), 10);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ((std::vector<std::string>{"one", "two"}), TextsOf(list));

    list.LoadTextItemsFromFile(drive.Path("list.txt"), 9);
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("File size is too big (over 9 bytes).", FunStatContext.Description);
    EXPECT_EQ(drive.Path("list.txt"), FunStatContext.Parameter1);
    EXPECT_TRUE(list.Empty);
    EXPECT_EQ(1, list.GetRawCount());
}

// 10 items in rows of 3 and two rows in view: 4 rows, a page of 6.
class TenItemsInThreeColumns : public testing::Test
{
protected:
    TPanelWindow Window;
    MyTPanel& List = Window.AddList({0, 0, 310, 2 * 15 + 10}, 10, 15, 3);
};

TEST_F(TenItemsInThreeColumns, TheTopIndexStartsARowThatKeepsThePageFull)
{
    ASSERT_EQ(2, List.GetRowsInView());
    struct Row
    {
        int Requested;
        int Top;
    };
    for (const Row& row : {Row{5, 3}, Row{9, 6}, Row{-1, 0}, Row{4, 3}, Row{100, 6}}) {
        List.SetTopIndex(row.Requested);
        EXPECT_EQ(row.Top, List.TopIndex) << row.Requested;
    }
    List.SetBounds(0, 0, 310, 4 * 15 + 10);
    for (const int requested : {3, 6, 9}) {
        List.SetTopIndex(requested);
        EXPECT_EQ(0, List.TopIndex) << "all rows fit; " << requested;
    }
    EXPECT_TRUE(List.ScrollBar->isHidden());
}

TEST_F(TenItemsInThreeColumns, ItemsAreFoundAtPointsOfTheItemArea)
{
    List.SetTopIndex(6);
    const int cw = List.GetItemsWidth(true) / 3;
    ASSERT_EQ(310 - 10 - TPanelWindow::LineHeight, List.GetItemsWidth(true)) << "the scroll bar takes a line";
    struct Row
    {
        QPoint Point;
        int Index;
    };
    for (const Row& row :
         {Row{{0, 0}, 6}, Row{{cw - 1, 14}, 6}, Row{{cw, 0}, 7}, Row{{2 * cw, 0}, 8}, Row{{0, 15}, 9},
          Row{{cw, 15}, -1}, Row{{3 * cw, 0}, -1}, Row{{0, 30}, -1}, Row{{-1, 0}, -1}, Row{{0, -1}, -1}})
        EXPECT_EQ(row.Index, List.GetItemAt(row.Point.x(), row.Point.y())) << row.Point.x() << ", " << row.Point.y();
}

TEST_F(TenItemsInThreeColumns, ItemRectanglesFollowTheTopIndex)
{
    List.SetTopIndex(3);
    const int cw = List.GetItemsWidth(true) / 3;
    EXPECT_EQ(QRect(5 + cw, 5 + 15, cw, 15), List.GetItemRect(7));
    EXPECT_EQ(QRect(cw, 15, cw, 15), List.GetItemAreaRect(7));
    EXPECT_EQ(QRect(5, 5 - 15, cw, 15), List.GetItemRect(0)) << "above the top";
    for (const int outside : {-1, 10, 11})
        EXPECT_EQ(QRect(-1, -1, 0, 0), List.GetItemRect(outside)) << outside;
}

TEST_F(TenItemsInThreeColumns, FocusIsClampedAndScrolledIntoView)
{
    std::vector<int> changes;
    List.OnFocusChanged = [&changes](int old) { changes.push_back(old); };

    List.SetFocusIndex(0);
    EXPECT_EQ(std::vector<int>{0}, changes) << "the same index is still reported";

    List.SetFocusIndex(-5);
    EXPECT_EQ(0, List.FocusIndex);
    List.SetFocusIndex(13);
    EXPECT_EQ(9, List.FocusIndex);
    EXPECT_EQ(6, List.TopIndex) << "the focused item stands on the last row";
    List.SetFocusIndex(1);
    EXPECT_EQ(0, List.TopIndex);
    EXPECT_EQ((std::vector<int>{0, 0, 0, 9}), changes);
}

TEST_F(TenItemsInThreeColumns, FocusWithOffsetRestoresTheDistanceFromTheTop)
{
    List.SetFocusWithOffset(4, 3, false);
    EXPECT_EQ(4, List.FocusIndex);
    EXPECT_EQ(0, List.TopIndex) << "already visible: only the focus moves";

    List.SetFocusWithOffset(8, 3, true);
    EXPECT_EQ(8, List.FocusIndex);
    EXPECT_EQ(3, List.TopIndex);

    List.SetFocusWithOffset(9, 20, true);
    EXPECT_EQ(9, List.FocusIndex);
    EXPECT_EQ(6, List.TopIndex) << "an offset beyond the page puts the item on the last row";

    List.SetFocusWithOffset(2, -1, true);
    EXPECT_EQ(0, List.TopIndex);
}

TEST(MyTPanelGeometry, SubcolumnsBelowOneAreOne)
{
    TPanelWindow window;
    MyTPanel& list = window.AddList({0, 0, 200, 100}, 5, 15, 2);
    for (const int count : {0, -3}) {
        list.SetSubcolumns(count);
        EXPECT_EQ(1, list.Subcolumns) << count;
    }
}

TEST(MyTPanelGeometry, ItemHeightZeroFillsThePageWithWholeLines)
{
    TPanelWindow window;
    MyTPanel& list = window.AddList({0, 0, 200, 10 + 3 * TPanelWindow::LineHeight + 7}, 5, 0);
    EXPECT_EQ(3 * TPanelWindow::LineHeight, list.GetItemHeight());
    EXPECT_EQ(1, list.GetRowsInView());
    list.SetBounds(0, 0, 200, 10 + TPanelWindow::LineHeight - 1);
    EXPECT_EQ(0, list.GetItemHeight());
    EXPECT_EQ(-1, list.GetItemAt(0, 0));
    list.SetFocusIndex(3);
    EXPECT_EQ(3, list.FocusIndex);
}

// The thumb shrinks by the sensitivity for each hidden row, never below a text line.
// The font and its height are kept between calls: a change of the options must still
// reach them, and going back must give the first height again.
TEST(MyTPanelGeometry, TheTextFontAndLineHeightFollowTheOptions)
{
    TPanelWindow window;
    MyTPanel& list = window.AddList({0, 0, 200, 100}, 3);
    MyTPanel& caption = window.AddPanel({0, 120, 200, 20});
    const std::string firstName = ProgramOptions.ItemsFontName;
    ASSERT_EQ(TPanelWindow::LineHeight, list.GetLineHeight());

    ProgramOptions.ItemsFontSize = 20;
    EXPECT_EQ(20, list.GetTextFont().pointSize());
    EXPECT_GT(list.GetLineHeight(), TPanelWindow::LineHeight);
    EXPECT_EQ(10, caption.GetTextFont().pointSize()) << "a panel writes in the caption font";

    ProgramOptions.ItemsFontName = "Another Family";
    EXPECT_EQ(QString("Another Family"), list.GetTextFont().family());

    ProgramOptions.ItemsFontName = firstName;
    ProgramOptions.ItemsFontSize = 10;
    EXPECT_EQ(QString::fromStdString(firstName), list.GetTextFont().family());
    EXPECT_EQ(TPanelWindow::LineHeight, list.GetLineHeight());
}

TEST(MyTPanelScrollBar, ThumbHeightShowsHowManyRowsAreHidden)
{
    TPanelWindow window;
    ProgramOptions.ScrollbarSensitivity = 10;
    MyTPanel& list = window.AddList({0, 0, 200, 10 + 200}, 13, 20);
    ASSERT_FALSE(list.ScrollBar->isHidden());
    ASSERT_EQ(200, list.GetTrackHeight());
    EXPECT_EQ(170, list.GetThumbHeight()) << "3 hidden rows: 18 steps, 185 x 3 div 18 = 30";

    list.ClearItems();
    for (int i = 0; i < 1000; ++i)
        list.AddTextItem("x");
    list.ResetItems();
    EXPECT_EQ(15, list.GetThumbHeight()) << "one text line";
}

TEST(MyTPanelScrollBar, TheThumbStaysInsideItsTrack)
{
    TPanelWindow window;
    MyTPanel& list = window.AddList({0, 0, 200, 10 + 3 * 4}, 50, 4);
    ASSERT_EQ(12, list.GetTrackHeight()) << "shorter than a text line";
    const int thumb = list.GetThumbHeight();
    EXPECT_LE(thumb, list.GetTrackHeight());
    list.SetTopIndex(47);
    EXPECT_LE(list.GetThumbTop(-1) + thumb, list.GetTrackHeight());
}

TEST(MyTPanelScrollBar, MillionsOfItemsScrollToTheEndOfTheTrack)
{
    TPanelWindow window;
    MyTPanel& list = window.AddList({0, 0, 200, 10 + 4000}, 0, 20);
    TPanelItems items;
    for (int i = 0; i < 1000000; ++i)
        items.push_back(std::make_unique<TTextItem>());
    static_cast<TTextItem&>(*items.front()).Text = "first";
    list.AppendItems(std::move(items));
    const int track = list.GetTrackHeight();
    const int thumb = list.GetThumbHeight();
    ASSERT_EQ(4000, track);
    list.SetFocusIndex(999999);
    EXPECT_EQ(999999 - 199, list.TopIndex);
    EXPECT_EQ(track - thumb, list.GetThumbTop(thumb));
    list.SetTopIndex(500000);
    EXPECT_NEAR((track - thumb) / 2.0, list.GetThumbTop(thumb), 1);
}

TEST(MyTPanelScrollBar, AllRowsFitting)
{
    TPanelWindow window;
    MyTPanel& list = window.AddList({0, 0, 200, 10 + 150}, 12, 15);
    list.SetFocusIndex(11);
    EXPECT_FALSE(list.ScrollBar->isHidden());
    EXPECT_EQ(2, list.TopIndex);
    list.SetBounds(0, 0, 200, 10 + 180);
    EXPECT_TRUE(list.ScrollBar->isHidden());
    EXPECT_EQ(0, list.TopIndex);
    EXPECT_EQ(190, list.GetItemsWidth(true));
}

TEST(MyTPanelPlacement, PanelsArePlacedInsideTheirParentsBorder)
{
    TPanelWindow window;
    MyTPanel& outer = window.AddPanel({10, 10, 300, 200});
    outer.SetBorder(4);
    auto* first = new MyTPanel(&outer);
    first->SetBounds(0, 0, 50, 20);
    EXPECT_EQ(QRect(4, 4, 50, 20), first->geometry());
    auto* right = new MyTPanel(&outer);
    right->PlaceRightOf(*first, 3, 40, 10);
    EXPECT_EQ(QRect(4 + 53, 4, 40, 10), right->geometry());
    auto* below = new MyTPanel(&outer);
    below->PlaceBelow(*first, 2, 40, 10);
    EXPECT_EQ(QRect(4, 4 + 22, 40, 10), below->geometry());

    outer.SetBorder(-1);
    EXPECT_EQ(5, outer.Border);
    outer.InnerMargin = 3;
    outer.SetBorder(2);
    EXPECT_EQ(2, outer.InnerMargin);
}

TEST(MyTPanelLifetime, ADestroyedPanelIsNeitherHotNorPressed)
{
    TPanelWindow window;
    auto* panel = new MyTPanel(&window.Window);
    panel->FaceColorSet = 0;
    panel->SetPressed(true);
    GMyPanelGlobal.HotPanel = panel;
    ASSERT_EQ(panel, GMyPanelGlobal.PressedPanel);
    delete panel;
    EXPECT_EQ(nullptr, GMyPanelGlobal.HotPanel);
    EXPECT_EQ(nullptr, GMyPanelGlobal.PressedPanel);
    GMyPanelGlobal.TimerTick();
}

} // namespace
