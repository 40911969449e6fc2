#include "host/Shell.h"
#include "host/LastError.h"

#include "support/RecordingLauncher.h"
#include "support/TestSupport.h"

#include <QDBusUnixFileDescriptor>
#include <QStringList>
#include <QVariantMap>

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

using Arguments = std::vector<std::string>;

TEST(WindowsCommandLine, SplitsByTheWindowsQuotingRules)
{
    struct Row
    {
        std::string Line;
        Arguments Expected;
    };
    const Row rows[] = {
        {R"("a b c" d e)", {"a b c", "d", "e"}},
        {R"("ab\"c" "\\" d)", {R"(ab"c)", R"(\)", "d"}},
        {R"(a\\\b d"e f"g h)", {R"(a\\\b)", "de fg", "h"}},
        {R"(a\\\"b c d)", {R"(a\"b)", "c", "d"}},
        {R"(a\\\\"b c" d e)", {R"(a\\b c)", "d", "e"}},
        {R"("a""b" c)", {R"(a"b)", "c"}},
        {R"("" x)", {"", "x"}},
        {"\t a\t\tb ", {"a", "b"}},
        {R"("open to the end)", {"open to the end"}},
        {R"(C:\Program Files\x)", {R"(C:\Program)", R"(Files\x)"}},
        {"", {}},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.Expected, host::SplitWindowsCommandLine(row.Line)) << row.Line;
}

// Joined and split again, every argument comes back as it was.
TEST(WindowsCommandLine, JoinedArgumentsSplitBackWhole)
{
    const Arguments cases[] = {
        {"plain", "two words", ""},
        {R"(say "hi")", R"(C:\dir\)", R"(\server\share b\)"},
        {R"(a\"b)", "\t tab", "%t%", R"(end\)"},
    };
    for (const Arguments& arguments : cases) {
        const std::string line = host::JoinWindowsCommandLine(arguments);
        EXPECT_EQ(arguments, host::SplitWindowsCommandLine(line)) << line;
    }
    // Every argument is quoted, so a placeholder filled in later may hold blanks.
    EXPECT_EQ(R"("--new" "%t%")", host::JoinWindowsCommandLine({"--new", "%t%"}));
}

class ShellExecuteTest : public testing::Test
{
protected:
    ShellExecuteTest()
    {
        Drive.WriteFile("tool.sh", "#!/bin/sh\n");
        fs::permissions(Drive.HostPath("tool.sh"), fs::perms(0755));
        Drive.WriteFile("notes.txt", "notes");
        fs::create_directories(Drive.HostPath("work"));
    }

    bool Execute(host::ShellVerb verb, Arguments files, const std::string& parameters = {},
                 const std::string& folder = {})
    {
        return host::ShellExecute(host::ShellRequest{verb, std::move(files), parameters, folder, {}});
    }

    TTempDrive Drive{'T'};
    TRecordingLauncher Launcher;
};

TEST_F(ShellExecuteTest, ProgramsStartThemselvesWithHostPathsAsArguments)
{
    ASSERT_TRUE(Execute(host::ShellVerb::Open, {Drive.Path("tool.sh")}, R"( -v "T:\notes.txt" Z:\none "a b")",
                        Drive.Path("work")));
    ASSERT_EQ(1u, Launcher.Starts.size());
    EXPECT_EQ(Drive.HostPath("tool.sh"), Launcher.Starts[0].Program);
    EXPECT_EQ((Arguments{"-v", Drive.HostPath("notes.txt"), R"(Z:\none)", "a b"}), Launcher.Starts[0].Arguments)
        << "a path on no drive stays as it was written";
    EXPECT_EQ(Drive.HostPath("work"), Launcher.Starts[0].WorkingFolder);
}

TEST_F(ShellExecuteTest, AProgramNamedWithoutAFolderIsFoundInTheSearchPath)
{
    ASSERT_TRUE(Execute(host::ShellVerb::Open, {"env"}, R"(-u X "T:\notes.txt")"));
    ASSERT_EQ(1u, Launcher.Starts.size());
    const fs::path program = Launcher.Starts[0].Program;
    EXPECT_TRUE(program.is_absolute()) << program;
    EXPECT_EQ("env", program.filename());
    EXPECT_EQ((Arguments{"-u", "X", Drive.HostPath("notes.txt")}), Launcher.Starts[0].Arguments);

    // A folder part means that folder, never the search path.
    EXPECT_FALSE(Execute(host::ShellVerb::Open, {Drive.Path("env")}));
    EXPECT_FALSE(Execute(host::ShellVerb::Open, {"quillomber-no-such-program"}));
    EXPECT_EQ(1u, Launcher.Starts.size());
}

