#include "core/desktop/DesktopExchange.h"

#include "core/errors/Traced.h"
#include "core/files/KnownFolders.h"
#include "core/files/PathNames.h"

#include "host/Drives.h"
#include "host/Wallpaper.h"

#include <QMimeData>
#include <QUrl>

namespace {

std::vector<std::string> LocalFilesOf(const QMimeData& drop)
{
    std::vector<std::string> files;
    for (const QUrl& url : drop.urls())
        if (url.isLocalFile())
            files.push_back(url.toLocalFile().toStdString());
    return files;
}

} // namespace

int32_t GetDroppedFileCount(const QMimeData& drop)
{
    return static_cast<int32_t>(LocalFilesOf(drop).size());
}

void DroppedFilesToList(const QMimeData& drop, std::vector<std::string>& list)
{
    TTraced trace;
    trace.Run([&] {
        list.clear();
        for (const std::string& hostPath : LocalFilesOf(drop))
            if (const std::optional<std::string> path = host::HostToWindows(hostPath))
                list.push_back(*path);
    });
}

void SetFileAsWallpaper(const std::string& name)
{
    TTraced trace;
    trace.Run([&] {
        const std::string path = IncludeEndBackslash(GetOperatorPath()) + name;
        if (!host::SetDesktopWallpaper(path))
            trace.RaiseSystem("Failed to set wallpaper.", path);
    });
}
