#include "fileops/SearchEngine.h"
#include "fileops/TextFilterInput.h"

#include "columns/History.h"
#include "core/errors/Error.h"
#include "core/files/FileExtensions.h"
#include "core/text/MyTime.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

enum class TAnswer
{
    Okay,
    OkayNoErrors,
    Cancel,
};

// Stands in for the dialog: records what the engine shows and answers error reports.
class TFakePort : public TSearchPort
{
public:
    explicit TFakePort(TSearchEngine*& engine) : Engine(engine) {}

    void ProcessMessages() override
    {
        ++Pumps;
        if (Pumps == StopAtPump)
            Engine->Stop = true;
    }
    void ShowLookingIn(const std::string&) override {}
    void ShowStatus(int32_t, double) override {}
    bool ShowError(const std::string& message, TFunStatContext& context, bool& noMoreErrors) override
    {
        Reports.push_back(message + " / " + context.Description + " / " + std::to_string(context.SystemErrorCode));
        ReportedPaths.push_back(context.Parameter1);
        const TAnswer answer = Answers.empty() ? TAnswer::Okay : Answers.front();
        if (!Answers.empty())
            Answers.pop_front();
        noMoreErrors = answer == TAnswer::OkayNoErrors;
        return answer != TAnswer::Cancel;
    }
    void ItemFound(int32_t) override {}
    void CandidateDone(int32_t index) override { Done.push_back(index); }

    TSearchEngine*& Engine;
    int Pumps = 0;
    int StopAtPump = 0;
    std::deque<TAnswer> Answers;
    std::vector<std::string> Reports;
    std::vector<std::string> ReportedPaths;
    std::vector<int32_t> Done;
};

// The user's text extensions for the life of the object.
class TTextFilesForTest
{
public:
    explicit TTextFilesForTest(const std::vector<std::string>& extensions) : Saved(TextFileExtensions.Entries())
    {
        TextFileExtensions.Assign(extensions);
    }
    ~TTextFilesForTest() { TextFileExtensions.Assign(Saved); }
    TTextFilesForTest(const TTextFilesForTest&) = delete;
    TTextFilesForTest& operator=(const TTextFilesForTest&) = delete;

private:
    std::vector<std::string> Saved;
};

class SearchEngineTest : public testing::Test
{
protected:
    SearchEngineTest() { EnginePointer = &Engine; }

    static TSearchOptions NamesOptions(const std::string& nameFilter = "*")
    {
        TSearchOptions options;
        options.NameFilterText = nameFilter;
        return options;
    }

    // A content search for one filter, the text filter box as typed with ";" between filters.
    static TSearchOptions ContentOptions(const std::string& textFilter, TFileParts parts = TFileParts::Content)
    {
        TSearchOptions options = NamesOptions();
        options.FileParts = parts;
        EXPECT_TRUE(ParseTextFilter(textFilter, false, options.TextFilters));
        return options;
    }

    // As the dialog does, the found list is emptied before each run.
    bool Run(const TSearchOptions& options, const std::string& folder = "r")
    {
        Engine.Found.Clear();
        const bool ran = Engine.Run(options, {{Drive.Path(folder), true}});
        if (!ran)
            ADD_FAILURE() << FunStatContext.Description << " " << FunStatContext.RaiseFunction;
        return ran;
    }

    // The found items below the drive, in found-list order, folders with a "\" after them.
    std::vector<std::string> Found() const
    {
        std::vector<std::string> items;
        for (int32_t i = 0; i < Engine.Found.Count(); ++i) {
            const TFoundItems::TItem& item = Engine.Found[i];
            items.push_back(item.Path.substr(Drive.Path().size()) +
                            (TFoundItems::IsItemDirectory(item.Data) ? "\\" : ""));
        }
        return items;
    }

    std::vector<std::string> SortedFound() const
    {
        std::vector<std::string> items = Found();
        std::sort(items.begin(), items.end());
        return items;
    }

    void SetModifiedDaysAgo(const std::string& relative, int days) const
    {
        const timespec when{time(nullptr) - days * 86400L, 0};
        const timespec times[2] = {when, when};
        ASSERT_EQ(0, utimensat(AT_FDCWD, Drive.HostPath(relative).c_str(), times, 0));
    }

    TTempDrive Drive;
    TSearchEngine* EnginePointer = nullptr;
    TFakePort Port{EnginePointer};
    TSearchEngine Engine{Port};
};

