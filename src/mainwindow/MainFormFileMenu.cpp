#include "mainwindow/MainForm.h"

#include "mainwindow/Boards.h"
#include "mainwindow/FileMenuStates.h"
#include "mainwindow/MenuItems.h"
#include "mainwindow/ToolFormServices.h"

#include "viewing/FileViewer.h"
#include "viewing/StegServices.h"

#include "columns/Column.h"
#include "columns/FileDialogServices.h"
#include "columns/FileLauncher.h"
#include "columns/ToolServices.h"

#include "core/errors/Traced.h"
#include "core/files/FileExtensions.h"
#include "core/files/FileInfo.h"
#include "core/files/KnownFolders.h"
#include "core/files/PathNames.h"
#include "core/files/ProgramFolders.h"
#include "core/forms/InputState.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"
#include "core/text/AsciiCase.h"

#include "panels/MyTPanel.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include <algorithm>
#include <functional>

namespace {

constexpr const char* OptionsPathValue = "OptionsPath";

using TColumnCommand = std::function<void(TColumn&)>;

// A command on the active column; no column, no command.
std::function<void()> OnActiveColumn(TMainForm& window, TColumnCommand run)
{
    return [&window, run = std::move(run)] {
        if (TColumn* column = window.ActiveColumn())
            run(*column);
    };
}

// Adds the items of a submenu whose commands all act on the active column.
class TColumnItems
{
public:
    TColumnItems(TMainForm& window, QMenu& menu) : Window(window), Menu(menu) {}
    QAction* Add(const char* name, const char* caption, const char* shortcut, TColumnCommand run)
    {
        return AddMenuCommand(Menu, Window, name, caption, shortcut, OnActiveColumn(Window, std::move(run)));
    }

private:
    TMainForm& Window;
    QMenu& Menu;
};

std::string GetStoredOptionsPath()
{
    return GetProgramRegistryText("Quillomber", "", OptionsPathValue);
}

// The option files' folder moves at the next save to the folder of the active file.
void MarkOptionsPath(TColumn& column)
{
    SetProgramRegistryText("Quillomber", "", OptionsPathValue, GetParentPath(column.ActiveTitle));
}

void DefaultOptionsPath()
{
    SetProgramRegistryText("Quillomber", "", OptionsPathValue, "");
}

// Only a folder is entered; a missing one, or a file of that name, changes nothing.
void GoToOptionsPath(TColumn& column)
{
    std::string path = ExcludeEndBackslash(GetStoredOptionsPath());
    if (path.empty())
        path = ExcludeEndBackslash(GetOptionsPath());
    if (!IsDirectory(path)) {
        ShowWarningMessage("There is no such directory.");
        return;
    }
    column.EnterDirectory(ShiftOf(ssAlt), IncludeEndBackslash(path), true);
}

// One row of the link-as table: where the link goes and what it records.
struct TLinkAsItem
{
    const char* Name;
    const char* Caption;
    const char* Shortcut;
    const char* TypeName;
    std::string (*Folder)();
    bool Minimised;
    bool WorkingFolder;
    bool ParentDirectory;
    bool FolderPrefix;
    const char* Arguments;
};

// clang-format off
const TLinkAsItem LinkAsItems[] = {
    {"LinkAsToolMenu", "Tool", "Ctrl+Shift+T", "Tool", GetToolsPath, false, true, false, true, ""},
    {"LinkAsLocationMenu", "Location", "Ctrl+Shift+L", "Location", GetLocationsPath, false, false, true, false, ""},
    {"LinkAsSendMenu", "Send", "Ctrl+Shift+S", "Send item", GetSendPath, false, false, false, true, "\"%n%\""},
    {"LinkAsSendDragMenu", "Send-drag", "Ctrl+Shift+E", "Send-drag item", GetSendDragPath, false, false, false, true,
     "\"%t%\""},
    {"LinkAsDesktopMenu", "Desktop", "Ctrl+Shift+D", "Desktop item", GetDesktopPath, false, true, false, false, ""},
    {"LinkAsQuickLaunchMenu", "Quick launch", "Ctrl+Shift+Q", "Quick launch item", GetQuickLaunchPath, false, true,
     false, false, ""},
    {"LinkAsStartupItemMenu", "Startup", "Ctrl+Shift+A", "Startup item", GetStartupPath, true, true, false, false, ""},
};
// clang-format on

void RunLinkAs(TColumn& column, const TLinkAsItem& item)
{
    column.Com_LinkAs(item.TypeName, item.Folder(), item.Arguments, item.FolderPrefix, item.ParentDirectory,
                      item.WorkingFolder, item.Minimised);
}

// The focused file's hash, checked against one the user pastes.
void HashActiveFile(TMainForm& window, const TColumn& column)
{
    window.BeginBusy();
    TTraced trace;
    trace.Run([&] { TSeam<TToolFormServices>::Get().PasswordGeneratorDialog(column.ActiveTitle); });
    trace.ShowFailure("Failed to hash file.");
    window.EndBusyAndCheck();
}

// The lowest-bit plane opens in the desktop's program for pictures.
void ViewStegNoise(TColumn& column)
{
    const std::string noise = TSeam<TStegServices>::Get().ViewNoise(column.ActiveTitle);
    if (noise.empty())
        return;
    TTraced trace;
    trace.Run([&] { MyRunFile(noise, "", "", "", false, true); });
    trace.ShowFailure("Failed to view steg noise.");
}

// A picture may hide the text to edit: without automatic steg its password is asked
// first, and the editor opens whatever the answer.
void EditStreamsAutoload(TColumn& column)
{
    TStegServices& steg = TSeam<TStegServices>::Get();
    if (!steg.IsAutoStegActive() && SameTextAscii(GetExtension(column.ActiveTitle), ".png"))
        steg.AutoStegDialog(true);
    column.Com_EditStreams(fsmMainData);
}

void ApplyFileMenuStates(const TMainForm& window, const std::map<std::string, TFileMenuItemState>& states)
{
    for (const auto& [name, state] : states) {
        auto* action = window.findChild<QAction*>(QString::fromStdString(name));
        if (action == nullptr)
            continue;
        action->setEnabled(state.Enabled);
        if (state.Checked)
            action->setChecked(*state.Checked);
    }
}

void SetChecked(const TMainForm& window, const char* name, bool checked)
{
    if (auto* action = window.findChild<QAction*>(name))
        action->setChecked(checked);
}

} // namespace

