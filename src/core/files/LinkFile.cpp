#include "core/files/LinkFile.h"

#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/files/PathNames.h"
#include "core/text/AsciiCase.h"

#include "host/ExecutableType.h"
#include "host/ShellLink.h"

#include <vector>

namespace {

constexpr int32_t SW_SHOWNORMAL = 1;
constexpr int32_t SW_SHOWMINNOACTIVE = 7;

std::vector<std::string> PathParts(std::string path)
{
    std::vector<std::string> parts;
    while (!path.empty())
        parts.push_back(CutFirstPathName(path));
    return parts;
}

// The target as seen from the link's folder (".\a.txt", "..\d\a.txt"), kept in the link
// so that a link moved together with its target still finds it; "" across drives.
std::string RelativePathFromLink(const std::string& linkFileName, const std::string& target)
{
    const std::vector<std::string> folder = PathParts(GetParentPath(GetFullPath(linkFileName)));
    const std::vector<std::string> path = PathParts(target);
    if (folder.empty() || path.empty() || !IsDriveName(folder[0]) || !SameTextAscii(folder[0], path[0]))
        return {};
    size_t common = 1;
    while (common < folder.size() && common < path.size() && SameTextAscii(folder[common], path[common]))
        ++common;
    std::vector<std::string> steps;
    if (common == folder.size())
        steps.push_back(".");
    steps.insert(steps.end(), folder.size() - common, "..");
    steps.insert(steps.end(), path.begin() + static_cast<std::ptrdiff_t>(common), path.end());
    std::string relative;
    for (const std::string& step : steps)
        relative += (relative.empty() ? "" : "\\") + step;
    return relative;
}

uint32_t CodeOf(host::HResult result)
{
    return static_cast<uint32_t>(result);
}

std::string NameWithoutExtension(const std::string& path)
{
    const std::string name = GetPathName(path);
    return name.substr(0, name.size() - GetExtension(name).size());
}

} // namespace

TLinkFile::TLinkFile()
{
    Clear();
}

void TLinkFile::Clear()
{
    ClearRecord();
    Target.clear();
    WorkingFolder.clear();
    Arguments.clear();
    Description.clear();
    IconPath.clear();
    IconIndex = 0;
    HotKey = 0;
    ShowCmd = 0;
}

void TLinkFile::SetTargetInfo(const host::FindData& data)
{
    Clear();
    Exists = true;
    Attributes = data.Attributes;
    Created = ConvertFileTime(data.CreationTime);
    Accessed = ConvertFileTime(data.LastAccessTime);
    Modified = ConvertFileTime(data.LastWriteTime);
    Size = CombineFileSize(static_cast<uint32_t>(data.Size), static_cast<uint32_t>(data.Size >> 32));
}

void TLinkFile::Load(const std::string& linkFileName, bool resolve)
{
    TTraced trace;
    trace.Run([&] {
        Clear();
        if (!IsLinkFile(linkFileName))
            return trace.Raise("File is not a link.", linkFileName);
        const std::string fullName = GetFullPath(linkFileName);
        host::ShellLink link;
        const host::HResult loaded = host::LoadShellLink(fullName, link);
        if (IsHResultFailure(loaded))
            return trace.Raise("Failed to load link file.", linkFileName, "", CodeOf(loaded));
        if (resolve)
            host::ResolveShellLink(fullName, link, host::SLR_ANY_MATCH | host::SLR_UPDATE);
        SetTargetInfo(link.TargetData);
        if (trace.TakeOver())
            return;
        Target = GetFullPath(link.TargetPath);
        if (Target.empty())
            return trace.Raise("Empty reference path.", linkFileName);
        WorkingFolder = GetFullPath(link.WorkingDirectory);
        Arguments = link.Arguments;
        Description = link.Description;
        IconPath = GetFullPath(link.IconLocation);
        IconIndex = link.IconIndex;
        ShowCmd = link.ShowCommand;
        HotKey = link.HotKey;
        if (CompareTextAscii(link.TargetPath, linkFileName) == 0)
            trace.Raise("This file is most probably a virus because it links to itself.", linkFileName);
    });
    if (!trace.Succeeded())
        Clear();
}

