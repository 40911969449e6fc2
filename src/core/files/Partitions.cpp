#include "core/files/Partitions.h"

#include "core/errors/Traced.h"
#include "core/files/PathNames.h"
#include "core/text/AsciiCase.h"

#include "host/Drives.h"
#include "host/File.h"
#include "host/LastError.h"
#include "host/MountTable.h"
#include "host/Process.h"
#include "host/Volumes.h"

#include <optional>

namespace {

struct FlagLetters
{
    uint32_t Flag;
    const char* Letters;
};

constexpr FlagLetters PartitionFlagLetters[] = {
    {host::FILE_FILE_COMPRESSION, "C"},
    {host::FILE_SUPPORTS_ENCRYPTION, "E"},
    {host::FILE_VOLUME_QUOTAS, "Q"},
    {host::FILE_READ_ONLY_VOLUME, "R"},
    {host::FILE_SUPPORTS_REPARSE_POINTS, "Rp"},
    {host::FILE_NAMED_STREAMS, "S"},
    {host::FILE_SUPPORTS_SPARSE_FILES, "Sf"},
};

// The path whose file system answers for a path with a drive part; a path without one
// gives the empty text, which no query accepts.
std::string VolumePath(const std::string& path)
{
    return GetDrivePart(path).empty() ? std::string() : GetFullPath(path);
}

std::optional<host::VolumeInformation> QueryVolume(const std::string& path)
{
    host::SetLastError(host::ERROR_SUCCESS);
    return host::GetVolumeInformation(VolumePath(path));
}

// A path without a drive letter (a network path, a relative name) stands for the drive
// of the current folder, which follows the active column.
std::optional<host::DiskSpace> QueryDiskSpace(const std::string& path)
{
    host::SetLastError(host::ERROR_SUCCESS);
    return host::GetDiskSpace(GetDriveNumber(path) == 0 ? host::GetCurrentDirectory() : GetFullPath(path));
}

std::string QuotedSuffix(const std::string& kind, const std::string& name)
{
    return " (" + kind + ": \"" + name + "\")";
}

std::string VolumeLabel(const std::string& path)
{
    TPartitionInfo info;
    info.Load(path);
    return info.VolumeName;
}

std::string SuffixOfType(uint32_t type, const std::string& driveName)
{
    switch (type) {
    case host::DRIVE_REMOVABLE:
        return " (Removable)";
    case host::DRIVE_FIXED:
        return QuotedSuffix("Fixed", VolumeLabel(driveName));
    case host::DRIVE_REMOTE:
        return QuotedSuffix("Remote", host::GetNetworkName(driveName));
    case host::DRIVE_CDROM:
        return " (CD)";
    case host::DRIVE_RAMDISK:
        return " (RAM)";
    default:
        return {};
    }
}

int64_t ToSize(uint64_t bytes)
{
    return bytes > static_cast<uint64_t>(INT64_MAX) ? INT64_MAX : static_cast<int64_t>(bytes);
}

} // namespace

void TPartitionInfo::Clear()
{
    VolumeName.clear();
    FileSystemName.clear();
    SerialNumber = 0;
    MaxComponentLength = 0;
    FileSystemFlags = 0;
}

void TPartitionInfo::Load(const std::string& path)
{
    TTraced trace;
    try {
        const std::optional<host::VolumeInformation> volume = QueryVolume(path);
        if (!volume) {
            trace.RaiseSystem("Failed to load partition information.", path);
        } else {
            VolumeName = volume->VolumeName;
            FileSystemName = volume->FileSystemName;
            SerialNumber = volume->SerialNumber;
            MaxComponentLength = volume->MaxComponentLength;
            FileSystemFlags = volume->FileSystemFlags;
        }
    }
    TRACED_CATCH(trace)
    if (!trace.Succeeded())
        Clear();
}

void GetLogicalDrivesList(std::vector<std::string>& list, int& count)
{
    count = 0;
    const uint32_t drives = host::GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (drives & (1u << i)) {
            list.push_back(std::string{static_cast<char>('A' + i), ':'});
            ++count;
        }
    }
}

int GetDriveNumber(const std::string& path)
{
    if (path.size() < 2 || path[1] != ':')
        return 0;
    const char letter = UpperAscii(path[0]);
    return letter >= 'A' && letter <= 'Z' ? letter - 'A' + 1 : 0;
}

uint32_t GetPartitionType(const std::string& path)
{
    TTraced trace;
    uint32_t type = host::DRIVE_UNKNOWN;
    try {
        if (!GetDrivePart(path).empty()) {
            host::SetLastError(host::ERROR_SUCCESS);
            type = host::GetDriveType(GetFullPath(path));
            if (type == host::DRIVE_UNKNOWN || type == host::DRIVE_NO_ROOT_DIR)
                trace.Warn("Failed to get type.", path, "", host::GetLastError());
        }
    }
    TRACED_CATCH(trace)
    return type;
}

std::string GetPartitionSuffix(const std::string& path)
{
    TTraced trace;
    std::string suffix;
    try {
        if (IsDriveName(path))
            suffix = SuffixOfType(GetPartitionType(path), path);
    }
    TRACED_CATCH(trace)
    return suffix;
}

int64_t GetPartitionTotalSize(const std::string& path)
{
    TTraced trace;
    int64_t size = -1;
    try {
        const std::optional<host::DiskSpace> space = QueryDiskSpace(path);
        if (space)
            size = ToSize(space->Total);
        if (size <= 0)
            trace.RaiseSystem("Failed to get size.", path);
    }
    TRACED_CATCH(trace)
    return size;
}

int64_t GetPartitionFreeSize(const std::string& path)
{
    TTraced trace;
    int64_t size = -1;
    try {
        const std::optional<host::DiskSpace> space = QueryDiskSpace(path);
        if (space)
            size = ToSize(space->FreeForUser);
        if (size < 0)
            trace.RaiseSystem("Failed to get size.", path);
    }
    TRACED_CATCH(trace)
    return size;
}

bool PartitionLacksSpace(const std::string& path, int64_t needed)
{
    TTraced trace;
    bool lacks = true;
    try {
        const std::optional<host::DiskSpace> space = QueryDiskSpace(path);
        if (!space)
            trace.RaiseSystem("Failed to get size.", path);
        else
            lacks = space->Total != 0 && ToSize(space->FreeForUser) < needed;
    }
    TRACED_CATCH(trace)
    return lacks;
}

bool PartitionExists(const std::string& path)
{
    const std::string drive = GetDrivePart(path);
    return !drive.empty() && host::PathExists(IncludeEndBackslash(drive));
}

uint32_t GetPartitionFlags(const std::string& path)
{
    const std::optional<host::VolumeInformation> volume = QueryVolume(path);
    return volume ? volume->FileSystemFlags : 0;
}

std::string GetPartitionFlagsText(const std::string& path)
{
    const uint32_t flags = GetPartitionFlags(path);
    std::string text;
    for (const FlagLetters& entry : PartitionFlagLetters)
        if (flags & entry.Flag)
            text += entry.Letters;
    return text;
}

bool PartitionSupportsStreams(const std::string& path)
{
    return (GetPartitionFlags(path) & host::FILE_NAMED_STREAMS) != 0;
}

bool PartitionSupportsReparsePoints(const std::string& path)
{
    return (GetPartitionFlags(path) & host::FILE_SUPPORTS_REPARSE_POINTS) != 0;
}

bool PartitionSupportsEncryption(const std::string& path)
{
    return (GetPartitionFlags(path) & host::FILE_SUPPORTS_ENCRYPTION) != 0;
}
