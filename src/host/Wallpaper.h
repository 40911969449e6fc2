#pragma once

#include <string>

namespace host {

// Makes the picture the desktop's wallpaper through the desktop's settings service
// (gsettings); false with the last error set when there is none or it refuses.
bool SetDesktopWallpaper(const std::string& windowsPath);

} // namespace host
