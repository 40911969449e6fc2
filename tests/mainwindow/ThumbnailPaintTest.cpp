#include "mainwindow/MainForm.h"

#include "panels/MyTPanel.h"

#include "core/errors/Error.h"
#include "core/files/FileExtensions.h"
#include "core/files/FileInfo.h"
#include "core/files/ProgramFolders.h"
#include "core/forms/Utilities.h"
#include "core/settings/ProgramOptions.h"
#include "core/settings/SkinOptions.h"

#include "host/Drives.h"
#include "host/FileSystem.h"
#include "host/Process.h"
#include "host/TextDrawing.h"

#include "viewing/PictureCache.h"
#include "viewing/ViewerPlugins.h"

#include "support/PictureFixtures.h"
#include "support/Pixels.h"
#include "support/TestSupport.h"
#include "support/ViewerPluginFixtures.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPainter>

#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr TColor CanvasColor = 0x00404040;
const QRect ThumbRect(2, 2, 96, 72);
const QRect InfoRect(0, 80, 300, 18);

class ThumbnailPaint : public testing::Test
{
protected:
    ThumbnailPaint()
    {
        SetProgramRegistryText("Quillomber", "", "OptionsPath", "");
        ProgramOptions = TProgramOptions();
        SkinOptions = TSkinOptions();
        PictureCache.Shutdown();
        host::SetProgramHostFile(Drive.HostPath("quillomber"));
        PictureFileExtensions.Assign({".png", ".jpg"});
        VideoFileExtensions.Assign({".mp4"});
        TextFileExtensions.Assign({".txt"});
        Window = std::make_unique<TMainForm>();
        List = new MyTPanel(Window.get());
        Font.setFamily("DejaVu Sans");
        Font.setPointSize(9);
    }
    ~ThumbnailPaint() override
    {
        Window.reset();
        UnloadViewerPlugins();
        PictureFileExtensions.Clear();
        VideoFileExtensions.Clear();
        TextFileExtensions.Clear();
        ProgramOptions = TProgramOptions();
        SkinOptions = TSkinOptions();
    }

    void Paint(const std::string& path, MyTPanel* list)
    {
        Canvas.fill(ToQColor(CanvasColor));
        QPainter painter(&Canvas);
        painter.setFont(Font);
        painter.setPen(Qt::white);
        const std::optional<host::FindData> data = host::GetFileData(path);
        Window->PaintThumb(path, list, data ? static_cast<int64_t>(data->Size) : 0, data ? data->LastWriteTime : 0,
                           painter, InfoRect, ThumbRect);
    }
    // Paints, lets the renders finish and paints again, as the column does.
    void Show(const std::string& path, MyTPanel* list)
    {
        Paint(path, list);
        PictureCache.WaitForRenders();
        Paint(path, list);
    }
    void Show(const std::string& path) { Show(path, List); }

    // The information rectangle holds exactly the text, drawn as the column draws it.
    bool ShowsLine(const std::string& text) const
    {
        QImage expected(Canvas.size(), Canvas.format());
        expected.fill(ToQColor(CanvasColor));
        QPainter painter(&expected);
        painter.setFont(Font);
        painter.setPen(Qt::white);
        DrawTextInRect(text, painter, true, InfoRect, host::DT_NOPREFIX, false, false);
        painter.end();
        return expected.copy(InfoRect) == Canvas.copy(InfoRect);
    }

    std::string Picture(const std::string& name, int width, int height, const QColor& color)
    {
        return SavePicture(Drive, name, SolidPicture(width, height, color));
    }

    std::string FileOfSize(const std::string& name, size_t size)
    {
        Drive.WriteFile(name, std::string(size, 'x'));
        return Drive.Path(name);
    }

    void LoadPlugin(const std::string& libraryHostPath)
    {
        CopyViewerPlugin(Drive, libraryHostPath, "Plugin.so");
        ProgramOptions.ViewerPluginName[0] = "Plugin.so";
        ProgramOptions.ViewerPluginActive[0] = true;
        LoadViewerPlugins();
    }

    int64_t SizeOf(const std::string& path) const { return static_cast<int64_t>(host::GetFileData(path)->Size); }
    TColor At(int x, int y) const { return PixelAt(Canvas, x, y); }

    TTempDrive Drive{'M'};
    std::unique_ptr<TMainForm> Window;
    MyTPanel* List = nullptr;
    QFont Font;
    QImage Canvas{300, 100, QImage::Format_RGB32};
};

