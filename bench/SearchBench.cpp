// Runs the search engine headless over 200,000 files and times it against the usual tools
// on the same data in the same run:
//   names       "*.md", recursive, against find ROOT -iname '*.md' (target 1);
//   content     one phrase (no free-hand splitting), "Content", name filter "*", against
//               LC_ALL=C grep -rilF (target 1) and rg -uuu -il -F (target 0.5: rg spreads
//               the work over every core);
//   duplicates  of r.dat against fdupes -r (target 1; fdupes compares every file whole,
//               while the engine compares the first 1,000 bytes, so this ratio is indicative).
// The data, made from a fixed seed in a scratch folder mapped to "B:" and removed at the
// end: 200,000 files of 200 to 3,000 bytes in 2,000 folders (20 folders of 99 each), 15% of
// them text (".txt", ".md", ".MD"), 1% of those holding the phrase; text files of 9.9 MB
// and 10.1 MB holding it too; "r.dat" of 5,000 bytes with 100 identical copies and 100
// copies that differ after byte 1,000.
//
// Before the timing each side runs once, which warms it and the page cache, and the found
// sets are compared: ours must equal find's, grep's and rg's (without the files above
// 10,000,000 bytes, which the engine skips), and the 200 copies of r.dat. A case whose
// found set differs is reported and not timed on our side. The tools write to a pipe. The
// ratios printed at the end are the tool's median time over ours: 1 or more means at
// least as fast as the tool. The content case then runs again as interleaved pairs, which
// side goes first alternating, with every pair, the median and range of the ratios and the
// machine's load printed.

#include "BenchSupport.h"

#include "fileops/SearchEngine.h"

#include "core/forms/ModalSeam.h"

#include "host/Drives.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using TClock = std::chrono::steady_clock;
using TPathSet = std::set<std::string>;

constexpr int GroupCount = 20;
constexpr int FoldersPerGroup = 99;
constexpr int FolderCount = GroupCount * (1 + FoldersPerGroup);
constexpr int FilesPerFolder = 100;
constexpr int FileCount = FolderCount * FilesPerFolder;
constexpr int MinFileBytes = 200;
constexpr int MaxFileBytes = 3000;
constexpr int TextPercent = 15;
constexpr int NeedlePercentOfText = 1;
constexpr const char* Phrase = "Quartz Lantern Zephyr";
// The engine does not search files above this size.
constexpr uint64_t SearchedBytes = 10000000;
constexpr uint64_t BelowLimitBytes = 9900000;
constexpr uint64_t AboveLimitBytes = 10100000;
constexpr size_t ReferenceBytes = 5000;
constexpr size_t ComparedBytes = 1000;
constexpr int CopiesOfEachKind = 100;
constexpr uint64_t Seed = 0x2545F4914F6CDD1Du;
constexpr int PairRounds = 9;

const char* const Words[] = {"alpha",   "river",   "stone",  "copper", "window", "garden", "silver", "market",
                             "harbor",  "lantern", "forest", "bridge", "candle", "meadow", "signal", "thread",
                             "orange",  "planet",  "winter", "summer", "basket", "castle", "desert", "engine",
                             "feather", "glacier", "island", "jacket", "kettle", "ladder", "mirror", "needle"};
constexpr size_t WordCount = sizeof Words / sizeof Words[0];

std::string Scratch;
std::string Root;
const std::string RootTitle = "B:\\data";
const std::string ReferenceTitle = "B:\\data\\r.dat";

// What the data was made to hold, for the reports.
struct TMadeData
{
    int TextFiles = 0;
    TPathSet PhraseFiles;
    TPathSet Copies;
};
TMadeData Made;

uint64_t Mix(uint64_t value)
{
    value += 0x9E3779B97F4A7C15u;
    value = (value ^ (value >> 30)) * 0xBF58476D1CE4E5B9u;
    value = (value ^ (value >> 27)) * 0x94D049BB133111EBu;
    return value ^ (value >> 31);
}

double SecondsSince(TClock::time_point start)
{
    return std::chrono::duration<double>(TClock::now() - start).count();
}

