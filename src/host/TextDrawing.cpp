#include "host/TextDrawing.h"

#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <QRect>
#include <QString>

#include <algorithm>

namespace host {

namespace {

const QString Ellipsis = QStringLiteral("...");
constexpr int TabStopInCharacters = 8;

// A line of text with the characters that carry an accelerator underline.
struct TextRun
{
    QString Text;
    std::vector<bool> Underlined;

    TextRun Mid(qsizetype start, qsizetype length = -1) const
    {
        const qsizetype end = length < 0 ? Text.size() : std::min(Text.size(), start + length);
        return {Text.mid(start, end - start), {Underlined.begin() + start, Underlined.begin() + end}};
    }
};

TextRun Plain(const QString& text)
{
    return {text, std::vector<bool>(static_cast<size_t>(text.size()), false)};
}

TextRun RemovePrefixes(const QString& text)
{
    TextRun run;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '&') {
            run.Text += text[i];
            run.Underlined.push_back(false);
        } else if (i + 1 < text.size()) {
            ++i;
            run.Text += text[i];
            run.Underlined.push_back(text[i] != '&');
        }
    }
    return run;
}

class TextMeasure
{
public:
    TextMeasure(const QFontMetrics& metrics, bool expandTabs)
        : Metrics(metrics), TabWidth(expandTabs ? std::max(1, TabStopInCharacters * metrics.averageCharWidth()) : 0)
    {
    }

    // The x of each tab-separated segment's start, then the end of the text.
    std::vector<int> SegmentStarts(const QString& text) const
    {
        std::vector<int> starts{0};
        if (TabWidth == 0) {
            starts.push_back(Metrics.horizontalAdvance(text));
            return starts;
        }
        const QStringList segments = text.split('\t');
        for (qsizetype i = 0; i < segments.size(); ++i) {
            const int end = starts.back() + Metrics.horizontalAdvance(segments[i]);
            starts.push_back(i + 1 < segments.size() ? (end / TabWidth + 1) * TabWidth : end);
        }
        return starts;
    }

    int Width(const QString& text) const { return SegmentStarts(text).back(); }
    bool Fits(const QString& text, int width) const { return Width(text) <= width; }
    bool ExpandsTabs() const { return TabWidth != 0; }

private:
    const QFontMetrics& Metrics;
    int TabWidth;
};