TEST_F(SearchEngineTest, StarListsEveryItemDepthFirstEachFolderBeforeItsContents)
{
    for (const char* file : {"r/a/x.txt", "r/a/b/y.txt", "r/a/b/c/z.txt", "r/d/w.bin", "r/v.txt"})
        Drive.WriteFile(file, "-");
    ASSERT_TRUE(Run(NamesOptions()));
    const std::vector<std::string> found = Found();
    EXPECT_EQ((std::vector<std::string>{"r\\", "r\\a\\", "r\\a\\b\\", "r\\a\\b\\c\\", "r\\a\\b\\c\\z.txt",
                                        "r\\a\\b\\y.txt", "r\\a\\x.txt", "r\\d\\", "r\\d\\w.bin", "r\\v.txt"}),
              SortedFound());
    // Depth first: the items below a folder follow it at once, none of them apart.
    for (size_t i = 0; i < found.size(); ++i) {
        if (!found[i].ends_with('\\'))
            continue;
        size_t end = i + 1;
        while (end < found.size() && found[end].starts_with(found[i]))
            ++end;
        const auto below = std::count_if(found.begin(), found.end(),
                                         [&](const std::string& item) { return item.starts_with(found[i]); });
        EXPECT_EQ(static_cast<size_t>(below), end - i) << found[i];
    }
    EXPECT_EQ(5, Engine.DirsFound);
    EXPECT_EQ(5, Engine.FilesFound);
    EXPECT_EQ(0, Engine.Errors);
    EXPECT_EQ(std::vector<int32_t>{0}, Port.Done);
}

TEST_F(SearchEngineTest, NameFilterFindDirsFindFilesAndSimilarNames)
{
    for (const char* file : {"r/Notes.TXT", "r/notes.md", "r/sub/old-notes.txt", "r/subnotes/x.bin"})
        Drive.WriteFile(file, "-");
    const struct
    {
        const char* Filter;
        bool Similar;
        bool FindDirs;
        bool FindFiles;
        std::vector<std::string> Found;
    } cases[] = {
        {"*.txt", false, true, true, {"r\\Notes.TXT", "r\\sub\\old-notes.txt"}},
        {"notes", true, true, true, {"r\\Notes.TXT", "r\\notes.md", "r\\sub\\old-notes.txt", "r\\subnotes\\"}},
        {"notes", true, true, false, {"r\\subnotes\\"}},
        {"*.md;*.bin", false, false, true, {"r\\notes.md", "r\\subnotes\\x.bin"}},
        {"text files", true, false, true, {"r\\Notes.TXT", "r\\sub\\old-notes.txt"}},
    };
    const TTextFilesForTest textFiles({".txt"});
    for (const auto& c : cases) {
        TSearchOptions options = NamesOptions(c.Filter);
        options.SearchSimilar = c.Similar;
        options.FindDirs = c.FindDirs;
        options.FindFiles = c.FindFiles;
        ASSERT_TRUE(Run(options)) << c.Filter;
        EXPECT_EQ(c.Found, SortedFound()) << c.Filter;
    }
}

TEST_F(SearchEngineTest, FilesAboveTenMillionBytesAreJumped)
{
    std::string content(TSearchEngine::MaxSearchedSize, 'x');
    content.replace(content.size() - 7, 6, "needle");
    Drive.WriteFile("r/exact.txt", content);
    Drive.WriteFile("r/over.txt", content + "x");
    ASSERT_TRUE(Run(ContentOptions("needle")));
    EXPECT_EQ((std::vector<std::string>{"r\\exact.txt"}), Found());
    EXPECT_EQ(1, Engine.JumpedFiles);
    EXPECT_EQ(0, Engine.Errors);
}