TEST_F(ShellExecuteTest, EverythingElseGoesToTheDesktop)
{
    // Executable but no program: a picture copied from a file system that marks all files so.
    Drive.WriteFile("photo.jpg", "\xFF\xD8\xFF\xE0");
    fs::permissions(Drive.HostPath("photo.jpg"), fs::perms(0755));
    Drive.WriteFile("setup.exe", "MZ");
    const std::string targets[] = {Drive.Path("notes.txt"), Drive.Path("photo.jpg"), Drive.Path("setup.exe"),
                                   Drive.Path("work"), Drive.Path()};
    for (const std::string& target : targets)
        ASSERT_TRUE(Execute(host::ShellVerb::Open, {target})) << target;
    ASSERT_TRUE(Execute(host::ShellVerb::Open, {"https://example.org/a?b=c"}));
    const std::string expected[] = {Drive.HostPath("notes.txt"),
                                    Drive.HostPath("photo.jpg"),
                                    Drive.HostPath("setup.exe"),
                                    Drive.HostPath("work"),
                                    Drive.HostPath(),
                                    "https://example.org/a?b=c"};
    ASSERT_EQ(std::size(expected), Launcher.Starts.size());
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ("xdg-open", Launcher.Starts[i].Program);
        EXPECT_EQ(Arguments{expected[i]}, Launcher.Starts[i].Arguments);
    }
}

TEST_F(ShellExecuteTest, RefusalsSayWhy)
{
    struct Row
    {
        std::string File;
        std::string Parameters;
        std::string Folder;
        uint32_t Code;
    };
    const Row rows[] = {
        {Drive.Path("missing.txt"), "", "", host::ERROR_FILE_NOT_FOUND},
        {Drive.Path("notes.txt"), "--line 3", "", host::ERROR_NOT_SUPPORTED},
        {"https://example.org", "x", "", host::ERROR_NOT_SUPPORTED},
        {Drive.Path("tool.sh"), "", Drive.Path("nowhere"), host::ERROR_DIRECTORY},
        {Drive.Path("tool.sh"), "", Drive.Path("notes.txt"), host::ERROR_DIRECTORY},
        {"Q:\\unmapped.txt", "", "", host::ERROR_PATH_NOT_FOUND},
    };
    for (const Row& row : rows) {
        EXPECT_FALSE(Execute(host::ShellVerb::Open, {row.File}, row.Parameters, row.Folder)) << row.File;
        EXPECT_EQ(row.Code, host::GetLastError()) << row.File;
    }
    EXPECT_TRUE(Launcher.Starts.empty());

    Launcher.RefuseStarts = true;
    EXPECT_FALSE(Execute(host::ShellVerb::Open, {Drive.Path("notes.txt")}));
    EXPECT_EQ(host::ERROR_NO_ASSOCIATION, host::GetLastError()) << "no desktop to open documents with";
    EXPECT_FALSE(Execute(host::ShellVerb::Open, {Drive.Path("tool.sh")}));
    EXPECT_EQ(host::ERROR_FILE_NOT_FOUND, host::GetLastError()) << "the launcher's own reason";
}

TEST_F(ShellExecuteTest, PropertiesOfAllFilesInOneRequestToTheFileManager)
{
    ASSERT_TRUE(Execute(host::ShellVerb::Properties, {Drive.Path("notes.txt"), Drive.Path("work")}));
    ASSERT_EQ(1u, Launcher.Calls.size());
    const host::BusCall& call = Launcher.Calls[0];
    EXPECT_EQ("org.freedesktop.FileManager1", call.Service);
    EXPECT_EQ("/org/freedesktop/FileManager1", call.Path);
    EXPECT_EQ("org.freedesktop.FileManager1", call.Interface);
    EXPECT_EQ("ShowItemProperties", call.Method);
    ASSERT_EQ(2, call.Arguments.size());
    EXPECT_EQ((QStringList{QString::fromStdString("file://" + Drive.HostPath("notes.txt")),
                           QString::fromStdString("file://" + Drive.HostPath("work"))}),
              call.Arguments[0].toStringList());

    Launcher.PresentServices.clear();
    EXPECT_FALSE(Execute(host::ShellVerb::Properties, {Drive.Path("notes.txt")}));
    EXPECT_EQ(host::ERROR_SERVICE_DOES_NOT_EXIST, host::GetLastError()) << "no file manager answers";
    EXPECT_FALSE(Execute(host::ShellVerb::Properties, {Drive.Path("missing.txt")}));
    EXPECT_EQ(host::ERROR_FILE_NOT_FOUND, host::GetLastError());
    EXPECT_EQ(2u, Launcher.Calls.size()) << "a missing file asks no service";
}

TEST_F(ShellExecuteTest, OpenWithAsksThePortalToLetTheUserChoose)
{
    ASSERT_TRUE(Execute(host::ShellVerb::OpenWith, {Drive.Path("notes.txt")}));
    ASSERT_TRUE(Execute(host::ShellVerb::OpenWith, {"https://example.org"}));
    ASSERT_EQ(2u, Launcher.Calls.size());
    for (const host::BusCall& call : Launcher.Calls) {
        EXPECT_EQ("org.freedesktop.portal.Desktop", call.Service);
        EXPECT_EQ("org.freedesktop.portal.OpenURI", call.Interface);
        ASSERT_EQ(3, call.Arguments.size());
        EXPECT_EQ(true, call.Arguments[2].toMap().value("ask").toBool());
    }
    EXPECT_EQ("OpenFile", Launcher.Calls[0].Method);
    EXPECT_TRUE(Launcher.Calls[0].Arguments[1].value<QDBusUnixFileDescriptor>().isValid())
        << "local files reach the portal as an open descriptor";
    EXPECT_EQ("OpenURI", Launcher.Calls[1].Method);
    EXPECT_EQ("https://example.org", Launcher.Calls[1].Arguments[1].toString());
}

} // namespace
