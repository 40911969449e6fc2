#include "fileops/RenameBatch.h"

#include "core/errors/Error.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using TFiles = std::map<std::string, std::string>;

// The answer to a question about a pair, by the pair's old name.
struct TAnswer
{
    bool Go = false;
    bool Overwrite = false;
};

// Folder "d" of drive T: with the files a test names; each file holds its own name unless
// the test says otherwise.
class RenameBatchTest : public testing::Test
{
protected:
    ~RenameBatchTest() override { host::ClearFaults(); }

    void Write(const TFiles& files)
    {
        for (const auto& [name, content] : files)
            Drive.WriteFile("d/" + name, content);
    }

    TFiles FilesInD() const
    {
        TFiles files;
        for (const auto& entry : std::filesystem::directory_iterator(Drive.HostPath("d")))
            files[entry.path().filename().string()] = Drive.ReadFile("d/" + entry.path().filename().string());
        return files;
    }

    // Runs the batch over `pairs` (names in d), answering from `answers`; the old names of
    // the pairs asked about, in the order asked.
    std::vector<std::string> Run(const std::vector<std::pair<std::string, std::string>>& pairs,
                                 const std::map<std::string, TAnswer>& answers = {})
    {
        std::vector<TRenameBatch::TPair> paths;
        for (const auto& [from, to] : pairs)
            paths.push_back({Drive.Path("d\\" + from), Drive.Path("d\\" + to)});
        std::vector<std::string> asked;
        const auto ask = [&](const std::string& oldName, const std::string& newName, bool& overwrite) {
            // As the overwrite question does: a free name goes ahead without a word.
            overwrite = false;
            if (!std::filesystem::exists(Drive.HostPath("d/" + newName.substr(newName.rfind('\\') + 1))))
                return true;
            const std::string name = oldName.substr(oldName.rfind('\\') + 1);
            asked.push_back(name);
            const auto answer = answers.find(name);
            overwrite = answer != answers.end() && answer->second.Overwrite;
            return answer != answers.end() && answer->second.Go;
        };
        Batch.emplace(std::move(paths), ask, Stop);
        Batch->Run({});
        return asked;
    }

    TTempDrive Drive{'T'};
    bool Stop = false;
    std::optional<TRenameBatch> Batch;
};

