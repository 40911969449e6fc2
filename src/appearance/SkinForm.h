#pragma once

#include "mainwindow/SkinEditorServices.h"

#include "core/settings/StoredTextList.h"

#include <QDialog>
#include <QPoint>
#include <QPointer>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QMenu;
class QMimeData;
class QPushButton;
class QTabWidget;
class TColorPanel;
class TMainForm;

// What applying a skin does to the main window.
class TSkinWindow
{
public:
    virtual ~TSkinWindow() = default;
    // Rebuilds the background picture from the skin's picture file.
    virtual void SetupBackPicture(const std::string& fileTitle) = 0;
    // Lays the window out again, keeping the lists, and focuses the active column.
    virtual void Relayout() = 0;
    virtual void FocusColumn() = 0;
};

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
    // Rebuilds the menu of the Skins folder's skin files under its own commands and pops
    // it up below the button. Shows its own failure.
    void ShowMenu(MyTPanel& button, bool fullLoad) override;

    // Sets the controls from the skin and shows the editor modally.
    void Dialog();
    // Asks for a name and saves the whole skin there.
    void SaveAs();
    // Every field of the skin back to its default, whatever the load mode.
    void SetDefaultSkin();
    // Shows the skin on the main window; the picture is rebuilt only when asked.
    void ApplySkin(bool reloadPicture);
    // Copies the controls into the skin, and the reverse; the settings for all skins live
    // only in their controls and are not touched.
    void ReadControls();
    void SetControls();
    // Asks for the background picture, starting from the skin's (or, with defaultFolder,
    // the BackPictures folder), and shows it.
    void LoadPicture(bool defaultFolder);

    // A path without an extension gets ".qms". A failure is shown by the store; what was
    // read is kept all the same, and the skin is applied and OnSkinChanged follows either
    // way.
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

    // Where applied skins show: the owner when it is the main window.
    TSkinWindow* Window = nullptr;
    QPointer<QMenu> SkinsMenu;
    TColorPanel* ActiveColorPanel = nullptr;

    QTabWidget* PageControl = nullptr;
    QComboBox* ToolbarButtonsStyleComboBox = nullptr;
    QComboBox* NonOvalButtonsStyleComboBox = nullptr;
    QAbstractButton* HintPanelAsWindowSpeedButton = nullptr;
    QAbstractButton* UseBackPictureSpeedButton = nullptr;
    QPushButton* ChangeBackPictureButton = nullptr;
    QPushButton* ViewBackPictureButton = nullptr;
    QAbstractButton* StretchBackPictureSpeedButton = nullptr;
    QAbstractButton* FitBeforeTileBackPictureSpeedButton = nullptr;
    QPushButton* ClearColorRotateValuesButton = nullptr;
    QPushButton* RecommendColorRotateButton = nullptr;
    QPushButton* OkayButton = nullptr;
    // In the order of SkinPictureNumberFields, SkinTranslucencyFields and SkinColorFields;
    // each is named after its field.
    std::array<QComboBox*, 5> PictureNumberComboBoxes{};
    std::array<QComboBox*, 13> TranslucencyComboBoxes{};
    std::array<TColorPanel*, 48> ColorPanels{};

    // What a swatch carries when dragged onto another swatch of this dialog.
    QMimeData* ColorPanelDragData(TColorPanel& panel) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildGeneralPage();
    void BuildBackPicturePage();
    void BuildTranslucencyPage();
    void BuildColorPages();
    TColorPanel* MakeColorPanel(QWidget& page, size_t index);
    // Reactions of the controls.
    void PictureControlChanged();
    void LookControlChanged();
    void ClearColorRotateValues();
    void RecommendColorRotate();
    void ColorPanelMouseDown(TColorPanel& panel, Qt::MouseButton button);
    void ColorPanelChanged(TColorPanel& panel);
    bool ColorPanelDropped(TColorPanel& target, const QMimeData& data);
    void StartColorDrag(TColorPanel& panel);
    TColorPanel* DraggedColorPanel(const QMimeData& data) const;
    void AddMenuCommands(QMenu& menu);

    std::unique_ptr<TSkinWindow> OwnWindow;
    // Where the left button went down on a swatch, for the drag threshold.
    TColorPanel* PressedColorPanel = nullptr;
    QPoint PressPosition;
};

// Created with the other dialogs at start-up, before the option file is read.
extern TSkinForm* SkinForm;
