#pragma once

#include <cstdint>
#include <string>

// The thread-local last error of the host layer, holding Windows error numbers so that
// the program's failure reports read the same as on its original platform.
namespace host {

inline constexpr uint32_t ERROR_SUCCESS = 0;
inline constexpr uint32_t ERROR_INVALID_FUNCTION = 1;
inline constexpr uint32_t ERROR_FILE_NOT_FOUND = 2;
inline constexpr uint32_t ERROR_PATH_NOT_FOUND = 3;
inline constexpr uint32_t ERROR_TOO_MANY_OPEN_FILES = 4;
inline constexpr uint32_t ERROR_ACCESS_DENIED = 5;
inline constexpr uint32_t ERROR_INVALID_HANDLE = 6;
inline constexpr uint32_t ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr uint32_t ERROR_OUTOFMEMORY = 14;
inline constexpr uint32_t ERROR_NOT_SAME_DEVICE = 17;
inline constexpr uint32_t ERROR_NO_MORE_FILES = 18;
inline constexpr uint32_t ERROR_WRITE_PROTECT = 19;
inline constexpr uint32_t ERROR_NOT_READY = 21;
inline constexpr uint32_t ERROR_SHARING_VIOLATION = 32;
inline constexpr uint32_t ERROR_HANDLE_EOF = 38;
inline constexpr uint32_t ERROR_NOT_SUPPORTED = 50;
inline constexpr uint32_t ERROR_BAD_NETPATH = 53;
inline constexpr uint32_t ERROR_FILE_EXISTS = 80;
inline constexpr uint32_t ERROR_INVALID_PARAMETER = 87;
inline constexpr uint32_t ERROR_DISK_FULL = 112;
inline constexpr uint32_t ERROR_INVALID_NAME = 123;
inline constexpr uint32_t ERROR_DIR_NOT_EMPTY = 145;
inline constexpr uint32_t ERROR_BUSY = 170;
inline constexpr uint32_t ERROR_ALREADY_EXISTS = 183;
inline constexpr uint32_t ERROR_FILENAME_EXCED_RANGE = 206;
inline constexpr uint32_t ERROR_FILE_TOO_LARGE = 223;
inline constexpr uint32_t ERROR_DIRECTORY = 267;
inline constexpr uint32_t ERROR_NOT_A_REPARSE_POINT = 4390;
inline constexpr uint32_t ERROR_BADDB = 1009;
inline constexpr uint32_t ERROR_SERVICE_DOES_NOT_EXIST = 1060;
inline constexpr uint32_t ERROR_IO_DEVICE = 1117;
inline constexpr uint32_t ERROR_NO_ASSOCIATION = 1155;
inline constexpr uint32_t ERROR_REQUEST_ABORTED = 1235;
inline constexpr uint32_t ERROR_TIMEOUT = 1460;
inline constexpr uint32_t ERROR_RESOURCE_TYPE_NOT_FOUND = 1813;
inline constexpr uint32_t ERROR_CANT_RESOLVE_FILENAME = 1921;

uint32_t GetLastError();
void SetLastError(uint32_t code);

// The Windows error number that stands for an errno value.
uint32_t ErrorFromErrno(int errnoValue);
void SetLastErrorFromErrno(int errnoValue);

// The message text of a Windows error number, as reports show it.
std::string GetErrorMessageText(uint32_t code);

} // namespace host
