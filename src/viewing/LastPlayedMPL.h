#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class QMenu;
class TStoredTextList;

// The thirty play lists and media folders played last, oldest first, each with the item
// and the device position where it was left. Files compare without regard to case.
class TLastPlayedMPL
{
public:
    static constexpr int32_t MaxCount = 30;

    int32_t Count = 0;
    std::array<std::string, MaxCount> Files;
    std::array<std::string, MaxCount> LastTitles;
    std::array<int32_t, MaxCount> LastPositions{};
    // A click in the recent menu: the entry's file, last title and position.
    std::function<void(const std::string& file, const std::string& lastTitle, int32_t position)> OnSelect;

    // Makes the file the newest entry, keeping the title and position of an older entry of
    // it, and returns its index; -1 for an empty file, a drive name or the newest entry.
    int32_t Add(const std::string& file);
    // Removes every entry of the file.
    void Remove(const std::string& file);
    // The newest entry's title and position; nothing without entries.
    void SetLastPosition(const std::string& title, int32_t position);
    // Fills the menu with one item per entry, newest first. Traced.
    void Setup(QMenu& menu);
    // The sections "LastPlayedMPL_MPL", "LastPlayedMPL_LastTitle" and
    // "LastPlayedMPL_LastPosition" of the option file.
    void Load(TStoredTextList& store);
    void Save(TStoredTextList& store) const;

private:
    void RemoveAt(int32_t index);
};
