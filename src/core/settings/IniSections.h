#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The sections of a settings file in memory, in file order; each line of a section is
// kept as read, its name being the text before the first "=". Sections and named lines
// are found by their names ignoring ASCII case.
//
// A file of many sections loads in time linear in its size: the lines read stay views
// into the one copy of the text, sections and lines lie in two arrays (a section's lines
// chained through them), and the two indexes are open tables sized from a count of the
// lines before reading, so loading allocates per file, not per entry.
class TIniSections
{
public:
    explicit TIniSections(std::string text);
    TIniSections(const TIniSections&) = delete;
    TIniSections& operator=(const TIniSections&) = delete;

    std::string Text() const;
    std::optional<std::string> Find(std::string_view section, std::string_view key) const;
    // The named lines of a section in order, as (name, value).
    std::vector<std::pair<std::string, std::string>> Values(std::string_view section) const;
    void Write(std::string_view section, std::string_view key, std::string_view value);
    void EraseSection(std::string_view section);
    void Clear();

private:
    static constexpr size_t None = static_cast<size_t>(-1);

    // Places of entries by the hash of their folded name: open addressing over a
    // power-of-two table that keeps each entry's hash, so growing reads no names.
    class TFoldedIndex
    {
    public:
        void Reserve(size_t count);
        template <class TIsEntry>
        std::optional<size_t> Find(size_t hash, const TIsEntry& isEntry) const;
        // Adds the place unless an entry of the same name (`isEntry`) is there: then
        // answers that entry's place.
        template <class TIsEntry>
        std::optional<size_t> AddIfNew(size_t hash, size_t place, const TIsEntry& isEntry);
        void Clear();

    private:
        struct TSlot
        {
            size_t Hash = 0;
            size_t Place = None;
        };
        void Grow();

        std::vector<TSlot> Slots;
        size_t Count = 0;
    };

    struct TSection
    {
        std::string_view Name;
        size_t FirstLine = None;
        size_t LastLine = None;
    };
    struct TLine
    {
        std::string_view Text;
        size_t Section = None;
        size_t Next = None;
    };

    void ReserveFor(std::string_view text);
    std::optional<size_t> FindSection(std::string_view name) const;
    std::optional<size_t> FindLine(size_t section, std::string_view key) const;
    // A kept name lies in the loaded text; any other is copied.
    size_t FindOrAddSection(std::string_view name, bool nameIsKept);
    void AddLine(size_t section, std::string_view text);
    void IndexLine(size_t line);
    bool IsLineNamed(size_t line, size_t section, std::string_view key) const;
    // Text written after loading, kept where it does not move.
    std::string_view Keep(std::string text);
    template <class TVisit>
    void ForEachLine(const TSection& section, const TVisit& visit) const;

    std::string Loaded;
    std::deque<std::string> Written;
    std::vector<TSection> Sections;
    std::vector<TLine> Lines;
    TFoldedIndex SectionIndex;
    TFoldedIndex LineIndex;
};
