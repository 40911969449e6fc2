#include "core/TranslucentPaint.h"

#include "core/MyMath.h"
#include "core/Traced.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t OuterCornerCut = 4;
constexpr int32_t FrameRings = 4;

// Each pixel is blended once: overlapping strokes would darken the corners.
void FillPixels(QPainter& canvas, int32_t x, int32_t y, int32_t width, int32_t height, const QColor& color)
{
    if (width > 0 && height > 0)
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
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF, alpha);
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

void FrameRoundRect(QPainter& canvas, int32_t left, int32_t top, int32_t right, int32_t bottom,
                    TColor briskMarginColor, TColor marginColor, TColor backColor, int32_t marginTranslucency,
                    int32_t backTranslucency, bool hot, bool)
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
