#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TColumn;

// What the File-drag menu knows of a drag: the source column S (the pressed one) with its
// dragged item, and the destination column D (the active one, where the drop landed).
struct TFileDragFacts
{
    // S's list holds no item, or there is no S, no D, or no dragged item in S's list.
    bool SourceEmpty = true;
    bool SourceItemDirectory = false;
    bool SourceItemLink = false;
    bool SourceSelection = false;
    bool SourceContainer = false;
    bool DestContainer = false;
    bool DestNonEmpty = false;
    bool DestDirectory = false;
    bool DestLink = false;
    bool DestLinkToDirectory = false;
    // A program, or a link that may start one.
    bool DestRunnable = false;
    // Both titles lie in one folder (by file identity), or both columns show one container.
    bool SameFolder = false;
    // The destination item is the folder that holds the source item.
    bool IntoOwnFolder = false;
    bool SourceDrive = false;
    // The source is a drive, or the destination is one outside a container.
    bool AnyDrive = false;
    bool BothFixed = false;
    // One file system holds both titles: a hard link cannot cross file systems.
    bool SameRoot = false;
    bool OtherColumn = false;
    bool SourcePicture = false;
    bool DestPicture = false;

    // What single items ask of the files and of D.
    // The destination item's folder is the source folder itself or lies inside it.
    bool DestFolderInsideSource = false;
    bool DestSortedByName = false;
    bool DestSupportsHardLinks = false;
    // D's volume holds named streams and D's file has at least one.
    bool DestHasStreams = false;
    // The source file is small enough to hide in a picture.
    bool SourceFitsInPicture = false;
};

// The facts of a drag of S's item (its index and title from the press record) onto D's
// focused item. Reads the link target, the volumes and the sizes of the two titles; an
// item index outside S's list counts as SourceEmpty.
TFileDragFacts GetFileDragFacts(const TColumn* source, int32_t itemIndex, const std::string& sourceTitle,
                                const TColumn* destination);

// Folders are one when they are one directory, whatever drive letter or link reaches it;
// letter case tells folders apart. The list of drives has no folder ("") and is one place only with
// itself.
bool AreOneFolder(const std::string& a, const std::string& b);

struct TFileDragItemState
{
    std::string Name;
    bool Enabled;
};

// The enabled state of every File-drag command and submenu holder that the facts decide,
// by the command's name.
std::vector<TFileDragItemState> GetFileDragMenuStates(const TFileDragFacts& facts);

// The commands that keep their place and caption but wait for their dialogs: they stay
// disabled whatever the facts say. None waits now.
inline constexpr std::array<std::string_view, 0> WaitingFileDragCommands{};

bool IsWaitingFileDragCommand(std::string_view name);
