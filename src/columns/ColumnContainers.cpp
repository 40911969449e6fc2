// The container commands of a column: entries copied, inserted, relocated and removed
// from the columns. A column that shows a container lists its entries one to one, so the
// commands that work by position first make sure the column still matches its container.

#include "columns/Column.h"

#include "columns/Containers.h"
#include "columns/FileDialogServices.h"
#include "columns/MainWindowColumns.h"
#include "columns/MainWindowContainers.h"
#include "columns/MainWindowMouse.h"
#include "columns/MainWindowServices.h"

#include "core/desktop/Clipboard.h"
#include "core/errors/Traced.h"
#include "core/files/FileStream.h"
#include "core/files/PathNames.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/Utilities.h"
#include "core/text/AsciiCase.h"
#include "core/text/FormatSettings.h"
#include "core/text/StringList.h"

#include "host/File.h"
#include "host/MountTable.h"
#include "host/Volumes.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

namespace {

constexpr const char* OutOfStepPanic = "Column and container items are not synchronized. You must reload the column.";
constexpr int32_t MaxStreamItems = 30;

TContainer* ShownContainer(const TColumn& column)
{
    return TSeam<TMainWindowContainers>::Get().FindContainer(column.ContainerIndex);
}

bool IsSynchronized(const TColumn& column, const TContainer& container)
{
    TStringList paths;
    for (const TContainerItem& entry : container.Items())
        paths.Add(entry.Path);
    return column.IsSynchronizedWith(paths);
}

// The selected items' indices in list order.
std::vector<int32_t> SelectedIndices(const TColumn& column)
{
    std::vector<int32_t> indices;
    const int32_t count = column.GetItemCount();
    for (int32_t i = 0; i < count; ++i)
        if (column.GetItem(i).Selected)
            indices.push_back(i);
    return indices;
}

// Removes the entries from the last to the first, so that each index still names its entry.
void DeleteEntries(TContainer& container, const std::vector<int32_t>& ascending)
{
    for (auto index = ascending.rbegin(); index != ascending.rend(); ++index)
        container.DeleteItem(*index);
}

std::string CountText(int32_t count)
{
    return std::to_string(count);
}

// Asks before container items are copied, moved or inserted: the files they name stay
// where they are. The action is worded as "Copy", the result as "copied".
std::string ContainerItemsQuestion(const std::string& action, const std::string& preposition, const std::string& result,
                                   int32_t selected)
{
    const bool many = selected > 0;
    const std::string files = many ? "the " + CountText(selected) + " selected files" : "the focused file";
    const std::string themselves = many ? "The files themselves are" : "The file itself is";
    const std::string items = many ? "container items." : "container item.";
    return action + " " + files + " " + preposition + " the container?\n\n" + themselves + " NOT " + result +
           ", but only the " + items;
}

std::string CopyQuestion(int32_t selected, bool move)
{
    return move ? ContainerItemsQuestion("Move", "to", "moved", selected)
                : ContainerItemsQuestion("Copy", "to", "copied", selected);
}

std::string InsertQuestion(int32_t selected)
{
    return ContainerItemsQuestion("Copy and insert", "in", "copied", selected);
}

std::string RelocateQuestion(int32_t selected)
{
    return selected > 0 ? "Relocate " + CountText(selected) + " selected items" + " before the active item?"
                        : std::string("Relocate the source item") + " before the active item?";
}

std::string RecycleQuestion(int32_t selected)
{
    return selected > 0 ? "Recycle the " + CountText(selected) +
                              " selected files from the container?\n\nThe files themselves are NOT recycled, but only "
                              "the container items."
                        : "Recycle the focused file from the container?\n\nThe file itself is NOT recycled, but only "
                          "the container item.";
}

// The column shows what the command left in its container, also after a failure part-way.
void ReloadAfterChange(TColumn& column, TTraced& trace)
{
    column.ReloadContainer(-1);
    if (trace.Succeeded())
        trace.TakeOver();
}

void EndCommand()
{
    TSeam<TMainWindowServices>::Get().EndBusy();
    TSeam<TMainWindowColumns>::Get().FocusColumn(-1, false);
}

} // namespace

