#include "host/DirectoryReader.h"

#include "host/Drives.h"
#include "host/FaultInjection.h"
#include "host/File.h"
#include "host/LastError.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <string_view>

namespace host {
namespace {

DIR* AsDir(void* directory)
{
    return static_cast<DIR*>(directory);
}

// The bytes that make a name go the long way of the mapping: those a Windows name cannot
// hold, and the first byte of a stand-in.
constexpr std::array<bool, 256> SpecialBytes = [] {
    std::array<bool, 256> special{};
    for (int byte = 0; byte < 32; ++byte)
        special[static_cast<size_t>(byte)] = true;
    for (const char c : std::string_view("\\:*?<>|\""))
        special[static_cast<unsigned char>(c)] = true;
    special[0xEF] = true;
    return special;
}();

// True when the host name is its own Windows name, as nearly every name is.
bool IsPlainName(const char* name, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        if (SpecialBytes[static_cast<unsigned char>(name[i])])
            return false;
    return true;
}

bool IsDotName(const char* name)
{
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The entry's Windows name; false when it has none.
bool MapName(const char* hostName, DirectoryEntry& entry)
{
    const size_t length = std::strlen(hostName);
    if (IsPlainName(hostName, length)) {
        entry.Name.assign(hostName, length);
        return true;
    }
    std::optional<std::string> name = WindowsNameOfHostName(std::string(hostName, length));
    if (!name)
        return false;
    entry.Name = std::move(*name);
    return true;
}

} // namespace

DirectoryReader::~DirectoryReader()
{
    Close();
}

bool DirectoryReader::Open(const std::string& windowsFolder)
{
    Close();
    const std::optional<std::string> hostFolder = HostPathForCall(HostCall::List, windowsFolder);
    if (!hostFolder)
        return false;
    DIR* directory = opendir(hostFolder->c_str());
    if (directory == nullptr) {
        SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
        return false;
    }
    Directory = directory;
    Descriptor = dirfd(directory);
    FolderBytes = windowsFolder.size() + (windowsFolder.ends_with('\\') ? 0 : 1);
    AnyEntry = false;
    SetLastError(ERROR_SUCCESS);
    return true;
}

bool DirectoryReader::Next(DirectoryEntry& entry)
{
    CurrentHostName = nullptr;
    if (Directory == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    for (;;) {
        errno = 0;
        const dirent* hostEntry = readdir(AsDir(Directory));
        if (hostEntry == nullptr) {
            SetLastError(errno == 0 ? ERROR_NO_MORE_FILES : ErrorFromErrno(errno));
            return false;
        }
        if (IsDotName(hostEntry->d_name) || !MapName(hostEntry->d_name, entry) ||
            FolderBytes + entry.Name.size() > MaxPathBytes)
            continue;
        if (AnyEntry && TakeFault(HostCall::ListNext))
            return false;
        // An entry that vanished before its status was asked is merely left out.
        if (!SetKind(hostEntry->d_name, hostEntry->d_type, entry))
            continue;
        AnyEntry = true;
        CurrentHostName = hostEntry->d_name;
        SetLastError(ERROR_SUCCESS);
        return true;
    }
}

void DirectoryReader::Close()
{
    if (Directory != nullptr)
        closedir(AsDir(Directory));
    Directory = nullptr;
    Descriptor = -1;
    CurrentHostName = nullptr;
}

std::optional<uint64_t> DirectoryReader::OpenEntryToRead(File& file) const
{
    if (CurrentHostName == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return std::nullopt;
    }
    if (TakeFault(HostCall::Open))
        return std::nullopt;
    return file.OpenToReadAt(dirfd(AsDir(Directory)), CurrentHostName);
}

bool DirectoryReader::OpenListedEntry(File& file, const char* hostName, bool isLink,
                                      std::optional<uint64_t>& size) const
{
    size.reset();
    if (Descriptor < 0) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    if (TakeFault(HostCall::Open))
        return false;
    if (!isLink)
        return file.OpenListedRegular(Descriptor, hostName);
    size = file.OpenToReadAt(Descriptor, hostName);
    return size.has_value();
}

bool DirectoryReader::SetKind(const char* hostName, unsigned char type, DirectoryEntry& entry) const
{
    const int folder = dirfd(AsDir(Directory));
    struct stat info = {};
    if (type == DT_UNKNOWN) {
        if (fstatat(folder, hostName, &info, AT_SYMLINK_NOFOLLOW) != 0)
            return false;
        type = S_ISLNK(info.st_mode)   ? DT_LNK
               : S_ISDIR(info.st_mode) ? DT_DIR
               : S_ISREG(info.st_mode) ? DT_REG
                                       : DT_FIFO;
    }
    entry.IsLink = type == DT_LNK;
    // A dangling link is kept, as an entry of no kind.
    if (entry.IsLink && fstatat(folder, hostName, &info, 0) == 0)
        type = S_ISDIR(info.st_mode) ? DT_DIR : S_ISREG(info.st_mode) ? DT_REG : DT_FIFO;
    entry.IsDirectory = type == DT_DIR;
    entry.IsRegular = type == DT_REG;
    return true;
}

} // namespace host
