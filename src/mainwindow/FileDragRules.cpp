#include "mainwindow/FileDragRules.h"

#include "columns/Column.h"

#include "core/files/FileExtensions.h"
#include "core/files/FileInfo.h"
#include "core/files/FileStream.h"
#include "core/files/LinkFile.h"
#include "core/files/Partitions.h"
#include "core/files/PathNames.h"

#include "host/FileIdentity.h"
#include "host/MountTable.h"

#include <algorithm>

namespace {

// The most a picture can hide.
constexpr int64_t MaxPictureCargo = 1000000;

bool IsFixed(const std::string& title)
{
    return GetPartitionType(title) == host::DRIVE_FIXED;
}

// The facts that ask the file system about the two titles.
void AddFileFacts(TFileDragFacts& facts, const std::string& sourceTitle, const std::string& destinationTitle)
{
    facts.BothFixed = IsFixed(sourceTitle) && IsFixed(destinationTitle);
    facts.SameRoot = host::AreOnOneFileSystem(GetFullPath(sourceTitle), GetFullPath(destinationTitle));
    const std::string destinationFolder = GetParentPath(destinationTitle);
    facts.DestFolderInsideSource =
        !sourceTitle.empty() && !destinationFolder.empty() && IsSameOrInsideFolder(sourceTitle, destinationFolder);
    facts.DestSupportsHardLinks = PartitionSupportsReparsePoints(destinationTitle);
    facts.DestHasStreams = PartitionSupportsStreams(destinationTitle) && GetFileStreamCount(destinationTitle) > 0;
    facts.SourceFitsInPicture = GetFileSize(sourceTitle) <= MaxPictureCargo;
}

} // namespace

bool AreOneFolder(const std::string& a, const std::string& b)
{
    if (a.empty() || b.empty())
        return a.empty() && b.empty();
    return IsSameFile(a, b);
}

TFileDragFacts GetFileDragFacts(const TColumn* source, int32_t itemIndex, const std::string& sourceTitle,
                                const TColumn* destination)
{
    TFileDragFacts facts;
    if (source == nullptr || destination == nullptr)
        return facts;
    const TColumn& s = *source;
    const TColumn& d = *destination;
    const std::string& destinationTitle = d.ActiveTitle;
    facts.SourceEmpty = itemIndex < 0 || itemIndex >= s.GetItemCount();
    if (!facts.SourceEmpty) {
        const int32_t type = s.GetItem(itemIndex).Type;
        facts.SourceItemDirectory = type == ftDirectory;
        facts.SourceItemLink = type == ftLink;
    }
    facts.SourceSelection = s.SelectedCount > 0;
    facts.SourceContainer = s.ContainerIndex >= 0;
    facts.DestContainer = d.ContainerIndex >= 0;
    facts.DestNonEmpty = d.GetItemCount() > 0;
    if (!facts.SourceEmpty) {
        facts.DestDirectory = d.ActiveType == ftDirectory;
        facts.DestLink = facts.DestNonEmpty && d.ActiveType == ftLink;
        facts.DestLinkToDirectory = facts.DestLink && IsDirectory(GetWhenReference(destinationTitle));
        facts.DestRunnable = facts.DestLink || d.ActiveType == ftProgram;
    }
    facts.SameFolder = facts.SourceContainer || facts.DestContainer
                           ? s.ContainerIndex == d.ContainerIndex
                           : AreOneFolder(GetParentPath(sourceTitle), GetParentPath(destinationTitle));
    facts.IntoOwnFolder =
        !destinationTitle.empty() && AreOneFolder(GetParentPath(sourceTitle), IncludeEndBackslash(destinationTitle));
    facts.SourceDrive = IsDriveName(sourceTitle);
    facts.AnyDrive = facts.SourceDrive || (IsDriveName(destinationTitle) && !facts.DestContainer);
    facts.OtherColumn = source != destination;
    facts.SourcePicture = IsPictureFile(sourceTitle);
    facts.DestPicture = IsPictureFile(destinationTitle);
    facts.DestSortedByName = d.SortMode == "Name";
    if (!facts.SourceEmpty)
        AddFileFacts(facts, sourceTitle, destinationTitle);
    return facts;
}

std::vector<TFileDragItemState> GetFileDragMenuStates(const TFileDragFacts& f)
{
    const bool some = !f.SourceEmpty;
    const bool copyAsAllowed =
        some && !f.AnyDrive && !f.DestContainer && !f.SourceSelection && !f.DestFolderInsideSource;
    const bool copyAsNumbered = copyAsAllowed && !f.SourceItemDirectory && f.DestSortedByName;
    const bool dropInto = some && !f.SourceDrive && (f.DestDirectory || f.DestLinkToDirectory);
    const bool betweenFolders = some && !f.SameFolder && !f.AnyDrive;
    return {
        {"FileDragMenu_Copy", betweenFolders},
        {"FileDragMenu_Move", betweenFolders && (!f.DestContainer || f.SourceContainer)},
        {"FileDragMenu_ConvertPicture", some && !f.AnyDrive && !f.DestContainer},
        {"FileDragMenu_CopyAs", copyAsAllowed},
        {"FileDragMenu_MoveAs", copyAsAllowed},
        {"FileDragMenu_CopyAsLastNumbered", copyAsNumbered},
        {"FileDragMenu_MoveAsLastNumbered", copyAsNumbered},
        {"FileDragMenu_DropCopy", dropInto && !f.IntoOwnFolder},
        {"FileDragMenu_DropMove", dropInto && !f.IntoOwnFolder},
        {"FileDragMenu_DropConvertPicture", dropInto},
        {"FileDragMenu_CopyAsLink",
         some && !f.AnyDrive && !f.DestContainer && (f.SourceSelection || !f.SourceItemLink)},
        {"FileDragMenu_CopyAsHardLink", betweenFolders && !f.SourceItemDirectory && f.BothFixed && f.SameRoot &&
                                            !f.DestContainer && f.DestSupportsHardLinks},
        {"FileDragMenu_DirectLocate", some && f.DestNonEmpty && (!f.SameFolder || f.OtherColumn)},
        {"FileDragMenu_SearchDuplicates", some && f.DestNonEmpty && !f.AnyDrive && !f.SourceItemDirectory},
        {"FileDragMenu_SendToProgram", some && f.DestRunnable},
        {"FileDragMenu_SendRefToProgram", f.SourceItemLink && f.DestRunnable},
        {"FileDragMenu_System", some && !f.AnyDrive},
        {"FileDragMenu_AttachStream",
         some && !f.AnyDrive && !f.SourceItemDirectory && !f.DestDirectory && f.DestHasStreams},
        {"FileDragMenu_Compare", betweenFolders && !f.DestContainer},
        {"FileDragMenu_StegIn", some && f.DestPicture && !f.AnyDrive && f.SourceFitsInPicture},
        {"FileDragMenu_StegOut", f.SourcePicture && !f.DestContainer},
        {"FileDragMenu_InsertItem", betweenFolders && f.DestContainer},
        {"FileDragMenu_RelocateItem", some && !f.AnyDrive && f.SourceContainer && f.DestContainer},
        {"FileDragMenu_SetWithSourceColumn", f.OtherColumn},
        {"FileDragMenu_SwitchColumns", true},
        {"FileDragMenu_EnterThisDir", f.OtherColumn && some && (f.SourceItemDirectory || f.SourceItemLink)},
    };
}

bool IsWaitingFileDragCommand(std::string_view name)
{
    return std::find(WaitingFileDragCommands.begin(), WaitingFileDragCommands.end(), name) !=
           WaitingFileDragCommands.end();
}
