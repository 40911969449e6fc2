#include "host/DesktopApplications.h"
#include "host/LastError.h"
#include "host/Shell.h"

#include "support/DesktopFolders.h"
#include "support/RecordingLauncher.h"
#include "support/TestSupport.h"

#include <QStandardPaths>

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

using Command = std::vector<std::string>;

std::vector<std::string> IdsFor(const std::vector<std::string>& files)
{
    std::vector<std::string> ids;
    for (const host::DesktopApplication& application : host::GetApplicationsForFiles(files))
        ids.push_back(application.Id);
    return ids;
}

class DesktopApplicationsTest : public testing::Test
{
protected:
    DesktopApplicationsTest()
    {
        Drive.WriteFile("a.txt", "text");
        Drive.WriteFile("b.png", "\x89PNG\r\n\x1A\n");
        Drive.WriteFile("c.c", "int main() {}\n");
    }

    TDesktopFolders Desktop;
    TTempDrive Drive{'T'};
};

TEST_F(DesktopApplicationsTest, ChoicesRegistrationsAndTheirOrder)
{
    Desktop.WriteApplication("editor.desktop", "Name=Editor\nExec=editor %F\nMimeType=text/plain;\n");
    Desktop.WriteApplication("viewer.desktop", "Name=Viewer\nExec=viewer %f\nMimeType=text/plain;image/png;\n");
    Desktop.WriteApplication("masked.desktop", "Name=Masked\nExec=masked %f\nMimeType=text/plain;\nHidden=true\n");
    Desktop.WriteApplication("masked.desktop", "Name=Masked\nExec=masked %f\nMimeType=text/plain;\n", true);
    Desktop.WriteApplication("editor.desktop", "Name=Lower editor\nExec=lower %f\nMimeType=image/png;\n", true);
    Desktop.WriteApplication("coder.desktop", "Name=Coder\nExec=coder %U\nMimeType=text/x-csrc;\n", true);
    Desktop.WriteApplication("absent.desktop",
                             "Name=Absent\nExec=absent %f\nTryExec=/no/such/program\nMimeType=text/plain;\n", true);
    Desktop.WriteApplication("unwanted.desktop", "Name=Unwanted\nExec=unwanted %f\nMimeType=text/plain;\n", true);
    Desktop.WriteApplication("extra.desktop", "Name=Extra\nExec=extra %f\n", true);
    Desktop.WriteApplication("vendor/tool.desktop", "Name=Tool\nExec=tool %f\nMimeType=text/plain;\n", true);
    Desktop.WriteUserMimeApps("[Default Applications]\ntext/plain=gone.desktop;viewer.desktop;\n\n"
                              "[Added Associations]\ntext/plain=extra.desktop;\n\n"
                              "[Removed Associations]\ntext/plain=unwanted.desktop;\n");

    EXPECT_EQ((std::vector<std::string>{"viewer.desktop", "extra.desktop", "editor.desktop", "vendor-tool.desktop"}),
              IdsFor({Drive.Path("a.txt")}))
        << "the default, the added one, then by name; hidden, unrunnable and removed ones never";
    EXPECT_EQ((std::vector<std::string>{"coder.desktop", "viewer.desktop", "extra.desktop", "editor.desktop",
                                        "vendor-tool.desktop"}),
              IdsFor({Drive.Path("c.c")}))
        << "C source is text too";
    EXPECT_EQ(std::vector<std::string>{"viewer.desktop"}, IdsFor({Drive.Path("a.txt"), Drive.Path("b.png")}))
        << "several files: the applications that open them all; the user's editor hides the system's";
    EXPECT_TRUE(host::GetApplicationsForFiles({"Q:\\unmapped.txt"}).empty());
}

TEST_F(DesktopApplicationsTest, ExecLinesGetTheirFieldCodesFilledIn)
{
    const host::DesktopApplication application{"app.desktop", "My App", "", "app-icon", "/apps/app.desktop"};
    const std::vector<std::string> files{"/d/a b.txt", "/d/c.txt"};
    struct Row
    {
        std::string Exec;
        std::vector<Command> Expected;
    };
    const Row rows[] = {
        {"editor --new %F", {{"editor", "--new", "/d/a b.txt", "/d/c.txt"}}},
        {"viewer %f", {{"viewer", "/d/a b.txt"}, {"viewer", "/d/c.txt"}}},
        {"browser %U", {{"browser", "file:///d/a%20b.txt", "file:///d/c.txt"}}},
        {"browser --open=%u", {{"browser", "--open=file:///d/a%20b.txt"}, {"browser", "--open=file:///d/c.txt"}}},
        {"app %i --name %c --entry %k 100%% %d %F",
         {{"app", "--icon", "app-icon", "--name", "My App", "--entry", "/apps/app.desktop", "100%", "/d/a b.txt",
           "/d/c.txt"}}},
        {R"("/opt/my app/run" "say \"%f\" \$HOME \\" %F)",
         {{"/opt/my app/run", R"(say "%f" $HOME \)", "/d/a b.txt", "/d/c.txt"}}},
        {R"("/opt/100%% sure/run" "50%% off" 50%% %F)",
         {{"/opt/100% sure/run", "50% off", "50%", "/d/a b.txt", "/d/c.txt"}}},
        {"plain", {{"plain", "/d/a b.txt", "/d/c.txt"}}},
    };
    for (const Row& row : rows) {
        host::DesktopApplication withExec = application;
        withExec.Exec = row.Exec;
        EXPECT_EQ(row.Expected, host::ExpandExecLine(withExec, files)) << row.Exec;
    }
}

