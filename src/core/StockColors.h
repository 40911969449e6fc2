#pragma once

#include "core/Color.h"

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

// The colour of the first entry whose name equals the text ignoring case.
bool GetStockColorFromName(const std::string& name, TColor& color);
