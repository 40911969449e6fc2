#pragma once

#include "core/Seam.h"

#include <string>
#include <vector>

// What the main window needs of the option, wizard and about dialogs, forms of a later
// layer, which implements this and installs it when they are made.
class TAppearanceServices
{
public:
    virtual ~TAppearanceServices() = default;
    // Runs "Program options"; true when it closed with Okay, which took the options back.
    virtual bool OptionsDialog() = 0;
    // Runs the wizard; true on Okay, with the names of the checked boxes.
    virtual bool WizardDialog(std::vector<std::string>& checkedBoxes) = 0;
    virtual void AboutDialog() = 0;
    // The about box's program name and version text.
    virtual void SetAboutLabels(const std::string& programName, const std::string& versionText) = 0;
};

// Until the dialogs are made nothing opens and nothing changes.
class TAppearanceServicesStandIn : public TAppearanceServices
{
public:
    bool OptionsDialog() override { return false; }
    bool WizardDialog(std::vector<std::string>&) override { return false; }
    void AboutDialog() override {}
    void SetAboutLabels(const std::string&, const std::string&) override {}
};

template <>
TAppearanceServices& TSeam<TAppearanceServices>::StandIn();
