// The column's selection on the clipboard.

#include "columns/Column.h"

#include "core/Clipboard.h"
#include "core/LinkFile.h"
#include "core/MemoryStorage.h"
#include "core/Traced.h"

namespace {

// The title (or its reference) and CR LF; nothing at all for an empty text.
void AddClipLine(TMemoryStorage& text, const std::string& title, bool references)
{
    const std::string line = references ? GetWhenReference(title) : title;
    if (!line.empty())
        text.AddTextEOL(line);
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
