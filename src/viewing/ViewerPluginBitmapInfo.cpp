#include "viewing/ViewerPluginBitmapInfo.h"

#include "viewing/PictureLoading.h"

#include <QColor>

#include <algorithm>
#include <array>
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

void TViewerPluginBitmapInfo::FillPixels(TColor color)
{
    if (Pixels == nullptr)
        return;
    const QColor fill = ToQColor(color);
    const std::array<uint8_t, 4> pixel = {static_cast<uint8_t>(fill.blue()), static_cast<uint8_t>(fill.green()),
                                          static_cast<uint8_t>(fill.red()), 255};
    const int64_t count = int64_t{std::max(Width, 0)} * std::max(Height, 0);
    for (int64_t index = 0; index < count; ++index)
        std::copy(pixel.begin(), pixel.end(), Pixels + index * 4);
}

QImage DrawWithViewerPlugin(QuillomberLoadFileToBitmap loadFileToBitmap, const std::string& file,
                            const std::string& extension, QSize size, TColor backgroundColor, TColor textColor)
{
    QImage picture(size, QImage::Format_ARGB32);
    picture.fill(ToQColor(backgroundColor));
    TViewerPluginBitmapInfo info;
    info.Width = size.width();
    info.Height = size.height();
    info.BackgroundColor = backgroundColor;
    info.TextColor = textColor;
    info.AllocatePixels();
    info.FillPixels(backgroundColor);
    uint8_t* const pixels = info.Pixels;
    if (pixels == nullptr)
        return picture;
    try {
        loadFileToBitmap(file.c_str(), extension.c_str(), reinterpret_cast<QuillomberPluginBitmap*>(&info));
    } catch (...) {
        // A plug-in that fails leaves the background it was given.
    }
    // The buffer and its size stay ours, whatever the plug-in wrote into the record.
    info.Pixels = pixels;
    CopyPixelsToGdipBitmap(pixels, picture, size.width(), size.height());
    return picture;
}
