#include "viewing/ViewerPluginBitmapInfo.h"

#include <algorithm>
#include <cstddef>

TViewerPluginBitmapInfo::~TViewerPluginBitmapInfo()
{
    FreePixels();
}

void TViewerPluginBitmapInfo::AllocatePixels()
{
    FreePixels();
    const size_t bytes = static_cast<size_t>(std::max(Width, 0)) * static_cast<size_t>(std::max(Height, 0)) * 4;
    if (bytes > 0)
        Pixels = new uint8_t[bytes]();
}

void TViewerPluginBitmapInfo::FreePixels()
{
    delete[] Pixels;
    Pixels = nullptr;
}
