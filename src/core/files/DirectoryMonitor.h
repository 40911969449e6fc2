#pragma once

#include "host/ChangeNotification.h"

#include <string>
#include <vector>

// Tells, without waiting, whether the folder a column lists has changed since the column
// last loaded it: entries created, deleted or renamed, sizes or attributes changed. The
// folder's subfolders are not watched.
//
// Unarmed: nothing watched (the folder has no folder part: the drive list, "C:").
// Armed: a notification is open on the folder. Broken: a folder but no notification
// (its drive was absent, or the system refused); the folder then reads as changed at
// every poll, rather than being left stale, until it can be armed again.
class TDirectoryMonitor
{
public:
    host::ChangeNotification Handle;
    std::string Folder;

    TDirectoryMonitor() { Clear(); }
    ~TDirectoryMonitor() { Reset(); }
    TDirectoryMonitor(const TDirectoryMonitor&) = delete;
    TDirectoryMonitor& operator=(const TDirectoryMonitor&) = delete;

    // Forgets the folder and the notification.
    void Clear();
    void Close();
    // Nothing is watched any more.
    void Reset();
    // Arms the monitor on a listed folder ("C:\d\"); the first Next reports only changes
    // made after it. Traced; "Failed set monitor." leaves the monitor broken.
    void Ini(const std::string& folder);
    // As Ini, with the entries just listed there (host::FindFiles with "*"), so that the
    // folder is not read a second time.
    void Ini(const std::string& folder, std::vector<host::FindData>&& listing);
    // Closes the notification and opens one on the folder. Traced.
    void Set(const std::string& folder);
    // Looks at the notification without waiting. Traced; "Failed get status.".
    bool GetChange();
    // True when the folder changed since the last Ini or Next; re-arms in every case.
    // Traced, with a failure to re-arm as its outcome.
    bool Next();

private:
    // A null listing: the folder is read to learn what it holds.
    void Arm(const std::string& folder, std::vector<host::FindData>* listing);
    bool IsWatching() const;
    bool RearmInPlace();
};
