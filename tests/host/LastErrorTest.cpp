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

TEST(LastError, EveryErrorHasAMessageText)
{
    EXPECT_EQ("Access is denied.", host::GetErrorMessageText(5));
    EXPECT_EQ("There is not enough space on the disk.", host::GetErrorMessageText(112));
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
