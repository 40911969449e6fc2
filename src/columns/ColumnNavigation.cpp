// Navigating across the columns of a group: a folder opens in the next column, its parent
// in the previous one, and with Shift the rest of the group follows in a cascade, each
// column focusing what the user last focused there. Running the focused item enters it
// or starts it.

#include "columns/Column.h"

#include "columns/FileLauncher.h"
#include "columns/History.h"
#include "columns/MainWindowColumns.h"
#include "columns/MainWindowServices.h"

#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/files/LinkFile.h"
#include "core/files/PathNames.h"

#include <utility>

namespace {

void TakeHistoryState(TColumn& column, const THistoryEntry& entry)
{
    column.ActiveType = entry.Type;
    column.ActiveTopOffset = entry.Offset;
    column.ActiveKey = entry.Key;
}

// Lists the folder above the title's folder with the title's folder focused; gives that
// folder ("" when the title lists the drives, which reloads the column in place).
std::string LoadParentFromHistory(TColumn& column, const std::string& title)
{
    THistoryEntry entry;
    if (PathsHistory.FindParentDirectoryItem(title, entry) >= 0)
        TakeHistoryState(column, entry);
    column.LoadDirectory({.RememberPrevious = true, .ContainerIndex = -1, .Title = entry.Title});
    return entry.Title;
}

bool ListsDrives(const std::string& title)
{
    return ExcludeEndBackslash(GetParentPath(title)).empty();
}

// The column a step into a folder (step +1) or out of one (step -1) lists it in: Alt keeps
// the column; Ctrl moves the group's contents away so the column keeps its place; else the
// neighbour on the step's side, or at the group's edge the column, the group having made room.
template <class MakeRoom>
int32_t StepTarget(TShiftState shift, int32_t index, int32_t step, int32_t first, int32_t last, MakeRoom makeRoom)
{
    const bool ctrl = IsKeyShiftIn(shift, ssCtrl);
    if (!ctrl && IsKeyShiftIn(shift, ssAlt))
        return index;
    const int32_t neighbour = index + step;
    if (!ctrl && first <= neighbour && neighbour <= last)
        return neighbour;
    makeRoom();
    return index;
}

} // namespace

void TColumn::EnterDirectory(TShiftState shift, const std::string& path, bool folderItem)
{
    const std::string folder = folderItem ? IncludeEndBackslash(path) : path;
    TMainWindowColumns& board = TSeam<TMainWindowColumns>::Get();
    board.SetActiveColumnIndex(Index);
    const int32_t first = GetGroupFirst();
    const int32_t last = GetGroupLast();
    const int32_t target = StepTarget(shift, Index, +1, first, last, [&] { ShiftContentsLeft(first, Index); });
    board.SetActiveColumnIndex(target);
    GetSlot(target).LoadFolderFromHistory(folder, true);
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
        GetSlot(i + 1).LoadFolderFromHistory(IncludeEndBackslash(column.ActiveTitle), true);
    }
}

void TColumn::EnterParentDirectory(TShiftState shift)
{
    if (GetParentPath(ActiveTitle).empty())
        return;
    TMainWindowColumns& board = TSeam<TMainWindowColumns>::Get();
    board.SetActiveColumnIndex(Index);
    const int32_t first = GetGroupFirst();
    const int32_t last = GetGroupLast();
    const int32_t target = StepTarget(shift, Index, -1, first, last, [&] { ShiftContentsRight(Index, last); });
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
    LoadFolderFromHistory(GetParentPath(ActiveTitle), false);
}

void TColumn::LoadFolderFromHistory(const std::string& folder, bool rememberPrevious)
{
    THistoryEntry entry;
    if (PathsHistory.FindDirectoryItem(folder, entry) >= 0)
        TakeHistoryState(*this, entry);
    LoadDirectory({.RememberPrevious = rememberPrevious, .ContainerIndex = -1, .Title = entry.Title});
}

void TColumn::FocusPreviousColumn()
{
    const int32_t target = Index == 0 ? TSeam<TMainWindowServices>::Get().GetVisibleColumnCount() - 1 : Index - 1;
    TSeam<TMainWindowColumns>::Get().FocusColumn(target, false);
}

void TColumn::FocusNextColumn()
{
    const int32_t target = Index >= TSeam<TMainWindowServices>::Get().GetVisibleColumnCount() - 1 ? 0 : Index + 1;
    TSeam<TMainWindowColumns>::Get().FocusColumn(target, false);
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
