#include "core/drawing/TranslucentPaint.h"

#include "core/errors/Traced.h"
#include "core/text/MyMath.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t OuterCornerCut = 4;
constexpr int32_t FrameRings = 4;

// The 32-bit image a plain painter draws on, else null.
QImage* GetPlainImage(QPainter& canvas)
{
    auto* image = dynamic_cast<QImage*>(canvas.device());
    const bool plain =
        image != nullptr && canvas.transform().isIdentity() && !canvas.hasClipping() &&
        canvas.compositionMode() == QPainter::CompositionMode_SourceOver &&
        (image->format() == QImage::Format_RGB32 || image->format() == QImage::Format_ARGB32_Premultiplied);
    return plain ? image : nullptr;
}

uint32_t ScaleChannels(uint32_t pixel, uint32_t factor)
{
    uint32_t redBlue = (pixel & 0x00FF00FFu) * factor;
    redBlue = ((redBlue + ((redBlue >> 8) & 0x00FF00FFu) + 0x00800080u) >> 8) & 0x00FF00FFu;
    uint32_t alphaGreen = ((pixel >> 8) & 0x00FF00FFu) * factor;
    alphaGreen = (alphaGreen + ((alphaGreen >> 8) & 0x00FF00FFu) + 0x00800080u) & 0xFF00FF00u;
    return redBlue | alphaGreen;
}

// A translucent fill blended here, row by row: the painter would hand a tall fill to a
// pool of threads, whose start costs more than the whole blend.
void BlendPixels(QImage& image, QRect area, const QColor& color)
{
    area = area.intersected(image.rect());
    const uint32_t source = qPremultiply(color.rgba());
    const uint32_t remaining = 255u - static_cast<uint32_t>(color.alpha());
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* pixel = reinterpret_cast<uint32_t*>(image.scanLine(y)) + area.left();
        for (int x = 0; x < area.width(); ++x)
            pixel[x] = source + ScaleChannels(pixel[x], remaining);
    }
}

// Each pixel is blended once: overlapping strokes would darken the corners.
void FillPixels(QPainter& canvas, int32_t x, int32_t y, int32_t width, int32_t height, const QColor& color)
{
    if (width <= 0 || height <= 0)
        return;
    QImage* image = color.alpha() == 255 ? nullptr : GetPlainImage(canvas);
    if (image != nullptr)
        BlendPixels(*image, QRect(x, y, width, height), color);
    else
        canvas.fillRect(x, y, width, height, color);
}

void FrameRing(QPainter& canvas, int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t cut,
               const QColor& color)
{
    const int32_t width = right - left;
    const int32_t height = bottom - top;
    if (width < 2 * cut + 2 || height < 2 * cut + 2)
        return;
    FillPixels(canvas, left + cut, top, width - 2 * cut, 1, color);
    FillPixels(canvas, left + cut, bottom - 1, width - 2 * cut, 1, color);
    FillPixels(canvas, left, top + cut, 1, height - 2 * cut, color);
    FillPixels(canvas, right - 1, top + cut, 1, height - 2 * cut, color);
    for (int32_t step = 1; step < cut; ++step) {
        const int32_t inward = cut - step;
        FillPixels(canvas, left + step, top + inward, 1, 1, color);
        FillPixels(canvas, right - 1 - step, top + inward, 1, 1, color);
        FillPixels(canvas, left + step, bottom - 1 - inward, 1, 1, color);
        FillPixels(canvas, right - 1 - step, bottom - 1 - inward, 1, 1, color);
    }
}

} // namespace

QColor ToAlphaColor(TColor color, int alpha)
{
    QColor converted = ToQColor(color);
    converted.setAlpha(alpha);
    return converted;
}

uint8_t GetAlphaFromTranslucency(int32_t translucency)
{
    const int32_t clamped = std::clamp(translucency, 0, 100);
    return static_cast<uint8_t>(std::lround((100 - clamped) * 255 / 100.0));
}

void PaintTranslucentRect(QPainter& canvas, int32_t x, int32_t y, int32_t width, int32_t height, TColor color,
                          int32_t translucency)
{
    TTraced trace;
    try {
        if (translucency < 100)
            FillPixels(canvas, x, y, width, height, ToAlphaColor(color, GetAlphaFromTranslucency(translucency)));
    }
    TRACED_CATCH(trace)
}

void PaintTranslucentFrame(QPainter& canvas, int32_t x, int32_t y, int32_t width, int32_t height, TColor color,
                           int32_t translucency)
{
    TTraced trace;
    try {
        if (translucency >= 100 || width < 0 || height < 0)
            return;
        const QColor pen = ToAlphaColor(color, GetAlphaFromTranslucency(translucency));
        FillPixels(canvas, x, y, width + 1, 1, pen);
        if (height > 0)
            FillPixels(canvas, x, y + height, width + 1, 1, pen);
        FillPixels(canvas, x, y + 1, 1, height - 1, pen);
        if (width > 0)
            FillPixels(canvas, x + width, y + 1, 1, height - 1, pen);
    }
    TRACED_CATCH(trace)
}

void FrameRoundRect(QPainter& canvas, int32_t left, int32_t top, int32_t right, int32_t bottom, TColor briskMarginColor,
                    TColor marginColor, TColor backColor, int32_t marginTranslucency, int32_t backTranslucency,
                    bool hot, bool)
{
    TTraced trace;
    try {
        const int marginAlpha = hot ? 255 : GetAlphaFromTranslucency(marginTranslucency);
        const int backAlpha = hot ? 255 : GetAlphaFromTranslucency(backTranslucency);
        for (int32_t ring = 0; ring < FrameRings; ++ring) {
            const TColor color = ring == 0 ? briskMarginColor
                                           : BlendColors(marginColor, backColor, (FrameRings - ring) / 4.0, ring / 4.0);
            const int alpha = ring < FrameRings / 2 ? marginAlpha : backAlpha;
            FrameRing(canvas, left + ring, top + ring, right - ring, bottom - ring, OuterCornerCut - ring,
                      ToAlphaColor(color, alpha));
        }
    }
    TRACED_CATCH(trace)
}
