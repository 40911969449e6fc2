#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace host {

inline constexpr uint32_t FILE_ATTRIBUTE_READONLY = 0x1;
inline constexpr uint32_t FILE_ATTRIBUTE_HIDDEN = 0x2;
inline constexpr uint32_t FILE_ATTRIBUTE_SYSTEM = 0x4;
inline constexpr uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr uint32_t FILE_ATTRIBUTE_ARCHIVE = 0x20;
inline constexpr uint32_t FILE_ATTRIBUTE_REPARSE_POINT = 0x400;

// The Windows attributes of what stands at the path, a symbolic link itself rather than
// its target: read-only when the owner may not write, hidden for a name beginning with
// ".", directory, archive for a regular file, reparse point for a symbolic link (with
// the directory or archive bit of its target), system for any other kind of file.
// Nothing, with the last error set, when the path cannot be examined.
std::optional<uint32_t> GetFileAttributes(const std::string& windowsPath);

} // namespace host
