// Runs the file-operation dialog's engine off-screen, pressing its buttons through the
// modal seam, on 20,000 files of 1-16 KiB in 1,000 folders three levels deep and on four
// files of 256 MiB. Timed against the usual tools on the same data in the same run:
//   Copy     against cp -a;
//   Delete   against rm -rf;
//   Compare  of two equal trees against rsync --dry-run --update.
// Each iteration is a pair: both sides run, each after the written data is synced and the
// data is dropped from the page cache, the side that goes first alternating. The ratios
// printed at the end are the medians of the tool's time over ours in the pairs: 1 or more
// means at least as fast as the tool. Every copy of ours must equal its source (diff -rq
// and the files' modification times), or the program fails.
//
// Then the copy of the large files runs twice more: once to measure the longest gap
// between two turns of the event loop and how often the status line changes, and once
// cancelled 2 s into it (halfway when the whole copy is faster), to measure how soon the
// engine stops and to check that every target there is complete or absent.

#include "BenchSupport.h"

#include "fileops/FileForm.h"
#include "fileops/OverwriteForm.h"

#include "columns/Column.h"

#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"

#include "host/Drives.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using TClock = std::chrono::steady_clock;
using TButton = void (TFileForm::*)();

constexpr int TopFolders = 10;
constexpr int FoldersPerLevel = 10;
constexpr int FilesPerFolder = 20;
constexpr int SmallFileCount = TopFolders * FoldersPerLevel * FoldersPerLevel * FilesPerFolder;
constexpr uint64_t LargeFileBytes = 256ull << 20;
constexpr int LargeFileCount = 4;
constexpr std::chrono::milliseconds CancelAfter{2000};

std::string Scratch;
TFileForm* Form = nullptr;
TColumn* Column = nullptr;
// Failures that make the whole run fail: a wrong copy, an unexpected box, a short file.
std::vector<std::string> Failures;

std::string HostPath(const std::string& relative)
{
    return Scratch + "/" + relative;
}

