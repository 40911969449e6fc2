#pragma once

#include <QDialog>

#include <string>

class QComboBox;
class QLabel;
class QPushButton;
class QShowEvent;

// Copies, moves or hard-links one file into a folder under a name the user types or
// builds from time stamps. One instance lives for the whole run.
class TCopyAsForm : public QDialog
{
public:
    explicit TCopyAsForm(QWidget* owner = nullptr);
    ~TCopyAsForm() override;

    // `activeName` is the name the caller proposes; the last-numbered mode starts with it.
    // A hard link is never last numbered. True when the dialog closed with the Okay result.
    bool Dialog(const std::string& source, const std::string& destinationFolder, const std::string& activeName,
                bool hardLink, bool move, bool lastNumbered);
    // Validates the typed name and does the work; false only for an invalid name, which
    // keeps the dialog open. Its failures are shown here.
    bool Do();

    // The form's handlers, for the window and for tests.
    void CopyButtonClick();
    void UseActiveFileNameButtonClick();
    void NewPrefixByCurrentButtonClick();
    void NewPrefixByCreationButtonClick();
    void FormActivate();

    std::string TypedName() const;

    QComboBox* NameComboBox = nullptr;
    QPushButton* UseActiveFileNameButton = nullptr;
    QPushButton* NewPrefixByCurrentButton = nullptr;
    QPushButton* NewPrefixByCreationButton = nullptr;
    QLabel* PathsLabel = nullptr;
    QPushButton* CopyButton = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildForm();
    void PutPrefix(const std::string& stamp);
    void Perform(const std::string& name);
    void CopyOrMove(const std::string& target, bool overwrite);

    std::string SourcePath;
    std::string DestinationFolder;
    std::string ActiveName;
    bool HardLink = false;
    bool Move = false;
    bool LastNumbered = false;
};

// Links `newName` to the file `existing`. An existing `newName` is replaced only when
// `overwrite` is set, and never lost on the way: the link is made under a temporary name
// beside it and renamed over it, and on a failure the temporary name goes again. The two
// must not already name one file. Traced: "Failed to copy as hard-link." with the
// system's code.
void CreateHardLinkOver(const std::string& existing, const std::string& newName, bool overwrite);

// Made at start-up; lives for the whole run.
extern TCopyAsForm* CopyAsForm;
