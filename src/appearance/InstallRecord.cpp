#include "appearance/InstallRecord.h"

#include "core/files/FileInfo.h"
#include "core/files/FileOperations.h"
#include "core/files/PathNames.h"

#include "host/File.h"
#include "host/FileSystem.h"
#include "host/LastError.h"

#include <algorithm>
#include <optional>
#include <set>

namespace {

// A record is a list of names; anything near this size was not written by an install.
constexpr uint64_t MaxRecordBytes = 16 * 1024 * 1024;

std::string RecordFileName(const std::string& folder)
{
    return IncludeEndBackslash(folder) + InstallRecordName;
}

bool IsFolderEntry(const std::string& entry)
{
    return entry.ends_with('\\');
}

// Only a path that stays below the folder may be acted on: a record that was edited
// must not reach beyond it.
bool IsEntryBelowFolder(const std::string& entry)
{
    std::string rest = IsFolderEntry(entry) ? entry.substr(0, entry.size() - 1) : entry;
    if (rest.empty() || rest.find_first_of(":/") != std::string::npos)
        return false;
    while (!rest.empty()) {
        const std::string name = CutFirstPathName(rest);
        if (name.empty() || name == "." || name == "..")
            return false;
    }
    return true;
}

bool IsLinkOrMissing(const std::string& path)
{
    const uint32_t attributes = host::GetFileAttributes(path);
    return attributes == host::INVALID_FILE_ATTRIBUTES || (attributes & host::FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// A record is the folder's own file: a link in its place was put there by something else,
// and what it names is never read as the record nor written over.
std::set<std::string> ReadRecord(const std::string& folder)
{
    std::set<std::string> entries;
    if (!HasInstallRecord(folder))
        return entries;
    const std::optional<std::string> text = host::ReadFileContents(RecordFileName(folder), MaxRecordBytes);
    if (!text)
        return entries;
    size_t start = 0;
    while (start < text->size()) {
        size_t end = text->find('\n', start);
        if (end == std::string::npos)
            end = text->size();
        if (end > start)
            entries.insert(text->substr(start, end - start));
        start = end + 1;
    }
    return entries;
}

bool WriteRecord(const std::string& folder, const std::set<std::string>& entries)
{
    std::string text;
    for (const std::string& entry : entries)
        text += entry + "\n";
    return host::ReplacePrivateFileContents(RecordFileName(folder), text);
}

bool IsRealFolder(const std::string& path)
{
    const uint32_t attributes = host::GetFileAttributes(path);
    return attributes != host::INVALID_FILE_ATTRIBUTES && (attributes & host::FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (attributes & host::FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

// Every folder between the installed folder and the entry is a real folder, so the entry
// is the one the install placed there and not a file a link leads to.
bool IsReachedWithoutLinks(const std::string& folder, const std::string& entry)
{
    std::string rest = IsFolderEntry(entry) ? entry.substr(0, entry.size() - 1) : entry;
    std::string path = ExcludeEndBackslash(folder);
    while (true) {
        path += "\\" + CutFirstPathName(rest);
        if (rest.empty())
            return true;
        if (IsLinkOrMissing(path) || !IsRealFolder(path))
            return false;
    }
}

// True when the file is gone afterwards (or was gone already).
bool DeleteRecordedFile(const std::string& path)
{
    if (!host::PathExists(path))
        return true;
    if (IsRealFolder(path))
        return false;
    MyDeleteFile(path);
    return !host::PathExists(path);
}

// True when the folder is gone, or stays only because something else is in it.
bool DeleteRecordedFolder(const std::string& path)
{
    if (!host::PathExists(path))
        return true;
    if (!IsRealFolder(path))
        return false;
    return host::RemoveDirectory(path) || host::GetLastError() == host::ERROR_DIR_NOT_EMPTY;
}

size_t Depth(const std::string& entry)
{
    return static_cast<size_t>(std::count(entry.begin(), entry.end(), '\\'));
}

} // namespace

bool HasInstallRecord(const std::string& folder)
{
    const uint32_t attributes = host::GetFileAttributes(RecordFileName(folder));
    constexpr uint32_t NotAFile = host::FILE_ATTRIBUTE_DIRECTORY | host::FILE_ATTRIBUTE_REPARSE_POINT;
    return attributes != host::INVALID_FILE_ATTRIBUTES && (attributes & NotAFile) == 0;
}

bool AddToInstallRecord(const std::string& folder, const std::vector<std::string>& placed)
{
    std::set<std::string> entries = ReadRecord(folder);
    const std::string prefix = IncludeEndBackslash(folder);
    for (const std::string& path : placed)
        if (path.size() > prefix.size() && path.starts_with(prefix))
            entries.insert(path.substr(prefix.size()));
    return WriteRecord(folder, entries);
}

TRecordedDeletion DeleteRecordedEntries(const std::string& folder)
{
    const std::set<std::string> entries = ReadRecord(folder);
    std::vector<std::string> files;
    std::vector<std::string> folders;
    for (const std::string& entry : entries)
        (IsFolderEntry(entry) ? folders : files).push_back(entry);
    std::stable_sort(folders.begin(), folders.end(),
                     [](const std::string& a, const std::string& b) { return Depth(a) > Depth(b); });

    std::set<std::string> left;
    const std::string prefix = IncludeEndBackslash(folder);
    const auto remove = [&](const std::string& entry, bool (*deleteOne)(const std::string&)) {
        const bool gone = IsEntryBelowFolder(entry) && IsReachedWithoutLinks(folder, entry) &&
                          deleteOne(ExcludeEndBackslash(prefix + entry));
        if (!gone)
            left.insert(entry);
    };
    for (const std::string& entry : files)
        remove(entry, DeleteRecordedFile);
    for (const std::string& entry : folders)
        remove(entry, DeleteRecordedFolder);

    TRecordedDeletion outcome;
    outcome.Left = static_cast<int>(left.size());
    if (!left.empty()) {
        outcome.FirstLeft = prefix + *left.begin();
        WriteRecord(folder, left);
        return outcome;
    }
    host::DeleteFile(RecordFileName(folder));
    host::RemoveDirectory(ExcludeEndBackslash(folder));
    return outcome;
}
