#pragma once

#include "host/Process.h"

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

// The machine's memory figures in bytes, 64-bit and uncapped: the system's, or those a
// test injected.
void GetMemoryStatus(uint64_t& totalPhysical, uint64_t& availablePhysical, uint64_t& totalPageFile,
                     uint64_t& availablePageFile);
uint64_t GetTotalPhysicalMemory();
uint64_t GetAvailablePhysicalMemory();
// Tests decide the memory figures; none gives the system's answer again.
void InjectMemoryStatus(std::optional<host::MemoryStatus> status);
// Tests decide only the available physical memory; the other figures stay the system's.
void InjectAvailablePhysicalMemory(std::optional<uint64_t> bytes);
