#include "host/Volumes.h"

#include "host/Drives.h"
#include "host/FaultInjection.h"
#include "host/LastError.h"
#include "host/MountTable.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>

namespace host {
namespace {

constexpr const char* SparseFileSystems[] = {"ext2", "ext3",  "ext4", "xfs",  "btrfs", "f2fs",     "jfs",    "reiserfs",
                                             "zfs",  "tmpfs", "nfs",  "nfs4", "ntfs3", "bcachefs", "fuseblk"};
// File systems without symbolic links, which the program shows as reparse points.
constexpr const char* LinklessFileSystems[] = {"vfat", "msdos", "exfat", "fat"};
constexpr const char* CompressingFileSystems[] = {"btrfs", "zfs", "f2fs", "ntfs3", "bcachefs"};
// File systems that can encrypt folders of their own (fscrypt).
constexpr const char* EncryptingFileSystems[] = {"ext4", "f2fs", "ubifs"};
constexpr const char* QuotaOptions[] = {"quota", "usrquota", "grpquota", "prjquota", "uquota", "gquota", "pquota"};

template <size_t N>
bool IsOneOf(const std::string& text, const char* const (&names)[N])
{
    return std::find(std::begin(names), std::end(names), text) != std::end(names);
}

std::string ParentHostPath(const std::string& hostPath)
{
    const size_t slash = hostPath.find_last_of('/');
    return slash == 0 || slash == std::string::npos ? "/" : hostPath.substr(0, slash);
}

// The path itself, or its nearest ancestor that exists, symbolic links resolved: the
// file system that holds a file not yet made is the one of its folder. Never climbs
// above the root of the path's letter.
std::optional<std::string> ExistingHostPath(const std::string& windowsPath)
{
    const std::optional<std::string> hostPath = WindowsToHost(windowsPath);
    if (!hostPath)
        return std::nullopt;
    const std::string driveRoot = GetDriveHostRoot(windowsPath[0]).value_or("/");
    std::string path = *hostPath;
    struct stat info = {};
    while (stat(path.c_str(), &info) != 0) {
        if ((errno != ENOENT && errno != ENOTDIR) || path == driveRoot || path == "/") {
            SetLastErrorFromErrno(errno);
            return std::nullopt;
        }
        path = ParentHostPath(path);
    }
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) == nullptr) {
        SetLastErrorFromErrno(errno);
        return std::nullopt;
    }
    return std::string(resolved);
}

// The file system holding an existing path (or its nearest existing folder), and the
// host path asked.
std::optional<std::string> StatVolume(const std::string& windowsPath, struct statvfs& volume)
{
    if (TakeFault(HostCall::Volume))
        return std::nullopt;
    std::optional<std::string> hostPath = ExistingHostPath(windowsPath);
    if (!hostPath)
        return std::nullopt;
    if (statvfs(hostPath->c_str(), &volume) != 0) {
        SetLastErrorFromErrno(errno);
        return std::nullopt;
    }
    return hostPath;
}

