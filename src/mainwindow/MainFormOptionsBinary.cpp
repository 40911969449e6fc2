// "Quillomber.qmo": the thirty boards, last board first, then the paths and files histories.

#include "mainwindow/MainForm.h"

#include "mainwindow/Boards.h"

#include "columns/History.h"

#include "core/errors/Traced.h"

#include <cstdint>
#include <limits>
#include <tuple>

namespace {

constexpr int32_t MaxShortText = 31;
constexpr int32_t MaxPathText = 259;
constexpr int32_t AnyInt32Min = std::numeric_limits<int32_t>::min();
constexpr int32_t AnyInt32Max = std::numeric_limits<int32_t>::max();
constexpr int64_t MaxKey = std::numeric_limits<int64_t>::max();

// The versions that brought the fields after the first ones.
constexpr int32_t VersionWithBoardFlags = 1;
constexpr int32_t VersionWithShortcuts = 2;
constexpr int32_t VersionWithContainerPaths = 3;
constexpr int32_t VersionWithHistories = 3;

// What the writers below write at most: a text is its length and its bytes.
constexpr int32_t MaxTextSize(int32_t maxLength)
{
    return 4 + maxLength;
}
constexpr int32_t MaxColumnStateSize =
    MaxTextSize(MaxPathText) + 4 + 1 + 4 + 4 + 4 + 1 + 1 + 4 + 4 + 8 + MaxTextSize(MaxShortText);
constexpr int32_t ColumnsPerBoard = static_cast<int32_t>(std::tuple_size_v<decltype(TBoardData::ColumnStates)>);
constexpr int32_t MaxBoardSize =
    2 * MaxTextSize(MaxShortText) + 1 + 1 + MaxTextSize(MaxPathText) + 4 + 4 + ColumnsPerBoard * MaxColumnStateSize;
constexpr int32_t MaxPathsHistorySize = 4 + HistoryCapacity * (MaxTextSize(MaxPathText) + 4 + 4 + 8);
constexpr int32_t MaxFilesHistorySize = 4 + HistoryCapacity * MaxTextSize(MaxPathText);

bool FitsReader(const std::string& text, int32_t maxLength)
{
    return text.size() <= static_cast<size_t>(maxLength);
}

// A text the reader would refuse is written empty, so that the file always loads.
void WriteLimitedText(TFileStorage& storage, const std::string& text, int32_t maxLength)
{
    storage.WriteText(FitsReader(text, maxLength) ? text : std::string());
}

void WriteBool(TFileStorage& storage, bool value)
{
    storage.WriteByte(value ? 1 : 0);
}

void WriteColumnState(TFileStorage& storage, const TColumnState& column)
{
    WriteLimitedText(storage, column.ActiveTitle, MaxPathText);
    storage.WriteInt(column.ContainerIndex);
    WriteBool(storage, column.FixedAttr);
    storage.WriteInt(column.WidthAttr);
    storage.WriteInt(column.Subcolumns);
    storage.WriteInt(column.ThumbHeight);
    WriteBool(storage, column.ThumbAttr);
    WriteBool(storage, column.ShowPathsInContainer);
    storage.WriteInt(column.ActiveType);
    storage.WriteInt(column.ActiveTopOffset);
    storage.WriteInt64(column.ActiveKey);
    WriteLimitedText(storage, column.SortMode, MaxShortText);
}

void WriteBoard(TFileStorage& storage, const TBoardData& board)
{
    WriteLimitedText(storage, board.Name, MaxShortText);
    WriteLimitedText(storage, board.Shortcut, MaxShortText);
    WriteBool(storage, board.ShowPlayList);
    WriteBool(storage, board.ShowTree);
    WriteLimitedText(storage, board.TreePath, MaxPathText);
    storage.WriteInt(board.VisibleColumnCount);
    storage.WriteInt(board.ActiveColumnIndex);
    for (const TColumnState& column : board.ColumnStates)
        WriteColumnState(storage, column);
}

// The count says how many entries follow: an entry the reader would refuse is left out.
int32_t CountStorableEntries(const THistory& history)
{
    int32_t count = 0;
    for (int32_t i = 0; i < history.Count; ++i)
        if (FitsReader(history.Titles[static_cast<size_t>(i)], MaxPathText))
            ++count;
    return count;
}

void WritePathsHistory(TFileStorage& storage, const THistory& history)
{
    storage.WriteInt(CountStorableEntries(history));
    for (int32_t i = 0; i < history.Count; ++i) {
        const auto entry = static_cast<size_t>(i);
        if (!FitsReader(history.Titles[entry], MaxPathText))
            continue;
        storage.WriteText(history.Titles[entry]);
        storage.WriteInt(history.Types[entry]);
        storage.WriteInt(history.Offsets[entry]);
        storage.WriteInt64(history.Keys[entry]);
    }
}

void WriteFilesHistory(TFileStorage& storage, const THistory& history)
{
    storage.WriteInt(CountStorableEntries(history));
    for (int32_t i = 0; i < history.Count; ++i)
        if (FitsReader(history.Titles[static_cast<size_t>(i)], MaxPathText))
            storage.WriteText(history.Titles[static_cast<size_t>(i)]);
}

// Reads the payload's values in order and stops at the first one that fails: every read
// after it answers false and leaves its variable alone.
class TPayloadReader
{
public:
    TPayloadReader(TFileStorage& storage, TTraced& trace, int32_t version)
        : Storage(storage), Trace(trace), Version(version)
    {
    }

    bool Has(int32_t sinceVersion) const { return Version >= sinceVersion; }

