#include "host/DesktopApplications.h"
#include "host/LastError.h"
#include "host/Shell.h"

#include "support/RecordingLauncher.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>

namespace fs = std::filesystem;

namespace {

using Command = std::vector<std::string>;

std::vector<std::string> IdsOf(const std::vector<host::DesktopApplication>& applications)
{
    std::vector<std::string> ids;
    for (const host::DesktopApplication& application : applications)
        ids.push_back(application.Id);
    return ids;
}

// The user's folders lie in the test root; the system's folders of the test come before
// the machine's.
class DesktopApplicationsTest : public testing::Test
{
protected:
    DesktopApplicationsTest()
        : UserData(std::getenv("XDG_DATA_HOME")), UserConfig(std::getenv("XDG_CONFIG_HOME")),
          SystemData(TestRootHostPath() + "/system-data"), SystemConfig(TestRootHostPath() + "/system-config")
    {
        SaveVariable("XDG_DATA_DIRS", SavedDataDirs);
        SaveVariable("XDG_CONFIG_DIRS", SavedConfigDirs);
        setenv("XDG_DATA_DIRS", (SystemData + ":/usr/share").c_str(), 1);
        setenv("XDG_CONFIG_DIRS", SystemConfig.c_str(), 1);
        Drive.WriteFile("a.txt", "text");
        Drive.WriteFile("b.png", "\x89PNG\r\n\x1A\n");
        Drive.WriteFile("c.c", "int main() {}\n");
    }

    ~DesktopApplicationsTest() override
    {
        RestoreVariable("XDG_DATA_DIRS", SavedDataDirs);
        RestoreVariable("XDG_CONFIG_DIRS", SavedConfigDirs);
        for (const std::string& folder : {UserData + "/applications", SystemData, SystemConfig})
            fs::remove_all(folder);
        fs::remove(UserConfig + "/mimeapps.list");
    }

    static void SaveVariable(const char* name, std::optional<std::string>& saved)
    {
        if (const char* value = std::getenv(name))
            saved = value;
    }

    static void RestoreVariable(const char* name, const std::optional<std::string>& saved)
    {
        if (saved)
            setenv(name, saved->c_str(), 1);
        else
            unsetenv(name);
    }

    static void Write(const std::string& path, const std::string& content)
    {
        fs::create_directories(fs::path(path).parent_path());
        std::ofstream(path) << content;
    }

    void WriteEntry(const std::string& dataFolder, const std::string& relative, const std::string& keys)
    {
        Write(dataFolder + "/applications/" + relative, "[Desktop Entry]\nType=Application\n" + keys);
        std::string id = relative;
        std::replace(id.begin(), id.end(), '/', '-');
        WrittenIds.insert(id);
    }

    // The types of files come from the system's data folders, so their applications are
    // found too: only the ones the test wrote count.
    std::vector<std::string> TestIds(const std::vector<std::string>& files)
    {
        std::vector<std::string> ids = IdsOf(host::GetApplicationsForFiles(files));
        std::erase_if(ids, [&](const std::string& id) { return !WrittenIds.contains(id); });
        return ids;
    }

