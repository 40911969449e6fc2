// The panel's input: keys, wheel, mouse, focus, splitter and thumb drags, and the entry
// points of drags between panels.

#include "panels/MyTPanel.h"

#include "panels/MyPanelOptions.h"
#include "panels/PanelDrag.h"

#include "core/errors/Traced.h"
#include "core/forms/Utilities.h"
#include "core/text/MyMath.h"
#include "core/text/Random.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <limits>

namespace {

constexpr int WheelStep = 120;

bool IsArrowKey(uint16_t key)
{
    return key >= VK_LEFT && key <= VK_DOWN;
}

uint8_t ArrowBit(uint16_t key)
{
    return static_cast<uint8_t>(1u << (key - VK_LEFT));
}

int32_t ToIndex(int64_t value)
{
    return static_cast<int32_t>(
        std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

bool HasItems(const MyTPanel* panel)
{
    return panel != nullptr && panel->Items != nullptr;
}

} // namespace

// ---- Message dispatch ----

bool MyTPanel::event(QEvent* event)
{
    return Dispatch(event);
}

bool MyTPanel::Dispatch(QEvent* event)
{
    TTraced trace;
    bool handled = true;
    try {
        switch (event->type()) {
        case QEvent::FocusIn:
            FocusGot();
            return true;
        case QEvent::FocusOut:
            FocusLost();
            return true;
        case QEvent::Show:
            Invalidate();
            break;
        case QEvent::KeyRelease: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat())
                ArrowKeyUp(GetVirtualKey(key->key(), key->modifiers()));
            break;
        }
        default:
            if (event->type() == PaintRequestEvent()) {
                Update();
                return true;
            }
            break;
        }
        handled = QWidget::event(event);
    }
    TRACED_CATCH(trace)
    return handled;
}

void MyTPanel::FocusGot()
{
    if (FocusTarget != nullptr)
        FocusWinControl(FocusTarget);
    RepaintFocusedItem();
    if (OnEnter)
        OnEnter(this);
}

void MyTPanel::FocusLost()
{
    RepaintFocusedItem();
    if (OnExit)
        OnExit(this);
}

// ---- Keys ----

// A key press reaches only the panel that has the focus. A plain arrow acts at its
// release (ArrowKeyUp); with Shift, Ctrl or Alt it acts at the press, as any other key.
void MyTPanel::keyPressEvent(QKeyEvent* event)
{
    event->accept();
    if (event->key() == Qt::Key_Escape && PanelDrag.IsActive()) {
        PanelDrag.Cancel();
        return;
    }
    uint16_t key = GetVirtualKey(event->key(), event->modifiers());
    if (key == 0)
        return;
    const TShiftState shift = GetShiftState(event->modifiers());
    if (IsArrowKey(key)) {
        if (IsKeyShiftEmpty(shift))
            return;
        DeliveredArrows |= ArrowBit(key);
    }
    KeyDown(key, shift);
}

void MyTPanel::keyReleaseEvent(QKeyEvent* event)
{
    event->accept();
}

void MyTPanel::ArrowKeyUp(uint16_t key)
{
    if (!IsArrowKey(key))
        return;
    if ((DeliveredArrows & ArrowBit(key)) != 0) {
        DeliveredArrows &= static_cast<uint8_t>(~ArrowBit(key));
        return;
    }
    KeyDown(key, 0);
}

void MyTPanel::KeyDown(uint16_t& key, TShiftState shift)
{
    if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) {
        key = 0;
        return;
    }
    if (Kind == mpkList) {
        const bool plain = IsKeyShiftEmpty(shift);
        const bool ctrl = IsKeyShiftOnly(shift, ssCtrl);
        const bool acts = plain || ctrl;
        switch (key) {
        case VK_PRIOR:
            if (acts)
                plain ? PageUp() : FocusFirstInView();
            key = 0;
            break;
        case VK_NEXT:
            if (acts)
                plain ? PageDown() : FocusLastInView();
            key = 0;
            break;
        case VK_END:
            if (acts)
                plain ? FocusLast() : FocusLastInView();
            key = 0;
            break;
        case VK_HOME:
            if (acts)
                plain ? FocusFirst() : FocusFirstInView();
            key = 0;
            break;
        case VK_UP:
            if (acts)
                plain ? FocusPrevious() : ScrollRowUp();
            key = 0;
            break;
        case VK_DOWN:
            if (acts)
                plain ? FocusNext() : ScrollRowDown();
            key = 0;
            break;
        case VK_NUMPAD2:
            if (acts)
                plain ? FocusRowDown() : ScrollRowDown();
            key = 0;
            break;
        case VK_NUMPAD4:
            if (plain)
                FocusLeftInRow();
            key = 0;
            break;
        case VK_NUMPAD6:
            if (plain)
                FocusRightInRow();
            key = 0;
            break;
        case VK_NUMPAD8:
            if (acts)
                plain ? FocusRowUp() : ScrollRowUp();
            key = 0;
            break;
        default:
            break;
        }
    }
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
}

