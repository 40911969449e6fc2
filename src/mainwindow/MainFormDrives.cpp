// The drives menus of the File menu: "Partitions" shows a drive in the active column, and
// the three "Drop to directory" menus run a file operation from the drag source into one.

#include "mainwindow/MainForm.h"

#include "mainwindow/PartitionsDialog.h"

#include "fileops/FileForm.h"
#include "fileops/FileOperationName.h"

#include "columns/Column.h"

#include "core/errors/Traced.h"
#include "core/files/PathNames.h"
#include "core/forms/InputState.h"

#include <QAction>

#include <utility>

void TMainForm::CreatePartitionsDialog()
{
    PartitionsDialog = std::make_unique<TPartitionsDialog>();
    PartitionsDialog->OnShowPath = [this](const std::string& path) { DrivesMenuShow(path); };
    PartitionsDialog->OnOperation = [this](const std::string& path, const std::string& operation) {
        DrivesMenuOperation(path, operation);
    };
}

void TMainForm::SetupDrivesMenus()
{
    const std::pair<const char*, const char*> menus[] = {{"PartitionsMenu", "Show"},
                                                         {"FileMenu_CopyToDir", "Copy"},
                                                         {"FileMenu_ConvertPictureToDir", "Convert picture"},
                                                         {"FileMenu_MoveToDir", "Move"}};
    for (const auto& [name, mode] : menus) {
        const auto* holder = findChild<QAction*>(name);
        if (holder == nullptr || holder->menu() == nullptr)
            continue;
        PartitionsDialog->SetupMenu(*holder->menu(), mode);
        // As every menu item, a drives item tells its hint on the hint bar.
        for (QAction* item : holder->menu()->actions())
            connect(item, &QAction::hovered, this,
                    [this, item] { ShowApplicationHint(item->statusTip().toStdString()); });
    }
}

namespace {

// The drive's root, or for the navigator item the folder chosen in the navigator; "" when
// none was chosen.
std::string GetDrivesMenuFolder(const std::string& path, TMainForm& window)
{
    if (!path.empty())
        return path;
    const TColumn* column = window.ActiveColumn();
    if (column == nullptr)
        return {};
    return window.TreeNavigatorDialog(column->ActiveTitle);
}

} // namespace

void TMainForm::DrivesMenuShow(const std::string& path)
{
    const std::string folder = GetDrivesMenuFolder(path, *this);
    if (folder.empty())
        return;
    if (TColumn* column = ActiveColumn())
        column->EnterDirectory(ShiftOf(ssAlt), IncludeEndBackslash(folder), true);
}

void TMainForm::DrivesMenuOperation(const std::string& path, const std::string& operation)
{
    const std::string folder = GetDrivesMenuFolder(path, *this);
    if (!folder.empty())
        CopyMoveToDir(IncludeEndBackslash(folder), operation);
}

void TMainForm::CopyMoveToDir(const std::string& destinationFolder, const std::string& operation)
{
    BeginBusy();
    TTraced trace;
    trace.Run([&] {
        TColumn* source = GetDragSourceColumn();
        if (source == nullptr || FileForm == nullptr)
            return;
        const bool done =
            FileForm->Dialog(true, operation, *source, FindContainer(source->ContainerIndex), Press.DragItemIndex,
                             GetParentPath(source->ActiveTitle), destinationFolder, "", false, false);
        // The moved files' entries now name their new places.
        if (done && source->ContainerIndex >= 0 && FileOperation::Is(operation, FileOperation::Move))
            source->ReloadContainer(-1);
    });
    trace.ShowFailure("Failed to " + operation + ".");
    EndBusyAndCheck();
    FocusColumn(-1, false);
}
