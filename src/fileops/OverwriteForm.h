#pragma once

#include "core/files/FileInfo.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class QGroupBox;
class QLabel;
class QPushButton;

// The remembered answer to an overwrite conflict: what the next conflict gets without
// asking (Abort, SkipAll, OverAll, OverAllOlder) or that it is asked again (SkipThis,
// OverThis).
enum TOverwriteChoice : int32_t
{
    ocAbort = 0,
    ocSkipThis = 1,
    ocSkipAll = 2,
    ocOverThis = 3,
    ocOverAll = 4,
    ocOverAllOlder = 5
};

// One conflict as the user is asked about it.
struct TOverwriteConflict
{
    std::string Source;
    std::string Destination;
    TFileInfo SourceInfo;
    TFileInfo DestinationInfo;
    bool SourceNewer = false;
};

// What a conflict's decision tells its caller.
struct TOverwriteOutcome
{
    // Go on with this file, writing over the destination only when Overwrite is set.
    bool Proceed = false;
    // The user chose "&Abort" in this very call.
    bool Abort = false;
    bool Overwrite = false;
    // Set only once both files were looked at.
    bool DestinationExists = false;
    bool SourceNewer = true;
};

// Asks the user about a conflict: the answer given, or none when the window was closed
// without one.
using TOverwriteAsker = std::function<std::optional<TOverwriteChoice>(const TOverwriteConflict&)>;

// The remembered answer and the decision it makes, apart from any window.
class TOverwriteDecision
{
public:
    void Reset() { Remembered = ocSkipThis; }
    void Set(TOverwriteChoice choice) { Remembered = choice; }
    TOverwriteChoice Choice() const { return Remembered; }

    // Decides the conflict of copying `source` to `destination`, asking only when the
    // remembered answer leaves it open. An answer given is remembered; a window closed
    // without one skips this file and keeps the remembered answer. Traced: a file whose
    // information cannot be loaded fails, and the outcome then refuses this file; a
    // missing destination is no failure. `sourceEntry` and `destinationEntry`, when given,
    // are the files' entries as a listing already gave them, so neither is looked up again.
    TOverwriteOutcome Decide(const std::string& source, const std::string& destination, const TOverwriteAsker& ask,
                             const host::FindData* sourceEntry = nullptr,
                             const host::FindData* destinationEntry = nullptr);

    // Whether the source counts as newer than the destination: by size when exactly one
    // of them is empty, else by modification time, then by size, then by the source
    // alone being encrypted.
    static bool IsSourceNewer(const TFileInfo& source, const TFileInfo& destination);

private:
    TOverwriteOutcome DecideExisting(TOverwriteConflict& conflict, const TOverwriteAsker& ask);

    // Callers reset it before their first conflict.
    TOverwriteChoice Remembered = ocAbort;
};

// "Overwrite destination with source ?": the two files side by side and the six answers.
class TOverwriteForm : public QDialog
{
public:
    // The modal result of an answer button; closing the window gives QDialog::Rejected.
    static constexpr int ModalResultOf(TOverwriteChoice choice) { return FirstAnswerResult + choice; }

    explicit TOverwriteForm(QWidget* owner = nullptr);
    ~TOverwriteForm() override;

    // The remembered answer becomes SkipThis: every batch starts by asking.
    void ResetChoice();
    void SetChoice(TOverwriteChoice choice);
    TOverwriteChoice Choice() const;
    // True: go on with this file, replacing the destination only when `overwrite` is set.
    // `abort` is set only when the user chose "&Abort" in this call. A failure is shown
    // as "Failed to confirm overwrite." and refuses this file; the caller's outcome stays
    // a success, so it goes on with its next file. `sourceEntry` and `destinationEntry` as
    // for Decide.
    bool Dialog(const std::string& source, const std::string& destination, bool& abort, bool& overwrite,
                bool* destinationExists = nullptr, bool* sourceNewer = nullptr,
                const host::FindData* sourceEntry = nullptr, const host::FindData* destinationEntry = nullptr);
    static bool IsSourceNewer(const TFileInfo& source, const TFileInfo& destination);

    // Closes the dialog with the answer, which the decision then remembers.
    void AnswerButtonClick(TOverwriteChoice choice);
    void HelpButtonClick();
    void FormActivate();

    // The two sides: their group box, then the value labels of Directory, File, Size,
    // Date and Clock.
    struct TSide
    {
        QGroupBox* GroupBox = nullptr;
        QLabel* DirectoryLabel = nullptr;
        QLabel* FileLabel = nullptr;
        QLabel* SizeLabel = nullptr;
        QLabel* DateLabel = nullptr;
        QLabel* ClockLabel = nullptr;
    };
    TSide SourceSide;
    TSide DestSide;
    QPushButton* OverwriteThisButton = nullptr;
    QPushButton* OverwriteAllButton = nullptr;
    QPushButton* OverwriteAllOlderButton = nullptr;
    QPushButton* SkipThisButton = nullptr;
    QPushButton* SkipAllButton = nullptr;
    QPushButton* AbortButton = nullptr;
    QPushButton* HelpButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    // Escape chooses "Ski&p this".
    void keyPressEvent(QKeyEvent* event) override;

private:
    static constexpr int FirstAnswerResult = 10;

    void BuildControls();
    TSide BuildSide(int left, const char* caption);
    QPushButton* AddAnswerButton(const char* caption, const QRect& place, TOverwriteChoice choice);
    void ShowConflict(const TOverwriteConflict& conflict);
    std::optional<TOverwriteChoice> Ask(const TOverwriteConflict& conflict);

    TOverwriteDecision Decision;
};

// Made at start-up after the error dialog; lives for the whole run.
extern TOverwriteForm* OverwriteForm;