TEST_F(SearchEngineTest, DuplicatesShareSizeExtensionAndFirstThousandBytes)
{
    std::string reference(5000, 'a');
    for (size_t i = 0; i < reference.size(); ++i)
        reference[i] = static_cast<char>('a' + i % 26);
    std::string laterDiffers = reference;
    laterDiffers[4000] = '#';
    std::string earlyDiffers = reference;
    earlyDiffers[999] = '#';
    const struct
    {
        const char* File;
        std::string Content;
        bool Found;
    } cases[] = {
        {"r/c1.dat", reference, false},
        {"r/C1.DAT", reference, true},
        {"r/sub/c1.DAT", reference, true},
        {"r/later.dat", laterDiffers, true},
        {"r/early.dat", earlyDiffers, false},
        {"r/c1.txt", reference, false},
        {"r/short.dat", reference.substr(1), false},
    };
    std::vector<std::string> expected;
    for (const auto& c : cases) {
        Drive.WriteFile(c.File, c.Content);
        if (c.Found)
            expected.push_back(Drive.Path(c.File).substr(3));
    }
    fs::create_directories(Drive.HostPath("r/folder.dat"));
    ASSERT_EQ(0, link(Drive.HostPath("r/c1.dat").c_str(), Drive.HostPath("r/hard.dat").c_str()));
    std::sort(expected.begin(), expected.end());

    TSearchOptions options = NamesOptions();
    options.Mode = TSearchMode::Duplicates;
    options.DuplicateOf = Drive.Path("r/c1.dat");
    ASSERT_TRUE(Run(options));
    EXPECT_EQ(expected, SortedFound());
    for (int32_t i = 0; i < Engine.Found.Count(); ++i)
        EXPECT_EQ(1, TFoundItems::GetItemRank(Engine.Found[i].Data));
    EXPECT_EQ(0, Engine.Errors);
}

TEST_F(SearchEngineTest, LimitsSelectBySizeAndTimeInclusively)
{
    for (const auto& [file, size] : {std::pair{"r/s1535.bin", 1535}, {"r/s1536.bin", 1536}, {"r/s1537.bin", 1537}})
        Drive.WriteFile(file, std::string(static_cast<size_t>(size), 's'));
    for (const char* file : {"r/t/new.txt", "r/t/old.txt", "r/t/older.txt"})
        Drive.WriteFile(file, "t");
    SetModifiedDaysAgo("r/t/old.txt", 5);
    SetModifiedDaysAgo("r/t/older.txt", 20);
    const struct
    {
        const char* Folder;
        TSearchLimit SizeMin;
        TSearchLimit SizeMax;
        TSearchLimit ModifiedMin;
        TSearchLimit ModifiedMax;
        TSearchLimit CreationMin;
        TSearchLimit CreationMax;
        std::vector<std::string> Found;
    } cases[] = {
        {"r", {true, "1.5"}, {true, "1.5"}, {}, {}, {}, {}, {"r\\", "r\\s1536.bin", "r\\t\\"}},
        {"r", {true, "1.5"}, {}, {}, {}, {}, {}, {"r\\", "r\\s1536.bin", "r\\s1537.bin", "r\\t\\"}},
        {"r\\t", {}, {true, "0.5"}, {}, {}, {}, {}, {"r\\t\\", "r\\t\\new.txt", "r\\t\\old.txt", "r\\t\\older.txt"}},
        {"r", {true, "abc"}, {true, "0"}, {}, {}, {}, {}, {"r\\", "r\\t\\"}},
        {"r\\t", {}, {}, {true, "10"}, {true, "2"}, {}, {}, {"r\\t\\old.txt"}},
        {"r\\t", {}, {}, {true, "10"}, {}, {}, {}, {"r\\t\\", "r\\t\\new.txt", "r\\t\\old.txt"}},
        {"r\\t", {}, {}, {}, {}, {true, "10"}, {true, "2"}, {}},
    };
    for (const auto& c : cases) {
        TSearchOptions options = NamesOptions();
        options.SizeMin = c.SizeMin;
        options.SizeMax = c.SizeMax;
        options.ModifiedMin = c.ModifiedMin;
        options.ModifiedMax = c.ModifiedMax;
        options.CreationMin = c.CreationMin;
        options.CreationMax = c.CreationMax;
        ASSERT_TRUE(Run(options, c.Folder)) << FunStatContext.Description;
        EXPECT_EQ(c.Found, SortedFound()) << c.SizeMin.Text << c.SizeMax.Text << c.ModifiedMin.Text;
    }
}

