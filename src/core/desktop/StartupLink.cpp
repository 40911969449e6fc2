#include "core/desktop/StartupLink.h"

#include "core/desktop/DesktopEntry.h"

#include "core/errors/Traced.h"
#include "core/files/KnownFolders.h"
#include "core/files/PathNames.h"

#include "host/FileSystem.h"

std::string GetStartupEntryFileName(const std::string& folder, const std::string& linkName)
{
    return IncludeEndBackslash(folder) + linkName + ".desktop";
}

void MakeStartupLinkByStatus(const std::string& target, bool status)
{
    TTraced trace;
    trace.Run([&] {
        const std::string folder = GetStartupPath();
        if (!status) {
            if (!folder.empty())
                host::DeleteFile(folder + StartupEntryFileName);
            return;
        }
        if (folder.empty())
            return trace.Raise("Failed to get path.");
        WriteDesktopEntry(trace, folder + StartupEntryFileName, "Quillomber", target, true, "", false);
    });
    trace.ShowFailure("Failed to create link.");
}
