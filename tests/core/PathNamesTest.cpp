#include "core/files/PathNames.h"

#include "support/TestSupport.h"

#include "host/Drives.h"
#include "host/Process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

struct EdgeRow
{
    std::string Input;
    bool DriveName;
    std::string WithBackslash;
    std::string Parent;
    std::string Name;
    std::string Extension;
    std::string FirstName;
    std::string RestAfterCut;
};

const EdgeRow EdgeRows[] = {
    {"", false, "", "", "", "", "", ""},
    {"C:", true, "C:\\", "", "C:", "", "C:", ""},
    {"C:\\", false, "C:\\", "C:\\", "", "", "C:", ""},
    {"C:\\d", false, "C:\\d\\", "C:\\", "d", "", "C:", "d"},
    {"C:\\d\\", false, "C:\\d\\", "C:\\d\\", "", "", "C:", "d\\"},
    {"C:\\d\\a.txt", false, "C:\\d\\a.txt\\", "C:\\d\\", "a.txt", "txt", "C:", "d\\a.txt"},
    {"C:a.txt", false, "C:a.txt\\", "C:", "a.txt", "txt", "C:a.txt", ""},
    {"a.txt", false, "a.txt\\", "", "a.txt", "txt", "a.txt", ""},
    {"\\\\s\\sh", false, "\\\\s\\sh\\", "\\\\s\\", "sh", "", "", "\\s\\sh"},
    {"\\\\s\\sh\\a", false, "\\\\s\\sh\\a\\", "\\\\s\\sh\\", "a", "", "", "\\s\\sh\\a"},
};

TEST(PathNames, EdgeInputsGiveTheDocumentedParts)
{
    for (const EdgeRow& row : EdgeRows) {
        SCOPED_TRACE("input \"" + row.Input + "\"");
        EXPECT_EQ(row.DriveName, IsDriveName(row.Input));
        EXPECT_EQ(row.WithBackslash, IncludeEndBackslash(row.Input));
        EXPECT_EQ(row.Parent, GetParentPath(row.Input));
        EXPECT_EQ(row.Name, GetPathName(row.Input));
        EXPECT_EQ(row.Extension, GetExtensionWithoutDot(row.Input));
        std::string rest = row.Input;
        EXPECT_EQ(row.FirstName, CutFirstPathName(rest));
        EXPECT_EQ(row.RestAfterCut, rest);
    }
}

TEST(PathNames, DriveNamesAndExtensionsOnTheirEdges)
{
    EXPECT_TRUE(IsDriveName("ab:"));
    EXPECT_FALSE(IsDriveName(":"));
    EXPECT_EQ("", GetExtensionWithoutDot("a."));
    EXPECT_EQ("", GetExtensionWithoutDot("d.x\\a"));
    EXPECT_EQ("", GetExtensionWithoutDot("d.x:a"));
}

TEST(PathNames, CutFirstPathNameWalksFromTheDriveDown)
{
    std::string path = "C:\\d\\e";
    std::vector<std::string> names;
    while (!path.empty())
        names.push_back(CutFirstPathName(path));
    EXPECT_EQ((std::vector<std::string>{"C:", "d", "e"}), names);
}

TEST(PathNames, ExtensionListIsSearchedIgnoringCase)
{
    const std::vector<std::string> list = {".bmp", ".gif", ".jpg", ".png"};
    EXPECT_TRUE(IsExtensionInList("PHOTO.JPG", &list));
    EXPECT_TRUE(IsExtensionInList("C:\\x\\a.Png", &list));
    EXPECT_FALSE(IsExtensionInList("a.jpeg", &list));
    EXPECT_FALSE(IsExtensionInList("jpg", &list));
    EXPECT_FALSE(IsExtensionInList("a.jpg", nullptr));
}

