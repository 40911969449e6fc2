#pragma once

#include <QWidget>

#include <string>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The program's installer and uninstaller, its main form in installer mode. Started from a
// package folder as "Install", it copies that folder into a folder of the user's choice,
// names the program "quillomber", adds desktop entries (on the desktop and in the
// applications menu) and an uninstall entry, records what it placed in the folder
// (InstallRecord.h), and starts the installed program. Started with "/Uninstall", it
// deletes what the record names (the folder only when that leaves it empty), its
// entries and its uninstall entry.
class TInstallForm : public QWidget
{
public:
    // The installed program's file name, replacing the package's "Install".
    static constexpr const char* ProgramFileName = "quillomber";

    TInstallForm();

    // Fills the texts of the install or (with "/Uninstall") the uninstall mode.
    void Setup(const std::string& name, const std::string& description, const std::string& version);
    // "&Install" / "Un&install": runs Do, then closes the form, whatever the outcome.
    void InstallButtonClick();
    void BrowseButtonClick();
    // Installs or uninstalls as the first argument says; an empty folder is only warned of.
    void Do();
    void Install();
    void Uninstall();

    std::string ProgramName;

    QLabel* MainPanel = nullptr;
    QLabel* DescriptionLabel = nullptr;
    QLabel* VersionLabel = nullptr;
    QLabel* InstructionsLabel = nullptr;
    QPlainTextEdit* ReadmeMemo = nullptr;
    QLabel* InstallToLabel = nullptr;
    QLineEdit* InstallToEdit = nullptr;
    QPushButton* BrowseButton = nullptr;
    QPushButton* InstallButton = nullptr;
    QPushButton* CancelButton = nullptr;

private:
    void BuildControls();
    void LoadReadme();
    // The desktop entries of the installed program in `target`, named after the package
    // folder; an entry that cannot be written is left out without a word.
    void SaveDesktopEntries(const std::string& target, const std::string& folderName);
    // The entries SaveDesktopEntries put in the applications menu, and their folder when
    // nothing else is in it.
    void DeleteMenuEntries(const std::string& folderName);
};

// Exists in installer mode only.
extern TInstallForm* InstallForm;
