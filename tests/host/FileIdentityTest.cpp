#include "host/FileIdentity.h"
#include "host/Drives.h"
#include "host/LastError.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// One folder holding files whose names differ only in letter case, the same files under
// a second letter, and every kind of link to them.
class FileIdentity : public testing::Test
{
protected:
    void SetUp() override
    {
        Drive.WriteFile("d/a.txt", "lower");
        Drive.WriteFile("d/A.txt", "upper");
        Drive.WriteFile("Data/x.txt", "x");
        fs::create_directory(Drive.HostPath("data"));
        fs::create_hard_link(Drive.HostPath("d/a.txt"), Drive.HostPath("hard.txt"));
        fs::create_symlink(Drive.HostPath("d/a.txt"), Drive.HostPath("filelink"));
        fs::create_directory_symlink(Drive.HostPath("d"), Drive.HostPath("dirlink"));
        fs::create_symlink(Drive.HostPath("nowhere"), Drive.HostPath("dangling"));
        host::MapDrive('U', Drive.HostPath("d"));
    }

    void TearDown() override { host::UnmapDrive('U'); }

    TTempDrive Drive{'T'};
};

TEST_F(FileIdentity, SameFileByInodeWhereItExistsAndByExactNameWhereNot)
{
    struct Row
    {
        const char* A;
        const char* B;
        bool Kept;
        bool Followed;
    };
    const Row rows[] = {
        {"T:\\d\\a.txt", "T:\\d\\a.txt", true, true},
        {"T:\\d\\a.txt", "T:\\d\\A.txt", false, false},
        {"T:\\d\\a.txt", "T:\\D\\a.txt", false, false},
        {"T:\\Data", "T:\\data", false, false},
        {"T:\\d\\a.txt", "t:\\d\\a.txt", true, true},
        {"T:\\d\\a.txt", "U:\\a.txt", true, true},
        {"T:\\d\\a.txt", "T:\\hard.txt", true, true},
        {"T:\\d\\a.txt", "T:\\filelink", false, true},
        {"T:\\d\\A.txt", "T:\\filelink", false, false},
        {"T:\\d", "T:\\dirlink", true, true},
        {"T:\\d\\", "T:\\dirlink", true, true},
        {"T:\\d\\a.txt", "T:\\dirlink\\a.txt", true, true},
        {"T:\\dangling", "T:\\dangling", true, true},
        {"T:\\dangling", "T:\\nowhere", false, false},
        {"T:\\d\\missing\\x", "U:\\missing\\x", true, true},
        {"T:\\d\\missing\\x", "T:\\d\\Missing\\x", false, false},
        {"T:\\d\\missing", "T:\\d\\missing\\", true, true},
        {"T:\\d\\a.txt", "T:\\d\\missing", false, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.Kept, host::AreOneFile(row.A, row.B)) << row.A << " / " << row.B;
        EXPECT_EQ(row.Kept, host::AreOneFile(row.B, row.A)) << row.B << " / " << row.A;
        EXPECT_EQ(row.Followed, host::AreOneFile(row.A, row.B, host::FinalLink::Followed)) << row.A << " / " << row.B;
    }
}

TEST_F(FileIdentity, InsideAFolderThroughLettersAndFolderLinksButNotByCase)
{
    struct Row
    {
        const char* Folder;
        const char* Path;
        bool Inside;
    };
    const Row rows[] = {
        {"T:\\Data", "T:\\data\\copy", false},
        {"T:\\Data", "T:\\data", false},
        {"T:\\Data", "T:\\Data", true},
        {"T:\\Data", "T:\\Data\\copy", true},
        {"T:\\Data", "T:\\Data\\x.txt\\deeper\\still", true},
        {"T:\\d", "T:\\dirlink\\copy", true},
        {"T:\\d", "U:\\new\\copy", true},
        {"T:\\d", "T:\\dd\\copy", false},
        {"T:\\d", "T:\\", false},
        {"T:\\", "T:\\d\\copy", true},
        {"T:\\missing", "T:\\missing\\copy", true},
        {"T:\\missing", "T:\\Missing\\copy", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.Inside, host::IsSameOrInside(row.Folder, row.Path)) << row.Folder << " / " << row.Path;
}

TEST_F(FileIdentity, OneFileSystemByDeviceNotByLetter)
{
    TTempDrive other{'S', "/dev/shm"};
    other.WriteFile("f.txt", "f");
    // Two letters on one file system are one; a path still to be made is judged by its folder.
    EXPECT_TRUE(host::AreOnOneFileSystem("T:\\d\\a.txt", "U:\\a.txt"));
    EXPECT_TRUE(host::AreOnOneFileSystem("T:\\d", "T:\\new\\deeper\\x.txt"));
    EXPECT_FALSE(host::AreOnOneFileSystem("T:\\d\\a.txt", "S:\\f.txt"));
    EXPECT_FALSE(host::AreOnOneFileSystem("T:\\d", "S:\\new"));
    EXPECT_FALSE(host::AreOnOneFileSystem("T:\\d", "Q:\\unmapped"));
}

TEST_F(FileIdentity, AQuestionLeavesTheLastErrorAsItWas)
{
    host::SetLastError(host::ERROR_DISK_FULL);
    host::AreOneFile("T:\\d\\missing", "T:\\d\\a.txt");
    host::IsSameOrInside("T:\\missing", "T:\\d\\a.txt");
    host::AreOnOneFileSystem("T:\\missing", "Q:\\unmapped");
    EXPECT_EQ(host::ERROR_DISK_FULL, host::GetLastError());
}

} // namespace
