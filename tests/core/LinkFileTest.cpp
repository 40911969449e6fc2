#include "core/files/LinkFile.h"
#include "core/errors/Error.h"
#include "core/files/FileInfo.h"
#include "core/files/FileOperations.h"

#include "support/ShownFailures.h"
#include "support/TestSupport.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"
#include "host/ShellLink.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;
using testing::HasSubstr;

namespace {

// 7 March 2005, 14:05:09.5 in universal time, as a date-time.
constexpr double March2005Days = 38418.58691550926;
constexpr double OneSecond = 1.0 / 86400;

std::string ReadFixture(const std::string& name)
{
    std::ifstream file(std::string(QUILLOMBER_FIXTURES) + "/" + name, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

uint32_t CodeOf(host::HResult result)
{
    return static_cast<uint32_t>(result);
}

class LinkFileTest : public testing::Test
{
protected:
    LinkFileTest() { FileUnitLoader.LocalTime = false; }
    ~LinkFileTest() override
    {
        FileUnitLoader.LocalTime = true;
        host::ClearFaults();
    }

    void ExpectCleared(const TLinkFile& link)
    {
        EXPECT_FALSE(link.Exists);
        EXPECT_EQ("", link.Target);
        EXPECT_EQ("", link.WorkingFolder);
        EXPECT_EQ("", link.Arguments);
        EXPECT_EQ(0, link.ShowCmd);
    }

    void ExpectFailure(const std::string& description, const std::string& parameter, uint32_t code)
    {
        EXPECT_EQ(fsError, FunStatContext.Status);
        EXPECT_EQ(description, FunStatContext.Description);
        EXPECT_EQ(parameter, FunStatContext.Parameter1);
        EXPECT_EQ("", FunStatContext.Parameter2);
        EXPECT_EQ(code, FunStatContext.SystemErrorCode);
    }

    ino_t InodeOf(const std::string& relative) const
    {
        struct stat info = {};
        stat(Drive.HostPath(relative).c_str(), &info);
        return info.st_ino;
    }

    TTempDrive Drive{'T'};
};

TEST_F(LinkFileTest, ASavedLinkReadsBackWithEveryField)
{
    Drive.WriteFile("d/prog.txt", "hello");
    const timespec times[2] = {{1110204309, 0}, {1110204309, 0}};
    ASSERT_EQ(0, utimensat(AT_FDCWD, Drive.HostPath("d/prog.txt").c_str(), times, 0));
    fs::create_directory(Drive.HostPath("links"));

    TLinkFile written;
    written.Target = "T:\\d\\.\\prog.txt";
    written.WorkingFolder = "T:\\work";
    // Longer than the 259 bytes a text buffer of the shell would keep.
    written.Arguments = "-a \"b c\" Zo\xC3\xAB " + std::string(300, 'x');
    written.Description = "Zo\xC3\xAB's link";
    written.IconPath = "T:\\icons\\i.ico";
    written.IconIndex = -3;
    written.HotKey = 0x0645;
    written.ShowCmd = 7;
    for (const std::string name : {"links\\a.lnk", "links\\b.PIF"}) {
        SCOPED_TRACE(name);
        written.Save(Drive.Path(name), false);
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
        EXPECT_EQ("T:\\d\\prog.txt", written.Target) << "a saved record keeps its fields, the target made absolute";

        TLinkFile read;
        read.Load(Drive.Path(name), false);
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
        EXPECT_TRUE(read.Exists);
        EXPECT_EQ(host::FILE_ATTRIBUTE_ARCHIVE, read.Attributes);
        EXPECT_EQ(5, read.Size);
        EXPECT_NEAR(March2005Days - 0.5 * OneSecond, read.Modified, 1e-9);
        EXPECT_EQ(written.Target, read.Target);
        EXPECT_EQ(written.WorkingFolder, read.WorkingFolder);
        EXPECT_EQ(written.Arguments, read.Arguments);
        EXPECT_EQ(written.Description, read.Description);
        EXPECT_EQ(written.IconPath, read.IconPath);
        EXPECT_EQ(written.IconIndex, read.IconIndex);
        EXPECT_EQ(written.HotKey, read.HotKey);
        EXPECT_EQ(written.ShowCmd, read.ShowCmd);
        EXPECT_FALSE(read.IsTargetDirectory());

        TLinkFile copy;
        copy.Assign(read);
        EXPECT_EQ(read.Arguments, copy.Arguments);
        EXPECT_EQ(read.Modified, copy.Modified);
    }
}

// The fixtures were laid out byte by byte from the published shell-link format, as
// Windows writes links, by tests/fixtures/MakeWindowsLinks.py (run once; its output is
// committed): a Unicode link with an item-identifier list and extra data blocks, an older
// 8-bit link whose path is split into base and suffix, and a link to a network share.
TEST_F(LinkFileTest, LinksMadeOnWindowsLoad)
{
    const struct
    {
        std::string Fixture;
        std::string Target;
        std::string Arguments;
        std::string WorkingFolder;
        std::string Description;
        std::string IconPath;
        int32_t IconIndex;
        uint16_t HotKey;
        int32_t ShowCmd;
        int64_t Size;
        bool Folder;
    } rows[] = {
        {"WindowsEditor.lnk", "C:\\Program Files\\Editor\\edit.exe",
         "/n \"C:\\Users\\Zo\xC3\xAB\\Documents\\notes.txt\"", "C:\\Users\\Zo\xC3\xAB\\Documents", "Edit my notes",
         "C:\\Program Files\\Editor\\edit.exe", 1, 0x0645, 7, 123456, false},
        {"WindowsAnsi.lnk", "C:\\Notes\\r\xC3\xA9sum\xC3\xA9.txt", "-print", "C:\\Notes", "", "", 0, 0, 1, 42, false},
        {"WindowsNetwork.lnk", "\\\\server\\share\\plans", "", "\\\\server\\share", "", "", 0, 0, 1, 0, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Fixture);
        Drive.WriteFile(row.Fixture, ReadFixture(row.Fixture));
        TLinkFile link;
        link.Load(Drive.Path(row.Fixture), false);
        EXPECT_EQ(fsPerfect, FunStatContext.Status) << FunStatContext.Description;
        EXPECT_EQ(row.Target, link.Target);
        EXPECT_EQ(row.Arguments, link.Arguments);
        EXPECT_EQ(row.WorkingFolder, link.WorkingFolder);
        EXPECT_EQ(row.Description, link.Description);
        EXPECT_EQ(row.IconPath, link.IconPath);
        EXPECT_EQ(row.IconIndex, link.IconIndex);
        EXPECT_EQ(row.HotKey, link.HotKey);
        EXPECT_EQ(row.ShowCmd, link.ShowCmd);
        EXPECT_EQ(row.Size, link.Size);
        EXPECT_EQ(row.Folder, link.IsTargetDirectory());
        EXPECT_NEAR(March2005Days, link.Modified, 1e-9);
    }
}

TEST_F(LinkFileTest, BrokenLinksFailAndLeaveACleanRecord)
{
    Drive.WriteFile("target.txt", "x");
    TLinkFile good;
    good.Target = Drive.Path("target.txt");
    good.Arguments = "-x";
    good.Save(Drive.Path("good.lnk"), false);
    const std::string bytes = Drive.ReadFile("good.lnk");

    TLinkFile link;
    link.Load(Drive.Path("target.txt"), false);
    ExpectFailure("File is not a link.", Drive.Path("target.txt"), 0);
    link.Load(Drive.Path("missing.lnk"), false);
    ExpectFailure("Failed to load link file.", Drive.Path("missing.lnk"),
                  CodeOf(host::HResultFromError(host::ERROR_FILE_NOT_FOUND)));

    for (size_t length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE("cut to " + std::to_string(length) + " bytes");
        Drive.WriteFile("cut.lnk", bytes.substr(0, length));
        link.Load(Drive.Path("good.lnk"), false);
        ASSERT_EQ(Drive.Path("target.txt"), link.Target);
        link.Load(Drive.Path("cut.lnk"), false);
        ExpectFailure("Failed to load link file.", Drive.Path("cut.lnk"), CodeOf(host::E_FAIL));
        ExpectCleared(link);
    }

    // A link that records no location and no relative path has no target.
    host::ShellLink empty;
    Drive.WriteFile("empty.lnk", host::FormatShellLink(empty).value());
    link.Load(Drive.Path("empty.lnk"), false);
    ExpectFailure("Empty reference path.", Drive.Path("empty.lnk"), 0);

    host::ShellLink self;
    self.TargetPath = Drive.Path("SELF.lnk");
    Drive.WriteFile("self.lnk", host::FormatShellLink(self).value());
    link.Load(Drive.Path("self.lnk"), false);
    ExpectFailure("This file is most probably a virus because it links to itself.", Drive.Path("self.lnk"), 0);
    ExpectCleared(link);
}

// Run under the sanitizers: damaged links end in a failure or a plain load, never a crash.
TEST_F(LinkFileTest, RandomlyDamagedLinksNeverCrashTheLoad)
{
    const std::string source = ReadFixture("WindowsEditor.lnk");
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        std::string bytes = source.substr(0, random() % (source.size() + 1));
        if (!bytes.empty() && round % 2 == 0)
            bytes[random() % bytes.size()] = static_cast<char>(random());
        Drive.WriteFile("damaged.lnk", bytes);
        TLinkFile link;
        link.Load(Drive.Path("damaged.lnk"), round % 3 == 0);
        if (FunStatContext.Status > fsWarning)
            ExpectCleared(link);
        else
            EXPECT_FALSE(link.Target.empty());
    }
}

TEST_F(LinkFileTest, ResolvingFindsATargetMovedWithItsLink)
{
    Drive.WriteFile("box/sub/t.txt", "x");
    CopyFileAsLink(Drive.Path("box\\sub\\t.txt"), Drive.Path("box\\t.lnk"), false, "", false, false);
    fs::rename(Drive.HostPath("box"), Drive.HostPath("moved"));

    TLinkFile link;
    link.Load(Drive.Path("moved\\t.lnk"), false);
    EXPECT_EQ(Drive.Path("box\\sub\\t.txt"), link.Target) << "without resolving the link is taken as it is";
    link.Load(Drive.Path("moved\\t.lnk"), true);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ(Drive.Path("moved\\sub\\t.txt"), link.Target);
    link.Load(Drive.Path("moved\\t.lnk"), false);
    EXPECT_EQ(Drive.Path("moved\\sub\\t.txt"), link.Target) << "the repaired link was written back";

    fs::remove(Drive.HostPath("moved/sub/t.txt"));
    link.Load(Drive.Path("moved\\t.lnk"), true);
    EXPECT_EQ(fsPerfect, FunStatContext.Status) << "a target found nowhere leaves the link as it is";
    EXPECT_EQ(Drive.Path("moved\\sub\\t.txt"), link.Target);
}

TEST_F(LinkFileTest, ReferencesOfNamesAndLinks)
{
    fs::create_directories(Drive.HostPath("folder"));
    Drive.WriteFile("plain.txt", "x");
    Drive.WriteFile("broken.lnk", "not a link");
    CopyFileAsLink(Drive.Path("folder"), Drive.Path("folder.lnk"), false, "", false, false);

    bool isFolder = false;
    bool isLink = true;
    EXPECT_EQ(Drive.Path("plain.txt"), GetWhenReference(Drive.Path("plain.txt"), &isFolder, &isLink));
    EXPECT_FALSE(isLink);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);

    TLinkFile record;
    EXPECT_EQ(Drive.Path("folder"), GetWhenReference(Drive.Path("folder.lnk"), &isFolder, &isLink, false, &record));
    EXPECT_TRUE(isLink);
    EXPECT_TRUE(isFolder);
    EXPECT_EQ(Drive.Path("folder"), record.Target);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);

