#include "fileops/TextMatcher.h"

#include "core/errors/Traced.h"
#include "core/text/Text.h"
#include "core/text/TextCharacter.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

// Bytes on either side of a match in which other filters count as near.
constexpr int64_t NearReach = 100;

// The first exact occurrence of the text lying wholly within [from, last], or null.
const char* FindExact(const std::string& text, const char* from, const char* last)
{
    if (text.empty() || last < from || static_cast<size_t>(last - from + 1) < text.size())
        return nullptr;
    return static_cast<const char*>(memmem(from, static_cast<size_t>(last - from + 1), text.data(), text.size()));
}

bool IsWordCharacterBefore(const char* rangeStart, const char* position)
{
    const std::string_view before(rangeStart, static_cast<size_t>(position - rangeStart));
    return IsWordCharacter(DecodeCharacterBefore(before, before.size()).CodePoint);
}

bool IsWordCharacterAt(const char* position, const char* rangeEnd)
{
    const std::string_view after(position, static_cast<size_t>(rangeEnd - position + 1));
    return IsWordCharacter(DecodeCharacterAt(after, 0).CodePoint);
}

} // namespace

TTextMatcher::TTextMatcher(const TStringList& textFilters, const TTextMatchSettings& settings, TTextMatchPort& port)
    : Settings(settings), Port(port)
{
    for (int32_t i = 0; i < textFilters.Count(); ++i) {
        TFilter filter;
        filter.Text = textFilters[i];
        filter.Required = IsFilterRequired(textFilters, i);
        filter.Excluded = IsFilterExcluded(textFilters, i);
        filter.StartsWithWordCharacter = IsWordCharacter(DecodeCharacterAt(filter.Text, 0).CodePoint);
        filter.EndsWithWordCharacter =
            IsWordCharacter(DecodeCharacterBefore(filter.Text, filter.Text.size()).CodePoint);
        Filters.push_back(std::move(filter));
    }
}

void TTextMatcher::MatchTextInBuffer(const char* start, const char* last, int64_t size, const std::string& path,
                                     int32_t& rank, int32_t& nearValue, size_t nameOffset)
{
    TTraced trace;
    trace.Run([&] {
        bool beyondDirectory = false;
        const char* const nameStart = start + nameOffset;
        for (int32_t i = 0; i < static_cast<int32_t>(Filters.size()); ++i)
            if (!MatchFilter(i, start, last, size, path, rank, nearValue, beyondDirectory, nameStart))
                break;
        // A directory path alone never makes a candidate found.
        if (!beyondDirectory)
            rank = 0, nearValue = 0;
    });
    if (!trace.Succeeded())
        rank = 0, nearValue = 0;
}

bool TTextMatcher::MatchFilter(int32_t index, const char* start, const char* last, int64_t size,
                               const std::string& path, int32_t& rank, int32_t& nearValue, bool& beyondDirectory,
                               const char* nameStart)
{
    const TFilter& filter = Filters[static_cast<size_t>(index)];
    const bool required = Settings.AllFilters || filter.Required;
    const bool paced = size > PacedSize;
    const auto length = static_cast<int32_t>(filter.Text.size());
    TClassCounts counts;
    const char* from = start;
    while (const char* occurrence = FindExact(filter.Text, from, last)) {
        if (filter.Excluded) {
            rank = 0;
            return false;
        }
        beyondDirectory = beyondDirectory || occurrence >= nameStart;
        counts.Add(Classify(filter, start, last, occurrence));
        if (Settings.NearDetection) {
            int32_t score = GetNearScore(start, last, occurrence, length, index);
            if (score > 0)
                score += NearBonus(counts);
            nearValue = std::max(nearValue, score);
        }
        from = occurrence + length;
        if (paced && !PaceAndContinue(index, start, from, size, path)) {
            rank = 0;
            return false;
        }
    }
    if (paced && !PaceAndContinue(index, start, from, size, path)) {
        rank = 0;
        return false;
    }
    if (counts.Total() == 0) {
        if (!required || filter.Excluded)
            return true;
        rank = 0;
        return false;
    }
    // A filter that is not bounded as the stem asks adds nothing; only a required one
    // rejects the candidate, so later required and excluded filters are still checked.
    if (!PassesStem(filter, counts)) {
        if (!required)
            return true;
        rank = 0;
        return false;
    }
    rank += FilterScore(counts);
    return true;
}

bool TTextMatcher::PaceAndContinue(int32_t index, const char* start, const char* reached, int64_t size,
                                   const std::string& path)
{
    if (Port.StatusDue()) {
        Port.ShowLookingIn(path);
        Port.ShowStatus(index, static_cast<double>(reached - start) / static_cast<double>(size));
    }
    Port.ProcessMessages();
    return !Port.Stopped();
}

