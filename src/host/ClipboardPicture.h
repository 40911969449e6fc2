#pragma once

#include <QImage>

#include <optional>
#include <string>

namespace host {

// The clipboard's picture; nothing (ERROR_NOT_SUPPORTED) when it holds none or there is
// no graphical application.
std::optional<QImage> GetClipboardPicture();
// Puts the picture on the clipboard.
bool SetClipboardPicture(const QImage& picture);
// Saves the picture as a Windows bitmap; the file is replaced whole or left as it was.
bool SavePictureAsBitmap(const QImage& picture, const std::string& windowsPath);
// As SavePictureAsBitmap, for a file that only the user may read (mode 0600).
bool SavePictureAsPrivateBitmap(const QImage& picture, const std::string& windowsPath);

} // namespace host
