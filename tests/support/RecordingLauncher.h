#pragma once

#include "host/LastError.h"
#include "host/Shell.h"

#include <set>
#include <string>
#include <vector>

// Stands in for the real launcher while it lives: records every start and service call
// instead of making it, and answers as told.
class TRecordingLauncher : public host::Launcher
{
public:
    struct TStart
    {
        std::string Program;
        std::vector<std::string> Arguments;
        std::string WorkingFolder;
    };

    TRecordingLauncher() { host::SetLauncher(this); }
    ~TRecordingLauncher() override { host::SetLauncher(nullptr); }
    TRecordingLauncher(const TRecordingLauncher&) = delete;
    TRecordingLauncher& operator=(const TRecordingLauncher&) = delete;

    bool StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& workingFolder) override
    {
        Starts.push_back(TStart{program, arguments, workingFolder});
        if (RefuseStarts) {
            host::SetLastError(host::ERROR_FILE_NOT_FOUND);
            return false;
        }
        host::SetLastError(host::ERROR_SUCCESS);
        return true;
    }

    bool CallSessionService(const host::BusCall& call) override
    {
        Calls.push_back(call);
        const bool present = PresentServices.contains(call.Service);
        host::SetLastError(present ? host::ERROR_SUCCESS : host::ERROR_SERVICE_DOES_NOT_EXIST);
        return present;
    }

    std::vector<TStart> Starts;
    std::vector<host::BusCall> Calls;
    bool RefuseStarts = false;
    std::set<std::string> PresentServices{"org.freedesktop.FileManager1", "org.freedesktop.portal.Desktop"};
};
