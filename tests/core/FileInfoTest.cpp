#include "core/files/FileInfo.h"
#include "core/errors/Error.h"
#include "core/files/FileOperations.h"

#include "support/TestSupport.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

// 7 March 2005, 14:05:09.5 in universal time, as a file time and as a date-time.
constexpr host::FileTime March2005 = 127546779095000000ull;
constexpr double March2005Days = 38418.58691550926;

class FileInformation : public testing::Test
{
protected:
    FileInformation() { FileUnitLoader.LocalTime = false; }
    ~FileInformation() override
    {
        FileUnitLoader.LocalTime = true;
        FileUnitLoader.SizeUnits = true;
        unsetenv("TZ");
        tzset();
    }
    TTempDrive Drive{'T'};
};

TEST_F(FileInformation, FileTimesBecomeDateTimes)
{
    EXPECT_NEAR(March2005Days, ConvertFileTime(March2005), 1e-9);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_NEAR(-109205.0, GetNullFileTime(), 1e-9);

    setenv("TZ", "EET-2", 1);
    tzset();
    FileUnitLoader.LocalTime = true;
    EXPECT_NEAR(March2005Days + 2.0 / 24, ConvertFileTime(March2005), 1e-9);

    EXPECT_EQ(0, ConvertFileTime(0xFFFFFFFFFFFFFFFFull));
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ(0u, FunStatContext.Description.find("Unhandled exception: "));
}

