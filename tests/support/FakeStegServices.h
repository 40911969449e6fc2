#pragma once

#include "viewing/StegServices.h"

#include <functional>
#include <string>
#include <vector>

// Records what the menus ask of steganography; installed for its life.
class TFakeStegServices : public TStegServicesStandIn
{
public:
    struct TDialog
    {
        std::string First;
        std::string Second;
        bool StegIn;
        bool operator==(const TDialog&) const = default;
    };

    TFakeStegServices() { TSeam<TStegServices>::Install(this); }
    ~TFakeStegServices() override { TSeam<TStegServices>::Install(nullptr); }
    TFakeStegServices(const TFakeStegServices&) = delete;
    TFakeStegServices& operator=(const TFakeStegServices&) = delete;

    std::string ViewNoise(const std::string& picture) override
    {
        NoiseOf.push_back(picture);
        return NoisePicture;
    }
    void StegDialog(const std::string& first, const std::string& second, bool stegIn) override
    {
        Dialogs.push_back({first, second, stegIn});
        if (OnDialog)
            OnDialog();
    }
    void AutoStegDialog(bool fromMenu) override { PasswordDialogs.push_back(fromMenu); }

    // What ViewNoise answers.
    std::string NoisePicture;
    std::vector<std::string> NoiseOf;
    std::vector<TDialog> Dialogs;
    // Runs while a steg dialog would be open.
    std::function<void()> OnDialog;
    std::vector<bool> PasswordDialogs;
};
