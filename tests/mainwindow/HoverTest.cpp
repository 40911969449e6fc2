#include "mainwindow/MainForm.h"

#include "columns/Column.h"
#include "panels/MyTPanel.h"

#include "core/files/FileExtensions.h"
#include "core/forms/Utilities.h"
#include "core/settings/ProgramOptions.h"

#include "host/Clock.h"
#include "host/Process.h"

#include "viewing/FileHoverForm.h"
#include "viewing/PictureCache.h"
#include "viewing/ViewerPlugins.h"

#include "support/FakeMediaDevice.h"
#include "support/TestSupport.h"
#include "support/ViewerPluginFixtures.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QImage>
#include <QWindow>

#include <gmock/gmock.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

// A started window whose first column lists a picture, a text, a sound and a video; the
// clock is the test's and the window has its hover window.
class HoverTest : public testing::Test
{
protected:
    HoverTest()
    {
        host::SetTickCountSource([this] { return Ticks; });
        std::filesystem::remove_all(TestRootHostPath() + "/program/Options");
        SetProgramRegistryText("Quillomber", "", "OptionsPath", "");
        ProgramOptions = TProgramOptions();
        // Thumbnails render afresh, and no repaint of an earlier test's widget is pending.
        PictureCache.Shutdown();
        for (const char* name : {"d/a.jpg", "d/b.txt", "d/s.wav", "d/v.mp4"})
            Drive.WriteFile(name, "x");
        Window = std::make_unique<TMainForm>();
        Window->Startup();
        PictureFileExtensions.Assign({".jpg"});
        TextFileExtensions.Assign({".txt"});
        AudioFileExtensions.Assign({".wav"});
        VideoFileExtensions.Assign({".mp4"});
        Window->show();
        Window->Reset(false);
        QApplication::setActiveWindow(Window.get());
        FileHoverForm = new TFileHoverForm(Window->MediaPlayer);
        Column().LoadDirectory({.ContainerIndex = -1, .Title = Drive.Path("d/a.jpg"), .Type = 1});
    }
    ~HoverTest() override
    {
        delete FileHoverForm;
        FileHoverForm = nullptr;
        Window.reset();
        host::SetTickCountSource({});
        PictureFileExtensions.Clear();
        TextFileExtensions.Clear();
        AudioFileExtensions.Clear();
        VideoFileExtensions.Clear();
        ProgramOptions = TProgramOptions();
    }

    TColumn& Column() { return *Window->Columns[0]; }
    MyTPanel& List() { return *Column().FileList; }
    int32_t Item(const std::string& name) { return Column().IndexOfName(name); }

    // A point of the item's first line, on its badge or on its name, in list coordinates.
    QPoint BadgePoint(int32_t index) { return List().GetItemAreaRect(index).topLeft() + QPoint(2, 2); }
    QPoint NamePoint(int32_t index)
    {
        return List().GetItemAreaRect(index).topLeft() + QPoint(Column().GetBadgeWidth(true) + 10, 2);
    }
    QPoint ToScreen(QPoint listPoint) { return List().mapToGlobal(listPoint + QPoint(List().Border, List().Border)); }

    // The mouse moves to the point, as the column reports it.
    void MoveTo(int32_t index, QPoint listPoint)
    {
        QCursor::setPos(ToScreen(listPoint));
        Window->CheckFileHoverMouseMove(Column(), index, listPoint.x(), listPoint.y());
        Window->SetHotTrackItem(Column(), index);
    }
    // The main timer's ticks until the given time.
    void TickUntil(uint32_t ms)
    {
        while (Ticks < ms) {
            Ticks += 100;
            Window->CheckItemHotTrack();
        }
    }
    bool Shown() const { return FileHoverForm->Shown && FileHoverForm->isVisible(); }

    TFakeMediaDevices Devices;
    TTempDrive Drive;
    uint32_t Ticks = 100000;
    std::unique_ptr<TMainForm> Window;
};

TEST_F(HoverTest, OpensAfterTheDelayOnTheBadgeWithTheItemsFacts)
{
    const int32_t item = Item("a.jpg");
    MoveTo(item, BadgePoint(item));
    TickUntil(100400);
    EXPECT_FALSE(Shown());
    TickUntil(100500);
    ASSERT_TRUE(Shown());
    EXPECT_EQ(Drive.Path("d/a.jpg"), FileHoverForm->FileTitle);
    EXPECT_TRUE(FileHoverForm->ShowsThumbnail);
    EXPECT_EQ(List().GetLineHeight(), FileHoverForm->LineHeight);
    EXPECT_EQ(QCursor::pos(), Window->HoverOrigin);
    EXPECT_EQ(&Column(), Window->HotItems.HoverColumn);
    EXPECT_EQ(item, Window->HotItems.HoverItem);
    // The window's bottom edge is the bottom of the item's first line, or it starts at the
    // top of the screen.
    const int32_t anchorY = ToScreen(List().GetItemAreaRect(item).topLeft()).y() + List().GetLineHeight();
    EXPECT_TRUE(FileHoverForm->geometry().bottom() + 1 == anchorY || FileHoverForm->y() == 0);
}

