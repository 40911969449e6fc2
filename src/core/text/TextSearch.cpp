#include "core/text/Text.h"

#include "core/errors/Traced.h"
#include "core/text/AsciiCase.h"
#include "core/text/TextCharacter.h"

#include <algorithm>
#include <cstring>

namespace {

struct TWord
{
    std::string Text;
    size_t Characters = 0;
    bool HasLetter = false;
    bool HasDigit = false;
};

bool IsKeptWord(const TWord& word, int32_t mode)
{
    if (!word.HasLetter && !word.HasDigit)
        return false;
    if (mode == 2 && !(word.HasDigit && word.Characters >= 5))
        return false;
    if (mode == 1 && !word.HasLetter)
        return false;
    return word.Characters >= (word.HasLetter ? 3u : 5u);
}

void AddWord(TStringList& list, TWord& word, int32_t mode)
{
    if (IsKeptWord(word, mode)) {
        const std::string upper = UpperAscii(word.Text);
        if (list.IndexOf(upper) < 0)
            list.Add(upper);
    }
    word = TWord{};
}

void CollectWords(std::string_view range, int32_t mode, TStringList& list)
{
    TWord word;
    size_t i = 0;
    while (i < range.size()) {
        const TTextCharacter character = DecodeCharacterAt(range, i);
        const size_t length = character.Length;
        if (!IsWordCharacter(character.CodePoint)) {
            AddWord(list, word, mode);
            i += length;
            continue;
        }
        if (length == 1) {
            const char c = range[i];
            word.HasDigit = word.HasDigit || (c >= '0' && c <= '9');
            word.HasLetter = word.HasLetter || (c != '_' && !(c >= '0' && c <= '9'));
        }
        word.Text.append(range.substr(i, length));
        ++word.Characters;
        i += length;
    }
    AddWord(list, word, mode);
}

// Word numbers: 0 is the first word, -1 and -2 the last, lower ones count back.
int64_t WordNumber(int32_t n, int32_t count)
{
    if (n == 0)
        return 1;
    if (n == -1)
        n = -2;
    return n < 0 ? int64_t{n} + count + 2 : n;
}

void SelectWords(TStringList& list, int32_t first, int32_t last, TTraced& trace)
{
    const int32_t count = list.Count();
    if (count == 0)
        return;
    const int64_t firstWord = WordNumber(first, count);
    const int64_t lastWord = WordNumber(last, count);
    if (lastWord < firstWord)
        return trace.Raise("The first extracted word is beyond the last extracted word.", std::to_string(firstWord),
                           std::to_string(lastWord));
    if (firstWord > count)
        return trace.Raise("The first extracted word is beyond the number of words.", std::to_string(firstWord),
                           std::to_string(count));
    for (int64_t i = count; i > lastWord; --i)
        list.Delete(static_cast<int32_t>(i - 1));
    for (int64_t i = 1; i < firstWord; ++i)
        list.Delete(0);
}

} // namespace

bool MatchBlockWithMisspellings(const char* block, int32_t n, const char* candidate, int32_t tolerance,
                                int32_t* differences)
{
    const int32_t allowed = std::min(tolerance, (n + 1) / 2);
    int32_t count = 0;
    bool matches = true;
    for (int32_t i = 0; i < n; ++i) {
        if (block[i] != candidate[i] && ++count > allowed) {
            matches = false;
            break;
        }
    }
    if (differences != nullptr)
        *differences = count;
    return matches;
}

const char* FindBlockInBuffer(const char* block, int32_t n, const char* start, const char* last, int32_t tolerance,
                              int32_t* differences)
{
    if (n < 1 || start == nullptr || last == nullptr || last - start + 1 < n)
        return nullptr;
    const char* const lastPlace = last - n + 1;
    if (tolerance <= 0) {
        for (const char* place = start; place <= lastPlace; ++place) {
            place = static_cast<const char*>(std::memchr(place, block[0], static_cast<size_t>(lastPlace - place + 1)));
            if (place == nullptr)
                return nullptr;
            if (std::memcmp(place, block, static_cast<size_t>(n)) == 0)
                return place;
        }
        return nullptr;
    }
    for (const char* place = start; place <= lastPlace; ++place)
        if (MatchBlockWithMisspellings(block, n, place, tolerance, differences))
            return place;
    return nullptr;
}

int32_t GetOccurrencePos(std::string_view text, int32_t n, std::string_view searched)
{
    if (n == 0)
        return 0;
    if (n == -1)
        return static_cast<int32_t>(text.size()) - 1;
    if (searched.empty())
        return -1;
    int64_t total = 0;
    if (n <= -2) {
        for (size_t p = text.find(searched); p != std::string_view::npos; p = text.find(searched, p + 1))
            ++total;
        if (total == 0)
            return -1;
    }
    const int64_t wanted = n > 0 ? n : std::max<int64_t>(1, total + n + 2);
    int32_t found = -1;
    int64_t seen = 0;
    for (size_t p = text.find(searched); p != std::string_view::npos && seen < wanted; p = text.find(searched, p + 1)) {
        found = static_cast<int32_t>(p);
        ++seen;
    }
    return found;
}

void GetWordListFromText(const std::string& text, TStringList& list, int32_t mode, int32_t first, int32_t last,
                         bool byDelimiter, const std::string& delimiter)
{
    TTraced trace;
    try {
        list.Clear();
        if (text.empty())
            return;
        const int32_t length = static_cast<int32_t>(text.size());
        int32_t rangeStart = 1;
        int32_t rangeEnd = length;
        if (byDelimiter) {
            if (first != 0) {
                const int32_t position = GetOccurrencePos(text, first, delimiter);
                rangeStart = position < 0 ? 1 : position + 1;
            }
            if (last != 0) {
                const int32_t position = GetOccurrencePos(text, last, delimiter);
                rangeEnd = position < 0 ? length : position + 1;
            }
            if (rangeEnd < rangeStart)
                return trace.Raise("The first extracted word is beyond the last extracted word.",
                                   std::to_string(rangeStart), std::to_string(rangeEnd));
        }
        const std::string_view whole = text;
        CollectWords(whole.substr(static_cast<size_t>(rangeStart - 1), static_cast<size_t>(rangeEnd - rangeStart + 1)),
                     mode, list);
        if (!byDelimiter)
            SelectWords(list, first, last, trace);
    }
    TRACED_CATCH(trace)
    if (!trace.Succeeded())
        list.Clear();
}
