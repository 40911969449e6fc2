// The commands that move the active column to another folder (the "Navigate" and "System
// locations" submenus, the history and locations menus) and the menus built from the
// program's link folders, whose entries hand the active or dragged file to a program.

#include "mainwindow/MainForm.h"

#include "mainwindow/MenuItems.h"

#include "columns/Column.h"
#include "columns/FileLauncher.h"
#include "columns/History.h"

#include "core/desktop/Program.h"
#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/files/KnownFolders.h"
#include "core/files/LinkFile.h"
#include "core/files/PathNames.h"
#include "core/files/ProgramFolders.h"
#include "core/forms/InputState.h"
#include "core/forms/Utilities.h"

#include <QAction>
#include <QMenu>

namespace {

// An item that shows a special folder in the active column, or a special file in its
// folder.
struct TLocationItem
{
    const char* Name;
    const char* Caption;
    std::string (*Folder)();
    bool IsFile = false;
};

// clang-format off
const TLocationItem ProgramLocations[] = {
    {"SysLocMenu_Containers", "Containers", GetContainersPath},
    {"SysLocMenu_Locations", "Locations", GetLocationsPath},
    {"SysLocMenu_Plugins", "Plugins", GetPluginsPath},
    {"SysLocMenu_Send", "Send", GetSendPath},
    {"SysLocMenu_SendDrag", "Send Drag", GetSendDragPath},
    {"SysLocMenu_Skins", "Skins", GetSkinsPath},
    {"SysLocMenu_ThisProgram", "This Program", GetProgramDir},
    {"SysLocMenu_Tools", "Tools", GetToolsPath},
};

const TLocationItem SystemLocations[] = {
    {"SysLocMenu_Desktop", "Desktop", GetDesktopPath},
    {"SysLocMenu_Documents", "Documents", GetDocumentsPath},
    {"SysLocMenu_Favorites", "Favorites", GetFavoritesPath},
    {"SysLocMenu_Movies", "Movies", GetMoviesPath},
    {"SysLocMenu_Music", "Music", GetMusicPath},
    {"SysLocMenu_Pictures", "Pictures", GetPicturesPath},
    {"SysLocMenu_ProgramFiles", "Program Files", GetProgramFilesPath},
    {"SysLocMenu_ProgramLinks", "Program Links", GetProgramLinksPath},
    {"SysLocMenu_Recent", "Recent", GetRecentPath},
    {"SysLocMenu_Temporary", "Temporary", GetTempPathA},
};

const TLocationItem MiscellaneousLocations[] = {
    {"SysLocMenu_ApplicationData", "Application Data", GetApplicationDataPath},
    {"SysLocMenu_CommonFiles", "Common Files", GetCommonFilesPath},
    {"SysLocMenu_Cookies", "Cookies", GetCookiesPath},
    {"SysLocMenu_Fonts", "Fonts", GetFontsPath},
    {"SysLocMenu_HostFiles", "Host files", GetHostsFileName, true},
    {"SysLocMenu_InternetCacheMenu", "Internet Cache", GetInternetCachePath},
    {"SysLocMenu_OperatingSystem", "Operating System", GetOperatorPath},
    {"SysLocMenu_QuickLaunch", "Quick Launch", GetQuickLaunchPath},
    {"SysLocMenu_Startup", "Startup", GetStartupPath},
};

const TLocationItem SharedLocations[] = {
    {"SysLocMenu_SharedDesktop", "Desktop", GetSharedDesktopPath},
    {"SysLocMenu_SharedDocuments", "Documents", GetSharedDocumentsPath},
    {"SysLocMenu_SharedFavorites", "Favorites", GetSharedFavoritesPath},
    {"SysLocMenu_SharedProgramLinks", "Program Links", GetSharedProgramLinksPath},
    {"SysLocMenu_SharedStartup", "Startup", GetSharedStartupPath},
};
// clang-format on

// The item belongs to the menu: a click from a menu that a later build replaced would
// be read with that build's titles.
bool IsInMenu(const QMenu* root, const QAction& item)
{
    for (const QObject* holder = item.parent(); holder != nullptr; holder = holder->parent())
        if (holder == root)
            return true;
    return false;
}

// The heading of a link menu names what it hands to the program.
std::string LinkMenuHeading(const std::string& title, TShiftState shift)
{
    if (IsKeyShiftIn(shift, ssShift))
        return title + ": Parent directory";
    if (IsKeyShiftIn(shift, ssCtrl))
        return title + ": Active reference";
    return title + ": Active title";
}

// A bold first item without an action.
void InsertMenuHeading(QMenu& menu, const std::string& caption)
{
    auto* heading = new QAction(QString::fromStdString(EscapeMenuCaption(caption)), &menu);
    const QList<QAction*> items = menu.actions();
    menu.insertAction(items.isEmpty() ? nullptr : items.front(), heading);
    menu.setDefaultAction(heading);
}

// The title handed to a send program: the dragged title, with Ctrl its reference, with
// Shift its folder.
std::string SendSourceOf(const std::string& dragged, TShiftState shift)
{
    const std::string title = IsKeyShiftIn(shift, ssCtrl) ? GetWhenReference(dragged) : dragged;
    return IsKeyShiftIn(shift, ssShift) ? ExcludeEndBackslash(GetParentPath(title)) : title;
}

} // namespace

