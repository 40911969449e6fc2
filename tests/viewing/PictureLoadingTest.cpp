#include "viewing/PictureLoading.h"
#include "viewing/BackPicture.h"
#include "viewing/PictureViewer.h"
#include "viewing/ViewerPluginBitmapInfo.h"

#include "core/errors/Error.h"
#include "core/files/FileExtensions.h"

#include "host/PictureFiles.h"

#include "panels/MyTPanel.h"

#include "support/PictureFixtures.h"

#include <QComboBox>
#include <QImageReader>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include <sys/stat.h>

namespace {

constexpr TColor Background = 0x00FF00; // green in the Windows layout

class PictureLoading : public testing::Test
{
protected:
    TTempDrive Drive{'T'};

    struct TLoaded
    {
        std::unique_ptr<TPictureBitmap> Bitmap;
        int32_t Zoom = -1;
        int32_t PictureWidth = -1;
        int32_t PictureHeight = -1;
    };

    static TLoaded Load(const std::string& fileName, QRect rectangle, bool enlarge = false, int32_t minimum = 0,
                        bool fill = false, bool highQuality = true, int32_t smartQualitySize = -1)
    {
        TLoaded loaded;
        loaded.Bitmap = LoadPictureToBitmap(fileName, Background, rectangle, enlarge, minimum, fill, loaded.Zoom,
                                            loaded.PictureWidth, loaded.PictureHeight, highQuality, smartQualitySize);
        return loaded;
    }

    // True when a pixel of the middle row is neither black nor white: the picture was
    // enlarged with smoothing.
    static bool HasBlendedPixels(const QImage& image)
    {
        for (int x = 0; x < image.width(); ++x) {
            const int gray = qGreen(image.pixel(x, image.height() / 2));
            if (gray > 10 && gray < 245)
                return true;
        }
        return false;
    }
};

TEST_F(PictureLoading, ShownSizeAndZoomFollowTheRectangle)
{
    const std::string small = SavePicture(Drive, "small.png", SolidPicture(40, 30, Qt::red));
    struct Row
    {
        QSize Rectangle;
        bool Enlarge;
        int32_t Minimum;
        bool Fill;
        QSize Shown;
        int32_t Zoom;
    };
    const Row rows[] = {
        {{100, 100}, false, 0, false, {40, 30}, 100},
        {{100, 100}, false, 0, true, {100, 100}, 333},
        {{100, 100}, true, 0, false, {100, 75}, 250},
        {{100, 100}, true, 50, false, {40, 30}, 100},
        {{20, 100}, false, 0, false, {20, 15}, 50},
        // A rectangle without area shows nothing, without dividing by its height.
        {{0, 0}, true, 0, false, {0, 0}, 0},
        {{0, 0}, false, 0, true, {0, 0}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.Rectangle.width()) + (row.Enlarge ? " enlarge" : "") +
                     (row.Fill ? " fill" : ""));
        const TLoaded loaded = Load(small, QRect(QPoint(5, 5), row.Rectangle), row.Enlarge, row.Minimum, row.Fill);
        ASSERT_TRUE(loaded.Bitmap);
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
        EXPECT_EQ(row.Shown, loaded.Bitmap->Image.size());
        EXPECT_EQ(row.Zoom, loaded.Zoom);
        EXPECT_EQ(40, loaded.PictureWidth);
        EXPECT_EQ(30, loaded.PictureHeight);
    }
}

TEST_F(PictureLoading, SeeThroughFormatsKeepTheBackgroundAsTransparentColour)
{
    QImage halfClear = SolidPicture(10, 10, Qt::red);
    for (int y = 0; y < 10; ++y)
        for (int x = 5; x < 10; ++x)
            halfClear.setPixelColor(x, y, Qt::transparent);
    const std::string png = SavePicture(Drive, "half.png", halfClear);
    const std::string jpg = SavePicture(Drive, "red.JPG", SolidPicture(10, 10, Qt::red));

    const TLoaded fromPng = Load(png, QRect(0, 0, 10, 10));
    ASSERT_TRUE(fromPng.Bitmap);
    EXPECT_EQ(TTransparentMode::Fixed, fromPng.Bitmap->TransparentMode);
    EXPECT_EQ(Background, fromPng.Bitmap->TransparentColor);
    EXPECT_EQ(qRgb(255, 0, 0), fromPng.Bitmap->Image.pixel(2, 5));
    EXPECT_EQ(qRgb(0, 255, 0), fromPng.Bitmap->Image.pixel(7, 5));

    const TLoaded fromJpg = Load(jpg, QRect(0, 0, 10, 10));
    ASSERT_TRUE(fromJpg.Bitmap);
    EXPECT_EQ(TTransparentMode::Auto, fromJpg.Bitmap->TransparentMode);
    EXPECT_TRUE(IsNearColor(fromJpg.Bitmap->Image.pixel(5, 5), Qt::red, 4));
}

