#pragma once

#include <QDialog>

#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class TColumn;
class TStoredTextList;

// "Locate file": moves a column's focus to the next or previous item whose name matches a
// wildcard filter, or to the item at a position. The prepared filter stays in the form, so
// the columns' locate-next and locate-previous commands repeat the last search without
// the dialog. One instance lives for the whole run.
class TLocateFileForm : public QDialog
{
public:
    explicit TLocateFileForm(QWidget* owner = nullptr);
    ~TLocateFileForm() override;

    // Shows the dialog for the column; a column without items shows nothing. True when it
    // closed with the Okay result, or when nothing was shown.
    bool Dialog(TColumn& column);
    // Locates by name (forward or backward) or by index; true when an item was focused.
    bool Do(bool byName, bool forward);
    // The searches from the column's focus; an invalid filter opens the dialog instead.
    bool LocateNext(TColumn& column);
    bool LocatePrevious(TColumn& column);

    bool IsFilterValid() const;
    // The filter box's text as the wildcard list the searches use, kept in the form.
    void PrepareFilter();
    bool MatchesName(const std::string& path) const;
    const std::string& GetPreparedFilter() const { return PreparedFilter; }

    // The section "LocateFile" of the text option file.
    void OnLoadOptionsSTL(TStoredTextList& store);
    void OnSaveOptionsSTL(TStoredTextList& store) const;

    // The form's handlers, for the window and for tests.
    void LocateNextByNameButtonClick();
    void LocatePreviousByNameButtonClick();
    void LocateByIndexButtonClick();
    void NewPrefixByCurrentButtonClick();
    void FormActivate();

    QGroupBox* FileNameFilterGroupBox = nullptr;
    QComboBox* FileNameFilterComboBox = nullptr;
    QCheckBox* LocateSimilarCheckBox = nullptr;
    QPushButton* NewPrefixByCurrentButton = nullptr;
    QPushButton* LocateNextByNameButton = nullptr;
    QPushButton* LocatePreviousByNameButton = nullptr;
    QPushButton* LocateByIndexButton = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildForm();
    // Focuses the first match after (step 1) or before (step -1) the focused item; false
    // with the message when there is none.
    bool LocateFrom(TColumn& column, int32_t step);
    bool LocateByIndex();

    TColumn* Column = nullptr;
    std::string PreparedFilter;
};

extern TLocateFileForm* LocateFileForm;
