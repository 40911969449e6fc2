#include "core/drawing/StockColors.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(StockColors, TableHoldsUniqueNamesAndValuesInTheWindowsLayout)
{
    std::set<std::string> names;
    std::set<TColor> values;
    for (const TStockColor& entry : CStockColors) {
        names.insert(entry.Name);
        values.insert(entry.Color);
        EXPECT_LT(std::string(entry.Name).size(), 32u);
        EXPECT_EQ(0, entry.Color >> 24) << entry.Name;
    }
    EXPECT_EQ(133u, names.size());
    EXPECT_EQ(133u, values.size());
    EXPECT_STREQ("Black", CStockColors[0].Name);
    EXPECT_STREQ("Light Pastel Green", CStockColors[132].Name);
    EXPECT_EQ(0x0000D2, CStockColors[75].Color);
    EXPECT_STREQ("Red", CStockColors[75].Name);
}

TEST(StockColors, NamesAndColoursFindEachOther)
{
    struct Row
    {
        const char* Name;
        bool Found;
        TColor Color;
    };
    const Row rows[] = {
        {"Black", true, 0x000000},
        {"black", true, 0x000000},
        {"BLACK", true, 0x000000},
        {"Blacks", false, 0},
        {"", false, 0},
        {"bright blue", true, 0xFF0000},
        {"Teal", true, 0x828200},
        {"Light Pastel Green", true, 0xC8FFC8},
    };
    for (const Row& row : rows) {
        TColor color = 0x123456;
        EXPECT_EQ(row.Found, GetStockColorFromName(row.Name, color)) << row.Name;
        EXPECT_EQ(row.Found ? row.Color : 0x123456, color) << row.Name;
    }
    EXPECT_EQ("Bright Blue", GetStockColorName(0xFF0000));
    EXPECT_EQ("Black", GetStockColorName(0));
    EXPECT_EQ("", GetStockColorName(0x123456));
}

TEST(StockColors, DescriptionGivesTheChannelsRedFirst)
{
    EXPECT_EQ(" (RGB 0-130-130; Decimal = 33410; Hexadecimal = 0x008282)", GetColorDescription(0x828200));
    EXPECT_EQ(" (RGB 86-52-18; Decimal = 5649426; Hexadecimal = 0x563412)", GetColorDescription(0x123456));
    EXPECT_EQ(" (RGB 255-255-255; Decimal = 16777215; Hexadecimal = 0xFFFFFF)", GetColorDescription(0xFFFFFF));
    EXPECT_EQ(" (RGB 0-0-0; Decimal = 0; Hexadecimal = 0x000000)", GetColorDescription(0));
}

} // namespace
