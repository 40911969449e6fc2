#pragma once

#include <QDialog>

#include <string>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TMainForm;
class TStoredTextList;

// Random passwords and the iterated SHA-1 of a typed text; with a file, the file's SHA-1
// checked against a pasted hash. What the edit box held is overwritten whenever it goes.
class TPasswordGeneratorForm : public QDialog
{
public:
    static constexpr int mrCancel = 2;

    explicit TPasswordGeneratorForm(QWidget* parent = nullptr);
    ~TPasswordGeneratorForm() override;

    // Plugs the "PasswordGenerator" section into the window's option file.
    void PlugOptions(TMainForm& window);
    void OnLoadOptionsSTL(TStoredTextList& store);
    void OnSaveOptionsSTL(TStoredTextList& store);

    // An empty path opens the password generator, a file path the file hash.
    void Dialog(const std::string& path);
    // "Generate &10", "&20" and "&40": mode 1, 2 and 0.
    void GeneratePassword(int mode);
    // "Generate &hash".
    void GenerateHash();
    // "&Cancel" and the close box; a file being hashed stops at its next block and the
    // dialog closes once the hash has ended.
    void Cancel();

    // The file to hash; empty in password-generator mode.
    std::string FilePath;
    bool Cancelled = false;

    QGroupBox* PasswordGroupBox = nullptr;
    QLineEdit* PasswordEdit = nullptr;
    QLabel* HintLabel = nullptr;
    QPushButton* Generate10Button = nullptr;
    QPushButton* Generate20Button = nullptr;
    QPushButton* Generate40Button = nullptr;
    QPushButton* GenerateHashButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* HelpButton = nullptr;
    QComboBox* HashAlgorithmComboBox = nullptr;
    QComboBox* HashIterationsComboBox = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void HashTheFile();
    void FocusEdit();
    std::string ModeCaption() const;

    bool Hashing = false;
    bool CloseAfterHash = false;
};

extern TPasswordGeneratorForm* PasswordGeneratorForm;
