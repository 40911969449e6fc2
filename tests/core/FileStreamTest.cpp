#include "core/files/FileStream.h"
#include "core/errors/Error.h"

#include "support/TestSupport.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <sys/xattr.h>

namespace {

// Streams are set and read back through the file system itself, so a test never takes
// the code under test as its own witness.
class FileStreams : public testing::Test
{
protected:
    void SetUp() override
    {
        const std::string reason = StreamsUnsupportedReason(Drive.HostPath());
        if (!reason.empty())
            GTEST_SKIP() << reason;
        Drive.WriteFile("a.txt", "main content");
    }

    void SetStream(const std::string& relative, const std::string& name, const std::string& value) const
    {
        ASSERT_EQ(0, setxattr(Drive.HostPath(relative).c_str(), name.c_str(), value.data(), value.size(), 0)) << name;
    }

    std::optional<std::string> StreamOf(const std::string& relative, const std::string& stream) const
    {
        const std::string path = Drive.HostPath(relative);
        const std::string name = "user." + stream;
        const ssize_t size = getxattr(path.c_str(), name.c_str(), nullptr, 0);
        if (size < 0)
            return std::nullopt;
        std::string value(static_cast<size_t>(size), '\0');
        getxattr(path.c_str(), name.c_str(), value.data(), value.size());
        return value;
    }

    void ExpectFailure(const std::string& description, uint32_t code, const std::string& parameter1) const
    {
        EXPECT_EQ(fsError, FunStatContext.Status);
        EXPECT_EQ(description, FunStatContext.Description);
        EXPECT_EQ(code, FunStatContext.SystemErrorCode);
        EXPECT_EQ(parameter1, FunStatContext.Parameter1);
    }

    std::string A() const { return Drive.Path("a.txt"); }

    TTempDrive Drive{'T'};
};

TEST_F(FileStreams, ListsTheNamedStreamsOnly)
{
    std::vector<std::string> names{"left over"};
    EXPECT_EQ(0, GetFileStreamNames(A(), names));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_TRUE(names.empty());

    SetStream("a.txt", "user.a", "1");
    SetStream("a.txt", "user.Description", "comment");
    // Attributes of other programs that no stream path can name stay out of the list.
    SetStream("a.txt", "user.odd:name", "x");
    SetStream("a.txt", "trusted.not-a-stream", "x");
    EXPECT_EQ(2, GetFileStreamNames(A(), names));
    std::sort(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{"Description", "a"}), names);
    EXPECT_EQ(2, GetFileStreamCount(A()));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(FileStreams, ListingRefusesWhatCannotBeOpenedAsAFile)
{
    std::filesystem::create_directory(Drive.HostPath("folder"));
    struct Row
    {
        std::string Relative;
        uint32_t Code;
    };
    for (const Row& row : {Row{"folder", host::ERROR_ACCESS_DENIED}, Row{"missing.txt", host::ERROR_FILE_NOT_FOUND}}) {
        std::vector<std::string> names{"left over"};
        EXPECT_EQ(0, GetFileStreamNames(Drive.Path(row.Relative), names)) << row.Relative;
        ExpectFailure("Failed to open file.", row.Code, Drive.Path(row.Relative));
        EXPECT_TRUE(names.empty());
    }

    host::InjectFault(host::HostCall::Streams, host::ERROR_IO_DEVICE, 1);
    EXPECT_EQ(0, GetFileStreamCount(A()));
    ExpectFailure("Failed to get file information.", host::ERROR_IO_DEVICE, A());
}

TEST_F(FileStreams, SizesOfOneStreamAndOfAll)
{
    SetStream("a.txt", "user.a", std::string(300, 'a'));
    SetStream("a.txt", "user.b", std::string(50, 'b'));
    EXPECT_EQ(12, GetFileStreamSize(A(), ""));
    EXPECT_EQ(300, GetFileStreamSize(A(), "a"));
    EXPECT_EQ(350, GetFileStreamsSize(A()));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);