void TColumn::ReloadContainer(int32_t containerIndex)
{
    TTraced trace;
    trace.Run([&] {
        const int32_t index = containerIndex < 0 ? ContainerIndex : containerIndex;
        if (index < 0 || index >= ContainerCount)
            return;
        const std::string title = ActiveTitle;
        LoadDirectory({.ContainerIndex = index, .Title = title});
        if (trace.TakeOver())
            return;
        UpdateRestOfContainers(index);
        trace.TakeOver();
    });
}

void TColumn::UpdateRestOfContainers(int32_t containerIndex)
{
    TTraced trace;
    trace.Run([&] {
        if (containerIndex < 0 || containerIndex >= ContainerCount)
            return;
        TMainWindowServices& window = TSeam<TMainWindowServices>::Get();
        const int32_t visible = window.GetVisibleColumnCount();
        for (int32_t slot = 0; slot < visible; ++slot) {
            TColumn* other = window.GetColumn(slot);
            if (slot == Index || other == nullptr || other->ContainerIndex != ContainerIndex)
                continue;
            other->SetWithColumnContent(*this, false, true, false, false);
            if (trace.TakeOver())
                return;
        }
    });
}

bool TColumn::CopyToContainer(TColumn& source, bool deselect, bool move)
{
    TTraced trace;
    TSeam<TMainWindowServices>::Get().BeginBusy();
    bool changed = false;
    trace.Run([&] {
        TContainer* container = ShownContainer(*this);
        if (container == nullptr)
            return trace.Raise("The destination must be a container.");
        if (!AskQuery(CopyQuestion(source.SelectedCount, move)))
            return;
        changed = true;
        if (source.SelectedCount == 0) {
            container->AddItem(source.ActiveTitle, 0);
            return;
        }
        for (const int32_t index : SelectedIndices(source)) {
            container->AddItem(source.GetItem(index).Title, 0);
            if (deselect)
                source.DeselectItem(index);
        }
    });
    if (changed) {
        ReloadAfterChange(*this, trace);
        source.FileList->Invalidate();
    }
    const bool copied = changed && trace.Succeeded();
    trace.ShowFailure("Failed to copy to container.");
    EndCommand();
    return copied;
}

bool TColumn::MoveToContainer(TColumn& source)
{
    // Between two container columns only: within one container nothing would move.
    if (source.ContainerIndex < 0 || source.ContainerIndex == ContainerIndex)
        return false;
    if (!CopyToContainer(source, false, true))
        return false;
    source.RecycleFromContainer(true, false);
    return true;
}

void TColumn::InsertContainerItem(TColumn& source, int32_t position)
{
    TTraced trace;
    TSeam<TMainWindowServices>::Get().BeginBusy();
    bool changed = false;
    trace.Run([&] {
        if (ContainerIndex == source.ContainerIndex)
            return;
        TContainer* container = ShownContainer(*this);
        if (container == nullptr)
            return trace.Raise("The destination must be a container.");
        if (!IsSynchronized(*this, *container))
            return trace.Panic(OutOfStepPanic);
        if (!AskQuery(InsertQuestion(source.SelectedCount)))
            return;
        changed = true;
        const int32_t at = position < 0 ? FileList->FocusIndex : position;
        if (source.SelectedCount == 0) {
            container->InsertItem(at, source.ActiveTitle);
            return;
        }
        // From the last to the first, so that they stand in their order before the entry at `at`.
        const std::vector<int32_t> selected = SelectedIndices(source);
        for (auto index = selected.rbegin(); index != selected.rend(); ++index) {
            container->InsertItem(at, source.GetItem(*index).Title);
            source.DeselectItem(*index);
        }
    });
    if (changed) {
        ReloadAfterChange(*this, trace);
        source.FileList->Invalidate();
    }
    trace.ShowFailure("Failed to copy and insert to container.");
    EndCommand();
}

