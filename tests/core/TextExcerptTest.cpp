#include "core/text/TextExcerpt.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(TextExcerpt, DecodesUtf8AndReadsOtherBytesAsWestern)
{
    struct Row
    {
        const char* Case;
        std::string Bytes;
        QString Text;
    };
    const Row rows[] = {
        {"plain", "line 1\r\n\tline 2", u"line 1\r\n\tline 2"_qs},
        {"two, three and four bytes", "\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80", u"\u00E9 \u20AC \U0001F600"_qs},
        {"a Western text", "caf\xE9 \x80 \x96", u"caf\u00E9 \u20AC \u2013"_qs},
        {"unassigned Western bytes", "\x81\x8D\x8F\x90\x9D", u"\u0081\u008D\u008F\u0090\u009D"_qs},
        {"a stray continuation byte", "a\xA9z", u"a\u00A9z"_qs},
        {"a lead byte before ASCII", "\xC3z", u"\u00C3z"_qs},
        {"an overlong form", "\xC0\xAF", u"\u00C0\u00AF"_qs},
        {"an overlong three-byte form", "\xE0\x80\xAF", u"\u00E0\u20AC\u00AF"_qs},
        {"a surrogate", "\xED\xA0\x80", u"\u00ED\u00A0\u20AC"_qs},
        {"above U+10FFFF", "\xF4\x90\x80\x80", u"\u00F4\u0090\u20AC\u20AC"_qs},
        {"a three-byte sequence broken in its third byte", "\xE2\x82z", u"\u00E2\u201Az"_qs},
        {"a sequence cut by the end", "ab\xE2\x82", u"ab"_qs},
        {"a four-byte sequence cut after its lead", "ab\xF0", u"ab"_qs},
        {"a broken sequence at the end is no cut", "ab\xE0\x80", u"ab\u00E0\u20AC"_qs},
        {"a lone byte that cannot lead, at the end", "ab\xFF", u"ab\u00FF"_qs},
        {"nothing", "", u""_qs},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.Text.toStdString(), DecodeTextExcerpt(row.Bytes).toStdString()) << row.Case;
}

// A whole file has no cut: its last bytes are read even when they begin a sequence.
TEST(TextExcerpt, AWholeTextKeepsASequenceCutByItsEnd)
{
    EXPECT_EQ(u"caf\u00E9 \u20AC ab\u00E2\u201A"_qs.toStdString(),
              DecodeText("caf\xC3\xA9 \x80 ab\xE2\x82").toStdString());
    EXPECT_EQ(u"\U0001F600\u00F0"_qs.toStdString(), DecodeText("\xF0\x9F\x98\x80\xF0").toStdString());
}

} // namespace
