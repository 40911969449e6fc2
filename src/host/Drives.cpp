#include "host/Drives.h"

#include "host/LastError.h"
#include "host/MountTable.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <mutex>
#include <shared_mutex>
#include <string_view>
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
// Worker threads translate paths while the user-interface thread (or a test) maps drives.
std::shared_mutex DriveTableLock;

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
    struct stat info = {};
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
    struct stat info = {};
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

// Callers hold the table's lock.
bool IsDriveRoot(const std::string& hostDirectory)
{
    return std::find(DriveTable.begin(), DriveTable.end(), hostDirectory) != DriveTable.end();
}

bool HasWindowsName(const std::string& hostPath)
{
    const std::vector<std::string> parts = SplitComponents(hostPath, 0, false);
    return std::all_of(parts.begin(), parts.end(),
                       [](const std::string& part) { return WindowsNameOfHostName(part).has_value(); });
}

// A byte that a Windows name cannot hold, and that a host name can.
bool IsForeignByte(unsigned char byte)
{
    constexpr std::string_view Reserved = "\\:*?<>|\"";
    return (byte >= 1 && byte <= 31) || Reserved.find(static_cast<char>(byte)) != std::string_view::npos;
}

// U+F000 + byte in UTF-8: EF, 80 | (byte >> 6), 80 | (byte & 3F).
constexpr size_t StandInBytes = 3;

void AppendStandIn(std::string& text, unsigned char byte)
{
    text += static_cast<char>(0xEF);
    text += static_cast<char>(0x80 | (byte >> 6));
    text += static_cast<char>(0x80 | (byte & 0x3F));
}

// The foreign byte whose stand-in begins at `at`, or nothing when none begins there.
std::optional<unsigned char> StandInAt(const std::string& text, size_t at)
{
    if (at + StandInBytes > text.size() || static_cast<unsigned char>(text[at]) != 0xEF)
        return std::nullopt;
    const auto middle = static_cast<unsigned char>(text[at + 1]);
    const auto last = static_cast<unsigned char>(text[at + 2]);
    if ((middle & 0xFE) != 0x80 || (last & 0xC0) != 0x80)
        return std::nullopt;
    const auto byte = static_cast<unsigned char>(((middle & 0x01) << 6) | (last & 0x3F));
    if (!IsForeignByte(byte))
        return std::nullopt;
    return byte;
}

// Each stand-in back to its byte; nothing when the Windows name holds a foreign byte itself.
std::optional<std::string> HostNameOfWindowsName(const std::string& windowsName)
{
    std::string hostName;
    hostName.reserve(windowsName.size());
    for (size_t i = 0; i < windowsName.size();) {
        if (const std::optional<unsigned char> byte = StandInAt(windowsName, i)) {
            hostName += static_cast<char>(*byte);
            i += StandInBytes;
        } else if (IsForeignByte(static_cast<unsigned char>(windowsName[i]))) {
            return std::nullopt;
        } else {
            hostName += windowsName[i++];
        }
    }
    return hostName;
}

// Callers hold the table's lock.
std::optional<size_t> FirstFreeLetterIndex()
{
    for (size_t i = 'C' - 'A'; i < DriveTable.size(); ++i)
        if (!DriveTable[i])
            return i;
    return std::nullopt;
}

// The letter whose folder is the longest prefix of the path, with that folder.
std::optional<std::pair<char, std::string>> MostSpecificDriveOf(const std::string& hostPath)
{
    const std::shared_lock lock(DriveTableLock);
    const std::optional<std::string>* best = nullptr;
    for (const std::optional<std::string>& root : DriveTable)
        if (root && IsHostPathUnder(*root, hostPath) && (best == nullptr || root->size() > (*best)->size()))
            best = &root;
    if (best == nullptr)
        return std::nullopt;
    return std::pair{static_cast<char>('A' + (best - DriveTable.data())), **best};
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
    if (index < 0)
        return;
    std::string root = StripTrailingSlashes(hostDirectory);
    const std::unique_lock lock(DriveTableLock);
    DriveTable[static_cast<size_t>(index)] = std::move(root);
}

void UnmapDrive(char letter)
{
    const int index = DriveIndex(letter);
    if (index < 0)
        return;
    const std::unique_lock lock(DriveTableLock);
    DriveTable[static_cast<size_t>(index)].reset();
}

void ResetDriveTable()
{
    const std::unique_lock lock(DriveTableLock);
    DriveTable = DefaultDriveTable();
}

std::optional<std::string> GetDriveHostRoot(char letter)
{
    const int index = DriveIndex(letter);
    if (index < 0)
        return std::nullopt;
    const std::shared_lock lock(DriveTableLock);
    return DriveTable[static_cast<size_t>(index)];
}

void MapMountedDrives()
{
    const std::shared_ptr<const std::vector<Mount>> mounts = GetMountTable();
    const std::unique_lock lock(DriveTableLock);
    for (const Mount& mount : *mounts) {
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
    const std::shared_lock lock(DriveTableLock);
    for (size_t i = 0; i < DriveTable.size(); ++i)
        if (DriveTable[i])
            mask |= 1u << i;
    return mask;
}

std::optional<std::string> WindowsNameOfHostName(const std::string& hostName)
{
    if (hostName.empty() || hostName == "." || hostName == "..")
        return std::nullopt;
    std::string windowsName;
    windowsName.reserve(hostName.size());
    for (size_t i = 0; i < hostName.size(); ++i) {
        if (StandInAt(hostName, i))
            return std::nullopt;
        const auto byte = static_cast<unsigned char>(hostName[i]);
        if (IsForeignByte(byte))
            AppendStandIn(windowsName, byte);
        else
            windowsName += hostName[i];
    }
    return windowsName;
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
    std::vector<std::string> parts = NormalizeComponents(SplitComponents(windowsPath, 2, true));
    for (std::string& part : parts) {
        std::optional<std::string> hostName = HostNameOfWindowsName(part);
        if (!hostName) {
            SetLastError(ERROR_INVALID_NAME);
            return std::nullopt;
        }
        part = std::move(*hostName);
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
    const std::optional<std::pair<char, std::string>> drive = MostSpecificDriveOf(path);
    if (!drive) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return std::nullopt;
    }
    const std::string& root = drive->second;
    const std::vector<std::string> parts = SplitComponents(path, root == "/" ? 0 : root.size(), false);
    std::string result{drive->first, ':', '\\'};
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::optional<std::string> windowsName = WindowsNameOfHostName(parts[i]);
        if (!windowsName) {
            SetLastError(ERROR_INVALID_NAME);
            return std::nullopt;
        }
        if (i > 0)
            result += '\\';
        result += *windowsName;
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

bool IsHostDirectory(const std::string& hostPath)
{
    struct stat info = {};
    return !hostPath.empty() && hostPath.front() == '/' && stat(hostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace host