    EXPECT_EQ(0, GetFileStreamSize(A(), "missing"));
    ExpectFailure("Failed to open file.", host::ERROR_FILE_NOT_FOUND, A());

    EXPECT_EQ(0, GetFileStreamsSize(Drive.Path("missing.txt")));
    ExpectFailure("Failed to open file.", host::ERROR_FILE_NOT_FOUND, Drive.Path("missing.txt"));
}

TEST_F(FileStreams, ReadHonoursTheCap)
{
    std::string content(1500, 'x');
    content[999] = 'L';
    SetStream("a.txt", "user.s", content);
    struct Row
    {
        int32_t Cap;
        size_t Size;
        TFunStatus Status;
    };
    for (const Row& row :
         {Row{1000, 1000, fsWarning}, Row{0, 1500, fsPerfect}, Row{-1, 1500, fsPerfect}, Row{1500, 1500, fsPerfect}}) {
        const std::string buffer = ReadFileStream(A(), "s", row.Cap);
        EXPECT_EQ(content.substr(0, row.Size), buffer) << "cap " << row.Cap;
        EXPECT_EQ(row.Status, FunStatContext.Status) << "cap " << row.Cap;
    }
    ReadFileStream(A(), "s", 10);
    EXPECT_EQ("Stream size too big.", FunStatContext.Description);

    EXPECT_EQ("main", ReadFileStream(A(), "", 4));
    EXPECT_EQ("", ReadFileStream(A(), "missing", -1));
    ExpectFailure("Failed to open file.", host::ERROR_FILE_NOT_FOUND, A());
}

TEST_F(FileStreams, TextAndDescription)
{
    SetStream("a.txt", "user.zero", std::string("ab\0cd", 5));
    EXPECT_EQ("ab", GetTextFromFileStream(A(), "zero", -1));

    SetStream("a.txt", "user.Description", "Holiday pictures");
    EXPECT_EQ("Holiday", GetFileDescription(A(), 7));
    EXPECT_EQ(fsPerfect, FunStatContext.Status) << "the shortened text is no warning";
    EXPECT_EQ("Holiday pictures", GetFileDescription(A(), 1000));

    Drive.WriteFile("plain.txt", "");
    EXPECT_EQ("", GetFileDescription(Drive.Path("plain.txt"), 1000));
    ExpectFailure("Failed to open file.", host::ERROR_FILE_NOT_FOUND, Drive.Path("plain.txt"));
}

TEST_F(FileStreams, WriteReplacesOnlyExistingStreams)
{
    WriteFileStream(A(), "new", "text");
    ExpectFailure("Failed to open file.", host::ERROR_FILE_NOT_FOUND, A());
    EXPECT_EQ(std::nullopt, StreamOf("a.txt", "new"));

    AddFileStream(A(), "new");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ("", StreamOf("a.txt", "new"));
    WriteFileStream(A(), "new", "a longer text");
    WriteFileStream(A(), "new", "short");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ("short", StreamOf("a.txt", "new"));
    AddFileStream(A(), "new");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ("short", StreamOf("a.txt", "new")) << "adding an existing stream leaves it";

    WriteFileStream(A(), "", "other main");
    EXPECT_EQ("other main", Drive.ReadFile("a.txt"));
    EXPECT_EQ("short", StreamOf("a.txt", "new")) << "the main content is written in place";

    AddFileStream(A(), "bad:name");
    ExpectFailure("Failed to open file.", host::ERROR_INVALID_NAME, A());
    AddFileStream(Drive.Path("created.txt"), "");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_TRUE(Drive.Exists("created.txt"));
}

