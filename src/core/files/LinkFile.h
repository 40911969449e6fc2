#pragma once

#include "core/files/FileInfo.h"

#include "host/FileSystem.h"

#include <cstdint>
#include <string>

// A shell link (".lnk", or ".pif" for an MS-DOS program) as a plain value: what the link
// records about its target (the file record, existing once it has been read), then its
// own fields.
class TLinkFile : public TFileRecord
{
public:
    std::string Target;
    std::string WorkingFolder;
    std::string Arguments;
    std::string Description;
    std::string IconPath;
    int32_t IconIndex = 0;
    // The virtual key in the low byte, the modifier flags in the high byte.
    uint16_t HotKey = 0;
    // 1 normal, 7 minimised without activation; 0 shows the target normally too.
    int32_t ShowCmd = 0;

    TLinkFile();
    void Clear();
    // Clears, then takes the target's record from the entry data the link holds.
    void SetTargetInfo(const host::FindData& data);
    // Reads a link; with `resolve` a target that has moved is looked for and the link
    // file repaired. Traced; a failed load leaves the record cleared.
    void Load(const std::string& linkFileName, bool resolve);
    // Writes the record as a link; an existing file is kept unless `overwrite`. Traced; a
    // failed save clears the record.
    void Save(const std::string& linkFileName, bool overwrite);
    void Assign(const TLinkFile& other);
    bool IsTargetDirectory() const;
};

// The name a name refers to: a link's target, or the name itself. `isFolder` is written
// only for a link that loads. Traced: a link that fails to load gives the name itself.
std::string GetWhenReference(const std::string& name, bool* isFolder = nullptr, bool* isLink = nullptr,
                             bool resolve = false, TLinkFile* record = nullptr);
// A ".lnk" whose target is a program; a link that fails to load gives false and leaves
// its failure in FunStatContext.
bool IsLinkToProgram(const std::string& name);
bool IsExecutableFile(const std::string& name);
// An MS-DOS program or a batch file.
bool IsDosProgram(const std::string& name);
// ".pif" for an MS-DOS program, else ".lnk".
std::string GetLinkExtension(const std::string& target);
// Creates a link to the target; its working folder is the target's folder when
// `useTargetFolder`. Traced.
void CopyFileAsLink(const std::string& target, const std::string& linkFileName, bool overwrite,
                    const std::string& arguments, bool useTargetFolder, bool minimised);
// Creates a link with arguments whose working folder is the target's folder. Traced.
void CopyFileAsLinkWithParam(const std::string& target, const std::string& linkFileName, const std::string& arguments,
                             bool overwrite);
// Keeps "<folder>\<target name without extension>.lnk" in step with `status`: made or
// brought up to date when true, deleted when false. Shows its own failure.
void MakeLinkByStatus(const std::string& folder, const std::string& target, const std::string& arguments,
                      const std::string& description, bool minimised, bool status);
