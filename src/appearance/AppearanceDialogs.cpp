#include "appearance/AppearanceDialogs.h"
#include "appearance/AboutForm.h"
#include "appearance/OptionsForm.h"
#include "appearance/WizardForm.h"

namespace {

constexpr int WizardHelpContext = 100;

} // namespace

TAppearanceDialogs::TAppearanceDialogs()
{
    TSeam<TAppearanceServices>::Install(this);
}

TAppearanceDialogs::~TAppearanceDialogs()
{
    if (&TSeam<TAppearanceServices>::Get() == this)
        TSeam<TAppearanceServices>::Install(nullptr);
}

void TAppearanceDialogs::SetOptionsFormOwner(QWidget* owner)
{
    OptionsFormOwner = owner;
}

bool TAppearanceDialogs::OptionsDialog()
{
    if (OptionsForm == nullptr && OptionsFormOwner != nullptr)
        OptionsForm = new TOptionsForm(OptionsFormOwner);
    return OptionsForm != nullptr && OptionsForm->Dialog();
}

bool TAppearanceDialogs::WizardDialog(std::vector<std::string>& checkedBoxes)
{
    return WizardFormDialog(WizardHelpContext, checkedBoxes);
}

void TAppearanceDialogs::AboutDialog()
{
    if (AboutForm != nullptr)
        AboutForm->Dialog();
}

void TAppearanceDialogs::SetAboutLabels(const std::string& programName, const std::string& versionText)
{
    if (AboutForm != nullptr)
        AboutForm->SetLabels(programName, versionText);
}
