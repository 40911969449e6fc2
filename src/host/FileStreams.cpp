#include "host/FileStreams.h"

#include "host/Drives.h"
#include "host/FaultInjection.h"
#include "host/File.h"
#include "host/FileSystem.h"
#include "host/LastError.h"

#include <cerrno>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>

namespace host {
namespace {

const std::string StreamPrefix = "user.";
// The kernel's longest extended attribute name, prefix included.
constexpr size_t MaxAttributeNameBytes = 255;

bool Fail(uint32_t code)
{
    SetLastError(code);
    return false;
}

bool Succeed()
{
    SetLastError(ERROR_SUCCESS);
    return true;
}

bool IsUnsupported(int error)
{
    return error == ENOTSUP || error == EOPNOTSUPP;
}

// The error of an extended attribute call. A missing attribute, or a file system without
// them, is a missing stream. A value refused for its size is too large for the kernel
// (E2BIG, ERANGE) or for the room the file system keeps for a file's attributes (ENOSPC,
// unless the disk itself is full).
template <class IsDiskFull>
uint32_t StreamErrorFromErrno(int error, IsDiskFull&& isDiskFull)
{
    if (error == ENODATA || IsUnsupported(error))
        return ERROR_FILE_NOT_FOUND;
    if (error == E2BIG || error == ERANGE)
        return ERROR_FILE_TOO_LARGE;
    if (error == ENOSPC)
        return isDiskFull() ? ERROR_DISK_FULL : ERROR_FILE_TOO_LARGE;
    return ErrorFromErrno(error);
}

bool HasNoFreeBlocks(const struct statvfs& info)
{
    return info.f_bfree == 0;
}

bool FailStreamCall(int error, const std::string& hostPath)
{
    return Fail(StreamErrorFromErrno(error, [&] {
        struct statvfs info = {};
        return statvfs(hostPath.c_str(), &info) == 0 && HasNoFreeBlocks(info);
    }));
}

bool FailStreamCallOn(int error, int descriptor)
{
    return Fail(StreamErrorFromErrno(error, [&] {
        struct statvfs info = {};
        return fstatvfs(descriptor, &info) == 0 && HasNoFreeBlocks(info);
    }));
}

bool IsStreamNameHeld(const std::string& name)
{
    return !name.empty() && name.find_first_of(std::string(":\\/\0", 4)) == std::string::npos &&
           StreamPrefix.size() + name.size() <= MaxAttributeNameBytes;
}

std::string AttributeName(const std::string& stream)
{
    return StreamPrefix + stream;
}

struct StreamHolder
{
    std::string HostPath;
    uint64_t Size = 0;
};

// The existing regular file that can carry the named stream.
std::optional<StreamHolder> FindStreamHolder(const std::string& path, const std::string& stream)
{
    if (TakeFault(HostCall::Streams))
        return std::nullopt;
    if (!stream.empty() && !IsStreamNameHeld(stream)) {
        SetLastError(ERROR_INVALID_NAME);
        return std::nullopt;
    }
    const std::optional<std::string> hostPath = WindowsToHost(path);
    if (!hostPath)
        return std::nullopt;
    struct stat info = {};
    if (stat(hostPath->c_str(), &info) != 0) {
        SetLastErrorFromErrno(errno);
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return std::nullopt;
    }
    return StreamHolder{*hostPath, static_cast<uint64_t>(info.st_size)};
}

// Runs a size-query call twice: once for the size, once for the bytes; again when the
// value grew in between.
template <class Call>
std::optional<std::string> ReadVariableValue(Call&& call)
{
    while (true) {
        const ssize_t size = call(nullptr, 0);
        if (size < 0)
            return std::nullopt;
        std::string value(static_cast<size_t>(size), '\0');
        if (size == 0)
            return value;
        const ssize_t got = call(value.data(), value.size());
        if (got >= 0) {
            value.resize(static_cast<size_t>(got));
            return value;
        }
        if (errno != ERANGE)
            return std::nullopt;
    }
}

std::optional<std::string> ListAttributeNames(int descriptor)
{
    return ReadVariableValue([&](char* buffer, size_t size) { return flistxattr(descriptor, buffer, size); });
}

std::optional<std::string> ListAttributeNames(const std::string& hostPath)
{
    return ReadVariableValue([&](char* buffer, size_t size) { return listxattr(hostPath.c_str(), buffer, size); });
}

// The user attributes in a list of attribute names, each ended by a zero byte.
std::vector<std::string> UserAttributesIn(const std::string& attributeNames)
{
    std::vector<std::string> names;
    size_t start = 0;
    while (start < attributeNames.size()) {
        size_t end = attributeNames.find('\0', start);
        if (end == std::string::npos)
            end = attributeNames.size();
        const std::string name = attributeNames.substr(start, end - start);
        if (name.size() > StreamPrefix.size() && name.compare(0, StreamPrefix.size(), StreamPrefix) == 0)
            names.push_back(name);
        start = end + 1;
    }
    return names;
}

std::vector<std::string> StreamNamesIn(const std::string& attributeNames)
{
    std::vector<std::string> names;
    for (const std::string& attribute : UserAttributesIn(attributeNames)) {
        std::string stream = attribute.substr(StreamPrefix.size());
        if (IsStreamNameHeld(stream))
            names.push_back(std::move(stream));
    }
    return names;
}

// The new content goes whole beside the file and replaces it, so a failed write never
// loses the old content.
bool WriteMainContent(const std::string& path, std::string_view bytes)
{
    return ReplaceWholeFileContents(path, std::string(bytes));
}

bool CreateMainContent(const std::string& path)
{
    File file;
    return file.Open(path, FileAccess::Write, FileDisposition::OpenAlways);
}

} // namespace

bool ListFileStreams(const std::string& path, std::vector<std::string>& names)
{
    names.clear();
    const std::optional<StreamHolder> holder = FindStreamHolder(path, {});
    if (!holder)
        return false;
    const std::optional<std::string> attributeNames = ListAttributeNames(holder->HostPath);
    if (!attributeNames)
        return IsUnsupported(errno) ? Succeed() : Fail(ErrorFromErrno(errno));
    names = StreamNamesIn(*attributeNames);
    return Succeed();
}

bool ListFileStreams(int descriptor, std::vector<std::string>& names)
{
    names.clear();
    if (TakeFault(HostCall::Streams))
        return false;
    const std::optional<std::string> attributeNames = ListAttributeNames(descriptor);
    if (!attributeNames)
        return IsUnsupported(errno) ? Succeed() : Fail(ErrorFromErrno(errno));
    names = StreamNamesIn(*attributeNames);
    return Succeed();
}

std::optional<uint64_t> GetFileStreamSize(const std::string& path, const std::string& stream)
{
    const std::optional<StreamHolder> holder = FindStreamHolder(path, stream);
    if (!holder)
        return std::nullopt;
    if (stream.empty()) {
        Succeed();
        return holder->Size;
    }
    const ssize_t size = getxattr(holder->HostPath.c_str(), AttributeName(stream).c_str(), nullptr, 0);
    if (size < 0) {
        FailStreamCall(errno, holder->HostPath);
        return std::nullopt;
    }
    Succeed();
    return static_cast<uint64_t>(size);
}

std::optional<std::string> ReadFileStream(const std::string& path, const std::string& stream, uint64_t maxBytes)
{
    const std::optional<StreamHolder> holder = FindStreamHolder(path, stream);
    if (!holder)
        return std::nullopt;
    if (stream.empty())
        return ReadFileContents(path, maxBytes);
    const std::string name = AttributeName(stream);
    std::optional<std::string> value = ReadVariableValue(
        [&](char* buffer, size_t size) { return getxattr(holder->HostPath.c_str(), name.c_str(), buffer, size); });
    if (!value) {
        FailStreamCall(errno, holder->HostPath);
        return std::nullopt;
    }
    if (value->size() > maxBytes)
        value->resize(static_cast<size_t>(maxBytes));
    Succeed();
    return value;
}

bool CreateFileStream(const std::string& path, const std::string& stream)
{
    if (stream.empty())
        return !TakeFault(HostCall::Streams) && CreateMainContent(path);
    const std::optional<StreamHolder> holder = FindStreamHolder(path, stream);
    if (!holder)
        return false;
    if (setxattr(holder->HostPath.c_str(), AttributeName(stream).c_str(), "", 0, XATTR_CREATE) == 0)
        return Succeed();
    if (errno == EEXIST) {
        SetLastError(ERROR_ALREADY_EXISTS);
        return true;
    }
    return IsUnsupported(errno) ? Fail(ERROR_NOT_SUPPORTED) : FailStreamCall(errno, holder->HostPath);
}

bool WriteFileStream(const std::string& path, const std::string& stream, std::string_view bytes)
{
    const std::optional<StreamHolder> holder = FindStreamHolder(path, stream);
    if (!holder)
        return false;
    if (stream.empty())
        return WriteMainContent(path, bytes);
    // One call: the kernel stores the whole value or leaves the old one.
    if (setxattr(holder->HostPath.c_str(), AttributeName(stream).c_str(), bytes.data(), bytes.size(), XATTR_REPLACE) !=
        0)
        return FailStreamCall(errno, holder->HostPath);
    return Succeed();
}

bool DeleteFileStream(const std::string& path, const std::string& stream)
{
    const std::optional<StreamHolder> holder = FindStreamHolder(path, stream);
    if (!holder)
        return false;
    if (stream.empty())
        return DeleteFile(path);
    if (removexattr(holder->HostPath.c_str(), AttributeName(stream).c_str()) != 0)
        return FailStreamCall(errno, holder->HostPath);
    return Succeed();
}

std::string DescribeStreamLimit(const std::string& path, uint64_t size)
{
    const std::string sizeText = std::to_string(size) + " bytes";
    if (size > MaxStreamBytes)
        return "A stream holds at most " + std::to_string(MaxStreamBytes) + " bytes; this one has " + sizeText + ".";
    const std::optional<std::string> hostPath = WindowsToHost(path);
    struct statfs info = {};
    if (hostPath && statfs(hostPath->c_str(), &info) == 0 && info.f_type == EXT4_SUPER_MAGIC)
        return "The file system keeps all streams of a file within one block of " + std::to_string(info.f_bsize) +
               " bytes; this stream has " + sizeText + ".";
    return "The file system has no room for a stream of " + sizeText + " on this file.";
}

namespace {

// Puts one attribute on a copy; a file system without user attributes fails with
// ERROR_NOT_SUPPORTED.
bool PutCopiedAttribute(int to, const std::string& name, const std::string& value)
{
    if (TakeFault(HostCall::CopyStream))
        return false;
    if (fsetxattr(to, name.c_str(), value.data(), value.size(), 0) == 0)
        return true;
    return IsUnsupported(errno) ? Fail(ERROR_NOT_SUPPORTED) : FailStreamCallOn(errno, to);
}

} // namespace

bool CopyStreamsBetweenDescriptors(int from, int to, bool dropUnheld)
{
    if (TakeFault(HostCall::Streams))
        return false;
    const std::optional<std::string> attributeNames = ListAttributeNames(from);
    if (!attributeNames)
        return IsUnsupported(errno) ? Succeed() : Fail(ErrorFromErrno(errno));
    // Every user attribute goes along, also those no stream path can name.
    for (const std::string& name : UserAttributesIn(*attributeNames)) {
        const std::optional<std::string> value =
            ReadVariableValue([&](char* buffer, size_t size) { return fgetxattr(from, name.c_str(), buffer, size); });
        if (!value && errno == ENODATA)
            continue;
        if (!value)
            return Fail(ErrorFromErrno(errno));
        if (!PutCopiedAttribute(to, name, *value))
            return dropUnheld && GetLastError() == ERROR_NOT_SUPPORTED ? Succeed() : false;
    }
    return Succeed();
}

} // namespace host
