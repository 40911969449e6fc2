#pragma once

#include "core/drawing/Color.h"

#include "quillomber/ViewerPlugin.h"

#include <QImage>
#include <QSize>

#include <cstdint>
#include <string>

// The picture record exchanged with viewer plug-ins. The plug-in draws into Pixels: rows
// from the top without padding, each pixel blue, green, red and a fourth byte. The
// program owns the buffer. Plug-ins share the layout, so it holds plain fields only.
struct TViewerPluginBitmapInfo
{
    int32_t Version = 1;
    int32_t Width = 0;
    int32_t Height = 0;
    TColor BackgroundColor = 0;
    TColor TextColor = 0;
    uint8_t* Pixels = nullptr;

    TViewerPluginBitmapInfo() = default;
    ~TViewerPluginBitmapInfo();
    TViewerPluginBitmapInfo(const TViewerPluginBitmapInfo&) = delete;
    TViewerPluginBitmapInfo& operator=(const TViewerPluginBitmapInfo&) = delete;

    // A new buffer of Width x Height x 4 bytes in place of the old one; none for an
    // empty size.
    void AllocatePixels();
    void FreePixels();
    // Every pixel of the buffer becomes the colour, opaque: what a plug-in leaves
    // undrawn shows the background.
    void FillPixels(TColor color);
};

// The plug-in's drawing of the file (a host path) at the size, on the background colour:
// what it leaves undrawn, or all of it when it throws, shows the background.
QImage DrawWithViewerPlugin(QuillomberLoadFileToBitmap loadFileToBitmap, const std::string& file,
                            const std::string& extension, QSize size, TColor backgroundColor, TColor textColor);