// ---- Building ----

void TMainForm::BuildFileMenu()
{
    FileMenu = new QMenu(this);
    QMenu& menu = *FileMenu;
    AddMenuTitle(menu, "FilePopupMenu", "File");
    BuildFileMenuAttributes(*AddSubmenu(menu, "Attributes1", "Attributes"));
    BuildFileMenuNavigate(*AddSubmenu(menu, "Navigate1", "Navigate"));
    AddSubmenu(menu, "PartitionsMenu", "Partitions");
    BuildFileMenuSystemLocations(*AddSubmenu(menu, "SystemLocationsMenu", "System locations"));
    menu.addSeparator();
    BuildFileMenuVisibleColumns(*AddSubmenu(menu, "VisibleColumnsMenu", "Visible columns"));
    BuildFileMenuGroup(*AddSubmenu(menu, "Group1", "Group of columns"));
    menu.addSeparator();
    QMenu& dropToDirectory = *AddSubmenu(menu, "FileMenu_DropToDir", "Drop to directory");
    AddSubmenu(dropToDirectory, "FileMenu_CopyToDir", "Copy *");
    AddSubmenu(dropToDirectory, "FileMenu_MoveToDir", "Move *");
    AddSubmenu(dropToDirectory, "FileMenu_ConvertPictureToDir", "Convert picture *");
    AddSubmenu(menu, "SendFileMenu", "Send");
    AddMenuCommand(menu, *this, "FileSystemMenuMenu", "System menu", "",
                   [this] { ShowContextMenu(Press.DragItemIndex, -1, -1, Press.DragShiftState, false); });
    menu.addSeparator();
    BuildFileMenuInterBoard(*AddSubmenu(menu, "InterBoard1", "Inter-board"));
    BuildFileMenuOften(*AddSubmenu(menu, "Often1", "Often"));
    BuildFileMenuMiscellaneous(*AddSubmenu(menu, "Miscellaneous1", "Miscellaneous"));
    BuildFileMenuView(*AddSubmenu(menu, "ViewMenu", "View && Edit"));
    BuildFileMenuSearch(*AddSubmenu(menu, "Search1", "Search"));
    BuildFileMenuSelect(*AddSubmenu(menu, "SelectMenu", "Select"));
    menu.addSeparator();
    AddSubmenu(menu, "ContainerModeMenu", "Show container");
    AddSubmenu(menu, "CopyToContainerMenu", "Copy to container *");
    BuildFileMenuContainer(*AddSubmenu(menu, "Container1", "Container operations"));
}

