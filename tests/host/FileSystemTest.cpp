#include "host/FileSystem.h"
#include "host/Drives.h"
#include "host/FaultInjection.h"
#include "host/LastError.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <QUrl>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <string_view>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

bool OnOneFileSystem(const std::string& a, const std::string& b)
{
    struct stat first = {}, second = {};
    return stat(a.c_str(), &first) == 0 && stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev;
}

std::string ReadHostFile(const fs::path& path)
{
    std::ifstream file(path);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

class HostFileSystem : public testing::Test
{
protected:
    TTempDrive Drive{'T'};

    std::vector<std::string> NamesIn(const std::string& relative = {}) const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Drive.HostPath(relative)))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

// "?" takes one character as the name shows it: a UTF-8 sequence of any length, a stand-in
// for a foreign byte, or a byte that is not part of a well-formed sequence.
TEST(HostPatterns, AQuestionMarkTakesOneCharacterOfTheName)
{
    struct Row
    {
        const char* Name;
        const char* Pattern;
        bool Matches;
    };
    const Row rows[] = {
        {"a", "?", true},
        {"A.TXT", "?.txt", true},
        {"ab", "?", false},
        {"\xc3\xa9", "?", true}, // é, two bytes
        {"\xc3\xa9", "??", false},
        {"\xe2\x82\xac.txt", "?.txt", true}, // €, three bytes
        {"\xf0\x9f\x98\x80", "?", true},     // an emoji, four bytes
        {"\xef\x80\x8a", "?", true},         // the stand-in of a line feed
        {"a\xe9\x62", "a?b", true},          // "a", a byte that is no UTF-8, "b"
        {"a\xe9\x62", "a??b", false},
        {"\xc3", "?", true},      // a sequence cut short
        {"\xc0\xaf", "??", true}, // an overlong form: two bytes alone
        {"\xc3\xa9t\xc3\xa9", "*?", true},
        {"\xc3\xa9t\xc3\xa9", "*??", true},
        {"\xc3\xa9t\xc3\xa9", "*????", false},
        {"\xc3\xa9t\xc3\xa9", "?*?", true},
        {"\xc3\xa9t\xc3\xa9", "*t?", true},
        {"\xc3\xa9t\xc3\xa9", "*?t", false},
        {"x\xc3\xa9", "*\xa9", false}, // a star never stops inside a character
        {"*x", "*", true},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.Matches, host::MatchesPattern(row.Name, row.Pattern)) << row.Name << " " << row.Pattern;
}

