#include "mainwindow/WindowLayout.h"

#include "core/settings/SkinOptions.h"
#include "core/text/MyMath.h"

#include <algorithm>
#include <cmath>

namespace {

// Integer times real, truncated toward zero, in extended precision.
int32_t ScaledPixels(int32_t pixels, long double scale)
{
    return static_cast<int32_t>(std::trunc(pixels * scale));
}

} // namespace

long double GetCaptionScale(int32_t captionFontSize)
{
    return std::max(static_cast<long double>(captionFontSize) / 9, 1.0L);
}

TToolbarMetrics GetToolbarMetrics(int32_t captionFontSize, const std::string& buttonsStyle)
{
    TToolbarMetrics metrics;
    metrics.Scale = GetCaptionScale(captionFontSize);
    metrics.Oval = GetToolbarButtonShape(buttonsStyle) >= 1;
    if (metrics.Oval)
        metrics.Scale *= 1.4; // a double constant, as stored
    constexpr std::array<int32_t, 4> baseWidths{45, 55, 50, 45};
    for (size_t i = 0; i < baseWidths.size(); ++i)
        metrics.ButtonWidths[i] = ScaledPixels(baseWidths[i], metrics.Scale);
    return metrics;
}

std::array<int32_t, 7> GetInfoFieldWidths(const std::array<long double, 6>& fractions, int32_t barWidth)
{
    std::array<int32_t, 7> widths{};
    int32_t used = 0;
    for (size_t i = 0; i < fractions.size(); ++i) {
        widths[i] = std::max(ScaledPixels(barWidth, fractions[i]), 0);
        used += widths[i];
    }
    widths[6] = std::max(barWidth - used, 0);
    return widths;
}

std::vector<TColumnSpan> SpreadColumns(const std::vector<TColumnWeight>& columns, int32_t innerWidth)
{
    std::vector<TColumnSpan> spans;
    int64_t sum = 0;
    for (const TColumnWeight& column : columns)
        sum += std::max(column.WidthAttr, column.Subcolumns);
    if (sum <= 0)
        return spans;
    int32_t left = 0;
    for (size_t j = 0; j < columns.size(); ++j) {
        const TColumnWeight& column = columns[j];
        const auto share = static_cast<int32_t>(static_cast<int64_t>(innerWidth) *
                                                std::max(column.WidthAttr, column.Subcolumns) / sum);
        const bool last = j + 1 == columns.size();
        int32_t width = share;
        int32_t advance = share;
        if (column.Subcolumns >= 2) {
            width = GetBlockStart(std::max(share - column.ListBorders, 0), column.Subcolumns) + column.ListBorders;
            advance = width;
        }
        if (last)
            width = innerWidth - left;
        spans.push_back({left, std::max(width, 0)});
        left += advance;
    }
    return spans;
}
