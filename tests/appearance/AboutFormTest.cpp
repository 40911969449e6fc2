#include "appearance/AboutForm.h"
#include "appearance/AppearanceDialogs.h"

#include "mainwindow/BoardTestWindow.h"

#include "core/forms/MessageBoxes.h"

#include "support/RecordingLauncher.h"
#include "support/ShownFailures.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using testing::HasSubstr;
using testing::MatchesRegex;

class AboutBox : public testing::Test
{
protected:
    AboutBox() { AboutForm = &Form; }
    ~AboutBox() override { AboutForm = nullptr; }

    TAboutForm Form;
    TAppearanceDialogs Dialogs;
};

TEST_F(AboutBox, StartUpNamesTheProgramAndItsVersion)
{
    TBoardTestWindow window;
    window.Open();
    EXPECT_EQ("Quillomber", Form.ProgramNameLabel->text().toStdString());
    EXPECT_THAT(Form.ProgramVersionLabel->text().toStdString(),
                MatchesRegex("Version [0-9]+(\\.[0-9]+)* \\([0-9]{4}-[0-9]{2}-[0-9]{2}\\)"));
}

TEST_F(AboutBox, OpensThroughTheWindowsSeamWithTheLinksOffUntilThereArePages)
{
    TModalScript script;
    script.Expect("About", mrOkay, [&](const TModalRequest&) {
        EXPECT_FALSE(Form.VisitMySiteButton->isEnabled());
        EXPECT_FALSE(Form.ContactMeButton->isEnabled());
    });
    TSeam<TAppearanceServices>::Get().AboutDialog();
    EXPECT_EQ(1u, script.Seen().size());
}

TEST_F(AboutBox, TheFocusStartsOnOkay)
{
    Form.show();
    QApplication::processEvents();
    EXPECT_EQ(static_cast<QWidget*>(Form.OkayButton), Form.focusWidget());
    Form.hide();
}

TEST_F(AboutBox, ALinkTheBrowserCannotOpenSaysSo)
{
    TRecordingLauncher launcher;
    launcher.RefuseStarts = true;
    Form.SiteAddress = "https://example.org/";
    TShownFailures failures;
    {
        TModalScript script;
        failures.Expect(script, "Error");
        Form.VisitMySiteButtonClick();
    }
    ASSERT_EQ(1u, launcher.Starts.size());
    EXPECT_EQ(std::vector<std::string>{"https://example.org/"}, launcher.Starts[0].Arguments);
    ASSERT_EQ(1u, failures.Reports.size());
    EXPECT_THAT(failures.Reports[0], HasSubstr("Failed to open site."));
}

} // namespace
