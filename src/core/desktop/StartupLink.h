#pragma once

#include <string>

// The program's entry in the user's autostart folder, which stands for the link in the
// Startup folder: "quillomber.desktop", starting the target by its host path.
inline constexpr const char* StartupEntryFileName = "quillomber.desktop";

// Writes the entry anew for the target (a program path) when `status` is set, else
// deletes it. Shows its own failure.
void MakeStartupLinkByStatus(const std::string& target, bool status);

// An autostart entry is the only kind of link the desktop starts from the autostart
// folder, so a link made there is an entry: "<folder><link name>.desktop".
std::string GetStartupEntryFileName(const std::string& folder, const std::string& linkName);
