#include "host/Shell.h"

#include "host/DesktopApplications.h"
#include "host/Drives.h"
#include "host/LastError.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace host {
namespace {

// A desktop service may have to start before it answers.
constexpr int ServiceTimeoutMs = 10000;

bool ProgramExists(const std::string& program)
{
    if (program.find('/') != std::string::npos)
        return access(program.c_str(), F_OK) == 0;
    return !QStandardPaths::findExecutable(QString::fromStdString(program)).isEmpty();
}

// Every answer that says nobody took the call, as opposed to a service that refused it.
bool IsNoServiceAnswer(const QDBusMessage& reply)
{
    static const QStringList noService{
        "org.freedesktop.DBus.Error.ServiceUnknown", "org.freedesktop.DBus.Error.NameHasNoOwner",
        "org.freedesktop.DBus.Error.NoReply",        "org.freedesktop.DBus.Error.Timeout",
        "org.freedesktop.DBus.Error.TimedOut",       "org.freedesktop.DBus.Error.Disconnected",
        "org.freedesktop.DBus.Error.UnknownObject",  "org.freedesktop.DBus.Error.Spawn.ServiceNotFound"};
    return noService.contains(reply.errorName());
}

class SystemLauncher final : public Launcher
{
public:
    SystemLauncher() = default;
    explicit SystemLauncher(const QDBusConnection& bus) : Bus(bus) {}

    bool StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& workingFolder) override
    {
        QStringList argumentList;
        for (const std::string& argument : arguments)
            argumentList << QString::fromStdString(argument);
        if (QProcess::startDetached(QString::fromStdString(program), argumentList,
                                    QString::fromStdString(workingFolder))) {
            SetLastError(ERROR_SUCCESS);
            return true;
        }
        SetLastError(ProgramExists(program) ? ERROR_ACCESS_DENIED : ERROR_FILE_NOT_FOUND);
        return false;
    }

    bool CallSessionService(const BusCall& call) override
    {
        QDBusConnection bus = Bus ? *Bus : QDBusConnection::sessionBus();
        if (!bus.isConnected()) {
            SetLastError(ERROR_SERVICE_DOES_NOT_EXIST);
            return false;
        }
        QDBusMessage message =
            QDBusMessage::createMethodCall(QString::fromStdString(call.Service), QString::fromStdString(call.Path),
                                           QString::fromStdString(call.Interface), QString::fromStdString(call.Method));
        message.setArguments(call.Arguments);
        const QDBusMessage reply = bus.call(message, QDBus::Block, ServiceTimeoutMs);
        if (reply.type() == QDBusMessage::ReplyMessage) {
            SetLastError(ERROR_SUCCESS);
            return true;
        }
        SetLastError(IsNoServiceAnswer(reply) ? ERROR_SERVICE_DOES_NOT_EXIST : ERROR_NO_ASSOCIATION);
        return false;
    }

private:
    std::optional<QDBusConnection> Bus;
};

SystemLauncher RealLauncher;
Launcher* InstalledLauncher = nullptr;

bool Fail(uint32_t code)
{
    SetLastError(code);
    return false;
}

// "https://...", "mailto:..."; a drive letter is no scheme.
bool IsWebAddress(const std::string& text)
{
    const size_t colon = text.find(':');
    if (colon == std::string::npos || colon < 2 || !std::isalpha(static_cast<unsigned char>(text[0])))
        return false;
    for (size_t i = 1; i < colon; ++i) {
        const char c = text[i];
        if (!std::isalnum(static_cast<unsigned char>(c)) && c != '+' && c != '-' && c != '.')
            return false;
    }
    return true;
}

bool IsWindowsAbsolutePath(const std::string& text)
{
    return text.size() >= 3 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':' && text[2] == '\\';
}

// The host path of an existing file or folder.
std::optional<std::string> ExistingHostPath(const std::string& windowsPath)
{
    std::optional<std::string> hostPath = WindowsToHost(windowsPath);
    if (!hostPath)
        return std::nullopt;
    struct stat info = {};
    if (stat(hostPath->c_str(), &info) != 0) {
        SetLastErrorFromErrno(errno);
        return std::nullopt;
    }
    return hostPath;
}

