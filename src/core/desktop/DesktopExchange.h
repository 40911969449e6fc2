#pragma once

#include <string>
#include <vector>

class QMimeData;

// The number of local files a drop carries.
int32_t GetDroppedFileCount(const QMimeData& drop);

// The dropped files' full names in the drop's order, in the program's path form; a file
// the program cannot name is left out. Traced.
void DroppedFilesToList(const QMimeData& drop, std::vector<std::string>& list);

// Makes the file of that name in the Windows folder the desktop wallpaper. Traced:
// "Failed to set wallpaper.".
void SetFileAsWallpaper(const std::string& name);
