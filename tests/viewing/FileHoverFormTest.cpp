#include "viewing/FileHoverForm.h"

#include "viewing/FileViewer.h"
#include "viewing/MediaPlayer.h"
#include "viewing/ViewerWindow.h"

#include "core/drawing/Color.h"
#include "core/files/FileExtensions.h"
#include "core/settings/ProgramOptions.h"
#include "core/text/MyMath.h"

#include "panels/PanelTestSupport.h"

#include "support/FakeMediaDevice.h"
#include "support/MediaPlayerControls.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>

#include <gmock/gmock.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

using testing::ElementsAre;
using testing::HasSubstr;

namespace {

constexpr TColor BackColor = 0x00202020;
constexpr TColor TextColor = 0x00FFFFFF;
constexpr TColor FrameColor = 0x000000FF; // red in the Windows layout
constexpr TColor ThumbColor = 0x0000FF00; // green

// The main window's part: pictures have thumbnails; the painter fills the picture's place.
class TFakeViewerWindow : public TViewerWindowStandIn
{
public:
    bool HasThumbnail(const std::string& title) override { return title.ends_with(".jpg"); }
    void PaintThumb(const std::string& fileName, int64_t, host::FileTime, QPainter& canvas, QRect infoRect,
                    QRect thumbRect) override
    {
        Painted.push_back(fileName);
        InfoRect = infoRect;
        canvas.fillRect(thumbRect, ToQColor(ThumbColor));
    }
    std::vector<std::string> Painted;
    QRect InfoRect;
};

class FileHoverFormTest : public testing::Test
{
protected:
    FileHoverFormTest()
    {
        ProgramOptions = TProgramOptions();
        AudioFileExtensions.Assign({".wav"});
        VideoFileExtensions.Assign({".mp4"});
        TSeam<TViewerWindow>::Install(&Window);
        MyTPanel* viewerPanel = TTestMediaControls::AddPanel(&Panels.Window, {0, 300, 400, 0});
        Viewer = std::make_unique<TFileViewer>(viewerPanel, new QPlainTextEdit(viewerPanel), Settings);
        Player = std::make_unique<MyTMediaPlayer>();
        Player->Bind(TTestMediaControls(Panels.Window).Controls, *Viewer);
        Form = std::make_unique<TFileHoverForm>(*Player);
    }
    ~FileHoverFormTest() override
    {
        Form.reset();
        Player.reset();
        Viewer.reset();
        TSeam<TViewerWindow>::Install(nullptr);
        AudioFileExtensions.Clear();
        VideoFileExtensions.Clear();
    }

    // Line height 20, pictures and movies 250 wide and 8 lines high, anything else 200 wide.
    static THoverRequest Request(const std::string& title, int32_t x = 600, int32_t y = 700)
    {
        THoverRequest request;
        request.PlayMedia = true;
        request.Title = title;
        request.Size = 1234567;
        request.X = x;
        request.Y = y;
        request.FrameColor = FrameColor;
        request.TextColor = TextColor;
        request.BackColor = BackColor;
        request.LineHeight = 20;
        request.FontSize = 9;
        request.FontName = "DejaVu Sans";
        request.PictureWidth = 250;
        request.PictureHeight = 8;
        request.MovieWidth = 250;
        request.MovieHeight = 8;
        request.GenericWidth = 200;
        return request;
    }

    QImage Rendered()
    {
        QImage image(Form->size(), QImage::Format_RGB32);
        image.fill(Qt::black);
        Form->render(&image);
        return image;
    }

    size_t Opens()
    {
        const std::vector<std::string>& calls = Devices.Device().Calls;
        return static_cast<size_t>(std::count_if(calls.begin(), calls.end(),
                                                 [](const std::string& call) { return call.starts_with("Open "); }));
    }

