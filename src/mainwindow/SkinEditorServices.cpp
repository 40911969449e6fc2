#include "mainwindow/SkinEditorServices.h"

namespace {

// Until the skin editor is made the skin keeps its defaults: nothing is read or written,
// pictures stretch without limits and no wallpaper is taken over.
class TNoSkinEditor : public TSkinEditorServices
{
public:
    void ReadSkin(TStoredTextList&) override {}
    void WriteSkin(TStoredTextList&) override {}
    int32_t GetBackPictureMinStretchSize() override { return -1; }
    int32_t GetStretchBackPictureMaxSkew() override { return -1; }
    bool AcceptsBackPictureAutochange() override { return false; }
    void SetOnSkinChanged(std::function<void()>) override {}
    void ShowMenu(MyTPanel&, bool) override {}
};

TNoSkinEditor NoSkinEditor;

} // namespace

template <>
TSkinEditorServices& TSeam<TSkinEditorServices>::StandIn()
{
    return NoSkinEditor;
}