void TMainForm::BuildFileMenuAttributes(QMenu& menu)
{
    BuildColumnAttributeItems(menu);
    menu.addSeparator();
    QMenu& specialPaths = *AddSubmenu(menu, "SpecialPathsMenu", "Special paths");
    TColumnItems paths(*this, specialPaths);
    paths.Add("MarkSpecialPath_Options", "Mark \"Options\"", "", MarkOptionsPath)->setCheckable(true);
    AddMenuCheckCommand(specialPaths, *this, "DefaultSpecialPath_Options", "Default \"Options\"", "",
                        DefaultOptionsPath);
    paths.Add("GoToSpecialPath_Options", "Go to \"Options\"", "", GoToOptionsPath);
    menu.addSeparator();
    AddMenuCommand(menu, *this, "EditBoardPropertiesMenu", "Edit board properties", "B",
                   [] { Boards->EditProperties(); });
}

void TMainForm::BuildFileMenuVisibleColumns(QMenu& menu)
{
    auto* group = new QActionGroup(&menu);
    for (int32_t count = 1; count <= 10; ++count) {
        const std::string number = std::to_string(count);
        QAction* item = AddMenuCheckCommand(menu, *this, "VisibleColumnsMenu" + number, number, "",
                                            [this, count] { VisibleColumnsMenuClick(count); });
        item->setData(count);
        group->addAction(item);
    }
}

void TMainForm::BuildFileMenuGroup(QMenu& menu)
{
    TColumnItems items(*this, menu);
    items.Add("InsertColumnAtEndMenu", "Insert column at end", "Ctrl+Right",
              [](TColumn& column) { column.Com_InsertColumnAtEnd(); });
    items.Add("DeleteLastColumnMenu", "Delete last column", "Ctrl+Left",
              [](TColumn& column) { column.Com_DeleteLastColumn(); });
    items.Add("InsertColumnHereMenu", "Insert column here", "Shift+Right",
              [](TColumn& column) { column.Com_InsertColumnHere(); });
    items.Add("DeleteThisColumnMenu", "Delete this column", "Shift+Left",
              [](TColumn& column) { column.Com_DeleteThisColumn(); });
    items.Add("RotateColumnsToRightMenu", "Rotate columns to right", "Alt+Right",
              [](TColumn& column) { column.Com_RotateColumnsToRight(); });
    items.Add("RotateColumnsToLeftMenu", "Rotate columns to left", "Alt+Left",
              [](TColumn& column) { column.Com_RotateColumnsToLeft(); });
}

void TMainForm::BuildFileMenuOften(QMenu& menu)
{
    TColumnItems items(*this, menu);
    RecycleFileMenu =
        items.Add("RecycleFileMenu", "Recycle file *", "F11", [](TColumn& column) { column.Com_Recycle(); });
    DeleteFileMenu = items.Add("DeleteFileMenu", "Delete file *", "F12", [](TColumn& column) { column.Com_Delete(); });
    items.Add("NewDirectoryMenu", "New directory", "D", [](TColumn& column) { column.Com_NewFile(nfkDirectory); });
    items.Add("NewFileMenu", "New file", "F", [](TColumn& column) { column.Com_NewFile(nfkFile); });
    items.Add("RenameFileMenu", "Rename file", "N", [](TColumn& column) { column.Com_rename(false); });
    items.Add("MultiRenameFileMenu", "Multi-rename file *", "Ctrl+N",
              [](TColumn& column) { column.MultiRenameFiles(); });
    items.Add("FilePropertiesMenu", "Properties", "P", [](TColumn& column) { column.Com_Properties(false); });
    items.Add("ReferencePropertiesMenu", "Reference properties", "Ctrl+P",
              [](TColumn& column) { column.Com_Properties(true); });
}

