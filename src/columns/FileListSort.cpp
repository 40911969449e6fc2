#include "columns/FileListSort.h"

#include "core/text/AsciiCase.h"

#include <algorithm>

namespace {

constexpr size_t PrefixBytes = sizeof(uint64_t);

// Eight bytes from `from`, big-endian, zero-padded: names hold no NUL, so a shorter name
// stands first, as the full comparison puts it.
uint64_t PrefixOf(std::string_view text, size_t from, bool folded)
{
    uint64_t prefix = 0;
    for (size_t i = from; i < from + PrefixBytes; ++i) {
        const char c = i < text.size() ? text[i] : '\0';
        prefix = (prefix << 8) | static_cast<unsigned char>(folded ? LowerAscii(c) : c);
    }
    return prefix;
}

// Ascending unsigned order of the result is ascending signed order of the key.
uint64_t AscendingOrder(int64_t key)
{
    return static_cast<uint64_t>(key) ^ (uint64_t{1} << 63);
}

bool IsDescending(TSortKind kind)
{
    return kind == skModifiedNewOld || kind == skCreatedNewOld || kind == skSizeBigSmall;
}

int CompareItems(const TFileListData& a, const TFileListData& b, TSortKind kind)
{
    return CompareSortPlaces(MakeSortPlace(a, kind), MakeSortPlace(b, kind));
}

} // namespace

TSortKind GetSortKind(std::string_view sortMode)
{
    const auto found = std::find(SortModes.begin(), SortModes.end(), sortMode);
    return found == SortModes.end() ? skName : static_cast<TSortKind>(found - SortModes.begin());
}

int64_t GetItemSortKey(const TFileListData& item, TSortKind kind)
{
    switch (kind) {
    case skModifiedNewOld:
    case skModifiedOldNew:
        return static_cast<int64_t>(item.Modified);
    case skCreatedNewOld:
    case skCreatedOldNew:
        return static_cast<int64_t>(item.Created);
    case skSizeBigSmall:
    case skSizeSmallBig:
        return item.Size;
    case skName:
        break;
    }
    return 0;
}

TSortPlace MakeSortPlace(int64_t key, std::string_view text, TSortKind kind)
{
    if (kind == skName)
        return {PrefixOf(text, 0, true), PrefixOf(text, PrefixBytes, true), text, true};
    const uint64_t ascending = AscendingOrder(key);
    return {IsDescending(kind) ? ~ascending : ascending, PrefixOf(text, 0, false), text, false};
}

TSortPlace MakeSortPlace(const TFileListData& item, TSortKind kind, size_t textOffset)
{
    const std::string_view title(item.Title);
    return MakeSortPlace(GetItemSortKey(item, kind), title.substr(std::min(textOffset, title.size())), kind);
}

int CompareSortPlaces(const TSortPlace& a, const TSortPlace& b)
{
    if (a.Order != b.Order)
        return a.Order < b.Order ? -1 : 1;
    if (a.Prefix != b.Prefix)
        return a.Prefix < b.Prefix ? -1 : 1;
    if (a.ByName) {
        // Equal prefixes: both texts are at least that long, or equally long.
        const size_t skip = std::min({2 * PrefixBytes, a.Text.size(), b.Text.size()});
        if (const int folded = CompareTextAscii(a.Text.substr(skip), b.Text.substr(skip)); folded != 0)
            return folded;
    }
    const int bytes = a.Text.compare(b.Text);
    return bytes < 0 ? -1 : bytes > 0 ? 1 : 0;
}

int SortByName(const TFileListData& a, const TFileListData& b)
{
    return CompareItems(a, b, skName);
}

int SortByModifiedNewOld(const TFileListData& a, const TFileListData& b)
{
    return CompareItems(a, b, skModifiedNewOld);
}

int SortByModifiedOldNew(const TFileListData& a, const TFileListData& b)
{
    return CompareItems(a, b, skModifiedOldNew);
}

int SortByCreatedNewOld(const TFileListData& a, const TFileListData& b)
{
    return CompareItems(a, b, skCreatedNewOld);
}

int SortByCreatedOldNew(const TFileListData& a, const TFileListData& b)
{
    return CompareItems(a, b, skCreatedOldNew);
}

int SortBySizeBigSmall(const TFileListData& a, const TFileListData& b)
{
    return CompareItems(a, b, skSizeBigSmall);
}

int SortBySizeSmallBig(const TFileListData& a, const TFileListData& b)
{
    return CompareItems(a, b, skSizeSmallBig);
}
