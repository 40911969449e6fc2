#include "viewing/BackPicture.h"

#include "core/errors/Error.h"

#include "support/PictureFixtures.h"

#include <QPainter>

#include <gtest/gtest.h>

namespace {

constexpr TColor FillingBlue = 0xFF0000; // blue in the Windows layout

// The settings of one background, with a plain fitted picture as the default.
struct TBackSettings
{
    int32_t BoxWidth = 50;
    int32_t BoxHeight = 25;
    TColor Filling = FillingBlue;
    bool Stretch = false;
    bool Enlarge = false;
    int32_t Minimum = 0;
    double Tolerance = 0;
    int32_t Fade = 0;
    int32_t RedGreen = 0;
    int32_t GreenBlue = 0;
    int32_t BlueRed = 0;
    int32_t Gamma = 100;
};

class BackPicture : public testing::Test
{
protected:
    TTempDrive Drive{'T'};

    static std::unique_ptr<QImage> Build(const std::string& fileName, const TBackSettings& s)
    {
        std::unique_ptr<QImage> bitmap;
        LoadTilePictureToBitmap(fileName, bitmap, s.BoxWidth, s.BoxHeight, s.Filling, s.Stretch, s.Enlarge, s.Minimum,
                                s.Tolerance, s.Fade, s.RedGreen, s.GreenBlue, s.BlueRed, s.Gamma);
        return bitmap;
    }

    // Red on the left half, white on the right half.
    std::string SaveRedWhite(const std::string& name, int width, int height)
    {
        QImage picture = SolidPicture(width, height, Qt::white);
        QPainter(&picture).fillRect(0, 0, width / 2, height, Qt::red);
        return SavePicture(Drive, name, picture);
    }
};

TEST_F(BackPicture, AFittedPictureIsTiledOverTheBox)
{
    const std::string file = SaveRedWhite("split.png", 20, 10);
    const std::unique_ptr<QImage> bitmap = Build(file, {});
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ(QSize(50, 25), bitmap->size());
    const QRgb red = qRgb(255, 0, 0);
    const QRgb white = qRgb(255, 255, 255);
    EXPECT_EQ(red, bitmap->pixel(0, 0));
    EXPECT_EQ(white, bitmap->pixel(15, 5));
    EXPECT_EQ(red, bitmap->pixel(20, 0));
    EXPECT_EQ(white, bitmap->pixel(35, 9));
    EXPECT_EQ(red, bitmap->pixel(45, 22));
    EXPECT_EQ(white, bitmap->pixel(12, 24));
}

TEST_F(BackPicture, StretchingNeedsProportionsWithinTheTolerance)
{
    // Green on the top rows: tiling repeats them at the bottom, stretching does not.
    QImage picture = SolidPicture(32, 24, Qt::red);
    QPainter(&picture).fillRect(0, 0, 32, 4, Qt::green);
    const std::string file = SavePicture(Drive, "stripe.png", picture);
    struct Row
    {
        double Tolerance;
        bool Enlarge;
        int32_t Minimum;
        QRgb BottomLeft; // pixel (0, 31)
        QRgb Lower;      // pixel (35, 25): below the first block when it is 24 high
    };
    const QRgb red = qRgb(255, 0, 0);
    const QRgb green = qRgb(0, 255, 0);
    const Row rows[] = {
        {1.0, true, 0, green, red},     // ratios 1.333 and 1.25: fitted to 40 x 30, tiled
        {1.0, false, 0, red, green},    // kept at 32 x 24, tiled
        {1.1, true, 0, red, red},       // stretched to 40 x 32
        {-0.01, false, 0, red, red},    // any proportions stretch
        {-0.01, false, 25, red, green}, // smaller than the minimum: never stretched
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::to_string(row.Tolerance) + (row.Enlarge ? " enlarge" : "") + " min " +
                     std::to_string(row.Minimum));
        TBackSettings settings;
        settings.BoxWidth = 40;
        settings.BoxHeight = 32;
        settings.Stretch = true;
        settings.Tolerance = row.Tolerance;
        settings.Enlarge = row.Enlarge;
        settings.Minimum = row.Minimum;
        const std::unique_ptr<QImage> bitmap = Build(file, settings);
        ASSERT_TRUE(bitmap);
        EXPECT_TRUE(IsNearColor(bitmap->pixel(0, 31), QColor(row.BottomLeft)));
        EXPECT_TRUE(IsNearColor(bitmap->pixel(35, 25), QColor(row.Lower)));
    }
}

