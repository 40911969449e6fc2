#include "mainwindow/MainForm.h"

#include "mainwindow/FileDragRules.h"
#include "mainwindow/MenuItems.h"

#include "fileops/CopyAsForm.h"
#include "fileops/FileForm.h"

#include "viewing/StegServices.h"

#include "columns/Column.h"
#include "columns/FileLauncher.h"

#include "core/desktop/SystemMenu.h"
#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/files/LinkFile.h"
#include "core/files/PathNames.h"
#include "core/files/ProgramFolders.h"
#include "core/forms/InputState.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"
#include "core/text/StringList.h"
#include "core/text/Text.h"

#include "panels/MyTPanel.h"

#include "host/Drives.h"

#include <QAction>
#include <QMenu>

#include <optional>
#include <vector>

namespace {

// Where the system menu opens and the row it must leave visible.
struct TSystemMenuPlace
{
    QPoint Point;
    QRect Exclude;
};

// Below the row of the source's focus in the destination list, keeping that row
// uncovered; a list of thumbnails, or an item past the list's end, keeps a given point.
TSystemMenuPlace PlaceSystemMenu(MyTPanel& list, int32_t row, bool overRow, int32_t x, int32_t y, int32_t anchorX)
{
    TSystemMenuPlace place{QPoint(x < 0 ? anchorX : x, y), QRect()};
    if (!overRow && y >= 0)
        return place;
    const QPoint origin = list.mapToGlobal(QPoint(0, 0));
    const int32_t top = origin.y() + list.Border + list.GetItemHeight() * row;
    place.Point.setY(top + list.GetItemHeight());
    if (overRow)
        place.Exclude = QRect(QPoint(origin.x() + list.Border, top),
                              QPoint(origin.x() + list.GetItemsWidth(true) - 1, top + list.GetItemHeight()));
    return place;
}

std::string SystemMenuCaption(TShiftState shift, bool drag)
{
    const std::string menu = drag ? "System drag" : "System";
    if (IsKeyShiftIn(shift, ssShift))
        return menu + ": Parent directory";
    if (IsKeyShiftIn(shift, ssCtrl))
        return menu + ": Active reference";
    return menu + ": Active title";
}

std::string SystemMenuTitle(const std::string& activeTitle, TShiftState shift)
{
    const std::string title = IsKeyShiftIn(shift, ssCtrl) ? GetWhenReference(activeTitle) : activeTitle;
    return IsKeyShiftIn(shift, ssShift) ? ExcludeEndBackslash(GetParentPath(title)) : title;
}

// A drive stands for its root folder.
std::string SystemMenuPath(const std::string& title)
{
    return IsDriveName(title) ? IncludeEndBackslash(title) : title;
}

// A container's selection spans folders, so the items go by their full paths.
std::vector<std::string> SelectedPaths(const TColumn& column)
{
    TStringList titles;
    column.GetSelectedTitles(titles, false);
    std::vector<std::string> paths;
    for (int32_t i = 0; i < titles.Count(); ++i)
        paths.push_back(SystemMenuPath(titles[i]));
    return paths;
}

} // namespace