std::string DrivePath(const std::string& relative)
{
    std::string path = "B:\\" + relative;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

double SecondsSince(TClock::time_point start)
{
    return std::chrono::duration<double>(TClock::now() - start).count();
}

bool WritePatternFile(const std::string& hostPath, uint64_t bytes, uint64_t seed)
{
    std::vector<uint64_t> block(1 << 17);
    const int file = open(hostPath.c_str(), O_CREAT | O_WRONLY | O_TRUNC | O_CLOEXEC, 0644);
    if (file < 0)
        return false;
    bool written = true;
    for (uint64_t done = 0; written && done < bytes;) {
        const uint64_t count = std::min<uint64_t>(bytes - done, block.size() * sizeof(uint64_t));
        for (size_t word = 0; word < (count + 7) / 8; ++word)
            block[word] = NextRandom(seed);
        written = write(file, block.data(), count) == static_cast<ssize_t>(count);
        done += count;
    }
    return close(file) == 0 && written;
}

// data/tree/dA/dB/dC/fN.bin (1-16 KiB) and data/large/bigN.bin, the same on every run.
bool MakeData()
{
    uint64_t seed = 0x2545F4914F6CDD1Du;
    for (int a = 0; a < TopFolders; ++a)
        for (int b = 0; b < FoldersPerLevel; ++b)
            for (int c = 0; c < FoldersPerLevel; ++c) {
                const std::string folder =
                    HostPath("data/tree/d" + std::to_string(a) + "/d" + std::to_string(b) + "/d" + std::to_string(c));
                fs::create_directories(folder);
                for (int n = 0; n < FilesPerFolder; ++n) {
                    const uint64_t bytes = 1024 + NextRandom(seed) % (15 * 1024 + 1);
                    if (!WritePatternFile(folder + "/f" + std::to_string(n) + ".bin", bytes, NextRandom(seed)))
                        return false;
                }
            }
    fs::create_directories(HostPath("data/large"));
    for (int n = 0; n < LargeFileCount; ++n)
        if (!WritePatternFile(HostPath("data/large/big" + std::to_string(n) + ".bin"), LargeFileBytes,
                              0x9E3779B97F4A7C15u + static_cast<uint64_t>(n)))
            return false;
    fs::create_directories(HostPath("out"));
    return true;
}

// The type of the scratch folder's file system; a warning when it keeps files in memory,
// where the timings say nothing about a disk.
void PrintFileSystemType()
{
    struct statfs info = {};
    if (statfs(Scratch.c_str(), &info) != 0) {
        std::printf("file system of %s: unknown\n", Scratch.c_str());
        return;
    }
    const std::map<long, const char*> names = {{EXT4_SUPER_MAGIC, "ext2/3/4"},     {XFS_SUPER_MAGIC, "xfs"},
                                               {BTRFS_SUPER_MAGIC, "btrfs"},       {TMPFS_MAGIC, "tmpfs"},
                                               {OVERLAYFS_SUPER_MAGIC, "overlay"}, {NFS_SUPER_MAGIC, "nfs"}};
    const auto name = names.find(static_cast<long>(info.f_type));
    std::printf("file system of %s: %s (0x%lx)\n", Scratch.c_str(), name != names.end() ? name->second : "other",
                static_cast<unsigned long>(info.f_type));
    if (info.f_type == TMPFS_MAGIC)
        std::printf("WARNING: the scratch folder is on tmpfs; set TMPDIR to a folder on a disk\n");
}

// The folder the current side writes into, below "out".
std::string Out;
int OutCount = 0;

// Each side writes into a fresh folder: ext4 without a journal scans the recently deleted
// inodes when it allocates one, so writing a tree right after deleting one times that
// scan, on both sides alike, rather than the copy.
void FreshOut()
{
    Out = "out/" + std::to_string(++OutCount);
    fs::create_directories(HostPath(Out));
}

void ClearOut()
{
    fs::remove_all(HostPath("out"));
    fs::create_directories(HostPath("out"));
}

// Answers the file-operation dialog by showing it and pressing `press`, and the final
// "Message" box with Okay; any other box is a failure of the run.
class TAnswers
{
public:
    explicit TAnswers(std::function<void()> press) : Press(std::move(press))
    {
        SetModalAnswerer([this](const TModalRequest& request) { return Answer(request); });
    }
    ~TAnswers() { SetModalAnswerer(nullptr); }
    TAnswers(const TAnswers&) = delete;
    TAnswers& operator=(const TAnswers&) = delete;

    std::vector<std::string> Messages;

private:
    int Answer(const TModalRequest& request)
    {
        if (request.Dialog == Form) {
            Form->show();
            Press();
            return Form->result();
        }
        if (request.Caption == "Message") {
            Messages.push_back(request.Text);
            return IDOK;
        }
        Failures.push_back("unexpected box \"" + request.Caption + "\": " + request.Text);
        return request.Dialog != nullptr ? mrCancel : IDCANCEL;
    }

    std::function<void()> Press;
};

// Lists the folder in the column, selects the item and runs the operation on it through
// the dialog; `press` drives the dialog once it is shown. True when it ended with Okay.
bool RunOperation(const std::string& operation, const std::string& folder, const std::string& item,
                  const std::string& destination, const std::function<void()>& press,
                  std::vector<std::string>* messages = nullptr)
{
    Column->LoadDirectory({.RememberPrevious = true, .ContainerIndex = -1, .Title = DrivePath(folder + "/" + item)});
    const int32_t index = Column->IndexOfName(item);
    if (index < 0) {
        Failures.push_back("the column does not list " + folder + "/" + item);
        return false;
    }
    Column->Com_DeselectAll();
    Column->SelectItem(index);
    TAnswers answers(press);
    const bool okay = Form->Dialog(!destination.empty(), operation, *Column, nullptr, Column->FileList->FocusIndex,
                                   DrivePath(folder + "/"), destination.empty() ? "" : DrivePath(destination + "/"), "",
                                   false, false);
    if (messages != nullptr)
        *messages = answers.Messages;
    return okay;
}

bool PressOkay(const std::string& operation, const std::string& folder, const std::string& item,
               const std::string& destination)
{
    return RunOperation(operation, folder, item, destination, [] { Form->OkayButtonClick(); });
}

// The files whose modification times differ between the trees (only those in both).
int CountTimeMismatches(const std::string& source, const std::string& copy)
{
    int mismatches = 0;
    std::error_code error;
    for (fs::recursive_directory_iterator it(source, error), end; !error && it != end; it.increment(error)) {
        if (!it->is_regular_file(error))
            continue;
        const std::string copied = copy + "/" + fs::relative(it->path(), source).string();
        struct stat from = {}, to = {};
        if (lstat(it->path().c_str(), &from) != 0 || lstat(copied.c_str(), &to) != 0 ||
            from.st_mtim.tv_sec != to.st_mtim.tv_sec || from.st_mtim.tv_nsec != to.st_mtim.tv_nsec)
            ++mismatches;
    }
    return mismatches;
}

// The copy must hold the source's files with their bytes and modification times.
bool CheckCopy(const std::string& item)
{
    const std::string source = HostPath("data/" + item);
    const std::string copy = HostPath(Out + "/" + item);
    std::string differences;
    if (!RunProgram({"diff", "-rq", source, copy}, &differences)) {
        Failures.push_back("the copy of " + item + " differs from its source:\n" + differences);
        return false;
    }
    if (const int mismatches = CountTimeMismatches(source, copy); mismatches > 0) {
        Failures.push_back("the copy of " + item + " has " + std::to_string(mismatches) +
                           " files with other modification times than their sources");
        return false;
    }
    return true;
}

// A side prepares untimed, runs timed, and is checked untimed afterwards.
struct TSide
{
    std::function<void()> Prepare;
    std::function<bool()> Run;
    std::function<bool()> Check = [] { return true; };
};

// The seconds of each pair's sides.
struct TPairs
{
    std::vector<double> Ours;
    std::vector<double> Theirs;
    std::string Tool;
    double Target = 1;
};

std::map<std::string, TPairs> Pairs;

// One side after its preparation, from a cold cache; a negative time when it failed.
double TimeSide(const TSide& side)
{
    side.Prepare();
    FlushFolderCaches(Scratch);
    const auto start = TClock::now();
    const bool done = side.Run();
    const double seconds = SecondsSince(start);
    return done && side.Check() ? seconds : -1;
}

// The iteration's time is our side's; the tool's side is kept beside it for the ratios.
void ComparePairs(benchmark::State& state, const std::string& name, const TSide& ours, const TSide& theirs)
{
    TPairs& pairs = Pairs[name];
    for (auto _ : state) {
        const bool oursFirst = pairs.Ours.size() % 2 == 0;
        const double first = TimeSide(oursFirst ? ours : theirs);
        const double second = TimeSide(oursFirst ? theirs : ours);
        const double mine = oursFirst ? first : second;
        const double reference = oursFirst ? second : first;
        if (mine < 0 || reference < 0 || !Failures.empty()) {
            state.SkipWithError(mine < 0 ? "our side failed" : reference < 0 ? "the tool failed" : "a check failed");
            break;
        }
        pairs.Ours.push_back(mine);
        pairs.Theirs.push_back(reference);
        state.SetIterationTime(mine);
    }
    ClearOut();
}

void CopyPairs(benchmark::State& state, const std::string& item)
{
    const TSide ours{FreshOut, [item] { return PressOkay("Copy", "data", item, Out); },
                     [item] { return CheckCopy(item); }};
    const TSide theirs{FreshOut, [item] { return RunProgram({"cp", "-a", HostPath("data/" + item), HostPath(Out)}); }};
    ComparePairs(state, "Copy " + item, ours, theirs);
}

void CopyTree(benchmark::State& state)
{
    CopyPairs(state, "tree");
}

void CopyLarge(benchmark::State& state)
{
    CopyPairs(state, "large");
}

// Each side deletes a fresh copy of the tree.
void DeleteTree(benchmark::State& state)
{
    const auto prepare = [] {
        FreshOut();
        RunProgram({"cp", "-a", HostPath("data/tree"), HostPath(Out)});
    };
    const TSide ours{prepare,
                     [] { return PressOkay("Delete", Out, "tree", "") && !fs::exists(HostPath(Out + "/tree")); }};
    const TSide theirs{prepare, [] { return RunProgram({"rm", "-rf", HostPath(Out + "/tree")}); }};
    ComparePairs(state, "Delete tree", ours, theirs);
}

// Both sides compare the tree with an equal copy of it; neither finds a file to take.
void CompareTree(benchmark::State& state)
{
    FreshOut();
    RunProgram({"cp", "-a", HostPath("data/tree"), HostPath(Out)});
    const auto nothing = [] {};
    const TSide ours{nothing, [] {
                         std::vector<std::string> messages;
                         const bool okay = RunOperation(
                             "Compare", "data", "tree", Out, [] { Form->OkayButtonClick(); }, &messages);
                         const bool noneNewer =
                             messages.size() == 1 && messages[0].rfind("There are 0 newer files", 0) == 0;
                         if (!noneNewer)
                             Failures.push_back("the comparison of equal trees found newer files: " +
                                                (messages.empty() ? std::string() : messages[0]));
                         return okay && noneNewer;
                     }};
    const TSide theirs{nothing, [] {
                           std::string listed;
                           return RunProgram({"rsync", "--dry-run", "--recursive", "--update", "--out-format=%n",
                                              HostPath("data/tree/"), HostPath(Out + "/tree/")},
                                             &listed);
                       }};
    ComparePairs(state, "Compare tree", ours, theirs);
}

BENCHMARK(CopyTree)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(CopyLarge)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(DeleteTree)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(CompareTree)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

void PrintPass(bool passed, const std::string& what)
{
    std::printf("%s  %s\n", passed ? "PASS" : "FAIL", what.c_str());
}

std::string Milliseconds(double seconds)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f ms", 1000 * seconds);
    return text;
}

