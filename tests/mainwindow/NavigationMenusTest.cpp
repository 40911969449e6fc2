#include "BoardTestWindow.h"

#include "columns/Containers.h"

#include "core/desktop/Program.h"
#include "core/files/FileInfo.h"
#include "core/files/KnownFolders.h"
#include "core/files/LinkFile.h"
#include "core/files/PathNames.h"
#include "core/files/ProgramFolders.h"
#include "core/forms/InputState.h"

#include "host/Drives.h"

#include "support/MenuActions.h"
#include "support/RecordingLauncher.h"
#include "support/ShownFailures.h"

#include <QAction>
#include <QMenu>

#include <gmock/gmock.h>

#include <filesystem>

namespace fs = std::filesystem;
using testing::HasSubstr;

namespace {

using TNames = std::vector<std::string>;

constexpr uint16_t SlashKey = 191;
constexpr uint16_t BackslashKey = 220;

std::string HostOf(const std::string& windowsPath)
{
    return host::WindowsToHost(windowsPath).value_or("<unmapped>");
}

TNames Captions(const QMenu& menu)
{
    TNames captions;
    for (const QAction* action : menu.actions())
        captions.push_back(action->text().toStdString());
    return captions;
}

QAction* FindByCaption(const QMenu& menu, const std::string& caption)
{
    for (QAction* action : menu.actions())
        if (action->text().toStdString() == caption)
            return action;
    return nullptr;
}

// A main window over drive T:, which holds
//   d\a.txt  d\b.txt  d\c.txt  e\x.txt  e\y.txt  e\z.txt  empty\  bin\view.sh (a program)
// and the program folder's link folders, empty until a test fills them.
class NavigationMenus : public testing::Test
{
protected:
    NavigationMenus()
    {
        for (const char* file : {"d/a.txt", "d/b.txt", "d/c.txt", "e/x.txt", "e/y.txt", "e/z.txt"})
            Drive.WriteFile(file, file);
        fs::create_directories(Drive.HostPath("empty"));
        Drive.WriteFile("bin/view.sh", "#!/bin/sh\n");
        fs::permissions(Drive.HostPath("bin/view.sh"), fs::perms::owner_all);
        Window.Open();
    }
    ~NavigationMenus() override { Window.Discard(); }

    // The column lists the title's folder with the title focused and is the active one.
    TColumn& Show(int32_t slot, const std::string& title)
    {
        TColumn& column = ColumnAt(*Window, slot);
        column.LoadDirectory({.RememberPrevious = true, .ContainerIndex = -1, .Title = Drive.Path(title)});
        Window->FocusColumn(slot, true);
        return column;
    }

    // A press on the active column's focused item, as a right click records it.
    void PressFocused()
    {
        TColumn& column = *Window->ActiveColumn();
        TPressRecord& press = Window->Press;
        press = {};
        press.DragSourceColumn = column.Index;
        press.DragItemIndex = column.FileList->FocusIndex;
        press.DragItemTitle = column.ActiveTitle;
        press.OperationItemIndex = column.FileList->FocusIndex;
    }

    // A drag of the source's item onto the destination's item; the destination becomes the
    // active column.
    void Drag(TColumn& source, const std::string& name, TColumn& destination, const std::string& onto,
              TShiftState shift)
    {
        const int32_t item = source.IndexOfName(name);
        if (item >= 0)
            source.FocusIndex(item);
        destination.FocusIndex(destination.IndexOfName(onto));
        Window->ActiveColumnIndex = destination.Index;
        TPressRecord& press = Window->Press;
        press = {};
        press.DragSourceColumn = source.Index;
        press.DragShiftState = shift;
        press.DragItemIndex = item;
        press.DragItemTitle = item >= 0 ? source.GetItem(item).Title : source.ActiveTitle;
        press.OperationItemIndex = destination.FileList->FocusIndex;
    }

    // A link in a link folder ("Images\View.lnk" below the folder) to the target.
    static void Link(const std::string& folder, const std::string& relative, const std::string& target,
                     const std::string& arguments = "")
    {
        const std::string link = folder + relative;
        fs::create_directories(fs::path(HostOf(link)).parent_path());
        CopyFileAsLinkWithParam(target, link, arguments, true);
        ASSERT_TRUE(MyFileExists(link)) << link;
    }

    QMenu& Submenu(const std::string& name) const
    {
        return *Window->findChild<QAction*>(QString::fromStdString(name))->menu();
    }

