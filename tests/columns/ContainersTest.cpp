#include "columns/Containers.h"

#include "core/errors/Error.h"
#include "core/errors/Traced.h"
#include "core/text/MyMath.h"

#include "support/ShownFailures.h"
#include "support/TestSupport.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using TPaths = std::vector<std::string>;

// The program's containers folder, as the main window creates it at start-up.
class ContainerFiles : public testing::Test
{
protected:
    void SetUp() override { std::filesystem::create_directories(Folder); }

    void WriteFile(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(Folder + "/" + name, std::ios::binary) << bytes;
    }
    std::string ReadFile(const std::string& name) const
    {
        std::ostringstream bytes;
        bytes << std::ifstream(Folder + "/" + name, std::ios::binary).rdbuf();
        return bytes.str();
    }
    bool Exists(const std::string& name) const { return std::filesystem::exists(Folder + "/" + name); }

    static TPaths PathsOf(const TContainer& container)
    {
        TPaths paths;
        for (const TContainerItem& entry : container.Items())
            paths.push_back(entry.Path);
        return paths;
    }

    const std::string Folder = TestRootHostPath() + "/program/Options/Containers";
};

TEST_F(ContainerFiles, SaveWritesEachPathWithCrLfAndLoadGivesThemBackNumberless)
{
    TContainer saved(0);
    saved.AddItem("C:\\a.txt", 7);
    saved.AddItem("D:\\dir", 0);
    saved.Save();
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ("C:\\a.txt\r\nD:\\dir\r\n", ReadFile("01.txt"));

    TContainer loaded(0);
    loaded.Load();
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ((TPaths{"C:\\a.txt", "D:\\dir"}), PathsOf(loaded));
    for (const TContainerItem& entry : loaded.Items())
        EXPECT_EQ(0, entry.Data.ItemNumber) << entry.Path;

    TContainer empty(19);
    empty.Save();
    EXPECT_EQ(0u, ReadFile("20.txt").size());
    empty.Load();
    EXPECT_EQ(0, empty.Count());
}

struct ReadRow
{
    std::string Bytes;
    TPaths Entries;
};

TEST_F(ContainerFiles, ReadingSplitsAtAnyBreakSkipsEmptyLinesAndDrivesAndStopsAtNul)
{
    const ReadRow rows[] = {
        {"", {}},
        {std::string("a\r\r\nb"), {"a", "b"}},
        {"a\nb\rc\r\n", {"a", "b", "c"}},
        {"C:\\x\r\nC:\\y", {"C:\\x", "C:\\y"}},
        {"C:\r\nC:\\\r\n\r\n", {"C:\\"}},
        {" C:\\lead\t\r\nC:\\trail \r\n", {" C:\\lead\t", "C:\\trail "}},
        {std::string("C:\\a\r\nC:\\b\0C:\\c\r\nC:\\d\r\n", 22), {"C:\\a", "C:\\b"}},
        {std::string("\0C:\\a\r\n", 7), {}},
        {"C:\\same\r\nC:\\same\r\n", {"C:\\same", "C:\\same"}},
    };
    for (const ReadRow& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.Bytes));
        WriteFile("05.txt", row.Bytes);
        TContainer container(4);
        container.Load();
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
        EXPECT_EQ(row.Entries, PathsOf(container));
    }
}

TEST_F(ContainerFiles, LoadAppendsToTheEntriesHeld)
{
    WriteFile("03.txt", "C:\\from file\r\n");
    TContainer container(2);
    container.AddItem("C:\\held", 4);
    container.Load();
    EXPECT_EQ((TPaths{"C:\\held", "C:\\from file"}), PathsOf(container));
    EXPECT_EQ(4, container.Items()[0].Data.ItemNumber);
}

TEST_F(ContainerFiles, AMissingFileHoldsNoEntriesAndIsWrittenAtTheSave)
{
    TContainer container(8);
    container.AddItem("C:\\held", 0);
    container.Load();
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ((TPaths{"C:\\held"}), PathsOf(container));
    container.Save();
    EXPECT_EQ("C:\\held\r\n", ReadFile("09.txt"));
}

// The file may hold what the user gathered: after a failed read it is never replaced.
TEST_F(ContainerFiles, AFileThatCannotBeReadFailsTheLoadAndIsNeverRewritten)
{
    const host::HostCall calls[] = {host::HostCall::Open, host::HostCall::Read};
    for (const host::HostCall call : calls) {
        SCOPED_TRACE(static_cast<int>(call));
        WriteFile("09.txt", "C:\\x\r\n");
        TContainer container(8);
        container.AddItem("C:\\held", 0);
        host::InjectFault(call, host::ERROR_ACCESS_DENIED);
        container.Load();
        EXPECT_EQ(fsError, FunStatContext.Status);
        EXPECT_EQ(0u, FunStatContext.Description.rfind("Unhandled exception: ", 0)) << FunStatContext.Description;
        EXPECT_NE(std::string::npos, FunStatContext.Description.find("09.txt"));
        EXPECT_EQ((TPaths{"C:\\held"}), PathsOf(container));

        container.Save();
        EXPECT_EQ("C:\\x\r\n", ReadFile("09.txt"));
        container.Load();
        container.Save();
        EXPECT_EQ("C:\\held\r\nC:\\x\r\n", ReadFile("09.txt")) << "a file read again is written again";
    }
}

