#include "host/FileSystem.h"

#include "host/Descriptor.h"
#include "host/Drives.h"
#include "host/FaultInjection.h"
#include "host/File.h"
#include "host/FileStreams.h"
#include "host/LastError.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QUrl>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace host {
namespace {

// Seconds between 1 January 1601 and 1 January 1970.
constexpr int64_t FileTimeEpochOffset = 11644473600;
constexpr size_t CopyChunkBytes = 4 * 1024 * 1024;

bool Fail(uint32_t code)
{
    SetLastError(code);
    return false;
}

bool FailWithErrno()
{
    SetLastErrorFromErrno(errno);
    return false;
}

bool Succeed()
{
    SetLastError(ERROR_SUCCESS);
    return true;
}

FileTime FileTimeOf(const statx_timestamp& stamp)
{
    return FileTimeFromUnix(stamp.tv_sec, stamp.tv_nsec);
}

bool StatHost(int directory, const char* path, int flags, struct statx& info)
{
    return statx(directory, path, flags, STATX_BASIC_STATS | STATX_BTIME, &info) == 0;
}

FindData DataOf(const std::string& name, const struct statx& own, const struct statx* target)
{
    const struct statx& info = target != nullptr ? *target : own;
    FindData data;
    data.Name = name;
    if (S_ISDIR(info.stx_mode))
        data.Attributes |= FILE_ATTRIBUTE_DIRECTORY;
    else if (S_ISREG(info.stx_mode))
        data.Attributes |= FILE_ATTRIBUTE_ARCHIVE;
    else if (!S_ISLNK(info.stx_mode))
        data.Attributes |= FILE_ATTRIBUTE_SYSTEM;
    if ((info.stx_mode & S_IWUSR) == 0 && !S_ISLNK(info.stx_mode))
        data.Attributes |= FILE_ATTRIBUTE_READONLY;
    if (!name.empty() && name[0] == '.')
        data.Attributes |= FILE_ATTRIBUTE_HIDDEN;
    if (S_ISLNK(own.stx_mode))
        data.Attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    data.Size = S_ISREG(info.stx_mode) ? info.stx_size : 0;
    data.LastWriteTime = FileTimeOf(info.stx_mtime);
    data.LastAccessTime = FileTimeOf(info.stx_atime);
    data.CreationTime = (info.stx_mask & STATX_BTIME) != 0 ? FileTimeOf(info.stx_btime) : data.LastWriteTime;
    return data;
}

// The entry's data relative to an open folder (or an absolute path with AT_FDCWD).
std::optional<FindData> DataAt(int directory, const char* path, const std::string& name)
{
    struct statx own = {};
    if (!StatHost(directory, path, AT_SYMLINK_NOFOLLOW, own))
        return std::nullopt;
    if (!S_ISLNK(own.stx_mode))
        return DataOf(name, own, nullptr);
    struct statx target = {};
    const bool resolved = StatHost(directory, path, 0, target);
    return DataOf(name, own, resolved ? &target : nullptr);
}

std::string NameOfHostPath(const std::string& hostPath)
{
    const size_t slash = hostPath.find_last_of('/');
    return slash == std::string::npos ? hostPath : hostPath.substr(slash + 1);
}

std::string FolderOfHostPath(const std::string& hostPath)
{
    const size_t slash = hostPath.find_last_of('/');
    return slash == 0 ? "/" : hostPath.substr(0, slash);
}

struct HostPair
{
    std::string Source;
    std::string Target;
};

std::optional<HostPair> TranslatePair(const std::string& source, const std::string& target)
{
    std::optional<std::string> hostSource = WindowsToHost(source);
    if (!hostSource)
        return std::nullopt;
    std::optional<std::string> hostTarget = WindowsToHost(target);
    if (!hostTarget)
        return std::nullopt;
    return HostPair{*hostSource, *hostTarget};
}

// A host entry as lstat sees it: a link is seen as the link, not as what it names.
struct HostEntry
{
    std::string Path;
    struct stat Info = {};
};

// The entry at the path, or nullopt with the failure recorded: the path names no host
// file, the call's fault is injected or lstat fails.
std::optional<HostEntry> LookAtEntry(HostCall call, const std::string& path)
{
    std::optional<std::string> hostPath = HostPathForCall(call, path);
    if (!hostPath)
        return std::nullopt;
    HostEntry entry;
    entry.Path = std::move(*hostPath);
    if (lstat(entry.Path.c_str(), &entry.Info) != 0) {
        FailWithErrno();
        return std::nullopt;
    }
    return entry;
}

bool SameInode(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool IsHostPathInside(const std::string& folder, const std::string& path)
{
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == '/';
}

} // namespace

Descriptor::~Descriptor()
{
    if (Value >= 0)
        close(Value);
}

// copy_file_range keeps the bytes in the kernel where the file systems allow it.
bool CopyBytes(int from, int to, uint64_t total, const CopyProgress& progress)
{
    std::unique_ptr<char[]> buffer;
    bool kernelCopy = true;
    uint64_t copied = 0;
    while (true) {
        if (TakeFault(HostCall::Write) || TakeFault(HostCall::Read))
            return false;
        ssize_t moved = -1;
        if (kernelCopy) {
            moved = copy_file_range(from, nullptr, to, nullptr, CopyChunkBytes, 0);
            if (moved < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP)) {
                kernelCopy = false;
                continue;
            }
        } else {
            if (!buffer)
                buffer = std::make_unique<char[]>(CopyChunkBytes);
            moved = read(from, buffer.get(), CopyChunkBytes);
            for (ssize_t written = 0; moved > 0 && written < moved;) {
                const ssize_t count = write(to, buffer.get() + written, static_cast<size_t>(moved - written));
                if (count < 0 && errno != EINTR)
                    return FailWithErrno();
                written += count < 0 ? 0 : count;
            }
        }
        if (moved < 0) {
            if (errno == EINTR)
                continue;
            return FailWithErrno();
        }
        if (moved == 0)
            return Succeed();
        copied += static_cast<uint64_t>(moved);
        if (progress && !progress(copied, total))
            return Fail(ERROR_REQUEST_ABORTED);
    }
}

