#include "tools/CommonTextEngine.h"

#include "core/errors/Error.h"
#include "core/forms/ModalSeam.h"

#include "host/Clock.h"

#include "support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <regex>
#include <string>
#include <vector>

namespace {

// Records what the engine shows; `OnTurn` runs at each turn it gives.
class TRecordingPort : public TCommonTextPort
{
public:
    void ProcessMessages() override
    {
        ++Turns;
        if (OnTurn)
            OnTurn();
    }
    void ShowInformation(const std::string& line) override { Information = line; }
    void SetReportText(const std::string& text) override { ReportText = text; }
    void AddReportLine(const std::string& line) override { ReportText += "\n" + line; }

    int Turns = 0;
    std::string Information;
    std::string ReportText;
    std::function<void()> OnTurn;
};

class CommonTextEngineTest : public testing::Test
{
protected:
    CommonTextEngineTest()
    {
        host::SetTickCountSource([this] { return Tick += TickStep; });
    }
    ~CommonTextEngineTest() override { host::SetTickCountSource({}); }

    std::string Write(const std::string& name, const std::string& text)
    {
        Drive.WriteFile(name, text);
        return Drive.Path(name);
    }
    // Runs with the first document active.
    void Find(const std::vector<std::string>& documents) { Engine.Find(documents.front(), documents); }

    std::vector<std::string> ReportLines() const
    {
        std::vector<std::string> lines;
        const std::string& report = Engine.Report;
        size_t start = 0;
        while (start <= report.size()) {
            const size_t end = std::min(report.find("\r\n", start), report.size());
            lines.push_back(report.substr(start, end - start));
            start = end + 2;
        }
        return lines;
    }

