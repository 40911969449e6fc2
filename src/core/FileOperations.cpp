#include "core/FileOperations.h"

#include "core/FileInfo.h"
#include "core/ModalSeam.h"
#include "core/PathNames.h"
#include "core/Traced.h"

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
        ClearReadOnly(path);
        host::DeleteFile(path);
    }
}

bool IsHiddenOrSystem(const host::FindData& entry)
{
    return (entry.Attributes & (host::FILE_ATTRIBUTE_HIDDEN | host::FILE_ATTRIBUTE_SYSTEM)) != 0;
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

void MyCopyFile(const std::string& source, const std::string& target, bool overwrite, bool)
{
    TTraced trace;
    trace.Run([&] {
        ClearReadOnly(target);
        host::SetLastError(host::ERROR_SUCCESS);
        const bool copied = host::CopyFile(source, target, !overwrite, CopyProgressRoutine);
        if (FailedUnlessCancelled(copied))
            trace.RaiseSystem("Failed to copy file.", source, target);
    });
}

void MyMoveFile(const std::string& source, const std::string& target, bool replace)
{
    TTraced trace;
    trace.Run([&] {
        if (!IsSameRoot(source, target))
            ClearReadOnly(source);
        ClearReadOnly(target);
        host::SetLastError(host::ERROR_SUCCESS);
        const bool moved = host::MoveFile(source, target, replace, true, CopyProgressRoutine);
        if (FailedUnlessCancelled(moved))
            trace.RaiseSystem("Failed to move file.", source, target);
    });
}

void RemoveReplacedTarget(const std::string& source, const std::string& target, bool replace)
{
    if (replace && !IsSameFile(source, target) && MyFileExists(target))
        ClearReadOnly(target);
}

void MyRenameFile(const std::string& oldName, const std::string& newName, bool replace)
{
    TTraced trace;
    trace.Run([&] {
        RemoveReplacedTarget(oldName, newName, replace);
        if (!host::MoveFile(oldName, newName, replace, false))
            trace.Raise("Failed to rename.", oldName, newName);
    });
}

void MyDeleteFile(const std::string& name)
{
    TTraced trace;
    trace.Run([&] {
        ClearReadOnly(name);
        if (!host::DeleteFile(name))
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

void CopyDeleteDirectory(const std::string& source, const std::string& target)
{
    TTraced trace;
    trace.Run([&] {
        if (target.empty())
            return trace.Raise("Empty destination name.", source);
        if (IsSameOrInsideFolder(source, target))
            return trace.Raise("Can not copy a directory into itself.", source, target);
        host::SetLastError(host::ERROR_SUCCESS);
        host::CreateDirectory(target, source);
        if (IsSystemErrorNotExisting())
            return trace.RaiseSystem("Failed to create directory.", source, target);
        std::vector<host::FindData> entries;
        if (!host::FindFiles(source, "*", entries) && !IsFindOk(host::GetLastError()))
            return trace.RaiseSystem("Failed to find first file.", source, target);
        for (const host::FindData& entry : entries) {
            // Linked folders are not entered: a link back up the tree would never end.
            if (IsHiddenOrSystem(entry) || (IsFolderEntry(entry) && IsLinkEntry(entry)))
                continue;
            const std::string from = IncludeEndBackslash(source) + entry.Name;
            const std::string to = IncludeEndBackslash(target) + entry.Name;
            if (IsFolderEntry(entry)) {
                CopyDeleteDirectory(from, to);
            } else {
                ClearReadOnly(to);
                host::CopyFile(from, to, false);
            }
        }
    });
    if (!trace.Succeeded())
        RunMessageBox("Error", "Failed to process directory.", MB_ICONHAND | MB_OKCANCEL);
}