// The entries go before the first item at or after the position that is not selected
// here. That place is counted in positions, not found again by name, so entries equal
// but for letter case elsewhere cannot draw them away, and entries dropped onto
// themselves stay where they were. Between two containers the source's entries are
// inserted into this column's container and stay in their own.
void TColumn::RelocateContainerItem(TColumn& source, int32_t position)
{
    TTraced trace;
    TSeam<TMainWindowServices>::Get().BeginBusy();
    bool changed = false;
    trace.Run([&] {
        TContainer* target = ShownContainer(*this);
        TContainer* origin = ShownContainer(source);
        if (target == nullptr || origin == nullptr)
            return trace.Raise("The source and destination must be containers.");
        if (!IsSynchronized(source, *origin))
            return trace.Panic("Source column and container items are not synchronized. You must reload the column.");
        if (!IsSynchronized(*this, *target))
            return trace.Panic(OutOfStepPanic);
        if (target->IsDuplicateItem(ActiveTitle)) {
            ShowWarningMessage("The active item has duplicates. Therefore, the source item might be relocated next\n"
                               "to a duplicate item (which could be at another position).\n\nUse the \"File \\ "
                               "Container \\ Remove duplicates\" function first.");
            return;
        }
        if (!AskQuery(RelocateQuestion(source.SelectedCount)))
            return;
        const int32_t anchor = NextUnselected(position < 0 ? FileList->FocusIndex : position);
        if (anchor < 0)
            return trace.Raise("Failed to find a non-selected item after the active item.");
        std::vector<int32_t> taken = SelectedIndices(source);
        if (source.SelectedCount == 0)
            taken = {TSeam<TMainWindowMouse>::Get().GetPressRecord().DragItemIndex};
        std::vector<std::string> paths;
        for (const int32_t index : taken)
            paths.push_back(source.GetItem(index).Title);
        int32_t at = anchor;
        changed = true;
        if (origin == target) {
            at -= static_cast<int32_t>(
                std::count_if(taken.begin(), taken.end(), [anchor](int32_t index) { return index < anchor; }));
            DeleteEntries(*origin, taken);
        }
        for (auto path = paths.rbegin(); path != paths.rend(); ++path)
            target->InsertItem(at, *path);
    });
    if (changed)
        ReloadAfterChange(*this, trace);
    trace.ShowFailure("Failed to relocate items.");
    EndCommand();
}

void TColumn::RecycleFromContainer(bool noQuestion, bool all)
{
    TTraced trace;
    TSeam<TMainWindowServices>::Get().BeginBusy();
    bool changed = false;
    trace.Run([&] {
        TContainer* container = ShownContainer(*this);
        if (container == nullptr)
            return trace.Raise("The source must be a container.");
        if (!all && !IsSynchronized(*this, *container))
            return trace.Panic(OutOfStepPanic);
        if (all) {
            if (!AskQuery("Delete all items of the container?\n\nThe files themselves are NOT deleted."))
                return;
        } else if (!noQuestion && !AskQuery(RecycleQuestion(SelectedCount))) {
            return;
        }
        changed = true;
        if (all)
            container->Clear();
        else if (SelectedCount > 0)
            DeleteEntries(*container, SelectedIndices(*this));
        else
            container->DeleteItem(FileList->FocusIndex);
    });
    if (changed)
        ReloadAfterChange(*this, trace);
    trace.ShowFailure("Failed to recycle from container.");
    EndCommand();
}

void TColumn::Com_ClearContainer()
{
    RecycleFromContainer(false, true);
}

void TColumn::Com_RecycleContainerItem()
{
    if (ContainerIndex < 0)
        OnDelete("Recycle");
    else
        RecycleFromContainer(false, false);
}

void TColumn::RemoveDuplicateContainerItems()
{
    TTraced trace;
    TSeam<TMainWindowServices>::Get().BeginBusy();
    bool changed = false;
    trace.Run([&] {
        TContainer* container = ShownContainer(*this);
        if (container == nullptr)
            return trace.Raise("The source must be a container.");
        if (!AskQuery("Remove duplicate items from the container?\n\nThe files themselves are NOT deleted.\n\n(This "
                      "may take a little time!)"))
            return;
        changed = true;
        for (int32_t first = 0; first < container->Count(); ++first)
            for (int32_t later = container->Count() - 1; later > first; --later)
                if (SameTextAscii(container->Items()[static_cast<size_t>(later)].Path,
                                  container->Items()[static_cast<size_t>(first)].Path))
                    container->DeleteItem(later);
    });
    if (changed)
        ReloadAfterChange(*this, trace);
    trace.ShowFailure("Failed to remove duplicates from container.");
    EndCommand();
}