void TMainForm::BuildFileDragMenu()
{
    FileDragMenu = new QMenu(this);
    QMenu& menu = *FileDragMenu;
    AddMenuTitle(menu, "FileDragMenu_Title", "File-drag");
    const auto add = [this](QMenu& into, const char* name, const char* caption, std::function<void()> run) {
        AddMenuCommand(into, *this, name, caption, "", std::move(run));
    };
    const auto copyMove = [this](const char* operation, bool fromDrop) {
        return [this, operation, fromDrop] { OnCopyMove(operation, fromDrop); };
    };
    const auto onColumns = [this](std::function<void(TColumn&, TColumn&)> command) {
        return [this, command = std::move(command)] { OnDragColumns(command); };
    };
    const auto copyAs = [this](bool move, bool lastNumbered) {
        return [this, move, lastNumbered] {
            const TColumn* destination = ActiveColumn();
            if (destination != nullptr)
                Com_CopyAs(Press.DragItemTitle, GetParentPath(destination->ActiveTitle), move, lastNumbered);
        };
    };

    add(menu, "FileDragMenu_Copy", "Copy *", copyMove("Copy", false));
    add(menu, "FileDragMenu_Move", "Move *", copyMove("Move", false));
    add(menu, "FileDragMenu_ConvertPicture", "Convert picture *", copyMove("Convert picture", false));

    QMenu& moreCopy = *AddSubmenu(menu, "FileDragMenu_MoreCopy", "More copy");
    add(moreCopy, "FileDragMenu_CopyAs", "Copy as", copyAs(false, false));
    add(moreCopy, "FileDragMenu_MoveAs", "Move as", copyAs(true, false));
    moreCopy.addSeparator();
    add(moreCopy, "FileDragMenu_CopyAsLastNumbered", "Copy as last numbered", copyAs(false, true));
    add(moreCopy, "FileDragMenu_MoveAsLastNumbered", "Move as last numbered", copyAs(true, true));
    moreCopy.addSeparator();
    add(moreCopy, "FileDragMenu_DropCopy", "Drop-copy *", copyMove("Copy", true));
    add(moreCopy, "FileDragMenu_DropMove", "Drop-move *", copyMove("Move", true));
    add(moreCopy, "FileDragMenu_DropConvertPicture", "Drop-convert picture *", copyMove("Convert picture", true));
    moreCopy.addSeparator();
    add(moreCopy, "FileDragMenu_CopyAsLink", "Copy as link *", copyMove("Copy as link", false));
    add(moreCopy, "FileDragMenu_CopyAsHardLink", "Copy as hard-link", [this] { CopyAsHardLink(); });

    menu.addSeparator();
    AddSubmenu(menu, "FileDragMenu_Send", "Send");

    QMenu& miscellaneous = *AddSubmenu(menu, "FileDragMenu_Miscellaneous", "Miscellaneous");
    add(miscellaneous, "FileDragMenu_DirectLocate", "Direct locate", [this] { DirectLocate(); });
    add(miscellaneous, "FileDragMenu_SearchDuplicates", "Search duplicates",
        [this] { SearchFile(-1, Press.DragItemTitle); });
    miscellaneous.addSeparator();
    add(miscellaneous, "FileDragMenu_SendToProgram", "Send to program", [this] { SendToProgram(false); });
    add(miscellaneous, "FileDragMenu_SendRefToProgram", "Send reference to program", [this] { SendToProgram(true); });
    add(miscellaneous, "FileDragMenu_System", "System",
        [this] { ShowContextMenu(Press.DragItemIndex, -1, -1, Press.DragShiftState, true); });
    miscellaneous.addSeparator();
    AddSubmenu(miscellaneous, "FileDragMenu_AttachStream", "Attach stream");
    add(miscellaneous, "FileDragMenu_Compare", "Compare *", copyMove("Compare", false));
    miscellaneous.addSeparator();
    add(miscellaneous, "FileDragMenu_StegIn", "Steg-in", [this] { StegDrag(true); });
    add(miscellaneous, "FileDragMenu_StegOut", "Steg-out", [this] { StegDrag(false); });

    QMenu& container = *AddSubmenu(menu, "FileDragMenu_Container", "Container");
    add(container, "FileDragMenu_InsertItem", "Insert item *", onColumns([this](TColumn& source, TColumn& destination) {
            destination.InsertContainerItem(source, Press.OperationItemIndex);
        }));
    add(container, "FileDragMenu_RelocateItem", "Relocate item *",
        onColumns([this](TColumn& source, TColumn& destination) {
            destination.RelocateContainerItem(source, Press.OperationItemIndex);
        }));

    menu.addSeparator();
    QMenu& column = *AddSubmenu(menu, "FileDragMenu_Column", "Column");
    add(column, "FileDragMenu_SetWithSourceColumn", "Set with source column",
        onColumns([](TColumn& source, TColumn& destination) { destination.SetWithSourceColumn(source); }));
    add(column, "FileDragMenu_SwitchColumns", "Switch columns",
        onColumns([](TColumn& source, TColumn& destination) { destination.SwitchColumns(source); }));
    // A dragged link shows its target folder.
    add(column, "FileDragMenu_EnterThisDir", "Enter this directory",
        onColumns([](TColumn& source, TColumn& destination) {
            destination.EnterDirectory(ShiftOf(ssAlt), GetWhenReference(source.ActiveTitle), true);
        }));
}

TColumn* TMainForm::GetDragSourceColumn() const
{
    return GetColumn(Press.DragSourceColumn);
}

void TMainForm::OnDragColumns(const std::function<void(TColumn& source, TColumn& destination)>& command)
{
    TColumn* source = GetDragSourceColumn();
    TColumn* destination = ActiveColumn();
    if (source != nullptr && destination != nullptr)
        command(*source, *destination);
}