namespace {

bool PublishCopy(const std::string& temporary, const std::string& target, bool failIfExists)
{
    if (!failIfExists)
        return rename(temporary.c_str(), target.c_str()) == 0 || FailWithErrno();
    if (renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno == EEXIST)
        return Fail(ERROR_FILE_EXISTS);
    if (errno != EINVAL)
        return FailWithErrno();
    // The file system cannot rename without replacing: a hard link refuses an existing name.
    if (link(temporary.c_str(), target.c_str()) != 0)
        return errno == EEXIST ? Fail(ERROR_FILE_EXISTS) : FailWithErrno();
    unlink(temporary.c_str());
    return true;
}

// Opens the source of a copy: a regular file, opened so that a pipe put in its place
// cannot block.
bool OpenCopySource(const std::string& source, Descriptor& from, struct stat& info)
{
    from.Value = open(source.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (from.Value < 0 || fstat(from.Value, &info) != 0)
        return FailWithErrno();
    return S_ISREG(info.st_mode) || Fail(ERROR_ACCESS_DENIED);
}

// The open source's bytes, streams, permissions and times into `to`, a file of our making.
bool CopyContent(int from, const struct stat& info, int to, const CopyProgress& progress, UnheldStreams unheld)
{
    const timespec times[2] = {info.st_atim, info.st_mtim};
    // The streams go before the permissions: a read-only copy could not take them after.
    return CopyBytes(from, to, static_cast<uint64_t>(info.st_size), progress) &&
           CopyStreamsBetweenDescriptors(from, to, unheld == UnheldStreams::Drop) &&
           (fchmod(to, info.st_mode & 07777) == 0 || FailWithErrno()) &&
           (futimens(to, times) == 0 || FailWithErrno());
}

// The open source copied under a temporary name beside the target, then published under
// the target's name (replacing a file there only when `failIfExists` is not set); a copy
// that does not go through takes its temporary file away.
bool CopyThroughTemporaryName(int from, const struct stat& sourceInfo, const std::string& target,
                              const CopyProgress& progress, UnheldStreams unheld, bool failIfExists)
{
    std::string temporary = FolderOfHostPath(target) + "/.quillomber-copy-XXXXXX";
    const Descriptor to(mkostemp(temporary.data(), O_CLOEXEC));
    if (to.Value < 0)
        return FailWithErrno();
    if (CopyContent(from, sourceInfo, to.Value, progress, unheld) && PublishCopy(temporary, target, failIfExists))
        return Succeed();
    const uint32_t error = GetLastError();
    unlink(temporary.c_str());
    return Fail(error);
}

// Names the unnamed file open as `descriptor` `target`, never replacing a file there.
bool NameUnnamedFile(int descriptor, const std::string& target)
{
    const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    return errno == EEXIST ? Fail(ERROR_FILE_EXISTS) : FailWithErrno();
}

// A copy to a name that must be free. One look (never following a link) finds a target
// already there before any byte is read. The bytes go to a file that has no name until it
// is whole (or, where the file system cannot make one, to a temporary name), which is then
// named without replacing, so a target made meanwhile is found too, and a crash or a
// failure never leaves part of a file under the target's name.
bool CopyHostFileToFreeName(const std::string& source, const std::string& target, const CopyProgress& progress,
                            UnheldStreams unheld)
{
    struct stat targetInfo = {};
    if (lstat(target.c_str(), &targetInfo) == 0)
        return Fail(ERROR_FILE_EXISTS);
    Descriptor from(-1);
    struct stat sourceInfo = {};
    if (!OpenCopySource(source, from, sourceInfo))
        return false;
    const std::string folder = FolderOfHostPath(target);
    const Descriptor unnamed(open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600));
    if (unnamed.Value >= 0)
        return CopyContent(from.Value, sourceInfo, unnamed.Value, progress, unheld) &&
               NameUnnamedFile(unnamed.Value, target) && Succeed();
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return FailWithErrno();
    return CopyThroughTemporaryName(from.Value, sourceInfo, target, progress, unheld, true);
}

// A copy that may replace its target does so at once, by renaming a temporary copy beside
// it over it, so a failed copy leaves the old target as it was.
bool CopyHostFileOverTarget(const std::string& source, const std::string& target, const CopyProgress& progress,
                            UnheldStreams unheld)
{
    Descriptor from(-1);
    struct stat sourceInfo = {};
    if (!OpenCopySource(source, from, sourceInfo))
        return false;
    struct stat targetInfo = {};
    if (stat(target.c_str(), &targetInfo) == 0) {
        if (SameInode(sourceInfo, targetInfo))
            return Fail(ERROR_SHARING_VIOLATION);
        if (S_ISDIR(targetInfo.st_mode) || (targetInfo.st_mode & S_IWUSR) == 0)
            return Fail(ERROR_ACCESS_DENIED);
    }
    return CopyThroughTemporaryName(from.Value, sourceInfo, target, progress, unheld, false);
}

bool CopyHostFile(const std::string& source, const std::string& target, bool failIfExists, const CopyProgress& progress,
                  UnheldStreams unheld)
{
    return failIfExists ? CopyHostFileToFreeName(source, target, progress, unheld)
                        : CopyHostFileOverTarget(source, target, progress, unheld);
}

// Makes a new entry under a free name "<folder>/<stem><n>" by `make`, which fails with
// EEXIST while the name is taken; the name made, or nothing with the last error set.
std::optional<std::string> MakeFreshEntry(const std::string& folder, const std::string& stem,
                                          const std::function<int(const std::string&)>& make)
{
    for (unsigned number = 0; number < 10000; ++number) {
        std::string name = folder + "/" + stem + std::to_string(number);
        if (make(name) == 0)
            return name;
        if (errno != EEXIST) {
            FailWithErrno();
            return std::nullopt;
        }
    }
    Fail(ERROR_FILE_EXISTS);
    return std::nullopt;
}

std::optional<std::string> ReadHostLink(const std::string& hostPath)
{
    std::string target(PATH_MAX, '\0');
    const ssize_t length = readlink(hostPath.c_str(), target.data(), target.size());
    if (length < 0) {
        FailWithErrno();
        return std::nullopt;
    }
    target.resize(static_cast<size_t>(length));
    return target;
}

// A symbolic link reaches another file system as the same link made there, under a
// temporary name first so that an existing target is replaced at once or refused.
bool CopyHostLink(const std::string& source, const std::string& target, bool failIfExists)
{
    const std::optional<std::string> linked = ReadHostLink(source);
    if (!linked)
        return false;
    const std::optional<std::string> temporary =
        MakeFreshEntry(FolderOfHostPath(target), ".quillomber-link-",
                       [&](const std::string& name) { return symlink(linked->c_str(), name.c_str()); });
    if (!temporary)
        return false;
    if (!PublishCopy(*temporary, target, failIfExists)) {
        const uint32_t error = GetLastError();
        unlink(temporary->c_str());
        return Fail(error);
    }
    return Succeed();
}

// A hard link beside an existing target that a move is about to replace, so that the
// target can come back if the move fails; "" when there is no target, or the file system
// cannot keep one.
std::string KeepReplacedTarget(const std::string& target)
{
    struct stat info = {};
    if (lstat(target.c_str(), &info) != 0)
        return {};
    return MakeFreshEntry(FolderOfHostPath(target), ".quillomber-kept-",
                          [&](const std::string& name) { return link(target.c_str(), name.c_str()); })
        .value_or(std::string{});
}

// A move to another file system: the file copied or the link made anew there, then the
// source removed. When the source cannot be removed, the copy goes and a target it
// replaced comes back.
bool MoveAcross(const std::string& source, const std::string& target, bool isLink, bool replace,
                const CopyProgress& progress, UnheldStreams unheld)
{
    const std::string kept = replace ? KeepReplacedTarget(target) : std::string{};
    const bool copied =
        isLink ? CopyHostLink(source, target, !replace) : CopyHostFile(source, target, !replace, progress, unheld);
    const bool moved = copied && !TakeFault(HostCall::Delete) && (unlink(source.c_str()) == 0 || FailWithErrno());
    const uint32_t error = GetLastError();
    if (copied && !moved && !kept.empty())
        rename(kept.c_str(), target.c_str());
    else if (copied && !moved)
        unlink(target.c_str());
    else if (!kept.empty())
        unlink(kept.c_str());
    return moved ? Succeed() : Fail(error);
}

// The bytes of the character that begins at the position: a well-formed UTF-8 sequence,
// else the one byte, which a name shows as a character of its own.
size_t CharacterLength(const std::string& text, size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                          : lead >= 0xE0 && lead <= 0xEF ? 3
                          : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                         : 1;
    if (length == 1 || at + length > text.size())
        return 1;
    // The second byte's range rules out overlong forms, surrogates and code points above U+10FFFF.
    const auto second = static_cast<unsigned char>(text[at + 1]);
    const unsigned char lowest = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
    const unsigned char highest = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
    if (second < lowest || second > highest)
        return 1;
    for (size_t i = 2; i < length; ++i)
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80)
            return 1;
    return length;
}

