#include "appearance/InstallForm.h"

#include "core/files/KnownFolders.h"
#include "core/forms/Utilities.h"

#include "host/Drives.h"
#include "host/FaultInjection.h"
#include "host/LastError.h"
#include "host/Process.h"
#include "host/Registry.h"
#include "host/ShellFolders.h"

#include "support/RecordingLauncher.h"
#include "support/ShownFailures.h"
#include "support/TestSupport.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

const std::string UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Quillomber";

std::string HostOf(const std::string& windowsPath)
{
    return host::WindowsToHost(windowsPath).value_or("(unmapped)");
}

std::string ExecLineOf(const std::string& entryHostPath)
{
    std::ifstream entry(entryHostPath);
    for (std::string line; std::getline(entry, line);)
        if (line.starts_with("Exec="))
            return line.substr(5);
    return "(none)";
}

bool PassesValidation(const std::string& entryHostPath)
{
    const std::string command = "desktop-file-validate '" + entryHostPath + "' >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

// A package folder P = {Install, Readme.txt, .hidden, sub/a.txt} on a drive, installed
// into the drive's folder F; the desktop and the applications menu are the test root's.
class Installer : public testing::Test
{
protected:
    Installer()
    {
        Drive.WriteFile("pkg/P/Install", "#!/bin/sh\n");
        fs::permissions(Drive.HostPath("pkg/P/Install"), fs::perms::owner_all);
        Drive.WriteFile("pkg/P/Readme.txt", "Read me first.");
        Drive.WriteFile("pkg/P/.hidden", "h");
        Drive.WriteFile("pkg/P/sub/a.txt", "a");
        fs::create_directories(Drive.HostPath("F"));
        SavedCommandLine = host::GetCommandLine();
        StartAs({Drive.HostPath("pkg/P/Install")});
        host::DeleteRegistryKey(host::RegistryRoot::LocalMachine, UninstallKey);
    }
    ~Installer() override
    {
        host::SetCommandLine(SavedCommandLine);
        host::SetProgramHostFile("");
        std::error_code ignored;
        fs::remove(HostOf(GetDesktopPath() + "quillomber.desktop"), ignored);
        fs::remove_all(HostOf(GetProgramLinksPath() + "P"), ignored);
        host::DeleteRegistryKey(host::RegistryRoot::LocalMachine, UninstallKey);
    }

    void StartAs(const std::vector<std::string>& commandLine)
    {
        host::SetCommandLine(commandLine);
        host::SetProgramHostFile(commandLine.front());
    }

    std::unique_ptr<TInstallForm> MakeForm()
    {
        auto form = std::make_unique<TInstallForm>();
        form->Setup("Quillomber", "File manager", "Version 1");
        return form;
    }

    // Installs into F, answering the question with Yes.
    void InstallIntoF()
    {
        auto form = MakeForm();
        form->InstallToEdit->setText(QString::fromStdString(Drive.Path("F")));
        Script.Expect("Query", IDYES);
        form->Install();
    }

    std::string MenuEntry(const std::string& name) const { return HostOf(GetProgramLinksPath() + "P\\" + name); }

    TTempDrive Drive{'W'};
    TModalScript Script;
    TRecordingLauncher Launcher;
    std::vector<std::string> SavedCommandLine;
};

TEST_F(Installer, StartsInTheUsersDataFolderWithTheReadme)
{
    auto form = MakeForm();
    EXPECT_EQ(host::HostToWindows(host::GetDataHomeHostFolder()).value() + "\\",
              form->InstallToEdit->text().toStdString());
    EXPECT_EQ("Read me first.", form->ReadmeMemo->toPlainText().toStdString());
    EXPECT_EQ("Install Quillomber", form->windowTitle().toStdString());
    EXPECT_EQ("&Install", form->InstallButton->text().toStdString());

    fs::remove(Drive.HostPath("pkg/P/Readme.txt"));
    EXPECT_TRUE(MakeForm()->ReadmeMemo->toPlainText().isEmpty());
}

TEST_F(Installer, CopiesThePackageUnderTheProgramsNameWithItsEntries)
{
    InstallIntoF();
    EXPECT_TRUE(Drive.Exists("F/P/quillomber"));
    EXPECT_TRUE(fs::perms::none !=
                (fs::status(Drive.HostPath("F/P/quillomber")).permissions() & fs::perms::owner_exec));
    EXPECT_EQ("Read me first.", Drive.ReadFile("F/P/Readme.txt"));
    EXPECT_EQ("a", Drive.ReadFile("F/P/sub/a.txt"));
    EXPECT_FALSE(Drive.Exists("F/P/Install"));
    EXPECT_FALSE(Drive.Exists("F/P/.hidden"));

    const std::string program = Drive.HostPath("F/P/quillomber");
    const std::string desktopEntry = HostOf(GetDesktopPath() + "quillomber.desktop");
    struct TEntry
    {
        std::string HostPath;
        std::string Exec;
    };
    const TEntry entries[] = {
        {desktopEntry, program},
        {MenuEntry("quillomber.desktop"), program},
        {MenuEntry("quillomber-uninstall.desktop"), program + " /Uninstall"},
        {MenuEntry("quillomber-readme.desktop"), "xdg-open " + Drive.HostPath("F/P/Readme.txt")},
    };
    for (const TEntry& entry : entries) {
        SCOPED_TRACE(entry.HostPath);
        EXPECT_EQ(entry.Exec, ExecLineOf(entry.HostPath));
        EXPECT_TRUE(PassesValidation(entry.HostPath));
    }
    EXPECT_TRUE(fs::perms::none != (fs::status(desktopEntry).permissions() & fs::perms::owner_exec));

    EXPECT_EQ("Quillomber", GetRegistryText(host::RegistryRoot::LocalMachine, UninstallKey, "DisplayName"));
    EXPECT_EQ(Drive.Path("F\\P\\quillomber") + " /Uninstall",
              GetRegistryText(host::RegistryRoot::LocalMachine, UninstallKey, "UninstallString"));
    ASSERT_EQ(1u, Launcher.Starts.size());
    EXPECT_EQ(program, Launcher.Starts[0].Program);
}

// On a fresh account the data folder itself may be missing.
TEST_F(Installer, AMissingInstallFolderIsMadeWithItsParents)
{
    auto form = MakeForm();
    form->InstallToEdit->setText(QString::fromStdString(Drive.Path("home\\.local\\share\\")));
    Script.Expect("Query", IDYES);
    form->Install();
    EXPECT_TRUE(Drive.Exists("home/.local/share/P/quillomber"));
    EXPECT_EQ(1u, Launcher.Starts.size());
}

TEST_F(Installer, AReinstallKeepsTheOptionsAndReplacesReadOnlyFiles)
{
    InstallIntoF();
    Drive.WriteFile("F/P/Options/Quillomber.ini", "[Kept]\r\n");
    Drive.WriteFile("F/P/sub/a.txt", "old");
    fs::permissions(Drive.HostPath("F/P/sub/a.txt"), fs::perms::owner_read);
    InstallIntoF();
    EXPECT_EQ("[Kept]\r\n", Drive.ReadFile("F/P/Options/Quillomber.ini"));
    EXPECT_EQ("a", Drive.ReadFile("F/P/sub/a.txt"));
    EXPECT_TRUE(Drive.Exists("F/P/quillomber"));
    EXPECT_EQ(2u, Launcher.Starts.size());
}

TEST_F(Installer, ATargetInsideThePackageIsRefusedBeforeTheQuestion)
{
    for (const std::string folder : {"pkg", "pkg\\P"}) {
        SCOPED_TRACE(folder);
        auto form = MakeForm();
        form->InstallToEdit->setText(QString::fromStdString(Drive.Path(folder)));
        TShownFailures failures;
        failures.Expect(Script, "Error");
        form->Install();
        ASSERT_EQ(1u, failures.Reports.size());
        EXPECT_NE(std::string::npos, failures.Reports[0].find("Failed to install program. Check to see if you have "
                                                              "rights to write in the installation directory."));
        EXPECT_NE(std::string::npos, failures.Reports[0].find("Can not copy a directory into itself."));
    }
    EXPECT_FALSE(Drive.Exists("pkg/P/P"));
    EXPECT_TRUE(Launcher.Starts.empty());
}

// A file that cannot be copied fails the install: it is never reported as done. It is no
// folder, so the folder box does not show.
TEST_F(Installer, AFileNotCopiedFailsTheInstallWithTheCount)
{
    auto form = MakeForm();
    form->InstallToEdit->setText(QString::fromStdString(Drive.Path("F")));
    Script.Expect("Query", IDYES);
    TShownFailures failures;
    failures.Expect(Script, "Error");
    host::InjectFault(host::HostCall::Write, host::ERROR_DISK_FULL, 1);
    form->Install();
    host::ClearFaults();
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_NE(std::string::npos, failures.Reports[0].find("Failed to install program."));
    EXPECT_NE(std::string::npos, failures.Reports[0].find("Files not copied: 1."));
    EXPECT_TRUE(Launcher.Starts.empty());
    EXPECT_TRUE(Drive.Exists("F/P/.quillomber-install")) << "what was copied can be uninstalled";
}

TEST_F(Installer, AnswersNoAndAnEmptyFolderChangeNothing)
{
    auto form = MakeForm();
    form->InstallToEdit->setText(QString::fromStdString(Drive.Path("F")));
    std::string question;
    Script.Expect("Query", IDNO, [&](const TModalRequest& request) { question = request.Text; });
    form->InstallButtonClick();
    EXPECT_EQ("Install the program in directory \"" + Drive.Path("F\\P") + "\"?", question);
    EXPECT_FALSE(form->InstallButton->isEnabled());
    EXPECT_FALSE(Drive.Exists("F/P"));

    auto empty = MakeForm();
    empty->InstallToEdit->clear();
    std::string warning;
    Script.Expect("Warning", IDOK, [&](const TModalRequest& request) { warning = request.Text; });
    empty->Do();
    EXPECT_EQ("(Un)Installation directory is empty.", warning);
    EXPECT_TRUE(Launcher.Starts.empty());
}

TEST_F(Installer, UninstallRemovesTheInstallationAndItsEntriesOnly)
{
    InstallIntoF();
    const std::string unrelated = HostOf(GetProgramLinksPath() + "other.desktop");
    std::ofstream(unrelated) << "[Desktop Entry]\n";
    StartAs({Drive.HostPath("F/P/quillomber"), "/Uninstall"});
    auto form = MakeForm();
    EXPECT_EQ("Uninstall Quillomber", form->windowTitle().toStdString());
    EXPECT_EQ(Drive.Path("F\\P\\"), form->InstallToEdit->text().toStdString());
    EXPECT_FALSE(form->BrowseButton->isEnabled());

    std::string question;
    Script.Expect("Query", IDNO, [&](const TModalRequest& request) { question = request.Text; });
    form->Do();
    EXPECT_EQ("Delete the installed files in directory \"" + Drive.Path("F\\P\\") + "\"?", question);
    EXPECT_TRUE(Drive.Exists("F/P/quillomber"));

    Script.Expect("Query", IDYES);
    Script.Expect("Message", IDOK);
    form->Do();
    EXPECT_FALSE(Drive.Exists("F/P"));
    EXPECT_TRUE(Drive.Exists("F"));
    EXPECT_FALSE(fs::exists(HostOf(GetDesktopPath() + "quillomber.desktop")));
    EXPECT_FALSE(fs::exists(MenuEntry("")));
    EXPECT_TRUE(fs::exists(unrelated));
    EXPECT_FALSE(host::RegistryKeyExists(host::RegistryRoot::LocalMachine, UninstallKey));
    fs::remove(unrelated);
}

// The install beside the user's own files: the uninstall takes what the install placed
// and nothing else, and the folders stay while they hold something of the user's.
TEST_F(Installer, UninstallLeavesWhatTheInstallDidNotPlace)
{
    Drive.WriteFile("F/P/notes.txt", "mine");
    Drive.WriteFile("F/P/sub/mine.txt", "mine too");
    InstallIntoF();
    Drive.WriteFile("F/P/Options/Quillomber.ini", "[Kept]\r\n");
    const std::string ownMenuEntry = MenuEntry("own.desktop");
    std::ofstream(ownMenuEntry) << "[Desktop Entry]\n";
    StartAs({Drive.HostPath("F/P/quillomber"), "/Uninstall"});
    auto form = MakeForm();
    Script.Expect("Query", IDYES);
    Script.Expect("Message", IDOK);
    form->Do();
    for (const char* gone : {"F/P/quillomber", "F/P/Readme.txt", "F/P/sub/a.txt", "F/P/.quillomber-install"})
        EXPECT_FALSE(Drive.Exists(gone)) << gone;
    EXPECT_EQ("mine", Drive.ReadFile("F/P/notes.txt"));
    EXPECT_EQ("mine too", Drive.ReadFile("F/P/sub/mine.txt"));
    EXPECT_EQ("[Kept]\r\n", Drive.ReadFile("F/P/Options/Quillomber.ini"));
    EXPECT_FALSE(fs::exists(MenuEntry("quillomber.desktop")));
    EXPECT_TRUE(fs::exists(ownMenuEntry));
}

// A folder the install never recorded (the program run from among other programs or
// documents) is refused before the question, and nothing in it goes.
TEST_F(Installer, UninstallRefusesAFolderWithoutARecord)
{
    Drive.WriteFile("bin/quillomber", "");
    Drive.WriteFile("bin/other-program", "");
    StartAs({Drive.HostPath("bin/quillomber"), "/Uninstall"});
    auto form = MakeForm();
    TShownFailures failures;
    failures.Expect(Script, "Error");
    form->Do();
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_NE(std::string::npos, failures.Reports[0].find("Failed to uninstall program."));
    EXPECT_NE(std::string::npos, failures.Reports[0].find("no record of an installation"));
    EXPECT_TRUE(Drive.Exists("bin/quillomber"));
    EXPECT_TRUE(Drive.Exists("bin/other-program"));
}

// What could not be deleted is counted, never called a success, and stays in the record;
// a record that points outside the folder or through a link reaches nothing there.
TEST_F(Installer, UninstallCountsWhatItCouldNotDelete)
{
    InstallIntoF();
    Drive.WriteFile("outside.txt", "keep");
    Drive.WriteFile("elsewhere/a.txt", "keep");
    fs::remove_all(Drive.HostPath("F/P/sub"));
    fs::create_directory_symlink(Drive.HostPath("elsewhere"), Drive.HostPath("F/P/sub"));
    std::ofstream(Drive.HostPath("F/P/.quillomber-install"), std::ios::app) << "..\\..\\outside.txt\n";
    StartAs({Drive.HostPath("F/P/quillomber"), "/Uninstall"});
    auto form = MakeForm();
    Script.Expect("Query", IDYES);
    TShownFailures failures;
    failures.Expect(Script, "Error");
    host::InjectFault(host::HostCall::Delete, host::ERROR_ACCESS_DENIED, 0, 1);
    form->Do();
    host::ClearFaults();
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_NE(std::string::npos, failures.Reports[0].find("Failed to uninstall program."));
    EXPECT_NE(std::string::npos, failures.Reports[0].find("Files not deleted: 4."));
    EXPECT_EQ("keep", Drive.ReadFile("outside.txt"));
    EXPECT_EQ("keep", Drive.ReadFile("elsewhere/a.txt"));
    EXPECT_TRUE(Drive.Exists("F/P/.quillomber-install"));
}

// A link in the record's place was not written by an install: the uninstall refuses it,
// and a reinstall replaces it instead of writing into the file it names.
TEST_F(Installer, ARecordThatIsALinkIsNeverReadNorWrittenThrough)
{
    InstallIntoF();
    const std::string record = Drive.HostPath("F/P/.quillomber-install");
    Drive.WriteFile("outside.txt", "Readme.txt\n");
    const auto linkRecord = [&] {
        fs::remove(record);
        fs::create_symlink(Drive.HostPath("outside.txt"), record);
    };
    linkRecord();
    StartAs({Drive.HostPath("F/P/quillomber"), "/Uninstall"});
    TShownFailures failures;
    failures.Expect(Script, "Error");
    MakeForm()->Do();
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_NE(std::string::npos, failures.Reports[0].find("no record of an installation"));
    EXPECT_TRUE(Drive.Exists("F/P/Readme.txt"));

    linkRecord();
    StartAs({Drive.HostPath("pkg/P/Install")});
    InstallIntoF();
    EXPECT_EQ("Readme.txt\n", Drive.ReadFile("outside.txt"));
    EXPECT_FALSE(fs::is_symlink(record));
}

// Deleting the program's folder from a drive root would delete the drive, and the
// applications folder with it.
TEST_F(Installer, UninstallFromADriveRootDeletesNothing)
{
    InstallIntoF();
    Drive.WriteFile("quillomber", "");
    StartAs({Drive.HostPath("quillomber"), "/Uninstall"});
    auto form = MakeForm();
    TShownFailures failures;
    failures.Expect(Script, "Error");
    form->Do();
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_NE(std::string::npos, failures.Reports[0].find("Failed to uninstall program."));
    EXPECT_TRUE(Drive.Exists("F/P/quillomber"));
    EXPECT_TRUE(fs::exists(MenuEntry("quillomber.desktop")));
    EXPECT_TRUE(fs::exists(HostOf(GetProgramLinksPath())));
}

} // namespace