void TMainForm::BuildFileMenuMiscellaneous(QMenu& menu)
{
    BuildFileMenuAssociations(*AddSubmenu(menu, "AssociateExtensionMenu", "Associate extension"));
    QMenu& linkAs = *AddSubmenu(menu, "LinkAsMenu", "Link as item in");
    TColumnItems linkItems(*this, linkAs);
    for (const TLinkAsItem& item : LinkAsItems)
        linkItems.Add(item.Name, item.Caption, item.Shortcut, [&item](TColumn& column) { RunLinkAs(column, item); });
    QMenu& clip = *AddSubmenu(menu, "ClipActiveFileMenu", "Clip active file");
    TColumnItems clipItems(*this, clip);
    clipItems.Add("ClipActiveNameMenu", "Name", "F2", [](TColumn& column) { column.Com_ClipActiveName(); });
    clipItems.Add("ClipActivePathMenu", "Path", "Ctrl+F2", [](TColumn& column) { column.Com_ClipActivePath(); });
    clipItems.Add("ClipActiveTitleMenu", "Title", "Shift+F2", [](TColumn& column) { column.Com_ClipActiveTitle(); });
    clipItems.Add("ClipActiveReferenceMenu", "Reference", "Alt+F2",
                  [](TColumn& column) { column.Com_ClipActiveReference(); });
    TColumnItems items(*this, menu);
    ClipFileTitlesMenu =
        items.Add("ClipFileTitlesMenu", "Clip titles *", "C", [](TColumn& column) { column.Com_ClipFileTitles(); });
    items.Add("GoToReferenceMenu", "Go to reference", "G", [](TColumn& column) { column.Com_GoToReference(); });
    items.Add("OpenFileWithMenu", "Open with", "Q", [](TColumn& column) { column.Com_OpenFileWith(); });
    items.Add("PrintFileMenu", "Print", "", [](TColumn& column) { column.Com_print(); });
    items.Add("ManualRunMenu", "Manual run", "R", [](TColumn& column) { column.Com_ManualRun(); });
    items.Add("SetAsBackgroundPicture", "Set as background", "W",
              [this](TColumn& column) { ChangeBackPicture(column.ActiveTitle); });
    items.Add("SetAsWallpaperMenu", "Set as wallpaper", "Ctrl+W", [this](TColumn& column) {
        column.Com_SetFileAsWallpaper();
        ClickCommand("HideMenu");
    });
    items.Add("PasteClipboardPictureMenu", "Paste picture", "U",
              [](TColumn& column) { column.Com_PasteClipboardPicture(); });
    items.Add("HashFileMenu", "Hash file", "", [this](TColumn& column) { HashActiveFile(*this, column); });
}

void TMainForm::BuildFileMenuAssociations(QMenu& menu)
{
    const auto addType = [&](const char* name, const char* caption, const char* shortcut, std::function<void()> run) {
        AddMenuCheckCommand(menu, *this, name, caption, shortcut, run);
    };
    addType("AssociateExtensionMenu_Program", "Program", "", [this] { SetExtensionFileType(&ProgramFileExtensions); });
    addType("AssociateExtensionMenu_Document", "Document", "X",
            [this] { SetExtensionFileType(&DocumentFileExtensions); });
    addType("AssociateExtensionMenu_Generic", "Generic", "Ctrl+X", [this] { SetExtensionFileType(nullptr); });
    menu.addSeparator();
    addType("AssociateExtensionMenu_Audio", "Audio", "", [this] { SetExtensionViewerType(&AudioFileExtensions); });
    addType("AssociateExtensionMenu_Video", "Video", "", [this] { SetExtensionViewerType(&VideoFileExtensions); });
    addType("AssociateExtensionMenu_Text", "Text", "", [this] { SetExtensionViewerType(&TextFileExtensions); });
    addType("AssociateExtensionMenu_NoViewer", "None", "", [this] { SetExtensionViewerType(nullptr); });
    menu.addSeparator();
    AddMenuCommand(menu, *this, "AssociateExtensionMenu_SaveUpdate", "Save and update", "Shift+X",
                   [this] { SaveOptionsAndUpdate(); });
}

