#include "core/desktop/Program.h"
#include "core/errors/Error.h"
#include "core/files/KnownFolders.h"
#include "core/files/PathNames.h"

#include "support/TestSupport.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"
#include "host/Process.h"

#include <gtest/gtest.h>

#include <array>
#include <fstream>

namespace {

TEST(Program, PathsOfTheProgramFile)
{
    EXPECT_EQ("P:\\quillomber", GetProgramPath());
    EXPECT_EQ("P:\\", GetProgramDir());
    EXPECT_EQ("quillomber", GetProgramFileName());
    host::SetCommandLine({"/usr/bin/quillomber", "/Uninstall"});
    EXPECT_EQ(GetProgramPath(), GetProgramParam(0));
    EXPECT_EQ("/Uninstall", GetProgramParam(1));
    EXPECT_EQ("", GetProgramParam(2));
    EXPECT_EQ("", GetProgramParam(-1));
}

TEST(Program, MemoryFiguresAreConsistent)
{
    uint64_t total = 0, available = 0, totalPage = 0, availablePage = 0;
    GetMemoryStatus(total, available, totalPage, availablePage);
    EXPECT_GT(total, 0u);
    EXPECT_LE(available, total);
    EXPECT_GE(totalPage, total);
    EXPECT_EQ(total, GetTotalPhysicalMemory());
}

// The figures are whole 64-bit byte counts, also on a machine with more than 4 GiB, and
// tests can put theirs in place of the machine's.
TEST(Program, MemoryFiguresAreUncappedAndInjectable)
{
    std::ifstream meminfo("/proc/meminfo");
    std::string key;
    uint64_t totalKb = 0;
    meminfo >> key >> totalKb;
    ASSERT_EQ("MemTotal:", key);
    EXPECT_EQ(totalKb * 1024, GetTotalPhysicalMemory());

    const uint64_t gib = 1ULL << 30;
    InjectMemoryStatus(host::MemoryStatus{16 * gib, 6 * gib, 20 * gib, 9 * gib});
    uint64_t total = 0, available = 0, totalPage = 0, availablePage = 0;
    GetMemoryStatus(total, available, totalPage, availablePage);
    const uint64_t availableAlone = GetAvailablePhysicalMemory();
    InjectMemoryStatus(std::nullopt);
    EXPECT_EQ((std::array<uint64_t, 5>{16 * gib, 6 * gib, 20 * gib, 9 * gib, 6 * gib}),
              (std::array<uint64_t, 5>{total, available, totalPage, availablePage, availableAlone}));
    EXPECT_EQ(totalKb * 1024, GetTotalPhysicalMemory());
}

class WorkingPath : public testing::Test
{
protected:
    TTempDrive Drive{'T'};
};

TEST_F(WorkingPath, FollowsTheFolderOfThePath)
{
    Drive.WriteFile("d/a.txt", "x");
    const std::string temporary = GetTempPathA();
    ASSERT_FALSE(temporary.empty());
    EXPECT_EQ('\\', temporary.back());

    struct Row
    {
        std::string Path;
        std::string Current;
        TFunStatus Status;
    };
    const Row rows[] = {
        {Drive.Path("d\\a.txt"), Drive.Path("d"), fsPerfect},
        {Drive.Path("d\\"), Drive.Path("d"), fsPerfect},
        {"T:", temporary, fsPerfect},
        {"", temporary, fsPerfect},
        {"Q:\\d\\a.txt", temporary, fsError},
        {Drive.Path("missing\\a.txt"), temporary, fsError},
    };
    for (const Row& row : rows) {
        SetProgramWorkingPath(row.Path);
        EXPECT_EQ(row.Status, FunStatContext.Status) << row.Path;
        EXPECT_EQ(IncludeEndBackslash(row.Current), IncludeEndBackslash(GetCurrentPath())) << row.Path;
    }
    EXPECT_EQ("Failed to set working path.", FunStatContext.Description);
}

TEST(ProgramDeathTest, TerminateProgramEndsAtOnceWithCodeOne)
{
    EXPECT_EXIT(TerminateProgram(), testing::ExitedWithCode(1), "");
}

} // namespace

namespace {

TEST(OperatorDrive, IsTheDriveOfTheWindowsFolder)
{
    const std::string folder = GetOperatorPath();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.substr(0, 2), GetOperatorDrive());
    EXPECT_EQ(folder.substr(0, 3), GetOperatorDrivePath());
}

} // namespace
