#include "BenchSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

bool RunProgram(const std::vector<std::string>& arguments, std::string* output)
{
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    std::vector<std::string> copies = arguments;
    std::vector<char*> argv;
    for (std::string& argument : copies)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t got; (got = read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(got));
    close(pipeEnds[0]);
    if (spawned != 0)
        return false;
    int status = 0;
    waitpid(child, &status, 0);
    if (output != nullptr)
        *output = text;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string MakeScratchFolder(const std::string& prefix)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + prefix + "-XXXXXX";
    return mkdtemp(pattern.data()) == nullptr ? std::string() : pattern;
}

TRatioReporter::TRatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular)
{
}

void TRatioReporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        if (run.error_occurred || run.run_type != Run::RT_Iteration || run.iterations == 0)
            continue;
        const double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
        const std::string name = run.run_name.function_name;
        if (!Seconds.count(name) || seconds < Seconds.at(name))
            Seconds[name] = seconds;
    }
}

void TRatioReporter::PrintRatio(const std::string& ours, const std::string& theirs, double bytes) const
{
    PrintRatio(ours, theirs, bytes / (1u << 20), "MiB/s");
}

void TRatioReporter::PrintRatio(const std::string& ours, const std::string& theirs, double amount,
                                const char* unit) const
{
    const auto mine = Seconds.find(ours);
    const auto reference = Seconds.find(theirs);
    if (mine == Seconds.end() || reference == Seconds.end())
        return;
    std::printf("%-22s %8.0f %s   %-18s %8.0f %s   ratio %.2f\n", ours.c_str(), amount / mine->second, unit,
                theirs.c_str(), amount / reference->second, unit, reference->second / mine->second);
}

void TRatioReporter::PrintTimeRatio(const std::string& ours, const std::string& theirs) const
{
    const auto mine = Seconds.find(ours);
    const auto reference = Seconds.find(theirs);
    if (mine == Seconds.end() || reference == Seconds.end())
        return;
    std::printf("%-24s %8.3f ms   %-18s %8.3f ms   ratio %.2f\n", ours.c_str(), 1000 * mine->second, theirs.c_str(),
                1000 * reference->second, reference->second / mine->second);
}

namespace {

// Calls `visit` with each regular file below the folder, opened to read.
void ForEachFileOpened(const std::string& hostFolder, const std::function<void(int file)>& visit)
{
    std::error_code error;
    for (std::filesystem::recursive_directory_iterator it(hostFolder, error), end; !error && it != end;
         it.increment(error)) {
        if (!it->is_regular_file(error))
            continue;
        const int file = open(it->path().c_str(), O_RDONLY | O_CLOEXEC);
        if (file < 0)
            continue;
        visit(file);
        close(file);
    }
}

} // namespace

void FlushFolderCaches(const std::string& hostFolder)
{
    sync();
    ForEachFileOpened(hostFolder, [](int file) { posix_fadvise(file, 0, 0, POSIX_FADV_DONTNEED); });
}

void ReadFolderOnce(const std::string& hostFolder)
{
    std::vector<char> buffer(4 << 20);
    ForEachFileOpened(hostFolder, [&](int file) {
        while (read(file, buffer.data(), buffer.size()) > 0) {
        }
    });
    FlushFolderCaches(hostFolder);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

uint64_t NextRandom(uint64_t& state)
{
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
}

int RandomBelow(uint64_t& state, int bound)
{
    return static_cast<int>(NextRandom(state) % static_cast<uint64_t>(bound));
}
