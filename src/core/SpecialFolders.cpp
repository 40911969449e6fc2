#include "core/SpecialFolders.h"

#include "core/PathNames.h"
#include "core/Traced.h"

#include "host/Drives.h"
#include "host/Process.h"

std::string GetTempPathA()
{
    TTraced trace;
    std::string result;
    try {
        const std::string hostFolder = host::GetTemporaryHostFolder();
        const std::optional<std::string> folder = hostFolder.empty() ? std::nullopt : host::HostToWindows(hostFolder);
        if (!folder)
            trace.RaiseSystem("Failed to get path.");
        else
            result = ExpandShortPath(IncludeEndBackslash(*folder));
    }
    TRACED_CATCH(trace)
    return result;
}
