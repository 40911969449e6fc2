#include "mainwindow/MainForm.h"

#include "mainwindow/AppearanceServices.h"
#include "mainwindow/Boards.h"

#include "core/errors/Traced.h"
#include "core/settings/ProgramOptions.h"

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int32_t WizardColumnCount = 3;

} // namespace

// Each checked box switches its option in the direction its caption says, in this order;
// an unchecked box never switches anything back.
void TMainForm::ApplyWizardBoxes(const std::vector<std::string>& checkedBoxes)
{
    TProgramOptions& options = ProgramOptions;
    const std::vector<std::pair<const char*, std::function<void()>>> effects = {
        {"HideHintBarCheckBox", [&] { options.ShowHintBar = false; }},
        {"ShowBoardsBarCheckBox", [&] { options.ShowBoardsBar = true; }},
        {"ShowDTNCheckBox", [&] { Boards->GetActiveBoard().ShowTree = true; }},
        {"SynchronizeColumnCheckBox", [&] { options.SynchronizeColumn = true; }},
        {"ShowThreeColumnsCheckBox", [&] { VisibleColumnCount = WizardColumnCount; }},
        {"ShowFileTypeCheckBox", [&] { options.ShowFileType = true; }},
        {"ShowExtInFileTypeCheckBox", [&] { options.ShowExtInType = true; }},
        {"ShowColumnInfoCheckBox", [&] { options.ShowColumnInfo = true; }},
        {"ShowFileInfoCheckBox", [&] { options.ShowFileInfo = true; }},
        {"DeactivateFileHoverCheckBox", [&] { options.FileHoverActive = false; }},
        {"ActivateHotTrackCheckBox", [&] { options.HotTrackColumnItems = true; }},
    };
    for (const auto& [box, effect] : effects)
        if (std::find(checkedBoxes.begin(), checkedBoxes.end(), box) != checkedBoxes.end())
            effect();
}

void TMainForm::HelpWizardMenuClick()
{
    TTraced trace;
    try {
        std::vector<std::string> checkedBoxes;
        if (TSeam<TAppearanceServices>::Get().WizardDialog(checkedBoxes)) {
            const int32_t oldCount = VisibleColumnCount;
            ApplyWizardBoxes(checkedBoxes);
            const bool grew = VisibleColumnCount > oldCount;
            Reset(grew);
            SetViewerHeight(true, 0);
            if (grew)
                ReloadColumns();
            TreeFollowBoard();
        }
    }
    TRACED_CATCH(trace)
    FocusColumn(-1, false);
}