    // The File menu's built menus, as the File menu prepares them for a press on the
    // active column's focused item.
    void SetupFileMenu()
    {
        PressFocused();
        Window->EnableFileMenuItems(0);
        Window->SetupFileMenuLinkMenus();
    }

    void Key(TColumn& column, uint16_t key, TShiftState shift) { column.FileListKeyDown(column.FileList, key, shift); }

    TTempDrive Drive{'T'};
    TBoardTestWindow Window;
    TRecordingLauncher Launcher;
};

// ---- The send menus ----

TEST_F(NavigationMenus, TheSendMenuRunsALinkOfTheSendFolderWithTheActiveTitle)
{
    Link(GetSendPath(), "Images\\View.lnk", Drive.Path("bin\\view.sh"), "\"%t%\"");
    Show(0, "d\\b.txt");
    {
        TModalScript script;
        script.Expect("File", 0, [](const TModalRequest& request) {
            const QAction* send = FindMenuAction(*request.Menu, "SendFileMenu");
            ASSERT_NE(nullptr, send);
            ASSERT_TRUE(send->isEnabled());
            const QMenu& menu = *send->menu();
            EXPECT_EQ((TNames{"Send: Active title", "Images"}), Captions(menu));
            EXPECT_EQ(menu.actions()[0], menu.defaultAction()) << "the heading is bold";
            const QMenu* images = menu.actions()[1]->menu();
            ASSERT_NE(nullptr, images);
            EXPECT_EQ(TNames{"View"}, Captions(*images));
            images->actions()[0]->trigger();
        });
        Window->ShowFileMenuAtFocusedItem(0);
    }
    ASSERT_EQ(1u, Launcher.Starts.size());
    EXPECT_EQ(Drive.HostPath("bin/view.sh"), Launcher.Starts[0].Program);
    EXPECT_EQ(TNames{Drive.HostPath("d/b.txt")}, Launcher.Starts[0].Arguments);
}

struct TSendDragRow
{
    const char* Case;
    const char* SourceFolder;
    // A container shown by the destination column instead of folder e, or -1.
    int32_t DestinationContainer;
    TShiftState Shift;
    bool Enabled;
    TNames Captions;
};

TEST_F(NavigationMenus, TheFileDragSendMenuFollowsTheDragAndItsKeys)
{
    Link(GetSendDragPath(), "Tool.lnk", Drive.Path("bin\\view.sh"));
    TContainer& container = *Window->FindContainer(0);
    container.Clear();
    container.AddItem(Drive.Path("e\\x.txt"), 0);
    const TSendDragRow rows[] = {
        {"onto another folder", "d", -1, 0, true, {"Send-drag: Active title", "Tool"}},
        {"with Ctrl", "d", -1, ShiftOf(ssCtrl), true, {"Send-drag: Active reference", "Tool"}},
        {"with Shift", "d", -1, ShiftOf(ssShift), true, {"Send-drag: Parent directory", "Tool"}},
        {"with Alt", "d", -1, ShiftOf(ssAlt), false, {}},
        {"from an empty folder", "empty", -1, 0, false, {}},
        {"onto a container column", "d", 0, 0, false, {}},
    };
    for (const TSendDragRow& row : rows) {
        SCOPED_TRACE(row.Case);
        TColumn& source = Show(0, std::string(row.SourceFolder) + "\\");
        TColumn& destination = Show(1, "e\\x.txt");
        if (row.DestinationContainer >= 0)
            destination.ReloadContainer(row.DestinationContainer);
        Drag(source, "a.txt", destination, "x.txt", row.Shift);
        Window->EnableFileDragMenuItems(row.Shift);
        const QMenu& send = Submenu("FileDragMenu_Send");
        EXPECT_EQ(row.Enabled, send.menuAction()->isEnabled());
        EXPECT_EQ(row.Captions, Captions(send));
        destination.LoadDirectory({.ContainerIndex = -1});
    }
}

TEST_F(NavigationMenus, ASendDragEntryHandsTheDraggedAndTheDroppedOnTitles)
{
    Link(GetSendDragPath(), "Tool.lnk", Drive.Path("bin\\view.sh"), "\"%t%\" \"%dt%\"");
    for (const TShiftState shift : {TShiftState(0), ShiftOf(ssShift)}) {
        TColumn& source = Show(0, "d\\a.txt");
        TColumn& destination = Show(1, "e\\y.txt");
        Drag(source, "a.txt", destination, "y.txt", shift);
        Window->EnableFileDragMenuItems(shift);
        FindByCaption(Submenu("FileDragMenu_Send"), "Tool")->trigger();
    }
    ASSERT_EQ(2u, Launcher.Starts.size());
    EXPECT_EQ((TNames{Drive.HostPath("d/a.txt"), Drive.HostPath("e/y.txt")}), Launcher.Starts[0].Arguments);
    EXPECT_EQ((TNames{Drive.HostPath("d"), Drive.HostPath("e/y.txt")}), Launcher.Starts[1].Arguments)
        << "with Shift the folder goes";
}

TEST_F(NavigationMenus, ASendEntryThatIsNoLinkToAProgramOrCannotStartFails)
{
    Link(GetSendPath(), "Notes.lnk", Drive.Path("d\\c.txt"));
    Link(GetSendPath(), "View.lnk", Drive.Path("bin\\view.sh"));
    Show(0, "d\\a.txt");
    SetupFileMenu();
    TShownFailures failures;
    {
        TModalScript script;
        failures.Expect(script, "Error");
        failures.Expect(script, "Error");
        FindByCaption(Submenu("SendFileMenu"), "Notes")->trigger();
        Launcher.RefuseStarts = true;
        FindByCaption(Submenu("SendFileMenu"), "View")->trigger();
    }
    ASSERT_EQ(2u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], HasSubstr("The file must be a link to a program."));
    EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to run file."));
    EXPECT_THAT(failures.Reports[1], HasSubstr("Failed to run file."));
    EXPECT_EQ(1u, Launcher.Starts.size()) << "only the program was tried";
}