    uint32_t Tick = 0;
    uint32_t TickStep = 0;
    TTempDrive Drive{'T'};
    TRecordingPort Port;
    TCommonTextEngine Engine{Port};
};

TEST_F(CommonTextEngineTest, MatchTextScoresByModeAndTolerance)
{
    struct Case
    {
        int32_t Mode;
        int32_t Tolerance;
        const char* X;
        const char* Y;
        int32_t Score;
    };
    const Case cases[] = {
        {0, 0, "CAT", "CAT", 200},     {1, 0, "CAT", "CATALOG", 150}, {0, 0, "CAT", "CATALOG", 0},
        {2, 0, "CAT", "CATALOG", 150}, {3, 0, "CAT", "CATALOG", 150}, {2, 0, "LOG", "CATALOG", 100},
        {3, 0, "LOG", "CATALOG", 100}, {1, 0, "LOG", "CATALOG", 0},   {3, 0, "TAL", "CATALOG", 50},
        {2, 0, "TAL", "CATALOG", 0},   {0, 1, "SMITH", "SMYTH", 195}, {0, 1, "SMITH", "JONES", 0},
        {2, 0, "AB", "XABAB", 0},      {0, 0, "CATALOG", "CAT", 0},   {3, 1, "CXT", "CATALOG", 145},
        {0, 3, "AB", "XY", 0},         {3, 0, "DOG", "CATALOG", 0},
    };
    for (const Case& c : cases) {
        Engine.Options.WholeMatch = c.Mode;
        Engine.Options.Misspelling = c.Tolerance;
        EXPECT_EQ(c.Score, Engine.MatchText(c.X, c.Y)) << c.Mode << " " << c.Tolerance << " " << c.X << "/" << c.Y;
    }
}

TEST_F(CommonTextEngineTest, FindTextARecordsTheMatchedWordsAndTheirDirection)
{
    Engine.Options.WholeMatch = 1;
    TMatchSourceInfo record;
    EXPECT_EQ(350, Engine.FindTextA({"SMITH", "JOHN"}, "T:\\b.txt", record, "SMITH; JOHNSON", {"SMITH", "JOHNSON"}));
    ASSERT_EQ(1u, record.Matches.size());
    EXPECT_EQ("SMITH; JOHN -> JOHNSON", record.Matches[0].MatchedFilter);
    EXPECT_EQ(350, record.Matches[0].Rank);

    EXPECT_EQ(150, Engine.FindTextA({"JOHNSON"}, "T:\\b.txt", record, "JOHN", {"JOHN"}));
    EXPECT_EQ("JOHNSON <- JOHN", record.Matches[1].MatchedFilter);

    // Nothing in common is not recorded.
    EXPECT_EQ(0, Engine.FindTextA({"MARY"}, "T:\\b.txt", record, "PAUL", {"PAUL"}));
    EXPECT_EQ(2u, record.Matches.size());
}

TEST_F(CommonTextEngineTest, ReportsTheSharedRecordsRankedWithTheirMatches)
{
    const std::string active = Write("a.txt", "JOHN|SMITH|LONDON\nMARY|JONES|PARIS\nNOBODY|ELSE|HERE\n");
    const std::string other = Write("b.txt", "MARY|JONES|ROME\r\nSMITH|JOHN|LONDON\r\nJOHN|DOE|LONDON\r\n");
    for (const bool indexed : {true, false}) {
        Engine.WordIndexAllowed = indexed;
        Find({active, other});
        std::vector<std::string> lines = ReportLines();
        ASSERT_GT(lines.size(), 3u);
        EXPECT_TRUE(std::regex_match(lines[3], std::regex(R"(Elapsed time \(seconds\): \d+)"))) << lines[3];
        lines[3] = "Elapsed time (seconds): -";
        const std::string equals(50, '='), dashes(50, '-');
        const std::vector<std::string> expected = {
            equals,
            "Source file: T:\\a.txt",
            "Match count: 2",
            "Elapsed time (seconds): -",
            equals,
            "Match index: 1",
            "Source filter: \"JOHN; SMITH; LONDON\"",
            "Match count: 2",
            "Rank: 1000",
            dashes,
            "    Partial match index: 1",
            "    Against file: \"T:\\b.txt\"",
            "    Against filter: \"SMITH; JOHN; LONDON\"",
            "    Matched filter: \"JOHN; SMITH; LONDON\"",
            "    Rank: 600",
            "    " + dashes,
            "    Partial match index: 2",
            "    Against file: \"T:\\b.txt\"",
            "    Against filter: \"JOHN; DOE; LONDON\"",
            "    Matched filter: \"JOHN; LONDON\"",
            "    Rank: 400",
            equals,
            "Match index: 2",
            "Source filter: \"MARY; JONES; PARIS\"",
            "Match count: 1",
            "Rank: 400",
            dashes,
            "    Partial match index: 1",
            "    Against file: \"T:\\b.txt\"",
            "    Against filter: \"MARY; JONES; ROME\"",
            "    Matched filter: \"MARY; JONES\"",
            "    Rank: 400",
            equals,
        };
        EXPECT_EQ(expected, lines) << indexed;
        EXPECT_EQ(Engine.Report, Port.ReportText);
        EXPECT_EQ(2, Engine.MatchCount);
    }
}

// "All" asks each source paragraph for as many pairs as it has words.
TEST_F(CommonTextEngineTest, AllAsksForEveryWordOfEachSourceParagraph)
{
    const std::string active = Write("a.txt", "AAA|BBB|CCC|DDD\nEEE|FFF|GGG|HHH|III|JJJ\n");
    const std::string other = Write("b.txt", "AAA|BBB|CCC|ZZZ\n"
                                             "AAA|BBB|CCC|DDD|XXX\n"
                                             "EEE|FFF|GGG|HHH|III|YYY\n"
                                             "JJJ|III|HHH|GGG|FFF|EEE\n");
    Engine.Options.MinimumMatches = 0;
    for (const bool indexed : {true, false}) {
        Engine.WordIndexAllowed = indexed;
        Find({active, other});
        ASSERT_EQ(2u, Engine.SourceMatches.size()) << indexed;
        EXPECT_EQ(1200, Engine.SourceMatches[0].Rank);
        ASSERT_EQ(1u, Engine.SourceMatches[0].Matches.size());
        EXPECT_EQ("JJJ; III; HHH; GGG; FFF; EEE", Engine.SourceMatches[0].Matches[0].AgainstFilter);
        ASSERT_EQ(1u, Engine.SourceMatches[1].Matches.size());
        EXPECT_EQ("AAA; BBB; CCC; DDD; XXX", Engine.SourceMatches[1].Matches[0].AgainstFilter);
        EXPECT_EQ(0, Engine.Options.MinimumMatches);
    }
}

// The word index only narrows the candidates: it gives the report of every pair, also
// when many records share common words and a minimum leaves some out.
TEST_F(CommonTextEngineTest, TheWordIndexGivesTheReportOfEveryPair)
{
    std::string activeText, otherText, thirdText;
    const char* names[] = {"JOHN", "MARY", "PAUL", "ANNA"};
    const char* cities[] = {"LONDON", "PARIS", "ROME"};
    for (int i = 0; i < 24; ++i) {
        const std::string record = std::string(names[i % 4]) + "|" + cities[i % 3] + "|STREET " +
                                   std::to_string(i % 7) + "|ID" + std::to_string(i % 11);
        activeText += record + "\n";
        otherText += std::string(names[(i + 1) % 4]) + "|" + cities[i % 3] + "|ID" + std::to_string(i % 13) + "\r\n";
        thirdText += record.substr(0, record.size() / 2) + "\r";
    }
    const std::vector<std::string> documents = {Write("a.txt", activeText), Write("b.txt", otherText),
                                                Write("c.txt", thirdText)};
    for (const int32_t minimum : {1, 2, -1}) {
        Engine.Options.MinimumMatches = minimum;
        Engine.WordIndexAllowed = true;
        Find(documents);
        const std::string indexed = Engine.Report;
        Engine.WordIndexAllowed = false;
        Find(documents);
        EXPECT_FALSE(indexed.empty());
        EXPECT_EQ(std::regex_replace(Engine.Report, std::regex(R"(\(seconds\): \d+)"), ""),
                  std::regex_replace(indexed, std::regex(R"(\(seconds\): \d+)"), ""))
            << minimum;
    }
}

TEST_F(CommonTextEngineTest, LinesEndAnyWayAndWindows1252LinesAreRead)
{
    const std::string active = Write("a.txt", "CAF\xC3\x89|ONE\rTWO|THREE\r\nFOUR|FIVE");
    const std::string other = Write("b.txt", "CAF\xC9|X1Y\nFOUR|FIVE\n");
    Find({active, other});
    ASSERT_EQ(2u, Engine.SourceMatches.size());
    EXPECT_EQ("CAF\xC3\x89", Engine.SourceMatches[1].Matches.at(0).MatchedFilter);
    EXPECT_EQ("FOUR; FIVE", Engine.SourceMatches[0].SourceFilter);
}

TEST_F(CommonTextEngineTest, NothingInCommonShowsTheHeaderAndSaysSo)
{
    const std::string active = Write("a.txt", "JOHN|SMITH\n");
    const std::string other = Write("b.txt", "|||\nMARY|JONES\n");
    TModalScript script;
    script.Expect("Message", IDOK);
    Find({active, other});
    EXPECT_EQ("No matches found.", script.Seen().at(0).Text);
    const std::vector<std::string> lines = ReportLines();
    ASSERT_EQ(5u, lines.size());
    EXPECT_EQ("Match count: 0", lines[2]);
}

TEST_F(CommonTextEngineTest, TooManyMatchesAbortTheRunWithoutAReport)
{
    std::string records;
    for (int i = 0; i < 1001; ++i)
        records += "NAME" + std::to_string(i) + "|CITY" + std::to_string(i) + "\n";
    const std::string active = Write("a.txt", records);
    const std::string other = Write("b.txt", records);
    for (const bool indexed : {true, false}) {
        Engine.WordIndexAllowed = indexed;
        TModalScript script;
        script.Expect("Warning", IDOK);
        Find({active, other});
        EXPECT_EQ("Too many matches. The operation has been aborted.\nChange the options to restrict the matches.",
                  script.Seen().at(0).Text);
        EXPECT_EQ("Looking for common text...\nThe operation has been automatically aborted.", Port.ReportText);
        EXPECT_EQ(1000, Engine.MatchCount);
        EXPECT_TRUE(Engine.Report.empty());
    }
}

TEST_F(CommonTextEngineTest, StopLeavesThePhaseAndNoReport)
{
    const std::string active = Write("a.txt", "JOHN|SMITH\nMARY|JONES\n");
    const std::string other = Write("b.txt", "JOHN|SMITH\nMARY|JONES\n");
    // Every comparison finds the pumping period passed.
    TickStep = 25;
    Port.OnTurn = [this] { Engine.Stop(); };
    for (const bool indexed : {true, false}) {
        Engine.WordIndexAllowed = indexed;
        Find({active, other});
        // The turn may come while the lists are still parsed or once they are compared.
        EXPECT_THAT(Port.ReportText, testing::AnyOf("Parsing files and filters...", "Looking for common text..."));
        EXPECT_TRUE(Engine.Report.empty());
        EXPECT_GT(Port.Turns, 0);
    }
}

// The buttons get a turn at most every 20 ms of the clock, however many comparisons run.
TEST_F(CommonTextEngineTest, TurnsComeOnlyOnceThePumpingPeriodHasPassed)
{
    std::string records;
    for (int i = 0; i < 20; ++i)
        records += "NAME" + std::to_string(i) + "|CITY\n";
    const std::string active = Write("a.txt", records);
    const std::string other = Write("b.txt", records);
    const int comparisons = 20 * 20;
    Engine.WordIndexAllowed = false;
    for (const uint32_t step : {0u, 1u, 25u}) {
        TickStep = step;
        Port.Turns = 0;
        Find({active, other});
        EXPECT_FALSE(Engine.Report.empty());
        if (step == 0)
            EXPECT_EQ(0, Port.Turns);
        else if (step == 1)
            EXPECT_LT(Port.Turns, comparisons / 5);
        else
            EXPECT_GE(Port.Turns, comparisons);
    }
}

TEST_F(CommonTextEngineTest, PreconditionsEndTheRunBeforeItReadsTheFiles)
{
    const std::string active = Write("a.txt", "AAA|JOHN|SMITH|CCC|DDD\n");
    const std::string other = Write("b.txt", "AAA|JOHN|SMITH|CCC|DDD\n");

    Engine.Options.Delimiter = "";
    {
        TModalScript script;
        script.Expect("Error", IDOK);
        EXPECT_FALSE(Engine.CheckOptions());
        EXPECT_EQ("Empty delimiter.", script.Seen().at(0).Text);
    }
    Engine.Options.Delimiter = "|";

    struct OrderCase
    {
        bool UseDelimiter;
        int32_t Begin;
        int32_t End;
        const char* Failure;
    };
    const OrderCase orders[] = {
        {true, 3, 3, R"(The "End extraction" value must be higher than the "Start extraction" value.)"},
        {true, -2, -3, R"(The "End extraction" value must be higher than the "Start extraction" value.)"},
        {false, 3, 2, R"(The "End extraction" value must be at least the "Start extraction" value.)"},
        {true, 2, 3, nullptr},
        {false, 3, 3, nullptr},
        {true, 0, -1, nullptr},
    };
    for (const OrderCase& c : orders) {
        Engine.Options.UseDelimiter = c.UseDelimiter;
        Engine.Options.BeginIndex = c.Begin;
        Engine.Options.EndIndex = c.End;
        Port.ReportText.clear();
        Find({active, other});
        if (c.Failure != nullptr) {
            EXPECT_EQ(c.Failure, FunStatContext.Description) << c.Begin << " " << c.End;
            EXPECT_TRUE(Port.ReportText.empty());
        } else {
            EXPECT_EQ(fsPerfect, FunStatContext.Status) << c.Begin << " " << c.End;
            EXPECT_EQ(1, Engine.MatchCount);
        }
        FunStatContext = {};
    }
    Engine.Options = {};

    Engine.PhysicalMemory = [] { return uint64_t{40}; };
    TModalScript script;
    script.Expect("Error", IDOK);
    Find({active, other});
    EXPECT_EQ("The size of the files to use is too big.", script.Seen().at(0).Text);
    EXPECT_TRUE(Engine.Documents.empty());
    EXPECT_EQ("Checking resources availability...", Port.ReportText);
}

TEST_F(CommonTextEngineTest, AnUnreadableDocumentFailsTheRunNamingIt)
{
    const std::string active = Write("a.txt", "JOHN|SMITH\n");
    const std::string missing = Drive.Path("gone.txt");
    Find({active, missing});
    EXPECT_GE(FunStatContext.Status, fsError);
    EXPECT_EQ(missing, FunStatContext.Parameter1);
    EXPECT_TRUE(Engine.Report.empty());
    FunStatContext = {};
}

} // namespace
