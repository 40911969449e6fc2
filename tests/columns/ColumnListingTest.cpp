#include "columns/Column.h"
#include "columns/FileListSort.h"

#include "core/errors/Error.h"
#include "core/text/StringList.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"

#include "ColumnTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace {

using TNames = std::vector<std::string>;

// One of each type, named so that the name order is the reverse of the group order.
class ColumnListing : public ColumnTest
{
protected:
    void SetUp() override
    {
        MakeDirectory("f/e-dir");
        MakeFile("f/d-link.lnk", 10);
        MakeFile("f/c-prog.exe", 200);
        MakeFile("f/b-doc.txt", 3000);
        MakeFile("f/a-file.bin", 40000);
    }
};

struct GroupingRow
{
    const char* What;
    bool SeparateDirs, DirsAtEnd, SeparateLinks, SeparateProgs, SeparateDocs, ShowFilesGroup;
    TNames Order;
};

const GroupingRow GroupingRows[] = {
    {"defaults", true, false, true, true, true, true, {"e-dir", "d-link.lnk", "c-prog.exe", "b-doc.txt", "a-file.bin"}},
    {"directories at the end",
     true,
     true,
     true,
     true,
     true,
     true,
     {"d-link.lnk", "c-prog.exe", "b-doc.txt", "a-file.bin", "e-dir"}},
    {"directories at the end, not separate",
     false,
     true,
     true,
     true,
     true,
     true,
     {"d-link.lnk", "c-prog.exe", "b-doc.txt", "a-file.bin", "e-dir"}},
    {"links not separate",
     true,
     false,
     false,
     true,
     true,
     true,
     {"e-dir", "c-prog.exe", "b-doc.txt", "a-file.bin", "d-link.lnk"}},
    {"nothing separate",
     false,
     false,
     false,
     false,
     false,
     true,
     {"a-file.bin", "b-doc.txt", "c-prog.exe", "d-link.lnk", "e-dir"}},
    {"generic files hidden", true, false, true, true, true, false, {"e-dir", "d-link.lnk", "c-prog.exe", "b-doc.txt"}},
};

TEST_F(ColumnListing, EachGroupingOptionGivesItsOrderAndTheCountsStayTheSame)
{
    TColumn& column = MakeColumn();
    for (const GroupingRow& row : GroupingRows) {
        SCOPED_TRACE(row.What);
        ProgramOptions.SeparateDirs = row.SeparateDirs;
        ProgramOptions.DirsAtEnd = row.DirsAtEnd;
        ProgramOptions.SeparateLinks = row.SeparateLinks;
        ProgramOptions.SeparateProgs = row.SeparateProgs;
        ProgramOptions.SeparateDocs = row.SeparateDocs;
        ProgramOptions.ShowFilesGroup = row.ShowFilesGroup;
        column.LoadWithFiles(Drive.Path("f\\a-file.bin"), "Name");
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
        EXPECT_EQ(row.Order, NamesOf(column));
        EXPECT_EQ(1, column.DirsCount);
        EXPECT_EQ(1, column.LinksCount);
        EXPECT_EQ(1, column.ProgramsCount);
        EXPECT_EQ(1, column.DocumentsCount);
        EXPECT_EQ(1, column.GenericCount) << "counted even when hidden";
        EXPECT_EQ(43210, column.TotalSize);
        EXPECT_EQ(0, column.EncryptedCount);
    }
}

TEST_F(ColumnListing, ItemsCarryTheirTypeSizeTitleAndTimes)
{
    TColumn& column = MakeColumn();
    column.LoadWithFiles(Drive.Path("f\\x"), "Name");
    const std::vector<int32_t> types = {ftDirectory, ftLink, ftProgram, ftDocument, ftGeneric};
    const std::vector<int64_t> sizes = {0, 10, 200, 3000, 40000};
    for (int32_t i = 0; i < column.GetItemCount(); ++i) {
        const TFileListData& item = column.GetItem(i);
        SCOPED_TRACE(item.Title);
        EXPECT_EQ(Drive.Path("f\\" + NamesOf(column)[static_cast<size_t>(i)]), item.Title);
        EXPECT_EQ(types[static_cast<size_t>(i)], item.Type);
        EXPECT_EQ(sizes[static_cast<size_t>(i)], item.Size);
        EXPECT_NE(0u, item.Modified);
        EXPECT_NE(0u, item.Created);
        EXPECT_TRUE(item.Exists);
        EXPECT_FALSE(item.Selected);
    }
}

TEST_F(ColumnListing, TheGroupRankFollowsTheOptions)
{
    TColumn& column = MakeColumn();
    EXPECT_EQ(0, column.GetTypeOrder(ftDirectory));
    ProgramOptions.DirsAtEnd = true;
    EXPECT_EQ(6, column.GetTypeOrder(ftDirectory));
    ProgramOptions.SeparateDirs = false;
    EXPECT_EQ(5, column.GetTypeOrder(ftDirectory)) << "at the end means nothing without a group";
    EXPECT_EQ(2, column.GetTypeOrder(ftLink));
    ProgramOptions.SeparateLinks = false;
    EXPECT_EQ(5, column.GetTypeOrder(ftLink));
    EXPECT_EQ(1, column.GetTypeOrder(1));
    EXPECT_EQ(9, column.GetTypeOrder(9));
}

