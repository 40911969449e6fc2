#pragma once

#include <QDialog>

#include <cstdint>
#include <string>

class QComboBox;
class QLabel;
class QPushButton;
class TColumn;
class TContainer;

// Renames the focused item of a column, and walks up and down the column's list with the
// arrow keys, renaming one item after another without closing. In a container column it
// renames the file and its entry, or in the container-item mode the entry alone. The list
// is not reloaded while the dialog is open: the caller reloads the column afterwards.
class TRenameForm : public QDialog
{
public:
    explicit TRenameForm(QWidget* owner = nullptr);
    ~TRenameForm() override;

    // True when any rename went ahead while the dialog was open.
    bool Dialog(TColumn& column, bool itemMode, TContainer* container);
    // Renames the current item to the typed name: false when the name is refused or the
    // rename failed, true otherwise (also when there was nothing to do).
    bool Do();

    void RenameButtonClick();
    // The name box's own keys; true when the key was used up.
    bool NameComboBoxKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void NewPrefixByCurrentButtonClick();
    void NewPrefixByCreationButtonClick();
    void FormActivate();

    QLabel* PathLabel = nullptr;
    QComboBox* NameComboBox = nullptr;
    QPushButton* NewPrefixByCurrentButton = nullptr;
    QPushButton* NewPrefixByCreationButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* RenameButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    void LoadItem();
    // Renames the current item, then moves by `step`; past either end the dialog closes
    // with Okay.
    void WalkBy(int32_t step);
    bool RenameItem(const std::string& target, bool overwrite);
    // The overwrite question for a target that is another file: false to leave the item.
    bool ConfirmOverwrite(const std::string& target, bool& overwrite) const;

    TColumn* Column = nullptr;
    TContainer* Container = nullptr;
    int32_t Index = 0;
    std::string ItemPath;
    bool ItemMode = false;
    bool Changed = false;
};

// Made at start-up after the overwrite dialog; lives for the whole run.
extern TRenameForm* RenameForm;