TEST_F(SearchEngineTest, RefusedLimitsFailTheSearchWithTheirMessage)
{
    Drive.WriteFile("r/a.txt", "a");
    const struct
    {
        TSearchLimit CreationMin;
        TSearchLimit CreationMax;
        TSearchLimit ModifiedMin;
        TSearchLimit ModifiedMax;
        TSearchLimit SizeMin;
        TSearchLimit SizeMax;
        const char* Message;
    } cases[] = {
        {{true, "2"}, {true, "10"}, {}, {}, {}, {}, "\"Creation minimum\" is bigger than \"Creation maximum\"."},
        {{}, {}, {true, "1/3/20"}, {true, "1/2/20"}, {}, {}, "\"Modified minimum\" is bigger than \"Modified maximum\"."},
        {{}, {}, {}, {}, {true, "2"}, {true, "1"}, "\"Size from\" is bigger than \"Size up to\"."},
        {{true, "10"}, {}, {}, {true, "1/2/20"}, {}, {}, "All time limits must be either absolute or relative."},
        {{}, {}, {true, "31/02/20"}, {}, {}, {}, nullptr},
    };
    for (const auto& c : cases) {
        TSearchOptions options = NamesOptions();
        options.CreationMin = c.CreationMin;
        options.CreationMax = c.CreationMax;
        options.ModifiedMin = c.ModifiedMin;
        options.ModifiedMax = c.ModifiedMax;
        options.SizeMin = c.SizeMin;
        options.SizeMax = c.SizeMax;
        EXPECT_FALSE(Engine.Run(options, {{Drive.Path("r"), true}}));
        EXPECT_GE(FunStatContext.Status, fsError);
        if (c.Message != nullptr) {
            EXPECT_EQ(c.Message, FunStatContext.Description);
        }
        EXPECT_EQ(0, Engine.Found.Count());
    }
}

TEST_F(SearchEngineTest, LimitTextsAsDaysAndBytes)
{
    const struct
    {
        const char* Text;
        const char* Unit;
        double Days;
    } times[] = {
        {"90", "minutes", 90.0 / 1440}, {"6", "hours", 0.25}, {"3", "days", 3}, {"2", "weeks", 14}, {"x", "weeks", 0},
        {"4", "fortnights", 4}};
    for (const auto& t : times) {
        bool isAbsolute = true;
        EXPECT_DOUBLE_EQ(t.Days, GetTimeFromText(t.Text, t.Unit, isAbsolute)) << t.Text << t.Unit;
        EXPECT_FALSE(isAbsolute);
    }
    bool isAbsolute = false;
    EXPECT_DOUBLE_EQ(ConvertTextToDate("1/2/20", "d/m/yy"), GetTimeFromText("1-2-20", "days", isAbsolute));
    EXPECT_TRUE(isAbsolute);

    const struct
    {
        const char* Text;
        const char* Unit;
        int64_t Bytes;
    } sizes[] = {{"1.5", "KB", 1536},        {"7", "bytes", 7}, {"2", "MB", 2097152}, {"0.5", "GB", 536870912},
                 {"1", "TB", 1099511627776}, {"many", "KB", 0}, {"1.9", "bytes", 1}};
    for (const auto& s : sizes)
        EXPECT_EQ(s.Bytes, GetSizeFromText(s.Text, s.Unit)) << s.Text << s.Unit;
}

TEST_F(SearchEngineTest, CheckFiltersWarnsBeforeAnythingRuns)
{
    const struct
    {
        const char* Filter;
        bool FindDirs;
        bool FindFiles;
        const char* Warning;
    } cases[] = {
        {"", true, true, "File name filter is invalid."},
        {"a:b", true, true, "File name filter is invalid."},
        {"dir\\*.txt", true, true, "File name filter is invalid."},
        {"<x>", true, true, "File name filter is invalid."},
        {"*.txt", false, false, "You must search either directories or files."},
        {"*.txt", false, true, nullptr},
    };
    for (const auto& c : cases) {
        TModalScript boxes;
        if (c.Warning != nullptr)
            boxes.Expect("Warning", IDOK);
        TSearchOptions options = NamesOptions(c.Filter);
        options.FindDirs = c.FindDirs;
        options.FindFiles = c.FindFiles;
        EXPECT_EQ(c.Warning == nullptr, TSearchEngine::CheckFilters(options)) << c.Filter;
        if (c.Warning != nullptr) {
            ASSERT_EQ(1u, boxes.Seen().size());
            EXPECT_EQ(c.Warning, boxes.Seen()[0].Text);
        }
    }
    TSearchOptions history = NamesOptions("");
    history.Mode = TSearchMode::History;
    EXPECT_TRUE(TSearchEngine::CheckFilters(history));
}

TEST_F(SearchEngineTest, AFolderLinkIsListedButNotWalked)
{
    Drive.WriteFile("r/sub/a.txt", "a");
    fs::create_directory_symlink(Drive.HostPath("r"), Drive.HostPath("r/sub/up"));
    ASSERT_TRUE(Run(NamesOptions()));
    EXPECT_EQ((std::vector<std::string>{"r\\", "r\\sub\\", "r\\sub\\a.txt", "r\\sub\\up\\"}), SortedFound());
}