void TMainForm::ViewNext(TColumn& column, bool forward)
{
    if (forward)
        column.FileList->FocusNext();
    else
        column.FileList->FocusPrevious();
    column.SetActive();
    FileViewer->Do(column.ActiveTitle);
}

void TMainForm::BuildFileMenuView(QMenu& menu)
{
    TColumnItems items(*this, menu);
    items.Add("ViewNextMenu", "View next", "F3", [this](TColumn& column) { ViewNext(column, true); });
    items.Add("ViewPreviousMenu", "View previous", "F4", [this](TColumn& column) { ViewNext(column, false); });
    items.Add("ViewFileMenu", "View", "F5", [this](TColumn& column) {
        // A directory is not viewed.
        if (column.ActiveType != ftDirectory)
            FileViewer->Do(column.ActiveTitle);
    });
    AddMenuCommand(menu, *this, "ViewClipboardPictureMenu", "View clipboard picture", "Ctrl+F5",
                   [this] { FileViewer->ViewClipboardPicture(); });
    items.Add("ViewStegNoiseMenu", "View steg noise", "Shift+F5", ViewStegNoise);
    items.Add("ViewMediaInDirMenu", "View media in directory", "F6", [this](TColumn& column) {
        const std::string directory = column.ContainerIndex < 0 ? GetParentPath(column.ActiveTitle) : std::string();
        FileViewer->ViewMediaInDirectory(directory, column, 0, "");
    });
    items.Add("ViewThisMediaInDirMenu", "View this media in directory", "Ctrl+F6", [this](TColumn& column) {
        FileViewer->ViewMediaInDirectory(GetParentPath(column.ActiveTitle), column, 0, column.ActiveTitle);
    });
    items.Add("EditFileMenu", "Edit", "E", [](TColumn& column) { column.Com_Edit(""); });
    items.Add("EditFileStreamsMenu", "Edit streams", "A", [](TColumn& column) { column.Com_EditStreams(0); });
    items.Add("EditFileStreamsAutoloadMenu", "Edit streams (autoload)", "Ctrl+A", EditStreamsAutoload);
    items.Add("EditFileDescriptionMenu", "Edit description", "Shift+A",
              [](TColumn& column) { column.Com_EditStreams(2); });
    AddMenuCommand(menu, *this, "ActivateAutoStegOutMenu", "Activate auto steg-out", "",
                   [] { TSeam<TStegServices>::Get().AutoStegDialog(true); });
}

void TMainForm::BuildFileMenuSearch(QMenu& menu)
{
    TColumnItems items(*this, menu);
    items.Add("LocateFileMenu", "Locate file", "T", [](TColumn& column) { column.Com_LocateFile(); });
    items.Add("LocateNextFileMenu", "Locate next file", "Ctrl+T", [](TColumn& column) { column.Com_LocateNextFile(); });
    items.Add("LocatePreviousFileMenu", "Locate previous file", "Shift+T",
              [](TColumn& column) { column.Com_LocatePreviousFile(); });
    items.Add("LocateFirstNumberedMenu", "Locate first numbered", "Ctrl+Alt+T",
              [](TColumn& column) { column.Com_LocateNumbered(true); });
    items.Add("LocateLastNumberedMenu", "Locate last numbered", "Alt+T",
              [](TColumn& column) { column.Com_LocateNumbered(false); });
    items.Add("SearchHistoryMenu", "Search history", "H", [](TColumn& column) { column.Com_Search("", true); });
    AddMenuCommand(menu, *this, "SearchFileMenu", "Search file *", "S", [this] { SearchFile(-1, ""); });
    AddMenuCommand(menu, *this, "SearchFileInHomeMenu", "Search file in home *", "Ctrl+S",
                   [this] { SearchFile(0, ""); });
    AddMenuCommand(menu, *this, "SearchFileInHome2Menu", "Search file in home 2 *", "Shift+S",
                   [this] { SearchFile(1, ""); });
    items.Add("FindCommonTextMenu", "Find common text *", "Alt+S",
              [](TColumn& column) { column.Com_FindCommonText(); });
}

