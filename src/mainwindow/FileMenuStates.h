#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

class TColumn;

// What the File menu's enabling reads of the active column and its focused item (the
// active file).
struct TFileMenuFacts
{
    // The list holds no item, only its placeholder.
    bool Empty = true;
    bool Many = false;
    // The column shows the list of drives and a drive is focused.
    bool Drive = false;
    // The active file is a directory or a drive root.
    bool Directory = true;
    bool Link = false;
    bool Container = false;
    bool Selection = false;
    bool Picture = false;
    int32_t ActiveType = 0;
    std::string SortMode = "Name";
    int32_t SelectedCount = 0;
    // The active file's name has an extension to associate.
    bool HasExtension = false;
    bool Audio = false;
    bool Video = false;
    bool Text = false;
};

// The extension of the title, dot included, that the association commands move between
// the type lists; "" for a name without one, or with a bare dot, which no list could tell
// apart from other names.
std::string GetAssociableExtension(const std::string& title);

// The facts of the column; no column reads as an empty one.
TFileMenuFacts GetFileMenuFacts(const TColumn* column);

struct TFileMenuItemState
{
    bool Enabled = true;
    // Set for the items that carry a check mark.
    std::optional<bool> Checked;
};

// The enabled and checked state of every File-menu item that the facts decide, by the
// item's name. Items not named keep their state.
std::map<std::string, TFileMenuItemState> GetFileMenuStates(const TFileMenuFacts& facts);

// The items whose commands are not built yet. They stand in the menu with their captions
// and shortcuts but stay disabled whatever the facts; an item leaves this list when its
// command arrives.
inline constexpr std::string_view WaitingFileMenuItems[] = {
    // Hashing, the file viewer and the streams editor
    "HashFileMenu",
    "ViewNextMenu",
    "ViewPreviousMenu",
    "ViewFileMenu",
    "ViewClipboardPictureMenu",
    "ViewMediaInDirMenu",
    "ViewThisMediaInDirMenu",
    "EditFileStreamsMenu",
    "EditFileStreamsAutoloadMenu",
    "EditFileDescriptionMenu",
    // Find common text
    "FindCommonTextMenu",
    // The column attributes (the "Attributes" holder itself serves the special paths and
    // the board properties)
    "FixedAttrMenu",
    "ThumbAttrMenu",
    "WidthAttrMenu",
    "SubcolumnsAttrMenu",
    "ThumbHeightMenu",
    "SortModeMenu",
    "RenameContainerMenu",
    "ShowPathsInContainerMenu",
    // Inter-board commands and the container menus
    "InterBoard1",
    "ContainerModeMenu",
    "CopyToContainerMenu",
    // The tree navigator, the drives and dropping to a directory
    "TreeNavigatorMenu",
    "NavigateToDirectoryMenu",
    "PartitionsMenu",
    "FileMenu_DropToDir",
    "FileMenu_CopyToDir",
    "FileMenu_MoveToDir",
    "FileMenu_ConvertPictureToDir",
};
