#include "host/MountTable.h"
#include "host/Drives.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(MountTable, ParsesMountInfoLines)
{
    const std::string text =
        "22 28 0:21 / /proc rw,relatime - proc proc rw\n"
        "29 28 8:17 / /media/me/My\\040Stick rw,nosuid shared:7 master:1 - vfat /dev/sdb1 rw,fmask=0022\n"
        "garbage line without a separator\n"
        "30 28 0:50 /export /mnt/back\\134slash ro - nfs4 srv:/export ro,vers=4.2\n";
    const std::vector<host::Mount> table = host::ParseMountInfo(text);
    ASSERT_EQ(3u, table.size());
    EXPECT_EQ("/proc", table[0].MountPoint);
    EXPECT_EQ("/media/me/My Stick", table[1].MountPoint);
    EXPECT_EQ("vfat", table[1].FileSystemType);
    EXPECT_EQ("/dev/sdb1", table[1].Source);
    EXPECT_EQ("8:17", table[1].Device);
    EXPECT_EQ((std::vector<std::string>{"rw", "nosuid", "rw", "fmask=0022"}), table[1].Options);
    EXPECT_EQ("/mnt/back\\slash", table[2].MountPoint);
    EXPECT_EQ("srv:/export", table[2].Source);
}

TEST(MountTable, DriveTypesOfFileSystems)
{
    struct Row
    {
        const char* MountPoint;
        const char* Type;
        const char* Source;
        uint32_t DriveType;
    };
    const Row rows[] = {
        {"/srv/nfs", "nfs4", "srv:/export", host::DRIVE_REMOTE},
        {"/srv/smb", "cifs", "//srv/share", host::DRIVE_REMOTE},
        {"/home/me/remote", "fuse.sshfs", "me@srv:", host::DRIVE_REMOTE},
        {"/mnt/disc", "iso9660", "/dev/sr0", host::DRIVE_CDROM},
        {"/mnt/disc2", "ext2", "/dev/sr1", host::DRIVE_CDROM},
        {"/tmp", "tmpfs", "tmpfs", host::DRIVE_RAMDISK},
        {"/media/me/STICK", "vfat", "/dev/sdb1", host::DRIVE_REMOVABLE},
        {"/run/media/me/CARD", "exfat", "/dev/mmcblk0p1", host::DRIVE_REMOVABLE},
        {"/media/me/remote", "nfs", "srv:/x", host::DRIVE_REMOTE},
        {"/home", "ext4", "/dev/sda2", host::DRIVE_FIXED},
        {"/mnt/data", "xfs", "/dev/sdc1", host::DRIVE_FIXED},
    };
    for (const Row& row : rows) {
        host::Mount mount;
        mount.MountPoint = row.MountPoint;
        mount.FileSystemType = row.Type;
        mount.Source = row.Source;
        mount.Device = "0:99";
        EXPECT_EQ(row.DriveType, host::ClassifyDriveType(mount)) << row.MountPoint;
    }
}

TEST(MountTable, TheMountHoldingAPathIsTheMostSpecificLatestOne)
{
    TFakeMountTable mounts;
    mounts.Add("/srv/data", "xfs");
    mounts.Add("/srv/data/deep", "tmpfs");
    mounts.Add("/srv/data", "nfs", "srv:/over");
    struct Row
    {
        const char* Path;
        const char* Type;
    };
    const Row rows[] = {
        {"/", "ext4"},
        {"/srv/database", "ext4"},
        {"/srv/data", "nfs"},
        {"/srv/data/x/y", "nfs"},
        {"/srv/data/deep/z", "tmpfs"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.Type, host::FindMountHolding(row.Path).value_or(host::Mount{}).FileSystemType) << row.Path;
}

TEST(MountTable, IsReadAgainWhenItChanges)
{
    TFakeMountTable mounts;
    EXPECT_EQ("ext4", host::FindMountHolding("/srv/x")->FileSystemType);
    const auto first = host::GetMountTable();
    EXPECT_EQ(first, host::GetMountTable()) << "read again without a change";
    mounts.Add("/srv", "btrfs");
    EXPECT_EQ("btrfs", host::FindMountHolding("/srv/x")->FileSystemType);
}

TEST(MountTable, TheSystemTableHoldsTheRoot)
{
    const auto table = host::GetMountTable();
    EXPECT_TRUE(
        std::any_of(table->begin(), table->end(), [](const host::Mount& mount) { return mount.MountPoint == "/"; }));
    EXPECT_EQ(table, host::GetMountTable());
}

TEST(MountedDrives, MediaFoldersGetTheNextFreeLetters)
{
    TFakeMountTable mounts;
    mounts.Add("/mnt/backup", "ext4");
    mounts.Add("/home", "ext4");
    mounts.Add("/media/me/STICK", "vfat");
    mounts.Add("/mnt", "ext4");
    mounts.Add("/mnt/odd:name", "ext4");
    mounts.Add("/mnt/stand-in\uF03A", "ext4");
    mounts.Add("/run/media/me/CARD", "exfat");
    mounts.Add("/media/me/Already", "ext4");
    host::MapDrive('D', "/media/me/Already");
    host::MapDrive('F', "/srv");

    host::MapMountedDrives();

    EXPECT_EQ("/mnt/backup", host::GetDriveHostRoot('E').value_or(""));
    EXPECT_EQ("/media/me/STICK", host::GetDriveHostRoot('G').value_or(""));
    EXPECT_EQ("/mnt/odd:name", host::GetDriveHostRoot('H').value_or(""));
    EXPECT_EQ("/run/media/me/CARD", host::GetDriveHostRoot('I').value_or(""));
    EXPECT_EQ("/media/me/Already", host::GetDriveHostRoot('D').value_or(""));
    EXPECT_FALSE(host::GetDriveHostRoot('J')) << "a folder without a Windows form gets no letter";
    // A, B never; C, D, E, F, G, H, I, and P for the tests' program folder.
    EXPECT_EQ(0b1000'0001'1111'1100u, host::GetLogicalDrives());
}

} // namespace
