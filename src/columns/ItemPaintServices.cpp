#include "columns/ItemPaintServices.h"

#include "panels/MyPanelOptions.h"

namespace {

// Until the main window exists the record is kept here; there is no hover window to
// hide, and no thumbnail painter: the thumbnail area stays as the item painter left it.
class TNoItemPaintWindow : public TItemPaintServices
{
public:
    THotItemRecord& GetHotItemRecord() override { return Record; }
    void HideFileHover() override {}
    void PaintThumb(const std::string&, MyTPanel&, int64_t, host::FileTime, QPainter&, QRect, QRect) override {}

private:
    THotItemRecord Record;
};

TNoItemPaintWindow NoItemPaintWindow;
TItemPaintServices* InstalledServices = nullptr;

} // namespace

void SetItemPaintServices(TItemPaintServices* services)
{
    InstalledServices = services;
}

TItemPaintServices& GetItemPaintServices()
{
    return InstalledServices != nullptr ? *InstalledServices : NoItemPaintWindow;
}

bool IsBackPictureVisible()
{
    return !GMyPanelOptions.Background.isNull() && *GMyPanelOptions.WindowBackTranslucency > 0;
}
