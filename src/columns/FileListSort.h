#pragma once

#include "columns/FileListData.h"

#include <cstdint>
#include <string>
#include <string_view>

// The orders of the sort modes. Each compares a key first: the title without regard to
// case (only A..Z and a..z fold), or the modification time, creation time or size as a
// signed 64-bit number. Ties are broken by the titles' bytes, unsigned, a prefix first,
// so that names differing only in case ("a.txt", "A.txt") always stand in one order.

enum TSortKind : int32_t
{
    skName,
    skModifiedNewOld,
    skModifiedOldNew,
    skCreatedNewOld,
    skCreatedOldNew,
    skSizeBigSmall,
    skSizeSmallBig
};

TSortKind GetSortKind(std::string_view sortMode);
// The item's key under the sort kind: Modified, Created or Size; 0 under "Name".
int64_t GetItemSortKey(const TFileListData& item, TSortKind kind);

// An item's place in an order, computed once, so that a sort compares whole numbers and
// reads the texts only on a tie. The text is a view into the title.
struct TSortPlace
{
    // Compared first, unsigned: the key turned so that the wanted order is ascending, or by
    // name the first eight folded bytes of the text.
    uint64_t Order = 0;
    // Compared next: the text's first eight bytes, or by name its next eight folded bytes.
    uint64_t Prefix = 0;
    std::string_view Text;
    bool ByName = true;
};

// Only the title's bytes from `textOffset` on are compared; the titles of one folder
// share their folder's part, so a listing compares the names alone.
TSortPlace MakeSortPlace(int64_t key, std::string_view text, TSortKind kind);
TSortPlace MakeSortPlace(const TFileListData& item, TSortKind kind, size_t textOffset = 0);
// Negative when a stands first.
int CompareSortPlaces(const TSortPlace& a, const TSortPlace& b);

int SortByName(const TFileListData& a, const TFileListData& b);
int SortByModifiedNewOld(const TFileListData& a, const TFileListData& b);
int SortByModifiedOldNew(const TFileListData& a, const TFileListData& b);
int SortByCreatedNewOld(const TFileListData& a, const TFileListData& b);
int SortByCreatedOldNew(const TFileListData& a, const TFileListData& b);
int SortBySizeBigSmall(const TFileListData& a, const TFileListData& b);
int SortBySizeSmallBig(const TFileListData& a, const TFileListData& b);
