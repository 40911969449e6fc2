#pragma once

#include <string>
#include <vector>

// What an install placed in its folder, so that an uninstall deletes exactly that and
// nothing the user keeps beside it. The record is a hidden file in the installed folder:
// one line a path below the folder ("sub\a.txt"; a folder ends with a backslash). A link
// in its place is no record: it is neither read nor written through, and a new record
// replaces it.
inline constexpr const char* InstallRecordName = ".quillomber-install";

bool HasInstallRecord(const std::string& folder);

// Adds the placed entries (full paths inside the folder) to the folder's record, keeping
// what an earlier install recorded. False with the last error set.
bool AddToInstallRecord(const std::string& folder, const std::vector<std::string>& placed);

struct TRecordedDeletion
{
    // Recorded entries that are still there because they could not be deleted.
    int Left = 0;
    std::string FirstLeft;
};

// Deletes the recorded files, then the recorded folders that are then empty (the deepest
// first), then the folder itself when it is empty. An entry that now lies beyond a
// symbolic link, or whose file has become a folder, is left alone. What is left stays in
// the record, so a later uninstall can try again; an emptied record goes.
TRecordedDeletion DeleteRecordedEntries(const std::string& folder);
