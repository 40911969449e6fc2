#include "core/text/MyTime.h"

#include "core/errors/Traced.h"
#include "core/text/AsciiCase.h"
#include "core/text/FormatSettings.h"
#include "core/text/MyMath.h"
#include "core/text/Text.h"

#include "host/Clock.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

constexpr double SecondsPerDay = 86400;
// Texts rather than literals: GCC 12 at -O3 warns falsely (-Wrestrict) when a string
// is assigned a one-character literal.
const std::string ColonSeparator = ":";
const std::string SlashSeparator = "/";
constexpr double TickWrapSeconds = 4294967.296;

// A moment read from the seconds clock, counted on the clock as it reads now: a moment
// later than now was read before the clock last wrapped to 0.
double OnCurrentClock(double moment, double now)
{
    return moment > now ? moment - TickWrapSeconds : moment;
}

// A real's whole part as an integer, held inside the integer range.
int32_t TruncToInt(double x)
{
    if (std::isnan(x))
        return 0;
    constexpr double low = std::numeric_limits<int32_t>::min();
    constexpr double high = std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(std::clamp(std::trunc(x), low, high));
}

std::string WholeNumberText(double wholeNumber)
{
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.0f", wholeNumber);
    return buffer;
}

// The fraction of a second without its leading "0" and decimal separator.
std::string SecondFractionText(double seconds, int32_t fractionDigits)
{
    std::string text = RealToNumberText(GetPositiveFraction(seconds), fractionDigits + 1, fractionDigits);
    const size_t leadSize = 1 + FormatSettings.DecimalSeparator.size();
    if (text.size() > leadSize)
        text.erase(0, leadSize);
    return text;
}

// The text with the first short month name found (in any letter case) turned into the
// month's number, for each month in turn, and "." and "-" turned into "/".
std::string NumericDateText(std::string text)
{
    if (ContainsLetter(text)) {
        for (size_t month = 0; month < FormatSettings.ShortMonthNames.size(); ++month) {
            const std::string& name = FormatSettings.ShortMonthNames[month];
            const size_t position = LowerAscii(text).find(LowerAscii(name));
            if (!name.empty() && position != std::string::npos)
                text = text.substr(0, position) + std::to_string(month + 1) + text.substr(position + name.size());
        }
    }
    std::replace(text.begin(), text.end(), '.', '/');
    std::replace(text.begin(), text.end(), '-', '/');
    return text;
}

} // namespace

double GetTickSeconds()
{
    return host::GetTickCount() * 0.001;
}

void TCrono::Start()
{
    if (!Stopped)
        return;
    const double now = GetTickSeconds();
    StartTime = OnCurrentClock(StartTime, now) + (now - OnCurrentClock(StopTime, now));
    Stopped = false;
}

void TCrono::Stop()
{
    if (Stopped)
        return;
    const double now = GetTickSeconds();
    StartTime = OnCurrentClock(StartTime, now);
    StopTime = now;
    Stopped = true;
}

void TCrono::Restart(double secondsAgo)
{
    StartTime = GetTickSeconds() - secondsAgo;
    StopTime = StartTime;
    Stopped = false;
}

double TCrono::Elapsed() const
{
    return Stopped ? StopTime - StartTime : RunningElapsed();
}

double TCrono::RunningElapsed() const
{
    const double now = GetTickSeconds();
    return now - OnCurrentClock(StartTime, now);
}

bool TCrono::Passed(double period)
{
    TTraced trace;
    bool passed = false;
    try {
        if (period <= 0) {
            trace.Raise("Invalid period.", FloatToStr(period));
        } else if (RunningElapsed() >= period) {
            Stop();
            passed = true;
        }
    }
    TRACED_CATCH(trace)
    return passed;
}

bool TCrono::IsPeriod(double period)
{
    TTraced trace;
    bool passed = false;
    try {
        const double now = GetTickSeconds();
        if (period <= 0) {
            trace.Raise("Invalid period.", FloatToStr(period));
        } else if (now - OnCurrentClock(StartTime, now) >= period) {
            StartTime = now;
            StopTime = StartTime;
            Stopped = false;
            passed = true;
        }
    }
    TRACED_CATCH(trace)
    return passed;
}