TEST_F(HoverTest, NothingOpensOverTheNameWithoutABadgeOrInAnInactiveWindow)
{
    struct TCase
    {
        const char* Name;
        bool OnBadge;
        bool Badges;
        bool Active;
    };
    const std::vector<TCase> cases{
        {"name part", false, true, true},
        {"no badge shown or simulated", true, false, true},
        {"inactive window", true, true, false},
    };
    const int32_t item = Item("b.txt");
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        ProgramOptions.ShowFileType = c.Badges;
        ProgramOptions.SimulateFileType = false;
        QApplication::setActiveWindow(c.Active ? Window.get() : nullptr);
        MoveTo(item, c.OnBadge ? BadgePoint(item) : NamePoint(item));
        TickUntil(Ticks + 2000);
        EXPECT_FALSE(Shown());
        Window->ApplicationEventsDeactivate();
    }
}

TEST_F(HoverTest, MovingBeyondTheSensitivityClosesItUntilTheMouseLeavesTheItem)
{
    struct TMove
    {
        QPoint By;
        bool Closes;
    };
    const std::vector<TMove> moves{{{10, 0}, false}, {{-10, 10}, false}, {{11, 0}, true}, {{0, -11}, true}};
    const int32_t item = Item("b.txt");
    const QPoint origin = BadgePoint(item);
    for (const TMove& move : moves) {
        SCOPED_TRACE(move.By.x() * 100 + move.By.y());
        MoveTo(item, origin);
        TickUntil(Ticks + 600);
        ASSERT_TRUE(Shown());
        Window->CheckFileHoverMouseMove(Column(), item, origin.x() + move.By.x(), origin.y() + move.By.y());
        EXPECT_EQ(!move.Closes, Shown());
        Window->ApplicationEventsDeactivate();
    }

    MoveTo(item, origin);
    TickUntil(Ticks + 600);
    Window->CheckFileHoverMouseMove(Column(), item, origin.x() + 20, origin.y());
    TickUntil(Ticks + 1000);
    EXPECT_FALSE(Shown()) << "not again over the same item";

    const int32_t other = Item("a.jpg");
    MoveTo(other, NamePoint(other));
    MoveTo(item, origin);
    TickUntil(Ticks + 600);
    EXPECT_TRUE(Shown()) << "again after the mouse came back";

    MoveTo(other, NamePoint(other));
    EXPECT_FALSE(Shown()) << "another item closes it";
}

TEST_F(HoverTest, DeactivationHidesItAndItOpensAgainAfterwards)
{
    const int32_t item = Item("b.txt");
    MoveTo(item, BadgePoint(item));
    TickUntil(Ticks + 600);
    ASSERT_TRUE(Shown());
    Window->ApplicationEventsDeactivate();
    EXPECT_FALSE(Shown());
    EXPECT_EQ(nullptr, Window->HotItems.HoverColumn);

    Window->ApplicationEventsActivate();
    TickUntil(Ticks + 600);
    EXPECT_TRUE(Shown());
}

// A play list that plays goes on; the hovered video shows as a thumbnail unless the user
// lets clips interrupt it.
TEST_F(HoverTest, APlayingListKeepsPlayingUnlessClipsMayInterruptIt)
{
    const int32_t item = Item("v.mp4");
    for (const bool dontPlay : {true, false}) {
        SCOPED_TRACE(dontPlay);
        ProgramOptions.FileHoverDontPlayAlready = dontPlay;
        Window->MediaPlayer.Playing = true;
        Window->HoverClipPlaying = false;
        Devices.Device().Calls.clear();
        MoveTo(item, BadgePoint(item));
        TickUntil(Ticks + 600);
        ASSERT_TRUE(Shown());
        EXPECT_EQ(!dontPlay, FileHoverForm->PlayMedia);
        EXPECT_EQ(dontPlay, FileHoverForm->ShowsThumbnail);
        EXPECT_EQ(!dontPlay, Window->HoverClipPlaying);
        EXPECT_EQ(dontPlay, std::find(Devices.Device().Calls.begin(), Devices.Device().Calls.end(),
                                      "Open " + Drive.Path("d/v.mp4")) == Devices.Device().Calls.end());
        Window->ApplicationEventsDeactivate();
    }
}