std::vector<TextRun> SplitHardLines(const TextRun& text)
{
    std::vector<TextRun> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.Text.size(); ++i) {
        if (text.Text[i] != '\r' && text.Text[i] != '\n')
            continue;
        lines.push_back(text.Mid(start, i - start));
        if (text.Text[i] == '\r' && i + 1 < text.Text.size() && text.Text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    lines.push_back(text.Mid(start));
    return lines;
}

TextRun JoinLineBreaks(TextRun text)
{
    for (QChar& c : text.Text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

// The end of the first word from `start` (leading spaces belong to it).
qsizetype EndOfFirstWord(const QString& text, qsizetype start)
{
    qsizetype end = start;
    while (end < text.size() && text[end] == ' ')
        ++end;
    while (end < text.size() && text[end] != ' ')
        ++end;
    return end;
}

// The end of the longest run of whole words from `start` that fits, or -1.
qsizetype EndOfWordsThatFit(const QString& text, qsizetype start, const TextMeasure& measure, int width)
{
    qsizetype end = -1;
    for (qsizetype i = start + 1; i < text.size(); ++i) {
        if (text[i] != ' ' || text[i - 1] == ' ')
            continue;
        if (!measure.Fits(text.mid(start, i - start), width))
            break;
        end = i;
    }
    return end;
}

void WrapLine(const TextRun& line, const TextMeasure& measure, int width, std::vector<TextRun>& lines)
{
    const QString& text = line.Text;
    qsizetype start = 0;
    while (true) {
        if (measure.Fits(text.mid(start), width)) {
            lines.push_back(line.Mid(start));
            return;
        }
        qsizetype end = EndOfWordsThatFit(text, start, measure, width);
        if (end < 0)
            end = EndOfFirstWord(text, start);
        lines.push_back(line.Mid(start, end - start));
        start = end;
        while (start < text.size() && text[start] == ' ')
            ++start;
        if (start >= text.size())
            return;
    }
}

// The ellipsis takes the place of characters in the middle; a path keeps the text from
// its last backslash on and loses characters before it.
QString ShortenPath(const QString& line, const TextMeasure& measure, int width)
{
    const qsizetype lastBackslash = line.lastIndexOf('\\');
    if (lastBackslash < 0) {
        for (qsizetype keep = line.size() - 1; keep > 0; --keep) {
            const QString candidate = line.left(keep - keep / 2) + Ellipsis + line.right(keep / 2);
            if (measure.Fits(candidate, width))
                return candidate;
        }
        return Ellipsis;
    }
    const QString tail = Ellipsis + line.mid(lastBackslash);
    for (qsizetype keep = lastBackslash; keep > 0; --keep)
        if (measure.Fits(line.left(keep) + tail, width))
            return line.left(keep) + tail;
    return tail;
}

QString ShortenEnd(const QString& line, const TextMeasure& measure, int width)
{
    for (qsizetype keep = line.size() - 1; keep > 0; --keep)
        if (measure.Fits(line.left(keep) + Ellipsis, width))
            return line.left(keep) + Ellipsis;
    return Ellipsis;
}

TextRun Shorten(const TextRun& line, const TextMeasure& measure, int width, uint32_t format)
{
    if (measure.Fits(line.Text, width))
        return line;
    QString text = line.Text;
    if (format & DT_PATH_ELLIPSIS)
        text = ShortenPath(text, measure, width);
    if ((format & DT_END_ELLIPSIS) && !measure.Fits(text, width))
        text = ShortenEnd(text, measure, width);
    return text == line.Text ? line : Plain(text);
}

std::vector<TextRun> LayOut(const QFontMetrics& metrics, const std::string& text, int width, uint32_t format)
{
    const QString source = QString::fromStdString(text);
    const TextRun run = (format & DT_NOPREFIX) ? Plain(source) : RemovePrefixes(source);
    const TextMeasure measure(metrics, format & DT_EXPANDTABS);
    const bool singleLine = format & DT_SINGLELINE;
    const std::vector<TextRun> hardLines = singleLine ? std::vector{JoinLineBreaks(run)} : SplitHardLines(run);
    std::vector<TextRun> lines;
    for (const TextRun& line : hardLines) {
        if ((format & DT_WORDBREAK) && !singleLine)
            WrapLine(line, measure, width, lines);
        else if (format & (DT_PATH_ELLIPSIS | DT_END_ELLIPSIS))
            lines.push_back(Shorten(line, measure, width, format));
        else
            lines.push_back(line);
    }
    return lines;
}

// A left-aligned line is not measured: shaping a line to measure it costs as much as
// drawing it.
int LineLeft(const QRect& rect, const TextMeasure& measure, const QString& line, uint32_t format)
{
    if (format & DT_CENTER)
        return rect.left() + (rect.width() - measure.Width(line)) / 2;
    if (format & DT_RIGHT)
        return rect.left() + rect.width() - measure.Width(line);
    return rect.left();
}

int TextTop(const QRect& rect, int textHeight, uint32_t format)
{
    if (!(format & DT_SINGLELINE))
        return rect.top();
    if (format & DT_VCENTER)
        return rect.top() + (rect.height() - textHeight) / 2;
    if (format & DT_BOTTOM)
        return rect.top() + rect.height() - textHeight;
    return rect.top();
}

void DrawSegments(QPainter& painter, const TextMeasure& measure, const QString& line, int left, int baseline)
{
    if (!measure.ExpandsTabs()) {
        painter.drawText(left, baseline, line);
        return;
    }
    const std::vector<int> starts = measure.SegmentStarts(line);
    const QStringList segments = line.split('\t');
    for (qsizetype i = 0; i < segments.size(); ++i)
        painter.drawText(left + starts[static_cast<size_t>(i)], baseline, segments[i]);
}

void DrawLine(QPainter& painter, const TextMeasure& measure, const TextRun& line, int left, int baseline)
{
    DrawSegments(painter, measure, line.Text, left, baseline);
    for (size_t i = 0; i < line.Underlined.size(); ++i) {
        if (!line.Underlined[i])
            continue;
        const QFontMetrics metrics = painter.fontMetrics();
        const qsizetype at = static_cast<qsizetype>(i);
        const int x = left + measure.Width(line.Text.left(at));
        const int charWidth = metrics.horizontalAdvance(line.Text.mid(at, 1));
        painter.fillRect(QRect(x, baseline + metrics.underlinePos(), charWidth, std::max(1, metrics.lineWidth())),
                         painter.pen().color());
    }
}

} // namespace

std::vector<std::string> GetTextLines(const QFontMetrics& metrics, const std::string& text, int width, uint32_t format)
{
    std::vector<std::string> lines;
    for (const TextRun& line : LayOut(metrics, text, width, format))
        lines.push_back(line.Text.toStdString());
    return lines;
}

int DrawText(QPainter& painter, const std::string& text, QRect& rect, uint32_t format)
{
    const QFontMetrics metrics = painter.fontMetrics();
    const TextMeasure measure(metrics, format & DT_EXPANDTABS);
    const std::vector<TextRun> lines = LayOut(metrics, text, rect.width(), format);
    const int lineHeight = metrics.height();
    const int textHeight = lineHeight * static_cast<int>(lines.size());
    if (format & DT_CALCRECT) {
        int textWidth = 0;
        for (const TextRun& line : lines)
            textWidth = std::max(textWidth, measure.Width(line.Text));
        rect.setSize({textWidth, textHeight});
        return textHeight;
    }
    painter.save();
    if (!(format & DT_NOCLIP))
        painter.setClipRect(rect, Qt::IntersectClip);
    int top = TextTop(rect, lineHeight, format);
    for (const TextRun& line : lines) {
        DrawLine(painter, measure, line, LineLeft(rect, measure, line.Text, format), top + metrics.ascent());
        top += lineHeight;
    }
    painter.restore();
    return textHeight;
}

int DrawShadowText(QPainter& painter, const std::string& text, QRect& rect, uint32_t format, const QColor& textColor,
                   const QColor& shadowColor, int offsetX, int offsetY)
{
    if (format & DT_CALCRECT)
        return DrawText(painter, text, rect, format);
    const QPen pen = painter.pen();
    QRect shadowRect = rect.translated(offsetX, offsetY);
    painter.setPen(shadowColor);
    DrawText(painter, text, shadowRect, format);
    painter.setPen(textColor);
    const int height = DrawText(painter, text, rect, format);
    painter.setPen(pen);
    return height;
}

} // namespace host
