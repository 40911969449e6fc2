#pragma once

#include <cstdint>
#include <optional>

// Date-time values are reals: whole days since 30 December 1899 in the integer part and
// the time of day as the fraction. Below zero the integer part is still the day and the
// absolute value of the fraction the time of day (-1.25 is 29 December 1899, 06:00).
using TDateTime = double;

struct TDateTimeParts
{
    int32_t Year = 1899;
    int32_t Month = 12;
    int32_t Day = 30;
    int32_t Hour = 0;
    int32_t Minute = 0;
    int32_t Second = 0;
    int32_t Millisecond = 0;
    // 0 for Sunday to 6 for Saturday.
    int32_t DayOfWeek = 6;
};

// The calendar reading of a value, the time rounded to the millisecond. Values outside
// the years 1 to 9999 are read as the nearest day inside them.
TDateTimeParts DecodeDateTime(TDateTime value);

// The value of a day, or nothing for a day that does not exist in the years 1 to 9999.
std::optional<TDateTime> EncodeDate(int32_t year, int32_t month, int32_t day);

// The value of a calendar date and time of day, milliseconds included.
TDateTime EncodeDateTime(const TDateTimeParts& parts);
