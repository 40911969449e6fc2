#include "viewing/MediaPlayer.h"

#include "viewing/FileViewer.h"
#include "viewing/ViewerWindow.h"

#include "panels/MyPanelOptions.h"
#include "panels/MyTPanel.h"

#include "core/files/FileExtensions.h"
#include "core/forms/MessageBoxes.h"
#include "core/settings/ProgramOptions.h"

#include "host/Clock.h"

#include "panels/PanelTestSupport.h"

#include "support/FakeMediaDevice.h"
#include "support/MediaPlayerControls.h"
#include "support/Pixels.h"
#include "support/RecordingLauncher.h"
#include "support/ShownFailures.h"
#include "support/TestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPainter>
#include <QPlainTextEdit>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using testing::HasSubstr;

namespace {

// The main window as the player sees it: it counts the viewer showings and keeps the title.
class TRecordingViewerWindow : public TViewerWindowStandIn
{
public:
    void ShowViewer() override { ++ViewerShown; }
    void SetApplicationTitle(const std::string& title) override { Title = title; }
    void FocusColumn() override { ++ColumnFocused; }

    int ViewerShown = 0;
    int ColumnFocused = 0;
    std::string Title;
};

std::string HintOf(const MyTPanel& panel)
{
    return panel.toolTip().toStdString();
}

// The player over panels of its own in a shown window, a fake device and a clock moved by
// hand.
class MediaPlayer : public testing::Test
{
protected:
    MediaPlayer()
    {
        host::SetTickCountSource([this] { return Tick; });
        AudioFileExtensions.Assign({".ogg", ".wav"});
        VideoFileExtensions.Assign({".avi"});
        TSeam<TViewerWindow>::Install(&WindowSeam);
        BuildControls();
        Viewer = std::make_unique<TFileViewer>(ViewerPanel, new QPlainTextEdit(ViewerPanel), Settings);
        Player = std::make_unique<MyTMediaPlayer>();
        Player->Bind(Controls, *Viewer);
        Player->Stop();
    }
    ~MediaPlayer() override
    {
        Player.reset();
        TSeam<TViewerWindow>::Install(nullptr);
        AudioFileExtensions.Clear();
        VideoFileExtensions.Clear();
        host::SetTickCountSource({});
    }

    void BuildControls()
    {
        Controls = TTestMediaControls(Window.Window).Controls;
        ViewerPanel = TTestMediaControls::AddPanel(&Window.Window, {0, 300, 400, 0});
    }

    TFakeMediaDevice& Device() { return Devices.Device(); }

    void PlayList(const std::vector<std::string>& items, const std::string& startTitle = {})
    {
        Player->PlayTextList(items, startTitle, 0, "");
    }

    // One main-timer period later.
    void Period(uint32_t milliseconds = 500)
    {
        Tick += milliseconds;
        Player->PlayNext();
        Player->UpdateProgress();
    }

    // The medium ends and the player sees it.
    void EndMedium()
    {
        Period();
        Device().Finish();
    }

    void Press(MyTPanel* panel, TMouseButton button = mbLeft, int y = 5)
    {
        panel->MouseDown(button, 0, panel->Border, y);
    }

