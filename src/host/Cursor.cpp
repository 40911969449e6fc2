#include "host/Cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace host {

CursorPosition GetCursorPosition()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return {};
    const QPoint position = QCursor::pos();
    return {position.x(), position.y()};
}

} // namespace host