TEST_F(PictureLoading, SmartQualitySmoothsLargeThumbnailsOnly)
{
    QImage blackWhite(2, 1, QImage::Format_RGB32);
    blackWhite.setPixelColor(0, 0, Qt::black);
    blackWhite.setPixelColor(1, 0, Qt::white);
    const std::string file = SavePicture(Drive, "bw.png", blackWhite);
    struct Row
    {
        QSize Rectangle;
        bool HighQuality;
        int32_t SmartSize;
        bool Smoothed;
    };
    const Row rows[] = {
        {{250, 120}, false, 200, true},  // shown 240 x 120
        {{150, 120}, false, 200, false}, // shown 150 x 75
        {{250, 120}, false, -1, false},
        {{150, 120}, true, -1, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.Rectangle.width()) + " smart " + std::to_string(row.SmartSize));
        const TLoaded loaded =
            Load(file, QRect(QPoint(0, 0), row.Rectangle), true, 0, false, row.HighQuality, row.SmartSize);
        ASSERT_TRUE(loaded.Bitmap);
        EXPECT_EQ(row.Smoothed, HasBlendedPixels(loaded.Bitmap->Image));
    }
}

TEST_F(PictureLoading, ALargePictureIsDecodedOnlyAtTheShownSize)
{
    const std::string large = SavePicture(Drive, "large.jpg", SolidPicture(4000, 3000, Qt::blue));
    // Decoding all 4000 x 3000 pixels would need 46 MB: more than the decoders may take.
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(8);
    host::PictureFile whole;
    ASSERT_TRUE(whole.Open(large));
    EXPECT_FALSE(whole.Read());
    const TLoaded loaded = Load(large, QRect(0, 0, 200, 200), false, 0, false, false);
    QImageReader::setAllocationLimit(limit);
    ASSERT_TRUE(loaded.Bitmap);
    EXPECT_EQ(QSize(200, 150), loaded.Bitmap->Image.size());
    EXPECT_EQ(5, loaded.Zoom);
    EXPECT_TRUE(IsNearColor(loaded.Bitmap->Image.pixel(100, 75), Qt::blue, 4));
}

// The picture the viewer shows in a panel whose item area has the size.
QImage ViewerPicture(const std::string& file, QSize itemArea)
{
    constexpr int32_t Border = 2;
    QWidget window;
    auto* panel = new MyTPanel(&window);
    panel->SetBorder(Border);
    panel->SetBounds(0, 0, itemArea.width() + 2 * Border, itemArea.height() + 2 * Border);
    TPictureViewer viewer;
    viewer.SetPanel(panel);
    viewer.LoadPaint(file, false, Background);
    return viewer.Image ? viewer.Image->Picture : QImage();
}

// A palette of `count` distinct colours as RGB triples.
std::string PngPalette(int count)
{
    std::string palette;
    for (int i = 0; i < count; ++i)
        palette += {static_cast<char>(255 - i), static_cast<char>(i * 37 % 256), static_cast<char>(i * 91 % 256)};
    return palette;
}

