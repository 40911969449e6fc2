#include "columns/Containers.h"

#include "core/errors/Error.h"
#include "core/errors/Traced.h"
#include "core/files/PathNames.h"
#include "core/files/ProgramFolders.h"
#include "core/text/AsciiCase.h"
#include "core/text/MyMath.h"
#include "core/text/Text.h"

#include "host/File.h"
#include "host/LastError.h"

#include <algorithm>
#include <optional>

namespace {

const char* const LineEnd = "\r\n";

bool IsStorablePath(const std::string& path)
{
    return !path.empty() && !IsDriveName(path);
}

bool IsValidFileTitle(const std::string& path)
{
    return !path.empty() && path.find_first_of("<>|*?\"") == std::string::npos;
}

// A NUL byte ends the content of a container file.
std::string ContentBeforeNul(const std::string& bytes)
{
    return bytes.substr(0, bytes.find('\0'));
}

bool IsMissingFileError(uint32_t error)
{
    return error == host::ERROR_FILE_NOT_FOUND || error == host::ERROR_PATH_NOT_FOUND;
}

std::string FileFailureText(const std::string& what, const std::string& path)
{
    return what + " \"" + path + "\". " + GetSystemErrorText(host::GetLastError());
}

} // namespace

TContainer::TContainer(int32_t index) : OwnIndex(index)
{
}

std::string TContainer::GetFileName() const
{
    return IntToDigitsText(OwnIndex + 1, 2) + ".txt";
}

std::string TContainer::GetDisplayName() const
{
    return Name.empty() ? std::to_string(OwnIndex + 1) : Name;
}

std::string TContainer::GetFilePath() const
{
    return IncludeEndBackslash(GetContainersPath()) + GetFileName();
}

void TContainer::Load()
{
    TTraced trace;
    try {
        const std::string path = GetFilePath();
        host::SetLastError(host::ERROR_SUCCESS);
        const std::optional<std::string> bytes = host::ReadFileContents(path);
        LoadFailed = !bytes && !IsMissingFileError(host::GetLastError());
        if (LoadFailed)
            throw EError(FileFailureText("Cannot open file", path));
        for (const std::string& line : SplitLines(ContentBeforeNul(bytes.value_or(std::string()))))
            AddItem(line, 0);
    }
    TRACED_CATCH(trace)
}

void TContainer::Save() const
{
    if (LoadFailed)
        return;
    TTraced trace;
    try {
        std::string content;
        for (const TContainerItem& entry : Entries)
            content += entry.Path + LineEnd;
        const std::string path = GetFilePath();
        host::SetLastError(host::ERROR_SUCCESS);
        if (!host::ReplaceFileContents(path, content))
            throw EError(FileFailureText("Cannot create file", path));
    }
    TRACED_CATCH(trace)
}

int32_t TContainer::AddItem(const std::string& path, int32_t itemNumber)
{
    if (!IsStorablePath(path))
        return -1;
    Entries.push_back(TContainerItem{path, TContainerItemData{itemNumber}});
    return Count() - 1;
}

bool TContainer::InsertItem(int32_t index, const std::string& path)
{
    if (!IsStorablePath(path))
        return true;
    const int32_t at = std::max(index, 0);
    if (at > Count())
        throw EError("Container item index out of bounds (" + std::to_string(index) + ").");
    Entries.insert(Entries.begin() + at, TContainerItem{path, TContainerItemData{}});
    return true;
}

void TContainer::DeleteItem(int32_t index)
{
    EntryAt(index);
    Entries.erase(Entries.begin() + index);
}

bool TContainer::IsDuplicateItem(const std::string& path) const
{
    const auto same = [&](const TContainerItem& entry) { return SameTextAscii(entry.Path, path); };
    const auto first = std::find_if(Entries.begin(), Entries.end(), same);
    return first != Entries.end() && std::find_if(first + 1, Entries.end(), same) != Entries.end();
}

void TContainer::RenameItem(int32_t index, const std::string& newPath, const std::string& expectedOldPath)
{
    TTraced trace;
    try {
        if (!IsValidFileTitle(newPath))
            return trace.Raise("Invalid file title.", newPath, "");
        TContainerItem& entry = EntryAt(index);
        if (!expectedOldPath.empty() && entry.Path != expectedOldPath)
            return trace.Panic("This item's name is not the same as the original name.", std::to_string(index),
                               expectedOldPath);
        entry.Path = newPath;
    }
    TRACED_CATCH(trace)
}

TContainerItem& TContainer::EntryAt(int32_t index)
{
    if (index < 0 || index >= Count())
        throw EError("Container item index out of bounds (" + std::to_string(index) + ").");
    return Entries[static_cast<size_t>(index)];
}

TContainers::TContainers()
{
    List.reserve(ContainerCount);
    for (int32_t index = 0; index < ContainerCount; ++index)
        List.emplace_back(index);
}

TContainer* TContainers::Find(int32_t index)
{
    if (index < 0 || index >= ContainerCount)
        return nullptr;
    return &List[static_cast<size_t>(index)];
}

void TContainers::LoadAll()
{
    TTraced trace;
    try {
        for (TContainer& container : List) {
            container.Load();
            if (trace.Succeeded())
                trace.TakeOver();
        }
    }
    TRACED_CATCH(trace)
    trace.ShowFailure("Failed to load containers.");
}

void TContainers::SaveAll() const
{
    TTraced trace;
    try {
        for (const TContainer& container : List) {
            container.Save();
            if (trace.Succeeded())
                trace.TakeOver();
        }
    }
    TRACED_CATCH(trace)
    trace.ShowFailure("Failed to save containers.");
}
