#pragma once

#include <QApplication>

#include <functional>
#include <string>

// The application object. An exception that escapes an event handler never crosses a
// Qt frame: it is caught here and handed to the installed exception handler.
class TApplication : public QApplication
{
public:
    using TExceptionHandler = std::function<void(QObject* sender, const std::string& message)>;

    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    static void SetExceptionHandler(TExceptionHandler handler);
    // Hands an exception's message to the handler (or to standard error without one).
    static void HandleException(QObject* sender, const std::string& message);
};
