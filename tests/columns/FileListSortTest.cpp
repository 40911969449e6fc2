#include "columns/FileListSort.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

TFileListData Item(const std::string& title, int64_t size = 0, uint64_t modified = 0, uint64_t created = 0)
{
    TFileListData item;
    item.Title = title;
    item.Size = size;
    item.Modified = modified;
    item.Created = created;
    return item;
}

struct ComparatorRow
{
    const char* Mode;
    TFileListData A;
    TFileListData B;
    // Negative: A stands first.
    int Expected;
};

const uint64_t Negative = uint64_t{1} << 63;

const ComparatorRow ComparatorRows[] = {
    {"Name", Item("C:\\d\\a.txt"), Item("C:\\d\\B.txt"), -1},
    {"Name", Item("C:\\d\\A.txt"), Item("C:\\d\\a.txt"), -1},
    {"Name", Item("C:\\d\\a.txt"), Item("C:\\d\\A.txt"), 1},
    {"Name", Item("C:\\d\\a.txt"), Item("C:\\d\\a.txt"), 0},
    {"Name", Item("C:\\d\\a"), Item("C:\\d\\a.txt"), -1},
    {"Name", Item("C:\\d\\_x"), Item("C:\\d\\Ax"), -1},
    {"Name", Item("C:\\d\\z"), Item("C:\\d\\\xC3\xA9"), -1},
    {"Name", Item("C:\\d\\photo-0010.jpg"), Item("C:\\d\\PHOTO-0009.jpg"), 1},
    {"Name", Item("C:\\d\\Photo-0009.jpg"), Item("C:\\d\\photo-0009.jpg"), -1},
    {"Name", Item("C:\\d\\a", 1), Item("C:\\d\\b", 9), -1},
    {"name", Item("C:\\d\\a", 1), Item("C:\\d\\b", 9), -1},
    {"Size, big-small ", Item("C:\\d\\a", 1), Item("C:\\d\\b", 9), -1},
    {"", Item("C:\\d\\b", 9), Item("C:\\d\\a", 1), 1},
    {"Size, big-small", Item("C:\\d\\a", 1), Item("C:\\d\\b", 9), 1},
    {"Size, big-small", Item("C:\\d\\b", 5), Item("C:\\d\\B", 5), 1},
    {"Size, small-big", Item("C:\\d\\a", 1), Item("C:\\d\\b", 9), -1},
    {"Size, small-big", Item("C:\\d\\b", 5), Item("C:\\d\\B", 5), 1},
    {"Size, small-big", Item("C:\\d\\ab", 5), Item("C:\\d\\a", 5), 1},
    {"Modified, new-old", Item("C:\\d\\a", 0, 10), Item("C:\\d\\b", 0, 20), 1},
    {"Modified, new-old", Item("C:\\d\\a", 0, 10), Item("C:\\d\\A", 0, 10), 1},
    {"Modified, new-old", Item("C:\\d\\a", 0, Negative), Item("C:\\d\\b", 0, 1), 1},
    {"Modified, old-new", Item("C:\\d\\a", 0, 10), Item("C:\\d\\b", 0, 20), -1},
    {"Modified, old-new", Item("C:\\d\\a", 0, Negative), Item("C:\\d\\b", 0, 1), -1},
    {"Created, new-old", Item("C:\\d\\a", 0, 99, 10), Item("C:\\d\\b", 0, 1, 20), 1},
    {"Created, old-new", Item("C:\\d\\a", 0, 99, 10), Item("C:\\d\\b", 0, 1, 20), -1},
    {"Created, old-new", Item("C:\\d\\\xC3\xA9", 0, 0, 7), Item("C:\\d\\z", 0, 0, 7), 1},
};

int Sign(int value)
{
    return (value > 0) - (value < 0);
}

// Each mode orders by its key and breaks every tie by the titles' bytes, "Name" included;
// any text that is not one of the seven sorts as "Name".
TEST(FileListSort, ComparatorsOrderByTheirKeyThenByBytes)
{
    for (const ComparatorRow& row : ComparatorRows) {
        SCOPED_TRACE(std::string(row.Mode) + ": " + row.A.Title + " vs " + row.B.Title);
        const TSortKind kind = GetSortKind(row.Mode);
        EXPECT_EQ(row.Expected, Sign(CompareSortPlaces(MakeSortPlace(row.A, kind), MakeSortPlace(row.B, kind))));
        EXPECT_EQ(-row.Expected, Sign(CompareSortPlaces(MakeSortPlace(row.B, kind), MakeSortPlace(row.A, kind))));
    }
}

TEST(FileListSort, TheNamedComparatorsAreTheModes)
{
    const TFileListData a = Item("C:\\a", 1, 2, 3);
    const TFileListData b = Item("C:\\b", 3, 2, 1);
    EXPECT_LT(SortByName(a, b), 0);
    EXPECT_GT(SortBySizeBigSmall(a, b), 0);
    EXPECT_LT(SortBySizeSmallBig(a, b), 0);
    EXPECT_LT(SortByModifiedNewOld(a, b), 0) << "equal times: by bytes";
    EXPECT_LT(SortByModifiedOldNew(a, b), 0);
    EXPECT_LT(SortByCreatedNewOld(a, b), 0);
    EXPECT_GT(SortByCreatedOldNew(a, b), 0);
}

TEST(FileListSort, ModesAreKnownOnlyByTheirExactText)
{
    for (size_t i = 0; i < SortModes.size(); ++i)
        EXPECT_EQ(static_cast<TSortKind>(i), GetSortKind(SortModes[i]));
    EXPECT_EQ(skName, GetSortKind("size, big-small"));
    EXPECT_EQ(skName, GetSortKind("Size,big-small"));
    EXPECT_EQ(0, GetItemSortKey(Item("C:\\a", 5, 6, 7), skName));
    EXPECT_EQ(7, GetItemSortKey(Item("C:\\a", 5, 6, 7), skCreatedOldNew));
}

} // namespace
