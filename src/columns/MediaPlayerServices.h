#pragma once

#include "core/Seam.h"

#include <cstdint>
#include <string>

// What the launcher needs of the media player: play-list files are played there instead
// of being handed to the desktop. The media player implements it and installs itself once
// it exists; tests install fakes.
class TMediaPlayerServices
{
public:
    virtual ~TMediaPlayerServices() = default;
    // Stops what plays, loads the play list from the ".mpl" file and starts it at the item
    // titled like `lastTitle` (else the first) at the position.
    virtual void PlayMPL(const std::string& playListFile, const std::string& lastTitle, int64_t position) = 0;
};

template <>
TMediaPlayerServices& TSeam<TMediaPlayerServices>::StandIn();
