#include "host/Drives.h"
#include "host/LastError.h"

#include <gtest/gtest.h>

namespace {

class DriveTable : public testing::Test
{
protected:
    void SetUp() override
    {
        host::MapDrive('D', "/srv/data/");
        host::MapDrive('E', "/srv/data/deep");
    }
};

TEST_F(DriveTable, WindowsPathsReachTheirLettersFolders)
{
    struct Row
    {
        const char* Windows;
        const char* Host;
    };
    const Row rows[] = {
        {"C:\\", "/"},
        {"C:", "/"},
        {"c:\\etc\\hosts", "/etc/hosts"},
        {"D:\\a\\b.txt", "/srv/data/a/b.txt"},
        {"D:\\a\\..\\..\\..\\x", "/srv/data/x"},
        {"D:\\.\\a\\\\b\\", "/srv/data/a/b"},
        {"D:/a/b", "/srv/data/a/b"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.Host, host::WindowsToHost(row.Windows).value_or("<none>")) << row.Windows;
}

TEST_F(DriveTable, UntranslatableWindowsPathsFailWithTheirErrors)
{
    struct Row
    {
        std::string Windows;
        uint32_t Error;
    };
    const Row rows[] = {
        {"Q:\\a", host::ERROR_PATH_NOT_FOUND},
        {"a.txt", host::ERROR_PATH_NOT_FOUND},
        {"C:a.txt", host::ERROR_PATH_NOT_FOUND},
        {"\\\\server\\share\\a", host::ERROR_BAD_NETPATH},
        {"C:\\a*b", host::ERROR_INVALID_NAME},
        {"C:\\file.txt:stream", host::ERROR_INVALID_NAME},
        {"C:\\" + std::string(257, 'x'), host::ERROR_FILENAME_EXCED_RANGE},
    };
    for (const Row& row : rows) {
        host::SetLastError(0);
        EXPECT_FALSE(host::WindowsToHost(row.Windows)) << row.Windows;
        EXPECT_EQ(row.Error, host::GetLastError()) << row.Windows;
    }
    EXPECT_TRUE(host::WindowsToHost("C:\\" + std::string(256, 'x')));
}

TEST_F(DriveTable, HostPathsTakeTheMostSpecificLetter)
{
    struct Row
    {
        const char* Host;
        const char* Windows;
    };
    const Row rows[] = {
        {"/", "C:\\"},
        {"/etc/hosts", "C:\\etc\\hosts"},
        {"/srv/data", "D:\\"},
        {"/srv/data/a", "D:\\a"},
        {"/srv/data/deep/x", "E:\\x"},
        {"/srv/database", "C:\\srv\\database"},
        {"/srv//data/./a/", "D:\\a"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.Windows, host::HostToWindows(row.Host).value_or("<none>")) << row.Host;
}

TEST_F(DriveTable, HostNamesWindowsCannotHoldAreRefused)
{
    for (const char* name : {"a\\b", "a:b", "a*b", "a?b", "a<b", "a>b", "a|b", "a\"b"}) {
        host::SetLastError(0);
        EXPECT_FALSE(host::HostToWindows(std::string("/srv/") + name)) << name;
        EXPECT_EQ(host::ERROR_INVALID_NAME, host::GetLastError()) << name;
        EXPECT_FALSE(host::IsRepresentableName(name)) << name;
    }
    EXPECT_TRUE(host::IsRepresentableName("ordinary name.txt"));
    EXPECT_FALSE(host::HostToWindows("relative/path"));
    EXPECT_FALSE(host::HostToWindows("/" + std::string(300, 'x')));
    EXPECT_EQ(host::ERROR_FILENAME_EXCED_RANGE, host::GetLastError());
}

TEST_F(DriveTable, UnmappedLettersAndTheResetTable)
{
    host::UnmapDrive('D');
    EXPECT_FALSE(host::GetDriveHostRoot('D'));
    EXPECT_EQ("C:\\srv\\data\\a", host::HostToWindows("/srv/data/a").value_or(""));
    host::ResetDriveTable();
    EXPECT_FALSE(host::GetDriveHostRoot('E'));
    EXPECT_EQ("/", host::GetDriveHostRoot('c').value_or(""));
}

} // namespace
