#include "host/LastError.h"

#include <cerrno>

namespace host {
namespace {

thread_local uint32_t LastError = ERROR_SUCCESS;

struct ErrnoEntry
{
    int Errno;
    uint32_t Code;
};

constexpr ErrnoEntry ErrnoTable[] = {
    {0, ERROR_SUCCESS},
    {ENOENT, ERROR_FILE_NOT_FOUND},
    {ENOTDIR, ERROR_PATH_NOT_FOUND},
    {ELOOP, ERROR_CANT_RESOLVE_FILENAME},
    {EMFILE, ERROR_TOO_MANY_OPEN_FILES},
    {ENFILE, ERROR_TOO_MANY_OPEN_FILES},
    {EACCES, ERROR_ACCESS_DENIED},
    {EPERM, ERROR_ACCESS_DENIED},
    {EISDIR, ERROR_ACCESS_DENIED},
    {EBADF, ERROR_INVALID_HANDLE},
    {ENOMEM, ERROR_NOT_ENOUGH_MEMORY},
    {EXDEV, ERROR_NOT_SAME_DEVICE},
    {EROFS, ERROR_WRITE_PROTECT},
    {ETXTBSY, ERROR_SHARING_VIOLATION},
    {EBUSY, ERROR_BUSY},
    {ENOTSUP, ERROR_NOT_SUPPORTED},
    {ENODATA, ERROR_FILE_NOT_FOUND},
    {EEXIST, ERROR_ALREADY_EXISTS},
    {EINVAL, ERROR_INVALID_PARAMETER},
    {ENOSPC, ERROR_DISK_FULL},
    {EDQUOT, ERROR_DISK_FULL},
    {ENOTEMPTY, ERROR_DIR_NOT_EMPTY},
    {ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE},
    {EFBIG, ERROR_FILE_TOO_LARGE},
    {E2BIG, ERROR_FILE_TOO_LARGE},
    {ERANGE, ERROR_FILE_TOO_LARGE},
    {ECANCELED, ERROR_REQUEST_ABORTED},
    {EIO, ERROR_IO_DEVICE},
    {ENXIO, ERROR_NOT_READY},
    {ENODEV, ERROR_NOT_READY},
};

struct MessageEntry
{
    uint32_t Code;
    const char* Text;
};

constexpr MessageEntry MessageTable[] = {
    {ERROR_SUCCESS, "The operation completed successfully."},
    {ERROR_INVALID_FUNCTION, "Incorrect function."},
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified."},
    {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified."},
    {ERROR_TOO_MANY_OPEN_FILES, "The system cannot open the file."},
    {ERROR_ACCESS_DENIED, "Access is denied."},
    {ERROR_INVALID_HANDLE, "The handle is invalid."},
    {ERROR_NOT_ENOUGH_MEMORY, "Not enough memory resources are available to process this command."},
    {ERROR_OUTOFMEMORY, "Not enough storage is available to complete this operation."},
    {ERROR_NOT_SAME_DEVICE, "The system cannot move the file to a different disk drive."},
    {ERROR_NO_MORE_FILES, "There are no more files."},
    {ERROR_WRITE_PROTECT, "The media is write protected."},
    {ERROR_NOT_READY, "The device is not ready."},
    {ERROR_SHARING_VIOLATION, "The process cannot access the file because it is being used by another process."},
    {ERROR_HANDLE_EOF, "Reached the end of the file."},
    {ERROR_NOT_SUPPORTED, "The request is not supported."},
    {ERROR_BAD_NETPATH, "The network path was not found."},
    {ERROR_FILE_EXISTS, "The file exists."},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect."},
    {ERROR_DISK_FULL, "There is not enough space on the disk."},
    {ERROR_INVALID_NAME, "The filename, directory name, or volume label syntax is incorrect."},
    {ERROR_DIR_NOT_EMPTY, "The directory is not empty."},
    {ERROR_BUSY, "The requested resource is in use."},
    {ERROR_ALREADY_EXISTS, "Cannot create a file when that file already exists."},
    {ERROR_FILENAME_EXCED_RANGE, "The filename or extension is too long."},
    {ERROR_FILE_TOO_LARGE, "The file size exceeds the limit allowed and cannot be saved."},
    {ERROR_DIRECTORY, "The directory name is invalid."},
    {ERROR_NOT_A_REPARSE_POINT, "The file or directory is not a reparse point."},
    {ERROR_BADDB, "The configuration registry database is corrupt."},
    {ERROR_SERVICE_DOES_NOT_EXIST, "The specified service does not exist as an installed service."},
    {ERROR_IO_DEVICE, "The request could not be performed because of an I/O device error."},
    {ERROR_NO_ASSOCIATION, "No application is associated with the specified file for this operation."},
    {ERROR_REQUEST_ABORTED, "The request was aborted."},
    {ERROR_TIMEOUT, "This operation returned because the timeout period expired."},
    {ERROR_RESOURCE_TYPE_NOT_FOUND, "The specified resource type cannot be found in the image file."},
    {ERROR_CANT_RESOLVE_FILENAME, "The name of the file cannot be resolved by the system."},
};

} // namespace

uint32_t GetLastError()
{
    return LastError;
}

void SetLastError(uint32_t code)
{
    LastError = code;
}

uint32_t ErrorFromErrno(int errnoValue)
{
    for (const ErrnoEntry& entry : ErrnoTable)
        if (entry.Errno == errnoValue)
            return entry.Code;
    return ERROR_INVALID_FUNCTION;
}

void SetLastErrorFromErrno(int errnoValue)
{
    LastError = ErrorFromErrno(errnoValue);
}

std::string GetErrorMessageText(uint32_t code)
{
    // The shell's result codes carry a Windows error number in their low word.
    constexpr uint32_t WrappedErrorMask = 0xFFFF0000u;
    constexpr uint32_t WrappedError = 0x80070000u;
    constexpr uint32_t UnspecifiedFailure = 0x80004005u;
    if ((code & WrappedErrorMask) == WrappedError)
        return GetErrorMessageText(code & ~WrappedErrorMask);
    if (code == UnspecifiedFailure)
        return "Unspecified error";
    for (const MessageEntry& entry : MessageTable)
        if (entry.Code == code)
            return entry.Text;
    return "Unknown error " + std::to_string(code) + ".";
}

} // namespace host
