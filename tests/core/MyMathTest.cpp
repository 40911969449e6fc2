#include "core/text/MyMath.h"

#include "core/errors/Error.h"
#include "core/text/FormatSettings.h"

#include "support/TestSupport.h"

#include "host/FaultInjection.h"
#include "host/FileSystem.h"
#include "host/LastError.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(MyMath, RoundingAndFractionsKeepTheirSigns)
{
    struct Row
    {
        double X;
        double Fraction;
        double PositiveFraction;
        double Rounded;
    };
    const Row rows[] = {
        {2.5, 0.5, 0.5, 3},   {-2.5, -0.5, 0.5, -2}, {-2.6, -0.6, 0.4, -3}, {0.5, 0.5, 0.5, 1},
        {-0.5, -0.5, 0.5, 0}, {1.49, 0.49, 0.49, 1}, {7, 0, 0, 7},          {-7, 0, 0, -7},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.X);
        EXPECT_NEAR(row.Fraction, GetFraction(row.X), 1e-12);
        EXPECT_NEAR(row.PositiveFraction, GetPositiveFraction(row.X), 1e-12);
        EXPECT_EQ(row.Rounded, RoundHalfUp(row.X));
    }
    EXPECT_EQ(1.0, ClampReal(0.5, 1, 2));
    EXPECT_EQ(2.0, ClampReal(9, 1, 2));
    EXPECT_EQ(1.5, ClampReal(1.5, 1, 2));
}

TEST(MyMath, BitLengthsAndFields)
{
    EXPECT_EQ(0, GetBitLength(0));
    EXPECT_EQ(1, GetBitLength(1));
    EXPECT_EQ(8, GetBitLength(255));
    EXPECT_EQ(9, GetBitLength(256));
    EXPECT_EQ(10, GetBitLength(1023));
    EXPECT_EQ(11, GetBitLength(1024));
    EXPECT_EQ(32, GetBitLength(-1));

    EXPECT_EQ(0xD, GetBitField(0xDF, 4, 4));
    EXPECT_EQ(0x7, GetBitField(-1, 28, 3));
    EXPECT_EQ(0x7FFFFFFF, GetBitField(-1, 0, 31));
    EXPECT_EQ(0, GetBitField(0xFF, 3, 0));

    EXPECT_EQ(0xDF, SetBitField(0xFF, 5, 4, 3));
    EXPECT_EQ(0x8F, SetBitField(0xFF, 8, 4, 3));
    EXPECT_EQ(0x8F, SetBitField(0xFF, -1, 4, 3));
    for (int32_t field = 0; field < 8; ++field)
        EXPECT_EQ(field, GetBitField(SetBitField(0x12345678, field, 9, 3), 9, 3));
}

TEST(MyMath, SortThreeIntsOrdersEveryPermutation)
{
    const int32_t permutations[][3] = {{1, 2, 3}, {1, 3, 2}, {2, 1, 3}, {2, 3, 1}, {3, 1, 2}, {3, 2, 1}, {2, 2, 1}};
    for (const auto& p : permutations) {
        int32_t a = p[0], b = p[1], c = p[2];
        SortThreeInts(a, b, c);
        EXPECT_LE(a, b);
        EXPECT_LE(b, c);
        EXPECT_EQ(p[0] + p[1] + p[2], a + b + c);
    }
}

TEST(MyMath, BlocksOfRows)
{
    EXPECT_EQ(6, GetBlockStart(7, 3));
    EXPECT_EQ(8, GetBlockEnd(7, 3));
    EXPECT_EQ(6, GetBlockStart(6, 3));
    EXPECT_EQ(8, GetBlockEnd(6, 3));
    EXPECT_EQ(0, GetBlockStart(0, 3));
    EXPECT_EQ(2, GetBlockEnd(0, 3));
    EXPECT_EQ(7, GetBlockStart(7, 0));
    EXPECT_EQ(7, GetBlockEnd(7, 0));
}

