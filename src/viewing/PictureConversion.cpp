#include "viewing/PictureConversion.h"

#include "viewing/PictureLoading.h"
#include "viewing/ViewerPluginBitmapInfo.h"

#include "core/drawing/PictureGeometry.h"
#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/files/PathNames.h"
#include "core/text/AsciiCase.h"

#include "host/Drives.h"
#include "host/File.h"
#include "host/LastError.h"
#include "host/PictureFiles.h"

#include <QBuffer>
#include <QColor>
#include <QImageWriter>
#include <QPainter>

#include <algorithm>
#include <array>
#include <optional>

namespace {

struct TPictureEncoder
{
    const char* Description;
    const char* Extension;
    const char* Writer;
};

constexpr std::array<TPictureEncoder, 4> PictureEncoders = {{
    {"BMP", ".bmp", "bmp"},
    {"JPEG", ".jpg", "jpeg"},
    {"TIFF", ".tif", "tiff"},
    {"PNG", ".png", "png"},
}};

// The PNG writer would take the quality for its compression level, the others ignore it.
constexpr char QualityWriter[] = "jpeg";

// What a plug-in may claim before anything is allocated for it.
constexpr int64_t MaxPluginSide = 32768;
constexpr int64_t MaxPluginBufferBytes = int64_t{256} * 1024 * 1024;

const char* const ConversionFailure = "Failed to convert picture.";

bool IsWriterAvailable(const TPictureEncoder& encoder)
{
    return QImageWriter::supportedImageFormats().contains(QByteArray(encoder.Writer));
}

struct TConversionBox
{
    int32_t Width;
    int32_t Height;
    bool NormalizeWidth;
    bool NormalizeHeight;
    bool NormalizeActive;
    bool Enlarge;
    int32_t EnlargeMinimumSize;

    bool KeepsSize() const { return Width < 1 && Height < 1; }
};

// A side the box leaves open keeps the picture's own.
QSize GetTargetSize(QSize picture, const TConversionBox& box)
{
    int32_t width = 0;
    int32_t height = 0;
    if (!GetNormalizedPictureSize(picture.width(), picture.height(), box.Width, box.Height, box.NormalizeWidth,
                                  box.NormalizeHeight, box.NormalizeActive, box.Enlarge, box.EnlargeMinimumSize, width,
                                  height))
        GetFitPictureSize(picture.width(), picture.height(), box.Width, box.Height, 0, 0, false, false, width, height);
    return {width < 1 ? picture.width() : width, height < 1 ? picture.height() : height};
}

// Nothing for a file that is no picture or a truncated one: a conversion must not
// write a picture with a part made up.
std::optional<QImage> DecodePicture(const std::string& source)
{
    host::PictureFile file;
    if (!file.Open(source) || !file.IsComplete())
        return std::nullopt;
    return file.Read();
}

QImage DrawResized(const QImage& picture, QSize target)
{
    QImage resized(target, QImage::Format_RGB888);
    if (resized.isNull())
        return resized;
    resized.fill(Qt::black);
    QPainter canvas(&resized);
    canvas.setRenderHint(QPainter::SmoothPixmapTransform);
    canvas.drawImage(QRect(QPoint(0, 0), target), picture);
    return resized;
}

bool IsPluginSizeAllowed(QSize size)
{
    const int64_t width = size.width();
    const int64_t height = size.height();
    return width <= MaxPluginSide && height <= MaxPluginSide && width * height * 4 <= MaxPluginBufferBytes;
}

// The plug-in's natural size of the picture; a side it leaves unset counts as 100.
QSize GetPluginPictureSize(QuillomberGetPictureSize getPictureSize, const std::string& file,
                           const std::string& extension)
{
    int32_t width = -1;
    int32_t height = -1;
    getPictureSize(file.c_str(), extension.c_str(), -1, -1, &width, &height);
    return {width < 1 ? 100 : width, height < 1 ? 100 : height};
}

struct TPluginDecoder
{
    QuillomberGetPictureSize GetPictureSize;
    QuillomberLoadFileToBitmap LoadFileToBitmap;
    TColor BackgroundColor;
    TColor TextColor;
};

// The plug-in's picture at the target size in 24-bit RGB; nothing for a size that cannot
// be allocated safely.
std::optional<QImage> RenderWithPlugin(const TPluginDecoder& plugin, const std::string& source,
                                       const TConversionBox& box)
{
    const std::optional<std::string> file = host::WindowsToHost(source);
    if (!file)
        return std::nullopt;
    const std::string extension = UpperAscii(GetExtension(source));
    const QSize picture = GetPluginPictureSize(plugin.GetPictureSize, *file, extension);
    if (!IsPluginSizeAllowed(picture))
        return std::nullopt;
    const QSize target = GetTargetSize(picture, box);
    if (!IsPluginSizeAllowed(target))
        return std::nullopt;
    QImage drawn = DrawWithViewerPlugin(plugin.LoadFileToBitmap, *file, extension, target, plugin.BackgroundColor,
                                        plugin.TextColor);
    // A 24-bit picture has no alpha: the fourth byte is dropped, not blended.
    drawn.reinterpretAsFormat(QImage::Format_RGB32);
    return drawn.convertToFormat(QImage::Format_RGB888);
}

std::optional<QByteArray> EncodePicture(const QImage& picture, const std::string& encoder, std::optional<int> quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArray::fromStdString(encoder));
    if (quality && encoder == QualityWriter)
        writer.setQuality(*quality);
    if (!writer.write(picture))
        return std::nullopt;
    return bytes;
}

} // namespace