bool WriteWholeFile(const std::string& path, const std::string& content)
{
    const int file = open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0)
        return false;
    const bool written = write(file, content.data(), content.size()) == static_cast<ssize_t>(content.size());
    return close(file) == 0 && written;
}

// Lines of words, `bytes` long; the phrase at a random place when asked for.
std::string MakeText(size_t bytes, bool withPhrase, uint64_t& state)
{
    std::string text;
    text.reserve(bytes + 16);
    while (text.size() < bytes) {
        text += Words[NextRandom(state) % WordCount];
        text += NextRandom(state) % 8 == 0 ? '\n' : ' ';
    }
    text.resize(bytes);
    if (withPhrase) {
        static const char* const Spellings[] = {"Quartz Lantern Zephyr", "QUARTZ LANTERN ZEPHYR",
                                                "quartz lantern zephyr"};
        const std::string phrase = Spellings[NextRandom(state) % 3];
        text.replace(NextRandom(state) % (bytes - phrase.size()), phrase.size(), phrase);
    }
    return text;
}

std::string MakeBinary(size_t bytes, uint64_t& state)
{
    std::string data(bytes, '\0');
    for (size_t i = 0; i < bytes; i += 8) {
        const uint64_t word = NextRandom(state);
        for (size_t k = 0; k < 8 && i + k < bytes; ++k)
            data[i + k] = static_cast<char>(word >> (8 * k));
    }
    return data;
}

// "g07" for a group's own folder, "g07/d12" for the others; the first of each group is
// named like a text file, so the names search finds folders too.
std::string FolderName(int folder)
{
    const int group = folder / (1 + FoldersPerGroup);
    const int inGroup = folder % (1 + FoldersPerGroup);
    char name[32];
    if (inGroup == 0)
        std::snprintf(name, sizeof name, "g%02d", group);
    else if (inGroup == 1)
        std::snprintf(name, sizeof name, "g%02d/notes%02d.md", group, group);
    else
        std::snprintf(name, sizeof name, "g%02d/d%02d", group, inGroup - 1);
    return name;
}

// The folder's 100 files; what they hold goes into `made`.
bool MakeFolder(int folder, TMadeData& made)
{
    const std::string path = Root + "/" + FolderName(folder);
    std::error_code error;
    fs::create_directories(path, error);
    bool okay = !error;
    for (int n = 0; okay && n < FilesPerFolder; ++n) {
        const int index = folder * FilesPerFolder + n;
        uint64_t state = Mix(Seed + static_cast<uint64_t>(index)) | 1;
        const uint64_t kind = NextRandom(state);
        const size_t bytes = MinFileBytes + NextRandom(state) % (MaxFileBytes - MinFileBytes + 1);
        const bool text = kind % 100 < TextPercent;
        char name[32];
        if (text) {
            const uint64_t extension = (kind >> 8) % 20;
            std::snprintf(name, sizeof name, "f%06d%s", index,
                          extension < 10   ? ".txt"
                          : extension < 19 ? ".md"
                                           : ".MD");
            const bool withPhrase = (kind >> 16) % 100 < NeedlePercentOfText;
            const std::string file = path + "/" + name;
            okay = WriteWholeFile(file, MakeText(bytes, withPhrase, state));
            ++made.TextFiles;
            if (withPhrase)
                made.PhraseFiles.insert(file);
        } else {
            std::snprintf(name, sizeof name, "f%06d%s", index, (kind >> 8) % 2 == 0 ? ".bin" : ".dat");
            okay = WriteWholeFile(path + "/" + name, MakeBinary(bytes, state));
        }
    }
    return okay;
}

// The folders on every core; each file's content comes from its own index alone, so the
// data is the same on every run.
bool MakeTree()
{
    std::atomic<int> next = 0;
    std::atomic<bool> okay = true;
    const unsigned threadCount = std::max(1u, std::thread::hardware_concurrency());
    std::vector<TMadeData> made(threadCount);
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < threadCount; ++t)
        threads.emplace_back([&, t] {
            for (int folder; okay && (folder = next++) < FolderCount;)
                if (!MakeFolder(folder, made[t]))
                    okay = false;
        });
    for (std::thread& thread : threads)
        thread.join();
    for (const TMadeData& part : made) {
        Made.TextFiles += part.TextFiles;
        Made.PhraseFiles.insert(part.PhraseFiles.begin(), part.PhraseFiles.end());
    }
    return okay;
}