TEST_F(ContainerFiles, LoadingAllReportsTheFileThatFailsAndReadsTheOthers)
{
    for (int32_t number = 1; number <= ContainerCount; ++number)
        WriteFile(IntToDigitsText(number, 2) + ".txt", "C:\\c" + std::to_string(number) + "\r\n");
    TContainers containers;
    TModalScript script;
    TShownFailures failures;
    failures.Expect(script, "Error");
    host::InjectFault(host::HostCall::Open, host::ERROR_ACCESS_DENIED, 4);
    containers.LoadAll();
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_NE(std::string::npos, failures.Reports[0].find("Failed to load containers.")) << failures.Reports[0];
    EXPECT_NE(std::string::npos, failures.Reports[0].find("05.txt")) << failures.Reports[0];
    EXPECT_EQ(0, containers.Find(4)->Count());
    EXPECT_EQ((TPaths{"C:\\c4"}), PathsOf(*containers.Find(3)));
    EXPECT_EQ((TPaths{"C:\\c20"}), PathsOf(*containers.Find(19)));

    containers.SaveAll();
    EXPECT_EQ("C:\\c5\r\n", ReadFile("05.txt"));
}

TEST_F(ContainerFiles, AFailedSaveLeavesTheOldFileWholeAndTheEntriesInMemory)
{
    WriteFile("02.txt", "C:\\old\r\n");
    TContainer container(1);
    container.AddItem("C:\\new", 0);
    host::InjectFault(host::HostCall::Write, host::ERROR_DISK_FULL);
    container.Save();
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ(0u, FunStatContext.Description.rfind("Unhandled exception: ", 0)) << FunStatContext.Description;
    EXPECT_EQ("C:\\old\r\n", ReadFile("02.txt"));
    EXPECT_EQ((TPaths{"C:\\new"}), PathsOf(container));
}

TEST_F(ContainerFiles, TheTwentyContainersAreFoundOnlyByTheirOwnNumbers)
{
    TContainers containers;
    for (const int32_t number : {-1, 20, 21, -2147483647 - 1, 2147483647})
        EXPECT_EQ(nullptr, containers.Find(number)) << number;
    for (const int32_t number : {0, 19}) {
        ASSERT_NE(nullptr, containers.Find(number));
        EXPECT_EQ(number, containers.Find(number)->Index());
        EXPECT_EQ("", containers.Find(number)->Name);
    }
    EXPECT_EQ("01.txt", containers.Find(0)->GetFileName());
    EXPECT_EQ("07.txt", containers.Find(6)->GetFileName());
    EXPECT_EQ("20.txt", containers.Find(19)->GetFileName());
}

TEST_F(ContainerFiles, SavingAllRewritesEveryFileAndReportsTheOnesThatFail)
{
    TContainers containers;
    containers.Find(0)->AddItem("C:\\found", 3);
    containers.Find(1)->AddItem("C:\\kept", 0);
    WriteFile("20.txt", "C:\\stale\r\n");

    containers.SaveAll();
    EXPECT_EQ("C:\\found\r\n", ReadFile("01.txt"));
    EXPECT_EQ("", ReadFile("20.txt"));
    for (int32_t number = 0; number < ContainerCount; ++number)
        EXPECT_TRUE(Exists(containers.Find(number)->GetFileName())) << number;

    containers.Find(0)->AddItem("C:\\more", 0);
    containers.Find(1)->AddItem("C:\\more", 0);
    TModalScript script;
    TShownFailures failures;
    failures.Expect(script, "Error");
    host::InjectFault(host::HostCall::Write, host::ERROR_DISK_FULL);
    containers.SaveAll();
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_NE(std::string::npos, failures.Reports[0].find("Failed to save containers.")) << failures.Reports[0];
    EXPECT_NE(std::string::npos, failures.Reports[0].find("01.txt")) << failures.Reports[0];
    EXPECT_EQ("C:\\found\r\n", ReadFile("01.txt"));
    EXPECT_EQ("C:\\kept\r\nC:\\more\r\n", ReadFile("02.txt")) << "the others are still saved";
}

