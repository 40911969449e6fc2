#include "BoardTestWindow.h"

#include "fileops/FileForm.h"
#include "fileops/OverwriteForm.h"

#include "columns/Containers.h"

#include "core/forms/InputState.h"
#include "core/forms/MessageBoxes.h"

#include "support/FakeMediaDevice.h"

#include <QAction>
#include <QMenu>

namespace {

using TNames = std::vector<std::string>;

// A window over drive T: holding
//   Photos\p1.png p2.png p3.png p4.png   photos\q.png (another folder: letter case counts)
//   Other\o.txt   root.txt
// with the file-operation dialogs made as the program makes them.
class InterBoard : public testing::Test
{
protected:
    InterBoard()
    {
        FileForm = &Form;
        OverwriteForm = &Overwrite;
        for (const char* file : {"Photos/p1.png", "Photos/p2.png", "Photos/p3.png", "Photos/p4.png", "photos/q.png",
                                 "Other/o.txt", "root.txt"})
            Drive.WriteFile(file, file);
        Window.Open();
    }
    ~InterBoard() override
    {
        Window.Discard();
        FileForm = nullptr;
        OverwriteForm = nullptr;
    }

    // The column lists the folder of the title (a drive name: the drives), focused on it,
    // and becomes the active column.
    TColumn& Show(int32_t slot, const std::string& title)
    {
        TColumn& column = ColumnAt(*Window, slot);
        column.LoadDirectory({.ContainerIndex = -1, .Title = title});
        Window->FocusColumn(slot, true);
        return column;
    }

    TColumn& ShowContainer(int32_t slot, int32_t container)
    {
        TColumn& column = ColumnAt(*Window, slot);
        column.ReloadContainer(container);
        Window->FocusColumn(slot, true);
        return column;
    }

    void Select(TColumn& column, const TNames& names)
    {
        for (const std::string& name : names)
            column.SelectItem(column.IndexOfName(name));
    }

    void WindowKey(uint16_t letter, TShiftElement modifier)
    {
        uint16_t key = letter;
        Window->FormKeyDown(key, ShiftOf(modifier));
        EXPECT_EQ(0, key) << "the window takes the key";
    }

    QAction& Item(const std::string& name) const
    {
        auto* item = Window->findChild<QAction*>(QString::fromStdString(name));
        EXPECT_NE(nullptr, item) << name;
        return *item;
    }

    std::string Title()
    {
        Window->EnableFileMenuItems(0);
        return Item("IBTitleMenu").text().toStdString();
    }

