#include "BoardTestWindow.h"

#include "columns/ContainerDialog.h"

#include "core/forms/InputQuery.h"
#include "core/forms/InputState.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/VirtualKeys.h"

#include "support/FakeMediaDevice.h"
#include "support/MenuActions.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

namespace {

// The checked items of a radio submenu, by caption.
std::vector<std::string> CheckedCaptions(const QAction& holder)
{
    std::vector<std::string> checked;
    for (const QAction* item : holder.menu()->actions())
        if (item->isChecked())
            checked.push_back(item->text().toStdString());
    return checked;
}

// A window over drive T: whose folder d holds a.txt, b.txt and c.txt, and whose first two
// columns list it.
class ColumnAttributes : public testing::Test
{
protected:
    ColumnAttributes()
    {
        for (const char* file : {"d/a.txt", "d/b.txt", "d/c.txt"})
            Drive.WriteFile(file, file);
        Window.Open();
        for (int32_t slot : {1, 0})
            Open(slot, Drive.Path("d\\a.txt"));
    }
    ~ColumnAttributes() override { Window.Discard(); }

    TColumn& Open(int32_t slot, const std::string& title)
    {
        TColumn& column = ColumnAt(*Window, slot);
        column.LoadDirectory({.ContainerIndex = -1, .Title = title});
        Window->FocusColumn(slot, true);
        return column;
    }

    QAction& Item(const std::string& name) const
    {
        auto* item = Window->findChild<QAction*>(QString::fromStdString(name));
        EXPECT_NE(nullptr, item) << name;
        return *item;
    }

    // The File menu opened by a press with the shift state; `choose` acts on it.
    void ShowMenu(TShiftState shift, const std::function<void(QMenu&)>& choose = {})
    {
        Window->Press.DragShiftState = shift;
        TModalScript script;
        script.Expect("File", 0, [&](const TModalRequest& request) {
            if (choose)
                choose(*request.Menu);
        });
        Window->ShowFileMenu(10, 20, shift);
    }

    static constexpr uint16_t F10 = VK_F1 + 9;

    void Key(TColumn& column, uint16_t key, TShiftState shift) { column.FileListKeyDown(column.FileList, key, shift); }

