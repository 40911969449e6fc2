#include "host/ShellFolders.h"

#include "host/Drives.h"
#include "host/LastError.h"
#include "host/Process.h"

#include <fstream>
#include <optional>
#include <sys/stat.h>

namespace host {
namespace {

struct UserFolder
{
    int Number;
    const char* Key;
    const char* DefaultName;
};

constexpr UserFolder UserFolders[] = {
    {CSIDL_DESKTOPDIRECTORY, "XDG_DESKTOP_DIR", "Desktop"},
    {CSIDL_PERSONAL, "XDG_DOCUMENTS_DIR", "Documents"},
    {CSIDL_MYMUSIC, "XDG_MUSIC_DIR", "Music"},
    {CSIDL_MYPICTURES, "XDG_PICTURES_DIR", "Pictures"},
    {CSIDL_MYVIDEO, "XDG_VIDEOS_DIR", "Videos"},
    {CSIDL_TEMPLATES, "XDG_TEMPLATES_DIR", "Templates"},
};

// A folder and whether it belongs to the user (and so may be created).
struct HostFolder
{
    std::string Path;
    bool PerUser = false;
};

std::string HomeFolder()
{
    return EnvironmentValue("HOME");
}

// An XDG base folder: the variable when it holds an absolute path, else its default.
std::string BaseFolder(const char* variable, const char* defaultUnderHome)
{
    const std::string value = EnvironmentValue(variable);
    if (!value.empty() && value[0] == '/')
        return value;
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + "/" + defaultUnderHome;
}

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r");
    const size_t last = text.find_last_not_of(" \t\r");
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// A shell-quoted value of user-dirs.dirs: "$HOME/Music" or "/absolute", with "\"
// escaping the next character. Nothing for any other form.
std::optional<std::string> DecodeUserDirsValue(const std::string& quoted, const std::string& home)
{
    if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"')
        return std::nullopt;
    std::string value;
    for (size_t i = 1; i + 1 < quoted.size(); ++i) {
        if (quoted[i] == '\\' && i + 2 < quoted.size())
            ++i;
        value += quoted[i];
    }
    if (value == "$HOME" || value.rfind("$HOME/", 0) == 0)
        return home + value.substr(5);
    if (!value.empty() && value[0] == '/')
        return value;
    return std::nullopt;
}

std::optional<std::string> ReadUserDirsEntry(const std::string& key, const std::string& home)
{
    std::ifstream file(GetConfigHomeHostFolder() + "/user-dirs.dirs");
    std::string line;
    std::optional<std::string> found;
    while (std::getline(file, line)) {
        line = Trim(line);
        const size_t equals = line.find('=');
        if (line.empty() || line[0] == '#' || equals == std::string::npos || Trim(line.substr(0, equals)) != key)
            continue;
        found = DecodeUserDirsValue(Trim(line.substr(equals + 1)), home);
    }
    return found;
}

// Empty when the user has switched the folder off by setting it to the home folder.
std::string UserFolderPath(const UserFolder& folder)
{
    const std::string home = HomeFolder();
    if (home.empty())
        return {};
    const std::string path =
        StripTrailingSlashes(ReadUserDirsEntry(folder.Key, home).value_or(home + "/" + folder.DefaultName));
    return path == StripTrailingSlashes(home) ? std::string() : path;
}

HostFolder FolderOfNumber(int number)
{
    for (const UserFolder& folder : UserFolders)
        if (folder.Number == number)
            return {UserFolderPath(folder), true};
    switch (number) {
    case CSIDL_STARTUP:
        return {GetConfigHomeHostFolder() + "/autostart", true};
    case CSIDL_PROGRAMS:
        return {GetDataHomeHostFolder() + "/applications", true};
    case CSIDL_APPDATA:
        return {GetDataHomeHostFolder(), true};
    case CSIDL_COMMON_PROGRAMS:
        return {"/usr/share/applications", false};
    case CSIDL_COMMON_STARTUP:
        return {"/etc/xdg/autostart", false};
    case CSIDL_FONTS:
        return {"/usr/share/fonts", false};
    case CSIDL_PROGRAM_FILES:
        return {"/opt", false};
    case CSIDL_PROGRAM_FILES_COMMON:
        return {"/usr/lib", false};
    default:
        return {};
    }
}

bool IsFolder(const std::string& hostPath)
{
    struct stat info = {};
    return stat(hostPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

std::string GetShellFolderHostPath(int folderNumber)
{
    const HostFolder folder = FolderOfNumber(folderNumber & 0xFF);
    if (folder.Path.empty() || IsFolder(folder.Path))
        return folder.Path;
    const bool create = folder.PerUser && (folderNumber & CSIDL_FLAG_CREATE) != 0;
    return create && MakeHostFolders(folder.Path, 0700) ? folder.Path : std::string();
}

std::string GetConfigHomeHostFolder()
{
    return BaseFolder("XDG_CONFIG_HOME", ".config");
}

std::string GetDataHomeHostFolder()
{
    return BaseFolder("XDG_DATA_HOME", ".local/share");
}

std::string GetOperatorHostFolder()
{
    const std::string dataHome = GetDataHomeHostFolder();
    if (dataHome.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return {};
    }
    const std::string folder = dataHome + "/quillomber";
    return MakeHostFolders(folder, 0700) ? folder : std::string();
}

std::string GetSystemHostFolder()
{
    return "/usr/bin";
}

std::string GetHostsHostFile()
{
    return "/etc/hosts";
}

} // namespace host
