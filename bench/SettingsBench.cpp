// Loading the settings stores as they grow: a "Quillomber.ini" of many sections and a
// registry store of many keys. Each runs at several sizes, and the fitted complexity
// printed at the end of each family is to be linear (N).

#include "BenchSupport.h"

#include "core/settings/StoredTextList.h"

#include "host/Drives.h"
#include "host/Registry.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace {

std::string ScratchFolder;

void WriteHostFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// "[Section0]" to "[Section<n-1>]", each with two keys, as a program of many dialogs writes.
std::string IniText(int64_t sections)
{
    std::string text;
    for (int64_t i = 0; i < sections; ++i)
        text += "[Section" + std::to_string(i) + "]\r\nName=value " + std::to_string(i) +
                "\r\nCount=" + std::to_string(i) + "\r\n\r\n";
    return text;
}

std::string RegistryText(int64_t keys)
{
    std::string text;
    for (int64_t i = 0; i < keys; ++i)
        text += "[HKEY_CURRENT_USER\\Software\\Bench\\Key" + std::to_string(i) + "]\n\"Value\"=dword:" + "0000002a\n\n";
    return text;
}

void IniLoad(benchmark::State& state)
{
    const int64_t sections = state.range(0);
    const std::string hostPath = ScratchFolder + "/Quillomber.ini";
    WriteHostFile(hostPath, IniText(sections));
    const std::optional<std::string> path = host::HostToWindows(hostPath);
    if (!path) {
        state.SkipWithError("the settings file has no Windows path");
        return;
    }
    const std::string lastSection = "section" + std::to_string(sections - 1);
    for (auto _ : state) {
        TStoredTextList store(*path);
        int32_t count = -1;
        store.OnLoad = [&](TStoredTextList& list, int32_t) {
            list.ReadInteger(lastSection, "count", 0, INT32_MAX, count);
        };
        if (!store.Load(0) || count != sections - 1) {
            state.SkipWithError("the settings file did not load");
            break;
        }
    }
    state.SetComplexityN(sections);
}

void RegistryRead(benchmark::State& state)
{
    const int64_t keys = state.range(0);
    WriteHostFile(host::GetRegistryHostFile(), RegistryText(keys));
    const std::string lastKey = "SOFTWARE\\bench\\key" + std::to_string(keys - 1);
    for (auto _ : state) {
        const std::optional<host::RegistryValue> value =
            host::ReadRegistryValue(host::RegistryRoot::CurrentUser, lastKey, "value");
        if (!value || value->Number != 42) {
            state.SkipWithError("the registry store did not load");
            break;
        }
    }
    state.SetComplexityN(keys);
}

BENCHMARK(IniLoad)->RangeMultiplier(4)->Range(6250, 100000)->Unit(benchmark::kMillisecond)->Complexity();
BENCHMARK(RegistryRead)->RangeMultiplier(4)->Range(2500, 40000)->Unit(benchmark::kMillisecond)->Complexity();

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    ScratchFolder = MakeScratchFolder("settings-bench");
    if (ScratchFolder.empty()) {
        std::fprintf(stderr, "cannot make a scratch folder\n");
        return 1;
    }
    // The registry store lives under the configuration folder: the scratch folder's.
    setenv("XDG_CONFIG_HOME", ScratchFolder.c_str(), 1);
    std::filesystem::create_directories(ScratchFolder + "/quillomber");
    benchmark::RunSpecifiedBenchmarks();
    std::error_code ignored;
    std::filesystem::remove_all(ScratchFolder, ignored);
    benchmark::Shutdown();
    return 0;
}
