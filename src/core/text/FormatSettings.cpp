#include "core/text/FormatSettings.h"

#include "core/errors/Traced.h"
#include "core/text/AsciiCase.h"
#include "core/text/MyTime.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

TFormatSettings FormatSettings = TFormatSettings::FromLocale(QLocale::system());

namespace {

// ---- Date-time formats ----

std::string PaddedNumber(int32_t number, int32_t width)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, number);
    return buffer;
}

bool StartsWithNoCase(std::string_view text, size_t position, std::string_view prefix)
{
    return SameTextAscii(text.substr(position, prefix.size()), prefix);
}

// A nested format (ddddd, t, ...) is expanded this deep at most, so a format that names
// itself cannot recurse without end.
constexpr int MaxFormatNesting = 2;

class TDateTimeWriter
{
public:
    explicit TDateTimeWriter(TDateTime value) : Parts(DecodeDateTime(value)) {}

    void Append(std::string_view format, int nesting);
    std::string Text;

private:
    static size_t RunLength(std::string_view format, size_t position, char letter);
    static bool IsTwelveHourClock(std::string_view format, size_t position);
    void AppendNested(const std::string& format, int nesting);
    void AppendDayToken(size_t count, int nesting);
    void AppendMonthToken(size_t count);
    void AppendHourToken(std::string_view format, size_t next, size_t count);
    size_t AppendMarker(std::string_view format, size_t position);
    size_t AppendQuoted(std::string_view format, size_t position);

    TDateTimeParts Parts;
};

size_t TDateTimeWriter::RunLength(std::string_view format, size_t position, char letter)
{
    size_t end = position;
    while (end < format.size() && UpperAscii(format[end]) == letter)
        ++end;
    return end - position;
}

// The hour is on the 12-hour clock when a marker follows before the next hour token.
bool TDateTimeWriter::IsTwelveHourClock(std::string_view format, size_t position)
{
    bool quoted = false;
    for (size_t i = position; i < format.size(); ++i) {
        const char c = UpperAscii(format[i]);
        if (c == '"' || c == '\'')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (c == 'H')
            return false;
        else if (c == 'A')
            return StartsWithNoCase(format, i, "am/pm") || StartsWithNoCase(format, i, "a/p") ||
                   StartsWithNoCase(format, i, "ampm");
    }
    return false;
}

void TDateTimeWriter::AppendNested(const std::string& format, int nesting)
{
    if (nesting < MaxFormatNesting)
        Append(format, nesting + 1);
}

void TDateTimeWriter::AppendDayToken(size_t count, int nesting)
{
    switch (count) {
    case 1:
        Text += std::to_string(Parts.Day);
        break;
    case 2:
        Text += PaddedNumber(Parts.Day, 2);
        break;
    case 3:
        Text += FormatSettings.ShortDayNames[static_cast<size_t>(Parts.DayOfWeek)];
        break;
    case 4:
        Text += FormatSettings.LongDayNames[static_cast<size_t>(Parts.DayOfWeek)];
        break;
    case 5:
        AppendNested(FormatSettings.ShortDateFormat, nesting);
        break;
    default:
        AppendNested(FormatSettings.LongDateFormat, nesting);
        break;
    }
}

void TDateTimeWriter::AppendMonthToken(size_t count)
{
    const size_t month = static_cast<size_t>(Parts.Month - 1);
    if (count == 1)
        Text += std::to_string(Parts.Month);
    else if (count == 2)
        Text += PaddedNumber(Parts.Month, 2);
    else if (count == 3)
        Text += FormatSettings.ShortMonthNames[month];
    else
        Text += FormatSettings.LongMonthNames[month];
}

void TDateTimeWriter::AppendHourToken(std::string_view format, size_t next, size_t count)
{
    int32_t hour = Parts.Hour;
    if (IsTwelveHourClock(format, next)) {
        if (hour == 0)
            hour = 12;
        else if (hour > 12)
            hour -= 12;
    }
    Text += count == 1 ? std::to_string(hour) : PaddedNumber(hour, 2);
}

