#pragma once

#include <string>

// The program's own folders beside the program file, each with a trailing backslash.
// The main window creates them at start-up; they never move.
std::string GetPluginsPath();
std::string GetPluginFileName(const std::string& name);
std::string GetOptionsPath();
// The link folders of the tools, locations, send and send-drag menus.
std::string GetToolsPath();
std::string GetLocationsPath();
std::string GetSendPath();
std::string GetSendDragPath();
std::string GetContainersPath();
std::string GetBackPicturesPath();
std::string GetSkinsPath();
// The link to the user's text editor.
std::string GetEditLinkFileName();
// The first entry named "UserLogo" with any extension in the Options folder, in the
// file system's order; the Options folder itself when there is none.
std::string GetUserLogoFileName();
