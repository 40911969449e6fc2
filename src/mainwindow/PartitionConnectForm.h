#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The drive letters the user gives to host folders. Each is kept in the registry store
// under "Software\Quillomber\Drives" (value name: the letter; text: the host folder), so
// that it is mapped again at the next start. "C:" and the letters of mounted media are
// never given or taken.

// D: to Z: that no folder has.
std::vector<char> GetFreePartitionLetters();
// The recorded letters that are unmapped or still mapped to their recorded folder.
std::vector<char> GetConnectedPartitionLetters();
// Maps the letter to the absolute host folder and records it. False, with nothing
// mapped or recorded, when the folder does not exist or the letter is not free. Traced:
// a store that cannot be written is a failure, though the letter stays mapped for the run.
bool ConnectPartition(char letter, const std::string& hostFolder);
// Unmaps the letter when it still stands for its recorded folder, and forgets it. Traced.
void DisconnectPartition(char letter);
// At start-up, after the mounted media took their letters: maps every recorded letter
// that is still free to its folder when the folder exists.
void RestoreConnectedPartitions();

// "Connect partition" (a free letter and a host folder) or "Disconnect partition" (a
// recorded letter).
class TPartitionConnectForm : public QDialog
{
public:
    static constexpr int mrOkay = 1;
    static constexpr int mrCancel = 2;

    explicit TPartitionConnectForm(bool connectMode, QWidget* owner = nullptr);

    // Offers the letters and runs the dialog; true when a letter was connected or
    // disconnected.
    bool Dialog();
    // Connects or disconnects the chosen letter and closes the dialog; a missing or
    // relative folder is refused with a warning and the dialog stays open.
    void OkayButtonClick();

    QComboBox* LetterComboBox = nullptr;
    QLineEdit* FolderEdit = nullptr;
    QPushButton* OkayButton = nullptr;
    QPushButton* CancelButton = nullptr;

private:
    bool Connect;
    char ChosenLetter() const;
};
