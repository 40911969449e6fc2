#pragma once

#include <QDialog>

#include <string>

class QComboBox;
class QGroupBox;
class QPushButton;
class TColumn;

// "Select" / "Deselect": selects or deselects every file of a column whose name (in a
// container column, whose full path) matches a wildcard filter. The filter and its
// history stay between calls. One instance lives for the whole run.
class TSelectionForm : public QDialog
{
public:
    explicit TSelectionForm(QWidget* owner = nullptr);
    ~TSelectionForm() override;

    // Shows the dialog for the column in select or deselect mode. True when it closed with
    // the Okay result.
    bool Dialog(TColumn& column, bool select);
    // Applies the filter to the column; a failure is shown.
    void Do();

    // The form's handlers, for the window and for tests.
    void OkayButtonClick();
    void UseActiveFileExtButtonClick();
    void HelpButtonClick();
    void FormActivate();

    QGroupBox* FileNameFilterGroupBox = nullptr;
    QComboBox* FileNameFilterComboBox = nullptr;
    QPushButton* UseActiveFileExtButton = nullptr;
    QPushButton* OkayButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* HelpButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildForm();
    bool IsFilterValid() const;
    // Selects or deselects the matching files; the number of matches.
    int32_t ApplyFilter(const std::string& filter);

    TColumn* Column = nullptr;
    bool SelectMode = true;
    // The active file's extension with its dot, or empty.
    std::string ActiveExtension;
};

extern TSelectionForm* SelectionForm;
