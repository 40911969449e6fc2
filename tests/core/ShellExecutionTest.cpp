#include "core/desktop/ShellExecution.h"
#include "core/errors/Error.h"

#include "host/LastError.h"

#include "support/RecordingLauncher.h"
#include "support/ShownFailures.h"
#include "support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace fs = std::filesystem;
using testing::HasSubstr;

namespace {

using Arguments = std::vector<std::string>;

class ShellExecutionTest : public testing::Test
{
protected:
    ShellExecutionTest()
    {
        WriteScript("tool.sh", "#!/bin/sh\n");
        Drive.WriteFile("notes.txt", "notes");
        fs::create_directories(Drive.HostPath("folder"));
    }

    void WriteScript(const std::string& name, const std::string& content)
    {
        Drive.WriteFile(name, content);
        fs::permissions(Drive.HostPath(name), fs::perms(0755));
    }

    TTempDrive Drive{'T'};
};

class ShellExecutionRecorded : public ShellExecutionTest
{
protected:
    TRecordingLauncher Launcher;
};

TEST_F(ShellExecutionRecorded, RunFileHandsTheParametersOnQuotedOrNot)
{
    struct Row
    {
        std::string Parameters;
        bool Quote;
        Arguments Expected;
    };
    const Row rows[] = {
        {"a b", false, {"a", "b"}},
        {"a b", true, {"a b"}},
        {"", true, {}},
        {"", false, {}},
        {R"(T:\notes.txt)", true, {Drive.HostPath("notes.txt")}},
    };
    for (const Row& row : rows) {
        RunFile(Drive.Path("tool.sh"), row.Parameters, Drive.Path("folder"), row.Quote, false);
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
        ASSERT_FALSE(Launcher.Starts.empty());
        EXPECT_EQ(Drive.HostPath("tool.sh"), Launcher.Starts.back().Program);
        EXPECT_EQ(row.Expected, Launcher.Starts.back().Arguments) << row.Parameters << " " << row.Quote;
        EXPECT_EQ(Drive.HostPath("folder"), Launcher.Starts.back().WorkingFolder);
    }
}

TEST_F(ShellExecutionRecorded, RunFileFailures)
{
    {
        TModalScript script;
        script.Expect("Error", IDOK);
        RunFile("", "x", "", false, false);
        EXPECT_EQ("The name of the file is empty.", script.Seen().at(0).Text);
        EXPECT_EQ(fsPerfect, FunStatContext.Status) << "told, not recorded";
    }
    RunFile(Drive.Path("missing.exe"), "", "", true, false);
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Failed to run file.", FunStatContext.Description);
    EXPECT_EQ(Drive.Path("missing.exe"), FunStatContext.Parameter1);
    EXPECT_EQ("", FunStatContext.Parameter2);
    EXPECT_EQ(host::ERROR_FILE_NOT_FOUND, FunStatContext.SystemErrorCode);

    RunFile(Drive.Path("notes.txt"), "--line 3", "", false, false);
    EXPECT_EQ(host::ERROR_NOT_SUPPORTED, FunStatContext.SystemErrorCode) << "a document cannot take parameters";
    EXPECT_TRUE(Launcher.Starts.empty());
}

TEST_F(ShellExecutionRecorded, RunVerbRunsTheMenusCommandsOnTheFile)
{
    RunVerb(Drive.Path("folder"), "Properties", "");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    ASSERT_EQ(1u, Launcher.Calls.size());
    EXPECT_EQ(QStringList{QString::fromStdString("file://" + Drive.HostPath("folder"))},
              Launcher.Calls[0].Arguments[0].toStringList());

    RunVerb(Drive.Path("notes.txt"), "", Drive.Path("folder"));
    ASSERT_EQ(1u, Launcher.Starts.size()) << "the default verb opens";
    EXPECT_EQ((Arguments{Drive.HostPath("notes.txt")}), Launcher.Starts[0].Arguments);

    RunOpenWith(Drive.Path("notes.txt"), Drive.Path("folder"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    ASSERT_EQ(2u, Launcher.Calls.size());
    EXPECT_EQ("OpenFile", Launcher.Calls[1].Method);

    RunVerb("", "Properties", "");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ(2u, Launcher.Calls.size());

    RunVerb(Drive.Path("notes.txt"), "Print", "");
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Failed to run verb.", FunStatContext.Description);
    EXPECT_EQ(Drive.Path("notes.txt") + ".", FunStatContext.Parameter1);
    EXPECT_EQ("Print", FunStatContext.Parameter2);
    EXPECT_EQ(host::ERROR_NO_ASSOCIATION, FunStatContext.SystemErrorCode);

    // No file manager on the bus: the report says that no service answered.
    Launcher.PresentServices.clear();
    RunVerb(Drive.Path("notes.txt"), "Properties", "");
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("No desktop service answers the request \"Properties\".", FunStatContext.Description);
    EXPECT_EQ(host::ERROR_SERVICE_DOES_NOT_EXIST, FunStatContext.SystemErrorCode);
}

TEST_F(ShellExecutionRecorded, OpenSiteShowsItsCallersMessage)
{
    OpenSite("https://example.org/help", "Failed to open the help site.");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    ASSERT_EQ(1u, Launcher.Starts.size());
    EXPECT_EQ("xdg-open", Launcher.Starts[0].Program);
    EXPECT_EQ(Arguments{"https://example.org/help"}, Launcher.Starts[0].Arguments);

    Launcher.RefuseStarts = true;
    TShownFailures failures;
    {
        TModalScript script;
        failures.Expect(script, "Error");
        OpenSite("https://example.org/help", "Failed to open the help site.");
    }
    EXPECT_EQ(fsPerfect, FunStatContext.Status) << "shown and cleared";
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to open the help site."));
    EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to run file."));
}

// A real start: the script writes what it was given, then renames its record into place.
TEST_F(ShellExecutionTest, AScriptStartedWithQuotedArgumentsAndAWorkingFolderRecordsExactlyThose)
{
    WriteScript("record args.sh", "#!/bin/sh\n"
                                  "{ pwd -P; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; } > \"$0.part\"\n"
                                  "mv \"$0.part\" \"$0.out\"\n");
    fs::create_directories(Drive.HostPath("work dir"));
    RunFile(Drive.Path("record args.sh"), R"(plain "two words" "say \"hi\"" T:\folder\x.txt "")",
            Drive.Path("work dir"), false, false);
    ASSERT_EQ(fsPerfect, FunStatContext.Status) << FunStatContext.Description;

    const fs::path record = Drive.HostPath("record args.sh.out");
    for (int waited = 0; waited < 200 && !fs::exists(record); ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_TRUE(fs::exists(record)) << "the script never ran";
    EXPECT_EQ(fs::canonical(Drive.HostPath("work dir")).string() + "\n[plain]\n[two words]\n[say \"hi\"]\n[" +
                  Drive.HostPath("folder/x.txt") + "]\n[]\n",
              Drive.ReadFile("record args.sh.out"));
}

} // namespace
