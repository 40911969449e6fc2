#pragma once

#include "core/text/DateTime.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

class QLocale;

// The process-wide number and date formats. Date and time formats are written in these
// tokens (letters in either case):
//   d dd        day of the month          ddd dddd     short, long day name
//   ddddd       the short date format     dddddd       the long date format
//   m mm        month (minute right after an hour)     mmm mmmm  short, long month name
//   yy yyyy     year in two or four digits
//   h hh        hour (12-hour when am/pm, a/p or ampm follows before the next hour)
//   n nn        minute      s ss   second      z zzz   millisecond
//   t tt        the short, long time format
//   am/pm a/p   the marker in the letter case written    ampm   TimeAMString, TimePMString
//   /           DateSeparator      :   TimeSeparator     "..." '...'   literal text
// Any other character stands for itself.
// A new object holds fixed English (United States) formats.
class TFormatSettings
{
public:
    std::string DecimalSeparator = ".";
    std::string ThousandSeparator = ",";
    std::string DateSeparator = "/";
    std::string TimeSeparator = ":";
    std::string ShortDateFormat = "m/d/yyyy";
    std::string LongDateFormat = "dddd, mmmm d, yyyy";
    std::string ShortTimeFormat = "h:nn ampm";
    std::string LongTimeFormat = "h:nn:ss ampm";
    std::string TimeAMString = "AM";
    std::string TimePMString = "PM";
    std::array<std::string, 12> ShortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    std::array<std::string, 12> LongMonthNames{"January", "February", "March",     "April",   "May",      "June",
                                               "July",    "August",   "September", "October", "November", "December"};
    // Sunday first.
    std::array<std::string, 7> ShortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    std::array<std::string, 7> LongDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                            "Thursday", "Friday", "Saturday"};
    // A two-digit year falls in the hundred years that begin this many years ago.
    int32_t TwoDigitYearCenturyWindow = 50;

    // The separators, names and formats of a platform locale, its formats rewritten in
    // the tokens above.
    static TFormatSettings FromLocale(const QLocale& locale);
};

// Starts from the system's locale; tests set it to fixed values.
extern TFormatSettings FormatSettings;

// The value under a date-time format.
std::string FormatDateTime(const std::string& format, TDateTime value);

// A typed date under the short date format's order of day, month and year and the date
// separator; blanks may surround the numbers; without a year the current one is meant.
// Throws EError "'text' is not a valid date".
TDateTime StrToDate(const std::string& text);

// A real in the number format: rounded to `precision` significant digits and to at most
// `decimals` decimals, with thousand separators and exactly `decimals` decimals.
std::string RealToNumberText(long double value, int32_t precision, int32_t decimals);

// A real in the general format: the shortest text of at most 15 significant digits,
// in scientific form ("1.5E20") when the exponent is below -4 or 15 and above.
std::string FloatToStr(double value);

// A run of decimal digits with the thousand separator between groups of three.
std::string InsertThousandSeparators(std::string_view digits);
