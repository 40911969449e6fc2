#pragma once

#include "core/drawing/Color.h"

#include <QImage>
#include <QPoint>

// A painted pixel as a TColor (red in the low byte), to compare with the colours a skin sets.
inline TColor PixelAt(const QImage& image, int x, int y)
{
    const QRgb pixel = image.pixel(x, y);
    return qRed(pixel) | (qGreen(pixel) << 8) | (qBlue(pixel) << 16);
}

inline TColor PixelAt(const QImage& image, QPoint point)
{
    return PixelAt(image, point.x(), point.y());
}
