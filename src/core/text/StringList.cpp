#include "core/text/StringList.h"

#include "core/errors/Traced.h"
#include "core/text/AsciiCase.h"

#include <algorithm>

const TStringList::TItem& TStringList::ItemAt(int32_t index) const
{
    if (index < 0 || index >= Count())
        throw EError("List index out of bounds (" + std::to_string(index) + ")");
    return Items[static_cast<size_t>(index)];
}

const std::string& TStringList::operator[](int32_t index) const
{
    return ItemAt(index).Text;
}

intptr_t TStringList::Objects(int32_t index) const
{
    return ItemAt(index).Object;
}

void TStringList::SetObject(int32_t index, intptr_t object)
{
    ItemAt(index);
    Items[static_cast<size_t>(index)].Object = object;
}

void TStringList::SetSorted(bool sorted)
{
    if (sorted && !IsSorted)
        std::stable_sort(Items.begin(), Items.end(),
                         [](const TItem& a, const TItem& b) { return LessTextAscii(a.Text, b.Text); });
    IsSorted = sorted;
}

int32_t TStringList::Add(const std::string& text, intptr_t object)
{
    int32_t index = Count();
    if (IsSorted)
        Find(text, index);
    Items.insert(Items.begin() + index, TItem{text, object});
    return index;
}

void TStringList::Delete(int32_t index)
{
    ItemAt(index);
    Items.erase(Items.begin() + index);
}

int32_t TStringList::IndexOf(std::string_view text) const
{
    if (IsSorted) {
        int32_t index = -1;
        return Find(text, index) ? index : -1;
    }
    const auto found =
        std::find_if(Items.begin(), Items.end(), [&](const TItem& item) { return SameTextAscii(item.Text, text); });
    return found == Items.end() ? -1 : static_cast<int32_t>(found - Items.begin());
}

bool TStringList::Find(std::string_view text, int32_t& index) const
{
    const auto place = std::lower_bound(Items.begin(), Items.end(), text, [](const TItem& item, std::string_view key) {
        return CompareTextAscii(item.Text, key) < 0;
    });
    index = static_cast<int32_t>(place - Items.begin());
    return place != Items.end() && SameTextAscii(place->Text, text);
}