TEST_F(SearchEngineTest, AFifoNeitherBlocksNorFails)
{
    Drive.WriteFile("r/a.txt", "the needle");
    ASSERT_EQ(0, mkfifo(Drive.HostPath("r/pipe.txt").c_str(), 0600));
    for (TFileParts parts : {TFileParts::Content, TFileParts::NameText, TFileParts::Description}) {
        ASSERT_TRUE(Run(ContentOptions("needle", parts)));
        EXPECT_EQ(0, Engine.Errors);
    }
    ASSERT_TRUE(Run(ContentOptions("pipe", TFileParts::NameContent)));
    EXPECT_EQ((std::vector<std::string>{"r\\pipe.txt"}), Found());
    EXPECT_EQ(0, Engine.Errors);
}

TEST_F(SearchEngineTest, EachChoiceOfFilePartsSearchesItsParts)
{
    Drive.WriteFile("r/report.txt", "quarterly figures");
    Drive.WriteFile("r/report.bin", "quarterly figures");
    Drive.WriteFile("r/plain.txt", "nothing here");
    const std::string reason = StreamsUnsupportedReason(Drive.HostPath());
    if (!reason.empty())
        GTEST_SKIP() << reason;
    const TTextFilesForTest textFiles({".txt"});
    const std::string phrase = "a hidden phrase";
    ASSERT_EQ(0, setxattr(Drive.HostPath("r/plain.txt").c_str(), "user.Notes", phrase.data(), phrase.size(), 0));
    const std::string description = "monthly summary";
    ASSERT_EQ(0, setxattr(Drive.HostPath("r/report.bin").c_str(), "user.Description", description.data(),
                          description.size(), 0));
    const struct
    {
        const char* Filter;
        TFileParts Parts;
        std::vector<std::string> Found;
    } cases[] = {
        {"hidden phrase", TFileParts::Content, {"r\\plain.txt"}},
        {"hidden phrase", TFileParts::Name, {}},
        {"quarterly", TFileParts::Content, {"r\\report.bin", "r\\report.txt"}},
        {"quarterly", TFileParts::NameText, {"r\\report.txt"}},
        {"report", TFileParts::Content, {}},
        {"report", TFileParts::Name, {"r\\report.bin", "r\\report.txt"}},
        {"summary", TFileParts::Description, {"r\\report.bin"}},
    };
    for (const auto& c : cases) {
        TSearchOptions options = ContentOptions(c.Filter, c.Parts);
        options.NameFilterText = "*.txt;*.bin";
        ASSERT_TRUE(Run(options)) << c.Filter;
        EXPECT_EQ(c.Found, SortedFound()) << c.Filter << static_cast<int>(c.Parts);
        EXPECT_EQ(0, Engine.Errors) << c.Filter;
    }
}

TEST_F(SearchEngineTest, ContentRanksKeepTheBestFirst)
{
    Drive.WriteFile("r/one.txt", "alpha");
    Drive.WriteFile("r/two.txt", "alpha alpha beta");
    Drive.WriteFile("r/none.txt", "gamma");
    ASSERT_TRUE(Run(ContentOptions("alpha;beta")));
    ASSERT_EQ((std::vector<std::string>{"r\\two.txt", "r\\one.txt"}), Found());
    EXPECT_GT(TFoundItems::GetItemRank(Engine.Found[0].Data), TFoundItems::GetItemRank(Engine.Found[1].Data));
    EXPECT_EQ(2, Engine.FilesFound);
    EXPECT_EQ(0, Engine.DirsFound);
}

TEST_F(SearchEngineTest, AListingFaultIsReportedOnceUnderOkayNoErrors)
{
    for (const char* file : {"r/a/x.txt", "r/b/x.txt", "r/c/x.txt"})
        Drive.WriteFile(file, "x");
    host::InjectFault(host::HostCall::List, host::ERROR_ACCESS_DENIED, 1, 3);
    Port.Answers = {TAnswer::OkayNoErrors};
    ASSERT_TRUE(Run(NamesOptions()));
    EXPECT_EQ((std::vector<std::string>{"Failed to search in directory. / Failed to find first file. / 5"}),
              Port.Reports);
    EXPECT_EQ(3, Engine.Errors);
    EXPECT_EQ((std::vector<std::string>{"r\\", "r\\a\\", "r\\b\\", "r\\c\\"}), SortedFound());
}

