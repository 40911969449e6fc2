#include "core/desktop/ShellExecution.h"

#include "core/desktop/SystemMenu.h"
#include "core/errors/Traced.h"
#include "core/forms/MessageBoxes.h"

#include "host/LastError.h"
#include "host/Shell.h"

std::string GetShellParameters(const std::string& parameters, bool quote)
{
    if (parameters.empty())
        return {};
    return quote ? " \"" + parameters + "\"" : " " + parameters;
}

void RunFile(const std::string& file, const std::string& parameters, const std::string& folder, bool quote, bool)
{
    TTraced trace;
    trace.Run([&] {
        if (file.empty()) {
            ShowErrorMessage("The name of the file is empty.");
            return;
        }
        host::SetLastError(host::ERROR_SUCCESS);
        if (!host::ShellExecute(
                host::ShellRequest{host::ShellVerb::Open, {file}, GetShellParameters(parameters, quote), folder, {}}))
            trace.RaiseSystem("Failed to run file.", file, "");
    });
}

void RunVerb(const std::string& file, const std::string& verb, const std::string& folder)
{
    TTraced trace;
    trace.Run([&] {
        if (file.empty())
            return;
        // Reports name the file with a dot appended, the form verb failures have always
        // been reported in; the desktop receives the file itself.
        const std::string dottedFile = file + ".";
        host::SetLastError(host::ERROR_SUCCESS);
        if (InvokeShellVerb(verb, {file}, folder) || !IsSystemError())
            return;
        // The desktop's answer to the request comes from a service of its own (the file
        // manager shows properties): say that none answered, not that the file is at fault.
        if (host::GetLastError() == host::ERROR_SERVICE_DOES_NOT_EXIST)
            return trace.Raise("No desktop service answers the request \"" + verb + "\".", dottedFile, verb,
                               host::ERROR_SERVICE_DOES_NOT_EXIST);
        trace.RaiseSystem("Failed to run verb.", dottedFile, verb);
    });
}

void RunOpenWith(const std::string& file, const std::string& folder)
{
    RunVerb(file, "openas", folder);
}

void OpenSite(const std::string& address, const std::string& message)
{
    TTraced trace;
    trace.Run([&] {
        RunFile(address, "", "", true, false);
        trace.TakeOver();
    });
    trace.ShowFailure(message);
}