// Each entry runs the file it was made for: a caption can neither tell the letter case
// of a hidden extension nor hold "&" as itself.
TEST_F(NavigationMenus, EntriesRunTheirOwnFile)
{
    Link(GetSendPath(), "Tool.LNK", Drive.Path("bin\\view.sh"), "\"%t%\"");
    Link(GetSendPath(), "R&D.lnk", Drive.Path("bin\\view.sh"), "\"%n%\"");
    Drive.WriteFile("tools/x.sh", "#!/bin/sh\n");
    fs::permissions(Drive.HostPath("tools/x.sh"), fs::perms::owner_all);
    Show(0, "d\\a.txt");
    SetupFileMenu();
    const QMenu& send = Submenu("SendFileMenu");
    EXPECT_EQ((TNames{"Send: Active title", "R&&D", "Tool"}), Captions(send));
    FindByCaption(send, "R&&D")->trigger();
    FindByCaption(send, "Tool")->trigger();

    // A menu of every file, as the tools menu is: the file runs itself, with no parameter.
    QMenu tools;
    Window->SetupSendMenu(tools, "", false, false, "", Drive.Path("tools\\"), 0);
    EXPECT_EQ(TNames{"x.sh"}, Captions(tools));
    tools.actions()[0]->trigger();

    ASSERT_EQ(3u, Launcher.Starts.size());
    EXPECT_EQ(TNames{"a.txt"}, Launcher.Starts[0].Arguments);
    EXPECT_EQ(TNames{Drive.HostPath("d/a.txt")}, Launcher.Starts[1].Arguments);
    EXPECT_EQ(Drive.HostPath("tools/x.sh"), Launcher.Starts[2].Program);
    EXPECT_TRUE(Launcher.Starts[2].Arguments.empty());
}

TEST_F(NavigationMenus, ACrowdedFolderShowsThirtyEntriesAndAMissingOneNone)
{
    for (int i = 0; i < 31; ++i)
        Link(GetSendPath(), "p" + std::to_string(i) + ".lnk", Drive.Path("bin\\view.sh"));
    Show(0, "d\\a.txt");
    SetupFileMenu();
    EXPECT_EQ(31, Submenu("SendFileMenu").actions().size()) << "the heading and thirty links";

    fs::remove_all(HostOf(GetSendPath()));
    fs::remove_all(HostOf(GetLocationsPath()));
    TModalScript script; // no message
    SetupFileMenu();
    EXPECT_TRUE(Submenu("SendFileMenu").isEmpty());
    EXPECT_TRUE(Submenu("LocationsMenu").isEmpty());
}

// ---- Locations ----

struct TLocationRow
{
    const char* Caption;
    // The folder the active column lists afterwards.
    const char* Folder;
    bool Fails;
};

