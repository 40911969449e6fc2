// Reloading columns, the search and its results, the find-common-text dialog, locating
// items by a filter and the ends of a numbered run of titles.

#include "columns/Column.h"

#include "columns/BoardsServices.h"
#include "columns/Containers.h"
#include "columns/MainWindowColumns.h"
#include "columns/MainWindowContainers.h"
#include "columns/MainWindowServices.h"
#include "columns/SearchServices.h"

#include "core/errors/Traced.h"
#include "core/files/PathNames.h"
#include "core/text/AsciiCase.h"
#include "core/text/Text.h"

#include <string_view>
#include <unordered_set>

namespace {

void ReloadInPlace(TColumn& column)
{
    column.LoadDirectory({});
}

// "photo" for "C:\d\photo12.jpg".
std::string GetNumberedStem(const std::string& title)
{
    std::string digits;
    int32_t digitCount = 0;
    return SplitTrailingNumber(ExcludeExtension(title), digits, digitCount);
}

} // namespace

void TColumn::Com_LoadDirectory(TShiftState shift)
{
    TMainWindowServices& window = TSeam<TMainWindowServices>::Get();
    if (IsKeyShiftEmpty(shift)) {
        ReloadInPlace(*this);
        UpdateRestOfContainers(ContainerIndex);
    } else if (IsKeyShiftOnly(shift, ssCtrl)) {
        const int32_t count = window.GetVisibleColumnCount();
        for (int32_t i = 0; i < count; ++i)
            if (TColumn* column = window.GetColumn(i))
                ReloadInPlace(*column);
    }
    TSeam<TMainWindowColumns>::Get().FocusColumn(-1, false);
}

void TColumn::Com_Search(const std::string& file, bool history)
{
    TTraced trace;
    int32_t focusIndex = -1;
    trace.Run([&] {
        TBusyBracket busy(false);
        TSearchResult result;
        if (!TSeam<TSearchServices>::Get().SearchDialog(*this, file, history, result))
            return;
        switch (result.Action) {
        case sraEnterDirectory:
            if (TColumn* active = TSeam<TMainWindowServices>::Get().GetColumn(
                    TSeam<TMainWindowColumns>::Get().GetActiveColumnIndex())) {
                active->EnterDirectory(ShiftOf(ssAlt), IncludeEndBackslash(result.ChosenPath), true);
                trace.TakeOver();
            }
            break;
        case sraShowFile:
            LoadDirectory({.RememberPrevious = true, .ContainerIndex = -1, .Title = result.ChosenPath});
            trace.TakeOver();
            break;
        case sraFillContainer:
            focusIndex = FillSearchContainer(result);
            trace.TakeOver();
            break;
        case sraSelectItems:
            if (const std::string refusal = SelectFoundItems(result); !refusal.empty())
                trace.Raise(refusal);
            break;
        default:
            break;
        }
    });
    trace.ShowFailure("Failed to search.");
    TSeam<TMainWindowColumns>::Get().FocusColumn(focusIndex, false);
}

int32_t TColumn::FillSearchContainer(const TSearchResult& result)
{
    TMainWindowServices& window = TSeam<TMainWindowServices>::Get();
    TMainWindowContainers& containers = TSeam<TMainWindowContainers>::Get();
    try {
        if (TContainer* container = containers.FindContainer(result.ContainerIndex)) {
            if (!result.KeepItems)
                container->Clear();
            for (const TSearchResult::TFoundItem& item : result.FoundItems)
                container->AddItem(item.Text, item.Rank);
        }
        if (result.ShowSearchBoard)
            TSeam<TBoardsServices>::Get().ShowSearchBoard();
    } catch (...) {
        // The column shows what the container holds after all.
        ReloadContainer(result.ContainerIndex);
        throw;
    }
    int32_t chosen = result.ReuseContainer ? containers.FindContainerColumn(result.ContainerIndex) : -1;
    if (chosen < 0 && result.UseColumnForContainer - 1 >= 0 &&
        result.UseColumnForContainer - 1 < window.GetVisibleColumnCount())
        chosen = result.UseColumnForContainer - 1;
    TColumn* column = chosen >= 0 ? window.GetColumn(chosen) : nullptr;
    if (column == nullptr) {
        column = this;
        chosen = Index;
    }
    column->ReloadContainer(result.ContainerIndex);
    return chosen;
}

std::string TColumn::SelectFoundItems(const TSearchResult& result)
{
    if (SelectedCount > 0 || SelectedSize > 0)
        return "Can't select files because there already are selected files.";
    const int32_t count = GetItemCount();
    if (static_cast<int64_t>(result.FoundItems.size()) > count)
        return "Found more files than there are in the column.";
    // Content results come by rank, not in the column's order; titles that differ only in
    // letter case are different files here.
    std::unordered_set<std::string_view> found;
    for (const TSearchResult::TFoundItem& item : result.FoundItems)
        found.insert(item.Text);
    for (int32_t i = 0; i < count; ++i)
        if (found.contains(GetItem(i).Title))
            SelectItem(i);
    FileList->Invalidate();
    return {};
}

void TColumn::Com_FindCommonText()
{
    TTraced trace;
    trace.Run([&] {
        TBusyBracket busy(false);
        TSeam<TSearchServices>::Get().FindCommonTextDialog(*this);
    });
    trace.ShowFailure("Failed to find common text.");
}

void TColumn::Com_LocateFile()
{
    TSeam<TSearchServices>::Get().LocateFileDialog(*this);
}

void TColumn::Com_LocateNextFile()
{
    TSeam<TSearchServices>::Get().LocateNext(*this);
}

void TColumn::Com_LocatePreviousFile()
{
    TSeam<TSearchServices>::Get().LocatePrevious(*this);
}

int32_t TColumn::FindNumberedEnd(bool first) const
{
    const int32_t count = GetItemCount();
    if (count <= 1)
        return -1;
    const int32_t focus = FileList->FocusIndex;
    const std::string stem = GetNumberedStem(GetItem(focus).Title);
    const auto differs = [&](int32_t i) { return !SameTextAscii(GetNumberedStem(GetItem(i).Title), stem); };
    if (first) {
        for (int32_t i = focus - 1; i >= 0; --i)
            if (differs(i))
                return i + 1;
        return 0;
    }
    for (int32_t i = focus + 1; i < count; ++i)
        if (differs(i))
            return i - 1;
    return count - 1;
}

void TColumn::Com_LocateNumbered(bool first)
{
    const int32_t index = FindNumberedEnd(first);
    if (index >= 0)
        FocusIndex(index);
}
