#include "core/text/Text.h"

#include "core/errors/Traced.h"
#include "core/files/PathNames.h"
#include "core/forms/Utilities.h"
#include "core/text/AsciiCase.h"
#include "core/text/MyMath.h"
#include "core/text/TextCharacter.h"

#include <cstdio>
#include <cstring>
#include <limits>

namespace {

constexpr int32_t RequiredFilterBit = 0;
constexpr int32_t ExcludedFilterBit = 1;

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

size_t CharacterCount(std::string_view text)
{
    size_t count = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
            ++count;
    return count;
}

bool GetFilterFlag(const TStringList& list, int32_t index, int32_t bit)
{
    return GetBitField(static_cast<int32_t>(list.Objects(index)), bit, 1) != 0;
}

void SetFilterFlag(TStringList& list, int32_t index, int32_t bit, bool value)
{
    list.SetObject(index, SetBitField(static_cast<int32_t>(list.Objects(index)), value ? 1 : 0, bit, 1));
}

struct TFilterMarkers
{
    char Required;
    char Excluded;
    char Escape;
};

// Adds one piece of a multiple filter; true when it is one or two characters long.
bool AddFilterItem(TStringList& list, std::string item, const TFilterMarkers& markers)
{
    if (item.empty())
        return false;
    int32_t flags = 0;
    if (item.front() == markers.Required)
        flags = SetBitField(flags, 1, RequiredFilterBit, 1);
    else if (item.front() == markers.Excluded)
        flags = SetBitField(flags, 1, ExcludedFilterBit, 1);
    if (item.front() == markers.Required || item.front() == markers.Excluded || item.front() == markers.Escape)
        item.erase(0, 1);
    if (item.empty())
        return false;
    item = UpperAscii(item);
    if (list.IndexOf(item) < 0)
        list.Add(item, flags);
    return CharacterCount(item) <= 2;
}

int32_t FindTextFrom(const std::string& text, const TStringList& list, int32_t start)
{
    for (int32_t i = start; i < list.Count(); ++i)
        if (SameTextAscii(list[i], text))
            return i;
    return -1;
}

void AppendHexByte(std::string& text, unsigned char byte)
{
    static const char digits[] = "0123456789ABCDEF";
    text += digits[byte >> 4];
    text += digits[byte & 0x0F];
}

// At least two digits, as many as the code point needs.
void AppendHexCodePoint(std::string& text, char32_t codePoint)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(codePoint));
    text += digits;
}

} // namespace

bool ContainsZeroByte(const char* buffer, size_t count)
{
    return std::memchr(buffer, 0, count) != nullptr;
}

void IniText(char* buffer, size_t capacity, const std::string& text)
{
    TTraced trace;
    try {
        if (text.size() >= capacity)
            return trace.Panic("Size too big.");
        std::memcpy(buffer, text.data(), text.size());
        buffer[text.size()] = '\0';
    }
    TRACED_CATCH(trace)
}

void DoubleEndText(char* buffer, size_t capacity)
{
    TTraced trace;
    try {
        const size_t length = strnlen(buffer, capacity);
        if (capacity < length + 2)
            return trace.Panic("Size too big.");
        buffer[length + 1] = '\0';
    }
    TRACED_CATCH(trace)
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    ForEachLine(text, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

void ForEachLine(std::string_view text, const std::function<void(std::string_view)>& take)
{
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find_first_of("\r\n", start), text.size());
        take(text.substr(start, end - start));
        start = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
    }
}

std::string LineBreaksToSpaces(const std::string& text)
{
    std::string result;
    for (const char c : text) {
        if (c == '\n')
            result += ' ';
        else if (c != '\r')
            result += c;
    }
    return result;
}

bool HasInnerLineBreak(const std::string& text)
{
    for (size_t i = 2; i + 2 < text.size(); ++i)
        if (text[i] == '\r' || text[i] == '\n')
            return true;
    return false;
}

bool ContainsLetter(const std::string& text)
{
    for (const char c : text)
        if (IsAsciiLetter(c))
            return true;
    return false;
}

