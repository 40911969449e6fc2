#pragma once

#include "host/FileSystem.h"

#include <string>
#include <vector>

// The entries of one folder, listed once, for a walk that asks about a file of it for each
// file of another folder: one listing instead of one lookup a file. Only what the listing
// saw is answered; anything else is left to the caller's own lookup, so a name the listing
// leaves out, a missing or unreadable folder and a file made since give the answers and
// the errors of that lookup.
class TFolderEntries
{
public:
    TFolderEntries() = default;
    // Lists `folder`; a listing that fails in any way keeps nothing.
    explicit TFolderEntries(const std::string& folder);

    // The entry of `path`, a file directly in the folder that the listing gave; otherwise null.
    const host::FindData* Find(const std::string& path) const;

private:
    // Ends with a backslash.
    std::string Folder;
    // Sorted by name, which is compared byte for byte as the lookup of a path does.
    std::vector<host::FindData> Entries;
};
