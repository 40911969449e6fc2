#pragma once

#include "host/File.h"
#include "host/FileSystem.h"

#include <cstdint>
#include <string>

// What a directory entry says of a file, whether read from the disk or kept by a shell
// link about its target.
struct TFileRecord
{
    bool Exists = false;
    uint32_t Attributes = 0;
    double Created = 0;
    double Accessed = 0;
    double Modified = 0;
    int64_t Size = 0;

    // No file: its dates are the null date.
    void ClearRecord();
};

// What the program knows of one directory entry.
class TFileInfo : public TFileRecord
{
public:
    host::FileTime CreationTime = 0;
    host::FileTime LastAccessTime = 0;
    host::FileTime LastWriteTime = 0;

    TFileInfo();
    void Clear();
    // Fills the record from the entry of the path; a drive name ("C:") tells only whether
    // the drive exists. Traced: "Failed to open file." for a missing entry.
    void Load(const std::string& path);
    // As Load, but a missing entry is no failure: false, the record cleared and nothing
    // recorded. An entry that is there but cannot be looked at still fails.
    bool LoadIfExists(const std::string& path);
    // Fills the record from an entry a listing or a lookup already gave. Traced.
    void LoadFromEntry(const host::FindData& entry);

private:
    void LoadEntry(const std::string& path, bool missingFails);
};

// A file time as a date-time, in local time when FileUnitLoader says so. Traced.
double ConvertFileTime(host::FileTime time);
// The date-time that stands for "no date".
double GetNullFileTime();
int64_t CombineFileSize(uint32_t low, uint32_t high);
// A size for display: with FileUnitLoader's size units " B" below 1024, else one decimal
// and " KB" to " TB"; without them the number in `digits` digits and `precision` decimals.
std::string GetSizeText(int32_t digits, int32_t precision, int64_t size);
bool MyFileExists(const std::string& path);
bool IsDirectory(const std::string& path);
bool IsLinkFile(const std::string& name);
bool IsLnkFile(const std::string& name);
bool IsPifFile(const std::string& name);
// The letters of the set attributes, in the fixed order A R H S C E O T Rp Sf.
std::string GetAttributesText(uint16_t attributes);
// Makes a read-only entry a normal one (every attribute cleared); 0 or the error code.
uint32_t ClearReadOnly(const std::string& name);
// Traced; a warning and 0 when the file cannot be asked.
uint32_t GetHardLinkCount(const std::string& name);
// True when the folder holds a subfolder. Traced.
bool HasDirectories(const std::string& folder);
// Traced; a warning and 0 on failure.
int64_t GetFileSize(host::File& file);
int64_t GetFileSize(const std::string& name);
int64_t GetFileSizeFromInfo(const std::string& name);
