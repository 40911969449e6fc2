#include "core/text/Text.h"

#include "core/errors/Error.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Items(const TStringList& list)
{
    std::vector<std::string> items;
    for (int32_t i = 0; i < list.Count(); ++i)
        items.push_back(list[i]);
    return items;
}

TEST(BlockSearch, MisspellingsAreLimitedToHalfTheBlock)
{
    int32_t differences = -1;
    EXPECT_TRUE(MatchBlockWithMisspellings("abcde", 5, "xyzde", 3, &differences));
    EXPECT_EQ(3, differences);
    EXPECT_FALSE(MatchBlockWithMisspellings("abcde", 5, "xyzwe", 3, &differences));
    EXPECT_EQ(4, differences);
    EXPECT_TRUE(MatchBlockWithMisspellings("abcd", 4, "xycd", 3, &differences));
    EXPECT_FALSE(MatchBlockWithMisspellings("abcd", 4, "xyzd", 3, nullptr));
    EXPECT_FALSE(MatchBlockWithMisspellings("abcd", 4, "Abcd", 0, nullptr));
}

TEST(BlockSearch, CandidatesStayInsideTheRange)
{
    const std::string buffer = "MY FOLDRR IS HERE";
    const char* const start = buffer.data();
    const char* const last = start + buffer.size() - 1;
    int32_t differences = -1;

    EXPECT_EQ(start + 3, FindBlockInBuffer("FOLDER", 6, start, last, 1, &differences));
    EXPECT_EQ(1, differences);
    EXPECT_EQ(nullptr, FindBlockInBuffer("FOLDER", 6, start, last, 0, &differences));
    EXPECT_EQ(1, differences) << "an exact search leaves the count alone";
    EXPECT_EQ(start + 13, FindBlockInBuffer("HERE", 4, start, last, -1, nullptr));
    EXPECT_EQ(nullptr, FindBlockInBuffer("HERE", 4, start, last - 1, -1, nullptr));
    EXPECT_EQ(start + 13, FindBlockInBuffer("HERE", 4, start + 13, last, 0, nullptr));
    EXPECT_EQ(nullptr, FindBlockInBuffer("HERE", 4, start + 14, last, 0, nullptr));
    EXPECT_EQ(start + 1, FindBlockInBuffer("Y", 1, start, last, 0, nullptr));
    EXPECT_EQ(nullptr, FindBlockInBuffer("Y", 0, start, last, 0, nullptr));
}

TEST(OccurrencePositions, CountFromEitherEnd)
{
    struct Row
    {
        int32_t N;
        int32_t Position;
    };
    const Row rows[] = {{0, 0}, {-1, 3}, {1, 0}, {2, 1}, {3, 2}, {9, 2}, {-2, 2}, {-3, 1}, {-4, 0}, {-9, 0}};
    for (const Row& row : rows)
        EXPECT_EQ(row.Position, GetOccurrencePos("aaaa", row.N, "aa")) << row.N;
    for (int32_t n : {1, 5, -2, -7})
        EXPECT_EQ(-1, GetOccurrencePos("abc", n, "x")) << n;
    EXPECT_EQ(-1, GetOccurrencePos("abc", 1, ""));
    EXPECT_EQ(-1, GetOccurrencePos("", -1, "a"));
    EXPECT_EQ(3, GetOccurrencePos("aAaA", 2, "A"));
    EXPECT_EQ(-1, GetOccurrencePos("aaa", 1, "A"));
}

TEST(WordLists, ModesKeepTheirKindsOfWords)
{
    const std::string text = "abc 1234 12345 x_9 AB \xC3\x84\xC3\x96\xC3\x9C abc";
    const std::vector<std::string> expected[] = {{"ABC", "12345", "X_9"}, {"ABC", "X_9"}, {"12345"}};
    for (int32_t mode = 0; mode < 3; ++mode) {
        TStringList list;
        list.Add("stale");
        GetWordListFromText(text, list, mode, 0, -1, false, "|");
        EXPECT_EQ(expected[mode], Items(list)) << mode;
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
    }
}

TEST(WordLists, LettersBeyondAsciiBelongToWords)
{
    TStringList list;
    GetWordListFromText("caf\xC3\xA9_au\xC3\x97lait \xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82\x31\x32\x33 "
                        "ab\xC3\xA9 x\xC3\xB7yz",
                        list, 0, 0, -1, false, "|");
    EXPECT_EQ((std::vector<std::string>{"CAF\xC3\xA9_AU", "LAIT",
                                        "\xCE\xBB\xCF\x8C\xCE\xB3\xCE\xBF\xCF\x82\x31\x32\x33", "AB\xC3\xA9"}),
              Items(list));
}

TEST(WordLists, DelimitersBoundTheScannedRange)
{
    TStringList list;
    GetWordListFromText("intro | first second | third | outro", list, 0, 1, -2, true, "|");
    EXPECT_EQ((std::vector<std::string>{"FIRST", "SECOND", "THIRD"}), Items(list));
    GetWordListFromText("one two three", list, 0, 1, -2, true, "|");
    EXPECT_EQ((std::vector<std::string>{"ONE", "TWO", "THREE"}), Items(list));
    GetWordListFromText("abc|def|ghi", list, 0, 2, 0, true, "|");
    EXPECT_EQ((std::vector<std::string>{"GHI"}), Items(list));

    GetWordListFromText("abc|def|ghi", list, 0, -2, 1, true, "|");
    EXPECT_EQ(0, list.Count());
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("The first extracted word is beyond the last extracted word.", FunStatContext.Description);
    EXPECT_EQ("8", FunStatContext.Parameter1);
    EXPECT_EQ("4", FunStatContext.Parameter2);
}

TEST(WordLists, WordNumbersSelectARun)
{
    struct Row
    {
        int32_t First;
        int32_t Last;
        std::vector<std::string> Words;
    };
    const Row rows[] = {
        {2, -2, {"TWO", "THREE"}}, {0, -1, {"ONE", "TWO", "THREE"}}, {-3, -3, {"TWO"}}, {2, 9, {"TWO", "THREE"}},
        {-9, 1, {"ONE"}},
    };
    for (const Row& row : rows) {
        TStringList list;
        GetWordListFromText("one two three", list, 0, row.First, row.Last, false, "|");
        EXPECT_EQ(row.Words, Items(list)) << row.First << " " << row.Last;
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
    }
}

TEST(WordLists, SelectionsBeyondTheWordsFailAndLeaveTheListEmpty)
{
    TStringList list;
    GetWordListFromText("one two three", list, 0, 3, 2, false, "|");
    EXPECT_EQ(0, list.Count());
    EXPECT_EQ("The first extracted word is beyond the last extracted word.", FunStatContext.Description);
    EXPECT_EQ("3", FunStatContext.Parameter1);
    EXPECT_EQ("2", FunStatContext.Parameter2);

    GetWordListFromText("one two three", list, 0, 5, 7, false, "|");
    EXPECT_EQ(0, list.Count());
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("The first extracted word is beyond the number of words.", FunStatContext.Description);

    // A text without words gives an empty list, not a failure.
    GetWordListFromText("-- .. !!", list, 0, 1, -2, false, "|");
    EXPECT_EQ(0, list.Count());
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
}

} // namespace
