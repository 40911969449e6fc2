#include "core/desktop/Program.h"

#include "core/errors/Error.h"
#include "core/errors/Traced.h"
#include "core/files/KnownFolders.h"
#include "core/files/Partitions.h"
#include "core/files/PathNames.h"

#include "host/Drives.h"
#include "host/LastError.h"
#include "host/Process.h"

#include <exception>

TProgram Program;

TProgram::TProgram()
{
    std::set_terminate(TerminateProgramFun);
    host::SetLastError(host::ERROR_SUCCESS);
}

TProgram::~TProgram()
{
    host::SetLastError(host::ERROR_SUCCESS);
}

void TerminateProgramFun()
{
    static const char* const function = "TerminateProgramFun";
    const std::string text = "Abort intercepted.\r\nProgram must be terminated.";
    FunStatContext.Raise(__FILE__, function, __LINE__, fsError, text, "", "", 0);
    FunStatContext.SetShowContext(__FILE__, function, __LINE__);
    FunStatContext.Show(text);
    FunStatContext.Reset(fsPerfect);
    TerminateProgram();
}

void TerminateProgram()
{
    host::QuickExit(1);
}

std::string GetProgramPath()
{
    const uint32_t savedError = host::GetLastError();
    const std::optional<std::string> path = host::HostToWindows(host::GetProgramHostFile());
    host::SetLastError(savedError);
    return path.value_or(std::string());
}

std::string GetProgramDir()
{
    return GetParentPath(GetProgramPath());
}

std::string GetProgramFileName()
{
    return GetPathName(GetProgramPath());
}

std::string GetProgramParam(int index)
{
    if (index == 0)
        return GetProgramPath();
    const std::vector<std::string>& arguments = host::GetCommandLine();
    if (index < 0 || static_cast<size_t>(index) >= arguments.size())
        return {};
    return arguments[static_cast<size_t>(index)];
}

std::string GetCurrentPath()
{
    return host::GetCurrentDirectory();
}

void SetProgramWorkingPath(const std::string& path)
{
    TTraced trace;
    try {
        std::string folder = GetParentPath(path);
        host::SetLastError(host::ERROR_SUCCESS);
        if (folder.empty())
            folder = GetTempPathA();
        if (!PartitionExists(folder) || !host::SetCurrentDirectory(folder)) {
            host::SetCurrentDirectory(GetTempPathA());
            trace.Raise("Failed to set working path.");
        }
    }
    TRACED_CATCH(trace)
}

namespace {

std::optional<host::MemoryStatus> InjectedMemoryStatus;

host::MemoryStatus ReadMemoryStatus()
{
    host::SetLastError(host::ERROR_SUCCESS);
    return InjectedMemoryStatus ? *InjectedMemoryStatus : host::GetMemoryStatus();
}

} // namespace

void GetMemoryStatus(uint64_t& totalPhysical, uint64_t& availablePhysical, uint64_t& totalPageFile,
                     uint64_t& availablePageFile)
{
    const host::MemoryStatus status = ReadMemoryStatus();
    totalPhysical = status.TotalPhysical;
    availablePhysical = status.AvailablePhysical;
    totalPageFile = status.TotalPageFile;
    availablePageFile = status.AvailablePageFile;
}

uint64_t GetTotalPhysicalMemory()
{
    return ReadMemoryStatus().TotalPhysical;
}

uint64_t GetAvailablePhysicalMemory()
{
    return ReadMemoryStatus().AvailablePhysical;
}

void InjectMemoryStatus(std::optional<host::MemoryStatus> status)
{
    InjectedMemoryStatus = status;
}

void InjectAvailablePhysicalMemory(std::optional<uint64_t> bytes)
{
    if (!bytes) {
        InjectedMemoryStatus.reset();
        return;
    }
    host::MemoryStatus status = host::GetMemoryStatus();
    status.AvailablePhysical = *bytes;
    InjectedMemoryStatus = status;
}
