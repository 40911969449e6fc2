#include "panels/PanelDrag.h"

#include <QApplication>
#include <QGuiApplication>

TPanelDrag PanelDrag;

namespace {

// The innermost panel at the point.
MyTPanel* FindPanelAt(QPoint screenPos)
{
    for (QWidget* widget = QApplication::widgetAt(screenPos); widget != nullptr; widget = widget->parentWidget())
        if (auto* panel = dynamic_cast<MyTPanel*>(widget))
            return panel;
    return nullptr;
}

} // namespace

void TPanelDrag::ShowCursor(bool accepted)
{
    const QCursor cursor(accepted ? Qt::DragMoveCursor : Qt::ForbiddenCursor);
    if (CursorShown) {
        QGuiApplication::changeOverrideCursor(cursor);
    } else {
        QGuiApplication::setOverrideCursor(cursor);
        CursorShown = true;
    }
}

QObject* TPanelDrag::GetDragged() const
{
    return DragObject != nullptr ? DragObject.data() : Source.data();
}

void TPanelDrag::Begin(MyTPanel& source, QPoint screenPos)
{
    if (IsActive())
        Cancel();
    Source = &source;
    QObject* dragObject = nullptr;
    source.DoStartDrag(dragObject);
    DragObject = dragObject;
    Target = nullptr;
    Accepted = false;
    Move(screenPos);
}

void TPanelDrag::Move(QPoint screenPos)
{
    if (!IsActive())
        return;
    Position = screenPos;
    MyTPanel* panel = FindPanelAt(screenPos);
    TDragState state = dsDragMove;
    if (panel != Target) {
        LeaveTarget();
        Target = panel;
        state = dsDragEnter;
    }
    Accepted = false;
    if (Target != nullptr) {
        const QPoint local = Target->mapFromGlobal(screenPos);
        Target->DragOver(GetDragged(), local.x(), local.y(), state, Accepted);
    }
    ShowCursor(Accepted);
}

void TPanelDrag::LeaveTarget()
{
    if (Target == nullptr)
        return;
    const QPoint local = Target->mapFromGlobal(Position);
    bool ignored = false;
    Target->DragOver(GetDragged(), local.x(), local.y(), dsDragLeave, ignored);
}

void TPanelDrag::Drop(QPoint screenPos)
{
    if (!IsActive())
        return;
    if (screenPos != Position)
        Move(screenPos);
    MyTPanel* target = Accepted ? Target.data() : nullptr;
    LeaveTarget();
    const QPoint local = target != nullptr ? target->mapFromGlobal(Position) : QPoint();
    if (target != nullptr)
        target->DragDrop(GetDragged(), local.x(), local.y());
    End(target, local);
}

void TPanelDrag::Cancel()
{
    if (!IsActive())
        return;
    LeaveTarget();
    End(nullptr, QPoint());
}

void TPanelDrag::Abandon()
{
    Source = nullptr;
    DragObject = nullptr;
    Target = nullptr;
    Accepted = false;
    if (CursorShown)
        QGuiApplication::restoreOverrideCursor();
    CursorShown = false;
}

void TPanelDrag::End(QObject* target, QPoint targetPos)
{
    QPointer<MyTPanel> source = Source;
    Abandon();
    if (source != nullptr)
        source->DoEndDrag(target, targetPos.x(), targetPos.y());
}