TEST_F(SearchEngineTest, CancelOnAReportStopsAndKeepsTheFoundItems)
{
    for (const char* file : {"r/a/x.txt", "r/b/x.txt", "r/c/x.txt"})
        Drive.WriteFile(file, "x");
    host::InjectFault(host::HostCall::List, host::ERROR_ACCESS_DENIED, 1, 3);
    Port.Answers = {TAnswer::Cancel};
    ASSERT_TRUE(Run(NamesOptions()));
    EXPECT_EQ(1u, Port.Reports.size());
    EXPECT_EQ(1, Engine.Errors);
    EXPECT_TRUE(Engine.Stop);
    // The folder itself and the one whose listing failed were found before the report.
    EXPECT_EQ(2, Engine.Found.Count());
}

TEST_F(SearchEngineTest, AFileThatCannotBeOpenedMeasuredOrReadCountsAnErrorAndTheWalkGoesOn)
{
    // Large enough to be measured: a file that fits the first read is never asked its size.
    const std::string content = "needle" + std::string(TSearchEngine::FirstReadBytes, ' ');
    Drive.WriteFile("r/a.txt", content);
    Drive.WriteFile("r/b.txt", content);
    const struct
    {
        host::HostCall Call;
        uint32_t Code;
        const char* Report;
    } cases[] = {
        {host::HostCall::Open, host::ERROR_ACCESS_DENIED, "Failed to process file. / Failed to access file. / 5"},
        {host::HostCall::Stat, host::ERROR_IO_DEVICE, "Failed to process file. / Failed to access file. / 1117"},
        {host::HostCall::Read, host::ERROR_IO_DEVICE, "Failed to process file. / Failed to read data. / 1117"},
    };
    for (const auto& c : cases) {
        Port.Reports.clear();
        host::InjectFault(c.Call, c.Code);
        ASSERT_TRUE(Run(ContentOptions("needle")));
        EXPECT_EQ(std::vector<std::string>{c.Report}, Port.Reports);
        EXPECT_EQ(1, Engine.Errors);
        EXPECT_EQ(1, Engine.FilesFound);
        host::ClearFaults();
    }
}

TEST_F(SearchEngineTest, AFolderThatVanishedIsReportedWithItsCode)
{
    Engine.Run(NamesOptions(), {{Drive.Path("gone"), true}});
    EXPECT_EQ((std::vector<std::string>{"Failed to search in directory. / Failed to find first file. / 3"}),
              Port.Reports);
    EXPECT_EQ(1, Engine.Errors);
}

TEST_F(SearchEngineTest, TurnsAreGivenEveryTwentyMillisecondsAndStopEndsTheWalk)
{
    constexpr int32_t every = TSearchEngine::CandidatesPerClockRead;
    for (int i = 0; i < 10 * every; ++i)
        Drive.WriteFile("r/f" + std::to_string(i), "-");
    int calls = 0;
    // The clock is read at the first candidate and then at every `every`-th, each reading
    // 15 ms after the last: every second reading gives a turn.
    Engine.Clock = [&] { return 0.015 * calls++; };
    Port.StopAtPump = 2;
    TSearchOptions options = NamesOptions();
    options.FindDirs = false;
    ASSERT_TRUE(Run(options));
    EXPECT_EQ(2, Port.Pumps);
    EXPECT_EQ(5, calls);
    EXPECT_EQ(3 * every + 1, Engine.FilesFound);
}

TEST_F(SearchEngineTest, StopWithALargeFileInTheWorksLeavesItUnfound)
{
    std::string content;
    while (content.size() < 200000)
        content += "needle and hay ";
    Drive.WriteFile("r/a.txt", "needle");
    Drive.WriteFile("r/big.txt", content);
    // Every reading of the clock gives a turn, the first after the first candidate.
    int calls = 0;
    Engine.Clock = [&] { return calls++; };
    Port.StopAtPump = 1;
    const std::vector<TSearchCandidate> candidates = {{Drive.Path("r/a.txt"), false}, {Drive.Path("r/big.txt"), false}};
    ASSERT_TRUE(Engine.Run(ContentOptions("needle"), candidates));
    EXPECT_EQ(1, Port.Pumps);
    EXPECT_EQ((std::vector<std::string>{"r\\a.txt"}), Found());
    EXPECT_EQ(std::vector<int32_t>{0}, Port.Done);
}

// A content search over folders of many files, read on the workers: what they find comes
// back in the order of the walk, as a walk one file at a time would find it.
class SearchEngineOrderTest : public SearchEngineTest
{
protected:
    static constexpr int FolderCount = 4;
    static constexpr int FilesPerFolder = 60;

