#include "core/desktop/Application.h"

#include <exception>
#include <iostream>

namespace {

TApplication::TExceptionHandler ExceptionHandler;

} // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        HandleException(receiver, error.what());
    } catch (...) {
        HandleException(receiver, "Unknown exception.");
    }
    return false;
}

void TApplication::SetExceptionHandler(TExceptionHandler handler)
{
    ExceptionHandler = std::move(handler);
}

void TApplication::HandleException(QObject* sender, const std::string& message)
{
    if (ExceptionHandler)
        ExceptionHandler(sender, message);
    else
        std::cerr << "Unhandled error: " << message << '\n';
}
