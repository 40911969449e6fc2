#pragma once

#include <QDialog>

#include <array>
#include <string>
#include <vector>

class QCheckBox;
class QPushButton;
class QStackedWidget;

// The "Configuration and help wizard": eighteen pages about the main window, some with a
// check box that asks for one layout option to be switched on (or one feature off). The
// wizard changes nothing itself: its caller applies the checked boxes.
class TWizardForm : public QDialog
{
public:
    static constexpr int PageCount = 18;

    explicit TWizardForm(QWidget* owner = nullptr);
    ~TWizardForm() override;
    TWizardForm(const TWizardForm&) = delete;
    TWizardForm& operator=(const TWizardForm&) = delete;

    // The neighbouring page; nothing past "Finish" or before "Start".
    void NextStep();
    void PreviousStep();
    void ShowPage(int index);
    int CurrentPage() const;
    std::string CurrentPageTitle() const;
    // The names of the checked boxes, in page order.
    std::vector<std::string> CheckedBoxes() const;

    int HelpContext = 0;
    QStackedWidget* Pages = nullptr;
    std::array<QPushButton*, PageCount> PageButtons{};
    QPushButton* PreviousButton = nullptr;
    QPushButton* NextButton = nullptr;
    QPushButton* OkayButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* HelpButton = nullptr;
    // Named after their options ("HideHintBarCheckBox", ...), in page order.
    std::vector<QCheckBox*> CheckBoxes;

private:
    void BuildPages();
    void BuildButtons();
};

// Exists only while a wizard is open, or after Okay until its caller frees it.
extern TWizardForm* WizardForm;

// Makes a new wizard (every box clear, on "Start") and shows it modally. On Okay gives
// the names of the checked boxes and frees the wizard; true. Otherwise frees it; false.
// Failures are recorded in the trace context, not shown.
bool WizardFormDialog(int helpContext, std::vector<std::string>& checkedBoxes);
