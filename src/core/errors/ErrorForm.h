#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The dialog through which every failure reaches the user: a message above the report,
// with Okay, Okay (no errors), Cancel, Terminate, Log and Help.
class TErrorForm : public QDialog
{
public:
    // Modal results of the three closing buttons.
    static constexpr int mrOkay = 1;
    static constexpr int mrCancel = 2;
    static constexpr int mrOkayNoErrors = 6;

    explicit TErrorForm(QWidget* owner = nullptr);

    // Shows a report; true for Okay and Okay (no errors). A report arriving while the
    // dialog is open is only counted, and answers true.
    bool Display(const std::string& caption, const std::string& message, const std::string& report,
                 bool* noMoreErrors = nullptr);
    // Appends the memo to "Errors.log" beside the program, emptying the log first once
    // it has grown past 10000 bytes.
    bool AppendLog();

    // The memo's text as reported, lines kept apart by CR LF.
    const std::string& MemoText() const { return Memo; }

    void TerminateButtonClick();
    void LogButtonClick();
    void HelpButtonClick();

    QPlainTextEdit* MainMemo = nullptr;
    QLabel* RecursionLabel = nullptr;
    QPushButton* OkayButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* OkayNoErrorsButton = nullptr;
    QPushButton* TerminateButton = nullptr;
    QPushButton* LogButton = nullptr;
    QPushButton* HelpButton = nullptr;
    int32_t RecursionCount = 0;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildControls();
    std::string Memo;
};

extern TErrorForm* ErrorForm;

// The path of the error log: "Errors.log" in the program's folder.
std::string GetErrorLogPath();
