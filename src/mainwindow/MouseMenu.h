#pragma once

#include "columns/MainWindowMouse.h"

#include "core/drawing/Color.h"

#include <QFont>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <array>
#include <cstdint>
#include <string>

class MyTPanel;
class QPainter;

// The mouse menu's window: frameless, above the other windows, never activated. One panel
// fills it, the target of the column drag that opened it; the controller paints it and
// hears the drag through the panel.
class TMouseMenuForm : public QWidget
{
public:
    TMouseMenuForm();
    MyTPanel* Panel = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

// The window while the menu is shown, else null.
extern QPointer<TMouseMenuForm> MouseMenuForm;

// The window's alpha for a translucency percentage: (100 - T) x 255 / 100; 255 (opaque)
// for 0 or less.
int32_t GetMouseMenuAlpha(int32_t translucency);

// The mouse menu: 2 x 6 cells around the point of a right press on a column item, opened
// once the pointer has moved the sensitivity with the button held. The column's drag moves
// onto a cell and drops there; the cell's operation goes back to the column. Cell i sits in
// row i / 2, left for an even i and right for an odd one; the window is centred on the
// press point. Coordinates are screen pixels unless named window ones.
class TMouseMenuFrame
{
public:
    TMouseMenuFrame() = default;
    ~TMouseMenuFrame();
    TMouseMenuFrame(const TMouseMenuFrame&) = delete;
    TMouseMenuFrame& operator=(const TMouseMenuFrame&) = delete;

    // Armed by a press while the menu is enabled.
    bool Active = false;
    // The window has been made for this press.
    bool Shown = false;
    bool Enabled = false;
    int32_t Translucency = 0;
    int32_t Sensitivity = 0;
    int32_t CellWidth = 0;
    int32_t CellHeight = 0;
    int32_t ExtraHeight = 0;
    std::string FontName;
    int32_t FontSize = 0;
    TColor BackColor = 0;
    TColor TextColor = 0;
    std::array<std::string, 12> Captions;
    TMouseMenuChoice OnSelect;
    int32_t StartX = 0;
    int32_t StartY = 0;
    int32_t Left = 0;
    int32_t Top = 0;
    // The text height of the pressed list's font.
    int32_t FontHeight = 0;
    // The window has been painted once; cells highlight only after that.
    bool Painted = false;
    // -1 for none.
    int32_t Highlighted = -1;

    // A right press on an item: closes an open menu, then, when the settings enable it,
    // arms it at the screen point.
    void Setup(MyTPanel& list, const TMouseMenuSettings& settings, TColor backColor, TColor textColor,
               TMouseMenuChoice onSelect, QPoint screenPos);
    // The column drag moved: opens the armed menu once the pointer is far enough, and
    // clears the highlight off the cells.
    void MouseMove(QPoint screenPos);
    // Ends the menu: disarmed, the window destroyed.
    void Close();
    // The cell under the screen point, -1 for none or when no menu is shown.
    int32_t GetCellAt(int32_t x, int32_t y) const;

    // The window's events, in window coordinates.
    void Paint(QPainter& canvas);
    void DragOver(int32_t x, int32_t y);
    void DragDrop(int32_t x, int32_t y);

private:
    void Open();
    // Draws one cell on the window, highlighted with the two colours exchanged; drawing it
    // plain clears the highlight.
    void DrawCell(int32_t index, bool highlighted);
    void DrawCellOn(QPainter& canvas, int32_t index, bool highlighted);
    QRect GetCellFill(int32_t index) const;
    QFont GetMenuFont() const;
};
