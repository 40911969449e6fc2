#include "columns/History.h"

#include "core/errors/Traced.h"
#include "core/files/PathNames.h"
#include "core/forms/Utilities.h"
#include "core/text/AsciiCase.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

namespace {

constexpr int32_t HistoryMenuLength = 20;

bool IsRecordable(const std::string& title)
{
    return !title.empty() && !IsDriveName(title);
}

bool HasNamePart(const std::string& title)
{
    return !GetPathName(title).empty();
}

} // namespace

THistoryDialog PathsHistory;
THistoryDialog FilesHistory;

void THistory::AddPathItem(const std::string& title, int32_t type, int32_t offset, int64_t key, bool removeOlder,
                           bool takeOlderState)
{
    if (!IsRecordable(title))
        return;
    // An entry with a focused item is worth more than the bare folder.
    THistoryEntry ignored;
    if (!HasNamePart(title) && FindDirectoryItem(GetParentPath(title), ignored) >= 0)
        return;
    if (Count > 0 && BelongsToDirectoryOf(Count - 1, title))
        return StoreEntry(Count - 1, title, type, offset, key);
    if (removeOlder) {
        const int32_t countBefore = Count;
        int64_t removedKey = key;
        const int32_t removedOffset = RemoveDirectoryItem(title, removedKey);
        if (takeOlderState && Count < countBefore) {
            offset = removedOffset;
            key = removedKey;
        }
    }
    StoreEntry(AppendTitle(title), title, type, offset, key);
}

void THistory::AddFileItem(const std::string& title, bool removeOlder)
{
    if (!IsRecordable(title) || !HasNamePart(title))
        return;
    if (Count > 0 && SameTextAscii(Titles[static_cast<size_t>(Count - 1)], title))
        return;
    if (removeOlder)
        RemoveFileItem(title);
    AppendTitle(title);
}

int32_t THistory::FindDirectoryItem(const std::string& directory, THistoryEntry& entry) const
{
    for (int32_t index = Count - 1; index >= 0; --index) {
        const auto i = static_cast<size_t>(index);
        if (SameTextAscii(GetParentPath(Titles[i]), directory)) {
            entry = THistoryEntry{Titles[i], Types[i], Offsets[i], Keys[i]};
            return index;
        }
    }
    entry.Title = directory;
    return -1;
}

int32_t THistory::FindParentDirectoryItem(const std::string& title, THistoryEntry& entry) const
{
    const std::string folder = ExcludeEndBackslash(GetParentPath(title));
    const std::string parent = GetParentPath(folder);
    entry.Title = folder;
    for (int32_t index = Count - 1; index >= 0; --index) {
        const auto i = static_cast<size_t>(index);
        if (SameTextAscii(GetParentPath(Titles[i]), parent)) {
            entry.Type = Types[i];
            entry.Offset = Offsets[i];
            entry.Key = Keys[i];
            return index;
        }
    }
    return -1;
}

int32_t THistory::RemoveDirectoryItem(const std::string& title, int64_t& key)
{
    return RemoveOlderEntries([&](int32_t index) { return BelongsToDirectoryOf(index, title); }, key);
}

int32_t THistory::RemoveFileItem(const std::string& title)
{
    int64_t ignoredKey = 0;
    return RemoveOlderEntries([&](int32_t index) { return SameTextAscii(Titles[static_cast<size_t>(index)], title); },
                              ignoredKey);
}

void THistory::DropNewestInDirectory(const std::string& title)
{
    if (Count >= 2 && BelongsToDirectoryOf(Count - 1, title))
        --Count;
}

bool THistory::BelongsToDirectoryOf(int32_t index, const std::string& title) const
{
    return SameTextAscii(GetParentPath(Titles[static_cast<size_t>(index)]), GetParentPath(title));
}

// The newest entry stays unless it is the only one; the kept entries close up in order.
int32_t THistory::RemoveOlderEntries(const std::function<bool(int32_t)>& matches, int64_t& key)
{
    const int32_t searched = Count >= 2 ? Count - 1 : Count;
    int32_t offset = -1;
    int32_t kept = 0;
    for (int32_t index = 0; index < Count; ++index) {
        if (index < searched && matches(index)) {
            offset = Offsets[static_cast<size_t>(index)];
            key = Keys[static_cast<size_t>(index)];
        } else {
            MoveEntry(index, kept++);
        }
    }
    Count = kept;
    return offset;
}

void THistory::MoveEntry(int32_t from, int32_t to)
{
    if (from == to)
        return;
    const auto source = static_cast<size_t>(from);
    const auto target = static_cast<size_t>(to);
    Titles[target] = std::move(Titles[source]);
    Types[target] = Types[source];
    Offsets[target] = Offsets[source];
    Keys[target] = Keys[source];
}

// At capacity the oldest entry makes room. Gives the new entry's index.
int32_t THistory::AppendTitle(const std::string& title)
{
    if (Count == HistoryCapacity) {
        for (int32_t index = 1; index < Count; ++index)
            MoveEntry(index, index - 1);
        --Count;
    }
    Titles[static_cast<size_t>(Count)] = title;
    return Count++;
}

void THistory::StoreEntry(int32_t index, const std::string& title, int32_t type, int32_t offset, int64_t key)
{
    const auto i = static_cast<size_t>(index);
    Titles[i] = title;
    Types[i] = type;
    Offsets[i] = offset;
    Keys[i] = key;
}

void THistoryDialog::Setup(QMenu& menu)
{
    TTraced trace;
    try {
        menu.clear();
        const int32_t shown = std::min(Count, HistoryMenuLength);
        for (int32_t k = 0; k < shown; ++k) {
            const int32_t index = Count - 1 - k;
            QAction* item = menu.addAction(
                QString::fromStdString(EscapeMenuCaption(GetParentPath(Titles[static_cast<size_t>(index)]))));
            item->setData(index);
            QObject::connect(item, &QAction::triggered, item, [this, item] { MenuItemClick(*item); });
        }
    }
    TRACED_CATCH(trace)
}

void THistoryDialog::MenuItemClick(const QAction& sender)
{
    const int32_t index = sender.data().toInt();
    // A menu outlives no change of the history, but its index is checked all the same.
    if (!OnSelect || index < 0 || index >= Count)
        return;
    const auto i = static_cast<size_t>(index);
    OnSelect(Titles[i], Types[i], Offsets[i], Keys[i]);
}
