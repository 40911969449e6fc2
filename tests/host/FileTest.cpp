#include "host/FaultInjection.h"
#include "host/File.h"
#include "host/LastError.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

class HostFile : public testing::Test
{
protected:
    TTempDrive Drive{'T'};
};

TEST_F(HostFile, DispositionsFollowTheWindowsMeaning)
{
    host::File file;
    EXPECT_FALSE(file.Open(Drive.Path("new.txt"), host::FileAccess::Read, host::FileDisposition::OpenExisting));
    EXPECT_EQ(host::ERROR_FILE_NOT_FOUND, host::GetLastError());

    EXPECT_TRUE(file.Open(Drive.Path("new.txt"), host::FileAccess::Write, host::FileDisposition::OpenAlways));
    EXPECT_EQ(host::ERROR_SUCCESS, host::GetLastError());
    EXPECT_TRUE(file.Write("abc", 3));
    file.Close();

    EXPECT_TRUE(file.Open(Drive.Path("new.txt"), host::FileAccess::ReadWrite, host::FileDisposition::OpenAlways));
    EXPECT_EQ(host::ERROR_ALREADY_EXISTS, host::GetLastError());
    EXPECT_EQ(3u, file.Size().value_or(0));
    file.Close();

    EXPECT_FALSE(file.Open(Drive.Path("new.txt"), host::FileAccess::Write, host::FileDisposition::CreateNew));
    EXPECT_EQ(host::ERROR_FILE_EXISTS, host::GetLastError());
    EXPECT_EQ("abc", Drive.ReadFile("new.txt"));
}

TEST_F(HostFile, NonRegularFilesAreNeverOpened)
{
    ASSERT_EQ(0, mkfifo(Drive.HostPath("pipe").c_str(), 0600));
    host::File file;
    EXPECT_FALSE(file.Open(Drive.Path("pipe"), host::FileAccess::Read, host::FileDisposition::OpenExisting));
    EXPECT_EQ(host::ERROR_ACCESS_DENIED, host::GetLastError());
    EXPECT_FALSE(host::ReadFileContents(Drive.Path("pipe")));
}

TEST_F(HostFile, ReplacingContentsKeepsTheOldFileWhenAWriteFails)
{
    Drive.WriteFile("settings.ini", "old content");
    std::filesystem::permissions(Drive.HostPath("settings.ini"), std::filesystem::perms(0600));

    host::InjectFault(host::HostCall::Write, host::ERROR_DISK_FULL);
    EXPECT_FALSE(host::ReplaceFileContents(Drive.Path("settings.ini"), "new content"));
    EXPECT_EQ(host::ERROR_DISK_FULL, host::GetLastError());
    EXPECT_EQ("old content", Drive.ReadFile("settings.ini"));

    host::InjectFault(host::HostCall::Rename, host::ERROR_ACCESS_DENIED);
    EXPECT_FALSE(host::ReplaceFileContents(Drive.Path("settings.ini"), "new content"));
    EXPECT_EQ("old content", Drive.ReadFile("settings.ini"));

    EXPECT_TRUE(host::ReplaceFileContents(Drive.Path("settings.ini"), "new content"));
    EXPECT_EQ("new content", host::ReadFileContents(Drive.Path("settings.ini")).value_or(""));
    EXPECT_EQ(std::filesystem::perms(0600),
              std::filesystem::status(Drive.HostPath("settings.ini")).permissions() & std::filesystem::perms::mask);
    // No temporary file is left beside the target.
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(Drive.HostPath()), {}));
}

} // namespace
