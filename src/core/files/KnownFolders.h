#pragma once

#include <string>

// The system's well-known folders, each with a trailing backslash, or the empty text
// when the system has no such folder.

// The folders that stand for the Windows, system and temporary folders. Traced; "Failed
// to get path." with the empty text when the folder cannot be found or made.
std::string GetOperatorPath();
std::string GetSystemPath();
std::string GetTempPathA();
// The drive of the Windows folder: "C:\" (a new column's folder) and "C:" (a new board's
// column path).
std::string GetOperatorDrivePath();
std::string GetOperatorDrive();

// The shell folder of a folder number (host/ShellFolders.h), created when it is a
// missing folder of the user's. Traced, but never raises: a folder the system cannot
// give is the empty text.
std::string GetSystemDirectoryPath(int folderNumber);

std::string GetDocumentsPath();
std::string GetSharedDocumentsPath();
std::string GetMusicPath();
std::string GetMoviesPath();
std::string GetPicturesPath();
std::string GetDesktopPath();
std::string GetSharedDesktopPath();
std::string GetProgramLinksPath();
std::string GetSharedProgramLinksPath();
std::string GetProgramFilesPath();
std::string GetCommonFilesPath();
std::string GetFavoritesPath();
std::string GetSharedFavoritesPath();
std::string GetStartupPath();
std::string GetSharedStartupPath();
std::string GetRecentPath();
std::string GetCookiesPath();
std::string GetInternetCachePath();
std::string GetFontsPath();
std::string GetApplicationDataPath();

// The application data folder followed by "Microsoft\Internet Explorer\Quick Launch\";
// empty without an application data folder.
std::string GetQuickLaunchPath();
// The file of host names (a file name: no trailing backslash).
std::string GetHostsFileName();

// Lets the user pick a folder, starting at `root` (the desktop when empty). True with
// the folder (no trailing backslash, a root as "C:\") when one is picked; false with
// the folder emptied when the user cancels.
bool ChooseDirectory(std::string& folder, const std::string& root, const std::string& caption);
