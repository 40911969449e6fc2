#pragma once

#include "core/Color.h"

#include <cstdint>
#include <string>

class QFont;
class QPainter;
class QPoint;
class QRect;
class QWidget;

// Stand-ins for the drawing and control helpers of the core layer, with their signatures,
// until those land.
namespace host {
inline constexpr uint32_t DT_CENTER = 0x1;
inline constexpr uint32_t DT_VCENTER = 0x4;
inline constexpr uint32_t DT_WORDBREAK = 0x10;
inline constexpr uint32_t DT_EXPANDTABS = 0x40;
inline constexpr uint32_t DT_NOPREFIX = 0x800;
inline constexpr uint32_t DT_PATH_ELLIPSIS = 0x4000;
} // namespace host

void DrawTextInRect(const std::string& text, QPainter& canvas, bool transparent, QRect rect, uint32_t format,
                    bool centerHorizontally, bool centerVertically, int32_t* outWidth = nullptr,
                    int32_t* outHeight = nullptr, bool shadow = false, int32_t shadowX = 0, int32_t shadowY = 0,
                    TColor textColor = 0, TColor shadowColor = 0);
int32_t GetFontHeight(const QFont& font, const QWidget& control);
bool IsMouseOverControl(const QWidget& control);
bool IsControlAtPoint(const QPoint& screenPoint, const QWidget& control);