    TPanelWindow Panels{1000, 800};
    TFakeMediaDevices Devices;
    TFakeViewerWindow Window;
    TFileViewerSettings Settings;
    std::unique_ptr<TFileViewer> Viewer;
    std::unique_ptr<MyTMediaPlayer> Player;
    std::unique_ptr<TFileHoverForm> Form;
};

TEST_F(FileHoverFormTest, SitsBesideItsAnchorSizedByWhatItShows)
{
    struct TCase
    {
        const char* Name;
        std::string Title;
        bool Directory;
        bool PlayMedia;
        QPoint Anchor;
        QRect Geometry;
        QRect MediaRect;
    };
    const std::vector<TCase> cases{
        {"picture near the corner", "C:\\a\\p.jpg", false, true, {100, 150}, {200, 0, 250, 282}, {5, 21, 240, 159}},
        {"picture", "C:\\a\\p.jpg", false, true, {600, 700}, {350, 418, 250, 282}, {5, 21, 240, 159}},
        {"video as a thumbnail", "C:\\a\\v.mp4", false, false, {600, 700}, {350, 418, 250, 282}, {5, 21, 240, 159}},
        {"folder", "C:\\a\\d", true, true, {600, 700}, {400, 618, 200, 82}, {5, 1, 190, -1}},
        {"other file", "C:\\a\\n.bin", false, true, {600, 700}, {400, 598, 200, 102}, {5, 1, 190, -1}},
        {"audio", "C:\\a\\s.wav", false, false, {600, 700}, {400, 578, 200, 122}, {5, 21, 190, -1}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        THoverRequest request = Request(c.Title, c.Anchor.x(), c.Anchor.y());
        request.IsDirectory = c.Directory;
        request.PlayMedia = c.PlayMedia;
        Form->ShowForFile(request);
        EXPECT_TRUE(Form->Shown);
        EXPECT_TRUE(Form->isVisible());
        EXPECT_EQ(c.Geometry, Form->geometry());
        EXPECT_EQ(c.MediaRect, Form->MediaRect);
        EXPECT_EQ(c.Directory ? 80 : 100, Form->TextHeight);
    }
}

TEST_F(FileHoverFormTest, NamesTheItemAndAFolderHasNoSizeLine)
{
    Form->ShowForFile(Request("C:\\a\\b\\p.jpg"));
    const std::vector<std::string> lines = Form->GetTextLines();
    ASSERT_EQ(5u, lines.size());
    EXPECT_EQ("Name \"p.jpg\"", lines[0]);
    EXPECT_EQ("Path \"C:\\a\\b\"", lines[1]);
    EXPECT_THAT(lines[2], testing::StartsWith("Size "));
    EXPECT_THAT(lines[2], testing::EndsWith(" (" + Int64ToSeparatedText(1234567) + " bytes)"));
    EXPECT_THAT(lines[3], testing::StartsWith("Created "));
    EXPECT_THAT(lines[4], testing::StartsWith("Modified "));

    THoverRequest folder = Request("C:\\a\\d");
    folder.IsDirectory = true;
    Form->ShowForFile(folder);
    EXPECT_THAT(Form->GetTextLines(), ElementsAre("Name \"d\"", "Path \"C:\\a\"", testing::StartsWith("Created "),
                                                  testing::StartsWith("Modified ")));
}

// The frame, one text line in each band of the block, the thumbnail above it.
TEST_F(FileHoverFormTest, RendersFrameTextLinesAndThumbnailOffScreen)
{
    Form->ShowForFile(Request("C:\\a\\p.jpg"));
    const QImage image = Rendered();
    const QColor text = ToQColor(TextColor);
    EXPECT_EQ(text, image.pixelColor(0, 0));
    EXPECT_EQ(text, image.pixelColor(image.width() - 1, image.height() - 1));
    EXPECT_EQ(ToQColor(BackColor), image.pixelColor(2, 2));
    EXPECT_EQ(ToQColor(ThumbColor), image.pixelColor(Form->MediaRect.center()));
    EXPECT_THAT(Window.Painted, ElementsAre("C:\\a\\p.jpg"));
    EXPECT_EQ(Form->TopLineRect, Window.InfoRect);

    const int32_t blockTop = image.height() - Form->TextHeight - 1;
    for (int32_t line = 0; line < 5; ++line) {
        SCOPED_TRACE(line);
        int32_t inked = 0;
        for (int32_t y = blockTop + line * 20; y < blockTop + (line + 1) * 20; ++y)
            for (int32_t x = 5; x < image.width() - 5; ++x)
                inked += image.pixelColor(x, y) != ToQColor(BackColor) ? 1 : 0;
        EXPECT_GT(inked, 20);
    }
}

// The clip starts at the shift, fitted into the media place without enlarging, framed, and
// the top line tells its sizes, zoom and length.
TEST_F(FileHoverFormTest, AVideoClipStartsAtTheShiftAndReportsInTheTopLine)
{
    TFakeMedium medium;
    medium.Length = 4000;
    medium.SourceSize = QSize(640, 480);
    Devices.Device().AddMedium("C:\\a\\v.mp4", medium);
    ProgramOptions.FileHoverMediaStartShift = 10;
    Form->ShowForFile(Request("C:\\a\\v.mp4"));

    EXPECT_FALSE(Form->ShowsThumbnail);
    EXPECT_TRUE(Window.IsHoverClipPlaying());
    EXPECT_TRUE(Player->Playing);
    EXPECT_EQ(Form.get(), Devices.Device().Display());
    EXPECT_EQ(QRect(5, 21, 212, 159), Devices.Device().DisplayRect());
    EXPECT_THAT(Devices.Device().Calls, testing::IsSupersetOf({"Open C:\\a\\v.mp4", "Position 400", "Play"}));
    EXPECT_EQ("W 640 * H 480 | Z 33% | D 00:00:04", Form->GetTopLineText());
    Form->FPaint(true, 1000, 4000);
    EXPECT_EQ("W 640 * H 480 | Z 33% | D 00:00:04 (25%)", Form->GetTopLineText());
    const QImage image = Rendered();
    EXPECT_EQ(ToQColor(FrameColor), image.pixelColor(4, 100));
    EXPECT_EQ(ToQColor(FrameColor), image.pixelColor(5 + 212, 100));
}

TEST_F(FileHoverFormTest, AMediumTheDeviceCannotOpenShowsItsError)
{
    TFakeMedium broken;
    broken.OpenError = host::MEDIA_ERROR_INVALID_FILE;
    broken.OpenErrorMessage = "The file is not valid.";
    for (const std::string title : {"C:\\a\\v.mp4", "C:\\a\\s.wav"}) {
        SCOPED_TRACE(title);
        Devices.Device().AddMedium(title, broken);
        Form->ShowForFile(Request(title));
        Rendered();
        QCoreApplication::processEvents();
        EXPECT_EQ("Error \"The file is not valid.\"", Form->GetTopLineText());
        EXPECT_FALSE(Form->ClipStarted);
        EXPECT_FALSE(Player->Playing);
    }
}

// A paint only asks for the clip; the clip starts from the event loop, once, even when the
// device refuses it and the window is painted again.
TEST_F(FileHoverFormTest, AnAudioClipStartsAfterThePaintAndIsNotRetriedAfterAFailure)
{
    Form->ShowForFile(Request("C:\\a\\s.wav"));
    Rendered();
    EXPECT_EQ(0u, Opens());
    QCoreApplication::processEvents();
    EXPECT_EQ(1u, Opens());
    EXPECT_TRUE(Form->ClipStarted);
    EXPECT_THAT(Form->GetTopLineText(), testing::StartsWith("D "));

    TFakeMedium broken;
    broken.OpenError = host::MEDIA_ERROR_FILE_NOT_FOUND;
    broken.OpenErrorMessage = "Missing.";
    Devices.Device().AddMedium("C:\\a\\t.wav", broken);
    Form->ShowForFile(Request("C:\\a\\t.wav"));
    for (int paint = 0; paint < 3; ++paint) {
        Rendered();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(2u, Opens());

    Form->ReplayMedia();
    Rendered();
    QCoreApplication::processEvents();
    EXPECT_EQ(3u, Opens()) << "replaying tries again";
}

TEST_F(FileHoverFormTest, AudioWithoutPlayingSaysSoAndOpensNothing)
{
    THoverRequest request = Request("C:\\a\\s.wav");
    request.PlayMedia = false;
    Form->ShowForFile(request);
    Rendered();
    QCoreApplication::processEvents();
    EXPECT_EQ("Not playing", Form->GetTopLineText());
    EXPECT_EQ(0u, Opens());
}

TEST_F(FileHoverFormTest, TheProgressSuffixRoundsHalvesUp)
{
    struct TCase
    {
        int64_t Position;
        int64_t Length;
        std::string Suffix;
    };
    const std::vector<TCase> cases{
        {250, 1000, " (25%)"}, {1, 200, " (1%)"}, {1, 300, " (0%)"}, {1000, 1000, " (100%)"}, {5, 0, ""}};
    THoverRequest request = Request("C:\\a\\s.wav");
    request.PlayMedia = false;
    Form->ShowForFile(request);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Position);
        Form->FPaint(true, c.Position, c.Length);
        EXPECT_EQ("Not playing" + c.Suffix, Form->GetTopLineText());
    }
}

TEST_F(FileHoverFormTest, ReplayingPlaysAVideoShownAsAThumbnail)
{
    THoverRequest request = Request("C:\\a\\v.mp4");
    request.PlayMedia = false;
    Form->ShowForFile(request);
    EXPECT_TRUE(Form->ShowsThumbnail);
    EXPECT_EQ(0u, Opens());

    Form->ReplayMedia();
    EXPECT_FALSE(Form->ShowsThumbnail);
    EXPECT_TRUE(Form->PlayMedia);
    EXPECT_EQ(1u, Opens());

    Form->Hide();
    Form->ReplayMedia();
    EXPECT_EQ(1u, Opens()) << "a hidden window replays nothing";
}

// The device waits for the medium while the user may close the window: it stays closed.
TEST_F(FileHoverFormTest, ClosedWhileTheClipOpensItStaysClosed)
{
    Devices.Device().DuringOpen = [this] { Form->Hide(); };
    for (const std::string title : {"C:\\a\\v.mp4", "C:\\a\\s.wav"}) {
        SCOPED_TRACE(title);
        Form->ShowForFile(Request(title));
        Rendered();
        QCoreApplication::processEvents();
        EXPECT_FALSE(Form->isVisible());
        EXPECT_FALSE(Form->ClipStarted);
        EXPECT_FALSE(Player->Playing) << "the clip stopped";
    }
}

TEST_F(FileHoverFormTest, AMousePressHidesItAndStopsItsClipAndTheActiveWindowKeepsTheFocus)
{
    QWidget main;
    main.show();
    QApplication::setActiveWindow(&main);
    Form->ShowForFile(Request("C:\\a\\v.mp4"));
    EXPECT_EQ(&main, QApplication::activeWindow());
    ASSERT_TRUE(Player->Playing);

    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 10), QPointF(10, 10), Qt::RightButton, Qt::RightButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(Form.get(), &press);
    EXPECT_FALSE(Form->Shown);
    EXPECT_FALSE(Form->isVisible());
    EXPECT_FALSE(Player->Playing);
}

} // namespace
