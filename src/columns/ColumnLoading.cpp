// Loading a column and keeping its focus: the column remembers the focused item as a
// title, and after each load finds that item again, or the item that stands where it
// would stand.

#include "columns/Column.h"

#include "columns/Containers.h"
#include "columns/History.h"
#include "columns/MainWindowContainers.h"
#include "columns/MainWindowServices.h"

#include "core/desktop/Program.h"
#include "core/errors/Error.h"
#include "core/errors/Traced.h"
#include "core/files/Partitions.h"
#include "core/files/PathNames.h"
#include "core/text/AsciiCase.h"

void TColumn::LoadDirectory(const TLoadRequest& request)
{
    const bool paintEnabled = FileList->PaintEnabled;
    TMainWindowServices& window = TSeam<TMainWindowServices>::Get();
    TTraced trace;
    window.BeginBusy();
    try {
        FileList->PaintEnabled = false;
        SelectedCount = 0;
        SelectedSize = 0;
        // Leaving a container goes back to where it was entered from.
        const std::optional<int32_t>& containerIndex = request.ContainerIndex;
        if (ContainerIndex >= 0 && containerIndex == -1 && request.Title.empty())
            ActiveTitle = PreviousTitle;
        const std::string newTitle = request.Title.empty() ? ActiveTitle : request.Title;
        if (ContainerIndex < 0 && (containerIndex >= 0 || (request.RememberPrevious && ChangesDirectory(newTitle))))
            PreviousTitle = ActiveTitle;
        ActiveTitle = newTitle;
        ActiveType = request.Type.value_or(ActiveType);
        ActiveTopOffset = request.TopOffset.value_or(ActiveTopOffset);
        ActiveKey = request.Key.value_or(ActiveKey);
        ContainerIndex = containerIndex.value_or(ContainerIndex);
        if (ContainerIndex >= 0)
            LoadContainerMode();
        else
            LoadDirectoryMode();
    }
    TRACED_CATCH(trace)
    // The listing is fresh.
    HeaderButton->StrikeOut = false;
    HeaderButton->Invalidate();
    SetHeaderButtonHint();
    window.EndBusy();
    FileList->PaintEnabled = paintEnabled;
    if (paintEnabled)
        FileList->Invalidate();
}

bool TColumn::ChangesDirectory(const std::string& title) const
{
    return !SameTextAscii(GetParentPath(title), GetParentPath(ActiveTitle));
}

void TColumn::LoadContainerMode()
{
    SetWithContainer(TSeam<TMainWindowContainers>::Get().FindContainer(ContainerIndex));
    FocusByTitle(ActiveTitle, ActiveType, ActiveTopOffset, ActiveKey, SortMode, false, true);
}

// A directory that cannot be listed gives way to its parent, up to the list of drives;
// the title to find there is the directory (or drive) that failed, so the focus lands
// on it, or where it stood.
void TColumn::LoadDirectoryMode()
{
    std::vector<host::FindData> listing;
    for (;;) {
        if (!IsDriveName(ActiveTitle) && !PartitionExists(ActiveTitle)) {
            ActiveTitle = GetDrivePart(ActiveTitle);
            ActiveType = ftDirectory;
        }
        LoadWithFiles(ActiveTitle, SortMode, listing);
        if (FunStatContext.Status <= fsWarning)
            break;
        PathsHistory.DropNewestInDirectory(ActiveTitle);
        const std::string parent = ExcludeEndBackslash(GetParentPath(ActiveTitle));
        if (parent.empty())
            break;
        ActiveTitle = parent;
        ActiveType = ftDirectory;
    }
    FocusByTitle(ActiveTitle, ActiveType, ActiveTopOffset, ActiveKey, SortMode, true, true);
    // The monitor starts from the listing: the folder is not read twice.
    DirMonitor.Ini(GetParentPath(ActiveTitle), std::move(listing));
}

void TColumn::FocusByTitle(const std::string& title, int32_t type, int32_t topOffset, int64_t key,
                           const std::string& sortMode, bool nearest, bool force)
{
    TTraced trace;
    try {
        const std::string name = GetPathName(title);
        if (GetItemCount() == 0 || name.empty()) {
            FileList->SetTopIndex(0);
            FileList->SetFocusIndex(0);
        } else {
            int32_t index = IndexOfName(name);
            if (index < 0 && nearest)
                index = FindNearest(name, type, key, sortMode);
            if (index < 0)
                index = LastFocus;
            FileList->SetFocusWithOffset(index, topOffset, force);
        }
    }
    TRACED_CATCH(trace)
    SetInactiveFocus();
}

