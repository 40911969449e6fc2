#include "core/desktop/Clipboard.h"

#include "core/errors/Traced.h"
#include "core/forms/MessageBoxes.h"
#include "core/text/Text.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

QClipboard& SystemClipboard()
{
    if (QGuiApplication::instance() == nullptr)
        throw EError("The clipboard is not available.");
    return *QGuiApplication::clipboard();
}

std::string ClipboardText()
{
    return SystemClipboard().text().toStdString();
}

} // namespace

bool CopyTextToClipboard(const std::string& text, const std::string& failureMessage, bool beep, bool append)
{
    TTraced trace;
    bool copied = false;
    trace.Run([&] {
        if (text.empty()) {
            ShowWarningMessage("There is no text to copy to clipboard.");
            return;
        }
        const std::string content = append ? ClipboardText() + text : text;
        SystemClipboard().setText(QString::fromStdString(content));
        if (beep)
            BeepOkay();
        copied = true;
    });
    trace.ShowFailure(failureMessage.empty() ? "Failed to copy text to clipboard." : failureMessage);
    return copied;
}

void CopyTextToClipboard(const char* buffer)
{
    TTraced trace;
    trace.Run([&] { SystemClipboard().setText(QString::fromUtf8(buffer)); });
    trace.ShowFailure("Failed to copy text to clipboard.");
}

std::string CopyTextFromClipboard()
{
    TTraced trace;
    std::string text;
    trace.Run([&] { text = ClipboardText(); });
    trace.ShowFailure("Failed to get text from clipboard.");
    return text;
}

void ClipboardFilesToList(std::vector<std::string>& list)
{
    TTraced trace;
    trace.Run([&] { list = SplitLines(ClipboardText()); });
}
