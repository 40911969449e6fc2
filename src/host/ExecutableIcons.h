#pragma once

#include <QImage>

#include <optional>
#include <string>

// The icons the system shows for programs and cursors, read from the files themselves.
// Every call sets the last error: ERROR_RESOURCE_TYPE_NOT_FOUND (1813) for a file that holds
// no usable icon, whatever part of it is missing, malformed or out of bounds.
namespace host {

// The largest image (by area, then colour depth) of the first icon group in a Windows
// program's resources (".exe", ".dll"): 32-bit and 64-bit portable executables, images as
// device-independent bitmaps or PNG. The reader never reads outside the file, examines at
// most 256 entries of a directory or group and reads no image above 1 MiB or 256 pixels
// a side.
std::optional<QImage> ReadExecutableIcon(const std::string& windowsPath);

// The largest image of a cursor file (".cur"), read by the picture decoders' icon reader.
std::optional<QImage> ReadCursorIcon(const std::string& windowsPath);

} // namespace host
