// The panel's painting: the back buffer, the shared background and its rebuild, faces and
// frames, captions, level bars, the scroll bar, and the pressed and hot looks with their
// timer. A paint goes into the back buffer at once; paintEvent only shows the buffer.

#include "panels/MyTPanel.h"

#include "panels/ButtonFace.h"
#include "panels/MyPanelOptions.h"

#include "core/drawing/TranslucentPaint.h"
#include "core/errors/Traced.h"
#include "core/forms/InputState.h"
#include "core/forms/Utilities.h"

#include "host/TextDrawing.h"

#include <QCoreApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QScopeGuard>
#include <QTimer>

#include <algorithm>
#include <cstring>

namespace {

constexpr int TimerInterval = 200;
constexpr double PressedLookSeconds = 0.19;

// Copies a rectangle of the source to the target; what the source does not hold gets the
// filling colour. Rows are copied as they are when both images share their format: a
// panel's resting look is one such block copy.
void CopyPixels(QImage& target, QRect destination, const QImage& source, QRect from)
{
    const QRect held = from.intersected(source.rect());
    if (held != from) {
        QPainter canvas(&target);
        canvas.fillRect(destination, ToQColor(*GMyPanelOptions.FillingColor));
    }
    const QPoint shift = destination.topLeft() - from.topLeft();
    const QRect copied = held.translated(shift).intersected(target.rect());
    if (copied.isEmpty())
        return;
    if (source.format() != target.format() || source.depth() != 32) {
        QPainter canvas(&target);
        canvas.setCompositionMode(QPainter::CompositionMode_Source);
        canvas.drawImage(copied.topLeft(), source, copied.translated(-shift));
        return;
    }
    const size_t rowBytes = static_cast<size_t>(copied.width()) * 4;
    for (int y = copied.top(); y <= copied.bottom(); ++y)
        std::memcpy(target.scanLine(y) + copied.left() * 4,
                    source.constScanLine(y - shift.y()) + (copied.left() - shift.x()) * 4, rowBytes);
}

// Copies a rectangle of the image to the same place of the painter's device in bands of a
// few rows: the painter hands a tall copy to a pool of threads, whose start costs several
// times more than the copy itself.
void DrawImageInBands(QPainter& painter, QRect area, const QImage& image)
{
    constexpr int BandRows = 16;
    for (int top = area.top(); top <= area.bottom(); top += BandRows) {
        const QRect band(area.left(), top, area.width(), std::min(BandRows, area.bottom() + 1 - top));
        painter.drawImage(band.topLeft(), image, band);
    }
}

void InvalidatePanels(QWidget* control)
{
    for (QObject* child : control->children())
        if (auto* widget = qobject_cast<QWidget*>(child)) {
            if (auto* panel = dynamic_cast<MyTPanel*>(widget))
                panel->Invalidate();
            InvalidatePanels(widget);
        }
}

} // namespace

// ---- Paint requests ----

QEvent::Type MyTPanel::PaintRequestEvent()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

// Paint requests are posted at normal priority, so they run before the window system's
// screen update, which Qt posts at low priority: the screen never shows a stale buffer.
void MyTPanel::Invalidate()
{
    PaintNeeded = true;
    if (PaintPosted || QCoreApplication::instance() == nullptr)
        return;
    PaintPosted = true;
    QCoreApplication::postEvent(this, new QEvent(PaintRequestEvent()));
}

void MyTPanel::Update()
{
    PaintPosted = false;
    if (!PaintNeeded)
        return;
    PaintNeeded = false;
    Paint();
}

void MyTPanel::Repaint()
{
    PaintNeeded = true;
    Update();
}

bool MyTPanel::EnsureBackBuffer()
{
    if (!Buffer.isNull() && Buffer.size() == size())
        return true;
    Buffer = size().isEmpty() ? QImage() : QImage(size(), QImage::Format_RGB32);
    return false;
}

void MyTPanel::paintEvent(QPaintEvent* event)
{
    QPainter screen(this);
    screen.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect shown = event->rect();
    if (!Buffer.rect().contains(shown))
        screen.fillRect(shown, ToQColor(*GMyPanelOptions.FillingColor));
    DrawImageInBands(screen, shown.intersected(Buffer.rect()), Buffer);
}

void MyTPanel::PaintOnOwnCanvas(QRect area, const std::function<void(QPainter& canvas)>& paint)
{
    if (!CanPaint())
        return;
    if (!EnsureBackBuffer()) {
        Invalidate();
        return;
    }
    QPainter canvas(&Buffer);
    paint(canvas);
    canvas.end();
    update(area);
}

// ---- The paint ----

bool MyTPanel::CanPaint() const
{
    return GMyPanelGlobal.PaintingEnabled && PaintEnabled && !isHidden() && parentWidget() != nullptr &&
           !parentWidget()->isHidden();
}

