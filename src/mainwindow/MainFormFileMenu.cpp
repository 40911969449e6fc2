#include "mainwindow/MainForm.h"

#include "mainwindow/MenuItems.h"

#include "columns/Column.h"
#include "core/files/PathNames.h"
#include "core/forms/InputState.h"
#include "core/forms/ModalSeam.h"

#include "panels/MyTPanel.h"

#include <QAction>
#include <QMenu>

#include <functional>

namespace {

// A command on the active column; no column, no command.
std::function<void()> OnActiveColumn(TMainForm& window, std::function<void(TColumn&)> run)
{
    return [&window, run = std::move(run)] {
        if (TColumn* column = window.ActiveColumn())
            run(*column);
    };
}

} // namespace

void TMainForm::BuildFileMenu()
{
    FileMenu = new QMenu(this);
    QMenu& menu = *FileMenu;
    AddMenuTitle(menu, "FilePopupMenu", "File");
    QMenu& often = *AddSubmenu(menu, "Often1", "Often");
    RecycleFileMenu = AddMenuCommand(often, *this, "RecycleFileMenu", "Recycle file *", "F11",
                                     OnActiveColumn(*this, [](TColumn& column) { column.Com_Recycle(); }));
    DeleteFileMenu = AddMenuCommand(often, *this, "DeleteFileMenu", "Delete file *", "F12",
                                    OnActiveColumn(*this, [](TColumn& column) { column.Com_Delete(); }));
    QMenu& miscellaneous = *AddSubmenu(menu, "Miscellaneous1", "Miscellaneous");
    ClipFileTitlesMenu = AddMenuCommand(miscellaneous, *this, "ClipFileTitlesMenu", "Clip titles *", "C",
                                        OnActiveColumn(*this, [](TColumn& column) { column.Com_ClipFileTitles(); }));
    QMenu& select = *AddSubmenu(menu, "SelectMenu", "Select");
    const auto add = [&](const char* name, const char* caption, const char* shortcut,
                         std::function<void(TColumn&)> run) {
        AddMenuCommand(select, *this, name, caption, shortcut, OnActiveColumn(*this, std::move(run)));
    };
    add("SelectFilesMenu", "Select files", "Shift+Num +", [](TColumn& column) { column.Com_SelectFiles(); });
    add("SelectAllMenu", "Select all", "Ctrl+Num +", [](TColumn& column) { column.Com_SelectAll(); });
    add("FilteredSelectMenu", "Filtered select all", "Num +", [](TColumn& column) { column.Com_FilteredSelect(); });
    add("DeselectFilesMenu", "Deselect files", "Shift+Num -", [](TColumn& column) { column.Com_DeselectFiles(); });
    add("DeselectAllMenu", "Deselect all", "Ctrl+Num -", [](TColumn& column) { column.Com_DeselectAll(); });
    add("FilteredDeselectMenu", "Filtered deselect all", "Num -",
        [](TColumn& column) { column.Com_FilteredDeselect(); });
    add("ToggleFilesSelectionMenu", "Toggle files", "Num *",
        [](TColumn& column) { column.Com_ToggleFilesSelection(); });
    add("ToggleAllSelectionMenu", "Toggle all", "Ctrl+Num *", [](TColumn& column) { column.Com_ToggleAllSelection(); });
    add("ToggleThisSelectionMenu", "Toggle this", "Ins", [](TColumn& column) { column.ToggleSelection({}, true); });
    add("ToggleUpSelectionMenu", "Toggle up", "Ctrl+Ins",
        [](TColumn& column) { column.ToggleSelection(ShiftOf(ssCtrl), false); });
    add("ToggleDownSelectionMenu", "Toggle down", "Shift+Ins",
        [](TColumn& column) { column.ToggleSelection(ShiftOf(ssShift), false); });
}

void TMainForm::ClickCommand(const std::string& name)
{
    auto* action = findChild<QAction*>(QString::fromStdString(name));
    if (action != nullptr && action->isEnabled())
        action->trigger();
}

// An empty list has nothing to work on; the list of drives holds no file to delete or
// recycle, though the drives' names can be clipped.
void TMainForm::EnableFileMenuItems(TShiftState)
{
    const TColumn* column = ActiveColumn();
    const bool empty = column == nullptr || column->GetItemCount() == 0;
    const bool drive = column != nullptr && IsDriveName(column->ActiveTitle);
    RecycleFileMenu->setEnabled(!empty && !drive);
    DeleteFileMenu->setEnabled(!empty && !drive);
    ClipFileTitlesMenu->setEnabled(!empty);
}

bool TMainForm::IsSelectMenuEnabled() const
{
    const TColumn* column = ActiveColumn();
    return column != nullptr && column->GetItemCount() > 0;
}

void TMainForm::ShowFileMenu(int32_t x, int32_t y, TShiftState shift)
{
    EnableFileMenuItems(shift);
    const QPoint anchor = ActiveList() != nullptr ? GetFocusedItemAnchor(*ActiveList()) : QPoint();
    RunPopupMenu(*FileMenu, QPoint(x < 0 ? anchor.x() : x, y < 0 ? anchor.y() : y));
}

void TMainForm::ShowFileMenuAtFocusedItem(TShiftState shift)
{
    ShowFileMenu(-1, -1, shift);
}

QPoint TMainForm::GetFocusedItemAnchor(MyTPanel& list) const
{
    return FocusedItemAnchor(list.mapToGlobal(QPoint(0, 0)), list.Border, list.GetItemsWidth(true),
                             list.GetItemHeight(), list.FocusIndex, list.TopIndex);
}

void TMainForm::SearchFile(int32_t, const std::string&)
{
}

void TMainForm::SetExtensionFileType(TStringList*)
{
}

void TMainForm::SetExtensionViewerType(TStringList*)
{
}
