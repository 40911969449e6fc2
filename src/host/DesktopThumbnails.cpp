#include "host/DesktopThumbnails.h"

#include "host/Drives.h"
#include "host/FaultInjection.h"
#include "host/LastError.h"

#include <QCryptographicHash>
#include <QImageReader>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace host {
namespace {

constexpr ThumbnailSize AllSizes[] = {ThumbnailSize::Normal, ThumbnailSize::Large};

// The characters a URI path keeps as they are (RFC 2396: unreserved, the path's own
// punctuation and "/"); every other byte is written as "%XX".
bool IsKeptInUriPath(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::strchr("-_.!~*'()/:@&=+$,", c) != nullptr;
}

std::string FileUriOf(const std::string& hostPath)
{
    static const char Hex[] = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const unsigned char c : hostPath) {
        if (c != '\0' && IsKeptInUriPath(c)) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += Hex[c >> 4];
            uri += Hex[c & 0xF];
        }
    }
    return uri;
}

std::string SizeFolderName(ThumbnailSize size)
{
    return size == ThumbnailSize::Normal ? "normal" : "large";
}

std::string CachePathOfUri(const std::string& uri, ThumbnailSize size)
{
    const QByteArray digest = QCryptographicHash::hash(QByteArray::fromStdString(uri), QCryptographicHash::Md5);
    const std::string cacheRoot = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation).toStdString();
    return cacheRoot + "/thumbnails/" + SizeFolderName(size) + "/" + digest.toHex().toStdString() + ".png";
}

bool IsRegularFile(const std::string& hostPath)
{
    struct stat info = {};
    return stat(hostPath.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsEntryOf(const QImage& entry, const std::string& uri, const struct stat& file)
{
    bool isNumber = false;
    const qint64 modified = entry.text("Thumb::MTime").toLongLong(&isNumber);
    return isNumber && modified == static_cast<qint64>(file.st_mtim.tv_sec) &&
           entry.text("Thumb::URI").toStdString() == uri;
}

std::optional<QImage> NotFound()
{
    SetLastError(ERROR_FILE_NOT_FOUND);
    return std::nullopt;
}

} // namespace

int GetThumbnailPixels(ThumbnailSize size)
{
    return size == ThumbnailSize::Normal ? 128 : 256;
}

std::optional<std::string> GetThumbnailCachePath(const std::string& windowsPath, ThumbnailSize size)
{
    const std::optional<std::string> hostPath = WindowsToHost(windowsPath);
    if (!hostPath)
        return std::nullopt;
    SetLastError(ERROR_SUCCESS);
    return CachePathOfUri(FileUriOf(*hostPath), size);
}

bool HasCachedThumbnail(const std::string& windowsPath)
{
    if (TakeFault(HostCall::Stat))
        return false;
    for (const ThumbnailSize size : AllSizes) {
        const std::optional<std::string> entry = GetThumbnailCachePath(windowsPath, size);
        if (!entry)
            return false;
        if (IsRegularFile(*entry))
            return true;
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    return false;
}

std::optional<QImage> LoadCachedThumbnail(const std::string& windowsPath, ThumbnailSize size)
{
    const std::optional<std::string> hostPath = HostPathForCall(HostCall::Read, windowsPath);
    if (!hostPath)
        return std::nullopt;
    struct stat file = {};
    if (stat(hostPath->c_str(), &file) != 0) {
        SetLastErrorFromErrno(errno);
        return std::nullopt;
    }
    const std::string uri = FileUriOf(*hostPath);
    const std::string entryPath = CachePathOfUri(uri, size);
    if (!IsRegularFile(entryPath))
        return NotFound();
    QImageReader reader(QString::fromStdString(entryPath), "png");
    QImage entry = reader.read();
    if (entry.isNull() || !IsEntryOf(entry, uri, file))
        return NotFound();
    SetLastError(ERROR_SUCCESS);
    return entry;
}

} // namespace host
