#include "host/VideoFrames.h"
#include "host/LastError.h"

#include "support/VideoFixtures.h"

#include <QThreadPool>

#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include <sys/stat.h>

namespace {

using namespace std::chrono_literals;

class VideoFrames : public testing::Test
{
protected:
    TTempDrive Drive{'T'};
};

TEST_F(VideoFrames, TheThumbnailerMakesAFrameOfTheAskedSize)
{
    const std::string clip = CopyTestPatternClip(Drive, "clip.mp4");
    struct Row
    {
        int Size;
        QSize Frame;
    };
    for (const Row& row : {Row{200, {200, 113}}, Row{64, {64, 36}}}) {
        const std::optional<QImage> frame = host::MakeVideoFrame(clip, row.Size);
        ASSERT_TRUE(frame) << row.Size << ": error " << host::GetLastError();
        EXPECT_EQ(row.Frame, frame->size());
        EXPECT_GT(ColourCount(*frame), 8u);
    }
    EXPECT_EQ(0, LeftFrames());
}

// Thumbnails are made on worker threads, which run no event loop.
TEST_F(VideoFrames, AFrameIsMadeOnAWorkerThread)
{
    const std::string clip = CopyTestPatternClip(Drive, "clip.mp4");
    std::promise<std::optional<QImage>> made;
    QThreadPool pool;
    pool.start([&] { made.set_value(host::MakeVideoFrame(clip, 100)); });
    const std::optional<QImage> frame = made.get_future().get();
    ASSERT_TRUE(frame);
    EXPECT_EQ(QSize(100, 56), frame->size());
}

TEST_F(VideoFrames, ThumbnailersThatFailLeaveNoFrame)
{
    const std::string clip = CopyTestPatternClip(Drive, "clip.mp4");
    struct Row
    {
        const char* Case;
        std::string Program;
        uint32_t Error;
    };
    const Row rows[] = {
        {"missing", Drive.HostPath("no such thumbnailer"), host::ERROR_FILE_NOT_FOUND},
        {"failing after a partial frame",
         WriteStandInThumbnailer(Drive, "fails", "printf '\\211PNG' > \"$OUT\"; exit 1"), host::ERROR_NOT_SUPPORTED},
        {"writing no picture", WriteStandInThumbnailer(Drive, "garbage", "echo garbage > \"$OUT\""),
         host::ERROR_NOT_SUPPORTED},
        {"writing a frame larger than asked for",
         WriteStandInThumbnailer(Drive, "large", "cp '" + Drive.HostPath("large.png") + "' \"$OUT\""),
         host::ERROR_NOT_SUPPORTED},
    };
    ASSERT_TRUE(QImage(300, 10, QImage::Format_RGB32).save(QString::fromStdString(Drive.HostPath("large.png"))));
    for (const Row& row : rows) {
        UseThumbnailer(row.Program);
        EXPECT_FALSE(host::MakeVideoFrame(clip, 100)) << row.Case;
        EXPECT_EQ(row.Error, host::GetLastError()) << row.Case;
        EXPECT_EQ(0, LeftFrames()) << row.Case;
    }
}

TEST_F(VideoFrames, AHangingThumbnailerIsKilledAtTheTimeLimit)
{
    const std::string clip = CopyTestPatternClip(Drive, "clip.mp4");
    UseThumbnailer(WriteStandInThumbnailer(Drive, "hangs", "echo partial > \"$OUT\"; exec sleep 60"), 300ms);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(host::MakeVideoFrame(clip, 100));
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(host::ERROR_TIMEOUT, host::GetLastError());
    EXPECT_GE(waited, 300ms);
    EXPECT_LT(waited, 5s);
    EXPECT_EQ(0, LeftFrames());
}

TEST_F(VideoFrames, OnlyRegularFilesGoToTheThumbnailer)
{
    // The stand-in would leave a mark; a pipe would block a real thumbnailer until killed.
    UseThumbnailer(WriteStandInThumbnailer(Drive, "marks", "touch '" + Drive.HostPath("ran") + "'"));
    ASSERT_EQ(0, mkfifo(Drive.HostPath("pipe.mp4").c_str(), 0600));
    struct Row
    {
        std::string Name;
        uint32_t Error;
    };
    const Row rows[] = {
        {Drive.Path("pipe.mp4"), host::ERROR_ACCESS_DENIED},
        {Drive.Path(""), host::ERROR_ACCESS_DENIED},
        {Drive.Path("missing.mp4"), host::ERROR_FILE_NOT_FOUND},
        {"Q:\\unmapped.mp4", host::ERROR_PATH_NOT_FOUND},
    };
    for (const Row& row : rows) {
        EXPECT_FALSE(host::MakeVideoFrame(row.Name, 100)) << row.Name;
        EXPECT_EQ(row.Error, host::GetLastError()) << row.Name;
    }
    EXPECT_FALSE(Drive.Exists("ran"));
}

} // namespace
