#pragma once

#include "host/FaultInjection.h"
#include <cstdint>

#include <optional>
#include <string>

// The drive table: the program sees Windows-style paths ("C:\dir\a.txt"); each drive
// letter stands for a host directory. "C:" is "/" unless a test or a setting says otherwise.
namespace host {

inline constexpr size_t MaxPathBytes = 259;

void MapDrive(char letter, const std::string& hostDirectory);
void UnmapDrive(char letter);
// Back to the default table: only "C:" mapped to "/".
void ResetDriveTable();
// The host directory of a letter, or nothing when the letter is not mapped.
std::optional<std::string> GetDriveHostRoot(char letter);
// Gives each file system mounted under /media, /run/media or /mnt the next free letter,
// in mount order, unless a letter already stands for its folder; run at start-up.
void MapMountedDrives();
// The mapped letters as a mask, bit 0 for "A:".
uint32_t GetLogicalDrives();

// "C:\d\a.txt" to "/d/a.txt". Fails (nothing, last error set) for a path without a
// mapped drive letter (3), a network path (53), a name Windows cannot hold (123), or a
// path over 259 bytes (206). "." and ".." are resolved on the text, never above the root.
// Each stand-in character (see WindowsNameOfHostName) becomes its byte again.
std::optional<std::string> WindowsToHost(const std::string& windowsPath);

// "/d/a.txt" to "C:\d\a.txt", through the letter whose directory is the most specific
// prefix, each name as WindowsNameOfHostName gives it. Fails for a relative path (87), a
// name without a Windows form (123), or a result over 259 bytes (206). A drive's root
// gives "X:\".
std::optional<std::string> HostToWindows(const std::string& hostPath);

// The name a host name has in Windows paths: each byte a Windows name cannot hold (\ : * ?
// < > | " and the control characters 1-31) becomes the private-use character U+F000 + byte,
// so every file can be reached and no name carries a line break into a line-based file.
// Nothing for "", "." and "..", and for a name that already holds such a stand-in, since
// its Windows form could not be told apart from the name the stand-in stands for.
std::optional<std::string> WindowsNameOfHostName(const std::string& hostName);

// The host path of a Windows path for one host call of the kind: nothing (last error
// set) when a fault is injected for the call or the path cannot be translated.
std::optional<std::string> HostPathForCall(HostCall call, const std::string& windowsPath);

// The one canonical form of a Windows path: directory symbolic links resolved and the
// most specific letter chosen, so two letters reaching one folder give one text.
// A path that cannot be translated is returned unchanged.
std::string CanonicalWindowsPath(const std::string& windowsPath);

// Host path texts: "/a/b/" to "/a/b" ("/" stays); whether an absolute host path is the
// root or lies below it, component-wise ("/srv/database" is not below "/srv/data").
std::string StripTrailingSlashes(std::string hostPath);
bool IsHostPathUnder(const std::string& root, const std::string& hostPath);
// An absolute host path that names an existing folder (or a link to one).
bool IsHostDirectory(const std::string& hostPath);

} // namespace host