TEST_F(ThumbnailPaint, EachRouteThatHasNoThumbnailSaysWhy)
{
    LoadPlugin(ListingPluginHostPath);
    Drive.WriteFile("corrupt.png", "not a picture");
    Drive.WriteFile("a.xyz", "data");
    Drive.WriteFile("a.abc", "data");
    Drive.WriteFile("empty.png", "");
    Drive.WriteFile("dos.exe", "MZ");
    ASSERT_EQ(0, mkfifo(Drive.HostPath("pipe.png").c_str(), 0600));
    ASSERT_EQ(0, mkfifo(Drive.HostPath("pipe.txt").c_str(), 0600));
    struct Row
    {
        std::string File;
        std::string Text;
        TFunStatus Status;
    };
    const std::vector<Row> rows = {
        {Drive.Path("a.xyz"), "Picture not available", fsPerfect},
        {Drive.Path("a.abc"), "Invalid rendering function", fsPerfect},
        {Drive.Path("corrupt.png"), "Picture not available or error", fsError},
        {Drive.Path("empty.png"), "Picture not available or error", fsError},
        {Drive.Path("pipe.png"), "Picture not available or error", fsError},
        {Drive.Path("pipe.txt"), "Picture not available or error", fsError},
        {Drive.Path("dos.exe"), "Picture not available or error", fsError},
        {"C:", "Picture not available", fsPerfect},
        {"Y:\\missing.png", "Picture not available", fsPerfect},

    };
    for (const Row& row : rows) {
        Show(row.File);
        EXPECT_TRUE(ShowsLine(row.Text)) << row.File;
        EXPECT_EQ(row.Status, FunStatContext.Status) << row.File;
    }
    Show(Drive.Path("dos.exe"));
    EXPECT_EQ("Not a picture file.", FunStatContext.Description);
}

TEST_F(ThumbnailPaint, OnlyPicturesAboveTheSizeLimitAreLeftOut)
{
    ProgramOptions.MaxThumbFileSize = 1'000'000;
    const std::string jpeg = FileOfSize("big.jpg", 1'500'000);
    Show(jpeg);
    EXPECT_TRUE(ShowsLine("File size too big: " + GetSizeText(6, 0, 1'500'000)));

    for (const char* name : {"big.mp4", "big.exe"}) {
        const std::string path = FileOfSize(name, 1'500'000);
        const int32_t renders = PictureCache.RenderCount();
        Show(path);
        EXPECT_EQ(renders + 1, PictureCache.RenderCount()) << name;
        EXPECT_FALSE(ShowsLine("File size too big: " + GetSizeText(6, 0, 1'500'000))) << name;
    }

    ProgramOptions.MaxThumbFileSize = -1;
    const int32_t renders = PictureCache.RenderCount();
    Show(jpeg);
    EXPECT_EQ(renders + 1, PictureCache.RenderCount()) << "no limit";
}

TEST_F(ThumbnailPaint, ThePictureLineGivesSizeZoomAndFileSize)
{
    const std::string path = Picture("p.png", 640, 480, Qt::red);
    const std::string size = GetSizeText(6, 0, SizeOf(path));
    struct Row
    {
        bool Normalize;
        std::string Line;
    };
    const std::vector<Row> rows = {
        {false, "W 640 * H 480 | Z 15% |  Sz " + size},
        {true, "W 100\xC2\xB1 * H 75\xC2\xB1 | Z 15% |  Sz " + size},
    };
    for (const Row& row : rows) {
        ProgramOptions.NormalizeThumbWidth = row.Normalize;
        ProgramOptions.NormalizeThumbHeight = row.Normalize;
        ProgramOptions.NormalizeThumbWidthTo = 100;
        ProgramOptions.NormalizeThumbHeightTo = 100;
        Show(path);
        EXPECT_TRUE(ShowsLine(row.Line)) << row.Line;
        EXPECT_EQ(0x000000FF, At(ThumbRect.x() + 50, ThumbRect.y() + 40));
    }
}

TEST_F(ThumbnailPaint, APendingThumbnailWritesNoLine)
{
    const std::string path = Picture("p.png", 64, 48, Qt::red);
    Paint(path, List);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_TRUE(ShowsLine(""));
    PictureCache.WaitForRenders();
    Paint(path, List);
    EXPECT_FALSE(ShowsLine(""));
}

TEST_F(ThumbnailPaint, TheTextLengthFollowsTheAreaAndTheFontSize)
{
    struct Row
    {
        QSize Size;
        int32_t FontSize;
        int32_t Length;
    };
    const Row rows[] = {
        {{200, 120}, 9, 1000},
        {{600, 400}, 9, 5333},
        {{200, 120}, 0, 4800},
        {{200, 120}, -3, 4800},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.Length, GetThumbTextLength(row.Size, row.FontSize)) << row.Size.width() << " " << row.FontSize;
}

