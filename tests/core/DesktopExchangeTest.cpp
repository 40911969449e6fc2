#include "core/desktop/DesktopExchange.h"
#include "core/errors/Error.h"
#include "core/files/KnownFolders.h"
#include "core/files/PathNames.h"
#include "core/forms/PasswordHelpers.h"

#include "support/TestSupport.h"

#include <QLineEdit>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

TEST(DroppedFiles, ListTheLocalFilesInTheirProgramForm)
{
    TTempDrive drive('T');
    QMimeData drop;
    drop.setUrls({QUrl::fromLocalFile(QString::fromStdString(drive.HostPath("a.txt"))),
                  QUrl("https://example.invalid/page"),
                  QUrl::fromLocalFile(QString::fromStdString(drive.HostPath("dir/b c.txt"))),
                  QUrl::fromLocalFile(QString::fromStdString(drive.HostPath("what?"))),
                  QUrl::fromLocalFile(QString::fromStdString(drive.HostPath("no Windows form \uF03F")))});
    EXPECT_EQ(4, GetDroppedFileCount(drop));
    std::vector<std::string> list = {"stale"};
    DroppedFilesToList(drop, list);
    EXPECT_EQ((std::vector<std::string>{"T:\\a.txt", "T:\\dir\\b c.txt", "T:\\what\uF03F"}), list);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

class Wallpaper : public testing::Test
{
protected:
    Wallpaper() : SavedPath(getenv("PATH"))
    {
        std::filesystem::create_directories(FakeBin);
        setenv("PATH", FakeBin.c_str(), 1);
    }
    ~Wallpaper() override
    {
        setenv("PATH", SavedPath.c_str(), 1);
        std::filesystem::remove_all(FakeBin);
    }

    void InstallFakeSettings(int exitCode) const
    {
        const std::string script = FakeBin + "/gsettings";
        std::ofstream(script) << "#!/bin/sh\necho \"$@\" >> " << Log << "\nexit " << exitCode << "\n";
        std::filesystem::permissions(script, std::filesystem::perms(0755));
    }

    std::string SavedPath;
    std::string FakeBin = TestRootHostPath() + "/fakebin";
    std::string Log = TestRootHostPath() + "/gsettings.log";
};

TEST_F(Wallpaper, IsSetThroughTheDesktopSettings)
{
    InstallFakeSettings(0);
    SetFileAsWallpaper("Quillomber_Wallpaper.bmp");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    std::ifstream log(Log);
    std::string line;
    std::getline(log, line);
    EXPECT_EQ(0u, line.find("set org.gnome.desktop.background picture-uri file://"));
    EXPECT_NE(std::string::npos, line.find("/Quillomber_Wallpaper.bmp"));
}

TEST_F(Wallpaper, ARefusalIsReported)
{
    InstallFakeSettings(1);
    const std::string expectedPath = IncludeEndBackslash(GetOperatorPath()) + "Quillomber_Wallpaper.bmp";
    SetFileAsWallpaper("Quillomber_Wallpaper.bmp");
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Failed to set wallpaper.", FunStatContext.Description);
    EXPECT_EQ(expectedPath, FunStatContext.Parameter1);
}

TEST(TextHashing, ControlTextBecomesItsDigest)
{
    QLineEdit edit;
    edit.setText("abc");
    HashControlText(edit, "SHA160", 1);
    EXPECT_EQ("A9993E364706816ABA3E25717850C26C9CD0D89D", edit.text().toStdString());

    edit.setText("abc");
    HashControlText(edit, "", 2);
    EXPECT_EQ("0D3CED9BEC10A777AEC23CCC353A8C08A633045E", edit.text().toStdString());

    TModalScript boxes;
    boxes.Expect("Warning", IDOK).Expect("Error", IDOK);
    edit.clear();
    HashControlText(edit, "SHA160", 1);
    edit.setText("abc");
    HashControlText(edit, "MD5", 1);
    EXPECT_EQ("There is no text to hash.", boxes.Seen().at(0).Text);
    EXPECT_EQ("Unknown hash algorithm.", boxes.Seen().at(1).Text);
    EXPECT_EQ("abc", edit.text().toStdString());
}

TEST(TextHashing, PasswordsAreHexDigitsOfTheModesLength)
{
    for (const auto& [mode, length] : {std::pair{1, 10u}, {2, 20u}, {0, 40u}, {7, 40u}}) {
        const std::string password = GenerateHexPassword(mode);
        EXPECT_EQ(length, password.size()) << mode;
        EXPECT_EQ(std::string::npos, password.find_first_not_of("0123456789ABCDEF")) << password;
    }
    EXPECT_NE(GenerateHexPassword(0), GenerateHexPassword(0));
}

} // namespace