// The host folder a started program runs in; empty for the current one.
std::optional<std::string> WorkingHostFolder(const std::string& windowsFolder)
{
    if (windowsFolder.empty())
        return std::string();
    std::optional<std::string> hostFolder = WindowsToHost(windowsFolder);
    if (!hostFolder)
        return std::nullopt;
    struct stat info = {};
    if (stat(hostFolder->c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        SetLastError(ERROR_DIRECTORY);
        return std::nullopt;
    }
    return hostFolder;
}

// A file the system can start itself: executable, and a native binary or a script.
bool IsStartableProgram(const std::string& hostPath)
{
    struct stat info = {};
    if (stat(hostPath.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || access(hostPath.c_str(), X_OK) != 0)
        return false;
    const int descriptor = open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    char head[4] = {};
    const ssize_t length = read(descriptor, head, sizeof head);
    close(descriptor);
    const bool isBinary = length == 4 && std::memcmp(head,
                                                     "\x7F"
                                                     "ELF",
                                                     4) == 0;
    const bool isScript = length >= 2 && head[0] == '#' && head[1] == '!';
    return isBinary || isScript;
}

// Windows paths among the arguments become host paths; other arguments stay as given.
std::vector<std::string> ProgramArguments(const std::string& parameters)
{
    std::vector<std::string> arguments = SplitWindowsCommandLine(parameters);
    for (std::string& argument : arguments) {
        if (!IsWindowsAbsolutePath(argument))
            continue;
        if (std::optional<std::string> hostPath = WindowsToHost(argument))
            argument = *hostPath;
    }
    return arguments;
}

bool OpenWithDesktop(const std::string& target, const std::string& workingFolder)
{
    if (!GetLauncher().StartDetached("xdg-open", {target}, workingFolder))
        return Fail(ERROR_NO_ASSOCIATION);
    return true;
}

// A program named without a folder ("gedit") is found the way a shell finds it.
std::optional<std::string> ProgramInSearchPath(const std::string& file)
{
    if (file.empty() || file.find_first_of("\\/:") != std::string::npos)
        return std::nullopt;
    const QString found = QStandardPaths::findExecutable(QString::fromStdString(file));
    if (found.isEmpty())
        return std::nullopt;
    return found.toStdString();
}

bool OpenOne(const std::string& file, const std::string& parameters, const std::string& workingFolder)
{
    const std::vector<std::string> arguments = ProgramArguments(parameters);
    if (IsWebAddress(file)) {
        if (!arguments.empty())
            return Fail(ERROR_NOT_SUPPORTED);
        return OpenWithDesktop(file, workingFolder);
    }
    if (const std::optional<std::string> program = ProgramInSearchPath(file))
        return GetLauncher().StartDetached(*program, arguments, workingFolder);
    const std::optional<std::string> hostPath = ExistingHostPath(file);
    if (!hostPath)
        return false;
    if (IsStartableProgram(*hostPath))
        return GetLauncher().StartDetached(*hostPath, arguments, workingFolder);
    // The desktop opens a document (or a Windows program, when it has a runner for one)
    // with no way to pass arguments on.
    if (!arguments.empty())
        return Fail(ERROR_NOT_SUPPORTED);
    return OpenWithDesktop(*hostPath, workingFolder);
}

bool CallDesktopService(const BusCall& call)
{
    return GetLauncher().CallSessionService(call);
}

QVariantMap AskOptions()
{
    return QVariantMap{{QStringLiteral("ask"), true}};
}

bool ChooseApplicationFor(const std::string& file)
{
    const BusCall portal{
        "org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop", "org.freedesktop.portal.OpenURI", {}, {}};
    if (IsWebAddress(file)) {
        BusCall call = portal;
        call.Method = "OpenURI";
        call.Arguments = {QString(), QString::fromStdString(file), AskOptions()};
        return CallDesktopService(call);
    }
    const std::optional<std::string> hostPath = ExistingHostPath(file);
    if (!hostPath)
        return false;
    // The portal takes local files only as an open descriptor.
    const int descriptor = open(hostPath->c_str(), O_PATH | O_CLOEXEC);
    if (descriptor < 0) {
        SetLastErrorFromErrno(errno);
        return false;
    }
    BusCall call = portal;
    call.Method = "OpenFile";
    call.Arguments = {QString(), QVariant::fromValue(QDBusUnixFileDescriptor(descriptor)), AskOptions()};
    close(descriptor);
    return CallDesktopService(call);
}

bool StartApplication(const std::string& id, const std::vector<std::string>& files, const std::string& workingFolder)
{
    const std::optional<DesktopApplication> application = FindApplication(id);
    if (!application)
        return Fail(ERROR_NO_ASSOCIATION);
    std::vector<std::string> hostPaths;
    for (const std::string& file : files) {
        const std::optional<std::string> hostPath = ExistingHostPath(file);
        if (!hostPath)
            return false;
        hostPaths.push_back(*hostPath);
    }
    const std::vector<std::vector<std::string>> commands = ExpandExecLine(*application, hostPaths);
    if (commands.empty())
        return Fail(ERROR_NO_ASSOCIATION);
    for (const std::vector<std::string>& command : commands)
        if (!GetLauncher().StartDetached(command.front(), {command.begin() + 1, command.end()}, workingFolder))
            return false;
    return true;
}

bool ShowProperties(const std::vector<std::string>& files)
{
    QStringList uris;
    for (const std::string& file : files) {
        if (IsWebAddress(file))
            return Fail(ERROR_NO_ASSOCIATION);
        const std::optional<std::string> hostPath = ExistingHostPath(file);
        if (!hostPath)
            return false;
        uris << QString::fromStdString(HostPathToUri(*hostPath));
    }
    return CallDesktopService(BusCall{"org.freedesktop.FileManager1",
                                      "/org/freedesktop/FileManager1",
                                      "org.freedesktop.FileManager1",
                                      "ShowItemProperties",
                                      {uris, QString()}});
}

} // namespace

void SetLauncher(Launcher* launcher)
{
    InstalledLauncher = launcher;
}

Launcher& GetLauncher()
{
    return InstalledLauncher != nullptr ? *InstalledLauncher : RealLauncher;
}

std::unique_ptr<Launcher> MakeSystemLauncher(const QDBusConnection& bus)
{
    return std::make_unique<SystemLauncher>(bus);
}

bool ShellExecute(const ShellRequest& request)
{
    if (request.Files.empty())
        return Fail(ERROR_INVALID_PARAMETER);
    const std::optional<std::string> workingFolder = WorkingHostFolder(request.Folder);
    if (!workingFolder)
        return false;
    switch (request.Verb) {
    case ShellVerb::Properties:
        if (!ShowProperties(request.Files))
            return false;
        break;
    case ShellVerb::OpenWith:
        for (const std::string& file : request.Files)
            if (!ChooseApplicationFor(file))
                return false;
        break;
    case ShellVerb::OpenWithApplication:
        if (!StartApplication(request.Application, request.Files, *workingFolder))
            return false;
        break;
    case ShellVerb::Open:
        for (const std::string& file : request.Files)
            if (!OpenOne(file, request.Parameters, *workingFolder))
                return false;
        break;
    }
    SetLastError(ERROR_SUCCESS);
    return true;
}

std::vector<std::string> SplitWindowsCommandLine(const std::string& commandLine)
{
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    size_t i = 0;
    while (i < commandLine.size()) {
        const char c = commandLine[i];
        if (!quoted && (c == ' ' || c == '\t')) {
            if (inArgument)
                arguments.push_back(std::move(current));
            current.clear();
            inArgument = false;
            ++i;
            continue;
        }
        inArgument = true;
        if (c == '\\') {
            size_t end = i;
            while (end < commandLine.size() && commandLine[end] == '\\')
                ++end;
            const size_t run = end - i;
            const bool beforeQuote = end < commandLine.size() && commandLine[end] == '"';
            if (!beforeQuote) {
                current.append(run, '\\');
                i += run;
                continue;
            }
            current.append(run / 2, '\\');
            i += run;
            if (run % 2 == 1) {
                current += '"';
                ++i;
            }
            continue;
        }
        if (c == '"') {
            if (quoted && i + 1 < commandLine.size() && commandLine[i + 1] == '"') {
                current += '"';
                i += 2;
            } else {
                quoted = !quoted;
                ++i;
            }
            continue;
        }
        current += c;
        ++i;
    }
    if (inArgument)
        arguments.push_back(std::move(current));
    return arguments;
}

std::string JoinWindowsCommandLine(const std::vector<std::string>& arguments)
{
    std::string commandLine;
    for (const std::string& argument : arguments) {
        if (!commandLine.empty())
            commandLine += ' ';
        commandLine += '"';
        size_t backslashes = 0;
        for (const char c : argument) {
            if (c == '\\') {
                ++backslashes;
                commandLine += c;
                continue;
            }
            // Backslashes before a mark are doubled, and the mark gets one of its own.
            if (c == '"')
                commandLine.append(backslashes + 1, '\\');
            backslashes = 0;
            commandLine += c;
        }
        commandLine.append(backslashes, '\\');
        commandLine += '"';
    }
    return commandLine;
}

std::string HostPathToUri(const std::string& hostPath)
{
    return QUrl::fromLocalFile(QString::fromStdString(hostPath)).toString(QUrl::FullyEncoded).toStdString();
}

} // namespace host
