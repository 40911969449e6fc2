#include "viewing/PictureCache.h"
#include "viewing/ViewerPlugins.h"

#include "core/desktop/Program.h"
#include "core/drawing/PictureGeometry.h"
#include "core/errors/Error.h"
#include "core/settings/ProgramOptions.h"

#include "host/FileSystem.h"
#include "host/Process.h"

#include "support/PictureFixtures.h"
#include "support/Pixels.h"
#include "support/TestSupport.h"
#include "support/ViewerPluginFixtures.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPainter>
#include <QWidget>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr TColor CanvasColor = 0x00336699;
constexpr TColor BackColor = 0x00FFFFFF;
constexpr TColor TextColor = 0x00000000;
const QRect ThumbRect(0, 0, 96, 72);

class PictureCacheTest : public testing::Test
{
protected:
    PictureCacheTest()
    {
        PictureCache.Shutdown();
        InjectAvailablePhysicalMemory(NormalMemory);
        host::SetProgramHostFile(Drive.HostPath("quillomber"));
        ProgramOptions = TProgramOptions();
        Font.setFamily("DejaVu Sans");
        Font.setPointSize(9);
    }
    ~PictureCacheTest() override
    {
        PictureCache.HoldRenders(false);
        PictureCache.Shutdown();
        InjectAvailablePhysicalMemory(std::nullopt);
        UnloadViewerPlugins();
        ProgramOptions = TProgramOptions();
    }

    static constexpr uint32_t NormalMemory = 1'000'000'000;

    // A request for the file as it is on disk now, from the test's list.
    TThumbParams Params(const std::string& path, QRect rect = ThumbRect)
    {
        TThumbParams params;
        params.List = &List;
        params.FileName = path;
        const std::optional<host::FindData> data = host::GetFileData(path);
        if (data) {
            params.FileSize = static_cast<int64_t>(data->Size);
            params.FileTime = data->LastWriteTime;
        }
        params.Rect = rect;
        params.BackColor = BackColor;
        params.TextColor = TextColor;
        params.FrameColor = clNone;
        return params;
    }

    // One paint of the thumbnail on a fresh canvas; the outcome is in FunStatContext.
    void Load(TThumbParams& params)
    {
        Canvas.fill(ToQColor(CanvasColor));
        QPainter painter(&Canvas);
        painter.setFont(Font);
        PictureCache.Load(painter, params);
    }

    // Paints, lets the renders finish and paints again, as the window does.
    void Show(TThumbParams& params)
    {
        Load(params);
        PictureCache.WaitForRenders();
        Load(params);
    }

    std::string Picture(const std::string& name, int width, int height, const QColor& color)
    {
        return SavePicture(Drive, name, SolidPicture(width, height, color));
    }

    void Touch(const std::string& name, int seconds)
    {
        const std::filesystem::path path = Drive.HostPath(name);
        std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(seconds));
    }

    void InstallSamplePlugin()
    {
        CopyViewerPlugin(Drive, SamplePluginHostPath, "Sample.so");
        ProgramOptions.ViewerPluginName[0] = "Sample.so";
        ProgramOptions.ViewerPluginActive[0] = true;
        LoadViewerPlugins();
    }

    TThumbParams PluginParams(const std::string& path)
    {
        TThumbParams params = Params(path);
        const TViewerPluginDrawing drawing = GetViewerPluginDrawing(0);
        params.Route = TThumbRoute::Plugin;
        params.GetPictureSize = drawing.GetPictureSize;
        params.LoadFileToBitmap = drawing.LoadFileToBitmap;
        params.TextFormat = true;
        return params;
    }

    TThumbParams TextParams(const std::string& path)
    {
        TThumbParams params = Params(path);
        params.Route = TThumbRoute::Text;
        params.TextFormat = true;
        params.FillRect = true;
        params.MaxTextLength = 1000;
        return params;
    }

    static TPictureCacheEntry Entry(const std::string& title, int width, int height)
    {
        TPictureCacheEntry entry;
        entry.Title = title;
        entry.Bitmap = std::make_unique<TPictureBitmap>();
        entry.Bitmap->Image = QImage(width, height, QImage::Format_RGB32);
        return entry;
    }

    TColor At(int x, int y) const { return PixelAt(Canvas, x, y); }
    bool HasOtherPixel(QRect rect, TColor color) const
    {
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                if (At(x, y) != color)
                    return true;
        return false;
    }

    TTempDrive Drive{'P'};
    QWidget List;
    QFont Font;
    QImage Canvas{200, 200, QImage::Format_RGB32};
};

// ---- Cache ----

