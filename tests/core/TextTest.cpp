#include "core/text/Text.h"

#include "core/errors/Error.h"
#include "core/errors/Traced.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

namespace {

TStringList ListOf(const std::vector<std::string>& texts, bool sorted = false)
{
    TStringList list;
    for (const std::string& text : texts)
        list.Add(text);
    list.SetSorted(sorted);
    return list;
}

std::vector<std::string> Items(const TStringList& list)
{
    std::vector<std::string> items;
    for (int32_t i = 0; i < list.Count(); ++i)
        items.push_back(list[i]);
    return items;
}

TEST(StringList, SortedListsKeepTheirOrderAndIndexesAreChecked)
{
    TStringList list = ListOf({"pear", "Apple", "fig"}, true);
    EXPECT_EQ((std::vector<std::string>{"Apple", "fig", "pear"}), Items(list));
    EXPECT_EQ(1, list.Add("Banana", 7));
    EXPECT_EQ(7, list.Objects(1));
    EXPECT_EQ(2, list.IndexOf("FIG"));
    EXPECT_EQ(-1, list.IndexOf("kiwi"));
    EXPECT_THROW(list[4], EError);
    EXPECT_THROW(list.Delete(-1), EError);
}

TEST(Buffers, IniTextAndDoubleEndTextFillWhatFits)
{
    char buffer[6];
    std::memset(buffer, 'x', sizeof buffer);
    IniText(buffer, sizeof buffer, "abcd");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_STREQ("abcd", buffer);
    DoubleEndText(buffer, sizeof buffer);
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ(0, std::memcmp("abcd\0\0", buffer, 6));
    EXPECT_TRUE(ContainsZeroByte(buffer, 5));
    EXPECT_FALSE(ContainsZeroByte(buffer, 4));
}

TEST(Buffers, TextsThatDoNotFitPanicAndLeaveTheBufferAlone)
{
    char buffer[5];
    std::memset(buffer, 'x', sizeof buffer);
    TModalScript script;
    script.Expect("Error", IDOK).Expect("Error", IDOK).Expect("Error", IDOK);

    IniText(buffer, sizeof buffer, "abcde");
    EXPECT_EQ(fsPanic, FunStatContext.Status);
    EXPECT_EQ("Size too big.", FunStatContext.Description);
    EXPECT_EQ(0, std::memcmp("xxxxx", buffer, 5));

    std::memcpy(buffer, "abcd", 5);
    DoubleEndText(buffer, sizeof buffer);
    EXPECT_EQ(fsPanic, FunStatContext.Status);
    EXPECT_EQ(0, std::memcmp("abcd", buffer, 5));

    // No closing NUL within the capacity: nothing past it is read or written.
    std::memset(buffer, 'y', sizeof buffer);
    DoubleEndText(buffer, sizeof buffer);
    EXPECT_EQ(fsPanic, FunStatContext.Status);
}

TEST(Lines, LineBreaksAndLetters)
{
    EXPECT_EQ("one two three", LineBreaksToSpaces("one\r\ntwo\r\nthree"));
    EXPECT_EQ("ab", LineBreaksToSpaces("a\rb\r"));
    struct Row
    {
        const char* Text;
        bool Inner;
    };
    const Row rows[] = {{"ab\r\n", false}, {"\r\nab", false}, {"abc\r\n", false}, {"abcdef\r\n", false},
                        {"ab\ncd", true},  {"a\nbcd", false}, {"abc\rdef", true}, {"abcd\nef", true}};
    for (const Row& row : rows)
        EXPECT_EQ(row.Inner, HasInnerLineBreak(row.Text)) << row.Text;
    EXPECT_TRUE(ContainsLetter("12a"));
    EXPECT_FALSE(ContainsLetter("12-\xC3\xA9"));
}

TEST(MultipleFilter, MarkersFlagsAndDuplicates)
{
    TStringList list = ListOf({"old"});
    EXPECT_TRUE(GetListFromMultipleFilter("&abc;!de;~!x;abc;;AB", list, ';', '&', '!', '~'));
    EXPECT_EQ((std::vector<std::string>{"ABC", "DE", "!X", "AB"}), Items(list));
    const bool required[] = {true, false, false, false};
    const bool excluded[] = {false, true, false, false};
    for (int32_t i = 0; i < list.Count(); ++i) {
        EXPECT_EQ(required[i], IsFilterRequired(list, i)) << i;
        EXPECT_EQ(excluded[i], IsFilterExcluded(list, i)) << i;
    }
    EXPECT_EQ(fsPerfect, FunStatContext.Status);

    EXPECT_FALSE(GetListFromMultipleFilter("&!xyz; abc;!;\xC3\xA9t\xC3\xA9s", list, ';', '&', '!', '~'));
    EXPECT_EQ((std::vector<std::string>{"!XYZ", " ABC", "\xC3\xA9T\xC3\xA9S"}), Items(list));
    EXPECT_TRUE(IsFilterRequired(list, 0));
    EXPECT_TRUE(GetListFromMultipleFilter("long \xC3\xA9\xC3\xA9", list, ' ', '&', '!', '~'));
}

TEST(MultipleFilter, SettingOneFlagKeepsTheOther)
{
    TStringList list;
    GetListFromMultipleFilter("&abc", list, ';', '&', '!', '~');
    SetFilterExcluded(list, 0, true);
    EXPECT_TRUE(IsFilterRequired(list, 0));
    EXPECT_TRUE(IsFilterExcluded(list, 0));
    SetFilterRequired(list, 0, false);
    EXPECT_FALSE(IsFilterRequired(list, 0));
    EXPECT_TRUE(IsFilterExcluded(list, 0));
}

TEST(FileNames, PrefixesBeforeTheFirstDot)
{
    struct Row
    {
        const char* Name;
        const char* Prefix;
        const char* Removed;
    };
    const Row rows[] = {
        {"img_001.jpg", "img_", "001.jpg"}, {"img_001", "", "001"},         {"a.b_c.jpg", "", "a.b_c.jpg"},
        {"plain.jpg", "", "plain.jpg"},     {"a_b_c.txt", "a_", "b_c.txt"}, {"_x.txt", "_", "x.txt"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.Prefix, GetFileNamePrefix(row.Name)) << row.Name;
        EXPECT_EQ(row.Removed, RemoveFileNamePrefix(row.Name)) << row.Name;
    }
    EXPECT_EQ("pic_001.jpg", ReplaceFileNamePrefix("img_001.jpg", "pic_"));
    EXPECT_EQ("pic_plain.jpg", ReplaceFileNamePrefix("plain.jpg", "pic_"));
}

TEST(FileNames, SplitTrailingNumber)
{
    struct Row
    {
        std::string Text;
        std::string Stem;
        std::string Digits;
    };
    const Row rows[] = {
        {"photo007", "photo", "007"}, {"abc", "abc", ""},
        {"2005", "", "2005"},         {"", "", ""},
        {"a1b22", "a1b", "22"},       {"x" + std::string(300, '9'), "x", std::string(300, '9')},
    };
    for (const Row& row : rows) {
        std::string digits = "stale";
        int32_t count = -1;
        EXPECT_EQ(row.Stem, SplitTrailingNumber(row.Text, digits, count)) << row.Text;
        EXPECT_EQ(row.Digits, digits) << row.Text;
        EXPECT_EQ(static_cast<int32_t>(row.Digits.size()), count) << row.Text;
    }
}

TEST(FileNames, NextNumberedNames)
{
    struct Row
    {
        const char* Name;
        const char* Next;
    };
    const Row rows[] = {
        {"photo.jpg", "photo1.jpg"},
        {"photo007.jpg", "photo008.jpg"},
        {"photo99.jpg", "photo100.jpg"},
        {"2005.jpg", "2006.jpg"},
        {"a1999999999.txt", "a2000000000.txt"},
        {"C:\\d.x\\img9", "C:\\d.x\\img10"},
        {"x.tar.gz", "x.tar1.gz"},
        {".txt", "1.txt"},
        {"a0000.", "a0001."},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.Next, GetNextSuffixNumFileName(row.Name)) << row.Name;
        EXPECT_EQ(fsPerfect, FunStatContext.Status) << row.Name;
    }
}

