#include "host/MountTable.h"

#include "host/Drives.h"

#include <algorithm>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <poll.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace host {
namespace {

constexpr const char* SystemMountInfo = "/proc/self/mountinfo";

constexpr const char* NetworkFileSystems[] = {
    "nfs",   "nfs4",   "cifs",       "smb3",        "smbfs",     "ncpfs",          "afs",         "ceph",      "9p",
    "davfs", "lustre", "fuse.sshfs", "fuse.rclone", "fuse.s3fs", "fuse.glusterfs", "fuse.davfs2", "glusterfs",
};
constexpr const char* OpticalFileSystems[] = {"iso9660", "udf"};
constexpr const char* MemoryFileSystems[] = {"tmpfs", "ramfs"};
// Where the desktop mounts the media a user plugs in.
constexpr const char* RemovableMediaFolders[] = {"/media/", "/run/media/"};

template <size_t N>
bool IsOneOf(const std::string& text, const char* const (&names)[N])
{
    return std::find(std::begin(names), std::end(names), text) != std::end(names);
}

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

bool IsOctalDigit(char c)
{
    return c >= '0' && c <= '7';
}

// The kernel writes space, tab, newline and backslash as "\" and three octal digits.
std::string DecodeOctalEscapes(const std::string& field)
{
    std::string text;
    for (size_t i = 0; i < field.size(); ++i) {
        const bool isEscape = field[i] == '\\' && i + 3 < field.size() && IsOctalDigit(field[i + 1]) &&
                              IsOctalDigit(field[i + 2]) && IsOctalDigit(field[i + 3]);
        if (isEscape) {
            text += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            text += field[i];
        }
    }
    return text;
}

std::vector<std::string> SplitAt(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::istringstream stream(text);
    std::string part;
    while (std::getline(stream, part, separator))
        if (!part.empty())
            parts.push_back(part);
    return parts;
}

std::optional<Mount> ParseMountInfoLine(const std::string& line)
{
    const std::vector<std::string> fields = SplitAt(line, ' ');
    const auto dash = std::find(fields.begin(), fields.end(), "-");
    const auto fieldsBeforeDash = dash - fields.begin();
    if (fieldsBeforeDash < 6 || fields.end() - dash < 4)
        return std::nullopt;
    Mount mount;
    mount.Device = fields[2];
    mount.MountPoint = DecodeOctalEscapes(fields[4]);
    mount.FileSystemType = DecodeOctalEscapes(dash[1]);
    mount.Source = DecodeOctalEscapes(dash[2]);
    mount.Options = SplitAt(fields[5], ',');
    for (const std::string& option : SplitAt(dash[3], ','))
        mount.Options.push_back(option);
    return mount;
}

std::string ReadFirstLine(const std::string& hostPath)
{
    std::ifstream file(hostPath);
    std::string line;
    std::getline(file, line);
    return line;
}

// The block device says so itself; a partition's answer lies with its disk.
bool IsRemovableBlockDevice(const std::string& device)
{
    if (device.empty() || StartsWith(device, "0:"))
        return false;
    const std::string base = "/sys/dev/block/" + device;
    const std::string own = ReadFirstLine(base + "/removable");
    return own == "1" || (own.empty() && ReadFirstLine(base + "/../removable") == "1");
}

bool IsOpticalDevice(const std::string& source)
{
    return StartsWith(source, "/dev/sr") || StartsWith(source, "/dev/cdrom");
}

// The cached table and what tells that it is out of date: a priority event on the open
// mountinfo (the kernel's signal for a mount or unmount) or another file identity.
class TableCache
{
public:
    std::shared_ptr<const std::vector<Mount>> Get()
    {
        const std::lock_guard lock(Guard);
        if (IsStale())
            Reload();
        return Table;
    }

    void SetFile(const std::string& hostPath)
    {
        const std::lock_guard lock(Guard);
        File = hostPath.empty() ? SystemMountInfo : hostPath;
        CloseDescriptor();
    }

private:
    struct Identity
    {
        dev_t Device = 0;
        ino_t Inode = 0;
        off_t Size = 0;
        timespec Modified{};

