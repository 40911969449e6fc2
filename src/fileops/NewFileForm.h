#pragma once

#include "columns/FileDialogServices.h"

#include <QDialog>

#include <string>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QShowEvent;

// Asks for the name of a new directory, file or file stream in a folder. It creates a
// directory or an empty file itself; for a stream it only builds the name. One instance
// lives for the whole run.
class TNewFileForm : public QDialog
{
public:
    explicit TNewFileForm(QWidget* owner = nullptr);
    ~TNewFileForm() override;

    // True when it closed with the Okay result; EnteredName then holds the full path.
    bool Dialog(const std::string& folder, TNewFileKind kind);
    // Validates the typed name and creates the item; false only for an invalid name,
    // which keeps the dialog open. Its failures are shown here.
    bool Do();

    // "directory", "file", "file stream", or "" for another value.
    static std::string KindText(TNewFileKind kind);
    // The typed name as it is created: a file or stream without a "." gets ".txt", and
    // the final dots and blanks go, so "notes." has no extension. Throws on an empty
    // file or stream name.
    static std::string BuildName(const std::string& typed, TNewFileKind kind);

    // The form's handlers, for the window and for tests.
    void NewButtonClick();
    void NewPrefixByCurrentButtonClick();
    void FormActivate();

    // The folder with a backslash and the built name; empty until Do built it.
    std::string EnteredName;

    QGroupBox* NewFileNameGroupBox = nullptr;
    QLineEdit* NewFileNameEdit = nullptr;
    QPushButton* NewPrefixByCurrentButton = nullptr;
    QPushButton* NewButton = nullptr;
    QPushButton* CancelButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildForm();
    void Create();

    std::string Folder;
    TNewFileKind Kind = nfkFile;
};

// Made at start-up; lives for the whole run.
extern TNewFileForm* NewFileForm;
