// Drives the real file-operation dialog off-screen, its boxes answered through the modal
// seam, over 20,000 files of 1-16 KiB in 1,000 folders three levels deep and over four
// files of 256 MiB. Timed in the same run against the reference tools: Copy against
// `cp -a`, Delete against `rm -rf`, and Compare of two equal trees against `rsync
// --dry-run`. Each copy must equal its source (diff -rq and the modification times), or
// the program fails. Then, during the copy of the large files: the longest gap between two
// turns of the event loop, how often the status line changes, and how soon a cancel 2 s
// into the copy (or at its third file when faster) stops it, leaving no short file under a
// target name.

#include "BenchSupport.h"

#include "columns/Column.h"
#include "fileops/FileForm.h"
#include "fileops/OverwriteForm.h"

#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"

#include "host/Drives.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int FanOut = 10; // 10 x 10 x 10 folders
constexpr int FilesPerFolder = 20;
constexpr int SmallFileCount = FanOut * FanOut * FanOut * FilesPerFolder;
constexpr uint64_t LargeFileBytes = 256ull << 20;
constexpr int LargeFileCount = 4;
constexpr double MaxLoopGapMs = 100;

std::string Scratch;
TColumn* Column = nullptr;
TFileForm* Form = nullptr;
uint64_t SmallTreeBytes = 0;
// Cleared when a copy of the engine differs from its source.
bool CopiesEqual = true;

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

uint64_t NextRandom(uint64_t& seed)
{
    seed ^= seed << 13;
    seed ^= seed >> 7;
    seed ^= seed << 17;
    return seed;
}

void WritePatternFile(const std::string& hostPath, uint64_t bytes, uint64_t seed)
{
    std::vector<uint64_t> block(1 << 17);
    std::ofstream file(hostPath, std::ios::binary);
    for (uint64_t written = 0; written < bytes;) {
        for (uint64_t& word : block)
            word = NextRandom(seed);
        const uint64_t count = std::min<uint64_t>(bytes - written, block.size() * sizeof(uint64_t));
        file.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(count));
        written += count;
    }
}

void MakeData()
{
    uint64_t seed = 0x2545F4914F6CDD1Du;
    for (int a = 0; a < FanOut; ++a)
        for (int b = 0; b < FanOut; ++b)
            for (int c = 0; c < FanOut; ++c) {
                const std::string folder =
                    "small/d" + std::to_string(a) + "/d" + std::to_string(b) + "/d" + std::to_string(c);
                fs::create_directories(HostPath(folder));
                for (int f = 0; f < FilesPerFolder; ++f) {
                    const uint64_t bytes = 1024 + NextRandom(seed) % (15 * 1024 + 1);
                    WritePatternFile(HostPath(folder + "/f" + std::to_string(f) + ".bin"), bytes, NextRandom(seed));
                    SmallTreeBytes += bytes;
                }
            }
    fs::create_directories(HostPath("large"));
    for (int i = 0; i < LargeFileCount; ++i)
        WritePatternFile(HostPath("large/big" + std::to_string(i) + ".bin"), LargeFileBytes, i + 1u);
}

// The timings mean little on a file system held in memory.
void PrintFileSystemType()
{
    struct statfs info = {};
    if (statfs(Scratch.c_str(), &info) != 0)
        return;
    const bool tmpfs = info.f_type == TMPFS_MAGIC;
    std::printf("scratch folder %s, file-system type 0x%lx%s\n", Scratch.c_str(),
                static_cast<unsigned long>(info.f_type),
                tmpfs ? " (tmpfs: WARNING, the data is in memory, not on a disk)" : "");
}

// Writes back what is written and drops the scratch folder's data from the page cache, so
// that each side reads from the disk.
void FlushCaches()
{
    sync();
    std::error_code error;
    for (fs::recursive_directory_iterator it(Scratch, error), end; !error && it != end; it.increment(error)) {
        if (!it->is_regular_file(error))
            continue;
        const int file = open(it->path().c_str(), O_RDONLY | O_CLOEXEC);
        if (file < 0)
            continue;
        posix_fadvise(file, 0, 0, POSIX_FADV_DONTNEED);
        close(file);
    }
}

void ResetFolder(const std::string& relative)
{
    fs::remove_all(HostPath(relative));
    fs::create_directories(HostPath(relative));
}