// am/pm and a/p show the marker as written; ampm shows the locale's texts. Gives the
// number of format characters used.
size_t TDateTimeWriter::AppendMarker(std::string_view format, size_t position)
{
    const bool afternoon = Parts.Hour >= 12;
    if (StartsWithNoCase(format, position, "am/pm")) {
        Text += format.substr(position + (afternoon ? 3 : 0), 2);
        return 5;
    }
    if (StartsWithNoCase(format, position, "a/p")) {
        Text += format.substr(position + (afternoon ? 2 : 0), 1);
        return 3;
    }
    if (StartsWithNoCase(format, position, "ampm")) {
        Text += afternoon ? FormatSettings.TimePMString : FormatSettings.TimeAMString;
        return 4;
    }
    Text += format[position];
    return 1;
}

size_t TDateTimeWriter::AppendQuoted(std::string_view format, size_t position)
{
    const size_t closing = format.find(format[position], position + 1);
    const size_t end = closing == std::string_view::npos ? format.size() : closing;
    Text += format.substr(position + 1, end - position - 1);
    return std::min(format.size(), end + 1) - position;
}

void TDateTimeWriter::Append(std::string_view format, int nesting)
{
    char lastLetter = 0;
    size_t i = 0;
    while (i < format.size()) {
        char token = UpperAscii(format[i]);
        const char runLetter = token;
        if (token >= 'A' && token <= 'Z') {
            if (token == 'M' && lastLetter == 'H')
                token = 'N';
            lastLetter = token;
        }
        const size_t count = RunLength(format, i, runLetter);
        switch (token) {
        case 'Y':
            Text += count <= 2 ? PaddedNumber(Parts.Year % 100, 2) : PaddedNumber(Parts.Year, 4);
            break;
        case 'M':
            AppendMonthToken(count);
            break;
        case 'D':
            AppendDayToken(count, nesting);
            break;
        case 'H':
            AppendHourToken(format, i + count, count);
            break;
        case 'N':
            Text += count == 1 ? std::to_string(Parts.Minute) : PaddedNumber(Parts.Minute, 2);
            break;
        case 'S':
            Text += count == 1 ? std::to_string(Parts.Second) : PaddedNumber(Parts.Second, 2);
            break;
        case 'Z':
            Text += count <= 2 ? std::to_string(Parts.Millisecond) : PaddedNumber(Parts.Millisecond, 3);
            break;
        case 'T':
            AppendNested(count == 1 ? FormatSettings.ShortTimeFormat : FormatSettings.LongTimeFormat, nesting);
            break;
        case 'A':
            i += AppendMarker(format, i);
            continue;
        case '"':
        case '\'':
            i += AppendQuoted(format, i);
            continue;
        case '/':
            Text += FormatSettings.DateSeparator;
            i += 1;
            continue;
        case ':':
            Text += FormatSettings.TimeSeparator;
            i += 1;
            continue;
        default:
            Text += format[i];
            i += 1;
            continue;
        }
        i += count;
    }
}

// ---- Typed dates ----

enum class TDateOrder
{
    MonthDayYear,
    DayMonthYear,
    YearMonthDay
};

TDateOrder GetDateOrder(std::string_view format)
{
    for (const char c : format) {
        switch (UpperAscii(c)) {
        case 'D':
            return TDateOrder::DayMonthYear;
        case 'Y':
            return TDateOrder::YearMonthDay;
        case 'M':
            return TDateOrder::MonthDayYear;
        default:
            break;
        }
    }
    return TDateOrder::MonthDayYear;
}

class TDateScanner
{
public:
    explicit TDateScanner(std::string_view text) : Text(text) {}

    // Up to four digits after blanks; the digit count goes to `digits`.
    bool ScanNumber(int32_t& number, size_t& digits)
    {
        ScanBlanks();
        const size_t start = Position;
        number = 0;
        while (Position < Text.size() && Text[Position] >= '0' && Text[Position] <= '9' && number < 1000) {
            number = number * 10 + (Text[Position] - '0');
            ++Position;
        }
        digits = Position - start;
        return digits > 0;
    }
    bool ScanSeparator(std::string_view separator)
    {
        ScanBlanks();
        if (separator.empty() || Text.substr(Position, separator.size()) != separator)
            return false;
        Position += separator.size();
        return true;
    }
    bool AtEndAfterBlanks()
    {
        ScanBlanks();
        return Position == Text.size();
    }

private:
    void ScanBlanks()
    {
        while (Position < Text.size() && Text[Position] == ' ')
            ++Position;
    }
    std::string_view Text;
    size_t Position = 0;
};

int32_t CurrentYear()
{
    return DecodeDateTime(Now()).Year;
}

