#include "host/DirectoryReader.h"
#include "host/Drives.h"
#include "host/FaultInjection.h"
#include "host/File.h"
#include "host/FileSystem.h"
#include "host/LastError.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// "D" for a folder, "R" regular, "-" anything else, "L" added for a link.
std::string KindText(const host::DirectoryEntry& entry)
{
    return std::string(entry.IsDirectory ? "D" : entry.IsRegular ? "R" : "-") + (entry.IsLink ? "L" : "");
}

class DirectoryReaderTest : public testing::Test
{
protected:
    std::map<std::string, std::string> List(const std::string& relative, uint32_t& endCode) const
    {
        std::map<std::string, std::string> kinds;
        host::DirectoryReader reader;
        if (!reader.Open(Drive.Path(relative))) {
            endCode = host::GetLastError();
            return kinds;
        }
        host::DirectoryEntry entry;
        while (reader.Next(entry))
            kinds[entry.Name] = KindText(entry);
        endCode = host::GetLastError();
        return kinds;
    }

    TTempDrive Drive{'T'};
};

TEST_F(DirectoryReaderTest, EntriesComeWithTheirKindsAndLinksAreMarked)
{
    Drive.WriteFile("d/file.txt", "x");
    fs::create_directory(Drive.HostPath("d/sub"));
    fs::create_directory_symlink(Drive.HostPath("d/sub"), Drive.HostPath("d/sub-link"));
    fs::create_symlink(Drive.HostPath("d/file.txt"), Drive.HostPath("d/file-link"));
    fs::create_symlink(Drive.HostPath("d/missing"), Drive.HostPath("d/dangling"));
    ASSERT_EQ(0, mkfifo(Drive.HostPath("d/pipe").c_str(), 0600));
    uint32_t endCode = 0;
    EXPECT_EQ((std::map<std::string, std::string>{{"file.txt", "R"},
                                                  {"sub", "D"},
                                                  {"sub-link", "DL"},
                                                  {"file-link", "RL"},
                                                  {"dangling", "-L"},
                                                  {"pipe", "-"}}),
              List("d", endCode));
    EXPECT_EQ(host::ERROR_NO_MORE_FILES, endCode);
}

TEST_F(DirectoryReaderTest, NamesMapAsInEveryListing)
{
    fs::create_directory(Drive.HostPath("d"));
    std::vector<std::string> expected;
    for (const std::string& name : HostNamesWithForeignBytes()) {
        std::ofstream(Drive.HostPath("d") + "/" + name) << name;
        expected.push_back(host::WindowsNameOfHostName(name).value());
    }
    // A name already holding a stand-in has no Windows name of its own: it is left out.
    std::ofstream(Drive.HostPath("d") + "/" + expected[0]) << "x";
    uint32_t endCode = 0;
    std::vector<std::string> names;
    for (const auto& [name, kind] : List("d", endCode))
        names.push_back(name);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, names);
}

TEST_F(DirectoryReaderTest, FailuresCarryWindowsCodes)
{
    Drive.WriteFile("d/a.txt", "a");
    Drive.WriteFile("d/b.txt", "b");
    uint32_t endCode = 0;
    EXPECT_TRUE(List("missing", endCode).empty());
    EXPECT_EQ(host::ERROR_PATH_NOT_FOUND, endCode);
    EXPECT_TRUE(List("d/a.txt", endCode).empty());
    EXPECT_EQ(host::ERROR_PATH_NOT_FOUND, endCode);

    host::InjectFault(host::HostCall::List, host::ERROR_ACCESS_DENIED);
    EXPECT_TRUE(List("d", endCode).empty());
    EXPECT_EQ(host::ERROR_ACCESS_DENIED, endCode);

    host::InjectFault(host::HostCall::ListNext, host::ERROR_IO_DEVICE);
    EXPECT_EQ(1u, List("d", endCode).size());
    EXPECT_EQ(host::ERROR_IO_DEVICE, endCode);
}

TEST_F(DirectoryReaderTest, TheCurrentEntryOpensWithoutItsPath)
{
    Drive.WriteFile("d/a.txt", "abc");
    ASSERT_EQ(0, mkfifo(Drive.HostPath("d/pipe").c_str(), 0600));
    host::DirectoryReader reader;
    ASSERT_TRUE(reader.Open(Drive.Path("d")));
    host::DirectoryEntry entry;
    std::map<std::string, std::string> opened;
    while (reader.Next(entry)) {
        host::File file;
        const std::optional<uint64_t> size = reader.OpenEntryToRead(file);
        opened[entry.Name] = size ? std::to_string(*size) : "error " + std::to_string(host::GetLastError());
        if (entry.Name == "a.txt") {
            host::InjectFault(host::HostCall::Open, host::ERROR_SHARING_VIOLATION);
            EXPECT_FALSE(reader.OpenEntryToRead(file));
            EXPECT_EQ(host::ERROR_SHARING_VIOLATION, host::GetLastError());
        }
    }
    EXPECT_EQ((std::map<std::string, std::string>{{"a.txt", "3"}, {"pipe", "error 5"}}), opened);
    host::File file;
    EXPECT_FALSE(reader.OpenEntryToRead(file));
}

} // namespace
