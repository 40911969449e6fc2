#include "core/text/FormatSettings.h"

#include "core/errors/Traced.h"
#include "core/text/MyTime.h"

#include "support/DateTimes.h"

#include <gtest/gtest.h>

#include <QLocale>

#include <cmath>

namespace {

TEST(FormatDateTime, EveryTokenOnOneMoment)
{
    const TDateTime moment = At(2005, 3, 7, 14, 5, 9, 500);
    struct Row
    {
        const char* Format;
        const char* Text;
    };
    const Row rows[] = {
        {"d/m/yy", "7/3/05"},
        {"dd/mm/yyyy", "07/03/2005"},
        {"DD/MM/YYYY", "07/03/2005"},
        {"ddd dddd", "Mon Monday"},
        {"mmm mmmm", "Mar March"},
        {"ddddd", "3/7/2005"},
        {"dddddd", "Monday, March 7, 2005"},
        {"h:n:s", "14:5:9"},
        {"hh:nn:ss.zzz", "14:05:09.500"},
        {"z", "500"},
        {"hh:mm", "14:05"},
        {"hh mm", "14 05"},
        {"mm hh", "03 14"},
        {"h:mm am/pm", "2:05 pm"},
        {"h:mm AM/PM", "2:05 PM"},
        {"h a/p", "2 p"},
        {"h ampm", "2 PM"},
        {"t", "2:05 PM"},
        {"tt", "2:05:09 PM"},
        {"\"dd\" d 'mm' m", "dd 7 mm 3"},
        {"yyyy-mm-dd x", "2005-03-07 x"},
        {"\"open", "open"},
        {"", ""},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.Text, FormatDateTime(row.Format, moment)) << row.Format;
}

TEST(FormatDateTime, SeparatorsAndTwelveHourEdges)
{
    FormatSettings.DateSeparator = ".";
    FormatSettings.TimeSeparator = "\u2236";
    EXPECT_EQ("07.03 14\u223605", FormatDateTime("dd/mm hh:nn", At(2005, 3, 7, 14, 5)));
    EXPECT_EQ("12:30 AM", FormatDateTime("h\":\"nn ampm", At(2005, 3, 7, 0, 30)));
    EXPECT_EQ("12:00 PM", FormatDateTime("h\":\"nn ampm", At(2005, 3, 7, 12, 0)));
    EXPECT_EQ("0 'am'", FormatDateTime("h \"'am'\"", At(2005, 3, 7, 0, 0)));
}

TEST(FormatDateTime, CalendarBelowZeroAndRounding)
{
    EXPECT_EQ("29/12/1899 06:00", FormatDateTime("dd/mm/yyyy hh:nn", -1.25));
    EXPECT_EQ("30/12/1899 00:00", FormatDateTime("dd/mm/yyyy hh:nn", 0));
    EXPECT_EQ("01/03/1900 00:00:00.000", FormatDateTime("dd/mm/yyyy hh:nn:ss.zzz", 61 - 1e-10));
    EXPECT_EQ("31/12/9999", FormatDateTime("dd/mm/yyyy", 1e300));
    EXPECT_EQ("01/01/0001", FormatDateTime("dd/mm/yyyy", -HUGE_VAL));
}

TEST(FormatDateTime, AFormatNamingItselfEnds)
{
    FormatSettings.ShortDateFormat = "ddddd|";
    FormatSettings.LongTimeFormat = "tt";
    EXPECT_EQ("||", FormatDateTime("ddddd", 0));
    EXPECT_EQ("", FormatDateTime("tt", 0));
}

TEST(StrToDate, ReadsNumbersInTheShortDateOrder)
{
    struct Row
    {
        const char* Format;
        const char* Text;
        TDateTime Date;
    };
    const Row rows[] = {
        {"d/m/yyyy", "7/3/2005", At(2005, 3, 7)},   {"dd/mm/yy", " 07 / 03 / 2005 ", At(2005, 3, 7)},
        {"m/d/yyyy", "3/7/2005", At(2005, 3, 7)},   {"yyyy/mm/dd", "2005/3/7", At(2005, 3, 7)},
        {"d/m/yyyy", "29/2/2004", At(2004, 2, 29)},
    };
    for (const Row& row : rows) {
        FormatSettings.ShortDateFormat = row.Format;
        EXPECT_EQ(row.Date, StrToDate(row.Text)) << row.Text;
    }
}

TEST(StrToDate, TwoDigitAndMissingYearsComeNearTheCurrentOne)
{
    FormatSettings.ShortDateFormat = "d/m/yyyy";
    const int32_t thisYear = DecodeDateTime(Now()).Year;
    EXPECT_EQ(thisYear, DecodeDateTime(StrToDate("7/3")).Year);
    for (const char* text : {"7/3/05", "7/3/80", "7/3/49"}) {
        const int32_t year = DecodeDateTime(StrToDate(text)).Year;
        EXPECT_GE(year, thisYear - 50) << text;
        EXPECT_LT(year, thisYear + 50) << text;
        EXPECT_EQ(std::atoi(text + 4), year % 100) << text;
    }
}

TEST(StrToDate, RefusesWhatIsNotADate)
{
    FormatSettings.ShortDateFormat = "d/m/yyyy";
    for (const char* text : {"31/2/2005", "abc", "7/3/2005x", "7/3/12345", "7-3-2005", "", "7/13/2005", "0/3/2005"})
        EXPECT_THROW(StrToDate(text), EError) << text;
    try {
        StrToDate("31/2/2005");
    } catch (const EError& error) {
        EXPECT_STREQ("'31/2/2005' is not a valid date", error.what());
    }
}

TEST(NumberTexts, NumberFormatRoundsHalfUpAndGroupsThousands)
{
    struct Row
    {
        long double Value;
        int32_t Precision;
        int32_t Decimals;
        const char* Text;
    };
    const Row rows[] = {
        {1234.5L, 15, 2, "1,234.50"},
        {0.125L, 15, 2, "0.13"},
        {-0.001L, 15, 2, "0.00"},
        {999.996L, 15, 2, "1,000.00"},
        {123456, 2, 0, "120,000"},
        {2.5L, 15, 0, "3"},
        {-2.5L, 15, 0, "-3"},
        {0.05L, 3, 0, "0"},
        {1.23456L, 3, 5, "1.23000"},
        {0, 5, 3, "0.000"},
        {1e20L, 18, 0, "100,000,000,000,000,000,000"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.Text, RealToNumberText(row.Value, row.Precision, row.Decimals))
            << static_cast<double>(row.Value) << " " << row.Precision << " " << row.Decimals;
    EXPECT_EQ("NAN", RealToNumberText(NAN, 5, 2));
    EXPECT_EQ("-INF", RealToNumberText(-HUGE_VALL, 5, 2));
    FormatSettings.DecimalSeparator = ",";
    FormatSettings.ThousandSeparator = ".";
    EXPECT_EQ("1.234,5", RealToNumberText(1234.5L, 15, 1));
}

TEST(NumberTexts, GeneralFormatIsShortestWithFifteenDigits)
{
    struct Row
    {
        double Value;
        const char* Text;
    };
    const Row rows[] = {
        {0, "0"},
        {1.5, "1.5"},
        {-1, "-1"},
        {0.1, "0.1"},
        {1e15, "1E15"},
        {1e14, "100000000000000"},
        {1.5e20, "1.5E20"},
        {0.0001, "0.0001"},
        {0.00001, "1E-5"},
        {1.0 / 3, "0.333333333333333"},
        {-2.5e-7, "-2.5E-7"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.Text, FloatToStr(row.Value)) << row.Value;
    FormatSettings.DecimalSeparator = ",";
    EXPECT_EQ("1,5", FloatToStr(1.5));
}

TEST(FormatSettingsFromLocale, GermanFormatsAreRewrittenInOurTokens)
{
    FormatSettings = TFormatSettings::FromLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(",", FormatSettings.DecimalSeparator);
    EXPECT_EQ(".", FormatSettings.ThousandSeparator);
    EXPECT_EQ(".", FormatSettings.DateSeparator);
    EXPECT_EQ(":", FormatSettings.TimeSeparator);
    EXPECT_EQ("dd/mm/yy", FormatSettings.ShortDateFormat);
    EXPECT_EQ("hh:nn:ss", FormatSettings.LongTimeFormat);
    EXPECT_EQ("M\u00E4rz", FormatSettings.LongMonthNames[2]);
    EXPECT_EQ("Sonntag", FormatSettings.LongDayNames[0]);
    EXPECT_EQ("Samstag", FormatSettings.LongDayNames[6]);

    const TDateTime moment = At(2005, 3, 7, 14, 5, 9);
    EXPECT_EQ("07.03.05", FormatDateTime("ddddd", moment));
    EXPECT_EQ("Montag, 7. M\u00E4rz 2005", FormatDateTime("dddddd", moment));
    EXPECT_EQ("14:05:09", FormatDateTime("tt", moment));
}

TEST(FormatSettingsFromLocale, EnglishTimesUseTheTwelveHourClock)
{
    FormatSettings = TFormatSettings::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ("/", FormatSettings.DateSeparator);
    EXPECT_EQ("AM", FormatSettings.TimeAMString);
    EXPECT_EQ("Mar", FormatSettings.ShortMonthNames[2]);
    EXPECT_EQ("Sun", FormatSettings.ShortDayNames[0]);
    EXPECT_EQ("3/7/05", FormatDateTime("ddddd", At(2005, 3, 7, 14, 5, 9)));
    EXPECT_NE(std::string::npos, FormatDateTime("t", At(2005, 3, 7, 14, 5, 9)).find("2:05"));
    EXPECT_NE(std::string::npos, FormatDateTime("t", At(2005, 3, 7, 14, 5, 9)).find("PM"));
}

} // namespace
