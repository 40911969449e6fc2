#include "core/files/FileStream.h"

#include "core/errors/Traced.h"
#include "core/files/PathNames.h"

#include "host/File.h"
#include "host/FileStreams.h"
#include "host/LastError.h"

#include <memory>

TMyFileStream MyFileStream;

namespace {

constexpr size_t CopyBlockBytes = 1000000;

// A refused size names the file system's limit; anything else is a plain write failure.
std::string WriteFailureText(const std::string& file, const std::string& stream, uint64_t size, uint32_t error)
{
    if (!stream.empty() && error == host::ERROR_FILE_TOO_LARGE)
        return host::DescribeStreamLimit(file, size);
    return "Failed to write data.";
}

void RaiseWriteFailure(TTraced& trace, const std::string& file, const std::string& stream, uint64_t size,
                       const std::string& parameter1, const std::string& parameter2)
{
    const uint32_t error = host::GetLastError();
    trace.Raise(WriteFailureText(file, stream, size, error), parameter1, parameter2, error);
}

// Main content to main content goes block by block, so a large file never sits in memory.
void CopyMainContent(TTraced& trace, const std::string& source, const std::string& target, uint64_t size)
{
    host::File from;
    host::File to;
    if (!from.Open(source, host::FileAccess::Read, host::FileDisposition::OpenExisting) ||
        !to.Open(target, host::FileAccess::Write, host::FileDisposition::OpenExisting))
        return trace.RaiseSystem("Failed to open file.", source, target);
    if (!to.Truncate(0))
        return trace.RaiseSystem("Failed to write data.", source, target);
    const std::unique_ptr<char[]> block = std::make_unique<char[]>(CopyBlockBytes);
    for (uint64_t copied = 0; copied < size;) {
        const std::optional<size_t> got = from.Read(block.get(), CopyBlockBytes);
        if (!got)
            return trace.RaiseSystem("Failed to read data.", source, target);
        if (*got == 0)
            break;
        if (!to.Write(block.get(), *got))
            return trace.RaiseSystem("Failed to write data.", source, target);
        copied += *got;
    }
}

} // namespace

int TMyFileStream::GetNames(const std::string& file, std::vector<std::string>* list)
{
    TTraced trace;
    int count = 0;
    trace.Run([&] {
        if (list != nullptr)
            list->clear();
        host::SetLastError(host::ERROR_SUCCESS);
        // Only a file that can be opened as one has streams: a folder cannot.
        if (!host::GetFileStreamSize(file, {}))
            return trace.RaiseSystem("Failed to open file.", file);
        std::vector<std::string> names;
        if (!host::ListFileStreams(file, names))
            return trace.RaiseSystem("Failed to get file information.", file);
        count = static_cast<int>(names.size());
        if (list != nullptr)
            *list = std::move(names);
    });
    return count;
}

std::string GetFileStreamPath(const std::string& file, const std::string& stream)
{
    return stream.empty() ? file : file + ":" + stream;
}

int GetFileStreamNames(const std::string& file, std::vector<std::string>& list)
{
    return MyFileStream.GetNames(file, &list);
}

int GetFileStreamCount(const std::string& file)
{
    return MyFileStream.GetNames(file, nullptr);
}

int64_t GetFileStreamSize(const std::string& file, const std::string& stream)
{
    TTraced trace;
    int64_t size = 0;
    trace.Run([&] {
        host::SetLastError(host::ERROR_SUCCESS);
        const std::optional<uint64_t> known = host::GetFileStreamSize(file, stream);
        if (!known)
            return trace.RaiseSystem("Failed to open file.", file);
        size = static_cast<int64_t>(*known);
    });
    return size;
}

int64_t GetFileStreamsSize(const std::string& file)
{
    TTraced trace;
    int64_t sum = 0;
    trace.Run([&] {
        std::vector<std::string> names;
        GetFileStreamNames(file, names);
        if (trace.TakeOver())
            return;
        for (const std::string& name : names) {
            const int64_t size = GetFileStreamSize(file, name);
            if (trace.TakeOver())
                return;
            sum += size;
        }
    });
    return sum;
}

void AddFileStream(const std::string& file, const std::string& stream)
{
    TTraced trace;
    trace.Run([&] {
        host::SetLastError(host::ERROR_SUCCESS);
        host::CreateFileStream(file, stream);
        if (IsSystemErrorNotExisting())
            trace.RaiseSystem("Failed to open file.", file);
    });
}

