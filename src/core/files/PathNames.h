#pragma once

#include "host/FileIdentity.h"

#include <string>
#include <vector>

// Paths are Windows-style texts: a file or folder item has no trailing backslash
// ("C:\d\a.txt", "C:\d"), a drive item is its letter and colon ("C:"), a listed folder
// ends with a backslash ("C:\d\", a root "C:\"), and the empty text is the list of
// drives. Both "\" and ":" end a path part. Letter case is ignored (ASCII letters).

std::string IncludeEndBackslash(const std::string& path);
// The path without one trailing backslash ("C:\d\" gives "C:\d", "C:\" gives "C:").
std::string ExcludeEndBackslash(const std::string& path);
bool IsDriveName(const std::string& text);
// The path part, up to and including the last separator; "" for a drive name.
std::string GetParentPath(const std::string& path);
// The name part after the last separator; a drive name unchanged.
std::string GetPathName(const std::string& path);
// The extension with its dot ("a.txt" gives ".txt", "a." gives "."), or "".
std::string GetExtension(const std::string& name);
std::string GetExtensionWithoutDot(const std::string& name);
// The path without its extension and that dot ("C:\a\b.txt" gives "C:\a\b").
std::string ExcludeExtension(const std::string& path);
// "C:" or "\\server\share"; "" for a text with neither.
std::string GetDrivePart(const std::string& path);
// The name's extension, dot included, found in a list sorted ignoring case.
bool IsExtensionInList(const std::string& name, const std::vector<std::string>* sortedList);
// Gives the first component and removes it (and its "\") from the path.
std::string CutFirstPathName(std::string& path);
// The path is the parent itself or lies below it.
bool IsSubPath(const std::string& parent, const std::string& path);
// Every entry has a drive part and none of < > | " * ?.
bool AreValidPaths(const std::vector<std::string>& paths);
std::string ExpandShortPath(const std::string& path);
// The absolute form: relative parts resolved against the current directory, "." and
// ".." removed. A drive name stays itself.
std::string GetFullPath(const std::string& path);
// The absolute form in the one canonical spelling of the file (the same folder reached
// through two letters, or through a directory link, gives one text).
std::string GetUNCPath(const std::string& path);
// Whether two paths name one file, by file identity where it exists (see FileIdentity.h):
// "a.txt" and "A.txt" are two files, a hard link and its file are one.
bool IsSameFile(const std::string& a, const std::string& b, host::FinalLink finalLink = host::FinalLink::Kept);
// The path is the folder itself or lies below it, by the same identity.
bool IsSameOrInsideFolder(const std::string& folder, const std::string& path);
// Both paths lie on one file system, whatever letters name them (see AreOnOneFileSystem
// in FileIdentity.h); false when either cannot be placed on one.
bool IsSameRoot(const std::string& a, const std::string& b);
// Wildcard patterns separated by ";" ("*" any run, "?" any one character); an empty
// spec matches everything.
bool MatchesFileSpec(const std::string& name, const std::string& spec);