void TMainForm::BuildFileMenuSelect(QMenu& menu)
{
    TColumnItems items(*this, menu);
    items.Add("SelectFilesMenu", "Select files", "Shift+Num +", [](TColumn& column) { column.Com_SelectFiles(); });
    items.Add("SelectAllMenu", "Select all", "Ctrl+Num +", [](TColumn& column) { column.Com_SelectAll(); });
    items.Add("FilteredSelectMenu", "Filtered select all", "Num +",
              [](TColumn& column) { column.Com_FilteredSelect(); });
    items.Add("DeselectFilesMenu", "Deselect files", "Shift+Num -",
              [](TColumn& column) { column.Com_DeselectFiles(); });
    items.Add("DeselectAllMenu", "Deselect all", "Ctrl+Num -", [](TColumn& column) { column.Com_DeselectAll(); });
    items.Add("FilteredDeselectMenu", "Filtered deselect all", "Num -",
              [](TColumn& column) { column.Com_FilteredDeselect(); });
    items.Add("ToggleFilesSelectionMenu", "Toggle files", "Num *",
              [](TColumn& column) { column.Com_ToggleFilesSelection(); });
    items.Add("ToggleAllSelectionMenu", "Toggle all", "Ctrl+Num *",
              [](TColumn& column) { column.Com_ToggleAllSelection(); });
    items.Add("ToggleThisSelectionMenu", "Toggle this", "Ins",
              [](TColumn& column) { column.ToggleSelection({}, true); });
    items.Add("ToggleUpSelectionMenu", "Toggle up", "Ctrl+Ins",
              [](TColumn& column) { column.ToggleSelection(ShiftOf(ssCtrl), false); });
    items.Add("ToggleDownSelectionMenu", "Toggle down", "Shift+Ins",
              [](TColumn& column) { column.ToggleSelection(ShiftOf(ssShift), false); });
}

void TMainForm::BuildFileMenuContainer(QMenu& menu)
{
    TColumnItems items(*this, menu);
    items.Add("GoToContainerItemTargetMenu", "Go to file", "Ctrl+G",
              [](TColumn& column) { column.GoToContainerItemTarget(); });
    items.Add("ClearContainerMenu", "Clear", "", [](TColumn& column) { column.Com_ClearContainer(); });
    items.Add("RemoveDuplicateContainerItemsMenu", "Remove duplicates", "",
              [](TColumn& column) { column.RemoveDuplicateContainerItems(); });
    items.Add("RecycleContainerItemMenu", "Recycle item *", "Del",
              [](TColumn& column) { column.Com_RecycleContainerItem(); });
    items.Add("RenameContainerItemMenu", "Rename item", "M", [](TColumn& column) { column.Com_rename(true); });
    items.Add("MultiRenameItemMenu", "Multi-rename item *", "Ctrl+M",
              [](TColumn& column) { column.MultiRenameContainerItem(false); });
    items.Add("AddClipboardToContainerMenu", "Add from clipboard *", "",
              [](TColumn& column) { column.AddClipboardToContainer(); });
}

// ---- Enabling, clicking and showing ----

void TMainForm::ClickCommand(const std::string& name)
{
    auto* action = findChild<QAction*>(QString::fromStdString(name));
    if (action != nullptr && action->isEnabled())
        action->trigger();
}

void TMainForm::EnableFileMenuItems(TShiftState)
{
    TTraced trace;
    try {
        TFileMenuFacts facts = GetFileMenuFacts(ActiveColumn());
        facts.InterBoard = GetMarkedSourceFacts();
        ApplyFileMenuStates(*this, GetFileMenuStates(facts));
        SetInterBoardTitle(facts.InterBoard);
        SetupContainerMenus();
    }
    TRACED_CATCH(trace)
}

bool TMainForm::IsSelectMenuEnabled() const
{
    const auto* holder = findChild<QAction*>("SelectMenu");
    return holder != nullptr && holder->isEnabled();
}

