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

TEST_F(AppearanceCommands, AboutOpensTheBox)
{
    TModalScript script;
    script.Expect("About", mrOkay);
    Window->ClickCommand("AboutMenu");
    EXPECT_EQ(1u, script.Seen().size());
}

} // namespace