    // Every third file holds the filter once, in the same words, so all found files have
    // one rank and the found list keeps the order in which they were found; a folder's
    // seventh file holds it in a stream instead, and one file above the size limit holds it.
    void SetUp() override
    {
        StreamsSupported = StreamsUnsupportedReason(Drive.HostPath()).empty();
        for (int folder = 0; folder < FolderCount; ++folder)
            for (int file = 0; file < FilesPerFolder; ++file) {
                const std::string name = "r/d" + std::to_string(folder) + "/f" + std::to_string(file) + ".txt";
                Drive.WriteFile(name, file % 3 == 0 ? "some needle here" : "only hay");
                if (file == 7 && StreamsSupported) {
                    const std::string text = "some needle here";
                    ASSERT_EQ(0, setxattr(Drive.HostPath(name).c_str(), "user.Notes", text.data(), text.size(), 0));
                }
            }
        std::string above(TSearchEngine::MaxSearchedSize + 1, ' ');
        above.replace(0, 16, "some needle here");
        Drive.WriteFile("r/d1/above.txt", above);
        WalkInListingOrder(Drive.HostPath("r"), "r");
    }

    // The candidates as the engine walks them: each folder in its listing's order, a
    // folder's contents right after it.
    void WalkInListingOrder(const std::string& hostFolder, const std::string& title)
    {
        Walk.push_back(title + "\\");
        for (const fs::directory_entry& entry : fs::directory_iterator(hostFolder)) {
            const std::string item = title + "\\" + entry.path().filename().string();
            if (entry.is_directory()) {
                WalkInListingOrder(entry.path().string(), item);
                continue;
            }
            Walk.push_back(item);
            const std::string name = entry.path().filename().string();
            const bool inContent = name != "above.txt" && std::stoi(name.substr(1)) % 3 == 0;
            const bool inStream = StreamsSupported && name == "f7.txt";
            if (inContent || inStream)
                Expected.push_back(item);
        }
    }

    // The expected found files among the first `count` candidates of the walk.
    std::vector<std::string> ExpectedAmongFirst(size_t count) const
    {
        std::vector<std::string> found;
        for (size_t i = 0; i < count && i < Walk.size(); ++i)
            if (std::find(Expected.begin(), Expected.end(), Walk[i]) != Expected.end())
                found.push_back(Walk[i]);
        return found;
    }

    bool StreamsSupported = false;
    std::vector<std::string> Walk;
    std::vector<std::string> Expected;
};

TEST_F(SearchEngineOrderTest, FoundFilesComeInWalkOrderRunAfterRun)
{
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(Run(ContentOptions("needle")));
        EXPECT_EQ(Expected, Found()) << "run " << run;
        EXPECT_EQ(static_cast<int32_t>(Expected.size()), Engine.FilesFound);
        EXPECT_EQ(0, Engine.DirsFound);
        EXPECT_EQ(1, Engine.JumpedFiles);
        EXPECT_EQ(0, Engine.Errors);
        EXPECT_EQ(std::vector<int32_t>{0}, Port.Done);
        Port.Done.clear();
    }
}

// More folders than the walk keeps open for the workers: it waits for their files' outcomes.
TEST_F(SearchEngineTest, ManySmallFoldersKeepTheWalkOrder)
{
    std::vector<std::string> expected;
    for (int folder = 0; folder < 3 * TSearchEngine::MaxQueuedFolderRuns; ++folder)
        Drive.WriteFile("r/d" + std::to_string(folder) + "/needle.txt", "needle");
    for (const fs::directory_entry& entry : fs::directory_iterator(Drive.HostPath("r")))
        expected.push_back("r\\" + entry.path().filename().string() + "\\needle.txt");
    TSearchOptions options = ContentOptions("needle", TFileParts::NameContent);
    ASSERT_TRUE(Run(options));
    EXPECT_EQ(expected, Found());
    EXPECT_EQ(0, Engine.Errors);
}

TEST_F(SearchEngineOrderTest, AnUnreadableFileIsReportedAndTheOthersKeepTheirOrder)
{
    host::InjectFault(host::HostCall::Open, host::ERROR_ACCESS_DENIED, 40, 1);
    ASSERT_TRUE(Run(ContentOptions("needle")));
    host::ClearFaults();
    ASSERT_EQ((std::vector<std::string>{"Failed to process file. / Failed to access file. / 5"}), Port.Reports);
    const std::string unreadable = Port.ReportedPaths[0].substr(Drive.Path().size());
    std::vector<std::string> expected = Expected;
    std::erase(expected, unreadable);
    EXPECT_EQ(expected, Found()) << unreadable;
    EXPECT_EQ(1, Engine.Errors);
}

