#include "host/FileIdentity.h"

#include "host/Drives.h"
#include "host/LastError.h"

#include <optional>
#include <sys/stat.h>

namespace host {
namespace {

struct Identity
{
    dev_t Device = 0;
    ino_t Inode = 0;

    bool operator==(const Identity&) const = default;
};

std::optional<Identity> IdentityOf(const std::string& windowsPath, FinalLink finalLink)
{
    const std::optional<std::string> hostPath = WindowsToHost(windowsPath);
    if (!hostPath)
        return std::nullopt;
    struct stat info = {};
    if (lstat(hostPath->c_str(), &info) != 0)
        return std::nullopt;
    if (S_ISLNK(info.st_mode)) {
        struct stat target = {};
        const bool resolved = stat(hostPath->c_str(), &target) == 0;
        if (finalLink == FinalLink::Followed && !resolved)
            return std::nullopt;
        if (resolved && (finalLink == FinalLink::Followed || S_ISDIR(target.st_mode)))
            info = target;
    }
    return Identity{info.st_dev, info.st_ino};
}

// The canonical text without a closing backslash, so "T:\d\" and "T:\d" compare equal.
std::string ComparableText(const std::string& windowsPath)
{
    std::string text = CanonicalWindowsPath(windowsPath);
    if (text.size() > 3 && text.back() == '\\')
        text.pop_back();
    return text;
}

// `identityA` is IdentityOf(a, finalLink), so a caller comparing one path with many looks it up once.
bool SameFile(const std::string& a, const std::optional<Identity>& identityA, const std::string& b,
              FinalLink finalLink)
{
    const std::optional<Identity> identityB = IdentityOf(b, finalLink);
    if (identityA && identityB)
        return *identityA == *identityB;
    if (identityA || identityB)
        return false;
    return ComparableText(a) == ComparableText(b);
}

// "T:\a\b" gives "T:\a", "T:\a" gives "T:\"; a root has no parent.
std::optional<std::string> ParentOf(const std::string& windowsPath)
{
    if (windowsPath.size() < 4)
        return std::nullopt;
    const size_t backslash = windowsPath.find_last_of('\\', windowsPath.size() - 2);
    if (backslash == std::string::npos || backslash < 2)
        return std::nullopt;
    return windowsPath.substr(0, backslash == 2 ? 3 : backslash);
}

// The device of the path, or of the nearest existing folder above it.
std::optional<dev_t> DeviceOf(const std::string& windowsPath)
{
    for (std::optional<std::string> candidate = windowsPath; candidate; candidate = ParentOf(*candidate)) {
        const std::optional<std::string> hostPath = WindowsToHost(*candidate);
        struct stat info = {};
        if (hostPath && lstat(hostPath->c_str(), &info) == 0)
            return info.st_dev;
    }
    return std::nullopt;
}

} // namespace

bool AreOnOneFileSystem(const std::string& a, const std::string& b)
{
    const uint32_t savedError = GetLastError();
    const std::optional<dev_t> deviceA = DeviceOf(a);
    const std::optional<dev_t> deviceB = DeviceOf(b);
    SetLastError(savedError);
    return deviceA && deviceB && *deviceA == *deviceB;
}

bool AreOneFile(const std::string& a, const std::string& b, FinalLink finalLink)
{
    const uint32_t savedError = GetLastError();
    const bool same = SameFile(a, IdentityOf(a, finalLink), b, finalLink);
    SetLastError(savedError);
    return same;
}

bool IsSameOrInside(const std::string& folder, const std::string& path)
{
    const uint32_t savedError = GetLastError();
    const std::optional<Identity> folderIdentity = IdentityOf(folder, FinalLink::Kept);
    bool inside = false;
    for (std::optional<std::string> candidate = path; candidate && !inside; candidate = ParentOf(*candidate))
        inside = SameFile(folder, folderIdentity, *candidate, FinalLink::Kept);
    SetLastError(savedError);
    return inside;
}

} // namespace host