TEST_F(NavigationMenus, ALocationEntersTheFolderOfItsLinkInTheActiveColumn)
{
    Link(GetLocationsPath(), "Data.lnk", Drive.Path("e"));
    Link(GetLocationsPath(), "File.lnk", Drive.Path("e\\x.txt"));
    fs::create_directories(Drive.HostPath("gone"));
    Link(GetLocationsPath(), "Gone.lnk", Drive.Path("gone"));
    fs::remove(Drive.HostPath("gone"));
    Drive.WriteFile("broken.txt", "not a link");
    fs::copy_file(Drive.HostPath("broken.txt"), HostOf(GetLocationsPath() + "Broken.lnk"));
    const TLocationRow rows[] = {
        {"Data", "e\\", false},
        {"File", "d\\", false},
        {"Gone", "d\\", false},
        {"Broken", "d\\", true},
    };
    for (const TLocationRow& row : rows) {
        SCOPED_TRACE(row.Caption);
        Show(0, "d\\b.txt");
        SetupFileMenu();
        const QMenu& locations = Submenu("LocationsMenu");
        EXPECT_EQ((TNames{"Broken", "Data", "File", "Gone"}), Captions(locations));
        TShownFailures failures;
        {
            TModalScript script;
            if (row.Fails)
                failures.Expect(script, "Error");
            FindByCaption(locations, row.Caption)->trigger();
        }
        if (row.Fails) {
            EXPECT_THAT(failures.Reports.at(0), HasSubstr("Failed to go to location."));
        }
        EXPECT_EQ(0, Window->ActiveColumnIndex);
        EXPECT_EQ(Drive.Path(row.Folder), GetParentPath(ColumnAt(*Window, 0).ActiveTitle));
    }
}

// ---- Navigation ----

TEST_F(NavigationMenus, TheRootKeysShowTheDriveListAndTheRootAndBackslashGoesBack)
{
    TColumn& column = Show(0, "d\\a.txt");
    Key(column, BackslashKey, ShiftOf(ssShift));
    EXPECT_EQ("T:", column.ActiveTitle) << "the drive list, the drive focused";
    EXPECT_TRUE(IsKeyShiftIn(Window->Press.DragShiftState, ssAlt)) << "Alt stays in the press record";

    Show(0, "d\\a.txt");
    Key(column, BackslashKey, ShiftOf(ssCtrl));
    EXPECT_EQ(Drive.Path(), GetParentPath(column.ActiveTitle));
    EXPECT_EQ(0, Window->ActiveColumnIndex) << "the column itself shows it";

    Key(column, BackslashKey, 0);
    EXPECT_EQ(Drive.Path("d\\a.txt"), column.ActiveTitle);
}

TEST_F(NavigationMenus, DefaultDirectoryFocusesWhereTheUserLeftItsFolder)
{
    TColumn& column = Show(0, "d\\a.txt");
    column.DefaultTitle = Drive.Path("e\\y.txt");
    Key(column, SlashKey, 0);
    EXPECT_EQ(Drive.Path("e\\x.txt"), column.ActiveTitle) << "a folder never visited: its first item";

    column.FocusIndex(column.IndexOfName("z.txt"));
    Show(0, "d\\a.txt");
    Key(column, SlashKey, 0);
    EXPECT_EQ(Drive.Path("e\\z.txt"), column.ActiveTitle);
    EXPECT_EQ(Drive.Path("d\\a.txt"), column.PreviousTitle);

    column.DefaultTitle = "T:";
    Key(column, SlashKey, 0);
    EXPECT_EQ("T:", column.ActiveTitle) << "a drive default shows the drive list";
}

TEST_F(NavigationMenus, LReloadsTheActiveColumnAndCtrlLEveryColumn)
{
    TColumn& first = Show(0, "d\\a.txt");
    TColumn& second = Show(1, "e\\x.txt");
    Drive.WriteFile("d/new.txt", "");
    Drive.WriteFile("e/new.txt", "");
    Key(second, 'L', 0);
    EXPECT_GE(second.IndexOfName("new.txt"), 0);
    EXPECT_LT(first.IndexOfName("new.txt"), 0);
    Key(second, 'L', ShiftOf(ssCtrl));
    EXPECT_GE(first.IndexOfName("new.txt"), 0);
}

