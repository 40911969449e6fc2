#pragma once

#include "core/Seam.h"

#include <cstdint>
#include <string>

// How the streams editor opens a file.
enum TFileStreamsEditMode : int32_t
{
    fsmEditor = 0,
    fsmMainData = 1,
    fsmDescription = 2
};

// What the columns need of the tools: the streams editor and the picture converter. The
// tools implement it and install it once they exist; tests install fakes.
class TToolServices
{
public:
    virtual ~TToolServices() = default;
    // Gives the streams editor the skin's colours and the items font.
    virtual void SetFileStreamsEditorOptions() = 0;
    // Opens the streams editor; it refuses a second file and directories. Traced.
    virtual void OpenFileStreams(const std::string& file, TFileStreamsEditMode mode) = 0;
    // The encoder of a format ("BMP") and its first extension; false when there is none.
    virtual bool GetPictureConverterID(const std::string& format, std::string& extension, std::string& encoder) = 0;
    // Converts the picture into the destination with the encoder at full quality, scaled
    // into the box keeping its aspect, never enlarged. Traced: "Failed to convert picture.".
    virtual void ConvertPicture(const std::string& source, const std::string& destination, bool overwrite,
                                const std::string& extension, const std::string& encoder, int32_t boxWidth,
                                int32_t boxHeight) = 0;
};

template <>
TToolServices& TSeam<TToolServices>::StandIn();