bool GetListFromMultipleFilter(const std::string& text, TStringList& list, char separator, char requiredMarker,
                               char excludedMarker, char escapeMarker)
{
    TTraced trace;
    const TFilterMarkers markers{requiredMarker, excludedMarker, escapeMarker};
    bool hasShortItem = false;
    try {
        list.Clear();
        size_t start = 0;
        for (;;) {
            const size_t end = text.find(separator, start);
            if (AddFilterItem(list, text.substr(start, end - start), markers))
                hasShortItem = true;
            if (end == std::string::npos)
                break;
            start = end + 1;
        }
    }
    TRACED_CATCH(trace)
    if (!trace.Succeeded())
        list.Clear();
    return hasShortItem;
}

bool IsFilterRequired(const TStringList& list, int32_t index)
{
    return GetFilterFlag(list, index, RequiredFilterBit);
}

bool IsFilterExcluded(const TStringList& list, int32_t index)
{
    return GetFilterFlag(list, index, ExcludedFilterBit);
}

void SetFilterRequired(TStringList& list, int32_t index, bool required)
{
    SetFilterFlag(list, index, RequiredFilterBit, required);
}

void SetFilterExcluded(TStringList& list, int32_t index, bool excluded)
{
    SetFilterFlag(list, index, ExcludedFilterBit, excluded);
}

std::string GetFileNamePrefix(const std::string& name)
{
    const size_t underscore = name.find('_');
    const size_t dot = name.find('.');
    if (underscore == std::string::npos || dot == std::string::npos || dot < underscore)
        return {};
    return name.substr(0, underscore + 1);
}

std::string RemoveFileNamePrefix(const std::string& name)
{
    const size_t underscore = name.find('_');
    const size_t dot = name.find('.');
    if (underscore == std::string::npos || (dot != std::string::npos && dot < underscore))
        return name;
    return name.substr(underscore + 1);
}

std::string ReplaceFileNamePrefix(const std::string& name, const std::string& prefix)
{
    return prefix + RemoveFileNamePrefix(name);
}

std::string SplitTrailingNumber(const std::string& text, std::string& digits, int32_t& digitCount)
{
    const size_t lastOther = text.find_last_not_of("0123456789");
    const size_t runStart = lastOther == std::string::npos ? 0 : lastOther + 1;
    digits = text.substr(runStart);
    digitCount = static_cast<int32_t>(digits.size());
    return text.substr(0, runStart);
}

std::string GetNextSuffixNumFileName(const std::string& name)
{
    TTraced trace;
    std::string nextName;
    try {
        const std::string extension = GetExtension(name);
        const std::string stem = name.substr(0, name.size() - extension.size());
        std::string digits;
        int32_t digitCount = 0;
        const std::string base = SplitTrailingNumber(stem, digits, digitCount);
        const int32_t number = GetIntFromTextOrZero(digits);
        if (trace.TakeOver())
            return nextName;
        if (number >= 2000000000) {
            trace.Raise("Number too big.", digits);
            return nextName;
        }
        nextName = base + IntToDigitsText(number + 1, digitCount) + extension;
    }
    TRACED_CATCH(trace)
    return nextName;
}

int32_t FindTextInStringList(const std::string& text, const TStringList& list, int32_t start)
{
    return start > 0 ? FindTextFrom(text, list, start) : list.IndexOf(text);
}

int32_t IndexOfTextNoCase(const std::string& text, const TStringList& strings)
{
    return FindTextFrom(text, strings, 0);
}

std::string TextToHexEntities(const std::string& text)
{
    std::string result;
    size_t position = 0;
    while (position < text.size()) {
        const TTextCharacter character = DecodeCharacterAt(text, position);
        result += "&#x";
        AppendHexCodePoint(result, character.CodePoint);
        result += ';';
        position += character.Length;
    }
    return result;
}

std::string BytesToHexText(const void* bytes, size_t count)
{
    std::string result;
    const auto* data = static_cast<const unsigned char*>(bytes);
    for (size_t i = 0; i < count; ++i)
        AppendHexByte(result, data[i]);
    return result;
}
