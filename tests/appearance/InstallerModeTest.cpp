#include "appearance/InstallerMode.h"

#include "host/Process.h"

#include <gtest/gtest.h>

namespace {

TEST(InstallerMode, IsChosenByTheProgramNameOrTheUninstallArgumentInAnyCase)
{
    struct TCase
    {
        std::vector<std::string> CommandLine;
        bool Installer;
    };
    const TCase cases[] = {
        {{"/opt/q/quillomber"}, false},
        {{"/opt/q/Install.exe"}, true},
        {{"/opt/q/INSTALL.EXE"}, true},
        {{"/opt/q/install"}, true},
        {{"/opt/q/Installer"}, false},
        {{"/opt/q/quillomber", "/uninstall"}, true},
        {{"/opt/q/quillomber", "/Uninstall", "more"}, true},
        {{"/opt/q/quillomber", "x", "/Uninstall"}, false},
        {{}, false},
    };
    const std::vector<std::string> saved = host::GetCommandLine();
    for (const TCase& c : cases) {
        host::SetCommandLine(c.CommandLine);
        EXPECT_EQ(IsInstallerMode(), c.Installer) << (c.CommandLine.empty() ? "" : c.CommandLine.back());
    }
    host::SetCommandLine(saved);
}

} // namespace
