// The search run: the options and candidates handed to the engine, the enabling around
// a run, its end, and the engine's port.

#include "fileops/SearchFileForm.h"

#include "fileops/TextFilterInput.h"

#include "columns/Column.h"
#include "columns/FileListData.h"
#include "core/errors/Traced.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/Utilities.h"
#include "core/text/MyMath.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>

#include <algorithm>
#include <utility>

namespace {

std::string Text(const QComboBox& box)
{
    return box.currentText().toStdString();
}

} // namespace

std::string TSearchFileForm::GetStatusText(int32_t filterIndex, double progress) const
{
    std::string text = "Errors " + std::to_string(Engine.Errors) + " | Directories " +
                       std::to_string(Engine.DirsFound) + " | Files " + std::to_string(Engine.FilesFound) +
                       " | Jumped files " + std::to_string(Engine.JumpedFiles) + " | Time " +
                       AlignRealToTextPow(6, 1, Engine.ElapsedCrono.Elapsed());
    if (progress >= 0)
        text += " | Progress " + std::to_string(static_cast<int64_t>(progress * 1000)) + " \u2030 | Text filter " +
                std::to_string(filterIndex + 1);
    return text;
}

void TSearchFileForm::EnableControls()
{
    const bool normal = !HistoryMode && !DuplicatesMode;
    const bool anyFound = Engine.Found.Count() > 0;
    OptionsPageControl->setEnabled(true);
    SearchNamesButton->setEnabled(!DuplicatesMode);
    SearchContentButton->setEnabled(normal);
    SearchNamesSelectButton->setEnabled(normal);
    SearchContentSelectButton->setEnabled(normal);
    PutInSearchContainerButton->setEnabled(anyFound);
    PutInContainerButton->setEnabled(anyFound);
    ClipAllTitlesButton->setEnabled(anyFound);
    ClipActiveTitleButton->setEnabled(anyFound);
    StopButton->setEnabled(false);
    CancelButton->setEnabled(true);
}

// A refused text filter leaves the name filter box as it was.
void TSearchFileForm::SearchContent(bool selectMode)
{
    const std::string text = Text(*TextFilterComboBox);
    if (!IsTextFilterGiven(text))
        return;
    if (FileNameFilterComboBox->currentText().isEmpty() && !HistoryMode)
        FileNameFilterComboBox->setEditText("Text files");
    TStringList filters;
    if (!ParseTextFilter(text, FreeHandFilterCheckBox->isChecked(), filters))
        return;
    TextFilters = filters;
    Do(selectMode);
}

TSearchOptions TSearchFileForm::CollectOptions() const
{
    TSearchOptions options;
    options.Mode = HistoryMode ? TSearchMode::History : DuplicatesMode ? TSearchMode::Duplicates : TSearchMode::Normal;
    options.DuplicateOf = DuplicateOf;
    options.NameFilterText = Text(*FileNameFilterComboBox);
    options.SearchSimilar = SearchSimilarCheckBox->isChecked();
    options.Recursive = RecursiveCheckBox->isChecked() && !SelectMode;
    options.FindDirs = FindDirsCheckBox->isChecked();
    options.FindFiles = FindFilesCheckBox->isChecked();
    options.TextFilters = TextFilters;
    options.FileParts = static_cast<TFileParts>(std::max(FilePartsComboBox->currentIndex(), 0));
    options.Matching.AllFilters = AllFiltersCheckBox->isChecked();
    options.Matching.NearDetection = NearDetectionCheckBox->isChecked();
    options.Matching.Stem = static_cast<TStemMode>(std::max(StemComboBox->currentIndex(), 0));
    const auto limit = [](const QCheckBox* check, const QComboBox* box) {
        return TSearchLimit{check->isChecked(), Text(*box)};
    };
    options.CreationMin = limit(CreationMinTimeCheckBox, CreationMinTimeComboBox);
    options.CreationMax = limit(CreationMaxTimeCheckBox, CreationMaxTimeComboBox);
    options.ModifiedMin = limit(ModifiedMinTimeCheckBox, ModifiedMinTimeComboBox);
    options.ModifiedMax = limit(ModifiedMaxTimeCheckBox, ModifiedMaxTimeComboBox);
    options.TimeUnit = Text(*TimeMeasurementUnitComboBox);
    options.SizeMin = limit(SizeMinCheckBox, SizeMinComboBox);
    options.SizeMax = limit(SizeMaxCheckBox, SizeMaxComboBox);
    options.SizeUnit = Text(*SizeMeasurementUnitComboBox);
    return options;
}

