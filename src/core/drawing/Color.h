#pragma once

#include <cstdint>

class QColor;

// A colour in the Windows layout: red in bits 0-7, green in 8-15, blue in 16-23.
using TColor = int32_t;

// The conversions at the window system's boundary; the top byte is not a colour.
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);
