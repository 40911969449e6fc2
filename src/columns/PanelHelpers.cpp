#include "columns/PanelHelpers.h"

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

void DrawTextInRect(const std::string& text, QPainter& canvas, bool transparent, QRect rect, uint32_t format,
                    bool centerHorizontally, bool centerVertically, int32_t*, int32_t*, bool, int32_t, int32_t,
                    TColor, TColor)
{
    if (text.empty())
        return;
    if (!transparent)
        canvas.fillRect(rect, canvas.brush());
    int flags = 0;
    if (centerHorizontally)
        flags |= Qt::AlignHCenter;
    if (centerHorizontally || centerVertically)
        flags |= Qt::AlignVCenter;
    if ((format & host::DT_WORDBREAK) != 0)
        flags |= Qt::TextWordWrap;
    if ((format & host::DT_EXPANDTABS) != 0)
        flags |= Qt::TextExpandTabs;
    QString shown = QString::fromStdString(text);
    if ((format & host::DT_PATH_ELLIPSIS) != 0)
        shown = canvas.fontMetrics().elidedText(shown, Qt::ElideMiddle, rect.width());
    canvas.drawText(rect, flags, shown);
}

int32_t GetFontHeight(const QFont& font, const QWidget& control)
{
    return QFontMetrics(font, &control).height();
}

bool IsControlAtPoint(const QPoint& screenPoint, const QWidget& control)
{
    return QApplication::widgetAt(screenPoint) == &control;
}

bool IsMouseOverControl(const QWidget& control)
{
    return IsControlAtPoint(QCursor::pos(), control);
}
