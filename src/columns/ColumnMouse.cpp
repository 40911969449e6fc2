// The column's mouse operations: the press record, the choice of the option slot for a
// gesture and the execution of the operation by its name.

#include "columns/Column.h"

#include "columns/BoardsServices.h"
#include "columns/MainWindowColumns.h"
#include "columns/MainWindowItemPaint.h"
#include "columns/MainWindowMouse.h"
#include "columns/MainWindowServices.h"

#include "core/errors/Error.h"
#include "core/errors/Traced.h"
#include "core/files/PathNames.h"
#include "core/settings/ProgramOptions.h"

#include <array>
#include <string_view>

namespace {

// The operations that click one command of the File menu (after enabling it) or of the
// File-drag menu (after enabling that).
struct TCommandOperation
{
    std::string_view Name;
    bool Drag;
    std::string_view Command;
};

constexpr std::array<TCommandOperation, 28> CommandOperations{{
    {"Delete", false, "DeleteFileMenu"},
    {"Edit", false, "EditFileMenu"},
    {"Edit streams", false, "EditFileStreamsMenu"},
    {"Edit streams (autoload)", false, "EditFileStreamsAutoloadMenu"},
    {"View", false, "ViewFileMenu"},
    {"Recycle item", false, "RecycleContainerItemMenu"},
    {"Recycle file", false, "RecycleFileMenu"},
    {"Rename file", false, "RenameFileMenu"},
    {"Rename item", false, "RenameContainerItemMenu"},
    {"Set as background", false, "SetAsBackgroundPicture"},
    {"Set as wallpaper", false, "SetAsWallpaperMenu"},
    {"Copy", true, "FileDragMenu_Copy"},
    {"Drop-copy", true, "FileDragMenu_DropCopy"},
    {"Copy as", true, "FileDragMenu_CopyAs"},
    {"Copy as last numbered", true, "FileDragMenu_CopyAsLastNumbered"},
    {"Copy as link", true, "FileDragMenu_CopyAsLink"},
    {"Convert picture", true, "FileDragMenu_ConvertPicture"},
    {"Drop-convert picture", true, "FileDragMenu_DropConvertPicture"},
    {"Copy as hard-link", true, "FileDragMenu_CopyAsHardLink"},
    {"Enter this directory", true, "FileDragMenu_EnterThisDir"},
    {"Insert item", true, "FileDragMenu_InsertItem"},
    {"Move", true, "FileDragMenu_Move"},
    {"Drop-move", true, "FileDragMenu_DropMove"},
    {"Move as", true, "FileDragMenu_MoveAs"},
    {"Move as last numbered", true, "FileDragMenu_MoveAsLastNumbered"},
    {"Search duplicates", true, "FileDragMenu_SearchDuplicates"},
    {"Set with source path", true, "FileDragMenu_SetWithSourceColumn"},
    {"Switch columns", true, "FileDragMenu_SwitchColumns"},
}};

const TCommandOperation* FindCommandOperation(const std::string& name)
{
    for (const TCommandOperation& operation : CommandOperations)
        if (operation.Name == name)
            return &operation;
    return nullptr;
}

bool HoldsDouble(TShiftState shift)
{
    return (shift & ShiftOf(ssDouble)) != 0;
}

// The option slots of one gesture kind, by button.
struct TButtonSlots
{
    const std::string& Left;
    const std::string& Right;
    const std::string& Middle;

