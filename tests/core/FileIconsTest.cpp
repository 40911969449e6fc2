#include "core/files/FileIcons.h"
#include "core/files/LinkFile.h"

#include "support/TestSupport.h"

#include <QColor>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::string FixtureBytes(const std::string& name)
{
    std::ifstream file(std::string(QUILLOMBER_FIXTURES) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class FileIcons : public testing::Test
{
protected:
    std::string Copy(const std::string& fixture, const std::string& name)
    {
        Drive.WriteFile(name, FixtureBytes(fixture));
        return Drive.Path(name);
    }

    TTempDrive Drive{'T'};
};

TEST_F(FileIcons, SourcesAreCursorsAndProgramsAndLinksToThem)
{
    Copy("Program.exe", "tool.EXE");
    Drive.WriteFile("notes.txt", "text");
    CopyFileAsLink(Drive.Path("tool.EXE"), Drive.Path("tool.lnk"), true, "", false, false);
    CopyFileAsLink(Drive.Path("notes.txt"), Drive.Path("notes.lnk"), true, "", false, false);
    struct Row
    {
        std::string Name;
        std::string Source;
    };
    const Row rows[] = {
        {Drive.Path("tool.EXE"), Drive.Path("tool.EXE")},
        {Drive.Path("arrow.Cur"), Drive.Path("arrow.Cur")},
        {Drive.Path("tool.lnk"), Drive.Path("tool.EXE")},
        {Drive.Path("notes.lnk"), ""},
        {Drive.Path("notes.txt"), ""},
        {Drive.Path("picture.ico"), ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.Source, GetIconSourceFile(row.Name)) << row.Name;
}

TEST_F(FileIcons, CursorsAndProgramsGiveTheirLargestImage)
{
    Copy("Program.exe", "tool.exe");
    CopyFileAsLink(Drive.Path("tool.exe"), Drive.Path("tool.lnk"), true, "", false, false);
    struct Row
    {
        std::string Name;
        QSize Size;
        QPoint Clear;
        QColor Colour;
    };
    const Row rows[] = {
        // The larger of two images; its left half is transparent.
        {Copy("Pointer.cur", "pointer.cur"), {32, 32}, {3, 3}, Qt::magenta},
        // The first group's larger image, though the second group holds a larger one.
        {Drive.Path("tool.exe"), {16, 16}, {0, 0}, Qt::red},
        {Drive.Path("tool.lnk"), {16, 16}, {0, 0}, Qt::red},
        // A PNG image inside the program.
        {Copy("ProgramPng.exe", "png.exe"), {48, 48}, {-1, -1}, Qt::yellow},
    };
    for (const Row& row : rows) {
        const std::unique_ptr<QImage> icon = ExtractFileIcon(row.Name);
        ASSERT_NE(nullptr, icon) << row.Name;
        EXPECT_EQ(row.Size, icon->size()) << row.Name;
        EXPECT_EQ(row.Colour.rgba(), icon->pixel(row.Size.width() - 1, row.Size.height() - 1)) << row.Name;
        if (row.Clear.x() >= 0) {
            EXPECT_EQ(0, qAlpha(icon->pixel(row.Clear))) << row.Name;
        }
    }
}

TEST_F(FileIcons, FilesWithoutAnIconGiveNone)
{
    Drive.WriteFile("dos.exe", "MZ" + std::string(200, '\0'));
    Drive.WriteFile("text.exe", "not a program");
    Drive.WriteFile("empty.cur", "");
    Drive.WriteFile("broken.cur", FixtureBytes("Pointer.cur").substr(0, 100));
    Copy("Pointer.cur", "pointer.png");
    for (const char* name : {"dos.exe", "text.exe", "empty.cur", "broken.cur", "missing.exe", "pointer.png"})
        EXPECT_EQ(nullptr, ExtractFileIcon(Drive.Path(name))) << name;
}

TEST_F(FileIcons, MalformedProgramsGiveNoIcon)
{
    const std::string program = FixtureBytes("Program.exe");
    const auto le32 = [](uint32_t value) { return std::string(reinterpret_cast<const char*>(&value), 4); };
    // The chosen image's header (40 bytes, 16 wide, 32 high: picture and mask), and its
    // entry in the group (16 x 16, one plane, 32 bits, its size, resource 3).
    const std::string bitmapHeader = le32(40) + le32(16) + le32(32);
    const std::string member = std::string("\x10\x10\0\0\x01\0\x20\0", 8) + le32(16 * 16 * 4 + 16 * 4 + 40) + "\x03";
    struct Row
    {
        const char* Case;
        std::string Pattern;
        size_t Offset;
        std::string Bytes;
    };
    const Row rows[] = {
        {"the header beyond the end", "MZ", 0x3C, le32(0xFFFFFFF0)},
        {"more sections than read", "PE", 6, "\xFF\xFF"},
        {"the resources outside every section", "PE", 24 + 96 + 16, le32(0x7FFF0000)},
        {"an image wider than an icon", bitmapHeader, 4, le32(0x7FFFFFFF)},
        {"an image of no height", bitmapHeader, 8, le32(0)},
        {"a member naming a missing image", member, 12, "\x63"},
        {"a group of no members", std::string("\0\0\x01\0\x02\0", 6), 4, std::string("\0", 1)},
    };
    for (const Row& row : rows) {
        std::string bytes = program;
        const size_t at = bytes.find(row.Pattern);
        ASSERT_NE(std::string::npos, at) << row.Case;
        bytes.replace(at + row.Offset, row.Bytes.size(), row.Bytes);
        Drive.WriteFile("bad.exe", bytes);
        EXPECT_EQ(nullptr, ExtractFileIcon(Drive.Path("bad.exe"))) << row.Case;
    }
}

// Every prefix of a program cuts its headers, directories or images somewhere; none may
// give an icon or read outside the file.
TEST_F(FileIcons, EveryTruncatedProgramGivesNoIcon)
{
    for (const char* fixture : {"Program.exe", "ProgramPng.exe"}) {
        const std::string bytes = FixtureBytes(fixture);
        // The fixtures end with the image shown, then the padding of their section.
        const size_t used = bytes.find_last_not_of('\0') + 1;
        Drive.WriteFile("cut.exe", bytes);
        for (size_t length = used; length-- > 0;) {
            std::filesystem::resize_file(Drive.HostPath("cut.exe"), length);
            ASSERT_EQ(nullptr, ExtractFileIcon(Drive.Path("cut.exe"))) << fixture << " cut at " << length;
        }
    }
}

} // namespace
