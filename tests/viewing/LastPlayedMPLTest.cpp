#include "viewing/LastPlayedMPL.h"

#include "core/settings/StoredTextList.h"

#include "support/TestSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include <string>
#include <tuple>
#include <vector>

namespace {

using testing::ElementsAre;

std::vector<std::string> Files(const TLastPlayedMPL& recent)
{
    return {recent.Files.begin(), recent.Files.begin() + recent.Count};
}

TLastPlayedMPL Recent(std::initializer_list<const char*> files)
{
    TLastPlayedMPL recent;
    for (const char* file : files) {
        recent.Add(file);
        recent.SetLastPosition(std::string(file) + " title", static_cast<int32_t>(recent.Count) * 100);
    }
    return recent;
}

struct TAddRow
{
    const char* Why;
    std::initializer_list<const char*> Before;
    const char* Added;
    int32_t Index;
    std::vector<std::string> After;
};

TEST(LastPlayedMPL, AddMakesTheNewestEntryAndRefusesEmptyDrivesAndTheNewest)
{
    const TAddRow rows[] = {
        {"a new file", {"C:\\a.mpl"}, "C:\\b.mpl", 1, {"C:\\a.mpl", "C:\\b.mpl"}},
        {"the newest again, in other letters", {"C:\\a.mpl", "C:\\b.mpl"}, "c:\\B.MPL", -1, {"C:\\a.mpl", "C:\\b.mpl"}},
        {"an older one moves up",
         {"C:\\a.mpl", "C:\\b.mpl", "C:\\c\\"},
         "c:\\A.mpl",
         2,
         {"C:\\b.mpl", "C:\\c\\", "c:\\A.mpl"}},
        {"an empty file", {"C:\\a.mpl"}, "", -1, {"C:\\a.mpl"}},
        {"a drive name", {"C:\\a.mpl"}, "D:", -1, {"C:\\a.mpl"}},
    };
    for (const TAddRow& row : rows) {
        TLastPlayedMPL recent = Recent(row.Before);
        EXPECT_EQ(row.Index, recent.Add(row.Added)) << row.Why;
        EXPECT_EQ(row.After, Files(recent)) << row.Why;
    }
}

TEST(LastPlayedMPL, ReplayingAnOlderEntryKeepsWhereItWasLeft)
{
    TLastPlayedMPL recent = Recent({"C:\\a.mpl", "C:\\b.mpl"});
    recent.Add("C:\\A.MPL");
    EXPECT_EQ("C:\\a.mpl title", recent.LastTitles[1]);
    EXPECT_EQ(100, recent.LastPositions[1]);
    EXPECT_EQ("C:\\b.mpl title", recent.LastTitles[0]);
    EXPECT_EQ(200, recent.LastPositions[0]);
}

TEST(LastPlayedMPL, AThirtyFirstEntryDropsTheOldest)
{
    TLastPlayedMPL recent;
    for (int i = 0; i <= TLastPlayedMPL::MaxCount; ++i)
        EXPECT_EQ(std::min(i, TLastPlayedMPL::MaxCount - 1), recent.Add("C:\\" + std::to_string(i) + ".mpl"));
    EXPECT_EQ(TLastPlayedMPL::MaxCount, recent.Count);
    EXPECT_EQ("C:\\1.mpl", recent.Files[0]);
    EXPECT_EQ("C:\\30.mpl", recent.Files[TLastPlayedMPL::MaxCount - 1]);
}

TEST(LastPlayedMPL, RemoveTakesEveryEqualEntryAndSetLastPositionNeedsOne)
{
    TLastPlayedMPL recent = Recent({"C:\\a.mpl", "C:\\b.mpl", "C:\\c.mpl"});
    recent.Remove("C:\\B.mpl");
    EXPECT_THAT(Files(recent), ElementsAre("C:\\a.mpl", "C:\\c.mpl"));
    EXPECT_EQ("C:\\c.mpl title", recent.LastTitles[1]);
    EXPECT_TRUE(recent.Files[2].empty());

    TLastPlayedMPL empty;
    empty.SetLastPosition("song", 5);
    EXPECT_EQ(0, empty.Count);
    EXPECT_TRUE(empty.LastTitles[0].empty());
}

TEST(LastPlayedMPL, TheMenuListsTheNewestFirstAndAClickResumesThatEntry)
{
    TLastPlayedMPL recent = Recent({"C:\\Rock & Roll.mpl", "C:\\music\\"});
    std::vector<std::tuple<std::string, std::string, int32_t>> selected;
    recent.OnSelect = [&](const std::string& file, const std::string& title, int32_t position) {
        // Resuming makes the entry the newest, as the window's handler does.
        recent.Add(file);
        selected.emplace_back(file, title, position);
    };
    QMenu menu;
    menu.addAction("stale");
    recent.Setup(menu);
    const QList<QAction*> items = menu.actions();
    ASSERT_EQ(2, items.size());
    EXPECT_EQ("C:\\music\\", items[0]->text().toStdString());
    EXPECT_EQ("C:\\Rock && Roll.mpl", items[1]->text().toStdString()) << "an ampersand is no accelerator";
    items[1]->trigger();
    EXPECT_THAT(selected, ElementsAre(std::make_tuple("C:\\Rock & Roll.mpl", "C:\\Rock & Roll.mpl title", 100)));
}

class LastPlayedMPLOptions : public testing::Test
{
protected:
    TTempDrive Drive;

