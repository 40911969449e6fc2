// Copies one 1 GiB file and 10,000 files of 4 KiB with the program's copy primitive,
// timed against cp on the same data in the same run. The data is read once, untimed, before
// the first pair and dropped from the page cache again, so that no side pays alone for the
// first read of freshly written data. Each iteration is a pair: both sides copy, each after
// the written data is synced and the data is dropped from the page cache, the side that
// goes first alternating. Every pair is printed, then the median of cp's time over ours
// and the range of that ratio: 1 or more means at least as fast as cp.

#include "BenchSupport.h"

#include "core/errors/Error.h"
#include "core/files/FileOperations.h"

#include "host/Drives.h"
#include "host/FileSystem.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr uint64_t BigFileBytes = 1ull << 30;
constexpr int SmallFileCount = 10000;
constexpr size_t SmallFileBytes = 4096;

std::string Scratch;

std::string HostPath(const std::string& relative)
{
    return Scratch + "/" + relative;
}

std::string DrivePath(const std::string& relative)
{
    std::string path = "B:\\" + relative;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

void WritePatternFile(const std::string& hostPath, uint64_t bytes, uint64_t seed)
{
    std::vector<uint64_t> block(1 << 17);
    std::ofstream file(hostPath, std::ios::binary);
    for (uint64_t written = 0; written < bytes;) {
        for (uint64_t& word : block) {
            seed ^= seed << 13;
            seed ^= seed >> 7;
            seed ^= seed << 17;
            word = seed;
        }
        const uint64_t count = std::min<uint64_t>(bytes - written, block.size() * sizeof(uint64_t));
        file.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(count));
        written += count;
    }
}

void MakeData()
{
    fs::create_directories(HostPath("source/many"));
    WritePatternFile(HostPath("source/big.bin"), BigFileBytes, 0x9E3779B97F4A7C15u);
    for (int i = 0; i < SmallFileCount; ++i)
        WritePatternFile(HostPath("source/many/file" + std::to_string(i) + ".bin"), SmallFileBytes, i + 1u);
}

void ClearTarget()
{
    fs::remove_all(HostPath("target"));
    fs::create_directories(HostPath("target"));
}

bool CopyBigFile()
{
    MyCopyFile(DrivePath("source/big.bin"), DrivePath("target/big.bin"), false, false);
    return FunStatContext.Status <= fsWarning;
}

bool CpBigFile()
{
    return RunProgram({"cp", HostPath("source/big.bin"), HostPath("target/big.bin")});
}

// As the file-operation engine does it: list the folder, then copy each file.
bool CopyManyFiles()
{
    std::vector<host::FindData> entries;
    host::CreateDirectory(DrivePath("target/many"));
    host::FindFiles(DrivePath("source/many"), "*", entries);
    for (const host::FindData& entry : entries)
        MyCopyFile(DrivePath("source/many/" + entry.Name), DrivePath("target/many/" + entry.Name), false, false);
    return entries.size() == SmallFileCount && FunStatContext.Status <= fsWarning;
}

bool CpManyFiles()
{
    return RunProgram({"cp", "-r", HostPath("source/many"), HostPath("target/many")});
}

using TCopy = bool (*)();

// The seconds of each pair's sides.
struct TPairs
{
    std::vector<double> Ours;
    std::vector<double> Theirs;
};

std::map<std::string, TPairs> Pairs;

// One side from a cold cache and an empty target; a negative time when it failed.
double TimeSide(TCopy copy)
{
    ClearTarget();
    FlushFolderCaches(Scratch);
    const auto start = std::chrono::steady_clock::now();
    const bool copied = copy();
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    return copied ? seconds.count() : -1;
}

// The iteration's time is our side's; cp's side is kept beside it for the ratios.
void ComparePairs(benchmark::State& state, const std::string& name, TCopy ours, TCopy theirs)
{
    TPairs& pairs = Pairs[name];
    for (auto _ : state) {
        const bool oursFirst = pairs.Ours.size() % 2 == 0;
        const double first = TimeSide(oursFirst ? ours : theirs);
        const double second = TimeSide(oursFirst ? theirs : ours);
        const double mine = oursFirst ? first : second;
        const double reference = oursFirst ? second : first;
        if (mine < 0 || reference < 0) {
            state.SkipWithError(mine < 0 ? "our copy failed" : "cp failed");
            break;
        }
        pairs.Ours.push_back(mine);
        pairs.Theirs.push_back(reference);
        state.SetIterationTime(mine);
    }
    ClearTarget();
}

constexpr double TargetRatio = 1.0;

void PrintPairs(const std::string& name, double bytes)
{
    const TPairs& pairs = Pairs[name];
    if (pairs.Ours.empty())
        return;
    const double mebibytes = bytes / (1u << 20);
    std::vector<double> ratios;
    for (size_t i = 0; i < pairs.Ours.size(); ++i) {
        ratios.push_back(pairs.Theirs[i] / pairs.Ours[i]);
        std::printf("%-10s pair %zu (%s first): ours %8.1f ms %6.0f MiB/s   cp %8.1f ms %6.0f MiB/s   ratio %.2f\n",
                    name.c_str(), i + 1, i % 2 == 0 ? "ours" : "cp", 1000 * pairs.Ours[i], mebibytes / pairs.Ours[i],
                    1000 * pairs.Theirs[i], mebibytes / pairs.Theirs[i], ratios.back());
    }
    const auto [lowest, highest] = std::minmax_element(ratios.begin(), ratios.end());
    std::printf("%-10s ours %8.0f MiB/s   cp %8.0f MiB/s   median ratio of %zu pairs %.2f, range %.2f-%.2f "
                "(target %.1f)\n",
                name.c_str(), mebibytes / Median(pairs.Ours), mebibytes / Median(pairs.Theirs), ratios.size(),
                Median(ratios), *lowest, *highest, TargetRatio);
}

BENCHMARK_CAPTURE(ComparePairs, BigFile, "BigFile", CopyBigFile, CpBigFile)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);
BENCHMARK_CAPTURE(ComparePairs, ManyFiles, "ManyFiles", CopyManyFiles, CpManyFiles)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    Scratch = MakeScratchFolder("copy-bench");
    if (Scratch.empty()) {
        std::fprintf(stderr, "cannot make the scratch folder\n");
        return 1;
    }
    host::MapDrive('B', Scratch);
    MakeData();
    ReadFolderOnce(HostPath("source"));
    benchmark::RunSpecifiedBenchmarks();
    PrintPairs("BigFile", static_cast<double>(BigFileBytes));
    PrintPairs("ManyFiles", static_cast<double>(SmallFileCount) * SmallFileBytes);
    std::error_code ignored;
    fs::remove_all(Scratch, ignored);
    benchmark::Shutdown();
    return 0;
}
