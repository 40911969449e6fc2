#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A list of texts, each with an object slot for a small value of its owner's, kept in
// order of addition or sorted. Searches ignore the case of ASCII letters. An index out
// of range throws EError.
class TStringList
{
public:
    int32_t Count() const { return static_cast<int32_t>(Items.size()); }
    const std::string& operator[](int32_t index) const;
    intptr_t Objects(int32_t index) const;
    void SetObject(int32_t index, intptr_t object);

    bool Sorted() const { return IsSorted; }
    // Turning sorting on sorts the items.
    void SetSorted(bool sorted);

    // Appends, or on a sorted list inserts at the item's place; gives the index.
    int32_t Add(const std::string& text, intptr_t object = 0);
    void Delete(int32_t index);
    void Clear() { Items.clear(); }

    // The index of an item equal to the text, or -1; binary search on a sorted list.
    int32_t IndexOf(std::string_view text) const;
    // Binary search of a sorted list: true with the item's index, or false with the index
    // where it would be inserted.
    bool Find(std::string_view text, int32_t& index) const;

private:
    struct TItem
    {
        std::string Text;
        intptr_t Object = 0;
    };
    const TItem& ItemAt(int32_t index) const;
    std::vector<TItem> Items;
    bool IsSorted = false;
};