// While the device waits for a medium of the list the timer still ticks; a clip must not
// open the device a second time then, or the list would play the clip in its place.
TEST_F(HoverTest, NoClipStartsWhileTheDeviceOpensAMediumOfTheList)
{
    ProgramOptions.FileHoverDontPlayAlready = false;
    const int32_t item = Item("v.mp4");
    bool shownWhileOpening = true;
    bool ticked = false;
    Devices.Device().DuringOpen = [&] {
        if (std::exchange(ticked, true))
            return;
        MoveTo(item, BadgePoint(item));
        TickUntil(Ticks + 600);
        shownWhileOpening = Shown();
    };
    Window->MediaPlayer.PlayFile(Drive.Path("d/s.wav"));
    EXPECT_FALSE(shownWhileOpening);
    EXPECT_EQ(Drive.Path("d/s.wav"), Devices.Device().FileName());
    EXPECT_TRUE(Window->MediaPlayer.Playing);
    EXPECT_FALSE(Window->HoverClipPlaying);

    TickUntil(Ticks + 600);
    EXPECT_TRUE(Shown()) << "once the medium is open";
}

// Counts the times a widget is asked to paint again.
class TRepaintCounter : public QObject
{
public:
    explicit TRepaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int Requests = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        Requests += event->type() == QEvent::UpdateRequest ? 1 : 0;
        return false;
    }
};

// Thumbnails render in the background: the window paints again once its thumbnail is ready.
TEST_F(HoverTest, AThumbnailRenderedLaterIsPaintedIntoTheWindow)
{
    const int32_t item = Item("b.txt");
    MoveTo(item, BadgePoint(item));
    TickUntil(Ticks + 600);
    ASSERT_TRUE(Shown());
    ASSERT_TRUE(FileHoverForm->ShowsThumbnail);
    // Only an exposed window takes repaints; the offscreen platform does not always expose
    // a tool window at its first showing in a process that showed others before.
    PictureCache.HoldRenders(true);
    QCoreApplication::processEvents();
    FileHoverForm->hide();
    FileHoverForm->show();
    for (int round = 0; round < 10 && !FileHoverForm->windowHandle()->isExposed(); ++round)
        QCoreApplication::processEvents();
    ASSERT_TRUE(FileHoverForm->windowHandle()->isExposed());
    QImage image(FileHoverForm->size(), QImage::Format_RGB32);
    FileHoverForm->render(&image);
    QCoreApplication::processEvents();

    TRepaintCounter counter(*FileHoverForm);
    PictureCache.HoldRenders(false);
    PictureCache.WaitForRenders();
    QCoreApplication::processEvents();
    EXPECT_GT(counter.Requests, 0);
}

// Pictures, texts, the files a plug-in draws and icon sources have thumbnails of their own;
// media and other files do not.
TEST(HoverThumbnail, BelongsToPicturesTextsPluginFilesAndIconSources)
{
    TTempDrive drive;
    host::SetProgramHostFile(drive.HostPath("quillomber"));
    ProgramOptions = TProgramOptions();
    PictureFileExtensions.Assign({".jpg"});
    TextFileExtensions.Assign({".txt"});
    AudioFileExtensions.Assign({".wav"});
    VideoFileExtensions.Assign({".mp4"});
    auto window = std::make_unique<TMainForm>();
    CopyViewerPlugin(drive, SamplePluginHostPath, "Plugin.so");
    ProgramOptions.ViewerPluginName[0] = "Plugin.so";
    ProgramOptions.ViewerPluginActive[0] = true;
    LoadViewerPlugins();

    struct TCase
    {
        std::string Name;
        bool Has;
    };
    const std::vector<TCase> cases{{"a.JPG", true}, {"a.txt", true},  {"a.qpt", true},  {"a.exe", true},
                                   {"a.cur", true}, {"a.wav", false}, {"a.mp4", false}, {"a.bin", false}};
    for (const TCase& c : cases)
        EXPECT_EQ(c.Has, window->HasThumbnail(drive.Path(c.Name))) << c.Name;

    window.reset();
    UnloadViewerPlugins();
    PictureFileExtensions.Clear();
    TextFileExtensions.Clear();
    AudioFileExtensions.Clear();
    VideoFileExtensions.Clear();
    ProgramOptions = TProgramOptions();
}

} // namespace
