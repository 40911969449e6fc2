#include "core/text/DateTime.h"

#include <chrono>
#include <cmath>

namespace {

using namespace std::chrono;

constexpr sys_days DayZero = year{1899} / December / 30;
constexpr sys_days FirstDay = year{1} / January / 1;
constexpr sys_days LastDay = year{9999} / December / 31;
constexpr int64_t MillisecondsPerDay = 86400000;

int64_t ClampedDayNumber(double wholeDays)
{
    const double first = static_cast<double>((FirstDay - DayZero).count());
    const double last = static_cast<double>((LastDay - DayZero).count());
    if (std::isnan(wholeDays))
        return 0;
    return static_cast<int64_t>(std::fmax(first, std::fmin(last, wholeDays)));
}

} // namespace

TDateTimeParts DecodeDateTime(TDateTime value)
{
    int64_t dayNumber = ClampedDayNumber(std::trunc(value));
    int64_t milliseconds =
        std::isfinite(value) ? std::llround(std::fabs(value - std::trunc(value)) * MillisecondsPerDay) : 0;
    if (milliseconds >= MillisecondsPerDay) {
        milliseconds -= MillisecondsPerDay;
        dayNumber = ClampedDayNumber(static_cast<double>(dayNumber + 1));
    }
    const sys_days day = DayZero + days{dayNumber};
    const year_month_day date{day};
    TDateTimeParts parts;
    parts.Year = static_cast<int32_t>(date.year());
    parts.Month = static_cast<int32_t>(static_cast<unsigned>(date.month()));
    parts.Day = static_cast<int32_t>(static_cast<unsigned>(date.day()));
    parts.Hour = static_cast<int32_t>(milliseconds / 3600000);
    parts.Minute = static_cast<int32_t>(milliseconds / 60000 % 60);
    parts.Second = static_cast<int32_t>(milliseconds / 1000 % 60);
    parts.Millisecond = static_cast<int32_t>(milliseconds % 1000);
    parts.DayOfWeek = static_cast<int32_t>(weekday{day}.c_encoding());
    return parts;
}

std::optional<TDateTime> EncodeDate(int32_t yearNumber, int32_t monthNumber, int32_t dayNumber)
{
    if (yearNumber < 1 || yearNumber > 9999 || monthNumber < 1 || monthNumber > 12 || dayNumber < 1 || dayNumber > 31)
        return std::nullopt;
    const year_month_day date{year{yearNumber}, month{static_cast<unsigned>(monthNumber)},
                              day{static_cast<unsigned>(dayNumber)}};
    if (!date.ok())
        return std::nullopt;
    return static_cast<TDateTime>((sys_days{date} - DayZero).count());
}

TDateTime EncodeDateTime(const TDateTimeParts& parts)
{
    const TDateTime date = EncodeDate(parts.Year, parts.Month, parts.Day).value_or(0);
    const int64_t milliseconds =
        ((int64_t{parts.Hour} * 60 + parts.Minute) * 60 + parts.Second) * 1000 + parts.Millisecond;
    const TDateTime time = static_cast<TDateTime>(milliseconds) / MillisecondsPerDay;
    return date < 0 ? date - time : date + time;
}
