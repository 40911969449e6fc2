#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Runs a program (found on PATH) with its arguments and waits for it; its standard
// output goes to `output` when given. True when it ran and exited with 0.
bool RunProgram(const std::vector<std::string>& arguments, std::string* output = nullptr);

// A fresh temporary folder (host path) for the benchmark's data.
std::string MakeScratchFolder(const std::string& prefix);

// Writes back what is written and drops the folder's files from the page cache, so that
// each side of a pair reads from the disk and neither pays for the other's writing. Only
// the benchmark's own files are dropped: the machine's other work keeps its cache.
void FlushFolderCaches(const std::string& hostFolder);

// Reads every file below the folder once and then drops it from the page cache: on some
// virtual disks the first read of freshly written data is several times slower than any
// later one, whichever program reads, so the first timed side would pay for it alone.
void ReadFolderOnce(const std::string& hostFolder);

double Median(std::vector<double> values);

// A fast generator of the benchmarks' made-up data (xorshift): the same seed gives the
// same data in every run.
uint64_t NextRandom(uint64_t& state);
// A number from 0 to bound - 1.
int RandomBelow(uint64_t& state, int bound);

// Console output as usual, keeping the best seconds per iteration of each benchmark.
class TRatioReporter : public benchmark::ConsoleReporter
{
public:
    TRatioReporter();
    void ReportRuns(const std::vector<Run>& runs) override;

    // Prints "ours ... theirs ... ratio" with the ratio theirs / ours: 1 or more means
    // at least as fast as the reference program. `bytes` is the data of one iteration.
    void PrintRatio(const std::string& ours, const std::string& theirs, double bytes) const;
    // The same with the rates in another unit: `amount` of it in one iteration.
    void PrintRatio(const std::string& ours, const std::string& theirs, double amount, const char* unit) const;
    // The same with the milliseconds of one iteration.
    void PrintTimeRatio(const std::string& ours, const std::string& theirs) const;

private:
    std::map<std::string, double> Seconds;
};
