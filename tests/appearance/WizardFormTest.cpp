#include "appearance/WizardForm.h"

#include "appearance/AppearanceDialogs.h"

#include "support/TestSupport.h"

#include <QCheckBox>
#include <QPushButton>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* const WizardCaption = "Configuration and help wizard";

TEST(Wizard, OkayGivesTheCheckedBoxesAndFreesTheWizard)
{
    TModalScript script;
    script.Expect(WizardCaption, QDialog::Accepted, [](const TModalRequest&) {
        ASSERT_EQ(11u, WizardForm->CheckBoxes.size());
        WizardForm->findChild<QCheckBox*>("ShowThreeColumnsCheckBox")->setChecked(true);
        WizardForm->findChild<QCheckBox*>("HideHintBarCheckBox")->setChecked(true);
    });
    TAppearanceDialogs dialogs;
    std::vector<std::string> checked{"stale"};
    EXPECT_TRUE(TSeam<TAppearanceServices>::Get().WizardDialog(checked));
    EXPECT_EQ((std::vector<std::string>{"HideHintBarCheckBox", "ShowThreeColumnsCheckBox"}), checked);
    EXPECT_EQ(nullptr, WizardForm);

    script.Expect(WizardCaption, QDialog::Accepted);
    EXPECT_TRUE(WizardFormDialog(100, checked));
    EXPECT_TRUE(checked.empty());
}

TEST(Wizard, EveryOpeningStartsAfreshAndCancelFreesIt)
{
    TModalScript script;
    script.Expect(WizardCaption, QDialog::Rejected, [](const TModalRequest& request) {
        EXPECT_EQ(WizardForm, request.Dialog);
        EXPECT_EQ(100, WizardForm->HelpContext);
        WizardForm->ShowPage(9);
        WizardForm->findChild<QCheckBox*>("ActivateHotTrackCheckBox")->setChecked(true);
    });
    script.Expect(WizardCaption, QDialog::Rejected, [](const TModalRequest&) {
        EXPECT_EQ("Start", WizardForm->CurrentPageTitle());
        EXPECT_TRUE(WizardForm->CheckedBoxes().empty());
    });
    std::vector<std::string> checked;
    EXPECT_FALSE(WizardFormDialog(100, checked));
    EXPECT_EQ(nullptr, WizardForm);
    EXPECT_FALSE(WizardFormDialog(100, checked));
    EXPECT_TRUE(checked.empty());
}

TEST(Wizard, StepsStopAtStartAndFinish)
{
    TWizardForm form;
    form.PreviousButton->click();
    EXPECT_EQ("Start", form.CurrentPageTitle());
    for (int i = 0; i < TWizardForm::PageCount + 2; ++i)
        form.NextButton->click();
    EXPECT_EQ("Finish", form.CurrentPageTitle());
    form.PreviousButton->click();
    EXPECT_EQ("Media player", form.CurrentPageTitle());
    form.PageButtons[14]->click();
    EXPECT_EQ("Tree", form.CurrentPageTitle());
    EXPECT_TRUE(form.PageButtons[14]->isChecked());
    EXPECT_FALSE(form.PageButtons[16]->isChecked());
}

} // namespace
