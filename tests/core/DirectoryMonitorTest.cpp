#include "core/files/DirectoryMonitor.h"
#include "core/errors/Error.h"

#include "support/TestSupport.h"

#include "host/Drives.h"
#include "host/FaultInjection.h"
#include "host/FileSystem.h"
#include "host/LastError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace {

class DirectoryMonitor : public testing::Test
{
protected:
    TTempDrive Drive{'T'};
    TDirectoryMonitor Monitor;

    void SetUp() override
    {
        Drive.WriteFile("a.txt", "abc");
        Drive.WriteFile("sub/inner.txt", "x");
    }

    // Next, which must succeed.
    bool NextChange()
    {
        const bool changed = Monitor.Next();
        EXPECT_EQ(fsPerfect, FunStatContext.Status) << FunStatContext.Description;
        return changed;
    }

    void ExpectFailure(const std::string& description, const std::string& parameter)
    {
        EXPECT_EQ(fsError, FunStatContext.Status);
        EXPECT_EQ(description, FunStatContext.Description);
        EXPECT_EQ(parameter, FunStatContext.Parameter1);
    }
};

TEST_F(DirectoryMonitor, NothingIsWatchedAtTheDriveLevel)
{
    for (const char* folder : {"", "C:", "T:", "name"}) {
        Monitor.Ini(folder);
        EXPECT_EQ(fsPerfect, FunStatContext.Status) << folder;
        EXPECT_FALSE(Monitor.Next()) << folder;
        EXPECT_EQ(fsPerfect, FunStatContext.Status) << folder;
        EXPECT_FALSE(Monitor.GetChange()) << folder;
        EXPECT_FALSE(Monitor.Handle.IsOpen()) << folder;
    }
}

TEST_F(DirectoryMonitor, SeesNamesComeAndGoOnce)
{
    Monitor.Ini(Drive.Path());
    ASSERT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_FALSE(NextChange());

    Drive.WriteFile("new.txt", "");
    EXPECT_TRUE(Monitor.GetChange());
    EXPECT_TRUE(Monitor.GetChange()) << "a look does not re-arm";
    EXPECT_TRUE(NextChange());
    EXPECT_FALSE(NextChange());

    std::filesystem::rename(Drive.HostPath("new.txt"), Drive.HostPath("renamed.txt"));
    EXPECT_TRUE(NextChange());
    EXPECT_FALSE(NextChange());

    std::filesystem::remove(Drive.HostPath("renamed.txt"));
    EXPECT_TRUE(NextChange());
    std::filesystem::create_directory(Drive.HostPath("folder"));
    EXPECT_TRUE(NextChange());
    EXPECT_FALSE(NextChange());
}

class DirectoryMonitorArming : public DirectoryMonitor, public testing::WithParamInterface<bool>
{
};

// Armed with the folder's listing in hand, the monitor sees the folder as when it reads it.
TEST_P(DirectoryMonitorArming, SizesAndAttributesCountWritesAndTimesDoNot)
{
    Drive.WriteFile("c:d", "12");
    if (GetParam()) {
        std::vector<host::FindData> listing;
        ASSERT_TRUE(host::FindFiles(Drive.Path("\\"), "*", listing));
        Monitor.Ini(Drive.Path("\\"), std::move(listing));
    } else {
        Monitor.Ini(Drive.Path("\\"));
    }
    ASSERT_EQ(fsPerfect, FunStatContext.Status);
    struct Row
    {
        const char* Change;
        std::function<void()> Make;
        bool Changed;
    };
    const std::string file = Drive.HostPath("a.txt");
    const Row rows[] = {
        {"same-size write", [&] { std::ofstream(file, std::ios::in | std::ios::out) << "xyz"; }, false},
        {"time stamp", [&] { std::filesystem::last_write_time(file, std::filesystem::file_time_type{}); }, false},
        {"other's permission bits", [&] { chmod(file.c_str(), 0604); }, false},
        {"subfolder's content", [&] { Drive.WriteFile("sub/more.txt", "y"); }, false},
        {"growth", [&] { std::ofstream(file, std::ios::app) << "more"; }, true},
        {"read-only", [&] { chmod(file.c_str(), 0444); }, true},
        {"subfolder's name", [&] { std::filesystem::rename(Drive.HostPath("sub"), Drive.HostPath("sub2")); }, true},
        {"name with a character Windows cannot hold", [&] { Drive.WriteFile("a:b", "12"); }, true},
        {"same-size write to such a name listed before",
         [&] { std::ofstream(Drive.HostPath("c:d"), std::ios::in | std::ios::out) << "34"; }, false},
        {"name the program cannot show", [&] { Drive.WriteFile("a\uF03Ab", ""); }, false},
    };
    for (const Row& row : rows) {
        row.Make();
        EXPECT_EQ(row.Changed, NextChange()) << row.Change;
    }
}

