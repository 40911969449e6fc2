#pragma once

#include "core/drawing/Color.h"
#include "core/files/FileExtensions.h"

#include <QImage>
#include <QRect>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum class TTransparentMode
{
    Auto,
    Fixed
};

// A picture rendered for a thumbnail. A bitmap of fixed transparent mode is drawn with
// its transparent colour left out, so the canvas shows through where the picture had no
// pixels of its own.
struct TPictureBitmap
{
    QImage Image;
    TTransparentMode TransparentMode = TTransparentMode::Auto;
    TColor TransparentColor = 0;
};

// Renders a picture file over the background colour at the size it takes in the
// rectangle: the rectangle's own size when `fillRectangle`, else the picture fitted into
// it (enlarged only with `enlargeSmall`, and only when at least `enlargeMinimumSize` on
// both sides). The outs receive the picture's own size and the zoom of the shown height
// in percent. Low quality uses the decoder's fast reduction; at `smartQualitySize` (0 or
// more) pixels on a side, high quality is used anyway. A cursor, a program or a link to
// either is drawn from its icon (ExtractFileIcon), in fixed transparent mode. Traced:
// "Invalid picture size." (parameter 1 the file name) for a file that gives no picture
// (also a cut or broken one, one whose decoding would pass MaxDecodedPictureBytes, a device or a pipe);
// then none is returned. Safe on any thread: it reads no state the program changes.
// An empty rectangle gives an empty bitmap and zoom 0.
std::unique_ptr<TPictureBitmap> LoadPictureToBitmap(const std::string& fileName, TColor backgroundColor,
                                                    const QRect& rectangle, bool enlargeSmall,
                                                    int32_t enlargeMinimumSize, bool fillRectangle,
                                                    int32_t& zoomPercent, int32_t& pictureWidth, int32_t& pictureHeight,
                                                    bool highQuality, int32_t smartQualitySize);

// The most bytes one picture may take as the thumbnails and the background decode it, at 4
// bytes a pixel: the decoders' own default, which these keep although the
// process-wide limit is higher for the steganography's carriers.
inline constexpr int64_t MaxDecodedPictureBytes = int64_t{128} * 1024 * 1024;
// True when a picture decoded at this size stays within MaxDecodedPictureBytes; a size not
// known (empty) is left to the decoder.
bool IsWithinDecodingBound(const QSize& decodedSize);

namespace host {
class PictureFile;
}

// The picture's bits per pixel as its decoder delivers them ("24 bpp"); empty for a pixel
// format of no such kind or one the decoder tells only by decoding (GIF).
std::string GetPixelFormatText(host::PictureFile& picture);
// The frames of an animation or pages of a multi-page picture; 1 for a still one.
int32_t GetImageFrameCount(host::PictureFile& picture);

// Every extension that the picture decoders read, with its dot, in the decoders' order.
// Traced.
std::vector<std::string> GetPictureExtensions();
// The same as lower-case patterns separated by ";": "*.bmp;*.gif;...". Traced.
std::string GetPictureExtensionsAsFilter();

// Copies a plug-in's pixel buffer (rows of width x 4 bytes, the fourth byte taken as
// alpha) into the bitmap, which becomes a 32-bit picture with alpha.
void CopyPixelsToGdipBitmap(const uint8_t* pixels, QImage& bitmap, int32_t width, int32_t height);

// The picture decoders as the file-type filters see them; start-up installs the global
// into TSeam<TPictureDecoders>.
class TImagingDecoders : public TPictureDecoders
{
public:
    std::string GetPictureExtensionsAsFilter() override;
};

extern TImagingDecoders ImagingDecoders;
