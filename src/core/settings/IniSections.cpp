#include "core/settings/IniSections.h"

#include "core/text/AsciiCase.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr std::string_view LineEnd = "\r\n";

// FNV-1a over the name's folded bytes, then mixed so that the low bits a power-of-two
// table uses depend on every byte.
size_t FoldedHash(std::string_view name, size_t seed = 0)
{
    uint64_t hash = 0xCBF29CE484222325ULL ^ seed;
    for (const char c : name)
        hash = (hash ^ static_cast<unsigned char>(LowerAscii(c))) * 0x100000001B3ULL;
    hash ^= hash >> 33;
    hash *= 0xFF51AFD7ED558CCDULL;
    hash ^= hash >> 33;
    return static_cast<size_t>(hash);
}

size_t LineHash(size_t section, std::string_view name)
{
    return FoldedHash(name, section * 0x9E3779B97F4A7C15ULL);
}

// A UTF-8 byte-order mark in front of the first section is no part of its name.
std::string_view WithoutByteOrderMark(std::string_view text)
{
    constexpr std::string_view Mark = "\xEF\xBB\xBF";
    return text.starts_with(Mark) ? text.substr(Mark.size()) : text;
}

bool IsLineBreak(char c)
{
    return c == '\r' || c == '\n';
}

// The line at `start`, which moves past its break (CR LF, CR or LF).
std::string_view NextLine(std::string_view text, size_t& start)
{
    const auto begin = text.begin() + static_cast<std::ptrdiff_t>(start);
    const size_t end = static_cast<size_t>(std::find_if(begin, text.end(), IsLineBreak) - text.begin());
    const std::string_view line = text.substr(start, end - start);
    start = end + (text.substr(end).starts_with("\r\n") ? 2 : 1);
    return line;
}

bool IsSectionLine(std::string_view line)
{
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

// The name of a line "name=value"; nothing for a line without "=".
std::optional<std::string_view> LineName(std::string_view line)
{
    const size_t equals = line.find('=');
    return equals == std::string_view::npos ? std::nullopt : std::optional(line.substr(0, equals));
}

} // namespace

void TIniSections::TFoldedIndex::Reserve(size_t count)
{
    size_t size = 16;
    while (size < 2 * count)
        size *= 2;
    if (size > Slots.size()) {
        std::vector<TSlot> old = std::exchange(Slots, std::vector<TSlot>(size));
        Count = 0;
        for (const TSlot& slot : old)
            if (slot.Place != None)
                AddIfNew(slot.Hash, slot.Place, [](size_t) { return false; });
    }
}

template <class TIsEntry>
std::optional<size_t> TIniSections::TFoldedIndex::Find(size_t hash, const TIsEntry& isEntry) const
{
    if (Slots.empty())
        return std::nullopt;
    const size_t mask = Slots.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const TSlot& slot = Slots[i];
        if (slot.Place == None)
            return std::nullopt;
        if (slot.Hash == hash && isEntry(slot.Place))
            return slot.Place;
    }
}

template <class TIsEntry>
std::optional<size_t> TIniSections::TFoldedIndex::AddIfNew(size_t hash, size_t place, const TIsEntry& isEntry)
{
    // At most half full, so a search meets an empty slot soon.
    if (2 * (Count + 1) > Slots.size())
        Reserve(Count + 1);
    const size_t mask = Slots.size() - 1;
    size_t i = hash & mask;
    for (; Slots[i].Place != None; i = (i + 1) & mask)
        if (Slots[i].Hash == hash && isEntry(Slots[i].Place))
            return Slots[i].Place;
    Slots[i] = TSlot{hash, place};
    ++Count;
    return std::nullopt;
}

void TIniSections::TFoldedIndex::Clear()
{
    Slots.clear();
    Count = 0;
}

TIniSections::TIniSections(std::string text) : Loaded(std::move(text))
{
    const std::string_view content = WithoutByteOrderMark(Loaded);
    ReserveFor(content);
    std::optional<size_t> current;
    for (size_t start = 0; start < content.size();) {
        const std::string_view line = NextLine(content, start);
        if (line.empty() || line.front() == ';')
            continue;
        if (IsSectionLine(line))
            current = FindOrAddSection(line.substr(1, line.size() - 2), true);
        else if (current)
            AddLine(*current, line);
    }
}

// Every line is at most one section or one line of one: the arrays and indexes sized
// from those counts are never grown while the file is read.
void TIniSections::ReserveFor(std::string_view text)
{
    size_t lines = 0;
    size_t sections = 0;
    for (size_t start = 0; start < text.size();) {
        const std::string_view line = NextLine(text, start);
        ++lines;
        sections += IsSectionLine(line) ? 1 : 0;
    }
    Sections.reserve(sections);
    SectionIndex.Reserve(sections);
    Lines.reserve(lines - sections);
    LineIndex.Reserve(lines - sections);
}

