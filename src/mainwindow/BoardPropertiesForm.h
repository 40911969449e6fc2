#pragma once

#include <QDialog>

#include <string>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

// "Board properties": the name and the shortcut of the active board. The caller fills the
// shortcut choices before Dialog and reads both boxes after it.
class TBoardPropertiesForm : public QDialog
{
public:
    static constexpr int mrOkay = 1;
    static constexpr int mrCancel = 2;
    static constexpr int MaxNameLength = 31;

    explicit TBoardPropertiesForm(QWidget* owner = nullptr);
    ~TBoardPropertiesForm() override;

    // Shows the name and selects the shortcut (else the first choice); true on "Okay".
    bool Dialog(const std::string& name, const std::string& shortcut);
    void FormActivate();
    // Enter clicks "Okay", Escape cancels; true when the key was one of them and is used up.
    bool NameComboBoxKeyPress(int key);

    QFrame* MainPanel = nullptr;
    QLabel* NameLabel = nullptr;
    // Its drop-down keeps the names given during the run, the latest first.
    QComboBox* NameComboBox = nullptr;
    QLabel* ShortcutLabel = nullptr;
    QComboBox* ShortcutComboBox = nullptr;
    QPushButton* OkayButton = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildControls();
};

// Made at start-up, or by the first "Edit board properties".
extern TBoardPropertiesForm* BoardPropertiesForm;