void TMainForm::EnableFileDragMenuItems(TShiftState shift)
{
    // What a failure leaves: nothing runs on the last drag's decisions.
    std::vector<TFileDragItemState> states = GetFileDragMenuStates(TFileDragFacts{});
    for (TFileDragItemState& state : states)
        state.Enabled = false;
    TTraced trace;
    try {
        TColumn* source = GetDragSourceColumn();
        if (source != nullptr && Press.DragItemIndex < 0)
            Press.DragItemIndex = source->FileList->FocusIndex;
        states =
            GetFileDragMenuStates(GetFileDragFacts(source, Press.DragItemIndex, Press.DragItemTitle, ActiveColumn()));
    }
    TRACED_CATCH(trace)
    for (const TFileDragItemState& state : states)
        if (auto* action = findChild<QAction*>(QString::fromStdString(state.Name)))
            action->setEnabled(state.Enabled && !IsWaitingFileDragCommand(state.Name));
    for (const std::string_view name : WaitingFileDragCommands)
        if (auto* action = findChild<QAction*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()))))
            action->setEnabled(false);
    SetupSendMenu(*findChild<QAction*>("FileDragMenu_Send")->menu(), "Send-drag", false, true, "*.lnk",
                  GetSendDragPath(), shift);
    auto* attachStream = findChild<QAction*>("FileDragMenu_AttachStream");
    TColumn* destination = ActiveColumn();
    if (attachStream->isEnabled() && destination != nullptr)
        destination->SetupAttachStream(*attachStream->menu());
    else
        attachStream->menu()->clear();
}

void TMainForm::PopupFileDragMenu(QPoint screenPos)
{
    RunPopupMenu(*FileDragMenu, screenPos);
}

void TMainForm::OnCopyMove(const std::string& operation, bool fromDrop)
{
    BeginBusy();
    TTraced trace;
    trace.Run([&] {
        TColumn* source = GetDragSourceColumn();
        TColumn* destination = ActiveColumn();
        if (source == nullptr || destination == nullptr)
            return;
        const bool move = FileOperation::Is(operation, FileOperation::Move);
        const bool intoContainer = !fromDrop && destination->ContainerIndex >= 0;
        // Onto a container, a copy adds references and copies no file.
        if (intoContainer && FileOperation::Is(operation, FileOperation::Copy)) {
            destination->CopyToContainer(*source, true, false);
            return;
        }
        bool moved = false;
        if (intoContainer && move && source->ContainerIndex >= 0) {
            moved = destination->MoveToContainer(*source);
        } else if (FileForm != nullptr) {
            const std::string& target = destination->ActiveTitle;
            const bool done = FileForm->Dialog(true, operation, *source, FindContainer(source->ContainerIndex),
                                               Press.DragItemIndex, GetParentPath(source->ActiveTitle), target,
                                               GetFileNamePrefix(GetPathName(target)), false, fromDrop);
            moved = done && move;
        }
        // The moved files' entries now name their new places.
        if (moved && source->ContainerIndex >= 0)
            source->ReloadContainer(-1);
    });
    trace.ShowFailure("Failed to " + operation + ".");
    EndBusyAndCheck();
    FocusColumn(-1, false);
}

void TMainForm::Com_CopyAs(const std::string& sourceTitle, const std::string& destinationFolder, bool move,
                           bool lastNumbered)
{
    BeginBusy();
    TTraced trace;
    trace.Run([&] {
        TColumn* source = GetDragSourceColumn();
        TColumn* destination = ActiveColumn();
        if (source == nullptr || destination == nullptr || destination->ContainerIndex >= 0 ||
            source->SelectedCount > 0 || CopyAsForm == nullptr)
            return;
        std::string proposed = destination->ActiveTitle;
        if (lastNumbered) {
            const int32_t last = destination->FindNumberedEnd(false);
            proposed = GetNextSuffixNumFileName(last >= 0 ? destination->GetItem(last).Title : proposed);
            if (trace.TakeOver())
                return;
        }
        if (!CopyAsForm->Dialog(sourceTitle, destinationFolder, GetPathName(proposed), false, move, lastNumbered) ||
            !IsDirectory(sourceTitle) || FileForm == nullptr)
            return;
        // The folder's content goes into the newly named folder.
        FileForm->Dialog(true, move ? "Move" : "Copy", *source, FindContainer(source->ContainerIndex),
                         Press.DragItemIndex, IncludeEndBackslash(sourceTitle),
                         IncludeEndBackslash(destinationFolder) + CopyAsForm->TypedName() + "\\", "", true, false);
    });
    trace.ShowFailure(move ? "Failed to move as." : "Failed to copy as.");
    EndBusyAndCheck();
}