template <class TVisit>
void TIniSections::ForEachLine(const TSection& section, const TVisit& visit) const
{
    for (size_t line = section.FirstLine; line != None; line = Lines[line].Next)
        visit(Lines[line].Text);
}

std::string TIniSections::Text() const
{
    size_t size = 0;
    for (const TSection& section : Sections) {
        size += section.Name.size() + 2 + 2 * LineEnd.size();
        ForEachLine(section, [&](std::string_view line) { size += line.size() + LineEnd.size(); });
    }
    std::string text;
    text.reserve(size);
    for (const TSection& section : Sections) {
        text.append("[").append(section.Name).append("]").append(LineEnd);
        ForEachLine(section, [&](std::string_view line) { text.append(line).append(LineEnd); });
        text.append(LineEnd);
    }
    return text;
}

std::optional<std::string> TIniSections::Find(std::string_view section, std::string_view key) const
{
    if (const std::optional<size_t> place = FindSection(section))
        if (const std::optional<size_t> line = FindLine(*place, key))
            return std::string(Lines[*line].Text.substr(key.size() + 1));
    return std::nullopt;
}

std::vector<std::pair<std::string, std::string>> TIniSections::Values(std::string_view section) const
{
    std::vector<std::pair<std::string, std::string>> values;
    if (const std::optional<size_t> place = FindSection(section))
        ForEachLine(Sections[*place], [&](std::string_view line) {
            if (const std::optional<std::string_view> name = LineName(line))
                values.emplace_back(*name, line.substr(name->size() + 1));
        });
    return values;
}

void TIniSections::Write(std::string_view section, std::string_view key, std::string_view value)
{
    const size_t place = FindOrAddSection(section, false);
    std::string newLine;
    newLine.reserve(key.size() + 1 + value.size());
    newLine.append(key).append("=").append(value);
    if (const std::optional<size_t> line = FindLine(place, key))
        Lines[*line].Text = Keep(std::move(newLine));
    else
        AddLine(place, Keep(std::move(newLine)));
}

void TIniSections::EraseSection(std::string_view section)
{
    std::erase_if(Sections, [&](const TSection& kept) { return SameTextAscii(kept.Name, section); });
    // The sections behind the erased ones moved: index them and their lines anew.
    SectionIndex.Clear();
    LineIndex.Clear();
    for (size_t place = 0; place < Sections.size(); ++place) {
        SectionIndex.AddIfNew(FoldedHash(Sections[place].Name), place, [](size_t) { return false; });
        for (size_t line = Sections[place].FirstLine; line != None; line = Lines[line].Next) {
            Lines[line].Section = place;
            IndexLine(line);
        }
    }
}

void TIniSections::Clear()
{
    Sections.clear();
    Lines.clear();
    Written.clear();
    SectionIndex.Clear();
    LineIndex.Clear();
}

std::optional<size_t> TIniSections::FindSection(std::string_view name) const
{
    return SectionIndex.Find(FoldedHash(name),
                             [&](size_t place) { return SameTextAscii(Sections[place].Name, name); });
}

std::optional<size_t> TIniSections::FindLine(size_t section, std::string_view key) const
{
    return LineIndex.Find(LineHash(section, key), [&](size_t line) { return IsLineNamed(line, section, key); });
}

size_t TIniSections::FindOrAddSection(std::string_view name, bool nameIsKept)
{
    const size_t place = Sections.size();
    const std::optional<size_t> found = SectionIndex.AddIfNew(
        FoldedHash(name), place, [&](size_t section) { return SameTextAscii(Sections[section].Name, name); });
    if (found)
        return *found;
    Sections.push_back(TSection{nameIsKept ? name : Keep(std::string(name))});
    return place;
}

void TIniSections::AddLine(size_t section, std::string_view text)
{
    const size_t line = Lines.size();
    Lines.push_back(TLine{text, section});
    TSection& owner = Sections[section];
    if (owner.LastLine == None)
        owner.FirstLine = line;
    else
        Lines[owner.LastLine].Next = line;
    owner.LastLine = line;
    IndexLine(line);
}

// The first line of a name answers for it; a later one of the same name is kept unindexed.
void TIniSections::IndexLine(size_t line)
{
    const size_t section = Lines[line].Section;
    if (const std::optional<std::string_view> name = LineName(Lines[line].Text))
        LineIndex.AddIfNew(LineHash(section, *name), line, [&](size_t other) { return IsLineNamed(other, section, *name); });
}

bool TIniSections::IsLineNamed(size_t line, size_t section, std::string_view key) const
{
    const std::optional<std::string_view> name = LineName(Lines[line].Text);
    return Lines[line].Section == section && name && SameTextAscii(*name, key);
}

std::string_view TIniSections::Keep(std::string text)
{
    return Written.emplace_back(std::move(text));
}