// Text with the phrase near its end, so the whole file must be read to find it.
bool MakeLargeText(const std::string& name, uint64_t bytes)
{
    uint64_t state = Mix(Seed ^ bytes) | 1;
    std::string text = MakeText(static_cast<size_t>(bytes), false, state);
    const std::string phrase = Phrase;
    text.replace(text.size() - 1000, phrase.size(), phrase);
    const std::string path = Root + "/" + name;
    if (bytes <= SearchedBytes)
        Made.PhraseFiles.insert(path);
    return WriteWholeFile(path, text);
}

// r.dat in the root; its copies spread over the folders, each of the others differing from
// it in a byte of its own after the first 1,000.
bool MakeReferenceAndCopies()
{
    uint64_t state = Mix(Seed ^ ReferenceBytes) | 1;
    const std::string reference = MakeBinary(ReferenceBytes, state);
    bool okay = WriteWholeFile(Root + "/r.dat", reference);
    for (int n = 0; okay && n < CopiesOfEachKind; ++n) {
        const std::string folder = Root + "/" + FolderName(n * FolderCount / CopiesOfEachKind) + "/";
        const std::string same = folder + "r-same" + std::to_string(n) + ".dat";
        std::string changed = reference;
        const size_t place = ComparedBytes + static_cast<size_t>(n) * 37;
        changed[place] = static_cast<char>(changed[place] ^ 0x5A);
        const std::string tail = folder + "r-tail" + std::to_string(n) + ".dat";
        okay = WriteWholeFile(same, reference) && WriteWholeFile(tail, changed);
        Made.Copies.insert(same);
        Made.Copies.insert(tail);
    }
    return okay;
}

bool MakeData()
{
    return MakeTree() && MakeLargeText("large-below.txt", BelowLimitBytes) &&
           MakeLargeText("large-above.txt", AboveLimitBytes) && MakeReferenceAndCopies();
}

// One thread per group folder: on one thread, removing 200,000 files takes minutes.
void RemoveScratch()
{
    std::vector<std::thread> threads;
    for (int group = 0; group < GroupCount; ++group)
        threads.emplace_back([group] {
            std::error_code ignored;
            fs::remove_all(Root + "/" + FolderName(group * (1 + FoldersPerGroup)), ignored);
        });
    for (std::thread& thread : threads)
        thread.join();
    std::error_code ignored;
    fs::remove_all(Scratch, ignored);
}

// A search port that lets the engine run on: no events, no display, and "Okay (no
// errors)" on every failure, which the engine counts.
class TQuietPort : public TSearchPort
{
public:
    void ProcessMessages() override {}
    void ShowLookingIn(const std::string&) override {}
    void ShowStatus(int32_t, double) override {}
    bool ShowError(const std::string&, TFunStatContext&, bool& noMoreErrors) override
    {
        noMoreErrors = true;
        return true;
    }
    void ItemFound(int32_t) override {}
    void CandidateDone(int32_t) override {}
};

struct TOurResult
{
    bool Ran = false;
    int32_t Errors = 0;
    TPathSet Found;
};

// One search over the data root; the found paths as host paths.
TOurResult SearchOnce(const TSearchOptions& options)
{
    TQuietPort port;
    TSearchEngine engine(port);
    TOurResult result;
    result.Ran = engine.Run(options, {{RootTitle, true}});
    result.Errors = engine.Errors;
    for (int32_t i = 0; i < engine.Found.Count(); ++i) {
        const std::optional<std::string> host = host::WindowsToHost(engine.Found[i].Path);
        result.Found.insert(host ? *host : "untranslatable: " + engine.Found[i].Path);
    }
    return result;
}

TPathSet Lines(const std::string& output)
{
    TPathSet lines;
    std::istringstream stream(output);
    for (std::string line; std::getline(stream, line);)
        if (!line.empty())
            lines.insert(line);
    return lines;
}

TPathSet WithoutUnsearchedFiles(const TPathSet& paths)
{
    TPathSet searched;
    for (const std::string& path : paths) {
        std::error_code error;
        if (fs::file_size(path, error) <= SearchedBytes && !error)
            searched.insert(path);
    }
    return searched;
}

