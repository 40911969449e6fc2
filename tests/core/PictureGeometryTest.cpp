#include "core/drawing/PictureGeometry.h"
#include "core/errors/Traced.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

TEST(PictureGeometry, FittingAPictureIntoABox)
{
    struct Row
    {
        int32_t PictureWidth, PictureHeight, Minimum;
        double MaximumRatio;
        bool Stretch, Enlarge;
        int32_t Width, Height;
        bool Stretched;
    };
    const Row rows[] = {
        {400, 200, 0, 0, false, false, 100, 50, false},  {50, 20, 0, 0, false, false, 50, 20, false},
        {50, 20, 0, 0, false, true, 100, 40, false},     {400, 200, 0, 2, true, false, 100, 100, true},
        {400, 200, 0, 1.5, true, false, 100, 50, false}, {400, 200, 0, 0, true, false, 100, 100, true},
        {50, 20, 60, 0, true, true, 50, 20, false},      {200, 400, 0, 0, false, false, 50, 100, false},
        {0, 200, 0, 0, true, true, 0, 0, false},         {400, 0, 0, 0, true, true, 0, 0, false},
    };
    for (const Row& row : rows) {
        int32_t width = -1, height = -1;
        double ratio = 0;
        const bool stretched = GetFitPictureSize(row.PictureWidth, row.PictureHeight, 100, 100, row.Minimum,
                                                 row.MaximumRatio, row.Stretch, row.Enlarge, width, height, &ratio);
        SCOPED_TRACE(std::to_string(row.PictureWidth) + "x" + std::to_string(row.PictureHeight));
        EXPECT_EQ(row.Stretched, stretched);
        EXPECT_EQ(row.Width, width);
        EXPECT_EQ(row.Height, height);
    }
    int32_t width = 0, height = 0;
    double ratio = 0;
    GetFitPictureSize(400, 200, 100, 100, 0, 0, false, false, width, height, &ratio);
    EXPECT_DOUBLE_EQ(2.0, ratio);
}

TEST(PictureGeometry, ABoxWithoutAreaHoldsNothing)
{
    const QSize boxes[] = {{0, 100}, {100, 0}, {0, 0}, {-5, 100}};
    for (const QSize& box : boxes) {
        SCOPED_TRACE(std::to_string(box.width()) + "x" + std::to_string(box.height()));
        int32_t width = -1, height = -1;
        double ratio = 0;
        EXPECT_FALSE(GetFitPictureSize(400, 200, box.width(), box.height(), 0, 0, true, true, width, height, &ratio));
        EXPECT_EQ(0, width);
        EXPECT_EQ(0, height);
        EXPECT_DOUBLE_EQ(1.0, ratio);
    }
}

TEST(PictureGeometry, NormalizedThumbnailSizes)
{
    int32_t width = -1, height = -1;
    EXPECT_FALSE(GetNormalizedPictureSize(400, 300, 160, 0, true, false, false, false, 0, width, height));
    EXPECT_EQ(-1, width);
    EXPECT_TRUE(GetNormalizedPictureSize(400, 300, 160, 0, true, false, true, false, 0, width, height));
    EXPECT_EQ(160, width);
    EXPECT_EQ(120, height);
    EXPECT_TRUE(GetNormalizedPictureSize(400, 300, 0, 150, false, true, true, false, 0, width, height));
    EXPECT_EQ(200, width);
    EXPECT_EQ(150, height);
    EXPECT_TRUE(GetNormalizedPictureSize(400, 300, 100, 100, true, true, true, false, 0, width, height));
    EXPECT_EQ(100, width);
    EXPECT_EQ(75, height);
    EXPECT_FALSE(GetNormalizedPictureSize(400, 300, 0, 0, true, true, true, false, 0, width, height));
}

TEST(PictureGeometry, OuterFrameSurroundsTheRectangle)
{
    QImage image(30, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        DrawOuterFrame(painter, 5, 5, 10, 10, 0x0000FF);
        DrawOuterFrame(painter, 20, 20, 5, 5, clNone);
    }
    const QRgb red = qRgb(255, 0, 0);
    for (int i = 4; i <= 15; ++i) {
        EXPECT_EQ(red, image.pixel(i, 4)) << i;
        EXPECT_EQ(red, image.pixel(i, 15)) << i;
        EXPECT_EQ(red, image.pixel(4, i)) << i;
        EXPECT_EQ(red, image.pixel(15, i)) << i;
    }
    EXPECT_EQ(qRgb(255, 255, 255), image.pixel(5, 5));
    EXPECT_EQ(qRgb(255, 255, 255), image.pixel(19, 19));
}

TEST(PictureGeometry, PixelsGoRowByRowIntoA32BitBitmap)
{
    const uint32_t pixels[] = {0xFF010203, 0xFF040506, 0xFF070809, 0xFF0A0B0C, 0xFF0D0E0F, 0xFF101112};
    QImage bitmap(3, 2, QImage::Format_ARGB32);
    CopyPixelsToBitmap(pixels, bitmap, 3, 2);
    EXPECT_EQ(0xFF040506u, bitmap.pixel(1, 0));
    EXPECT_EQ(0xFF101112u, bitmap.pixel(2, 1));

    QImage wrongFormat(3, 2, QImage::Format_RGB888);
    EXPECT_THROW(CopyPixelsToBitmap(pixels, wrongFormat, 3, 2), EError);
}

} // namespace