TEST_F(RenameBatchTest, FilesOfTheBatchMakeRoomForEachOther)
{
    struct Row
    {
        const char* What;
        TFiles Before;
        std::vector<std::pair<std::string, std::string>> Pairs;
        std::map<std::string, TAnswer> Answers;
        std::vector<std::string> Asked;
        TFiles After;
    };
    const TAnswer skip{false, false};
    const TAnswer overwrite{true, true};
    const std::vector<Row> rows = {
        {"renumbering up",
         {{"1", "1"}, {"2", "2"}, {"3", "3"}, {"4", "4"}},
         {{"1", "2"}, {"2", "3"}, {"3", "4"}, {"4", "5"}},
         {},
         {},
         {{"2", "1"}, {"3", "2"}, {"4", "3"}, {"5", "4"}}},
        {"a swap", {{"a", "a"}, {"b", "b"}}, {{"a", "b"}, {"b", "a"}}, {}, {}, {{"a", "b"}, {"b", "a"}}},
        {"a ring of three",
         {{"a", "a"}, {"b", "b"}, {"c", "c"}},
         {{"a", "b"}, {"b", "c"}, {"c", "a"}},
         {},
         {},
         {{"a", "c"}, {"b", "a"}, {"c", "b"}}},
        {"a chain onto a foreign file, overwritten",
         {{"a", "a"}, {"b", "b"}, {"c", "foreign"}},
         {{"a", "b"}, {"b", "c"}},
         {{"b", overwrite}},
         {"b"},
         {{"b", "a"}, {"c", "b"}}},
        {"a chain onto a foreign file, skipped: the file that stays is asked about in turn",
         {{"a", "a"}, {"b", "b"}, {"c", "foreign"}},
         {{"a", "b"}, {"b", "c"}},
         {{"b", skip}, {"a", skip}},
         {"b", "a"},
         {{"a", "a"}, {"b", "b"}, {"c", "foreign"}}},
        {"the file that stays overwritten at the user's word",
         {{"a", "a"}, {"b", "b"}, {"c", "foreign"}},
         {{"a", "b"}, {"b", "c"}},
         {{"b", skip}, {"a", overwrite}},
         {"b", "a"},
         {{"b", "a"}, {"c", "foreign"}}},
        {"a file of the batch keeping its name is asked about",
         {{"a", "a"}, {"b", "b"}},
         {{"a", "b"}, {"b", "b"}},
         {{"a", skip}},
         {"a"},
         {{"a", "a"}, {"b", "b"}}},
        {"a new name that a temporary name would take is no name to ask about",
         {{"a", "a"}, {"b", "b"}, {"x", "x"}},
         {{"a", "b"}, {"x", ".rename-2-0.tmp"}, {"b", "c"}},
         {{"x", overwrite}},
         {},
         {{"b", "a"}, {".rename-2-0.tmp", "x"}, {"c", "b"}}},
        {"a second file onto one new name is asked about",
         {{"a", "a"}, {"b", "b"}},
         {{"a", "x"}, {"b", "x"}},
         {{"b", skip}},
         {"b"},
         {{"b", "b"}, {"x", "a"}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.What);
        std::filesystem::remove_all(Drive.HostPath("d"));
        Write(row.Before);
        EXPECT_EQ(row.Asked, Run(row.Pairs, row.Answers));
        EXPECT_EQ(row.After, FilesInD());
        EXPECT_EQ(fsPerfect, FunStatContext.Status);
    }
}

TEST_F(RenameBatchTest, StopAsksNothingMore)
{
    Write({{"a", "a"}, {"b", "b"}, {"c", "foreign"}, {"x", "x"}, {"y", "foreign"}});
    std::vector<TRenameBatch::TPair> paths = {{Drive.Path("d\\x"), Drive.Path("d\\y")},
                                              {Drive.Path("d\\a"), Drive.Path("d\\b")},
                                              {Drive.Path("d\\b"), Drive.Path("d\\c")}};
    int asked = 0;
    TRenameBatch batch(
        std::move(paths),
        [&](const std::string&, const std::string&, bool&) {
            ++asked;
            Stop = true;
            return false;
        },
        Stop);
    batch.Run({});
    EXPECT_EQ(1, asked);
    EXPECT_EQ((TFiles{{"a", "a"}, {"b", "b"}, {"c", "foreign"}, {"x", "x"}, {"y", "foreign"}}), FilesInD());
}

// Whichever rename fails, every file is still there exactly once, under its old name or
// its new one, no temporary name is left, and the failure is reported.
TEST_F(RenameBatchTest, AFailureAnywhereInARenumberingLosesNoFile)
{
    const std::vector<std::pair<std::string, std::string>> pairs = {{"1", "2"}, {"2", "3"}, {"3", "4"}, {"4", "5"}};
    // Three files step aside and four take their names: seven renames.
    for (int failing = 0; failing < 7; ++failing) {
        SCOPED_TRACE(failing);
        std::filesystem::remove_all(Drive.HostPath("d"));
        Write({{"1", "1"}, {"2", "2"}, {"3", "3"}, {"4", "4"}});
        host::InjectFault(host::HostCall::Rename, host::ERROR_ACCESS_DENIED, failing);
        Run(pairs);
        host::ClearFaults();
        EXPECT_EQ(fsError, FunStatContext.Status);
        EXPECT_EQ("Failed to rename.", FunStatContext.Description);
        const TFiles after = FilesInD();
        ASSERT_EQ(4u, after.size());
        for (size_t i = 0; i < pairs.size(); ++i) {
            const auto& [from, to] = pairs[i];
            const std::string& where = Batch->WentAhead(i) ? to : from;
            ASSERT_TRUE(after.contains(where)) << from;
            EXPECT_EQ(from, after.at(where));
        }
    }
}

TEST_F(RenameBatchTest, AFileThatCannotGoBackIsNamedWhereItIs)
{
    Write({{"1", "1"}, {"2", "2"}, {"3", "3"}});
    // 2 steps aside, 1 takes its name, 3 steps aside, then 2 cannot take 3's name nor 1
    // give 2's name back.
    host::InjectFault(host::HostCall::Rename, host::ERROR_ACCESS_DENIED, 3, 2);
    Run({{"1", "2"}, {"2", "3"}, {"3", "4"}});
    host::ClearFaults();
    EXPECT_EQ(fsError, FunStatContext.Status);
    EXPECT_EQ("Failed to rename.", FunStatContext.Description);
    EXPECT_EQ(Drive.Path("d\\2"), FunStatContext.Parameter2);
    const std::string aside = FunStatContext.Parameter1;
    ASSERT_EQ(Drive.Path("d\\"), aside.substr(0, Drive.Path("d\\").size()));
    EXPECT_EQ("2", Drive.ReadFile("d/" + aside.substr(Drive.Path("d\\").size())));
    EXPECT_EQ(3u, FilesInD().size());
}

} // namespace