void DeleteFileStream(const std::string& file, const std::string& stream)
{
    TTraced trace;
    trace.Run([&] {
        host::SetLastError(host::ERROR_SUCCESS);
        host::DeleteFileStream(file, stream);
        if (IsSystemError())
            trace.RaiseSystem("Failed to delete file.", file);
    });
}

std::string ReadFileStream(const std::string& file, const std::string& stream, int32_t cap)
{
    TTraced trace;
    std::string buffer;
    trace.Run([&] {
        host::SetLastError(host::ERROR_SUCCESS);
        const std::optional<uint64_t> size = host::GetFileStreamSize(file, stream);
        if (!size)
            return trace.RaiseSystem("Failed to open file.", file);
        uint64_t wanted = *size;
        if (cap > 0 && wanted > static_cast<uint64_t>(cap)) {
            wanted = static_cast<uint64_t>(cap);
            trace.Warn("Stream size too big.", file);
        }
        std::optional<std::string> bytes = host::ReadFileStream(file, stream, wanted);
        if (!bytes)
            return trace.RaiseSystem("Failed to read data.", file);
        buffer = std::move(*bytes);
    });
    return buffer;
}

std::string GetTextFromFileStream(const std::string& file, const std::string& stream, int32_t cap)
{
    TTraced trace;
    std::string text;
    trace.Run([&] {
        const std::string buffer = ReadFileStream(file, stream, cap);
        if (trace.TakeOver())
            return;
        text = buffer.substr(0, buffer.find('\0'));
    });
    return text;
}

std::string GetFileDescription(const std::string& file, int32_t cap)
{
    return GetTextFromFileStream(file, DescriptionStreamName, cap);
}

void WriteFileStream(const std::string& file, const std::string& stream, std::string_view data)
{
    TTraced trace;
    trace.Run([&] {
        host::SetLastError(host::ERROR_SUCCESS);
        if (!host::GetFileStreamSize(file, stream))
            return trace.RaiseSystem("Failed to open file.", file);
        if (!host::WriteFileStream(file, stream, data))
            RaiseWriteFailure(trace, file, stream, data.size(), file, "");
    });
}

void CopyFileStream(const std::string& sourceFile, const std::string& sourceStream, const std::string& targetFile,
                    const std::string& targetStream)
{
    TTraced trace;
    const std::string sourcePath = GetFileStreamPath(sourceFile, sourceStream);
    const std::string targetPath = GetFileStreamPath(targetFile, targetStream);
    trace.Run([&] {
        // Emptying the target first would lose the very content to be copied, also when
        // the target is a link to the source.
        if (sourceStream == targetStream && IsSameFile(sourceFile, targetFile, host::FinalLink::Followed))
            return trace.Raise("Failed to open file.", sourcePath, targetPath, host::ERROR_SHARING_VIOLATION);
        host::SetLastError(host::ERROR_SUCCESS);
        const std::optional<uint64_t> size = host::GetFileStreamSize(sourceFile, sourceStream);
        if (!size)
            return trace.RaiseSystem("Failed to open file.", sourcePath, targetPath);
        if (!host::GetFileStreamSize(targetFile, targetStream))
            return trace.RaiseSystem("Failed to open file.", sourcePath, targetPath);
        if (sourceStream.empty() && targetStream.empty())
            return CopyMainContent(trace, sourceFile, targetFile, *size);
        // A named stream is written in one piece; what cannot fit is not read at all.
        if (!targetStream.empty() && *size > host::MaxStreamBytes)
            return trace.Raise(host::DescribeStreamLimit(targetFile, *size), sourcePath, targetPath,
                               host::ERROR_FILE_TOO_LARGE);
        const std::optional<std::string> bytes = host::ReadFileStream(sourceFile, sourceStream);
        if (!bytes)
            return trace.RaiseSystem("Failed to read data.", sourcePath, targetPath);
        if (!host::WriteFileStream(targetFile, targetStream, *bytes))
            RaiseWriteFailure(trace, targetFile, targetStream, bytes->size(), sourcePath, targetPath);
    });
}

void CopyFileStreams(const std::string& source, const std::string& target)
{
    TTraced trace;
    trace.Run([&] {
        if (IsSameFile(source, target, host::FinalLink::Followed))
            return;
        std::vector<std::string> names;
        GetFileStreamNames(source, names);
        if (trace.TakeOver())
            return;
        for (const std::string& name : names) {
            AddFileStream(target, name);
            CopyFileStream(source, name, target, name);
            if (trace.TakeOver())
                return;
        }
    });
}
