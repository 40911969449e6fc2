#include "host/ShellLink.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

namespace {

std::string Le(uint64_t value, int bytes)
{
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

std::string Wide(const std::u16string& text)
{
    std::string out;
    for (const char16_t unit : text)
        out += Le(unit, 2);
    return out;
}

std::string ReadFixture(const std::string& name)
{
    std::ifstream file(std::string(QUILLOMBER_FIXTURES) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

host::ShellLink SampleLink()
{
    host::ShellLink link;
    link.TargetData.Attributes = 0x20;
    link.TargetData.CreationTime = 0x01C9151515EEE9D0;
    link.TargetData.LastAccessTime = 0x01C9151515EEE9D1;
    link.TargetData.LastWriteTime = 0x01C9151515EEE9D2;
    link.TargetData.Size = 0x100000005;
    link.TargetPath = "C:\\test\\a.txt";
    link.RelativePath = ".\\a.txt";
    link.WorkingDirectory = "C:\\test";
    link.IconIndex = -2;
    link.HotKey = 0x0645;
    link.ShowCommand = 7;
    return link;
}

TEST(ShellLinkFormat, WrittenBytesFollowThePublishedLayout)
{
    const std::string header = Le(0x4C, 4) + std::string("\x01\x14\x02\0\0\0\0\0\xC0\0\0\0\0\0\0\x46", 16) +
                               Le(0x9A, 4) // location, relative path, working folder, Unicode
                               + Le(0x20, 4) + Le(0x01C9151515EEE9D0, 8) + Le(0x01C9151515EEE9D1, 8) +
                               Le(0x01C9151515EEE9D2, 8) + Le(5, 4) + Le(0xFFFFFFFE, 4) + Le(7, 4) + Le(0x0645, 2) +
                               std::string(10, '\0');
    const std::string volume = Le(0x11, 4) + Le(3, 4) + Le(0, 4) + Le(0x10, 4) + std::string(1, '\0');
    const std::string location = Le(0x1C + 17 + 14 + 1, 4) + Le(0x1C, 4) + Le(1, 4) + Le(0x1C, 4) + Le(0x1C + 17, 4) +
                                 Le(0, 4) + Le(0x1C + 17 + 14, 4) + volume + std::string("C:\\test\\a.txt\0\0", 15);
    const std::string texts = Le(7, 2) + Wide(u".\\a.txt") + Le(7, 2) + Wide(u"C:\\test");
    EXPECT_EQ(header + location + texts + Le(0, 4), host::FormatShellLink(SampleLink()));
}

TEST(ShellLinkFormat, APathBeyondAsciiIsWrittenInUtf16AsWell)
{
    host::ShellLink link;
    link.TargetPath = "C:\\Zo\xC3\xAB\\a.txt";
    const std::string bytes = host::FormatShellLink(link).value();
    const std::string location = bytes.substr(0x4C);
    EXPECT_EQ(Le(0x24, 4), location.substr(4, 4));
    EXPECT_NE(std::string::npos, location.find(std::string("C:\\Zo?\\a.txt\0", 13)));
    EXPECT_NE(std::string::npos, location.find(Wide(u"C:\\Zo\u00EB\\a.txt") + Le(0, 2)));
    EXPECT_EQ("C:\\Zo\xC3\xAB\\a.txt", host::ParseShellLink(bytes).value().TargetPath);
}

TEST(ShellLinkFormat, ReadingGivesBackEveryWrittenField)
{
    host::ShellLink link = SampleLink();
    link.TargetPath = "C:\\Zo\xC3\xAB\\a.txt";
    link.Arguments = std::string(300, 'x') + " \xF0\x9F\x98\x80";
    link.Description = "Zo\xC3\xAB's link";
    link.IconLocation = "C:\\icons\\a.ico";
    const host::ShellLink read = host::ParseShellLink(host::FormatShellLink(link).value()).value();
    EXPECT_EQ(link.TargetPath, read.TargetPath);
    EXPECT_EQ(link.RelativePath, read.RelativePath);
    EXPECT_EQ(link.WorkingDirectory, read.WorkingDirectory);
    EXPECT_EQ(link.Arguments, read.Arguments);
    EXPECT_EQ(link.Description, read.Description);
    EXPECT_EQ(link.IconLocation, read.IconLocation);
    EXPECT_EQ(link.IconIndex, read.IconIndex);
    EXPECT_EQ(link.HotKey, read.HotKey);
    EXPECT_EQ(link.ShowCommand, read.ShowCommand);
    EXPECT_EQ(link.TargetData.Attributes, read.TargetData.Attributes);
    EXPECT_EQ(link.TargetData.CreationTime, read.TargetData.CreationTime);
    EXPECT_EQ(link.TargetData.LastAccessTime, read.TargetData.LastAccessTime);
    EXPECT_EQ(link.TargetData.LastWriteTime, read.TargetData.LastWriteTime);
    EXPECT_EQ(5u, read.TargetData.Size) << "the format keeps the low 32 bits of the size";
}

TEST(ShellLinkFormat, OnlyTextsTheFormatCanHoldAreStorable)
{
    const struct
    {
        std::string Text;
        bool Storable;
    } rows[] = {
        {"", true},
        {"C:\\Zo\xC3\xAB \xF0\x9F\x98\x80", true},
        {std::string(65535, 'a'), true},
        {std::string(65536, 'a'), false},
        {std::string("a\0b", 3), false},
        {"\xC3", false},
        {"\xC0\xAF", false},
        {"\xED\xA0\x80", false},
        {"\xF4\x90\x80\x80", false},
        {"\xFF", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.Storable, host::IsStorableLinkText(row.Text)) << row.Text.substr(0, 20);

    host::ShellLink link = SampleLink();
    link.Description = "\xC3";
    EXPECT_FALSE(host::FormatShellLink(link));
}

// Run under the sanitizers: no damaged link may read outside its bytes.
TEST(ShellLinkFormat, DamagedBytesAreRefusedWithoutReadingOutsideThem)
{
    const std::string sources[] = {ReadFixture("WindowsEditor.lnk"), ReadFixture("WindowsAnsi.lnk"),
                                   ReadFixture("WindowsNetwork.lnk"), host::FormatShellLink(SampleLink()).value()};
    for (const std::string& source : sources) {
        ASSERT_TRUE(host::ParseShellLink(source));
        for (size_t length = 0; length < source.size(); ++length)
            EXPECT_FALSE(host::ParseShellLink(source.substr(0, length))) << "a link cut to " << length << " bytes";
    }

    std::mt19937 random(20240611);
    for (int round = 0; round < 20000; ++round) {
        std::string bytes = sources[random() % std::size(sources)];
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < changes; ++i) {
            const size_t at = random() % bytes.size();
            if (random() % 2 == 0)
                bytes[at] = static_cast<char>(random());
            else
                bytes.replace(at, std::min<size_t>(4, bytes.size() - at),
                              Le(random() % 2 ? 0xFFFFFFF0 : random() % 0x200, 4));
        }
        bytes.resize(random() % 3 == 0 ? random() % (bytes.size() + 1) : bytes.size());
        EXPECT_NO_THROW(host::ParseShellLink(bytes));
    }
}

} // namespace