// The selected items in column order; with none selected every item when "Consider all
// selected" is checked, else the focused item.
std::vector<TSearchCandidate> TSearchFileForm::CollectCandidates()
{
    std::vector<TSearchCandidate> candidates;
    CandidateItems.clear();
    TColumn& column = *SearchColumn;
    if (column.SelectedCount > 0 || ConsiderAllSelectedCheckBox->isChecked()) {
        for (int32_t i = 0; i < column.GetItemCount(); ++i) {
            const TFileListData& item = column.GetItem(i);
            if (column.SelectedCount > 0 && !item.Selected)
                continue;
            candidates.push_back({item.Title, item.Type == ftDirectory});
            CandidateItems.push_back(i);
        }
    } else {
        candidates.push_back({column.ActiveTitle, column.ActiveType == ftDirectory});
        CandidateItems.push_back(-1);
    }
    return candidates;
}

void TSearchFileForm::DisableForSearch()
{
    OptionsPageControl->setEnabled(false);
    for (QPushButton* button :
         {SearchNamesButton, SearchContentButton, SearchNamesSelectButton, SearchContentSelectButton,
          PutInSearchContainerButton, PutInContainerButton, ClipAllTitlesButton, ClipActiveTitleButton})
        button->setEnabled(false);
    StopButton->setEnabled(!HistoryMode);
    CancelButton->setEnabled(!HistoryMode);
}

void TSearchFileForm::UpdateHistories()
{
    if (!DuplicatesMode)
        UpdateComboBoxHistory(*FileNameFilterComboBox);
    UpdateComboBoxHistory(*TextFilterComboBox);
}

void TSearchFileForm::Do(bool selectMode)
{
    SelectMode = selectMode;
    const TSearchOptions options = CollectOptions();
    if (!HistoryMode && !TSearchEngine::CheckFilters(options))
        return;
    Engine.Stop = false;
    DisableForSearch();
    UpdateHistories();
    ResetFoundList();
    bool succeeded = false;
    TTraced trace;
    trace.Run([&] {
        const std::vector<TSearchCandidate> candidates =
            HistoryMode ? std::vector<TSearchCandidate>{} : CollectCandidates();
        Searching = true;
        struct TSearchEnd
        {
            bool& Flag;
            ~TSearchEnd() { Flag = false; }
        } searchEnd{Searching};
        succeeded = Engine.Run(options, candidates);
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to search.");
    EndSearch(succeeded);
}

void TSearchFileForm::EndSearch(bool succeeded)
{
    if (succeeded)
        for (auto [check, box] : {std::pair{CreationMinTimeCheckBox, CreationMinTimeComboBox},
                                  {CreationMaxTimeCheckBox, CreationMaxTimeComboBox},
                                  {ModifiedMinTimeCheckBox, ModifiedMinTimeComboBox},
                                  {ModifiedMaxTimeCheckBox, ModifiedMaxTimeComboBox},
                                  {SizeMinCheckBox, SizeMinComboBox},
                                  {SizeMaxCheckBox, SizeMaxComboBox}})
            if (check->isChecked())
                UpdateComboBoxHistory(*box);
    LookingInLabel->setText("Search complete.");
    ShowStatus(0, -1);
    EnableControls();
    // A found-item action, a container key or "&Cancel" may have closed the dialog while
    // the search ran; its result stands.
    const bool closed = result() != 0;
    if (Engine.DirsFound + Engine.FilesFound > 0) {
        SelectFoundItem(0);
        if (!closed && SelectMode) {
            ResultAction = 4;
            done(mrOkay);
        } else if (!closed) {
            FoundItemsListBox->setFocus();
        }
    } else if (!closed) {
        ShowInfoMessage("No matches found.");
    }
    if (SearchColumn != nullptr && SearchColumn->SelectedCount != SelectedAtStart)
        SearchColumn->FileList->Invalidate();
}

void TSearchFileForm::ProcessMessages()
{
    // An inserted row drops the list's layout until a later turn lays it out again; the
    // paint of this turn would show an empty list, so it is laid out first.
    if (FoundListChanged) {
        FoundItemsListBox->doItemsLayout();
        FoundListChanged = false;
    }
    QCoreApplication::processEvents();
}

void TSearchFileForm::ShowLookingIn(const std::string& text)
{
    LookingInLabel->setText(QString::fromStdString(text));
}

void TSearchFileForm::ShowStatus(int32_t filterIndex, double progress)
{
    InfoLabel->setText(QString::fromStdString(GetStatusText(filterIndex, progress)));
}

bool TSearchFileForm::ShowError(const std::string& message, TFunStatContext& context, bool& noMoreErrors)
{
    repaint();
    noMoreErrors = false;
    return context.Show(message, &noMoreErrors);
}

void TSearchFileForm::CandidateDone(int32_t index)
{
    if (index < 0 || index >= static_cast<int32_t>(CandidateItems.size()) || SearchColumn == nullptr)
        return;
    if (const int32_t item = CandidateItems[static_cast<size_t>(index)]; item >= 0)
        SearchColumn->DeselectItem(item);
}
