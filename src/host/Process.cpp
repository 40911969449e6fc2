#include "host/Process.h"

#include "host/Drives.h"
#include "host/FaultInjection.h"
#include "host/LastError.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace host {
namespace {

std::optional<std::string> ProgramFileOverride;
std::vector<std::string> CommandLine;

std::string ReadOwnExecutable()
{
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return {};
    return std::string(buffer, static_cast<size_t>(length));
}

} // namespace

std::string EnvironmentValue(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

std::string GetProgramHostFile()
{
    if (ProgramFileOverride)
        return *ProgramFileOverride;
    return ReadOwnExecutable();
}

void SetProgramHostFile(const std::string& hostPath)
{
    ProgramFileOverride = hostPath;
}

void SetCommandLine(std::vector<std::string> arguments)
{
    CommandLine = std::move(arguments);
}

const std::vector<std::string>& GetCommandLine()
{
    return CommandLine;
}

std::string GetCurrentDirectory()
{
    char buffer[PATH_MAX];
    if (getcwd(buffer, sizeof buffer) == nullptr)
        return {};
    const uint32_t savedError = GetLastError();
    std::optional<std::string> path = HostToWindows(buffer);
    SetLastError(savedError);
    return path.value_or(std::string());
}

bool SetCurrentDirectory(const std::string& windowsPath)
{
    const std::optional<std::string> hostPath = HostPathForCall(HostCall::SetCurrentDirectory, windowsPath);
    if (!hostPath)
        return false;
    if (chdir(hostPath->c_str()) != 0) {
        SetLastErrorFromErrno(errno);
        return false;
    }
    return true;
}

bool MakeHostFolders(const std::string& hostPath, unsigned mode)
{
    for (size_t slash = hostPath.find('/', 1); slash != std::string::npos; slash = hostPath.find('/', slash + 1))
        mkdir(hostPath.substr(0, slash).c_str(), 0755);
    if (mkdir(hostPath.c_str(), static_cast<mode_t>(mode)) != 0 && errno != EEXIST) {
        SetLastErrorFromErrno(errno);
        return false;
    }
    struct stat info = {};
    if (stat(hostPath.c_str(), &info) != 0 || access(hostPath.c_str(), W_OK) != 0) {
        SetLastErrorFromErrno(errno);
        return false;
    }
    if (!S_ISDIR(info.st_mode)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    SetLastError(ERROR_SUCCESS);
    return true;
}

std::string GetTemporaryHostFolder()
{
    const std::string runtime = EnvironmentValue("XDG_RUNTIME_DIR");
    if (!runtime.empty() && MakeHostFolders(runtime + "/quillomber", 0700))
        return runtime + "/quillomber";
    const std::string home = EnvironmentValue("HOME");
    if (!home.empty() && MakeHostFolders(home + "/.cache/quillomber/tmp", 0700))
        return home + "/.cache/quillomber/tmp";
    return {};
}

MemoryStatus GetMemoryStatus()
{
    std::ifstream meminfo("/proc/meminfo");
    uint64_t totalKb = 0, availableKb = 0, swapTotalKb = 0, swapFreeKb = 0;
    std::string line;
    while (std::getline(meminfo, line)) {
        std::istringstream fields(line);
        std::string key;
        uint64_t value = 0;
        fields >> key >> value;
        if (key == "MemTotal:")
            totalKb = value;
        else if (key == "MemAvailable:")
            availableKb = value;
        else if (key == "SwapTotal:")
            swapTotalKb = value;
        else if (key == "SwapFree:")
            swapFreeKb = value;
    }
    // The page file counts physical memory and swap together, as the system reports it.
    return MemoryStatus{totalKb * 1024, availableKb * 1024, (totalKb + swapTotalKb) * 1024,
                        (availableKb + swapFreeKb) * 1024};
}

void QuickExit(int code)
{
    _exit(code);
}

} // namespace host