// Runs the operation on folder `source` (the given source, nothing selected) into folder
// `destination`, pressing "O&kay (no errors)"; `started` runs just before the press. True
// when it ended with the Okay result and without errors.
bool RunOperation(const std::string& operation, const std::string& source, const std::string& destination,
                  const std::function<void()>& started = {})
{
    bool warned = false;
    SetModalAnswerer([&](const TModalRequest& request) {
        if (request.Dialog == Form) {
            if (started)
                started();
            Form->OkayNoErrorsButtonClick();
            return Form->result();
        }
        warned = warned || request.Caption == "Warning";
        return IDOK;
    });
    const bool okay =
        Form->Dialog(!destination.empty(), operation, *Column, nullptr, -1, DrivePath(source),
                     destination.empty() ? std::string() : DrivePath(destination) + "\\", "", true, false);
    SetModalAnswerer(nullptr);
    return okay && !warned && Form->ErrorCount == 0;
}

// The copy has the source's names, bytes and modification times.
bool EqualsSource(const std::string& source, const std::string& copy)
{
    if (!RunProgram({"diff", "-rq", HostPath(source), HostPath(copy)}))
        return false;
    std::error_code error;
    for (fs::recursive_directory_iterator it(HostPath(source), error), end; !error && it != end; it.increment(error)) {
        const fs::path twin = HostPath(copy) / fs::relative(it->path(), HostPath(source));
        if (it->is_regular_file() && fs::last_write_time(it->path()) != fs::last_write_time(twin))
            return false;
    }
    return !error;
}

using TSide = std::function<bool()>;

// Each iteration times `side` after `prepare` and a cold cache; `check`, untimed, then
// judges what it made.
void TimeIterations(
    benchmark::State& state, const std::function<void()>& prepare, const TSide& side, const char* failure,
    const TSide& check = [] { return true; })
{
    for (auto _ : state) {
        prepare();
        FlushCaches();
        const auto start = std::chrono::steady_clock::now();
        const bool done = side();
        const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
        if (!done || !check()) {
            state.SkipWithError(failure);
            break;
        }
        state.SetIterationTime(seconds.count());
    }
}

void CopyTree(benchmark::State& state, const char* tree)
{
    TimeIterations(
        state, [] { ResetFolder("ours"); }, [tree] { return RunOperation("Copy", tree, "ours"); },
        "the engine's copy failed or differs from its source",
        [tree] {
            CopiesEqual = CopiesEqual && EqualsSource(tree, std::string("ours/") + tree);
            return CopiesEqual;
        });
}

void CpTree(benchmark::State& state, const char* tree)
{
    TimeIterations(
        state, [] { ResetFolder("theirs"); },
        [tree] {
            return RunProgram({"cp", "-a", HostPath(tree), HostPath("theirs/")});
        },
        "cp failed");
}

void DeleteTree(benchmark::State& state)
{
    TimeIterations(
        state,
        [] {
            ResetFolder("ours");
            RunProgram({"cp", "-a", HostPath("small"), HostPath("ours/")});
        },
        [] { return RunOperation("Delete", "ours/small", ""); }, "the engine's delete failed",
        [] { return !fs::exists(HostPath("ours/small")); });
}

void RmTree(benchmark::State& state)
{
    TimeIterations(
        state,
        [] {
            ResetFolder("theirs");
            RunProgram({"cp", "-a", HostPath("small"), HostPath("theirs/")});
        },
        [] {
            return RunProgram({"rm", "-rf", HostPath("theirs/small")});
        },
        "rm failed");
}

// Both compare "small" with its equal copy "twin/small".
void CompareTrees(benchmark::State& state)
{
    TimeIterations(
        state, [] {}, [] { return RunOperation("Compare", "small", "twin") && Form->NewerCount == 0; },
        "the engine's compare failed");
}

void RsyncTrees(benchmark::State& state)
{
    std::string output;
    TimeIterations(
        state, [] {},
        [&] {
            return RunProgram({"rsync", "--dry-run", "--recursive", "--update", "--out-format=%n",
                               HostPath("small") + "/", HostPath("twin/small") + "/"},
                              &output);
        },
        "rsync failed");
}

BENCHMARK_CAPTURE(CopyTree, Small, "small")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK_CAPTURE(CpTree, Small, "small")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK_CAPTURE(CopyTree, Large, "large")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK_CAPTURE(CpTree, Large, "large")->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(DeleteTree)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(RmTree)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(CompareTrees)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(RsyncTrees)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// What a copy of the large files looked like from the event loop.
struct TResponsiveness
{
    double LongestLoopGapMs = 0;
    double LongestStatusGapMs = 0;
    int StatusChanges = 0;
    double CopySeconds = 0;
    double CancelledAtMs = -1;
};

