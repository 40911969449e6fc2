#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Named data streams of a file, kept as its extended attributes "user.NAME", one per
// stream. The empty stream name stands for the file's main content. Only regular files
// (links followed) carry streams; anything else gives ERROR_ACCESS_DENIED. A stream is
// always written whole: the file system takes the new content or keeps the old one.
// Every call sets the last error.
namespace host {

// The most one stream can hold: the kernel's limit for one extended attribute. A file
// system may take less (ext4 keeps all streams of a file within one block).
inline constexpr uint64_t MaxStreamBytes = 65536;

// The names of the file's named streams, never the main content. Names a stream path
// cannot hold (with ":", "\" or "/") are left out. A file system without user extended
// attributes holds no streams: an empty list and success.
bool ListFileStreams(const std::string& path, std::vector<std::string>& names);
// The same for a regular file already open (File::NativeHandle), without a second lookup
// of its path.
bool ListFileStreams(int descriptor, std::vector<std::string>& names);

// A missing stream gives ERROR_FILE_NOT_FOUND.
std::optional<uint64_t> GetFileStreamSize(const std::string& path, const std::string& stream);

// The first `maxBytes` bytes of the stream (all of it by default).
std::optional<std::string> ReadFileStream(const std::string& path, const std::string& stream,
                                          uint64_t maxBytes = UINT64_MAX);

// Creates the stream, empty, when it does not exist; an existing one is left as it is,
// with ERROR_ALREADY_EXISTS as the last error.
bool CreateFileStream(const std::string& path, const std::string& stream);

// Replaces the content of an existing stream (ERROR_FILE_NOT_FOUND when there is none).
// Content larger than the file system takes fails with ERROR_FILE_TOO_LARGE and leaves
// the old content; DescribeStreamLimit tells the user why. The main content is written
// as ReplaceWholeFileContents does: whole or not at all, a read-only file refused.
bool WriteFileStream(const std::string& path, const std::string& stream, std::string_view bytes);

// Deletes one stream; the empty name deletes the file.
bool DeleteFileStream(const std::string& path, const std::string& stream);

// Why the file system holding the path refused a stream of `size` bytes, naming its limit.
std::string DescribeStreamLimit(const std::string& path, uint64_t size);

// For the host's own copy: carries every named stream of one open file to another before
// the copy is published. A target file system without user extended attributes fails
// with ERROR_NOT_SUPPORTED, unless `dropUnheld` lets the copy go without them; one that
// cannot take them all fails the copy.
bool CopyStreamsBetweenDescriptors(int from, int to, bool dropUnheld);

} // namespace host