TEST(Container, OnlyRealPathsEnterAndInsertionKeepsTheirPlace)
{
    TContainer container(0);
    EXPECT_EQ(-1, container.AddItem("", 0));
    EXPECT_EQ(-1, container.AddItem("C:", 0));
    EXPECT_EQ(0, container.AddItem("C:\\", 5));
    EXPECT_EQ(1, container.AddItem("C:\\b", 0));
    EXPECT_TRUE(container.InsertItem(-5, "C:\\front"));
    EXPECT_TRUE(container.InsertItem(3, "C:\\end"));
    EXPECT_TRUE(container.InsertItem(1, "D:"));
    EXPECT_TRUE(container.InsertItem(1, ""));
    ASSERT_EQ(4, container.Count());
    EXPECT_EQ("C:\\front", container.Items()[0].Path);
    EXPECT_EQ("C:\\", container.Items()[1].Path);
    EXPECT_EQ(5, container.Items()[1].Data.ItemNumber);
    EXPECT_EQ("C:\\end", container.Items()[3].Path);

    EXPECT_THROW(container.InsertItem(5, "C:\\x"), EError);
    EXPECT_THROW(container.DeleteItem(4), EError);
    EXPECT_THROW(container.DeleteItem(-1), EError);
    container.DeleteItem(0);
    EXPECT_EQ("C:\\", container.Items()[0].Path);
    container.Name = "Mine";
    container.Clear();
    EXPECT_EQ(0, container.Count());
    EXPECT_EQ("Mine", container.Name);
}

TEST(Container, DuplicatesAreFoundIgnoringLetterCase)
{
    TContainer container(0);
    for (const char* path : {"C:\\Twice", "C:\\once", "c:\\twice", "C:\\ÄB"})
        container.AddItem(path, 0);
    EXPECT_TRUE(container.IsDuplicateItem("C:\\TWICE"));
    EXPECT_FALSE(container.IsDuplicateItem("C:\\once"));
    EXPECT_FALSE(container.IsDuplicateItem("C:\\absent"));
    container.AddItem("C:\\äb", 0);
    EXPECT_FALSE(container.IsDuplicateItem("C:\\ÄB")) << "only ASCII letters fold";
}

TEST(Container, DisplayNameIsTheNameOrTheNumberFromOne)
{
    TContainer container(6);
    EXPECT_EQ("7", container.GetDisplayName());
    container.Name = "Found";
    EXPECT_EQ("Found", container.GetDisplayName());
}

class ContainerRename : public testing::Test
{
protected:
    void SetUp() override
    {
        Container.AddItem("C:\\a.txt", 0);
        Container.AddItem("C:\\Old.txt", 9);
    }
    TContainer Container{0};
};

TEST_F(ContainerRename, ANewPathReplacesTheEntryAndKeepsItsNumber)
{
    Container.RenameItem(1, "D:\\new.txt", "");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ("D:\\new.txt", Container.Items()[1].Path);
    EXPECT_EQ(9, Container.Items()[1].Data.ItemNumber);

    Container.RenameItem(1, "D:\\newer.txt", "D:\\new.txt");
    EXPECT_EQ(fsPerfect, FunStatContext.Status);
    EXPECT_EQ("D:\\newer.txt", Container.Items()[1].Path);
}

TEST_F(ContainerRename, InvalidTitlesAndOutOfRangeIndexesChangeNothing)
{
    for (const char* path : {"", "C:\\a?.txt", "C:\\a*", "C:\\<a>", "C:\\a|b", "C:\\\"a\""}) {
        Container.RenameItem(1, path, "");
        EXPECT_EQ(fsError, FunStatContext.Status) << path;
        EXPECT_EQ("Invalid file title.", FunStatContext.Description) << path;
        EXPECT_EQ(path, FunStatContext.Parameter1);
    }
    for (const int32_t index : {-1, 2}) {
        Container.RenameItem(index, "C:\\x", "");
        EXPECT_EQ(fsError, FunStatContext.Status);
        EXPECT_EQ(0u, FunStatContext.Description.rfind("Unhandled exception: ", 0)) << FunStatContext.Description;
    }
    EXPECT_EQ("C:\\Old.txt", Container.Items()[1].Path);
}

TEST_F(ContainerRename, AnExpectedPathThatDiffersInCaseIsAPanicShownAtOnce)
{
    TModalScript script;
    TShownFailures failures;
    failures.Expect(script, "Panic");
    Container.RenameItem(1, "C:\\new.txt", "C:\\old.txt");
    EXPECT_EQ(fsPanic, FunStatContext.Status);
    EXPECT_EQ("This item's name is not the same as the original name.", FunStatContext.Description);
    EXPECT_EQ("1", FunStatContext.Parameter1);
    EXPECT_EQ("C:\\old.txt", FunStatContext.Parameter2);
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_NE(std::string::npos, failures.Reports[0].find("PANIC: This item's name")) << failures.Reports[0];
    EXPECT_EQ("C:\\Old.txt", Container.Items()[1].Path);
}

} // namespace