// A failure is recorded only.
void TMainForm::CopyAsHardLink()
{
    BeginBusy();
    TTraced trace;
    trace.Run([&] {
        const TColumn* destination = ActiveColumn();
        if (destination == nullptr || destination->ContainerIndex >= 0 || CopyAsForm == nullptr)
            return;
        const std::string& target = destination->ActiveTitle;
        CopyAsForm->Dialog(Press.DragItemTitle, GetParentPath(target), GetPathName(target), true, false, false);
    });
    EndBusyAndCheck();
}

// Steg-in hides the dragged file in the destination picture; steg-out takes the file
// hidden in the dragged picture out into the destination's folder.
void TMainForm::StegDrag(bool stegIn)
{
    const TColumn* destination = ActiveColumn();
    if (destination == nullptr)
        return;
    BeginBusy();
    const std::string& target = destination->ActiveTitle;
    TSeam<TStegServices>::Get().StegDialog(Press.DragItemTitle, stegIn ? target : GetParentPath(target), stegIn);
    EndBusyAndCheck();
}

void TMainForm::DirectLocate()
{
    TColumn* destination = ActiveColumn();
    if (destination == nullptr)
        return;
    const int32_t index = destination->IndexOfName(GetPathName(Press.DragItemTitle));
    if (index >= 0)
        destination->FocusIndex(index);
    else
        ShowWarningMessage("There is no such file name to focus.");
}

// A started program reads its arguments as host paths.
void TMainForm::SendToProgram(bool reference)
{
    TTraced trace;
    trace.Run([&] {
        const TColumn* destination = ActiveColumn();
        if (destination == nullptr)
            return;
        std::string source = Press.DragItemTitle;
        if (reference) {
            source = GetWhenReference(source);
            if (trace.TakeOver())
                return;
        }
        const std::optional<std::string> hostSource = host::WindowsToHost(source);
        if (!hostSource)
            return trace.Raise("Invalid file title.", source);
        MyRunFile(destination->ActiveTitle, *hostSource, GetParentPath(source), "", false, true);
        trace.TakeOver();
    });
    trace.ShowFailure(reference ? "Failed to send reference to program." : "Failed to send file to program.");
}

void TMainForm::ShowContextMenu(int32_t itemIndex, int32_t x, int32_t y, TShiftState shift, bool drag)
{
    BeginBusy();
    TTraced trace;
    trace.Run([&] {
        TColumn* source = GetDragSourceColumn();
        TColumn* destination = ActiveColumn();
        if (IsKeyShiftIn(shift, ssAlt) || source == nullptr || destination == nullptr)
            return;
        if (drag && destination->ContainerIndex >= 0) {
            ShowWarningMessage("The destination can't be a container.");
            return;
        }
        const std::string title = SystemMenuTitle(source->ActiveTitle, shift);
        MyTPanel& list = *destination->FileList;
        const bool overRow = itemIndex < destination->GetItemCount() && !destination->ThumbAttr;
        const TSystemMenuPlace place = PlaceSystemMenu(list, source->FileList->FocusIndex - source->FileList->TopIndex,
                                                       overRow, x, y, GetFocusedItemAnchor(list).x());
        ShowSystemMenu(SystemMenuCaption(shift, drag), title, GetParentPath(title), place.Point.x(), place.Point.y(),
                       place.Exclude);
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to show \"System\" menu.");
    // A command of the menu may have changed files.
    ForceCheckPending = true;
    EndBusy();
}

void TMainForm::ShowSystemMenu(const std::string& caption, const std::string& title, const std::string& workingFolder,
                               int32_t x, int32_t y, QRect exclude)
{
    TTraced trace;
    trace.Run([&] {
        const std::string path = SystemMenuPath(title);
        TColumn* active = ActiveColumn();
        const QPoint point(x, y);
        bool renameChosen = false;
        if (active != nullptr && active->SelectedCount > 0) {
            if (!DisplayContextMenuPaths(SelectedPaths(*active), this, point, renameChosen, caption, workingFolder,
                                         exclude))
                trace.RaiseSystem("Failed to display context menu.", path);
            return;
        }
        if (!DisplayContextMenu(path, this, point, renameChosen, caption, workingFolder, exclude))
            return trace.RaiseSystem("Failed to display context menu.", path);
        if (renameChosen && active != nullptr)
            active->Com_rename(false);
    });
}
