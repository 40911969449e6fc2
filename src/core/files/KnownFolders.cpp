#include "core/files/KnownFolders.h"

#include "core/errors/Traced.h"
#include "core/files/PathNames.h"
#include "core/forms/ModalSeam.h"

#include "host/Drives.h"
#include "host/LastError.h"
#include "host/Process.h"
#include "host/ShellFolders.h"

#include <QApplication>
#include <QFileDialog>

#include <optional>

namespace {

// The Windows form of a host folder with a trailing backslash; empty when there is no
// folder or no letter reaches it.
std::string WindowsFolderOf(const std::string& hostFolder)
{
    if (hostFolder.empty())
        return {};
    const std::optional<std::string> folder = host::HostToWindows(hostFolder);
    return folder ? IncludeEndBackslash(*folder) : std::string();
}

// The steps shared by the system folders: the last error cleared before the host is
// asked, "Failed to get path." when it gives no folder.
template <class HostFolder>
std::string SystemFolder(TTraced& trace, HostFolder hostFolder,
                         std::source_location where = std::source_location::current())
{
    std::string folder;
    try {
        host::SetLastError(host::ERROR_SUCCESS);
        folder = WindowsFolderOf(hostFolder());
        if (folder.empty())
            trace.RaiseSystem("Failed to get path.", "", "", where);
    }
    TRACED_CATCH(trace)
    return folder;
}

// The chooser may not leave its root: a folder entered outside it leads back.
void KeepInside(QFileDialog& dialog, const std::string& hostRoot)
{
    QObject::connect(&dialog, &QFileDialog::directoryEntered, &dialog, [&dialog, hostRoot](const QString& entered) {
        const std::string path = entered.toStdString();
        const bool inside = hostRoot == "/" || path == hostRoot || path.rfind(hostRoot + "/", 0) == 0;
        if (!inside)
            dialog.setDirectory(QString::fromStdString(hostRoot));
    });
}

} // namespace

std::string GetOperatorPath()
{
    TTraced trace;
    return SystemFolder(trace, host::GetOperatorHostFolder);
}

std::string GetSystemPath()
{
    TTraced trace;
    return SystemFolder(trace, host::GetSystemHostFolder);
}

std::string GetTempPathA()
{
    TTraced trace;
    return ExpandShortPath(SystemFolder(trace, host::GetTemporaryHostFolder));
}

std::string GetSystemDirectoryPath(int folderNumber)
{
    TTraced trace;
    std::string folder;
    try {
        folder = WindowsFolderOf(host::GetShellFolderHostPath(folderNumber | host::CSIDL_FLAG_CREATE));
    }
    TRACED_CATCH(trace)
    return folder;
}

std::string GetDocumentsPath()
{
    return GetSystemDirectoryPath(host::CSIDL_PERSONAL);
}

std::string GetSharedDocumentsPath()
{
    return GetSystemDirectoryPath(host::CSIDL_COMMON_DOCUMENTS);
}

std::string GetMusicPath()
{
    return GetSystemDirectoryPath(host::CSIDL_MYMUSIC);
}

std::string GetMoviesPath()
{
    return GetSystemDirectoryPath(host::CSIDL_MYVIDEO);
}

std::string GetPicturesPath()
{
    return GetSystemDirectoryPath(host::CSIDL_MYPICTURES);
}

std::string GetDesktopPath()
{
    return GetSystemDirectoryPath(host::CSIDL_DESKTOPDIRECTORY);
}

std::string GetSharedDesktopPath()
{
    return GetSystemDirectoryPath(host::CSIDL_COMMON_DESKTOPDIRECTORY);
}

std::string GetProgramLinksPath()
{
    return GetSystemDirectoryPath(host::CSIDL_PROGRAMS);
}

std::string GetSharedProgramLinksPath()
{
    return GetSystemDirectoryPath(host::CSIDL_COMMON_PROGRAMS);
}

std::string GetProgramFilesPath()
{
    return GetSystemDirectoryPath(host::CSIDL_PROGRAM_FILES);
}

std::string GetCommonFilesPath()
{
    return GetSystemDirectoryPath(host::CSIDL_PROGRAM_FILES_COMMON);
}

std::string GetFavoritesPath()
{
    return GetSystemDirectoryPath(host::CSIDL_FAVORITES);
}

std::string GetSharedFavoritesPath()
{
    return GetSystemDirectoryPath(host::CSIDL_COMMON_FAVORITES);
}

std::string GetStartupPath()
{
    return GetSystemDirectoryPath(host::CSIDL_STARTUP);
}

std::string GetSharedStartupPath()
{
    return GetSystemDirectoryPath(host::CSIDL_COMMON_STARTUP);
}

std::string GetRecentPath()
{
    return GetSystemDirectoryPath(host::CSIDL_RECENT);
}

std::string GetCookiesPath()
{
    return GetSystemDirectoryPath(host::CSIDL_COOKIES);
}

std::string GetInternetCachePath()
{
    return GetSystemDirectoryPath(host::CSIDL_INTERNET_CACHE);
}

std::string GetFontsPath()
{
    return GetSystemDirectoryPath(host::CSIDL_FONTS);
}

std::string GetApplicationDataPath()
{
    return GetSystemDirectoryPath(host::CSIDL_APPDATA);
}

std::string GetQuickLaunchPath()
{
    const std::string applicationData = GetApplicationDataPath();
    return applicationData.empty() ? applicationData : applicationData + "Microsoft\\Internet Explorer\\Quick Launch\\";
}

std::string GetHostsFileName()
{
    return host::HostToWindows(host::GetHostsHostFile()).value_or(std::string());
}

bool ChooseDirectory(std::string& folder, const std::string& root, const std::string& caption)
{
    folder.clear();
    QFileDialog dialog(QApplication::activeWindow(), QString::fromStdString(caption));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    dialog.setWindowModality(Qt::ApplicationModal);
    const std::optional<std::string> start = host::WindowsToHost(root.empty() ? GetDesktopPath() : root);
    if (start)
        dialog.setDirectory(QString::fromStdString(*start));
    if (start && !root.empty())
        KeepInside(dialog, *start);
    if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    const std::optional<std::string> chosen = host::HostToWindows(dialog.selectedFiles().front().toStdString());
    if (!chosen)
        return false;
    folder = *chosen;
    return true;
}

std::string GetOperatorDrive()
{
    return GetDrivePart(GetOperatorPath());
}

std::string GetOperatorDrivePath()
{
    return IncludeEndBackslash(GetOperatorDrive());
}