// The case's sides: the options of ours and, per tool, its command line and target.
struct TTool
{
    std::string Name;
    std::vector<std::string> Arguments;
    double Target = 1;
    bool Ran = false;
};

struct TCase
{
    std::string Name;
    TSearchOptions Options;
    std::vector<TTool> Tools;
    bool Agrees = false;
};

std::vector<TCase> Cases;
std::map<std::string, std::vector<double>> Times;
std::vector<std::string> Failures;

// Prints how two found sets differ; true when they are equal.
bool CompareFoundSets(const std::string& what, const TPathSet& ours, const std::string& theirName,
                      const TPathSet& theirs)
{
    std::vector<std::string> onlyOurs;
    std::vector<std::string> onlyTheirs;
    std::set_difference(ours.begin(), ours.end(), theirs.begin(), theirs.end(), std::back_inserter(onlyOurs));
    std::set_difference(theirs.begin(), theirs.end(), ours.begin(), ours.end(), std::back_inserter(onlyTheirs));
    const bool equal = onlyOurs.empty() && onlyTheirs.empty();
    std::printf("%-10s ours %6zu found, %-7s %6zu: %s\n", what.c_str(), ours.size(), theirName.c_str(), theirs.size(),
                equal ? "the same" : "MISMATCH");
    if (!onlyTheirs.empty())
        std::printf("           %zu only in the %s set, such as %s\n", onlyTheirs.size(), theirName.c_str(),
                    onlyTheirs.front().c_str());
    if (!onlyOurs.empty())
        std::printf("           %zu only in ours, such as %s\n", onlyOurs.size(), onlyOurs.front().c_str());
    if (!equal)
        Failures.push_back(what + ": our found set differs from the " + theirName + " set");
    return equal;
}

// Runs each side once, which also warms it, and checks that the found sets agree.
void CheckCase(TCase& searchCase)
{
    const TOurResult ours = SearchOnce(searchCase.Options);
    if (!ours.Ran || ours.Errors > 0) {
        std::printf("%-10s our search %s with %d errors\n", searchCase.Name.c_str(), ours.Ran ? "ran" : "failed",
                    ours.Errors);
        Failures.push_back(searchCase.Name + ": our search failed or counted errors");
    }
    bool agrees = ours.Ran && ours.Errors == 0;
    for (TTool& tool : searchCase.Tools) {
        std::string output;
        tool.Ran = RunProgram(tool.Arguments, &output);
        if (!tool.Ran) {
            std::printf("%-10s %s did not run or failed; is it installed?\n", searchCase.Name.c_str(),
                        tool.Name.c_str());
            Failures.push_back(searchCase.Name + ": " + tool.Name + " did not run");
            continue;
        }
        const TPathSet theirs = Lines(output);
        if (searchCase.Options.Mode == TSearchMode::Duplicates) {
            // fdupes compares whole files, so of the copies it lists only the identical ones.
            const size_t listed = std::count_if(Made.Copies.begin(), Made.Copies.end(),
                                                [&theirs](const std::string& path) { return theirs.count(path) > 0; });
            std::printf("%-10s %s lists %zu of the %zu copies as duplicates\n", searchCase.Name.c_str(),
                        tool.Name.c_str(), listed, Made.Copies.size());
        } else if (searchCase.Options.TextFilters.Count() > 0) {
            agrees = CompareFoundSets(searchCase.Name, ours.Found, tool.Name, WithoutUnsearchedFiles(theirs)) && agrees;
        } else {
            agrees = CompareFoundSets(searchCase.Name, ours.Found, tool.Name, theirs) && agrees;
        }
    }
    if (searchCase.Options.Mode == TSearchMode::Duplicates)
        agrees = CompareFoundSets(searchCase.Name, ours.Found, "copies", Made.Copies) && agrees;
    searchCase.Agrees = agrees;
}

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

