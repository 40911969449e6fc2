#include "host/File.h"

#include "host/Descriptor.h"
#include "host/Drives.h"
#include "host/FaultInjection.h"
#include "host/FileStreams.h"
#include "host/LastError.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace host {
namespace {

int AccessFlags(FileAccess access)
{
    switch (access) {
    case FileAccess::Read:
        return O_RDONLY;
    case FileAccess::Write:
        return O_WRONLY;
    case FileAccess::ReadWrite:
        return O_RDWR;
    }
    return O_RDONLY;
}

int DispositionFlags(FileDisposition disposition)
{
    switch (disposition) {
    case FileDisposition::CreateNew:
        return O_CREAT | O_EXCL;
    case FileDisposition::CreateAlways:
        return O_CREAT | O_TRUNC;
    case FileDisposition::OpenExisting:
        return 0;
    case FileDisposition::OpenAlways:
        return O_CREAT;
    }
    return 0;
}

bool FailWithErrno()
{
    SetLastErrorFromErrno(errno);
    return false;
}

bool WriteAllToDescriptor(int descriptor, const char* bytes, size_t size)
{
    while (size > 0) {
        if (TakeFault(HostCall::Write))
            return false;
        const ssize_t written = write(descriptor, bytes, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return FailWithErrno();
        }
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    SetLastError(ERROR_SUCCESS);
    return true;
}

} // namespace

File::~File()
{
    if (Descriptor >= 0)
        close(Descriptor);
}

File::File(File&& other) noexcept : Descriptor(other.Descriptor)
{
    other.Descriptor = -1;
}

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        if (Descriptor >= 0)
            close(Descriptor);
        Descriptor = other.Descriptor;
        other.Descriptor = -1;
    }
    return *this;
}

bool File::Open(const std::string& windowsPath, FileAccess access, FileDisposition disposition)
{
    Close();
    const std::optional<std::string> hostPath = HostPathForCall(HostCall::Open, windowsPath);
    if (!hostPath)
        return false;
    return OpenHostPath(*hostPath, access, disposition);
}

bool File::OpenHost(const std::string& hostPath, FileAccess access, FileDisposition disposition)
{
    Close();
    if (TakeFault(HostCall::Open))
        return false;
    return OpenHostPath(hostPath, access, disposition);
}

std::optional<uint64_t> File::OpenToRead(const std::string& windowsPath)
{
    Close();
    const std::optional<std::string> hostPath = HostPathForCall(HostCall::Open, windowsPath);
    if (!hostPath)
        return std::nullopt;
    return OpenToReadAt(AT_FDCWD, hostPath->c_str());
}

std::optional<uint64_t> File::OpenToReadAt(int folder, const char* hostName)
{
    Close();
    // Without O_NONBLOCK the open of a pipe would wait for a writer.
    const int descriptor = openat(folder, hostName, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) {
        FailWithErrno();
        return std::nullopt;
    }
    Descriptor = descriptor;
    const std::optional<uint64_t> size = MeasureRegular();
    // A successful close leaves the last error as it is.
    if (!size)
        Close();
    return size;
}