    const std::string& For(TMouseButton button) const
    {
        return button == mbLeft ? Left : button == mbRight ? Right : Middle;
    }
};

const std::string NoOperation;

TButtonSlots TypeSlots()
{
    const TProgramOptions& o = ProgramOptions;
    return {o.LMBTypeOperation, o.RMBTypeOperation, o.MMBTypeOperation};
}

TButtonSlots DragTypeSlots()
{
    const TProgramOptions& o = ProgramOptions;
    return {o.LMBDragTypeOperation, o.RMBDragTypeOperation, NoOperation};
}

TButtonSlots DragNameSlots()
{
    const TProgramOptions& o = ProgramOptions;
    return {o.LMBDragNameOperation, o.RMBDragNameOperation, NoOperation};
}

TButtonSlots HeaderSlots()
{
    const TProgramOptions& o = ProgramOptions;
    return {o.LMBColumnHeaderOperation, o.RMBColumnHeaderOperation, o.MMBColumnHeaderOperation};
}

// A click released on the name of the item it pressed: a single left click runs nothing,
// so that a double click runs the name's operation once.
const std::string& ClickNameSlot(TMouseButton button, TShiftState shift)
{
    const TProgramOptions& o = ProgramOptions;
    if (button == mbLeft)
        return HoldsDouble(shift) ? o.LMBNameOperation : NoOperation;
    return button == mbRight ? o.RMBNameOperation : o.MMBNameOperation;
}

TMouseMenuSettings GetMouseMenuSettings()
{
    const TProgramOptions& o = ProgramOptions;
    return {o.MouseMenuActive, o.MouseMenuTranslucency, o.MouseMenuSensitivity,     o.MouseMenuItemWidth,
            o.ItemsFontName,   o.ItemsFontSize,         o.MouseMenuItemExtraHeight, o.MouseMenuOperation};
}

// Runs a chosen mouse operation traced as the calling dispatcher's own step; "None" does
// nothing and succeeds.
template <class Body>
void RunMouseOperation(const std::string& operation, Body&& body,
                       std::source_location where = std::source_location::current())
{
    if (operation == "None") {
        FunStatContext.Reset(fsPerfect);
        return;
    }
    TTraced trace(where);
    trace.Run([&] { body(TSeam<TMainWindowMouse>::Get()); }, where);
}

void EndColumnDrag()
{
    TSeam<TMainWindowMouse>::Get().GetPressRecord().ColumnDragActive = false;
    TSeam<TBoardsServices>::Get().EndColumnDrag();
}

} // namespace

void TColumn::BindMouseEvents()
{
    FileList->OnMouseDown = [this](MyTPanel* sender, TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
        FileListMouseDown(sender, button, shift, x, y);
    };
    FileList->OnMouseUp = [this](MyTPanel* sender, TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
        FileListMouseUp(sender, button, shift, x, y);
    };
    FileList->OnMouseMove = [this](MyTPanel* sender, TShiftState shift, int32_t x, int32_t y) {
        FileListMouseMove(sender, shift, x, y);
    };
    FileList->OnDragOver = [this](MyTPanel* sender, QObject* source, int32_t x, int32_t y, TDragState state,
                                  bool& accept) { FileListDragOver(sender, source, x, y, state, accept); };
    FileList->OnDragDrop = [this](MyTPanel* sender, QObject* source, int32_t x, int32_t y) {
        FileListDragDrop(sender, source, x, y);
    };
    FileList->OnEndDrag = [this](MyTPanel* sender, QObject* target, int32_t x, int32_t y) {
        FileListEndDrag(sender, target, x, y);
    };
    FileList->OnEnter = [this](MyTPanel* sender) { FileListEnter(sender); };
    const auto wheel = [this](MyTPanel* sender, TShiftState shift, bool& handled, QPoint mousePos) {
        FileListMouseWheel(sender, shift, handled, mousePos);
    };
    FileList->OnMouseWheelDown = wheel;
    FileList->OnMouseWheelUp = wheel;
    HeaderButton->OnMouseDown = [this](MyTPanel* sender, TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
        HeaderButtonMouseDown(sender, button, shift, x, y);
    };
}

QPoint TColumn::ListToScreen(int32_t x, int32_t y) const
{
    return FileList->mapToGlobal(QPoint(FileList->Border + x, FileList->Border + y));
}

bool TColumn::IsRealItem(int32_t index) const
{
    return index >= 0 && index < GetItemCount();
}

bool TColumn::IsOnBadge(int32_t index, int32_t x, int32_t y)
{
    const QRect area = FileList->GetItemAreaRect(index);
    return x - area.left() < GetBadgeWidth(true) && y - area.top() < FileList->GetLineHeight();
}

std::string TColumn::GetPressedTitle(int32_t item) const
{
    if (FileList->Empty)
        return GetParentPath(ActiveTitle);
    return GetItem(item >= 0 ? item : FileList->FocusIndex).Title;
}

void TColumn::ArmMouseMenu(int32_t x, int32_t y)
{
    TSeam<TMainWindowMouse>::Get().SetupMouseMenu(*FileList, ListToScreen(x, y), GetMouseMenuSettings(),
                                                  [this](const std::string& operation, QPoint screenPos) {
                                                      MouseMenuChoose(operation, screenPos);
                                                  });
}