    isFolder = true;
    EXPECT_EQ(Drive.Path("broken.lnk"), GetWhenReference(Drive.Path("broken.lnk"), &isFolder, &isLink));
    EXPECT_FALSE(isLink);
    EXPECT_TRUE(isFolder) << "the folder answer is written only for a link that loads";
    ExpectFailure("Failed to load link file.", Drive.Path("broken.lnk"), CodeOf(host::E_FAIL));
    EXPECT_EQ(Drive.Path("broken.lnk"), GetWhenReference(Drive.Path("broken.lnk")));
}

TEST_F(LinkFileTest, SavingRefusesWhatALinkCannotHoldAndKeepsExistingFiles)
{
    Drive.WriteFile("other.lnk", "");
    TLinkFile link;
    link.Target = Drive.Path("other.lnk");
    link.Save(Drive.Path("chain.lnk"), true);
    ExpectFailure("This operating system does not support chained links.", Drive.Path("chain.lnk"), 0);
    EXPECT_FALSE(Drive.Exists("chain.lnk"));
    ExpectCleared(link);

    Drive.WriteFile("kept.lnk", "old");
    link.Target = Drive.Path("a.txt");
    link.Save(Drive.Path("kept.lnk"), false);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ("old", Drive.ReadFile("kept.lnk"));

    const struct
    {
        std::string TLinkFile::*Field;
        std::string Failure;
    } rows[] = {
        {&TLinkFile::Target, "Failed to set reference path."},
        {&TLinkFile::WorkingFolder, "Failed to set working path."},
        {&TLinkFile::Arguments, "Failed to set arguments."},
        {&TLinkFile::Description, "Failed to set description."},
        {&TLinkFile::IconPath, "Failed to set icon path."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Failure);
        TLinkFile bad;
        bad.Target = Drive.Path("a.txt");
        bad.*row.Field += "\xFF";
        bad.Save(Drive.Path("bad.lnk"), true);
        ExpectFailure(row.Failure, Drive.Path("bad.lnk"), CodeOf(host::E_INVALIDARG));
        EXPECT_FALSE(Drive.Exists("bad.lnk"));
        ExpectCleared(bad);
    }

    host::InjectFault(host::HostCall::Write, host::ERROR_DISK_FULL);
    link.Target = Drive.Path("a.txt");
    link.Save(Drive.Path("full.lnk"), true);
    ExpectFailure("Failed to save link file.", Drive.Path("full.lnk"),
                  CodeOf(host::HResultFromError(host::ERROR_DISK_FULL)));
    EXPECT_FALSE(Drive.Exists("full.lnk"));
}