TEST_F(ColumnListing, KeyedModesSortEachGroupWhileDirectoriesStayByName)
{
    MakeDirectory("s/b-dir");
    MakeDirectory("s/A-dir");
    MakeFile("s/small.bin", 1, 30);
    MakeFile("s/b.bin", 500, 20);
    MakeFile("s/B.bin", 500, 20);
    MakeFile("s/big.bin", 9000, 10);
    MakeFile("s/doc.txt", 1, 0);
    TColumn& column = MakeColumn();
    const struct
    {
        const char* Mode;
        TNames Order;
    } rows[] = {
        {"Size, big-small", {"A-dir", "b-dir", "doc.txt", "big.bin", "B.bin", "b.bin", "small.bin"}},
        {"Size, small-big", {"A-dir", "b-dir", "doc.txt", "small.bin", "B.bin", "b.bin", "big.bin"}},
        {"Modified, new-old", {"A-dir", "b-dir", "doc.txt", "big.bin", "B.bin", "b.bin", "small.bin"}},
        {"Modified, old-new", {"A-dir", "b-dir", "doc.txt", "small.bin", "B.bin", "b.bin", "big.bin"}},
        {"Name", {"A-dir", "b-dir", "doc.txt", "B.bin", "b.bin", "big.bin", "small.bin"}},
        {"no such mode", {"A-dir", "b-dir", "doc.txt", "B.bin", "b.bin", "big.bin", "small.bin"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Mode);
        column.LoadWithFiles(Drive.Path("s\\x"), row.Mode);
        EXPECT_EQ(row.Order, NamesOf(column));
    }
}

TEST_F(ColumnListing, DirectoriesOutOfTheirGroupSortByTheModeAmongTheFiles)
{
    MakeDirectory("s/dir");
    MakeFile("s/big.bin", 9000);
    MakeFile("s/one.bin", 1);
    ProgramOptions.SeparateDirs = false;
    TColumn& column = MakeColumn();
    column.LoadWithFiles(Drive.Path("s\\x"), "Size, small-big");
    EXPECT_EQ((TNames{"dir", "one.bin", "big.bin"}), NamesOf(column));
}

// The sort uses keys computed once; it must give the comparators' own order.
TEST_F(ColumnListing, ALargeListingStandsInTheComparatorsOrder)
{
    std::mt19937 random(7);
    const std::string letters = "aAbB_-.~0zZ";
    for (int i = 0; i < 300; ++i) {
        std::string name;
        const size_t length = 1 + random() % 14;
        for (size_t k = 0; k < length; ++k)
            name += letters[random() % letters.size()];
        if (name == "." || name == "..")
            continue;
        MakeFile("m/" + name, random() % 4, static_cast<int>(random() % 3));
    }
    ProgramOptions.SeparateDirs = ProgramOptions.SeparateLinks = ProgramOptions.SeparateProgs =
        ProgramOptions.SeparateDocs = false;
    TColumn& column = MakeColumn();
    const std::vector<std::pair<const char*, int (*)(const TFileListData&, const TFileListData&)>> modes = {
        {"Name", SortByName}, {"Size, big-small", SortBySizeBigSmall}, {"Modified, old-new", SortByModifiedOldNew}};
    for (const auto& [mode, comparator] : modes) {
        SCOPED_TRACE(mode);
        column.LoadWithFiles(Drive.Path("m\\x"), mode);
        ASSERT_GT(column.GetItemCount(), 100);
        for (int32_t i = 1; i < column.GetItemCount(); ++i)
            ASSERT_LT(comparator(column.GetItem(i - 1), column.GetItem(i)), 0)
                << column.GetItem(i - 1).Title << " before " << column.GetItem(i).Title;
    }
}

TEST_F(ColumnListing, AnEmptyDirectoryHoldsThePlaceholderWithoutFailing)
{
    MakeDirectory("empty");
    TColumn& column = MakeColumn();
    column.LoadWithFiles(Drive.Path("f\\a-file.bin"), "Name");
    column.LoadWithFiles(Drive.Path("empty\\gone.txt"), "Name");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_TRUE(column.FileList->Empty);
    EXPECT_EQ(0, column.GetItemCount());
    EXPECT_EQ(0, column.DirsCount + column.LinksCount + column.ProgramsCount + column.DocumentsCount +
                     column.GenericCount);
    EXPECT_EQ(0, column.TotalSize);
}

TEST_F(ColumnListing, ADriveNameOrAnEmptyTitleListsTheDrivesInLetterOrder)
{
    TTempDrive other('R');
    TColumn& column = MakeColumn();
    for (const std::string title : {"", "T:"}) {
        SCOPED_TRACE("title \"" + title + "\"");
        column.LoadWithFiles(Drive.Path("f\\a-file.bin"), "Name");
        column.LoadWithFiles(title, "Size, big-small");
        const TNames names = NamesOf(column);
        EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
        EXPECT_NE(names.end(), std::find(names.begin(), names.end(), "R:"));
        EXPECT_NE(names.end(), std::find(names.begin(), names.end(), "T:"));
        EXPECT_EQ(ftDirectory, column.GetItem(0).Type);
        EXPECT_EQ(0, column.DirsCount) << "drives are not counted";
        EXPECT_EQ(0, column.TotalSize);
    }
    column.LoadWithFiles("T:\\f", "Name");
    EXPECT_EQ((TNames{"f"}), NamesOf(column)) << "an item right under a root lists the root";
}

TEST_F(ColumnListing, AFolderThatCannotBeOpenedFailsWithThePatternAndLeavesNothing)
{
    TColumn& column = MakeColumn();
    column.LoadWithFiles(Drive.Path("f\\a-file.bin"), "Name");
    host::InjectFault(host::HostCall::List, host::ERROR_ACCESS_DENIED);
    column.LoadWithFiles(Drive.Path("f\\a-file.bin"), "Name");
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Failed to first find file.", FunStatContext.Description);
    EXPECT_EQ(Drive.Path("f\\*"), FunStatContext.Parameter1);
    EXPECT_EQ(host::ERROR_ACCESS_DENIED, FunStatContext.SystemErrorCode);
    EXPECT_TRUE(column.FileList->Empty);
    EXPECT_EQ(0, column.DirsCount + column.GenericCount);
    EXPECT_EQ(0, column.TotalSize);
}

TEST_F(ColumnListing, AFailureAfterTheFirstEntryEmptiesTheListAndItsCounts)
{
    TColumn& column = MakeColumn();
    host::InjectFault(host::HostCall::ListNext, host::ERROR_IO_DEVICE, 2);
    column.LoadWithFiles(Drive.Path("f\\a-file.bin"), "Name");
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Failed to find next file.", FunStatContext.Description);
    EXPECT_EQ(Drive.Path("f\\"), FunStatContext.Parameter1);
    EXPECT_EQ(host::ERROR_IO_DEVICE, FunStatContext.SystemErrorCode);
    EXPECT_TRUE(column.FileList->Empty);
    EXPECT_EQ(0,
              column.DirsCount + column.LinksCount + column.ProgramsCount + column.DocumentsCount + column.GenericCount)
        << "the counts describe what the list shows";
    EXPECT_EQ(0, column.TotalSize);
}

TEST_F(ColumnListing, AListOfPathsKeepsItsOrderAndListsWhatIsMissing)
{
    TColumn& column = MakeColumn();
    TStringList paths;
    paths.Add(Drive.Path("f\\a-file.bin"));
    paths.Add(Drive.Path("f\\missing.txt"));
    paths.Add(Drive.Path("f\\e-dir"));
    paths.Add(Drive.Path("f\\b-doc.txt"));
    ProgramOptions.ShowFilesGroup = false;
    column.SetWithList(paths, true);
    EXPECT_EQ(fsPerfect, FunStatContext.Status) << "a missing path is no failure";
    EXPECT_EQ((TNames{"a-file.bin", "missing.txt", "e-dir", "b-doc.txt"}), NamesOf(column));
    const TFileListData& missing = column.GetItem(1);
    EXPECT_FALSE(missing.Exists);
    EXPECT_EQ(ftDocument, missing.Type);
    EXPECT_EQ(0, missing.Size);
    EXPECT_EQ(ftDirectory, column.GetItem(2).Type);
    EXPECT_EQ(2, column.DocumentsCount);
    EXPECT_EQ(1, column.GenericCount);
    EXPECT_EQ(1, column.DirsCount);
    EXPECT_EQ(43000, column.TotalSize);
    EXPECT_EQ(4, column.SelectedCount);
    EXPECT_EQ(43000, column.SelectedSize);
    EXPECT_TRUE(column.IsSynchronizedWith(paths));
}

TEST_F(ColumnListing, AContainerListsItsEntriesInItsOrderWithTheirNumbers)
{
    TContainer container(3);
    container.AddItem(Drive.Path("f\\c-prog.exe"), 4);
    container.AddItem(Drive.Path("f\\a-file.bin"), 0);
    TColumn& column = MakeColumn();
    column.SetWithContainer(&container);
    EXPECT_EQ((TNames{"c-prog.exe", "a-file.bin"}), NamesOf(column));
    EXPECT_EQ(4, column.GetItem(0).ItemNumber);
    EXPECT_EQ(0, column.SelectedCount);
    EXPECT_EQ(40200, column.TotalSize);
}

TEST_F(ColumnListing, SynchronizationComparesTitlesWithTheirCase)
{
    TColumn& column = MakeColumn();
    TStringList none;
    column.ClearList();
    EXPECT_TRUE(column.IsSynchronizedWith(none));
    TStringList paths;
    paths.Add(Drive.Path("f\\a-file.bin"));
    column.SetWithList(paths, false);
    EXPECT_TRUE(column.IsSynchronizedWith(paths));
    EXPECT_FALSE(column.IsSynchronizedWith(none));
    TStringList upper;
    upper.Add(Drive.Path("f\\A-FILE.BIN"));
    EXPECT_FALSE(column.IsSynchronizedWith(upper));
}

} // namespace
