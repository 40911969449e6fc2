#pragma once

#include "core/text/DateTime.h"

// A date-time from its calendar parts, for tests that name moments.
inline TDateTime At(int32_t year, int32_t month, int32_t day, int32_t hour = 0, int32_t minute = 0, int32_t second = 0,
                    int32_t millisecond = 0)
{
    TDateTimeParts parts;
    parts.Year = year, parts.Month = month, parts.Day = day;
    parts.Hour = hour, parts.Minute = minute, parts.Second = second, parts.Millisecond = millisecond;
    return EncodeDateTime(parts);
}
