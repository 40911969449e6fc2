// Filling a column's list: a directory (typed, counted, grouped and sorted), the drives,
// a list of paths or a container.

#include "columns/Column.h"

#include "columns/Containers.h"
#include "columns/FileListSort.h"

#include "core/errors/Error.h"
#include "core/errors/Traced.h"
#include "core/files/FileExtensions.h"
#include "core/files/FileInfo.h"
#include "core/files/Partitions.h"
#include "core/files/PathNames.h"
#include "core/settings/ProgramOptions.h"
#include "core/text/StringList.h"

#include "host/LastError.h"

#include <algorithm>
#include <vector>

namespace {

constexpr uint32_t FileAttributeEncrypted = 0x4000;

// A listed item with its group rank and its place in its group's order, computed once.
struct TListedItem
{
    int32_t Rank;
    TSortPlace Place;
    std::unique_ptr<TFileListData> Item;
};

bool StandsBefore(const TListedItem& a, const TListedItem& b)
{
    if (a.Rank != b.Rank)
        return a.Rank < b.Rank;
    return CompareSortPlaces(a.Place, b.Place) < 0;
}

// The type of a file that is not a directory, by the first extension test it passes. The
// tests read only the extension, and the extension alone has itself as extension, so the
// long name is searched for its extension once, not once per test.
int32_t GetFileTypeOfName(const std::string& name)
{
    const std::string extension = GetExtension(name);
    if (IsDocumentFile(extension))
        return ftDocument;
    if (IsProgramFile(extension))
        return ftProgram;
    if (IsLinkFile(extension))
        return ftLink;
    return ftGeneric;
}

} // namespace

int32_t TColumn::GetTypeOrder(int32_t type) const
{
    const TProgramOptions& o = ProgramOptions;
    switch (type) {
    case ftDirectory:
        return !o.SeparateDirs ? 5 : o.DirsAtEnd ? 6 : 0;
    case ftLink:
        return o.SeparateLinks ? 2 : 5;
    case ftProgram:
        return o.SeparateProgs ? 3 : 5;
    case ftDocument:
        return o.SeparateDocs ? 4 : 5;
    default:
        return type;
    }
}

void TColumn::CountType(int32_t type)
{
    switch (type) {
    case ftDirectory:
        ++DirsCount;
        break;
    case ftLink:
        ++LinksCount;
        break;
    case ftProgram:
        ++ProgramsCount;
        break;
    case ftDocument:
        ++DocumentsCount;
        break;
    default:
        ++GenericCount;
        break;
    }
}

void TColumn::LoadWithFiles(const std::string& title, const std::string& sortMode)
{
    std::vector<host::FindData> entries;
    LoadWithFiles(title, sortMode, entries);
}

void TColumn::LoadWithFiles(const std::string& title, const std::string& sortMode, std::vector<host::FindData>& entries)
{
    TTraced trace;
    try {
        ClearList();
        entries.clear();
        const std::string directory = GetParentPath(title);
        if (directory.empty()) {
            LoadWithPartitions();
            trace.TakeOver();
        } else {
            host::SetLastError(host::ERROR_SUCCESS);
            const bool found = host::FindFiles(directory, "*", entries);
            const uint32_t result = host::GetLastError();
            if (found || IsFindOk(result))
                ListEntries(directory, entries, GetSortKind(sortMode));
            else if (entries.empty())
                trace.Raise("Failed to first find file.", directory + "*", {}, result);
            else
                trace.Raise("Failed to find next file.", directory, {}, result);
        }
    }
    TRACED_CATCH(trace)
    // The counts describe the list: a failed listing leaves both empty, and no part of
    // the folder stands for the whole.
    if (!trace.Succeeded()) {
        ClearList();
        entries.clear();
    }
}

