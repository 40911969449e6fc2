#include "host/Drives.h"

#include "host/LastError.h"
#include "host/MountTable.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <vector>

namespace host {
namespace {

std::array<std::optional<std::string>, 26> DefaultDriveTable()
{
    std::array<std::optional<std::string>, 26> table;
    table['C' - 'A'] = "/";
    return table;
}

std::array<std::optional<std::string>, 26> DriveTable = DefaultDriveTable();

int DriveIndex(char letter)
{
    if (letter >= 'a' && letter <= 'z')
        return letter - 'a';
    if (letter >= 'A' && letter <= 'Z')
        return letter - 'A';
    return -1;
}

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

std::vector<std::string> SplitComponents(const std::string& text, size_t from, bool windowsSeparators)
{
    std::vector<std::string> parts;
    std::string part;
    for (size_t i = from; i < text.size(); ++i) {
        const char c = text[i];
        if (windowsSeparators ? IsSeparator(c) : c == '/') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}

// Resolves "." and ".." on the text; ".." at the root stays at the root.
std::vector<std::string> NormalizeComponents(const std::vector<std::string>& parts)
{
    std::vector<std::string> result;
    for (const std::string& part : parts) {
        if (part == ".")
            continue;
        if (part == "..") {
            if (!result.empty())
                result.pop_back();
            continue;
        }
        result.push_back(part);
    }
    return result;
}

std::string JoinHost(const std::string& root, const std::vector<std::string>& parts)
{
    std::string result = root;
    for (const std::string& part : parts) {
        if (result.empty() || result.back() != '/')
            result += '/';
        result += part;
    }
    return result;
}

bool IsLinkToNonDirectory(const std::string& hostPath)
{
    struct stat info{};
    if (lstat(hostPath.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
        return false;
    return !(stat(hostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode));
}

// realpath of the longest existing prefix, with the rest appended unresolved; a final
// symbolic link to a file is kept as the link, since it is a file of its own.
std::string ResolveDirectoryLinks(const std::string& hostPath)
{
    std::vector<std::string> parts = SplitComponents(hostPath, 0, false);
    std::vector<std::string> unresolved;
    struct stat info{};
    while (!parts.empty() && lstat(JoinHost("/", parts).c_str(), &info) != 0) {
        unresolved.insert(unresolved.begin(), parts.back());
        parts.pop_back();
    }
    if (unresolved.empty() && !parts.empty() && IsLinkToNonDirectory(JoinHost("/", parts))) {
        unresolved.push_back(parts.back());
        parts.pop_back();
    }
    char buffer[PATH_MAX];
    if (realpath(JoinHost("/", parts).c_str(), buffer) == nullptr)
        return hostPath;
    return JoinHost(buffer, unresolved);
}

bool IsMountedMediaFolder(const std::string& mountPoint)
{
    for (const char* folder : {"/media", "/run/media", "/mnt"})
        if (IsHostPathUnder(folder, mountPoint) && mountPoint != folder)
            return true;
    return false;
}

bool IsDriveRoot(const std::string& hostDirectory)
{
    return std::find(DriveTable.begin(), DriveTable.end(), hostDirectory) != DriveTable.end();
}

bool HasWindowsName(const std::string& hostPath)
{
    const std::vector<std::string> parts = SplitComponents(hostPath, 0, false);
    return std::all_of(parts.begin(), parts.end(), IsRepresentableName);
}

std::optional<size_t> FirstFreeLetterIndex()
{
    for (size_t i = 'C' - 'A'; i < DriveTable.size(); ++i)
        if (!DriveTable[i])
            return i;
    return std::nullopt;
}

} // namespace

std::string StripTrailingSlashes(std::string hostPath)
{
    while (hostPath.size() > 1 && hostPath.back() == '/')
        hostPath.pop_back();
    return hostPath;
}

bool IsHostPathUnder(const std::string& root, const std::string& hostPath)
{
    if (root == "/")
        return true;
    if (hostPath.compare(0, root.size(), root) != 0)
        return false;
    return hostPath.size() == root.size() || hostPath[root.size()] == '/';
}

void MapDrive(char letter, const std::string& hostDirectory)
{
    const int index = DriveIndex(letter);
    if (index >= 0)
        DriveTable[static_cast<size_t>(index)] = StripTrailingSlashes(hostDirectory);
}

void UnmapDrive(char letter)
{
    const int index = DriveIndex(letter);
    if (index >= 0)
        DriveTable[static_cast<size_t>(index)].reset();
}

void ResetDriveTable()
{
    DriveTable = DefaultDriveTable();
}

std::optional<std::string> GetDriveHostRoot(char letter)
{
    const int index = DriveIndex(letter);
    if (index < 0)
        return std::nullopt;
    return DriveTable[static_cast<size_t>(index)];
}

void MapMountedDrives()
{
    for (const Mount& mount : *GetMountTable()) {
        const std::string folder = StripTrailingSlashes(mount.MountPoint);
        if (!IsMountedMediaFolder(folder) || IsDriveRoot(folder) || !HasWindowsName(folder))
            continue;
        const std::optional<size_t> index = FirstFreeLetterIndex();
        if (!index)
            return;
        DriveTable[*index] = folder;
    }
}

uint32_t GetLogicalDrives()
{
    uint32_t mask = 0;
    for (size_t i = 0; i < DriveTable.size(); ++i)
        if (DriveTable[i])
            mask |= 1u << i;
    return mask;
}

bool IsRepresentableName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    return name.find_first_of("\\:*?<>|\"") == std::string::npos;
}

std::optional<std::string> WindowsToHost(const std::string& windowsPath)
{
    if (windowsPath.size() > MaxPathBytes) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return std::nullopt;
    }
    if (windowsPath.size() >= 2 && IsSeparator(windowsPath[0]) && IsSeparator(windowsPath[1])) {
        SetLastError(ERROR_BAD_NETPATH);
        return std::nullopt;
    }
    const bool hasDrive = windowsPath.size() >= 2 && windowsPath[1] == ':' && DriveIndex(windowsPath[0]) >= 0;
    const bool isRooted = hasDrive && (windowsPath.size() == 2 || IsSeparator(windowsPath[2]));
    if (!isRooted) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return std::nullopt;
    }
    const std::optional<std::string> root = GetDriveHostRoot(windowsPath[0]);
    if (!root) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return std::nullopt;
    }
    const std::vector<std::string> parts = NormalizeComponents(SplitComponents(windowsPath, 2, true));
    for (const std::string& part : parts) {
        if (!IsRepresentableName(part)) {
            SetLastError(ERROR_INVALID_NAME);
            return std::nullopt;
        }
    }
    return JoinHost(*root, parts);
}

