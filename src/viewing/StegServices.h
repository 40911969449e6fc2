#pragma once

#include "core/Seam.h"

#include <cstdint>
#include <string>
#include <vector>

// What the viewer, the streams editor and the menus need of steganography, which lives in
// a later layer: the steg dialog installs itself here when it is made.
class TStegServices
{
public:
    virtual ~TStegServices() = default;
    // Automatic steg is on: its toggle is down and a password is entered.
    virtual bool IsAutoStegActive() = 0;
    // With automatic steg on, takes the file hidden in a ".png" picture. A text file comes
    // as `lines`, with `isText`; a hidden picture is written to the private temporary
    // folder and `path` becomes its path. False, with no message, when the picture holds
    // nothing for this password or is not one of those.
    virtual bool AutoStegOut(std::string& path, std::string& title, bool& isText, std::vector<std::string>* lines,
                             int64_t& size) = 0;
    // Hides the text of `size` bytes, named `name` (a ".txt" name), in the ".png" carrier,
    // asking for the password when none is confirmed. Traced.
    virtual void AutoStegIn(const std::string& carrier, const std::string& name, const uint8_t* text, int64_t size) = 0;
    // The picture's lowest-bit plane as a picture file, or "" after showing the failure.
    virtual std::string ViewNoise(const std::string& picture) = 0;
    // The steg dialog: steg-in hides `first` in the carrier picture `second`; steg-out
    // extracts from the picture `first` into the folder of `second`.
    virtual void StegDialog(const std::string& first, const std::string& second, bool stegIn) = 0;
    // The password dialog of automatic steg.
    virtual void AutoStegDialog(bool fromMenu) = 0;
};

// Until the steg dialog exists: nothing is hidden, automatic steg is off, and no dialog
// opens.
class TStegServicesStandIn : public TStegServices
{
public:
    bool IsAutoStegActive() override { return false; }
    bool AutoStegOut(std::string&, std::string&, bool& isText, std::vector<std::string>*, int64_t& size) override
    {
        isText = false;
        size = 0;
        return false;
    }
    // Traced: "Failed to auto steg-in because the function is not active.".
    void AutoStegIn(const std::string& carrier, const std::string&, const uint8_t*, int64_t) override;
    std::string ViewNoise(const std::string&) override { return {}; }
    void StegDialog(const std::string&, const std::string&, bool) override {}
    void AutoStegDialog(bool) override {}
};

template <>
TStegServices& TSeam<TStegServices>::StandIn();