void TColumn::AddClipboardToContainer()
{
    TTraced trace;
    TSeam<TMainWindowServices>::Get().BeginBusy();
    trace.Run([&] {
        std::vector<std::string> lines;
        ClipboardFilesToList(lines);
        if (trace.TakeOver())
            return;
        AddListToContainer(lines, true);
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to paste in container.");
    EndCommand();
}

void TColumn::AddListToContainer(const std::vector<std::string>& paths, bool ask)
{
    TTraced trace;
    trace.Run([&] {
        TContainer* container = ShownContainer(*this);
        if (container == nullptr)
            return;
        if (!AreValidPaths(paths)) {
            ShowWarningMessage("The clipboard doesn't contain valid file titles.");
            return;
        }
        if (ask && !AskQuery("Paste " + InsertThousandSeparators(std::to_string(paths.size())) +
                             " file titles in the container?"))
            return;
        for (const std::string& path : paths)
            container->AddItem(path, 0);
        ReloadContainer(-1);
        trace.TakeOver();
    });
}

void TColumn::MultiRenameContainerItem(bool renameFiles)
{
    TTraced trace;
    TSeam<TMainWindowServices>::Get().BeginBusy();
    trace.Run([&] {
        TContainer* container = ShownContainer(*this);
        if (container == nullptr)
            return;
        if (!TSeam<TFileDialogServices>::Get().MultiRenameDialog(*this, container, renameFiles))
            return;
        ReloadContainer(-1);
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to multi-rename items.");
    EndCommand();
}

void TColumn::MultiRenameFiles()
{
    TTraced trace;
    TSeam<TMainWindowServices>::Get().BeginBusy();
    try {
        if (ContainerIndex >= 0)
            MultiRenameContainerItem(true);
        else
            TSeam<TFileDialogServices>::Get().MultiRenameDialog(*this, nullptr, true);
    }
    TRACED_CATCH(trace)
    TSeam<TMainWindowServices>::Get().EndBusyAndCheck();
    TSeam<TMainWindowColumns>::Get().FocusColumn(-1, false);
}

void TColumn::GoToContainerItemTarget()
{
    TTraced trace;
    trace.Run([&] {
        if (GetItemCount() == 0 || ContainerIndex < 0)
            return;
        if (!host::PathExists(GetParentPath(ActiveTitle))) {
            ShowErrorMessage("The parent directory of the file doesn't exist.");
            return;
        }
        const std::string title = ActiveTitle;
        LoadDirectory({.RememberPrevious = true, .ContainerIndex = -1, .Title = title});
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to go to file.");
    TSeam<TMainWindowColumns>::Get().FocusColumn(-1, false);
}

void TColumn::SetupAttachStream(QMenu& menu)
{
    TTraced trace;
    trace.Run([&] {
        menu.clear();
        if (host::GetDriveType(ActiveTitle) != host::DRIVE_FIXED)
            return;
        std::vector<std::string> names;
        MyFileStream.GetNames(ActiveTitle, &names);
        if (trace.TakeOver())
            return;
        QAction* heading = menu.addAction("Destination streams");
        const QString headingHint = "Click a stream name to mark it as the destination stream";
        heading->setStatusTip(headingHint);
        heading->setToolTip(headingHint);
        menu.setDefaultAction(heading);
        const QString hint =
            "The source stream is attached in the destinaton file as the stream with the clicked name. If you want a "
            "name that is is not in the list, you must use the streams editor to add that name first.";
        const size_t shown = std::min(names.size(), static_cast<size_t>(MaxStreamItems));
        for (size_t i = 0; i < shown; ++i) {
            // The name travels as the item's data; the caption is escaped.
            QAction* item = menu.addAction(QString::fromStdString(EscapeMenuCaption(names[i])));
            item->setData(QString::fromStdString(names[i]));
            item->setStatusTip(hint);
            item->setToolTip(hint);
            QObject::connect(item, &QAction::triggered, item, [this, item] { AttachStreamMenuClick(*item); });
        }
    });
}

void TColumn::AttachStreamMenuClick(const QAction& sender)
{
    TTraced trace;
    trace.Run([&] {
        const std::string stream = sender.data().toString().toStdString();
        if (GetFileStreamSize(ActiveTitle, stream) != 0 &&
            !AskQuery("The selected destination stream is not empty.\nDo you want to overwrite it?"))
            return;
        CopyFileStream(TSeam<TMainWindowMouse>::Get().GetPressRecord().DragItemTitle, "", ActiveTitle, stream);
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to attach stream.");
}
