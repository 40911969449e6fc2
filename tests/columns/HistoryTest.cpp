#include "columns/History.h"

#include "support/TestSupport.h"

#include <QAction>
#include <QMenu>

#include <gtest/gtest.h>

#include <memory>

namespace {

using TTitles = std::vector<std::string>;

TTitles TitlesOf(const THistory& history)
{
    return TTitles(history.Titles.begin(), history.Titles.begin() + history.Count);
}

// Records a focus the way a column does.
void Visit(THistory& history, const std::string& title, int32_t offset = 0, int64_t key = 0)
{
    history.AddPathItem(title, 4, offset, key, true, true);
}

TEST(History, HoldsTheNewestThousandEntriesOldestFirst)
{
    auto history = std::make_unique<THistory>();
    for (int32_t n = 0; n <= HistoryCapacity; ++n)
        Visit(*history, "C:\\d" + std::to_string(n) + "\\f.txt", n, 10 * n);
    ASSERT_EQ(HistoryCapacity, history->Count);
    EXPECT_EQ("C:\\d1\\f.txt", history->Titles[0]);
    EXPECT_EQ(1, history->Offsets[0]);
    EXPECT_EQ(10, history->Keys[0]);
    EXPECT_EQ("C:\\d1000\\f.txt", history->Titles[999]);
    EXPECT_EQ(1000, history->Offsets[999]);
    EXPECT_EQ(10000, history->Keys[999]);

    auto files = std::make_unique<THistory>();
    for (int32_t n = 0; n <= HistoryCapacity; ++n)
        files->AddFileItem("C:\\f" + std::to_string(n) + ".exe", true);
    ASSERT_EQ(HistoryCapacity, files->Count);
    EXPECT_EQ("C:\\f1.exe", files->Titles[0]);
    EXPECT_EQ("C:\\f1000.exe", files->Titles[999]);
}

TEST(History, KeepsOneEntryPerFolderAtItsNewestPlace)
{
    THistory history;
    Visit(history, "C:\\a\\x.txt");
    Visit(history, "c:\\A\\y.txt", 3, 30);
    EXPECT_EQ((TTitles{"c:\\A\\y.txt"}), TitlesOf(history));
    EXPECT_EQ(3, history.Offsets[0]);

    Visit(history, "D:\\b\\z.txt");
    Visit(history, "C:\\a\\w.txt", 5, 50);
    EXPECT_EQ((TTitles{"D:\\b\\z.txt", "C:\\a\\w.txt"}), TitlesOf(history));
    EXPECT_EQ(3, history.Offsets[1]) << "the folder's former state is taken over";
    EXPECT_EQ(30, history.Keys[1]);
    EXPECT_EQ(4, history.Types[1]);

    history.AddPathItem("D:\\b\\v.txt", 2, 7, 70, true, false);
    EXPECT_EQ((TTitles{"C:\\a\\w.txt", "D:\\b\\v.txt"}), TitlesOf(history));
    EXPECT_EQ(7, history.Offsets[1]);
    EXPECT_EQ(70, history.Keys[1]);

    history.AddPathItem("C:\\a\\u.txt", 2, 0, 0, false, true);
    EXPECT_EQ((TTitles{"C:\\a\\w.txt", "D:\\b\\v.txt", "C:\\a\\u.txt"}), TitlesOf(history))
        << "stored entries come back as they were";
}

TEST(History, IgnoresEmptyTitlesDrivesAndABareFolderThatHasAnEntry)
{
    THistory history;
    for (const char* title : {"", "C:", "ab:"})
        Visit(history, title);
    EXPECT_EQ(0, history.Count);

    Visit(history, "C:\\a\\");
    Visit(history, "D:\\b\\x.txt");
    EXPECT_EQ((TTitles{"C:\\a\\", "D:\\b\\x.txt"}), TitlesOf(history));
    Visit(history, "C:\\a\\f.txt");
    Visit(history, "C:\\A\\");
    EXPECT_EQ((TTitles{"D:\\b\\x.txt", "C:\\a\\f.txt"}), TitlesOf(history));
}

TEST(History, RecordsAStartedFileOnceAtItsNewestPlace)
{
    THistory history;
    for (const char* title : {"", "C:", "C:\\dir\\"})
        history.AddFileItem(title, true);
    EXPECT_EQ(0, history.Count);

    history.AddFileItem("C:\\a.exe", true);
    history.AddFileItem("C:\\b.doc", true);
    history.AddFileItem("C:\\B.DOC", true);
    EXPECT_EQ((TTitles{"C:\\a.exe", "C:\\b.doc"}), TitlesOf(history));
    history.AddFileItem("c:\\A.exe", true);
    EXPECT_EQ((TTitles{"C:\\b.doc", "c:\\A.exe"}), TitlesOf(history));
    history.AddFileItem("C:\\b.doc", false);
    EXPECT_EQ((TTitles{"C:\\b.doc", "c:\\A.exe", "C:\\b.doc"}), TitlesOf(history));
}

class HistoryLookups : public testing::Test
{
protected:
    void SetUp() override
    {
        Visit(History, "C:\\a\\old.txt", 1, 10);
        Visit(History, "C:\\a\\b\\f.txt", 2, 20);
        History.AddPathItem("C:\\a\\new.txt", 3, 3, 30, false, false);
        Visit(History, "D:\\x\\g.txt", 4, 40);
    }
    // Fields that a lookup leaves alone keep these values.
    THistoryEntry Untouched{"untouched", -7, -7, -7};
    THistory History;
};

TEST_F(HistoryLookups, FindDirectoryItemGivesTheFoldersNewestEntry)
{
    THistoryEntry entry = Untouched;
    EXPECT_EQ(2, History.FindDirectoryItem("c:\\A\\", entry));
    EXPECT_EQ("C:\\a\\new.txt", entry.Title);
    EXPECT_EQ(3, entry.Type);
    EXPECT_EQ(3, entry.Offset);
    EXPECT_EQ(30, entry.Key);

    entry = Untouched;
    EXPECT_EQ(-1, History.FindDirectoryItem("E:\\none\\", entry));
    EXPECT_EQ("E:\\none\\", entry.Title);
    EXPECT_EQ(-7, entry.Type);
    EXPECT_EQ(-7, entry.Offset);
    EXPECT_EQ(-7, entry.Key);
}

struct ParentRow
{
    std::string Title;
    int32_t Index;
    std::string FolderTitle;
    int64_t Key;
};

TEST_F(HistoryLookups, FindParentDirectoryItemLooksOneFolderUpAndNamesTheFolderToFocus)
{
    const ParentRow rows[] = {
        {"C:\\a\\b\\f.txt", 2, "C:\\a\\b", 30},
        {"C:\\a\\b\\", 2, "C:\\a\\b", 30},
        {"D:\\x\\g.txt", -1, "D:\\x", -7},
        {"C:\\f.txt", -1, "C:", -7},
    };
    for (const ParentRow& row : rows) {
        SCOPED_TRACE(row.Title);
        THistoryEntry entry = Untouched;
        EXPECT_EQ(row.Index, History.FindParentDirectoryItem(row.Title, entry));
        EXPECT_EQ(row.FolderTitle, entry.Title);
        EXPECT_EQ(row.Key, entry.Key);
    }
}

TEST_F(HistoryLookups, RemoveDirectoryItemSparesTheNewestEntryButNotAnOnlyOne)
{
    int64_t key = -7;
    EXPECT_EQ(3, History.RemoveDirectoryItem("C:\\a\\z.txt", key));
    EXPECT_EQ(30, key) << "the state of the last entry removed";
    EXPECT_EQ((TTitles{"C:\\a\\b\\f.txt", "D:\\x\\g.txt"}), TitlesOf(History));
    EXPECT_EQ(2, History.Offsets[0]);
    EXPECT_EQ(4, History.Offsets[1]);

    key = -7;
    EXPECT_EQ(-1, History.RemoveDirectoryItem("D:\\x\\h.txt", key));
    EXPECT_EQ(-7, key);
    EXPECT_EQ(2, History.Count);

    THistory single;
    Visit(single, "C:\\a\\x.txt", 9, 90);
    EXPECT_EQ(9, single.RemoveDirectoryItem("C:\\a\\y.txt", key));
    EXPECT_EQ(90, key);
    EXPECT_EQ(0, single.Count);
    EXPECT_EQ(-1, single.RemoveDirectoryItem("C:\\a\\y.txt", key));
}

TEST_F(HistoryLookups, DropNewestInDirectoryForgetsOnlyANewestEntryOfThatFolder)
{
    History.DropNewestInDirectory("C:\\a\\x.txt");
    EXPECT_EQ(4, History.Count);
    History.DropNewestInDirectory("d:\\X\\other.txt");
    EXPECT_EQ(3, History.Count);

    THistory single;
    Visit(single, "C:\\a\\x.txt");
    single.DropNewestInDirectory("C:\\a\\x.txt");
    EXPECT_EQ(1, single.Count);
}

class HistoryMenu : public testing::Test
{
protected:
    std::vector<QAction*> Items() const
    {
        std::vector<QAction*> items;
        for (QAction* action : Menu.actions())
            items.push_back(action);
        return items;
    }