// ---- Building ----

void TMainForm::BuildFileMenuNavigate(QMenu& menu)
{
    const auto add = [this](QMenu& into, const char* name, const char* caption, const char* shortcut,
                            std::function<void()> run) {
        AddMenuCommand(into, *this, name, caption, shortcut, std::move(run));
    };
    const auto onActive = [this](std::function<void(TColumn&)> run) {
        return [this, run = std::move(run)] {
            if (TColumn* column = ActiveColumn())
                run(*column);
        };
    };
    QMenu& programLocations = *AddSubmenu(menu, "ProgramLocationsMenu", "Program locations");
    for (const TLocationItem& item : ProgramLocations)
        add(programLocations, item.Name, item.Caption, "", [this, &item] { GoToPath(item.Folder(), true); });
    AddSubmenu(menu, "LocationsMenu", "Locations");
    AddSubmenu(menu, "HistoryMenu", "History");
    add(menu, "TreeNavigatorMenu", "Tree navigator dialog", "I", [this] { TreeNavigatorMenuClick(); });
    add(menu, "NavigateToDirectoryMenu", "Navigate to directory", "Ctrl+I", [this] { NavigateToDirectoryMenuClick(); });
    add(menu, "PreviousDirectoryMenu", "Previous directory", "\\",
        onActive([](TColumn& column) { column.EnterPreviousDirectory(0); }));
    add(menu, "SysLocMenu_PartitionRoot", "Partition root", "Ctrl+\\",
        onActive([this](TColumn& column) { GoToPath(IncludeEndBackslash(GetDrivePart(column.ActiveTitle)), true); }));
    add(menu, "SysLocMenu_TerminalRoot", "Terminal root", "Shift+\\",
        onActive([this](TColumn& column) { GoToPath(GetDrivePart(column.ActiveTitle), false); }));
    add(menu, "DefaultDirectoryMenu", "Default directory", "Num /", [this] { LoadDefaultDirectory(); });
    add(menu, "ParentDirectoryMenu", "Parent directory", "BkSp",
        onActive([](TColumn& column) { column.EnterParentDirectory(0); }));
    add(menu, "LoadDirectoryMenu", "Load directory", "L",
        onActive([](TColumn& column) { column.Com_LoadDirectory(0); }));
    add(menu, "LoadAllDirectoriesMenu", "Load all directories", "Ctrl+L",
        onActive([](TColumn& column) { column.Com_LoadDirectory(ShiftOf(ssCtrl)); }));
    add(menu, "SetAsActiveFileMenu", "Set as active file", "Shift+L",
        onActive([](TColumn& column) { column.Com_LoadActiveTitle(); }));
    PathsHistory.OnSelect = [this](const std::string& title, int32_t type, int32_t offset, int64_t key) {
        HistoryMenuSelect(title, type, offset, key);
    };
}

void TMainForm::BuildFileMenuSystemLocations(QMenu& menu)
{
    const auto addAll = [this](QMenu& into, const auto& items) {
        for (const TLocationItem& item : items)
            AddMenuCommand(into, *this, item.Name, item.Caption, "",
                           [this, &item] { GoToPath(item.Folder(), !item.IsFile); });
    };
    addAll(menu, SystemLocations);
    addAll(*AddSubmenu(menu, "SysLocMenu_Miscellaneous", "Miscellaneous"), MiscellaneousLocations);
    addAll(*AddSubmenu(menu, "SysLocMenu_Shared", "Shared"), SharedLocations);
}

// ---- Navigation ----

void TMainForm::GoToPath(const std::string& path, bool isDirectory)
{
    TTraced trace;
    trace.Run([&] {
        Press.DragShiftState |= ShiftOf(ssAlt);
        // An empty path would list the drives: a folder this system lacks goes nowhere.
        if (path.empty())
            return trace.Raise("The system has no such location.");
        if (TColumn* column = ActiveColumn()) {
            column->EnterDirectory(Press.DragShiftState, path, isDirectory);
            trace.TakeOver();
        }
    });
    trace.ShowFailure("Failed to load path.");
}

