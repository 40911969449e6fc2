#pragma once

#include <QDialog>

#include <string>

class QComboBox;
class QLabel;
class QPushButton;

// "Run program": runs a typed program with typed parameters, both with the column
// launcher's placeholders, against the column's active file, as many times as wanted. The
// dialog stays open after each run. Both boxes keep their texts and histories for the
// whole run of the process.
class TManualRunForm : public QDialog
{
public:
    explicit TManualRunForm(QWidget* owner = nullptr);
    ~TManualRunForm() override;

    // `source` is the file the placeholders stand for.
    void Dialog(const std::string& source);
    void Do();

    void RunButtonClick();
    void RunNoParamButtonClick();
    // Enter in either box; true when the key was used up.
    bool ComboBoxKeyPress(int key);
    void ClearProgramTitleButtonClick();
    void ClearParamTitleButtonClick();
    void ProgramInsertTitleButtonClick();
    void ParamInsertTitleButtonClick();
    void ProgramInsertNameButtonClick();
    void ParamInsertNameButtonClick();
    void HelpButtonClick();
    void FormActivate();

    QComboBox* ProgramTitleComboBox = nullptr;
    QPushButton* ClearProgramTitleButton = nullptr;
    QPushButton* ProgramInsertTitleButton = nullptr;
    QPushButton* ProgramInsertNameButton = nullptr;
    QComboBox* ParametersComboBox = nullptr;
    QPushButton* ClearParamTitleButton = nullptr;
    QPushButton* ParamInsertTitleButton = nullptr;
    QPushButton* ParamInsertNameButton = nullptr;
    QLabel* WorkingPathLabel = nullptr;
    QPushButton* RunButton = nullptr;
    QPushButton* RunNoParamButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* HelpButton = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    QComboBox* AddBoxGroup(const char* caption, int top, const char* hint, QPushButton*& clearButton,
                           QPushButton*& insertTitleButton, QPushButton*& insertNameButton);
    std::string Expand(const QComboBox& comboBox) const;

    std::string SourcePath;
    bool WithParameters = true;
};

// Made at start-up after the search dialog; lives for the whole run.
extern TManualRunForm* ManualRunForm;
