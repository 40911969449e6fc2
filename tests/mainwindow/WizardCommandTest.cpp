#include "mainwindow/AppearanceServices.h"
#include "mainwindow/MainForm.h"

#include "BoardTestWindow.h"

#include "core/settings/ProgramOptions.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Answers the wizard with Okay and the boxes given, counting its openings.
class TFakeWizard : public TAppearanceServicesStandIn
{
public:
    TFakeWizard() { TSeam<TAppearanceServices>::Install(this); }
    ~TFakeWizard() override { TSeam<TAppearanceServices>::Install(nullptr); }
    TFakeWizard(const TFakeWizard&) = delete;
    TFakeWizard& operator=(const TFakeWizard&) = delete;

    bool WizardDialog(std::vector<std::string>& checkedBoxes) override
    {
        ++Openings;
        checkedBoxes = Checked;
        return Okay;
    }

    std::vector<std::string> Checked;
    bool Okay = true;
    int Openings = 0;
};

class WizardCommand : public testing::Test
{
protected:
    TMainForm& Open()
    {
        TMainForm& window = Window.Open();
        window.FocusColumn(0, true);
        return window;
    }

    TBoardTestWindow Window;
    TFakeWizard Wizard;
};

// What each box alone changes, starting from the defaults; the rest stays.
TEST_F(WizardCommand, EachCheckedBoxSwitchesItsOptionOnly)
{
    struct TRow
    {
        const char* Box;
        std::function<void(TProgramOptions&)> Expected;
    };
    const TRow rows[] = {
        {"HideHintBarCheckBox", [](TProgramOptions& o) { o.ShowHintBar = false; }},
        {"ShowBoardsBarCheckBox", [](TProgramOptions& o) { o.ShowBoardsBar = true; }},
        {"SynchronizeColumnCheckBox", [](TProgramOptions& o) { o.SynchronizeColumn = true; }},
        {"ShowFileTypeCheckBox", [](TProgramOptions& o) { o.ShowFileType = true; }},
        {"ShowExtInFileTypeCheckBox", [](TProgramOptions& o) { o.ShowExtInType = true; }},
        {"ShowColumnInfoCheckBox", [](TProgramOptions& o) { o.ShowColumnInfo = true; }},
        {"ShowFileInfoCheckBox", [](TProgramOptions& o) { o.ShowFileInfo = true; }},
        {"DeactivateFileHoverCheckBox", [](TProgramOptions& o) { o.FileHoverActive = false; }},
        {"ActivateHotTrackCheckBox", [](TProgramOptions& o) { o.HotTrackColumnItems = true; }},
        {"ShowDTNCheckBox", [](TProgramOptions&) {}},
        {"ShowThreeColumnsCheckBox", [](TProgramOptions&) {}},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Box);
        TMainForm& window = Open();
        // The defaults leave every box something to switch.
        ProgramOptions.ShowHintBar = true;
        ProgramOptions.ShowBoardsBar = false;
        ProgramOptions.ShowFileType = false;
        ProgramOptions.ShowColumnInfo = false;
        ProgramOptions.ShowFileInfo = false;
        ProgramOptions.FileHoverActive = true;
        ProgramOptions.HotTrackColumnItems = false;
        ProgramOptions.SynchronizeColumn = false;
        ProgramOptions.ShowExtInType = false;
        TProgramOptions expected = ProgramOptions;
        row.Expected(expected);
        const int32_t columns = window.GetVisibleColumnCount();
        Wizard.Checked = {row.Box};
        window.ClickCommand("HelpWizardMenu");
        EXPECT_EQ(expected, ProgramOptions);
        EXPECT_EQ(std::string(row.Box) == "ShowDTNCheckBox", Boards->GetActiveBoard().ShowTree);
        EXPECT_EQ(std::string(row.Box) == "ShowThreeColumnsCheckBox" ? 3 : columns, window.GetVisibleColumnCount());
        Window.Discard();
    }
}

// The wizard only switches options the way its captions say, never back.
TEST_F(WizardCommand, UncheckedBoxesAndCancelChangeNothing)
{
    TMainForm& window = Open();
    ProgramOptions.ShowHintBar = false;
    ProgramOptions.ShowBoardsBar = true;
    const TProgramOptions before = ProgramOptions;
    window.ClickCommand("HelpWizardMenu");
    EXPECT_EQ(before, ProgramOptions);

    Wizard.Okay = false;
    Wizard.Checked = {"ShowFileTypeCheckBox", "ShowThreeColumnsCheckBox"};
    window.ClickCommand("HelpWizardMenu");
    EXPECT_EQ(before, ProgramOptions);
    EXPECT_EQ(2, Wizard.Openings);
}

TEST_F(WizardCommand, ThreeColumnsAlsoWhenMoreAreShown)
{
    TMainForm& window = Open();
    window.VisibleColumnsMenuClick(5);
    Wizard.Checked = {"ShowThreeColumnsCheckBox"};
    window.ClickCommand("HelpWizardMenu");
    EXPECT_EQ(3, window.GetVisibleColumnCount());
}

TEST_F(WizardCommand, TheFirstActivationOfAFirstRunOpensTheWizardOnce)
{
    TMainForm& window = Open();
    ASSERT_TRUE(ProgramOptions.FirstRun);
    window.ApplicationEventsActivate();
    window.ApplicationEventsActivate();
    window.MainTimer->stop();
    EXPECT_EQ(1, Wizard.Openings);
}

} // namespace