// ---- Navigation ----

void MyTPanel::FocusPrevious()
{
    if (FocusIndex > 0)
        SetFocusIndex(FocusIndex - 1);
}

void MyTPanel::FocusNext()
{
    if (FocusIndex < GetCount() - 1)
        SetFocusIndex(FocusIndex + 1);
}

void MyTPanel::FocusFirst()
{
    SetFocusIndex(0);
}

void MyTPanel::FocusLast()
{
    SetFocusIndex(GetCount() - 1);
}

void MyTPanel::FocusFirstInView()
{
    SetFocusIndex(TopIndex);
}

void MyTPanel::FocusLastInView()
{
    SetFocusIndex(GetLastVisibleIndex());
}

void MyTPanel::PageUp()
{
    const int32_t top = TopIndex;
    const int32_t page = GetPageCount();
    SetTopIndex(page > top ? 0 : top - page);
    SetFocusIndex(ToIndex(static_cast<int64_t>(FocusIndex) + TopIndex - top));
}

void MyTPanel::PageDown()
{
    const int32_t top = TopIndex;
    const int64_t page = GetPageCount();
    const int32_t count = GetCount();
    SetTopIndex(count - page >= top ? ToIndex(top + page) : top);
    SetFocusIndex(ToIndex(std::min<int64_t>(static_cast<int64_t>(FocusIndex) + TopIndex - top, count - 1)));
}

void MyTPanel::ScrollRowUp()
{
    const int32_t top = TopIndex;
    SetTopIndex(ToIndex(static_cast<int64_t>(top) - GetSubcolumnCount()));
    SetFocusIndex(ToIndex(static_cast<int64_t>(FocusIndex) + TopIndex - top));
}

void MyTPanel::ScrollRowDown()
{
    const int32_t top = TopIndex;
    SetTopIndex(ToIndex(static_cast<int64_t>(top) + GetSubcolumnCount()));
    SetFocusIndex(ToIndex(std::min<int64_t>(static_cast<int64_t>(FocusIndex) + TopIndex - top, GetCount() - 1)));
}

void MyTPanel::FocusLeftInRow()
{
    SetFocusIndex(std::max(GetBlockStart(FocusIndex, GetSubcolumnCount()), FocusIndex - 1));
}

void MyTPanel::FocusRightInRow()
{
    SetFocusIndex(std::min({FocusIndex + 1, GetBlockEnd(FocusIndex, GetSubcolumnCount()), GetCount() - 1}));
}

void MyTPanel::FocusRowUp()
{
    if (FocusIndex - GetSubcolumnCount() >= 0)
        SetFocusIndex(FocusIndex - GetSubcolumnCount());
}

void MyTPanel::FocusRowDown()
{
    if (static_cast<int64_t>(FocusIndex) + GetSubcolumnCount() > GetCount() - 1)
        SetTopIndex(ToIndex(static_cast<int64_t>(TopIndex) + GetSubcolumnCount()));
    else
        SetFocusIndex(FocusIndex + GetSubcolumnCount());
}

// ---- Wheel ----

// The wheel goes to the panel that has the keyboard focus, as the window system routes
// it; that panel scrolls whichever list lies under the mouse.
void MyTPanel::wheelEvent(QWheelEvent* event)
{
    auto* focused = dynamic_cast<MyTPanel*>(QApplication::focusWidget());
    MyTPanel* receiver = HasItems(focused) ? focused : this;
    WheelRemainder += event->angleDelta().y();
    const TShiftState shift = GetShiftState(event->modifiers(), event->buttons());
    const QPoint position = event->globalPosition().toPoint();
    bool handled = true;
    for (; WheelRemainder >= WheelStep && handled; WheelRemainder -= WheelStep)
        handled = receiver->DoMouseWheelUp(shift, position);
    for (; WheelRemainder <= -WheelStep && handled; WheelRemainder += WheelStep)
        handled = receiver->DoMouseWheelDown(shift, position);
    if (!handled) {
        WheelRemainder = 0;
        event->ignore();
    }
}

