// Navigating across the columns of a group: a folder opens in the next column, its parent
// in the previous one, and with Shift the rest of the group follows in a cascade, each
// column focusing what the user last focused there. Running the focused item enters it
// or starts it.

#include "columns/Column.h"

#include "columns/BoardServices.h"
#include "columns/FileLauncher.h"
#include "columns/History.h"
#include "columns/MainWindowServices.h"

#include "core/FileInfo.h"
#include "core/LinkFile.h"
#include "core/PathNames.h"
#include "core/Traced.h"

#include <utility>

namespace {

void TakeHistoryState(TColumn& column, const THistoryEntry& entry)
{
    column.ActiveType = entry.Type;
    column.ActiveTopOffset = entry.Offset;
    column.ActiveKey = entry.Key;
}

// Lists the folder (given with its trailing backslash) with the item last focused there,
// or with nothing focused when the folder has no history: the column's active state then
// stays as it was.
void LoadFolderFromHistory(TColumn& column, const std::string& folder, bool rememberPrevious)
{
    THistoryEntry entry;
    if (PathsHistory.FindDirectoryItem(folder, entry) >= 0)
        TakeHistoryState(column, entry);
    column.LoadDirectory(rememberPrevious, -1, entry.Title, KeepType, KeepTopOffset, KeepKey);
}

// Lists the folder above the title's folder with the title's folder focused; gives that
// folder ("" when the title lists the drives, which reloads the column in place).
std::string LoadParentFromHistory(TColumn& column, const std::string& title)
{
    THistoryEntry entry;
    if (PathsHistory.FindParentDirectoryItem(title, entry) >= 0)
        TakeHistoryState(column, entry);
    column.LoadDirectory(true, -1, entry.Title, KeepType, KeepTopOffset, KeepKey);
    return entry.Title;
}

bool ListsDrives(const std::string& title)
{
    return ExcludeEndBackslash(GetParentPath(title)).empty();
}

} // namespace

void TColumn::EnterDirectory(TShiftState shift, const std::string& path, bool folderItem)
{
    const std::string folder = folderItem ? IncludeEndBackslash(path) : path;
    TBoardServices& board = TSeam<TBoardServices>::Get();
    board.SetActiveColumnIndex(Index);
    const int32_t first = GetGroupFirst();
    const int32_t last = GetGroupLast();
    int32_t target = Index;
    if (IsKeyShiftIn(shift, ssCtrl)) {
        ShiftContentsLeft(first, Index);
    } else if (!IsKeyShiftIn(shift, ssAlt)) {
        // The group's last column makes room by moving the group left.
        if (last > Index)
            target = Index + 1;
        else
            ShiftContentsLeft(first, Index);
    }
    board.SetActiveColumnIndex(target);
    LoadFolderFromHistory(GetSlot(target), folder, true);
    AutoOpenRight(target, last, shift);
    board.FocusColumn(-1, false);
}

void TColumn::AutoOpenRight(int32_t start, int32_t end, TShiftState shift)
{
    if (!IsKeyShiftIn(shift, ssShift))
        return;
    for (int32_t i = start; i < end; ++i) {
        const TColumn& column = GetSlot(i);
        if (column.GetItemCount() == 0 || column.ActiveType != ftDirectory)
            return;
        LoadFolderFromHistory(GetSlot(i + 1), IncludeEndBackslash(column.ActiveTitle), true);
    }
}

void TColumn::EnterParentDirectory(TShiftState shift)
{
    if (GetParentPath(ActiveTitle).empty())
        return;
    TBoardServices& board = TSeam<TBoardServices>::Get();
    board.SetActiveColumnIndex(Index);
    const int32_t first = GetGroupFirst();
    const int32_t last = GetGroupLast();
    int32_t target = Index;
    if (IsKeyShiftIn(shift, ssCtrl)) {
        ShiftContentsRight(Index, last);
    } else if (!IsKeyShiftIn(shift, ssAlt)) {
        // The group's first column makes room by moving the group right.
        if (first < Index)
            target = Index - 1;
        else
            ShiftContentsRight(Index, last);
    }
    board.SetActiveColumnIndex(target);
    LoadParentFromHistory(GetSlot(target), ActiveTitle);
    AutoOpenLeft(first, shift);
    board.FocusColumn(-1, false);
}

void TColumn::AutoOpenLeft(int32_t first, TShiftState shift)
{
    if (!IsKeyShiftIn(shift, ssShift))
        return;
    for (int32_t i = Index - 1; i >= first; --i)
        if (ListsDrives(LoadParentFromHistory(GetSlot(i), GetSlot(i + 1).ActiveTitle)))
            return;
}

void TColumn::EnterPreviousDirectory(TShiftState shift)
{
    if (!IsKeyShiftEmpty(shift))
        return;
    ContainerIndex = -1;
    std::swap(ActiveTitle, PreviousTitle);
    LoadFolderFromHistory(*this, GetParentPath(ActiveTitle), false);
}

void TColumn::FocusPreviousColumn()
{
    const int32_t target = Index == 0 ? TSeam<TMainWindowServices>::Get().GetVisibleColumnCount() - 1 : Index - 1;
    TSeam<TBoardServices>::Get().FocusColumn(target, false);
}

void TColumn::FocusNextColumn()
{
    const int32_t target = Index >= TSeam<TMainWindowServices>::Get().GetVisibleColumnCount() - 1 ? 0 : Index + 1;
    TSeam<TBoardServices>::Get().FocusColumn(target, false);
}

void TColumn::Com_Run(TShiftState shift, bool maximized)
{
    TTraced trace;
    trace.Run([&] {
        if (GetItemCount() == 0)
            return;
        if (ActiveType == ftDirectory)
            return EnterDirectory(shift, ActiveTitle, true);
        if (ActiveType == ftLink) {
            TLinkFile link;
            link.Load(ActiveTitle, false);
            if (trace.TakeOver())
                return;
            if (IsDirectory(link.Target))
                return EnterDirectory(shift, link.Target, true);
        }
        MyRunFile(ActiveTitle, "", "", "", maximized, true);
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to run file.");
}
