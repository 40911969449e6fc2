#include "fileops/TextFilterInput.h"

#include "core/forms/ModalSeam.h"
#include "core/text/Text.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Each filter as its text with "&" or "!" in front for its flag.
std::vector<std::string> Flagged(const TStringList& filters)
{
    std::vector<std::string> items;
    for (int32_t i = 0; i < filters.Count(); ++i)
        items.push_back((IsFilterRequired(filters, i) ? "&" : "") +
                        std::string(IsFilterExcluded(filters, i) ? "!" : "") + filters[i]);
    return items;
}

TEST(TextFilterInput, PiecesBecomeFlaggedUpperCaseFilters)
{
    const struct
    {
        const char* Text;
        bool FreeHand;
        std::vector<std::string> Filters;
    } cases[] = {
        {"draft report", true, {"DRAFT", "REPORT"}},
        {"draft report;final", false, {"DRAFT REPORT", "FINAL"}},
        {"abc  def ", true, {"ABC", "DEF"}},
        {"abc; def", false, {"ABC", " DEF"}},
        {"~&xyz", true, {"&XYZ"}},
        {"~!xyz", true, {"!XYZ"}},
        {"&abc !def", true, {"&ABC", "!DEF"}},
        {"&!abc", true, {"&!ABC"}},
        {"abc ABC &abc", true, {"ABC"}},
        {"&abc abc", true, {"&ABC"}},
        {"caf\xC3\xA9 CAF\xC3\xA9", true, {"CAF\xC3\xA9"}},
    };
    for (const auto& c : cases) {
        TStringList filters;
        EXPECT_TRUE(ParseTextFilter(c.Text, c.FreeHand, filters)) << c.Text;
        EXPECT_EQ(c.Filters, Flagged(filters)) << c.Text;
    }
}

TEST(TextFilterInput, AnEmptyTextIsRefusedWithAWarning)
{
    TModalScript boxes;
    boxes.Expect("Warning", IDOK);
    TStringList filters;
    EXPECT_FALSE(ParseTextFilter("", true, filters));
    ASSERT_EQ(1u, boxes.Seen().size());
    EXPECT_EQ("Text filter can't be empty.", boxes.Seen()[0].Text);
}

TEST(TextFilterInput, ShortFiltersAskBeforeTheSearchRuns)
{
    const struct
    {
        const char* Text;
        int Answer;
        bool Runs;
    } cases[] = {
        {"A  B", IDNO, false},       {"A  B", IDYES, true},      {"report ab", IDNO, false},
        {"~!x report", IDNO, false}, {"abc ab ab", IDYES, true},
    };
    for (const auto& c : cases) {
        TModalScript boxes;
        boxes.Expect("Query", c.Answer);
        TStringList filters;
        EXPECT_EQ(c.Runs, ParseTextFilter(c.Text, true, filters)) << c.Text;
        ASSERT_EQ(1u, boxes.Seen().size()) << c.Text;
        EXPECT_EQ("There are filters containing only one or two characters.\nSuch filters are very common so they may "
                  "significantly\nslow down the search.\n\nDo you want to CONTINUE anyway?",
                  boxes.Seen()[0].Text);
    }
}

} // namespace
