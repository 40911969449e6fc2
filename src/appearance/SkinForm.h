#pragma once

#include "core/StoredTextList.h"

#include <QDialog>

#include <cstdint>
#include <string>

class QCheckBox;
class QComboBox;

// The "Skin options" dialog: the editor of the current skin (SkinOptions). It owns the
// store of the skin files, the name of the skin file last loaded or saved, and the three
// settings that hold for all skins, whose only store is its controls.
class TSkinForm : public QDialog
{
public:
    // The load and save flag of SkinStore: the skin is that of a skin file.
    static constexpr int32_t SkinFileFlag = 1;

    explicit TSkinForm(QWidget* owner = nullptr);

    // Reads the skin into SkinOptions: every field on a full load (FullLoad), only the
    // colours otherwise; what the store lacks takes its default. From the program's own
    // option file (skinFile false) also LastSkinName and the settings for all skins. A
    // stored value outside its list of choices becomes the list's first choice.
    void ReadSkin(TStoredTextList& store, bool skinFile);
    // Replaces the skin's sections with the whole of SkinOptions, whatever the load mode;
    // to the program's own option file also LastSkinName and the settings for all skins.
    void WriteSkin(TStoredTextList& store, bool skinFile);

    // A path without an extension gets ".qms". A failure is shown by the store.
    bool LoadSkinFile(const std::string& path);
    // Saves the whole skin under the name chosen to save it as, replacing an existing
    // file without a question; a name without an extension gets ".qms".
    bool SaveSkinFile(const std::string& path);

    // The title, without folder and extension, of the skin file last loaded or saved.
    std::string LastSkinName;
    // Keeps the content of the skin file last loaded or saved between uses.
    TStoredTextList SkinStore;
    // The load mode of the Skins menu: the whole skin, or only its colours.
    bool FullLoad = true;

    // The settings for all skins: in pixels, the size below which a picture is not
    // stretched; in percent, the aspect skew up to which it is; whether a picture
    // announced by the wallpaper program is taken over.
    QComboBox* BackPictureMinStretchSizeComboBox = nullptr;
    QComboBox* StretchBackPictureMaxSkewComboBox = nullptr;
    QCheckBox* AcceptBackPictureAutochangeCheckBox = nullptr;
};

// Created with the other dialogs at start-up, before the option file is read.
extern TSkinForm* SkinForm;
