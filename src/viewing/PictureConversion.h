#pragma once

#include "core/drawing/Color.h"

#include "quillomber/ViewerPlugin.h"

#include <cstdint>
#include <string>
#include <vector>

// Replaces the list with the descriptions of the picture formats a conversion can write,
// in the order offered: "BMP", "JPEG", "TIFF", "PNG", leaving out any whose writer this
// system lacks.
void LoadPictureConvertFilters(std::vector<std::string>& list);

// The writer ("encoder", the writer's format name) and the file extension (".bmp") of a
// format description, compared exactly; false, the outs untouched, for no such format.
bool GetPictureConverterID(const std::string& format, std::string& extension, std::string& encoder);

// Converts the source picture into the destination with its extension replaced by
// `extension`, written by the writer `encoder`. The picture keeps its size when the box
// is below 1 on both sides; otherwise it is normalised (GetNormalizedPictureSize) or
// fitted into the box without enlarging, and drawn smoothly onto black in 24-bit RGB.
// `quality` (0..1) reaches the JPEG writer only, for a picture decoded here. With
// `plugin`, the two entry points decode the source instead, into a buffer first filled
// with the background colour. The picture is written to a temporary file beside the
// target and renamed over it only once complete, so a failure leaves the source and any
// old target as they were. Traced, parameters the destination and the source: "Invalid
// plugin function.", "Contradictory overwrite choices." (an existing target without
// `overwrite`), "Failed to convert picture.".
void ConvertPicture(const std::string& source, const std::string& destination, bool overwrite,
                    const std::string& extension, const std::string& encoder, double quality, int32_t boxWidth,
                    int32_t boxHeight, bool normalizeWidth, bool normalizeHeight, bool normalizeActive, bool enlarge,
                    int32_t enlargeMinimumSize, bool plugin, QuillomberGetPictureSize getPictureSize,
                    QuillomberLoadFileToBitmap loadFileToBitmap, TColor backgroundColor, TColor textColor);