// The first item that the title would stand before in the column's order: a later group,
// or its own group at or after its place. A directory is placed by name, as its group is
// sorted; by a key, directories are passed over. The last item when none follows.
int32_t TColumn::FindNearest(const std::string& name, int32_t type, int64_t key, const std::string& sortMode) const
{
    const int32_t rank = GetTypeOrder(type);
    const TSortKind kind = type == ftDirectory ? skName : GetSortKind(sortMode);
    const TSortPlace sought = MakeSortPlace(key, name, kind);
    const int32_t count = GetItemCount();
    for (int32_t i = 0; i < count; ++i) {
        const TFileListData& item = GetItem(i);
        if (kind != skName && item.Type == ftDirectory)
            continue;
        const int32_t itemRank = GetTypeOrder(item.Type);
        if (rank < itemRank)
            return i;
        if (rank > itemRank)
            continue;
        const size_t nameOffset = item.Title.size() - GetPathName(item.Title).size();
        if (CompareSortPlaces(sought, MakeSortPlace(item, kind, nameOffset)) <= 0)
            return i;
    }
    return count - 1;
}

void TColumn::SetInactiveFocus()
{
    TTraced trace;
    try {
        if (GetItemCount() == 0) {
            // The title stays, so that a reload finds it again.
            ActiveType = ftGeneric;
            ActiveTopOffset = 0;
            ActiveKey = 0;
        } else {
            RecordFocus();
        }
        SetPanelText(*HeaderButton, GetHeaderCaption());
        PathsHistory.AddPathItem(ActiveTitle, ActiveType, ActiveTopOffset, ActiveKey, true, true);
    }
    TRACED_CATCH(trace)
    LastFocus = FileList->FocusIndex;
}

void TColumn::RecordFocus()
{
    FileList->FocusIndex = std::clamp(FileList->FocusIndex, 0, GetItemCount() - 1);
    const TFileListData& item = GetItem(FileList->FocusIndex);
    ActiveTitle = item.Title;
    ActiveType = item.Type;
    ActiveTopOffset = FileList->FocusIndex - FileList->TopIndex;
    // Under "Name" the key keeps its value.
    if (const TSortKind kind = GetSortKind(SortMode); kind != skName)
        ActiveKey = GetItemSortKey(item, kind);
}

// The listed directory without its backslash (empty for the drives), or the container.
std::string TColumn::GetHeaderCaption() const
{
    if (ContainerIndex < 0)
        return ExcludeEndBackslash(GetParentPath(ActiveTitle));
    const TContainer* container = TSeam<TMainWindowContainers>::Get().FindContainer(ContainerIndex);
    // Without its container the column still names it, by its number.
    const std::string name =
        container != nullptr ? container->GetDisplayName() : TContainer(ContainerIndex).GetDisplayName();
    return "Container \"" + name + "\"";
}

void TColumn::SetActive()
{
    TTraced trace;
    try {
        SetInactiveFocus();
        SetProgramWorkingPath(ActiveTitle);
        trace.TakeOver();
        ShowInfo();
    }
    TRACED_CATCH(trace)
}

void TColumn::FocusIndex(int32_t index)
{
    FileList->SetFocusIndex(index);
    SetInactiveFocus();
}

int32_t TColumn::NextUnselected(int32_t from) const
{
    const int32_t count = GetItemCount();
    for (int32_t i = std::max(from, 0); i < count; ++i)
        if (!GetItem(i).Selected)
            return i;
    return -1;
}

// A folder here may hold names that differ only in letter case; the exact one wins.
int32_t TColumn::IndexOfName(const std::string& name) const
{
    int32_t folded = -1;
    const int32_t count = GetItemCount();
    for (int32_t i = 0; i < count; ++i) {
        const std::string itemName = GetPathName(GetItem(i).Title);
        if (itemName == name)
            return i;
        if (folded < 0 && SameTextAscii(itemName, name))
            folded = i;
    }
    return folded;
}

// Thumbnails are not rendered while the scroll bar is dragged; they are now.
void TColumn::FileListScroll(bool)
{
    if (ThumbAttr)
        FileList->Invalidate();
}

// A scroll-bar drag on an inactive column keeps its recorded top offset up to date.
void TColumn::FileListTopChange(int32_t)
{
    if (!FileList->hasFocus())
        SetInactiveFocus();
}
