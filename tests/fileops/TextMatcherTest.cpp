#include "fileops/TextMatcher.h"

#include "core/text/Text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records what the matcher asks of the search; stops at the chosen turn.
class TRecordingPort : public TTextMatchPort
{
public:
    bool StatusDue() override { return true; }
    void ShowLookingIn(const std::string& path) override { LookedIn.push_back(path); }
    void ShowStatus(int32_t filterIndex, double progress) override
    {
        StatusFilters.push_back(filterIndex);
        Progress.push_back(progress);
    }
    void ProcessMessages() override { ++Turns; }
    bool Stopped() const override { return StopAtTurn > 0 && Turns >= StopAtTurn; }

    int32_t StopAtTurn = 0;
    int32_t Turns = 0;
    std::vector<std::string> LookedIn;
    std::vector<int32_t> StatusFilters;
    std::vector<double> Progress;
};

struct TMatch
{
    int32_t Rank = 0;
    int32_t Near = 0;
};

// The filters are typed as in the free-hand text filter box; the text is the upper-cased
// search buffer without its closing zero, its directory part running up to nameOffset.
TMatch Match(const std::string& filters, const std::string& text, const TTextMatchSettings& settings,
             size_t nameOffset = 0, TRecordingPort* port = nullptr, int64_t size = 1000)
{
    TStringList list;
    GetListFromMultipleFilter(filters, list, ' ', '&', '!', '~');
    TRecordingPort ownPort;
    TTextMatcher matcher(list, settings, port != nullptr ? *port : ownPort);
    const std::string buffer = text + '\0';
    TMatch result;
    matcher.MatchTextInBuffer(buffer.data(), buffer.data() + buffer.size() - 1, size, "/data/file.txt", result.Rank,
                              result.Near, nameOffset);
    return result;
}

TTextMatchSettings Plain(TStemMode stem = TStemMode::Any)
{
    return {.AllFilters = false, .NearDetection = false, .Stem = stem};
}

struct TRankCase
{
    const char* Filters;
    const char* Text;
    TStemMode Stem;
    int32_t Rank;
};

void ExpectRanks(const std::vector<TRankCase>& cases)
{
    for (const TRankCase& c : cases)
        EXPECT_EQ(c.Rank, Match(c.Filters, c.Text, Plain(c.Stem)).Rank) << c.Filters << " in " << c.Text;
}

TEST(TextMatcher, EachFilterScoresByItsBestClassAndRepetition)
{
    ExpectRanks({
        {"FOO", "A FOO B", TStemMode::Any, 200},
        {"FOO", "FOO", TStemMode::Any, 200},
        {"FOO", "XFOOX", TStemMode::Any, 100},
        {"FOO", "FOO FOO", TStemMode::Any, 220},
        {"FOO", "FOOX FOOY", TStemMode::Any, 160},
        {"FOO", "FOOX", TStemMode::Any, 150},
        {"FOO", "XFOO", TStemMode::Any, 120},
        {"FOO", "XFOO YFOO", TStemMode::Any, 125},
        {"FOO", "FOOX FOOY XFOO ZFOO", TStemMode::Any, 165},
        {"FOO", "FOO XFOOX", TStemMode::Any, 200},
        {"FOO", "XFOOX XFOOX", TStemMode::Any, 100},
        {"FOO BAR", "FOO BAR", TStemMode::Any, 400},
        {"FOO", "BAR", TStemMode::Any, 0},
    });
}

TEST(TextMatcher, OccurrencesAreCountedWithoutOverlap)
{
    // Counted with overlap, AAAA would hold AA three times and score a repetition bonus.
    ExpectRanks({
        {"AAA", "AAAA", TStemMode::Any, 150},
        {"ABAB", "ABABAB", TStemMode::Any, 150},
        {"AA", " AAAA ", TStemMode::Any, 150},
    });
}

TEST(TextMatcher, StemModesAskForBoundedOccurrences)
{
    ExpectRanks({
        {"BAR", "FOO BARX\r\n", TStemMode::Left, 150},
        {"BAR", "FOOBAR\r\n", TStemMode::Left, 0},
        {"BAR", "FOO BARX\r\n", TStemMode::Right, 150},
        {"BAR", "FOOBAR\r\n", TStemMode::Right, 120},
        {"BAR", "FOOBARX", TStemMode::Right, 0},
        {"BAR", "FOO BARX", TStemMode::Word, 0},
        {"BAR", "FOO BAR", TStemMode::Word, 200},
        {"BAR", "FOOBARX", TStemMode::Any, 100},
        {"BAR-", "XBAR-X", TStemMode::Word, 100},
        {"V1.", "XV1.X", TStemMode::Word, 100},
        {".TXT", "A.TXTX", TStemMode::Word, 100},
        {"BAR", "XBARX BAR", TStemMode::Word, 200},
    });
}