int32_t WidenTwoDigitYear(int32_t year)
{
    const int32_t centuryBase = CurrentYear() - FormatSettings.TwoDigitYearCenturyWindow;
    year += centuryBase / 100 * 100;
    if (FormatSettings.TwoDigitYearCenturyWindow > 0 && year < centuryBase)
        year += 100;
    return year;
}

std::optional<TDateTime> ScanDate(const std::string& text)
{
    TDateScanner scanner(text);
    const TDateOrder order = GetDateOrder(FormatSettings.ShortDateFormat);
    int32_t first = 0, second = 0, third = 0;
    size_t firstDigits = 0, secondDigits = 0, yearDigits = 4;
    if (!scanner.ScanNumber(first, firstDigits) || !scanner.ScanSeparator(FormatSettings.DateSeparator) ||
        !scanner.ScanNumber(second, secondDigits))
        return std::nullopt;
    int32_t year = CurrentYear(), month = first, day = second;
    if (scanner.ScanSeparator(FormatSettings.DateSeparator)) {
        if (!scanner.ScanNumber(third, yearDigits))
            return std::nullopt;
        switch (order) {
        case TDateOrder::MonthDayYear:
            year = third;
            break;
        case TDateOrder::DayMonthYear:
            day = first, month = second, year = third;
            break;
        case TDateOrder::YearMonthDay:
            year = first, month = second, day = third, yearDigits = firstDigits;
            break;
        }
    } else if (order == TDateOrder::DayMonthYear) {
        day = first, month = second;
    }
    if (!scanner.AtEndAfterBlanks())
        return std::nullopt;
    if (yearDigits <= 2)
        year = WidenTwoDigitYear(year);
    return EncodeDate(year, month, day);
}

// ---- Numbers ----

// A real as decimal digits: 0.Digits times 10 to the Exponent, without trailing zeros;
// no digits for zero.
struct TDecimal
{
    bool Negative = false;
    std::string Digits;
    int32_t Exponent = 0;
};

// The extended real's 18 significant digits, rounded half up to `significant` digits and
// to at most `decimals` decimals.
TDecimal ToDecimal(long double value, int32_t significant, int32_t decimals)
{
    constexpr int32_t ExtendedDigits = 18;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*Le", ExtendedDigits - 1, std::fabs(value));
    TDecimal decimal;
    decimal.Negative = std::signbit(value);
    decimal.Digits = std::string(1, buffer[0]) + std::string(buffer + 2, ExtendedDigits - 1);
    decimal.Exponent = std::atoi(std::strchr(buffer, 'e') + 1) + 1;

    const int64_t keep = std::min<int64_t>(std::clamp(significant, 1, ExtendedDigits),
                                           int64_t{decimal.Exponent} + std::max(decimals, 0));
    if (keep < 0) {
        decimal.Digits.clear();
    } else if (keep < ExtendedDigits) {
        const bool roundUp = decimal.Digits[static_cast<size_t>(keep)] >= '5';
        decimal.Digits.resize(static_cast<size_t>(keep));
        if (roundUp) {
            size_t i = decimal.Digits.size();
            while (i > 0 && decimal.Digits[i - 1] == '9')
                decimal.Digits[--i] = '0';
            if (i == 0) {
                decimal.Digits.insert(decimal.Digits.begin(), '1');
                ++decimal.Exponent;
            } else {
                ++decimal.Digits[i - 1];
            }
        }
    }
    while (!decimal.Digits.empty() && decimal.Digits.back() == '0')
        decimal.Digits.pop_back();
    if (decimal.Digits.empty())
        decimal = TDecimal{};
    return decimal;
}

// Digit i of the number counted from the first integer place (negative: leading zeros).
char DigitAt(const TDecimal& decimal, int64_t index)
{
    return index >= 0 && index < static_cast<int64_t>(decimal.Digits.size())
               ? decimal.Digits[static_cast<size_t>(index)]
               : '0';
}

std::string IntegerDigits(const TDecimal& decimal)
{
    if (decimal.Exponent <= 0)
        return "0";
    std::string digits;
    for (int32_t i = 0; i < decimal.Exponent; ++i)
        digits += DigitAt(decimal, i);
    return digits;
}

std::string FractionDigits(const TDecimal& decimal, int64_t count)
{
    std::string digits;
    for (int64_t i = 0; i < count; ++i)
        digits += DigitAt(decimal, decimal.Exponent + i);
    return digits;
}

const char* NonFiniteText(long double value)
{
    if (std::isnan(value))
        return "NAN";
    return value < 0 ? "-INF" : "INF";
}

