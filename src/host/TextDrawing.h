#pragma once

#include <cstdint>
#include <string>
#include <vector>

class QColor;
class QFontMetrics;
class QPainter;
class QRect;

// Text in a rectangle the way the program's drawing code expects it: the Windows
// text-drawing flags, drawn with the painter's font and pen colour.
namespace host {

inline constexpr uint32_t DT_LEFT = 0x0;
inline constexpr uint32_t DT_CENTER = 0x1;
inline constexpr uint32_t DT_RIGHT = 0x2;
// Vertical placement applies to single-line text only.
inline constexpr uint32_t DT_VCENTER = 0x4;
inline constexpr uint32_t DT_BOTTOM = 0x8;
inline constexpr uint32_t DT_WORDBREAK = 0x10;
inline constexpr uint32_t DT_SINGLELINE = 0x20;
inline constexpr uint32_t DT_EXPANDTABS = 0x40;
inline constexpr uint32_t DT_NOCLIP = 0x100;
inline constexpr uint32_t DT_CALCRECT = 0x400;
inline constexpr uint32_t DT_NOPREFIX = 0x800;
inline constexpr uint32_t DT_PATH_ELLIPSIS = 0x4000;
inline constexpr uint32_t DT_END_ELLIPSIS = 0x8000;

// The lines as DrawText lays them out for a rectangle of the width: line breaks (CR,
// LF, CR LF) kept unless single-line, words wrapped at spaces with DT_WORDBREAK (a word
// wider than the line stands alone), unwrapped lines too wide shortened with "..." (the
// path ellipsis in the middle, keeping what follows the last backslash; the end ellipsis
// at the end), and without DT_NOPREFIX
// each "&" removed ("&&" stays one "&"; the character after a single one is underlined).
std::vector<std::string> GetTextLines(const QFontMetrics& metrics, const std::string& text, int width, uint32_t format);

// Draws the text in the rectangle, clipped to it unless DT_NOCLIP, and gives its height.
// With DT_CALCRECT nothing is drawn: the rectangle keeps its left and top and takes the
// width and height of the text.
int DrawText(QPainter& painter, const std::string& text, QRect& rect, uint32_t format);

// As DrawText, with a shadow in the shadow colour under the text, offset by the given
// pixels; the text itself is drawn in the text colour. The painter's pen is kept.
int DrawShadowText(QPainter& painter, const std::string& text, QRect& rect, uint32_t format, const QColor& textColor,
                   const QColor& shadowColor, int offsetX, int offsetY);

} // namespace host
