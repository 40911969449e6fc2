#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QtTest/qtestspontaneevent.h>

// Holds modifier keys down as far as QApplication::keyboardModifiers() can tell, for code
// that reads the keys held at the moment rather than those of an event. The application
// takes the keyboard state from key events that come from the platform, so the press and
// the release are sent as such, to a widget of their own.
class THeldKeys
{
public:
    explicit THeldKeys(Qt::KeyboardModifiers keys) { Send(QEvent::KeyPress, keys); }
    ~THeldKeys() { Send(QEvent::KeyRelease, Qt::NoModifier); }
    THeldKeys(const THeldKeys&) = delete;
    THeldKeys& operator=(const THeldKeys&) = delete;

private:
    void Send(QEvent::Type type, Qt::KeyboardModifiers keys)
    {
        QKeyEvent event(type, Qt::Key_unknown, keys);
        QSpontaneKeyEvent::setSpontaneous(&event);
        QApplication::sendEvent(&Receiver, &event);
    }

    QWidget Receiver;
};
