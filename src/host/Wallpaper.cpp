#include "host/Wallpaper.h"

#include "host/Drives.h"
#include "host/LastError.h"

#include <QProcess>
#include <QUrl>

namespace host {
namespace {

constexpr int SettingTimeoutMs = 10000;

bool SetBackgroundKey(const QString& key, const QString& uri)
{
    QProcess process;
    process.start("gsettings", {"set", "org.gnome.desktop.background", key, uri});
    return process.waitForFinished(SettingTimeoutMs) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

} // namespace

bool SetDesktopWallpaper(const std::string& windowsPath)
{
    const std::optional<std::string> hostPath = WindowsToHost(windowsPath);
    if (!hostPath)
        return false;
    const QString uri = QUrl::fromLocalFile(QString::fromStdString(*hostPath)).toString();
    // The dark-style key is unknown to older desktops; the plain one decides.
    if (!SetBackgroundKey("picture-uri", uri)) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return false;
    }
    SetBackgroundKey("picture-uri-dark", uri);
    SetLastError(ERROR_SUCCESS);
    return true;
}

} // namespace host
