#include "BoardTestWindow.h"

#include "mainwindow/DirectoryTree.h"
#include "mainwindow/PartitionsDialog.h"
#include "mainwindow/TreeNavigatorForm.h"

#include "fileops/FileForm.h"

#include "columns/Containers.h"

#include "core/files/Partitions.h"
#include "core/files/PathNames.h"
#include "core/forms/MessageBoxes.h"

#include "host/Drives.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include <string>
#include <vector>

namespace {

using TNames = std::vector<std::string>;

// What the drives menu's closures were handed, one line per click.
class TRecordingDrivesMenu
{
public:
    TRecordingDrivesMenu()
    {
        Dialog.OnShowPath = [this](const std::string& path) { Log.push_back("Show " + path); };
        Dialog.OnOperation = [this](const std::string& path, const std::string& operation) {
            Log.push_back(operation + " " + path);
        };
    }

    QAction* ItemTagged(int32_t tag) const
    {
        for (QAction* item : Menu.actions())
            if (item->data().toInt() == tag)
                return item;
        return nullptr;
    }

    TPartitionsDialog Dialog;
    QMenu Menu;
    TNames Log;
};

TEST(DrivesMenu, ListsTheNavigatorASeparatorAndEachDriveTaggedWithItsNumber)
{
    host::UnmapDrive('P');
    TTempDrive a('A');
    TTempDrive d('D');
    TRecordingDrivesMenu drives;
    drives.Dialog.SetupMenu(drives.Menu, "Show");
    // A second build replaces the first.
    drives.Dialog.SetupMenu(drives.Menu, "Show");

    const QList<QAction*> items = drives.Menu.actions();
    ASSERT_EQ(5, items.size());
    EXPECT_EQ("Tree navigator", items[0]->text().toStdString());
    EXPECT_EQ(0, items[0]->data().toInt());
    EXPECT_EQ("Choose the destination directory, using the directory tree navigator dialog",
              items[0]->statusTip().toStdString());
    EXPECT_TRUE(items[1]->isSeparator());
    const TNames letters = {"A:", "C:", "D:"};
    const std::vector<int32_t> tags = {1, 3, 4};
    for (size_t i = 0; i < letters.size(); ++i) {
        const QAction& item = *items[static_cast<qsizetype>(i + 2)];
        EXPECT_EQ(letters[i] + GetPartitionSuffix(letters[i]), item.text().toStdString());
        EXPECT_EQ(tags[i], item.data().toInt());
    }
    EXPECT_EQ(" (Fixed: \"\")", GetPartitionSuffix("A:")) << "a fixed drive's caption names its label";
}

// A drive's caption is the user's text: an "&" in a share's name stays an "&" and marks no
// accelerator.
TEST(DrivesMenu, AnAmpersandInADrivesCaptionShowsAsItself)
{
    TFakeMountTable mounts;
    TTempDrive share('R');
    mounts.Add(share.HostPath(), "cifs", "//server/R&D");
    TRecordingDrivesMenu drives;
    drives.Dialog.SetupMenu(drives.Menu, "Show");
    const QAction* item = drives.ItemTagged(18);
    ASSERT_NE(nullptr, item);
    EXPECT_EQ("R: (Remote: \"\\\\server\\R&&D\")", item->text().toStdString());
}

TEST(DrivesMenu, TheModeChoosesTheClosureWhateverItsLetterCase)
{
    struct TRow
    {
        const char* Mode;
        TNames Log;
    };
    const TRow rows[] = {
        {"Show", {"Show ", "Show C:\\"}},
        {"copy", {"Copy ", "Copy C:\\"}},
        {"CONVERT picture", {"Convert picture ", "Convert picture C:\\"}},
        {"Move", {"Move ", "Move C:\\"}},
        {"xyz", {}},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Mode);
        TRecordingDrivesMenu drives;
        drives.Dialog.SetupMenu(drives.Menu, row.Mode);
        drives.ItemTagged(0)->trigger();
        drives.ItemTagged(3)->trigger();
        drives.ItemTagged(-1)->trigger();
        EXPECT_EQ(row.Log, drives.Log);
    }
}

// A main window over drives S: (the files) and T: (an empty drive to drop onto) with the
// file-operation dialog made as the program makes it. S: holds d\a.txt, d\b.txt and
// e\x.txt; container 0 holds S:\d\b.txt.
class DrivesMenus : public testing::Test
{
protected:
    DrivesMenus()
    {
        FileForm = &Form;
        for (const char* file : {"d/a.txt", "d/b.txt", "e/x.txt"})
            Source.WriteFile(file, file);
        Window.Open();
        TContainer& container = *Window->FindContainer(0);
        container.Clear();
        container.AddItem(Source.Path("d\\b.txt"), 0);
    }
    ~DrivesMenus() override
    {
        Window.Discard();
        FileForm = nullptr;
    }

