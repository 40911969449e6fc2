// The media player's play list: loading it from a ".mpl" file, one file or a list of
// files, remembering where it stands in the recent list, and its keys and mouse.

#include "viewing/MediaPlayer.h"

#include "viewing/FileViewer.h"
#include "viewing/ViewerWindow.h"

#include "panels/MyTPanel.h"

#include "core/desktop/ShellExecution.h"
#include "core/errors/Traced.h"
#include "core/files/FileExtensions.h"
#include "core/files/LinkFile.h"
#include "core/files/PathNames.h"
#include "core/forms/MessageBoxes.h"
#include "core/text/AsciiCase.h"
#include "core/text/StringList.h"

#include "host/Drives.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>
#include <string_view>

namespace {

const char* const PlayListHint =
    "This list-box contains all files that can be played by the media-player. Each item in the list is a media file. "
    "The currently focused item in the list is displayed like the (in)active file from a column. The item that is "
    "currently being played is displayed like a selected file from a column. [Double LMB] or [Enter] = play media "
    "(and continue with next media until the end of the play-list). [RMB] = run file. [LMB + Drag] = set the media as "
    "active file in the destination column. [Alt + F1] for more help.";
const char* const EmptyPlayListWarning = "The play-list is empty.";

// Play lists written by other programs here name files by host paths ("/home/me/a.wav"):
// such a line is the file it names, as a dropped file is. Any other line stays as it is.
std::string PlayListItemText(std::string_view line)
{
    if (line.starts_with('/'))
        if (const std::optional<std::string> path = host::HostToWindows(std::string(line)))
            return *path;
    return std::string(line);
}

TViewerWindow& Window()
{
    return TSeam<TViewerWindow>::Get();
}

// The list paints once, after it was filled, and its scroll bar follows it then.
class TSuspendedPainting
{
public:
    explicit TSuspendedPainting(MyTPanel& list) : List(list) { List.PaintEnabled = false; }
    ~TSuspendedPainting()
    {
        List.PaintEnabled = true;
        List.ResetScrollBar(true);
        List.Invalidate();
    }
    TSuspendedPainting(const TSuspendedPainting&) = delete;
    TSuspendedPainting& operator=(const TSuspendedPainting&) = delete;

private:
    MyTPanel& List;
};

} // namespace

std::string MyTMediaPlayer::GetItemText(int32_t index) const
{
    MyTPanel& list = *Controls.PlayList;
    if (list.Empty || index < 0 || index >= list.GetCount())
        return {};
    const auto* item = dynamic_cast<const TTextItem*>(list.GetItem(index));
    return item != nullptr ? item->Text : std::string();
}

std::string MyTMediaPlayer::GetItemFileName(int32_t index)
{
    return GetWhenReference(GetItemText(index));
}

std::string MyTMediaPlayer::GetActiveTitle()
{
    if (Controls.PlayList->Empty)
        return {};
    return GetItemFileName(Controls.PlayList->FocusIndex);
}

int32_t MyTMediaPlayer::FindStartItem(const std::string& title) const
{
    for (int32_t i = 0, count = GetItemCount(); i < count; ++i)
        if (SameTextAscii(GetItemText(i), title))
            return i;
    return 0;
}

void MyTMediaPlayer::SetTitleCaption(const std::string& caption)
{
    Controls.PlayListTitlePanel->SetCaptions(caption, caption);
    Controls.PlayListTitlePanel->Repaint();
}

// A hover clip is no place in the list: what the list left stays remembered.
int32_t MyTMediaPlayer::StoreLastPlayedPosition()
{
    if (!Playing || GetItemCount() <= 1 || Window().IsHoverClipPlaying())
        return CurrentIndex;
    TLastPlayedMPL& recent = Viewer->LastPlayedMPL;
    if (CurrentIndex < 0 || CurrentIndex >= GetItemCount()) {
        recent.SetLastPosition("", 0);
        return CurrentIndex;
    }
    const double position = std::round(static_cast<double>(Device->Length()) * Progress);
    recent.SetLastPosition(GetItemText(CurrentIndex),
                           static_cast<int32_t>(std::clamp(position, 0.0, static_cast<double>(INT32_MAX))));
    return CurrentIndex;
}

