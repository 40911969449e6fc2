#pragma once

#include "fileops/FileOperationName.h"

#include "core/settings/MemoryStorage.h"
#include "core/text/MyTime.h"

#include <QDialog>

#include <cstdint>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QWidget;
class TColumn;
class TContainer;
class TFolderEntries;
class TFunStatContext;
class TStoredTextList;
class TTraced;

namespace host {
struct FindData;
}

// The dialog that runs every recursive file operation over a column's selection: it shows
// what is about to happen, takes filters, a file-name prefix and the picture-conversion
// choices, and on one of its Okay buttons runs the two-pass engine inside itself, which
// then shows the progress. One instance lives for the whole run.
//
// The form and its buttons are in FileForm.cpp; the engine's methods in FileFormEngine.cpp.
class TFileForm : public QDialog
{
public:
    explicit TFileForm(QWidget* owner = nullptr);
    ~TFileForm() override;

    // Runs the operation on the column's selection, or on its focused item. The destination
    // is the target folder's path (from a drop: the dropped-on item). True when the dialog
    // ended with the Okay result.
    bool Dialog(bool hasDestination, const TFileOperationName& operation, TColumn& column, TContainer* container,
                int32_t focusedIndex, const std::string& source, const std::string& destination,
                const std::string& prefix, bool useGivenSource, bool fromDrop);

    // The buttons, for the window and for tests.
    void OkayButtonClick();
    void OkayNoErrorsButtonClick();
    void OkayAddPrefixButtonClick();
    void OkayReplacePrefixButtonClick();
    void CancelButtonClick();
    void HelpButtonClick();
    void ShowOptionsSpeedButtonClick();
    void NewPrefixByCurrentButtonClick();
    void NewPrefixByCreationButtonClick();

    // The copy primitives' progress callback while Dialog runs: refreshes the status and
    // pumps the window's events; false once the operation is stopped.
    bool OnProgress(double fraction);

    // The status line of the counters ("Errors 0 | Directories 0 | ..."); a negative
    // fraction leaves out the file percent.
    std::string GetStatusText(double fraction) const;

    // The form's keys in the "Main" section of the text option file.
    void LoadOptions(TStoredTextList& store);
    void SaveOptions(TStoredTextList& store) const;

    // True while the engine works: the main window must not close then.
    bool IsWorking() const { return Working; }

    // Controls (the "Main" option keys and tests reach them).
    QWidget* InformationPanel = nullptr;
    QLabel* TotalInfoLabel = nullptr;
    QLabel* CurrentInfoLabel = nullptr;
    QLabel* SourceLabel = nullptr;
    QLabel* DestinationLabel = nullptr;
    QWidget* OptionsPanel = nullptr;
    QCheckBox* StopAfterCountCheckBox = nullptr;
    QCheckBox* IgnoreEncryptionCheckBox = nullptr;
    QComboBox* IncludeFilterComboBox = nullptr;
    QComboBox* ExcludeFilterComboBox = nullptr;
    QGroupBox* PrefixGroupBox = nullptr;
    QComboBox* PrefixComboBox = nullptr;
    QPushButton* NewPrefixByCurrentButton = nullptr;
    QPushButton* NewPrefixByCreationButton = nullptr;
    QCheckBox* RecursePrefixCheckBox = nullptr;
    QGroupBox* ConvertPictureGroupBox = nullptr;
    QComboBox* ConvertPictureFormatComboBox = nullptr;
    QComboBox* ConvertPictureQualityComboBox = nullptr;
    QCheckBox* NormalizePictureSizeCheckBox = nullptr;
    QPushButton* OkayAddPrefixButton = nullptr;
    QPushButton* OkayReplacePrefixButton = nullptr;
    QWidget* ButtonsPanel = nullptr;
    QPushButton* OkayButton = nullptr;
    QPushButton* OkayNoErrorsButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QPushButton* HelpButton = nullptr;
    QPushButton* ShowOptionsSpeedButton = nullptr;
    QPushButton* ShowOptionsConvertSpeedButton = nullptr;

    // The state of the running operation, reset by Dialog.
    bool HasDestination = false;
    TFileOperationName Operation;
    // A second copy of the operation; the engine checks before every item that the two agree.
    TFileOperationName InitialOperation;
    TColumn* Column = nullptr;
    TContainer* Container = nullptr;
    int32_t FocusedIndex = -1;
    std::string SourcePath;
    // Ends with a backslash.
    std::string DestinationPath;
    bool UseGivenSource = false;
    TCrono StatusCrono;
    TCrono ElapsedCrono;
    // The tick of the last turn of the event loop in this pass; none before the first.
    std::optional<uint32_t> LastEventTurn;
    bool NoErrors = false;
    bool UsePrefix = false;
    bool ReplacePrefix = false;
    bool Counting = false;
    bool Stop = false;
    int32_t ErrorCount = 0;
    int32_t DirectoryCount = 0;
    int32_t FileCount = 0;
    int32_t ExistingCount = 0;
    int32_t NewerCount = 0;
    int64_t SizeSeen = 0;
    int64_t SizeNeeded = 0;
    bool EncryptedSeen = false;
    // -1: streams are not counted.
    int32_t StreamCount = -1;
    // The user agreed that files go to the destination without the streams it cannot hold.
    bool DropStreams = false;
    std::string CurrentSource;
    std::string CurrentDestination;
    int32_t CurrentIndex = -1;
    bool DestinationExists = false;
    bool SourceNewer = true;
    std::string EncoderExtension;
    // The picture writer's format name.
    std::string EncoderId;
    double Quality = 0;
    // One line per file, each ended with CR LF, for the clipboard.
    TMemoryStorage ClipText;
    std::string IncludeFilter;
    std::string ExcludeFilter;

private:
    // The form (FileForm.cpp).
    void BuildForm();
    bool TakesPrefix() const;
    void ShowOptions();
    void UpdateHistories();
    // The warnings on the filters and the prefix; true when the inputs may be processed.
    bool ValidateInputs();
    void OnOkayButton(bool noErrors, bool usePrefix, bool replacePrefix);
    void SetWorking(bool working);
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void reject() override;
    void FormActivate();
    // The steps of Dialog that prepare the form.
    void ResetState();
    void ResetCounters();
    void StoreArguments(bool hasDestination, const TFileOperationName& operation, TColumn& column,
                        TContainer* container, int32_t focusedIndex, const std::string& source,
                        const std::string& destination, bool fromDrop);
    void PrepareOverwriteChoice();
    void ShowInformation(int32_t focusedIndex, bool useGivenSource, bool fromDrop);
    void EnableControls();
    void PrepareInputs(const std::string& prefix);
    std::string FocusedItemPath(int32_t focusedIndex) const;