    TColumn& ShowFolder(const std::string& title)
    {
        TColumn& column = ColumnAt(*Window, 0);
        column.LoadDirectory({.RememberPrevious = true, .ContainerIndex = -1, .Title = Source.Path(title)});
        Window->FocusColumn(0, true);
        return column;
    }

    // The File menu opened at the active column's focused item; the drives item of the
    // tag in the named drives menu is clicked.
    void ClickDrive(TModalScript& script, const std::string& menuName, int32_t tag)
    {
        script.Expect("File", 0, [menuName, tag](const TModalRequest& request) {
            const auto* holder = request.Menu->findChild<QAction*>(QString::fromStdString(menuName));
            ASSERT_NE(nullptr, holder);
            ASSERT_TRUE(holder->isEnabled()) << menuName;
            for (QAction* item : holder->menu()->actions())
                if (item->data().toInt() == tag)
                    return item->trigger();
            ADD_FAILURE() << "no item tagged " << tag;
        });
    }

    TTempDrive Source{'S'};
    TTempDrive Target{'T'};
    TFileForm Form;
    TBoardTestWindow Window;
};

TEST_F(DrivesMenus, DropToDirectoryCopiesTheActiveFileIntoTheDrivesRoot)
{
    ShowFolder("d\\a.txt");
    {
        TModalScript script;
        ClickDrive(script, "FileMenu_CopyToDir", 20);
        script.Expect("Copy", mrOkay, [this](const TModalRequest&) {
            EXPECT_EQ(Target.Path(), Form.DestinationLabel->text().toStdString());
            Form.OkayButtonClick();
        });
        Window->ShowFileMenuAtFocusedItem(0);
    }
    EXPECT_EQ("d/a.txt", Target.ReadFile("a.txt"));
    EXPECT_TRUE(Source.Exists("d/a.txt"));
    EXPECT_EQ(0, Window->BusyCount);
}

TEST_F(DrivesMenus, MovingAContainersEntryToADriveReloadsTheContainer)
{
    TColumn& column = ColumnAt(*Window, 0);
    column.ReloadContainer(0);
    Window->FocusColumn(0, true);
    {
        TModalScript script;
        ClickDrive(script, "FileMenu_MoveToDir", 20);
        script.Expect("Move", mrOkay, [this](const TModalRequest&) { Form.OkayButtonClick(); });
        Window->ShowFileMenuAtFocusedItem(0);
    }
    EXPECT_FALSE(Source.Exists("d/b.txt"));
    EXPECT_EQ("d/b.txt", Target.ReadFile("b.txt"));
    EXPECT_EQ(TNames{Target.Path("b.txt")}, ListedTitles(column));
}

TEST_F(DrivesMenus, TheNavigatorItemTellsItsHintOnTheHintBar)
{
    ShowFolder("d\\a.txt");
    TModalScript script;
    script.Expect("File", 0, [this](const TModalRequest& request) {
        const auto* holder = request.Menu->findChild<QAction*>("FileMenu_MoveToDir");
        ASSERT_NE(nullptr, holder);
        holder->menu()->actions().first()->hover();
        EXPECT_EQ("Choose the destination directory, using the directory tree navigator dialog",
                  Window->HintBarPanel->GetCaption());
    });
    Window->ShowFileMenuAtFocusedItem(0);
}

TEST_F(DrivesMenus, PartitionsShowsTheDriveOrTheFolderChosenInTheNavigator)
{
    TColumn& column = ShowFolder("d\\a.txt");
    {
        TModalScript script;
        ClickDrive(script, "PartitionsMenu", 19);
        Window->ShowFileMenuAtFocusedItem(0);
    }
    EXPECT_EQ((TNames{Source.Path("d"), Source.Path("e")}), ListedTitles(column));

    TTreeNavigatorForm navigator(&*Window);
    TreeNavigatorForm = &navigator;
    std::string start;
    {
        TModalScript script;
        ClickDrive(script, "PartitionsMenu", 0);
        script.Expect("Directory tree navigator", TTreeNavigatorForm::mrOkay, [&](const TModalRequest&) {
            start = GetSelectedTreePath(*navigator.FileSystemTreeView);
            NavigateToTreeDirectory(*navigator.FileSystemTreeView, Source.Path("e"));
            navigator.OkayButton->click();
        });
        Window->ShowFileMenuAtFocusedItem(0);
    }
    EXPECT_EQ(ExcludeEndBackslash(Source.Path()), start) << "the navigator opens at the active title's folder";
    EXPECT_EQ(TNames{Source.Path("e\\x.txt")}, ListedTitles(column));

    // Cancelled, the navigator changes nothing.
    {
        TModalScript script;
        ClickDrive(script, "PartitionsMenu", 0);
        script.Expect("Directory tree navigator", TTreeNavigatorForm::mrCancel);
        Window->ShowFileMenuAtFocusedItem(0);
    }
    TreeNavigatorForm = nullptr;
    EXPECT_EQ(TNames{Source.Path("e\\x.txt")}, ListedTitles(column));
}

} // namespace
