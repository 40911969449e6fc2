#include "core/files/ProgramFolders.h"

#include "core/desktop/Program.h"
#include "core/files/PathNames.h"

#include "host/FileSystem.h"

#include <vector>

namespace {

std::string InOptions(const std::string& name)
{
    return IncludeEndBackslash(GetOptionsPath()) + name;
}

} // namespace

std::string GetPluginsPath()
{
    return IncludeEndBackslash(GetProgramDir()) + "Plugins\\";
}

std::string GetPluginFileName(const std::string& name)
{
    return GetPluginsPath() + name;
}

std::string GetOptionsPath()
{
    return IncludeEndBackslash(GetProgramDir()) + "Options\\";
}

std::string GetToolsPath()
{
    return InOptions("Tools\\");
}

std::string GetLocationsPath()
{
    return InOptions("Locations\\");
}

std::string GetSendPath()
{
    return InOptions("Send\\");
}

std::string GetSendDragPath()
{
    return InOptions("SendDrag\\");
}

std::string GetContainersPath()
{
    return InOptions("Containers\\");
}

std::string GetBackPicturesPath()
{
    return InOptions("BackPictures\\");
}

std::string GetSkinsPath()
{
    return InOptions("Skins\\");
}

std::string GetEditLinkFileName()
{
    return InOptions("Edit.lnk");
}

std::string GetUserLogoFileName()
{
    std::vector<host::FindData> entries;
    host::FindFiles(GetOptionsPath(), "UserLogo.*", entries);
    return InOptions(entries.empty() ? std::string() : entries.front().Name);
}
