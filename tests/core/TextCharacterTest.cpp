#include "core/text/TextCharacter.h"
#include "core/text/TextExcerpt.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TCharacterCase
{
    const char* Text;
    size_t Position;
    char32_t CodePoint;
    size_t Length;
};

TEST(TextCharacter, WellFormedUtf8IsOneCharacterAndAnyOtherByteIsWindows1252)
{
    const TCharacterCase cases[] = {
        {"a", 0, U'a', 1},
        {"\xC3\xA9t\xC3\xA9", 0, U'\u00E9', 2},    // é in UTF-8
        {"\xE9t\xE9", 0, U'\u00E9', 1},            // é in Windows-1252
        {"\x80", 0, U'\u20AC', 1},                 // the euro sign
        {"\x9F", 0, U'\u0178', 1},                 // Y with diaeresis
        {"\xC3", 0, U'\u00C3', 1},                 // a lead byte cut by the end
        {"\xC0\x80", 0, U'\u00C0', 1},             // an overlong NUL
        {"\xED\xA0\x80", 0, U'\u00ED', 1},         // a surrogate
        {"\xE6\x97\xA5", 0, U'\u65E5', 3},         // 日
        {"\xF0\x9F\x98\x80", 0, U'\U0001F600', 4}, // an emoji
        {"a\xC3\xA9", 1, U'\u00E9', 2},
        {"a", 1, 0, 0},
    };
    for (const TCharacterCase& c : cases) {
        const TTextCharacter character = DecodeCharacterAt(c.Text, c.Position);
        EXPECT_EQ(c.CodePoint, character.CodePoint) << c.Text;
        EXPECT_EQ(c.Length, character.Length) << c.Text;
    }
}

TEST(TextCharacter, TheCharacterBeforeAPositionIsReadTheSameWay)
{
    const TCharacterCase cases[] = {
        {"x\xC3\xA9", 3, U'\u00E9', 2},
        {"x\xE9", 2, U'\u00E9', 1},
        {"\xA9", 1, U'\u00A9', 1}, // a continuation byte without its lead
        {"\xE6\x97\xA5", 3, U'\u65E5', 3},
        {"\xE6\x97\xA5", 2, U'\u2014', 1}, // 0x97 alone is the em dash
        {"abc", 0, 0, 0},
    };
    for (const TCharacterCase& c : cases) {
        const TTextCharacter character = DecodeCharacterBefore(c.Text, c.Position);
        EXPECT_EQ(c.CodePoint, character.CodePoint) << c.Text;
        EXPECT_EQ(c.Length, character.Length) << c.Text;
    }
}

TEST(TextCharacter, EveryWindows1252ByteReadsBackAsItsCharacterAndOtherCharactersHaveNone)
{
    for (int byte = 0; byte < 256; ++byte) {
        const std::string text(1, static_cast<char>(byte));
        const char32_t character = DecodeCharacterAt(text, 0).CodePoint;
        EXPECT_EQ(byte, FindWindows1252Byte(character)) << byte;
    }
    for (char32_t c : {U'\u0080', U'\u009F', U'\u0100', U'\u65E5', U'\U0001F600'})
        EXPECT_EQ(-1, FindWindows1252Byte(c)) << static_cast<uint32_t>(c);
}

TEST(TextCharacter, WordCharactersAreLettersDigitsAndTheUnderscore)
{
    for (char32_t c : {U'A', U'z', U'0', U'_', U'\u00C0', U'\u00E9', U'\u00FF', U'\u0160', U'\u65E5', U'\u0416'})
        EXPECT_TRUE(IsWordCharacter(c)) << static_cast<uint32_t>(c);
    for (char32_t c : {U' ', U'-', U'.', U'\0', U'\u00D7', U'\u00F7', U'\u20AC', U'\u00A9', U'\u2014', U'\U0001F600'})
        EXPECT_FALSE(IsWordCharacter(c)) << static_cast<uint32_t>(c);
}

TEST(TextCharacter, AnExcerptReadsStrayBytesAsWindows1252AndDropsACutSequence)
{
    EXPECT_EQ(QString::fromUtf8("caf\xC3\xA9 caf\xC3\xA9 \xE2\x82\xAC"), DecodeTextExcerpt("caf\xC3\xA9 caf\xE9 \x80"));
    EXPECT_EQ(QString::fromUtf8("ab"), DecodeTextExcerpt("ab\xE6\x97"));
    EXPECT_EQ(QString::fromUtf8("ab\xC3\x83"
                                "a"),
              DecodeTextExcerpt("ab\xC3"
                                "a"));
}

} // namespace
