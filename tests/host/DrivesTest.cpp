#include "host/Drives.h"
#include "host/LastError.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

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

TEST_F(DriveTable, ForeignBytesInHostNamesTravelAsPrivateUseCharacters)
{
    struct Row
    {
        std::string Host;
        std::string Windows;
    };
    const Row rows[] = {
        {"/srv/data/a\\b", "D:\\a\uF05Cb"},
        {"/srv/data/a:b", "D:\\a\uF03Ab"},
        {"/srv/data/a*b", "D:\\a\uF02Ab"},
        {"/srv/data/a?b", "D:\\a\uF03Fb"},
        {"/srv/data/a<b", "D:\\a\uF03Cb"},
        {"/srv/data/a>b", "D:\\a\uF03Eb"},
        {"/srv/data/a|b", "D:\\a\uF07Cb"},
        {"/srv/data/a\"b", "D:\\a\uF022b"},
        {"/srv/data/line\nbreak\r", "D:\\line\uF00Abreak\uF00D"},
        {"/srv/data/\x01\t\x1F", "D:\\\uF001\uF009\uF01F"},
        {"/srv/data/dir:1/f?.txt", "D:\\dir\uF03A1\\f\uF03F.txt"},
        {"/srv/data/\uF041 \uF000 \uF02F kept", "D:\\\uF041 \uF000 \uF02F kept"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.Windows, host::HostToWindows(row.Host).value_or("<none>")) << row.Host;
        EXPECT_EQ(row.Host, host::WindowsToHost(row.Windows).value_or("<none>")) << row.Host;
    }
    for (int byte = 1; byte < 32; ++byte) {
        const std::string hostPath = std::string("/srv/data/x") + static_cast<char>(byte) + "y";
        const std::string windowsPath = host::HostToWindows(hostPath).value_or("");
        EXPECT_EQ(std::string::npos, windowsPath.find(static_cast<char>(byte))) << byte;
        EXPECT_EQ(hostPath, host::WindowsToHost(windowsPath).value_or("<none>")) << byte;
    }
}

TEST_F(DriveTable, NamesWithoutAnUnambiguousFormAreRefused)
{
    struct Row
    {
        std::string Path;
        bool FromHost;
        uint32_t Error;
    };
    const Row rows[] = {
        // A stand-in already in a host name would come back as the byte it stands for.
        {"/srv/a\uF03Ab", true, host::ERROR_INVALID_NAME},
        {"/srv/\uF00A", true, host::ERROR_INVALID_NAME},
        {"/srv/\uF05C/x", true, host::ERROR_INVALID_NAME},
        {"/srv/" + std::string(85, ':'), true, host::ERROR_FILENAME_EXCED_RANGE},
        {"relative/path", true, host::ERROR_INVALID_PARAMETER},
        {"/" + std::string(300, 'x'), true, host::ERROR_FILENAME_EXCED_RANGE},
        {"C:\\line\nbreak", false, host::ERROR_INVALID_NAME},
        {"C:\\tab\there", false, host::ERROR_INVALID_NAME},
        {"C:\\a|b\\c", false, host::ERROR_INVALID_NAME},
    };
    for (const Row& row : rows) {
        host::SetLastError(0);
        EXPECT_FALSE(row.FromHost ? host::HostToWindows(row.Path) : host::WindowsToHost(row.Path)) << row.Path;
        EXPECT_EQ(row.Error, host::GetLastError()) << row.Path;
    }
    EXPECT_TRUE(host::HostToWindows("/srv/" + std::string(84, ':'))) << "\"C:\\srv\\\" and 84 stand-ins fill 259 bytes";
    for (const char* name : {"", ".", "..", "a\uF07C"})
        EXPECT_FALSE(host::WindowsNameOfHostName(name)) << name;
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

// Thumbnails are rendered on worker threads, which translate paths while the user
// changes the drives.
TEST_F(DriveTable, PathsTranslateOnOtherThreadsWhileDrivesChange)
{
    // Long folder names, so that a torn read of a replaced root is a read of freed memory.
    const std::string first = "/srv/" + std::string(200, 'a');
    const std::string second = "/srv/" + std::string(180, 'b');
    std::atomic<bool> done = false;
    std::atomic<int> wrong = 0;
    std::vector<std::thread> readers;
    for (int n = 0; n < 3; ++n)
        readers.emplace_back([&] {
            while (!done) {
                const std::optional<std::string> host = host::WindowsToHost("F:\\x");
                if (host && *host != first + "/x" && *host != second + "/x")
                    ++wrong;
                const std::optional<std::string> windows = host::HostToWindows(second + "/x");
                if (windows && *windows != "F:\\x" &&
                    *windows != "C:" + std::string("\\srv\\") + std::string(180, 'b') + "\\x")
                    ++wrong;
                host::GetLogicalDrives();
            }
        });
    for (int round = 0; round < 3000; ++round) {
        host::MapDrive('F', round % 2 == 0 ? first : second);
        if (round % 3 == 0)
            host::UnmapDrive('F');
    }
    done = true;
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(0, wrong.load());
}

} // namespace
