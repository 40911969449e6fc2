#pragma once

#include "support/TestSupport.h"

#include "host/Process.h"
#include "host/VideoFrames.h"

#include <QImage>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

// One second of the test pattern, 320 x 180, made once with
//   ffmpeg -f lavfi -i testsrc=duration=1:size=320x180:rate=10 -c:v libx264 -pix_fmt yuv420p
//          -crf 32 -movflags +faststart -map_metadata -1 -fflags +bitexact -flags:v +bitexact
//          TestPattern.mp4
// Copied onto the drive, it gives its Windows path.
inline std::string CopyTestPatternClip(const TTempDrive& drive, const std::string& name)
{
    std::ifstream file(std::string(QUILLOMBER_FIXTURES) + "/TestPattern.mp4", std::ios::binary);
    drive.WriteFile(name, {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()});
    return drive.Path(name);
}

// A stand-in for the video thumbnailer: a shell script whose body gets the output file's
// name in $OUT (the argument after "-o").
inline std::string WriteStandInThumbnailer(const TTempDrive& drive, const std::string& name, const std::string& body)
{
    const std::string path = drive.HostPath(name);
    drive.WriteFile(name, "#!/bin/sh\n"
                          "while [ $# -gt 0 ]; do [ \"$1\" = -o ] && OUT=$2; shift; done\n" +
                              body + "\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
    return path;
}

inline void UseThumbnailer(const std::string& program, std::chrono::milliseconds timeLimit = std::chrono::seconds(10))
{
    host::SetVideoThumbnailer({program, timeLimit});
}

// The frames left in the program's temporary folder.
inline int LeftFrames()
{
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(host::GetTemporaryHostFolder()))
        count += entry.path().filename().string().rfind("frame-", 0) == 0 ? 1 : 0;
    return count;
}

// How many colours a picture holds: a frame of the test pattern holds many.
inline size_t ColourCount(const QImage& picture)
{
    std::set<QRgb> colours;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            colours.insert(picture.pixel(x, y));
    return colours.size();
}
