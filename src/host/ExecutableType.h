#pragma once

#include <cstdint>
#include <string>

// The shell's executable-type query, answered from the file's name and first bytes.
namespace host {

// "MZ": an MS-DOS program or a batch file.
inline constexpr uint32_t ExeTypeDos = 0x5A4D;
// "PE" and "NE" in the low word: a Windows program.
inline constexpr uint32_t ExeTypePe = 0x4550;
inline constexpr uint32_t ExeTypeNe = 0x454E;

// 0 for a file that is no program. A Windows program with a window has the Windows
// version it asks for in the high word (major in its high byte), a console program 0
// there. A host program (an ELF file or a "#!" script that its owner may run) answers
// as a console program.
uint32_t GetExecutableType(const std::string& windowsPath);

} // namespace host
