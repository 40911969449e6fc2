#include "core/desktop/StartupLink.h"
#include "core/desktop/DesktopEntry.h"

#include "core/errors/Traced.h"

#include "host/DesktopApplications.h"
#include "host/Drives.h"

#include "support/DesktopFolders.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string ExecLineOf(const std::string& entryHostPath)
{
    std::ifstream entry(entryHostPath);
    for (std::string line; std::getline(entry, line);)
        if (line.rfind("Exec=", 0) == 0)
            return line.substr(5);
    return "(none)";
}

struct TExecRow
{
    std::string ProgramName;
    // The Exec value with "<>" standing for the host folder of the program.
    std::string Exec;
};

// Quotes only where the name needs them; inside them the shell's special characters get
// a backslash, which the entry's own escaping doubles; "%" is doubled.
const TExecRow ExecRows[] = {
    {"plain", "<>/plain"},         {"my prog", "\"<>/my prog\""}, {"a'b", "\"<>/a'b\""},
    {"$HOME", "\"<>/\\\\$HOME\""}, {"`x`", "\"<>/\\\\`x\\\\`\""}, {"50%", "<>/50%%"},
};

TEST(StartupLink, ExecLineStartsTheProgramByItsHostPathWhateverItsName)
{
    TTempDrive drive;
    const std::string entry = TestRootHostPath() + "/config/autostart/" + StartupEntryFileName;
    for (const TExecRow& row : ExecRows) {
        SCOPED_TRACE(row.ProgramName);
        MakeStartupLinkByStatus(drive.Path(row.ProgramName), true);
        std::string expected = row.Exec;
        expected.replace(expected.find("<>"), 2, drive.HostPath());
        EXPECT_EQ(expected, ExecLineOf(entry));
    }
    MakeStartupLinkByStatus(drive.Path("plain"), false);
    EXPECT_FALSE(std::filesystem::exists(entry));
}

// A link made in the autostart folder: an existing entry stays unless overwriting is
// chosen; arguments follow the opener and the target.
TEST(StartupLink, AnEntryForAnyTargetKeepsAnExistingOneUnlessOverwriting)
{
    TTempDrive drive;
    drive.WriteFile("notes.txt", "n");
    drive.WriteFile("entry.desktop", "old");
    const std::string entry = drive.Path("entry.desktop");
    SaveDesktopEntry(entry, "notes", drive.Path("notes.txt"), "\"%n%\"", false, false);
    EXPECT_EQ("old", drive.ReadFile("entry.desktop"));
    SaveDesktopEntry(entry, "notes", drive.Path("notes.txt"), "\"%n%\"", false, true);
    EXPECT_EQ("[Desktop Entry]\nType=Application\nName=notes\nExec=xdg-open " + drive.HostPath("notes.txt") +
                  " \"%%n%%\"\n",
              drive.ReadFile("entry.desktop"));
}

// "%" is a field code only in the Exec line: the name and the working folder keep it single,
// so that the program starts in its real folder.
TEST(StartupLink, OnlyTheExecLineDoublesPercentSigns)
{
    TTempDrive drive;
    drive.WriteFile("50%/notes.txt", "n");
    const std::string entry = drive.Path("entry.desktop");
    SaveDesktopEntry(entry, "100% notes", drive.Path("50%\\notes.txt"), "", true, true);
    EXPECT_EQ("[Desktop Entry]\nType=Application\nName=100% notes\nExec=xdg-open " + drive.HostPath("50%%/notes.txt") +
                  "\nPath=" + drive.HostPath("50%") + "\n",
              drive.ReadFile("entry.desktop"));
}

// What the writer quotes and doubles, the desktop's reader takes back as the very program
// path and arguments.
TEST(StartupLink, AnEntryReadsBackAsTheProgramAndArgumentsItWasWrittenFor)
{
    const TDesktopFolders desktop;
    const std::string applications = std::string(std::getenv("XDG_DATA_HOME")) + "/applications";
    std::filesystem::create_directories(applications);
    host::MapDrive('E', applications);
    TTempDrive drive;
    struct Row
    {
        std::string Program;
        std::string Arguments;
        std::vector<std::string> ExpectedArguments;
    };
    const Row rows[] = {
        {"50%", "--ratio=50%", {"--ratio=50%"}},
        {"my 100% tool", "\"50% off\" %%", {"50% off", "%%"}},
        {"100%% $x", "", {}},
    };
    int number = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Program);
        const std::string id = "entry" + std::to_string(++number) + ".desktop";
        TTraced trace;
        trace.Run([&] {
            WriteDesktopEntry(trace, "E:\\" + id, "entry", drive.Path(row.Program), true, row.Arguments, false);
        });
        ASSERT_TRUE(trace.Succeeded());
        const std::optional<host::DesktopApplication> application = host::FindApplication(id);
        ASSERT_TRUE(application);
        std::vector<std::string> expected{drive.HostPath(row.Program)};
        expected.insert(expected.end(), row.ExpectedArguments.begin(), row.ExpectedArguments.end());
        EXPECT_EQ(std::vector<std::vector<std::string>>{expected}, host::ExpandExecLine(*application, {}));
    }
    host::UnmapDrive('E');
}

} // namespace
