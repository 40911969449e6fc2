#pragma once

#include "core/Seam.h"

#include <cstdint>
#include <functional>

class MyTPanel;
class TStoredTextList;

// What the main window needs of the skin editor, a dialog of a later layer, which
// implements this and installs it when it is made.
class TSkinEditorServices
{
public:
    virtual ~TSkinEditorServices() = default;
    // The skin sections of the program's own option file, with the settings for all skins.
    virtual void ReadSkin(TStoredTextList& store) = 0;
    virtual void WriteSkin(TStoredTextList& store) = 0;
    // The settings for all skins: in pixels, the size below which a picture is not
    // stretched, and in percent, the aspect skew up to which it is (-1: no limit); whether
    // a picture announced by the wallpaper program is taken over.
    virtual int32_t GetBackPictureMinStretchSize() = 0;
    virtual int32_t GetStretchBackPictureMaxSkew() = 0;
    virtual bool AcceptsBackPictureAutochange() = 0;
    // Called after every change the editor applies to the skin.
    virtual void SetOnSkinChanged(std::function<void()> handler) = 0;
    // Pops the Skins menu up below the button; a skin chosen there loads whole, or only
    // its colours.
    virtual void ShowMenu(MyTPanel& button, bool fullLoad) = 0;
};

template <>
TSkinEditorServices& TSeam<TSkinEditorServices>::StandIn();