TEST_F(BackPicture, FadeRotationAndGammaRecolourThePicture)
{
    struct Row
    {
        const char* Case;
        QColor Picture;
        int32_t Fade, RedGreen, GreenBlue, BlueRed, Gamma;
        QColor Expected;
    };
    const Row rows[] = {
        {"plain", Qt::red, 0, 0, 0, 0, 100, Qt::red},
        {"fade 70 leaves 30 % of the picture", Qt::red, 70, 0, 0, 0, 100, QColor(77, 0, 179)},
        {"fade 100 leaves the filling", Qt::red, 100, 0, 0, 0, 100, QColor(0, 0, 255)},
        {"fade above 100 is ignored", Qt::red, 101, 0, 0, 0, 100, Qt::red},
        {"red feeds green", Qt::red, 0, 90, 0, 0, 100, QColor(0, 255, 0)},
        {"blue feeds red", Qt::blue, 0, 0, 0, 90, 100, QColor(255, 0, 0)},
        {"an angle beyond 180 turns nothing", Qt::red, 0, 200, 0, 0, 100, Qt::red},
        {"gamma 200 darkens", QColor(128, 128, 128), 0, 0, 0, 0, 200, QColor(64, 64, 64)},
        {"gamma 50 lightens", QColor(128, 128, 128), 0, 0, 0, 0, 50, QColor(181, 181, 181)},
        {"gamma 0 applies none", QColor(128, 128, 128), 0, 0, 0, 0, 0, QColor(128, 128, 128)},
        {"fade with a rotation", Qt::red, 50, 90, 0, 0, 100, QColor(0, 128, 128)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.Case);
        const std::string file = SavePicture(Drive, "solid.png", SolidPicture(10, 10, row.Picture));
        TBackSettings settings;
        settings.BoxWidth = 10;
        settings.BoxHeight = 10;
        settings.Fade = row.Fade;
        settings.RedGreen = row.RedGreen;
        settings.GreenBlue = row.GreenBlue;
        settings.BlueRed = row.BlueRed;
        settings.Gamma = row.Gamma;
        const std::unique_ptr<QImage> bitmap = Build(file, settings);
        ASSERT_TRUE(bitmap);
        const QRgb pixel = bitmap->pixel(5, 5);
        EXPECT_TRUE(IsNearColor(pixel, row.Expected)) << qRed(pixel) << " " << qGreen(pixel) << " " << qBlue(pixel);
    }
}

TEST_F(BackPicture, EmptySizesGiveTheEmptyResultInsteadOfDividingByZero)
{
    const std::string file = SaveRedWhite("split.png", 20, 10);
    TBackSettings emptyBox;
    emptyBox.BoxWidth = 0;
    EXPECT_FALSE(Build(file, emptyBox));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);

    // Fitted into 10 x 10, a 1000 x 1 line has no height left: only the filling remains.
    const std::string line = SavePicture(Drive, "line.png", SolidPicture(1000, 1, Qt::red));
    TBackSettings small;
    small.BoxWidth = 10;
    small.BoxHeight = 10;
    const std::unique_ptr<QImage> bitmap = Build(line, small);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(qRgb(0, 0, 255), bitmap->pixel(0, 0));
    EXPECT_EQ(qRgb(0, 0, 255), bitmap->pixel(9, 9));

    QImage image = SolidPicture(4, 4, Qt::red);
    image.setPixelColor(3, 3, Qt::white);
    TileBitmapBlock(image, 0, 2);
    TileBitmapBlock(image, 2, 0);
    EXPECT_EQ(qRgb(255, 255, 255), image.pixel(3, 3));

    int32_t red = -1, green = -1, blue = -1;
    GetPictureColorStatistics(QImage(), red, green, blue);
    EXPECT_EQ(0, red + green + blue);
}

TEST_F(BackPicture, AFailedPictureLeavesNoBitmap)
{
    std::unique_ptr<QImage> bitmap = std::make_unique<QImage>(5, 5, QImage::Format_RGB32);
    const QImage* old = bitmap.get();
    LoadTilePictureToBitmap("", bitmap, 50, 50, 0, false, false, 0, 0, 0, 0, 0, 0, 100);
    EXPECT_EQ(old, bitmap.get());

    const std::pair<std::string, std::string> broken[] = {
        {"notes.png", "not a picture"},
        {"claims-gigabytes.png", PngWithChunkAfterHeader(SolidPicture(4, 3, Qt::red), 0x73000000, "Comment\0x")},
    };
    for (const auto& [name, bytes] : broken) {
        SCOPED_TRACE(name);
        bitmap = std::make_unique<QImage>(5, 5, QImage::Format_RGB32);
        Drive.WriteFile(name, bytes);
        LoadTilePictureToBitmap(Drive.Path(name), bitmap, 50, 50, 0, false, false, 0, 0, 0, 0, 0, 0, 100);
        EXPECT_FALSE(bitmap);
        EXPECT_EQ(fsError, FunStatContext.Status);
        EXPECT_EQ("Failed to load picture.", FunStatContext.Description);
        EXPECT_EQ(Drive.Path(name), FunStatContext.Parameter1);
    }
}

TEST_F(BackPicture, RecommendationComparesTheAverageWithTheFilling)
{
    const std::string file = SavePicture(Drive, "average.png", SolidPicture(4, 4, QColor(100, 150, 200)));
    int32_t redGreen = 999, greenBlue = 999, blueRed = 999;
    const TColor filling = 200 | (150 << 8) | (100 << 16);
    EXPECT_EQ("Overall color -> \"Filling\" color: \n"
              "    * Red = 100 -> 200\n"
              "    * Green = 150 -> 150\n"
              "    * Blue = 200 -> 100\n"
              "\n"
              "Recommended color rotation values:\n"
              "    * Red - Green = -35\n"
              "    * Green - Blue = -35\n"
              "    * Blue - Red = 70",
              RecommendPictureColorStatistics(file, filling, redGreen, greenBlue, blueRed));
    EXPECT_EQ(-35, redGreen);
    EXPECT_EQ(-35, greenBlue);
    EXPECT_EQ(70, blueRed);

    // Nothing to turn: the caller's values stay.
    redGreen = 7, greenBlue = 8, blueRed = 9;
    const TColor same = 100 | (150 << 8) | (200 << 16);
    RecommendPictureColorStatistics(file, same, redGreen, greenBlue, blueRed);
    EXPECT_EQ(7, redGreen);
    EXPECT_EQ(8, greenBlue);
    EXPECT_EQ(9, blueRed);

    EXPECT_EQ("", RecommendPictureColorStatistics("", filling, redGreen, greenBlue, blueRed));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ("", RecommendPictureColorStatistics(Drive.Path("missing.png"), filling, redGreen, greenBlue, blueRed));
    EXPECT_EQ("Failed to load picture.", FunStatContext.Description);
}

} // namespace
