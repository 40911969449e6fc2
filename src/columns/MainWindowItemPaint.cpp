#include "columns/MainWindowItemPaint.h"

#include "panels/MyPanelOptions.h"

namespace {

// Until the main window exists the record is kept here; there is no hover window to
// hide, and no thumbnail painter: the thumbnail area stays as the item painter left it.
class TNoItemPaintWindow : public TMainWindowItemPaint
{
public:
    THotItemRecord& GetHotItemRecord() override { return Record; }
    void HideFileHover() override {}
    void PaintThumb(const std::string&, MyTPanel&, int64_t, host::FileTime, QPainter&, QRect, QRect) override {}

private:
    THotItemRecord Record;
};

TNoItemPaintWindow NoItemPaintWindow;

} // namespace

template <>
TMainWindowItemPaint& TSeam<TMainWindowItemPaint>::StandIn()
{
    return NoItemPaintWindow;
}

bool IsBackPictureVisible()
{
    return !GMyPanelOptions.Background.isNull() && *GMyPanelOptions.WindowBackTranslucency > 0;
}