bool IsHexDigit(char c)
{
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

// udev writes a blank in a label link's name as "\x20".
std::string DecodeUdevName(const std::string& name)
{
    std::string text;
    for (size_t i = 0; i < name.size(); ++i) {
        const bool isEscape =
            name.compare(i, 2, "\\x") == 0 && i + 3 < name.size() && IsHexDigit(name[i + 2]) && IsHexDigit(name[i + 3]);
        if (isEscape) {
            text += static_cast<char>(std::stoi(name.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            text += name[i];
        }
    }
    return text;
}

std::string LabelOfDevice(const std::string& source)
{
    if (source.empty() || source[0] != '/')
        return {};
    std::error_code error;
    const std::filesystem::path device = std::filesystem::canonical(source, error);
    if (error)
        return {};
    for (const auto& entry : std::filesystem::directory_iterator("/dev/disk/by-label", error)) {
        std::error_code ignored;
        if (std::filesystem::canonical(entry.path(), ignored) == device)
            return DecodeUdevName(entry.path().filename().string());
    }
    return {};
}

bool HasQuotaOption(const Mount& mount)
{
    return std::any_of(mount.Options.begin(), mount.Options.end(), [](const std::string& option) {
        return IsOneOf(option, QuotaOptions) || option.rfind("usrjquota=", 0) == 0 ||
               option.rfind("grpjquota=", 0) == 0;
    });
}

// Named streams are kept as user extended attributes; asking for one that is not there
// tells whether the file system keeps them at all.
bool KeepsUserAttributes(const std::string& hostPath)
{
    return getxattr(hostPath.c_str(), "user.quillomber.probe", nullptr, 0) >= 0 || errno != ENOTSUP;
}

uint32_t FlagsOf(const std::string& fileSystemType, const Mount* mount, const struct statvfs& volume,
                 const std::string& hostPath)
{
    uint32_t flags = 0;
    if (IsOneOf(fileSystemType, CompressingFileSystems))
        flags |= FILE_FILE_COMPRESSION;
    if (mount != nullptr && HasQuotaOption(*mount))
        flags |= FILE_VOLUME_QUOTAS;
    if (IsOneOf(fileSystemType, SparseFileSystems))
        flags |= FILE_SUPPORTS_SPARSE_FILES;
    if (!IsOneOf(fileSystemType, LinklessFileSystems))
        flags |= FILE_SUPPORTS_REPARSE_POINTS;
    if (IsOneOf(fileSystemType, EncryptingFileSystems))
        flags |= FILE_SUPPORTS_ENCRYPTION;
    if (KeepsUserAttributes(hostPath))
        flags |= FILE_NAMED_STREAMS;
    if (volume.f_flag & ST_RDONLY)
        flags |= FILE_READ_ONLY_VOLUME;
    return flags;
}

uint32_t FoldTo32Bits(uint64_t value)
{
    return static_cast<uint32_t>(value ^ (value >> 32));
}

// "//server/share/dir" and "server:/export/dir" (a user before "@" dropped) to
// "\\server\share\dir" and "\\server\export\dir".
std::string NetworkNameOfSource(const std::string& source)
{
    std::string text = source;
    const size_t colon = text.find(':');
    if (text.rfind("//", 0) != 0 && colon != std::string::npos) {
        std::string server = text.substr(0, colon);
        const size_t at = server.find('@');
        if (at != std::string::npos)
            server.erase(0, at + 1);
        std::string rest = text.substr(colon + 1);
        text = "//" + server + (rest.empty() || rest[0] != '/' ? "/" : "") + rest;
    }
    while (text.size() > 2 && text.back() == '/')
        text.pop_back();
    std::replace(text.begin(), text.end(), '/', '\\');
    return text;
}

} // namespace

uint32_t GetDriveType(const std::string& windowsPath)
{
    const std::optional<std::string> hostPath = WindowsToHost(windowsPath);
    if (!hostPath)
        return DRIVE_NO_ROOT_DIR;
    const std::optional<Mount> mount = FindMountHolding(*hostPath);
    if (!mount) {
        SetLastError(ERROR_NOT_READY);
        return DRIVE_UNKNOWN;
    }
    SetLastError(ERROR_SUCCESS);
    return mount->DriveType;
}

std::optional<VolumeInformation> GetVolumeInformation(const std::string& windowsPath)
{
    struct statvfs volume = {};
    const std::optional<std::string> hostPath = StatVolume(windowsPath, volume);
    if (!hostPath)
        return std::nullopt;
    const std::optional<Mount> mount = FindMountHolding(*hostPath);
    VolumeInformation information;
    if (mount) {
        information.VolumeName = LabelOfDevice(mount->Source);
        information.FileSystemName = mount->FileSystemType;
    }
    information.SerialNumber = FoldTo32Bits(volume.f_fsid);
    information.MaxComponentLength = static_cast<uint32_t>(volume.f_namemax);
    information.FileSystemFlags = FlagsOf(information.FileSystemName, mount ? &*mount : nullptr, volume, *hostPath);
    SetLastError(ERROR_SUCCESS);
    return information;
}

std::optional<DiskSpace> GetDiskSpace(const std::string& windowsPath)
{
    struct statvfs volume = {};
    if (!StatVolume(windowsPath, volume))
        return std::nullopt;
    SetLastError(ERROR_SUCCESS);
    return DiskSpace{static_cast<uint64_t>(volume.f_blocks) * volume.f_frsize,
                     static_cast<uint64_t>(volume.f_bavail) * volume.f_frsize};
}

std::string GetNetworkName(const std::string& windowsPath)
{
    const std::optional<std::string> hostPath = WindowsToHost(windowsPath);
    if (!hostPath)
        return {};
    const std::optional<Mount> mount = FindMountHolding(*hostPath);
    if (!mount || mount->DriveType != DRIVE_REMOTE)
        return {};
    return NetworkNameOfSource(mount->Source);
}

} // namespace host
