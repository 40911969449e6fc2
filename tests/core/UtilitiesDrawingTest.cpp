#include "core/forms/Utilities.h"

#include "core/errors/Error.h"

#include "host/TextDrawing.h"

#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QWidget>

#include "support/TextDrawingFixtures.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const QRgb White = qRgb(255, 255, 255);
const QRgb Black = qRgb(0, 0, 0);
const QRgb Yellow = qRgb(255, 255, 0);
const TColor Red = 0x0000FF;
const TColor Blue = 0xFF0000;

// The test drawing, with a yellow brush behind opaque text.
QImage DrawnOnYellowBrush(const std::function<void(QPainter&)>& draw)
{
    return Drawn([&](QPainter& painter) {
        painter.setBrush(QColor(Yellow));
        draw(painter);
    });
}

class DrawTextInRectTest : public testing::Test
{
protected:
    ~DrawTextInRectTest() override { Utilities = TUtilities(); }

    const QRect Rect{10, 10, 200, 50};
};

TEST_F(DrawTextInRectTest, EmptyTextFillsDrawsAndMeasuresNothing)
{
    int32_t width = 7;
    int32_t height = 7;
    const QImage measured = DrawnOnYellowBrush(
        [&](QPainter& canvas) { DrawTextInRect("", canvas, false, Rect, 0, true, true, &width, &height); });
    EXPECT_EQ(0, width);
    EXPECT_EQ(0, height);
    const QImage drawn =
        DrawnOnYellowBrush([&](QPainter& canvas) { DrawTextInRect("", canvas, false, Rect, 0, true, true); });
    EXPECT_TRUE(InkBounds(measured).isEmpty());
    EXPECT_TRUE(InkBounds(drawn).isEmpty());
}

TEST_F(DrawTextInRectTest, MeasuringGivesTheSizeOfTheDrawnTextAndLeavesThePixels)
{
    const std::string text = "Two lines\nof text";
    int32_t width = 0;
    int32_t height = 0;
    const QImage measured = DrawnOnYellowBrush(
        [&](QPainter& canvas) { DrawTextInRect(text, canvas, false, Rect, 0, false, false, &width, &height); });
    EXPECT_TRUE(InkBounds(measured).isEmpty());
    int32_t heightOnly = 0;
    DrawnOnYellowBrush(
        [&](QPainter& canvas) { DrawTextInRect(text, canvas, true, Rect, 0, false, false, nullptr, &heightOnly); });
    EXPECT_EQ(height, heightOnly);

    const QImage drawn =
        DrawnOnYellowBrush([&](QPainter& canvas) { DrawTextInRect(text, canvas, true, Rect, 0, false, false); });
    const QRect ink = InkBounds(drawn);
    EXPECT_TRUE(QRect(Rect.topLeft(), QSize(width, height)).contains(ink)) << width << "x" << height;
    EXPECT_GT(ink.width(), width / 2);
    EXPECT_GT(ink.height(), height / 2);
}

TEST_F(DrawTextInRectTest, OpaqueDrawingFillsTheRectangleWithTheBrushFirst)
{
    const QImage opaque =
        DrawnOnYellowBrush([&](QPainter& canvas) { DrawTextInRect("Text", canvas, false, Rect, 0, false, false); });
    EXPECT_EQ(Rect, InkBounds(opaque));
    EXPECT_EQ(Yellow, opaque.pixel(Rect.bottomRight()));
    const QImage transparent =
        DrawnOnYellowBrush([&](QPainter& canvas) { DrawTextInRect("Text", canvas, true, Rect, 0, false, false); });
    EXPECT_EQ(0, CountPixels(transparent, Yellow));
    EXPECT_GT(CountPixels(transparent, Black), 0);
}

TEST_F(DrawTextInRectTest, FormatZeroDrawsAmpersandsAsTheyAre)
{
    const auto drawn = [&](uint32_t format) {
        return DrawnOnYellowBrush(
            [&](QPainter& canvas) { DrawTextInRect("&Save", canvas, true, Rect, format, false, false); });
    };
    EXPECT_EQ(drawn(host::DT_NOPREFIX), drawn(0));
    EXPECT_NE(drawn(host::DT_SINGLELINE), drawn(0));
}

TEST_F(DrawTextInRectTest, CentringEitherWayCentresAOneLineTextVertically)
{
    const auto drawn = [&](bool horizontally, bool vertically) {
        return DrawnOnYellowBrush(
            [&](QPainter& canvas) { DrawTextInRect("Centre", canvas, true, Rect, 0, horizontally, vertically); });
    };
    const QImage both = drawn(true, true);
    EXPECT_EQ(both, drawn(true, false));
    const int lineHeight = QFontMetrics(TestFont()).height();
    const QRect plainInk = InkBounds(drawn(false, false));
    const QRect centredInk = InkBounds(both);
    EXPECT_EQ(plainInk.top() + (Rect.height() - lineHeight) / 2, centredInk.top());
    EXPECT_GT(centredInk.left(), plainInk.left());
}

