#pragma once

#include "host/FileSystem.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Shell links (".lnk", and ".pif" in the same form) in the published binary shell-link
// format, read and written by our own code so that links made on Windows load here and
// ours load there. Paths inside a link are the program's Windows paths.
namespace host {

// The result codes of the link calls, as the shell gives them: negative is failure.
using HResult = int32_t;
inline constexpr HResult S_OK = 0;
inline constexpr HResult S_FALSE = 1;
inline constexpr HResult E_FAIL = static_cast<HResult>(0x80004005u);
inline constexpr HResult E_INVALIDARG = static_cast<HResult>(0x80070057u);
// The result code that carries a Windows error number.
HResult HResultFromError(uint32_t code);

// Resolve flags: accept any match (the only kind of search here), and write a repaired
// link back to its file.
inline constexpr uint32_t SLR_ANY_MATCH = 0x2;
inline constexpr uint32_t SLR_UPDATE = 0x4;

struct ShellLink
{
    // The target as recorded when the link was made: its entry data (the file size
    // kept in 32 bits, as the format holds it) and its absolute path.
    FindData TargetData;
    std::string TargetPath;
    // The target's path relative to the link's folder ("..\d\a.txt"), or "".
    std::string RelativePath;
    std::string WorkingDirectory;
    std::string Arguments;
    std::string Description;
    std::string IconLocation;
    int32_t IconIndex = 0;
    uint16_t HotKey = 0;
    int32_t ShowCommand = 0;
};

// True for a text a link can hold: UTF-8 without NUL characters, at most 65535 UTF-16
// code units.
bool IsStorableLinkText(std::string_view text);

// The link held in the bytes, or nothing for bytes that are not a whole, well-formed link.
// The target path comes from the link's local or network location; the item-identifier
// list and the extra data blocks are skipped.
std::optional<ShellLink> ParseShellLink(std::string_view bytes);
// The bytes of the link in the Unicode form; nothing when a text is not storable. Only a
// target with a drive letter gets a location.
std::optional<std::string> FormatShellLink(const ShellLink& link);

// Reads a link file (`linkPath` absolute): a failure code for a file that cannot be read
// or is malformed. A link that records no location takes its target from its relative
// path.
HResult LoadShellLink(const std::string& linkPath, ShellLink& link);
// Writes a link file atomically; E_INVALIDARG for a text that is not storable.
HResult SaveShellLink(const std::string& linkPath, const ShellLink& link);
// When the target is gone, looks for it at the link's relative path from the link's
// folder (`linkPath` is absolute) and, when found there, takes it as the target, and
// with SLR_UPDATE writes the repaired link back (a failed write leaves the file as it
// was). A target found nowhere leaves the link as it is.
void ResolveShellLink(const std::string& linkPath, ShellLink& link, uint32_t flags);

} // namespace host
