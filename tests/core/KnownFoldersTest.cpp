#include "core/files/KnownFolders.h"
#include "core/errors/Error.h"

#include "support/TestSupport.h"

#include "host/Drives.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QFileDialog>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

std::string WindowsPathOf(const std::string& hostPath)
{
    return host::HostToWindows(hostPath).value_or("<none>");
}

std::string HomeFolder()
{
    return TestRootHostPath() + "/home";
}

// A user-dirs.dirs for the length of a test.
class UserDirs : public testing::Test
{
protected:
    const std::string File = TestRootHostPath() + "/config/user-dirs.dirs";

    void Write(const std::string& text) { std::ofstream(File, std::ios::trunc) << text; }
    void TearDown() override { std::filesystem::remove(File); }
};

TEST_F(UserDirs, DefaultsLieUnderHomeAndAreCreated)
{
    struct Row
    {
        std::string (*Get)();
        const char* Name;
    };
    const Row rows[] = {
        {GetDesktopPath, "Desktop"},   {GetDocumentsPath, "Documents"}, {GetMusicPath, "Music"},
        {GetPicturesPath, "Pictures"}, {GetMoviesPath, "Videos"},
    };
    for (const Row& row : rows) {
        const std::string folder = HomeFolder() + "/" + row.Name;
        std::filesystem::remove_all(folder);
        EXPECT_EQ(WindowsPathOf(folder) + "\\", row.Get()) << row.Name;
        EXPECT_EQ(fsPerfect, FunStatContext.Status) << row.Name;
        EXPECT_TRUE(std::filesystem::is_directory(folder)) << row.Name;
    }
}

TEST_F(UserDirs, TheUsersChoicesAreRead)
{
    Write("# written by xdg-user-dirs-update\n"
          "XDG_PICTURES_DIR=\"$HOME/My \\$Pics\"\n"
          "XDG_MUSIC_DIR=\"$HOME/\"\n"
          "XDG_VIDEOS_DIR=\"" +
          TestRootHostPath() +
          "/films\"\n"
          "XDG_DOCUMENTS_DIR=\"relative/ignored\"\n"
          "XDG_DESKTOP_DIR=\"$HOME/Desk\"\n"
          "XDG_DESKTOP_DIR=\"$HOME/Desk top\"\n");
    EXPECT_EQ(WindowsPathOf(HomeFolder() + "/My $Pics") + "\\", GetPicturesPath());
    EXPECT_EQ(WindowsPathOf(TestRootHostPath() + "/films") + "\\", GetMoviesPath());
    EXPECT_EQ(WindowsPathOf(HomeFolder() + "/Documents") + "\\", GetDocumentsPath());
    EXPECT_EQ(WindowsPathOf(HomeFolder() + "/Desk top") + "\\", GetDesktopPath());
    // Set to the home folder itself: the user has no music folder.
    EXPECT_EQ("", GetMusicPath());
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST(KnownFolders, DesktopFoldersOfTheUser)
{
    const std::string config = TestRootHostPath() + "/config";
    const std::string data = TestRootHostPath() + "/data";
    EXPECT_EQ(WindowsPathOf(config + "/autostart") + "\\", GetStartupPath());
    EXPECT_TRUE(std::filesystem::is_directory(config + "/autostart"));
    EXPECT_EQ(WindowsPathOf(data + "/applications") + "\\", GetProgramLinksPath());
    EXPECT_EQ(WindowsPathOf(data) + "\\", GetApplicationDataPath());
    EXPECT_EQ(GetApplicationDataPath() + "Microsoft\\Internet Explorer\\Quick Launch\\", GetQuickLaunchPath());
    EXPECT_EQ(WindowsPathOf(HomeFolder() + "/Templates") + "\\", GetSystemDirectoryPath(21));
}

TEST(KnownFolders, FoldersTheHostLacksAreEmpty)
{
    for (auto get : {GetFavoritesPath, GetSharedFavoritesPath, GetRecentPath, GetCookiesPath, GetInternetCachePath,
                     GetSharedDocumentsPath, GetSharedDesktopPath}) {
        EXPECT_EQ("", get());
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
    }
    EXPECT_EQ("", GetSystemDirectoryPath(99));
}

TEST(KnownFolders, SystemFoldersEndWithABackslashTheHostsFileDoesNot)
{
    for (auto get : {GetOperatorPath, GetSystemPath, GetTempPathA}) {
        const std::string folder = get();
        EXPECT_EQ(fsPerfect, FunStatContext.Status) << folder;
        ASSERT_FALSE(folder.empty());
        EXPECT_EQ('\\', folder.back()) << folder;
    }
    EXPECT_EQ(WindowsPathOf(TestRootHostPath() + "/data/quillomber") + "\\", GetOperatorPath());
    EXPECT_EQ("C:\\usr\\bin\\", GetSystemPath());
    EXPECT_EQ("C:\\etc\\hosts", GetHostsFileName());
}

TEST(KnownFolders, AWindowsFolderThatCannotBeMadeFails)
{
    const std::string data = TestRootHostPath() + "/data";
    const std::string blocker = TestRootHostPath() + "/not-a-folder";
    std::ofstream(blocker) << "x";
    setenv("XDG_DATA_HOME", blocker.c_str(), 1);
    const std::string folder = GetOperatorPath();
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    std::filesystem::remove(blocker);

    EXPECT_EQ("", folder);
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Failed to get path.", FunStatContext.Description);
    EXPECT_NE(0u, FunStatContext.SystemErrorCode);
}

class ChoosingADirectory : public testing::Test
{
protected:
    TTempDrive Drive{'T'};
    TModalScript Script;
};

TEST_F(ChoosingADirectory, GivesThePickedFolder)
{
    std::filesystem::create_directories(Drive.HostPath("a/b"));
    const std::string hostFolder = Drive.HostPath("a/b");
    Script.Expect("Pick one", QDialog::Accepted, [&](const TModalRequest& request) {
        auto* dialog = static_cast<QFileDialog*>(request.Dialog);
        EXPECT_EQ(QString::fromStdString(Drive.HostPath("a")), dialog->directory().absolutePath());
        dialog->selectFile(QString::fromStdString(hostFolder));
    });
    std::string folder = "old";
    EXPECT_TRUE(ChooseDirectory(folder, "T:\\a", "Pick one"));
    EXPECT_EQ("T:\\a\\b", folder);
}

TEST_F(ChoosingADirectory, CancellingEmptiesTheFolder)
{
    Script.Expect("Pick", QDialog::Rejected, [&](const TModalRequest& request) {
        auto* dialog = static_cast<QFileDialog*>(request.Dialog);
        EXPECT_EQ(QString::fromStdString(HomeFolder() + "/Desktop"), dialog->directory().absolutePath());
    });
    std::string folder = "old";
    EXPECT_FALSE(ChooseDirectory(folder, "", "Pick"));
    EXPECT_EQ("", folder);
}

} // namespace