TEST(FileNames, NumbersThatCannotGrowFail)
{
    EXPECT_EQ("", GetNextSuffixNumFileName("a2000000000.txt"));
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Number too big.", FunStatContext.Description);
    EXPECT_EQ("2000000000", FunStatContext.Parameter1);
    EXPECT_EQ(0u, FunStatContext.SystemErrorCode);

    EXPECT_EQ("", GetNextSuffixNumFileName("a12345678901.txt"));
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Unhandled exception: '12345678901' is not a valid integer value", FunStatContext.Description);
}

TEST(Lookups, FindTextInStringListFromAStartOrByTheListsOwnSearch)
{
    const TStringList unsorted = ListOf({"b", "A", "c", "a"});
    EXPECT_EQ(1, FindTextInStringList("a", unsorted, 0));
    EXPECT_EQ(1, FindTextInStringList("a", unsorted, -5));
    EXPECT_EQ(3, FindTextInStringList("a", unsorted, 2));
    EXPECT_EQ(-1, FindTextInStringList("a", unsorted, 4));
    EXPECT_EQ(-1, FindTextInStringList("c", unsorted, 3));

    const TStringList sorted = ListOf({"delta", "Alpha", "charlie", "Bravo"}, true);
    EXPECT_EQ(2, FindTextInStringList("CHARLIE", sorted, 0));
    EXPECT_EQ(1, FindTextInStringList("bravo", sorted, 1));
    for (const TStringList* list : {&unsorted, &sorted})
        for (int32_t start : {-1, 0, 1, 2, 9})
            EXPECT_EQ(-1, FindTextInStringList("missing", *list, start)) << start;

    EXPECT_EQ(1, IndexOfTextNoCase("A", unsorted));
    EXPECT_EQ(-1, IndexOfTextNoCase("z", unsorted));
}

TEST(Hexadecimal, EntitiesAndDigits)
{
    EXPECT_EQ("&#xE9;", TextToHexEntities("\xE9"));
    EXPECT_EQ("&#x41;&#x0A;", TextToHexEntities("A\n"));
    EXPECT_EQ("", TextToHexEntities(""));
    // One reference per character, never per byte of its UTF-8 form.
    for (const auto& [text, entities] :
         std::vector<std::pair<std::string, std::string>>{{"AB", "&#x41;&#x42;"},
                                                          {"\u00E9", "&#xE9;"},
                                                          {"\u20AC", "&#x20AC;"},
                                                          {"\u4E2D", "&#x4E2D;"},
                                                          {"\U0001F600", "&#x1F600;"},
                                                          {"\x80", "&#x20AC;"},
                                                          {"&#x41;", "&#x26;&#x23;&#x78;&#x34;&#x31;&#x3B;"}})
        EXPECT_EQ(entities, TextToHexEntities(text)) << text;
    const unsigned char bytes[] = {0x00, 0xAB, 0x5F};
    EXPECT_EQ("00AB", BytesToHexText(bytes, 2));
    EXPECT_EQ("00AB5F", BytesToHexText(bytes, 3));
    EXPECT_EQ("", BytesToHexText(bytes, 0));
}

} // namespace
