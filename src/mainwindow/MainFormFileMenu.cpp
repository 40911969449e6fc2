#include "mainwindow/MainForm.h"

#include "columns/Column.h"
#include "core/files/PathNames.h"

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
