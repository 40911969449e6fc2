#include "host/TextDrawing.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include "support/TextDrawingFixtures.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace host;

std::vector<std::string> Lines(const std::string& text, int width, uint32_t format)
{
    const QFontMetrics metrics(TestFont());
    return GetTextLines(metrics, text, width, format);
}

int WidthOf(const std::string& text)
{
    return QFontMetrics(TestFont()).horizontalAdvance(QString::fromStdString(text));
}

TEST(TextDrawing, WordBreakWrapsAtSpacesAndKeepsOverlongWordsWhole)
{
    const std::string text = "alpha beta gamma delta epsilon";
    const int width = WidthOf("alpha beta") + 1;
    const std::vector<std::string> lines = Lines(text, width, DT_WORDBREAK | DT_NOPREFIX);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ("alpha beta", lines[0]);
    std::string joined;
    for (const std::string& line : lines) {
        EXPECT_LE(WidthOf(line), width) << line;
        joined += (joined.empty() ? "" : " ") + line;
    }
    EXPECT_EQ(text, joined);

    EXPECT_EQ((std::vector<std::string>{"a", "incomprehensibilities", "b"}),
              Lines("a incomprehensibilities b", WidthOf("a b"), DT_WORDBREAK | DT_NOPREFIX));
}

TEST(TextDrawing, LineBreaksSplitLinesUnlessSingleLine)
{
    EXPECT_EQ((std::vector<std::string>{"one", "two", "", "three", "four"}),
              Lines("one\r\ntwo\n\rthree\nfour", 1000, DT_NOPREFIX));
    EXPECT_EQ(std::vector<std::string>{"one  two"}, Lines("one\r\ntwo", 1000, DT_NOPREFIX | DT_SINGLELINE));
}

TEST(TextDrawing, AmpersandsMarkAcceleratorsUnlessNoPrefix)
{
    EXPECT_EQ(std::vector<std::string>{"File & Edit"}, Lines("&File && Edit", 1000, DT_LEFT));
    EXPECT_EQ(std::vector<std::string>{"&File && Edit"}, Lines("&File && Edit", 1000, DT_NOPREFIX));
}

TEST(TextDrawing, PathEllipsisKeepsTheNameAfterTheLastBackslash)
{
    const std::string path = "C:\\Program Files\\Some Long Folder\\Deeper Still\\report.txt";
    EXPECT_EQ(std::vector<std::string>{path}, Lines(path, WidthOf(path), DT_NOPREFIX | DT_PATH_ELLIPSIS));

    const int width = WidthOf("C:\\Program Files\\...\\report.txt");
    const std::vector<std::string> lines = Lines(path, width, DT_NOPREFIX | DT_PATH_ELLIPSIS);
    ASSERT_EQ(1u, lines.size());
    EXPECT_TRUE(lines[0].starts_with("C:\\Program Files\\")) << lines[0];
    EXPECT_TRUE(lines[0].ends_with("...\\report.txt")) << lines[0];
    EXPECT_LE(WidthOf(lines[0]), width);

    // Without a backslash the middle of the text gives way.
    const std::string name = "averyveryverylongname";
    const int nameWidth = WidthOf("avery...name");
    const std::vector<std::string> middle = Lines(name, nameWidth, DT_NOPREFIX | DT_PATH_ELLIPSIS);
    ASSERT_EQ(1u, middle.size());
    const size_t dots = middle[0].find("...");
    ASSERT_NE(std::string::npos, dots) << middle[0];
    EXPECT_TRUE(dots > 0 && name.starts_with(middle[0].substr(0, dots))) << middle[0];
    EXPECT_TRUE(dots + 3 < middle[0].size() && name.ends_with(middle[0].substr(dots + 3))) << middle[0];
    EXPECT_LE(WidthOf(middle[0]), nameWidth);
}

TEST(TextDrawing, EndEllipsisShortensTheEnd)
{
    const std::vector<std::string> lines =
        Lines("The quick brown fox", WidthOf("The quick..."), DT_NOPREFIX | DT_END_ELLIPSIS);
    EXPECT_EQ(std::vector<std::string>{"The quick..."}, lines);
}

