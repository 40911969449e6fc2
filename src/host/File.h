#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// An open file addressed by a Windows path. Every call sets the last error; the
// dispositions follow the Windows meanings, including ERROR_ALREADY_EXISTS (183) as the
// last error after OpenAlways or CreateAlways found the file.
namespace host {

enum class FileAccess
{
    Read,
    Write,
    ReadWrite
};

enum class FileDisposition
{
    CreateNew,
    CreateAlways,
    OpenExisting,
    OpenAlways
};

class File
{
public:
    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;

    // Devices, pipes and sockets are never opened: they give ERROR_ACCESS_DENIED.
    bool Open(const std::string& windowsPath, FileAccess access, FileDisposition disposition);
    // As Open, for a host path outside the drive table (the program's own configuration).
    bool OpenHost(const std::string& hostPath, FileAccess access, FileDisposition disposition);
    // Opens an existing regular file to read and measures it with one status, for walks
    // over many files: anything else gives ERROR_ACCESS_DENIED and is never waited for.
    std::optional<uint64_t> OpenToRead(const std::string& windowsPath);
    // The same for a host name relative to an open host folder (AT_FDCWD for the current
    // one), for the host's listings; no fault is taken for the open here.
    std::optional<uint64_t> OpenToReadAt(int folder, const char* hostName);
    // Opens a host name relative to an open host folder whose listing called it a regular
    // file, without measuring it: a symbolic link put there since fails, so nothing but a
    // file in that folder is opened. Measure it with MeasureRegular before reading more
    // than a first piece. No fault is taken for the open here.
    bool OpenListedRegular(int folder, const char* hostName);
    // The size of the open file by one status; anything but a regular file gives
    // ERROR_ACCESS_DENIED.
    std::optional<uint64_t> MeasureRegular();
    bool IsOpen() const { return Descriptor >= 0; }
    // The host's descriptor, for the host's own calls on the open file.
    int NativeHandle() const { return Descriptor; }
    std::optional<uint64_t> Size();
    bool Truncate(uint64_t size);
    bool SeekToEnd();
    bool Seek(uint64_t position);
    // Writes the whole buffer or fails.
    bool Write(const void* data, size_t size);
    // Reads up to `size` bytes; 0 at the end of the file.
    std::optional<size_t> Read(void* data, size_t size);
    bool Close();

private:
    bool OpenHostPath(const std::string& hostPath, FileAccess access, FileDisposition disposition);

    int Descriptor = -1;
};

// True when something of any kind exists at the path.
bool PathExists(const std::string& windowsPath);

} // namespace host

namespace host {

// Replaces a file's content so that a crash or a failed write leaves either the old or
// the new content: the bytes go to a temporary file in the same folder, which is
// flushed and then renamed over the target. The target keeps its permission bits. A
// symbolic link is written through to the file it names (the temporary file goes to
// that file's folder) and stays a link; a read-only file is refused (ERROR_ACCESS_DENIED).
bool ReplaceFileContents(const std::string& windowsPath, const std::string& bytes);
// As ReplaceFileContents, for a file that only the user may read: it gets mode 0600.
bool ReplacePrivateFileContents(const std::string& windowsPath, const std::string& bytes);
// As ReplaceFileContents, and the file keeps its owner, group, named streams and access
// list. The file gets a new inode, so its other hard-link names keep the old content;
// only when the new file cannot take the owner and group (the user may write the file but
// does not own it) is the content written into the file itself, its old content kept
// beside it until the new one is whole and put back after a failed write.
bool ReplaceWholeFileContents(const std::string& windowsPath, const std::string& bytes);

// As ReplaceFileContents, for the program's own files in its private temporary folder:
// the name itself is replaced, never a file that a link there names, and the file is
// readable and writable by its owner alone.
bool ReplacePrivateFileContents(const std::string& windowsPath, const std::string& bytes);

// The content of a regular file: all of it, or its first `maxBytes` bytes.
std::optional<std::string> ReadFileContents(const std::string& windowsPath, uint64_t maxBytes = UINT64_MAX);

// The same two for a host path outside the drive table (the program's own configuration).
bool ReplaceHostFileContents(const std::string& hostPath, const std::string& bytes);
std::optional<std::string> ReadHostFileContents(const std::string& hostPath);

} // namespace host
