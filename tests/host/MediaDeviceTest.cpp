#include "host/MediaDevice.h"
#include "host/QtMediaDevice.h"
#include "host/VideoPicture.h"

#include "support/FakeMediaDevice.h"
#include "support/TestSupport.h"
#include "support/VideoFixtures.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>

namespace {

using namespace std::chrono_literals;
using host::MediaMode;

// A mono 16-bit PCM wave file of silence.
std::string WaveFile(int sampleRate, int samples)
{
    auto word = [](uint32_t value, int bytes) {
        std::string text;
        for (int i = 0; i < bytes; ++i)
            text += static_cast<char>((value >> (8 * i)) & 0xFF);
        return text;
    };
    const uint32_t dataBytes = static_cast<uint32_t>(samples) * 2;
    return "RIFF" + word(36 + dataBytes, 4) + "WAVE" + "fmt " + word(16, 4) + word(1, 2) + word(1, 2) +
           word(sampleRate, 4) + word(sampleRate * 2, 4) + word(2, 2) + word(16, 2) + "data" + word(dataBytes, 4) +
           std::string(dataBytes, '\0');
}

// Runs the event loop until `done`, or false once the limit has passed.
bool ProcessEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 20s)
{
    const QDeadlineTimer deadline(limit);
    QTimer wake;
    wake.start(limit);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// The program waits 3 s for a medium to load. The tests wait longer: a busy machine running
// them under the sanitizers may take that long to load the decoders the first time.
class RealMediaDevice : public testing::Test
{
protected:
    TTempDrive Drive{'T'};
    std::unique_ptr<host::MediaDevice> Device = std::make_unique<host::QtMediaDevice>(20s);
};

TEST_F(RealMediaDevice, AShortWaveOpensLastsItsLengthAndEndsStopped)
{
    Drive.WriteFile("short.wav", WaveFile(8000, 2400));
    Device->SetFileName(Drive.Path("short.wav"));
    std::vector<bool> openingSeen;
    QTimer::singleShot(0, [&] { openingSeen.push_back(Device->IsOpening()); });
    Device->Open();
    ASSERT_EQ(0, Device->ErrorCode()) << Device->ErrorMessage();
    EXPECT_EQ(std::vector<bool>{true}, openingSeen) << "events run while the medium loads";
    EXPECT_FALSE(Device->IsOpening());
    EXPECT_EQ(host::MediaTimeFormat::Milliseconds, Device->TimeFormat());
    EXPECT_NEAR(300, Device->Length(), 20);
    EXPECT_EQ(MediaMode::Stopped, Device->Mode());
    EXPECT_FALSE(Device->SourceSize());

    Device->Play();
    ASSERT_TRUE(ProcessEventsUntil([&] { return Device->Mode() == MediaMode::Playing; }));
    EXPECT_TRUE(ProcessEventsUntil([&] { return Device->Mode() == MediaMode::Stopped; }));

    Device->Close();
    EXPECT_EQ(MediaMode::NotReady, Device->Mode());
}

TEST_F(RealMediaDevice, PauseTogglesAndAPositionSetIsWhereItPlaysOn)
{
    Drive.WriteFile("long.wav", WaveFile(8000, 8000 * 60));
    Device->SetFileName(Drive.Path("long.wav"));
    Device->Open();
    ASSERT_EQ(0, Device->ErrorCode()) << Device->ErrorMessage();
    Device->Play();
    ASSERT_TRUE(ProcessEventsUntil([&] { return Device->Mode() == MediaMode::Playing; }));

    Device->Pause();
    EXPECT_TRUE(ProcessEventsUntil([&] { return Device->Mode() == MediaMode::Paused; }));
    Device->SetPosition(45000);
    EXPECT_TRUE(ProcessEventsUntil([&] { return Device->Position() >= 45000; }));
    Device->Pause();
    EXPECT_TRUE(ProcessEventsUntil([&] { return Device->Mode() == MediaMode::Playing; }));
    EXPECT_GE(Device->Position(), 45000);
    EXPECT_LT(Device->Position(), 60000);
}

// One device serves the whole run: a file that fails leaves nothing behind for the next.
// Some failures report twice, the second report late; the rows give it every chance to
// reach the medium opened after it.
TEST_F(RealMediaDevice, AFileThatIsNoMediumGivesAnErrorWithItsMessage)
{
    Drive.WriteFile("garbage.wav", std::string(4096, 'x'));
    Drive.WriteFile("zeros.ogg", std::string(4096, '\0'));
    Drive.WriteFile("short.wav", WaveFile(8000, 2400));
    struct Row
    {
        std::string Name;
        int Error;
    };
    for (const Row& row :
         {Row{"garbage.wav", host::MEDIA_ERROR_INVALID_FILE}, Row{"zeros.ogg", host::MEDIA_ERROR_INVALID_FILE},
          Row{"missing.wav", host::MEDIA_ERROR_FILE_NOT_FOUND}, Row{"short.wav", 0},
          Row{"zeros.ogg", host::MEDIA_ERROR_INVALID_FILE}, Row{"short.wav", 0},
          Row{"garbage.wav", host::MEDIA_ERROR_INVALID_FILE}, Row{"zeros.ogg", host::MEDIA_ERROR_INVALID_FILE},
          Row{"short.wav", 0}}) {
        Device->SetFileName(Drive.Path(row.Name));
        Device->Open();
        EXPECT_EQ(row.Error, Device->ErrorCode()) << row.Name << ": " << Device->ErrorMessage();
        EXPECT_EQ(row.Error != 0, !Device->ErrorMessage().empty()) << row.Name;
        EXPECT_EQ(row.Error ? MediaMode::NotReady : MediaMode::Stopped, Device->Mode()) << row.Name;
    }
}

TEST_F(RealMediaDevice, AVideoTellsItsSizeAndRateAndCoversTheDisplayRectangle)
{
    QWidget display;
    display.resize(400, 300);
    display.show();
    Device->SetDisplay(&display);
    Device->SetFileName(CopyTestPatternClip(Drive, "clip.mp4"));
    Device->Open();
    ASSERT_EQ(0, Device->ErrorCode()) << Device->ErrorMessage();
    EXPECT_NEAR(1000, Device->Length(), 50);
    ASSERT_TRUE(Device->SourceSize());
    EXPECT_EQ(QSize(320, 180), *Device->SourceSize());
    ASSERT_TRUE(Device->NominalFrameRate());
    EXPECT_DOUBLE_EQ(10, *Device->NominalFrameRate());

    const QRect place(40, 60, 320, 180);
    Device->SetDisplayRect(place);
    const auto* video = display.findChild<host::VideoPicture*>();
    ASSERT_TRUE(video);
    EXPECT_EQ(place, video->geometry());
    EXPECT_TRUE(video->isVisible());

    Device->Close();
    EXPECT_FALSE(video->isVisible());
}

// The picture is painted from the video's frames inside the display, and moved into a display
// whose window is not shown yet it is painted there once that window shows.
TEST_F(RealMediaDevice, TheVideosFramesArePaintedInItsDisplay)
{
    const QRect place(40, 60, 320, 180);
    auto paintsVideo = [&](QWidget& display) {
        return ProcessEventsUntil([&] { return ColourCount(display.grab(place).toImage()) > 100; });
    };
    QWidget viewer;
    viewer.resize(400, 300);
    viewer.show();
    Device->SetDisplay(&viewer);
    Device->SetDisplayRect(place);
    Device->SetFileName(CopyTestPatternClip(Drive, "clip.mp4"));
    Device->Open();
    ASSERT_EQ(0, Device->ErrorCode()) << Device->ErrorMessage();
    Device->Play();
    EXPECT_TRUE(paintsVideo(viewer));
    Device->Pause();
    ASSERT_TRUE(ProcessEventsUntil([&] { return Device->Mode() == MediaMode::Paused; }));

    QWidget hover;
    hover.resize(400, 300);
    Device->SetDisplay(&hover);
    EXPECT_FALSE(viewer.findChild<host::VideoPicture*>());
    hover.show();
    EXPECT_TRUE(paintsVideo(hover));
}

TEST_F(RealMediaDevice, AMediumThatDoesNotLoadInTimeIsNotOpened)
{
    Drive.WriteFile("short.wav", WaveFile(8000, 2400));
    host::QtMediaDevice impatient(0ms);
    impatient.SetFileName(Drive.Path("short.wav"));
    impatient.Open();
    EXPECT_EQ(host::MEDIA_ERROR_DEVICE_NOT_READY, impatient.ErrorCode());
    EXPECT_FALSE(impatient.ErrorMessage().empty());
    EXPECT_EQ(MediaMode::NotReady, impatient.Mode());
    EXPECT_EQ(0, impatient.Length());
}

// A display panel may be destroyed before the device that shows a video in it.
TEST_F(RealMediaDevice, ThePlayingVideoOutlivesItsDisplay)
{
    auto display = std::make_unique<QWidget>();
    display->resize(400, 300);
    display->show();
    Device->SetDisplay(display.get());
    Device->SetFileName(CopyTestPatternClip(Drive, "clip.mp4"));
    Device->Open();
    ASSERT_EQ(0, Device->ErrorCode()) << Device->ErrorMessage();
    Device->SetDisplayRect(QRect(0, 0, 320, 180));
    Device->Play();
    ASSERT_TRUE(ProcessEventsUntil([&] { return Device->Mode() == MediaMode::Playing; }));

    display.reset();
    EXPECT_TRUE(ProcessEventsUntil([&] { return Device->Mode() == MediaMode::Stopped; }));
    Device->Close();
    Device.reset();
}

// The media framework loads at the first Open; until then the device answers as one with no
// medium, and a display set before it gets its video at that Open.
TEST_F(RealMediaDevice, ADeviceNeverOpenedHasNoMediumAndShowsItsVideoOnceOpened)
{
    QWidget display;
    display.resize(400, 300);
    display.show();
    Device->SetVolume(0x12341234u);
    Device->SetDisplay(&display);
    Device->SetDisplayRect(QRect(0, 0, 320, 180));
    Device->Play();
    Device->Pause();
    Device->SetPosition(500);
    Device->Close();
    EXPECT_EQ(MediaMode::NotReady, Device->Mode());
    EXPECT_EQ(0, Device->Position());
    EXPECT_EQ(0, Device->Length());
    EXPECT_FALSE(Device->SourceSize());
    EXPECT_FALSE(Device->NominalFrameRate());
    EXPECT_EQ(0x12341234u, Device->Volume());
    EXPECT_FALSE(display.findChild<host::VideoPicture*>());

    Device->SetFileName(CopyTestPatternClip(Drive, "clip.mp4"));
    Device->Open();
    ASSERT_EQ(0, Device->ErrorCode()) << Device->ErrorMessage();
    const auto* video = display.findChild<host::VideoPicture*>();
    ASSERT_TRUE(video);
    EXPECT_TRUE(video->isVisible());
    EXPECT_EQ(QRect(0, 0, 320, 180), video->geometry());
}

TEST_F(RealMediaDevice, TheVolumeReadsBackAsWritten)
{
    EXPECT_EQ(0xFFFFFFFFu, Device->Volume());
    for (const uint32_t volume : {0u, 0x00010001u, 0x0CCC0CCCu, 0x0CCD0CCDu, 0x12345678u, 0xFFFFFFFFu}) {
        Device->SetVolume(volume);
        EXPECT_EQ(volume, Device->Volume());
    }
}

TEST(MediaDeviceFactory, TestsMakeFakeDevicesWhileTheirFactoryLives)
{
    {
        TFakeMediaDevices fakes;
        std::unique_ptr<host::MediaDevice> device = host::MakeMediaDevice();
        ASSERT_EQ(1, fakes.Made());
        EXPECT_EQ(device.get(), &fakes.Device());
        device.reset();
        EXPECT_THROW(fakes.Device(), std::logic_error);
    }
    EXPECT_TRUE(dynamic_cast<host::QtMediaDevice*>(host::MakeMediaDevice().get()));
}

TEST(MediaMode, ComesFromThePlaybackStateAndTheMediaStatus)
{
    using P = QMediaPlayer;
    struct Row
    {
        P::PlaybackState State;
        P::MediaStatus Status;
        MediaMode Mode;
    };
    for (const Row& row : {
             Row{P::StoppedState, P::NoMedia, MediaMode::NotReady},
             Row{P::StoppedState, P::LoadingMedia, MediaMode::NotReady},
             Row{P::StoppedState, P::InvalidMedia, MediaMode::NotReady},
             Row{P::StoppedState, P::LoadedMedia, MediaMode::Stopped},
             Row{P::StoppedState, P::EndOfMedia, MediaMode::Stopped},
             Row{P::PlayingState, P::BufferedMedia, MediaMode::Playing},
             Row{P::PlayingState, P::BufferingMedia, MediaMode::Playing},
             Row{P::PlayingState, P::StalledMedia, MediaMode::Playing},
             Row{P::PlayingState, P::InvalidMedia, MediaMode::NotReady},
             Row{P::PausedState, P::BufferedMedia, MediaMode::Paused},
         })
        EXPECT_EQ(row.Mode, host::MediaModeOf(row.State, row.Status)) << row.State << " " << row.Status;
}

} // namespace
