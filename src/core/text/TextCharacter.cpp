#include "core/text/TextCharacter.h"

#include "core/text/AsciiCase.h"

#include <QChar>

#include <algorithm>

namespace {

// Windows-1252 0x80-0x9F; the unassigned places keep their byte value.
constexpr char32_t Windows1252High[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                          0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                          0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                          0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};

char32_t Windows1252ToUnicode(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? Windows1252High[byte - 0x80] : char32_t{byte};
}

// The length a lead byte announces and the code-point bits it carries; 0 for a byte that
// cannot begin a sequence.
size_t SequenceLength(unsigned char lead, char32_t& bits)
{
    if (lead < 0x80)
        return bits = lead, 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return bits = lead & 0x1F, 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return bits = lead & 0x0F, 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return bits = lead & 0x07, 4;
    return 0;
}

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Whether the second byte can follow the lead in a well-formed sequence: after E0 and F0
// it rules out overlong forms, after ED the surrogates, after F4 code points above
// U+10FFFF. So a sequence cut by the end is told from a broken one by the bytes it has.
bool CanFollowLead(unsigned char lead, unsigned char second)
{
    switch (lead) {
    case 0xE0:
        return second >= 0xA0 && second <= 0xBF;
    case 0xED:
        return second >= 0x80 && second <= 0x9F;
    case 0xF0:
        return second >= 0x90 && second <= 0xBF;
    case 0xF4:
        return second >= 0x80 && second <= 0x8F;
    default:
        return IsContinuation(second);
    }
}

// The code point of the well-formed sequence of `length` bytes at the position, or none.
bool DecodeSequence(std::string_view text, size_t position, size_t length, char32_t bits, char32_t& codePoint)
{
    if (length == 0 || position + length > text.size())
        return false;
    for (size_t i = 1; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[position + i]);
        if (!IsContinuation(byte))
            return false;
        bits = bits << 6 | (byte & 0x3F);
    }
    // Overlong forms and surrogates are not characters of UTF-8.
    static constexpr char32_t Smallest[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (bits < Smallest[length] || bits > 0x10FFFF || (bits >= 0xD800 && bits <= 0xDFFF))
        return false;
    codePoint = bits;
    return true;
}

} // namespace

TTextCharacter DecodeCharacterAt(std::string_view text, size_t position)
{
    if (position >= text.size())
        return {};
    const auto lead = static_cast<unsigned char>(text[position]);
    char32_t bits = 0;
    const size_t length = SequenceLength(lead, bits);
    char32_t codePoint = 0;
    if (DecodeSequence(text, position, length, bits, codePoint))
        return {codePoint, length};
    return {Windows1252ToUnicode(lead), 1};
}

TTextCharacter DecodeCharacterBefore(std::string_view text, size_t position)
{
    position = std::min(position, text.size());
    if (position == 0)
        return {};
    for (size_t length = 2; length <= 4 && length <= position; ++length) {
        if (!IsContinuation(static_cast<unsigned char>(text[position - length + 1])))
            break;
        const TTextCharacter candidate = DecodeCharacterAt(text, position - length);
        if (candidate.Length == length)
            return candidate;
    }
    return {Windows1252ToUnicode(static_cast<unsigned char>(text[position - 1])), 1};
}

size_t CutSequenceLength(std::string_view text, size_t position)
{
    char32_t bits = 0;
    const auto lead = static_cast<unsigned char>(text[position]);
    const size_t length = SequenceLength(lead, bits);
    if (length < 2 || position + length <= text.size())
        return 0;
    if (position + 1 < text.size() && !CanFollowLead(lead, static_cast<unsigned char>(text[position + 1])))
        return 0;
    for (size_t i = position + 1; i < text.size(); ++i)
        if (!IsContinuation(static_cast<unsigned char>(text[i])))
            return 0;
    return length;
}

int FindWindows1252Byte(char32_t codePoint)
{
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<int>(codePoint);
    const auto found = std::find(std::begin(Windows1252High), std::end(Windows1252High), codePoint);
    return found == std::end(Windows1252High) ? -1 : 0x80 + static_cast<int>(found - std::begin(Windows1252High));
}

bool IsWordCharacter(char32_t codePoint)
{
    if (codePoint < 0x80) {
        const char c = static_cast<char>(codePoint);
        return (UpperAscii(c) >= 'A' && UpperAscii(c) <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    }
    return codePoint >= 0xC0 && QChar::isLetter(codePoint);
}
