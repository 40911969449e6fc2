#include "fileops/FolderEntries.h"

#include "core/files/PathNames.h"

#include <algorithm>
#include <string_view>

namespace {

bool NameLess(const host::FindData& entry, std::string_view name)
{
    return entry.Name < name;
}

} // namespace

TFolderEntries::TFolderEntries(const std::string& folder) : Folder(IncludeEndBackslash(folder))
{
    if (!host::FindFiles(Folder, "*", Entries)) {
        Entries.clear();
        return;
    }
    std::sort(Entries.begin(), Entries.end(),
              [](const host::FindData& a, const host::FindData& b) { return a.Name < b.Name; });
}

const host::FindData* TFolderEntries::Find(const std::string& path) const
{
    if (Entries.empty() || !path.starts_with(Folder))
        return nullptr;
    const std::string_view name = std::string_view(path).substr(Folder.size());
    if (name.empty() || name.find('\\') != std::string_view::npos)
        return nullptr;
    const auto found = std::lower_bound(Entries.begin(), Entries.end(), name, NameLess);
    return found != Entries.end() && found->Name == name ? &*found : nullptr;
}
