#include "host/FileAttributes.h"

#include "host/Drives.h"
#include "host/FaultInjection.h"
#include "host/LastError.h"

#include <cerrno>
#include <sys/stat.h>

namespace host {
namespace {

bool IsHiddenName(const std::string& hostPath)
{
    const size_t nameEnd = hostPath.find_last_not_of('/');
    if (nameEnd == std::string::npos)
        return false;
    const size_t slash = hostPath.find_last_of('/', nameEnd);
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    return hostPath[nameStart] == '.';
}

uint32_t KindAttributes(const std::string& hostPath, const struct stat& info)
{
    if (S_ISDIR(info.st_mode))
        return FILE_ATTRIBUTE_DIRECTORY;
    if (S_ISREG(info.st_mode))
        return FILE_ATTRIBUTE_ARCHIVE;
    if (S_ISLNK(info.st_mode)) {
        struct stat target{};
        const bool toDirectory = stat(hostPath.c_str(), &target) == 0 && S_ISDIR(target.st_mode);
        return FILE_ATTRIBUTE_REPARSE_POINT | (toDirectory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_ARCHIVE);
    }
    return FILE_ATTRIBUTE_SYSTEM;
}

} // namespace

std::optional<uint32_t> GetFileAttributes(const std::string& windowsPath)
{
    if (TakeFault(HostCall::Stat))
        return std::nullopt;
    const std::optional<std::string> hostPath = WindowsToHost(windowsPath);
    if (!hostPath)
        return std::nullopt;
    struct stat info{};
    if (lstat(hostPath->c_str(), &info) != 0) {
        SetLastErrorFromErrno(errno);
        return std::nullopt;
    }
    uint32_t attributes = KindAttributes(*hostPath, info);
    if ((info.st_mode & S_IWUSR) == 0)
        attributes |= FILE_ATTRIBUTE_READONLY;
    if (IsHiddenName(*hostPath))
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    SetLastError(ERROR_SUCCESS);
    return attributes;
}

} // namespace host