bool MyTPanel::CanPaintFrame() const
{
    return GMyPanelOptions.SizingControl != nullptr && !isHidden() && parentWidget() != nullptr &&
           !parentWidget()->isHidden();
}

bool MyTPanel::IsHot(bool intoBackground) const
{
    return !intoBackground && GMyPanelGlobal.HotPanel == this && HotTrack &&
           (FaceColorSet == 0 || Kind == mpkScrollBar);
}

// The panel's place in the shared background.
QRect MyTPanel::GetBackgroundRect() const
{
    const QWidget* sizing = GMyPanelOptions.SizingControl;
    const QPoint origin = sizing == nullptr ? QPoint() : mapToGlobal(QPoint()) - sizing->mapToGlobal(QPoint());
    return QRect(origin, size());
}

void MyTPanel::Paint()
{
    if (!CanPaint())
        return;
    if (Border <= 0 && !Transparent && !ButtonFace && !OnPaint && Items == nullptr)
        return;
    EnsureBackBuffer();
    if (Buffer.isNull())
        return;
    FPaint(Buffer, false, rect(), GetBackgroundRect());
    update();
}

// An ordinary paint draws straight into the back buffer, which the screen shows only
// once the paint is over, whatever the paint left there.
void MyTPanel::FPaint(QImage& target, bool intoBackground, QRect destination, QRect source)
{
    TTraced trace;
    try {
        if (!intoBackground && IsScrollBarShown())
            ScrollBar->Invalidate();
        const bool pressedLook = Pressed && FaceColorSet == 0 && !intoBackground;
        const bool hot = IsHot(intoBackground);
        if (!intoBackground || Kind == mpkScrollBar)
            CopyBase(target, pressedLook || hot, destination, source);
        QPainter canvas(&target);
        if (intoBackground && Kind != mpkScrollBar)
            FillBase(canvas, destination);
        if (Kind == mpkScrollBar) {
            PaintScrollBar(canvas, destination);
            return;
        }
        if (intoBackground || pressedLook || hot)
            PaintFaceAndFrame(canvas, pressedLook, hot, destination);
        if (!intoBackground)
            PaintContent(canvas, destination);
    }
    TRACED_CATCH(trace)
}

MyTPanel::TColorSet MyTPanel::GetColorSet() const
{
    const TMyPanelOptions& o = GMyPanelOptions;
    switch (FaceColorSet) {
    case 0:
        return {*o.ButtonBackColor,   *o.ButtonTextColor,           *o.ButtonBriskMarginColor,
                *o.ButtonMarginColor, *o.ControlMarginTranslucency, *o.ControlBackTranslucency};
    case 1:
        return {*o.WindowBackColor,   *o.WindowTextColor,          *o.WindowBriskMarginColor,
                *o.WindowMarginColor, *o.WindowMarginTranslucency, *o.WindowBackTranslucency};
    default:
        return {*o.FillingColor,      *o.WindowTextColor,           *o.WindowBriskMarginColor,
                *o.WindowMarginColor, *o.ControlMarginTranslucency, *o.ControlBackTranslucency};
    }
}

TColor MyTPanel::GetBackColor() const
{
    switch (BackColorSet) {
    case 0:
        return *GMyPanelOptions.ButtonBackColor;
    case 1:
        return *GMyPanelOptions.WindowBackColor;
    default:
        return *GMyPanelOptions.FillingColor;
    }
}

TColor MyTPanel::GetTintColor(bool hot) const
{
    if (Down)
        return hot ? *GMyPanelOptions.PushedHotTrackTintColor : *GMyPanelOptions.PushedTintColor;
    return hot ? *GMyPanelOptions.ButtonHotTrackTintColor : *GMyPanelOptions.ButtonTintColor;
}

// A lit panel (pressed or hot) shows the skin picture itself under its face; a resting
// one the shared background, where its resting face already is.
void MyTPanel::CopyBase(QImage& target, bool lit, QRect destination, QRect source)
{
    const QImage& picture = GMyPanelOptions.BackPicture;
    const bool fromPicture = lit && !picture.isNull() && Kind != mpkScrollBar;
    CopyPixels(target, destination, fromPicture ? picture : GMyPanelOptions.Background, source);
}

void MyTPanel::FillBase(QPainter& canvas, QRect destination)
{
    if (!(Transparent && !GMyPanelOptions.BackPicture.isNull()))
        canvas.fillRect(destination, ToQColor(GetBackColor()));
}

