#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Named data streams of files. A stream is addressed as the file's path, ":" and the
// stream name ("C:\d\a.txt:Description"); the empty name stands for the file's main
// content. The "Description" stream holds a file's comment as plain text.
//
// All operations are Traced except GetFileStreamNames, GetFileStreamCount and
// GetFileDescription, which forward. For the single-stream operations Parameter 1 is the
// file path; the system code is the host's last error.

inline constexpr const char* DescriptionStreamName = "Description";

class TMyFileStream
{
public:
    // The names of the file's named streams, never the main content; the count. The list
    // (optional) is cleared first. A file system without streams gives 0 and success.
    int GetNames(const std::string& file, std::vector<std::string>* list);
};

extern TMyFileStream MyFileStream;

// "file:stream", or the file itself for the empty stream name.
std::string GetFileStreamPath(const std::string& file, const std::string& stream);

int GetFileStreamNames(const std::string& file, std::vector<std::string>& list);
int GetFileStreamCount(const std::string& file);
// 0 when the stream cannot be opened.
int64_t GetFileStreamSize(const std::string& file, const std::string& stream);
// The sum over the named streams, up to the first that fails.
int64_t GetFileStreamsSize(const std::string& file);
// Creates the stream, empty, when it does not exist; an existing one stays as it is.
void AddFileStream(const std::string& file, const std::string& stream);
void DeleteFileStream(const std::string& file, const std::string& stream);
// The whole stream, or its first `cap` bytes (with the warning "Stream size too big.")
// when cap is above 0 and the stream is longer.
std::string ReadFileStream(const std::string& file, const std::string& stream, int32_t cap);
// The stream's text up to its first zero byte; a cut by the cap is no warning here.
std::string GetTextFromFileStream(const std::string& file, const std::string& stream, int32_t cap);
std::string GetFileDescription(const std::string& file, int32_t cap);
// Replaces the content of an existing stream (create it first with AddFileStream). A
// stream is written whole or not at all; content larger than the file system takes
// fails with a description naming the limit and leaves the old content.
void WriteFileStream(const std::string& file, const std::string& stream, std::string_view data);
// Copies one stream's content into an existing stream. Parameter 1 and 2 are the two
// stream paths.
void CopyFileStream(const std::string& sourceFile, const std::string& sourceStream, const std::string& targetFile,
                    const std::string& targetStream);
// Copies every named stream of one file to another, up to the first that fails. Nothing
// happens between two names that differ only in letter case; a source whose streams
// cannot be listed copies nothing and fails.
void CopyFileStreams(const std::string& source, const std::string& target);
