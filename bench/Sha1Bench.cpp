// SHA-1 over 256 MiB, in memory and from a file, timed against sha1sum on the same file
// in the same run. The file is hashed plainly, and as the hash dialog does it: with the
// progress callback, which writes the caption's text, and the application's events
// processed after each block. The ratios printed at the end are sha1sum's time over ours: 1 or
// more means at least as fast as sha1sum.

#include "BenchSupport.h"

#include "core/files/FileInfo.h"
#include "core/files/WholeFiles.h"
#include "core/text/Sha1.h"

#include "host/Drives.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr size_t DataSize = 256u << 20;

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

// The program's digest in the other programs' lower case; "" when hashing failed.
std::string HashDataFile()
{
    std::string digest = HashFile(DataWindowsFile);
    for (char& c : digest)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return digest;
}

// sha1sum's digest of the file; empty when it could not run.
std::string RunSha1sum(const std::string& hostPath)
{
    std::string output;
    return RunProgram({"sha1sum", hostPath}, &output) ? output.substr(0, 40) : std::string();
}

// openssl's digest of the file, which ends its line "SHA1(path)= digest"; empty when it
// could not run.
std::string RunOpensslSha1(const std::string& hostPath)
{
    std::string output;
    if (!RunProgram({"openssl", "sha1", hostPath}, &output))
        return {};
    const size_t sign = output.rfind("= ");
    return sign == std::string::npos ? std::string() : output.substr(sign + 2, 40);
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
    for (auto _ : state) {
        if (HashFile(DataWindowsFile).empty()) {
            state.SkipWithError("the data file could not be hashed");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * DataSize));
}

void Sha1FromFileWithProgress(benchmark::State& state)
{
    std::string caption;
    for (auto _ : state) {
        const std::string digest = HashFile(DataWindowsFile, [&](uint64_t hashed) {
            caption = "File hashing progress " + GetSizeText(6, 0, static_cast<int64_t>(hashed)) + " bytes...";
            return false;
        });
        if (digest.empty()) {
            state.SkipWithError("the data file could not be hashed");
            break;
        }
    }
    benchmark::DoNotOptimize(caption);
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

void OpensslSha1FromFile(benchmark::State& state)
{
    for (auto _ : state) {
        if (RunOpensslSha1(DataHostFile).empty()) {
            state.SkipWithError("openssl could not be run");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * DataSize));
}

BENCHMARK(Sha1InMemory)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(Sha1InMemoryPortable)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(Sha1FromFile)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(Sha1FromFileWithProgress)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);
BENCHMARK(Sha1sumFromFile)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// Our digest of the file must be the other programs', or the timings compare different
// work. openssl is optional: `withOpenssl` tells whether it gave a digest.
bool DigestsAgree(bool& withOpenssl)
{
    const std::string ours = HashDataFile();
    const std::string sha1sum = RunSha1sum(DataHostFile);
    const std::string openssl = RunOpensslSha1(DataHostFile);
    withOpenssl = !openssl.empty();
    std::printf("digest %s, sha1sum %s, openssl %s\n", ours.c_str(), sha1sum.c_str(),
                withOpenssl ? openssl.c_str() : "not installed");
    return !ours.empty() && ours == sha1sum && (!withOpenssl || ours == openssl);
}

} // namespace

int main(int argc, char** argv)
{
    // The events the hash dialog processes between blocks are an application's.
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    MakeData();
    DataHostFile = MakeDataFile();
    const std::optional<std::string> windowsPath = host::HostToWindows(DataHostFile);
    if (DataHostFile.empty() || !windowsPath) {
        std::fprintf(stderr, "cannot write the data file\n");
        return 1;
    }
    DataWindowsFile = *windowsPath;
    bool withOpenssl = false;
    const bool agree = DigestsAgree(withOpenssl);
    TRatioReporter reporter;
    if (agree) {
        if (withOpenssl)
            benchmark::RegisterBenchmark("OpensslSha1FromFile", OpensslSha1FromFile)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->MinTime(2.0);
        benchmark::RunSpecifiedBenchmarks(&reporter);
        for (const char* ours : {"Sha1InMemory", "Sha1InMemoryPortable", "Sha1FromFile", "Sha1FromFileWithProgress"})
            reporter.PrintRatio(ours, "Sha1sumFromFile", DataSize);
        reporter.PrintRatio("Sha1FromFile", "OpensslSha1FromFile", DataSize);
    } else {
        std::fprintf(stderr, "our digest differs from another program's\n");
    }
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(DataHostFile).parent_path(), ignored);
    benchmark::Shutdown();
    return agree ? 0 : 1;
}