bool RenameHost(const std::string& source, const std::string& target, bool replace)
{
    if (replace)
        return rename(source.c_str(), target.c_str()) == 0 || FailWithErrno();
    if (renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL) {
        SetLastError(errno == EEXIST ? ERROR_ALREADY_EXISTS : ErrorFromErrno(errno));
        return false;
    }
    struct stat existing = {};
    if (lstat(target.c_str(), &existing) == 0)
        return Fail(ERROR_ALREADY_EXISTS);
    return rename(source.c_str(), target.c_str()) == 0 || FailWithErrno();
}

std::string TrashInfoText(const std::string& hostPath)
{
    const time_t now = time(nullptr);
    struct tm local = {};
    localtime_r(&now, &local);
    char date[32] = {};
    strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    const QByteArray encodedPath = QUrl::toPercentEncoding(QByteArray::fromStdString(hostPath), "/");
    return "[Trash Info]\nPath=" + encodedPath.toStdString() + "\nDeletionDate=" + date + "\n";
}

// Some Qt versions note where a recycled item came from unescaped, so a "%" or a line break
// in its path would send the desktop's restore elsewhere: the note is written anew.
bool RecordTrashOrigin(const std::string& hostPath, const std::string& pathInTrash)
{
    const std::filesystem::path kept(pathInTrash);
    const std::filesystem::path info = kept.parent_path().parent_path() / "info" / kept.filename();
    return ReplaceHostFileContents(info.string() + ".trashinfo", TrashInfoText(hostPath));
}

