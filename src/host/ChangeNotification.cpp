#include "host/ChangeNotification.h"

#include "host/Drives.h"
#include "host/FaultInjection.h"
#include "host/LastError.h"

#include <cerrno>
#include <map>
#include <sys/inotify.h>
#include <unistd.h>

namespace host {

namespace {

constexpr uint32_t NameEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr uint32_t StateEvents = IN_MODIFY | IN_ATTRIB;
// After one of these the watch no longer stands for the folder's content.
constexpr uint32_t LostWatchEvents = IN_Q_OVERFLOW | IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT;
constexpr uint32_t WatchMask = NameEvents | StateEvents | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

} // namespace

// One inotify instance for the whole process (the system allows each user only a few),
// its events handed to every notification of their watch.
class NotificationHub
{
public:
    bool EnsureOpen()
    {
        if (Descriptor < 0)
            Descriptor = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (Descriptor < 0)
            SetLastErrorFromErrno(errno);
        return Descriptor >= 0;
    }

    int AddWatch(const std::string& hostFolder)
    {
        const int watch = inotify_add_watch(Descriptor, hostFolder.c_str(), WatchMask);
        if (watch < 0)
            SetLastErrorFromErrno(errno);
        return watch;
    }

    void Register(int watch, ChangeNotification* notification) { Watchers.emplace(watch, notification); }

    void Unregister(int watch, ChangeNotification* notification)
    {
        const auto [first, last] = Watchers.equal_range(watch);
        for (auto it = first; it != last; ++it) {
            if (it->second == notification) {
                Watchers.erase(it);
                break;
            }
        }
        if (Watchers.count(watch) == 0)
            inotify_rm_watch(Descriptor, watch);
    }

    // Hands every pending event to its notifications; never waits.
    bool Drain()
    {
        alignas(inotify_event) char buffer[64 * 1024];
        while (true) {
            const ssize_t got = read(Descriptor, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0 && errno == EAGAIN)
                return true;
            if (got <= 0) {
                SetLastErrorFromErrno(got == 0 ? EIO : errno);
                return false;
            }
            Dispatch(buffer, static_cast<size_t>(got));
        }
    }

private:
    void Dispatch(const char* buffer, size_t size)
    {
        for (size_t at = 0; at + sizeof(inotify_event) <= size;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            const std::string name = event->len > 0 ? std::string(event->name) : std::string();
            if (event->mask & IN_Q_OVERFLOW) {
                for (const auto& [watch, notification] : Watchers)
                    notification->TakeEvent(event->mask, name);
            } else {
                const auto [first, last] = Watchers.equal_range(event->wd);
                for (auto it = first; it != last; ++it)
                    it->second->TakeEvent(event->mask, name);
            }
            at += sizeof(inotify_event) + event->len;
        }
    }

    int Descriptor = -1;
    std::multimap<int, ChangeNotification*> Watchers;
};

namespace {

// Never destroyed, so that a notification closed during exit still finds it.
NotificationHub& Hub()
{
    static NotificationHub& hub = *new NotificationHub;
    return hub;
}

} // namespace

ChangeNotification::~ChangeNotification()
{
    Close();
}

bool ChangeNotification::Open(const std::string& windowsFolder)
{
    if (!Watch(windowsFolder))
        return false;
    std::vector<FindData> listing;
    FindFiles(windowsFolder, "*", listing);
    TakeSnapshot(std::move(listing));
    SetLastError(ERROR_SUCCESS);
    return true;
}

bool ChangeNotification::Open(const std::string& windowsFolder, std::vector<FindData>&& listing)
{
    if (!Watch(windowsFolder))
        return false;
    TakeSnapshot(std::move(listing));
    SetLastError(ERROR_SUCCESS);
    return true;
}

bool ChangeNotification::Watch(const std::string& windowsFolder)
{
    Close();
    if (TakeFault(HostCall::Notify))
        return false;
    const std::optional<std::string> hostFolder = WindowsToHost(windowsFolder);
    if (!hostFolder || !Hub().EnsureOpen())
        return false;
    const int watch = Hub().AddWatch(*hostFolder);
    // Events still queued for a watch this one shares belong to the time before it.
    if (watch < 0 || !Hub().Drain())
        return false;
    Hub().Register(watch, this);
    WatchDescriptor = watch;
    WindowsFolder = windowsFolder;
    Signalled = false;
    WatchGone = false;
    return true;
}

std::optional<bool> ChangeNotification::Poll()
{
    if (TakeFault(HostCall::Notify))
        return std::nullopt;
    if (!IsOpen()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return std::nullopt;
    }
    if (!Hub().Drain())
        return std::nullopt;
    SetLastError(ERROR_SUCCESS);
    return Signalled;
}

bool ChangeNotification::Rearm()
{
    if (!IsOpen() || !Hub().Drain() || WatchGone)
        return false;
    Signalled = false;
    SetLastError(ERROR_SUCCESS);
    return true;
}

void ChangeNotification::Close()
{
    if (IsOpen())
        Hub().Unregister(WatchDescriptor, this);
    WatchDescriptor = -1;
    WindowsFolder.clear();
    Entries.clear();
    Signalled = false;
    WatchGone = false;
}

void ChangeNotification::TakeEvent(uint32_t mask, const std::string& name)
{
    if (mask & LostWatchEvents) {
        Signalled = true;
        WatchGone = true;
        return;
    }
    // The snapshot holds Windows names; a name without one is never listed.
    const std::optional<std::string> windowsName = WindowsNameOfHostName(name);
    if (!windowsName)
        return;
    const std::optional<EntryState> state = ReadEntryState(*windowsName);
    const auto known = Entries.find(*windowsName);
    if ((mask & NameEvents) || !state || known == Entries.end() || !(known->second == *state))
        Signalled = true;
    if (state)
        Entries[*windowsName] = *state;
    else if (known != Entries.end())
        Entries.erase(known);
}

// What each entry looks like now, so that a later write can be told apart from a change
// of size or attributes.
void ChangeNotification::TakeSnapshot(std::vector<FindData>&& listing)
{
    Entries.reserve(listing.size());
    for (FindData& entry : listing)
        Entries.emplace(std::move(entry.Name), EntryState{entry.Attributes, entry.Size});
}

std::optional<ChangeNotification::EntryState> ChangeNotification::ReadEntryState(const std::string& name) const
{
    const std::string separator = WindowsFolder.back() == '\\' ? "" : "\\";
    const std::optional<FindData> data = GetFileData(WindowsFolder + separator + name);
    if (!data)
        return std::nullopt;
    return EntryState{data->Attributes, data->Size};
}

} // namespace host
