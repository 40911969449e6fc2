#pragma once

#include "core/text/DateTime.h"

#include <string>

// The system tick count in seconds; it wraps to 0 after 2^32 milliseconds.
double GetTickSeconds();

// A stopwatch on the seconds clock. It goes on measuring when the clock wraps: a moment
// it holds that lies ahead of the clock was read before the wrap.
class TCrono
{
public:
    bool Stopped = true;
    // The moment the measured interval began, moved on by every stopped interval.
    double StartTime = 0;
    double StopTime = 0;

    // A stopped stopwatch starts or resumes; a running one is left alone.
    void Start();
    // A running stopwatch stops; a stopped one is left alone.
    void Stop();
    // Runs from now, or from the given number of seconds ago.
    void Restart(double secondsAgo = 0);
    double Elapsed() const;
    // The time since StartTime, also while stopped.
    double RunningElapsed() const;
    // True once the period has passed since StartTime; stops the stopwatch then and keeps
    // answering true. Traced; "Invalid period." for a period of 0 or less.
    bool Passed(double period);
    // True once the period has passed since StartTime; restarts the stopwatch then, so a
    // caller asking on every tick is told true at most once per period. Traced.
    bool IsPeriod(double period);
};

// The current local date and time.
TDateTime Now();

// Year, month, day, hour, minute and second, each at least two digits, run together.
std::string DateTimeToCompactText(TDateTime value);
std::string NowToCompactText();

// Below zero: a continuous count of days turned into the calendar encoding, where the
// fraction counts forward from the start of the day (-1.25 becomes -2.75).
TDateTime NormalizeDateTime(TDateTime value);
// 1 for 1 January.
int32_t GetDayOfYear(TDateTime value);
// The hundred-second units of the day elapsed, 0 to 863.
int32_t GetDayUnits(TDateTime value);
bool HasDateSeparator(const std::string& text);

// Date and time texts in the formats of the format settings. The time texts set the time
// separator to ":" for good.
std::string GetShortDateText(TDateTime value);
std::string GetLongDateText(TDateTime value);
// The long date and " (day of the year)".
std::string GetLongDateDayText(TDateTime value);
std::string GetTimeText(TDateTime value);
// The time and " (day units)".
std::string GetTimeDayUnitsText(TDateTime value);
std::string GetShortDateTimeText(const std::string& separator, TDateTime value);
std::string GetLongDateTimeText(const std::string& separator, TDateTime value);

// A duration of `seconds`: a sign, the whole days with `daysSuffix` (when not 0), the time
// of day under `timeFormat`, and `fractionDigits` digits of the second after
// `fractionSeparator` (when asked for). 93784.25 with "/", ".", "hh:nn:ss" gives 1/02:03:04.
std::string GetDurationText(int32_t fractionDigits, const std::string& daysSuffix, const std::string& fractionSeparator,
                            double seconds, const std::string& timeFormat);

// A typed date under a short date format ("d/m/yyyy"): the locale's short month names
// become numbers, "." and "-" become "/". Traced; 0 for a text that is not a date.
TDateTime ConvertTextToDate(const std::string& text, const std::string& shortDateFormat);
