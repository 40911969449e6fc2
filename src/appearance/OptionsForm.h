#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
struct TOptionControl;

// "Program options": edits the program options, the active board's tree-panel flag and
// the file viewer's settings on seven pages. Nothing changes while it is open; Okay takes
// every value back, Cancel none. One instance lives for the whole run.
class TOptionsForm : public QDialog
{
public:
    explicit TOptionsForm(QWidget* owner = nullptr);
    ~TOptionsForm() override;
    TOptionsForm(const TOptionsForm&) = delete;
    TOptionsForm& operator=(const TOptionsForm&) = delete;

    // Shows the current values; true when the dialog closed with Okay. A failure is shown.
    bool Dialog();
    // Fills the font lists with the screen's fonts, then shows every value.
    void SetControls();
    // On Okay takes every value back; whatever the result, empties the font lists.
    void FormClose(int result);

    // Leaving a list of normalized thumb sizes checks its number.
    void NormalizeThumbToComboBoxExit(QComboBox& comboBox);
    // "Load" and "Info" of a plug-in panel, 0 to 2.
    void PictureViewerPluginNameButtonClick(int32_t panel);
    void PictureViewerPluginInfoButtonClick(int32_t panel);
    void HelpButtonClick();

    // The control of the row with that name ("ShowGridCheckBox"), or null.
    QWidget* Control(const std::string& name) const;

    QTabWidget* PageControl = nullptr;
    QPushButton* OkayButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* HelpButton = nullptr;
    std::array<QPushButton*, 3> PluginLoadButtons{};
    std::array<QPushButton*, 3> PluginInfoButtons{};

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildForm();
    void MakeControls();
    void BuildPages();
    QWidget* BuildMouseMenuPage();
    QWidget* BuildPluginsPage();
    void FitToContents();
    void FillFontLists();
    void EmptyFontLists();
    QLineEdit& PluginNameEdit(int32_t panel) const;

    // One control for each row of OptionControls(), in its order.
    std::vector<QWidget*> Controls;
};

// Made at the first "Options" command (TAppearanceDialogs), owned by the main window.
extern TOptionsForm* OptionsForm;