bool WriteWhole(int descriptor, const std::string& text)
{
    for (size_t written = 0; written < text.size();) {
        const ssize_t count = write(descriptor, text.data() + written, text.size() - written);
        if (count < 0 && errno != EINTR)
            return false;
        written += count < 0 ? 0 : static_cast<size_t>(count);
    }
    return true;
}

// Claims a free name in the trash by creating its information file (the trash's own way
// of reserving a name), then moves the link under that name into "files".
bool TrashLink(const std::string& hostPath, const std::string& trash)
{
    const std::string files = trash + "/files";
    const std::string infos = trash + "/info";
    for (const std::string& folder : {trash, files, infos})
        if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
            return FailWithErrno();
    const std::string name = NameOfHostPath(hostPath);
    for (unsigned number = 1; number < 10000; ++number) {
        const std::string entry = number == 1 ? name : name + "." + std::to_string(number);
        const std::string infoPath = infos + "/" + entry + ".trashinfo";
        const Descriptor info(open(infoPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (info.Value < 0 && errno == EEXIST)
            continue;
        if (info.Value < 0)
            return FailWithErrno();
        const std::string kept = files + "/" + entry;
        struct stat existing = {};
        if (lstat(kept.c_str(), &existing) == 0) {
            unlink(infoPath.c_str());
            continue;
        }
        const bool moved = WriteWhole(info.Value, TrashInfoText(hostPath))
                               ? RenameHost(hostPath, kept, false) ||
                                     (GetLastError() == ERROR_NOT_SAME_DEVICE &&
                                      MoveAcross(hostPath, kept, true, false, {}, UnheldStreams::Refuse))
                               : FailWithErrno();
        if (moved)
            return Succeed();
        const uint32_t error = GetLastError();
        unlink(infoPath.c_str());
        return Fail(error);
    }
    return Fail(ERROR_FILE_EXISTS);
}

} // namespace

FileTime FileTimeFromUnix(int64_t seconds, int64_t nanoseconds)
{
    const int64_t steps = (seconds + FileTimeEpochOffset) * 10000000 + nanoseconds / 100;
    return steps < 0 ? 0 : static_cast<FileTime>(steps);
}

bool SetLastWriteTime(const std::string& path, FileTime time)
{
    const std::optional<std::string> hostPath = HostPathForCall(HostCall::SetAttributes, path);
    if (!hostPath)
        return false;
    constexpr FileTime StepsPerSecond = 10000000;
    timespec times[2] = {};
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_sec = static_cast<time_t>(static_cast<int64_t>(time / StepsPerSecond) - FileTimeEpochOffset);
    times[1].tv_nsec = static_cast<long>(time % StepsPerSecond * 100);
    if (utimensat(AT_FDCWD, hostPath->c_str(), times, 0) != 0)
        return FailWithErrno();
    return Succeed();
}

FileTime FileTimeToLocal(FileTime universal)
{
    // Beyond any calendar a zone could apply to: nothing to shift.
    if (universal > static_cast<FileTime>(INT64_MAX / 2))
        return universal;
    const time_t seconds = static_cast<time_t>(static_cast<int64_t>(universal / 10000000) - FileTimeEpochOffset);
    struct tm local = {};
    if (localtime_r(&seconds, &local) == nullptr)
        return universal;
    const int64_t shifted = static_cast<int64_t>(universal) + static_cast<int64_t>(local.tm_gmtoff) * 10000000;
    return shifted < 0 ? 0 : static_cast<FileTime>(shifted);
}

bool MatchesPattern(const std::string& name, const std::string& pattern)
{
    // Iterative, so no pattern can make the match take exponential time. The name is
    // walked character by character, so "?" and a star's advance take a whole one.
    const auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    size_t n = 0, p = 0;
    size_t starPattern = std::string::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '?') {
            n += CharacterLength(name, n);
            ++p;
        } else if (p < pattern.size() && pattern[p] != '*' && fold(pattern[p]) == fold(name[n])) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (starPattern != std::string::npos) {
            p = starPattern + 1;
            starName += CharacterLength(name, starName);
            n = starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::optional<FindData> GetFileData(const std::string& path)
{
    const std::optional<std::string> hostPath = HostPathForCall(HostCall::Stat, path);
    if (!hostPath)
        return std::nullopt;
    const std::string name = WindowsNameOfHostName(NameOfHostPath(*hostPath)).value_or(std::string());
    std::optional<FindData> data = DataAt(AT_FDCWD, hostPath->c_str(), name);
    if (!data) {
        FailWithErrno();
        return std::nullopt;
    }
    Succeed();
    return data;
}

uint32_t GetFileAttributes(const std::string& path)
{
    const std::optional<FindData> data = GetFileData(path);
    return data ? data->Attributes : INVALID_FILE_ATTRIBUTES;
}

bool SetFileAttributes(const std::string& path, uint32_t attributes)
{
    const std::optional<HostEntry> entry = LookAtEntry(HostCall::SetAttributes, path);
    if (!entry)
        return false;
    const struct stat& info = entry->Info;
    // A link has no read-only attribute of its own; the file it names is not ours to change.
    if (S_ISLNK(info.st_mode))
        return Succeed();
    const mode_t mode = (attributes & FILE_ATTRIBUTE_READONLY) != 0 ? info.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)
                                                                    : info.st_mode | S_IWUSR;
    if ((mode & 07777) != (info.st_mode & 07777) && chmod(entry->Path.c_str(), mode & 07777) != 0)
        return FailWithErrno();
    return Succeed();
}

std::optional<uint32_t> GetFilePermissions(const std::string& path)
{
    const std::optional<HostEntry> entry = LookAtEntry(HostCall::Stat, path);
    if (!entry)
        return std::nullopt;
    Succeed();
    return static_cast<uint32_t>(entry->Info.st_mode & 07777);
}

bool SetFilePermissions(const std::string& path, uint32_t permissions)
{
    const std::optional<HostEntry> entry = LookAtEntry(HostCall::SetAttributes, path);
    if (!entry)
        return false;
    if (S_ISLNK(entry->Info.st_mode))
        return Succeed();
    if (chmod(entry->Path.c_str(), static_cast<mode_t>(permissions & 07777)) != 0)
        return FailWithErrno();
    return Succeed();
}

bool FindFiles(const std::string& folder, const std::string& pattern, std::vector<FindData>& entries, size_t* leftOut)
{
    entries.clear();
    if (leftOut != nullptr)
        *leftOut = 0;
    const std::optional<std::string> hostFolder = HostPathForCall(HostCall::List, folder);
    if (!hostFolder)
        return false;
    std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir(hostFolder->c_str()), closedir);
    if (!directory)
        return Fail(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno));
    const std::string windowsFolder = folder.back() == '\\' ? folder : folder + '\\';
    for (;;) {
        // Only readdir's own failure counts: an entry that vanished before its statx is
        // merely left out.
        errno = 0;
        const dirent* entry = readdir(directory.get());
        if (entry == nullptr)
            break;
        const std::string hostName = entry->d_name;
        if (hostName == "." || hostName == "..")
            continue;
        const std::optional<std::string> name = WindowsNameOfHostName(hostName);
        if (!MatchesPattern(name.value_or(hostName), pattern))
            continue;
        // A name that could not be reached again, or not within a path's length, stays out of view.
        if (!name || windowsFolder.size() + name->size() > MaxPathBytes) {
            if (leftOut != nullptr)
                ++*leftOut;
            continue;
        }
        if (!entries.empty() && TakeFault(HostCall::ListNext))
            return false;
        if (std::optional<FindData> data = DataAt(dirfd(directory.get()), entry->d_name, *name))
            entries.push_back(std::move(*data));
    }
    if (errno != 0)
        return FailWithErrno();
    SetLastError(entries.empty() ? ERROR_FILE_NOT_FOUND : ERROR_SUCCESS);
    return true;
}