void TLinkFile::Save(const std::string& linkFileName, bool overwrite)
{
    TTraced trace;
    trace.Run([&] {
        Target = GetFullPath(Target);
        if (IsLinkFile(Target))
            return trace.Raise("This operating system does not support chained links.", linkFileName);
        if (MyFileExists(linkFileName) && !overwrite)
            return;
        const std::pair<const std::string*, const char*> texts[] = {
            {&Target, "Failed to set reference path."}, {&WorkingFolder, "Failed to set working path."},
            {&Arguments, "Failed to set arguments."},   {&Description, "Failed to set description."},
            {&IconPath, "Failed to set icon path."},
        };
        for (const auto& [text, failure] : texts)
            if (!host::IsStorableLinkText(*text))
                return trace.Raise(failure, linkFileName, "", CodeOf(host::E_INVALIDARG));
        host::ShellLink link;
        link.TargetData = host::GetFileData(Target).value_or(host::FindData{});
        link.TargetPath = Target;
        link.RelativePath = RelativePathFromLink(linkFileName, Target);
        link.WorkingDirectory = WorkingFolder;
        link.Arguments = Arguments;
        link.Description = Description;
        link.IconLocation = IconPath;
        link.IconIndex = IconIndex;
        link.HotKey = HotKey;
        link.ShowCommand = ShowCmd;
        const host::HResult saved = host::SaveShellLink(GetFullPath(linkFileName), link);
        if (IsHResultFailure(saved))
            trace.Raise("Failed to save link file.", linkFileName, "", CodeOf(saved));
    });
    if (!trace.Succeeded())
        Clear();
}

void TLinkFile::Assign(const TLinkFile& other)
{
    *this = other;
}

bool TLinkFile::IsTargetDirectory() const
{
    return Exists && (Attributes & host::FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string GetWhenReference(const std::string& name, bool* isFolder, bool* isLink, bool resolve, TLinkFile* record)
{
    std::string result = name;
    if (isLink != nullptr)
        *isLink = false;
    TTraced trace;
    trace.Run([&] {
        if (!IsLinkFile(name))
            return;
        TLinkFile link;
        link.Load(name, resolve);
        if (trace.TakeOver())
            return;
        if (record != nullptr)
            record->Assign(link);
        if (isFolder != nullptr)
            *isFolder = link.IsTargetDirectory();
        if (isLink != nullptr)
            *isLink = true;
        result = link.Target;
    });
    return result;
}

bool IsLinkToProgram(const std::string& name)
{
    if (!IsLnkFile(name))
        return false;
    TLinkFile link;
    link.Load(name, false);
    return FunStatContext.Status <= fsWarning && IsExecutableFile(link.Target);
}

bool IsExecutableFile(const std::string& name)
{
    return host::GetExecutableType(name) != 0;
}

bool IsDosProgram(const std::string& name)
{
    return host::GetExecutableType(name) == host::ExeTypeDos;
}

std::string GetLinkExtension(const std::string& target)
{
    return IsDosProgram(target) ? ".pif" : ".lnk";
}

void CopyFileAsLink(const std::string& target, const std::string& linkFileName, bool overwrite,
                    const std::string& arguments, bool useTargetFolder, bool minimised)
{
    TTraced trace;
    trace.Run([&] {
        TLinkFile link;
        link.Target = target;
        link.WorkingFolder = useTargetFolder ? GetParentPath(target) : "";
        link.Arguments = arguments;
        if (minimised)
            link.ShowCmd = SW_SHOWMINNOACTIVE;
        link.Save(linkFileName, overwrite);
        trace.TakeOver();
    });
}

void CopyFileAsLinkWithParam(const std::string& target, const std::string& linkFileName, const std::string& arguments,
                             bool overwrite)
{
    TTraced trace;
    trace.Run([&] {
        TLinkFile link;
        link.Target = target;
        link.WorkingFolder = GetParentPath(target);
        link.Arguments = arguments;
        link.Save(linkFileName, overwrite);
        trace.TakeOver();
    });
}

void MakeLinkByStatus(const std::string& folder, const std::string& target, const std::string& arguments,
                      const std::string& description, bool minimised, bool status)
{
    TTraced trace;
    trace.Run([&] {
        const std::string linkFileName = IncludeEndBackslash(folder) + NameWithoutExtension(target) + ".lnk";
        if (!status) {
            host::DeleteFile(linkFileName);
            return;
        }
        TLinkFile link;
        if (MyFileExists(linkFileName)) {
            link.Load(linkFileName, false);
            if (trace.TakeOver())
                return;
        }
        const bool upToDate = link.Target == target && link.Arguments == arguments && link.Description == description &&
                              (link.ShowCmd == SW_SHOWMINNOACTIVE) == minimised;
        if (upToDate)
            return;
        link.Target = target;
        link.Arguments = arguments;
        link.Description = description;
        link.ShowCmd = minimised ? SW_SHOWMINNOACTIVE : SW_SHOWNORMAL;
        link.Save(linkFileName, true);
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to create link.");
}