        bool operator==(const Identity& other) const
        {
            return Device == other.Device && Inode == other.Inode && Size == other.Size &&
                   Modified.tv_sec == other.Modified.tv_sec && Modified.tv_nsec == other.Modified.tv_nsec;
        }
    };

    Identity CurrentIdentity() const
    {
        struct stat info = {};
        if (stat(File.c_str(), &info) != 0)
            return {};
        return Identity{info.st_dev, info.st_ino, info.st_size, info.st_mtim};
    }

    bool IsStale()
    {
        if (Descriptor < 0 || !(CurrentIdentity() == LoadedIdentity))
            return true;
        pollfd request{Descriptor, POLLPRI, 0};
        return poll(&request, 1, 0) > 0 && (request.revents & (POLLPRI | POLLERR)) != 0;
    }

    void Reload()
    {
        CloseDescriptor();
        LoadedIdentity = CurrentIdentity();
        Descriptor = open(File.c_str(), O_RDONLY | O_CLOEXEC);
        std::string text;
        char buffer[16384];
        ssize_t got = 0;
        while (Descriptor >= 0 && (got = read(Descriptor, buffer, sizeof buffer)) > 0)
            text.append(buffer, static_cast<size_t>(got));
        std::vector<Mount> table = ParseMountInfo(text);
        for (Mount& mount : table)
            mount.DriveType = ClassifyDriveType(mount);
        Table = std::make_shared<const std::vector<Mount>>(std::move(table));
    }

    void CloseDescriptor()
    {
        if (Descriptor >= 0)
            close(Descriptor);
        Descriptor = -1;
    }

    std::mutex Guard;
    std::string File = SystemMountInfo;
    int Descriptor = -1;
    Identity LoadedIdentity;
    std::shared_ptr<const std::vector<Mount>> Table = std::make_shared<const std::vector<Mount>>();
};

// Never destroyed: queries may come from other objects' destructors at exit.
TableCache& Cache()
{
    static TableCache& cache = *new TableCache;
    return cache;
}

} // namespace

std::vector<Mount> ParseMountInfo(const std::string& text)
{
    std::vector<Mount> table;
    for (const std::string& line : SplitAt(text, '\n'))
        if (std::optional<Mount> mount = ParseMountInfoLine(line))
            table.push_back(std::move(*mount));
    return table;
}

uint32_t ClassifyDriveType(const Mount& mount)
{
    if (IsOneOf(mount.FileSystemType, NetworkFileSystems))
        return DRIVE_REMOTE;
    if (IsOneOf(mount.FileSystemType, OpticalFileSystems) || IsOpticalDevice(mount.Source))
        return DRIVE_CDROM;
    if (IsOneOf(mount.FileSystemType, MemoryFileSystems))
        return DRIVE_RAMDISK;
    for (const char* folder : RemovableMediaFolders)
        if (StartsWith(mount.MountPoint, folder))
            return DRIVE_REMOVABLE;
    return IsRemovableBlockDevice(mount.Device) ? DRIVE_REMOVABLE : DRIVE_FIXED;
}

std::shared_ptr<const std::vector<Mount>> GetMountTable()
{
    return Cache().Get();
}

std::optional<Mount> FindMountHolding(const std::string& hostPath)
{
    const std::shared_ptr<const std::vector<Mount>> table = GetMountTable();
    const Mount* best = nullptr;
    for (const Mount& mount : *table)
        if (IsHostPathUnder(mount.MountPoint, hostPath) &&
            (best == nullptr || mount.MountPoint.size() >= best->MountPoint.size()))
            best = &mount;
    if (best == nullptr)
        return std::nullopt;
    return *best;
}

void SetMountInfoFile(const std::string& hostPath)
{
    Cache().SetFile(hostPath);
}

} // namespace host
