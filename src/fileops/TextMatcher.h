#pragma once

#include "core/text/StringList.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The items of the "Stem" list, in its order.
enum class TStemMode
{
    Any,
    Right,
    Left,
    Word,
};

struct TTextMatchSettings
{
    bool AllFilters = false;
    bool NearDetection = true;
    TStemMode Stem = TStemMode::Any;
};

// What the matcher needs of the running search while it works through a large buffer.
class TTextMatchPort
{
public:
    virtual ~TTextMatchPort() = default;
    // A second has passed since the status line was last written.
    virtual bool StatusDue() = 0;
    virtual void ShowLookingIn(const std::string& path) = 0;
    // Progress runs from 0 to 1 through the buffer.
    virtual void ShowStatus(int32_t filterIndex, double progress) = 0;
    // Gives the user interface a turn, so that "S&top" and "&Cancel" answer.
    virtual void ProcessMessages() = 0;
    virtual bool Stopped() const = 0;
};

// Ranks one upper-cased search buffer by the text filters: whole words score best, then
// matches bounded on the left, then on the right; filters that stand close together earn
// a near value on top.
class TTextMatcher
{
public:
    // The filters are upper-case, with the required and excluded flags of IsFilterRequired
    // and IsFilterExcluded; they are copied.
    TTextMatcher(const TStringList& textFilters, const TTextMatchSettings& settings, TTextMatchPort& port);

    // The buffer runs from start to last inclusive, last being a zero byte; its first
    // nameOffset bytes are the candidate's directory part. The size of the candidate file
    // paces the progress display. Rank and near value start at 0; a candidate is found
    // when the rank is at least 1. Traced: a failure leaves both 0.
    void MatchTextInBuffer(const char* start, const char* last, int64_t size, const std::string& path, int32_t& rank,
                           int32_t& nearValue, size_t nameOffset);
    // The near score of the match of one filter at `match`: what the other filters within
    // 100 bytes on either side add.
    int32_t GetNearScore(const char* start, const char* last, const char* match, int32_t length,
                         int32_t filterIndex) const;

    // A candidate file larger than this gives the user interface a turn at every occurrence.
    static constexpr int64_t PacedSize = 100000;

private:
    struct TFilter
    {
        std::string Text;
        bool Required = false;
        bool Excluded = false;
        bool StartsWithWordCharacter = false;
        bool EndsWithWordCharacter = false;
    };
    enum class TOccurrenceClass
    {
        WholeWord,
        Left,
        Right,
        Inside,
    };
    // Occurrences of one filter per class.
    struct TClassCounts
    {
        int32_t WholeWord = 0;
        int32_t Left = 0;
        int32_t Right = 0;
        int32_t Inside = 0;
        int32_t Total() const { return WholeWord + Left + Right + Inside; }
        void Add(TOccurrenceClass occurrenceClass);
    };
    // False when the filter ends the matching of the candidate.
    bool MatchFilter(int32_t index, const char* start, const char* last, int64_t size, const std::string& path,
                     int32_t& rank, int32_t& nearValue, bool& beyondDirectory, const char* nameStart);
    bool PaceAndContinue(int32_t index, const char* start, const char* reached, int64_t size, const std::string& path);
    bool PassesStem(const TFilter& filter, const TClassCounts& counts) const;
    static int32_t FilterScore(const TClassCounts& counts);
    static int32_t NearBonus(const TClassCounts& counts);
    // Classes every occurrence of filter `index` in the window, counts the filter once in its
    // best class and gives the distance of its last occurrence from the match (-1: none).
    void ClassifyNearFilter(const char* windowStart, const char* windowEnd, size_t matchOffset, int32_t matchLength,
                            int32_t index, TClassCounts& counts, int64_t& distance) const;
    TOccurrenceClass Classify(const TFilter& filter, const char* rangeStart, const char* rangeEnd,
                              const char* occurrence) const;

    std::vector<TFilter> Filters;
    TTextMatchSettings Settings;
    TTextMatchPort& Port;
};
