#pragma once

#include "fileops/SearchEngine.h"

#include "core/forms/InputState.h"
#include "core/forms/VirtualKeys.h"

#include <QDialog>

#include <cstdint>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QListView;
class QPushButton;
class QTabWidget;
class QWidget;
class TColumn;
class TContainerDialog;
class TFoundItemsModel;
class TStoredTextList;

// The "Search file" dialog: finds files and folders below a column's selection by name,
// time, size and ranked text, the duplicates of one file, or the entries of the navigation
// histories. The engine runs inside the dialog on the user-interface thread and hands the
// found items to the list as they come, so the list's actions and "S&top" answer during a
// search. After it closes, the column reads the result fields and the found items. One
// instance lives for the whole run.
//
// The form, its keys, buttons and options are in SearchFileForm.cpp; the search run and
// the engine's port in SearchFileFormRun.cpp; the found list in SearchFileFormList.cpp.
class TSearchFileForm : public QDialog, public TSearchPort
{
public:
    // The containers of "Put in container"; none leaves that button without a menu.
    explicit TSearchFileForm(QWidget* owner = nullptr, TContainerDialog* containerDialog = nullptr);
    ~TSearchFileForm() override;

    // Shows the dialog for the column: a duplicates search of `duplicateOf` when it is
    // given, else a search of the navigation histories when `history` is set, else a
    // normal search. True when it closed with the Okay result and something was found;
    // the result fields then say what the column is to do.
    bool Dialog(TColumn& column, const std::string& duplicateOf, bool history);

    // The section "SearchFile" of the text option file.
    void OnLoadOptionsSTL(TStoredTextList& store);
    void OnSaveOptionsSTL(TStoredTextList& store) const;

    // The form's handlers, for the window and for tests.
    void FormActivate();
    void SearchNamesButtonClick();
    void SearchContentButtonClick();
    void SearchNamesSelectButtonClick();
    void SearchContentSelectButtonClick();
    void StopButtonClick();
    void CancelButtonClick();
    void NewPrefixByCurrentButtonClick();
    void PutInSearchContainerButtonMouseDown(TShiftState shift);
    void PutInContainerButtonMouseDown(TShiftState shift);
    void ClipAllTitlesButtonClick();
    void ClipActiveTitleButtonClick();
    void SwitchMouseOperationsCheckBoxClick();
    // The send-to-container menu's choice.
    void ContainerChosen(int32_t index);
    // Acts on the selected found item as the mouse button with the shift state would.
    void UserAction(TMouseButton button, TShiftState shift, int32_t x, int32_t y);

    // Parses the text filter box, then runs Do.
    void SearchContent(bool selectMode);
    // One search with the dialog's settings; the engine's text filters stay as they are.
    void Do(bool selectMode);
    // The buttons as they stand between searches.
    void EnableControls();
    bool IsSearching() const { return Searching; }

    // "Errors 0 | Directories 0 | Files 0 | Jumped files 0 | Time ..." and, with a
    // progress of 0 or more, " | Progress 512 ‰ | Text filter 1".
    std::string GetStatusText(int32_t filterIndex, double progress) const;
    // The found list's hint for the item, or with no item for a negative index.
    std::string GetListHint(int32_t index) const;
    // The index of the selected found item, or -1.
    int32_t SelectedFoundIndex() const;
    void SelectFoundItem(int32_t index);

    // TSearchPort
    void ProcessMessages() override;
    void ShowLookingIn(const std::string& text) override;
    void ShowStatus(int32_t filterIndex, double progress) override;
    bool ShowError(const std::string& message, TFunStatContext& context, bool& noMoreErrors) override;
    void ItemFound(int32_t index) override;
    void CandidateDone(int32_t index) override;

