#include "core/files/FileInfo.h"

#include "core/errors/Traced.h"
#include "core/files/FileOperations.h"
#include "core/files/PathNames.h"
#include "core/text/AsciiCase.h"
#include "core/text/MyMath.h"

#include "host/DirectoryReader.h"
#include "host/Drives.h"
#include "host/LastError.h"

#include <algorithm>

namespace {

constexpr double DaysFrom1601To1899 = 109205;
constexpr double MillisecondsPerDay = 86400000;
// The date-time of 1 January 10000: the calendar ends the day before.
constexpr double EndOfCalendar = 2958466;

struct AttributeLetters
{
    uint16_t Bit;
    const char* Letters;
};

constexpr AttributeLetters AttributeOrder[] = {
    {0x20, "A"},   {0x1, "R"},    {0x2, "H"},   {0x4, "S"},    {0x800, "C"},
    {0x4000, "E"}, {0x1000, "O"}, {0x100, "T"}, {0x400, "Rp"}, {0x200, "Sf"},
};

bool HasWildcard(const std::string& path)
{
    return GetPathName(path).find_first_of("*?") != std::string::npos;
}

// The entry of a path, as a listing would give it: a wildcard name gives its first match.
std::optional<host::FindData> LookUpEntry(const std::string& path)
{
    if (path.back() == '\\') {
        host::SetLastError(host::ERROR_FILE_NOT_FOUND);
        return std::nullopt;
    }
    if (!HasWildcard(path))
        return host::GetFileData(path);
    std::vector<host::FindData> entries;
    if (!host::FindFiles(GetParentPath(path), GetPathName(path), entries) || entries.empty())
        return std::nullopt;
    return entries.front();
}

// The lookup failed because nothing is there: no such entry, or a folder on the way is missing.
bool IsMissingEntryError(uint32_t code)
{
    return code == host::ERROR_FILE_NOT_FOUND || code == host::ERROR_PATH_NOT_FOUND;
}

bool IsDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

TFileInfo::TFileInfo()
{
    Clear();
}

void TFileRecord::ClearRecord()
{
    Exists = false;
    Attributes = 0;
    Created = Accessed = Modified = GetNullFileTime();
    Size = 0;
}

void TFileInfo::Clear()
{
    ClearRecord();
    CreationTime = LastAccessTime = LastWriteTime = 0;
}

void TFileInfo::Load(const std::string& path)
{
    LoadEntry(path, true);
}

bool TFileInfo::LoadIfExists(const std::string& path)
{
    LoadEntry(path, false);
    return Exists;
}

void TFileInfo::LoadEntry(const std::string& path, bool missingFails)
{
    TTraced trace;
    trace.Run([&] {
        if (path.empty())
            return Clear();
        if (IsDriveName(path)) {
            Clear();
            Exists = path.size() == 2 && IsDriveLetter(path[0]) && host::GetDriveHostRoot(path[0]) &&
                     host::PathExists(path + "\\");
            return;
        }
        host::SetLastError(host::ERROR_SUCCESS);
        const std::optional<host::FindData> entry = LookUpEntry(path);
        if (!entry) {
            Clear();
            if (missingFails || !IsMissingEntryError(host::GetLastError()))
                trace.RaiseSystem("Failed to open file.", path);
            return;
        }
        LoadFromEntry(*entry);
        trace.TakeOver();
    });
    if (!trace.Succeeded())
        Clear();
}

void TFileInfo::LoadFromEntry(const host::FindData& entry)
{
    TTraced trace;
    trace.Run([&] {
        CreationTime = entry.CreationTime;
        LastAccessTime = entry.LastAccessTime;
        LastWriteTime = entry.LastWriteTime;
        Attributes = entry.Attributes;
        Created = ConvertFileTime(CreationTime);
        Accessed = ConvertFileTime(LastAccessTime);
        Modified = ConvertFileTime(LastWriteTime);
        if (trace.TakeOver())
            return;
        Size = static_cast<int64_t>(entry.Size);
        Exists = true;
    });
    if (!trace.Succeeded())
        Clear();
}

double ConvertFileTime(host::FileTime time)
{
    TTraced trace;
    double result = 0;
    trace.Run([&] {
        const host::FileTime shown = FileUnitLoader.LocalTime ? host::FileTimeToLocal(time) : time;
        const double value = static_cast<double>(shown / 10000) / MillisecondsPerDay - DaysFrom1601To1899;
        if (value >= EndOfCalendar)
            throw EError("Invalid argument to date encode.");
        result = value;
    });
    return trace.Succeeded() ? result : 0;
}

double GetNullFileTime()
{
    return ConvertFileTime(0);
}

int64_t CombineFileSize(uint32_t low, uint32_t high)
{
    return static_cast<int64_t>((static_cast<uint64_t>(high) << 32) | low);
}

bool MyFileExists(const std::string& path)
{
    host::SetLastError(host::ERROR_SUCCESS);
    return !path.empty() && host::PathExists(path);
}

bool IsDirectory(const std::string& path)
{
    if (IsDriveName(path))
        return true;
    const uint32_t attributes = host::GetFileAttributes(path);
    return attributes != host::INVALID_FILE_ATTRIBUTES && (attributes & host::FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsLinkFile(const std::string& name)
{
    return IsLnkFile(name) || IsPifFile(name);
}

bool IsLnkFile(const std::string& name)
{
    return SameTextAscii(GetExtension(name), ".lnk");
}

bool IsPifFile(const std::string& name)
{
    return SameTextAscii(GetExtension(name), ".pif");
}

std::string GetSizeText(int32_t digits, int32_t precision, int64_t size)
{
    if (!FileUnitLoader.SizeUnits)
        return AlignRealToTextPow(digits, precision, static_cast<double>(size));
    if (size < 1024)
        return AlignRealToTextPow(5, 0, static_cast<double>(size)) + " B";
    static const char* const Units[] = {" KB", " MB", " GB", " TB"};
    double quotient = static_cast<double>(size) / 1024;
    size_t unit = 0;
    while (quotient >= 1024 && unit + 1 < std::size(Units)) {
        quotient /= 1024;
        ++unit;
    }
    return AlignRealToTextPow(5, 1, quotient) + Units[unit];
}

std::string GetAttributesText(uint16_t attributes)
{
    std::string text;
    for (const AttributeLetters& entry : AttributeOrder)
        if ((attributes & entry.Bit) != 0)
            text += entry.Letters;
    return text;
}

uint32_t ClearReadOnly(const std::string& name)
{
    uint32_t attributes = host::GetFileAttributes(name);
    if (attributes == host::INVALID_FILE_ATTRIBUTES)
        attributes = 0;
    if ((attributes & host::FILE_ATTRIBUTE_READONLY) == 0)
        return 0;
    return host::SetFileAttributes(name, host::FILE_ATTRIBUTE_NORMAL) ? 0 : host::GetLastError();
}

uint32_t GetHardLinkCount(const std::string& name)
{
    TTraced trace;
    uint32_t count = 0;
    trace.Run([&] {
        count = host::GetHardLinkCount(name);
        if (count == 0)
            trace.Warn("Invalid file handle.", name, "", host::GetLastError());
    });
    return count;
}

// Stops at the first sub-folder: a tree asks this of every folder row it shows.
bool HasDirectories(const std::string& folder)
{
    TTraced trace;
    bool found = false;
    trace.Run([&] {
        host::DirectoryReader reader;
        if (!reader.Open(IncludeEndBackslash(folder))) {
            if (!IsFindOk(host::GetLastError()))
                trace.RaiseSystem("Failed to load directory.", folder);
            return;
        }
        host::DirectoryEntry entry;
        while (!found && reader.Next(entry))
            found = entry.IsDirectory;
        if (!found && !IsFindOk(host::GetLastError()))
            trace.RaiseSystem("Failed to load directory.", folder);
    });
    return found;
}

int64_t GetFileSize(host::File& file)
{
    TTraced trace;
    int64_t size = 0;
    trace.Run([&] {
        host::SetLastError(host::ERROR_SUCCESS);
        const std::optional<uint64_t> known = file.Size();
        if (!known || IsSystemError())
            return trace.Warn("Failed to get file size.", "", "", host::GetLastError());
        size = static_cast<int64_t>(*known);
    });
    return size;
}

int64_t GetFileSize(const std::string& name)
{
    TTraced trace;
    int64_t size = 0;
    trace.Run([&] {
        host::File file;
        if (!file.Open(name, host::FileAccess::Read, host::FileDisposition::OpenExisting))
            return trace.Warn("Failed to access file.", name, "", host::GetLastError());
        const std::optional<uint64_t> known = file.Size();
        if (!known)
            return trace.Warn("Failed to get file size.", name, "", host::GetLastError());
        size = static_cast<int64_t>(*known);
    });
    return size;
}

int64_t GetFileSizeFromInfo(const std::string& name)
{
    TFileInfo info;
    info.Load(name);
    return info.Size;
}
