#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The system's mount table (/proc/self/mountinfo), read again only when the system says
// it changed, with the Windows drive type of each mounted file system.
namespace host {

inline constexpr uint32_t DRIVE_UNKNOWN = 0;
inline constexpr uint32_t DRIVE_NO_ROOT_DIR = 1;
inline constexpr uint32_t DRIVE_REMOVABLE = 2;
inline constexpr uint32_t DRIVE_FIXED = 3;
inline constexpr uint32_t DRIVE_REMOTE = 4;
inline constexpr uint32_t DRIVE_CDROM = 5;
inline constexpr uint32_t DRIVE_RAMDISK = 6;

struct Mount
{
    std::string MountPoint;           // host path
    std::string FileSystemType;       // "ext4", "nfs4", "fuse.sshfs"
    std::string Source;               // "/dev/sda1", "server:/export", "//server/share"
    std::string Device;               // "major:minor"
    std::vector<std::string> Options; // mount options, then the file system's own
    uint32_t DriveType = DRIVE_FIXED;
};

// The entries of a mountinfo text in mount order, escapes ("\040") decoded; malformed
// lines are skipped. Drive types are left at their default.
std::vector<Mount> ParseMountInfo(const std::string& text);

// The drive type of a mounted file system: network file systems 4, optical media 5,
// memory file systems 6, removable media 2, the rest 3.
uint32_t ClassifyDriveType(const Mount& mount);

// The current table; cheap while nothing is mounted or unmounted.
std::shared_ptr<const std::vector<Mount>> GetMountTable();

// The mount that holds a host path: the one with the longest mount point containing the
// path, the latest mounted on a tie. Decided on the text alone, so that no file system,
// least of all a remote one that does not answer, is touched.
std::optional<Mount> FindMountHolding(const std::string& hostPath);

// Reads the table from another file, for tests; the empty text restores the system's.
void SetMountInfoFile(const std::string& hostPath);

} // namespace host