// ---- Locale formats ----

// One element of a platform format: a field letter with its repeat count, or literal text.
struct TLocaleToken
{
    char Letter = 0;
    size_t Count = 0;
    std::string Literal;
};

bool IsLocaleFieldLetter(char c)
{
    return std::string_view("dMyhHmszaAt").find(c) != std::string_view::npos;
}

void AppendLiteral(std::vector<TLocaleToken>& tokens, std::string_view text)
{
    if (tokens.empty() || tokens.back().Letter != 0)
        tokens.push_back({});
    tokens.back().Literal += text;
}

// Quotes are written '...', a doubled quote stands for one quote character.
size_t TokenizeQuoted(std::string_view format, size_t position, std::vector<TLocaleToken>& tokens)
{
    if (format.substr(position, 2) == "''") {
        AppendLiteral(tokens, "'");
        return position + 2;
    }
    std::string literal;
    size_t i = position + 1;
    while (i < format.size()) {
        if (format.substr(i, 2) == "''") {
            literal += '\'';
            i += 2;
        } else if (format[i] == '\'') {
            ++i;
            break;
        } else {
            literal += format[i++];
        }
    }
    AppendLiteral(tokens, literal);
    return i;
}

std::vector<TLocaleToken> TokenizeLocaleFormat(std::string_view format)
{
    std::vector<TLocaleToken> tokens;
    size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        if (c == '\'') {
            i = TokenizeQuoted(format, i, tokens);
        } else if ((c == 'a' || c == 'A') && i + 1 < format.size() && (format[i + 1] == 'p' || format[i + 1] == 'P')) {
            tokens.push_back({'a', 1, {}});
            i += 2;
        } else if (IsLocaleFieldLetter(c)) {
            size_t end = i;
            while (end < format.size() && format[end] == c)
                ++end;
            tokens.push_back({c, end - i, {}});
            i = end;
        } else {
            AppendLiteral(tokens, format.substr(i, 1));
            ++i;
        }
    }
    return tokens;
}

// The first literal standing between two of the given fields: the separator.
std::string FindSeparator(const std::vector<TLocaleToken>& tokens, std::string_view fieldLetters)
{
    auto isField = [&](const TLocaleToken& token) {
        return token.Letter != 0 && fieldLetters.find(token.Letter) != std::string_view::npos;
    };
    for (size_t i = 1; i + 1 < tokens.size(); ++i)
        if (tokens[i].Letter == 0 && isField(tokens[i - 1]) && isField(tokens[i + 1]))
            return tokens[i].Literal;
    return {};
}

std::string QuoteLiteral(const std::string& literal)
{
    const bool plain = std::none_of(literal.begin(), literal.end(), [](char c) {
        return (UpperAscii(c) >= 'A' && UpperAscii(c) <= 'Z') || c == '/' || c == ':' || c == '"' || c == '\'';
    });
    if (plain)
        return literal;
    const char quote = literal.find('"') == std::string::npos ? '"' : '\'';
    return quote + literal + quote;
}

std::string FieldText(const TLocaleToken& token)
{
    const size_t upToTwo = std::min<size_t>(token.Count, 2);
    switch (token.Letter) {
    case 'd':
        return std::string(std::min<size_t>(token.Count, 4), 'd');
    case 'M':
        return std::string(std::min<size_t>(token.Count, 4), 'm');
    case 'y':
        return token.Count <= 2 ? "yy" : "yyyy";
    case 'h':
    case 'H':
        return std::string(upToTwo, 'h');
    case 'm':
        return std::string(upToTwo, 'n');
    case 's':
        return std::string(upToTwo, 's');
    case 'z':
        return token.Count <= 2 ? "z" : "zzz";
    case 'a':
    case 'A':
        return "ampm";
    default:
        return {};
    }
}

// A platform format in our tokens: its separator literal becomes `separatorToken`, other
// literals are quoted where they hold token characters, and the time zone is dropped.
std::string ConvertLocaleFormat(std::string_view format, const std::string& separator, char separatorToken)
{
    std::string converted;
    for (const TLocaleToken& token : TokenizeLocaleFormat(format)) {
        if (token.Letter == 't') {
            while (!converted.empty() && converted.back() == ' ')
                converted.pop_back();
        } else if (token.Letter != 0) {
            converted += FieldText(token);
        } else if (!separator.empty() && token.Literal == separator) {
            converted += separatorToken;
        } else {
            converted += QuoteLiteral(token.Literal);
        }
    }
    return converted;
}

