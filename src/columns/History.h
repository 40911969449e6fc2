#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class QAction;
class QMenu;

// Where the user went. A paths history holds one entry per visited folder: the full path
// of the item focused there, its file type, its row offset in the view and its sort key;
// an entry belongs to the folder of its title (C:\d\ for C:\d\a.txt, and C:\d\ for the
// folder title C:\d\ itself). A files history holds the paths of started files. Titles
// and folders compare with ASCII letter case ignored.

inline constexpr int32_t HistoryCapacity = 1000;

// The state kept with an entry. An operation that does not find an entry leaves the
// fields it does not set as the caller put them.
struct THistoryEntry
{
    std::string Title;
    int32_t Type = 0;
    int32_t Offset = 0;
    int64_t Key = 0;
};

// The option file and the search read and write the fields directly: entry 0 is the
// oldest, entry Count - 1 the newest; slots from Count on are not part of the history.
class THistory
{
public:
    int32_t Count = 0;
    std::array<std::string, HistoryCapacity> Titles;
    std::array<int32_t, HistoryCapacity> Types{};
    std::array<int32_t, HistoryCapacity> Offsets{};
    std::array<int64_t, HistoryCapacity> Keys{};

    void Clear() { Count = 0; }

    // Records the focus of a folder: the newest entry is overwritten when it belongs to the
    // same folder; otherwise, with `removeOlder`, the folder's older entries go first (and
    // with `takeOlderState` the new entry keeps the removed one's offset and key). Empty
    // titles and drive names are ignored, and so is a bare folder title while the folder
    // has an entry. At capacity the oldest entry is dropped.
    void AddPathItem(const std::string& title, int32_t type, int32_t offset, int64_t key, bool removeOlder,
                     bool takeOlderState);
    // Records a started file, unless it is the newest entry already; with `removeOlder`
    // its older entries go first.
    void AddFileItem(const std::string& title, bool removeOlder);

    // The newest entry of the folder (given with its trailing backslash), or -1 with the
    // folder itself as title.
    int32_t FindDirectoryItem(const std::string& directory, THistoryEntry& entry) const;
    // The newest entry of the folder above the title's folder, or -1. Either way the title
    // becomes the title's folder without its backslash: the item to focus in the parent.
    int32_t FindParentDirectoryItem(const std::string& title, THistoryEntry& entry) const;
    // Removes the older entries of the title's folder (every one but the newest entry, or
    // the only entry); the offset of the last one removed, with its key, or -1.
    int32_t RemoveDirectoryItem(const std::string& title, int64_t& key);
    // The same for the older entries equal to the title.
    int32_t RemoveFileItem(const std::string& title);
    // Forgets the newest entry when it belongs to the title's folder and is not the only one.
    void DropNewestInDirectory(const std::string& title);

private:
    bool BelongsToDirectoryOf(int32_t index, const std::string& title) const;
    int32_t RemoveOlderEntries(const std::function<bool(int32_t)>& matches, int64_t& key);
    void MoveEntry(int32_t from, int32_t to);
    int32_t AppendTitle(const std::string& title);
    void StoreEntry(int32_t index, const std::string& title, int32_t type, int32_t offset, int64_t key);
};

// A history with its menu: the newest twenty folders, the newest first, each item calling
// OnSelect with the state of its entry.
class THistoryDialog : public THistory
{
public:
    // Unset: choosing an item does nothing.
    std::function<void(const std::string& title, int32_t type, int32_t offset, int64_t key)> OnSelect;

    // Fills the submenu anew. Traced.
    void Setup(QMenu& menu);
    // The handler of every item that Setup makes; its data is the entry's index.
    void MenuItemClick(const QAction& sender);
};

extern THistoryDialog PathsHistory;
extern THistoryDialog FilesHistory;