void PrintMedianRatio(const std::string& name)
{
    const TPairs& pairs = Pairs[name];
    if (pairs.Ours.empty()) {
        PrintPass(false, name + ": no pair was timed");
        return;
    }
    std::vector<double> ratios;
    for (size_t i = 0; i < pairs.Ours.size(); ++i) {
        ratios.push_back(pairs.Theirs[i] / pairs.Ours[i]);
        std::printf("%-13s pair %zu (%s first): ours %8.1f ms   %-6s %8.1f ms   ratio %.2f\n", name.c_str(), i + 1,
                    i % 2 == 0 ? "ours" : "tool", 1000 * pairs.Ours[i], pairs.Tool.c_str(), 1000 * pairs.Theirs[i],
                    ratios.back());
    }
    const double ratio = Median(ratios);
    const auto [lowest, highest] = std::minmax_element(ratios.begin(), ratios.end());
    char line[240];
    std::snprintf(line, sizeof line,
                  "%-13s ours %8.1f ms   %-6s %8.1f ms   median ratio of %zu pairs %.2f, range %.2f-%.2f (target %.1f)",
                  name.c_str(), 1000 * Median(pairs.Ours), pairs.Tool.c_str(), 1000 * Median(pairs.Theirs),
                  ratios.size(), ratio, *lowest, *highest, pairs.Target);
    PrintPass(ratio >= pairs.Target, line);
}

