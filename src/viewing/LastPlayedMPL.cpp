#include "viewing/LastPlayedMPL.h"

#include "core/errors/Traced.h"
#include "core/files/PathNames.h"
#include "core/forms/Utilities.h"
#include "core/settings/StoredTextList.h"
#include "core/text/AsciiCase.h"

#include <QAction>
#include <QMenu>

#include <limits>

namespace {

const char* const FilesSection = "LastPlayedMPL_MPL";
const char* const TitlesSection = "LastPlayedMPL_LastTitle";
const char* const PositionsSection = "LastPlayedMPL_LastPosition";
constexpr size_t MaxStoredText = 259;

} // namespace

int32_t TLastPlayedMPL::Add(const std::string& file)
{
    if (file.empty() || IsDriveName(file) || (Count > 0 && SameTextAscii(Files[Count - 1], file)))
        return -1;
    std::string title;
    int32_t position = 0;
    for (int32_t i = 0; i < Count - 1; ++i) {
        if (SameTextAscii(Files[i], file)) {
            title = LastTitles[i];
            position = LastPositions[i];
            RemoveAt(i);
            break;
        }
    }
    if (Count == MaxCount)
        RemoveAt(0);
    Files[Count] = file;
    LastTitles[Count] = title;
    LastPositions[Count] = position;
    return Count++;
}

void TLastPlayedMPL::Remove(const std::string& file)
{
    for (int32_t i = Count - 1; i >= 0; --i) {
        if (SameTextAscii(Files[i], file))
            RemoveAt(i);
    }
}

void TLastPlayedMPL::SetLastPosition(const std::string& title, int32_t position)
{
    if (Count == 0)
        return;
    LastTitles[Count - 1] = title;
    LastPositions[Count - 1] = position;
}

void TLastPlayedMPL::RemoveAt(int32_t index)
{
    for (int32_t i = index; i < Count - 1; ++i) {
        Files[i] = std::move(Files[i + 1]);
        LastTitles[i] = std::move(LastTitles[i + 1]);
        LastPositions[i] = LastPositions[i + 1];
    }
    --Count;
    Files[Count].clear();
    LastTitles[Count].clear();
    LastPositions[Count] = 0;
}

void TLastPlayedMPL::Setup(QMenu& menu)
{
    TTraced trace;
    try {
        menu.clear();
        for (int32_t i = Count - 1; i >= 0; --i) {
            QAction* item = menu.addAction(QString::fromStdString(EscapeMenuCaption(Files[i])));
            item->setData(i);
            QObject::connect(item, &QAction::triggered, &menu, [this, i] {
                if (i >= Count || !OnSelect)
                    return;
                // Copies: resuming an entry makes it the newest, which moves the entries.
                const std::string file = Files[i];
                const std::string lastTitle = LastTitles[i];
                OnSelect(file, lastTitle, LastPositions[i]);
            });
        }
    }
    TRACED_CATCH(trace)
}

void TLastPlayedMPL::Load(TStoredTextList& store)
{
    int32_t count = 0;
    store.ReadInteger(FilesSection, "Count", 0, MaxCount, count);
    for (int32_t i = 0; i < count; ++i) {
        const std::string key = std::to_string(i);
        std::string file;
        store.ReadString(FilesSection, key, MaxStoredText, file, false);
        if (file.empty())
            continue;
        const int32_t index = Add(GetFullPath(file));
        if (index < 0)
            continue;
        store.ReadString(TitlesSection, key, MaxStoredText, LastTitles[index], false);
        store.ReadInteger(PositionsSection, key, 0, std::numeric_limits<int32_t>::max(), LastPositions[index]);
    }
}

void TLastPlayedMPL::Save(TStoredTextList& store) const
{
    store.WriteInteger(FilesSection, "Count", Count);
    for (int32_t i = 0; i < Count; ++i) {
        const std::string key = std::to_string(i);
        store.WriteString(FilesSection, key, Files[i]);
        store.WriteString(TitlesSection, key, LastTitles[i]);
        store.WriteInteger(PositionsSection, key, LastPositions[i]);
    }
}