void MakeCases()
{
    TCase names{"names", {}, {{"find", {"find", Root, "-iname", "*.md"}, 1.0}}};
    names.Options.NameFilterText = "*.md";
    Cases.push_back(names);

    TCase content{"content",
                  {},
                  {{"grep", {"env", "LC_ALL=C", "grep", "-rilF", "--", Phrase, Root}, 1.0},
                   {"rg", {"rg", "-uuu", "-il", "-F", "--", Phrase, Root}, 0.5}}};
    content.Options.NameFilterText = "*";
    content.Options.FileParts = TFileParts::Content;
    // As the text filter box gives it with "Free-hand filter" off: one filter, upper-case,
    // neither required nor excluded.
    content.Options.TextFilters.Add(Upper(Phrase));
    Cases.push_back(content);

    TCase duplicates{"duplicates", {}, {{"fdupes", {"fdupes", "-q", "-r", Root}, 1.0}}};
    duplicates.Options.Mode = TSearchMode::Duplicates;
    duplicates.Options.DuplicateOf = ReferenceTitle;
    duplicates.Options.NameFilterText = "*";
    Cases.push_back(duplicates);
}

std::string OursName(const TCase& searchCase)
{
    return "ours/" + searchCase.Name;
}

std::string ToolName(const TCase& searchCase, const TTool& tool)
{
    return tool.Name + "/" + searchCase.Name;
}

void TimeOurs(benchmark::State& state, const TCase* searchCase)
{
    if (!searchCase->Agrees) {
        state.SkipWithError("the found set is wrong (see above); not timed");
        return;
    }
    std::vector<double>& times = Times[OursName(*searchCase)];
    for (auto _ : state) {
        const auto start = TClock::now();
        TQuietPort port;
        TSearchEngine engine(port);
        engine.Run(searchCase->Options, {{RootTitle, true}});
        const double seconds = SecondsSince(start);
        benchmark::DoNotOptimize(engine.Found.Count());
        times.push_back(seconds);
        state.SetIterationTime(seconds);
    }
}

void TimeTool(benchmark::State& state, const TCase* searchCase, const TTool* tool)
{
    if (!tool->Ran) {
        state.SkipWithError((tool->Name + " did not run").c_str());
        return;
    }
    std::vector<double>& times = Times[ToolName(*searchCase, *tool)];
    for (auto _ : state) {
        std::string output;
        const auto start = TClock::now();
        const bool ran = RunProgram(tool->Arguments, &output);
        const double seconds = SecondsSince(start);
        if (!ran) {
            state.SkipWithError((tool->Name + " failed").c_str());
            break;
        }
        times.push_back(seconds);
        state.SetIterationTime(seconds);
    }
}

void RegisterCases()
{
    for (const TCase& searchCase : Cases) {
        const int iterations = searchCase.Options.Mode == TSearchMode::Duplicates ? 3 : 5;
        benchmark::RegisterBenchmark(OursName(searchCase).c_str(), TimeOurs, &searchCase)
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(iterations);
        for (const TTool& tool : searchCase.Tools)
            benchmark::RegisterBenchmark(ToolName(searchCase, tool).c_str(), TimeTool, &searchCase, &tool)
                ->Unit(benchmark::kMillisecond)
                ->UseManualTime()
                ->Iterations(iterations);
    }
}

void PrintRatios()
{
    std::printf("\nratio = the tool's median time / ours\n");
    for (const TCase& searchCase : Cases) {
        const auto ours = Times.find(OursName(searchCase));
        for (const TTool& tool : searchCase.Tools) {
            const auto theirs = Times.find(ToolName(searchCase, tool));
            if (ours == Times.end() || theirs == Times.end() || ours->second.empty() || theirs->second.empty()) {
                std::printf("%-10s vs %-7s not measured\n", searchCase.Name.c_str(), tool.Name.c_str());
                continue;
            }
            const double mine = Median(ours->second);
            const double reference = Median(theirs->second);
            const double ratio = reference / mine;
            std::printf("%-10s ours %8.1f ms   %-7s %8.1f ms   ratio %5.2f (target >= %.1f) %s\n",
                        searchCase.Name.c_str(), 1000 * mine, tool.Name.c_str(), 1000 * reference, ratio, tool.Target,
                        ratio >= tool.Target ? "met" : "MISSED");
        }
    }
}

