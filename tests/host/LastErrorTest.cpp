#include "host/LastError.h"
#include "host/FaultInjection.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

namespace {

TEST(LastError, ErrnoValuesBecomeWindowsErrors)
{
    struct Row
    {
        int Errno;
        uint32_t Code;
    };
    const Row rows[] = {
        {0, 0},
        {ENOENT, 2},
        {ENOTDIR, 3},
        {EACCES, 5},
        {EPERM, 5},
        {EXDEV, 17},
        {ETXTBSY, 32},
        {EEXIST, 183},
        {EINVAL, 87},
        {ENOSPC, 112},
        {ENOTEMPTY, 145},
        {ENAMETOOLONG, 206},
        {ECANCELED, 1235},
        // Never the "out of memory" code 14, which callers count as success.
        {ENOMEM, 8},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.Code, host::ErrorFromErrno(row.Errno)) << row.Errno;
}

// Every number the program can report has its text, also inside a shell result code.
TEST(LastError, EveryErrorHasAMessageText)
{
    const uint32_t codes[] = {
        host::ERROR_SUCCESS,
        host::ERROR_INVALID_FUNCTION,
        host::ERROR_FILE_NOT_FOUND,
        host::ERROR_PATH_NOT_FOUND,
        host::ERROR_TOO_MANY_OPEN_FILES,
        host::ERROR_ACCESS_DENIED,
        host::ERROR_INVALID_HANDLE,
        host::ERROR_NOT_ENOUGH_MEMORY,
        host::ERROR_OUTOFMEMORY,
        host::ERROR_NOT_SAME_DEVICE,
        host::ERROR_NO_MORE_FILES,
        host::ERROR_WRITE_PROTECT,
        host::ERROR_NOT_READY,
        host::ERROR_SHARING_VIOLATION,
        host::ERROR_HANDLE_EOF,
        host::ERROR_NOT_SUPPORTED,
        host::ERROR_BAD_NETPATH,
        host::ERROR_FILE_EXISTS,
        host::ERROR_INVALID_PARAMETER,
        host::ERROR_DISK_FULL,
        host::ERROR_INVALID_NAME,
        host::ERROR_DIR_NOT_EMPTY,
        host::ERROR_BUSY,
        host::ERROR_ALREADY_EXISTS,
        host::ERROR_FILENAME_EXCED_RANGE,
        host::ERROR_FILE_TOO_LARGE,
        host::ERROR_DIRECTORY,
        host::ERROR_NOT_A_REPARSE_POINT,
        host::ERROR_BADDB,
        host::ERROR_SERVICE_DOES_NOT_EXIST,
        host::ERROR_IO_DEVICE,
        host::ERROR_NO_ASSOCIATION,
        host::ERROR_REQUEST_ABORTED,
        host::ERROR_TIMEOUT,
        host::ERROR_RESOURCE_TYPE_NOT_FOUND,
        host::ERROR_CANT_RESOLVE_FILENAME,
    };
    for (const uint32_t code : codes) {
        const std::string text = host::GetErrorMessageText(code);
        EXPECT_FALSE(text.starts_with("Unknown error")) << code;
        EXPECT_EQ(text, host::GetErrorMessageText(0x80070000u | code)) << "wrapped " << code;
    }
    EXPECT_EQ("Access is denied.", host::GetErrorMessageText(5));
    EXPECT_EQ("The system cannot find the file specified.", host::GetErrorMessageText(2147942402u));
    EXPECT_EQ("Unspecified error", host::GetErrorMessageText(0x80004005u));
    EXPECT_EQ("Unknown error 99999.", host::GetErrorMessageText(99999));
}

TEST(LastError, IsKeptPerThread)
{
    host::SetLastError(5);
    uint32_t seenByOtherThread = 1;
    std::thread([&] { seenByOtherThread = host::GetLastError(); }).join();
    EXPECT_EQ(0u, seenByOtherThread);
    EXPECT_EQ(5u, host::GetLastError());
}

TEST(FaultInjection, FailsTheChosenCallsOfOneKind)
{
    host::InjectFault(host::HostCall::Write, host::ERROR_DISK_FULL, 2, 2);
    std::vector<bool> failed;
    for (int i = 0; i < 5; ++i)
        failed.push_back(host::TakeFault(host::HostCall::Write));
    EXPECT_EQ((std::vector<bool>{false, false, true, true, false}), failed);
    EXPECT_EQ(host::ERROR_DISK_FULL, host::GetLastError());
    EXPECT_FALSE(host::TakeFault(host::HostCall::Read));

    host::InjectFault(host::HostCall::Open, host::ERROR_ACCESS_DENIED);
    host::ClearFaults();
    EXPECT_FALSE(host::TakeFault(host::HostCall::Open));
}

} // namespace
