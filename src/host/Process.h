#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the program knows of its own process: its file, its arguments, its current
// directory, the memory of the machine, and how to end at once.
namespace host {

// The host path of the program file; tests point it into a temporary folder so the
// program's own folder ("Options", "Errors.log") never lands beside the test binary.
std::string GetProgramHostFile();
void SetProgramHostFile(const std::string& hostPath);

// The program's arguments, argument 0 being the program path as given at start.
void SetCommandLine(std::vector<std::string> arguments);
const std::vector<std::string>& GetCommandLine();

// The current directory in Windows form ("C:\dir", a root as "C:\"); empty when the
// host directory has no Windows form.
std::string GetCurrentDirectory();
// Changes the current directory to a Windows path; false with the last error set.
bool SetCurrentDirectory(const std::string& windowsPath);

// Creates a host folder and its missing parents, the last one with `mode`; true when it
// exists afterwards as a writable folder, else false with the last error set.
bool MakeHostFolders(const std::string& hostPath, unsigned mode);
// The value of an environment variable, empty when it is not set.
std::string EnvironmentValue(const char* name);

// The program's private temporary folder as a host path ($XDG_RUNTIME_DIR/quillomber,
// else ~/.cache/quillomber/tmp), created with mode 0700; empty when it cannot be made.
std::string GetTemporaryHostFolder();

struct MemoryStatus
{
    uint64_t TotalPhysical = 0;
    uint64_t AvailablePhysical = 0;
    uint64_t TotalPageFile = 0;
    uint64_t AvailablePageFile = 0;
};
// The machine's memory figures in bytes.
MemoryStatus GetMemoryStatus();

// Ends the process at once with the code, running no exit handlers.
[[noreturn]] void QuickExit(int code);

} // namespace host
