#pragma once

#include <QDialog>

#include <string>

class QLabel;
class QPushButton;

// "About": the program's name and version, a few words about it, and buttons that open
// its web pages. One instance lives for the whole run.
class TAboutForm : public QDialog
{
public:
    explicit TAboutForm(QWidget* owner = nullptr);
    ~TAboutForm() override;
    TAboutForm(const TAboutForm&) = delete;
    TAboutForm& operator=(const TAboutForm&) = delete;

    // Shows the form modally; a failure is shown.
    void Dialog();
    void SetLabels(const std::string& programName, const std::string& versionText);
    // Opens the button's address in the browser; a failure is shown.
    void VisitMySiteButtonClick();
    void ContactMeButtonClick();

    // The pages the link buttons open; a button without an address is disabled. The
    // program has no pages yet.
    std::string SiteAddress;
    std::string ContactAddress;

    QLabel* ProgramNameLabel = nullptr;
    QLabel* ProgramVersionLabel = nullptr;
    QLabel* AboutLabel = nullptr;
    QPushButton* VisitMySiteButton = nullptr;
    QPushButton* ContactMeButton = nullptr;
    QPushButton* OkayButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildForm();
};

extern TAboutForm* AboutForm;
