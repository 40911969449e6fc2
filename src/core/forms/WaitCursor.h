#pragma once

#include <QGuiApplication>

// The busy cursor for the life of the object, over every window of the program.
class TWaitCursor
{
public:
    TWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};