TEST_F(FileInformation, LoadFillsTheRecordOrClearsIt)
{
    Drive.WriteFile("d/a.txt", "hello");
    const timespec times[2] = {{1110204309, 0}, {1110204309, 0}};
    ASSERT_EQ(0, utimensat(AT_FDCWD, Drive.HostPath("d/a.txt").c_str(), times, 0));

    TFileInfo info;
    info.Load(Drive.Path("d\\a.txt"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_TRUE(info.Exists);
    EXPECT_EQ(5, info.Size);
    EXPECT_EQ(host::FILE_ATTRIBUTE_ARCHIVE, info.Attributes);
    EXPECT_NEAR(March2005Days - 0.5 / 86400, info.Modified, 1e-9);

    info.Load(Drive.Path("d\\*.TXT"));
    EXPECT_TRUE(info.Exists) << "a wildcard name gives its first match";

    struct Row
    {
        std::string Path;
        bool Exists;
        TFunStatus Status;
    };
    const Row rows[] = {
        {"", false, fsPerfect},
        {"T:", true, fsPerfect},
        {"Q:", false, fsPerfect},
        {"TT:", false, fsPerfect},
        {Drive.Path("d\\missing.txt"), false, fsError},
        {Drive.Path("d\\"), false, fsError},
        {"T:\\", false, fsError},
    };
    for (const Row& row : rows) {
        info.Load(row.Path);
        EXPECT_EQ(row.Exists, info.Exists) << row.Path;
        EXPECT_EQ(row.Status, FunStatContext.Status) << row.Path;
        EXPECT_EQ(0, info.Size) << row.Path;
    }
    info.Load(Drive.Path("d\\missing.txt"));
    EXPECT_EQ("Failed to open file.", FunStatContext.Description);
    EXPECT_EQ(host::ERROR_FILE_NOT_FOUND, FunStatContext.SystemErrorCode);
    EXPECT_EQ(0, GetFileSizeFromInfo(Drive.Path("d\\missing.txt")));
    EXPECT_EQ("Failed to open file.", FunStatContext.Description);
}

TEST_F(FileInformation, LoadIfExistsTellsAMissingEntryApartFromOneThatCannotBeLookedAt)
{
    Drive.WriteFile("d/a.txt", "hello");
    struct Row
    {
        std::string Path;
        bool Exists;
        TFunStatus Status;
    };
    const Row rows[] = {
        {Drive.Path("d\\a.txt"), true, fsPerfect},
        {Drive.Path("d\\missing.txt"), false, fsPerfect},
        {Drive.Path("gone\\missing.txt"), false, fsPerfect},
        {Drive.Path("d\\a.txt\\below.txt"), false, fsPerfect},
        {"", false, fsPerfect},
    };
    for (const Row& row : rows) {
        TFileInfo info;
        info.Size = 7;
        EXPECT_EQ(row.Exists, info.LoadIfExists(row.Path)) << row.Path;
        EXPECT_EQ(row.Status, FunStatContext.Status) << row.Path;
        EXPECT_EQ(row.Exists ? 5 : 0, info.Size) << row.Path;
    }

    host::InjectFault(host::HostCall::Stat, host::ERROR_ACCESS_DENIED);
    TFileInfo info;
    EXPECT_FALSE(info.LoadIfExists(Drive.Path("d\\a.txt")));
    host::ClearFaults();
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Failed to open file.", FunStatContext.Description);
    EXPECT_EQ(host::ERROR_ACCESS_DENIED, FunStatContext.SystemErrorCode);
    FunStatContext.Reset(fsPerfect);
}

TEST_F(FileInformation, NamesAttributesAndSizes)
{
    EXPECT_EQ(4294967296, CombineFileSize(0, 1));
    EXPECT_EQ(5368709120, CombineFileSize(1073741824, 1));
    EXPECT_EQ("ARH", GetAttributesText(0x23));
    EXPECT_EQ("ARHS", GetAttributesText(0x27));
    EXPECT_EQ("", GetAttributesText(0));
    EXPECT_EQ("ARHSCEOTRpSf", GetAttributesText(0xFFFF));
    EXPECT_TRUE(IsLinkFile("a.PIF"));
    EXPECT_FALSE(IsLnkFile("a.PIF"));
    EXPECT_TRUE(IsLnkFile("C:\\x\\b.Lnk"));
    EXPECT_FALSE(IsLinkFile("lnk"));

    Drive.WriteFile("file.txt", "x");
    fs::create_directory(Drive.HostPath("folder"));
    EXPECT_TRUE(IsDirectory("Q:"));
    EXPECT_TRUE(IsDirectory(Drive.Path("folder")));
    EXPECT_FALSE(IsDirectory(Drive.Path("file.txt")));
    EXPECT_FALSE(IsDirectory(Drive.Path("missing")));
    EXPECT_TRUE(MyFileExists(Drive.Path("folder")));
    EXPECT_TRUE(MyFileExists("T:"));
    EXPECT_FALSE(MyFileExists(""));
}

TEST_F(FileInformation, SizeTextsWithAndWithoutUnits)
{
    struct Row
    {
        int64_t Size;
        const char* Text;
    };
    const Row withUnits[] = {
        {0, "0 B"},
        {1023, "1,023 B"},
        {1024, "1.0 KB"},
        {1536, "1.5 KB"},
        {1048575, "1,024.0 KB"},
        {1048576, "1.0 MB"},
        {5368709120, "5.0 GB"},
        {int64_t{3} << 50, "3,072.0 TB"},
    };
    for (const Row& row : withUnits)
        EXPECT_EQ(row.Text, GetSizeText(6, 0, row.Size)) << row.Size;

    FileUnitLoader.SizeUnits = false;
    EXPECT_EQ("1,024", GetSizeText(6, 0, 1024));
    EXPECT_EQ("1.23e9", GetSizeText(3, 0, 1234567890));
}

TEST_F(FileInformation, ClearReadOnlyMakesANormalFile)
{
    Drive.WriteFile(".hidden-ro", "");
    Drive.WriteFile("writable", "");
    fs::permissions(Drive.HostPath(".hidden-ro"), fs::perms(0444));
    EXPECT_EQ(0u, ClearReadOnly(Drive.Path(".hidden-ro")));
    EXPECT_FALSE(host::GetFileAttributes(Drive.Path(".hidden-ro")) & host::FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(0u, ClearReadOnly(Drive.Path("writable")));
    EXPECT_EQ(0u, ClearReadOnly(Drive.Path("missing")));
}

TEST_F(FileInformation, FolderContentsLinksAndSizes)
{
    Drive.WriteFile("files/a.txt", "abc");
    Drive.WriteFile("mixed/.sub/x", "");
    EXPECT_FALSE(HasDirectories(Drive.Path("files")));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_TRUE(HasDirectories(Drive.Path("mixed")));
    EXPECT_FALSE(HasDirectories(Drive.Path("missing")));
    EXPECT_EQ("Failed to load directory.", FunStatContext.Description);

    fs::create_hard_link(Drive.HostPath("files/a.txt"), Drive.HostPath("files/b.txt"));
    EXPECT_EQ(2u, GetHardLinkCount(Drive.Path("files\\a.txt")));
    EXPECT_EQ(0u, GetHardLinkCount(Drive.Path("files\\none.txt")));
    EXPECT_EQ(fsWarning, FunStatContext.Status);
    EXPECT_EQ("Invalid file handle.", FunStatContext.Description);

    EXPECT_EQ(3, GetFileSize(Drive.Path("files\\a.txt")));
    EXPECT_EQ(0, GetFileSize(Drive.Path("files\\none.txt")));
    EXPECT_EQ(fsWarning, FunStatContext.Status);
    EXPECT_EQ("Failed to access file.", FunStatContext.Description);
    EXPECT_EQ(Drive.Path("files\\none.txt"), FunStatContext.Parameter1);
}

} // namespace