void TMainForm::HistoryMenuSelect(const std::string& title, int32_t type, int32_t offset, int64_t key)
{
    TColumn* column = ActiveColumn();
    if (column == nullptr)
        return;
    column->LoadDirectory(
        {.RememberPrevious = true, .ContainerIndex = -1, .Title = title, .Type = type, .TopOffset = offset, .Key = key});
    FocusColumn(-1, false);
}

void TMainForm::LoadDefaultDirectory()
{
    TColumn* column = ActiveColumn();
    if (column == nullptr)
        return;
    const std::string& title = column->DefaultTitle;
    column->LoadFolderFromHistory(IsDriveName(title) ? title : GetParentPath(title), true);
}

// ---- The link-folder menus ----

void TMainForm::SetupFileMenuLinkMenus()
{
    PathsHistory.Setup(*findChild<QAction*>("HistoryMenu")->menu());
    SetupSendMenu(*findChild<QAction*>("LocationsMenu")->menu(), "", true, false, "*.lnk", GetLocationsPath(), 0);
    SetupSendMenu(*findChild<QAction*>("SendFileMenu")->menu(), "Send", false, true, "*.lnk", GetSendPath(), 0);
}

void TMainForm::SetupSendMenu(QMenu& item, const std::string& title, bool locationsMode, bool dragBound,
                              const std::string& filter, const std::string& folder, TShiftState shift)
{
    TTraced trace;
    try {
        QAction& holder = *item.menuAction();
        const TColumn* source = GetColumn(Press.DragSourceColumn);
        const int32_t sourceCount = source != nullptr ? source->GetItemCount() : 0;
        if (IsKeyShiftIn(shift, ssAlt) || (dragBound && sourceCount == 0)) {
            EmptyMenu(item);
            holder.setEnabled(false);
            return;
        }
        holder.setEnabled(true);
        EmptyMenu(item);
        if (locationsMode) {
            LocationsMenuRoot = &item;
            LocationsShiftState = shift;
            LoadMenuWithFiles(item, GetLocationsPath(), filter, true, false, true, "",
                              [this](QAction& clicked) { LocationsMenuClick(clicked); });
        } else {
            SendMenuRoot = &item;
            SendSourceTitle.clear();
            SendDestTitle.clear();
            SendUsesSource = dragBound;
            const bool otherItem = Press.DragItemIndex != Press.OperationItemIndex && Press.DragItemIndex >= 0 &&
                                   Press.DragItemIndex < sourceCount;
            SendUsesDest = dragBound && (Press.DragSourceColumn != ActiveColumnIndex || otherItem);
            const TColumn* destination = ActiveColumn();
            // A container is no folder to hand over.
            if (SendUsesDest && (destination == nullptr || destination->ContainerIndex >= 0)) {
                holder.setEnabled(false);
                return;
            }
            if (SendUsesSource)
                SendSourceTitle = SendSourceOf(Press.DragItemTitle, shift);
            if (SendUsesDest)
                SendDestTitle = destination->ActiveTitle;
            LoadMenuWithFiles(item, folder, filter, dragBound, false, dragBound, "",
                              [this](QAction& clicked) { SendMenuClick(clicked); });
        }
        if (trace.TakeOver())
            EmptyMenu(item);
        else if (!title.empty())
            InsertMenuHeading(item, LinkMenuHeading(title, shift));
    }
    TRACED_CATCH(trace)
}

void TMainForm::SendMenuClick(const QAction& item)
{
    if (!IsInMenu(SendMenuRoot, item))
        return;
    TTraced trace;
    trace.Run([&] {
        const std::string file = GetMenuItemFileName(item);
        if (SendUsesSource && !IsLinkToProgram(file))
            return trace.Raise("The file must be a link to a program.", SendSourceTitle, SendDestTitle);
        const std::string source = ExcludeEndBackslash(SendSourceTitle);
        if (SendUsesDest)
            MyRunFileWithDest(file, source, SendDestTitle, GetParentPath(SendDestTitle), "", false, true);
        else
            MyRunFile(file, source, GetParentPath(source), "", false, true);
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to run file.");
}

void TMainForm::LocationsMenuClick(const QAction& item)
{
    if (!IsInMenu(LocationsMenuRoot, item))
        return;
    TTraced trace;
    trace.Run([&] {
        const std::string file = GetMenuItemFileName(item);
        if (!IsLnkFile(file))
            return;
        TLinkFile link;
        link.Load(file, false);
        if (trace.TakeOver())
            return;
        // A link to a file, or to a folder that is gone, leads nowhere.
        TColumn* column = ActiveColumn();
        if (column == nullptr || !link.IsTargetDirectory() || !IsDirectory(link.Target))
            return;
        LocationsShiftState |= ShiftOf(ssAlt);
        column->EnterDirectory(LocationsShiftState, link.Target, true);
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to go to location.");
}
