#include "host/File.h"
#include "host/FaultInjection.h"
#include "host/LastError.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
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

TEST_F(HostFile, APrivateFileIsReadableByTheUserAloneWhetherNewOrReplaced)
{
    namespace fs = std::filesystem;
    Drive.WriteFile("shared.bmp", "old");
    fs::permissions(Drive.HostPath("shared.bmp"), fs::perms(0644));
    for (const char* name : {"shared.bmp", "new.bmp"}) {
        EXPECT_TRUE(host::ReplacePrivateFileContents(Drive.Path(name), "private")) << name;
        EXPECT_EQ("private", Drive.ReadFile(name)) << name;
        EXPECT_EQ(fs::perms(0600), fs::status(Drive.HostPath(name)).permissions() & fs::perms::mask) << name;
    }
    EXPECT_TRUE(host::ReplaceFileContents(Drive.Path("other.bmp"), "shared"));
    EXPECT_EQ(fs::perms(0644), fs::status(Drive.HostPath("other.bmp")).permissions() & fs::perms::mask);
}

TEST_F(HostFile, ReplacingContentsWritesThroughSymbolicLinks)
{
    namespace fs = std::filesystem;
    Drive.WriteFile("real/target.ini", "old");
    fs::create_directory(Drive.HostPath("links"));
    fs::create_symlink("../real/target.ini", Drive.HostPath("links/relative.ini"));
    fs::create_symlink(Drive.HostPath("links/relative.ini"), Drive.HostPath("chain.ini"));
    fs::create_symlink("real/created.ini", Drive.HostPath("dangling.ini"));
    struct Row
    {
        const char* Link;
        const char* Target;
    };
    for (const Row& row : {Row{"links/relative.ini", "real/target.ini"}, Row{"chain.ini", "real/target.ini"},
                           Row{"dangling.ini", "real/created.ini"}}) {
        const std::string content = std::string("saved through ") + row.Link;
        EXPECT_TRUE(host::ReplaceFileContents(Drive.Path(row.Link), content)) << row.Link;
        EXPECT_TRUE(fs::is_symlink(Drive.HostPath(row.Link))) << row.Link;
        EXPECT_EQ(content, Drive.ReadFile(row.Target)) << row.Link;
    }
    EXPECT_EQ(2, std::distance(fs::directory_iterator(Drive.HostPath("real")), {})) << "no temporary file is left";
    EXPECT_EQ(1, std::distance(fs::directory_iterator(Drive.HostPath("links")), {}));

    fs::create_symlink("loop-b", Drive.HostPath("loop-a"));
    fs::create_symlink("loop-a", Drive.HostPath("loop-b"));
    EXPECT_FALSE(host::ReplaceFileContents(Drive.Path("loop-a"), "never"));
}

TEST_F(HostFile, ReplacingContentsRefusesAReadOnlyFile)
{
    namespace fs = std::filesystem;
    Drive.WriteFile("read-only.ini", "kept");
    fs::permissions(Drive.HostPath("read-only.ini"), fs::perms(0444));
    fs::create_symlink("read-only.ini", Drive.HostPath("link.ini"));
    for (const char* name : {"read-only.ini", "link.ini"}) {
        host::SetLastError(host::ERROR_SUCCESS);
        EXPECT_FALSE(host::ReplaceFileContents(Drive.Path(name), "new")) << name;
        EXPECT_EQ(host::ERROR_ACCESS_DENIED, host::GetLastError()) << name;
        EXPECT_EQ("kept", Drive.ReadFile("read-only.ini")) << name;
    }
    EXPECT_EQ(fs::perms(0444), fs::status(Drive.HostPath("read-only.ini")).permissions());
    EXPECT_TRUE(fs::is_symlink(Drive.HostPath("link.ini")));
}

TEST_F(HostFile, APrivateFileReplacesALinkAtItsNameAndOnlyItsOwnerReadsIt)
{
    namespace fs = std::filesystem;
    Drive.WriteFile("elsewhere.bmp", "someone else's");
    fs::permissions(Drive.HostPath("elsewhere.bmp"), fs::perms(0666));
    fs::create_symlink("elsewhere.bmp", Drive.HostPath("private.bmp"));
    fs::create_symlink("nowhere.bmp", Drive.HostPath("dangling.bmp"));
    for (const char* name : {"private.bmp", "dangling.bmp", "new.bmp"}) {
        EXPECT_TRUE(host::ReplacePrivateFileContents(Drive.Path(name), "picture")) << name;
        EXPECT_FALSE(fs::is_symlink(Drive.HostPath(name))) << name;
        EXPECT_EQ("picture", Drive.ReadFile(name)) << name;
        EXPECT_EQ(fs::perms(0600), fs::status(Drive.HostPath(name)).permissions()) << name;
    }
    EXPECT_EQ("someone else's", Drive.ReadFile("elsewhere.bmp"));
    EXPECT_FALSE(Drive.Exists("nowhere.bmp"));
}

