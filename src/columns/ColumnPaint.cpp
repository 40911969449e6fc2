// Painting a column's item: the type badge, the name line with its focus or selection
// look, the grid and the thumbnail. Each item is painted into the column's item bitmap
// and copied onto the list in one step. Painting the focused item of the focused list makes
// the column active, and painting the item under the mouse keeps the main window's
// hot-item record.

#include "columns/Column.h"

#include "columns/ItemLook.h"
#include "columns/MainWindowItemPaint.h"
#include "panels/MyPanelOptions.h"

#include "core/drawing/TranslucentPaint.h"
#include "core/errors/Traced.h"
#include "core/files/Partitions.h"
#include "core/files/PathNames.h"
#include "core/forms/Utilities.h"
#include "core/settings/ProgramOptions.h"
#include "core/text/AsciiCase.h"

#include "host/TextDrawing.h"

#include <QPainter>

#include <algorithm>

namespace {

// "»", the sign of a directory.
const char* const DirectorySign = "\xC2\xBB";

// A rectangle given by its edges, the right and bottom ones outside it.
QRect FromEdges(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// The places of an item's parts in its bitmap, whose origin is the item's top left.
struct TItemGeometry
{
    int32_t Width;
    int32_t Height;
    // The name line's height.
    int32_t Line;
    int32_t Badge;
    // Half the extra height of a line: the text's margin above and below.
    int32_t HalfExtra;

    QRect BadgeRect() const { return FromEdges(1, 0, Badge, Line - 1); }
    QRect BadgeTextRect() const { return FromEdges(5, HalfExtra, Badge - 4, Line - 1 - HalfExtra); }
    QRect NameRect() const { return FromEdges(Badge + 1, 0, Width - 1, Line - 1); }
    QRect TextRect() const { return FromEdges(Badge + 5, HalfExtra, Width - 5, Line - 1 - HalfExtra); }
    QRect ThumbnailArea() const { return FromEdges(1, Line, Width - 1, Height - 1); }
    QRect InfoRect() const { return FromEdges(5, Line + HalfExtra, Width - 5, 2 * Line - HalfExtra); }
    QRect PictureRect() const { return FromEdges(1, 2 * Line, Width - 1, Height - 1); }
};

// The badge's text: "»" for a directory, else the extension in lower case; none for the
// placeholder or without extensions in the badges.
std::string GetBadgeText(const TFileListData& item, int32_t type, bool empty)
{
    if (empty || !ProgramOptions.ShowExtInType)
        return {};
    return type == ftDirectory ? DirectorySign : LowerAscii(GetExtensionWithoutDot(item.Title));
}

void PaintBadge(QPainter& canvas, const TItemGeometry& geometry, int32_t type, const std::string& text)
{
    const TColumn::TTypeColors colors = TColumn::GetTypeColors(type);
    canvas.setPen(Qt::NoPen);
    canvas.setBrush(ToQColor(colors.Back));
    if (!ProgramOptions.ShowExtInType) {
        canvas.drawEllipse(geometry.BadgeRect().adjusted(2, 2, -2, -2));
        return;
    }
    canvas.drawRoundedRect(geometry.BadgeRect(), 5, 5);
    canvas.setPen(ToQColor(colors.Text));
    DrawTextInRect(text, canvas, true, geometry.BadgeTextRect(), host::DT_NOPREFIX, false, false);
}

// A plain row keeps the text font as it is: a styled copy per row costs more than the
// row's text.
void SetNameFontStyle(QPainter& canvas, const TFileListData& item, bool selected, bool hot)
{
    const bool hotLook = hot && ProgramOptions.HotTrackColumnItems;
    const bool underline = hotLook && ProgramOptions.UnderlineHotTrackItems;
    const bool bold = selected || (hotLook && !ProgramOptions.UnderlineHotTrackItems);
    const bool strikeOut = !item.Exists;
    const QFont& current = canvas.font();
    if (current.bold() == bold && current.italic() == selected && current.strikeOut() == strikeOut &&
        current.underline() == underline)
        return;
    QFont font = current;
    font.setBold(bold);
    font.setItalic(selected);
    font.setStrikeOut(strikeOut);
    font.setUnderline(underline);
    canvas.setFont(font);
}

// A name whose only dot leads it (".profile") would show nothing beside its badge.
bool IsExtensionOnlyName(const std::string& fileName)
{
    return fileName.rfind('.') == 0;
}

// The name line's text: the name, or the full path in a container that shows paths,
// without the extension that the badge shows (unless that is the whole name); a
// container's number before it, a drive's suffix after it, and "»" before a directory
// that has no badge.
std::string GetItemName(const TColumn& column, const TFileListData& item, int32_t type, const std::string& badgeText,
                        int32_t badgeWidth)
{
    const bool fullPath = column.ContainerIndex >= 0 && column.ShowPathsInContainer;
    const std::string fileName = GetPathName(item.Title);
    std::string name = fullPath ? item.Title : fileName;
    if (!badgeText.empty() && type != ftDirectory && !IsExtensionOnlyName(fileName))
        name.erase(std::min(name.rfind('.'), name.size()));
    if (item.ItemNumber > 1)
        name = std::to_string(item.ItemNumber) + " - " + name;
    if (IsDriveName(item.Title))
        name += GetPartitionSuffix(item.Title);
    if (badgeWidth == 0 && type == ftDirectory)
        name = DirectorySign + name;
    return name;
}

void PaintGridLine(QPainter& canvas, int32_t x, int32_t y, int32_t width, int32_t height)
{
    canvas.fillRect(x, y, width, height, ToQColor(*GMyPanelOptions.GridColor));
}

// The bottom row, and the line that sets the badge (or the subcolumn) off from the name.
void PaintGrid(QPainter& canvas, const TItemGeometry& geometry, bool severalSubcolumns)
{
    PaintGridLine(canvas, 0, geometry.Height - 1, geometry.Width, 1);
    if (severalSubcolumns || geometry.Badge > 0)
        PaintGridLine(canvas, geometry.Badge, 0, 1, geometry.Line);
}

// The area below the name line: a selected item's thumbnail area in the selection colour,
// and the main window's thumbnail with its information line.
void PaintThumbnailPart(TColumn& column, QPainter& canvas, const TItemGeometry& geometry, const TFileListData& item,
                        bool empty)
{
    const QRect area = geometry.ThumbnailArea();
    if (item.Selected && area.bottom() >= geometry.PictureRect().top()) {
        const TColor back = *GMyPanelOptions.SelectionBackColor;
        if (ProgramOptions.TranslucentThumbnailSelection)
            PaintTranslucentRect(canvas, area.left(), area.top(), area.width(), area.height(), back,
                                 *GMyPanelOptions.WindowSelectionBackTranslucency);
        else
            canvas.fillRect(area, ToQColor(back));
    }
    canvas.setPen(ToQColor(*GMyPanelOptions.ThumbTextColor));
    if (!column.ThumbAttr)
        return;
    if (!empty)
        TSeam<TMainWindowItemPaint>::Get().PaintThumb(item.Title, *column.FileList, item.Size, item.Modified, canvas,
                                                      geometry.InfoRect(), geometry.PictureRect());
    PaintGridLine(canvas, 0, geometry.Height - 1, geometry.Width, 1);
}

// The main window's record follows the item under the mouse: a new hot item starts the
// hover delay, and the recorded one painted plain again hides the hover window.
void KeepHotItemRecord(TColumn* column, int32_t index, bool hot)
{
    THotItemRecord& record = TSeam<TMainWindowItemPaint>::Get().GetHotItemRecord();
    const bool recorded = record.HotColumn == column && record.HotItem == index;
    if (hot) {
        if (!record.HotItemShown && !recorded) {
            record.HotColumn = column;
            record.HotItem = index;
            if (ProgramOptions.FileHoverActive) {
                record.HoverColumn = column;
                record.HoverItem = index;
                record.HoverCrono = TCrono();
                record.HoverCrono.Start();
            }
        }
        record.HotItemShown = true;
    } else if (recorded) {
        record.HotItemShown = false;
        if (ProgramOptions.FileHoverActive)
            TSeam<TMainWindowItemPaint>::Get().HideFileHover();
    }
}

} // namespace

void TColumn::FileListDrawItem(QPainter& canvas, int32_t index)
{
    DrawAnItem(&canvas, index, false, false);
}

TColumn::TTypeColors TColumn::GetTypeColors(int32_t type)
{
    const TMyPanelOptions& o = GMyPanelOptions;
    switch (type) {
    case ftDirectory:
        return {*o.DirsBackColor, *o.DirsTextColor};
    case ftLink:
        return {*o.LinksBackColor, *o.LinksTextColor};
    case ftProgram:
        return {*o.ProgsBackColor, *o.ProgsTextColor};
    case ftDocument:
        return {*o.DocsBackColor, *o.DocsTextColor};
    default:
        return {*o.FilesBackColor, *o.FilesTextColor};
    }
}

// A percentage of the line height. Without extensions in it a badge is at most one line
// wide; an invisible badge area still counts for the mouse.
int32_t TColumn::GetBadgeWidth(bool forHitTest)
{
    const TProgramOptions& o = ProgramOptions;
    int32_t percent = 0;
    if (o.ShowFileType)
        percent = o.ShowExtInType ? o.FileTypeWidth : std::min(o.FileTypeWidth, 100);
    else if (forHitTest && o.SimulateFileType)
        percent = o.SimulateFileTypeWidth;
    return static_cast<int32_t>(static_cast<int64_t>(FileList->GetLineHeight()) * percent * 0.01L);
}

void TColumn::DrawAnItem(QPainter* canvas, int32_t index, bool lineOnlyWhenHot, bool lineOnly)
{
    bool painted = false;
    QRect place;
    QRect copied;
    TTraced trace;
    try {
        const TProgramOptions& o = ProgramOptions;
        place = FileList->GetItemRect(index);
        if (index < FileList->TopIndex || index > FileList->GetLastVisibleIndex() || place.isEmpty())
            return;
        const bool hot = FileList->GetItemUnderMouse() == index && (o.HotTrackColumnItems || o.FileHoverActive);
        lineOnly = lineOnly || (lineOnlyWhenHot && hot);
        const bool empty = FileList->Empty;
        const TFileListData& item = GetItem(index);
        const bool focused = index == FileList->FocusIndex;
        const bool active = focused && FileList->hasFocus();
        // The records come first: they may paint other items, which use the same bitmap.
        if (active)
            SetActive();
        KeepHotItemRecord(this, index, hot);
        const TItemGeometry geometry{place.width(), place.height(), FileList->GetLineHeight(), GetBadgeWidth(false),
                                     o.ItemsExtraHeight / 2};
        copied = lineOnly ? geometry.NameRect() : QRect(QPoint(0, 0), place.size());

        if (ItemBitmap.size() != place.size())
            ItemBitmap = QImage(place.size(), QImage::Format_RGB32);
        painted = true;
        PaintItemBackground(ItemBitmap, *FileList, place);
        QPainter painter(&ItemBitmap);
        const QFont& textFont = FileList->GetTextFont();
        painter.setFont(textFont);
        const int32_t type = empty ? ftGeneric : item.Type;
        std::string badgeText;
        if (geometry.Badge > 0) {
            badgeText = GetBadgeText(item, type, empty);
            PaintBadge(painter, geometry, type, badgeText);
        }
        const TStateLook look = GetStateLook(active, focused, item.Selected);
        SetNameFontStyle(painter, item, item.Selected, hot);
        const std::string name = GetItemName(*this, item, type, badgeText, geometry.Badge);
        if (focused || item.Selected)
            PaintFocusOrSelectionLook(painter, geometry.NameRect(), look);
        painter.setPen(ToQColor(look.Text));
        // Long container paths lose their middle.
        const uint32_t format = ContainerIndex >= 0 ? host::DT_NOPREFIX | host::DT_PATH_ELLIPSIS : host::DT_NOPREFIX;
        DrawTextInRect(name, painter, true, geometry.TextRect(), format, false, false);
        painter.setFont(textFont);

        const bool severalSubcolumns = FileList->Subcolumns > 1;
        if (o.ShowGrid)
            PaintGrid(painter, geometry, severalSubcolumns);
        if (!lineOnly)
            PaintThumbnailPart(*this, painter, geometry, item, empty);
        if (severalSubcolumns) {
            PaintGridLine(painter, 0, 0, 1, geometry.Height);
            PaintGridLine(painter, geometry.Width - 1, 0, 1, geometry.Height);
        }
    }
    TRACED_CATCH(trace)
    if (!painted || ItemBitmap.isNull())
        return;
    const QPoint target = place.topLeft() + copied.topLeft();
    const auto copy = [&](QPainter& onto) { onto.drawImage(target, ItemBitmap, copied); };
    if (canvas != nullptr)
        copy(*canvas);
    else
        FileList->PaintOnOwnCanvas(QRect(target, copied.size()), copy);
}
