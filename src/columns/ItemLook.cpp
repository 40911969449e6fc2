#include "columns/ItemLook.h"

#include "columns/MainWindowItemPaint.h"
#include "panels/ButtonFace.h"
#include "panels/MyPanelOptions.h"
#include "panels/MyTPanel.h"

#include "core/drawing/TranslucentPaint.h"

#include <QPainter>

TStateLook GetStateLook(bool active, bool focused, bool selected)
{
    const TMyPanelOptions& o = GMyPanelOptions;
    if (active)
        return {*o.ActiveFocusBriskMarginColor,
                *o.ActiveFocusMarginColor,
                *o.ActiveFocusBackColor,
                *o.ActiveFocusTextColor,
                *o.ActiveFocusTintColor,
                *o.WindowActiveFocusMarginTranslucency,
                *o.WindowActiveFocusBackTranslucency};
    if (focused)
        return {*o.InactiveFocusBriskMarginColor,
                *o.InactiveFocusMarginColor,
                *o.InactiveFocusBackColor,
                *o.InactiveFocusTextColor,
                *o.InactiveFocusTintColor,
                *o.WindowInactiveFocusMarginTranslucency,
                *o.WindowInactiveFocusBackTranslucency};
    if (selected)
        return {*o.SelectionBriskMarginColor,
                *o.SelectionMarginColor,
                *o.SelectionBackColor,
                *o.SelectionTextColor,
                *o.SelectionTintColor,
                *o.WindowSelectionMarginTranslucency,
                *o.WindowSelectionBackTranslucency};
    return {*o.WindowBackColor, *o.WindowBackColor, *o.WindowBackColor, *o.WindowTextColor, *o.WindowBackColor, 0, 0};
}

void PaintItemBackground(QImage& bitmap, MyTPanel& list, QRect place)
{
    bitmap.fill(ToQColor(*GMyPanelOptions.WindowBackColor));
    if (!IsBackPictureVisible())
        return;
    QPainter canvas(&bitmap);
    const QRect under(list.GetBackgroundRect().topLeft() + place.topLeft(), place.size());
    canvas.drawImage(QPoint(0, 0), GMyPanelOptions.Background, under);
}

void PaintFocusOrSelectionLook(QPainter& canvas, QRect rect, const TStateLook& look)
{
    FrameRoundRect(canvas, rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height(),
                   look.BriskMargin, look.Margin, look.Back, look.MarginTranslucency, look.BackTranslucency, false,
                   true);
    const QRect face = rect.adjusted(4, 4, -4, -4);
    PaintButtonFX(canvas, face.left(), face.top(), face.width() - 1, face.height() - 1, look.Margin, look.Margin,
                  look.Back, look.Tint, look.MarginTranslucency, look.BackTranslucency, bsRectangle,
                  *GMyPanelOptions.NonOvalButtonsStyle, false, false);
}