    TLastPlayedMPL LoadFrom(const std::string& ini)
    {
        Drive.WriteFile("options.ini", ini);
        TLastPlayedMPL recent;
        TStoredTextList store(Drive.Path("options.ini"));
        store.OnLoad = [&](TStoredTextList& list, int32_t) { recent.Load(list); };
        EXPECT_TRUE(store.Load(0));
        return recent;
    }
};

TEST_F(LastPlayedMPLOptions, EntriesRoundTripThroughTheOptionFile)
{
    TLastPlayedMPL written = Recent({"T:\\lists\\party.mpl", "T:\\music\\"});
    TStoredTextList store(Drive.Path("options.ini"));
    store.OnSave = [&](TStoredTextList& list, int32_t) { written.Save(list); };
    ASSERT_TRUE(store.SaveToFile(store.FileName, false, 0));

    const TLastPlayedMPL read = LoadFrom(Drive.ReadFile("options.ini"));
    EXPECT_THAT(Files(read), ElementsAre("T:\\lists\\party.mpl", "T:\\music\\"));
    EXPECT_EQ("T:\\lists\\party.mpl title", read.LastTitles[0]);
    EXPECT_EQ(200, read.LastPositions[1]);
}

TEST_F(LastPlayedMPLOptions, ARefusedFileSkipsItsTitleAndPositionAndBadValuesKeepTheCurrentOnes)
{
    const TLastPlayedMPL read = LoadFrom("[LastPlayedMPL_MPL]\r\nCount=4\r\n0=T:\\a.mpl\r\n1=t:\\A.mpl\r\n2=\r\n"
                                         "3=T:\\b.mpl\r\n\r\n"
                                         "[LastPlayedMPL_LastTitle]\r\n0=first\r\n1=refused\r\n3=third\r\n\r\n"
                                         "[LastPlayedMPL_LastPosition]\r\n0=7\r\n1=8\r\n3=-1\r\n\r\n");
    EXPECT_THAT(Files(read), ElementsAre("T:\\a.mpl", "T:\\b.mpl"));
    EXPECT_EQ("first", read.LastTitles[0]) << "the entry equal to the one before takes nothing";
    EXPECT_EQ(7, read.LastPositions[0]);
    EXPECT_EQ("third", read.LastTitles[1]);
    EXPECT_EQ(0, read.LastPositions[1]) << "a negative position is out of range";

    EXPECT_EQ(0, LoadFrom("[LastPlayedMPL_MPL]\r\nCount=31\r\n0=T:\\a.mpl\r\n\r\n").Count);
}

} // namespace