void MyTPanel::PaintFaceAndFrame(QPainter& canvas, bool pressedLook, bool hot, QRect destination)
{
    const TMyPanelOptions& o = GMyPanelOptions;
    const TColorSet set = GetColorSet();
    const int32_t margin = InnerMargin;
    const QRect inset = destination.adjusted(margin, margin, -margin, -margin);
    const TColor face = Down ? *o.PushedBackColor : set.Face;
    if (Border <= 0) {
        if (face != GetBackColor())
            canvas.fillRect(inset, ToQColor(face));
        return;
    }
    TColor brisk = set.BriskMargin;
    TColor marginColor = set.Margin;
    if (Down) {
        brisk = *o.PushedBriskMarginColor;
        marginColor = *o.PushedMarginColor;
    } else if (!Framed) {
        // Nothing else names this margin: the back colour keeps an unframed oval the same
        // at rest and when hot or pressed.
        marginColor = GetBackColor();
    }
    const int32_t width = destination.width();
    const int32_t height = destination.height();
    if (FaceColorSet == 1) {
        PaintTranslucentRect(canvas, destination.left() + Border, destination.top() + Border, width - 2 * Border,
                             height - 2 * Border, set.Face, set.BackTranslucency);
    } else if (ButtonFace && FaceColorSet == 0) {
        const int32_t faceInset = ButtonShape == bsRectangle ? Border : margin;
        PaintButtonFX(canvas, destination.left() + faceInset, destination.top() + faceInset, width - 2 * faceInset - 1,
                      height - 2 * faceInset - 1, brisk, marginColor, face, GetTintColor(hot),
                      *o.ControlMarginTranslucency, *o.ControlBackTranslucency, ButtonShape, *o.NonOvalButtonsStyle,
                      pressedLook, hot);
    }
    if (Framed && ButtonShape == bsRectangle)
        FrameRoundRect(canvas, inset.left(), inset.top(), inset.left() + inset.width(), inset.top() + inset.height(),
                       brisk, marginColor, face, set.MarginTranslucency, set.BackTranslucency, hot, true);
}

void MyTPanel::PaintContent(QPainter& canvas, QRect destination)
{
    switch (Kind) {
    case mpkPanel:
        if (!Caption.empty())
            PaintCaption(canvas);
        else if (OnPaint)
            OnPaint(canvas);
        break;
    case mpkLevelBar:
        PaintLevel(canvas, destination);
        break;
    default:
        if (OnDrawItem)
            PaintItems(canvas);
        break;
    }
}

// Each row's look depends on the mouse, which is read once for the whole paint: on X11 a
// read is a round trip to the display server, and sixty of them cost more than the rows.
void MyTPanel::PaintItems(QPainter& canvas)
{
    ItemUnderMouseInPaint = GetItemUnderMouse();
    const auto forget = qScopeGuard([this] { ItemUnderMouseInPaint.reset(); });
    for (int32_t i = TopIndex, last = GetLastVisibleIndex(); i <= last; ++i)
        OnDrawItem(canvas, i);
}

void MyTPanel::PaintCaption(QPainter& canvas)
{
    QFont captionFont(QString::fromStdString(*GMyPanelOptions.CaptionFontName), *GMyPanelOptions.CaptionFontSize);
    captionFont.setStrikeOut(StrikeOut);
    canvas.setFont(captionFont);
    canvas.setPen(ToQColor(Down ? *GMyPanelOptions.PushedTextColor : GetColorSet().Text));
    uint32_t format = host::DT_NOPREFIX | host::DT_EXPANDTABS;
    if (WordWrap)
        format |= host::DT_WORDBREAK;
    if (PathEllipsis)
        format |= host::DT_PATH_ELLIPSIS;
    const bool free = !WordWrap && !PathEllipsis;
    DrawTextInRect(Caption, canvas, true, QRect(Border, Border, width() - 2 * Border, height() - 2 * Border), format,
                   HCenterCaption && free, VCenterCaption && free);
}

void MyTPanel::PaintLevel(QPainter& canvas, QRect destination)
{
    if (!OnGetLevel)
        return;
    const int32_t innerHeight = destination.height() - 2 * Border;
    const int32_t filled = std::clamp(static_cast<int32_t>(OnGetLevel() * innerHeight), 0, std::max(innerHeight, 0));
    if (filled <= 0)
        return;
    const int32_t left = destination.left() + Border;
    const int32_t top = destination.top() + Border;
    const int32_t width = destination.width() - 2 * Border;
    const TColor fill = OnGetLevelColor ? OnGetLevelColor(true) : *GMyPanelOptions.PushedBackColor;
    const TColor line = OnGetLevelColor ? OnGetLevelColor(false) : *GMyPanelOptions.PushedMarginColor;
    canvas.fillRect(left, top, width, filled, ToQColor(fill));
    canvas.fillRect(left, top + filled, width, 1, ToQColor(line));
}

