#pragma once

#include "core/drawing/Color.h"

#include <QFrame>

#include <functional>

// A colour swatch: a small bordered panel filled with its colour, telling its owner of
// each mouse press.
class TColorPanel : public QFrame
{
public:
    explicit TColorPanel(QWidget* parent = nullptr);

    TColor Color = 0;
    // The owner's value; a swatch of the skin editor keeps its default colour here.
    TColor Tag = 0;
    std::function<void(TColorPanel& sender, Qt::MouseButton button)> OnMouseDown;

    // Fills the panel with the colour.
    void SetColor(TColor color);

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

// Gives the swatch the colour and a hint naming it, with how to choose another.
void SetColorPanel(TColorPanel& panel, TColor color);
