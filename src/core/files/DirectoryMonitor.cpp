#include "core/files/DirectoryMonitor.h"

#include "core/errors/Error.h"
#include "core/errors/Traced.h"
#include "core/files/Partitions.h"
#include "core/files/PathNames.h"

#include "host/LastError.h"

bool TDirectoryMonitor::IsWatching() const
{
    return !GetParentPath(Folder).empty();
}

// An open notification cannot be forgotten without being closed.
void TDirectoryMonitor::Clear()
{
    Handle.Close();
    Folder.clear();
}

void TDirectoryMonitor::Close()
{
    host::SetLastError(host::ERROR_SUCCESS);
    Handle.Close();
}

void TDirectoryMonitor::Reset()
{
    Close();
    Clear();
}

void TDirectoryMonitor::Ini(const std::string& folder)
{
    TTraced trace;
    try {
        Set(folder);
        trace.TakeOver();
    }
    TRACED_CATCH(trace)
}

void TDirectoryMonitor::Ini(const std::string& folder, std::vector<host::FindData>&& listing)
{
    TTraced trace;
    try {
        Arm(folder, &listing);
        trace.TakeOver();
    }
    TRACED_CATCH(trace)
}

void TDirectoryMonitor::Set(const std::string& folder)
{
    TTraced trace;
    try {
        Arm(folder, nullptr);
        trace.TakeOver();
    }
    TRACED_CATCH(trace)
}

void TDirectoryMonitor::Arm(const std::string& folder, std::vector<host::FindData>* listing)
{
    TTraced trace;
    try {
        Close();
        Folder = folder;
        if (!IsWatching())
            return;
        if (!PartitionExists(Folder))
            return trace.RaiseSystem("Failed set monitor.", folder);
        host::SetLastError(host::ERROR_SUCCESS);
        if (listing != nullptr)
            Handle.Open(Folder, std::move(*listing));
        else
            Handle.Open(Folder);
        if (IsSystemError()) {
            Handle.Close();
            trace.RaiseSystem("Failed set monitor.", folder);
        }
    }
    TRACED_CATCH(trace)
}

bool TDirectoryMonitor::GetChange()
{
    TTraced trace;
    bool changed = false;
    try {
        if (!IsWatching())
            return false;
        if (!PartitionExists(Folder) || !Handle.IsOpen())
            return true;
        host::SetLastError(host::ERROR_SUCCESS);
        changed = Handle.Poll().value_or(true);
        if (IsSystemError()) {
            Handle.Close();
            changed = true;
            trace.RaiseSystem("Failed get status.", Folder);
        }
    }
    TRACED_CATCH(trace)
    return changed;
}

bool TDirectoryMonitor::Next()
{
    TTraced trace;
    bool changed = false;
    try {
        if (!IsWatching())
            return false;
        changed = Handle.IsOpen() ? GetChange() : true;
        if (!RearmInPlace()) {
            Set(Folder);
            trace.TakeOver();
        }
    }
    TRACED_CATCH(trace)
    return changed;
}

// A sound notification starts its next period where it stands: cheaper than reopening
// it, and no change made in between is lost. Anything else takes a new one.
bool TDirectoryMonitor::RearmInPlace()
{
    return PartitionExists(Folder) && Handle.Rearm();
}
