#pragma once

#include <string>
#include <vector>

// The clipboard's text. Every operation is traced; a failure of the clipboard is shown
// once with the caller's wording.

// Puts the text on the clipboard (or after its current text); false for an empty text,
// which only warns, or a failure, shown with `failureMessage`.
bool CopyTextToClipboard(const std::string& text, const std::string& failureMessage, bool beep, bool append);
// Puts a NUL-terminated buffer's text on the clipboard.
void CopyTextToClipboard(const char* buffer);
// The clipboard's text; "" when it holds none.
std::string CopyTextFromClipboard();
// The lines of the clipboard's text, empty lines included.
void ClipboardFilesToList(std::vector<std::string>& list);
