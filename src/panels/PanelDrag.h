#pragma once

#include "panels/MyTPanel.h"

#include <QPoint>
#include <QPointer>

class QObject;

// Drags between the panels of the window. They are our own, so that a press can start a
// drag at once with any button; a drag that leaves the window is the main window's to
// hand over to the desktop. The source panel keeps the mouse until the release, which
// drops on the panel under the pointer when that panel accepted the drag.
class TPanelDrag
{
public:
    bool IsActive() const { return Source != nullptr; }
    MyTPanel* GetSource() const { return Source; }
    // What the targets are told is dragged: the source's drag object, else the source.
    QObject* GetDragged() const;

    // The source hears DoStartDrag; then the drag moves to the point.
    void Begin(MyTPanel& source, QPoint screenPos);
    // The panel under the point hears DragOver (entering, moving); the one the pointer
    // left hears it with dsDragLeave.
    void Move(QPoint screenPos);
    // The target hears DragOver (leaving), then DragDrop when it accepted; the source
    // hears DoEndDrag with the target, or with none when nothing accepted the drop.
    void Drop(QPoint screenPos);
    // The source hears DoEndDrag with no target.
    void Cancel();
    // The source is going: the drag ends without a word to anyone.
    void Abandon();

private:
    void LeaveTarget();
    // The pointer shows whether the panel under it accepts the drag.
    void ShowCursor(bool accepted);
    void End(QObject* target, QPoint targetPos);

    QPointer<MyTPanel> Source;
    QPointer<QObject> DragObject;
    QPointer<MyTPanel> Target;
    QPoint Position;
    bool Accepted = false;
    bool CursorShown = false;
};

extern TPanelDrag PanelDrag;