INSTANTIATE_TEST_SUITE_P(ReadOrGiven, DirectoryMonitorArming, testing::Bool());

TEST_F(DirectoryMonitor, AFolderOfAMissingDriveReadsAsChanged)
{
    Monitor.Ini("Q:\\data\\");
    ExpectFailure("Failed set monitor.", "Q:\\data\\");
    EXPECT_EQ(host::ERROR_PATH_NOT_FOUND, FunStatContext.SystemErrorCode);
    for (int poll = 0; poll < 2; ++poll) {
        EXPECT_TRUE(Monitor.Next());
        ExpectFailure("Failed set monitor.", "Q:\\data\\");
    }
    EXPECT_TRUE(Monitor.GetChange());
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(DirectoryMonitor, RemovingTheMediumBreaksTheMonitor)
{
    Monitor.Ini(Drive.Path());
    host::UnmapDrive('T');
    EXPECT_TRUE(Monitor.GetChange());
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_TRUE(Monitor.Next());
    ExpectFailure("Failed set monitor.", Drive.Path());

    host::MapDrive('T', Drive.HostPath());
    EXPECT_TRUE(Monitor.Next()) << "the broken monitor reads as changed once more, then re-arms";
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_FALSE(NextChange());
}

TEST_F(DirectoryMonitor, AWatchedFolderThatIsDeletedIsChangedAndBroken)
{
    Monitor.Ini(Drive.Path("sub\\"));
    std::filesystem::remove_all(Drive.HostPath("sub"));
    EXPECT_TRUE(Monitor.Next());
    ExpectFailure("Failed set monitor.", Drive.Path("sub\\"));
    EXPECT_EQ(host::ERROR_FILE_NOT_FOUND, FunStatContext.SystemErrorCode);
    EXPECT_TRUE(Monitor.Next());
}

TEST_F(DirectoryMonitor, AFailedLookClosesTheNotificationAndTheNextPollReopensIt)
{
    Monitor.Ini(Drive.Path());
    host::InjectFault(host::HostCall::Notify, host::ERROR_IO_DEVICE);
    EXPECT_TRUE(Monitor.GetChange());
    ExpectFailure("Failed get status.", Drive.Path());
    EXPECT_EQ(host::ERROR_IO_DEVICE, FunStatContext.SystemErrorCode);
    EXPECT_FALSE(Monitor.Handle.IsOpen());

    EXPECT_TRUE(NextChange());
    EXPECT_FALSE(NextChange());
}

TEST_F(DirectoryMonitor, ARefusedNotificationFailsToArm)
{
    host::InjectFault(host::HostCall::Notify, host::ERROR_TOO_MANY_OPEN_FILES);
    Monitor.Ini(Drive.Path());
    ExpectFailure("Failed set monitor.", Drive.Path());
    EXPECT_EQ(host::ERROR_TOO_MANY_OPEN_FILES, FunStatContext.SystemErrorCode);
    EXPECT_TRUE(NextChange()) << "armed again by the poll";
    EXPECT_FALSE(NextChange());
}

TEST_F(DirectoryMonitor, MonitorsOfOneFolderKeepTheirOwnPeriods)
{
    TDirectoryMonitor other;
    Monitor.Ini(Drive.Path());
    other.Ini(Drive.Path());
    Drive.WriteFile("first.txt", "");

    TDirectoryMonitor late;
    late.Ini(Drive.Path());
    EXPECT_FALSE(late.Next()) << "a change made before arming is not reported";
    EXPECT_TRUE(NextChange());
    EXPECT_TRUE(other.Next());

    late.Reset();
    EXPECT_FALSE(NextChange()) << "another monitor of the folder closing is no change";
    Drive.WriteFile("second.txt", "");
    EXPECT_TRUE(NextChange());
    EXPECT_TRUE(other.Next());
}

} // namespace