    std::string UserData;
    std::string UserConfig;
    std::string SystemData;
    std::string SystemConfig;
    std::optional<std::string> SavedDataDirs;
    std::optional<std::string> SavedConfigDirs;
    std::set<std::string> WrittenIds;
    TTempDrive Drive{'T'};
};

TEST_F(DesktopApplicationsTest, ChoicesRegistrationsAndTheirOrder)
{
    WriteEntry(UserData, "editor.desktop", "Name=Editor\nExec=editor %F\nMimeType=text/plain;\n");
    WriteEntry(UserData, "viewer.desktop", "Name=Viewer\nExec=viewer %f\nMimeType=text/plain;image/png;\n");
    WriteEntry(UserData, "masked.desktop", "Name=Masked\nExec=masked %f\nMimeType=text/plain;\nHidden=true\n");
    WriteEntry(SystemData, "masked.desktop", "Name=Masked\nExec=masked %f\nMimeType=text/plain;\n");
    WriteEntry(SystemData, "editor.desktop", "Name=Lower editor\nExec=lower %f\nMimeType=image/png;\n");
    WriteEntry(SystemData, "coder.desktop", "Name=Coder\nExec=coder %U\nMimeType=text/x-csrc;\n");
    WriteEntry(SystemData, "absent.desktop", "Name=Absent\nExec=absent %f\nTryExec=/no/such/program\nMimeType=text/plain;\n");
    WriteEntry(SystemData, "unwanted.desktop", "Name=Unwanted\nExec=unwanted %f\nMimeType=text/plain;\n");
    WriteEntry(SystemData, "extra.desktop", "Name=Extra\nExec=extra %f\n");
    WriteEntry(SystemData, "vendor/tool.desktop", "Name=Tool\nExec=tool %f\nMimeType=text/plain;\n");
    WriteEntry(SystemData, "link.desktop", "Type=Link\nName=Link\nURL=https://example.org\nMimeType=text/plain;\n");
    Write(UserConfig + "/mimeapps.list", "[Default Applications]\ntext/plain=gone.desktop;viewer.desktop;\n\n"
                                         "[Added Associations]\ntext/plain=extra.desktop;\n\n"
                                         "[Removed Associations]\ntext/plain=unwanted.desktop;\n");

    EXPECT_EQ((std::vector<std::string>{"viewer.desktop", "extra.desktop", "editor.desktop", "vendor-tool.desktop"}),
              TestIds({Drive.Path("a.txt")}))
        << "the default, the added one, then by name; hidden, unrunnable and removed ones never";
    EXPECT_EQ((std::vector<std::string>{"coder.desktop", "viewer.desktop", "extra.desktop", "editor.desktop",
                                        "vendor-tool.desktop"}),
              TestIds({Drive.Path("c.c")}))
        << "C source is text too";
    EXPECT_EQ(std::vector<std::string>{"viewer.desktop"}, TestIds({Drive.Path("a.txt"), Drive.Path("b.png")}))
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
        {"app %i --name %c --entry %k 100%% %d %F", {{"app", "--icon", "app-icon", "--name", "My App", "--entry",
                                                    "/apps/app.desktop", "100%", "/d/a b.txt", "/d/c.txt"}}},
        {R"("/opt/my app/run" "say \"%f\" \$HOME \\" %F)",
         {{"/opt/my app/run", R"(say "%f" $HOME \)", "/d/a b.txt", "/d/c.txt"}}},
        {"plain", {{"plain", "/d/a b.txt", "/d/c.txt"}}},
    };
    for (const Row& row : rows) {
        host::DesktopApplication withExec = application;
        withExec.Exec = row.Exec;
        EXPECT_EQ(row.Expected, host::ExpandExecLine(withExec, files)) << row.Exec;
    }
}

TEST_F(DesktopApplicationsTest, TheChosenApplicationStartsOnTheFilesInTheWorkingFolder)
{
    // The key file's own escapes come first: \s is a blank, \\ one backslash.
    WriteEntry(UserData, "editor.desktop",
               "Name=Editor\nExec=\"/opt/ed\\sit/ed\" \"--title=\\\\\"x\\\\\"\" %f\nMimeType=text/plain;\n");
    fs::create_directories(Drive.HostPath("work"));
    TRecordingLauncher launcher;
    ASSERT_TRUE(host::ShellExecute(host::ShellRequest{host::ShellVerb::OpenWithApplication,
                                                      {Drive.Path("a.txt"), Drive.Path("c.c")}, {},
                                                      Drive.Path("work"), "editor.desktop"}));
    ASSERT_EQ(2u, launcher.Starts.size());
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ("/opt/ed it/ed", launcher.Starts[i].Program);
        EXPECT_EQ(Drive.HostPath("work"), launcher.Starts[i].WorkingFolder);
    }
    EXPECT_EQ((Command{R"(--title="x")", Drive.HostPath("a.txt")}), launcher.Starts[0].Arguments);
    EXPECT_EQ((Command{R"(--title="x")", Drive.HostPath("c.c")}), launcher.Starts[1].Arguments);

    EXPECT_FALSE(host::ShellExecute(host::ShellRequest{host::ShellVerb::OpenWithApplication, {Drive.Path("a.txt")},
                                                       {}, {}, "gone.desktop"}));
    EXPECT_EQ(host::ERROR_NO_ASSOCIATION, host::GetLastError());
    EXPECT_EQ(2u, launcher.Starts.size());
}

} // namespace
