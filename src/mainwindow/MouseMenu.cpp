#include "mainwindow/MouseMenu.h"

#include "core/forms/Utilities.h"

#include "panels/MyTPanel.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

QPointer<TMouseMenuForm> MouseMenuForm;

namespace {

constexpr int32_t MenuColumns = 2;
constexpr int32_t MenuRows = 6;

} // namespace

TMouseMenuForm::TMouseMenuForm()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus)
{
    setWindowTitle("Mouse menu");
    setAttribute(Qt::WA_ShowWithoutActivating);
    Panel = new MyTPanel(this);
    Panel->Border = 0;
    Panel->Framed = false;
}

void TMouseMenuForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Panel->setGeometry(rect());
}

int32_t GetMouseMenuAlpha(int32_t translucency)
{
    return translucency > 0 ? (100 - translucency) * 255 / 100 : 255;
}

TMouseMenuFrame::~TMouseMenuFrame()
{
    Close();
}

void TMouseMenuFrame::Setup(MyTPanel& list, const TMouseMenuSettings& settings, TColor backColor, TColor textColor,
                            TMouseMenuChoice onSelect, QPoint screenPos)
{
    Close();
    Enabled = settings.Active;
    if (!Enabled)
        return;
    Active = true;
    Shown = false;
    Painted = false;
    Highlighted = -1;
    Translucency = settings.Translucency;
    Sensitivity = settings.Sensitivity;
    CellWidth = settings.ItemWidth;
    ExtraHeight = settings.ItemExtraHeight;
    FontName = settings.FontName;
    FontSize = settings.FontSize;
    BackColor = backColor;
    TextColor = textColor;
    Captions = settings.Operations;
    OnSelect = std::move(onSelect);
    StartX = screenPos.x();
    StartY = screenPos.y();
    FontHeight = GetFontHeight(list.GetTextFont(), list);
    CellHeight = FontHeight + ExtraHeight;
    Left = StartX - CellWidth;
    Top = StartY - 3 * CellHeight;
}

void TMouseMenuFrame::MouseMove(QPoint screenPos)
{
    if (!Active)
        return;
    if (!Shown && (std::abs(screenPos.x() - StartX) >= Sensitivity || std::abs(screenPos.y() - StartY) >= Sensitivity))
        Open();
    if (GetCellAt(screenPos.x(), screenPos.y()) < 0 && Highlighted >= 0)
        DrawCell(Highlighted, false);
}

void TMouseMenuFrame::Open()
{
    Shown = true;
    auto* form = new TMouseMenuForm();
    MouseMenuForm = form;
    form->setGeometry(Left, Top, MenuColumns * CellWidth + 1, MenuRows * CellHeight + 1);
    form->setFont(GetMenuFont());
    // Without a compositor the window stays opaque.
    if (Translucency > 0)
        form->setWindowOpacity(GetMouseMenuAlpha(Translucency) / 255.0);
    MyTPanel& panel = *form->Panel;
    panel.OnPaint = [this](QPainter& canvas) { Paint(canvas); };
    panel.OnDragOver = [this](MyTPanel*, QObject*, int32_t x, int32_t y, TDragState, bool& accept) {
        accept = true;
        DragOver(x, y);
    };
    panel.OnDragDrop = [this](MyTPanel*, QObject*, int32_t x, int32_t y) { DragDrop(x, y); };
    form->show();
    panel.Invalidate();
}

void TMouseMenuFrame::Close()
{
    Active = false;
    delete MouseMenuForm.data();
}

int32_t TMouseMenuFrame::GetCellAt(int32_t x, int32_t y) const
{
    if (!Active || MouseMenuForm == nullptr)
        return -1;
    const int32_t width = MenuColumns * CellWidth;
    const int32_t height = MenuRows * CellHeight;
    int32_t dx = x - Left;
    int32_t dy = y - Top;
    // The window's last pixel column and row belong to the last cells.
    if (dx == width)
        dx = width - 1;
    if (dy == height)
        dy = height - 1;
    if (dx < 0 || dx >= width || dy < 0 || dy >= height)
        return -1;
    return dy / CellHeight * MenuColumns + (dx > CellWidth ? 1 : 0);
}