    bool Text(std::string& variable, int32_t maxLength, bool setEmpty)
    {
        return Read([&] { Storage.ReadText(variable, maxLength, setEmpty); });
    }
    bool Int(int32_t& variable, int32_t min, int32_t max)
    {
        return Read([&] { Storage.ReadInt(variable, min, max); });
    }
    bool Int64(int64_t& variable, int64_t min, int64_t max)
    {
        return Read([&] { Storage.ReadInt64(variable, min, max); });
    }
    bool Bool(bool& variable)
    {
        uint8_t value = variable ? 1 : 0;
        const bool read = Read([&] { Storage.ReadByte(value); });
        if (read)
            variable = value != 0;
        return read;
    }

private:
    template <class Step>
    bool Read(Step step)
    {
        if (Stopped)
            return false;
        step();
        Stopped = Trace.TakeOver();
        return !Stopped;
    }

    TFileStorage& Storage;
    TTraced& Trace;
    int32_t Version;
    bool Stopped = false;
};

bool ReadColumnState(TPayloadReader& reader, TColumnState& column)
{
    return reader.Text(column.ActiveTitle, MaxPathText, true) && reader.Int(column.ContainerIndex, -1, 19) &&
           reader.Bool(column.FixedAttr) && reader.Int(column.WidthAttr, 1, 10) &&
           reader.Int(column.Subcolumns, 1, 10) && reader.Int(column.ThumbHeight, 0, 30) &&
           reader.Bool(column.ThumbAttr) &&
           (!reader.Has(VersionWithContainerPaths) || reader.Bool(column.ShowPathsInContainer)) &&
           reader.Int(column.ActiveType, AnyInt32Min, AnyInt32Max) &&
           reader.Int(column.ActiveTopOffset, AnyInt32Min, AnyInt32Max) && reader.Int64(column.ActiveKey, 0, MaxKey) &&
           reader.Text(column.SortMode, MaxShortText, true);
}

// The name and shortcut go through the boards' setters, so that the bar shows them.
bool ReadBoard(TPayloadReader& reader, TBoards& boards, TBoardData& board)
{
    std::string name = board.Name;
    if (!reader.Text(name, MaxShortText, false))
        return false;
    boards.SetBoardName(board, name);
    if (reader.Has(VersionWithShortcuts)) {
        std::string shortcut = board.Shortcut;
        if (!reader.Text(shortcut, MaxShortText, false))
            return false;
        boards.SetBoardShortcut(board, shortcut);
    }
    if (reader.Has(VersionWithBoardFlags) && !(reader.Bool(board.ShowPlayList) && reader.Bool(board.ShowTree) &&
                                               reader.Text(board.TreePath, MaxPathText, true)))
        return false;
    if (!reader.Int(board.VisibleColumnCount, 1, 10) || !reader.Int(board.ActiveColumnIndex, 0, 9))
        return false;
    for (TColumnState& column : board.ColumnStates)
        if (!ReadColumnState(reader, column))
            return false;
    return true;
}

bool ReadBoards(TPayloadReader& reader, TBoards& boards)
{
    for (int32_t i = BoardCount - 1; i >= 0; --i)
        if (!ReadBoard(reader, boards, boards.Items[static_cast<size_t>(i)]))
            return false;
    return true;
}

void ReadPathsHistory(TPayloadReader& reader, THistory& history)
{
    int32_t count = 0;
    if (!reader.Int(count, 0, HistoryCapacity))
        return;
    for (int32_t i = 0; i < count; ++i) {
        THistoryEntry entry;
        if (!(reader.Text(entry.Title, MaxPathText, true) && reader.Int(entry.Type, AnyInt32Min, AnyInt32Max) &&
              reader.Int(entry.Offset, AnyInt32Min, AnyInt32Max) && reader.Int64(entry.Key, 0, MaxKey)))
            return;
        history.AddPathItem(entry.Title, entry.Type, entry.Offset, entry.Key, false, false);
    }
}

void ReadFilesHistory(TPayloadReader& reader, THistory& history)
{
    int32_t count = 0;
    if (!reader.Int(count, 0, HistoryCapacity))
        return;
    for (int32_t i = 0; i < count; ++i) {
        std::string title;
        if (!reader.Text(title, MaxPathText, true))
            return;
        history.AddFileItem(title, false);
    }
}

} // namespace

int32_t TMainForm::OptionsFSMaxPayloadSize()
{
    return BoardCount * MaxBoardSize + MaxPathsHistorySize + MaxFilesHistorySize;
}

void TMainForm::OnSaveOptionsFS(TFileStorage& storage)
{
    Boards->SaveActiveBoard();
    for (int32_t i = BoardCount - 1; i >= 0; --i)
        WriteBoard(storage, Boards->Items[static_cast<size_t>(i)]);
    WritePathsHistory(storage, PathsHistory);
    WriteFilesHistory(storage, FilesHistory);
}

// A failed read ends the reading; the boards read up to it are still put into the window,
// and the store reports the failure once this returns.
void TMainForm::OnLoadOptionsFS(TFileStorage& storage, int32_t version)
{
    TTraced trace;
    trace.Run([&] {
        TPayloadReader reader(storage, trace, version);
        const bool boardsRead = ReadBoards(reader, *Boards);
        Boards->SetDefaultTitles();
        Boards->RestoreActiveBoard(false);
        if (!boardsRead || !reader.Has(VersionWithHistories))
            return;
        ReadPathsHistory(reader, PathsHistory);
        ReadFilesHistory(reader, FilesHistory);
    });
}
