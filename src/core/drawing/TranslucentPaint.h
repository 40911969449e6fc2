#pragma once

#include "core/drawing/Color.h"

#include <QColor>

#include <cstdint>

class QPainter;

// Translucent fills and frames over whatever the canvas already holds. A translucency is
// the percent (0 to 100) in which what lies below shows through.

// The Qt colour of a colour at an opacity from 0 (clear) to 255 (opaque).
QColor ToAlphaColor(TColor color, int alpha);

// (1 - translucency / 100) x 255, rounded, with the translucency clamped to 0..100: 0 gives
// 255 (opaque), 100 gives 0.
uint8_t GetAlphaFromTranslucency(int32_t translucency);

// Fills the pixels x .. x + width - 1, y .. y + height - 1. A translucency of 100 or more
// draws nothing, 0 or less fills opaquely. Traced.
void PaintTranslucentRect(QPainter& canvas, int32_t x, int32_t y, int32_t width, int32_t height, TColor color,
                          int32_t translucency);

// Outlines the rectangle with a 1-pixel line through x, x + width, y and y + height, so it
// covers width + 1 by height + 1 pixels, each corner blended once. A translucency of 100 or
// more draws nothing. Traced.
void PaintTranslucentFrame(QPainter& canvas, int32_t x, int32_t y, int32_t width, int32_t height, TColor color,
                           int32_t translucency);

// A frame of four 1-pixel rings just inside (left, top, right, bottom), right and bottom
// excluded, whose corners are cut off diagonally (4 pixels on the outer ring, one less on
// each ring inside it). The outer ring is in the brisk margin colour; the three inner ones
// blend from the margin colour toward the back colour. The two outer rings take the margin
// translucency, the two inner ones the back translucency; both are opaque when hot. The
// last argument is accepted for the callers' sake and changes nothing. Traced.
void FrameRoundRect(QPainter& canvas, int32_t left, int32_t top, int32_t right, int32_t bottom, TColor briskMarginColor,
                    TColor marginColor, TColor backColor, int32_t marginTranslucency, int32_t backTranslucency,
                    bool hot, bool);
