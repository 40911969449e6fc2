#pragma once

#include <QDBusConnection>
#include <QVariantList>

#include <memory>

#include <string>
#include <vector>

// Starting programs and opening files the way the desktop does: programs and scripts run
// on their own, documents, folders and web addresses go to the desktop's default
// application, and the properties and "open with" requests go to the desktop's file
// manager and portal services.
namespace host {

// One method call on the session bus.
struct BusCall
{
    std::string Service;
    std::string Path;
    std::string Interface;
    std::string Method;
    QVariantList Arguments;
};

// What actually starts processes and talks to desktop services; tests install a
// recording one, so that no real program is started by accident.
class Launcher
{
public:
    virtual ~Launcher() = default;
    // Starts the program on its own, never waited for, in the working folder (host paths;
    // an empty folder keeps the current one). False with the last error set.
    virtual bool StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                               const std::string& workingFolder) = 0;
    // Calls the method and waits for the service's answer. False with the last error set:
    // ERROR_SERVICE_DOES_NOT_EXIST when no service answers (no bus, nobody owns the
    // name, no reply in time), ERROR_NO_ASSOCIATION when the service refuses.
    virtual bool CallSessionService(const BusCall& call) = 0;
};

// Installs the launcher; null restores the real one.
void SetLauncher(Launcher* launcher);
Launcher& GetLauncher();
// A real launcher whose service calls go to the given bus instead of the session bus.
std::unique_ptr<Launcher> MakeSystemLauncher(const QDBusConnection& bus);

enum class ShellVerb
{
    Open,
    OpenWith,
    OpenWithApplication,
    Properties
};

struct ShellRequest
{
    ShellVerb Verb = ShellVerb::Open;
    // Windows paths, or web addresses ("https://...", "mailto:...").
    std::vector<std::string> Files;
    // A Windows command line for a started program.
    std::string Parameters;
    // A Windows path; empty keeps the current folder.
    std::string Folder;
    // For OpenWithApplication: the desktop file ID of the application.
    std::string Application;
};

// The one way the program starts programs and opens files. Open starts a program or a
// script (an executable file that is a native binary or begins with "#!") with the
// parameters as its arguments, and hands anything else to the desktop's default
// application; parameters that such a file could not receive are refused
// (ERROR_NOT_SUPPORTED). OpenWith lets the user choose the application, while
// OpenWithApplication starts the given one on all the files. Properties shows the file
// manager's properties of all the files together. False with the last error set:
// ERROR_NO_ASSOCIATION when the desktop has nothing to do it with,
// ERROR_SERVICE_DOES_NOT_EXIST when the desktop service for it does not answer.
bool ShellExecute(const ShellRequest& request);

// Splits a command line into arguments by the Windows rules: blanks and tabs separate,
// quotation marks group (a doubled mark inside quotes stands for one mark), backslashes
// count only before a quotation mark (2n give n and a delimiter, 2n+1 give n and a mark).
std::vector<std::string> SplitWindowsCommandLine(const std::string& commandLine);
// The command line that SplitWindowsCommandLine splits into these arguments again. Each
// argument is quoted, so a placeholder in it may later be filled with blanks.
std::string JoinWindowsCommandLine(const std::vector<std::string>& arguments);

// The file URI of a host path, as desktop services expect it.
std::string HostPathToUri(const std::string& hostPath);

} // namespace host
