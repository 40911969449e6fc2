#include "core/forms/ColorPanel.h"

#include "core/drawing/StockColors.h"

#include <QMouseEvent>

TColorPanel::TColorPanel(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAutoFillBackground(true);
    SetColor(Color);
}

void TColorPanel::SetColor(TColor color)
{
    Color = color;
    QPalette colors = palette();
    colors.setColor(QPalette::Window, ToQColor(color));
    colors.setColor(QPalette::WindowText, Qt::black);
    setPalette(colors);
}

void TColorPanel::mousePressEvent(QMouseEvent* event)
{
    if (OnMouseDown)
        OnMouseDown(*this, event->button());
}

void SetColorPanel(TColorPanel& panel, TColor color)
{
    panel.SetColor(color);
    panel.setToolTip(QString::fromStdString(
        GetStockColorName(color) + GetColorDescription(color) + ". " +
        "(Double) Left click a color to open the stock-color dialog. Right click it to open the color dialog. "
        "Middle click it to set the default color."));
}
