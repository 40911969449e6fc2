#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Drives ("A:" to "Z:") and the volumes that hold paths. Each question about a path is
// answered for the file system the path lies on.

// The volume information of the drive of a path.
class TPartitionInfo
{
public:
    std::string VolumeName;
    std::string FileSystemName;
    uint32_t SerialNumber = 0;
    uint32_t MaxComponentLength = 0;
    uint32_t FileSystemFlags = 0;

    TPartitionInfo() { Clear(); }
    void Clear();
    // Traced; "Failed to load partition information." leaves the record cleared.
    void Load(const std::string& path);
};

// Appends "A:" to "Z:" for each present drive, in letter order; `count` is how many.
void GetLogicalDrivesList(std::vector<std::string>& list, int& count);
// 1 to 26 for a path beginning with a letter and a colon, 0 otherwise.
int GetDriveNumber(const std::string& path);
// The drive type (0 unknown, 1 no such root, 2 removable, 3 fixed, 4 remote, 5 CD-ROM,
// 6 RAM disk); 0 without a drive part. Traced; types 0 and 1 warn "Failed to get type.".
uint32_t GetPartitionType(const std::string& path);
// The display suffix of a drive name (" (Fixed: "label")"); empty for any other path.
// Traced, and always ends with status 0.
std::string GetPartitionSuffix(const std::string& path);
// Total bytes and bytes free for the user; -1 when the query fails. A path without a
// drive letter asks for the current folder's drive. Traced, "Failed to get size.".
int64_t GetPartitionTotalSize(const std::string& path);
int64_t GetPartitionFreeSize(const std::string& path);
// Whether the path's file system is known to have fewer than `needed` bytes free for the
// user; a failed query counts as lacking (Traced, "Failed to get size."). A file system
// that reports no size at all (a total of 0: ramfs, some network mounts) is not known to
// lack any.
bool PartitionLacksSpace(const std::string& path, int64_t needed);
// True when the path has a drive part and the drive's root exists.
bool PartitionExists(const std::string& path);
// The file-system flags of the path's volume, 0 when they cannot be read.
uint32_t GetPartitionFlags(const std::string& path);
// The flags as letters: "C", "E", "Q", "R", "Rp", "S", "Sf" in this order.
std::string GetPartitionFlagsText(const std::string& path);
bool PartitionSupportsStreams(const std::string& path);
bool PartitionSupportsReparsePoints(const std::string& path);
bool PartitionSupportsEncryption(const std::string& path);
