#pragma once

#include <string>

class TTraced;

// The desktop's launchers: freedesktop desktop entries, in the autostart folder, the
// applications menu or on the desktop. The Exec line names the target by its host path,
// quoted by the desktop-entry rules.

// Writes an entry named `name` that starts the target: a program directly with the
// arguments, any other file or folder through the desktop's opener. The working folder,
// when asked for, is the target's own folder. An existing entry is kept unless
// `overwrite`. Traced.
void SaveDesktopEntry(const std::string& entryFileName, const std::string& name, const std::string& target,
                      const std::string& arguments, bool useTargetFolder, bool overwrite);
// Writes the entry over an existing one; a failure goes to `trace`.
void WriteDesktopEntry(TTraced& trace, const std::string& entryFileName, const std::string& name,
                       const std::string& target, bool program, const std::string& arguments, bool useTargetFolder);
