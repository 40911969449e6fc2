#include "host/FileStreams.h"
#include "host/FaultInjection.h"
#include "host/File.h"
#include "host/FileSystem.h"
#include "host/LastError.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace fs = std::filesystem;

namespace {

// The user attributes of a host file, read through the file system itself.
std::map<std::string, std::string> UserAttributes(const std::string& hostPath)
{
    std::map<std::string, std::string> attributes;
    std::string names(static_cast<size_t>(std::max<ssize_t>(listxattr(hostPath.c_str(), nullptr, 0), 0)), '\0');
    names.resize(static_cast<size_t>(std::max<ssize_t>(listxattr(hostPath.c_str(), names.data(), names.size()), 0)));
    for (size_t start = 0; start < names.size(); start = names.find('\0', start) + 1) {
        const std::string name = names.c_str() + start;
        if (name.rfind("user.", 0) != 0)
            continue;
        std::string value(static_cast<size_t>(getxattr(hostPath.c_str(), name.c_str(), nullptr, 0)), '\0');
        getxattr(hostPath.c_str(), name.c_str(), value.data(), value.size());
        attributes[name] = value;
    }
    return attributes;
}

bool SetAttribute(const std::string& hostPath, const std::string& name, const std::string& value)
{
    return setxattr(hostPath.c_str(), name.c_str(), value.data(), value.size(), 0) == 0;
}

class HostFileStreams : public testing::Test
{
protected:
    void SetUp() override
    {
        const std::string reason = StreamsUnsupportedReason(Drive.HostPath());
        if (!reason.empty())
            GTEST_SKIP() << reason;
        Drive.WriteFile("a.txt", "content");
        ASSERT_TRUE(SetAttribute(Drive.HostPath("a.txt"), "user.Description", "comment"));
        // Attributes of other programs go along too, even those no stream path can name.
        ASSERT_TRUE(SetAttribute(Drive.HostPath("a.txt"), "user.xdg:origin", "elsewhere"));
        fs::permissions(Drive.HostPath("a.txt"), fs::perms(0444));
    }