    uint32_t Tick = 100000;
    TPanelWindow Window{1000, 800};
    TModalScript Script;
    TRecordingViewerWindow WindowSeam;
    TFakeMediaDevices Devices;
    TFileViewerSettings Settings;
    TMediaPlayerControls Controls;
    MyTPanel* ViewerPanel = nullptr;
    std::unique_ptr<TFileViewer> Viewer;
    std::unique_ptr<MyTMediaPlayer> Player;
};

struct TPlayerState
{
    bool Playing;
    bool Stopped;
    bool Paused;
    std::string PauseCaption;
    bool operator==(const TPlayerState&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TPlayerState& state)
{
    return out << state.Playing << state.Stopped << state.Paused << " " << state.PauseCaption;
}

TEST_F(MediaPlayer, StatesAndApplicationTitlesFollowPlayPauseResumeAndStop)
{
    const auto state = [&] {
        return TPlayerState{Player->Playing, Player->Stopped, Player->Paused, Controls.PauseButton->GetCaption()};
    };
    EXPECT_EQ((TPlayerState{false, true, false, "Pause"}), state());
    EXPECT_EQ("Quillomber", WindowSeam.Title);

    PlayList({"T:\\music\\a.wav", "T:\\music\\b.ogg", "T:\\music\\c.wav"}, "t:\\MUSIC\\B.OGG");
    EXPECT_EQ((TPlayerState{true, false, false, "Pause"}), state());
    EXPECT_EQ("#2 (3) b.ogg", WindowSeam.Title);
    EXPECT_EQ(host::MediaMode::Playing, Device().Mode());

    Press(Controls.PauseButton, mbRight);
    EXPECT_EQ((TPlayerState{true, false, true, "Resm"}), state());
    EXPECT_EQ("Resume the current media", HintOf(*Controls.PauseButton));
    EXPECT_EQ(host::MediaMode::Paused, Device().Mode());

    Press(Controls.PauseButton);
    EXPECT_EQ((TPlayerState{true, false, false, "Pause"}), state());
    EXPECT_EQ(host::MediaMode::Playing, Device().Mode());

    Press(Controls.StopButton, mbMiddle);
    EXPECT_EQ((TPlayerState{false, true, false, "Pause"}), state());
    EXPECT_EQ("Quillomber", WindowSeam.Title);
    EXPECT_EQ(host::MediaMode::NotReady, Device().Mode());
}

TEST_F(MediaPlayer, TheNextItemStartsTwoAndAHalfSecondsAfterTheMediumEnded)
{
    PlayList({"T:\\a.wav", "T:\\b.wav"});
    EndMedium();
    Period(2000);
    EXPECT_EQ(0, Player->CurrentIndex);
    Period(500);
    EXPECT_EQ(1, Player->CurrentIndex);
    EXPECT_EQ("T:\\b.wav", Device().FileName());
    EXPECT_EQ("#2 (2) b.wav", WindowSeam.Title);
    EXPECT_TRUE(Player->Playing);
}

TEST_F(MediaPlayer, RepeatPlaysTheSameItemAgain)
{
    PlayList({"T:\\a.wav", "T:\\b.wav"});
    Press(Controls.RepeatButton);
    EXPECT_TRUE(Controls.RepeatButton->Down);
    EndMedium();
    Period(2500);
    EXPECT_EQ(0, Player->CurrentIndex);
    EXPECT_EQ(2, std::count(Device().Calls.begin(), Device().Calls.end(), "Open T:\\a.wav"));
}

// The medium that just ended stood at its end: resuming there would skip the whole first item.
TEST_F(MediaPlayer, TheEndOfTheListStoresTheFirstTitleAtItsBeginning)
{
    TLastPlayedMPL& recent = Viewer->LastPlayedMPL;
    recent.Add("T:\\songs.mpl");
    PlayList({"T:\\a.wav", "T:\\b.wav"}, "T:\\b.wav");
    Device().Advance(999);
    Period();
    EXPECT_GT(Player->Progress, 0.9);
    Device().Finish();
    Period(2500);
    EXPECT_TRUE(Player->Stopped);
    EXPECT_EQ(0, Player->CurrentIndex);
    EXPECT_EQ(0, Controls.PlayList->FocusIndex);
    EXPECT_EQ("T:\\a.wav", recent.LastTitles[0]);
    EXPECT_EQ(0, recent.LastPositions[0]);
}

TEST_F(MediaPlayer, AListOfNonMediaFilesEndsStoppedWithTheFailureHint)
{
    PlayList({"T:\\notes.txt", "T:\\letter.doc"});
    EXPECT_FALSE(Player->Playing);
    EXPECT_TRUE(Player->Stopped);
    EXPECT_EQ("#2 (2) letter.doc", WindowSeam.Title);
    EXPECT_EQ("Current media play-list (error messages are displayed here, as hint). Failed to play media "
              "\"letter.doc\". ",
              HintOf(*Controls.PlayListTitlePanel));
    EXPECT_EQ(0, std::count_if(Device().Calls.begin(), Device().Calls.end(),
                               [](const std::string& call) { return call.starts_with("Open"); }));
}

TEST_F(MediaPlayer, AMediumTheDeviceCannotOpenTellsWhyInTheTitleHint)
{
    TFakeMedium broken;
    broken.OpenError = host::MEDIA_ERROR_INVALID_FILE;
    broken.OpenErrorMessage = "The file is not a medium.";
    Device().AddMedium("T:\\broken.wav", broken);
    PlayList({"T:\\broken.wav", "T:\\b.wav"});
    EXPECT_FALSE(Player->Playing);
    EXPECT_EQ(0, Player->CurrentIndex);
    EXPECT_EQ("Current media play-list (error messages are displayed here, as hint). Failed to play media "
              "\"broken.wav\". The file is not a medium.",
              HintOf(*Controls.PlayListTitlePanel));
}

TEST_F(MediaPlayer, TheVolumeKeepsFivePercentAndResumingAppliesItAgain)
{
    Player->SetVolume(false, 0.07);
    Player->DecreaseVolume();
    EXPECT_DOUBLE_EQ(0.05, Player->Volume);
    EXPECT_EQ(0x0CCD0CCDu, Device().VolumesWritten.back());
    EXPECT_EQ("Volume 5%. [LMB] = set new sound volume; the top is for low volumes, and the bottom is for high "
              "volumes. [=] = increase the sound volume with 5%. [-] = decrease the sound volume with 5%.",
              HintOf(*Controls.VolumeBar));

    PlayList({"T:\\a.wav"});
    Press(Controls.PauseButton);
    Press(Controls.PauseButton);
    EXPECT_EQ(0x0CCC0CCCu, Device().VolumesWritten.back());
    Player->UpdateProgress();
    EXPECT_DOUBLE_EQ(0.05, Player->Volume);

    Player->IncreaseVolume();
    EXPECT_DOUBLE_EQ(0.1, Player->Volume);
    Press(Controls.VolumeBar, mbLeft, 5 + 80);
    EXPECT_DOUBLE_EQ(0.8, Player->Volume);
    EXPECT_EQ(52428u * 0x10001, Device().VolumesWritten.back());
}

TEST_F(MediaPlayer, TheProgressHintTellsThePlayedTimeAndTheLength)
{
    Device().DefaultMedium.Length = 10000;
    PlayList({"T:\\a.wav"});
    Tick += 4500;
    Device().Advance(4500);
    Period();
    EXPECT_EQ("Progress 45%; time 00:00:05 (00:00:10). [LMB] = set new media progress (only when playing); the top "
              "is for beginning, and the bottom is for end. \"Time\" is the real played time, not the elapsed time "
              "in media. \"]\" = fast forward with 5%. \"[\" fast backward with 5%.",
              HintOf(*Controls.ProgressBar));
}

TEST_F(MediaPlayer, SeeksStopAtTheEndsOfTheMedium)
{
    Device().DefaultMedium.Length = 10000;
    PlayList({"T:\\a.wav"});
    Device().Advance(9800);
    Player->FastForward();
    EXPECT_EQ(10000, Device().PositionsSet.back());
    Device().SetPosition(200);
    Player->FastBackward();
    EXPECT_EQ(0, Device().PositionsSet.back());
    Press(Controls.ProgressBar, mbLeft, 5 + 25);
    EXPECT_EQ(2500, Device().PositionsSet.back());
}

// A seek plays: the pause ends with it, or "Resm" would show over a playing medium.
TEST_F(MediaPlayer, ASeekWhilePausedPlaysWithThePauseCaption)
{
    Device().DefaultMedium.Length = 10000;
    PlayList({"T:\\a.wav"});
    Press(Controls.PauseButton);
    ASSERT_TRUE(Player->Paused);
    Player->FastForward();
    EXPECT_FALSE(Player->Paused);
    EXPECT_EQ("Pause", Controls.PauseButton->GetCaption());
    EXPECT_EQ(host::MediaMode::Playing, Device().Mode());
    EXPECT_FALSE(Player->PlayedCrono.Stopped);
}

TEST_F(MediaPlayer, AMediumWithoutLengthIsNeverSought)
{
    Device().DefaultMedium.Length = 0;
    PlayList({"T:\\a.wav"});
    Player->FastForward();
    Player->FastBackward();
    Player->UpdateProgress();
    EXPECT_TRUE(Device().PositionsSet.empty());
    EXPECT_EQ(0, Player->Progress);
}

TEST_F(MediaPlayer, TheLengthInSecondsFollowsTheTimeFormat)
{
    using enum host::MediaTimeFormat;
    struct TCase
    {
        host::MediaTimeFormat Format;
        int64_t Length;
        std::optional<double> FrameRate;
        int64_t Seconds;
    };
    const TCase cases[] = {
        {Milliseconds, 61999, {}, 61},
        // Minutes, seconds and frames, lowest byte first.
        {Msf, 0x070203, {}, 3 * 60 + 2},
        {Frames, 250, 25.0, 10},
        {Frames, 240, {}, 10},
        {Frames, 240, 0.0, 10},
        {Frames, 240, std::nan(""), 10},
        // Hours, minutes, seconds and frames.
        {Smpte30Drop, 0x1D030201, {}, (1 * 60 + 2) * 60 + 3},
        {Hms, 0x030201, {}, 0},
        {Bytes, 100000, {}, 0},
    };
    EXPECT_EQ(0, Player->GetLengthSeconds());
    for (const TCase& c : cases) {
        Device().DefaultMedium.Length = c.Length;
        Device().DefaultMedium.FrameRate = c.FrameRate;
        Device().DefaultMedium.TimeFormat = c.Format;
        PlayList({"T:\\a.avi"});
        EXPECT_EQ(c.Seconds, Player->GetLengthSeconds()) << static_cast<int>(c.Format) << " " << c.Length;
    }
}

TEST_F(MediaPlayer, AVideoIsCentredAndEnlargedOnlyWhileFitIsDown)
{
    Device().DefaultMedium.SourceSize = QSize(320, 240);
    Player->PlayFile("T:\\film.avi");
    EXPECT_LE(1, WindowSeam.ViewerShown);
    EXPECT_EQ(QRect(5 + (590 - 320) / 2, 5 + (390 - 240) / 2, 320, 240), Device().DisplayRect());
    EXPECT_TRUE(HintOf(*Controls.ViewerClientPanel).starts_with("File size = "));
    EXPECT_TRUE(HintOf(*Controls.ViewerClientPanel).ends_with(" | Space width = 590 | Space height = 390"));

    Press(Controls.FitButton);
    EXPECT_EQ(QRect(5 + (590 - 520) / 2, 5, 520, 390), Device().DisplayRect());

    const QRect hover(30, 40, 160, 160);
    TMediaClipInfo info;
    Player->FitMovie(&hover, &info);
    EXPECT_EQ(QRect(30, 40, 160, 120), Device().DisplayRect());
    EXPECT_EQ(320, info.SourceWidth);
    EXPECT_EQ(120, info.ShownHeight);
}

TEST_F(MediaPlayer, AVideoWhoseSizeComesLateIsPlacedThen)
{
    PlayList({"T:\\film.avi"});
    EXPECT_EQ(QRect(0, 0, 0, 0), Device().DisplayRect());
    Device().AnnounceSourceSize(QSize(100, 50));
    EXPECT_EQ(QRect(5 + 245, 5 + 170, 100, 50), Device().DisplayRect());
}

// The viewer's changes place the list's video again, never a clip in the hover window.
TEST_F(MediaPlayer, AClipKeepsItsPlaceInTheHoverWindowWhenTheViewerIsFittedAgain)
{
    Device().DefaultMedium.SourceSize = QSize(320, 240);
    TMediaClipInfo info;
    Player->PlayThumb("T:\\clip.avi", &Window.Window, QRect(5, 21, 240, 159), info);
    const QRect clipPlace(5, 21, 212, 159);
    ASSERT_EQ(clipPlace, Device().DisplayRect());

    Player->RefitMovie();
    EXPECT_EQ(clipPlace, Device().DisplayRect());
    Press(Controls.FitButton);
    EXPECT_EQ(clipPlace, Device().DisplayRect());
}

TEST_F(MediaPlayer, ClipCopiesTheActiveTitleOnlyFromAListOfTwoOrMore)
{
    QGuiApplication::clipboard()->setText("before");
    PlayList({"T:\\a.wav"});
    Press(Controls.ClipButton);
    EXPECT_EQ("before", QGuiApplication::clipboard()->text().toStdString());
    PlayList({"T:\\a.wav", "T:\\b.wav"}, "T:\\b.wav");
    Press(Controls.ClipButton);
    EXPECT_EQ("T:\\b.wav", QGuiApplication::clipboard()->text().toStdString());
}

TEST_F(MediaPlayer, NextAndPreviousStopAtTheEndsOfTheList)
{
    PlayList({"T:\\a.wav", "T:\\b.wav"});
    Press(Controls.PrevButton);
    EXPECT_EQ(0, Player->CurrentIndex);
    Press(Controls.NextButton, mbRight);
    EXPECT_EQ(1, Player->CurrentIndex);
    Press(Controls.NextButton);
    EXPECT_EQ(1, Player->CurrentIndex);
    EXPECT_EQ("T:\\b.wav", Device().FileName());
}

TEST_F(MediaPlayer, EnterPlaysTheFocusedItemAndTheArrowsGoBackToTheColumn)
{
    PlayList({"T:\\a.wav", "T:\\b.wav"});
    Controls.PlayList->SetFocusIndex(1);
    uint16_t key = VK_RETURN;
    Controls.PlayList->KeyDown(key, 0);
    EXPECT_EQ(0, key);
    EXPECT_EQ(1, Player->CurrentIndex);
    for (uint16_t arrow : {VK_LEFT, VK_RIGHT}) {
        key = arrow;
        Controls.PlayList->KeyDown(key, 0);
        EXPECT_EQ(0, key);
    }
    EXPECT_EQ(2, WindowSeam.ColumnFocused);
}

TEST_F(MediaPlayer, ADoubleClickOnAnItemPlaysIt)
{
    PlayList({"T:\\a.wav", "T:\\b.wav"});
    const QRect second = Controls.PlayList->GetItemRect(1);
    Controls.PlayList->MouseDown(mbLeft, ShiftOf(ssDouble), second.center().x(), second.center().y());
    EXPECT_EQ(1, Player->CurrentIndex);
    EXPECT_EQ("T:\\b.wav", Device().FileName());
}

TEST_F(MediaPlayer, ARightPressStopsAndRunsTheItemsFile)
{
    TTempDrive drive;
    drive.WriteFile("b.wav", "RIFF");
    TRecordingLauncher launcher;
    PlayList({"T:\\a.wav", drive.Path("b.wav")});
    const QRect second = Controls.PlayList->GetItemRect(1);
    Controls.PlayList->MouseDown(mbRight, ShiftOf(ssRight), second.center().x(), second.center().y());
    EXPECT_FALSE(Player->Playing);
    EXPECT_EQ(1u, launcher.Starts.size() + launcher.Calls.size());
}

// The player's own text colours are kept apart, so each counted pixel belongs to one look.
TEST_F(MediaPlayer, ThePlayedItemIsBoldItalicInTheSelectionColours)
{
    TMyPanelSkin skin;
    skin.WindowBackColor = 0xFFFFFF;
    skin.WindowTextColor = 0x00FE00;
    skin.SelectionBriskMarginColor = 0xFE0000;
    skin.SelectionTextColor = 0x0000FE;
    GMyPanelOptions.BindSkin(skin);
    Controls.PlayList->SetItemHeight(24);
    PlayList({"T:\\one\\song.wav", "T:\\two\\song.wav", "T:\\zzz.wav"});
    Controls.PlayList->SetFocusIndex(2);

    const auto render = [&](int index) {
        QImage image(Controls.PlayList->size(), QImage::Format_RGB32);
        QPainter canvas(&image);
        Player->PlayListDrawItem(canvas, index);
        return image.copy(Controls.PlayList->GetItemRect(index));
    };
    const auto count = [](const QImage& image, TColor color) {
        int pixels = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                pixels += PixelAt(image, x, y) == color ? 1 : 0;
        return pixels;
    };
    const QImage played = render(0);
    const QImage plain = render(1);
    EXPECT_EQ(skin.SelectionBriskMarginColor, PixelAt(played, 0, played.height() / 2));
    EXPECT_EQ(skin.WindowBackColor, PixelAt(plain, 0, plain.height() / 2));
    EXPECT_EQ(0, count(played, skin.WindowTextColor));
    // The same name, once bold.
    EXPECT_GT(count(played, skin.SelectionTextColor), count(plain, skin.WindowTextColor) * 5 / 4);
    GMyPanelOptions.BindSkin(DefaultPanelSkin);
}

TEST_F(MediaPlayer, PlayListFilesSkipEmptyLinesAndResumeAtTheLastTitle)
{
    TTempDrive drive;
    drive.WriteFile("songs.mpl", "T:\\a.wav\r\n\r\nT:\\Music\\B.wav\r\n\r\n");
    Player->PlayMPL(drive.Path("songs.mpl"), "t:\\music\\b.WAV", 300);
    EXPECT_EQ(2, Controls.PlayList->GetCount());
    EXPECT_EQ(1, Player->CurrentIndex);
    EXPECT_EQ(1, Controls.PlayList->FocusIndex);
    EXPECT_EQ("T:\\Music\\B.wav", Device().FileName());
    EXPECT_EQ(300, Device().PositionsSet.back());
    EXPECT_EQ(drive.Path("songs.mpl"), Controls.PlayListTitlePanel->GetCaption());
    ASSERT_EQ(1, Viewer->LastPlayedMPL.Count);
    EXPECT_EQ(drive.Path("songs.mpl"), Viewer->LastPlayedMPL.Files[0]);
}

TEST_F(MediaPlayer, APlayListFileOfEmptyLinesWarnsAndStaysStopped)
{
    TTempDrive drive;
    drive.WriteFile("empty.mpl", "\r\n\r\n\n");
    Script.Expect("Warning", IDOK,
                  [](const TModalRequest& request) { EXPECT_EQ("The play-list is empty.", request.Text); });
    Player->PlayMPL(drive.Path("empty.mpl"), "", 0);
    EXPECT_TRUE(Player->Stopped);
    EXPECT_EQ(0, Viewer->LastPlayedMPL.Count);
}

// Lines that are host paths, as players on this system write them, are the files they
// name; the other lines stay as they are.
TEST_F(MediaPlayer, PlayListLinesThatAreHostPathsNameTheirFiles)
{
    TTempDrive drive;
    // A path too long for a Windows form has none.
    const std::string tooLong = drive.HostPath(std::string(300, 'a') + ".wav");
    drive.WriteFile("songs.mpl", drive.HostPath("Music") + "/a.wav\n" + drive.HostPath("b c.wav") +
                                     "\nT:\\d.wav\nrelative.wav\n" + tooLong + "\n");
    Player->PlayMPL(drive.Path("songs.mpl"), drive.Path("b c.wav"), 0);
    ASSERT_EQ(5, Controls.PlayList->GetCount());
    const std::vector<std::string> expected = {drive.Path("Music\\a.wav"), drive.Path("b c.wav"), "T:\\d.wav",
                                               "relative.wav", tooLong};
    for (int32_t i = 0; i < 5; ++i)
        EXPECT_EQ(expected[static_cast<size_t>(i)], TextOf(*Controls.PlayList, i)) << i;
    EXPECT_EQ(1, Player->CurrentIndex) << "the last title is found among the mapped items";
    EXPECT_EQ(drive.Path("b c.wav"), Device().FileName());
}

// A list that cannot be read, or one above the bound, fails to play with its reason; it
// is not an empty list.
TEST_F(MediaPlayer, APlayListFileAboveItsBoundOrUnreadableFailsToPlay)
{
    TTempDrive drive;
    std::string large = "T:\\a.wav\r\n";
    large.resize(MyTMediaPlayer::MaxPlayListBytes + 1, 'x');
    drive.WriteFile("large.mpl", large);
    const struct
    {
        const char* Name;
        const char* Reason;
    } cases[] = {{"large.mpl", "File size is too big (over 8388608 bytes)."}, {"missing.mpl", "Cannot open file"}};
    for (const auto& item : cases) {
        SCOPED_TRACE(item.Name);
        TShownFailures failures;
        failures.Expect(Script, "Error");
        Player->PlayMPL(drive.Path(item.Name), "", 0);
        ASSERT_EQ(1u, failures.Reports.size());
        EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to play."));
        EXPECT_THAT(failures.Reports[0], HasSubstr(item.Reason));
        EXPECT_TRUE(Player->Stopped);
        EXPECT_TRUE(Controls.PlayList->Empty);
        EXPECT_EQ(0, Viewer->LastPlayedMPL.Count);
    }
}

TEST_F(MediaPlayer, PlayingOneFileLeavesTheRecentList)
{
    TLastPlayedMPL& recent = Viewer->LastPlayedMPL;
    recent.Add("T:\\songs.mpl");
    recent.SetLastPosition("T:\\b.wav", 1234);
    Player->PlayFile("T:\\single.wav");
    EXPECT_TRUE(Player->Playing);
    EXPECT_EQ("T:\\single.wav", Controls.PlayListTitlePanel->GetCaption());
    ASSERT_EQ(1, recent.Count);
    EXPECT_EQ("T:\\songs.mpl", recent.Files[0]);
    EXPECT_EQ("T:\\b.wav", recent.LastTitles[0]);
    EXPECT_EQ(1234, recent.LastPositions[0]);
}

TEST_F(MediaPlayer, StoringThePositionKeepsItWhileAHoverClipPlays)
{
    TLastPlayedMPL& recent = Viewer->LastPlayedMPL;
    recent.Add("T:\\songs.mpl");
    PlayList({"T:\\a.wav", "T:\\b.wav"});
    Device().Advance(500);
    Player->UpdateProgress();
    EXPECT_EQ(0, Player->StoreLastPlayedPosition());
    EXPECT_EQ("T:\\a.wav", recent.LastTitles[0]);
    EXPECT_EQ(500, recent.LastPositions[0]);

    WindowSeam.SetHoverClipPlaying(true);
    Device().Advance(300);
    Player->UpdateProgress();
    Press(Controls.StopButton);
    EXPECT_EQ(500, recent.LastPositions[0]);
}

// A clip in the hover window stops the list it interrupts; the list is resumed from where it
// was, and neither the clip nor the next one moves that place.
TEST_F(MediaPlayer, AHoverClipInterruptingAListKeepsTheListsPosition)
{
    TLastPlayedMPL& recent = Viewer->LastPlayedMPL;
    recent.Add("T:\\songs.mpl");
    PlayList({"T:\\a.wav", "T:\\b.wav"});
    Device().Advance(700);
    Player->UpdateProgress();

    TMediaClipInfo info;
    Player->PlayThumb("T:\\clip.avi", &Window.Window, QRect(5, 21, 240, 159), info);
    EXPECT_TRUE(WindowSeam.IsHoverClipPlaying());
    EXPECT_EQ("T:\\a.wav", recent.LastTitles[0]);
    EXPECT_EQ(700, recent.LastPositions[0]);

    Device().Advance(300);
    Player->PlayThumb("T:\\other.avi", &Window.Window, QRect(5, 21, 240, 159), info);
    Press(Controls.StopButton);
    EXPECT_EQ("T:\\a.wav", recent.LastTitles[0]);
    EXPECT_EQ(700, recent.LastPositions[0]);
}

TEST_F(MediaPlayer, TheLauncherReachesThePlayerOnceItIsBound)
{
    const TMediaPlayerServices* bound = Player.get();
    EXPECT_EQ(bound, &TSeam<TMediaPlayerServices>::Get());
    Player.reset();
    EXPECT_NE(bound, &TSeam<TMediaPlayerServices>::Get());
}

} // namespace