// The text editor: the user's default for plain text comes before what merely registers it,
// and an entry run in a terminal says so.
TEST_F(DesktopApplicationsTest, TheApplicationsOfAType)
{
    const auto ids = [](const std::string& type) {
        std::vector<std::string> result;
        for (const host::DesktopApplication& application : host::ApplicationsForType(type))
            result.push_back(application.Id);
        return result;
    };
    EXPECT_TRUE(ids("text/plain").empty());
    Desktop.WriteApplication("viewer.desktop", "Name=Viewer\nExec=viewer %f\nMimeType=text/plain;\n");
    EXPECT_EQ(std::vector<std::string>{"viewer.desktop"}, ids("text/plain"));
    Desktop.WriteApplication("editor.desktop", "Name=Editor\nExec=editor %F\nTerminal=true\nMimeType=text/plain;\n");
    Desktop.WriteUserMimeApps("[Default Applications]\ntext/plain=editor.desktop;\n");
    EXPECT_EQ((std::vector<std::string>{"editor.desktop", "viewer.desktop"}), ids("text/plain"));
    const std::vector<host::DesktopApplication> applications = host::ApplicationsForType("text/plain");
    EXPECT_TRUE(applications[0].Terminal);
    EXPECT_FALSE(applications[1].Terminal);
    EXPECT_TRUE(ids("no/such-type").empty());
}

// The command for one file, the file as given wherever the line takes files, the program
// found in PATH.
TEST_F(DesktopApplicationsTest, TheCommandForOneFileTakesItAsGiven)
{
    const host::DesktopApplication application{"app.desktop", "My App", "", "", "/apps/app.desktop"};
    struct Row
    {
        std::string Exec;
        Command Expected;
    };
    const Row rows[] = {
        {"/opt/ed --new %U", {"/opt/ed", "--new", "<file>"}},
        {"/opt/ed --open=%u %%", {"/opt/ed", "--open=<file>", "%"}},
        {"/opt/ed %F", {"/opt/ed", "<file>"}},
        {"/opt/ed", {"/opt/ed", "<file>"}},
        {"sh -e %f", {QStandardPaths::findExecutable("sh").toStdString(), "-e", "<file>"}},
        {"no-such-program-here %f", {}},
        {"", {}},
    };
    for (const Row& row : rows) {
        host::DesktopApplication withExec = application;
        withExec.Exec = row.Exec;
        EXPECT_EQ(row.Expected, host::ExecCommandForFile(withExec, "<file>")) << row.Exec;
    }
}

TEST_F(DesktopApplicationsTest, TheChosenApplicationStartsOnTheFilesInTheWorkingFolder)
{
    // The key file's own escapes come first: \s is a blank, \\ one backslash.
    Desktop.WriteApplication(
        "editor.desktop", "Name=Editor\nExec=\"/opt/ed\\sit/ed\" \"--title=\\\\\"x\\\\\"\" %f\nMimeType=text/plain;\n");
    fs::create_directories(Drive.HostPath("work"));
    TRecordingLauncher launcher;
    ASSERT_TRUE(host::ShellExecute(host::ShellRequest{host::ShellVerb::OpenWithApplication,
                                                      {Drive.Path("a.txt"), Drive.Path("c.c")},
                                                      {},
                                                      Drive.Path("work"),
                                                      "editor.desktop"}));
    ASSERT_EQ(2u, launcher.Starts.size());
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ("/opt/ed it/ed", launcher.Starts[i].Program);
        EXPECT_EQ(Drive.HostPath("work"), launcher.Starts[i].WorkingFolder);
    }
    EXPECT_EQ((Command{R"(--title="x")", Drive.HostPath("a.txt")}), launcher.Starts[0].Arguments);
    EXPECT_EQ((Command{R"(--title="x")", Drive.HostPath("c.c")}), launcher.Starts[1].Arguments);

    EXPECT_FALSE(host::ShellExecute(
        host::ShellRequest{host::ShellVerb::OpenWithApplication, {Drive.Path("a.txt")}, {}, {}, "gone.desktop"}));
    EXPECT_EQ(host::ERROR_NO_ASSOCIATION, host::GetLastError());
    EXPECT_EQ(2u, launcher.Starts.size());
}

} // namespace