std::optional<std::string> HostToWindows(const std::string& hostPath)
{
    if (hostPath.empty() || hostPath[0] != '/') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return std::nullopt;
    }
    const std::string path = JoinHost("/", NormalizeComponents(SplitComponents(hostPath, 0, false)));
    int bestIndex = -1;
    size_t bestLength = 0;
    for (size_t i = 0; i < DriveTable.size(); ++i) {
        const std::optional<std::string>& root = DriveTable[i];
        if (!root || !IsHostPathUnder(*root, path))
            continue;
        if (bestIndex < 0 || root->size() > bestLength) {
            bestIndex = static_cast<int>(i);
            bestLength = root->size();
        }
    }
    if (bestIndex < 0) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return std::nullopt;
    }
    const std::string& root = *DriveTable[static_cast<size_t>(bestIndex)];
    const std::vector<std::string> parts = SplitComponents(path, root == "/" ? 0 : root.size(), false);
    std::string result{static_cast<char>('A' + bestIndex), ':', '\\'};
    for (size_t i = 0; i < parts.size(); ++i) {
        if (!IsRepresentableName(parts[i])) {
            SetLastError(ERROR_INVALID_NAME);
            return std::nullopt;
        }
        if (i > 0)
            result += '\\';
        result += parts[i];
    }
    if (result.size() > MaxPathBytes) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return std::nullopt;
    }
    return result;
}

std::optional<std::string> HostPathForCall(HostCall call, const std::string& windowsPath)
{
    if (TakeFault(call))
        return std::nullopt;
    return WindowsToHost(windowsPath);
}

std::string CanonicalWindowsPath(const std::string& windowsPath)
{
    const uint32_t savedError = GetLastError();
    const std::optional<std::string> hostPath = WindowsToHost(windowsPath);
    std::optional<std::string> canonical;
    if (hostPath)
        canonical = HostToWindows(ResolveDirectoryLinks(*hostPath));
    SetLastError(savedError);
    if (!canonical)
        return windowsPath;
    const bool isDriveName = windowsPath.size() == 2 && windowsPath[1] == ':';
    if (isDriveName && canonical->size() == 3)
        canonical->pop_back();
    else if (IsSeparator(windowsPath.back()) && canonical->back() != '\\')
        *canonical += '\\';
    return *canonical;
}

} // namespace host
