#include "host/ExecutableType.h"

#include "host/Drives.h"
#include "host/File.h"
#include "host/FileSystem.h"

#include <sys/stat.h>

namespace host {
namespace {

constexpr uint32_t NewHeaderOffsetField = 0x3C;
// In the "PE" header: the optional header follows the 4-byte signature and the 20-byte
// file header; its subsystem version lies at 48 and its subsystem at 68.
constexpr uint32_t PeOptionalHeader = 24;
constexpr uint32_t PeSubsystemVersion = PeOptionalHeader + 48;
constexpr uint32_t PeSubsystem = PeOptionalHeader + 68;
constexpr uint16_t SubsystemWindowsGui = 2;
// In the "NE" header: the Windows version the program expects.
constexpr uint32_t NeExpectedVersion = 0x3E;

uint32_t Word(const std::string& bytes, size_t at)
{
    if (at + 2 > bytes.size())
        return 0;
    return static_cast<unsigned char>(bytes[at]) | (static_cast<unsigned char>(bytes[at + 1]) << 8);
}

// Up to `count` bytes from the position; fewer at the end of the file or after a failure.
std::string ReadAt(File& file, uint64_t position, size_t count)
{
    std::string bytes(count, '\0');
    size_t got = 0;
    if (file.Seek(position)) {
        while (got < count) {
            const std::optional<size_t> read = file.Read(bytes.data() + got, count - got);
            if (!read || *read == 0)
                break;
            got += *read;
        }
    }
    bytes.resize(got);
    return bytes;
}

uint32_t WindowsProgramType(File& file, uint32_t newHeader)
{
    const std::string header = ReadAt(file, newHeader, PeSubsystem + 2);
    if (header.starts_with(std::string_view("PE\0\0", 4))) {
        if (Word(header, PeSubsystem) != SubsystemWindowsGui)
            return ExeTypePe;
        const uint32_t version = (Word(header, PeSubsystemVersion) << 8) | Word(header, PeSubsystemVersion + 2);
        return ExeTypePe | (version << 16);
    }
    if (header.starts_with("NE"))
        return ExeTypeNe | (Word(header, NeExpectedVersion) << 16);
    return ExeTypeDos;
}

// ".com" files may be plain MS-DOS memory images; ".exe" files must carry the "MZ" header.
uint32_t ProgramFileType(const std::string& windowsPath, bool isCom)
{
    File file;
    if (!file.Open(windowsPath, FileAccess::Read, FileDisposition::OpenExisting))
        return 0;
    const std::string dosHeader = ReadAt(file, 0, NewHeaderOffsetField + 4);
    if (!dosHeader.starts_with("MZ"))
        return isCom ? ExeTypeDos : 0;
    if (dosHeader.size() < NewHeaderOffsetField + 4)
        return ExeTypeDos;
    const uint32_t newHeader =
        Word(dosHeader, NewHeaderOffsetField) | (Word(dosHeader, NewHeaderOffsetField + 2) << 16);
    return WindowsProgramType(file, newHeader);
}

// The owner may run it, and it starts as an ELF file or a script does.
bool IsHostProgram(const std::string& windowsPath)
{
    const std::optional<std::string> hostPath = WindowsToHost(windowsPath);
    struct stat info = {};
    if (!hostPath || stat(hostPath->c_str(), &info) != 0 || (info.st_mode & S_IXUSR) == 0)
        return false;
    File file;
    if (!file.Open(windowsPath, FileAccess::Read, FileDisposition::OpenExisting))
        return false;
    const std::string start = ReadAt(file, 0, 4);
    return start == "\x7F"
                    "ELF" ||
           start.starts_with("#!");
}

} // namespace

uint32_t GetExecutableType(const std::string& windowsPath)
{
    const std::optional<FindData> entry = GetFileData(windowsPath);
    if (!entry || (entry->Attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return 0;
    if (MatchesPattern(windowsPath, "*.bat") || MatchesPattern(windowsPath, "*.cmd"))
        return ExeTypeDos;
    if (MatchesPattern(windowsPath, "*.exe") || MatchesPattern(windowsPath, "*.com"))
        return ProgramFileType(windowsPath, MatchesPattern(windowsPath, "*.com"));
    return IsHostProgram(windowsPath) ? ExeTypePe : 0;
}

} // namespace host