TEST(PathNames, IsSubPathCoversOnlyWholeComponents)
{
    struct Row
    {
        const char* Parent;
        const char* Path;
        bool Covered;
    };
    const Row rows[] = {
        {"C:\\dir", "C:\\dir", true},
        {"C:\\dir", "C:\\dir\\x", true},
        {"C:\\dir", "c:\\DIR\\x", true},
        {"C:\\dir", "C:\\directory", false},
        {"C:\\", "C:\\x", true},
        {"C:\\dir\\", "C:\\dir", false},
        {"C:\\dir\\x", "C:\\dir", false},
        {"", "C:\\x", false},
        {"C:\\", "", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.Covered, IsSubPath(row.Parent, row.Path)) << row.Parent << " / " << row.Path;
}

TEST(PathNames, AreValidPathsNeedsADrivePartAndNoWildcards)
{
    EXPECT_TRUE(AreValidPaths({}));
    EXPECT_TRUE(AreValidPaths({"C:\\a.txt", "\\\\s\\sh\\a"}));
    EXPECT_FALSE(AreValidPaths({"C:\\a.txt", "dir\\a.txt"}));
    EXPECT_FALSE(AreValidPaths({"C:\\a?.txt"}));
    EXPECT_FALSE(AreValidPaths({"C:\\a|b"}));
}

TEST(PathNames, MatchesFileSpecTakesEveryPatternOfTheList)
{
    struct Row
    {
        const char* Name;
        const char* Spec;
        bool Matches;
    };
    const Row rows[] = {
        {"A.TXT", "*.doc;*.txt", true},
        {"A.TXT", "", true},
        {"a.txt", "*.doc; *.TXT", true},
        {"a.txt", "*.doc", false},
        {"report.txt", "r?port.*", true},
        {"report.txt", "r?port", false},
        {"noext", "*.*", true},
        {"a.txt.bak", "*.txt", false},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*a*c", false},
        {"x", "*", true},
        {"", "?", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.Matches, MatchesFileSpec(row.Name, row.Spec)) << row.Name << " / " << row.Spec;
}

// Two letters on one file system are one root; a letter is no root of its own.
TEST(PathNames, IsSameRootComparesFileSystemsNotLetters)
{
    TTempDrive drive('T');
    TTempDrive memory('U', "/dev/shm");
    host::MapDrive('V', drive.HostPath());
    drive.WriteFile("a.txt", "a");
    EXPECT_TRUE(IsSameRoot("T:\\a.txt", "t:\\new\\b.txt"));
    EXPECT_TRUE(IsSameRoot("T:\\a.txt", "V:\\not\\yet\\made.txt"));
    EXPECT_FALSE(IsSameRoot("T:\\a.txt", "Q:\\a.txt")) << "a letter without a drive is on no file system";
    struct stat here = {}, there = {};
    if (stat(drive.HostPath().c_str(), &here) == 0 && stat(memory.HostPath().c_str(), &there) == 0 &&
        here.st_dev != there.st_dev) {
        EXPECT_FALSE(IsSameRoot("T:\\a.txt", "U:\\a.txt"));
    }
    host::UnmapDrive('V');
}

class PathNamesOnDisk : public testing::Test
{
protected:
    TTempDrive Drive{'T'};
};

TEST_F(PathNamesOnDisk, GetFullPathResolvesAgainstTheCurrentFolder)
{
    Drive.WriteFile("d/e/a.txt", "x");
    ASSERT_TRUE(host::SetCurrentDirectory(Drive.Path("d")));
    struct Row
    {
        std::string Input;
        std::string Full;
    };
    const Row rows[] = {
        {"", ""},
        {"C:", "C:"},
        {"c:", "c:"},
        {"a.txt", "T:\\d\\a.txt"},
        {"e\\..\\.\\a.txt", "T:\\d\\a.txt"},
        {"..\\..\\..\\x", "T:\\x"},
        {"T:e", "T:\\d\\e"},
        {"D:e", "D:\\e"},
        {"\\x\\y", "T:\\x\\y"},
        {"T:/d/e/", "T:\\d\\e\\"},
        {"\\\\s\\sh\\a\\..\\b", "\\\\s\\sh\\b"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.Full, GetFullPath(row.Input)) << row.Input;
}

TEST_F(PathNamesOnDisk, IsSameFileSeesOneFileThroughTwoLettersAndLinksButTellsCaseApart)
{
    Drive.WriteFile("d/a.txt", "x");
    std::filesystem::create_directory_symlink(Drive.HostPath("d"), Drive.HostPath("link"));
    std::filesystem::create_symlink(Drive.HostPath("d/a.txt"), Drive.HostPath("filelink"));
    Drive.WriteFile("d/A.txt", "X");
    EXPECT_TRUE(IsSameFile("T:\\d\\a.txt", "t:\\d\\a.txt"));
    EXPECT_FALSE(IsSameFile("T:\\d\\a.txt", "T:\\d\\A.txt")) << "letter case makes two files";
    EXPECT_FALSE(IsSameFile("T:\\d\\a.txt", "T:\\D\\a.txt"));

    host::MapDrive('U', Drive.HostPath("d"));
    EXPECT_TRUE(IsSameFile("T:\\d\\a.txt", "U:\\a.txt"));
    EXPECT_TRUE(IsSameFile("T:\\link\\a.txt", "T:\\d\\a.txt"));
    EXPECT_TRUE(IsSameFile("T:\\link", "T:\\d"));
    EXPECT_TRUE(IsSameFile("T:\\d\\missing\\x", "U:\\missing\\x"));
    EXPECT_FALSE(IsSameFile("T:\\filelink", "T:\\d\\a.txt"));
    EXPECT_FALSE(IsSameFile("T:\\d\\a*.txt", "T:\\d\\a*.txt"));
    EXPECT_EQ("U:\\a.txt", GetUNCPath("T:\\link\\a.txt"));
    EXPECT_EQ("U:", GetUNCPath("U:"));
}

} // namespace
