#include "core/text/MyTime.h"

#include "core/errors/Error.h"
#include "core/text/FormatSettings.h"

#include "host/Clock.h"

#include "support/DateTimes.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// The tick count is moved by hand, so no test waits.
class Stopwatch : public testing::Test
{
protected:
    void SetUp() override
    {
        host::SetTickCountSource([this] { return Tick; });
    }
    void TearDown() override { host::SetTickCountSource({}); }
    void SetSeconds(double seconds) { Tick = static_cast<uint32_t>(seconds * 1000 + 0.5); }

    uint32_t Tick = 0;
    TCrono Crono;
};

TEST_F(Stopwatch, StoppedIntervalsAreLeftOut)
{
    const double t0 = 1000;
    SetSeconds(t0);
    Crono.Start();
    SetSeconds(t0 + 2);
    Crono.Stop();
    SetSeconds(t0 + 4);
    EXPECT_DOUBLE_EQ(2, Crono.Elapsed());
    EXPECT_DOUBLE_EQ(4, Crono.RunningElapsed());
    SetSeconds(t0 + 5);
    Crono.Start();
    SetSeconds(t0 + 6);
    EXPECT_DOUBLE_EQ(3, Crono.Elapsed());
}

TEST_F(Stopwatch, RepeatedStartAndStopChangeNothing)
{
    SetSeconds(10);
    Crono.Start();
    SetSeconds(12);
    Crono.Start();
    EXPECT_DOUBLE_EQ(10, Crono.StartTime);
    EXPECT_FALSE(Crono.Stopped);
    Crono.Stop();
    SetSeconds(15);
    Crono.Stop();
    EXPECT_DOUBLE_EQ(12, Crono.StopTime);
    EXPECT_DOUBLE_EQ(2, Crono.Elapsed());
}

TEST_F(Stopwatch, IsPeriodAnswersAtMostOncePerPeriod)
{
    int answers = 0;
    double lastAnswer = -10;
    for (int step = 0; step <= 50; ++step) {
        const double now = 500 + step * 0.2;
        SetSeconds(now);
        if (Crono.IsPeriod(1.0)) {
            EXPECT_GE(now - lastAnswer, 0.999) << now;
            lastAnswer = now;
            ++answers;
        }
    }
    EXPECT_TRUE(answers == 10 || answers == 11) << answers;
    EXPECT_FALSE(Crono.Stopped);
}

