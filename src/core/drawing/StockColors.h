#pragma once

#include "core/drawing/Color.h"

#include <cstdint>
#include <string>

struct TStockColor
{
    TColor Color;
    const char* Name;
};

inline constexpr int StockColorCount = 133;

// The program's named colours, as the colour picker shows them.
extern const TStockColor CStockColors[StockColorCount];

// The name of the first entry of the colour, or "".
std::string GetStockColorName(TColor color);
// The colour of the first entry whose name equals the text ignoring case.
bool GetStockColorFromName(const std::string& name, TColor& color);
// " (RGB 0-130-130; Decimal = 33410; Hexadecimal = 0x008282)": the channels, then the
// colour as 0xRRGGBB in decimal and in hexadecimal.
std::string GetColorDescription(TColor color);