    const std::map<std::string, std::string> Expected = {{"user.Description", "comment"},
                                                         {"user.xdg:origin", "elsewhere"}};
    TTempDrive Drive{'T'};
};

TEST_F(HostFileStreams, AnOpenFileListsTheSameStreamsAsItsPath)
{
    std::vector<std::string> byPath;
    ASSERT_TRUE(host::ListFileStreams(Drive.Path("a.txt"), byPath));
    host::File file;
    ASSERT_TRUE(file.OpenToRead(Drive.Path("a.txt")));
    std::vector<std::string> byDescriptor = {"stale"};
    ASSERT_TRUE(host::ListFileStreams(file.NativeHandle(), byDescriptor));
    EXPECT_EQ(std::vector<std::string>{"Description"}, byDescriptor);
    EXPECT_EQ(byPath, byDescriptor);
    host::InjectFault(host::HostCall::Streams, host::ERROR_ACCESS_DENIED);
    EXPECT_FALSE(host::ListFileStreams(file.NativeHandle(), byDescriptor));
    EXPECT_EQ(host::ERROR_ACCESS_DENIED, host::GetLastError());
}

TEST_F(HostFileStreams, CopyMoveAndRenameCarryTheStreams)
{
    ASSERT_TRUE(host::CopyFile(Drive.Path("a.txt"), Drive.Path("copy.txt"), true));
    EXPECT_EQ(Expected, UserAttributes(Drive.HostPath("copy.txt")));
    EXPECT_EQ(Expected, UserAttributes(Drive.HostPath("a.txt")));

    ASSERT_TRUE(host::MoveFile(Drive.Path("copy.txt"), Drive.Path("renamed.txt"), false, false));
    EXPECT_EQ(Expected, UserAttributes(Drive.HostPath("renamed.txt")));

    TTempDrive other('U', "/dev/shm");
    const std::string reason = StreamsUnsupportedReason(other.HostPath());
    if (!reason.empty())
        GTEST_SKIP() << "a move across file systems needs a second one with streams: " << reason;
    ASSERT_TRUE(host::MoveFile(Drive.Path("renamed.txt"), other.Path("moved.txt"), false, true));
    EXPECT_EQ(Expected, UserAttributes(other.HostPath("moved.txt")));
    EXPECT_FALSE(Drive.Exists("renamed.txt"));
}

TEST_F(HostFileStreams, StreamsThatCannotBeCarriedFailTheCopyAndKeepTheSource)
{
    host::InjectFault(host::HostCall::Streams, host::ERROR_DISK_FULL);
    EXPECT_FALSE(host::CopyFile(Drive.Path("a.txt"), Drive.Path("copy.txt"), true));
    EXPECT_EQ(host::ERROR_DISK_FULL, host::GetLastError());
    EXPECT_EQ((std::vector<fs::path>{Drive.HostPath("a.txt")}),
              (std::vector<fs::path>{fs::directory_iterator(Drive.HostPath()), fs::directory_iterator()}));

    // A stream one file system takes and another cannot: a move between them keeps it.
    TTempDrive roomy('U', "/dev/shm");
    roomy.WriteFile("big.txt", "content");
    const std::string big(20000, 'b');
    if (!SetAttribute(roomy.HostPath("big.txt"), "user.big", big))
        GTEST_SKIP() << "/dev/shm does not take a stream of 20000 bytes";
    Drive.WriteFile("probe.txt", "");
    if (SetAttribute(Drive.HostPath("probe.txt"), "user.big", big))
        GTEST_SKIP() << "the test folder's file system takes a stream of 20000 bytes";
    EXPECT_FALSE(host::MoveFile(roomy.Path("big.txt"), Drive.Path("big.txt"), false, true));
    EXPECT_EQ(host::ERROR_FILE_TOO_LARGE, host::GetLastError());
    EXPECT_FALSE(Drive.Exists("big.txt"));
    EXPECT_EQ(big, UserAttributes(roomy.HostPath("big.txt"))["user.big"]);
}

TEST_F(HostFileStreams, ATargetWithoutStreamsRefusesTheCopyUnlessTheStreamsMayGo)
{
    TTempDrive other('U', "/dev/shm");
    struct stat here = {}, there = {};
    stat(Drive.HostPath().c_str(), &here);
    stat(other.HostPath().c_str(), &there);
    const bool crossing = here.st_dev != there.st_dev;
    struct Row
    {
        const char* Name;
        bool Move;
        host::UnheldStreams Unheld;
    };
    const Row rows[] = {
        {"copy refused", false, host::UnheldStreams::Refuse},
        {"copy without streams", false, host::UnheldStreams::Drop},
        {"move refused", true, host::UnheldStreams::Refuse},
        {"move without streams", true, host::UnheldStreams::Drop},
    };
    for (const Row& row : rows) {
        if (row.Move && !crossing)
            continue;
        const std::string target = std::string(row.Name) + ".txt";
        // A file system that holds no streams, as a tmpfs or a FAT stick may be.
        host::InjectFault(host::HostCall::CopyStream, host::ERROR_NOT_SUPPORTED);
        const bool done = row.Move
                              ? host::MoveFile(Drive.Path("a.txt"), other.Path(target), false, true, {}, row.Unheld)
                              : host::CopyFile(Drive.Path("a.txt"), other.Path(target), true, {}, row.Unheld);
        host::ClearFaults();
        if (row.Unheld == host::UnheldStreams::Refuse) {
            EXPECT_FALSE(done) << row.Name;
            EXPECT_EQ(host::ERROR_NOT_SUPPORTED, host::GetLastError()) << row.Name;
            EXPECT_FALSE(other.Exists(target)) << row.Name;
        } else {
            EXPECT_TRUE(done) << row.Name;
            EXPECT_EQ("content", other.ReadFile(target)) << row.Name;
            EXPECT_TRUE(UserAttributes(other.HostPath(target)).empty()) << row.Name;
        }
        EXPECT_EQ(row.Move && done, !Drive.Exists("a.txt")) << row.Name;
        if (Drive.Exists("a.txt")) {
            EXPECT_EQ(Expected, UserAttributes(Drive.HostPath("a.txt"))) << row.Name;
        }
    }
}

TEST_F(HostFileStreams, NewMainContentKeepsTheFilesOwnerPermissionsAndEveryAttribute)
{
    const std::string host = Drive.HostPath("a.txt");
    fs::permissions(host, fs::perms(0640));
    // Only a privileged process may give a file away; elsewhere the owner is already ours.
    const bool givenAway = chown(host.c_str(), 1234, 5678) == 0;
    ASSERT_TRUE(host::WriteFileStream(Drive.Path("a.txt"), "", "new content"));
    EXPECT_EQ("new content", Drive.ReadFile("a.txt"));
    EXPECT_EQ(Expected, UserAttributes(host));
    struct stat info = {};
    ASSERT_EQ(0, stat(host.c_str(), &info));
    EXPECT_EQ(0640u, info.st_mode & 07777);
    if (givenAway) {
        EXPECT_EQ(1234u, info.st_uid);
        EXPECT_EQ(5678u, info.st_gid);
    }

    // Any failure on the way leaves the old file whole.
    for (const host::HostCall call : {host::HostCall::Write, host::HostCall::Rename, host::HostCall::Streams}) {
        host::InjectFault(call, host::ERROR_DISK_FULL, call == host::HostCall::Streams ? 1 : 0);
        EXPECT_FALSE(host::WriteFileStream(Drive.Path("a.txt"), "", "lost?"));
        host::ClearFaults();
        EXPECT_EQ("new content", Drive.ReadFile("a.txt"));
        EXPECT_EQ(Expected, UserAttributes(host));
    }
    EXPECT_EQ(1, std::distance(fs::directory_iterator(Drive.HostPath()), fs::directory_iterator()));

    // A read-only file keeps its content.
    fs::permissions(host, fs::perms(0444));
    EXPECT_FALSE(host::WriteFileStream(Drive.Path("a.txt"), "", "refused"));
    EXPECT_EQ(host::ERROR_ACCESS_DENIED, host::GetLastError());
    EXPECT_EQ("new content", Drive.ReadFile("a.txt"));
}

TEST_F(HostFileStreams, NewMainContentOfAFileTheUserDoesNotOwnKeepsOwnerGroupAndEveryAttribute)
{
    const std::string host = Drive.HostPath("a.txt");
    fs::permissions(host, fs::perms(0660));
    ASSERT_EQ(0, chown(host.c_str(), 1234, 5678));
    // Tests run as root: the refusal a group member meets is injected.
    host::InjectFault(host::HostCall::SetOwner, host::ERROR_ACCESS_DENIED);
    ASSERT_TRUE(host::WriteFileStream(Drive.Path("a.txt"), "", "new content"));
    EXPECT_EQ("new content", Drive.ReadFile("a.txt"));
    EXPECT_EQ(Expected, UserAttributes(host));
    struct stat info = {};
    ASSERT_EQ(0, stat(host.c_str(), &info));
    EXPECT_EQ(1234u, info.st_uid);
    EXPECT_EQ(5678u, info.st_gid);
    EXPECT_EQ(0660u, info.st_mode & 07777);
    EXPECT_EQ(1, std::distance(fs::directory_iterator(Drive.HostPath()), fs::directory_iterator()));
}

TEST_F(HostFileStreams, NewMainContentKeepsTheFilesAccessList)
{
    const std::string host = Drive.HostPath("a.txt");
    fs::permissions(host, fs::perms(0660));
    // The owning group may do nothing; one other user may read and write, so the mode's
    // group bits show the list's mask, rw.
    const uint32_t version = 2;
    struct Entry
    {
        uint16_t Tag, Permissions;
        uint32_t Id;
    };
    const std::vector<Entry> entries = {{0x01, 6, ~0u}, {0x02, 6, 1234}, {0x04, 0, ~0u}, {0x10, 6, ~0u}, {0x20, 0, ~0u}};
    std::string list(reinterpret_cast<const char*>(&version), sizeof version);
    for (const Entry& entry : entries)
        list.append(reinterpret_cast<const char*>(&entry), sizeof entry);
    if (!SetAttribute(host, "system.posix_acl_access", list))
        GTEST_SKIP() << "no access lists here: " << std::strerror(errno);

    ASSERT_TRUE(host::WriteFileStream(Drive.Path("a.txt"), "", "new content"));
    std::string kept(list.size() + 64, '\0');
    kept.resize(static_cast<size_t>(
        std::max<ssize_t>(getxattr(host.c_str(), "system.posix_acl_access", kept.data(), kept.size()), 0)));
    EXPECT_EQ(list, kept);
    EXPECT_EQ("new content", Drive.ReadFile("a.txt"));
}

} // namespace
