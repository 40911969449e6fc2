#pragma once

#include <string>
#include <string_view>

// The operation a file-operation dialog runs. It is also the verb of its messages, spelled
// as the caller passed it ("Failed to " + operation + " file."), so it stays text and is
// compared without regard to case.
using TFileOperationName = std::string;

namespace FileOperation {

inline constexpr std::string_view Copy = "Copy";
inline constexpr std::string_view Move = "Move";
inline constexpr std::string_view Delete = "Delete";
inline constexpr std::string_view Recycle = "Recycle";
inline constexpr std::string_view Compare = "Compare";
inline constexpr std::string_view ConvertPicture = "Convert picture";
inline constexpr std::string_view ClipTitleOf = "Clip title of";
inline constexpr std::string_view CopyAsLink = "Copy as link";

// Whether `operation` is the named one, whatever its letter case.
bool Is(std::string_view operation, std::string_view name);

// Copy, move, compare, convert and link write names at a destination, so only they take a
// file-name prefix.
bool TakesPrefix(std::string_view operation);

} // namespace FileOperation
