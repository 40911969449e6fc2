#include "BoardTestWindow.h"

#include "columns/Containers.h"

#include "core/forms/InputState.h"
#include "core/text/StringList.h"

#include "support/FakeMediaDevice.h"

#include <QAction>
#include <QMenu>

namespace {

using TNames = std::vector<std::string>;

// A window over drive T: whose folder d holds a.txt, b.txt and c.txt; column 0 lists it
// and is active, column 1 lists it too.
class ContainerCommands : public testing::Test
{
protected:
    ContainerCommands()
    {
        for (const char* file : {"d/a.txt", "d/b.txt", "d/c.txt"})
            Drive.WriteFile(file, file);
        Window.Open();
        for (int32_t slot : {1, 0}) {
            ColumnAt(*Window, slot).LoadDirectory({.ContainerIndex = -1, .Title = Drive.Path("d\\a.txt")});
            Window->FocusColumn(slot, true);
        }
        for (int32_t index = 0; index < ContainerCount; ++index)
            Window->FindContainer(index)->Clear();
    }
    ~ContainerCommands() override { Window.Discard(); }

    TColumn& Column(int32_t slot) const { return ColumnAt(*Window, slot); }

    // A digit key with Ctrl or Shift on the column, as the user types it.
    void Digit(TColumn& column, char digit, TShiftElement modifier)
    {
        uint16_t key = static_cast<uint16_t>(digit);
        column.FileListKeyDown(column.FileList, key, ShiftOf(modifier));
    }

    TNames Entries(int32_t index) const
    {
        TNames paths;
        for (const TContainerItem& entry : Window->FindContainer(index)->Items())
            paths.push_back(entry.Path);
        return paths;
    }

    // The File menu, answered by clicking the item of the tag in the submenu of the holder.
    void ChooseInMenu(const char* holder, int32_t tag)
    {
        TModalScript script;
        script.Expect("File", 0, [&](const TModalRequest&) {
            QMenu& menu = *Window->findChild<QAction*>(holder)->menu();
            for (QAction* item : menu.actions())
                if (!item->isSeparator() && item->data().toInt() == tag) {
                    ASSERT_TRUE(item->isEnabled());
                    item->trigger();
                    return;
                }
            ADD_FAILURE() << "no item " << tag;
        });
        Window->ShowFileMenu(10, 20, 0);
    }

    TFakeMediaDevices Media;
    TTempDrive Drive{'T'};
    TBoardTestWindow Window;
};

TEST_F(ContainerCommands, CtrlDigitShowsTheContainerOfTheDigit)
{
    TColumn& column = Column(0);
    Digit(column, '1', ssCtrl);
    EXPECT_EQ(0, column.ContainerIndex);
    EXPECT_EQ("Container \"Found\"", column.HeaderButton->GetCaption());
    Digit(column, '0', ssCtrl);
    EXPECT_EQ(9, column.ContainerIndex);

    // Showing it again reloads nothing: an entry added meanwhile is not listed.
    Window->FindContainer(9)->AddItem(Drive.Path("d\\a.txt"), 0);
    Digit(column, '0', ssCtrl);
    EXPECT_EQ(0, column.GetItemCount());

    // "None" in "Show container" returns to the folder.
    ChooseInMenu("ContainerModeMenu", -1);
    EXPECT_EQ(-1, column.ContainerIndex);
    EXPECT_EQ(Drive.Path("d\\a.txt"), column.ActiveTitle);
}

// The drive is refused by the container without a word; every selected item is
// deselected, and the column that shows the container lists the new entries.
TEST_F(ContainerCommands, ShiftDigitAppendsTheSelectionInListOrder)
{
    TColumn& source = Column(0);
    TStringList listed;
    for (const std::string& path : {Drive.Path("d\\c.txt"), std::string("T:"), Drive.Path("d\\a.txt")})
        listed.Add(path);
    source.SetWithList(listed, true);
    ASSERT_EQ(3, source.SelectedCount);
    TColumn& shown = Column(1);
    shown.ReloadContainer(1);
    const int32_t busy = Window->BusyCount;
    {
        TModalScript script; // no question and no failure
        Digit(source, '2', ssShift);
    }
    const TNames expected = {Drive.Path("d\\c.txt"), Drive.Path("d\\a.txt")};
    EXPECT_EQ(expected, Entries(1));
    EXPECT_EQ(0, source.SelectedCount);
    EXPECT_EQ(expected, ListedTitles(shown));
    EXPECT_EQ(busy, Window->BusyCount);
    EXPECT_FALSE(Window->ForceCheckPending);
}

TEST_F(ContainerCommands, WithoutSelectionTheActiveFileGoesAndItsOwnContainerTakesNothing)
{
    TColumn& column = Column(0);
    column.FocusIndex(column.IndexOfName("b.txt"));
    Digit(column, '3', ssShift);
    EXPECT_EQ(TNames{Drive.Path("d\\b.txt")}, Entries(2));

    Digit(column, '3', ssCtrl);
    column.SelectItem(0);
    Digit(column, '3', ssShift);
    EXPECT_EQ(TNames{Drive.Path("d\\b.txt")}, Entries(2)) << "a column adds nothing to the container it shows";
}

TEST_F(ContainerCommands, CopyToContainerInTheFileMenuTakesTheActiveColumnsFiles)
{
    TColumn& column = Column(0);
    column.SelectItem(column.IndexOfName("a.txt"));
    column.SelectItem(column.IndexOfName("b.txt"));
    ChooseInMenu("CopyToContainerMenu", 11);
    EXPECT_EQ((TNames{Drive.Path("d\\a.txt"), Drive.Path("d\\b.txt")}), Entries(11));
    EXPECT_EQ(0, column.SelectedCount);
}

} // namespace
