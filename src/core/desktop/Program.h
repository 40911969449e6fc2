#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The program object: while it lives, an exception that nothing catches is reported and
// ends the process.
class TProgram
{
public:
    TProgram();
    ~TProgram();
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;
};

extern TProgram Program;

// Reports "Abort intercepted." and ends the process; the terminate handler.
[[noreturn]] void TerminateProgramFun();
// Ends the process at once with exit code 1, running no clean-up.
[[noreturn]] void TerminateProgram();

// The program file's full path, its folder (with a trailing backslash) and its name.
std::string GetProgramPath();
std::string GetProgramDir();
std::string GetProgramFileName();
// Command-line argument i; 0 is the program path, past the last one the empty text.
std::string GetProgramParam(int index);
std::string GetCurrentPath();
// Makes the folder of a path the current directory (the temporary folder for a drive
// or the drive list). Traced; "Failed to set working path." when that cannot be done.
void SetProgramWorkingPath(const std::string& path);

void GetMemoryStatus(uint32_t& totalPhysical, uint32_t& availablePhysical, uint32_t& totalPageFile,
                     uint32_t& availablePageFile);
// In bytes, whole: machines hold more than 32 bits can count.
uint64_t GetTotalPhysicalMemory();
uint32_t GetAvailablePhysicalMemory();
// Tests decide what GetAvailablePhysicalMemory answers; none gives the system's answer
// again.
void InjectAvailablePhysicalMemory(std::optional<uint32_t> bytes);
