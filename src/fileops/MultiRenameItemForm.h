#pragma once

#include "core/forms/FormPlacement.h"

#include <QDialog>

#include <cstdint>
#include <string>
#include <vector>

class QCheckBox;
class QCloseEvent;
class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;
class TColumn;
class TContainer;
class TStoredTextList;

// "Multi-rename": renames the selected items of a column by one pattern (an optional
// replace, then prefix + counter + suffix + optionally the old name + extension), either
// the files on disk, whose container entries follow each file that was renamed, or only
// the paths a container holds. The left list shows the current titles, the right list the
// new ones after a preview. One instance lives for the whole run.
class TMultiRenameItemForm : public QDialog
{
public:
    static constexpr int MinWidth = 780;
    static constexpr int MinHeight = 520;

    explicit TMultiRenameItemForm(QWidget* owner = nullptr);
    ~TMultiRenameItemForm() override;

    // Shows the dialog for the column's selected items (or its active item), renaming the
    // files when `renameFiles` is set, else the container's entries. True when it closed
    // after a rename. Failures are shown here.
    bool Dialog(TColumn& column, TContainer* container, bool renameFiles);
    // Computes the new titles into the right list; true when every item got one. Traced.
    bool Preview();
    // Applies the previewed titles. Traced.
    void Rename();

    // The section "MultiRename" of the text option file.
    void OnLoadOptionsSTL(TStoredTextList& store);
    void OnSaveOptionsSTL(TStoredTextList& store) const;

    void PreviewButtonClick();
    void RenameButtonClick();
    void CancelButtonClick();
    bool IsRenaming() const { return Renaming; }

    QWidget* FileOptionsPanel = nullptr;
    QLineEdit* NewNamePrefixEdit = nullptr;
    QLineEdit* NewNameSuffixEdit = nullptr;
    QLineEdit* NewNameExtensionEdit = nullptr;
    QComboBox* CounterDigitsComboBox = nullptr;
    QComboBox* CounterStartValueComboBox = nullptr;
    QComboBox* CounterStepValueComboBox = nullptr;
    QCheckBox* NewNameAppendOriginalNameCheckBox = nullptr;
    QCheckBox* NewNameCutOriginalPrefixCheckBox = nullptr;
    QWidget* ContainerItemsOptionsPanel = nullptr;
    QLineEdit* OriginalTextEdit = nullptr;
    QLineEdit* NewTextEdit = nullptr;
    QListWidget* OriginalListBox = nullptr;
    QListWidget* NewListBox = nullptr;
    QPushButton* PreviewButton = nullptr;
    QPushButton* RenameButton = nullptr;
    QPushButton* CancelButton = nullptr;

    // Set by the overwrite dialog's Abort during a rename.
    bool Stop = false;
    bool RenameFiles = false;
    // Both belong to the last preview.
    bool ContainerMode = false;
    bool ReplaceText = false;
    TColumn* Column = nullptr;
    TContainer* Container = nullptr;

    // While files are renamed, Esc and the close box do nothing.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // One listed item of the column: its index, and whether it is a directory, whose
    // name keeps its prefix.
    struct TListedItem
    {
        int32_t Index = -1;
        bool Directory = false;
    };

    void BuildControls();
    void ListItems(TColumn& column);
    void EnableInputs(bool enabled);
    // A failure ends the batch; the files before it stay renamed.
    void RenameListedFiles();
    void RenameContainerEntries();
    void RenameEntry(size_t item, const std::string& newTitle);

    TKeptPlacement Placement;

    std::vector<TListedItem> Listed;
    bool Renaming = false;
};

// Made at start-up after the steganography dialog; lives for the whole run.
extern TMultiRenameItemForm* MultiRenameItemForm;
