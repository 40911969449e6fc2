#include "mainwindow/MainForm.h"

#include "columns/Column.h"
#include "core/files/PathNames.h"
#include "core/forms/InputState.h"

#include <QAction>

#include <functional>

namespace {

QAction* MakeCommand(TMainForm& window, const char* name, const char* caption, std::function<void(TColumn&)> run)
{
    auto* action = new QAction(QString::fromUtf8(caption), &window);
    action->setObjectName(QString::fromUtf8(name));
    QObject::connect(action, &QAction::triggered, &window, [&window, run = std::move(run)] {
        if (TColumn* column = window.ActiveColumn())
            run(*column);
    });
    return action;
}

} // namespace

void TMainForm::BuildFileMenuActions()
{
    RecycleFileMenu = MakeCommand(*this, "RecycleFileMenu", "&Recycle", [](TColumn& column) { column.Com_Recycle(); });
    DeleteFileMenu = MakeCommand(*this, "DeleteFileMenu", "&Delete", [](TColumn& column) { column.Com_Delete(); });
    ClipFileTitlesMenu = MakeCommand(*this, "ClipFileTitlesMenu", "&Clip file titles",
                                     [](TColumn& column) { column.Com_ClipFileTitles(); });
    BuildSelectionActions();
}

// The "Select" commands; the keys (Ins, Num +, Num -, Num *) click them.
void TMainForm::BuildSelectionActions()
{
    MakeCommand(*this, "SelectFilesMenu", "Select files", [](TColumn& column) { column.Com_SelectFiles(); });
    MakeCommand(*this, "SelectAllMenu", "Select all", [](TColumn& column) { column.Com_SelectAll(); });
    MakeCommand(*this, "FilteredSelectMenu", "Filtered select all",
                [](TColumn& column) { column.Com_FilteredSelect(); });
    MakeCommand(*this, "DeselectFilesMenu", "Deselect files", [](TColumn& column) { column.Com_DeselectFiles(); });
    MakeCommand(*this, "DeselectAllMenu", "Deselect all", [](TColumn& column) { column.Com_DeselectAll(); });
    MakeCommand(*this, "FilteredDeselectMenu", "Filtered deselect all",
                [](TColumn& column) { column.Com_FilteredDeselect(); });
    MakeCommand(*this, "ToggleFilesSelectionMenu", "Toggle files",
                [](TColumn& column) { column.Com_ToggleFilesSelection(); });
    MakeCommand(*this, "ToggleAllSelectionMenu", "Toggle all",
                [](TColumn& column) { column.Com_ToggleAllSelection(); });
    MakeCommand(*this, "ToggleThisSelectionMenu", "Toggle this",
                [](TColumn& column) { column.ToggleSelection({}, true); });
    MakeCommand(*this, "ToggleUpSelectionMenu", "Toggle up",
                [](TColumn& column) { column.ToggleSelection(ShiftOf(ssCtrl), false); });
    MakeCommand(*this, "ToggleDownSelectionMenu", "Toggle down",
                [](TColumn& column) { column.ToggleSelection(ShiftOf(ssShift), false); });
}

void TMainForm::ClickCommand(const std::string& name)
{
    auto* action = findChild<QAction*>(QString::fromStdString(name), Qt::FindDirectChildrenOnly);
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