bool MyTPanel::DoMouseWheelDown(TShiftState shift, QPoint mousePos)
{
    return DoMouseWheel(1, shift, mousePos);
}

bool MyTPanel::DoMouseWheelUp(TShiftState shift, QPoint mousePos)
{
    return DoMouseWheel(-1, shift, mousePos);
}

bool MyTPanel::DoMouseWheel(int32_t sign, TShiftState shift, QPoint mousePos)
{
    if (Items == nullptr || (ScrollBar != nullptr && ScrollBar->MouseCaptured))
        return false;
    bool handled = true;
    const auto& closure = sign > 0 ? OnMouseWheelDown : OnMouseWheelUp;
    if (closure)
        closure(this, shift, handled, mousePos);
    MyTPanel* target = this;
    MyTPanel* under = GetPanelUnderMouse(mousePos);
    if (under != nullptr && under->Kind == mpkScrollBar)
        under = dynamic_cast<MyTPanel*>(under->parentWidget());
    if (under != nullptr && under != this && HasItems(under)) {
        FocusWinControl(under);
        target = under;
    }
    target->SetTopIndex(ToIndex(static_cast<int64_t>(target->TopIndex) + sign * target->GetSubcolumnCount()));
    if (target->FocusIndex < target->TopIndex)
        target->SetFocusIndex(target->TopIndex);
    const int32_t last = target->GetLastVisibleIndex();
    if (sign > 0 ? last < target->FocusIndex : last <= target->FocusIndex)
        target->SetFocusIndex(last);
    return true;
}

MyTPanel* MyTPanel::GetPanelUnderMouse(QPoint screenPos)
{
    return dynamic_cast<MyTPanel*>(QApplication::widgetAt(screenPos));
}

// ---- Mouse ----

void MyTPanel::mousePressEvent(QMouseEvent* event)
{
    PressMouse(event, false);
}

void MyTPanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    PressMouse(event, true);
}

void MyTPanel::PressMouse(QMouseEvent* event, bool doubleClick)
{
    if (PanelDrag.IsActive())
        return;
    const QPoint position = event->position().toPoint();
    MouseDown(GetMouseButton(event->button()), GetShiftState(event->modifiers(), event->buttons(), doubleClick),
              position.x(), position.y());
}

void MyTPanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (PanelDrag.IsActive()) {
        PanelDrag.Drop(event->globalPosition().toPoint());
        return;
    }
    const QPoint position = event->position().toPoint();
    MouseUp(GetMouseButton(event->button()), GetShiftState(event->modifiers(), event->buttons()), position.x(),
            position.y());
}

void MyTPanel::mouseMoveEvent(QMouseEvent* event)
{
    if (PanelDrag.IsActive()) {
        PanelDrag.Move(event->globalPosition().toPoint());
        return;
    }
    const QPoint position = event->position().toPoint();
    MouseMove(GetShiftState(event->modifiers(), event->buttons()), position.x(), position.y());
}

MyTPanel* MyTPanel::ScrollBarList() const
{
    return dynamic_cast<MyTPanel*>(parentWidget());
}