// Pictures of flat 50 x 50 blocks in each way a PNG stores its pixels. Reduced five times,
// as a thumbnail or in a small viewer panel, every block keeps the colour the viewer shows
// at full size. (The decoder's own reduction turned 1-bit palettes into black and white.)
TEST_F(PictureLoading, ThumbnailsOfEveryStoredFormShowTheViewersColours)
{
    struct Row
    {
        const char* Name;
        TPngLayout Layout;
        int Levels;
        std::function<std::vector<uint16_t>(uint16_t level)> Samples;
    };
    const auto index = [](uint16_t level) { return std::vector<uint16_t>{level}; };
    const Row rows[] = {
        {"1-bit palette", {1, 3, PngPalette(2), ""}, 2, index},
        {"1-bit palette of one colour", {1, 3, PngPalette(1), ""}, 1, index},
        {"1-bit palette, one colour transparent", {1, 3, PngPalette(2), std::string("\xFF\x00", 2)}, 2, index},
        {"2-bit palette", {2, 3, PngPalette(4), ""}, 4, index},
        {"4-bit palette", {4, 3, PngPalette(16), ""}, 16, index},
        {"8-bit palette", {8, 3, PngPalette(200), ""}, 24, index},
        {"1-bit grey", {1, 0, "", ""}, 2, index},
        {"4-bit grey", {4, 0, "", ""}, 16, index},
        {"8-bit grey", {8, 0, "", ""}, 24, [](uint16_t level) { return std::vector<uint16_t>{uint16_t(level * 10)}; }},
        {"16-bit grey",
         {16, 0, "", ""},
         24,
         [](uint16_t level) { return std::vector<uint16_t>{uint16_t(level * 2700)}; }},
        {"16-bit RGB",
         {16, 2, "", ""},
         24,
         [](uint16_t level) {
             return std::vector<uint16_t>{uint16_t(level * 2700), uint16_t(65535 - level * 2700), 30000};
         }},
        {"8-bit grey and alpha",
         {8, 4, "", ""},
         24,
         [](uint16_t level) {
             return std::vector<uint16_t>{uint16_t(level * 10), uint16_t(level * 11)};
         }},
        {"8-bit RGBA",
         {8, 6, "", ""},
         24,
         [](uint16_t level) {
             return std::vector<uint16_t>{uint16_t(level * 10), 100, 200, uint16_t(level * 11)};
         }},
        {"16-bit RGBA",
         {16, 6, "", ""},
         24,
         [](uint16_t level) {
             return std::vector<uint16_t>{uint16_t(level * 2700), 40000, 9000, uint16_t(65535 - level * 2000)};
         }},
    };
    constexpr int Block = 50;
    constexpr int Reduction = 5;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        const auto levelAt = [&](int x, int y) {
            return static_cast<uint16_t>((x / Block + y / Block * 6) % row.Levels);
        };
        Drive.WriteFile("blocks.png", PngOfSamples(6 * Block, 4 * Block, row.Layout,
                                                   [&](int x, int y) { return row.Samples(levelAt(x, y)); }));
        const std::string file = Drive.Path("blocks.png");
        const QImage whole = ViewerPicture(file, QSize(800, 600));
        ASSERT_EQ(QSize(6 * Block, 4 * Block), whole.size());
        const TLoaded thumbnail =
            Load(file, QRect(0, 0, 6 * Block / Reduction, 4 * Block / Reduction), false, 0, false, false);
        ASSERT_TRUE(thumbnail.Bitmap);
        const QImage reducedViewer = ViewerPicture(file, thumbnail.Bitmap->Image.size());
        ASSERT_EQ(thumbnail.Bitmap->Image.size(), reducedViewer.size());
        for (int y = Block / 2; y < whole.height(); y += Block)
            for (int x = Block / 2; x < whole.width(); x += Block) {
                const QColor shown = whole.pixelColor(x, y);
                const QRgb inThumbnail = thumbnail.Bitmap->Image.pixel(x / Reduction, y / Reduction);
                const QRgb inSmallViewer = reducedViewer.pixel(x / Reduction, y / Reduction);
                EXPECT_TRUE(IsNearColor(inThumbnail, shown, 4) && IsNearColor(inSmallViewer, shown, 4))
                    << "block at " << x << ", " << y << std::hex << ": viewer " << shown.rgb() << ", thumbnail "
                    << inThumbnail << ", small viewer " << inSmallViewer;
            }
    }
}

TEST_F(PictureLoading, AFileWithoutPictureGivesNoBitmap)
{
    Drive.WriteFile("broken.png", "\x89PNG\r\n\x1a\n but nothing after the signature");
    Drive.WriteFile("notes.txt", "some text");
    for (const std::string name : {"missing.png", "broken.png", "notes.txt"}) {
        SCOPED_TRACE(name);
        FunStatContext = TFunStatContext();
        const TLoaded loaded = Load(Drive.Path(name), QRect(0, 0, 100, 100));
        EXPECT_FALSE(loaded.Bitmap);
        EXPECT_EQ(fsError, FunStatContext.Status);
        EXPECT_EQ("Invalid picture size.", FunStatContext.Description);
        EXPECT_EQ(Drive.Path(name), FunStatContext.Parameter1);
        EXPECT_EQ(0, loaded.PictureWidth);
    }
}