std::string LoadAverage()
{
    std::string line;
    std::FILE* file = std::fopen("/proc/loadavg", "r");
    if (file != nullptr) {
        char text[128] = {};
        if (std::fgets(text, sizeof text, file) != nullptr)
            line = text;
        std::fclose(file);
    }
    while (!line.empty() && line.back() == '\n')
        line.pop_back();
    return line;
}

double TimeOursOnce(const TCase& searchCase)
{
    const auto start = TClock::now();
    TQuietPort port;
    TSearchEngine engine(port);
    engine.Run(searchCase.Options, {{RootTitle, true}});
    benchmark::DoNotOptimize(engine.Found.Count());
    return SecondsSince(start);
}

// The content case once more as interleaved pairs, which side goes first alternating, so
// a change of the machine's load falls on both sides: every pair, the median and the range.
void PrintInterleavedPairs(int rounds)
{
    for (const TCase& searchCase : Cases) {
        if (searchCase.Name != "content" || !searchCase.Agrees)
            continue;
        for (const TTool& tool : searchCase.Tools) {
            if (!tool.Ran)
                continue;
            std::printf("\n%s vs %s, %d interleaved pairs (load before: %s)\n", searchCase.Name.c_str(),
                        tool.Name.c_str(), rounds, LoadAverage().c_str());
            std::vector<double> ratios;
            for (int round = 0; round < rounds; ++round) {
                double ours = 0;
                double theirs = 0;
                std::string output;
                const auto timeTool = [&] {
                    const auto start = TClock::now();
                    RunProgram(tool.Arguments, &output);
                    theirs = SecondsSince(start);
                };
                if (round % 2 == 0) {
                    ours = TimeOursOnce(searchCase);
                    timeTool();
                } else {
                    timeTool();
                    ours = TimeOursOnce(searchCase);
                }
                ratios.push_back(theirs / ours);
                std::printf("  pair %d: ours %7.1f ms  %-4s %7.1f ms  ratio %5.2f\n", round + 1, 1000 * ours,
                            tool.Name.c_str(), 1000 * theirs, ratios.back());
            }
            const auto [low, high] = std::minmax_element(ratios.begin(), ratios.end());
            std::printf("  median ratio %.2f, range %.2f-%.2f (target >= %.1f) %s; load after: %s\n",
                        Median(ratios), *low, *high, tool.Target, Median(ratios) >= tool.Target ? "met" : "MISSED",
                        LoadAverage().c_str());
        }
    }
}

// No box may come up in a headless search; one that does is answered No or Cancel and
// makes the run fail.
int AnswerUnexpected(const TModalRequest& request)
{
    Failures.push_back("unexpected box \"" + request.Caption + "\": " + request.Text);
    return (request.Flags & 0xF) == MB_YESNO ? IDNO : IDCANCEL;
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    Scratch = MakeScratchFolder("search-bench");
    if (Scratch.empty()) {
        std::fprintf(stderr, "cannot make the scratch folder\n");
        return 1;
    }
    Root = Scratch + "/data";
    host::MapDrive('B', Scratch);
    SetModalAnswerer(AnswerUnexpected);
    const auto made = TClock::now();
    if (!MakeData()) {
        std::fprintf(stderr, "cannot write the data in %s\n", Root.c_str());
        RemoveScratch();
        return 1;
    }
    std::printf("data in %s: %d files in %d folders, %d text, %zu with the phrase (the one of 9.9 MB "
                "included; and one of 10.1 MB), %zu copies of r.dat; made in %.1f s\n",
                Root.c_str(), FileCount, FolderCount, Made.TextFiles, Made.PhraseFiles.size(), Made.Copies.size(),
                SecondsSince(made));

    MakeCases();
    for (TCase& searchCase : Cases)
        CheckCase(searchCase);
    RegisterCases();
    benchmark::RunSpecifiedBenchmarks();
    PrintRatios();
    PrintInterleavedPairs(PairRounds);

    SetModalAnswerer(nullptr);
    RemoveScratch();
    benchmark::Shutdown();
    for (const std::string& failure : Failures)
        std::fprintf(stderr, "FAILED: %s\n", failure.c_str());
    return Failures.empty() ? 0 : 1;
}
