#pragma once

#include <QImage>

#include <chrono>
#include <optional>
#include <string>

// Frames of videos, made by the desktops' video thumbnailer (ffmpegthumbnailer), one
// process per frame. A process that crashes or hangs on a file takes nothing else down: it
// is killed at the time limit. Safe on any thread, also one without an event loop.
namespace host {

struct VideoThumbnailer
{
    // The program, found on PATH unless it is a path.
    std::string Program = "ffmpegthumbnailer";
    std::chrono::milliseconds TimeLimit{10000};
};

VideoThumbnailer GetVideoThumbnailer();
// Tests point it to a stand-in and shorten the time limit.
void SetVideoThumbnailer(const VideoThumbnailer& thumbnailer);

// A frame from a tenth into the video, its larger side `size` pixels. It is written to a
// file of its own in the program's private temporary folder, which is removed afterwards
// whatever happened. Fails with ERROR_ACCESS_DENIED for anything but a regular file,
// ERROR_FILE_NOT_FOUND when the thumbnailer cannot be started, ERROR_TIMEOUT when it
// was killed, ERROR_NOT_SUPPORTED when it failed or wrote no usable picture.
std::optional<QImage> MakeVideoFrame(const std::string& windowsPath, int size);

} // namespace host