std::string FixtureBytes(const std::string& name)
{
    std::ifstream file(std::string(QUILLOMBER_FIXTURES) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

TEST_F(PictureLoading, CursorsAndProgramsAreDrawnFromTheirIcons)
{
    Drive.WriteFile("pointer.cur", FixtureBytes("Pointer.cur"));
    Drive.WriteFile("tool.exe", FixtureBytes("Program.exe"));
    struct Row
    {
        const char* Name;
        QSize Picture;
        QColor Colour;
        QPoint Background;
    };
    // The cursor's left half and the program icon's top-left pixel are transparent.
    const Row rows[] = {
        {"pointer.cur", {32, 32}, Qt::magenta, {10, 30}},
        {"tool.exe", {16, 16}, Qt::red, {0, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Name);
        const TLoaded loaded = Load(Drive.Path(row.Name), QRect(0, 0, 64, 64), true, 0, false, false);
        ASSERT_TRUE(loaded.Bitmap);
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
        EXPECT_EQ(row.Picture, QSize(loaded.PictureWidth, loaded.PictureHeight));
        EXPECT_EQ(QSize(64, 64), loaded.Bitmap->Image.size());
        EXPECT_EQ(400 * 16 / row.Picture.height(), loaded.Zoom);
        EXPECT_EQ(TTransparentMode::Fixed, loaded.Bitmap->TransparentMode);
        EXPECT_EQ(row.Colour.rgb(), loaded.Bitmap->Image.pixel(60, 60));
        EXPECT_EQ(qRgb(0, 255, 0), loaded.Bitmap->Image.pixel(row.Background));
    }

    Drive.WriteFile("plain.exe", "MZ, and no icon");
    const TLoaded plain = Load(Drive.Path("plain.exe"), QRect(0, 0, 64, 64));
    EXPECT_FALSE(plain.Bitmap);
    EXPECT_EQ("Invalid picture size.", FunStatContext.Description);
}

// A picture whose every pixel differs, so that each part of its file carries pixels.
QImage NoisyPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, qRgb(x * 7 % 256, y * 13 % 256, (x * y) % 256));
    return picture;
}

TEST_F(PictureLoading, BadPicturesGiveTheFailureAndNeverACrash)
{
    const QImage noisy = NoisyPicture(64, 48);
    for (const char* format : {"png", "jpg", "bmp", "tiff", "webp"}) {
        const std::string whole = PictureBytes(noisy, format == std::string("jpg") ? "jpeg" : format);
        Drive.WriteFile(std::string("half.") + format, whole.substr(0, whole.size() / 2));
    }
    Drive.WriteFile("empty.png", "");
    Drive.WriteFile("noise.jpg", std::string(4000, '\x5A'));
    Drive.WriteFile("huge.png", PngClaiming(100000, 100000));
    // 60,000 x 60,000 pixels, and one image block of them.
    constexpr char HugeGif[] = "GIF89a\x60\xEA\x60\xEA\0\0\0,\0\0\0\0\x60\xEA\x60\xEA\0\x02\x02\x4C\x01\0;";
    Drive.WriteFile("huge.gif", std::string(HugeGif, sizeof HugeGif - 1));
    ASSERT_EQ(0, mkfifo(Drive.HostPath("pipe.png").c_str(), 0600));
    std::filesystem::create_symlink("/dev/zero", Drive.HostPath("device.bmp"));
    for (const char* name : {"half.png", "half.jpg", "half.bmp", "half.tiff", "half.webp", "empty.png", "noise.jpg",
                             "huge.png", "huge.gif", "pipe.png", "device.bmp"}) {
        SCOPED_TRACE(name);
        FunStatContext = TFunStatContext();
        const TLoaded loaded = Load(Drive.Path(name), QRect(0, 0, 100, 100), false, 0, false, false);
        EXPECT_FALSE(loaded.Bitmap);
        EXPECT_EQ(fsError, FunStatContext.Status);
        EXPECT_EQ("Invalid picture size.", FunStatContext.Description);
    }
}

TEST_F(PictureLoading, APictureAboveTheDecodersMemoryLimitGivesTheFailure)
{
    // 600 x 600 pixels take 1.4 MB decoded; a BMP is never decoded at a reduced size.
    const std::string bmp = SavePicture(Drive, "large.bmp", SolidPicture(600, 600, Qt::red));
    const int limit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(1);
    const TLoaded loaded = Load(bmp, QRect(0, 0, 100, 100), false, 0, false, false);
    QImageReader::setAllocationLimit(limit);
    EXPECT_FALSE(loaded.Bitmap);
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Invalid picture size.", FunStatContext.Description);
}

// The process lets a decoder take 1024 MB for the steganography's carriers; the
// thumbnails and the background keep to 128 MB for a decoded picture. A reduced read of a
// larger picture stays within it.
TEST_F(PictureLoading, TheThumbnailsAndTheBackgroundKeepTheirOwnDecodingBound)
{
    // 6000 x 6000 pixels take 144 MB decoded.
    const std::string large = SavePicture(Drive, "large.png", SolidPicture(6000, 6000, Qt::blue));
    const int limit = QImageReader::allocationLimit();
    host::SetPictureAllocationLimit();

    const TLoaded thumbnail = Load(large, QRect(0, 0, 200, 200), false, 0, false, false);
    ASSERT_TRUE(thumbnail.Bitmap);
    EXPECT_EQ(QSize(200, 200), thumbnail.Bitmap->Image.size());
    EXPECT_TRUE(IsNearColor(thumbnail.Bitmap->Image.pixel(100, 100), Qt::blue, 4));

    const TLoaded whole = Load(large, QRect(0, 0, 6000, 6000), false, 0, false, false);
    EXPECT_FALSE(whole.Bitmap);
    EXPECT_EQ("Invalid picture size.", FunStatContext.Description);

    int32_t red = 0;
    int32_t green = 0;
    int32_t blue = 0;
    EXPECT_EQ("", RecommendPictureColorStatistics(large, 0, red, green, blue));
    EXPECT_EQ("Failed to load picture.", FunStatContext.Description);
    EXPECT_EQ(large, FunStatContext.Parameter1);
    QImageReader::setAllocationLimit(limit);
}

TEST_F(PictureLoading, ExtensionListsNameTheDecoders)
{
    const std::vector<std::string> extensions = GetPictureExtensions();
    ASSERT_FALSE(extensions.empty());
    std::string expected;
    for (const std::string& extension : extensions)
        expected += (expected.empty() ? "*" : ";*") + extension;
    EXPECT_EQ(expected, GetPictureExtensionsAsFilter());
    EXPECT_NE(std::string::npos, expected.find("*.png;"));

    TSeam<TPictureDecoders>::Install(&ImagingDecoders);
    QComboBox filterBox;
    filterBox.addItem("Picture files");
    EXPECT_EQ(expected, GetFilterFromComboBox(filterBox, nullptr));
    TSeam<TPictureDecoders>::Install(nullptr);
}

TEST_F(PictureLoading, PluginPixelsBringTheirAlpha)
{
    TViewerPluginBitmapInfo info;
    EXPECT_EQ(1, info.Version);
    EXPECT_EQ(nullptr, info.Pixels);
    info.Width = 2;
    info.Height = 2;
    info.AllocatePixels();
    ASSERT_NE(nullptr, info.Pixels);
    const uint8_t pixels[] = {0x10, 0x20, 0x30, 0xFF, 0, 0, 0xFF, 0x80, 1, 2, 3, 0x00, 4, 5, 6, 0x40};
    std::copy(std::begin(pixels), std::end(pixels), info.Pixels);

    QImage bitmap(2, 2, QImage::Format_RGB32);
    CopyPixelsToGdipBitmap(info.Pixels, bitmap, info.Width, info.Height);
    EXPECT_EQ(QImage::Format_ARGB32, bitmap.format());
    EXPECT_EQ(qRgba(0x30, 0x20, 0x10, 0xFF), bitmap.pixel(0, 0));
    EXPECT_EQ(qRgba(0xFF, 0, 0, 0x80), bitmap.pixel(1, 0));
    EXPECT_EQ(qRgba(6, 5, 4, 0x40), bitmap.pixel(1, 1));

    info.Width = 0;
    info.AllocatePixels();
    EXPECT_EQ(nullptr, info.Pixels);
}

} // namespace