TEST_F(DrawTextInRectTest, AnOverwideCentredTextStartsAtTheLeftEdge)
{
    const std::string text = "This line is far wider than its narrow rectangle";
    const QRect narrow(10, 10, 60, 50);
    const auto drawn = [&](bool horizontally) {
        return DrawnOnYellowBrush(
            [&](QPainter& canvas) { DrawTextInRect(text, canvas, true, narrow, 0, horizontally, true); });
    };
    EXPECT_EQ(drawn(false), drawn(true));
}

TEST_F(DrawTextInRectTest, ShadowIsDrawnUnderTheTextInThePenColour)
{
    const auto shadowed = [&] {
        return DrawnOnYellowBrush([&](QPainter& canvas) {
            DrawTextInRect("Shadow", canvas, true, Rect, 0, false, false, nullptr, nullptr, true, 2, 2, Blue, Red);
        });
    };
    const QImage withEntry = shadowed();
    EXPECT_GT(CountPixels(withEntry, qRgb(255, 0, 0)), 0);
    EXPECT_GT(CountPixels(withEntry, Black), 0);

    // Without the entry point the shadow request draws the plain text once.
    Utilities.DrawShadowText = nullptr;
    const QImage plain =
        DrawnOnYellowBrush([&](QPainter& canvas) { DrawTextInRect("Shadow", canvas, true, Rect, 0, false, false); });
    EXPECT_EQ(plain, shadowed());
}

TEST(FontHeight, GrowsWithTheFontAndIsNoFailure)
{
    QWidget control;
    QFont small("Arial");
    small.setPixelSize(12);
    QFont large("Arial");
    large.setPixelSize(24);
    const int32_t smallHeight = GetFontHeight(small, control);
    EXPECT_GE(smallHeight, 12);
    EXPECT_GT(GetFontHeight(large, control), smallHeight);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST(ControlHelpers, SelectComboBoxTextFallsBackToTheDefaultThenToTheFirstItem)
{
    QComboBox comboBox;
    comboBox.addItems({"Alpha", "Beta", "Gamma"});
    struct Row
    {
        const char* Text;
        const char* Default;
        int Selected;
    };
    const Row rows[] = {
        {"", "", 0}, {"beta", "", 1}, {"", "GAMMA", 2}, {"Delta", "gamma", 2}, {"Delta", "", 0}, {"Delta", "Omega", 0},
    };
    for (const Row& row : rows) {
        comboBox.setCurrentIndex(-1);
        SelectComboBoxText(comboBox, row.Text, row.Default);
        EXPECT_EQ(row.Selected, comboBox.currentIndex()) << row.Text << " / " << row.Default;
    }
}

TEST(ControlHelpers, ListBoxSelectionAtAPointAndReselection)
{
    QListWidget listBox;
    listBox.addItems({"one", "two", "three"});
    listBox.resize(120, 200);
    listBox.show();
    listBox.setCurrentRow(0);
    std::vector<int> changes;
    QObject::connect(&listBox, &QListWidget::currentRowChanged, [&](int row) { changes.push_back(row); });

    const QPoint onTwo = listBox.visualItemRect(listBox.item(1)).center();
    EXPECT_EQ(1, SelectListBoxItemAtPos(listBox, onTwo.x(), onTwo.y()));
    EXPECT_EQ(1, listBox.currentRow());

    changes.clear();
    const QRect last = listBox.visualItemRect(listBox.item(2));
    EXPECT_EQ(-1, SelectListBoxItemAtPos(listBox, last.center().x(), last.bottom() + 20));
    EXPECT_EQ(1, listBox.currentRow());
    EXPECT_EQ((std::vector<int>{-1, 1}), changes);
}

TEST(ControlHelpers, ControlUnderTheMouseIsTheInnermostOne)
{
    QWidget window;
    window.setGeometry(100, 100, 200, 150);
    QWidget inner(&window);
    inner.setGeometry(20, 20, 60, 40);
    window.show();
    QApplication::processEvents();

    const QPoint onInner = inner.mapToGlobal(QPoint(5, 5));
    const QPoint onWindow = window.mapToGlobal(QPoint(150, 120));
    EXPECT_TRUE(IsControlAtPoint(onInner, inner));
    EXPECT_FALSE(IsControlAtPoint(onInner, window));
    EXPECT_TRUE(IsControlAtPoint(onWindow, window));

    QCursor::setPos(onInner);
    EXPECT_TRUE(IsMouseOverControl(inner));
    QCursor::setPos(onWindow);
    EXPECT_FALSE(IsMouseOverControl(inner));
}

TEST(ControlHelpers, RestoreAndFocusFormBringsAMinimisedFormBack)
{
    QWidget form;
    form.showMinimized();
    RestoreAndFocusForm(form);
    EXPECT_TRUE(form.isVisible());
    EXPECT_FALSE(form.isMinimized());
}

} // namespace
