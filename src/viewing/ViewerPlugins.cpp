#include "viewing/ViewerPlugins.h"

#include "viewing/ViewerPluginBitmapInfo.h"

#include "core/files/ProgramFolders.h"
#include "core/settings/ProgramOptions.h"
#include "core/text/AsciiCase.h"

#include "host/Drives.h"

#include <dlfcn.h>

#include <array>
#include <cstddef>
#include <optional>
#include <type_traits>

// Plug-ins receive the program's record as theirs, so the two layouts must not drift apart.
static_assert(std::is_standard_layout_v<TViewerPluginBitmapInfo>);
static_assert(sizeof(TViewerPluginBitmapInfo) == sizeof(QuillomberPluginBitmap));
static_assert(offsetof(TViewerPluginBitmapInfo, Version) == offsetof(QuillomberPluginBitmap, Version));
static_assert(offsetof(TViewerPluginBitmapInfo, Width) == offsetof(QuillomberPluginBitmap, Width));
static_assert(offsetof(TViewerPluginBitmapInfo, Height) == offsetof(QuillomberPluginBitmap, Height));
static_assert(offsetof(TViewerPluginBitmapInfo, BackgroundColor) == offsetof(QuillomberPluginBitmap, BackgroundColor));
static_assert(offsetof(TViewerPluginBitmapInfo, TextColor) == offsetof(QuillomberPluginBitmap, TextColor));
static_assert(offsetof(TViewerPluginBitmapInfo, Pixels) == offsetof(QuillomberPluginBitmap, Pixels));
static_assert(sizeof(void*) != 8 ||
              (offsetof(QuillomberPluginBitmap, Pixels) == 24 && sizeof(QuillomberPluginBitmap) == 32));

namespace {

struct TViewerPlugin
{
    void* Library = nullptr;
    QuillomberRecacheOnTextFormatChange RecacheOnTextFormatChange = nullptr;
    QuillomberLoadFileExtensions LoadFileExtensions = nullptr;
    QuillomberGetPictureSize GetPictureSize = nullptr;
    QuillomberLoadFileToBitmap LoadFileToBitmap = nullptr;
    // Upper case, each extension with its dot, and one more dot at the end (".ABC.DEF."),
    // so that searching ".AB." never matches inside ".XAB." or ".ABC.".
    std::string Extensions;
};

std::array<TViewerPlugin, ViewerPluginCount> Slots;

bool IsSlot(int32_t slot)
{
    return slot >= 0 && slot < ViewerPluginCount;
}

bool IsSlotSwitchedOn(int32_t slot)
{
    return ProgramOptions.ActivatePlugins && ProgramOptions.ViewerPluginActive[static_cast<size_t>(slot)];
}

template <typename TEntryPoint>
TEntryPoint Resolve(void* library, const char* name)
{
    return reinterpret_cast<TEntryPoint>(dlsym(library, name));
}

void* OpenPluginLibrary(const std::string& name)
{
    const std::optional<std::string> hostPath = host::WindowsToHost(GetPluginFileName(name));
    return hostPath ? dlopen(hostPath->c_str(), RTLD_NOW | RTLD_LOCAL) : nullptr;
}

std::string TextOrEmpty(const char* text)
{
    return text ? text : "";
}

void LoadSlot(TViewerPlugin& plugin, const std::string& name)
{
    plugin.Library = OpenPluginLibrary(name);
    if (!plugin.Library)
        return;
    plugin.RecacheOnTextFormatChange =
        Resolve<QuillomberRecacheOnTextFormatChange>(plugin.Library, "RecacheOnTextFormatChange");
    plugin.LoadFileExtensions = Resolve<QuillomberLoadFileExtensions>(plugin.Library, "LoadFileExtensions");
    plugin.GetPictureSize = Resolve<QuillomberGetPictureSize>(plugin.Library, "GetPictureSize");
    plugin.LoadFileToBitmap = Resolve<QuillomberLoadFileToBitmap>(plugin.Library, "LoadFileToBitmap");
    if (plugin.LoadFileExtensions) {
        plugin.Extensions = UpperAscii(TextOrEmpty(plugin.LoadFileExtensions())) + ".";
    }
}

} // namespace

void LoadViewerPlugins()
{
    for (int32_t slot = 0; slot < ViewerPluginCount; ++slot) {
        UnloadViewerPlugin(slot);
        if (IsSlotSwitchedOn(slot))
            LoadSlot(Slots[static_cast<size_t>(slot)], ProgramOptions.ViewerPluginName[static_cast<size_t>(slot)]);
    }
}

void UnloadViewerPlugin(int32_t slot)
{
    if (!IsSlot(slot))
        return;
    TViewerPlugin& plugin = Slots[static_cast<size_t>(slot)];
    if (plugin.Library)
        dlclose(plugin.Library);
    plugin = TViewerPlugin();
}

void UnloadViewerPlugins()
{
    for (int32_t slot = 0; slot < ViewerPluginCount; ++slot)
        UnloadViewerPlugin(slot);
}

bool IsViewerPluginFile(const std::string& extension, int32_t slot)
{
    return IsSlot(slot) && IsSlotSwitchedOn(slot) && !extension.empty() &&
           Slots[static_cast<size_t>(slot)].Extensions.find(UpperAscii(extension) + ".") != std::string::npos;
}

int32_t GetViewerPluginIndex(const std::string& extension)
{
    for (int32_t slot = 0; slot < ViewerPluginCount; ++slot)
        if (IsViewerPluginFile(extension, slot))
            return slot;
    return -1;
}

TViewerPluginDrawing GetViewerPluginDrawing(int32_t slot)
{
    if (!IsSlot(slot))
        return {};
    const TViewerPlugin& plugin = Slots[static_cast<size_t>(slot)];
    return {plugin.GetPictureSize, plugin.LoadFileToBitmap};
}

TViewerPluginInfo ReadViewerPluginInfo(const std::string& name)
{
    TViewerPluginInfo info;
    void* library = OpenPluginLibrary(name);
    if (!library)
        return info;
    info.Loaded = true;
    const auto getInfo = Resolve<QuillomberGetPluginInfo>(library, "GetPluginInfo");
    const auto loadExtensions = Resolve<QuillomberLoadFileExtensions>(library, "LoadFileExtensions");
    info.HasInfo = getInfo != nullptr;
    if (getInfo)
        info.Info = TextOrEmpty(getInfo());
    if (loadExtensions)
        info.Extensions = TextOrEmpty(loadExtensions());
    dlclose(library);
    return info;
}

bool ViewerPluginRecachesOnTextFormatChange(int32_t slot, const std::string& extension)
{
    if (!IsSlot(slot) || !Slots[static_cast<size_t>(slot)].RecacheOnTextFormatChange)
        return false;
    return Slots[static_cast<size_t>(slot)].RecacheOnTextFormatChange(UpperAscii(extension).c_str());
}
