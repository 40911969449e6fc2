// SHA-1 over 256 MiB, in memory and from a file, timed against sha1sum on the same file
// in the same run. The ratios printed at the end are sha1sum's time over ours: 1 or
// more means at least as fast as sha1sum.

#include "core/Sha1.h"

#include "host/Drives.h"
#include "host/File.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

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
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/sha1-bench-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr)
        return {};
    const std::string path = pattern + "/data.bin";
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

// Runs sha1sum on the file and gives its output line; empty when it could not run.
std::string RunSha1sum(const std::string& hostPath)
{
    int output[2];
    if (pipe(output) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    std::string program = "sha1sum";
    std::string argument = hostPath;
    char* arguments[] = {program.data(), argument.data(), nullptr};
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, "sha1sum", &actions, nullptr, arguments, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    std::string text;
    char buffer[256];
    for (ssize_t got; (got = read(output[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(got));
    close(output[0]);
    if (spawned != 0)
        return {};
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? text : std::string();
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

// Keeps the best seconds per iteration of each benchmark for the ratios.
class TRatioReporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, double> Seconds;

    TRatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration || run.iterations == 0)
                continue;
            const double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
            const std::string name = run.run_name.function_name;
            if (!Seconds.count(name) || seconds < Seconds[name])
                Seconds[name] = seconds;
        }
    }
};

void PrintRatio(const TRatioReporter& reporter, const std::string& ours)
{
    const auto mine = reporter.Seconds.find(ours);
    const auto theirs = reporter.Seconds.find("Sha1sumFromFile");
    if (mine == reporter.Seconds.end() || theirs == reporter.Seconds.end())
        return;
    const double mebibytes = static_cast<double>(DataSize) / (1u << 20);
    std::printf("%-22s %6.0f MiB/s   sha1sum %6.0f MiB/s   ratio %.2f\n", ours.c_str(),
                mebibytes / mine->second, mebibytes / theirs->second, theirs->second / mine->second);
}

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
        PrintRatio(reporter, "Sha1InMemory");
        PrintRatio(reporter, "Sha1InMemoryPortable");
        PrintRatio(reporter, "Sha1FromFile");
    } else {
        std::fprintf(stderr, "our digest differs from sha1sum's\n");
    }
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(DataHostFile).parent_path(), ignored);
    benchmark::Shutdown();
    return agree ? 0 : 1;
}
