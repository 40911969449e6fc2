#pragma once

#include <QImage>

#include <optional>
#include <string>

// The freedesktop.org thumbnail cache ($XDG_CACHE_HOME/thumbnails, by default
// ~/.cache/thumbnails), where desktop programs keep the thumbnails they made: one PNG per
// file and size, named by the MD5 of the file's URI ("file:///...", percent-encoded).
// Every call sets the last error.
namespace host {

enum class ThumbnailSize
{
    Normal, // at most 128 pixels
    Large   // at most 256 pixels
};

int GetThumbnailPixels(ThumbnailSize size);

// The host path of the cache entry of a file at one size, whether it exists or not.
std::optional<std::string> GetThumbnailCachePath(const std::string& windowsPath, ThumbnailSize size);

// True when the cache holds an entry of either size for the file, valid or not;
// ERROR_FILE_NOT_FOUND otherwise.
bool HasCachedThumbnail(const std::string& windowsPath);

// The entry of that size while it is valid: its "Thumb::URI" is the file's URI and its
// "Thumb::MTime" the file's modification time in seconds. A missing, unreadable or
// outdated entry gives ERROR_FILE_NOT_FOUND.
std::optional<QImage> LoadCachedThumbnail(const std::string& windowsPath, ThumbnailSize size);

} // namespace host
