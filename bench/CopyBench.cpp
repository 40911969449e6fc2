// Copies one 1 GiB file and 10,000 files of 4 KiB with the program's copy primitive,
// timed against cp on the same data in the same run. The ratios printed at the end are
// cp's time over ours: 1 or more means at least as fast as cp.

#include "BenchSupport.h"

#include "core/FileOperations.h"
#include "core/Error.h"

#include "host/Drives.h"
#include "host/FileSystem.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

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

void ClearTarget(benchmark::State& state)
{
    state.PauseTiming();
    fs::remove_all(HostPath("target"));
    fs::create_directories(HostPath("target"));
    state.ResumeTiming();
}

void CopyBigFile(benchmark::State& state)
{
    for (auto _ : state) {
        ClearTarget(state);
        MyCopyFile(DrivePath("source/big.bin"), DrivePath("target/big.bin"), false, false);
        if (FunStatContext.Status > fsWarning)
            state.SkipWithError(FunStatContext.Description.c_str());
    }
}

void CpBigFile(benchmark::State& state)
{
    for (auto _ : state) {
        ClearTarget(state);
        if (!RunProgram({"cp", HostPath("source/big.bin"), HostPath("target/big.bin")}))
            state.SkipWithError("cp failed");
    }
}

// As the file-operation engine does it: list the folder, then copy each file.
void CopyManyFiles(benchmark::State& state)
{
    std::vector<host::FindData> entries;
    for (auto _ : state) {
        ClearTarget(state);
        host::CreateDirectory(DrivePath("target/many"));
        host::FindFiles(DrivePath("source/many"), "*", entries);
        for (const host::FindData& entry : entries)
            MyCopyFile(DrivePath("source/many/" + entry.Name), DrivePath("target/many/" + entry.Name), false, false);
        if (entries.size() != SmallFileCount || FunStatContext.Status > fsWarning)
            state.SkipWithError("the small files were not all copied");
    }
}

void CpManyFiles(benchmark::State& state)
{
    for (auto _ : state) {
        ClearTarget(state);
        if (!RunProgram({"cp", "-r", HostPath("source/many"), HostPath("target/many")}))
            state.SkipWithError("cp failed");
    }
}

BENCHMARK(CopyBigFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(CpBigFile)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(CopyManyFiles)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(CpManyFiles)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

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
    TRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("CopyBigFile", "CpBigFile", static_cast<double>(BigFileBytes));
    reporter.PrintRatio("CopyManyFiles", "CpManyFiles", static_cast<double>(SmallFileCount) * SmallFileBytes);
    std::error_code ignored;
    fs::remove_all(Scratch, ignored);
    benchmark::Shutdown();
    return 0;
}