// Watches the event loop while the engine works: a zero timer runs at every turn, noting
// the longest gap between turns and the times at which the status line changed.
class TLoopWatch
{
public:
    TLoopWatch()
    {
        QObject::connect(&Timer, &QTimer::timeout, [this] { Turn(); });
        Timer.start(0);
    }

    void Turn()
    {
        const auto now = TClock::now();
        if (Turns > 0)
            LongestGap = std::max(LongestGap, std::chrono::duration<double>(now - LastTurn).count());
        LastTurn = now;
        ++Turns;
        const QString status = Form->CurrentInfoLabel->text();
        if (status != LastStatus) {
            if (!StatusChanges.empty())
                LongestStatusInterval =
                    std::max(LongestStatusInterval, std::chrono::duration<double>(now - StatusChanges.back()).count());
            StatusChanges.push_back(now);
            LastStatus = status;
        }
    }

    QTimer Timer;
    TClock::time_point LastTurn;
    int64_t Turns = 0;
    double LongestGap = 0;
    QString LastStatus;
    std::vector<TClock::time_point> StatusChanges;
    double LongestStatusInterval = 0;
};

void CheckResponsiveness()
{
    FreshOut();
    FlushFolderCaches(Scratch);
    TLoopWatch watch;
    const auto start = TClock::now();
    const bool okay = PressOkay("Copy", "data", "large", Out);
    const double seconds = SecondsSince(start);
    watch.Timer.stop();
    const double tail = watch.StatusChanges.empty() ? seconds : SecondsSince(watch.StatusChanges.back());
    const double statusInterval = std::max(watch.LongestStatusInterval, tail);
    if (!okay || !CheckCopy("large"))
        Failures.push_back("the watched copy of the large files failed");
    std::printf("Copy of %d x %llu MiB: %.2f s, %lld turns of the event loop, %zu status changes\n", LargeFileCount,
                static_cast<unsigned long long>(LargeFileBytes >> 20), seconds, static_cast<long long>(watch.Turns),
                watch.StatusChanges.size());
    PrintPass(watch.LongestGap <= 0.1, "longest gap between two turns of the event loop " +
                                           Milliseconds(watch.LongestGap) + " (target <= 100 ms)");
    // The status follows a 1-second period checked at each turn, so it may come one turn late.
    PrintPass(statusInterval <= 1.0 + 0.1, "longest time without a change of the status line " +
                                               Milliseconds(statusInterval) +
                                               " (target: once a second, plus one turn of at most 100 ms)");
}

