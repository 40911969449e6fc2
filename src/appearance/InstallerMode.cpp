#include "appearance/InstallerMode.h"

#include "core/text/AsciiCase.h"

#include "host/Process.h"

#include <filesystem>

bool IsUninstallArgument()
{
    const std::vector<std::string>& arguments = host::GetCommandLine();
    return arguments.size() > 1 && SameTextAscii(arguments[1], "/Uninstall");
}

bool IsInstallProgramName()
{
    const std::vector<std::string>& arguments = host::GetCommandLine();
    if (arguments.empty())
        return false;
    const std::string name = std::filesystem::path(arguments[0]).filename().string();
    return SameTextAscii(name, "Install.exe") || SameTextAscii(name, "Install");
}

bool IsInstallerMode()
{
    return IsUninstallArgument() || IsInstallProgramName();
}
