#pragma once

#include <string>

// The host folders that stand for the Windows shell's well-known folders, as host paths.
namespace host {

// The shell's folder numbers.
inline constexpr int CSIDL_PROGRAMS = 2;
inline constexpr int CSIDL_PERSONAL = 5;
inline constexpr int CSIDL_FAVORITES = 6;
inline constexpr int CSIDL_STARTUP = 7;
inline constexpr int CSIDL_RECENT = 8;
inline constexpr int CSIDL_MYMUSIC = 13;
inline constexpr int CSIDL_MYVIDEO = 14;
inline constexpr int CSIDL_DESKTOPDIRECTORY = 16;
inline constexpr int CSIDL_FONTS = 20;
inline constexpr int CSIDL_TEMPLATES = 21;
inline constexpr int CSIDL_COMMON_PROGRAMS = 23;
inline constexpr int CSIDL_COMMON_STARTUP = 24;
inline constexpr int CSIDL_COMMON_DESKTOPDIRECTORY = 25;
inline constexpr int CSIDL_APPDATA = 26;
inline constexpr int CSIDL_COMMON_FAVORITES = 31;
inline constexpr int CSIDL_INTERNET_CACHE = 32;
inline constexpr int CSIDL_COOKIES = 33;
inline constexpr int CSIDL_PROGRAM_FILES = 38;
inline constexpr int CSIDL_MYPICTURES = 39;
inline constexpr int CSIDL_PROGRAM_FILES_COMMON = 43;
inline constexpr int CSIDL_COMMON_DOCUMENTS = 46;
// Combined with a number: a missing per-user folder is created.
inline constexpr int CSIDL_FLAG_CREATE = 0x8000;

// The host folder of a shell folder number: the XDG user folders ($XDG_CONFIG_HOME/
// user-dirs.dirs, else their defaults under HOME; a folder set to HOME itself is
// switched off), the autostart folder as Startup, the desktop's menu entries as the
// Start-menu programs, the data home as application data. Empty when the host has no
// such folder, or it is missing and not to be (or cannot be) created.
std::string GetShellFolderHostPath(int folderNumber);

// $XDG_CONFIG_HOME, else ~/.config; $XDG_DATA_HOME, else ~/.local/share.
std::string GetConfigHomeHostFolder();
std::string GetDataHomeHostFolder();

// The program's own data folder ($XDG_DATA_HOME/quillomber, created), standing in for
// the Windows folder: the program writes into it. Empty, with the last error set, when
// it cannot be made.
std::string GetOperatorHostFolder();
// Where the system's own programs lie, standing in for the system folder.
std::string GetSystemHostFolder();
// The host's table of host names, standing in for the "Drivers\Etc\Hosts" file.
std::string GetHostsHostFile();

} // namespace host
