#include "viewing/PictureLoading.h"

#include "core/drawing/PictureGeometry.h"
#include "core/errors/Traced.h"
#include "core/files/FileIcons.h"
#include "core/files/PathNames.h"
#include "core/text/AsciiCase.h"

#include "host/PictureFiles.h"

#include <QPainter>

#include <algorithm>
#include <array>

TImagingDecoders ImagingDecoders;

namespace {

// Formats whose pictures may leave pixels uncovered: their bitmaps let the canvas show
// through wherever the background colour remains.
constexpr std::array<const char*, 6> SeeThroughExtensions = {".CUR", ".EMF", ".GIF", ".ICO", ".PNG", ".WMF"};

TTransparentMode TransparentModeOf(const std::string& fileName)
{
    const std::string extension = UpperAscii(GetExtension(fileName));
    const bool seeThrough =
        std::find(SeeThroughExtensions.begin(), SeeThroughExtensions.end(), extension) != SeeThroughExtensions.end();
    return seeThrough ? TTransparentMode::Fixed : TTransparentMode::Auto;
}

QSize GetShownSize(QSize picture, const QRect& rectangle, bool enlargeSmall, int32_t enlargeMinimumSize,
                   bool fillRectangle)
{
    if (fillRectangle)
        return {std::max(rectangle.width(), 0), std::max(rectangle.height(), 0)};
    int32_t width = 0;
    int32_t height = 0;
    GetFitPictureSize(picture.width(), picture.height(), rectangle.width(), rectangle.height(), enlargeMinimumSize, 0,
                      false, enlargeSmall, width, height);
    return {std::max(width, 0), std::max(height, 0)};
}

bool IsSmartQualitySize(QSize shown, int32_t smartQualitySize)
{
    return smartQualitySize >= 0 && (shown.width() >= smartQualitySize || shown.height() >= smartQualitySize);
}

std::unique_ptr<TPictureBitmap> NewFilledBitmap(QSize size, TColor backgroundColor, TTransparentMode mode)
{
    auto bitmap = std::make_unique<TPictureBitmap>();
    bitmap->Image = QImage(size, QImage::Format_RGB32);
    bitmap->Image.fill(ToQColor(backgroundColor));
    bitmap->TransparentMode = mode;
    bitmap->TransparentColor = backgroundColor;
    return bitmap;
}

void DrawPicture(QImage& target, const QImage& picture, bool highQuality)
{
    QPainter canvas(&target);
    canvas.setRenderHint(QPainter::SmoothPixmapTransform, highQuality);
    canvas.drawImage(QRect(QPoint(0, 0), target.size()), picture);
}

} // namespace

std::unique_ptr<TPictureBitmap> LoadPictureToBitmap(const std::string& fileName, TColor backgroundColor,
                                                    const QRect& rectangle, bool enlargeSmall,
                                                    int32_t enlargeMinimumSize, bool fillRectangle,
                                                    int32_t& zoomPercent, int32_t& pictureWidth, int32_t& pictureHeight,
                                                    bool highQuality, int32_t smartQualitySize)
{
    TTraced trace;
    std::unique_ptr<TPictureBitmap> result;
    trace.Run([&] {
        const std::unique_ptr<QImage> icon = ExtractFileIcon(fileName);
        host::PictureFile picture;
        const bool decodable = icon || (picture.Open(fileName) && picture.IsComplete());
        const QSize pictureSize = icon ? icon->size() : decodable ? picture.Size() : QSize();
        pictureWidth = std::max(pictureSize.width(), 0);
        pictureHeight = std::max(pictureSize.height(), 0);
        if (pictureWidth == 0 || pictureHeight == 0)
            return trace.Raise("Invalid picture size.", fileName);
        const QSize shown = GetShownSize(pictureSize, rectangle, enlargeSmall, enlargeMinimumSize, fillRectangle);
        const TTransparentMode mode = icon ? TTransparentMode::Fixed : TransparentModeOf(fileName);
        std::unique_ptr<TPictureBitmap> bitmap = NewFilledBitmap(shown, backgroundColor, mode);
        zoomPercent = static_cast<int32_t>(static_cast<int64_t>(shown.height()) * 100 / pictureHeight);
        if (!shown.isEmpty()) {
            if (!icon && !IsWithinDecodingBound(picture.DecodedSize(shown)))
                return trace.Raise("Invalid picture size.", fileName);
            const bool smooth = highQuality || IsSmartQualitySize(shown, smartQualitySize);
            const std::optional<QImage> decoded = icon ? std::optional<QImage>(*icon) : picture.Read(shown, smooth);
            if (!decoded)
                return trace.Raise("Invalid picture size.", fileName);
            DrawPicture(bitmap->Image, *decoded, smooth);
        }
        result = std::move(bitmap);
    });
    return result;
}

bool IsWithinDecodingBound(const QSize& decodedSize)
{
    return int64_t{decodedSize.width()} * decodedSize.height() * 4 <= MaxDecodedPictureBytes;
}

std::string GetPixelFormatText(host::PictureFile& picture)
{
    switch (picture.PixelFormat()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
        return "1 bpp";
    case QImage::Format_Indexed8:
    case QImage::Format_Grayscale8:
        return "8 bpp";
    case QImage::Format_RGB16:
    case QImage::Format_RGB555:
    case QImage::Format_RGB444:
    case QImage::Format_ARGB4444_Premultiplied:
    case QImage::Format_Grayscale16:
        return "16 bpp";
    case QImage::Format_RGB32:
    case QImage::Format_RGB888:
    case QImage::Format_BGR888:
    case QImage::Format_RGBX8888:
        return "24 bpp";
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        return "32 bpp";
    case QImage::Format_RGBX64:
        return "48 bpp";
    case QImage::Format_RGBA64:
    case QImage::Format_RGBA64_Premultiplied:
        return "64 bpp";
    default:
        return {};
    }
}

int32_t GetImageFrameCount(host::PictureFile& picture)
{
    return picture.FrameCount();
}

std::vector<std::string> GetPictureExtensions()
{
    TTraced trace;
    std::vector<std::string> extensions;
    trace.Run([&] { extensions = host::GetPictureDecoderExtensions(); });
    return extensions;
}

std::string GetPictureExtensionsAsFilter()
{
    TTraced trace;
    std::string filter;
    trace.Run([&] {
        for (const std::string& extension : host::GetPictureDecoderExtensions())
            filter += (filter.empty() ? "*" : ";*") + LowerAscii(extension);
    });
    return filter;
}

void CopyPixelsToGdipBitmap(const uint8_t* pixels, QImage& bitmap, int32_t width, int32_t height)
{
    if (bitmap.format() != QImage::Format_ARGB32)
        bitmap = bitmap.convertToFormat(QImage::Format_ARGB32);
    // The buffer's bytes (blue, green, red, alpha) are the memory layout of a 32-bit
    // pixel on this little-endian platform.
    CopyPixelsToBitmap(reinterpret_cast<const uint32_t*>(pixels), bitmap, width, height);
}

std::string TImagingDecoders::GetPictureExtensionsAsFilter()
{
    return ::GetPictureExtensionsAsFilter();
}
