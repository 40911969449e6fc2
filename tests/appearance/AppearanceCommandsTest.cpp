#include "appearance/AboutForm.h"
#include "appearance/AppearanceDialogs.h"
#include "appearance/OptionsForm.h"

#include "mainwindow/BoardTestWindow.h"

#include "panels/MyTPanel.h"

#include "core/forms/MessageBoxes.h"

#include "support/TestSupport.h"

#include <QCheckBox>

#include <gtest/gtest.h>

namespace {

// The window's "Options" and "About" commands over the real dialogs.
class AppearanceCommands : public testing::Test
{
protected:
    AppearanceCommands()
    {
        OptionsForm = &Options;
        AboutForm = &About;
        Window.Open();
    }
    ~AppearanceCommands() override
    {
        OptionsForm = nullptr;
        AboutForm = nullptr;
    }

    TOptionsForm Options;
    TAboutForm About;
    TAppearanceDialogs Dialogs;
    TBoardTestWindow Window;
};

TEST_F(AppearanceCommands, OkayLaysTheWindowOutAgainAndCancelLeavesIt)
{
    ASSERT_TRUE(ProgramOptions.ShowHintBar);
    ASSERT_FALSE(Window->HintBarPanel->isHidden());
    const auto untickHintBar = [&](const TModalRequest&) {
        qobject_cast<QCheckBox*>(Options.Control("ShowHintBarCheckBox"))->setChecked(false);
    };
    {
        TModalScript script;
        script.Expect("Program options", mrCancel, untickHintBar);
        Window->ClickCommand("OptionsMenu");
    }
    EXPECT_TRUE(ProgramOptions.ShowHintBar);
    EXPECT_FALSE(Window->HintBarPanel->isHidden());
    {
        TModalScript script;
        script.Expect("Program options", mrOkay, untickHintBar);
        Window->ClickCommand("OptionsMenu");
    }
    EXPECT_FALSE(ProgramOptions.ShowHintBar);
    EXPECT_TRUE(Window->HintBarPanel->isHidden());
}

TEST_F(AppearanceCommands, StayOnTopReachesTheWindowsStyle)
{
    Window->show();
    for (const bool stayOnTop : {true, false}) {
        TModalScript script;
        script.Expect("Program options", mrOkay, [&](const TModalRequest&) {
            qobject_cast<QCheckBox*>(Options.Control("StayOnTopCheckBox"))->setChecked(stayOnTop);
        });
        Window->ClickCommand("OptionsMenu");
        EXPECT_EQ(stayOnTop, Window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        EXPECT_TRUE(Window->isVisible());
    }
}

// The program builds the options form at its first command, owned by the window, and
// shows the same form at every later one.
TEST(AppearanceCommandsOnFirstUse, TheOptionsFormIsBuiltAtTheFirstCommandAndKept)
{
    TBoardTestWindow window;
    window.Open();
    TAppearanceDialogs dialogs;
    dialogs.SetOptionsFormOwner(&*window);
    ASSERT_EQ(nullptr, OptionsForm);
    std::vector<TOptionsForm*> shown;
    for (int i = 0; i < 2; ++i) {
        TModalScript script;
        script.Expect("Program options", mrCancel, [&](const TModalRequest&) { shown.push_back(OptionsForm); });
        window->ClickCommand("OptionsMenu");
    }
    ASSERT_EQ(2u, shown.size());
    ASSERT_NE(nullptr, shown[0]);
    EXPECT_EQ(shown[0], shown[1]);
    EXPECT_EQ(&*window, shown[0]->parentWidget());
    window.Discard();
    EXPECT_EQ(nullptr, OptionsForm) << "the form goes with its window";
}

TEST_F(AppearanceCommands, AboutOpensTheBox)
{
    TModalScript script;
    script.Expect("About", mrOkay);
    Window->ClickCommand("AboutMenu");
    EXPECT_EQ(1u, script.Seen().size());
}

} // namespace