    // The copy primitives report to the form only while Dialog runs.
    class TProgressInstall
    {
    public:
        explicit TProgressInstall(TFileForm& form);
        ~TProgressInstall();
        TProgressInstall(const TProgressInstall&) = delete;
        TProgressInstall& operator=(const TProgressInstall&) = delete;
    };

    // The engine (FileFormEngine.cpp): runs after the inputs passed validation.
    void OnOkay();
    void ProcessSelection();
    void Choose(bool isDirectory, const std::string& path, const std::string& destinationFolder, int32_t depth);
    void ProcessDir(const std::string& directory, const std::string& destinationFolder, int32_t depth);
    // `entry`: the file's entry as its folder's listing or the lookup of a top-level item
    // gave it, which the steps below use instead of looking again; null when there is none.
    void ProcessFile(const std::string& file, const host::FindData* entry, const std::string& destinationFolder,
                     int64_t size, int32_t depth);
    void CopyAsLink(const std::string& item, const std::string& destinationFolder, bool isDirectory);
    void CheckOperation();
    void ShowStatus(double fraction);
    // The status once a second and a turn of the event loop when one is due.
    void RefreshStatus(double fraction);
    void TurnEventLoopWhenDue();
    // Counts the failure held in `context` and, in the work pass, shows it; the context is
    // then reset, so the caller's level does not report it again.
    void CountError(const std::string& message, TFunStatContext& context);
    // The work pass of a comparison reads each destination folder once (TargetEntries).
    bool ComparesWithListing() const;
    bool NeedsCountPass() const;
    bool NeedsSpaceCheck() const;
    bool IsUnfiltered() const;
    bool PassesFilters(const std::string& name) const;
    // An item is top-level at depth 0: ProcessSelection hands its items over at depth 0,
    // and with UseGivenSource the walk starts in SourcePath itself at depth -1, so that
    // folder's direct entries are the top-level items. Container columns hold items of many
    // folders, so the depth, not the item's folder, decides.
    bool IsTopLevelItem(int32_t depth) const;
    void DeselectProcessed(int32_t index);
    void RenameContainerItem(const std::string& oldPath, const std::string& newPath, int32_t depth);
    // The engine's smaller steps; those given a trace record their failures in it.
    // RunPasses: false when the operation was refused (a question answered No, a stop
    // while counting).
    bool RunPasses(TTraced& trace);
    bool PrepareConversion(TTraced& trace);
    bool AskPreChecks();
    // Choose for the column's item at the index, a top-level item.
    void ChooseItem(int32_t index);
    void FinishWorkPass();
    void WalkDirectory(TTraced& trace, const std::string& directory, const std::string& destinationFolder,
                       int32_t depth);
    void WalkEntries(TTraced& trace, const std::string& directory, const std::string& targetDirectory, int32_t depth);
    void WorkOnFile(TTraced& trace, const std::string& file, const host::FindData* entry,
                    const std::string& destinationFolder, int64_t size, int32_t depth);
    // `targetEntry`: the target's entry as a listing of its folder gave it; null when the
    // target is to be looked up.
    bool AskOverwrite(const std::string& file, const host::FindData* entry, const std::string& target, bool& overwrite,
                      bool fillFlags, const host::FindData* targetEntry = nullptr);
    void CompareFile(const std::string& file, const host::FindData* entry, const std::string& target);
    bool ClearToWrite(const std::string& file, const host::FindData* entry, const std::string& target, bool& overwrite);
    // Copy and Move of one file, after the overwrite question; a copy to a free name asks none.
    void WriteFile(const std::string& file, const host::FindData* entry, const std::string& target, int32_t depth);
    bool AsksOnlyAboutExistingTargets() const;
    bool CopyToFreeName(const std::string& file, const std::string& target);
    // Convert picture of one file, after the overwrite question; the target has the new extension.
    void ConvertFile(const std::string& file, const host::FindData* entry, const std::string& target);
    void LinkItem(TTraced& trace, const std::string& item, const std::string& destinationFolder);
    // The name the file gets at the destination, with the prefix when one applies.
    std::string TargetName(const std::string& name, int32_t depth) const;
    bool IsOperation(std::string_view name) const;

    // Only "&Cancel" and "&Help" answer while the engine works.
    bool Working = false;
    // The listing of the destination folder of the folder being walked; null outside a walk.
    const TFolderEntries* TargetEntries = nullptr;
};

extern TFileForm* FileForm;