TEST_F(ThumbnailPaint, TextThumbnailsUseTheSkinsColoursAndTheSizeLine)
{
    SkinOptions.WindowBackColor = 0x0000C000;
    SkinOptions.ThumbTextColor = 0x000000FF;
    ProgramOptions.ItemsFontSize = 0;
    Drive.WriteFile("a.txt", std::string(20, 'M') + "\n" + std::string(20, 'W') + "\n");
    const std::string path = Drive.Path("a.txt");
    Show(path);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_TRUE(ShowsLine("Sz " + GetSizeText(6, 0, SizeOf(path))));
    EXPECT_EQ(0x0000C000, At(ThumbRect.x(), ThumbRect.y()));
    EXPECT_EQ(0x0000C000, At(ThumbRect.right(), ThumbRect.bottom()));
    bool textShown = false;
    for (int y = ThumbRect.top(); y <= ThumbRect.bottom() && !textShown; ++y)
        for (int x = ThumbRect.left(); x <= ThumbRect.right() && !textShown; ++x)
            textShown = IsNearColor(Canvas.pixel(x, y), Qt::red, 60);
    EXPECT_TRUE(textShown);
}

TEST_F(ThumbnailPaint, PicturesAreFramedInTheGridColour)
{
    SkinOptions.GridColor = 0x00FF00FF;
    Show(Picture("p.png", 40, 30, Qt::red));
    EXPECT_EQ(0x00FF00FF, At(ThumbRect.x() - 1, ThumbRect.y() - 1));
    EXPECT_EQ(0x00FF00FF, At(ThumbRect.x() + 40, ThumbRect.y() + 30));
}

TEST_F(ThumbnailPaint, PictureAndTextListsComeBeforeAPlugin)
{
    LoadPlugin(SamplePluginHostPath);
    SkinOptions.WindowBackColor = 0x0000C000;
    Drive.WriteFile("a.qpt", "QPT 40 30 0000ff\n");
    const std::string path = Drive.Path("a.qpt");
    const QPoint inside(ThumbRect.x() + 10, ThumbRect.y() + 10);

    Show(path);
    EXPECT_EQ(0x00FF0000, At(inside.x(), inside.y())) << "the plug-in draws";

    PictureCache.Shutdown();
    TextFileExtensions.Assign({".qpt"});
    Show(path);
    EXPECT_EQ(0x0000C000, At(ThumbRect.right() - 1, ThumbRect.bottom() - 1)) << "text";
    EXPECT_TRUE(ShowsLine("Sz " + GetSizeText(6, 0, SizeOf(path))));

    PictureCache.Shutdown();
    PictureFileExtensions.Assign({".qpt"});
    Show(path);
    EXPECT_TRUE(ShowsLine("Picture not available or error")) << "the decoder cannot read it";
}

TEST_F(ThumbnailPaint, OnlyAListEnlargesSmallPictures)
{
    ProgramOptions.FitSmallThumbs = true;
    ProgramOptions.FitSmallThumbsSize = 10;
    const std::string path = Picture("small.png", 24, 18, Qt::red);
    const QPoint outside(ThumbRect.x() + 50, ThumbRect.y() + 40);
    Show(path, List);
    EXPECT_EQ(0x000000FF, At(outside.x(), outside.y())) << "enlarged in a list";
    Show(path, nullptr);
    EXPECT_EQ(CanvasColor, At(outside.x(), outside.y())) << "never without one";
    EXPECT_EQ(0x000000FF, At(ThumbRect.x() + 5, ThumbRect.y() + 5));
}

TEST_F(ThumbnailPaint, TheUserLogoIsRenderedOnceAndKept)
{
    const std::optional<std::string> options = host::WindowsToHost(GetOptionsPath());
    ASSERT_TRUE(options);
    std::filesystem::create_directories(*options);
    const std::string logo = *options + "/UserLogo.png";
    ASSERT_TRUE(SolidPicture(30, 20, Qt::red).save(QString::fromStdString(logo)));
    Window->UserLogoPanel->SetBounds(0, 0, 60, 40);
    const auto paintLogo = [&] {
        Canvas.fill(ToQColor(CanvasColor));
        QPainter painter(&Canvas);
        Window->UserLogoPaint(painter);
    };

    paintLogo();
    EXPECT_EQ(CanvasColor, At(5, 5)) << "rendering";
    PictureCache.WaitForRenders();
    paintLogo();
    EXPECT_EQ(0x000000FF, At(5, 5));
    EXPECT_EQ(CanvasColor, At(40, 5));
    const int32_t renders = PictureCache.RenderCount();
    paintLogo();
    paintLogo();
    EXPECT_EQ(renders, PictureCache.RenderCount());
    std::filesystem::remove(logo);
}

TEST_F(ThumbnailPaint, ClosingTheWindowWithRendersUnderWayIsClean)
{
    for (int i = 0; i < 30; ++i)
        Paint(Picture(std::to_string(i) + ".png", 600, 400, Qt::red), List);
    Window.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(0, PictureCache.Count());
}

} // namespace
