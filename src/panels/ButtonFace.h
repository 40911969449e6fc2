#pragma once

#include "core/drawing/Color.h"

#include <QPoint>
#include <QPointF>

#include <cstdint>
#include <string>

class QPainter;

// Button face shapes.
inline constexpr int32_t bsRectangle = 0;
inline constexpr int32_t bsSingleOval = 1;
inline constexpr int32_t bsDoubleOval = 2;

// The style of the scroll-bar thumb, beside the edge styles of rectangular faces ("No edge",
// "Top edge", "Bottom edge").
inline const std::string ScrollBarThumbStyle = "VSB";

// A button face: a path gradient over the rectangle (shape 0) or the ellipse in it (shapes
// 1 and 2), from the outline toward a focus area around the centre. A rectangle gets a
// 1-pixel outline in the back colour and covers width + 1 by height + 1 pixels; an oval
// is outlined smoothly in the brisk margin colour. The margin colours take the margin
// translucency, back and tint the back translucency; a hot face is opaque. Traced.
void PaintButtonFX(QPainter& canvas, int32_t x, int32_t y, int32_t width, int32_t height, TColor briskMarginColor,
                   TColor marginColor, TColor backColor, TColor tintColor, int32_t marginTranslucency,
                   int32_t backTranslucency, int32_t shape, const std::string& style, bool pressed, bool hot);

// The centre of the gradient: lower when pressed, near the edge that the style names.
QPoint GetButtonFXCentre(int32_t x, int32_t y, int32_t width, int32_t height, int32_t shape, const std::string& style,
                         bool pressed);
// The focus scales: the share of the width and height of the shape, around the centre,
// that shows the centre colour.
QPointF GetButtonFXFocusScales(int32_t width, int32_t height, int32_t shape, const std::string& style);