bool File::OpenListedRegular(int folder, const char* hostName)
{
    Close();
    const int descriptor = openat(folder, hostName, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (descriptor < 0)
        return FailWithErrno();
    Descriptor = descriptor;
    SetLastError(ERROR_SUCCESS);
    return true;
}

std::optional<uint64_t> File::MeasureRegular()
{
    if (TakeFault(HostCall::Stat))
        return std::nullopt;
    struct stat info = {};
    if (fstat(Descriptor, &info) != 0) {
        FailWithErrno();
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return std::nullopt;
    }
    SetLastError(ERROR_SUCCESS);
    return static_cast<uint64_t>(info.st_size);
}

bool File::OpenHostPath(const std::string& hostPath, FileAccess access, FileDisposition disposition)
{
    struct stat info = {};
    const bool existed = stat(hostPath.c_str(), &info) == 0;
    if (existed && !S_ISREG(info.st_mode)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    const int descriptor =
        open(hostPath.c_str(), AccessFlags(access) | DispositionFlags(disposition) | O_CLOEXEC | O_NONBLOCK, 0666);
    if (descriptor < 0) {
        SetLastError(errno == EEXIST ? ERROR_FILE_EXISTS : ErrorFromErrno(errno));
        return false;
    }
    if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(descriptor);
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    Descriptor = descriptor;
    const bool reportsExisting =
        existed && (disposition == FileDisposition::OpenAlways || disposition == FileDisposition::CreateAlways);
    SetLastError(reportsExisting ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return true;
}

std::optional<uint64_t> File::Size()
{
    if (TakeFault(HostCall::Stat))
        return std::nullopt;
    struct stat info = {};
    if (fstat(Descriptor, &info) != 0) {
        FailWithErrno();
        return std::nullopt;
    }
    SetLastError(ERROR_SUCCESS);
    return static_cast<uint64_t>(info.st_size);
}

bool File::Truncate(uint64_t size)
{
    if (TakeFault(HostCall::Truncate))
        return false;
    if (ftruncate(Descriptor, static_cast<off_t>(size)) != 0)
        return FailWithErrno();
    SetLastError(ERROR_SUCCESS);
    return true;
}

bool File::SeekToEnd()
{
    if (lseek(Descriptor, 0, SEEK_END) < 0)
        return FailWithErrno();
    SetLastError(ERROR_SUCCESS);
    return true;
}

bool File::Seek(uint64_t position)
{
    if (lseek(Descriptor, static_cast<off_t>(position), SEEK_SET) < 0)
        return FailWithErrno();
    SetLastError(ERROR_SUCCESS);
    return true;
}

bool File::Write(const void* data, size_t size)
{
    return WriteAllToDescriptor(Descriptor, static_cast<const char*>(data), size);
}

std::optional<size_t> File::Read(void* data, size_t size)
{
    if (TakeFault(HostCall::Read))
        return std::nullopt;
    while (true) {
        const ssize_t got = read(Descriptor, data, size);
        if (got >= 0) {
            SetLastError(ERROR_SUCCESS);
            return static_cast<size_t>(got);
        }
        if (errno != EINTR) {
            FailWithErrno();
            return std::nullopt;
        }
    }
}

bool File::Close()
{
    if (Descriptor < 0)
        return true;
    const int result = close(Descriptor);
    Descriptor = -1;
    if (result != 0)
        return FailWithErrno();
    return true;
}

bool PathExists(const std::string& windowsPath)
{
    const std::optional<std::string> hostPath = HostPathForCall(HostCall::Stat, windowsPath);
    if (!hostPath)
        return false;
    struct stat info = {};
    if (lstat(hostPath->c_str(), &info) != 0)
        return FailWithErrno();
    SetLastError(ERROR_SUCCESS);
    return true;
}

} // namespace host

namespace host {
namespace {

// Reads on to the end of the file, or until `maxBytes` are in.
std::optional<std::string> ReadRestOfFile(File& file, uint64_t maxBytes)
{
    std::string content;
    char buffer[65536];
    while (content.size() < maxBytes) {
        const std::optional<size_t> got =
            file.Read(buffer, std::min<uint64_t>(sizeof buffer, maxBytes - content.size()));
        if (!got)
            return std::nullopt;
        if (*got == 0)
            break;
        content.append(buffer, *got);
    }
    SetLastError(ERROR_SUCCESS);
    return content;
}

// Links in a chain longer than this are taken for a loop, as the kernel does.
constexpr int MaxLinkHops = 40;

// Where a rewrite lands: a symbolic link (or a chain of them) stands for the file it
// names, which need not exist yet.
std::optional<std::filesystem::path> FollowFinalLinks(std::filesystem::path hostPath)
{
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(hostPath, error)))
            return hostPath;
        const std::filesystem::path target = std::filesystem::read_symlink(hostPath, error);
        if (error) {
            SetLastErrorFromErrno(error.value());
            return std::nullopt;
        }
        hostPath = hostPath.parent_path() / target;
    }
    SetLastErrorFromErrno(ELOOP);
    return std::nullopt;
}

// A file the user made read-only keeps its content, also for the program's owner (root
// may write anything, so the owner's write bit is asked).
bool IsReplaceable(const struct stat& existing)
{
    return S_ISREG(existing.st_mode) && (existing.st_mode & S_IWUSR) != 0;
}

// How a rewrite treats the entry at the target's name.
enum class TargetEntry
{
    // Keeps the permission bits of the file there (0644 for a new one).
    Shared,
    // Replaces whatever entry is there, a link included, by a file of mode 0600.
    Private,
    // As Shared, and the new file also takes the old one's owner, group, named streams and
    // access list: only the content changes. Where it cannot take the owner and group, the
    // content is written into the old file itself.
    Whole
};

constexpr mode_t NewFileMode = 0644;
constexpr mode_t PrivateFileMode = 0600;

// The old file's access list, where it has one. Without it the replacement's group
// permission bits, which stand for the list's mask, would be granted to the whole owning
// group.
bool CopyAccessList(int from, int to)
{
    static const char* const AccessListAttribute = "system.posix_acl_access";
    const ssize_t size = fgetxattr(from, AccessListAttribute, nullptr, 0);
    if (size < 0)
        return errno == ENODATA || errno == ENOTSUP || errno == EOPNOTSUPP || FailWithErrno();
    std::string list(static_cast<size_t>(size), '\0');
    const ssize_t got = fgetxattr(from, AccessListAttribute, list.data(), list.size());
    return (got >= 0 && fsetxattr(to, AccessListAttribute, list.data(), static_cast<size_t>(got), 0) == 0) ||
           FailWithErrno();
}

// Gives a new file the old one's owner and group: true when it has them, false when the
// system refuses (only a privileged process may give a file away, and a user may write a
// file he does not own), nothing on another failure.
std::optional<bool> TakeOverOwner(int descriptor, const struct stat& existing)
{
    if (TakeFault(HostCall::SetOwner)) {
        if (GetLastError() == ERROR_ACCESS_DENIED)
            return false;
        return std::nullopt;
    }
    if (fchown(descriptor, existing.st_uid, existing.st_gid) == 0)
        return true;
    if (errno == EPERM)
        return false;
    FailWithErrno();
    return std::nullopt;
}

// Hands the old file's named streams and access list to its replacement.
bool TakeOverStreams(const std::filesystem::path& target, int descriptor)
{
    const int old = open(target.c_str(), O_RDONLY | O_CLOEXEC);
    if (old < 0)
        return FailWithErrno();
    const bool copied = CopyStreamsBetweenDescriptors(old, descriptor, false) && CopyAccessList(old, descriptor);
    close(old);
    return copied;
}

// Removes a temporary file that did not become the target; the failure stays the last error.
void DiscardTemporary(const std::string& temporary)
{
    const uint32_t error = GetLastError();
    unlink(temporary.c_str());
    SetLastError(error);
}

// The file's content from its start becomes the bytes and nothing more.
bool OverwriteFromStart(int descriptor, const char* bytes, size_t size)
{
    return (lseek(descriptor, 0, SEEK_SET) == 0 || FailWithErrno()) && WriteAllToDescriptor(descriptor, bytes, size) &&
           !TakeFault(HostCall::Truncate) &&
           (ftruncate(descriptor, static_cast<off_t>(size)) == 0 || FailWithErrno()) &&
           (fsync(descriptor) == 0 || FailWithErrno());
}

// Puts the content kept aside back into the file.
bool PutBack(int kept, int descriptor)
{
    const off_t size = lseek(kept, 0, SEEK_END);
    return size >= 0 && lseek(kept, 0, SEEK_SET) == 0 && lseek(descriptor, 0, SEEK_SET) == 0 &&
           CopyBytes(kept, descriptor, 0, {}) && ftruncate(descriptor, size) == 0 && fsync(descriptor) == 0;
}

// Writes the new content into the file itself, for a file whose replacement could not take
// its owner and group: the file stays the same file, with its owner, group, mode, hard-link
// names, streams and access list. Its old content waits in a copy beside it until the new
// content is whole, and goes back when the write fails; a copy that could not go back stays.
bool RewriteInPlace(const std::filesystem::path& target, const struct stat& existing, const std::string& bytes)
{
    const Descriptor file(open(target.c_str(), O_RDWR | O_CLOEXEC | O_NOFOLLOW));
    struct stat opened = {};
    if (file.Value < 0 || fstat(file.Value, &opened) != 0)
        return FailWithErrno();
    // Something else took the name since it was looked at.
    if (opened.st_dev != existing.st_dev || opened.st_ino != existing.st_ino) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    std::string keptPath = (target.parent_path() / ".quillomber-XXXXXX").string();
    const Descriptor kept(mkostemp(keptPath.data(), O_CLOEXEC));
    if (kept.Value < 0)
        return FailWithErrno();
    if (!CopyBytes(file.Value, kept.Value, 0, {}) || (fsync(kept.Value) != 0 && !FailWithErrno())) {
        DiscardTemporary(keptPath);
        return false;
    }
    if (OverwriteFromStart(file.Value, bytes.data(), bytes.size())) {
        unlink(keptPath.c_str());
        SetLastError(ERROR_SUCCESS);
        return true;
    }
    const uint32_t error = GetLastError();
    if (PutBack(kept.Value, file.Value))
        unlink(keptPath.c_str());
    SetLastError(error);
    return false;
}

bool ReplaceResolvedFile(const std::filesystem::path& target, const std::string& bytes, TargetEntry entry)
{
    struct stat existing = {};
    const bool existed =
        (entry == TargetEntry::Private ? lstat(target.c_str(), &existing) : stat(target.c_str(), &existing)) == 0;
    if (existed && !S_ISLNK(existing.st_mode) && !IsReplaceable(existing)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    if (TakeFault(HostCall::Open))
        return false;
    // A short name of its own, so a target name of up to 255 bytes still has a temporary.
    std::string temporary = (target.parent_path() / ".quillomber-XXXXXX").string();
    const int descriptor = mkstemp(temporary.data());
    if (descriptor < 0)
        return FailWithErrno();
    const bool whole = entry == TargetEntry::Whole && existed;
    const std::optional<bool> ownerTaken = whole ? TakeOverOwner(descriptor, existing) : std::optional<bool>(true);
    if (ownerTaken != true) {
        close(descriptor);
        DiscardTemporary(temporary);
        return ownerTaken.has_value() && RewriteInPlace(target, existing, bytes);
    }
    const mode_t mode = entry == TargetEntry::Private ? PrivateFileMode
                        : existed                     ? existing.st_mode & 07777
                                                      : NewFileMode;
    const bool written = WriteAllToDescriptor(descriptor, bytes.data(), bytes.size()) &&
                         (!whole || TakeOverStreams(target, descriptor)) &&
                         (fsync(descriptor) == 0 || FailWithErrno()) &&
                         (fchmod(descriptor, mode) == 0 || FailWithErrno());
    close(descriptor);
    const bool replaced =
        written && !TakeFault(HostCall::Rename) && (rename(temporary.c_str(), target.c_str()) == 0 || FailWithErrno());
    if (!replaced) {
        DiscardTemporary(temporary);
        return false;
    }
    SetLastError(ERROR_SUCCESS);
    return true;
}

} // namespace

bool ReplaceFileContents(const std::string& windowsPath, const std::string& bytes)
{
    const std::optional<std::string> hostPath = WindowsToHost(windowsPath);
    if (!hostPath)
        return false;
    return ReplaceHostFileContents(*hostPath, bytes);
}

bool ReplaceHostFileContents(const std::string& hostPath, const std::string& bytes)
{
    const std::optional<std::filesystem::path> target = FollowFinalLinks(hostPath);
    return target && ReplaceResolvedFile(*target, bytes, TargetEntry::Shared);
}

bool ReplaceWholeFileContents(const std::string& windowsPath, const std::string& bytes)
{
    const std::optional<std::string> hostPath = WindowsToHost(windowsPath);
    if (!hostPath)
        return false;
    const std::optional<std::filesystem::path> target = FollowFinalLinks(*hostPath);
    return target && ReplaceResolvedFile(*target, bytes, TargetEntry::Whole);
}

bool ReplacePrivateFileContents(const std::string& windowsPath, const std::string& bytes)
{
    const std::optional<std::string> hostPath = WindowsToHost(windowsPath);
    return hostPath && ReplaceResolvedFile(*hostPath, bytes, TargetEntry::Private);
}

std::optional<std::string> ReadFileContents(const std::string& windowsPath, uint64_t maxBytes)
{
    File file;
    if (!file.Open(windowsPath, FileAccess::Read, FileDisposition::OpenExisting))
        return std::nullopt;
    return ReadRestOfFile(file, maxBytes);
}

std::optional<std::string> ReadHostFileContents(const std::string& hostPath)
{
    File file;
    if (!file.OpenHost(hostPath, FileAccess::Read, FileDisposition::OpenExisting))
        return std::nullopt;
    return ReadRestOfFile(file, UINT64_MAX);
}

} // namespace host
