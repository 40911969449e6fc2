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
    // Converts the picture into the destination, its extension replaced, with the encoder
    // at the quality (0..1): kept in size for a box below 1 on both sides, else normalised
    // or fitted into the box keeping its aspect. Traced: "Failed to convert picture.".
    virtual void ConvertPicture(const std::string& source, const std::string& destination, bool overwrite,
                                const std::string& extension, const std::string& encoder, double quality,
                                int32_t boxWidth, int32_t boxHeight, bool normalizeWidth, bool normalizeHeight,
                                bool normalizeActive, bool enlarge, int32_t enlargeMinimumSize) = 0;
};

// What the columns get until the tools exist, and what a provider of only some tools
// keeps: no streams are edited and no picture is converted.
class TToolServicesStandIn : public TToolServices
{
public:
    void SetFileStreamsEditorOptions() override {}
    void OpenFileStreams(const std::string&, TFileStreamsEditMode) override {}
    bool GetPictureConverterID(const std::string&, std::string&, std::string&) override { return false; }
    void ConvertPicture(const std::string&, const std::string&, bool, const std::string&, const std::string&, double,
                        int32_t, int32_t, bool, bool, bool, bool, int32_t) override
    {
    }
};

template <>
TToolServices& TSeam<TToolServices>::StandIn();