// One pass types and counts the entries; one sort orders the groups and each group by its
// order; the items are then handed to the list as they are.
void TColumn::ListEntries(const std::string& directory, const std::vector<host::FindData>& entries, TSortKind kind)
{
    const TProgramOptions& o = ProgramOptions;
    // A separate directory group is always sorted by name.
    const TSortKind directoryKind = o.SeparateDirs ? skName : kind;
    std::vector<TListedItem> listed;
    listed.reserve(entries.size());
    for (const host::FindData& entry : entries) {
        const bool isDirectory = (entry.Attributes & host::FILE_ATTRIBUTE_DIRECTORY) != 0;
        const bool encrypted = (entry.Attributes & FileAttributeEncrypted) != 0;
        const int32_t type = isDirectory ? ftDirectory : GetFileTypeOfName(entry.Name);
        const int64_t size = isDirectory ? 0 : static_cast<int64_t>(entry.Size);
        if (encrypted)
            ++EncryptedCount;
        CountType(type);
        TotalSize += size;
        // Generic files out of view are only counted.
        if (type == ftGeneric && !o.ShowFilesGroup)
            continue;
        auto item = std::make_unique<TFileListData>();
        item->Title.reserve(directory.size() + entry.Name.size());
        item->Title.append(directory).append(entry.Name);
        item->Type = type;
        item->Encrypted = encrypted;
        item->Size = size;
        item->Modified = entry.LastWriteTime;
        item->Created = entry.CreationTime;
        const TSortPlace place = MakeSortPlace(*item, isDirectory ? directoryKind : kind, directory.size());
        listed.push_back({GetTypeOrder(type), place, std::move(item)});
    }
    std::sort(listed.begin(), listed.end(), StandsBefore);
    TPanelItems items;
    items.reserve(listed.size());
    for (TListedItem& entry : listed)
        items.push_back(std::move(entry.Item));
    FileList->AppendItems(std::move(items));
}

void TColumn::LoadWithPartitions()
{
    TTraced trace;
    try {
        ClearList();
        std::vector<std::string> drives;
        int count = 0;
        GetLogicalDrivesList(drives, count);
        for (const std::string& drive : drives) {
            auto item = std::make_unique<TFileListData>();
            item->Title = drive;
            item->Type = ftDirectory;
            FileList->AddItem(std::move(item));
        }
    } catch (...) {
        trace.CatchCurrent();
        FileList->Clear();
    }
    FileList->ResetItems();
}

void TColumn::SetWithList(const TStringList& paths, bool select)
{
    TTraced trace;
    try {
        ClearList();
        for (int32_t i = 0; i < paths.Count(); ++i)
            AddListedPath(paths[i], select, 0);
    }
    TRACED_CATCH(trace)
    FileList->ResetItems();
}

void TColumn::SetWithContainer(const TContainer* container)
{
    TTraced trace;
    try {
        ClearList();
        if (container != nullptr)
            for (const TContainerItem& entry : container->Items())
                AddListedPath(entry.Path, false, entry.Data.ItemNumber);
    }
    TRACED_CATCH(trace)
    FileList->ResetItems();
}

// A path that does not exist is listed all the same, typed by its extension.
void TColumn::AddListedPath(const std::string& path, bool select, int32_t itemNumber)
{
    auto item = std::make_unique<TFileListData>();
    item->Title = path;
    item->ItemNumber = itemNumber;
    TFileInfo info;
    info.Load(path);
    const bool isDirectory = (info.Attributes & host::FILE_ATTRIBUTE_DIRECTORY) != 0;
    item->Type = isDirectory ? ftDirectory : GetFileTypeOfName(path);
    CountType(item->Type);
    item->Exists = info.Exists;
    if (info.Exists) {
        item->Modified = info.LastWriteTime;
        item->Created = info.CreationTime;
        if (!isDirectory) {
            item->Size = info.Size;
            TotalSize += info.Size;
        }
        if ((info.Attributes & FileAttributeEncrypted) != 0) {
            item->Encrypted = true;
            ++EncryptedCount;
        }
    }
    FileList->AddItem(std::move(item));
    if (select)
        SelectItem(FileList->GetRawCount() - 1);
}

bool TColumn::IsSynchronizedWith(const TStringList& paths) const
{
    const int32_t count = GetItemCount();
    if (count != paths.Count())
        return false;
    for (int32_t i = 0; i < count; ++i)
        if (GetItem(i).Title != paths[i])
            return false;
    return true;
}
