#pragma once

#include "quillomber/ViewerPlugin.h"

#include <cstdint>
#include <string>

// The viewer plug-ins: up to three native libraries, one per slot, that draw picture
// formats the program cannot read. The slots are process-wide; the main window fills them
// after the options are read and empties them when it goes. Plug-ins are called from the
// user-interface thread only. Their file argument is the file's host path (WindowsToHost)
// and their extension argument the extension with its dot in upper case (UpperAscii).

inline constexpr int32_t ViewerPluginCount = 3;

// Reloads every slot from the program options: a slot whose switch and ActivatePlugins are
// on loads the library GetPluginFileName(ViewerPluginName[slot]). A missing file, or one
// that is not a library, leaves the slot empty without a word.
void LoadViewerPlugins();
// Frees the slot's library and empties the slot; nothing for an empty slot.
void UnloadViewerPlugin(int32_t slot);
void UnloadViewerPlugins();

// True when both switches of the slot are on and its plug-in lists the extension (with
// its dot, in any letter case).
bool IsViewerPluginFile(const std::string& extension, int32_t slot);
// The first slot whose plug-in takes the extension, or -1.
int32_t GetViewerPluginIndex(const std::string& extension);

// The entry points that draw a slot's pictures; each is null when the slot is empty or its
// plug-in lacks it, so a user checks the two before drawing.
struct TViewerPluginDrawing
{
    QuillomberGetPictureSize GetPictureSize = nullptr;
    QuillomberLoadFileToBitmap LoadFileToBitmap = nullptr;
};
TViewerPluginDrawing GetViewerPluginDrawing(int32_t slot);

// What a plug-in library says of itself, read by loading it apart from the slots and
// freeing it at once, whatever happened.
struct TViewerPluginInfo
{
    bool Loaded = false;
    bool HasInfo = false;
    std::string Info;
    // "" when the plug-in does not list its extensions.
    std::string Extensions;
};
// The library GetPluginFileName(name).
TViewerPluginInfo ReadViewerPluginInfo(const std::string& name);

// The slot's plug-in's answer whether pictures of the extension depend on the text format;
// false when the slot is empty or the plug-in lacks the entry point.
bool ViewerPluginRecachesOnTextFormatChange(int32_t slot, const std::string& extension);