std::string Utf8(const QString& text)
{
    return text.toStdString();
}

} // namespace

TFormatSettings TFormatSettings::FromLocale(const QLocale& locale)
{
    TFormatSettings settings;
    settings.DecimalSeparator = Utf8(locale.decimalPoint());
    settings.ThousandSeparator = Utf8(locale.groupSeparator());
    const std::string shortDate = Utf8(locale.dateFormat(QLocale::ShortFormat));
    const std::string longTime = Utf8(locale.timeFormat(QLocale::LongFormat));
    const std::string dateSeparator = FindSeparator(TokenizeLocaleFormat(shortDate), "dMy");
    const std::string timeSeparator = FindSeparator(TokenizeLocaleFormat(longTime), "hHms");
    if (!dateSeparator.empty())
        settings.DateSeparator = dateSeparator;
    if (!timeSeparator.empty())
        settings.TimeSeparator = timeSeparator;
    settings.ShortDateFormat = ConvertLocaleFormat(shortDate, dateSeparator, '/');
    settings.LongDateFormat = ConvertLocaleFormat(Utf8(locale.dateFormat(QLocale::LongFormat)), dateSeparator, '/');
    settings.ShortTimeFormat = ConvertLocaleFormat(Utf8(locale.timeFormat(QLocale::ShortFormat)), timeSeparator, ':');
    settings.LongTimeFormat = ConvertLocaleFormat(longTime, timeSeparator, ':');
    settings.TimeAMString = Utf8(locale.amText());
    settings.TimePMString = Utf8(locale.pmText());
    for (int month = 1; month <= 12; ++month) {
        settings.ShortMonthNames[static_cast<size_t>(month - 1)] = Utf8(locale.monthName(month, QLocale::ShortFormat));
        settings.LongMonthNames[static_cast<size_t>(month - 1)] = Utf8(locale.monthName(month, QLocale::LongFormat));
    }
    // The platform counts Monday as 1 and Sunday as 7; the names here begin with Sunday.
    for (int day = 1; day <= 7; ++day) {
        const size_t index = static_cast<size_t>(day % 7);
        settings.ShortDayNames[index] = Utf8(locale.dayName(day, QLocale::ShortFormat));
        settings.LongDayNames[index] = Utf8(locale.dayName(day, QLocale::LongFormat));
    }
    return settings;
}

std::string FormatDateTime(const std::string& format, TDateTime value)
{
    TDateTimeWriter writer(value);
    writer.Append(format, 0);
    return writer.Text;
}

TDateTime StrToDate(const std::string& text)
{
    const std::optional<TDateTime> date = ScanDate(text);
    if (!date)
        throw EError("'" + text + "' is not a valid date");
    return *date;
}

std::string RealToNumberText(long double value, int32_t precision, int32_t decimals)
{
    if (!std::isfinite(value))
        return NonFiniteText(value);
    const TDecimal decimal = ToDecimal(value, precision, decimals);
    std::string text = decimal.Negative ? "-" : "";
    text += InsertThousandSeparators(IntegerDigits(decimal));
    if (decimals > 0)
        text += FormatSettings.DecimalSeparator + FractionDigits(decimal, decimals);
    return text;
}

std::string FloatToStr(double value)
{
    constexpr int32_t GeneralDigits = 15;
    if (!std::isfinite(value))
        return NonFiniteText(value);
    const TDecimal decimal = ToDecimal(value, GeneralDigits, 9999);
    const int64_t digitCount = static_cast<int64_t>(decimal.Digits.size());
    std::string text = decimal.Negative ? "-" : "";
    if (decimal.Exponent > GeneralDigits || decimal.Exponent < -3) {
        text += decimal.Digits.substr(0, 1);
        if (digitCount > 1)
            text += FormatSettings.DecimalSeparator + decimal.Digits.substr(1);
        return text + "E" + std::to_string(decimal.Exponent - 1);
    }
    text += IntegerDigits(decimal);
    if (digitCount > decimal.Exponent)
        text += FormatSettings.DecimalSeparator + FractionDigits(decimal, digitCount - decimal.Exponent);
    return text;
}

std::string InsertThousandSeparators(std::string_view digits)
{
    std::string text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += FormatSettings.ThousandSeparator;
        text += digits[i];
    }
    return text;
}