void MyTMediaPlayer::PlayMPL(const std::string& playListFile, const std::string& lastTitle, int64_t position)
{
    TTraced trace;
    bool empty = false;
    {
        TSuspendedPainting suspended(*Controls.PlayList);
        trace.Run([&] {
            StoreLastPlayedPosition();
            Stop();
            Controls.PlayList->LoadTextItemsFromFile(playListFile, MaxPlayListBytes, PlayListItemText);
            // A list that cannot be read, or is too large, is a failure, not an empty list.
            if (trace.TakeOver())
                return;
            empty = GetItemCount() == 0;
            if (empty)
                return;
            CurrentIndex = 0;
            const int32_t start = FindStartItem(lastTitle);
            Controls.PlayList->SetFocusWithOffset(start, 0, true);
            Viewer->LastPlayedMPL.Add(playListFile);
            if (TFileViewer::HasVideoFiles(*Controls.PlayList)) {
                Viewer->Reset();
                Window().ShowViewer();
            }
            SetTitleCaption(playListFile);
            StartPlaying(start, position);
        });
        trace.ShowFailure("Failed to play.");
    }
    if (empty)
        ShowWarningMessage(EmptyPlayListWarning);
}

void MyTMediaPlayer::PlayFile(const std::string& fileName)
{
    TTraced trace;
    trace.Run([&] {
        StoreLastPlayedPosition();
        Stop();
        MyTPanel& list = *Controls.PlayList;
        list.Clear();
        list.AddTextItem(fileName);
        list.ResetItems();
        CurrentIndex = 0;
        list.SetFocusIndex(0);
        ShowViewerForVideoItem(0);
        SetTitleCaption(fileName);
        StartPlaying(0, 0);
    });
    trace.ShowFailure("Failed to play.");
}

void MyTMediaPlayer::PlayTextList(const std::vector<std::string>& items, const std::string& startTitle,
                                  int64_t startPosition, const std::string& caption)
{
    TTraced trace;
    bool empty = false;
    {
        TSuspendedPainting suspended(*Controls.PlayList);
        trace.Run([&] {
            Stop();
            TStringList strings;
            for (const std::string& item : items)
                strings.Add(item);
            Controls.PlayList->LoadTextItems(strings);
            empty = GetItemCount() == 0;
            if (empty)
                return;
            CurrentIndex = 0;
            const int32_t start = FindStartItem(startTitle);
            Controls.PlayList->SetFocusWithOffset(start, 0, true);
            if (!caption.empty())
                SetTitleCaption(ExcludeEndBackslash(caption));
            StartPlaying(start, startPosition);
        });
        trace.ShowFailure("Failed to play.");
    }
    if (empty)
        ShowWarningMessage(EmptyPlayListWarning);
}

// ---- The list's keys and mouse ----

void MyTMediaPlayer::BindPlayList()
{
    MyTPanel& list = *Controls.PlayList;
    list.OnDrawItem = [this](QPainter& canvas, int32_t index) { PlayListDrawItem(canvas, index); };
    list.OnKeyDown = [this](MyTPanel*, uint16_t& key, TShiftState) { PlayListKeyDown(key); };
    list.OnMouseDown = [this](MyTPanel*, TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
        PlayListMouseDown(button, shift, x, y);
    };
    list.OnMouseMove = [this](MyTPanel*, TShiftState, int32_t x, int32_t y) { PlayListMouseMove(x, y); };
    list.setToolTip(QString::fromUtf8(PlayListHint));
    SetPlayListItemHeight();
}

void MyTMediaPlayer::PlayListKeyDown(uint16_t& key)
{
    if (key == VK_RETURN) {
        key = 0;
        const int32_t focused = Controls.PlayList->FocusIndex;
        ShowViewerForVideoItem(focused);
        StartPlaying(focused, 0);
    } else if (key == VK_LEFT || key == VK_RIGHT) {
        key = 0;
        Window().FocusColumn();
    }
}

void MyTMediaPlayer::PlayListMouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y)
{
    MyTPanel& list = *Controls.PlayList;
    const int32_t index = list.GetItemAt(x, y);
    if (list.Empty || index < 0)
        return;
    TTraced trace;
    trace.Run([&] {
        if (button == mbLeft && IsKeyShiftOnly(shift, ssDouble)) {
            ShowViewerForVideoItem(index);
            StartPlaying(index, 0);
        } else if (button == mbLeft) {
            list.BeginDrag();
        } else if (button == mbRight && IsKeyShiftEmpty(shift)) {
            Stop();
            RunFile(GetItemFileName(index), "", "", false, false);
            trace.TakeOver();
        }
    });
    trace.ShowFailure("Failed to play media.");
}

void MyTMediaPlayer::PlayListMouseMove(int32_t x, int32_t y)
{
    MyTPanel& list = *Controls.PlayList;
    const int32_t index = list.Empty ? -1 : list.GetItemAt(x, y);
    const std::string over = index >= 0 ? "Current file \"" + GetItemText(index) + "\". " : std::string();
    list.setToolTip(QString::fromStdString(over + PlayListHint));
}