TDateTime Now()
{
    const QDateTime now = QDateTime::currentDateTime();
    TDateTimeParts parts;
    parts.Year = now.date().year();
    parts.Month = now.date().month();
    parts.Day = now.date().day();
    parts.Hour = now.time().hour();
    parts.Minute = now.time().minute();
    parts.Second = now.time().second();
    parts.Millisecond = now.time().msec();
    return EncodeDateTime(parts);
}

std::string DateTimeToCompactText(TDateTime value)
{
    const TDateTimeParts parts = DecodeDateTime(value);
    std::string text;
    for (int32_t part : {parts.Year, parts.Month, parts.Day, parts.Hour, parts.Minute, parts.Second})
        text += IntToDigitsText(part, 2);
    return text;
}

std::string NowToCompactText()
{
    return DateTimeToCompactText(Now());
}

TDateTime NormalizeDateTime(TDateTime value)
{
    const double fraction = GetFraction(value);
    return fraction >= 0 ? value : std::floor(value) - (fraction + 1);
}

int32_t GetDayOfYear(TDateTime value)
{
    const TDateTime newYear = EncodeDate(DecodeDateTime(value).Year, 1, 1).value_or(0);
    return TruncToInt(std::floor(value) + 1 - newYear);
}

int32_t GetDayUnits(TDateTime value)
{
    return TruncToInt(GetPositiveFraction(value) * 864);
}

bool HasDateSeparator(const std::string& text)
{
    return text.find_first_of("/.-") != std::string::npos;
}

std::string GetShortDateText(TDateTime value)
{
    return FormatDateTime("ddddd", NormalizeDateTime(value));
}

std::string GetLongDateText(TDateTime value)
{
    return FormatDateTime("dddddd", NormalizeDateTime(value));
}

std::string GetLongDateDayText(TDateTime value)
{
    return GetLongDateText(value) + " (" + std::to_string(GetDayOfYear(value)) + ")";
}

std::string GetTimeText(TDateTime value)
{
    FormatSettings.TimeSeparator = ColonSeparator;
    return FormatDateTime("tt", NormalizeDateTime(value));
}

std::string GetTimeDayUnitsText(TDateTime value)
{
    return GetTimeText(value) + " (" + std::to_string(GetDayUnits(value)) + ")";
}

std::string GetShortDateTimeText(const std::string& separator, TDateTime value)
{
    return GetShortDateText(value) + separator + GetTimeText(value);
}

std::string GetLongDateTimeText(const std::string& separator, TDateTime value)
{
    return GetLongDateDayText(value) + separator + GetTimeDayUnitsText(value);
}

std::string GetDurationText(int32_t fractionDigits, const std::string& daysSuffix, const std::string& fractionSeparator,
                            double seconds, const std::string& timeFormat)
{
    const double magnitude = std::fabs(seconds);
    const double days = magnitude / SecondsPerDay;
    FormatSettings.TimeSeparator = ColonSeparator;
    const std::string timeText = FormatDateTime(timeFormat, days);
    const double wholeDays = std::trunc(days);

    std::string text = seconds < 0 ? "-" : "";
    if (wholeDays != 0)
        text += WholeNumberText(wholeDays) + daysSuffix;
    text += timeText;
    if (fractionDigits != 0)
        text += fractionSeparator + SecondFractionText(magnitude, fractionDigits);
    return text;
}

TDateTime ConvertTextToDate(const std::string& text, const std::string& shortDateFormat)
{
    TTraced trace;
    TDateTime date = 0;
    const std::string savedSeparator = FormatSettings.DateSeparator;
    const std::string savedFormat = FormatSettings.ShortDateFormat;
    try {
        FormatSettings.DateSeparator = SlashSeparator;
        FormatSettings.ShortDateFormat = shortDateFormat;
        date = StrToDate(NumericDateText(text));
    }
    TRACED_CATCH(trace)
    FormatSettings.DateSeparator = savedSeparator;
    FormatSettings.ShortDateFormat = savedFormat;
    return date;
}
