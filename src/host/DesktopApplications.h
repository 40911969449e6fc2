#pragma once

#include <optional>
#include <string>
#include <vector>

// The applications the desktop has installed (the ".desktop" entries of the XDG data
// folders) and the file types each of them opens, with the user's choices of
// mimeapps.list applied.
namespace host {

struct DesktopApplication
{
    // The entry's desktop file ID, "org.example.Editor.desktop".
    std::string Id;
    std::string Name;
    std::string Exec;
    std::string Icon;
    // The host path of the entry file.
    std::string EntryFile;
    // The entry's "Terminal=true": the program shows itself only inside a terminal.
    bool Terminal = false;
};

// The applications that open the types of all the files (Windows paths): for each type
// of the first file, from the most specific to the broadest, its default applications,
// the associations the user added and the applications that register it, without the
// ones the user removed. Empty when a file has no host form.
std::vector<DesktopApplication> GetApplicationsForFiles(const std::vector<std::string>& windowsPaths);

// The applications that open a file type ("text/plain"), the desktop's default first, in
// the order GetApplicationsForFiles gives; empty when no application opens the type.
std::vector<DesktopApplication> ApplicationsForType(const std::string& typeName);

std::optional<DesktopApplication> FindApplication(const std::string& id);

// The command lines that start the application on the files (host paths): its Exec line
// with the field codes filled in, one command for each file when the line takes a
// single file ("%f", "%u"), else one command for all of them.
std::vector<std::vector<std::string>> ExpandExecLine(const DesktopApplication& application,
                                                     const std::vector<std::string>& hostPaths);

// The command that starts the application on one file: the program as an absolute host
// path (a bare name looked up in PATH), then its arguments with `file` put, as given and
// never made a URI, where the Exec line takes its file or files (at the end when it
// names none). Empty when the line is empty or its program is not found.
std::vector<std::string> ExecCommandForFile(const DesktopApplication& application, const std::string& file);

} // namespace host
