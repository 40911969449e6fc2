#pragma once

#include "mainwindow/AppearanceServices.h"

class QWidget;

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

    // The window that owns the options form. The form has no stored state of its own, so it
    // is built at its first showing rather than at start-up, where its pages cost much.
    void SetOptionsFormOwner(QWidget* owner);

private:
    QWidget* OptionsFormOwner = nullptr;
};