TEST_F(HostFileSystem, ListingGivesWindowsAttributesAndWindowsNames)
{
    Drive.WriteFile("plain.txt", "12345");
    Drive.WriteFile(".hidden", "");
    Drive.WriteFile("read-only.txt", "");
    fs::permissions(Drive.HostPath("read-only.txt"), fs::perms(0444));
    fs::create_directory(Drive.HostPath("folder"));
    Drive.WriteFile("bad:name", "");
    Drive.WriteFile("what?", "");
    fs::create_symlink(Drive.HostPath("plain.txt"), Drive.HostPath("link"));
    fs::create_directory_symlink(Drive.HostPath("folder"), Drive.HostPath("folderlink"));
    ASSERT_EQ(0, mkfifo(Drive.HostPath("pipe").c_str(), 0600));

    std::vector<host::FindData> entries;
    ASSERT_TRUE(host::FindFiles(Drive.Path(), "*", entries));
    std::map<std::string, host::FindData> byName;
    for (const host::FindData& entry : entries)
        byName[entry.Name] = entry;

    using namespace host;
    const std::map<std::string, uint32_t> expected = {
        {"plain.txt", FILE_ATTRIBUTE_ARCHIVE},
        {".hidden", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN},
        {"read-only.txt", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
        {"folder", FILE_ATTRIBUTE_DIRECTORY},
        {"link", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT},
        {"folderlink", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT},
        {"pipe", FILE_ATTRIBUTE_SYSTEM},
        {"bad\uF03Aname", FILE_ATTRIBUTE_ARCHIVE},
        {"what\uF03F", FILE_ATTRIBUTE_ARCHIVE},
    };
    ASSERT_EQ(expected.size(), byName.size());
    for (const auto& [name, attributes] : expected)
        EXPECT_EQ(attributes, byName[name].Attributes) << name;
    EXPECT_EQ(5u, byName["plain.txt"].Size);
    EXPECT_EQ(5u, byName["link"].Size) << "a link reports what it points to";
    EXPECT_EQ(0u, byName["pipe"].Size);
    EXPECT_GT(byName["plain.txt"].LastWriteTime, host::FileTimeFromUnix(1600000000, 0));
    EXPECT_EQ("bad\uF03Aname", host::GetFileData(Drive.Path("bad\uF03Aname")).value_or(FindData()).Name);

    ASSERT_TRUE(host::FindFiles(Drive.Path(), "*.TXT", entries));
    EXPECT_EQ(2u, entries.size());
    ASSERT_TRUE(host::FindFiles(Drive.Path("folder"), "*", entries));
    EXPECT_TRUE(entries.empty());
    EXPECT_EQ(host::ERROR_FILE_NOT_FOUND, host::GetLastError());
    EXPECT_FALSE(host::FindFiles(Drive.Path("missing"), "*", entries));
    EXPECT_EQ(host::ERROR_PATH_NOT_FOUND, host::GetLastError());
}

TEST_F(HostFileSystem, FilesWithForeignBytesListCopyRenameRecycleAndDelete)
{
    const std::vector<std::string> hostNames = HostNamesWithForeignBytes();
    const auto hostFile = [&](const std::string& folder, const std::string& name) {
        return Drive.HostPath(folder) + "/" + name;
    };
    fs::create_directory(Drive.HostPath("src"));
    fs::create_directory(Drive.HostPath("dst"));
    for (const std::string& name : hostNames)
        std::ofstream(hostFile("src", name), std::ios::binary) << name;

    std::vector<host::FindData> entries;
    size_t leftOut = 1;
    ASSERT_TRUE(host::FindFiles(Drive.Path("src"), "*", entries, &leftOut));
    EXPECT_EQ(0u, leftOut);
    ASSERT_EQ(hostNames.size(), entries.size());
    for (const host::FindData& entry : entries) {
        const bool lineSafe = std::none_of(entry.Name.begin(), entry.Name.end(), [](char c) {
            return (c > 0 && c < 32) || std::string_view("\\:*?<>|\"").find(c) != std::string_view::npos;
        });
        EXPECT_TRUE(lineSafe) << entry.Name;
        EXPECT_TRUE(host::CopyFile(Drive.Path("src\\" + entry.Name), Drive.Path("dst\\" + entry.Name), true))
            << entry.Name << " " << host::GetLastError();
    }
    EXPECT_EQ(NamesIn("src"), NamesIn("dst"));
    for (const std::string& name : hostNames) {
        std::ifstream copy(hostFile("dst", name), std::ios::binary);
        EXPECT_EQ(name, std::string(std::istreambuf_iterator<char>(copy), std::istreambuf_iterator<char>()));
    }

    EXPECT_TRUE(host::MoveFile(Drive.Path("dst\\x\uF00Ay"), Drive.Path("dst\\renamed\uF00D"), false, false));
    EXPECT_TRUE(fs::exists(hostFile("dst", "renamed\r")));
    EXPECT_FALSE(fs::exists(hostFile("dst", "x\ny")));
    EXPECT_TRUE(host::DeleteFile(Drive.Path("dst\\x\uF03Ay")));
    EXPECT_FALSE(fs::exists(hostFile("dst", "x:y")));
    EXPECT_TRUE(host::MoveToTrash(Drive.Path("dst\\x\uF05Cy")));
    EXPECT_FALSE(fs::exists(hostFile("dst", "x\\y")));
    EXPECT_EQ(hostNames.size() - 2, NamesIn("dst").size());
}

TEST_F(HostFileSystem, NamesWithoutAWindowsFormAreLeftOutAndCounted)
{
    const std::string longestShown = std::string(85, ':') + "x";
    Drive.WriteFile("shown.txt", "");
    Drive.WriteFile("stand-in \uF03A already.txt", "");
    Drive.WriteFile(longestShown, "");
    Drive.WriteFile(longestShown + "x", "");

    std::vector<host::FindData> entries;
    size_t leftOut = 0;
    ASSERT_TRUE(host::FindFiles(Drive.Path(), "*", entries, &leftOut));
    EXPECT_EQ(2u, leftOut);
    std::vector<std::string> names;
    for (const host::FindData& entry : entries)
        names.push_back(entry.Name);
    std::sort(names.begin(), names.end());
    std::string longestWindowsName;
    for (int i = 0; i < 85; ++i)
        longestWindowsName += "\uF03A";
    longestWindowsName += "x";
    EXPECT_EQ((std::vector<std::string>{"shown.txt", longestWindowsName}), names);
    EXPECT_EQ(host::MaxPathBytes, Drive.Path(longestWindowsName).size());
    EXPECT_TRUE(host::GetFileData(Drive.Path(longestWindowsName)));

    ASSERT_TRUE(host::FindFiles(Drive.Path(), "*.txt", entries, &leftOut));
    EXPECT_EQ(1u, entries.size());
    EXPECT_EQ(1u, leftOut) << "only names the pattern matches count";
}

TEST_F(HostFileSystem, ABrokenLinkIsListedAndDoesNotFailTheListing)
{
    fs::create_symlink(Drive.HostPath("nowhere"), Drive.HostPath("broken"));
    Drive.WriteFile("plain.txt", "");
    std::vector<host::FindData> entries;
    ASSERT_TRUE(host::FindFiles(Drive.Path(), "*", entries));
    EXPECT_EQ(2u, entries.size());
}

TEST_F(HostFileSystem, AFailureAfterTheFirstEntryKeepsTheEntriesReadBeforeIt)
{
    for (const char* name : {"a", "b", "c"})
        Drive.WriteFile(name, "");
    std::vector<host::FindData> entries;
    host::InjectFault(host::HostCall::ListNext, host::ERROR_IO_DEVICE, 1);
    EXPECT_FALSE(host::FindFiles(Drive.Path(), "*", entries));
    EXPECT_EQ(host::ERROR_IO_DEVICE, host::GetLastError());
    EXPECT_EQ(2u, entries.size());
}

TEST_F(HostFileSystem, ReadOnlyIsTheOwnersWriteBit)
{
    Drive.WriteFile("a.txt", "");
    EXPECT_TRUE(host::SetFileAttributes(Drive.Path("a.txt"), host::FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(fs::perms::none, fs::status(Drive.HostPath("a.txt")).permissions() & fs::perms::all & ~fs::perms(0555));
    EXPECT_TRUE(host::GetFileAttributes(Drive.Path("a.txt")) & host::FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(host::SetFileAttributes(Drive.Path("a.txt"), host::FILE_ATTRIBUTE_NORMAL));
    EXPECT_FALSE(host::GetFileAttributes(Drive.Path("a.txt")) & host::FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(host::INVALID_FILE_ATTRIBUTES, host::GetFileAttributes(Drive.Path("missing")));
}

TEST_F(HostFileSystem, AttributesSetOnALinkLeaveTheLinkedFileAlone)
{
    Drive.WriteFile("read-only.txt", "");
    Drive.WriteFile("writable.txt", "");
    fs::permissions(Drive.HostPath("read-only.txt"), fs::perms(0444));
    fs::permissions(Drive.HostPath("writable.txt"), fs::perms(0644));
    fs::create_symlink(Drive.HostPath("read-only.txt"), Drive.HostPath("to-read-only"));
    fs::create_symlink(Drive.HostPath("writable.txt"), Drive.HostPath("to-writable"));
    EXPECT_TRUE(host::SetFileAttributes(Drive.Path("to-read-only"), host::FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(host::SetFileAttributes(Drive.Path("to-writable"), host::FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(fs::perms(0444), fs::status(Drive.HostPath("read-only.txt")).permissions());
    EXPECT_EQ(fs::perms(0644), fs::status(Drive.HostPath("writable.txt")).permissions());
}

TEST_F(HostFileSystem, CopyReportsProgressAndKeepsTimesAndPermissions)
{
    const std::string content(9 * 1024 * 1024 + 7, 'q');
    Drive.WriteFile("big.bin", content);
    fs::permissions(Drive.HostPath("big.bin"), fs::perms(0640));
    const timespec times[2] = {{1600000000, 0}, {1700000000, 0}};
    ASSERT_EQ(0, utimensat(AT_FDCWD, Drive.HostPath("big.bin").c_str(), times, 0));
    std::vector<std::pair<uint64_t, uint64_t>> calls;
    ASSERT_TRUE(
        host::CopyFile(Drive.Path("big.bin"), Drive.Path("copy.bin"), true, [&](uint64_t copied, uint64_t total) {
            calls.emplace_back(copied, total);
            return true;
        }));
    EXPECT_EQ(content, Drive.ReadFile("copy.bin"));
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(std::make_pair(uint64_t{content.size()}, uint64_t{content.size()}), calls.back());
    EXPECT_EQ(fs::perms(0640), fs::status(Drive.HostPath("copy.bin")).permissions());
    EXPECT_EQ(fs::last_write_time(Drive.HostPath("big.bin")), fs::last_write_time(Drive.HostPath("copy.bin")));
}

TEST_F(HostFileSystem, FailedOrCancelledCopiesLeaveTheTargetAsItWas)
{
    Drive.WriteFile("source.bin", std::string(6 * 1024 * 1024, 's'));
    Drive.WriteFile("target.bin", "old target");
    struct Row
    {
        const char* Name;
        std::function<void()> Arrange;
        host::CopyProgress Progress;
        uint32_t Error;
    };
    const Row rows[] = {
        {"cancel", [] {}, [](uint64_t, uint64_t) { return false; }, host::ERROR_REQUEST_ABORTED},
        {"disk full",
         [] { host::InjectFault(host::HostCall::Write, host::ERROR_DISK_FULL, 1); },
         {},
         host::ERROR_DISK_FULL},
        {"read-only target",
         [&] { fs::permissions(Drive.HostPath("target.bin"), fs::perms(0444)); },
         {},
         host::ERROR_ACCESS_DENIED},
    };
    for (const Row& row : rows) {
        row.Arrange();
        EXPECT_FALSE(host::CopyFile(Drive.Path("source.bin"), Drive.Path("target.bin"), false, row.Progress))
            << row.Name;
        EXPECT_EQ(row.Error, host::GetLastError()) << row.Name;
        EXPECT_EQ("old target", Drive.ReadFile("target.bin")) << row.Name;
        EXPECT_EQ((std::vector<std::string>{"source.bin", "target.bin"}), NamesIn()) << row.Name;
    }
    // A new target is written beside under a temporary name: while the copy runs, and
    // after it failed, nothing stands under the target's name, so a crash cannot leave
    // part of the file there either.
    for (const bool failIfExists : {false, true})
        for (const Row& row : rows) {
            if (std::string(row.Name) == "read-only target")
                continue;
            row.Arrange();
            const host::CopyProgress watched = [&](uint64_t copied, uint64_t total) {
                EXPECT_FALSE(Drive.Exists("new.bin")) << row.Name << failIfExists;
                return row.Progress ? row.Progress(copied, total) : true;
            };
            EXPECT_FALSE(host::CopyFile(Drive.Path("source.bin"), Drive.Path("new.bin"), failIfExists, watched))
                << row.Name << failIfExists;
            EXPECT_EQ(row.Error, host::GetLastError()) << row.Name << failIfExists;
            EXPECT_EQ((std::vector<std::string>{"source.bin", "target.bin"}), NamesIn())
                << row.Name << failIfExists << ": no partial file under the target's name";
        }
}

TEST_F(HostFileSystem, CopyRefusesExistingTargetsItselfAndSpecialFiles)
{
    Drive.WriteFile("a.txt", "a");
    Drive.WriteFile("b.txt", "b");
    fs::create_hard_link(Drive.HostPath("a.txt"), Drive.HostPath("a-link.txt"));
    ASSERT_EQ(0, mkfifo(Drive.HostPath("pipe").c_str(), 0600));

    EXPECT_FALSE(host::CopyFile(Drive.Path("a.txt"), Drive.Path("b.txt"), true));
    EXPECT_EQ(host::ERROR_FILE_EXISTS, host::GetLastError());
    EXPECT_EQ("b", Drive.ReadFile("b.txt"));
    for (const char* sameFile : {"a.txt", "a-link.txt"}) {
        EXPECT_FALSE(host::CopyFile(Drive.Path("a.txt"), Drive.Path(sameFile), false)) << sameFile;
        EXPECT_EQ("a", Drive.ReadFile("a.txt"));
    }
    for (const bool failIfExists : {false, true}) {
        EXPECT_FALSE(host::CopyFile(Drive.Path("pipe"), Drive.Path("pipe-copy"), failIfExists));
        EXPECT_EQ(host::ERROR_ACCESS_DENIED, host::GetLastError());
        EXPECT_FALSE(Drive.Exists("pipe-copy"));
    }
    // The exclusive create never follows a link at the target, not even a dangling one.
    fs::create_symlink(Drive.HostPath("elsewhere.txt"), Drive.HostPath("dangling"));
    EXPECT_FALSE(host::CopyFile(Drive.Path("a.txt"), Drive.Path("dangling"), true));
    EXPECT_EQ(host::ERROR_FILE_EXISTS, host::GetLastError());
    EXPECT_FALSE(Drive.Exists("elsewhere.txt"));
    fs::remove(Drive.HostPath("dangling"));
    EXPECT_TRUE(host::CopyFile(Drive.Path("a.txt"), Drive.Path("b.txt"), false));
    EXPECT_EQ("a", Drive.ReadFile("b.txt"));
}

TEST_F(HostFileSystem, MoveWithinOneFileSystemRenames)
{
    Drive.WriteFile("a.txt", "a");
    Drive.WriteFile("b.txt", "b");
    fs::create_directories(Drive.HostPath("dir/sub"));

    EXPECT_FALSE(host::MoveFile(Drive.Path("a.txt"), Drive.Path("b.txt"), false, true));
    EXPECT_EQ(host::ERROR_ALREADY_EXISTS, host::GetLastError());
    EXPECT_EQ("a", Drive.ReadFile("a.txt"));
    EXPECT_TRUE(host::MoveFile(Drive.Path("a.txt"), Drive.Path("b.txt"), true, true));
    EXPECT_EQ((std::vector<std::string>{"b.txt", "dir"}), NamesIn());
    EXPECT_EQ("a", Drive.ReadFile("b.txt"));

    EXPECT_FALSE(host::MoveFile(Drive.Path("dir"), Drive.Path("dir\\sub\\inside"), false, true));
    EXPECT_EQ(host::ERROR_SHARING_VIOLATION, host::GetLastError());
    EXPECT_FALSE(host::MoveFile(Drive.Path("b.txt"), Drive.Path("dir"), true, true));
    EXPECT_EQ(host::ERROR_ACCESS_DENIED, host::GetLastError());
    EXPECT_TRUE(host::MoveFile(Drive.Path("dir"), Drive.Path("moved"), false, false));
    EXPECT_TRUE(Drive.Exists("moved/sub"));
    EXPECT_TRUE(host::MoveFile(Drive.Path("b.txt"), Drive.Path("B.TXT"), false, false));
    EXPECT_EQ("a", Drive.ReadFile("B.TXT"));

    fs::create_hard_link(Drive.HostPath("B.TXT"), Drive.HostPath("twin.txt"));
    EXPECT_TRUE(host::MoveFile(Drive.Path("twin.txt"), Drive.Path("B.TXT"), true, true));
    EXPECT_EQ((std::vector<std::string>{"B.TXT", "moved"}), NamesIn());
}

TEST_F(HostFileSystem, MoveAcrossFileSystemsCopiesFilesOnly)
{
    TTempDrive other('U', "/dev/shm");
    struct stat here = {}, there = {};
    stat(Drive.HostPath().c_str(), &here);
    stat(other.HostPath().c_str(), &there);
    if (here.st_dev == there.st_dev)
        GTEST_SKIP() << "/dev/shm is not a file system of its own here";

    Drive.WriteFile("a.txt", "moving");
    fs::create_directory(Drive.HostPath("dir"));
    EXPECT_FALSE(host::MoveFile(Drive.Path("a.txt"), other.Path("a.txt"), false, false));
    EXPECT_EQ(host::ERROR_NOT_SAME_DEVICE, host::GetLastError());
    EXPECT_FALSE(host::MoveFile(Drive.Path("dir"), other.Path("dir"), false, true));
    EXPECT_EQ(host::ERROR_NOT_SAME_DEVICE, host::GetLastError());

    host::InjectFault(host::HostCall::Write, host::ERROR_DISK_FULL);
    EXPECT_FALSE(host::MoveFile(Drive.Path("a.txt"), other.Path("a.txt"), false, true));
    EXPECT_EQ("moving", Drive.ReadFile("a.txt")) << "a failed move keeps its source";
    EXPECT_FALSE(other.Exists("a.txt"));

    int calls = 0;
    EXPECT_TRUE(host::MoveFile(Drive.Path("a.txt"), other.Path("a.txt"), false, true, [&](uint64_t, uint64_t) {
        ++calls;
        return true;
    }));
    EXPECT_EQ(1, calls);
    EXPECT_FALSE(Drive.Exists("a.txt"));
    EXPECT_EQ("moving", other.ReadFile("a.txt"));
}

TEST_F(HostFileSystem, AMoveAcrossFileSystemsWhoseSourceStaysChangesNothing)
{
    TTempDrive other('U', "/dev/shm");
    if (OnOneFileSystem(Drive.HostPath(), other.HostPath()))
        GTEST_SKIP() << "/dev/shm is not a file system of its own here";
    Drive.WriteFile("a.txt", "moving");
    fs::create_symlink("nowhere", Drive.HostPath("link"));
    other.WriteFile("old.txt", "old");
    struct Row
    {
        const char* From;
        const char* To;
        bool Replace;
    };
    const Row rows[] = {{"a.txt", "new.txt", false}, {"a.txt", "old.txt", true}, {"link", "old.txt", true}};
    for (const Row& row : rows) {
        host::InjectFault(host::HostCall::Delete, host::ERROR_ACCESS_DENIED);
        EXPECT_FALSE(host::MoveFile(Drive.Path(row.From), other.Path(row.To), row.Replace, true)) << row.From;
        EXPECT_EQ(host::ERROR_ACCESS_DENIED, host::GetLastError()) << row.From;
        EXPECT_TRUE(fs::exists(fs::symlink_status(Drive.HostPath(row.From)))) << row.From;
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(other.HostPath()))
            names.push_back(entry.path().filename().string());
        EXPECT_EQ(std::vector<std::string>{"old.txt"}, names) << row.From;
        EXPECT_EQ("old", other.ReadFile("old.txt")) << row.From;
    }
    EXPECT_EQ("moving", Drive.ReadFile("a.txt"));
}

TEST_F(HostFileSystem, DeletionRefusesFoldersAndReadOnlyFilesAndNeverFollowsLinks)
{
    Drive.WriteFile("keep/precious.txt", "precious");
    Drive.WriteFile("ro.txt", "");
    fs::permissions(Drive.HostPath("ro.txt"), fs::perms(0444));
    fs::create_directory_symlink(Drive.HostPath("keep"), Drive.HostPath("link"));

    EXPECT_FALSE(host::DeleteFile(Drive.Path("keep")));
    EXPECT_EQ(host::ERROR_ACCESS_DENIED, host::GetLastError());
    EXPECT_FALSE(host::DeleteFile(Drive.Path("ro.txt")));
    EXPECT_EQ(host::ERROR_ACCESS_DENIED, host::GetLastError());
    EXPECT_FALSE(host::RemoveDirectory(Drive.Path("keep")));
    EXPECT_EQ(host::ERROR_DIR_NOT_EMPTY, host::GetLastError());
    EXPECT_TRUE(host::RemoveDirectory(Drive.Path("link")));
    EXPECT_EQ("precious", Drive.ReadFile("keep/precious.txt"));
    EXPECT_FALSE(Drive.Exists("link"));
}

TEST_F(HostFileSystem, FoldersAndHardLinks)
{
    fs::create_directory(Drive.HostPath("template"));
    fs::permissions(Drive.HostPath("template"), fs::perms(0750));
    EXPECT_TRUE(host::CreateDirectory(Drive.Path("made"), Drive.Path("template")));
    EXPECT_EQ(fs::perms(0750), fs::status(Drive.HostPath("made")).permissions());
    EXPECT_FALSE(host::CreateDirectory(Drive.Path("made")));
    EXPECT_EQ(host::ERROR_ALREADY_EXISTS, host::GetLastError());

    Drive.WriteFile("a.txt", "a");
    EXPECT_EQ(1u, host::GetHardLinkCount(Drive.Path("a.txt")));
    EXPECT_TRUE(host::CreateHardLink(Drive.Path("b.txt"), Drive.Path("a.txt")));
    EXPECT_EQ(2u, host::GetHardLinkCount(Drive.Path("b.txt")));
    EXPECT_FALSE(host::CreateHardLink(Drive.Path("b.txt"), Drive.Path("a.txt")));
    EXPECT_EQ(host::ERROR_ALREADY_EXISTS, host::GetLastError());
    EXPECT_EQ(0u, host::GetHardLinkCount(Drive.Path("missing")));
}

TEST_F(HostFileSystem, TrashKeepsTheFileAndWhereItCameFrom)
{
    Drive.WriteFile("old.txt", "recycled");
    ASSERT_TRUE(host::MoveToTrash(Drive.Path("old.txt")));
    EXPECT_FALSE(Drive.Exists("old.txt"));
    const std::string trash = std::string(getenv("XDG_DATA_HOME")) + "/Trash";
    bool found = false;
    for (const auto& entry : fs::directory_iterator(trash + "/info")) {
        std::ifstream info(entry.path());
        const std::string text((std::istreambuf_iterator<char>(info)), std::istreambuf_iterator<char>());
        if (text.find("Path=" + Drive.HostPath("old.txt")) == std::string::npos)
            continue;
        found = true;
        const fs::path kept = fs::path(trash) / "files" / entry.path().stem();
        std::ifstream file(kept);
        EXPECT_EQ("recycled", std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>()));
    }
    EXPECT_TRUE(found);
    EXPECT_FALSE(host::MoveToTrash(Drive.Path("old.txt")));
    EXPECT_EQ(host::ERROR_FILE_NOT_FOUND, host::GetLastError());
}

TEST_F(HostFileSystem, ALinkIsRecycledAsALinkUnderAFreeName)
{
    const std::string trash = std::string(getenv("XDG_DATA_HOME")) + "/Trash";
    TTempDrive shm('U', "/dev/shm");
    Drive.WriteFile("kept.txt", "kept");
    fs::create_directory(Drive.HostPath("sub"));
    struct Row
    {
        std::string HostLink;
        std::string Points;
        std::string Path;
    };
    // The same name three times: each recycled link needs a name of its own in the trash.
    std::vector<Row> rows = {
        {Drive.HostPath("link"), Drive.HostPath("nowhere"), Drive.Path("link")},
        {Drive.HostPath("sub/link"), Drive.HostPath("kept.txt"), Drive.Path("sub\\link")},
    };
    if (!OnOneFileSystem(shm.HostPath(), trash.substr(0, trash.rfind('/'))))
        rows.push_back({shm.HostPath("link"), "relative/nowhere", shm.Path("link")});
    for (const Row& row : rows) {
        fs::create_symlink(row.Points, row.HostLink);
        ASSERT_TRUE(host::MoveToTrash(row.Path)) << row.HostLink << " " << host::GetLastError();
        EXPECT_FALSE(fs::is_symlink(fs::symlink_status(row.HostLink))) << row.HostLink;
    }
    EXPECT_EQ("kept", Drive.ReadFile("kept.txt")) << "the linked file stays where it is";

    std::map<std::string, std::string> pointsByPath;
    for (const auto& entry : fs::directory_iterator(trash + "/info")) {
        const std::string text = ReadHostFile(entry.path());
        const size_t path = text.find("\nPath=");
        ASSERT_EQ(0u, text.find("[Trash Info]\n")) << text;
        ASSERT_NE(std::string::npos, path) << text;
        const std::string original = text.substr(path + 6, text.find('\n', path + 1) - path - 6);
        const fs::path kept = fs::path(trash) / "files" / entry.path().stem();
        if (fs::is_symlink(fs::symlink_status(kept)))
            pointsByPath[original] = fs::read_symlink(kept).string();
        const size_t date = text.find("\nDeletionDate=");
        ASSERT_NE(std::string::npos, date) << text;
        EXPECT_EQ(19u, text.find('\n', date + 1) - date - 14) << "YYYY-MM-DDThh:mm:ss: " << text;
    }
    for (const Row& row : rows)
        EXPECT_EQ(row.Points, pointsByPath[row.HostLink]) << row.HostLink;
}

TEST_F(HostFileSystem, APathInTheTrashIsPercentEncoded)
{
    const std::string trash = std::string(getenv("XDG_DATA_HOME")) + "/Trash";
    const std::string name = "odd name%\xc3\xa9";
    fs::create_symlink("nowhere", Drive.HostPath(name));
    ASSERT_TRUE(host::MoveToTrash(Drive.Path(name)));
    bool found = false;
    for (const auto& entry : fs::directory_iterator(trash + "/info"))
        found = found || ReadHostFile(entry.path()).find("/odd%20name%25%C3%A9\n") != std::string::npos;
    EXPECT_TRUE(found);
}

// The desktop's own tools restore a recycled item from its information file, whose path
// is escaped as in URLs; a "%" or a line break taken raw would name another file.
TEST_F(HostFileSystem, EveryRecycledItemNamesItsOwnPathInTheTrash)
{
    const std::string trash = std::string(getenv("XDG_DATA_HOME")) + "/Trash";
    struct Row
    {
        std::string HostName;
        std::string WindowsName;
        bool Link;
        std::string EscapedName;
    };
    for (const Row& row : {Row{"pct%41.txt", "pct%41.txt", false, "pct%2541.txt"},
                           Row{"line\nfeed.txt", "line\uF00Afeed.txt", false, "line%0Afeed.txt"},
                           Row{"pct%42 link", "pct%42 link", true, "pct%2542%20link"},
                           Row{"line\nlink", "line\uF00Alink", true, "line%0Alink"}}) {
        if (row.Link)
            fs::create_symlink("nowhere", Drive.HostPath(row.HostName));
        else
            Drive.WriteFile(row.HostName, "recycled");
        ASSERT_TRUE(host::MoveToTrash(Drive.Path(row.WindowsName))) << row.EscapedName;
        std::vector<std::string> texts;
        for (const auto& entry : fs::directory_iterator(trash + "/info"))
            if (entry.path().stem() == row.HostName || entry.path().stem().string().rfind(row.HostName + ".", 0) == 0)
                texts.push_back(ReadHostFile(entry.path()));
        ASSERT_EQ(1u, texts.size()) << row.EscapedName;
        const std::string& text = texts.front();
        EXPECT_EQ(0u, text.find("[Trash Info]\n")) << text;
        EXPECT_NE(std::string::npos, text.find("\nDeletionDate=")) << text;
        EXPECT_EQ(3, std::count(text.begin(), text.end(), '\n')) << text;
        const size_t path = text.find("\nPath=") + 6;
        ASSERT_LT(path, text.size()) << text;
        const std::string written = text.substr(path, text.find('\n', path) - path);
        EXPECT_EQ(Drive.HostPath() + "/" + row.EscapedName, written);
        EXPECT_EQ(Drive.HostPath(row.HostName),
                  QUrl::fromPercentEncoding(QByteArray::fromStdString(written)).toStdString())
            << "the path comes back by the URL rules";
    }
}

TEST_F(HostFileSystem, ALinkMovesToAnotherFileSystemAsTheSameLink)
{
    TTempDrive other('U', "/dev/shm");
    if (OnOneFileSystem(Drive.HostPath(), other.HostPath()))
        GTEST_SKIP() << "/dev/shm is not a file system of its own here";
    Drive.WriteFile("a.txt", "a");
    other.WriteFile("taken", "taken");
    fs::create_symlink(Drive.HostPath("a.txt"), Drive.HostPath("to-file"));
    fs::create_symlink("../nowhere", Drive.HostPath("dangling"));

    EXPECT_FALSE(host::MoveFile(Drive.Path("to-file"), other.Path("taken"), false, true));
    EXPECT_EQ(host::ERROR_ALREADY_EXISTS, host::GetLastError());
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(Drive.HostPath("to-file"))));
    EXPECT_EQ("taken", other.ReadFile("taken"));

    struct Row
    {
        const char* From;
        const char* To;
        bool Replace;
        const char* Points;
    };
    const Row rows[] = {
        {"to-file", "to-file", false, nullptr},
        {"dangling", "taken", true, "../nowhere"},
    };
    for (const Row& row : rows) {
        const std::string points = row.Points != nullptr ? row.Points : Drive.HostPath("a.txt");
        ASSERT_TRUE(host::MoveFile(Drive.Path(row.From), other.Path(row.To), row.Replace, true)) << row.From;
        EXPECT_FALSE(fs::exists(fs::symlink_status(Drive.HostPath(row.From)))) << row.From;
        ASSERT_TRUE(fs::is_symlink(fs::symlink_status(other.HostPath(row.To)))) << row.From;
        EXPECT_EQ(points, fs::read_symlink(other.HostPath(row.To)).string()) << row.From;
    }
    EXPECT_EQ("a", Drive.ReadFile("a.txt"));
    EXPECT_EQ((std::vector<std::string>{"taken", "to-file"}), [&] {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(other.HostPath()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }()) << "no temporary link is left behind";
}

TEST_F(HostFileSystem, ALinkIsCopiedAsALinkToTheSameTarget)
{
    Drive.WriteFile("d/a.txt", "a");
    Drive.WriteFile("taken", "taken");
    fs::create_directory_symlink("d", Drive.HostPath("to-folder"));
    fs::create_symlink("nowhere", Drive.HostPath("dangling"));

    EXPECT_FALSE(host::CopySymbolicLink(Drive.Path("to-folder"), Drive.Path("taken"), true));
    EXPECT_EQ(host::ERROR_FILE_EXISTS, host::GetLastError());
    EXPECT_EQ("taken", Drive.ReadFile("taken"));
    EXPECT_FALSE(host::CopySymbolicLink(Drive.Path("taken"), Drive.Path("new"), false));
    EXPECT_EQ(host::ERROR_INVALID_PARAMETER, host::GetLastError());

    ASSERT_TRUE(host::CopySymbolicLink(Drive.Path("to-folder"), Drive.Path("d\\copy"), true));
    ASSERT_TRUE(host::CopySymbolicLink(Drive.Path("dangling"), Drive.Path("taken"), false));
    EXPECT_EQ("d", fs::read_symlink(Drive.HostPath("d/copy")).string());
    EXPECT_EQ("nowhere", fs::read_symlink(Drive.HostPath("taken")).string());
    EXPECT_EQ((std::vector<std::string>{"a.txt", "copy"}), NamesIn("d")) << "no temporary link is left behind";
}

TEST_F(HostFileSystem, SettingTheLastWriteTimeLeavesTheAccessTimeAndReachesThroughALink)
{
    Drive.WriteFile("a.txt", "a");
    fs::create_symlink("a.txt", Drive.HostPath("link"));
    const timespec times[2] = {{1500000000, 0}, {1500000000, 0}};
    ASSERT_EQ(0, utimensat(AT_FDCWD, Drive.HostPath("a.txt").c_str(), times, 0));
    const host::FileTime written = host::FileTimeFromUnix(1600000000, 123456700);
    ASSERT_TRUE(host::SetLastWriteTime(Drive.Path("link"), written));
    const std::optional<host::FindData> data = host::GetFileData(Drive.Path("a.txt"));
    ASSERT_TRUE(data);
    EXPECT_EQ(written, data->LastWriteTime);
    EXPECT_EQ(host::FileTimeFromUnix(1500000000, 0), data->LastAccessTime);

    EXPECT_FALSE(host::SetLastWriteTime(Drive.Path("missing.txt"), written));
    EXPECT_EQ(host::ERROR_FILE_NOT_FOUND, host::GetLastError());
}

TEST(HostFileTimes, ConversionsFromTheUnixClock)
{
    EXPECT_EQ(116444736000000000u, host::FileTimeFromUnix(0, 0));
    EXPECT_EQ(116444736000000001u, host::FileTimeFromUnix(0, 100));
    EXPECT_EQ(0u, host::FileTimeFromUnix(-11644473601, 0));
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(host::FileTimeFromUnix(1700000000, 0), host::FileTimeToLocal(host::FileTimeFromUnix(1700000000, 0)));
}

} // namespace
