// Painting a play-list item: the played item looks like a selected file of a column, the
// focused one like a column's focused file. Each item is painted into one bitmap and
// copied onto the list in one step.

#include "viewing/MediaPlayer.h"

#include "columns/ItemLook.h"
#include "panels/MyPanelOptions.h"
#include "panels/MyTPanel.h"

#include "core/errors/Traced.h"
#include "core/files/PathNames.h"
#include "core/forms/Utilities.h"
#include "core/settings/ProgramOptions.h"

#include "host/TextDrawing.h"

#include <QPainter>

namespace {

void SetPlayedFontStyle(QPainter& canvas)
{
    QFont font = canvas.font();
    font.setBold(true);
    font.setItalic(true);
    canvas.setFont(font);
}

} // namespace

void MyTMediaPlayer::PlayListDrawItem(QPainter& canvas, int32_t index)
{
    MyTPanel& list = *Controls.PlayList;
    QRect place;
    bool painted = false;
    TTraced trace;
    try {
        place = list.GetItemRect(index);
        if (place.isEmpty())
            return;
        if (ItemBitmap.size() != place.size())
            ItemBitmap = QImage(place.size(), QImage::Format_RGB32);
        painted = true;
        PaintItemBackground(ItemBitmap, list, place);
        QPainter painter(&ItemBitmap);
        painter.setFont(list.GetTextFont());
        const bool played = !list.Empty && index == CurrentIndex;
        const bool focused = index == list.FocusIndex;
        const TStateLook look = GetStateLook(focused && list.hasFocus(), focused, played);
        if (played)
            SetPlayedFontStyle(painter);
        const QRect whole(QPoint(0, 0), place.size());
        if (focused || played)
            PaintFocusOrSelectionLook(painter, whole, look);
        const int32_t halfExtra = ProgramOptions.ItemsExtraHeight / 2;
        painter.setPen(ToQColor(look.Text));
        DrawTextInRect(GetPathName(GetItemText(index)), painter, true, whole.adjusted(4, halfExtra, -4, -halfExtra),
                       host::DT_NOPREFIX, false, false);
        if (ProgramOptions.ShowGrid)
            painter.fillRect(0, place.height() - 1, place.width(), 1, ToQColor(*GMyPanelOptions.GridColor));
    }
    TRACED_CATCH(trace)
    if (painted && !ItemBitmap.isNull())
        canvas.drawImage(place.topLeft(), ItemBitmap);
}