bool CreateDirectory(const std::string& path, const std::string& templateFolder)
{
    const std::optional<std::string> hostPath = HostPathForCall(HostCall::CreateDirectory, path);
    if (!hostPath)
        return false;
    if (mkdir(hostPath->c_str(), 0777) != 0)
        return FailWithErrno();
    if (!templateFolder.empty()) {
        struct stat info = {};
        const std::optional<std::string> hostTemplate = WindowsToHost(templateFolder);
        if (hostTemplate && stat(hostTemplate->c_str(), &info) == 0)
            chmod(hostPath->c_str(), info.st_mode & 07777);
    }
    return Succeed();
}

bool RemoveDirectory(const std::string& path)
{
    const std::optional<std::string> hostPath = HostPathForCall(HostCall::RemoveDirectory, path);
    if (!hostPath)
        return false;
    struct stat info = {};
    // A link to a folder goes as a link: what it points to is never touched.
    if (lstat(hostPath->c_str(), &info) == 0 && S_ISLNK(info.st_mode))
        return unlink(hostPath->c_str()) == 0 ? Succeed() : FailWithErrno();
    return rmdir(hostPath->c_str()) == 0 ? Succeed() : FailWithErrno();
}

bool DeleteFile(const std::string& path)
{
    const std::optional<HostEntry> entry = LookAtEntry(HostCall::Delete, path);
    if (!entry)
        return false;
    const mode_t mode = entry->Info.st_mode;
    if (S_ISDIR(mode) || (S_ISREG(mode) && (mode & S_IWUSR) == 0))
        return Fail(ERROR_ACCESS_DENIED);
    return unlink(entry->Path.c_str()) == 0 ? Succeed() : FailWithErrno();
}

