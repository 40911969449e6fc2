#include "mainwindow/MainForm.h"

#include "columns/MainWindowMouse.h"
#include "panels/MyTPanel.h"

#include "core/files/FileExtensions.h"
#include "core/files/PathNames.h"

#include "host/Clock.h"

#include "viewing/FileViewer.h"

#include "BoardTestWindow.h"

#include "support/FakeMediaDevice.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string ReadHostFile(const std::string& hostPath)
{
    std::ifstream file(hostPath, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// A started main window with a fake media device, driven by a clock moved by hand.
class MainFormMedia : public testing::Test
{
protected:
    MainFormMedia()
    {
        host::SetTickCountSource([this] { return Tick; });
    }
    ~MainFormMedia() override
    {
        Window.Discard();
        AudioFileExtensions.Assign(SavedAudio);
        host::SetTickCountSource({});
    }

    TMainForm& Open()
    {
        TMainForm& form = Window.Open();
        AudioFileExtensions.Assign({".wav"});
        return form;
    }

    // Main-timer periods of the media step.
    void Periods(int count)
    {
        for (int i = 0; i < count; ++i) {
            Tick += 500;
            Window->MediaTimerStep();
        }
    }

    MyTMediaPlayer& Player() { return Window->MediaPlayer; }
    TFakeMediaDevice& Device() { return Devices.Device(); }
    std::string ApplicationTitle() { return Window->windowIconText().toStdString(); }

    uint32_t Tick = 100000;
    std::vector<std::string> SavedAudio = AudioFileExtensions.Entries();
    TFakeMediaDevices Devices;
    TBoardTestWindow Window;
};

TEST_F(MainFormMedia, TheTimerAdvancesTheListAndEndsAFinishedHoverClip)
{
    Open();
    Player().PlayTextList({"T:\\a.wav", "T:\\b.wav"}, "", 0, "");
    EXPECT_EQ("#1 (2) a.wav", ApplicationTitle());
    Periods(1);
    Device().Finish();
    Periods(4);
    EXPECT_EQ(0, Player().CurrentIndex);
    Periods(1);
    EXPECT_EQ(1, Player().CurrentIndex);
    EXPECT_EQ("#2 (2) b.wav", ApplicationTitle());

    Window->HoverClipPlaying = true;
    Device().Finish();
    Periods(1);
    EXPECT_FALSE(Player().Playing);
    EXPECT_EQ("Quillomber", ApplicationTitle());
}

TEST_F(MainFormMedia, TheMediaKeysSetTheVolumeAndSeek)
{
    TMainForm& form = Open();
    Player().PlayTextList({"T:\\a.wav"}, "", 0, "");
    Player().SetVolume(false, 0.5);
    EXPECT_TRUE(form.PreviewKeyPress(Qt::Key_Equal, Qt::NoModifier));
    EXPECT_DOUBLE_EQ(0.55, Player().Volume);
    EXPECT_TRUE(form.PreviewKeyPress(Qt::Key_Minus, Qt::NoModifier));
    EXPECT_DOUBLE_EQ(0.5, Player().Volume);

    Device().Advance(500);
    EXPECT_TRUE(form.PreviewKeyPress(Qt::Key_BracketRight, Qt::NoModifier));
    EXPECT_EQ(550, Device().PositionsSet.back());
    EXPECT_TRUE(form.PreviewKeyPress(Qt::Key_BracketLeft, Qt::NoModifier));
    EXPECT_EQ(500, Device().PositionsSet.back());

    // With nothing playing they replay the hover window's clip instead.
    Player().Stop();
    EXPECT_TRUE(form.PreviewKeyPress(Qt::Key_BracketRight, Qt::NoModifier));
    EXPECT_EQ(2u, Device().PositionsSet.size());
}

TEST_F(MainFormMedia, AColumnTakesThePlayListsFocusedFileOnADrop)
{
    TMainForm& form = Open();
    TMainWindowMouse& mouse = TSeam<TMainWindowMouse>::Get();
    std::string title;
    EXPECT_FALSE(mouse.GetPlayListActiveTitle(title));
    Player().PlayTextList({"T:\\a.wav", "T:\\b.wav"}, "T:\\b.wav", 0, "");
    EXPECT_TRUE(mouse.IsPlayList(form.PlayList));
    EXPECT_TRUE(mouse.GetPlayListActiveTitle(title));
    EXPECT_EQ("T:\\b.wav", title);
}

TEST_F(MainFormMedia, ClosingTheWindowStoresWhereTheListStood)
{
    TMainForm& form = Open();
    form.ToggleMediaPlayList();
    form.FileViewer->LastPlayedMPL.Add("T:\\songs.mpl");
    Player().PlayTextList({"T:\\a.wav", "T:\\b.wav"}, "T:\\b.wav", 0, "");
    Device().Advance(250);
    Periods(1);
    Window.Close();
    const std::string ini = ReadHostFile(TBoardTestWindow::OptionsHostPath("Quillomber.ini"));
    EXPECT_NE(std::string::npos, ini.find("[LastPlayedMPL_LastTitle]\r\n0=T:\\b.wav")) << ini;
    EXPECT_NE(std::string::npos, ini.find("[LastPlayedMPL_LastPosition]\r\n0=250")) << ini;
}

TEST_F(MainFormMedia, ARecentPlayListResumesAtItsTitleAndPosition)
{
    TMainForm& form = Open();
    TTempDrive drive;
    drive.WriteFile("songs.mpl", "T:\\a.wav\r\nT:\\b.wav\r\n");
    form.FileViewer->LastPlayedMPL.Add(drive.Path("songs.mpl"));
    form.LastPlayedMPLMenuClick(drive.Path("songs.mpl"), "T:\\b.wav", 300);
    EXPECT_EQ(1, Player().CurrentIndex);
    EXPECT_EQ(300, Device().PositionsSet.back());
}

TEST_F(MainFormMedia, ARecentMediaFolderResumesAtItsTitleAndPosition)
{
    TMainForm& form = Open();
    TTempDrive drive;
    drive.WriteFile("music/a.wav", "x");
    drive.WriteFile("music/b.wav", "x");
    drive.WriteFile("music/notes.txt", "x");
    const std::string folder = IncludeEndBackslash(drive.Path("music"));
    form.FileViewer->LastPlayedMPL.Add(folder);
    form.LastPlayedMPLMenuClick(folder, drive.Path("music/b.wav"), 300);
    EXPECT_EQ(2, form.PlayList->GetCount());
    EXPECT_EQ(1, Player().CurrentIndex);
    EXPECT_EQ(drive.Path("music/b.wav"), Device().FileName());
    EXPECT_EQ(300, Device().PositionsSet.back());
}

} // namespace
