#include "core/files/ProgramFolders.h"

#include "support/TestSupport.h"

#include "host/Process.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class ProgramFolders : public testing::Test
{
protected:
    ProgramFolders() { host::SetProgramHostFile(Drive.HostPath("quillomber")); }

    TTempDrive Drive{'Q'};
};

TEST_F(ProgramFolders, FoldersLieBesideTheProgramAndUnderOptions)
{
    const std::pair<std::function<std::string()>, std::string> rows[] = {
        {GetPluginsPath, "Q:\\Plugins\\"},
        {[] { return GetPluginFileName("QM_PVP.dll"); }, "Q:\\Plugins\\QM_PVP.dll"},
        {GetOptionsPath, "Q:\\Options\\"},
        {GetToolsPath, "Q:\\Options\\Tools\\"},
        {GetLocationsPath, "Q:\\Options\\Locations\\"},
        {GetSendPath, "Q:\\Options\\Send\\"},
        {GetSendDragPath, "Q:\\Options\\SendDrag\\"},
        {GetContainersPath, "Q:\\Options\\Containers\\"},
        {GetBackPicturesPath, "Q:\\Options\\BackPictures\\"},
        {GetSkinsPath, "Q:\\Options\\Skins\\"},
        {GetEditLinkFileName, "Q:\\Options\\Edit.lnk"},
    };
    for (const auto& [folder, expected] : rows)
        EXPECT_EQ(expected, folder());
}

TEST_F(ProgramFolders, UserLogoIsTheFirstMatchOrTheOptionsFolder)
{
    EXPECT_EQ("Q:\\Options\\", GetUserLogoFileName());
    Drive.WriteFile("Options/Logo.png", "");
    EXPECT_EQ("Q:\\Options\\", GetUserLogoFileName());
    Drive.WriteFile("Options/userlogo.JPG", "");
    EXPECT_EQ("Q:\\Options\\userlogo.JPG", GetUserLogoFileName());
}

} // namespace
