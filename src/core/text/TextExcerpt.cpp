#include "core/text/TextExcerpt.h"

#include <array>
#include <optional>

namespace {

// Windows-1252 for 0x80-0x9F; its five unassigned bytes keep their C1 control values, as
// Windows decodes them.
constexpr std::array<char16_t, 32> Western80To9F = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t WesternCharacter(unsigned char byte)
{
    return byte >= 0x80 && byte <= 0x9F ? Western80To9F[byte - 0x80] : static_cast<char16_t>(byte);
}

struct TSequence
{
    size_t Length = 0;
    char32_t First = 0;
};

// The length a lead byte announces and the bits it carries; nothing for a byte that cannot
// lead (a continuation byte, C0 and C1, which only lead overlong forms, and F5-FF).
std::optional<TSequence> SequenceOfLead(unsigned char lead)
{
    if (lead < 0x80)
        return TSequence{1, lead};
    if (lead >= 0xC2 && lead <= 0xDF)
        return TSequence{2, lead & 0x1Fu};
    if (lead >= 0xE0 && lead <= 0xEF)
        return TSequence{3, lead & 0x0Fu};
    if (lead >= 0xF0 && lead <= 0xF4)
        return TSequence{4, lead & 0x07u};
    return std::nullopt;
}

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// Whether the second byte can follow the lead in a valid sequence: after E0 and F0 it
// rules out overlong forms, after ED the surrogates, after F4 code points above U+10FFFF.
// So every byte of a sequence is checked as it comes, and a sequence cut by the end is
// told from a broken one by the bytes it has.
bool CanFollowLead(unsigned char lead, unsigned char second)
{
    if (lead == 0xE0)
        return second >= 0xA0 && second <= 0xBF;
    if (lead == 0xED)
        return second >= 0x80 && second <= 0x9F;
    if (lead == 0xF0)
        return second >= 0x90 && second <= 0xBF;
    if (lead == 0xF4)
        return second >= 0x80 && second <= 0x8F;
    return IsContinuation(second);
}

enum class TOutcome
{
    Decoded,
    Invalid,
    CutAtEnd
};

TOutcome DecodeSequenceAt(std::string_view bytes, size_t at, char32_t& code, size_t& length)
{
    const auto byteAt = [&bytes](size_t index) { return static_cast<unsigned char>(bytes[index]); };
    const std::optional<TSequence> sequence = SequenceOfLead(byteAt(at));
    if (!sequence)
        return TOutcome::Invalid;
    code = sequence->First;
    for (size_t i = 1; i < sequence->Length; ++i) {
        if (at + i >= bytes.size())
            return TOutcome::CutAtEnd;
        const unsigned char next = byteAt(at + i);
        if (i == 1 ? !CanFollowLead(byteAt(at), next) : !IsContinuation(next))
            return TOutcome::Invalid;
        code = (code << 6) | (next & 0x3Fu);
    }
    length = sequence->Length;
    return TOutcome::Decoded;
}

} // namespace

QString DecodeTextExcerpt(std::string_view bytes)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (size_t at = 0; at < bytes.size();) {
        char32_t code = 0;
        size_t length = 0;
        const TOutcome outcome = DecodeSequenceAt(bytes, at, code, length);
        if (outcome == TOutcome::CutAtEnd)
            break;
        if (outcome == TOutcome::Invalid) {
            text.append(QChar(WesternCharacter(static_cast<unsigned char>(bytes[at]))));
            ++at;
            continue;
        }
        if (QChar::requiresSurrogates(code)) {
            text.append(QChar(QChar::highSurrogate(code)));
            text.append(QChar(QChar::lowSurrogate(code)));
        } else {
            text.append(QChar(static_cast<char16_t>(code)));
        }
        at += length;
    }
    return text;
}
