#include "core/drawing/TranslucentPaint.h"

#include "support/Pixels.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

constexpr TColor Black = 0;
constexpr TColor Red = 0x0000FF;

QImage BlackCanvas()
{
    QImage image(30, 30, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

TEST(TranslucentPaint, AlphaFromTranslucency)
{
    struct Row
    {
        int Translucency;
        int Alpha;
    };
    for (const Row& row : {Row{0, 255}, Row{100, 0}, Row{-20, 255}, Row{150, 0}, Row{50, 128}, Row{1, 252}, Row{99, 3}})
        EXPECT_EQ(row.Alpha, GetAlphaFromTranslucency(row.Translucency)) << row.Translucency;
}

TEST(TranslucentPaint, RectanglesFillTheirPixelsAtTheirOpacity)
{
    struct Row
    {
        int Translucency;
        int Red;
    };
    for (const Row& row : {Row{0, 255}, Row{-5, 255}, Row{60, 102}, Row{100, 0}, Row{120, 0}}) {
        QImage image = BlackCanvas();
        QPainter canvas(&image);
        PaintTranslucentRect(canvas, 5, 6, 10, 4, Red, row.Translucency);
        canvas.end();
        EXPECT_EQ(row.Red, qRed(image.pixel(5, 6))) << row.Translucency;
        EXPECT_EQ(row.Red, qRed(image.pixel(14, 9))) << row.Translucency;
        EXPECT_EQ(Black, PixelAt(image, 15, 9));
        EXPECT_EQ(Black, PixelAt(image, 14, 10));
    }
}

TEST(TranslucentPaint, FramesCoverBothEdgesAndBlendEachCornerOnce)
{
    QImage image = BlackCanvas();
    QPainter canvas(&image);
    PaintTranslucentFrame(canvas, 5, 5, 10, 6, Red, 50);
    canvas.end();
    const int half = qRed(image.pixel(10, 5));
    EXPECT_EQ(128, half);
    for (const QPoint corner : {QPoint(5, 5), QPoint(15, 5), QPoint(5, 11), QPoint(15, 11)})
        EXPECT_EQ(half, qRed(image.pixel(corner))) << corner.x() << ", " << corner.y();
    EXPECT_EQ(half, qRed(image.pixel(15, 8)));
    EXPECT_EQ(Black, PixelAt(image, 10, 8));
    EXPECT_EQ(Black, PixelAt(image, 16, 8));
}

TEST(TranslucentPaint, RoundFramesCutTheirCornersAndBlendInward)
{
    constexpr TColor Brisk = 0x00FF00;
    constexpr TColor Margin = 0xFF0000;
    constexpr TColor Back = 0xFFFFFF;
    QImage image = BlackCanvas();
    QPainter canvas(&image);
    FrameRoundRect(canvas, 2, 2, 28, 22, Brisk, Margin, Back, 50, 0, true, true);
    canvas.end();
    EXPECT_EQ(Black, PixelAt(image, 2, 2)) << "the corner is cut";
    EXPECT_EQ(Brisk, PixelAt(image, 6, 2)) << "hot: opaque";
    EXPECT_EQ(Brisk, PixelAt(image, 3, 5)) << "the diagonal";
    EXPECT_EQ(Brisk, PixelAt(image, 27, 12));
    EXPECT_EQ(Brisk, PixelAt(image, 12, 21));
    EXPECT_EQ(Black, PixelAt(image, 28, 12));
    EXPECT_EQ(0xFF4040, PixelAt(image, 12, 3)) << "three parts margin, one part back";
    EXPECT_EQ(0xFFBFBF, PixelAt(image, 12, 5));
    EXPECT_EQ(Black, PixelAt(image, 12, 6)) << "the inside is left alone";

    QImage resting = BlackCanvas();
    QPainter restingCanvas(&resting);
    FrameRoundRect(restingCanvas, 2, 2, 28, 22, Brisk, Margin, Back, 50, 0, false, true);
    restingCanvas.end();
    EXPECT_EQ(128, qGreen(resting.pixel(12, 2)));
}

} // namespace
