#include "core/desktop/ShellThumbnail.h"

#include "core/errors/Traced.h"
#include "core/files/PathNames.h"

#include "host/DesktopThumbnails.h"
#include "host/FileSystem.h"
#include "host/LastError.h"
#include "host/VideoFrames.h"

#include <algorithm>

namespace {

// The shell's result code for a Windows error number.
uint32_t HResultFromWin32(uint32_t code)
{
    return code == host::ERROR_SUCCESS ? 0 : 0x80070000u | (code & 0xFFFFu);
}

uint32_t LastHResult()
{
    return HResultFromWin32(host::GetLastError());
}

bool IsFolder(uint32_t attributes)
{
    return (attributes & host::FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// As wide as the box with at most its height, or as high with at most its width.
bool TouchesBox(QSize picture, int width, int height)
{
    return (picture.width() == width && picture.height() <= height) ||
           (picture.height() == height && picture.width() <= width);
}

QImage ScaledToTouchBox(const QImage& picture, int width, int height)
{
    const QSize size = picture.size().scaled(width, height, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    const QImage scaled =
        size == picture.size() ? picture : picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return scaled.convertToFormat(QImage::Format_ARGB32);
}

} // namespace

TExtractImage::TExtractImage(std::string fileName) : FileName(std::move(fileName))
{
}

bool TExtractImage::GetLocation(int width, int height, int depth, uint32_t flags)
{
    if (width <= 0 || height <= 0 || (depth != 24 && depth != 32)) {
        host::SetLastError(host::ERROR_INVALID_PARAMETER);
        return false;
    }
    Width = width;
    Height = height;
    Depth = depth;
    Flags = flags;
    host::SetLastError(host::ERROR_SUCCESS);
    return true;
}

std::unique_ptr<QImage> TExtractImage::Extract() const
{
    const bool fitsNormal = std::max(Width, Height) <= host::GetThumbnailPixels(host::ThumbnailSize::Normal);
    const host::ThumbnailSize meant = fitsNormal ? host::ThumbnailSize::Normal : host::ThumbnailSize::Large;
    const host::ThumbnailSize other = fitsNormal ? host::ThumbnailSize::Large : host::ThumbnailSize::Normal;
    std::optional<QImage> picture = host::LoadCachedThumbnail(FileName, meant);
    if (!picture)
        picture = host::LoadCachedThumbnail(FileName, other);
    if (!picture)
        return nullptr;
    if (picture->width() > Width || picture->height() > Height) {
        *picture =
            picture->scaled(Width, Height, (Flags & IEIFLAG_ASPECT) != 0 ? Qt::KeepAspectRatio : Qt::IgnoreAspectRatio,
                            (Flags & IEIFLAG_QUALITY) != 0 ? Qt::SmoothTransformation : Qt::FastTransformation);
    }
    return std::make_unique<QImage>(
        picture->convertToFormat(Depth == 32 ? QImage::Format_ARGB32 : QImage::Format_RGB888));
}

bool ExtractImage_GetIPtr(const std::string& name, std::unique_ptr<TExtractImage>& extractor)
{
    TTraced trace;
    bool found = false;
    trace.Run([&] {
        extractor.reset();
        host::SetLastError(host::ERROR_SUCCESS);
        const uint32_t folderAttributes = host::GetFileAttributes(GetParentPath(name));
        if (folderAttributes == host::INVALID_FILE_ATTRIBUTES)
            return trace.Raise("Failed to parse path display name.", name, "", LastHResult());
        if (!IsFolder(folderAttributes))
            return trace.Raise("Failed to bind to object.", name, "", HResultFromWin32(host::ERROR_DIRECTORY));
        if (host::GetFileAttributes(name) == host::INVALID_FILE_ATTRIBUTES)
            return trace.Raise("Failed to parse file display name.", name, "", LastHResult());
        // The cache holds nothing for a file no desktop program could draw.
        if (!host::HasCachedThumbnail(name))
            return trace.Raise("Failed to allocate memory.", name, "", LastHResult());
        extractor = std::make_unique<TExtractImage>(name);
        found = true;
    });
    return found;
}

bool ExtractImage_GetFileThumbnail(TExtractImage& extractor, int width, int height, int depth, uint32_t flags,
                                   std::unique_ptr<QImage>& bitmap)
{
    TTraced trace;
    bool extracted = false;
    trace.Run([&] {
        bitmap.reset();
        if (!extractor.GetLocation(width, height, depth, flags))
            return trace.Raise("Failed to get location.", "", "", LastHResult());
        bitmap = extractor.Extract();
        if (!bitmap)
            return trace.Raise("Failed to extract thumbnail.", "", "", LastHResult());
        extracted = true;
    });
    return extracted;
}

namespace {

// The desktop's cached thumbnail of the file, fitted into the box without enlarging it.
std::unique_ptr<QImage> CachedThumbnail(const std::string& name, int width, int height)
{
    std::unique_ptr<TExtractImage> extractor;
    std::unique_ptr<QImage> bitmap;
    if (ExtractImage_GetIPtr(name, extractor))
        ExtractImage_GetFileThumbnail(*extractor, width, height, 32, IEIFLAG_ASPECT | IEIFLAG_OFFLINE | IEIFLAG_QUALITY,
                                      bitmap);
    return bitmap;
}

} // namespace

std::unique_ptr<QImage> GetSysThumbnailFromFile(const std::string& name, int width, int height)
{
    TTraced trace;
    std::unique_ptr<QImage> bitmap;
    trace.Run([&] {
        std::unique_ptr<QImage> cached = CachedThumbnail(name, width, height);
        const TFunStatContext cacheOutcome = FunStatContext;
        if (cached && TouchesBox(cached->size(), width, height)) {
            bitmap = std::move(cached);
            return;
        }
        // An unusable box has failed the cache's lookup already.
        const std::optional<QImage> frame =
            width > 0 && height > 0 ? host::MakeVideoFrame(name, std::max(width, height)) : std::nullopt;
        if (frame) {
            bitmap = std::make_unique<QImage>(ScaledToTouchBox(*frame, width, height));
            return;
        }
        if (cached) {
            bitmap = std::make_unique<QImage>(ScaledToTouchBox(*cached, width, height));
            return;
        }
        FunStatContext = cacheOutcome;
        trace.TakeOver();
    });
    return bitmap;
}
