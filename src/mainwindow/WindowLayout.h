#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The arithmetic of the window layout, apart from the panels it is applied to.

// The toolbar's scale and button widths (Work, Boards, Skins, Help) for a caption font
// size and a toolbar button style; oval styles make the buttons larger.
struct TToolbarMetrics
{
    long double Scale = 1;
    bool Oval = false;
    std::array<int32_t, 4> ButtonWidths{};
};
TToolbarMetrics GetToolbarMetrics(int32_t captionFontSize, const std::string& buttonsStyle);
// The caption font's scale without the oval factor, at least 1.
long double GetCaptionScale(int32_t captionFontSize);

// The widths of an information bar's seven fields: each fraction of the bar's width,
// truncated, and the last field takes what is left. Never negative.
std::array<int32_t, 7> GetInfoFieldWidths(const std::array<long double, 6>& fractions, int32_t barWidth);

// One visible column's place across the columns area.
struct TColumnSpan
{
    int32_t Left = 0;
    int32_t Width = 0;
};
struct TColumnWeight
{
    int32_t WidthAttr = 1;
    int32_t Subcolumns = 1;
    // Twice the border of the column's list.
    int32_t ListBorders = 0;
};
// Spreads the columns over the width by their weights (the larger of width attribute and
// subcolumns); a column of several subcolumns gets a list width that is a multiple of
// them, and the last column takes what is left. No width is negative.
std::vector<TColumnSpan> SpreadColumns(const std::vector<TColumnWeight>& columns, int32_t innerWidth);