bool CopyFile(const std::string& source, const std::string& target, bool failIfExists, const CopyProgress& progress,
              UnheldStreams unheld)
{
    if (TakeFault(HostCall::Open))
        return false;
    const std::optional<HostPair> paths = TranslatePair(source, target);
    return paths && CopyHostFile(paths->Source, paths->Target, failIfExists, progress, unheld);
}

bool CopySymbolicLink(const std::string& source, const std::string& target, bool failIfExists)
{
    if (TakeFault(HostCall::Link))
        return false;
    const std::optional<HostPair> paths = TranslatePair(source, target);
    if (!paths)
        return false;
    struct stat sourceInfo = {};
    if (lstat(paths->Source.c_str(), &sourceInfo) != 0)
        return FailWithErrno();
    if (!S_ISLNK(sourceInfo.st_mode))
        return Fail(ERROR_INVALID_PARAMETER);
    return CopyHostLink(paths->Source, paths->Target, failIfExists);
}

bool MoveFile(const std::string& source, const std::string& target, bool replace, bool allowCopy,
              const CopyProgress& progress, UnheldStreams unheld)
{
    if (TakeFault(HostCall::Rename))
        return false;
    const std::optional<HostPair> paths = TranslatePair(source, target);
    if (!paths)
        return false;
    struct stat sourceInfo = {};
    if (lstat(paths->Source.c_str(), &sourceInfo) != 0)
        return FailWithErrno();
    if (paths->Source == paths->Target)
        return Succeed();
    const bool isFolder = S_ISDIR(sourceInfo.st_mode);
    if (isFolder && IsHostPathInside(paths->Source, paths->Target))
        return Fail(ERROR_SHARING_VIOLATION);
    struct stat targetInfo = {};
    // One entry seen under both names is a case-blind file system: the rename re-cases it.
    bool sameEntry = false;
    if (lstat(paths->Target.c_str(), &targetInfo) == 0) {
        sameEntry = SameInode(sourceInfo, targetInfo) && sourceInfo.st_nlink == 1;
        if (!sameEntry && !replace)
            return Fail(ERROR_ALREADY_EXISTS);
        if (!sameEntry && (isFolder || S_ISDIR(targetInfo.st_mode)))
            return Fail(ERROR_ACCESS_DENIED);
        // Two hard links of one file: the target keeps the data, the source name goes.
        if (!sameEntry && SameInode(sourceInfo, targetInfo))
            return unlink(paths->Source.c_str()) == 0 ? Succeed() : FailWithErrno();
    }
    if (RenameHost(paths->Source, paths->Target, replace || sameEntry))
        return Succeed();
    if (GetLastError() != ERROR_NOT_SAME_DEVICE)
        return false;
    if (isFolder || !allowCopy || !(S_ISREG(sourceInfo.st_mode) || S_ISLNK(sourceInfo.st_mode)))
        return false;
    return MoveAcross(paths->Source, paths->Target, S_ISLNK(sourceInfo.st_mode), replace, progress, unheld);
}