TEST_F(HostFile, ReplacingContentsTakesTheLongestNames)
{
    const std::string existing = std::string(251, 'e') + ".ini";
    const std::string created = std::string(251, 'c') + ".ini";
    Drive.WriteFile(existing, "old");
    for (const std::string& name : {existing, created}) {
        ASSERT_EQ(255u, name.size());
        EXPECT_TRUE(host::ReplaceFileContents(Drive.Path(name), "new")) << host::GetLastError();
        EXPECT_EQ("new", Drive.ReadFile(name));
    }
}

// A user who may write a file he does not own cannot give a new file its owner and group
// (tests run as root, so the refusal is injected): the content goes into the file itself.
TEST_F(HostFile, AFileTheUserMayWriteButNotOwnIsRewrittenInPlace)
{
    namespace fs = std::filesystem;
    const std::string host = Drive.HostPath("shared.txt");
    Drive.WriteFile("shared.txt", "old shared content");
    fs::permissions(host, fs::perms(0664));
    ASSERT_EQ(0, chown(host.c_str(), 1234, 5678));
    fs::create_hard_link(host, Drive.HostPath("other name.txt"));
    struct stat before = {};
    ASSERT_EQ(0, stat(host.c_str(), &before));

    host::InjectFault(host::HostCall::SetOwner, host::ERROR_ACCESS_DENIED);
    ASSERT_TRUE(host::ReplaceWholeFileContents(Drive.Path("shared.txt"), "new"));
    EXPECT_EQ("new", Drive.ReadFile("shared.txt"));
    EXPECT_EQ("new", Drive.ReadFile("other name.txt")) << "the file itself was written";
    struct stat after = {};
    ASSERT_EQ(0, stat(host.c_str(), &after));
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(1234u, after.st_uid);
    EXPECT_EQ(5678u, after.st_gid);
    EXPECT_EQ(0664u, after.st_mode & 07777);
    EXPECT_EQ(2, std::distance(fs::directory_iterator(Drive.HostPath()), {})) << "the old content's copy is gone";

    // Every failure on the way leaves the old content, and no copy beside it.
    struct Row
    {
        const char* What;
        host::HostCall Call;
        uint32_t Code;
        int Skip;
    };
    for (const Row& row : {Row{"the owner fails otherwise", host::HostCall::SetOwner, host::ERROR_DISK_FULL, 0},
                           Row{"keeping the old content", host::HostCall::Write, host::ERROR_DISK_FULL, 0},
                           Row{"writing the new content", host::HostCall::Write, host::ERROR_DISK_FULL, 2},
                           Row{"cutting the new content", host::HostCall::Truncate, host::ERROR_DISK_FULL, 0}}) {
        host::InjectFault(host::HostCall::SetOwner, host::ERROR_ACCESS_DENIED);
        host::InjectFault(row.Call, row.Code, row.Skip);
        EXPECT_FALSE(host::ReplaceWholeFileContents(Drive.Path("shared.txt"), "longer content that is lost"))
            << row.What;
        EXPECT_EQ(row.Code, host::GetLastError()) << row.What;
        host::ClearFaults();
        EXPECT_EQ("new", Drive.ReadFile("shared.txt")) << row.What;
        EXPECT_EQ(2, std::distance(fs::directory_iterator(Drive.HostPath()), {})) << row.What;
        ASSERT_EQ(0, stat(host.c_str(), &after));
        EXPECT_EQ(before.st_ino, after.st_ino) << row.What;
    }
}

TEST_F(HostFile, OpenToReadMeasuresRegularFilesAndRefusesTheRestAtOnce)
{
    Drive.WriteFile("a.txt", "abcde");
    ASSERT_EQ(0, mkfifo(Drive.HostPath("pipe").c_str(), 0600));
    std::filesystem::create_directory(Drive.HostPath("folder"));
    std::filesystem::create_symlink(Drive.HostPath("a.txt"), Drive.HostPath("link"));
    const struct
    {
        const char* Name;
        std::optional<uint64_t> Size;
        uint32_t Error;
    } cases[] = {
        {"a.txt", 5, host::ERROR_SUCCESS},
        {"link", 5, host::ERROR_SUCCESS},
        {"pipe", std::nullopt, host::ERROR_ACCESS_DENIED},
        {"folder", std::nullopt, host::ERROR_ACCESS_DENIED},
        {"missing", std::nullopt, host::ERROR_FILE_NOT_FOUND},
    };
    for (const auto& c : cases) {
        host::File file;
        EXPECT_EQ(c.Size, file.OpenToRead(Drive.Path(c.Name))) << c.Name;
        EXPECT_EQ(c.Error, host::GetLastError()) << c.Name;
        EXPECT_EQ(c.Size.has_value(), file.IsOpen()) << c.Name;
    }
    host::File file;
    host::InjectFault(host::HostCall::Stat, host::ERROR_IO_DEVICE);
    EXPECT_FALSE(file.OpenToRead(Drive.Path("a.txt")));
    EXPECT_EQ(host::ERROR_IO_DEVICE, host::GetLastError());
    EXPECT_FALSE(file.IsOpen());
}

} // namespace
