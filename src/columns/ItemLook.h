#pragma once

#include "core/drawing/Color.h"

#include <QRect>

#include <cstdint>

class MyTPanel;
class QImage;
class QPainter;

// The looks a list item takes in the skin's colours: focused in the focused list, focused
// elsewhere, selected (or played), or plain.
struct TStateLook
{
    TColor BriskMargin;
    TColor Margin;
    TColor Back;
    TColor Text;
    TColor Tint;
    int32_t MarginTranslucency;
    int32_t BackTranslucency;
};

// The focus wins over the selection, and the focus in the focused list over the focus
// elsewhere.
TStateLook GetStateLook(bool active, bool focused, bool selected);

// The item's bitmap starts from the window colour, or from the part of the shared
// background that lies under the item when the background picture shows through the lists.
void PaintItemBackground(QImage& bitmap, MyTPanel& list, QRect place);

// The rounded frame over the rectangle with a button face inside it, inset by 4 pixels.
void PaintFocusOrSelectionLook(QPainter& canvas, QRect rect, const TStateLook& look);