TEST(TextMatcher, AFilterFailingItsStemAddsNothingAndTheOthersAreStillChecked)
{
    ExpectRanks({
        {"FOO BAR", "XFOOX BAR", TStemMode::Word, 200},
        {"FOO &BAZ", "XFOOX BAR", TStemMode::Word, 0},
        {"FOO ZED !BAR", "XFOOX ZED BAR", TStemMode::Word, 0},
        {"FOO ZED !BAR", "XFOOX ZED", TStemMode::Word, 200},
        {"&FOO BAR", "XFOOX BAR", TStemMode::Word, 0},
        {"BAR &FOO", "BAR XFOOX", TStemMode::Word, 0},
        // a filter earning a score before the failing one must not hide a later rejection
        {"ZED FOO !BAR", "ZED XFOOX BAR", TStemMode::Word, 0},
        {"ZED FOO &BAZ", "ZED XFOOX", TStemMode::Word, 0},
        {"ZED FOO &BAR", "ZED XFOOX BAR", TStemMode::Word, 400},
    });
}

TEST(TextMatcher, RequiredAndExcludedFilters)
{
    const TTextMatchSettings allFilters{.AllFilters = true, .NearDetection = false, .Stem = TStemMode::Any};
    const struct
    {
        const char* Filters;
        bool AllFilters;
        int32_t Rank;
    } cases[] = {
        {"FOO BAR BAZ", false, 400}, {"FOO BAR BAZ", true, 0}, {"FOO BAR", true, 400},
        {"FOO &BAZ", false, 0},      {"FOO &BAR", false, 400}, {"FOO !BAR", false, 0},
        {"FOO !BAZ", false, 200},    {"FOO !BAZ", true, 200},  {"!BAR FOO", false, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.Rank, Match(c.Filters, "FOO BAR", c.AllFilters ? allFilters : Plain()).Rank)
            << c.Filters << (c.AllFilters ? " (all filters)" : "");
}

TEST(TextMatcher, TheDirectoryPartCountsOnlyOnceTheNameOrContentMatches)
{
    const std::string path = "/HOME/FOO/BAR.TXT";
    const size_t nameOffset = 10; // "/HOME/FOO/"
    const struct
    {
        const char* Filters;
        int32_t Rank;
    } cases[] = {
        {"FOO", 0},
        {"FOO BAR", 400},
        {"BAR", 200},
        {"!FOO BAR", 0},
        {"HOME", 0},
        // an occurrence that begins in the directory part is no match beyond it
        {"/BAR", 0},
        {"BAR.", 150},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.Rank, Match(c.Filters, path, Plain(), nameOffset).Rank) << c.Filters;
    TTextMatchSettings nearOn = Plain();
    nearOn.NearDetection = true;
    EXPECT_EQ(0, Match("HOME FOO", path, nearOn, nameOffset).Near);
}

TEST(TextMatcher, NearFiltersEarnANearValue)
{
    TTextMatchSettings nearOn = Plain();
    nearOn.NearDetection = true;
    const std::string far(150, ' ');
    const struct
    {
        const char* Filters;
        std::string Text;
        int32_t Rank;
        int32_t Near;
    } cases[] = {
        // whole word (10 + 40), distance at most 4 (25 + 25), base 20, own whole word 20
        {"ALPHA BETA", "ALPHA BETA", 400, 140},
        {"ALPHA BETA", "ALPHA BETA ALPHA", 420, 140},
        // distance 8: one distance bonus
        {"ALPHA BETA", "ALPHA XXXXXX BETA", 400, 115},
        // distance 20: none
        {"ALPHA BETA", "ALPHA " + std::string(18, 'X') + " BETA", 400, 90},
        {"ALPHA BETA", "ALPHA" + far + "BETA", 400, 0},
        // BETA's match sees ALPHA bounded on the left at the window's start (5 + 15), BETA
        // itself is inside a word (no bonus of its own); ALPHA's match sees BETA inside (1 + 4)
        {"ALPHA BETA", "ALPHAXBETAX", 250, 90},
        // GAMMA's match sees ALPHA whole (50) and BETA left (20), at distance 3 (50), base
        // 20 and its own right occurrence 5
        {"ALPHA BETA GAMMA", "ALPHA BETAX XGAMMA", 470, 145},
        // an excluded filter never counts as near: it rejects
        {"ALPHA !BETA", "ALPHA BETA", 0, 140},
    };
    for (const auto& c : cases) {
        const TMatch match = Match(c.Filters, c.Text, nearOn);
        EXPECT_EQ(c.Rank, match.Rank) << c.Filters << " in " << c.Text;
        if (c.Rank > 0) {
            EXPECT_EQ(c.Near, match.Near) << c.Filters << " in " << c.Text;
        }
    }
}

TEST(TextMatcher, TheNearWindowEndsAtItsFirstZeroByte)
{
    TStringList filters;
    GetListFromMultipleFilter("ALPHA BETA", filters, ' ', '&', '!', '~');
    TRecordingPort port;
    const TTextMatcher matcher(filters, {.AllFilters = false, .NearDetection = true, .Stem = TStemMode::Any}, port);
    const std::string buffer("ALPHA \0BETA", 12);
    const char* const last = buffer.data() + buffer.size() - 1;
    EXPECT_EQ(0, matcher.GetNearScore(buffer.data(), last, buffer.data(), 5, 0));
    EXPECT_EQ(120, matcher.GetNearScore(buffer.data(), last, buffer.data() + 7, 4, 1));
}

TEST(TextMatcher, OnlyTheLastExaminedFilterGivesTheDistanceBonus)
{
    TTextMatchSettings nearOn = Plain();
    nearOn.NearDetection = true;
    const std::string text = "ALPHA BETA" + std::string(300, ' ') + "GAMMA";
    // ALPHA sees BETA whole (50); the distance comes from the filter examined last.
    EXPECT_EQ(90, Match("ALPHA BETA GAMMA", text, nearOn).Near);
    EXPECT_EQ(140, Match("ALPHA GAMMA BETA", text, nearOn).Near);
    EXPECT_EQ(140, Match("GAMMA ALPHA BETA", text, nearOn).Near);
}

TEST(TextMatcher, WordBoundariesReadNeighboursAsUtf8OrWindows1252)
{
    ExpectRanks({
        {"FOO",
         "\xC3\xA9"
         "FOO ",
         TStemMode::Any, 120},
        {"FOO", " FOO\xC3\xA9", TStemMode::Any, 150},
        {"FOO",
         "\xE9"
         "FOO ",
         TStemMode::Any, 120},
        {"FOO", " FOO\xE9", TStemMode::Any, 150},
        {"FOO",
         "\xC3\x97"
         "FOO\xC3\x97",
         TStemMode::Any, 200},
        {"FOO",
         "\xD7"
         "FOO\xF7",
         TStemMode::Any, 200},
        {"FOO",
         "\x80"
         "FOO\x80",
         TStemMode::Any, 200},
        {"FOO",
         "\xE6\x97\xA5"
         "FOO",
         TStemMode::Any, 120},
        {"FOO",
         "\x97"
         "FOO",
         TStemMode::Any, 200},
        {"\xC3\xA9T\xC3\xA9", "L'\xC3\xA9T\xC3\xA9", TStemMode::Word, 200},
        {"\xC3\xA9T\xC3\xA9", "X\xC3\xA9T\xC3\xA9 ", TStemMode::Any, 120},
        {"\xC9"
         "COLE",
         "A\xC9"
         "COLE ",
         TStemMode::Any, 120},
        {"\xC9"
         "COLE",
         "'\xC9"
         "COLE ",
         TStemMode::Word, 200},
        {"FOO\xC2\xA9", "FOO\xC2\xA9X", TStemMode::Word, 150},
    });
}

TEST(TextMatcher, ALargeBufferGivesTheUserInterfaceATurnAtEachOccurrence)
{
    const std::string text = "FOO BAR FOO";
    TRecordingPort port;
    const TMatch match = Match("FOO BAR", text, Plain(), 0, &port, 200000);
    EXPECT_EQ(420, match.Rank);
    // three occurrences and the end of each filter's search
    EXPECT_EQ(5, port.Turns);
    EXPECT_EQ((std::vector<int32_t>{0, 0, 0, 1, 1}), port.StatusFilters);
    EXPECT_EQ(5u, port.LookedIn.size());
    EXPECT_EQ("/data/file.txt", port.LookedIn.front());
    EXPECT_DOUBLE_EQ(3.0 / 200000, port.Progress.front());

    TRecordingPort small;
    EXPECT_EQ(420, Match("FOO BAR", text, Plain(), 0, &small, TTextMatcher::PacedSize).Rank);
    EXPECT_EQ(0, small.Turns);
}

TEST(TextMatcher, StopSeenAtATurnLeavesTheCandidateUnfound)
{
    for (int32_t turn = 1; turn <= 5; ++turn) {
        TRecordingPort port;
        port.StopAtTurn = turn;
        EXPECT_EQ(0, Match("FOO BAR", "FOO BAR FOO", Plain(), 0, &port, 200000).Rank) << turn;
        EXPECT_EQ(turn, port.Turns);
    }
}

} // namespace
