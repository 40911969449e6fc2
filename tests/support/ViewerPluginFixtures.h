#pragma once

#include "support/TestSupport.h"

#include <dlfcn.h>

#include <filesystem>
#include <string>

// The test plug-ins (tests/plugin), built with the tests: the sample, which draws ".QPT"
// files, the sample that claims ".PNG" files too, and one that lists ".abc.def" and has no
// drawing entry points.
inline const std::string SamplePluginHostPath = QUILLOMBER_SAMPLE_PLUGIN;
inline const std::string PngPluginHostPath = QUILLOMBER_PNG_PLUGIN;
inline const std::string ListingPluginHostPath = QUILLOMBER_LISTING_PLUGIN;

// Copies a plug-in library into the "Plugins" folder on the drive under the name; the drive
// is the program's folder.
inline void CopyViewerPlugin(const TTempDrive& programDrive, const std::string& libraryHostPath,
                             const std::string& name)
{
    std::filesystem::create_directories(programDrive.HostPath("Plugins"));
    std::filesystem::copy_file(libraryHostPath, programDrive.HostPath("Plugins/" + name));
}

// Whether the process holds the library, asked without loading it.
inline bool IsLibraryLoaded(const std::string& hostPath)
{
    void* probe = dlopen(hostPath.c_str(), RTLD_NOLOAD | RTLD_NOW);
    if (probe)
        dlclose(probe);
    return probe != nullptr;
}