// Copies the large files while a 5 ms timer watches the loop's turns and the status line.
// With `cancel`, "&Cancel" is pressed 2 s into the copy, or once it reached its third file
// when it is faster; the delay until the dialog returns is the stop time.
TResponsiveness WatchLargeCopy(bool cancel, double* stopMs)
{
    ResetFolder("ours");
    FlushCaches();
    TResponsiveness seen;
    QElapsedTimer clock;
    qint64 lastTurn = 0;
    qint64 lastChange = 0;
    qint64 cancelledAt = -1;
    QString status;
    std::string source;
    int sources = 0;
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        seen.LongestLoopGapMs = std::max(seen.LongestLoopGapMs, static_cast<double>(now - lastTurn));
        lastTurn = now;
        if (Form->CurrentInfoLabel->text() != status) {
            status = Form->CurrentInfoLabel->text();
            seen.LongestStatusGapMs = std::max(seen.LongestStatusGapMs, static_cast<double>(now - lastChange));
            lastChange = now;
            ++seen.StatusChanges;
        }
        if (Form->CurrentSource != source) {
            source = Form->CurrentSource;
            ++sources;
        }
        // The folder, then the files: the third file is the fourth source seen.
        if (cancel && cancelledAt < 0 && (now >= 2000 || sources >= 4)) {
            cancelledAt = now;
            Form->CancelButtonClick();
        }
    });
    RunOperation("Copy", "large", "ours", [&] {
        clock.start();
        watch.start();
    });
    seen.CopySeconds = static_cast<double>(clock.elapsed()) / 1000;
    if (stopMs != nullptr)
        *stopMs = cancelledAt < 0 ? -1 : static_cast<double>(clock.elapsed() - cancelledAt);
    seen.CancelledAtMs = static_cast<double>(cancelledAt);
    return seen;
}

// No file under a target name is shorter than its source.
bool NoShortTarget()
{
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(HostPath("ours/large"), error))
        if (entry.is_regular_file() && entry.file_size() != LargeFileBytes)
            return false;
    return true;
}

bool CheckResponsiveness()
{
    const TResponsiveness copy = WatchLargeCopy(false, nullptr);
    std::printf("large copy %.2f s: longest event-loop gap %.0f ms (target <= 100), status changes %d, longest "
                "status gap %.0f ms (target: about 1000)\n",
                copy.CopySeconds, copy.LongestLoopGapMs, copy.StatusChanges, copy.LongestStatusGapMs);
    double stopMs = -1;
    const TResponsiveness cancelled = WatchLargeCopy(true, &stopMs);
    const bool shortFree = NoShortTarget();
    if (stopMs < 0)
        std::printf("cancel: the copy ended in %.2f s, before any cancel\n", cancelled.CopySeconds);
    else
        std::printf("cancel %.0f ms into the copy: stopped after %.0f ms (target <= 200), short files under target "
                    "names: %s\n",
                    cancelled.CancelledAtMs, stopMs, shortFree ? "none" : "FOUND");
    // The status is rebuilt at the first turn after each second has passed.
    return shortFree && copy.LongestLoopGapMs <= MaxLoopGapMs && copy.LongestStatusGapMs <= 1000 + MaxLoopGapMs &&
           stopMs <= 200;
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
    MakeData();
    fs::create_directories(HostPath("twin"));
    RunProgram({"cp", "-a", HostPath("small"), HostPath("twin/")});
    TColumn column(0);
    column.LoadDirectory({.ContainerIndex = -1, .Title = DrivePath("small")});
    Column = &column;
    TOverwriteForm overwriteForm;
    OverwriteForm = &overwriteForm;
    TFileForm form;
    Form = &form;

    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("CopyTree/Small", "CpTree/Small", static_cast<double>(SmallTreeBytes));
    reporter.PrintRatio("CopyTree/Large", "CpTree/Large", static_cast<double>(LargeFileBytes) * LargeFileCount);
    reporter.PrintRatio("DeleteTree", "RmTree", SmallFileCount, "files/s");
    reporter.PrintRatio("CompareTrees", "RsyncTrees", SmallFileCount, "files/s");
    const bool responsive = CheckResponsiveness();

    Form = nullptr;
    OverwriteForm = nullptr;
    std::error_code ignored;
    fs::remove_all(Scratch, ignored);
    benchmark::Shutdown();
    if (!CopiesEqual)
        std::printf("FAILED: a copy differs from its source\n");
    return responsive && CopiesEqual ? 0 : 1;
}
