#include "appearance/AppearanceDialogs.h"
#include "appearance/AboutForm.h"
#include "appearance/OptionsForm.h"

TAppearanceDialogs::TAppearanceDialogs()
{
    TSeam<TAppearanceServices>::Install(this);
}

TAppearanceDialogs::~TAppearanceDialogs()
{
    if (&TSeam<TAppearanceServices>::Get() == this)
        TSeam<TAppearanceServices>::Install(nullptr);
}

bool TAppearanceDialogs::OptionsDialog()
{
    return OptionsForm != nullptr && OptionsForm->Dialog();
}

// The wizard is not made yet: nothing opens.
bool TAppearanceDialogs::WizardDialog(std::vector<std::string>&)
{
    return false;
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