TEST_F(SearchEngineOrderTest, StopKeepsWhatWasFoundBeforeItInWalkOrder)
{
    // The clock gives a turn at every reading: at the first candidate and then at every
    // CandidatesPerClockRead-th; the third turn stops.
    int calls = 0;
    Engine.Clock = [&] { return calls++; };
    Port.StopAtPump = 3;
    ASSERT_TRUE(Run(ContentOptions("needle")));
    EXPECT_TRUE(Engine.Stop);
    EXPECT_EQ(3, Port.Pumps);
    EXPECT_EQ(ExpectedAmongFirst(1 + 2 * TSearchEngine::CandidatesPerClockRead), Found());
    EXPECT_EQ(std::vector<int32_t>{0}, Port.Done);
}

TEST_F(SearchEngineTest, TopLevelCandidatesFollowTheirRules)
{
    Drive.WriteFile("r/sub/inner.txt", "-");
    Drive.WriteFile("r/top.txt", "-");
    const std::vector<TSearchCandidate> candidates = {{Drive.Path("r/sub"), true}, {Drive.Path("r/top.txt"), false}};
    const struct
    {
        bool Recursive;
        bool FindDirs;
        bool FindFiles;
        std::vector<std::string> Found;
    } cases[] = {
        {true, true, true, {"r\\sub\\", "r\\sub\\inner.txt", "r\\top.txt"}},
        {false, true, true, {"r\\sub\\", "r\\top.txt"}},
        {true, false, true, {"r\\sub\\inner.txt", "r\\top.txt"}},
        {true, true, false, {"r\\sub\\"}},
    };
    for (const auto& c : cases) {
        TSearchOptions options = NamesOptions();
        options.Recursive = c.Recursive;
        options.FindDirs = c.FindDirs;
        options.FindFiles = c.FindFiles;
        Port.Done.clear();
        Engine.Found.Clear();
        ASSERT_TRUE(Engine.Run(options, candidates));
        EXPECT_EQ(c.Found, SortedFound());
        EXPECT_EQ((std::vector<int32_t>{0, 1}), Port.Done);
    }
}

TEST_F(SearchEngineTest, TopLevelFilesAreReadUnlessTheyAreNoRegularFiles)
{
    Drive.WriteFile("r/a.txt", "needle");
    ASSERT_EQ(0, mkfifo(Drive.HostPath("r/pipe").c_str(), 0600));
    const std::vector<TSearchCandidate> candidates = {{Drive.Path("r/a.txt"), false},
                                                      {Drive.Path("r/pipe"), false},
                                                      {Drive.Path("r/gone.txt"), false}};
    ASSERT_TRUE(Engine.Run(ContentOptions("needle"), candidates));
    EXPECT_EQ((std::vector<std::string>{"r\\a.txt"}), Found());
    EXPECT_EQ((std::vector<std::string>{"Failed to process file. / Failed to access file. / 2"}), Port.Reports);
    EXPECT_EQ((std::vector<int32_t>{0, 1, 2}), Port.Done);
}

TEST_F(SearchEngineTest, HistoryModeRanksTheNavigationHistories)
{
    const auto fill = [](THistory& history, const std::vector<std::string>& titles) {
        history.Clear();
        for (const std::string& title : titles)
            history.Titles[static_cast<size_t>(history.Count++)] = title;
    };
    fill(PathsHistory, {"T:\\alpha\\item.txt", "T:\\beta\\alpha.doc", "T:\\alphabet\\"});
    fill(FilesHistory, {"T:\\gamma\\x.txt", "T:\\delta\\alpha.txt"});
    TSearchOptions options = ContentOptions("alpha");
    options.Mode = TSearchMode::History;
    options.NameFilterText.clear();
    const bool ran = Engine.Run(options, {});
    PathsHistory.Clear();
    FilesHistory.Clear();
    ASSERT_TRUE(ran);
    EXPECT_EQ((std::vector<std::string>{"T:\\alpha", "T:\\alphabet", "T:\\delta\\alpha.txt"}), [&] {
        std::vector<std::string> paths;
        for (int32_t i = 0; i < Engine.Found.Count(); ++i)
            paths.push_back(Engine.Found[i].Path);
        std::sort(paths.begin(), paths.end());
        return paths;
    }());
    EXPECT_EQ(2, Engine.DirsFound);
    EXPECT_EQ(1, Engine.FilesFound);
}

} // namespace