    TFakeMediaDevices Media;
    TTempDrive Drive{'T'};
    TBoardTestWindow Window;
};

TEST_F(ColumnAttributes, TheF10KeysToggleFixedThumbnailsAndPathsInContainer)
{
    TColumn& column = ColumnAt(*Window, 0);
    Key(column, F10, 0);
    Key(column, F10, ShiftOf(ssCtrl));
    EXPECT_TRUE(column.FixedAttr);
    EXPECT_TRUE(column.HeaderButton->Down);
    EXPECT_TRUE(column.ThumbAttr);
    Key(column, F10, ShiftOf(ssShift));
    EXPECT_FALSE(column.ShowPathsInContainer) << "a folder column has no paths to show";

    column.ReloadContainer(2);
    Key(column, F10, ShiftOf(ssShift));
    EXPECT_TRUE(column.ShowPathsInContainer);
    Key(column, F10, 0);
    Key(column, F10, ShiftOf(ssCtrl));
    Key(column, F10, ShiftOf(ssShift));
    EXPECT_FALSE(column.FixedAttr);
    EXPECT_FALSE(column.ThumbAttr);
    EXPECT_FALSE(column.ShowPathsInContainer);
}

struct TCheckRow
{
    const char* Case;
    int32_t Width;
    int32_t Subcolumns;
    int32_t ThumbHeight;
    std::string SortMode;
    // The checked captions of each submenu.
    std::vector<std::string> CheckedWidth;
    std::vector<std::string> CheckedSubcolumns;
    std::vector<std::string> CheckedThumbHeight;
    std::vector<std::string> CheckedSort;
};

TEST_F(ColumnAttributes, TheRadioChecksFollowTheActiveColumn)
{
    TColumn& column = ColumnAt(*Window, 0);
    const TCheckRow rows[] = {
        {"the defaults", 1, 1, 3, "Name", {"1"}, {"1"}, {"3"}, {"Name"}},
        {"others", 10, 4, 30, "Size, big-small", {"10"}, {"4"}, {"30"}, {"Size, big-small"}},
        {"a fill height", 2, 2, 0, "Created, old-new", {"2"}, {"2"}, {"Fill"}, {"Created, old-new"}},
        {"values no item bears", 2, 2, 27, "Unknown", {"2"}, {"2"}, {}, {}},
    };
    for (const TCheckRow& row : rows) {
        SCOPED_TRACE(row.Case);
        column.WidthAttr = row.Width;
        column.Subcolumns = row.Subcolumns;
        column.ThumbHeight = row.ThumbHeight;
        column.SortMode = row.SortMode;
        ShowMenu(0);
        EXPECT_EQ(row.CheckedWidth, CheckedCaptions(Item("WidthAttrMenu")));
        EXPECT_EQ(row.CheckedSubcolumns, CheckedCaptions(Item("SubcolumnsAttrMenu")));
        EXPECT_EQ(row.CheckedThumbHeight, CheckedCaptions(Item("ThumbHeightMenu")));
        EXPECT_EQ(row.CheckedSort, CheckedCaptions(Item("SortModeMenu")));
    }
    column.FixedAttr = true;
    column.ThumbAttr = false;
    ShowMenu(0);
    EXPECT_TRUE(Item("FixedAttrMenu").isChecked());
    EXPECT_FALSE(Item("ThumbAttrMenu").isChecked());
}

TEST_F(ColumnAttributes, AClickedRadioItemSetsTheActiveColumn)
{
    TColumn& column = ColumnAt(*Window, 0);
    ShowMenu(0, [](QMenu& menu) { FindMenuAction(menu, "WidthAttrMenu_4")->trigger(); });
    ShowMenu(0, [](QMenu& menu) { FindMenuAction(menu, "SubcolumnsAttrMenu_3")->trigger(); });
    ShowMenu(0, [](QMenu& menu) { FindMenuAction(menu, "SortModeMenu_Size, small-big")->trigger(); });
    EXPECT_EQ(4, column.WidthAttr);
    EXPECT_EQ(3, column.Subcolumns);
    EXPECT_EQ("Size, small-big", column.SortMode);
    EXPECT_EQ(1, ColumnAt(*Window, 1).WidthAttr);
    ShowMenu(0);
    EXPECT_EQ(std::vector<std::string>{"4"}, CheckedCaptions(Item("WidthAttrMenu")));
}

TEST_F(ColumnAttributes, SortIsDisabledInAContainer)
{
    ShowMenu(0);
    EXPECT_TRUE(Item("SortModeMenu").isEnabled());
    EXPECT_FALSE(Item("RenameContainerMenu").isEnabled());
    ColumnAt(*Window, 0).ReloadContainer(3);
    ShowMenu(0);
    EXPECT_FALSE(Item("SortModeMenu").isEnabled());
    EXPECT_TRUE(Item("RenameContainerMenu").isEnabled());
}

struct TThumbRow
{
    const char* Case;
    TShiftState Shift;
    const char* Title;
    int32_t OtherHeight;
};

// The title follows Ctrl in the press; all columns only for Ctrl alone.
TEST_F(ColumnAttributes, ThumbnailHeightSetsEveryColumnOfTheBoardOnlyForCtrlAlone)
{
    const TThumbRow rows[] = {
        {"no key", 0, "This", 3},
        {"Ctrl", ShiftOf(ssCtrl), "All", 5},
        {"Ctrl and Shift", ShiftOf(ssCtrl) | ShiftOf(ssShift), "All", 3},
    };
    for (const TThumbRow& row : rows) {
        SCOPED_TRACE(row.Case);
        for (int32_t slot : {0, 1})
            ColumnAt(*Window, slot).ThumbHeight = 3;
        std::string title;
        ShowMenu(row.Shift, [&](QMenu& menu) {
            title = FindMenuAction(menu, "ThumbHeightTitleMenu")->text().toStdString();
            FindMenuAction(menu, "ThumbHeightMenu_5")->trigger();
        });
        EXPECT_EQ(row.Title, title);
        EXPECT_EQ(5, ColumnAt(*Window, 0).ThumbHeight);
        EXPECT_TRUE(ColumnAt(*Window, 0).ThumbAttr);
        EXPECT_EQ(row.OtherHeight, ColumnAt(*Window, 1).ThumbHeight);
    }
    EXPECT_EQ("Set the thumb height for all columns of this board",
              Item("ThumbHeightTitleMenu").statusTip().toStdString());
}

// ---- Rename container ----

class RenameContainer : public ColumnAttributes
{
protected:
    TContainer& ShowContainer(int32_t index)
    {
        ColumnAt(*Window, 0).ReloadContainer(index);
        Window->FocusColumn(0, true);
        return *Window->FindContainer(index);
    }

    // Answers the dialog with the text, or cancels it.
    void Rename(const QString& text, int answer = mrOkay)
    {
        TModalScript script;
        script.Expect("Rename container", answer, [&](const TModalRequest& request) {
            auto& form = dynamic_cast<TInputQueryForm&>(*request.Dialog);
            EXPECT_EQ("New container name", form.PromptLabel->text().toStdString());
            form.ValueEdit->selectAll();
            form.ValueEdit->insert(text);
        });
        Window->EnableFileMenuItems(0);
        Window->ClickCommand("RenameContainerMenu");
    }
};

TEST_F(RenameContainer, OkayNamesTheContainerAndCancelKeepsTheName)
{
    TContainer& container = ShowContainer(4);
    TColumn& column = ColumnAt(*Window, 0);
    Rename("Holiday");
    EXPECT_EQ("Holiday", container.Name);
    EXPECT_EQ("Container \"Holiday\"", column.HeaderButton->GetCaption());
    Rename("Other", mrCancel);
    EXPECT_EQ("Holiday", container.Name);
    Rename("");
    EXPECT_EQ("", container.Name);
    EXPECT_EQ("Container \"5\"", column.HeaderButton->GetCaption()) << "an empty name shows the number";
}

// The option file keeps names of at most 255 bytes: a longer one would be lost at the
// next start, so the box takes no more.
TEST_F(RenameContainer, ALongNameIsCutToWhatTheOptionFileKeeps)
{
    ShowContainer(6);
    const QString euros(100, QChar(0x20ac)); // 300 bytes
    Rename(euros);
    const std::string kept = Window->FindContainer(6)->Name;
    EXPECT_EQ(255u, kept.size());
    EXPECT_EQ(euros.left(85).toStdString(), kept);

    Window.Close();
    Window.Open();
    EXPECT_EQ(kept, Window->FindContainer(6)->Name);
}

} // namespace
