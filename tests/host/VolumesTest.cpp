#include "host/Volumes.h"
#include "host/Drives.h"
#include "host/FaultInjection.h"
#include "host/LastError.h"
#include "host/MountTable.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

class Volumes : public testing::Test
{
protected:
    TTempDrive Drive{'T'};
    TFakeMountTable Mounts;
};

TEST_F(Volumes, DriveTypeIsThatOfTheFileSystemHoldingThePath)
{
    Mounts.Add(Drive.HostPath(), "xfs", "/dev/sdc1");
    Mounts.Add(Drive.HostPath("ram"), "tmpfs", "tmpfs");
    Mounts.Add(Drive.HostPath("net"), "nfs4", "srv:/export");
    struct Row
    {
        std::string Path;
        uint32_t Type;
    };
    const Row rows[] = {
        {"T:", host::DRIVE_FIXED},
        {"T:\\ram", host::DRIVE_RAMDISK},
        {"T:\\ram\\not\\there.txt", host::DRIVE_RAMDISK},
        {"T:\\net\\gone\\away", host::DRIVE_REMOTE},
        {"T:\\ramp", host::DRIVE_FIXED},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.Type, host::GetDriveType(row.Path)) << row.Path;
        EXPECT_EQ(host::ERROR_SUCCESS, host::GetLastError()) << row.Path;
    }
}

TEST_F(Volumes, UnmappedLettersAndNetworkPathsHaveNoRoot)
{
    EXPECT_EQ(host::DRIVE_NO_ROOT_DIR, host::GetDriveType("Q:\\"));
    EXPECT_EQ(host::ERROR_PATH_NOT_FOUND, host::GetLastError());
    EXPECT_EQ(host::DRIVE_NO_ROOT_DIR, host::GetDriveType("\\\\srv\\docs\\"));
    EXPECT_EQ(host::ERROR_BAD_NETPATH, host::GetLastError());
}

TEST_F(Volumes, VolumeInformationOfTheFileSystemHoldingThePath)
{
    Drive.WriteFile("sub/a.txt", "x");
    Mounts.Add(Drive.HostPath(), "vfat", "/dev/sdx1", "rw");
    Mounts.Add(Drive.HostPath("sub"), "btrfs", "/dev/sdy1", "rw,usrquota");

    const std::optional<host::VolumeInformation> root = host::GetVolumeInformation("T:\\");
    ASSERT_TRUE(root);
    EXPECT_EQ("vfat", root->FileSystemName);
    EXPECT_EQ(0u, root->FileSystemFlags & (host::FILE_SUPPORTS_REPARSE_POINTS | host::FILE_SUPPORTS_SPARSE_FILES));
    EXPECT_EQ(255u, root->MaxComponentLength);

    // A file not yet made is held by its folder's file system.
    const std::optional<host::VolumeInformation> sub = host::GetVolumeInformation("T:\\sub\\new\\b.txt");
    ASSERT_TRUE(sub);
    EXPECT_EQ("btrfs", sub->FileSystemName);
    const uint32_t expected = host::FILE_FILE_COMPRESSION | host::FILE_VOLUME_QUOTAS |
                              host::FILE_SUPPORTS_SPARSE_FILES | host::FILE_SUPPORTS_REPARSE_POINTS;
    EXPECT_EQ(expected, sub->FileSystemFlags & ~host::FILE_NAMED_STREAMS);
    EXPECT_EQ(host::ERROR_SUCCESS, host::GetLastError());
}

TEST_F(Volumes, SpaceIsThatOfTheVolume)
{
    const std::optional<host::DiskSpace> root = host::GetDiskSpace("T:");
    ASSERT_TRUE(root);
    EXPECT_GT(root->Total, 0u);
    EXPECT_LE(root->FreeForUser, root->Total);
    const std::optional<host::DiskSpace> deep = host::GetDiskSpace("T:\\missing\\deeper\\file.txt");
    ASSERT_TRUE(deep);
    EXPECT_EQ(root->Total, deep->Total);
}

TEST_F(Volumes, FailedQueriesSetTheLastError)
{
    EXPECT_FALSE(host::GetDiskSpace("Q:\\"));
    EXPECT_EQ(host::ERROR_PATH_NOT_FOUND, host::GetLastError());
    EXPECT_FALSE(host::GetVolumeInformation("dir\\a.txt"));
    EXPECT_EQ(host::ERROR_PATH_NOT_FOUND, host::GetLastError());

    host::InjectFault(host::HostCall::Volume, host::ERROR_NOT_READY, 0, 2);
    EXPECT_FALSE(host::GetDiskSpace("T:\\"));
    EXPECT_FALSE(host::GetVolumeInformation("T:\\"));
    EXPECT_EQ(host::ERROR_NOT_READY, host::GetLastError());

    // A letter whose folder is gone does not borrow the space of the folder above.
    host::MapDrive('U', Drive.HostPath("gone"));
    EXPECT_FALSE(host::GetDiskSpace("U:\\a\\b"));
    EXPECT_EQ(host::ERROR_FILE_NOT_FOUND, host::GetLastError());
    host::UnmapDrive('U');
}

TEST_F(Volumes, NetworkNamesOfRemoteMounts)
{
    struct Row
    {
        const char* Folder;
        const char* Type;
        const char* Source;
        const char* NetworkName;
    };
    const Row rows[] = {
        {"smb", "cifs", "//srv/docs", "\\\\srv\\docs"},
        {"nfs", "nfs4", "srv:/export/home/", "\\\\srv\\export\\home"},
        {"ssh", "fuse.sshfs", "me@host:/data", "\\\\host\\data"},
        {"sshhome", "fuse.sshfs", "me@host:", "\\\\host"},
        {"local", "ext4", "/dev/sda1", ""},
    };
    for (const Row& row : rows)
        Mounts.Add(Drive.HostPath(row.Folder), row.Type, row.Source);
    for (const Row& row : rows)
        EXPECT_EQ(row.NetworkName, host::GetNetworkName(Drive.Path(std::string(row.Folder) + "\\x"))) << row.Folder;
    EXPECT_EQ("", host::GetNetworkName("Q:\\"));
}

} // namespace
