#pragma once

#include "mainwindow/AppearanceServices.h"

// Opens this layer's dialogs for the main window, which cannot include them. Installed
// while it lives; made once the dialog forms exist.
class TAppearanceDialogs : public TAppearanceServices
{
public:
    TAppearanceDialogs();
    ~TAppearanceDialogs() override;
    TAppearanceDialogs(const TAppearanceDialogs&) = delete;
    TAppearanceDialogs& operator=(const TAppearanceDialogs&) = delete;

    bool OptionsDialog() override;
    bool WizardDialog(std::vector<std::string>& checkedBoxes) override;
    void AboutDialog() override;
    void SetAboutLabels(const std::string& programName, const std::string& versionText) override;
};
