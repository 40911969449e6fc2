#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// A lean listing of one folder, entry by entry, for walks over many files: the name and
// kind come from the directory entry itself, and a status is asked only when the entry
// does not tell its kind or is a symbolic link. Names are the Windows names of every
// listing (WindowsNameOfHostName); a name without one, or whose path would pass 259 bytes,
// is left out. Every call sets the last error.
namespace host {

class File;

struct DirectoryEntry
{
    // Reused from entry to entry, so a walk allocates only for names longer than any before.
    std::string Name;
    // A folder, or a link to one (IsLink tells which).
    bool IsDirectory = false;
    bool IsLink = false;
    // A regular file, or a link to one: the only entries with content to read.
    bool IsRegular = false;
};

class DirectoryReader
{
public:
    DirectoryReader() = default;
    ~DirectoryReader();
    DirectoryReader(const DirectoryReader&) = delete;
    DirectoryReader& operator=(const DirectoryReader&) = delete;

    // A missing folder fails with ERROR_PATH_NOT_FOUND. A reader that is open is closed first.
    bool Open(const std::string& windowsFolder);
    // The next entry, never "." or "..". False at the end (ERROR_NO_MORE_FILES) or when the
    // folder cannot be read further (its error).
    bool Next(DirectoryEntry& entry);
    void Close();
    // Opens the entry that Next gave last as File::OpenToRead does, without looking its
    // path up again.
    std::optional<uint64_t> OpenEntryToRead(File& file) const;
    // The host name of the entry Next gave last, valid until the next call: what a caller
    // keeps to open the entry later with OpenListedEntry.
    const char* EntryHostName() const { return CurrentHostName; }
    // Opens an entry an earlier Next gave, by its host name, while this reader stays open;
    // other threads may call it while this one lists on. A link is opened and measured as
    // OpenToReadAt does (`size` set), any other entry as File::OpenListedRegular (`size`
    // left empty).
    bool OpenListedEntry(File& file, const char* hostName, bool isLink, std::optional<uint64_t>& size) const;

private:
    bool SetKind(const char* hostName, unsigned char type, DirectoryEntry& entry) const;

    void* Directory = nullptr;
    // The folder's descriptor, read apart from the listing's state by OpenListedEntry.
    int Descriptor = -1;
    // The host name of the entry Next gave last, valid until the next call.
    const char* CurrentHostName = nullptr;
    size_t FolderBytes = 0;
    bool AnyEntry = false;
};

} // namespace host