    // Controls.
    QGroupBox* LookingInGroupBox = nullptr;
    QLabel* LookingInLabel = nullptr;
    QTabWidget* OptionsPageControl = nullptr;
    QWidget* NameTextTabSheet = nullptr;
    QWidget* TimeSizeTabSheet = nullptr;
    QGroupBox* FileNameFilterGroupBox = nullptr;
    QComboBox* FileNameFilterComboBox = nullptr;
    QPushButton* NewPrefixByCurrentButton = nullptr;
    QCheckBox* SearchSimilarCheckBox = nullptr;
    QCheckBox* ConsiderAllSelectedCheckBox = nullptr;
    QCheckBox* RecursiveCheckBox = nullptr;
    QCheckBox* FindDirsCheckBox = nullptr;
    QCheckBox* FindFilesCheckBox = nullptr;
    QGroupBox* TextFilterGroupBox = nullptr;
    QComboBox* TextFilterComboBox = nullptr;
    QComboBox* FilePartsComboBox = nullptr;
    QComboBox* StemComboBox = nullptr;
    QCheckBox* FreeHandFilterCheckBox = nullptr;
    QCheckBox* AllFiltersCheckBox = nullptr;
    QCheckBox* NearDetectionCheckBox = nullptr;
    QCheckBox* AlwaysFocusThisCheckBox = nullptr;
    QGroupBox* TimeGroupBox = nullptr;
    QCheckBox* CreationMinTimeCheckBox = nullptr;
    QCheckBox* CreationMaxTimeCheckBox = nullptr;
    QCheckBox* ModifiedMinTimeCheckBox = nullptr;
    QCheckBox* ModifiedMaxTimeCheckBox = nullptr;
    QComboBox* CreationMinTimeComboBox = nullptr;
    QComboBox* CreationMaxTimeComboBox = nullptr;
    QComboBox* ModifiedMinTimeComboBox = nullptr;
    QComboBox* ModifiedMaxTimeComboBox = nullptr;
    QComboBox* TimeMeasurementUnitComboBox = nullptr;
    QGroupBox* SizeGroupBox = nullptr;
    QCheckBox* SizeMinCheckBox = nullptr;
    QCheckBox* SizeMaxCheckBox = nullptr;
    QComboBox* SizeMinComboBox = nullptr;
    QComboBox* SizeMaxComboBox = nullptr;
    QComboBox* SizeMeasurementUnitComboBox = nullptr;
    QPushButton* SearchNamesButton = nullptr;
    QPushButton* SearchContentButton = nullptr;
    QPushButton* SearchNamesSelectButton = nullptr;
    QPushButton* SearchContentSelectButton = nullptr;
    QPushButton* StopButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QGroupBox* FoundGroupBox = nullptr;
    QListView* FoundItemsListBox = nullptr;
    QPushButton* PutInSearchContainerButton = nullptr;
    QPushButton* PutInContainerButton = nullptr;
    QPushButton* ClipAllTitlesButton = nullptr;
    QPushButton* ClipActiveTitleButton = nullptr;
    QCheckBox* ShowSearchBoardCheckBox = nullptr;
    QCheckBox* ReuseContainerCheckBox = nullptr;
    QComboBox* UseColumnForContainerComboBox = nullptr;
    QCheckBox* SwitchMouseOperationsCheckBox = nullptr;
    QGroupBox* InfoGroupBox = nullptr;
    QLabel* InfoLabel = nullptr;

    // The state of the opening.
    TColumn* SearchColumn = nullptr;
    std::string DuplicateOf;
    bool HistoryMode = false;
    bool DuplicatesMode = false;
    bool SelectMode = false;
    int32_t SelectedAtStart = 0;

    // The hand-over to the column.
    int32_t ResultContainer = 0;
    int32_t ResultAction = 0;
    bool ResultKeepItems = false;
    std::string ResultPath;

    // The search; its found items are the found list's.
    TSearchEngine Engine;
    // The parsed text filter of the next run; empty for a names search.
    TStringList TextFilters;

private:
    // The form (SearchFileForm.cpp).
    void BuildForm();
    void BuildNameTextPage();
    void BuildTimeSizePage();
    void BuildFoundGroup(int top);
    void ConnectHandlers();
    void InstallKeyPreview();
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    bool FilterBoxKeyDown(QObject* watched, int key, Qt::KeyboardModifiers modifiers);
    bool IsFilterBoxDroppedDown() const;
    void CloseWithContainer(int32_t container, bool keepItems);
    void CloseWithOkay();
    void PrepareOpening(TColumn& column, const std::string& duplicateOf, bool history);
    void SetCaption();
    void reject() override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

    // The search run's steps (SearchFileFormRun.cpp).
    void DisableForSearch();
    void UpdateHistories();
    TSearchOptions CollectOptions() const;
    std::vector<TSearchCandidate> CollectCandidates();
    void EndSearch(bool succeeded);

    // The found list (SearchFileFormList.cpp).
    void BuildFoundList(QWidget* parent, const QRect& place);
    bool FoundListMouseEvent(QEvent* event);
    bool FoundListKeyDown(const QKeyEvent& event);
    void FoundListMouseMove(const QPoint& point);
    void ShowFoundItemContextMenu(int32_t index, QPoint point);
    void EditFoundItem(int32_t index);
    void ClipFoundItemPart(int32_t index, TShiftState shift);
    void ResetFoundList();

    TContainerDialog* ContainerDialog = nullptr;
    TFoundItemsModel* FoundModel = nullptr;
    // Items were found since the list was last laid out.
    bool FoundListChanged = false;
    // The column's top-level items handed to the running search, by candidate.
    std::vector<int32_t> CandidateItems;
    bool Searching = false;
};

extern TSearchFileForm* SearchFileForm;
