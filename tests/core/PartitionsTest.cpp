#include "core/files/Partitions.h"
#include "core/errors/Error.h"

#include "support/TestSupport.h"

#include "host/Drives.h"
#include "host/FaultInjection.h"
#include "host/LastError.h"
#include "host/Process.h"

#include <gtest/gtest.h>

namespace {

TEST(Drives, ListAppendsThePresentDrivesInLetterOrder)
{
    host::UnmapDrive('P');
    host::MapDrive('D', "/srv");
    host::MapDrive('A', "/mnt");
    std::vector<std::string> list = {"kept"};
    int count = -1;
    GetLogicalDrivesList(list, count);
    EXPECT_EQ((std::vector<std::string>{"kept", "A:", "C:", "D:"}), list);
    EXPECT_EQ(3, count);
}

TEST(Drives, NumbersOfDriveLetters)
{
    struct Row
    {
        const char* Path;
        int Number;
    };
    const Row rows[] = {
        {"c:\\x", 3}, {"A:", 1}, {"z:", 26}, {"Z:\\a", 26}, {"\\\\srv\\docs\\x", 0}, {"", 0}, {"1:\\", 0}, {"C", 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.Number, GetDriveNumber(row.Path)) << row.Path;
}

class Partitions : public testing::Test
{
protected:
    TTempDrive Drive{'T'};
};

TEST_F(Partitions, TypesComeFromTheMountTable)
{
    TFakeMountTable mounts;
    mounts.Add(Drive.HostPath("ram"), "tmpfs", "tmpfs");
    EXPECT_EQ(3u, GetPartitionType("T:"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ(6u, GetPartitionType("T:\\ram\\file.txt"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);

    EXPECT_EQ(0u, GetPartitionType("dir\\a.txt"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);

    EXPECT_EQ(1u, GetPartitionType("Q:"));
    EXPECT_EQ(fsWarning, FunStatContext.Status);
    EXPECT_EQ("Failed to get type.", FunStatContext.Description);
    EXPECT_EQ("Q:", FunStatContext.Parameter1);
    EXPECT_EQ(host::ERROR_PATH_NOT_FOUND, FunStatContext.SystemErrorCode);
}

TEST_F(Partitions, SuffixesOfDriveNames)
{
    TFakeMountTable mounts;
    const char letters[] = {'D', 'E', 'F', 'G', 'H'};
    const char* types[] = {"vfat", "ext4", "cifs", "iso9660", "tmpfs"};
    const char* sources[] = {"/dev/sdb1", "/dev/sda1", "//srv/docs", "/dev/sr0", "tmpfs"};
    for (int i = 0; i < 5; ++i) {
        const std::string folder = "/media/me/" + std::string(1, letters[i]);
        mounts.Add(folder, types[i], sources[i]);
        host::MapDrive(letters[i], i == 1 ? Drive.HostPath() : folder);
    }
    mounts.Add(Drive.HostPath(), "ext4", "/dev/sda1");

    struct Row
    {
        const char* Path;
        const char* Suffix;
    };
    const Row rows[] = {
        {"D:", " (Removable)"},
        {"E:", " (Fixed: \"\")"},
        {"F:", " (Remote: \"\\\\srv\\docs\")"},
        {"G:", " (CD)"},
        {"H:", " (RAM)"},
        {"T:\\", ""},
        {"Q:", ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.Suffix, GetPartitionSuffix(row.Path)) << row.Path;
        EXPECT_EQ(fsPerfect, FunStatContext.Status) << row.Path;
    }
}

TEST_F(Partitions, SizesOfTheVolume)
{
    const int64_t total = GetPartitionTotalSize("T:");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    const int64_t free = GetPartitionFreeSize("T:\\");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_GT(total, 0);
    EXPECT_GE(free, 0);
    EXPECT_LE(free, total);

    // Without a drive letter the current folder's drive answers.
    const std::string current = host::GetCurrentDirectory();
    ASSERT_TRUE(host::SetCurrentDirectory(Drive.Path()));
    EXPECT_EQ(total, GetPartitionTotalSize("\\\\srv\\docs\\x"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    host::SetCurrentDirectory(current);
}

TEST_F(Partitions, SizesOfAMissingDriveFail)
{
    EXPECT_EQ(-1, GetPartitionTotalSize("Q:"));
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Failed to get size.", FunStatContext.Description);
    EXPECT_EQ("Q:", FunStatContext.Parameter1);
    EXPECT_EQ(host::ERROR_PATH_NOT_FOUND, FunStatContext.SystemErrorCode);

    host::InjectFault(host::HostCall::Volume, host::ERROR_NOT_READY);
    EXPECT_EQ(-1, GetPartitionFreeSize("T:"));
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ(host::ERROR_NOT_READY, FunStatContext.SystemErrorCode);
}

TEST_F(Partitions, OnlyAFileSystemThatReportsItsSizeLacksSpace)
{
    TRamFileSystem ram;
    if (!ram.SkipReason().empty())
        GTEST_SKIP() << ram.SkipReason();
    TTempDrive ramDrive('R', ram.HostPath());
    const int64_t free = GetPartitionFreeSize("T:");
    struct Row
    {
        std::string Path;
        int64_t Needed;
        bool Lacks;
    };
    const Row rows[] = {
        {"T:\\", 0, false},
        {"T:\\", free / 2, false},
        {"T:\\new\\file.txt", INT64_MAX, true},
        // ramfs reports a total of 0 and nothing free: its room is unknown, not missing.
        {ramDrive.Path(), 1, false},
        {ramDrive.Path("x.bin"), INT64_MAX, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.Lacks, PartitionLacksSpace(row.Path, row.Needed)) << row.Path << " " << row.Needed;
        EXPECT_EQ(fsPerfect, FunStatContext.Status) << row.Path;
    }

    EXPECT_TRUE(PartitionLacksSpace("Q:\\", 0)) << "a size that cannot be read is not taken as room";
    EXPECT_EQ("Failed to get size.", FunStatContext.Description);
}

TEST_F(Partitions, InformationOfTheVolume)
{
    TFakeMountTable mounts;
    mounts.Add(Drive.HostPath(), "btrfs", "/dev/sdz9", "rw,usrquota");
    TPartitionInfo info;
    info.Load("T:\\a\\b.txt");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ("btrfs", info.FileSystemName);
    EXPECT_EQ(255u, info.MaxComponentLength);

    const std::string streams = PartitionSupportsStreams("T:") ? "S" : "";
    EXPECT_EQ("CQRp" + streams + "Sf", GetPartitionFlagsText("T:"));
    EXPECT_TRUE(PartitionSupportsReparsePoints("T:\\x"));
    EXPECT_FALSE(PartitionSupportsEncryption("T:\\x"));
    EXPECT_EQ(info.FileSystemFlags, GetPartitionFlags("T:"));
    EXPECT_EQ("", GetPartitionFlagsText("dir\\a.txt"));
    EXPECT_EQ(0u, GetPartitionFlags("Q:\\"));
}

TEST_F(Partitions, AFailedLoadClearsTheRecord)
{
    TPartitionInfo info;
    info.Load("T:");
    ASSERT_FALSE(info.FileSystemName.empty());
    info.Load("Q:\\x");
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Failed to load partition information.", FunStatContext.Description);
    EXPECT_EQ("Q:\\x", FunStatContext.Parameter1);
    EXPECT_EQ(host::ERROR_PATH_NOT_FOUND, FunStatContext.SystemErrorCode);
    EXPECT_EQ("", info.FileSystemName);
    EXPECT_EQ(0u, info.MaxComponentLength);
    EXPECT_EQ(0u, info.FileSystemFlags);
}

TEST_F(Partitions, ExistenceOfTheDrive)
{
    EXPECT_TRUE(PartitionExists("T:\\no\\such\\file"));
    EXPECT_FALSE(PartitionExists("Q:\\x"));
    EXPECT_FALSE(PartitionExists("dir\\a.txt"));
    EXPECT_FALSE(PartitionExists("\\\\srv\\docs\\x"));
}

} // namespace
