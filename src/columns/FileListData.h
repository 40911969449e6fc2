#pragma once

#include "panels/MyTPanel.h"

#include "host/FileSystem.h"

#include <array>
#include <cstdint>
#include <string>

// The type of a column item; the letters are those the information bar shows. 1 is never
// used.
enum TFileListType : int32_t
{
    ftDirectory = 0, // D: a directory, or a drive in the list of drives
    ftLink = 2,      // L: ".lnk" or ".pif"
    ftProgram = 3,   // P: an extension of the program list
    ftDocument = 4,  // T: an extension of the document list
    ftGeneric = 5    // G: any other file
};

// One item of a column: a file, a directory or a drive. The list owns its items, and an
// item owns its title.
class TFileListData : public TPanelItem
{
public:
    // The full path; a drive's name ("C:"); empty for the placeholder of an empty list.
    std::string Title;
    int32_t Type = ftGeneric;
    bool Selected = false;
    // The file has the encrypted attribute.
    bool Encrypted = false;
    // The main data's bytes; 0 for directories and drives.
    int64_t Size = 0;
    // As the file system gives them.
    host::FileTime Modified = 0;
    host::FileTime Created = 0;
    // Only a container or a list of dropped files can hold an item that does not exist.
    bool Exists = true;
    // The number a container keeps with the entry; shown before the name when above 1.
    int32_t ItemNumber = 0;
};

// The sort modes a column takes, in menu order. A mode is tested by its exact text; any
// other text sorts as "Name".
inline const std::array<std::string, 7> SortModes = {"Name",
                                                     "Modified, new-old",
                                                     "Modified, old-new",
                                                     "Created, new-old",
                                                     "Created, old-new",
                                                     "Size, big-small",
                                                     "Size, small-big"};
