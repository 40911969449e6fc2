#include "core/drawing/PictureGeometry.h"

#include "core/errors/Traced.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstring>

bool GetFitPictureSize(int32_t pictureWidth, int32_t pictureHeight, int32_t boxWidth, int32_t boxHeight,
                       int32_t minimumSize, double maximumRatio, bool stretch, bool enlarge, int32_t& width,
                       int32_t& height, double* ratio)
{
    if (ratio != nullptr)
        *ratio = 1;
    // Without area on either side there is no proportion to compare and nothing to draw.
    if (pictureWidth < 1 || pictureHeight < 1 || boxWidth < 1 || boxHeight < 1) {
        width = height = 0;
        return false;
    }
    if (minimumSize > 0 && (pictureWidth < minimumSize || pictureHeight < minimumSize))
        stretch = enlarge = false;
    double aspect = (static_cast<double>(pictureWidth) / pictureHeight) / (static_cast<double>(boxWidth) / boxHeight);
    if (aspect < 1)
        aspect = 1 / aspect;
    if (ratio != nullptr)
        *ratio = aspect;
    if (stretch && (aspect <= maximumRatio || maximumRatio <= 0)) {
        width = boxWidth;
        height = boxHeight;
        return true;
    }
    width = enlarge ? boxWidth : std::min(boxWidth, pictureWidth);
    height = width == pictureWidth ? pictureHeight
                                   : static_cast<int32_t>(static_cast<int64_t>(pictureHeight) * width / pictureWidth);
    if (height > boxHeight) {
        height = enlarge ? boxHeight : std::min(boxHeight, pictureHeight);
        width = height == pictureHeight
                    ? pictureWidth
                    : static_cast<int32_t>(static_cast<int64_t>(pictureWidth) * height / pictureHeight);
    }
    return false;
}

bool GetNormalizedPictureSize(int32_t pictureWidth, int32_t pictureHeight, int32_t normalWidth, int32_t normalHeight,
                              bool useWidth, bool useHeight, bool active, bool enlarge, int32_t minimumSize,
                              int32_t& width, int32_t& height)
{
    if (!active)
        return false;
    if (useWidth && useHeight && normalWidth > 0 && normalHeight > 0) {
        GetFitPictureSize(pictureWidth, pictureHeight, normalWidth, normalHeight, minimumSize, 0, false, enlarge, width,
                          height);
        return true;
    }
    if (useWidth && normalWidth > 0 && pictureWidth > 0) {
        width = normalWidth;
        height = static_cast<int32_t>(static_cast<int64_t>(pictureHeight) * normalWidth / pictureWidth);
        return true;
    }
    if (useHeight && normalHeight > 0 && pictureHeight > 0) {
        height = normalHeight;
        width = static_cast<int32_t>(static_cast<int64_t>(pictureWidth) * normalHeight / pictureHeight);
        return true;
    }
    return false;
}

void CopyPixelsToBitmap(const uint32_t* pixels, QImage& bitmap, int32_t width, int32_t height)
{
    if (bitmap.depth() != 32)
        throw EError("Invalid bitmap pixel format (not 32 bit).");
    const int32_t rows = std::min(height, bitmap.height());
    const size_t rowBytes = static_cast<size_t>(std::clamp(width, 0, bitmap.width())) * 4;
    for (int32_t row = 0; row < rows; ++row)
        std::memcpy(bitmap.scanLine(row), pixels + static_cast<size_t>(row) * static_cast<size_t>(width), rowBytes);
}

void DrawOuterFrame(QPainter& canvas, int32_t x, int32_t y, int32_t width, int32_t height, TColor color)
{
    if (color == clNone)
        return;
    canvas.setPen(ToQColor(color));
    const QPoint corners[] = {
        {x - 1, y - 1}, {x + width, y - 1}, {x + width, y + height}, {x - 1, y + height}, {x - 1, y - 1}};
    canvas.drawPolyline(corners, 5);
}