bool CreateHardLink(const std::string& newName, const std::string& existingName)
{
    if (TakeFault(HostCall::Link))
        return false;
    const std::optional<HostPair> paths = TranslatePair(existingName, newName);
    if (!paths)
        return false;
    if (link(paths->Source.c_str(), paths->Target.c_str()) != 0)
        return errno == EEXIST ? Fail(ERROR_ALREADY_EXISTS) : FailWithErrno();
    return Succeed();
}

uint32_t GetHardLinkCount(const std::string& path)
{
    const std::optional<std::string> hostPath = HostPathForCall(HostCall::Stat, path);
    if (!hostPath)
        return 0;
    struct stat info = {};
    if (stat(hostPath->c_str(), &info) != 0) {
        FailWithErrno();
        return 0;
    }
    Succeed();
    return static_cast<uint32_t>(info.st_nlink);
}

bool MoveToTrash(const std::string& path)
{
    const std::optional<HostEntry> entry = LookAtEntry(HostCall::Delete, path);
    if (!entry)
        return false;
    const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    // Without the data folder, Qt would make the trash folders beside the recycled file.
    QDir().mkpath(dataFolder);
    // Qt looks through a link (a dangling one it refuses, another it files by its target's
    // file system): the link itself goes to the home trash by our own hand.
    if (S_ISLNK(entry->Info.st_mode))
        return TrashLink(entry->Path, dataFolder.toStdString() + "/Trash");
    QString pathInTrash;
    if (!QFile::moveToTrash(QString::fromStdString(entry->Path), &pathInTrash))
        return Fail(ERROR_ACCESS_DENIED);
    return RecordTrashOrigin(entry->Path, pathInTrash.toStdString()) ? Succeed() : false;
}

} // namespace host