void MyTPanel::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    x -= Border;
    y -= Border;
    if (FocusTarget != nullptr && !hasFocus())
        FocusWinControl(FocusTarget);
    const int32_t innerHeight = height() - 2 * Border;
    switch (Kind) {
    case mpkScrollBar:
        ThumbDragStartY = y;
        if (MyTPanel* list = ScrollBarList())
            list->ThumbDragStartTop = list->TopIndex;
        MouseCaptured = true;
        break;
    case mpkSplitter:
        if (button == mbLeft) {
            SplitStartX = x;
            SplitStartY = y;
            MouseCaptured = true;
            return;
        }
        break;
    case mpkLevelBar:
        if (y >= 0 && y < innerHeight && OnLevelClick)
            OnLevelClick(innerHeight > 1 ? y / static_cast<double>(innerHeight - 1) : 0.0);
        break;
    default:
        if (FaceColorSet == 0)
            SetPressed(true);
        break;
    }
    if (Kind == mpkList)
        FocusItemAt(x, y);
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void MyTPanel::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    x -= Border;
    y -= Border;
    if (Kind == mpkScrollBar) {
        MouseCaptured = false;
        if (MyTPanel* list = ScrollBarList())
            list->ScrollByThumb(y - ThumbDragStartY, tpEnd);
        return;
    }
    if (Kind == mpkSplitter) {
        if (button != mbLeft)
            return;
        MouseCaptured = false;
        if (!OnSplitterMoved)
            return;
        const int32_t released = Vertical ? x : y;
        const int32_t pressed = Vertical ? SplitStartX : SplitStartY;
        int32_t distance = released - pressed;
        if (OnSplitterMoving)
            OnSplitterMoving(this, distance);
        if (distance != 0 && released != pressed)
            OnSplitterMoved(this, distance);
        return;
    }
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void MyTPanel::MouseMove(TShiftState shift, int32_t x, int32_t y)
{
    const QPoint screen = mapToGlobal(QPoint(x, y));
    Random.AddMouse(screen.x(), screen.y());
    if (HotTrack && (FaceColorSet == 0 || Kind == mpkScrollBar) && GMyPanelGlobal.HotPanel != this) {
        MyTPanel* previous = GMyPanelGlobal.HotPanel;
        GMyPanelGlobal.HotPanel = IsControlAtPoint(screen, *this) ? this : nullptr;
        if (previous != nullptr)
            previous->Repaint();
        if (GMyPanelGlobal.HotPanel != nullptr) {
            Repaint();
            GMyPanelGlobal.SetTimerEnabled(true);
        }
    }
    x -= Border;
    y -= Border;
    const bool left = (shift & ShiftOf(ssLeft)) != 0;
    if (Kind == mpkScrollBar && left) {
        if (MyTPanel* list = ScrollBarList())
            list->ScrollByThumb(y - ThumbDragStartY, tpMoving);
        if (*GMyPanelOptions.InstantScrollbarThumbPaint)
            Repaint();
        return;
    }
    if (Kind == mpkSplitter) {
        if (!left)
            return;
        int32_t distance = Vertical ? x - SplitStartX : y - SplitStartY;
        const int32_t asMoved = distance;
        if (OnSplitterMoving)
            OnSplitterMoving(this, distance);
        if (distance != asMoved) {
            const QPoint correction = Vertical ? QPoint(distance - asMoved, 0) : QPoint(0, distance - asMoved);
            QCursor::setPos(QCursor::pos() + correction);
        }
        return;
    }
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

int32_t MyTPanel::FocusItemAt(int32_t x, int32_t y)
{
    const int32_t index = GetItemAt(x, y);
    if (index >= 0)
        SetFocusIndex(index);
    FocusWinControl(this);
    return index;
}

void MyTPanel::ScrollByThumb(int32_t distance, TThumbPhase phase)
{
    if (phase == tpMoving)
        ThumbScrolled = true;
    const int64_t rows = GetRowCount();
    const int32_t rowsInView = GetRowsInView();
    if (rowsInView >= rows) {
        SetTopIndex(0);
        return;
    }
    const int64_t freeTrack = static_cast<int64_t>(GetTrackHeight()) - GetThumbHeight();
    if (freeTrack > 0) {
        const int64_t moved = std::clamp<int64_t>(distance, -freeTrack, freeTrack);
        SetTopIndex(ToIndex((rows - rowsInView) * GetSubcolumnCount() * moved / freeTrack + ThumbDragStartTop));
    }
    if (phase != tpEnd)
        return;
    if (TopIndex != ThumbDragStartTop) {
        KeepFocusInView();
        if (OnTopChanged)
            OnTopChanged(TopIndex);
        if (ThumbScrolled && OnScroll)
            OnScroll(true);
    }
    ThumbScrolled = false;
}

// ---- Drags between panels ----

void MyTPanel::BeginDrag()
{
    PanelDrag.Begin(*this, QCursor::pos());
}

void MyTPanel::DragOver(QObject* source, int32_t x, int32_t y, TDragState state, bool& accept)
{
    accept = false;
    if (OnDragOver)
        OnDragOver(this, source, x - Border, y - Border, state, accept);
}

void MyTPanel::DragDrop(QObject* source, int32_t x, int32_t y)
{
    if (OnDragDrop)
        OnDragDrop(this, source, x - Border, y - Border);
}

void MyTPanel::DoStartDrag(QObject*& dragObject)
{
    if (OnStartDrag)
        OnStartDrag(this, dragObject);
}

void MyTPanel::DoEndDrag(QObject* target, int32_t x, int32_t y)
{
    if (OnEndDrag)
        OnEndDrag(this, target, x - Border, y - Border);
}
