#pragma once

#include "mainwindow/SkinEditorServices.h"

#include "core/settings/StoredTextList.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <string>

class QCheckBox;
class QComboBox;

// The "Skin options" dialog: the editor of the current skin (SkinOptions). It owns the
// store of the skin files, the name of the skin file last loaded or saved, and the three
// settings that hold for all skins, whose only store is its controls. While it exists it
// is the main window's skin editor.
class TSkinForm : public QDialog, public TSkinEditorServices
{
public:
    // The load and save flag of SkinStore: the skin is that of a skin file.
    static constexpr int32_t SkinFileFlag = 1;

    explicit TSkinForm(QWidget* owner = nullptr);
    ~TSkinForm() override;
    TSkinForm(const TSkinForm&) = delete;
    TSkinForm& operator=(const TSkinForm&) = delete;

    // Reads the skin into SkinOptions: every field on a full load (FullLoad), only the
    // colours otherwise; what the store lacks takes its default. From the program's own
    // option file (skinFile false) also LastSkinName and the settings for all skins. A
    // stored value outside its list of choices becomes the list's first choice.
    void ReadSkin(TStoredTextList& store, bool skinFile);
    // Replaces the skin's sections with the whole of SkinOptions, whatever the load mode;
    // to the program's own option file also LastSkinName and the settings for all skins.
    void WriteSkin(TStoredTextList& store, bool skinFile);

    // The program's own option file.
    void ReadSkin(TStoredTextList& store) override;
    void WriteSkin(TStoredTextList& store) override;
    // The settings for all skins, as their controls hold them (0 for a list without a number).
    int32_t GetBackPictureMinStretchSize() override;
    int32_t GetStretchBackPictureMaxSkew() override;
    bool AcceptsBackPictureAutochange() override;
    void SetOnSkinChanged(std::function<void()> handler) override;

    // A path without an extension gets ".qms". A failure is shown by the store; what was
    // read is kept all the same, and OnSkinChanged follows either way.
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
    // Called after each change the form applies to the skin; set by the main window.
    std::function<void()> OnSkinChanged;

    // The settings for all skins: in pixels, the size below which a picture is not
    // stretched; in percent, the aspect skew up to which it is; whether a picture
    // announced by the wallpaper program is taken over.
    QComboBox* BackPictureMinStretchSizeComboBox = nullptr;
    QComboBox* StretchBackPictureMaxSkewComboBox = nullptr;
    QCheckBox* AcceptBackPictureAutochangeCheckBox = nullptr;
};

// Created with the other dialogs at start-up, before the option file is read.
extern TSkinForm* SkinForm;