void TColumn::FileListMouseDown(MyTPanel*, TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    TTraced trace;
    try {
        TSeam<TMainWindowColumns>::Get().FocusColumn(Index, false);
        TSeam<TMainWindowItemPaint>::Get().HideFileHover();
        const int32_t item = FileList->GetItemAt(x, y);
        // The press focused the item; the menus and commands that follow read its title.
        if (item >= 0)
            SetInactiveFocus();
        TPressRecord& press = TSeam<TMainWindowMouse>::Get().GetPressRecord();
        press.DragMouseButton = button;
        press.DragShiftState = shift;
        press.DragSourceColumn = Index;
        press.DragItemIndex = item;
        press.DragStartX = x;
        press.DragStartY = y;
        press.DragItemTitle = GetPressedTitle(item);
        if (button == mbRight && item >= 0 && !FileList->Empty)
            ArmMouseMenu(x, y);
        // Without a movement threshold every left and right click ends in a drop.
        if (button != mbMiddle)
            FileList->BeginDrag();
        if (button == mbLeft) {
            press.ColumnDragActive = true;
            TSeam<TBoardsServices>::Get().StartColumnDrag();
        }
    }
    TRACED_CATCH(trace)
}

void TColumn::FileListMouseUp(MyTPanel*, TMouseButton button, TShiftState, int32_t x, int32_t y)
{
    EndColumnDrag();
    // The pressed list keeps the mouse, so a middle gesture ends in its own column.
    if (button == mbMiddle)
        FileListMouse(mbMiddle, TSeam<TMainWindowMouse>::Get().GetPressRecord().DragShiftState, x, y);
}

void TColumn::FileListDragDrop(MyTPanel*, QObject* source, int32_t x, int32_t y)
{
    if (FindColumnByList(source) != nullptr)
        DropColumnDrag(x, y);
    else if (TSeam<TMainWindowMouse>::Get().IsPlayList(source))
        DropPlayList();
    else if (TSeam<TMainWindowMouse>::Get().IsDirectoryTree(source))
        DropDirectoryTree();
}

// The main window's commands act on the active column's focused item, so the item dropped
// on becomes the focused one before the dispatch.
void TColumn::DropColumnDrag(int32_t x, int32_t y)
{
    const int32_t item = FileList->GetItemAt(x, y);
    if (item >= 0)
        FocusIndex(item);
    EndColumnDrag();
    TMainWindowMouse& mouse = TSeam<TMainWindowMouse>::Get();
    mouse.CloseMouseMenu();
    mouse.SetHotTrackItem(*this, item);
    const TPressRecord& press = mouse.GetPressRecord();
    FileListMouse(press.DragMouseButton, press.DragShiftState, x, y);
}

void TColumn::FileListEndDrag(MyTPanel*, QObject*, int32_t, int32_t)
{
    EndColumnDrag();
    TSeam<TMainWindowMouse>::Get().CloseMouseMenu();
}

void TColumn::FileListMouse(TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    TTraced trace;
    try {
        TSeam<TMainWindowColumns>::Get().FocusColumn(Index, false);
        TPressRecord& press = TSeam<TMainWindowMouse>::Get().GetPressRecord();
        press.OperationItemIndex = FileList->GetItemAt(x, y);
        TColumn* source = TSeam<TMainWindowServices>::Get().GetColumn(press.DragSourceColumn);
        // A press record from no column (none was pressed yet) has no gesture to end.
        if (source != nullptr)
            ChooseFileListMouseOperation(*source, press.DragItemIndex, press.DragStartX, press.DragStartY,
                                         press.OperationItemIndex, x, y, button, shift);
    }
    TRACED_CATCH(trace)
}

