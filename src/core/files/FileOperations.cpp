#include "core/files/FileOperations.h"

#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/files/PathNames.h"
#include "core/forms/ModalSeam.h"

#include "host/FileStreams.h"
#include "host/FileSystem.h"
#include "host/LastError.h"

TFileUnitLoader FileUnitLoader;

namespace {

bool IsLinkEntry(const host::FindData& entry)
{
    return (entry.Attributes & host::FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

bool IsFolderEntry(const host::FindData& entry)
{
    return (entry.Attributes & host::FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Only a cancel is no failure: a call that failed for any other reason, with whatever
// code, is reported.
bool FailedUnlessCancelled(bool succeeded)
{
    return !succeeded && host::GetLastError() != host::ERROR_REQUEST_ABORTED;
}

bool IsReadOnlyEntry(const std::string& path)
{
    const uint32_t attributes = host::GetFileAttributes(path);
    return attributes != host::INVALID_FILE_ATTRIBUTES && (attributes & host::FILE_ATTRIBUTE_READONLY) != 0;
}

// The host refuses to delete a read-only file: only such a refusal makes it writable and
// tries again, so a file that is not read-only costs no look at its attributes.
bool DeleteClearingReadOnly(const std::string& path)
{
    if (host::DeleteFile(path))
        return true;
    const uint32_t refusal = host::GetLastError();
    const TClearedMode cleared =
        refusal == host::ERROR_ACCESS_DENIED && IsReadOnlyEntry(path) ? ClearReadOnlyRemembered(path) : std::nullopt;
    if (cleared && host::DeleteFile(path))
        return true;
    // A file that stays keeps its mode; the delete's own refusal is reported.
    const uint32_t failure = cleared ? host::GetLastError() : refusal;
    PutClearedModeBack(path, cleared);
    host::SetLastError(failure);
    return false;
}

void DeleteEntry(const std::string& path, const host::FindData& entry)
{
    if (IsLinkEntry(entry)) {
        if (IsFolderEntry(entry))
            host::RemoveDirectory(path);
        else
            host::DeleteFile(path);
    } else if (IsFolderEntry(entry)) {
        DeleteDirectoryNoErrors(path);
    } else {
        DeleteClearingReadOnly(path);
    }
}

bool IsHiddenOrSystem(const host::FindData& entry)
{
    return (entry.Attributes & (host::FILE_ATTRIBUTE_HIDDEN | host::FILE_ATTRIBUTE_SYSTEM)) != 0;
}

host::UnheldStreams UnheldStreamsFor(bool dropStreams)
{
    return dropStreams ? host::UnheldStreams::Drop : host::UnheldStreams::Refuse;
}

std::string JoinedNames(const std::vector<std::string>& names)
{
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "" : ", ") + name;
    return joined;
}

// A copy refused because the target cannot hold the source's streams names them.
void RaiseCopyFailure(TTraced& trace, const std::string& failureText, const std::string& source,
                      const std::string& target)
{
    if (host::GetLastError() == host::ERROR_NOT_SUPPORTED) {
        std::vector<std::string> names;
        if (host::ListFileStreams(source, names) && !names.empty())
            return trace.Raise("The target's file system cannot hold the streams " + JoinedNames(names) + ".", source,
                               target, host::ERROR_NOT_SUPPORTED);
        host::SetLastError(host::ERROR_NOT_SUPPORTED);
    }
    trace.RaiseSystem(failureText, source, target);
}

// What a tree copy did: the files and folders that could not be copied (the first one is
// named; a folder among them shows the box) and, when asked, the files and folders it placed.
struct TTreeCopyOutcome
{
    int Count = 0;
    bool FolderFailed = false;
    std::string Source;
    std::string Target;
    uint32_t Code = 0;
    std::vector<std::string>* Placed = nullptr;

    void Add(const std::string& source, const std::string& target, uint32_t code)
    {
        if (Count++ == 0) {
            Source = source;
            Target = target;
            Code = code;
        }
    }
    void AddPlaced(const std::string& target)
    {
        if (Placed != nullptr)
            Placed->push_back(target);
    }
};

// Makes the target folder and copies the source folder's entries into it, the folders
// below included; every entry that cannot be copied is counted and the copy goes on.
// Nothing, or what failed for the folder itself (the last error tells why).
const char* CopyTreeLevel(const std::string& source, const std::string& target, TTreeCopyOutcome& outcome)
{
    host::SetLastError(host::ERROR_SUCCESS);
    host::CreateDirectory(target, source);
    if (IsSystemErrorNotExisting())
        return "Failed to create directory.";
    std::vector<host::FindData> entries;
    if (!host::FindFiles(source, "*", entries) && !IsFindOk(host::GetLastError()))
        return "Failed to find first file.";
    for (const host::FindData& entry : entries) {
        // Linked folders are not entered: a link back up the tree would never end.
        if (IsHiddenOrSystem(entry) || (IsFolderEntry(entry) && IsLinkEntry(entry)))
            continue;
        const std::string from = IncludeEndBackslash(source) + entry.Name;
        const std::string to = IncludeEndBackslash(target) + entry.Name;
        if (IsFolderEntry(entry)) {
            outcome.AddPlaced(IncludeEndBackslash(to));
            if (CopyTreeLevel(from, to, outcome) != nullptr) {
                outcome.FolderFailed = true;
                outcome.Add(from, to, host::GetLastError());
            }
        } else {
            const TClearedMode cleared = RemoveReplacedTarget(from, to, true);
            if (host::CopyFile(from, to, false)) {
                outcome.AddPlaced(to);
            } else {
                PutClearedModeBack(to, cleared);
                outcome.Add(from, to, host::GetLastError());
            }
        }
    }
    return nullptr;
}

} // namespace

bool CopyProgressRoutine(uint64_t transferred, uint64_t total)
{
    bool goOn = true;
    if (FileUnitLoader.OnProgress && total > 0) {
        try {
            goOn = FileUnitLoader.OnProgress(static_cast<double>(transferred) / static_cast<double>(total));
        } catch (...) {
            goOn = true;
        }
    }
    host::SetLastError(host::ERROR_SUCCESS);
    return goOn;
}

void MyCopyFile(const std::string& source, const std::string& target, bool overwrite, bool, bool dropStreams)
{
    TTraced trace;
    trace.Run([&] {
        const TClearedMode cleared = RemoveReplacedTarget(source, target, overwrite);
        host::SetLastError(host::ERROR_SUCCESS);
        const bool copied =
            host::CopyFile(source, target, !overwrite, CopyProgressRoutine, UnheldStreamsFor(dropStreams));
        if (!copied)
            PutClearedModeBack(target, cleared);
        if (FailedUnlessCancelled(copied))
            RaiseCopyFailure(trace, "Failed to copy file.", source, target);
    });
}

bool MyCopyFileToFreeName(const std::string& source, const std::string& target, bool dropStreams)
{
    bool targetFree = true;
    TTraced trace;
    trace.Run([&] {
        host::SetLastError(host::ERROR_SUCCESS);
        const bool copied =
            host::CopyFile(source, target, true, CopyProgressRoutine, UnheldStreamsFor(dropStreams));
        targetFree = copied || host::GetLastError() != host::ERROR_FILE_EXISTS;
        if (targetFree && FailedUnlessCancelled(copied))
            RaiseCopyFailure(trace, "Failed to copy file.", source, target);
    });
    return targetFree;
}

void MyCopyLink(const std::string& source, const std::string& target, bool overwrite)
{
    TTraced trace;
    trace.Run([&] {
        if (!host::CopySymbolicLink(source, target, !overwrite))
            trace.RaiseSystem("Failed to copy file.", source, target);
    });
}

void MyMoveFile(const std::string& source, const std::string& target, bool replace, bool dropStreams)
{
    TTraced trace;
    trace.Run([&] {
        const TClearedMode cleared = RemoveReplacedTarget(source, target, replace);
        host::SetLastError(host::ERROR_SUCCESS);
        const bool moved =
            host::MoveFile(source, target, replace, true, CopyProgressRoutine, UnheldStreamsFor(dropStreams));
        if (!moved)
            PutClearedModeBack(target, cleared);
        if (FailedUnlessCancelled(moved))
            return RaiseCopyFailure(trace, "Failed to move file.", source, target);
        // Moved to another drive, a read-only file arrives writable. Cleared only now, so
        // a move that fails leaves its source as it was.
        if (moved && !IsSameRoot(source, target))
            ClearReadOnly(target);
    });
}

TClearedMode RemoveReplacedTarget(const std::string& source, const std::string& target, bool replace)
{
    if (!replace || IsSameFile(source, target) || !MyFileExists(target))
        return std::nullopt;
    return ClearReadOnlyRemembered(target);
}

TClearedMode ClearReadOnlyRemembered(const std::string& path)
{
    const TClearedMode before = host::GetFilePermissions(path);
    ClearReadOnly(path);
    return before != host::GetFilePermissions(path) ? before : std::nullopt;
}

void PutClearedModeBack(const std::string& path, const TClearedMode& cleared)
{
    if (!cleared)
        return;
    // The failure's own code is what the caller reports.
    const uint32_t failure = host::GetLastError();
    host::SetFilePermissions(path, *cleared);
    host::SetLastError(failure);
}

void MyRenameFile(const std::string& oldName, const std::string& newName, bool replace)
{
    TTraced trace;
    trace.Run([&] {
        const TClearedMode cleared = RemoveReplacedTarget(oldName, newName, replace);
        if (host::MoveFile(oldName, newName, replace, false))
            return;
        PutClearedModeBack(newName, cleared);
        trace.RaiseSystem("Failed to rename.", oldName, newName);
    });
}

void MyDeleteFile(const std::string& name)
{
    TTraced trace;
    trace.Run([&] {
        if (DeleteClearingReadOnly(name))
            return;
        trace.RaiseSystem("Failed to delete file.", name);
    });
}

void DeleteDirectoryNoErrors(const std::string& folder)
{
    TTraced trace;
    // A link to a folder goes as a link: the folder it points to is not ours to empty.
    const uint32_t attributes = host::GetFileAttributes(folder);
    if (attributes != host::INVALID_FILE_ATTRIBUTES && (attributes & host::FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        host::RemoveDirectory(folder);
        return;
    }
    trace.Run([&] {
        std::vector<host::FindData> entries;
        if (!host::FindFiles(folder, "*", entries) && !IsFindOk(host::GetLastError()))
            return trace.Raise("Can not find directory.", folder);
        for (const host::FindData& entry : entries)
            DeleteEntry(IncludeEndBackslash(folder) + entry.Name, entry);
    });
    ClearReadOnly(folder);
    host::RemoveDirectory(folder);
}

int CopyDeleteDirectory(const std::string& source, const std::string& target, std::vector<std::string>* placed)
{
    TTraced trace;
    TTreeCopyOutcome outcome;
    outcome.Placed = placed;
    trace.Run([&] {
        if (target.empty())
            return trace.Raise("Empty destination name.", source);
        if (IsSameOrInsideFolder(source, target))
            return trace.Raise("Can not copy a directory into itself.", source, target);
        if (const char* failure = CopyTreeLevel(source, target, outcome))
            return trace.RaiseSystem(failure, source, target);
        if (outcome.Count > 0)
            trace.Raise("Failed to copy file.", outcome.Source, outcome.Target, outcome.Code);
    });
    if (trace.Succeeded())
        return 0;
    // A file that could not be copied is only counted: the box is for folders.
    const bool onlyFilesFailed = outcome.Count > 0 && !outcome.FolderFailed;
    if (!onlyFilesFailed)
        RunMessageBox("Error", "Failed to process directory.", MB_ICONHAND | MB_OKCANCEL);
    return outcome.Count > 0 ? outcome.Count : 1;
}
