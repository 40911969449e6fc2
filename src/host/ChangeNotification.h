#pragma once

#include "host/FileSystem.h"

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

// A change notification on one folder, not its subfolders. It fires when an entry is
// created, deleted or renamed, or when an entry's size or attributes (type, owner's write
// bit) change; a write or a time stamp that changes neither does not fire it. Entries
// whose names the program cannot show are left out. Polled without ever waiting; all
// notifications share one inotify instance. User-interface thread only.
namespace host {

class ChangeNotification
{
public:
    ChangeNotification() = default;
    ~ChangeNotification();
    ChangeNotification(const ChangeNotification&) = delete;
    ChangeNotification& operator=(const ChangeNotification&) = delete;

    // Closes any earlier watch and watches the folder; false with the last error set.
    bool Open(const std::string& windowsFolder);
    // As Open, with the folder's entries just listed (FindFiles with "*") taken as what the
    // folder holds, instead of reading it once more.
    bool Open(const std::string& windowsFolder, std::vector<FindData>&& listing);
    bool IsOpen() const { return WatchDescriptor >= 0; }
    // Whether the folder changed since Open or Rearm; the answer stays true until then.
    // Nothing, with the last error set, when the notification cannot be read.
    std::optional<bool> Poll();
    // Starts a new period on the same watch. False when the watch is gone (the folder was
    // deleted, moved or unmounted, or changes were lost): it then takes a new Open.
    bool Rearm();
    void Close();

private:
    friend class NotificationHub;

    // An entry as a listing gives it: its attributes and its size.
    struct EntryState
    {
        uint32_t Attributes = 0;
        uint64_t Size = 0;
        bool operator==(const EntryState&) const = default;
    };

    bool Watch(const std::string& windowsFolder);
    void TakeEvent(uint32_t mask, const std::string& name);
    void TakeSnapshot(std::vector<FindData>&& listing);
    std::optional<EntryState> ReadEntryState(const std::string& name) const;

    int WatchDescriptor = -1;
    std::string WindowsFolder;
    bool Signalled = false;
    bool WatchGone = false;
    std::unordered_map<std::string, EntryState> Entries;
};

} // namespace host