void TColumn::ChooseFileListMouseOperation(TColumn& source, int32_t sourceItem, int32_t pressX, int32_t pressY,
                                           int32_t releaseItem, int32_t x, int32_t y, TMouseButton button,
                                           TShiftState shift)
{
    const bool sameColumn = &source == this;
    const std::string* operation = &NoOperation;
    if (sourceItem >= 0) {
        if (sameColumn && releaseItem == sourceItem)
            operation = IsOnBadge(releaseItem, x, y) ? &TypeSlots().For(button) : &ClickNameSlot(button, shift);
        else
            // Where the drag began chooses between the badge's and the name's slots.
            operation = source.IsOnBadge(sourceItem, pressX, pressY) ? &DragTypeSlots().For(button)
                                                                     : &DragNameSlots().For(button);
    } else if (!sameColumn) {
        operation = &DragNameSlots().For(button);
    } else if (releaseItem < 0 && button == mbRight) {
        operation = &ProgramOptions.RMBNameOperation;
    }
    if (!operation->empty())
        ChooseMouseOperation(*operation, shift, ListToScreen(x, y));
}

void TColumn::ChooseMouseOperation(const std::string& operation, TShiftState shift, QPoint screenPos)
{
    RunMouseOperation(operation, [&](TMainWindowMouse& mouse) {
        if (operation == "File menu") {
            mouse.ShowFileMenu(screenPos, shift);
        } else if (operation == "Inter-board file-drag menu") {
            mouse.ShowInterBoardFileDragMenu(screenPos, shift);
        } else if (operation == "System menu" || operation == "System-drag menu") {
            mouse.ShowContextMenu(mouse.GetPressRecord().DragItemIndex, screenPos, shift,
                                  operation == "System-drag menu");
        } else if (operation == "File-drag menu") {
            mouse.EnableFileDragMenuItems(shift);
            mouse.PopupFileDragMenu(screenPos);
        } else if (operation == "Properties") {
            mouse.EnableFileMenuItems(shift);
            mouse.ClickCommand(IsKeyShiftIn(shift, ssCtrl) ? "ReferencePropertiesMenu" : "FilePropertiesMenu");
        } else if (operation == "Run" || operation == "Run maximized") {
            mouse.EnableFileMenuItems(shift);
            Com_Run(shift, operation == "Run maximized");
        } else if (operation == "Toggle selection" || operation == "Toggle down selection" ||
                   operation == "Toggle up selection") {
            mouse.EnableFileMenuItems(shift);
            const TShiftState run = operation == "Toggle selection"        ? shift
                                    : operation == "Toggle down selection" ? ShiftOf(ssShift)
                                                                           : ShiftOf(ssCtrl);
            if (mouse.IsSelectMenuEnabled())
                ToggleSelection(run, false);
        } else if (const TCommandOperation* command = FindCommandOperation(operation)) {
            if (command->Drag)
                mouse.EnableFileDragMenuItems(shift);
            else
                mouse.EnableFileMenuItems(shift);
            mouse.ClickCommand(std::string(command->Command));
        }
    });
}

void TColumn::MouseMenuChoose(const std::string& operation, QPoint screenPos)
{
    EndColumnDrag();
    ChooseMouseOperation(operation, TSeam<TMainWindowMouse>::Get().GetPressRecord().DragShiftState, screenPos);
}

void TColumn::HeaderButtonMouseDown(MyTPanel*, TMouseButton button, TShiftState shift, int32_t x, int32_t)
{
    ChooseHeaderButtonMouseOperation(HeaderSlots().For(button), shift, x);
}

void TColumn::ChooseHeaderButtonMouseOperation(const std::string& operation, TShiftState shift, int32_t x)
{
    RunMouseOperation(operation, [&](TMainWindowMouse& mouse) {
        if (operation == "Directory tree navigator dialog") {
            mouse.ClickCommand("TreeNavigatorMenu");
        } else if (operation == "Enter parent directory") {
            EnterParentDirectory(shift);
        } else if (operation == "Parent System menu") {
            TPressRecord& press = mouse.GetPressRecord();
            press.DragSourceColumn = Index;
            press.DragItemIndex = -1;
            // Just under the header; Shift alone asks for the parent directory's menu.
            const QPoint below =
                HeaderButton->mapToGlobal(QPoint(HeaderButton->Border + x, HeaderButton->height() - 1));
            mouse.ShowContextMenu(-1, below, ShiftOf(ssShift), false);
        } else if (operation == "Toggle fixed attribute") {
            mouse.ClickCommand("FixedAttrMenu");
        } else if (operation == "Toggle thumbnails attribute") {
            mouse.ClickCommand("ThumbAttrMenu");
        }
    });
}
