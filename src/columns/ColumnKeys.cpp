// The file list's key map: each key runs one File-menu command of the main window (after
// the main window has enabled the commands for the active column), or a column method.
// The menus show the keys in their captions only, so the map is the one place that runs
// a command for a key.

#include "columns/Column.h"

#include "columns/BoardsServices.h"
#include "columns/MainWindowContainers.h"
#include "columns/MainWindowMouse.h"

#include "core/errors/Traced.h"
#include "core/forms/VirtualKeys.h"

#include <array>
#include <string>
#include <string_view>

namespace {

// The modifier states a row of the map tells apart; any other combination runs nothing.
enum TKeyState : int
{
    ksNone,
    ksCtrl,
    ksShift,
    ksAlt,
    ksCtrlShift,
    ksCtrlAlt,
    KeyStateCount,
    ksUnnamed = KeyStateCount
};

constexpr uint16_t SlashKey = 191;
constexpr uint16_t BackslashKey = 220;

constexpr uint16_t FunctionKey(int number)
{
    return static_cast<uint16_t>(VK_F1 + number - 1);
}

// The File-menu commands of a key: one clicked whatever the modifiers, or one per
// modifier state, where an empty name runs nothing (or a column method, see RunMethod).
struct TKeyCommands
{
    uint16_t Key;
    std::string_view Any;
    std::array<std::string_view, KeyStateCount> ByState;
};

// clang-format off
constexpr TKeyCommands KeyCommands[] = {
    {VK_LEFT, {}, {"", "DeleteLastColumnMenu", "DeleteThisColumnMenu", "RotateColumnsToLeftMenu", "", ""}},
    {VK_RIGHT, {}, {"", "InsertColumnAtEndMenu", "InsertColumnHereMenu", "RotateColumnsToRightMenu", "", ""}},
    {VK_INSERT, {}, {"ToggleThisSelectionMenu", "", "", "", "", ""}},
    {VK_DELETE, "RecycleContainerItemMenu", {}},
    {'A', {}, {"EditFileStreamsMenu", "EditFileStreamsAutoloadMenu", "EditFileDescriptionMenu", "",
               "LinkAsStartupItemMenu", ""}},
    {'C', "ClipFileTitlesMenu", {}},
    {'D', {}, {"NewDirectoryMenu", "", "", "", "LinkAsDesktopMenu", ""}},
    {'E', {}, {"EditFileMenu", "", "", "", "LinkAsSendDragMenu", ""}},
    {'F', "NewFileMenu", {}},
    {'G', {}, {"GoToReferenceMenu", "GoToContainerItemTargetMenu", "", "", "", ""}},
    {'I', {}, {"TreeNavigatorMenu", "NavigateToDirectoryMenu", "", "", "", ""}},
    {'L', {}, {"LoadDirectoryMenu", "LoadAllDirectoriesMenu", "SetAsActiveFileMenu", "", "LinkAsLocationMenu", ""}},
    {'M', {}, {"RenameContainerItemMenu", "MultiRenameItemMenu", "", "", "", ""}},
    {'N', {}, {"RenameFileMenu", "MultiRenameFileMenu", "", "", "", ""}},
    {'P', {}, {"FilePropertiesMenu", "ReferencePropertiesMenu", "", "", "", ""}},
    {'Q', {}, {"OpenFileWithMenu", "", "", "", "LinkAsQuickLaunchMenu", ""}},
    {'S', {}, {"SearchFileMenu", "SearchFileInHomeMenu", "SearchFileInHome2Menu", "FindCommonTextMenu",
               "LinkAsSendMenu", ""}},
    {'T', {}, {"LocateFileMenu", "LocateNextFileMenu", "LocatePreviousFileMenu", "LocateLastNumberedMenu",
               "LinkAsToolMenu", "LocateFirstNumberedMenu"}},
    {'U', "PasteClipboardPictureMenu", {}},
    {'W', {}, {"SetAsBackgroundPicture", "SetAsWallpaperMenu", "", "", "", ""}},
    {'X', {}, {"AssociateExtensionMenu_Document", "AssociateExtensionMenu_Generic",
               "AssociateExtensionMenu_SaveUpdate", "", "", ""}},
    {VK_MULTIPLY, {}, {"ToggleFilesSelectionMenu", "ToggleAllSelectionMenu", "", "", "", ""}},
    {VK_ADD, {}, {"FilteredSelectMenu", "SelectAllMenu", "SelectFilesMenu", "", "", ""}},
    {VK_SUBTRACT, {}, {"FilteredDeselectMenu", "DeselectAllMenu", "DeselectFilesMenu", "", "", ""}},
    {FunctionKey(2), {}, {"ClipActiveNameMenu", "ClipActivePathMenu", "ClipActiveTitleMenu",
                          "ClipActiveReferenceMenu", "", ""}},
    {FunctionKey(3), "ViewNextMenu", {}},
    {FunctionKey(4), "ViewPreviousMenu", {}},
    {FunctionKey(5), {}, {"ViewFileMenu", "ViewClipboardPictureMenu", "ViewStegNoiseMenu", "", "", ""}},
    {FunctionKey(6), {}, {"ViewMediaInDirMenu", "ViewThisMediaInDirMenu", "", "", "", ""}},
    {FunctionKey(10), {}, {"FixedAttrMenu", "ThumbAttrMenu", "ShowPathsInContainerMenu", "", "", ""}},
    {FunctionKey(11), "RecycleFileMenu", {}},
    {FunctionKey(12), "DeleteFileMenu", {}},
    {SlashKey, {}, {"DefaultDirectoryMenu", "SysLocMenu_PartitionRoot", "SysLocMenu_TerminalRoot", "", "", ""}},
    {BackslashKey, {}, {"PreviousDirectoryMenu", "SysLocMenu_PartitionRoot", "SysLocMenu_TerminalRoot", "", "", ""}},
};
// clang-format on

const TKeyCommands* FindKeyCommands(uint16_t key)
{
    for (const TKeyCommands& row : KeyCommands)
        if (row.Key == key)
            return &row;
    return nullptr;
}

// The main keyboard's digits; those of the numeric pad have keys of their own.
bool IsDigitKey(uint16_t key)
{
    return key >= '0' && key <= '9';
}

bool IsMapKey(uint16_t key)
{
    return key == VK_BACK || key == VK_RETURN || IsDigitKey(key) || FindKeyCommands(key) != nullptr;
}

TKeyState GetKeyState(TShiftState shift)
{
    if (IsKeyShiftEmpty(shift))
        return ksNone;
    if (IsKeyShiftOnly(shift, ssCtrl))
        return ksCtrl;
    if (IsKeyShiftOnly(shift, ssShift))
        return ksShift;
    if (IsKeyShiftOnly(shift, ssAlt))
        return ksAlt;
    if (IsKeyShiftPairOnly(shift, ssCtrl, ssShift))
        return ksCtrlShift;
    if (IsKeyShiftPairOnly(shift, ssCtrl, ssAlt))
        return ksCtrlAlt;
    return ksUnnamed;
}

// A digit alone shows the board of that shortcut; with Ctrl it shows a container in the
// column, with Shift it copies the column's selection into one. Digits 1 to 9 name
// containers 0 to 8, and 0 names container 9.
void RunDigit(TColumn& column, uint16_t key, TKeyState state)
{
    TMainWindowContainers& containers = TSeam<TMainWindowContainers>::Get();
    const int32_t container = (key - '0' + 9) % 10;
    if (state == ksNone) {
        TBoardsServices& boards = TSeam<TBoardsServices>::Get();
        const int32_t board = boards.FindBoardByShortcut(static_cast<char>(key));
        if (board >= 0)
            boards.ShowBoard(board);
    } else if (state == ksCtrl) {
        containers.ShowContainer(container);
    } else if (state == ksShift) {
        containers.CopyToContainerMenuClick(container, &column);
    }
}

// The keys that call a column method directly; false when the key and state have none.
bool RunMethod(TColumn& column, uint16_t key, TShiftState shift, TKeyState state)
{
    if (key == VK_BACK)
        column.EnterParentDirectory(shift);
    else if (key == VK_RETURN)
        column.Com_Run(shift, false);
    else if (key == VK_LEFT && state == ksNone)
        column.FocusPreviousColumn();
    else if (key == VK_RIGHT && state == ksNone)
        column.FocusNextColumn();
    else if (key == VK_INSERT && (state == ksCtrl || state == ksShift))
        column.ToggleSelection(shift, false);
    else if (IsDigitKey(key))
        RunDigit(column, key, state);
    else
        return false;
    return true;
}

void ClickKeyCommand(uint16_t key, TKeyState state)
{
    const TKeyCommands* row = FindKeyCommands(key);
    if (row == nullptr)
        return;
    const std::string_view command = !row->Any.empty()   ? row->Any
                                     : state < ksUnnamed ? row->ByState[static_cast<size_t>(state)]
                                                         : std::string_view();
    if (!command.empty())
        TSeam<TMainWindowMouse>::Get().ClickCommand(std::string(command));
}

} // namespace

void TColumn::BindKeyEvents()
{
    FileList->OnKeyDown = [this](MyTPanel* sender, uint16_t& key, TShiftState shift) {
        FileListKeyDown(sender, key, shift);
    };
}

void TColumn::FileListKeyDown(MyTPanel*, uint16_t& key, TShiftState shift)
{
    if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) {
        key = 0;
        return;
    }
    TTraced trace;
    try {
        // Painting the focused item is what records the list's focus otherwise; a key acts
        // on the item the list focuses now, painted or not.
        if (FileList->FocusIndex != LastFocus)
            SetInactiveFocus();
        TSeam<TMainWindowMouse>::Get().EnableFileMenuItems(shift);
        const uint16_t pressed = key;
        // Insert goes on to the list after its command, as the keys the map does not know.
        if (IsMapKey(pressed) && pressed != VK_INSERT)
            key = 0;
        const TKeyState state = GetKeyState(shift);
        if (!RunMethod(*this, pressed, shift, state))
            ClickKeyCommand(pressed, state);
    }
    TRACED_CATCH(trace)
}