TEST_F(NavigationMenus, HistoryListsTheTwentyNewestFoldersAndRestoresTheFocus)
{
    for (int i = 0; i <= 20; ++i) {
        const std::string folder = "h" + std::to_string(i);
        Drive.WriteFile(folder + "/a.txt", "a");
        Drive.WriteFile(folder + "/b.txt", "b");
        Show(0, folder + "\\b.txt");
    }
    Show(1, "d\\a.txt");
    SetupFileMenu();
    const QMenu& history = Submenu("HistoryMenu");
    const TNames captions = Captions(history);
    ASSERT_EQ(20u, captions.size());
    EXPECT_EQ(Drive.Path("d\\"), captions.front());
    EXPECT_EQ(Drive.Path("h2\\"), captions.back());

    FindByCaption(history, Drive.Path("h5\\"))->trigger();
    EXPECT_EQ(Drive.Path("h5\\b.txt"), ColumnAt(*Window, 1).ActiveTitle);
    EXPECT_EQ(1, Window->ActiveColumnIndex);
}

struct TSystemLocationRow
{
    const char* Name;
    std::string (*Folder)();
    bool IsFile = false;
};

// Each item shows its folder in the active column itself; a folder this system lacks
// leaves the column as it was.
TEST_F(NavigationMenus, EverySystemLocationShowsItsFolder)
{
    const TSystemLocationRow rows[] = {
        {"SysLocMenu_Containers", GetContainersPath},
        {"SysLocMenu_Locations", GetLocationsPath},
        {"SysLocMenu_Plugins", GetPluginsPath},
        {"SysLocMenu_Send", GetSendPath},
        {"SysLocMenu_SendDrag", GetSendDragPath},
        {"SysLocMenu_Skins", GetSkinsPath},
        {"SysLocMenu_ThisProgram", GetProgramDir},
        {"SysLocMenu_Tools", GetToolsPath},
        {"SysLocMenu_Desktop", GetDesktopPath},
        {"SysLocMenu_Documents", GetDocumentsPath},
        {"SysLocMenu_Favorites", GetFavoritesPath},
        {"SysLocMenu_Movies", GetMoviesPath},
        {"SysLocMenu_Music", GetMusicPath},
        {"SysLocMenu_Pictures", GetPicturesPath},
        {"SysLocMenu_ProgramFiles", GetProgramFilesPath},
        {"SysLocMenu_ProgramLinks", GetProgramLinksPath},
        {"SysLocMenu_Recent", GetRecentPath},
        {"SysLocMenu_Temporary", GetTempPathA},
        {"SysLocMenu_ApplicationData", GetApplicationDataPath},
        {"SysLocMenu_CommonFiles", GetCommonFilesPath},
        {"SysLocMenu_Cookies", GetCookiesPath},
        {"SysLocMenu_Fonts", GetFontsPath},
        {"SysLocMenu_HostFiles", GetHostsFileName, true},
        {"SysLocMenu_InternetCacheMenu", GetInternetCachePath},
        {"SysLocMenu_OperatingSystem", GetOperatorPath},
        {"SysLocMenu_QuickLaunch", GetQuickLaunchPath},
        {"SysLocMenu_Startup", GetStartupPath},
        {"SysLocMenu_SharedDesktop", GetSharedDesktopPath},
        {"SysLocMenu_SharedDocuments", GetSharedDocumentsPath},
        {"SysLocMenu_SharedFavorites", GetSharedFavoritesPath},
        {"SysLocMenu_SharedProgramLinks", GetSharedProgramLinksPath},
        {"SysLocMenu_SharedStartup", GetSharedStartupPath},
    };
    ASSERT_EQ("", GetCookiesPath()) << "the empty location below is one this system lacks";
    for (const TSystemLocationRow& row : rows) {
        SCOPED_TRACE(row.Name);
        const TColumn& column = Show(0, "d\\a.txt");
        const std::string path = row.Folder();
        TShownFailures failures;
        {
            TModalScript script;
            if (path.empty())
                failures.Expect(script, "Error");
            Window->EnableFileMenuItems(0);
            Window->ClickCommand(row.Name);
        }
        EXPECT_EQ(0, Window->ActiveColumnIndex);
        if (path.empty()) {
            EXPECT_THAT(failures.Reports.at(0), HasSubstr("Failed to load path."));
            EXPECT_EQ(Drive.Path("d\\a.txt"), column.ActiveTitle);
        } else if (row.IsFile) {
            EXPECT_EQ(path, column.ActiveTitle);
        } else if (IsDirectory(path)) {
            EXPECT_EQ(path, GetParentPath(column.ActiveTitle));
        }
    }
}

} // namespace