TEST(MyMath, IntegerTexts)
{
    EXPECT_EQ("1,234,567", IntToSeparatedText(1234567));
    EXPECT_EQ("-1,000", IntToSeparatedText(-1000));
    EXPECT_EQ("999", IntToSeparatedText(999));
    EXPECT_EQ("-2,147,483,648", IntToSeparatedText(std::numeric_limits<int32_t>::min()));
    EXPECT_EQ("-9,223,372,036,854,775,808", Int64ToSeparatedText(std::numeric_limits<int64_t>::min()));
    FormatSettings.ThousandSeparator = "\u00A0";
    EXPECT_EQ("12\u00A0345", IntToSeparatedText(12345));

    EXPECT_EQ("   42", IntToWidthText(42, 5));
    EXPECT_EQ("123456", IntToWidthText(123456, 3));
    EXPECT_EQ("007", IntToDigitsText(7, 3));
    EXPECT_EQ("-007", IntToDigitsText(-7, 3));
    EXPECT_EQ("1234", IntToDigitsText(1234, 2));
    EXPECT_EQ("5", IntToDigitsText(5, 0));
}

TEST(MyMath, AlignRealToTextPowExamples)
{
    struct Row
    {
        int32_t Digits;
        int32_t Decimals;
        double X;
        const char* Text;
    };
    const Row rows[] = {
        {3, 0, 1234, "1.23e3"}, {5, 2, 1234, "1,234.00"},     {2, 0, 123456, "120e3"}, {3, 0, -1234, "-1.23e3"},
        {3, 0, 0.05, "0"},      {2, 0, 999.6, "1e3"},         {2, 0, -999.6, "-1e3"},  {3, 0, 0, "0"},
        {4, 1, 12.345, "12.3"}, {3, 0, 1234567890, "1.23e9"}, {1, 0, 45, "50"},        {3, 2, 0.5, "0.50"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.Text, AlignRealToTextPow(row.Digits, row.Decimals, row.X))
            << row.Digits << " " << row.Decimals << " " << row.X;
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
    }
}

TEST(MyMath, AlignRealToTextPowPanicsOnBadDigits)
{
    for (const auto& [digits, decimals] : {std::pair{0, 0}, std::pair{3, -1}}) {
        TModalScript script;
        script.Expect("Error", IDOK);
        EXPECT_EQ("?", AlignRealToTextPow(digits, decimals, 12));
        EXPECT_EQ(fsPanic, FunStatContext.Status);
        EXPECT_EQ("Invalid number of digits, or precesion.", FunStatContext.Description);
    }
}

TEST(MyMath, ColourBlendsAndSwaps)
{
    EXPECT_EQ(0x808080, BlendColors(0xFFFFFF, 0x000000, 0.5, 0.5));
    EXPECT_EQ(0x0000FF, BlendColors(static_cast<TColor>(0xFF0000FF), 0x0000FF, 1, 1));
    EXPECT_EQ(0x204060, BlendColors(0x204060, 0x000000, 1, 0));
    EXPECT_EQ(255, BlendColorChannel(200, 200, 1, 1));
    EXPECT_EQ(25, BlendColorChannel(10, 30, 0.25, 0.75));
    EXPECT_EQ(0x00563412, SwapRedAndBlue(static_cast<TColor>(0xFF123456)));
}

TEST(MyMath, FileAttributesOrZero)
{
    TTempDrive drive('T');
    drive.WriteFile("d/.hidden", "x");
    EXPECT_EQ(host::FILE_ATTRIBUTE_ARCHIVE | host::FILE_ATTRIBUTE_HIDDEN,
              GetFileAttributesOrZero(drive.Path("d\\.hidden")));
    EXPECT_EQ(host::FILE_ATTRIBUTE_DIRECTORY, GetFileAttributesOrZero(drive.Path("d")));
    EXPECT_EQ(0u, GetFileAttributesOrZero(drive.Path("missing.txt")));
    EXPECT_EQ(0u, GetFileAttributesOrZero("Q:\\unmapped"));
    host::InjectFault(host::HostCall::Stat, host::ERROR_ACCESS_DENIED);
    EXPECT_EQ(0u, GetFileAttributesOrZero(drive.Path("d")));
}

} // namespace