QFont TMouseMenuFrame::GetMenuFont() const
{
    QFont font(QString::fromStdString(FontName));
    font.setPointSize(std::max(FontSize, 1));
    return font;
}

void TMouseMenuFrame::Paint(QPainter& canvas)
{
    const int32_t width = MenuColumns * CellWidth;
    const int32_t height = MenuRows * CellHeight;
    canvas.fillRect(0, 0, width + 1, height + 1, ToQColor(BackColor));
    canvas.setPen(ToQColor(TextColor));
    for (int32_t row = 0; row <= MenuRows; ++row)
        canvas.drawLine(0, row * CellHeight, width, row * CellHeight);
    for (int32_t column = 0; column <= MenuColumns; ++column)
        canvas.drawLine(column * CellWidth, 0, column * CellWidth, height - 1);
    for (int32_t index = 0; index < MenuColumns * MenuRows; ++index)
        DrawCellOn(canvas, index, false);
    Highlighted = -1;
    Painted = true;
}

QRect TMouseMenuFrame::GetCellFill(int32_t index) const
{
    const int32_t x0 = index % MenuColumns == 1 ? CellWidth : 0;
    const int32_t y0 = index / MenuColumns * CellHeight;
    return QRect(QPoint(x0 + 2, y0 + 2), QPoint(x0 + CellWidth - 2, y0 + CellHeight - 2));
}

void TMouseMenuFrame::DrawCellOn(QPainter& canvas, int32_t index, bool highlighted)
{
    const int32_t x0 = index % MenuColumns == 1 ? CellWidth : 0;
    const int32_t y0 = index / MenuColumns * CellHeight;
    canvas.fillRect(GetCellFill(index), ToQColor(highlighted ? TextColor : BackColor));
    const QRect text(QPoint(x0 + 3, y0 + ExtraHeight / 2 + 1), QPoint(x0 + CellWidth - 7, y0 + CellHeight - 2));
    canvas.save();
    canvas.setClipRect(text);
    canvas.setFont(GetMenuFont());
    canvas.setPen(ToQColor(highlighted ? BackColor : TextColor));
    canvas.drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                    QString::fromStdString(Captions[static_cast<size_t>(index)]));
    canvas.restore();
}

void TMouseMenuFrame::DrawCell(int32_t index, bool highlighted)
{
    if (index < 0)
        return;
    if (!highlighted)
        Highlighted = -1;
    if (MouseMenuForm == nullptr)
        return;
    MyTPanel& panel = *MouseMenuForm->Panel;
    panel.PaintOnOwnCanvas(GetCellFill(index).adjusted(-1, -1, 1, 1),
                           [&](QPainter& canvas) { DrawCellOn(canvas, index, highlighted); });
}

void TMouseMenuFrame::DragOver(int32_t x, int32_t y)
{
    const int32_t cell = GetCellAt(x + Left, y + Top);
    if (cell < 0 || cell == Highlighted || !Painted)
        return;
    DrawCell(Highlighted, false);
    Highlighted = cell;
    DrawCell(cell, true);
}

void TMouseMenuFrame::DragDrop(int32_t x, int32_t y)
{
    const int32_t cell = GetCellAt(x + Left, y + Top);
    // The drop arrives from the window's own panel, which must outlive the call.
    Active = false;
    if (MouseMenuForm != nullptr) {
        MouseMenuForm->hide();
        MouseMenuForm->deleteLater();
        MouseMenuForm = nullptr;
    }
    if (cell >= 0 && OnSelect)
        OnSelect(Captions[static_cast<size_t>(cell)], QPoint(StartX, StartY));
}
