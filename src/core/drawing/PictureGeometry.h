#pragma once

#include "core/drawing/Color.h"

#include <cstdint>

class QImage;
class QPainter;

// The size at which a picture is drawn in a box; true when it is stretched to the whole
// box. Without enlarging, a picture is never drawn larger than it is. A picture or a box
// without area gives 0 x 0, not stretched.
bool GetFitPictureSize(int32_t pictureWidth, int32_t pictureHeight, int32_t boxWidth, int32_t boxHeight,
                       int32_t minimumSize, double maximumRatio, bool stretch, bool enlarge, int32_t& width,
                       int32_t& height, double* ratio = nullptr);

// The thumbnail size under the normalise-width and normalise-height settings; false
// (outs untouched) when no setting applies.
bool GetNormalizedPictureSize(int32_t pictureWidth, int32_t pictureHeight, int32_t normalWidth, int32_t normalHeight,
                              bool useWidth, bool useHeight, bool active, bool enlarge, int32_t minimumSize,
                              int32_t& width, int32_t& height);

// Copies rows of 32-bit pixels, first row first, into a 32-bit image; any other image
// format throws EError "Invalid bitmap pixel format (not 32 bit).".
void CopyPixelsToBitmap(const uint32_t* pixels, QImage& bitmap, int32_t width, int32_t height);

// The colour that stands for "no colour".
inline constexpr TColor clNone = 0x1FFFFFFF;

// A one-pixel frame just outside the rectangle; nothing for clNone.
void DrawOuterFrame(QPainter& canvas, int32_t x, int32_t y, int32_t width, int32_t height, TColor color);
