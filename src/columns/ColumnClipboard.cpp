// The column's selection and active item on the clipboard, and a path from the clipboard
// as the active title.

#include "columns/Column.h"

#include "columns/MainWindowColumns.h"

#include "core/desktop/Clipboard.h"
#include "core/errors/Traced.h"
#include "core/files/LinkFile.h"
#include "core/files/PathNames.h"
#include "core/forms/MessageBoxes.h"
#include "core/settings/MemoryStorage.h"

namespace {

// The title (or its reference) and CR LF; nothing at all for an empty text.
void AddClipLine(TMemoryStorage& text, const std::string& title, bool references)
{
    const std::string line = references ? GetWhenReference(title) : title;
    if (!line.empty())
        text.AddTextEOL(line);
}

// The text without blanks and control codes at either end.
std::string TrimBlanks(const std::string& text)
{
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    size_t first = 0;
    size_t end = text.size();
    while (first < end && isBlank(text[first]))
        ++first;
    while (end > first && isBlank(text[end - 1]))
        --end;
    return text.substr(first, end - first);
}

void ClipActiveText(const std::string& text, const std::string& failureMessage)
{
    CopyTextToClipboard(text, failureMessage, false, false);
}

} // namespace

void TColumn::Com_ClipSelectedFiles(bool references)
{
    TTraced trace;
    trace.Run([&] {
        TMemoryStorage text;
        if (SelectedCount > 0) {
            const int32_t count = GetItemCount();
            for (int32_t i = 0; i < count; ++i)
                if (GetItem(i).Selected)
                    AddClipLine(text, GetItem(i).Title, references);
        } else {
            AddClipLine(text, ActiveTitle, references);
        }
        text.AddNull();
        if (trace.TakeOver())
            return;
        CopyTextToClipboard(reinterpret_cast<const char*>(text.Data));
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to copy selected file names to clipboard.");
}

void TColumn::Com_ClipActiveName()
{
    ClipActiveText(GetPathName(ActiveTitle), "Failed to copy active name to clipboard.");
}

void TColumn::Com_ClipActivePath()
{
    ClipActiveText(GetParentPath(ActiveTitle), "Failed to copy active path to clipboard.");
}

void TColumn::Com_ClipActiveTitle()
{
    ClipActiveText(ActiveTitle, "Failed to copy active title to clipboard.");
}

void TColumn::Com_ClipActiveReference()
{
    ClipActiveText(GetWhenReference(ActiveTitle), "Failed to copy active reference to clipboard.");
}

void TColumn::Com_LoadActiveTitle()
{
    TTraced trace;
    trace.Run([&] {
        const std::string text = CopyTextFromClipboard();
        const std::string path = GetFullPath(TrimBlanks(text));
        if (!AskQuery("Set \"" + path + "\" as active file ?"))
            return;
        LoadDirectory({.RememberPrevious = true, .ContainerIndex = -1, .Title = path});
        if (trace.TakeOver())
            return;
        TSeam<TMainWindowColumns>::Get().FocusColumn(-1, false);
    });
    trace.ShowFailure("Failed to load as active title.");
}
