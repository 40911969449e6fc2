// Loads a folder of 100,000 entries (1,000 folders and 99,000 files of five types) into a
// column: listing, typing, grouping, sorting by name and by size, and focusing. Timed
// against `ls -l` and `ls -lS` on the same folder in the same run, their output read
// through a pipe. The ratios printed at the end are ls's time over ours: 1 or more means
// at least as fast as ls.

#include "BenchSupport.h"

#include "columns/Column.h"

#include "core/errors/Error.h"
#include "core/files/FileExtensions.h"

#include "host/Drives.h"
#include "host/FileSystem.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr int EntryCount = 100000;
constexpr int FolderCount = 1000;

std::string Scratch;
TColumn* Column = nullptr;

std::string HostFolder()
{
    return Scratch + "/many";
}

// Names of mixed case and shape, in no order the file system would give by itself.
std::string NameOf(int i)
{
    static const char* const prefixes[] = {"Photo ", "report-", "IMG_", "notes ", "Setup", "track "};
    static const char* const extensions[] = {".jpg", ".txt", ".exe", ".lnk", ".bin", ".dat"};
    const uint32_t scrambled = (static_cast<uint32_t>(i) * 2654435761u) % 1000003u;
    return std::string(prefixes[scrambled % 6]) + std::to_string(scrambled) + "-" + std::to_string(i) +
           extensions[(scrambled / 7) % 6];
}

bool MakeData()
{
    fs::create_directories(HostFolder());
    for (int i = 0; i < FolderCount; ++i)
        fs::create_directory(HostFolder() + "/Folder " + std::to_string(static_cast<int64_t>(i) * 7919 % 100003));
    for (int i = FolderCount; i < EntryCount; ++i) {
        const int file = open((HostFolder() + "/" + NameOf(i)).c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
        if (file < 0 || ftruncate(file, (static_cast<off_t>(i) * 40503) % 65536) != 0)
            return false;
        close(file);
    }
    return true;
}

void LoadColumn(benchmark::State& state, const char* sortMode)
{
    Column->SortMode = sortMode;
    for (auto _ : state) {
        Column->LoadDirectory(
            {.ContainerIndex = -1, .Title = "B:\\many\\Folder 0", .Type = ftDirectory, .TopOffset = 0});
        if (Column->GetItemCount() != EntryCount)
            state.SkipWithError("the folder was not listed whole");
    }
}

void ColumnLoadByName(benchmark::State& state)
{
    LoadColumn(state, "Name");
}

void ColumnLoadBySize(benchmark::State& state)
{
    LoadColumn(state, "Size, big-small");
}

void ListLs(benchmark::State& state, const char* options)
{
    std::string output;
    for (auto _ : state)
        if (!RunProgram({"ls", options, HostFolder()}, &output))
            state.SkipWithError("ls failed");
}

void LsLong(benchmark::State& state)
{
    ListLs(state, "-l");
}

void LsLongBySize(benchmark::State& state)
{
    ListLs(state, "-lS");
}

// The host's part of a load: reading the folder and its entries' data.
void FindFilesOnly(benchmark::State& state)
{
    std::vector<host::FindData> entries;
    for (auto _ : state)
        if (!host::FindFiles("B:\\many\\", "*", entries) || entries.size() != EntryCount)
            state.SkipWithError("the folder was not listed whole");
}

BENCHMARK(ColumnLoadByName)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(LsLong)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(ColumnLoadBySize)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(LsLongBySize)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(FindFilesOnly)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    Scratch = MakeScratchFolder("column-bench");
    if (Scratch.empty() || !MakeData()) {
        std::fprintf(stderr, "cannot make the folder of %d entries\n", EntryCount);
        std::error_code ignored;
        fs::remove_all(Scratch, ignored);
        return 1;
    }
    host::MapDrive('B', Scratch);
    ProgramFileExtensions.Assign({".exe"});
    DocumentFileExtensions.Assign({".txt", ".jpg"});
    TColumn column(0);
    Column = &column;
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("ColumnLoadByName", "LsLong", EntryCount, "entries/s");
    reporter.PrintRatio("ColumnLoadBySize", "LsLongBySize", EntryCount, "entries/s");
    std::error_code ignored;
    fs::remove_all(Scratch, ignored);
    benchmark::Shutdown();
    return 0;
}