TEST_F(LinkFileTest, CreatedLinksTakeTheirWorkingFolderAndWindowState)
{
    Drive.WriteFile("tools/run.bat", "@echo off");
    const struct
    {
        bool UseTargetFolder;
        bool Minimised;
        std::string WorkingFolder;
        int32_t ShowCmd;
    } rows[] = {
        {false, false, "", 0},
        {true, true, Drive.Path("tools\\"), 7},
    };
    for (const auto& row : rows) {
        CopyFileAsLink(Drive.Path("tools\\run.bat"), Drive.Path("run.pif"), true, "-q", row.UseTargetFolder,
                       row.Minimised);
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
        TLinkFile link;
        link.Load(Drive.Path("run.pif"), false);
        EXPECT_EQ(Drive.Path("tools\\run.bat"), link.Target);
        EXPECT_EQ("-q", link.Arguments);
        EXPECT_EQ(row.WorkingFolder, link.WorkingFolder);
        EXPECT_EQ(row.ShowCmd, link.ShowCmd);
    }

    CopyFileAsLinkWithParam(Drive.Path("tools\\run.bat"), Drive.Path("uninstall.lnk"), "/Uninstall", false);
    TLinkFile link;
    link.Load(Drive.Path("uninstall.lnk"), false);
    EXPECT_EQ("/Uninstall", link.Arguments);
    EXPECT_EQ(Drive.Path("tools\\"), link.WorkingFolder);
    EXPECT_EQ(0, link.ShowCmd);

    CopyFileAsLink(Drive.Path("a.lnk"), Drive.Path("chain.lnk"), true, "", false, false);
    EXPECT_EQ("This operating system does not support chained links.", FunStatContext.Description);
}

