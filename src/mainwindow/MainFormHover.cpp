#include "mainwindow/MainForm.h"

#include "panels/MyTPanel.h"

#include "core/errors/Traced.h"
#include "core/files/FileExtensions.h"
#include "core/files/FileIcons.h"
#include "core/files/PathNames.h"
#include "core/forms/InputState.h"
#include "core/settings/ProgramOptions.h"
#include "core/settings/SkinOptions.h"
#include "core/text/AsciiCase.h"

#include "viewing/FileHoverForm.h"

#include <QCursor>

#include <cstdlib>

namespace {

bool IsHotTrackingWanted()
{
    return ProgramOptions.HotTrackColumnItems || ProgramOptions.FileHoverActive;
}

bool IsHoverWindowShown()
{
    return FileHoverForm != nullptr && FileHoverForm->Shown;
}

} // namespace

bool TMainForm::HasThumbnail(const std::string& title)
{
    return IsPictureFile(title) || IsTextFile(title) || GetViewerPluginIndex(UpperAscii(GetExtension(title))) >= 0 ||
           !GetIconSourceFile(title).empty();
}

void TMainForm::SetHotTrackItem(TColumn& column, int32_t index)
{
    if (index < 0 || !IsHotTrackingWanted())
        return;
    THotItemRecord& record = HotItems;
    if (record.HotColumn != &column || record.HotItem != index) {
        // The old item is painted plain while the record still names it: the painter then
        // closes the hover window and takes that item as the hovered one, so the window may
        // open again for an item the mouse comes back to.
        if (record.HotColumn != nullptr)
            record.HotColumn->DrawAnItem(nullptr, record.HotItem, false, true);
        record.HotColumn = &column;
        record.HotItem = index;
        record.HotItemShown = false;
        column.DrawAnItem(nullptr, index, true, false);
    } else {
        THotItemPlace place;
        if (IsMouseOnHotItemBadge(place))
            return;
    }
    record.HoverCrono.Restart();
}

bool TMainForm::IsMouseOnHotItemBadge(THotItemPlace& place)
{
    const THotItemRecord& record = HotItems;
    MyTPanel& list = *record.HotColumn->FileList;
    place.Item = list.GetItemAreaRect(record.HotItem);
    place.Origin = list.mapToGlobal(QPoint(list.Border, list.Border));
    place.Mouse = QCursor::pos();
    place.LineHeight = list.GetLineHeight();
    return place.Mouse.x() - place.Item.left() - place.Origin.x() < record.HotColumn->GetBadgeWidth(true) &&
           place.Mouse.y() - place.Item.top() - place.Origin.y() < place.LineHeight;
}

void TMainForm::ClearHotTrackItem()
{
    THotItemRecord& record = HotItems;
    TColumn* column = record.HotColumn;
    const int32_t item = record.HotItem;
    record.HotColumn = nullptr;
    record.HotItem = -1;
    record.HotItemShown = false;
    if (column != nullptr)
        column->DrawAnItem(nullptr, item, false, true);
}

void TMainForm::CheckItemHotTrack()
{
    TTraced trace;
    try {
        const TProgramOptions& o = ProgramOptions;
        THotItemRecord& record = HotItems;
        const bool itemUnderMouse = record.HotColumn != nullptr && record.HotColumn->FileList->GetItemUnderMouse() >= 0;
        if (!itemUnderMouse) {
            HideFileHover();
            record.HoverColumn = nullptr;
            record.HoverItem = -1;
        }
        if (record.HotColumn == nullptr || !IsHotTrackingWanted())
            return;
        if (!itemUnderMouse) {
            ClearHotTrackItem();
            return;
        }
        // Without a badge there is nothing to rest on.
        if (!o.FileHoverActive || (!o.ShowFileType && !o.SimulateFileType) || FileHoverForm == nullptr)
            return;
        const bool alreadyHovered = record.HotColumn == record.HoverColumn && record.HotItem == record.HoverItem;
        if (alreadyHovered || IsHoverWindowShown() || IsMouseButtonDown())
            return;
        // The timer ticks on while the device waits for a medium of the list; a clip would
        // take the device from it.
        if (MediaPlayer.Device->IsOpening())
            return;
        THotItemPlace place;
        if (!record.HoverCrono.IsPeriod(o.FileHoverDelay * 0.1) || !isActiveWindow() || !IsMouseOnHotItemBadge(place))
            return;
        record.HoverColumn = record.HotColumn;
        record.HoverItem = record.HotItem;
        HoverOrigin = place.Mouse;

        const TFileListData& item = record.HotColumn->GetItem(record.HotItem);
        THoverRequest request;
        request.PlayMedia =
            o.FileHoverPlayMedia && !(o.FileHoverDontPlayAlready && MediaPlayer.Playing && !HoverClipPlaying);
        request.ShowVideoThumbnail = o.FileHoverShowVideoThumbnail;
        request.IsDirectory = item.Type == ftDirectory;
        request.Created = item.Created;
        request.Modified = item.Modified;
        request.Size = item.Size;
        request.Title = item.Title;
        request.X = place.Origin.x() + place.Item.left();
        request.Y = place.Origin.y() + place.Item.top() + place.LineHeight;
        request.FrameColor = SkinOptions.GridColor;
        request.TextColor = SkinOptions.MouseMenuTextColor;
        request.BackColor = SkinOptions.MouseMenuBackColor;
        request.LineHeight = place.LineHeight;
        request.FontSize = o.ItemsFontSize;
        request.FontName = o.ItemsFontName;
        request.PictureWidth = o.FileHoverPictureWidth;
        request.PictureHeight = o.FileHoverPictureHeight;
        request.MovieWidth = o.FileHoverMovieWidth;
        request.MovieHeight = o.FileHoverMovieHeight;
        request.GenericWidth = o.FileHoverGenericWidth;
        FileHoverForm->ShowForFile(request);
    }
    TRACED_CATCH(trace)
}

void TMainForm::CheckFileHoverMouseMove(TColumn& column, int32_t index, int32_t x, int32_t y)
{
    if (!IsHoverWindowShown())
        return;
    THotItemRecord& record = HotItems;
    if (index >= 0 && &column == record.HoverColumn && index == record.HoverItem) {
        const MyTPanel& list = *column.FileList;
        const QPoint mouse = list.mapToGlobal(QPoint(list.Border + x, list.Border + y));
        const int32_t sensitivity = ProgramOptions.FileHoverSensitivity;
        if (std::abs(mouse.x() - HoverOrigin.x()) > sensitivity || std::abs(mouse.y() - HoverOrigin.y()) > sensitivity)
            HideFileHover();
        return;
    }
    HideFileHover();
    record.HoverColumn = nullptr;
    record.HoverItem = -1;
}

void TMainForm::HideFileHover()
{
    THotItemRecord& record = HotItems;
    if (record.HoverColumn != nullptr) {
        MediaPlayer.StopHoverClip();
        if (FileHoverForm != nullptr)
            FileHoverForm->Hide();
    }
    // The window does not come back for the item still under the mouse.
    record.HoverColumn = record.HotColumn;
    record.HoverItem = record.HotItem;
}
