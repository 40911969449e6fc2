#pragma once

#include "core/Seam.h"
#include "core/text/MyTime.h"

#include "host/FileSystem.h"

#include <QRect>

#include <cstdint>
#include <string>

class MyTPanel;
class QPainter;
class TColumn;

// The hot item that the main window keeps for all columns: the item last painted as
// hot-tracked, and the item whose hover delay runs.
struct THotItemRecord
{
    TColumn* HotColumn = nullptr;
    int32_t HotItem = -1;
    // The hot item has been painted hot since it became hot.
    bool HotItemShown = false;
    TColumn* HoverColumn = nullptr;
    int32_t HoverItem = -1;
    // The hover window's delay is measured from its start.
    TCrono HoverCrono;
};

// What the item painter needs of the main window: its hot-item record, the hover window
// and the thumbnail painter. The main window implements it and installs itself once it
// exists; tests install fakes.
class TMainWindowItemPaint
{
public:
    virtual ~TMainWindowItemPaint() = default;
    virtual THotItemRecord& GetHotItemRecord() = 0;
    // Hides the file hover window and marks the hot item as already hovered.
    virtual void HideFileHover() = 0;
    // Draws the file's thumbnail into the picture rectangle of the item canvas and its
    // information line into the other rectangle, in the canvas's font and pen colour.
    virtual void PaintThumb(const std::string& title, MyTPanel& list, int64_t size, host::FileTime modified,
                            QPainter& canvas, QRect infoRect, QRect pictureRect) = 0;
};

template <>
TMainWindowItemPaint& TSeam<TMainWindowItemPaint>::StandIn();

// The skin's background picture shows behind the panels: the shared background exists
// and the list windows let it through. Items are then painted over it, not over their
// window colour.
bool IsBackPictureVisible();