TEST_F(FileStreams, TooLargeStreamIsRefusedWithItsLimitAndTheOldOneKept)
{
    SetStream("a.txt", "user.s", "old");
    for (const size_t size : {size_t{65537}, size_t{10 * 1024 * 1024}}) {
        WriteFileStream(A(), "s", std::string(size, 'z'));
        EXPECT_EQ(fsError, FunStatContext.Status) << size;
        EXPECT_EQ("A stream holds at most 65536 bytes; this one has " + std::to_string(size) + " bytes.",
                  FunStatContext.Description);
        EXPECT_EQ(host::ERROR_FILE_TOO_LARGE, FunStatContext.SystemErrorCode);
        EXPECT_EQ("old", StreamOf("a.txt", "s"));
    }

    // A file system may keep less room than the kernel's limit (ext4: one block for all
    // streams of a file); its refusal names that room.
    WriteFileStream(A(), "s", std::string(8000, 'z'));
    if (FunStatContext.Status != fsPerfect) {
        EXPECT_EQ(0u, FunStatContext.Description.find("The file system ")) << FunStatContext.Description;
        EXPECT_EQ(host::ERROR_FILE_TOO_LARGE, FunStatContext.SystemErrorCode);
        EXPECT_EQ("old", StreamOf("a.txt", "s"));
    }

    Drive.WriteFile("big.bin", std::string(10 * 1024 * 1024, 'b'));
    CopyFileStream(Drive.Path("big.bin"), "", A(), "s");
    EXPECT_EQ("A stream holds at most 65536 bytes; this one has 10485760 bytes.", FunStatContext.Description);
    EXPECT_EQ(Drive.Path("big.bin"), FunStatContext.Parameter1);
    EXPECT_EQ(A() + ":s", FunStatContext.Parameter2);
    EXPECT_EQ("old", StreamOf("a.txt", "s"));
}

TEST_F(FileStreams, DeleteOneStreamOrTheFile)
{
    SetStream("a.txt", "user.s", "x");
    DeleteFileStream(A(), "s");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ(std::nullopt, StreamOf("a.txt", "s"));
    DeleteFileStream(A(), "s");
    ExpectFailure("Failed to delete file.", host::ERROR_FILE_NOT_FOUND, A());
    EXPECT_EQ("main content", Drive.ReadFile("a.txt"));

    DeleteFileStream(A(), "");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_FALSE(Drive.Exists("a.txt"));
}

TEST_F(FileStreams, CopyOneStreamBetweenStreamsAndMainContents)
{
    Drive.WriteFile("b.txt", "b main");
    SetStream("a.txt", "user.s", "stream text");
    SetStream("a.txt", "user.empty", "");
    SetStream("b.txt", "user.t", "old");
    SetStream("b.txt", "user.u", "old");

    struct Row
    {
        std::string SourceStream;
        std::string TargetStream;
        std::string Expected;
    };
    for (const Row& row : {Row{"s", "t", "stream text"}, Row{"", "u", "main content"}, Row{"empty", "t", ""}}) {
        CopyFileStream(A(), row.SourceStream, Drive.Path("b.txt"), row.TargetStream);
        EXPECT_EQ(fsPerfect, FunStatContext.Status) << row.SourceStream;
        EXPECT_EQ(row.Expected, StreamOf("b.txt", row.TargetStream)) << row.SourceStream;
    }
    CopyFileStream(A(), "s", Drive.Path("b.txt"), "");
    EXPECT_EQ("stream text", Drive.ReadFile("b.txt"));

    CopyFileStream(A(), "s", Drive.Path("b.txt"), "missing");
    ExpectFailure("Failed to open file.", host::ERROR_FILE_NOT_FOUND, A() + ":s");
    EXPECT_EQ(Drive.Path("b.txt") + ":missing", FunStatContext.Parameter2);

    // The main content onto itself would be emptied before it is read.
    CopyFileStream(A(), "", A(), "");
    ExpectFailure("Failed to open file.", host::ERROR_SHARING_VIOLATION, A());
    EXPECT_EQ("main content", Drive.ReadFile("a.txt"));
}