TEST(TextDrawing, CalcRectMeasuresWithoutDrawing)
{
    QRect rect(10, 5, 1000, 10);
    int height = 0;
    const QImage image =
        Drawn([&](QPainter& painter) { height = DrawText(painter, "wide line\nx", rect, DT_NOPREFIX | DT_CALCRECT); });
    const QFontMetrics metrics(TestFont());
    EXPECT_EQ(QRect(10, 5, WidthOf("wide line"), 2 * metrics.height()), rect);
    EXPECT_EQ(2 * metrics.height(), height);
    EXPECT_TRUE(InkBounds(image).isEmpty());
}

TEST(TextDrawing, TextIsClippedToItsRectangleUnlessNoClip)
{
    const QRect rect(20, 10, 30, 40);
    const std::string text = "a rather long line of text";
    QRect drawRect = rect;
    const QImage clipped = Drawn([&](QPainter& painter) { DrawText(painter, text, drawRect, DT_NOPREFIX); });
    EXPECT_TRUE(rect.contains(InkBounds(clipped)));
    const QImage unclipped =
        Drawn([&](QPainter& painter) { DrawText(painter, text, drawRect, DT_NOPREFIX | DT_NOCLIP); });
    EXPECT_GT(InkBounds(unclipped).right(), rect.right());
}

TEST(TextDrawing, HorizontalPlacementFollowsTheFlags)
{
    const QRect rect(10, 10, 200, 40);
    const std::string text = "Centre";
    const auto inkLeft = [&](uint32_t format) {
        QRect drawRect = rect;
        return InkBounds(Drawn([&](QPainter& painter) { DrawText(painter, text, drawRect, format); })).left();
    };
    const int left = inkLeft(DT_NOPREFIX);
    EXPECT_EQ(left + (rect.width() - WidthOf(text)) / 2, inkLeft(DT_NOPREFIX | DT_CENTER));
    EXPECT_EQ(left + rect.width() - WidthOf(text), inkLeft(DT_NOPREFIX | DT_RIGHT));
}

TEST(TextDrawing, VerticalPlacementAppliesToSingleLineTextOnly)
{
    const QRect rect(10, 0, 200, 60);
    const auto inkTop = [&](uint32_t format) {
        QRect drawRect = rect;
        return InkBounds(Drawn([&](QPainter& painter) { DrawText(painter, "Middle", drawRect, format); })).top();
    };
    const int lineHeight = QFontMetrics(TestFont()).height();
    const int top = inkTop(DT_NOPREFIX);
    EXPECT_EQ(top, inkTop(DT_NOPREFIX | DT_VCENTER));
    EXPECT_EQ(top + (rect.height() - lineHeight) / 2, inkTop(DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER));
    EXPECT_EQ(top + rect.height() - lineHeight, inkTop(DT_NOPREFIX | DT_SINGLELINE | DT_BOTTOM));
}

TEST(TextDrawing, AcceleratorIsUnderlined)
{
    QRect rect(10, 10, 200, 40);
    const QImage withPrefix = Drawn([&](QPainter& painter) { DrawText(painter, "&A", rect, DT_LEFT); });
    const QImage plain = Drawn([&](QPainter& painter) { DrawText(painter, "A", rect, DT_NOPREFIX); });
    const int baseline = rect.top() + QFontMetrics(TestFont()).ascent();
    EXPECT_LT(InkBounds(plain).bottom(), baseline);
    EXPECT_GE(InkBounds(withPrefix).bottom(), baseline);
}

TEST(TextDrawing, ShadowLiesUnderTheTextAndThePenIsKept)
{
    QRect rect(10, 10, 200, 40);
    const QRgb red = qRgb(255, 0, 0);
    const QRgb blue = qRgb(0, 0, 255);
    QColor penAfter;
    const QImage image = Drawn([&](QPainter& painter) {
        DrawShadowText(painter, "Shadow", rect, DT_NOPREFIX, QColor(blue), QColor(red), 2, 2);
        penAfter = painter.pen().color();
    });
    EXPECT_GT(CountPixels(image, red), 0);
    EXPECT_GT(CountPixels(image, blue), 0);
    EXPECT_EQ(0, CountPixels(image, qRgb(0, 0, 0)));
    EXPECT_EQ(QColor(Qt::black), penAfter);

    const QRect textInk = InkBounds(Drawn([&](QPainter& painter) { DrawText(painter, "Shadow", rect, DT_NOPREFIX); }));
    EXPECT_EQ(textInk.adjusted(0, 0, 2, 2), InkBounds(image));
}

} // namespace