void LoadPictureConvertFilters(std::vector<std::string>& list)
{
    list.clear();
    for (const TPictureEncoder& encoder : PictureEncoders)
        if (IsWriterAvailable(encoder))
            list.emplace_back(encoder.Description);
}

bool GetPictureConverterID(const std::string& format, std::string& extension, std::string& encoder)
{
    for (const TPictureEncoder& candidate : PictureEncoders)
        if (format == candidate.Description && IsWriterAvailable(candidate)) {
            extension = candidate.Extension;
            encoder = candidate.Writer;
            return true;
        }
    return false;
}

void ConvertPicture(const std::string& source, const std::string& destination, bool overwrite,
                    const std::string& extension, const std::string& encoder, double quality, int32_t boxWidth,
                    int32_t boxHeight, bool normalizeWidth, bool normalizeHeight, bool normalizeActive, bool enlarge,
                    int32_t enlargeMinimumSize, bool plugin, QuillomberGetPictureSize getPictureSize,
                    QuillomberLoadFileToBitmap loadFileToBitmap, TColor backgroundColor, TColor textColor)
{
    TTraced trace;
    trace.Run([&] {
        if (plugin && (getPictureSize == nullptr || loadFileToBitmap == nullptr))
            return trace.Raise("Invalid plugin function.", destination, source);
        const std::string target = ExcludeExtension(destination) + extension;
        if (!overwrite && MyFileExists(target))
            return trace.Raise("Contradictory overwrite choices.", target, source);
        const TConversionBox box = {boxWidth,        boxHeight, normalizeWidth,    normalizeHeight,
                                    normalizeActive, enlarge,   enlargeMinimumSize};
        std::optional<QImage> picture;
        std::optional<int> writerQuality;
        if (plugin) {
            picture = RenderWithPlugin({getPictureSize, loadFileToBitmap, backgroundColor, textColor}, source, box);
        } else {
            picture = DecodePicture(source);
            writerQuality = static_cast<int>(std::clamp(quality, 0.0, 1.0) * 100);
            if (picture && !box.KeepsSize())
                picture = DrawResized(*picture, GetTargetSize(picture->size(), box));
        }
        if (!picture || picture->isNull())
            return trace.Raise(ConversionFailure, target, source);
        const std::optional<QByteArray> bytes = EncodePicture(*picture, encoder, writerQuality);
        if (!bytes)
            return trace.Raise(ConversionFailure, target, source);
        host::SetLastError(host::ERROR_SUCCESS);
        if (!host::ReplaceFileContents(target, bytes->toStdString()))
            trace.RaiseSystem(ConversionFailure, target, source);
    });
}