    THistoryDialog History;
    QMenu Menu;
};

TEST_F(HistoryMenu, ShowsTheNewestTwentyFoldersNewestFirstAndSelectsTheirState)
{
    for (int32_t n = 0; n < 25; ++n)
        Visit(History, "C:\\d" + std::to_string(n) + "\\f.txt", n, 100 + n);
    Menu.addAction("stale item");
    History.Setup(Menu);
    const std::vector<QAction*> items = Items();
    ASSERT_EQ(20u, items.size());
    EXPECT_EQ("C:\\d24\\", items.front()->text().toStdString());
    EXPECT_EQ("C:\\d5\\", items.back()->text().toStdString());

    items.back()->trigger();
    THistoryEntry chosen;
    History.OnSelect = [&](const std::string& title, int32_t type, int32_t offset, int64_t key) {
        chosen = THistoryEntry{title, type, offset, key};
    };
    items.back()->trigger();
    EXPECT_EQ("C:\\d5\\f.txt", chosen.Title);
    EXPECT_EQ(4, chosen.Type);
    EXPECT_EQ(5, chosen.Offset);
    EXPECT_EQ(105, chosen.Key);

    History.Clear();
    chosen = THistoryEntry{};
    items.front()->trigger();
    EXPECT_EQ("", chosen.Title) << "an item of an emptied history selects nothing";
    History.Setup(Menu);
    EXPECT_TRUE(Menu.actions().isEmpty());
}

TEST_F(HistoryMenu, AnAmpersandInAFolderIsShownAsItself)
{
    Visit(History, "C:\\R&D\\plan.txt");
    History.Setup(Menu);
    ASSERT_EQ(1, Menu.actions().size());
    EXPECT_EQ("C:\\R&&D\\", Menu.actions()[0]->text().toStdString());
}

} // namespace
