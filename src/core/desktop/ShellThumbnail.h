#pragma once

#include <QImage>

#include <cstdint>
#include <memory>
#include <string>

// Thumbnails that the desktop made of files, for the types the program cannot draw
// itself. Failures are Traced with status 2 and the shell's result code (a Windows error
// number as HRESULT); nothing is shown, the caller falls back to its own drawing.

inline constexpr uint32_t IEIFLAG_ASPECT = 0x4;
// The cache is local: extraction never goes online, with or without this flag.
inline constexpr uint32_t IEIFLAG_OFFLINE = 0x8;
inline constexpr uint32_t IEIFLAG_QUALITY = 0x200;

// The image extraction of one file, served from the desktop's thumbnail cache.
class TExtractImage
{
public:
    explicit TExtractImage(std::string fileName);

    // The wanted picture: the box it must fit, its colour depth (24 or 32) and IEIFLAG_
    // flags; false (ERROR_INVALID_PARAMETER) for an empty box or another depth.
    bool GetLocation(int width, int height, int depth, uint32_t flags);
    // The cache entry of the size meant for the box (else of the other size), shrunk to
    // fit the box, keeping its proportions with IEIFLAG_ASPECT; none when the cache holds
    // no valid entry.
    std::unique_ptr<QImage> Extract() const;

private:
    std::string FileName;
    int Width = 0;
    int Height = 0;
    int Depth = 32;
    uint32_t Flags = 0;
};

// Finds the file and an extraction for it. Parameter 1 of a failure is the file name.
bool ExtractImage_GetIPtr(const std::string& name, std::unique_ptr<TExtractImage>& extractor);
// Asks the extraction for a picture; on failure the bitmap is none.
bool ExtractImage_GetFileThumbnail(TExtractImage& extractor, int width, int height, int depth, uint32_t flags,
                                   std::unique_ptr<QImage>& bitmap);
// The thumbnail of a video (or of any file the desktop made one of), touching the box: as
// wide as the box with at most its height, or as high with at most its width. The
// desktop's cached thumbnail (the two above with depth 32 and IEIFLAG_ASPECT |
// IEIFLAG_OFFLINE | IEIFLAG_QUALITY) when it fills the box, else a frame made by the video
// thumbnailer (host/VideoFrames.h), else the cached one enlarged. Without either, the
// cache's failure. The bitmap is the caller's. Safe on any thread.
std::unique_ptr<QImage> GetSysThumbnailFromFile(const std::string& name, int width, int height);
