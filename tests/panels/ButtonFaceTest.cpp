#include "panels/ButtonFace.h"

#include "support/Pixels.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {

TEST(ButtonFace, TheGradientCentreSitsByTheStyledEdge)
{
    struct Row
    {
        int Shape;
        const char* Style;
        bool Pressed;
        int CentreY;
    };
    const Row rows[] = {
        {bsRectangle, "No edge", false, 10},
        {bsRectangle, "No edge", true, 17},
        {bsRectangle, "", false, 10},
        {bsRectangle, "VSB", true, 17},
        {bsRectangle, "Top edge", false, 3},
        {bsRectangle, "Top edge", true, 10},
        {bsRectangle, "Bottom edge", false, 17},
        {bsRectangle, "Bottom edge", true, 10},
        {bsRectangle, "top edge", false, 17},
        {bsSingleOval, "Top edge", false, 10},
        {bsDoubleOval, "No edge", true, 14},
    };
    for (const Row& row : rows)
        EXPECT_EQ(QPoint(7 + 40, 3 + row.CentreY), GetButtonFXCentre(7, 3, 80, 20, row.Shape, row.Style, row.Pressed))
            << row.Shape << " \"" << row.Style << "\" " << row.Pressed;
}

TEST(ButtonFace, FocusScalesFollowTheShapeAndTheSide)
{
    EXPECT_EQ(QPointF(0.85, 0.15), GetButtonFXFocusScales(80, 20, bsRectangle, "No edge"));
    EXPECT_EQ(QPointF(0.15, 0.85), GetButtonFXFocusScales(20, 80, bsRectangle, "No edge"));
    EXPECT_EQ(QPointF(0.15, 0.85), GetButtonFXFocusScales(20, 20, bsRectangle, "Top edge"));
    EXPECT_EQ(QPointF(0.1, 0.96), GetButtonFXFocusScales(14, 300, bsRectangle, "VSB"));
    EXPECT_EQ(QPointF(0.3, 0.25), GetButtonFXFocusScales(80, 20, bsSingleOval, "VSB"));
    EXPECT_EQ(QPointF(0.4, 0.25), GetButtonFXFocusScales(80, 20, bsDoubleOval, ""));
}

// A face of 40 x 20 at (5, 5) over a grey canvas.
class FaceCanvas : public testing::Test
{
protected:
    QImage Paint(int shape, int backTranslucency = 0)
    {
        QImage image(60, 40, QImage::Format_RGB32);
        image.fill(QColor(Grey, Grey, Grey));
        QPainter canvas(&image);
        PaintButtonFX(canvas, 5, 5, 40, 20, Brisk, Margin, Back, Tint, 0, backTranslucency, shape, "No edge", false,
                      false);
        return image;
    }

    static constexpr int Grey = 0x80;
    static constexpr TColor Brisk = 0x0000FF;
    static constexpr TColor Margin = 0x00FF00;
    static constexpr TColor Back = 0xFF0000;
    static constexpr TColor Tint = 0xFFFFFF;
};

TEST_F(FaceCanvas, ARectangleRunsFromTheBackColourOutlineToTheTintedFocus)
{
    const QImage face = Paint(bsRectangle);
    for (const QPoint outline : {QPoint(5, 5), QPoint(45, 5), QPoint(5, 25), QPoint(45, 25), QPoint(20, 25)})
        EXPECT_EQ(Back, PixelAt(face, outline.x(), outline.y())) << outline.x() << ", " << outline.y();
    EXPECT_EQ(0x808080, PixelAt(face, 46, 15));
    EXPECT_EQ(0x808080, PixelAt(face, 25, 26));
    EXPECT_EQ(Tint, PixelAt(face, 25, 15));
    EXPECT_EQ(Tint, PixelAt(face, 9, 15)) << "the focus spans most of the width";
    const QRgb between = face.pixel(25, 7);
    EXPECT_GT(qRed(between), 0);
    EXPECT_LT(qRed(between), 0xFF);
}

TEST_F(FaceCanvas, OvalsLeaveTheCornersAndHoldTheirColoursInRings)
{
    const QImage single = Paint(bsSingleOval);
    EXPECT_EQ(0x808080, PixelAt(single, 6, 6));
    EXPECT_EQ(Back, PixelAt(single, 25, 15)) << "the back colour at the centre";
    const QImage doubled = Paint(bsDoubleOval);
    EXPECT_EQ(Tint, PixelAt(doubled, 25, 15));
}

TEST_F(FaceCanvas, TheBackTranslucencyLetsTheCanvasShowThrough)
{
    const QImage face = Paint(bsRectangle, 50);
    const QRgb outline = face.pixel(5, 15);
    EXPECT_NEAR(0x80 / 2, qRed(outline), 2);
    EXPECT_NEAR(0x80 / 2 + 0xFF / 2, qBlue(outline), 2);
}

} // namespace