TEST_F(FileStreams, MainContentNeverGoesOntoItselfThroughALink)
{
    std::filesystem::create_symlink(Drive.HostPath("a.txt"), Drive.HostPath("symbolic"));
    std::filesystem::create_hard_link(Drive.HostPath("a.txt"), Drive.HostPath("hard"));
    for (const char* link : {"symbolic", "hard"}) {
        CopyFileStream(A(), "", Drive.Path(link), "");
        ExpectFailure("Failed to open file.", host::ERROR_SHARING_VIOLATION, A());
        EXPECT_EQ("main content", Drive.ReadFile("a.txt")) << link;
        CopyFileStream(Drive.Path(link), "", A(), "");
        EXPECT_EQ(host::ERROR_SHARING_VIOLATION, FunStatContext.SystemErrorCode) << link;
        EXPECT_EQ("main content", Drive.ReadFile("a.txt")) << link;
    }
}

TEST_F(FileStreams, NamesThatDifferInCaseAreTwoFiles)
{
    Drive.WriteFile("A.txt", "other");
    CopyFileStream(A(), "", Drive.Path("A.txt"), "");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ("main content", Drive.ReadFile("A.txt"));
}

TEST_F(FileStreams, CopyMainContentInBlocks)
{
    std::string content(2000000, 'a');
    content[999999] = 'x';
    content[1999999] = 'y';
    Drive.WriteFile("two-blocks.bin", content);
    Drive.WriteFile("b.txt", std::string(3000000, 'o'));
    SetStream("b.txt", "user.kept", "kept");
    CopyFileStream(Drive.Path("two-blocks.bin"), "", Drive.Path("b.txt"), "");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ(content, Drive.ReadFile("b.txt"));
    EXPECT_EQ("kept", StreamOf("b.txt", "kept"));
}

TEST_F(FileStreams, CopyAllStreams)
{
    Drive.WriteFile("b.txt", "");
    SetStream("a.txt", "user.Description", "comment");
    SetStream("a.txt", "user.one", "1");
    SetStream("b.txt", "user.one", "old one");
    SetStream("b.txt", "user.own", "own");
    CopyFileStreams(A(), Drive.Path("b.txt"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ("comment", StreamOf("b.txt", "Description"));
    EXPECT_EQ("1", StreamOf("b.txt", "one"));
    EXPECT_EQ("own", StreamOf("b.txt", "own"));

    Drive.WriteFile("A.TXT", "");
    CopyFileStreams(A(), Drive.Path("A.TXT"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ("1", StreamOf("A.TXT", "one")) << "names equal but for case are two files";

    CopyFileStreams(A(), Drive.Path("missing.txt"));
    EXPECT_EQ("Failed to open file.", FunStatContext.Description);
    EXPECT_EQ(host::ERROR_FILE_NOT_FOUND, FunStatContext.SystemErrorCode);
    EXPECT_EQ(0u, FunStatContext.Parameter2.find(Drive.Path("missing.txt") + ":"));
}

// A copy whose streams are silently left behind would pass for a complete copy.
TEST_F(FileStreams, CopyFromSourceThatCannotBeListedFails)
{
    Drive.WriteFile("b.txt", "");
    SetStream("a.txt", "user.one", "1");
    struct Row
    {
        std::string Source;
        int FaultSkip; // -1: no fault
        std::string Description;
        uint32_t Code;
    };
    for (const Row& row : {Row{"missing.txt", -1, "Failed to open file.", host::ERROR_FILE_NOT_FOUND},
                           Row{"a.txt", 1, "Failed to get file information.", host::ERROR_IO_DEVICE}}) {
        if (row.FaultSkip >= 0)
            host::InjectFault(host::HostCall::Streams, host::ERROR_IO_DEVICE, row.FaultSkip);
        CopyFileStreams(Drive.Path(row.Source), Drive.Path("b.txt"));
        ExpectFailure(row.Description, row.Code, Drive.Path(row.Source));
        EXPECT_FALSE(StreamOf("b.txt", "one")) << row.Source;
        FunStatContext.Reset(fsPerfect);
        host::ClearFaults();
    }
}

} // namespace
