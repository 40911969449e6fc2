#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The file system as the program sees it: Windows-style paths, Windows attributes and
// file times, and Windows failure semantics (an existing target is refused unless a
// replace is asked for). Every call sets the last error.
namespace host {

inline constexpr uint32_t FILE_ATTRIBUTE_READONLY = 0x1;
inline constexpr uint32_t FILE_ATTRIBUTE_HIDDEN = 0x2;
inline constexpr uint32_t FILE_ATTRIBUTE_SYSTEM = 0x4;
inline constexpr uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr uint32_t FILE_ATTRIBUTE_ARCHIVE = 0x20;
inline constexpr uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;
inline constexpr uint32_t FILE_ATTRIBUTE_REPARSE_POINT = 0x400;
inline constexpr uint32_t INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// A time as 100-nanosecond steps since 1 January 1601, universal time.
using FileTime = uint64_t;

struct FindData
{
    std::string Name;
    uint32_t Attributes = 0;
    FileTime CreationTime = 0;
    FileTime LastAccessTime = 0;
    FileTime LastWriteTime = 0;
    uint64_t Size = 0;
};

// Attributes: read-only when the owner may not write, hidden for names beginning with
// ".", archive for regular files, reparse point for symbolic links, system for devices,
// pipes and sockets. A link reports what it points to, with the reparse-point bit added.
uint32_t GetFileAttributes(const std::string& path);
// Only read-only can be set on the host: it takes the write bits away or gives the owner
// write access back. The other bits are accepted and have no effect. A symbolic link
// has no read-only attribute of its own: setting its attributes leaves what it names alone.
bool SetFileAttributes(const std::string& path, uint32_t attributes);
// The permission bits (07777) of an entry, a final symbolic link not followed, and setting
// them exactly, so that a mode changed on the way to an operation that then failed can be
// put back as it was. A symbolic link keeps its own bits: setting them does nothing.
std::optional<uint32_t> GetFilePermissions(const std::string& path);
bool SetFilePermissions(const std::string& path, uint32_t permissions);
std::optional<FindData> GetFileData(const std::string& path);

// The entries of a folder whose names match the wildcard pattern ("*" for all), never
// "." or "..", each under its Windows name (WindowsNameOfHostName). A matching name that
// has no Windows name, or whose path would pass 259 bytes, is left out and counted in
// `leftOut` when given. A missing folder fails with ERROR_PATH_NOT_FOUND; no match gives
// an empty list with ERROR_FILE_NOT_FOUND. A failure while reading the folder keeps the
// entries read before it.
bool FindFiles(const std::string& folder, const std::string& pattern, std::vector<FindData>& entries,
               size_t* leftOut = nullptr);

// Wildcard match of one pattern ("*" any run, "?" one character: a UTF-8 sequence, or a
// byte that is not part of one), ASCII case folded.
bool MatchesPattern(const std::string& name, const std::string& pattern);

// The folder takes the template folder's permissions when one is given.
bool CreateDirectory(const std::string& path, const std::string& templateFolder = {});
bool RemoveDirectory(const std::string& path);
bool DeleteFile(const std::string& path);

// Called with the bytes copied so far and the total; false cancels (ERROR_REQUEST_ABORTED).
using CopyProgress = std::function<bool(uint64_t copied, uint64_t total)>;

// What a copy does when the target's file system cannot hold the source's named streams:
// refuse with ERROR_NOT_SUPPORTED, or go on without them.
enum class UnheldStreams
{
    Refuse,
    Drop
};

// Copies one regular file with its named streams (see FileStreams.h), permissions and
// modification time. The bytes go to a temporary name beside the target, published under
// the target's name once whole, so a failed, cancelled or crashed copy never leaves a
// partial file there and never harms an existing target. With `failIfExists` an existing
// target (a link too, never followed) fails with ERROR_FILE_EXISTS before the source is
// read, and the publishing never replaces one made meanwhile. Without it the copy is
// renamed over the target; a file is never copied onto itself (ERROR_SHARING_VIOLATION).
bool CopyFile(const std::string& source, const std::string& target, bool failIfExists,
              const CopyProgress& progress = {}, UnheldStreams unheld = UnheldStreams::Refuse);

// Makes the target a symbolic link with the same target text as the source link, which
// is not followed; an existing target is replaced at once, or refused (ERROR_FILE_EXISTS)
// with `failIfExists`. A source that is no link fails with ERROR_INVALID_PARAMETER.
bool CopySymbolicLink(const std::string& source, const std::string& target, bool failIfExists);

// Renames within one file system, atomically replacing an existing file when asked.
// Across file systems a file is copied, streams included, and then its source deleted
// (only when `allowCopy`), a symbolic link is made anew there as the same link, and a
// folder fails with ERROR_NOT_SAME_DEVICE. A failed move changes nothing: when the source
// cannot be removed, the copy goes and a target it replaced comes back. A folder never
// replaces anything. A rename keeps the streams with the file.
bool MoveFile(const std::string& source, const std::string& target, bool replace, bool allowCopy,
              const CopyProgress& progress = {}, UnheldStreams unheld = UnheldStreams::Refuse);

// Sets the last-write time of the file a path names (through symbolic links), leaving
// its access time as it is.
bool SetLastWriteTime(const std::string& path, FileTime time);

bool CreateHardLink(const std::string& newName, const std::string& existingName);
// The number of hard links of a file; 0 with the last error set on failure.
uint32_t GetHardLinkCount(const std::string& path);

// Moves a file or folder to the freedesktop.org trash; a symbolic link goes as the link
// itself, also a dangling one.
bool MoveToTrash(const std::string& path);

// Conversions between file times and local time.
FileTime FileTimeFromUnix(int64_t seconds, int64_t nanoseconds);
// The local file time of a universal one, by the time zone in force at that moment.
FileTime FileTimeToLocal(FileTime universal);

} // namespace host