TEST_F(Stopwatch, PassedStopsAndKeepsAnsweringTrue)
{
    SetSeconds(100);
    Crono.Start();
    SetSeconds(100.5);
    EXPECT_FALSE(Crono.Passed(1));
    EXPECT_FALSE(Crono.Stopped);
    SetSeconds(101.5);
    EXPECT_TRUE(Crono.Passed(1));
    EXPECT_TRUE(Crono.Stopped);
    SetSeconds(107);
    EXPECT_TRUE(Crono.Passed(1));
    EXPECT_DOUBLE_EQ(1.5, Crono.Elapsed());
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

TEST_F(Stopwatch, NonPositivePeriodsFailAndChangeNothing)
{
    SetSeconds(100);
    Crono.Start();
    SetSeconds(200);
    EXPECT_FALSE(Crono.IsPeriod(0));
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Invalid period.", FunStatContext.Description);
    EXPECT_EQ("0", FunStatContext.Parameter1);
    EXPECT_EQ("TCrono::IsPeriod", FunStatContext.RaiseFunction);
    EXPECT_FALSE(Crono.Passed(-1.5));
    EXPECT_EQ("Invalid period.", FunStatContext.Description);
    EXPECT_EQ("-1.5", FunStatContext.Parameter1);
    EXPECT_DOUBLE_EQ(100, Crono.StartTime);
    EXPECT_FALSE(Crono.Stopped);
}

// The tick count wraps after about 49.7 days; a stopwatch running across the wrap goes
// on measuring instead of standing still until the count comes back to its start.
TEST_F(Stopwatch, MeasuresAcrossTheWrap)
{
    Tick = UINT32_MAX - 999;
    Crono.Start();
    Tick = 500;
    EXPECT_NEAR(1.5, Crono.Elapsed(), 1e-6);
    Crono.Stop();
    Tick = 10000;
    EXPECT_NEAR(1.5, Crono.Elapsed(), 1e-6);
    Crono.Start();
    Tick = 11000;
    EXPECT_NEAR(2.5, Crono.Elapsed(), 1e-6);
}

TEST_F(Stopwatch, PeriodsGoOnAcrossTheWrap)
{
    Tick = UINT32_MAX - 499;
    EXPECT_TRUE(Crono.IsPeriod(1));
    Tick = 0;
    EXPECT_FALSE(Crono.IsPeriod(1));
    Tick = 600;
    EXPECT_TRUE(Crono.IsPeriod(1));
    Tick = 1000;
    EXPECT_FALSE(Crono.IsPeriod(1));

    TCrono timeout;
    Tick = UINT32_MAX - 999;
    timeout.Start();
    Tick = 3900;
    EXPECT_FALSE(timeout.Passed(5));
    Tick = 4100;
    EXPECT_TRUE(timeout.Passed(5));
    EXPECT_TRUE(timeout.Stopped);
}

TEST_F(Stopwatch, StoppedAcrossTheWrapLeavesTheStopOut)
{
    Tick = UINT32_MAX - 4999;
    Crono.Start();
    Tick = UINT32_MAX - 1999;
    Crono.Stop();
    Tick = 1000;
    Crono.Start();
    Tick = 2000;
    EXPECT_NEAR(4, Crono.Elapsed(), 1e-6);
}

TEST(DurationText, DaysTimeAndFractions)
{
    FormatSettings.TimeSeparator = ".";
    EXPECT_EQ("-00:00:59", GetDurationText(0, "/", ".", -59.0, "hh:nn:ss"));
    EXPECT_EQ(":", FormatSettings.TimeSeparator);
    EXPECT_EQ("1/00:00:00", GetDurationText(0, "/", ".", 86400, "hh:nn:ss"));
    EXPECT_EQ("1/02:03:04", GetDurationText(0, "/", ".", 93784.25, "hh:nn:ss"));
    EXPECT_EQ("00:00:01.25", GetDurationText(2, "/", ".", 1.25, "hh:nn:ss"));
    EXPECT_EQ("-3 days 00:00:00.5", GetDurationText(1, " days ", ".", -(3 * 86400 + 0.5), "hh:nn:ss"));
    FormatSettings.DecimalSeparator = "\u00B7";
    EXPECT_EQ("00:00:01,25", GetDurationText(2, "/", ",", 1.25, "hh:nn:ss"));
}

TEST(DayFigures, DayOfYearDayUnitsAndNormalising)
{
    EXPECT_EQ(61, GetDayOfYear(At(2004, 3, 1, 23, 59)));
    EXPECT_EQ(1, GetDayOfYear(At(2005, 1, 1)));
    EXPECT_EQ(366, GetDayOfYear(At(2004, 12, 31, 12)));
    EXPECT_EQ(365, GetDayOfYear(1.0));
    EXPECT_EQ(0, GetDayUnits(At(2005, 3, 7, 0, 1, 39)));
    EXPECT_EQ(1, GetDayUnits(At(2005, 3, 7, 0, 1, 40)));
    EXPECT_EQ(432, GetDayUnits(At(2005, 3, 7, 12)));
    EXPECT_EQ(863, GetDayUnits(At(2005, 3, 7, 23, 59, 59)));
    EXPECT_DOUBLE_EQ(-2.75, NormalizeDateTime(-1.25));
    EXPECT_DOUBLE_EQ(3.25, NormalizeDateTime(3.25));
    EXPECT_DOUBLE_EQ(-2.0, NormalizeDateTime(-2.0));
}

TEST(DateTexts, TextsInTheFormatSettings)
{
    const TDateTime moment = At(2005, 3, 7, 14, 5, 9, 500);
    FormatSettings.TimeSeparator = ".";
    EXPECT_EQ("20050307140509", DateTimeToCompactText(moment));
    EXPECT_EQ("3/7/2005", GetShortDateText(moment));
    EXPECT_EQ("Monday, March 7, 2005", GetLongDateText(moment));
    EXPECT_EQ("3/7/2005 - 2:05:09 PM", GetShortDateTimeText(" - ", moment));
    EXPECT_EQ(":", FormatSettings.TimeSeparator);
    EXPECT_EQ("Monday, March 7, 2005 (66) | 2:05:09 PM (507)", GetLongDateTimeText(" | ", moment));
    EXPECT_EQ("Thursday, December 28, 1899", GetLongDateText(-1.25));
    EXPECT_EQ("6:00:00 PM", GetTimeText(-1.25));
    EXPECT_EQ(14u, NowToCompactText().size());
}

TEST(DateTexts, HasDateSeparator)
{
    EXPECT_TRUE(HasDateSeparator("7/3"));
    EXPECT_TRUE(HasDateSeparator("7.3"));
    EXPECT_TRUE(HasDateSeparator("7-3"));
    EXPECT_FALSE(HasDateSeparator("7 3:00"));
}

TEST(ConvertTextToDate, MonthNamesAndSeparatorsBecomeNumbersAndSlashes)
{
    FormatSettings.DateSeparator = std::string("-");
    FormatSettings.ShortDateFormat = "yyyy-mm-dd";
    EXPECT_EQ(At(2005, 3, 7), ConvertTextToDate("7-Mar-2005", "d/m/yyyy"));
    EXPECT_EQ(At(2005, 3, 7), ConvertTextToDate("7.MAR.2005", "d/m/yyyy"));
    EXPECT_EQ(At(2005, 12, 7), ConvertTextToDate("dec-7-2005", "m/d/yyyy"));
    EXPECT_EQ(At(2005, 3, 7), ConvertTextToDate("2005.03.07", "yyyy/mm/dd"));
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ("-", FormatSettings.DateSeparator);
    EXPECT_EQ("yyyy-mm-dd", FormatSettings.ShortDateFormat);
}

TEST(ConvertTextToDate, AnImpossibleDateFailsWithZero)
{
    FormatSettings.ShortDateFormat = "m/d/yyyy";
    EXPECT_EQ(0, ConvertTextToDate("31-Feb-2005", "d/m/yyyy"));
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Unhandled exception: '31/2/2005' is not a valid date", FunStatContext.Description);
    EXPECT_EQ("m/d/yyyy", FormatSettings.ShortDateFormat);
    EXPECT_EQ("/", FormatSettings.DateSeparator);
}

} // namespace
