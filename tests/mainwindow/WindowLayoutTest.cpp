#include "mainwindow/WindowLayout.h"

#include <gtest/gtest.h>

namespace {

TEST(WindowLayout, ToolbarButtonWidthsFollowTheCaptionFontAndTheButtonStyle)
{
    struct TCase
    {
        int32_t FontSize;
        const char* Style;
        std::array<int32_t, 4> Widths;
    };
    const TCase cases[] = {
        {8, "No edge", {45, 55, 50, 45}},
        {9, "Round corners", {45, 55, 50, 45}},
        // 45 x 1.4 lies just below 63 in floating point; 55 x 1.4 just below 77.
        {8, "Double oval", {62, 76, 69, 62}},
        {9, "single OVAL", {62, 76, 69, 62}},
        {18, "No edge", {90, 110, 100, 90}},
        {12, "No edge", {60, 73, 66, 60}},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(GetToolbarMetrics(c.FontSize, c.Style).ButtonWidths, c.Widths) << c.FontSize << " " << c.Style;
}

TEST(WindowLayout, InformationFieldsSplitTheBarAndTheLastTakesTheRest)
{
    const std::array<long double, 6> fractions{0.10L, 0.13L, 0.13L, 0.16L, 0.16L, 0.18L};
    EXPECT_EQ(GetInfoFieldWidths(fractions, 1000), (std::array<int32_t, 7>{100, 130, 130, 160, 160, 180, 140}));
    EXPECT_EQ(GetInfoFieldWidths(fractions, 0), (std::array<int32_t, 7>{}));
}

TEST(WindowLayout, ColumnsAreSpreadByWeightWithoutNegativeWidths)
{
    struct TCase
    {
        const char* Name;
        std::vector<TColumnWeight> Columns;
        int32_t Width;
        std::vector<std::pair<int32_t, int32_t>> Spans;
    };
    const TCase cases[] = {
        {"a quarter and the rest", {{1, 1, 10}, {3, 1, 10}}, 801, {{0, 200}, {200, 601}}},
        {"subcolumns round the list down", {{1, 3, 10}, {1, 1, 10}}, 400, {{0, 298}, {298, 102}}},
        {"the weight is the larger value", {{1, 2, 10}, {2, 1, 10}}, 400, {{0, 200}, {200, 200}}},
        {"a narrow window", {{1, 3, 10}, {1, 1, 10}}, 6, {{0, 10}, {10, 0}}},
        {"no width at all", {{1, 1, 10}, {1, 1, 10}}, 0, {{0, 0}, {0, 0}}},
    };
    for (const TCase& c : cases) {
        std::vector<std::pair<int32_t, int32_t>> spans;
        for (const TColumnSpan& span : SpreadColumns(c.Columns, c.Width))
            spans.emplace_back(span.Left, span.Width);
        EXPECT_EQ(spans, c.Spans) << c.Name;
    }
}

} // namespace
