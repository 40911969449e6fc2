#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What the system knows of the file system that holds a path (a Windows path): its
// drive type, volume information and space. Each is answered for the file system the
// path lies on, which need not be the one of its letter's folder.
namespace host {

inline constexpr uint32_t FILE_FILE_COMPRESSION = 0x10;
inline constexpr uint32_t FILE_VOLUME_QUOTAS = 0x20;
inline constexpr uint32_t FILE_SUPPORTS_SPARSE_FILES = 0x40;
inline constexpr uint32_t FILE_SUPPORTS_REPARSE_POINTS = 0x80;
inline constexpr uint32_t FILE_SUPPORTS_ENCRYPTION = 0x20000;
inline constexpr uint32_t FILE_NAMED_STREAMS = 0x40000;
inline constexpr uint32_t FILE_READ_ONLY_VOLUME = 0x80000;

// DRIVE_NO_ROOT_DIR (1) for a path without a mapped letter; otherwise the type of the
// mount that holds it (MountTable.h), found without touching any file system.
uint32_t GetDriveType(const std::string& windowsPath);

struct VolumeInformation
{
    std::string VolumeName;
    std::string FileSystemName;
    uint32_t SerialNumber = 0;
    uint32_t MaxComponentLength = 0;
    uint32_t FileSystemFlags = 0;
};

// The label (from /dev/disk/by-label, empty when the volume has none), the file-system
// type, a serial folded from the file-system id, the longest name and the flags above
// (named streams where user extended attributes work).
std::optional<VolumeInformation> GetVolumeInformation(const std::string& windowsPath);

struct DiskSpace
{
    uint64_t Total = 0;
    uint64_t FreeForUser = 0;
};

std::optional<DiskSpace> GetDiskSpace(const std::string& windowsPath);

// The network name ("\\server\share") of the remote file system that holds the path;
// empty for a local one. Taken from the mount table alone.
std::string GetNetworkName(const std::string& windowsPath);

} // namespace host