bool TTextMatcher::PassesStem(const TFilter& filter, const TClassCounts& counts) const
{
    const bool word = counts.WholeWord > 0 || !filter.StartsWithWordCharacter || !filter.EndsWithWordCharacter;
    const bool left = counts.Left > 0 || !filter.StartsWithWordCharacter;
    const bool right = counts.Right > 0 || !filter.EndsWithWordCharacter;
    switch (Settings.Stem) {
    case TStemMode::Any:
        return true;
    case TStemMode::Word:
        return word;
    case TStemMode::Left:
        return word || left;
    case TStemMode::Right:
        return word || left || right;
    }
    return true;
}

int32_t TTextMatcher::FilterScore(const TClassCounts& counts)
{
    int32_t score = 100;
    if (counts.WholeWord > 0)
        score = 200;
    else if (counts.Left > 0)
        score = 150;
    else if (counts.Right > 0)
        score = 120;
    if (counts.Total() > 1) {
        if (counts.WholeWord >= 2)
            score += 20;
        else
            score += (counts.Left >= 2 ? 10 : 0) + (counts.Right >= 2 ? 5 : 0);
    }
    return score;
}

int32_t TTextMatcher::NearBonus(const TClassCounts& counts)
{
    if (counts.WholeWord > 0)
        return 20;
    return (counts.Left > 0 ? 10 : 0) + (counts.Right > 0 ? 5 : 0);
}

int32_t TTextMatcher::GetNearScore(const char* start, const char* last, const char* match, int32_t length,
                                   int32_t filterIndex) const
{
    const char* const windowStart = match - std::min<int64_t>(match - start, NearReach);
    const char* windowEnd = match + std::min<int64_t>(last - match, length + NearReach - 1);
    // The window is text: it ends before its first zero byte.
    if (const void* zero = std::memchr(windowStart, 0, static_cast<size_t>(windowEnd - windowStart + 1)))
        windowEnd = static_cast<const char*>(zero) - 1;

    TClassCounts others;
    int64_t distance = -1;
    const auto matchOffset = static_cast<size_t>(match - windowStart);
    for (int32_t j = 0; j < static_cast<int32_t>(Filters.size()); ++j)
        if (j != filterIndex && !Filters[static_cast<size_t>(j)].Excluded)
            ClassifyNearFilter(windowStart, windowEnd, matchOffset, length, j, others, distance);

    int32_t score = 0;
    if (others.WholeWord > 0)
        score += 10 * others.WholeWord + 40;
    if (others.Left > 0)
        score += 5 * others.Left + 15;
    if (others.Right > 0)
        score += 2 * others.Right + 8;
    if (others.Inside > 0)
        score += others.Inside + 4;
    if (score <= 0)
        return 0;
    // Only the filter examined last tells how close the others stand.
    if (distance >= 0 && distance <= 10)
        score += 25;
    if (distance >= 0 && distance <= 4)
        score += 25;
    return score + 20;
}

void TTextMatcher::ClassifyNearFilter(const char* windowStart, const char* windowEnd, size_t matchOffset,
                                      int32_t matchLength, int32_t index, TClassCounts& counts, int64_t& distance) const
{
    const TFilter& filter = Filters[static_cast<size_t>(index)];
    const auto matchStart = static_cast<int64_t>(matchOffset);
    const int64_t matchEnd = matchStart + matchLength;
    auto best = TOccurrenceClass::Inside;
    bool occurred = false;
    distance = -1;
    const char* from = windowStart;
    while (const char* occurrence = FindExact(filter.Text, from, windowEnd)) {
        best = std::min(best, Classify(filter, windowStart, windowEnd, occurrence));
        occurred = true;
        const int64_t occurrenceStart = occurrence - windowStart;
        const int64_t occurrenceEnd = occurrenceStart + static_cast<int64_t>(filter.Text.size());
        distance = std::max<int64_t>({0, matchStart - occurrenceEnd, occurrenceStart - matchEnd});
        from = occurrence + filter.Text.size();
    }
    if (occurred)
        counts.Add(best);
}

void TTextMatcher::TClassCounts::Add(TOccurrenceClass occurrenceClass)
{
    switch (occurrenceClass) {
    case TOccurrenceClass::WholeWord:
        ++WholeWord;
        break;
    case TOccurrenceClass::Left:
        ++Left;
        break;
    case TOccurrenceClass::Right:
        ++Right;
        break;
    case TOccurrenceClass::Inside:
        ++Inside;
        break;
    }
}

TTextMatcher::TOccurrenceClass TTextMatcher::Classify(const TFilter& filter, const char* rangeStart,
                                                      const char* rangeEnd, const char* occurrence) const
{
    const char* const after = occurrence + filter.Text.size();
    const bool leftBounded =
        filter.StartsWithWordCharacter && (occurrence == rangeStart || !IsWordCharacterBefore(rangeStart, occurrence));
    const bool rightBounded = filter.EndsWithWordCharacter && (after > rangeEnd || !IsWordCharacterAt(after, rangeEnd));
    if (leftBounded && rightBounded)
        return TOccurrenceClass::WholeWord;
    if (leftBounded)
        return TOccurrenceClass::Left;
    return rightBounded ? TOccurrenceClass::Right : TOccurrenceClass::Inside;
}