TEST_F(PictureCacheTest, ACachedPictureIsDrawnWithoutItsFile)
{
    const std::string path = Picture("red.png", 40, 30, Qt::red);
    TThumbParams params = Params(path);
    Show(params);
    ASSERT_EQ(1, PictureCache.Count());
    const int32_t renders = PictureCache.RenderCount();

    std::filesystem::remove(Drive.HostPath("red.png"));
    Load(params);

    EXPECT_EQ(0x000000FF, At(10, 10));
    EXPECT_EQ(CanvasColor, At(50, 10));
    EXPECT_EQ(1, PictureCache.Count());
    EXPECT_EQ(renders, PictureCache.RenderCount());
    EXPECT_EQ(40, params.PictureWidth);
    EXPECT_EQ(30, params.PictureHeight);
    EXPECT_EQ(100, params.Zoom);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(PictureCacheTest, ATouchedFileReplacesItsEntryAndAnotherSizeAddsOne)
{
    const std::string path = Picture("p.png", 40, 30, Qt::red);
    TThumbParams params = Params(path);
    Show(params);

    Picture("p.png", 40, 30, Qt::blue);
    Touch("p.png", 10);
    params = Params(path);
    Show(params);
    EXPECT_EQ(1, PictureCache.Count());
    EXPECT_EQ(0x00FF0000, At(10, 10));

    TThumbParams smaller = Params(path, QRect(0, 0, 20, 15));
    Show(smaller);
    EXPECT_EQ(2, PictureCache.Count());
    EXPECT_EQ(QSize(20, 15), PictureCache.Entry(1).Bitmap->Image.size());
}

TEST_F(PictureCacheTest, AnInsertionMakesRoomByKeepingTheNewerHalf)
{
    struct Row
    {
        const char* Case;
        std::vector<QSize> Before;
        uint32_t Memory;
        int32_t After;
    };
    const std::vector<Row> rows = {
        {"full", std::vector<QSize>(1000, QSize(1, 1)), NormalMemory, 501},
        {"low memory", std::vector<QSize>(7, QSize(1, 1)), 9'999'999, 4},
        {"low memory, few entries", std::vector<QSize>(4, QSize(1, 1)), 9'999'999, 5},
        {"at the budget", std::vector<QSize>(3, QSize(2500, 1000)), NormalMemory, 4},
        {"over the budget", {QSize(2500, 1000), QSize(2500, 1000), QSize(2500, 1000), QSize(1, 1)}, NormalMemory, 3},
    };
    for (const Row& row : rows) {
        PictureCache.Clear();
        InjectAvailablePhysicalMemory(NormalMemory);
        for (size_t i = 0; i < row.Before.size(); ++i)
            PictureCache.Insert(Entry(std::to_string(i), row.Before[i].width(), row.Before[i].height()));
        InjectAvailablePhysicalMemory(row.Memory);
        PictureCache.Insert(Entry("new", 1, 1));
        EXPECT_EQ(row.After, PictureCache.Count()) << row.Case;
        EXPECT_EQ("new", PictureCache.Entry(PictureCache.Count() - 1).Title) << row.Case;
    }
    PictureCache.Clear();
    for (int i = 0; i < 1000; ++i)
        PictureCache.Insert(Entry(std::to_string(i), 1, 1));
    PictureCache.Insert(Entry("new", 1, 1));
    EXPECT_EQ("500", PictureCache.Entry(0).Title);
}

TEST_F(PictureCacheTest, TheTextFormatRendersAgainOnlyThumbnailsThatDependOnIt)
{
    Drive.WriteFile("a.txt", "Some text");
    const std::string picture = Picture("a.png", 40, 30, Qt::red);
    TThumbParams text = TextParams(Drive.Path("a.txt"));
    TThumbParams png = Params(picture);
    Show(text);
    Show(png);
    const int32_t renders = PictureCache.RenderCount();

    Font.setBold(true);
    Load(png);
    Load(text);
    PictureCache.WaitForRenders();
    EXPECT_EQ(renders + 1, PictureCache.RenderCount()) << "the text alone";

    const std::pair<const char*, bool> fonts[] = {{"DejaVu Sans", false}, {"dejavu sans", true}};
    for (const auto& [family, renderedAgain] : fonts) {
        Show(text);
        const int32_t before = PictureCache.RenderCount();
        Font.setFamily(family);
        Show(text);
        EXPECT_EQ(before + (renderedAgain ? 1 : 0), PictureCache.RenderCount()) << family;
    }
}

TEST_F(PictureCacheTest, AColourChangeRendersAPluginPictureAgain)
{
    InstallSamplePlugin();
    Drive.WriteFile("a.qpt", "QPT 40 30 00ff00\n");
    TThumbParams params = PluginParams(Drive.Path("a.qpt"));
    Load(params);
    EXPECT_FALSE(params.Pending) << "plug-ins draw at once";
    EXPECT_EQ(0x0000FF00, At(10, 10));
    const int32_t renders = PictureCache.RenderCount();
    Load(params);
    EXPECT_EQ(renders, PictureCache.RenderCount());

    params.TextColor = 0x000000FF;
    Load(params);
    EXPECT_EQ(renders + 1, PictureCache.RenderCount());
    EXPECT_EQ(0x000000FF, At(0, 0)) << "the frame in the new text colour";
}

TEST_F(PictureCacheTest, APluginThatDrawsNothingShowsTheBackground)
{
    InstallSamplePlugin();
    Drive.WriteFile("none.qpt", "QPT 40 30 none\n");
    TThumbParams params = PluginParams(Drive.Path("none.qpt"));
    params.TextColor = 0x0000FF00;
    Load(params);
    EXPECT_EQ(BackColor, At(10, 10));
    EXPECT_EQ(CanvasColor, At(50, 10));
}

TEST_F(PictureCacheTest, WhileTheThumbScrollsOnlyCachedThumbnailsAreDrawn)
{
    const std::string cachedPath = Picture("cached.png", 40, 30, Qt::red);
    const std::string uncachedPath = Picture("uncached.png", 40, 30, Qt::blue);
    TThumbParams cached = Params(cachedPath);
    Show(cached);
    const int32_t renders = PictureCache.RenderCount();

    TThumbParams uncached = Params(uncachedPath);
    uncached.ListScrolled = true;
    Load(uncached);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_FALSE(uncached.Pending);
    EXPECT_TRUE(HasOtherPixel(ThumbRect, CanvasColor)) << "the scrolling text";
    PictureCache.WaitForRenders();
    EXPECT_EQ(renders, PictureCache.RenderCount());

    cached.ListScrolled = true;
    Load(cached);
    EXPECT_EQ(0x000000FF, At(10, 10));

    uncached.ShowWhileScrolling = true;
    Show(uncached);
    EXPECT_EQ(0x00FF0000, At(10, 10));
}

TEST_F(PictureCacheTest, AnMsDosProgramIsNoPicture)
{
    Drive.WriteFile("run.bat", "@echo off\r\n");
    const TThumbRoute routes[] = {TThumbRoute::Picture, TThumbRoute::Text, TThumbRoute::Video};
    for (const TThumbRoute route : routes) {
        PictureCache.Shutdown();
        TThumbParams params = Params(Drive.Path("run.bat"));
        params.Route = route;
        Show(params);
        EXPECT_EQ(fsError, FunStatContext.Status);
        EXPECT_EQ("Not a picture file.", FunStatContext.Description);
        EXPECT_EQ(Drive.Path("run.bat"), FunStatContext.Parameter1);
        EXPECT_EQ(CanvasColor, At(10, 10));
    }
}

TEST_F(PictureCacheTest, NamesThatDifferInLetterCaseAreTwoFiles)
{
    const std::string upper = Picture("A.png", 40, 30, Qt::red);
    const std::string lower = Picture("a.png", 40, 30, Qt::blue);
    const auto time = std::filesystem::last_write_time(Drive.HostPath("A.png"));
    std::filesystem::last_write_time(Drive.HostPath("a.png"), time);
    TThumbParams upperParams = Params(upper);
    TThumbParams lowerParams = Params(lower);
    ASSERT_EQ(upperParams.FileSize, lowerParams.FileSize);
    ASSERT_EQ(upperParams.FileTime, lowerParams.FileTime);

    Show(upperParams);
    Show(lowerParams);
    EXPECT_EQ(2, PictureCache.Count());
    Load(upperParams);
    EXPECT_EQ(0x000000FF, At(10, 10));
    Load(lowerParams);
    EXPECT_EQ(0x00FF0000, At(10, 10));
}

// ---- Deferred rendering ----

TEST_F(PictureCacheTest, APaintOfUncachedPicturesRendersNothingOnTheUserInterfaceThread)
{
    std::vector<TThumbParams> requests;
    for (int i = 0; i < 60; ++i)
        requests.push_back(Params(Picture(std::to_string(i) + ".png", 40, 30, QColor(i * 4, 0, 0))));
    const int32_t uiRenders = PictureCache.UiThreadRenderCount();
    for (TThumbParams& params : requests) {
        Load(params);
        EXPECT_TRUE(params.Pending);
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
        EXPECT_EQ(CanvasColor, At(10, 10));
    }
    EXPECT_EQ(uiRenders, PictureCache.UiThreadRenderCount());

    PictureCache.WaitForRenders();
    EXPECT_EQ(60, PictureCache.Count());
    for (int i = 0; i < 60; ++i) {
        Load(requests[static_cast<size_t>(i)]);
        EXPECT_EQ(TColor(i * 4), At(10, 10)) << i;
        EXPECT_EQ(30, requests[static_cast<size_t>(i)].PictureHeight);
    }
    EXPECT_EQ(uiRenders, PictureCache.UiThreadRenderCount());
}

TEST_F(PictureCacheTest, ARequestScrolledAwayBeforeItStartsIsNeverRendered)
{
    TThumbParams away = Params(Picture("away.png", 40, 30, Qt::red));
    TThumbParams shown = Params(Picture("shown.png", 40, 30, Qt::blue));
    TThumbParams elsewhere = Params(Picture("elsewhere.png", 40, 30, Qt::green));
    QWidget otherList;
    elsewhere.List = &otherList;
    PictureCache.HoldRenders(true);
    Load(away);
    Load(elsewhere);
    QCoreApplication::processEvents();
    Load(shown);
    const int32_t renders = PictureCache.RenderCount();
    PictureCache.HoldRenders(false);
    PictureCache.WaitForRenders();

    EXPECT_EQ(renders + 2, PictureCache.RenderCount());
    Load(shown);
    EXPECT_FALSE(shown.Pending);
    Load(elsewhere);
    EXPECT_FALSE(elsewhere.Pending) << "another list's paint drops nothing of this one";
    Load(away);
    EXPECT_TRUE(away.Pending) << "asked again once it shows again";
}

TEST_F(PictureCacheTest, RendersDoneTogetherRepaintTheirListOnce)
{
    int repaints = 0;
    for (const char* name : {"a.png", "b.png", "c.png"}) {
        TThumbParams params = Params(Picture(name, 40, 30, Qt::red));
        params.Repaint = [&repaints] { ++repaints; };
        Load(params);
    }
    PictureCache.WaitForRenders();
    EXPECT_EQ(1, repaints);
}

TEST_F(PictureCacheTest, AFailingFileRendersOnceUntilItChanges)
{
    Drive.WriteFile("broken.png", "not a picture");
    TThumbParams params = Params(Drive.Path("broken.png"));
    const int32_t renders = PictureCache.RenderCount();
    for (int paint = 0; paint < 5; ++paint) {
        Show(params);
        EXPECT_EQ(fsError, FunStatContext.Status);
        EXPECT_EQ("Invalid picture size.", FunStatContext.Description);
    }
    EXPECT_EQ(renders + 1, PictureCache.RenderCount());

    Touch("broken.png", 10);
    params = Params(Drive.Path("broken.png"));
    Show(params);
    EXPECT_EQ(renders + 2, PictureCache.RenderCount());
}

TEST_F(PictureCacheTest, ShuttingDownWithRendersQueuedAndRunningIsClean)
{
    std::vector<TThumbParams> requests;
    for (int i = 0; i < 40; ++i)
        requests.push_back(Params(Picture(std::to_string(i) + ".png", 400, 300, Qt::red)));
    {
        QWidget list;
        for (TThumbParams& params : requests) {
            params.List = &list;
            Load(params);
        }
        PictureCache.Shutdown();
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(0, PictureCache.Count());
    requests.front().List = &List;
    Load(requests.front());
    EXPECT_TRUE(requests.front().Pending) << "the cache serves on";
}

// ---- Drawing ----

TEST_F(PictureCacheTest, TheTransparentPartsOfAPictureShowTheCanvas)
{
    QImage picture = SolidPicture(40, 30, Qt::transparent);
    QPainter(&picture).fillRect(0, 0, 20, 30, Qt::red);
    TThumbParams params = Params(SavePicture(Drive, "t.png", picture));
    Show(params);
    EXPECT_EQ(0x000000FF, At(10, 10));
    EXPECT_EQ(CanvasColor, At(30, 10));
}

TEST_F(PictureCacheTest, TheFrameIsDrawnAroundTheBitmapInItsColour)
{
    TThumbParams params = Params(Picture("f.png", 40, 30, Qt::red));
    params.Rect = QRect(10, 10, 96, 72);
    params.FrameColor = 0x0000FF00;
    Show(params);
    EXPECT_EQ(0x0000FF00, At(9, 9));
    EXPECT_EQ(0x0000FF00, At(50, 40));
    EXPECT_EQ(0x000000FF, At(49, 39));
    EXPECT_EQ(CanvasColor, At(51, 41));

    params.FrameColor = clNone;
    Load(params);
    EXPECT_EQ(CanvasColor, At(9, 9));
    EXPECT_EQ(CanvasColor, At(50, 40));
}

} // namespace