void MyTPanel::PaintScrollBar(QPainter& canvas, QRect rect)
{
    const TMyPanelOptions& o = GMyPanelOptions;
    const int32_t width = rect.width();
    const int32_t height = rect.height();
    if (!*o.InstantScrollbarThumbPaint)
        PaintTranslucentRect(canvas, Border, Border, width - 2 * Border, height - 2 * Border, *o.ButtonBackColor,
                             *o.ScrollbarBackTranslucency);
    MyTPanel* list = ScrollBarList();
    if (list == nullptr)
        return;
    const int32_t thumb = list->GetThumbHeight();
    const int32_t top = list->GetThumbTop(thumb);
    const bool hot = IsHot(false);
    PaintTranslucentFrame(canvas, Border + 1, top + Border, width - 2 * Border - 2, thumb - 1, *o.ButtonMarginColor,
                          *o.ScrollbarThumbMarginTranslucency);
    PaintButtonFX(canvas, Border + 2, top + Border + 1, width - 2 * Border - 4, thumb - 3, *o.ButtonMarginColor,
                  *o.ButtonMarginColor, *o.ButtonBackColor, hot ? *o.ButtonHotTrackTintColor : *o.ButtonTintColor,
                  *o.ScrollbarThumbMarginTranslucency, *o.ScrollbarThumbBackTranslucency, ButtonShape,
                  ScrollBarThumbStyle, false, hot);
}

// ---- The shared background ----

void MyTPanel::PaintFrame()
{
    if (Kind == mpkScrollBar || !CanPaintFrame() || (Border <= 0 && !ButtonFace) || GMyPanelOptions.Background.isNull())
        return;
    const QRect place = GetBackgroundRect();
    FPaint(GMyPanelOptions.Background, true, place, place);
}

void PaintPanelFrames(QWidget* control)
{
    if (control == nullptr || control->isHidden())
        return;
    std::vector<MyTPanel*> panels;
    for (QObject* child : control->children())
        if (auto* panel = dynamic_cast<MyTPanel*>(child))
            panels.push_back(panel);
    for (MyTPanel* panel : panels)
        panel->PaintFrame();
    for (MyTPanel* panel : panels)
        PaintPanelFrames(panel);
}

void MyTPanel::ResetAll()
{
    TTraced trace;
    try {
        TMyPanelOptions& o = GMyPanelOptions;
        o.Background = QImage();
        if (!o.BackPicture.isNull()) {
            o.Background = o.BackPicture.convertToFormat(QImage::Format_RGB32);
        } else if (o.SizingControl != nullptr && !o.SizingControl->size().isEmpty()) {
            o.Background = QImage(o.SizingControl->size(), QImage::Format_RGB32);
            o.Background.fill(ToQColor(*o.FillingColor));
        }
        if (OnPaintBackground)
            OnPaintBackground(o.Background);
        QWidget* root = GMyPanelGlobal.RootControl;
        PaintPanelFrames(root);
        if (root != nullptr) {
            const QSize size = root->size();
            root->resize(size.width(), size.height() + 1);
            root->resize(size);
            InvalidatePanels(root);
        }
    }
    TRACED_CATCH(trace)
}

// ---- Pressed and hot looks ----

void MyTPanel::SetPressed(bool on)
{
    if (Pressed == on)
        return;
    MyTPanel* other = GMyPanelGlobal.PressedPanel;
    if (other != nullptr && other != this && other->Pressed) {
        other->Pressed = false;
        other->Repaint();
    }
    Pressed = on;
    GMyPanelGlobal.PressedPanel = on ? this : nullptr;
    if (on) {
        GMyPanelGlobal.SetTimerEnabled(true);
        GMyPanelGlobal.PressCrono = TCrono();
        GMyPanelGlobal.PressCrono.Start();
    }
    Repaint();
}

void TMyPanelGlobal::SetTimerEnabled(bool enabled)
{
    if (Timer == nullptr) {
        if (!enabled || QCoreApplication::instance() == nullptr)
            return;
        Timer = new QTimer(QCoreApplication::instance());
        Timer->setInterval(TimerInterval);
        QObject::connect(Timer, &QTimer::timeout, [this] { TimerTick(); });
    }
    if (enabled)
        Timer->start();
    else
        Timer->stop();
}

bool TMyPanelGlobal::IsTimerEnabled() const
{
    return Timer != nullptr && Timer->isActive();
}

void TMyPanelGlobal::TimerTick()
{
    MyTPanel* pressed = PressedPanel;
    if (pressed != nullptr && pressed->Pressed && (!IsMouseButtonDown() || !IsMouseOverControl(*pressed)) &&
        PressCrono.Passed(PressedLookSeconds)) {
        pressed->SetPressed(false);
        if (HotPanel == nullptr)
            SetTimerEnabled(false);
    }
    MyTPanel* hot = HotPanel;
    if (hot != nullptr && !IsMouseOverControl(*hot)) {
        if (PressedPanel == nullptr || !PressedPanel->Pressed)
            SetTimerEnabled(false);
        HotPanel = nullptr;
        hot->Repaint();
    }
}