void TMainForm::ShowFileMenu(int32_t x, int32_t y, TShiftState shift)
{
    TTraced trace;
    try {
        EnableFileMenuItems(shift);
        SetChecked(*this, ("VisibleColumnsMenu" + std::to_string(VisibleColumnCount)).c_str(), true);
        CheckColumnAttributes(shift);
        SetupDrivesMenus();
        CheckSpecialPaths();
        SetupFileMenuLinkMenus();
        const QPoint anchor = ActiveList() != nullptr ? GetFocusedItemAnchor(*ActiveList()) : QPoint();
        RunPopupMenu(*FileMenu, QPoint(x < 0 ? anchor.x() : x, y < 0 ? anchor.y() : y));
    }
    TRACED_CATCH(trace)
}

void TMainForm::ShowFileMenuAtFocusedItem(TShiftState shift)
{
    TColumn* column = ActiveColumn();
    if (column == nullptr)
        return;
    const int32_t focused = column->FileList->FocusIndex;
    Press.DragSourceColumn = ActiveColumnIndex;
    Press.DragShiftState = shift;
    Press.DragItemIndex = focused;
    Press.DragItemTitle = column->ActiveTitle;
    Press.OperationItemIndex = focused;
    // Showing enables the items first.
    ShowFileMenu(-1, -1, shift);
}

QPoint TMainForm::GetFocusedItemAnchor(MyTPanel& list) const
{
    return FocusedItemAnchor(list.mapToGlobal(QPoint(0, 0)), list.Border, list.GetItemsWidth(true),
                             list.GetItemHeight(), list.FocusIndex, list.TopIndex);
}

void TMainForm::CheckSpecialPaths()
{
    const std::string stored = GetStoredOptionsPath();
    const TColumn* column = ActiveColumn();
    SetChecked(*this, "DefaultSpecialPath_Options", stored.empty());
    SetChecked(*this, "MarkSpecialPath_Options",
               column != nullptr && !stored.empty() && SameTextAscii(stored, GetParentPath(column->ActiveTitle)));
}

// ---- Commands ----

void TMainForm::VisibleColumnsMenuClick(int32_t count)
{
    VisibleColumnCount = std::clamp(count, 1, 10);
    Reset(true);
    ReloadColumns();
    FocusColumn(-1, false);
}

void TMainForm::SearchFile(int32_t homeColumn, const std::string& title)
{
    TTraced trace;
    trace.Run([&] {
        if (homeColumn >= 0) {
            const int32_t board = Boards->FindSearchBoard();
            if (board >= 0) {
                Boards->ShowBoard(board);
                if (Boards->ActiveBoard == board)
                    FocusColumn(homeColumn, false);
            }
        }
        if (TColumn* column = ActiveColumn()) {
            column->Com_Search(title, false);
            trace.TakeOver();
        }
    });
    trace.ShowFailure("Failed to search.");
}

namespace {

std::string GetActiveExtension(const TColumn* column)
{
    return column != nullptr ? GetAssociableExtension(column->ActiveTitle) : std::string();
}

void MoveExtension(const std::string& extension, std::initializer_list<TFileExtensionList*> from,
                   TFileExtensionList* to)
{
    if (extension.empty())
        return;
    for (TFileExtensionList* list : from)
        list->Remove(extension);
    if (to != nullptr)
        to->Add(extension);
}

} // namespace

void TMainForm::SetExtensionFileType(TFileExtensionList* list)
{
    MoveExtension(GetActiveExtension(ActiveColumn()), {&ProgramFileExtensions, &DocumentFileExtensions}, list);
}

void TMainForm::SetExtensionViewerType(TFileExtensionList* list)
{
    MoveExtension(GetActiveExtension(ActiveColumn()), {&AudioFileExtensions, &VideoFileExtensions, &TextFileExtensions},
                  list);
}

void TMainForm::SaveOptionsAndUpdate()
{
    SetOptionsFileNames();
    if (OptionsSTL)
        OptionsSTL->Save(false, 0);
    ClickCommand("LoadAllDirectoriesMenu");
}