    TTempDrive Drive{'T'};
    TFakeMediaDevices Media;
    TFileForm Form;
    TOverwriteForm Overwrite;
    TBoardTestWindow Window;
};

TEST_F(InterBoard, TheTitleNamesWhatIsMarked)
{
    EXPECT_EQ("No marked column", Title());
    EXPECT_FALSE(Item("ShowIBFileDragMenu").isEnabled());

    TColumn& photos = Show(0, Drive.Path("Photos\\p1.png"));
    Select(photos, {"p1.png", "p2.png", "p4.png"});
    WindowKey('B', ssCtrl);
    EXPECT_EQ("Directory \"Photos\" (3)", Title());
    EXPECT_TRUE(Item("ShowIBFileDragMenu").isEnabled());

    Show(0, Drive.Path("root.txt"));
    WindowKey('B', ssCtrl);
    EXPECT_EQ("Directory \"T:\"", Title());

    Window->FindContainer(4)->Name = "";
    Window->FindContainer(4)->AddItem(Drive.Path("Other\\o.txt"), 0);
    ShowContainer(0, 4);
    WindowKey('B', ssCtrl);
    EXPECT_EQ("Container \"5\"", Title());
}

struct TEnablingRow
{
    const char* Case;
    // The active column's title, or a container to show.
    std::string Active;
    int32_t Container;
    bool Copy;
    bool Move;
    bool Convert;
    bool SetWith;
};

TEST_F(InterBoard, TheMarkedFolderAndTheActiveColumnDecideTheCommands)
{
    Window->FindContainer(2)->AddItem(Drive.Path("Other\\o.txt"), 0);
    Show(0, Drive.Path("Photos\\p1.png"));
    WindowKey('B', ssCtrl);
    const TEnablingRow rows[] = {
        {"the marked folder itself", "Photos\\p3.png", -1, false, false, true, false},
        {"a folder named alike but for letter case", "photos\\q.png", -1, true, true, true, true},
        {"another folder", "Other\\o.txt", -1, true, true, true, true},
        {"a container", "", 2, true, false, false, true},
        {"the drives", "T:", -1, false, false, false, true},
    };
    for (const TEnablingRow& row : rows) {
        SCOPED_TRACE(row.Case);
        if (row.Container >= 0)
            ShowContainer(1, row.Container);
        else
            Show(1, row.Active == "T:" ? row.Active : Drive.Path(row.Active));
        Window->EnableFileMenuItems(0);
        EXPECT_EQ(row.Copy, Item("IBCopyFileMenu").isEnabled());
        EXPECT_EQ(row.Move, Item("IBMoveFileMenu").isEnabled());
        EXPECT_EQ(row.Convert, Item("IBConvertPictureMenu").isEnabled());
        EXPECT_EQ(row.SetWith, Item("SetWithIBSourceColumnMenu").isEnabled());
    }
}

// The marking survives the switch of boards; the copy goes through the file-operation
// dialog into the folder of the board now shown.
TEST_F(InterBoard, FilesMarkedOnOneBoardAreCopiedIntoAColumnOfAnother)
{
    const int32_t first = Boards->ActiveBoard;
    Select(Show(0, Drive.Path("Photos\\p1.png")), {"p2.png", "p3.png"});
    WindowKey('B', ssCtrl);
    const int32_t second = first == 1 ? 2 : 1;
    Boards->ShowBoard(second);
    ASSERT_EQ(second, Boards->ActiveBoard);
    Show(0, Drive.Path("Other\\o.txt"));
    {
        TModalScript script;
        script.Expect("Copy", mrOkay, [this](const TModalRequest&) { Form.OkayButtonClick(); });
        Window->EnableFileMenuItems(0);
        Window->ClickCommand("IBCopyFileMenu");
    }
    EXPECT_EQ("Photos/p2.png", Drive.ReadFile("Other/p2.png"));
    EXPECT_EQ("Photos/p3.png", Drive.ReadFile("Other/p3.png"));
    EXPECT_FALSE(Drive.Exists("Other/p1.png"));
    EXPECT_TRUE(Drive.Exists("Photos/p2.png"));
}

TEST_F(InterBoard, ShiftBOpensTheFileDragMenuOnlyOnceAColumnIsMarked)
{
    Show(0, Drive.Path("Photos\\p1.png"));
    {
        TModalScript script; // any menu fails the test
        WindowKey('B', ssShift);
    }
    WindowKey('B', ssCtrl);
    TColumn& other = Show(1, Drive.Path("Other\\o.txt"));
    TModalRequest shown;
    {
        TModalScript script;
        script.Expect("File-drag", 0, [&](const TModalRequest& request) {
            shown = request;
            for (QAction* item : request.Menu->actions())
                if (item->objectName() == "FileDragMenu_Copy")
                    item->trigger();
        });
        script.Expect("Copy", mrOkay, [this](const TModalRequest&) { Form.OkayButtonClick(); });
        WindowKey('B', ssShift);
    }
    EXPECT_EQ(Window->FileDragMenu, shown.Menu);
    EXPECT_EQ(Window->GetFocusedItemAnchor(*other.FileList), QPoint(shown.X, shown.Y));
    EXPECT_EQ("Photos/p1.png", Drive.ReadFile("Other/p1.png"));
    EXPECT_EQ(IBSourceColumnIndex, Window->Press.DragSourceColumn);
}

} // namespace