// The target files there: each must be complete or absent, and no temporary copy stays.
void CheckCancelledTargets()
{
    int complete = 0;
    bool clean = true;
    for (const auto& entry : fs::directory_iterator(HostPath(Out + "/large"))) {
        const std::string name = entry.path().filename().string();
        const bool isTarget = name.rfind("big", 0) == 0;
        if (isTarget && entry.file_size() == LargeFileBytes) {
            ++complete;
            continue;
        }
        clean = false;
        Failures.push_back("after the cancel, " + Out + "/large holds " + name + " of " +
                           std::to_string(entry.file_size()) + " bytes");
    }
    PrintPass(clean, "after the cancel, " + std::to_string(complete) + " of " + std::to_string(LargeFileCount) +
                         " targets complete, no short or temporary file");
}

// The copy of the large files, cancelled `delay` into it; how long after the cancel the
// engine stopped, or nothing when the copy ended first.
std::optional<double> CancelledCopy(std::chrono::milliseconds delay, double& copySeconds)
{
    FreshOut();
    FlushFolderCaches(Scratch);
    std::optional<TClock::time_point> cancelled;
    QTimer cancel;
    cancel.setSingleShot(true);
    QObject::connect(&cancel, &QTimer::timeout, [&] {
        cancelled = TClock::now();
        Form->CancelButtonClick();
    });
    const auto start = TClock::now();
    RunOperation("Copy", "data", "large", Out, [&] {
        cancel.start(delay);
        Form->OkayButtonClick();
    });
    const auto end = TClock::now();
    copySeconds = std::chrono::duration<double>(end - start).count();
    if (!cancelled)
        return std::nullopt;
    return std::chrono::duration<double>(end - *cancelled).count();
}

// The cancel comes 2 s into the copy; when the disk copies all of it sooner, it comes
// halfway through instead, so that it still lands inside a file.
void CheckCancel()
{
    std::chrono::milliseconds delay = CancelAfter;
    double copySeconds = 0;
    std::optional<double> stopSeconds = CancelledCopy(delay, copySeconds);
    if (!stopSeconds) {
        std::printf("the whole copy took %.2f s, less than the %lld ms before the cancel: cancelling halfway\n",
                    copySeconds, static_cast<long long>(delay.count()));
        delay = std::chrono::milliseconds(static_cast<int64_t>(500 * copySeconds));
        stopSeconds = CancelledCopy(delay, copySeconds);
    }
    if (!stopSeconds) {
        PrintPass(false, "the copy ended before the cancel came");
        return;
    }
    PrintPass(*stopSeconds <= 0.2, "cancel " + std::to_string(delay.count()) + " ms into the copy stopped it in " +
                                       Milliseconds(*stopSeconds) + " (target <= 200 ms)");
    CheckCancelledTargets();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    Scratch = MakeScratchFolder("file-operation-bench");
    if (Scratch.empty()) {
        std::fprintf(stderr, "cannot make the scratch folder\n");
        return 1;
    }
    PrintFileSystemType();
    host::MapDrive('B', Scratch);
    const auto made = TClock::now();
    if (!MakeData()) {
        std::fprintf(stderr, "cannot write the data in %s\n", Scratch.c_str());
        std::error_code ignored;
        fs::remove_all(Scratch, ignored);
        return 1;
    }
    std::printf("data: %d files in %d folders, %d files of %llu MiB, written in %.1f s\n", SmallFileCount,
                TopFolders * FoldersPerLevel * FoldersPerLevel, LargeFileCount,
                static_cast<unsigned long long>(LargeFileBytes >> 20), SecondsSince(made));
    TOverwriteForm overwrite;
    OverwriteForm = &overwrite;
    TFileForm form;
    Form = &form;
    TColumn column(0);
    Column = &column;
    Pairs["Copy tree"] = {{}, {}, "cp -a", 1.0};
    Pairs["Copy large"] = {{}, {}, "cp -a", 1.0};
    Pairs["Delete tree"] = {{}, {}, "rm -rf", 0.8};
    Pairs["Compare tree"] = {{}, {}, "rsync", 1.0};

    benchmark::RunSpecifiedBenchmarks();
    for (const char* name : {"Copy tree", "Copy large", "Delete tree", "Compare tree"})
        PrintMedianRatio(name);
    CheckResponsiveness();
    CheckCancel();

    Column = nullptr;
    Form = nullptr;
    OverwriteForm = nullptr;
    std::error_code ignored;
    fs::remove_all(Scratch, ignored);
    benchmark::Shutdown();
    for (const std::string& failure : Failures)
        std::fprintf(stderr, "FAILED: %s\n", failure.c_str());
    return Failures.empty() ? 0 : 1;
}
