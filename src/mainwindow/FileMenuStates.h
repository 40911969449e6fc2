#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

class TColumn;

// What the inter-board commands read of the marked source (the inter-board source column
// and the title marked with it) beside the active column.
struct TInterBoardFacts
{
    // The source column lists items.
    bool SourceFilled = false;
    // The marked title and the active title lie in one folder (by file identity), or, when
    // either column shows a container, both show the same one.
    bool SameFolder = false;
    // The marked title or the active title is a drive.
    bool AnyDrive = false;
    // The name of the marked title's folder ("C:" for the root of a drive); empty before
    // any marking.
    std::string MarkedFolderName;
    // The display name of the container the source column shows; empty when it shows none.
    std::string SourceContainerName;
    int32_t SourceSelectedCount = 0;
};

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
    TInterBoardFacts InterBoard;
};

// The extension of the title, dot included, that the association commands move between
// the type lists; "" for a name without one, or with a bare dot, which no list could tell
// apart from other names.
std::string GetAssociableExtension(const std::string& title);

// The facts of the column; no column reads as an empty one.
TFileMenuFacts GetFileMenuFacts(const TColumn* column);

// The facts of the inter-board source column with the title marked with it, beside the
// active column; the container name is the display name of the container the source
// shows, if any.
TInterBoardFacts GetInterBoardFacts(const TColumn& source, const std::string& markedTitle,
                                    const std::string& sourceContainerName, const TColumn* active);

// The caption of the inter-board submenu's title: the container or the folder marked,
// with the number of its selected items, or "No marked column".
std::string GetInterBoardTitle(const TInterBoardFacts& facts);

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
    // Hashing and the streams editor
    "HashFileMenu",
    "EditFileStreamsMenu",
    "EditFileStreamsAutoloadMenu",
    "EditFileDescriptionMenu",
    // Find common text
    "FindCommonTextMenu",
    // The tree navigator, the drives and dropping to a directory
    "TreeNavigatorMenu",
    "NavigateToDirectoryMenu",
};