std::string Le(uint32_t value, int bytes)
{
    std::string out;
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

// "MZ" with the offset of a "PE" header whose subsystem and version are given.
std::string PortableProgram(uint16_t subsystem)
{
    std::string bytes = "MZ" + std::string(0x3A, '\0') + Le(0x40, 4);
    std::string optional(70, '\0');
    optional.replace(48, 4, Le(4, 2) + Le(0, 2));
    optional.replace(68, 2, Le(subsystem, 2));
    return bytes + std::string("PE\0\0", 4) + std::string(20, '\0') + optional;
}

TEST_F(LinkFileTest, ProgramKindsDecideTheLinkExtension)
{
    Drive.WriteFile("run.bat", "@echo off");
    Drive.WriteFile("dos.exe", "MZ" + std::string(100, '\0'));
    Drive.WriteFile("old.com", "\xB4\x09\xCD\x21");
    Drive.WriteFile("window.exe", PortableProgram(2));
    Drive.WriteFile("console.exe", PortableProgram(3));
    Drive.WriteFile("fake.exe", "text");
    Drive.WriteFile("notes.txt", "text");
    Drive.WriteFile("elf", "\x7F"
                           "ELF....");
    Drive.WriteFile("script", "#!/bin/sh\n");
    Drive.WriteFile("data", "\x7F"
                            "ELF....");
    fs::create_directories(Drive.HostPath("folder.bat"));
    fs::permissions(Drive.HostPath("elf"), fs::perms::owner_exec, fs::perm_options::add);
    fs::permissions(Drive.HostPath("script"), fs::perms::owner_exec, fs::perm_options::add);
    const struct
    {
        std::string Name;
        bool Executable;
        bool Dos;
    } rows[] = {
        {"run.bat", true, true},     {"dos.exe", true, true},      {"old.com", true, true},
        {"window.exe", true, false}, {"console.exe", true, false}, {"fake.exe", false, false},
        {"notes.txt", false, false}, {"elf", true, false},         {"script", true, false},
        {"data", false, false},      {"folder.bat", false, false}, {"missing.exe", false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(row.Executable, IsExecutableFile(Drive.Path(row.Name)));
        EXPECT_EQ(row.Dos, IsDosProgram(Drive.Path(row.Name)));
        EXPECT_EQ(row.Dos ? ".pif" : ".lnk", GetLinkExtension(Drive.Path(row.Name)));
    }

    CopyFileAsLink(Drive.Path("window.exe"), Drive.Path("window.lnk"), false, "", false, false);
    CopyFileAsLink(Drive.Path("notes.txt"), Drive.Path("notes.lnk"), false, "", false, false);
    CopyFileAsLink(Drive.Path("dos.exe"), Drive.Path("dos.pif"), false, "", false, false);
    EXPECT_TRUE(IsLinkToProgram(Drive.Path("window.lnk")));
    EXPECT_FALSE(IsLinkToProgram(Drive.Path("notes.lnk")));
    EXPECT_FALSE(IsLinkToProgram(Drive.Path("dos.pif"))) << "only \".lnk\" files count";
    Drive.WriteFile("broken.lnk", "x");
    EXPECT_FALSE(IsLinkToProgram(Drive.Path("broken.lnk")));
    EXPECT_EQ("Failed to load link file.", FunStatContext.Description);
}

TEST_F(LinkFileTest, AStatusLinkIsWrittenOnlyWhenItDiffers)
{
    fs::create_directories(Drive.HostPath("Startup"));
    Drive.WriteFile("prog/Quillomber.exe", "MZ");
    const std::string program = Drive.Path("prog\\Quillomber.exe");

    MakeLinkByStatus(Drive.Path("Startup"), program, "", "", true, true);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    TLinkFile link;
    link.Load(Drive.Path("Startup\\Quillomber.lnk"), false);
    EXPECT_EQ(program, link.Target);
    EXPECT_EQ(7, link.ShowCmd);

    const ino_t first = InodeOf("Startup/Quillomber.lnk");
    MakeLinkByStatus(Drive.Path("Startup\\"), program, "", "", true, true);
    EXPECT_EQ(first, InodeOf("Startup/Quillomber.lnk")) << "an up-to-date link is not written again";

    link.WorkingFolder = Drive.Path("prog");
    link.Save(Drive.Path("Startup\\Quillomber.lnk"), true);
    MakeLinkByStatus(Drive.Path("Startup"), program, "-min", "Start", false, true);
    link.Load(Drive.Path("Startup\\Quillomber.lnk"), false);
    EXPECT_EQ("-min", link.Arguments);
    EXPECT_EQ("Start", link.Description);
    EXPECT_EQ(1, link.ShowCmd);
    EXPECT_EQ(Drive.Path("prog"), link.WorkingFolder) << "the fields not compared keep their values";

    MakeLinkByStatus(Drive.Path("Startup"), program, "", "", true, false);
    EXPECT_FALSE(Drive.Exists("Startup/Quillomber.lnk"));
    MakeLinkByStatus(Drive.Path("Startup"), program, "", "", true, false);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(LinkFileTest, AStatusLinkThatCannotBeMadeIsShown)
{
    TShownFailures failures;
    {
        TModalScript script;
        failures.Expect(script, "Error");
        MakeLinkByStatus(Drive.Path("no folder"), Drive.Path("prog.exe"), "", "", false, true);
    }
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to create link."));
    EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to save link file."));
    EXPECT_THAT(failures.Reports[0], HasSubstr(Drive.Path("no folder\\prog.lnk")));
}

} // namespace
