#include "core/forms/Utilities.h"

#include "core/errors/Traced.h"

#include "host/TextDrawing.h"

#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

TUtilities Utilities;

TUtilities::TUtilities() : DrawShadowText(host::DrawShadowText)
{
}

namespace {

class TTextPainter
{
public:
    TTextPainter(const std::string& text, QPainter& canvas, bool shadow, int32_t shadowX, int32_t shadowY,
                 TColor textColor, TColor shadowColor)
        : Text(text), Canvas(canvas), Shadow(shadow && Utilities.DrawShadowText != nullptr), ShadowX(shadowX),
          ShadowY(shadowY), TextColor(ToQColor(textColor)), ShadowColor(ToQColor(shadowColor))
    {
    }

    // The size the text takes in the rectangle, measured the way it will be drawn.
    QSize Measure(QRect rect, uint32_t format) const
    {
        if (Shadow)
            Utilities.DrawShadowText(Canvas, Text, rect, format | host::DT_CALCRECT, TextColor, ShadowColor, ShadowX,
                                     ShadowY);
        else
            host::DrawText(Canvas, Text, rect, format | host::DT_CALCRECT);
        return rect.size();
    }

    // The shadowed text, when asked for, lies under the text drawn in the pen colour.
    void Draw(QRect rect, uint32_t format) const
    {
        if (Shadow)
            Utilities.DrawShadowText(Canvas, Text, rect, format, TextColor, ShadowColor, ShadowX, ShadowY);
        host::DrawText(Canvas, Text, rect, format);
    }

private:
    const std::string& Text;
    QPainter& Canvas;
    bool Shadow;
    int32_t ShadowX;
    int32_t ShadowY;
    QColor TextColor;
    QColor ShadowColor;
};

} // namespace

void DrawTextInRect(const std::string& text, QPainter& canvas, bool transparent, QRect rect, uint32_t format,
                    bool centerHorizontally, bool centerVertically, int32_t* outWidth, int32_t* outHeight, bool shadow,
                    int32_t shadowX, int32_t shadowY, TColor textColor, TColor shadowColor)
{
    if (outWidth != nullptr)
        *outWidth = 0;
    if (outHeight != nullptr)
        *outHeight = 0;
    const bool measuring = outWidth != nullptr || outHeight != nullptr;
    if (text.empty())
        return;
    if (transparent)
        canvas.setBackgroundMode(Qt::TransparentMode);
    else if (!measuring)
        canvas.fillRect(rect, canvas.brush());
    uint32_t flags = format == 0 ? host::DT_NOPREFIX : format;
    if (centerHorizontally)
        flags |= host::DT_CENTER;
    if (centerVertically)
        flags |= host::DT_VCENTER;
    const TTextPainter painter(text, canvas, shadow, shadowX, shadowY, textColor, shadowColor);
    int offset = 0;
    if (centerHorizontally || centerVertically || measuring) {
        const QSize size = painter.Measure(rect, flags);
        if (measuring) {
            if (outWidth != nullptr)
                *outWidth = size.width();
            if (outHeight != nullptr)
                *outHeight = size.height();
            return;
        }
        if (size.width() > rect.width())
            flags &= ~host::DT_CENTER;
        if (rect.height() > size.height())
            offset = (rect.height() - size.height()) / 2;
    }
    painter.Draw(rect.adjusted(0, offset, 0, -offset), flags);
}

int32_t GetFontHeight(const QFont& font, const QWidget& control)
{
    TTraced trace;
    int32_t height = 0;
    trace.Run([&] { height = QFontMetrics(font, &control).height(); });
    return height;
}
