#pragma once

// True when the program was started as its installer ("Install.exe", or "Install" as
// Linux names it) or with "/Uninstall" as its first argument, in any letter case.
bool IsInstallerMode();
// The first argument is "/Uninstall", in any letter case.
bool IsUninstallArgument();
// The running program file is "Install.exe" or "Install", in any letter case.
bool IsInstallProgramName();
