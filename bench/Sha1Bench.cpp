// SHA-1 over 256 MiB, in memory and from a file, timed against sha1sum on the same file
// in the same run. The ratios printed at the end are sha1sum's time over ours: 1 or
// more means at least as fast as sha1sum.

#include "BenchSupport.h"

#include "core/Sha1.h"

#include "host/Drives.h"
#include "host/File.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr size_t DataSize = 256u << 20;
constexpr size_t ReadChunkSize = 1u << 20;

std::vector<uint8_t> Data;
std::string DataHostFile;
std::string DataWindowsFile;

void MakeData()
{
    Data.resize(DataSize);
    uint64_t x = 0x9E3779B97F4A7C15u;
    for (size_t i = 0; i < DataSize; i += 8) {
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        for (size_t k = 0; k < 8; ++k)
            Data[i + k] = static_cast<uint8_t>(x >> (8 * k));
    }
}

std::string MakeDataFile()
{
    const std::string folder = MakeScratchFolder("sha1-bench");
    if (folder.empty())
        return {};
    const std::string path = folder + "/data.bin";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(Data.data()), DataSize);
    return path;
}

std::string Hex(const TSha1Digest& digest)
{
    std::string text;
    char pair[3];
    for (const uint8_t byte : digest) {
        std::snprintf(pair, sizeof pair, "%02x", byte);
        text += pair;
    }
    return text;
}

bool HashFile(const std::string& windowsPath, TSha1Digest& digest)
{
    static std::vector<uint8_t> chunk(ReadChunkSize);
    host::File file;
    if (!file.Open(windowsPath, host::FileAccess::Read, host::FileDisposition::OpenExisting))
        return false;
    Sha1Context context;
    Sha1Init(context);
    for (;;) {
        const std::optional<size_t> got = file.Read(chunk.data(), chunk.size());
        if (!got)
            return false;
        if (*got == 0)
            break;
        Sha1Update(context, chunk.data(), static_cast<uint32_t>(*got));
    }
    Sha1Final(digest, context);
    return true;
}

// sha1sum's output line for the file; empty when it could not run.
std::string RunSha1sum(const std::string& hostPath)
{
    std::string output;
    return RunProgram({"sha1sum", hostPath}, &output) ? output : std::string();
}

void Sha1InMemory(benchmark::State& state)
{
    TSha1Digest digest;
    for (auto _ : state) {
        Sha1HashBuffer(Data.data(), static_cast<uint32_t>(Data.size()), digest);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * DataSize));
}

// The same without the processor's SHA instructions, to show what they are worth.
void Sha1InMemoryPortable(benchmark::State& state)
{
    Sha1SetPortableOnly(true);
    TSha1Digest digest;
    for (auto _ : state) {
        Sha1HashBuffer(Data.data(), static_cast<uint32_t>(Data.size()), digest);
        benchmark::DoNotOptimize(digest);
    }
    Sha1SetPortableOnly(false);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * DataSize));
}

void Sha1FromFile(benchmark::State& state)
{
    TSha1Digest digest;
    for (auto _ : state) {
        if (!HashFile(DataWindowsFile, digest)) {
            state.SkipWithError("the data file could not be read");
            break;
        }
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * DataSize));
}

void Sha1sumFromFile(benchmark::State& state)
{
    for (auto _ : state) {
        if (RunSha1sum(DataHostFile).empty()) {
            state.SkipWithError("sha1sum could not be run");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * DataSize));
}

BENCHMARK(Sha1InMemory)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(Sha1InMemoryPortable)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(Sha1FromFile)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(Sha1sumFromFile)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// Our digest of the file must be sha1sum's, or the timings compare different work.
bool DigestsAgree()
{
    TSha1Digest digest;
    if (!HashFile(DataWindowsFile, digest))
        return false;
    const std::string ours = Hex(digest);
    const std::string theirs = RunSha1sum(DataHostFile).substr(0, 40);
    std::printf("digest %s, sha1sum %s\n", ours.c_str(), theirs.c_str());
    return ours == theirs;
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    MakeData();
    DataHostFile = MakeDataFile();
    const std::optional<std::string> windowsPath = host::HostToWindows(DataHostFile);
    if (DataHostFile.empty() || !windowsPath) {
        std::fprintf(stderr, "cannot write the data file\n");
        return 1;
    }
    DataWindowsFile = *windowsPath;
    const bool agree = DigestsAgree();
    TRatioReporter reporter;
    if (agree) {
        benchmark::RunSpecifiedBenchmarks(&reporter);
        for (const char* ours : {"Sha1InMemory", "Sha1InMemoryPortable", "Sha1FromFile"})
            reporter.PrintRatio(ours, "Sha1sumFromFile", DataSize);
    } else {
        std::fprintf(stderr, "our digest differs from sha1sum's\n");
    }
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(DataHostFile).parent_path(), ignored);
    benchmark::Shutdown();
    return agree ? 0 : 1;
}
