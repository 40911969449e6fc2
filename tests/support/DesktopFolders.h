#pragma once

#include "support/TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

// The desktop's application entries and choices as the test writes them: the user's
// folders lie in the test root, and the system's folders are the test's own, holding only
// the machine's file-type database, so no installed application ever shows.
class TDesktopFolders
{
public:
    TDesktopFolders()
        : UserData(std::getenv("XDG_DATA_HOME")), UserConfig(std::getenv("XDG_CONFIG_HOME")),
          SystemData(TestRootHostPath() + "/system-data"), SystemConfig(TestRootHostPath() + "/system-config")
    {
        Save("XDG_DATA_DIRS", SavedDataDirs);
        Save("XDG_CONFIG_DIRS", SavedConfigDirs);
        std::filesystem::create_directories(SystemData);
        std::error_code ignored;
        std::filesystem::create_directory_symlink("/usr/share/mime", SystemData + "/mime", ignored);
        setenv("XDG_DATA_DIRS", SystemData.c_str(), 1);
        setenv("XDG_CONFIG_DIRS", SystemConfig.c_str(), 1);
    }

    ~TDesktopFolders()
    {
        Restore("XDG_DATA_DIRS", SavedDataDirs);
        Restore("XDG_CONFIG_DIRS", SavedConfigDirs);
        std::error_code ignored;
        for (const std::string& folder : {UserData + "/applications", SystemData, SystemConfig})
            std::filesystem::remove_all(folder, ignored);
        std::filesystem::remove(UserConfig + "/mimeapps.list", ignored);
    }

    TDesktopFolders(const TDesktopFolders&) = delete;
    TDesktopFolders& operator=(const TDesktopFolders&) = delete;

    // An application entry ("[Desktop Entry]" and "Type=Application" come first) under a
    // path relative to the applications folder.
    void WriteApplication(const std::string& relative, const std::string& keys, bool system = false) const
    {
        Write((system ? SystemData : UserData) + "/applications/" + relative,
              "[Desktop Entry]\nType=Application\n" + keys);
    }

    void WriteUserMimeApps(const std::string& content) const { Write(UserConfig + "/mimeapps.list", content); }

private:
    static void Save(const char* name, std::optional<std::string>& saved)
    {
        if (const char* value = std::getenv(name))
            saved = value;
    }

    static void Restore(const char* name, const std::optional<std::string>& saved)
    {
        if (saved)
            setenv(name, saved->c_str(), 1);
        else
            unsetenv(name);
    }

    static void Write(const std::string& path, const std::string& content)
    {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path) << content;
    }

    std::string UserData;
    std::string UserConfig;
    std::string SystemData;
    std::string SystemConfig;
    std::optional<std::string> SavedDataDirs;
    std::optional<std::string> SavedConfigDirs;
};
