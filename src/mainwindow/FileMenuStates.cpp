#include "mainwindow/FileMenuStates.h"

#include "mainwindow/FileDragRules.h"

#include "columns/Column.h"
#include "columns/FileListData.h"

#include "core/files/FileExtensions.h"
#include "core/files/PathNames.h"

std::string GetAssociableExtension(const std::string& title)
{
    const std::string extension = GetExtension(GetPathName(title));
    return extension.size() > 1 ? extension : std::string();
}

TFileMenuFacts GetFileMenuFacts(const TColumn* column)
{
    TFileMenuFacts facts;
    if (column == nullptr)
        return facts;
    const std::string& title = column->ActiveTitle;
    const int32_t count = column->GetItemCount();
    facts.Empty = count == 0;
    facts.Many = count > 1;
    facts.Drive = IsDriveName(title);
    facts.Directory = column->ActiveType == ftDirectory;
    facts.Link = !facts.Empty && column->ActiveType == ftLink;
    facts.Container = column->ContainerIndex >= 0;
    facts.Selection = column->SelectedCount > 0;
    facts.Picture = IsPictureFile(title);
    facts.ActiveType = column->ActiveType;
    facts.SortMode = column->SortMode;
    facts.SelectedCount = column->SelectedCount;
    facts.HasExtension = !GetAssociableExtension(title).empty();
    facts.Audio = IsAudioFile(title);
    facts.Video = IsVideoFile(title);
    facts.Text = IsTextFile(title);
    return facts;
}

TInterBoardFacts GetInterBoardFacts(const TColumn& source, const std::string& markedTitle,
                                    const std::string& sourceContainerName, const TColumn* active)
{
    TInterBoardFacts facts;
    const std::string activeTitle = active != nullptr ? active->ActiveTitle : std::string();
    const bool anyContainer = source.ContainerIndex >= 0 || (active != nullptr && active->ContainerIndex >= 0);
    facts.SourceFilled = source.GetItemCount() > 0;
    if (anyContainer)
        facts.SameFolder = active != nullptr && source.ContainerIndex == active->ContainerIndex;
    else
        facts.SameFolder = AreOneFolder(GetParentPath(markedTitle), GetParentPath(activeTitle));
    facts.AnyDrive = IsDriveName(markedTitle) || IsDriveName(activeTitle);
    facts.MarkedFolderName = GetPathName(ExcludeEndBackslash(GetParentPath(markedTitle)));
    if (source.ContainerIndex >= 0)
        facts.SourceContainerName = sourceContainerName;
    facts.SourceSelectedCount = source.SelectedCount;
    return facts;
}

std::string GetInterBoardTitle(const TInterBoardFacts& facts)
{
    std::string title;
    if (!facts.SourceContainerName.empty())
        title = "Container \"" + facts.SourceContainerName + "\"";
    else if (!facts.MarkedFolderName.empty())
        title = "Directory \"" + facts.MarkedFolderName + "\"";
    else
        title = "No marked column";
    if (facts.SourceSelectedCount > 0)
        title += " (" + std::to_string(facts.SourceSelectedCount) + ")";
    return title;
}

namespace {

using TStates = std::map<std::string, TFileMenuItemState>;

void Enable(TStates& states, const char* name, bool enabled)
{
    states[name].Enabled = enabled;
}

void EnableChecked(TStates& states, const char* name, bool enabled, bool checked)
{
    states[name] = {enabled, checked};
}

void SetOftenStates(TStates& states, const TFileMenuFacts& f)
{
    const bool onFile = !f.Empty && !f.Drive;
    Enable(states, "RecycleFileMenu", onFile);
    Enable(states, "DeleteFileMenu", onFile);
    Enable(states, "NewDirectoryMenu", !f.Drive && !f.Container);
    Enable(states, "NewFileMenu", !f.Drive && !f.Container);
    Enable(states, "RenameFileMenu", onFile);
    Enable(states, "MultiRenameFileMenu", onFile && f.Selection);
    Enable(states, "FilePropertiesMenu", !f.Empty);
    Enable(states, "ReferencePropertiesMenu", f.Link && !f.Drive);
}

// A file type that the program, document and generic lists decide, with an extension
// to put into them.
void SetAssociationStates(TStates& states, const TFileMenuFacts& f)
{
    const bool typed = f.ActiveType == ftProgram || f.ActiveType == ftDocument || f.ActiveType == ftGeneric;
    Enable(states, "AssociateExtensionMenu", !f.Empty && !f.Drive && typed && f.HasExtension);
    EnableChecked(states, "AssociateExtensionMenu_Program", true, f.ActiveType == ftProgram);
    EnableChecked(states, "AssociateExtensionMenu_Document", true, f.ActiveType == ftDocument);
    EnableChecked(states, "AssociateExtensionMenu_Generic", true, f.ActiveType == ftGeneric);
    EnableChecked(states, "AssociateExtensionMenu_Audio", f.ActiveType != ftProgram, f.Audio);
    EnableChecked(states, "AssociateExtensionMenu_Video", f.ActiveType != ftProgram, f.Video);
    EnableChecked(states, "AssociateExtensionMenu_Text", true, f.Text);
    EnableChecked(states, "AssociateExtensionMenu_NoViewer", true, !f.Audio && !f.Video && !f.Text);
}

void SetMiscellaneousStates(TStates& states, const TFileMenuFacts& f)
{
    const bool onFile = !f.Empty && !f.Drive;
    const bool onPicture = onFile && !f.Directory && f.Picture;
    SetAssociationStates(states, f);
    Enable(states, "LinkAsMenu", onFile);
    Enable(states, "ClipActiveReferenceMenu", f.Link);
    Enable(states, "ClipFileTitlesMenu", !f.Empty);
    Enable(states, "GoToReferenceMenu", f.Link && !f.Drive);
    Enable(states, "OpenFileWithMenu", onFile && !f.Directory);
    Enable(states, "PrintFileMenu", onFile && !f.Directory);
    Enable(states, "SetAsBackgroundPicture", onPicture);
    Enable(states, "SetAsWallpaperMenu", onPicture);
    Enable(states, "PasteClipboardPictureMenu", !f.Container);
}

void SetViewStates(TStates& states, const TFileMenuFacts& f)
{
    const bool onFile = !f.Empty && !f.Drive;
    for (const char* name : {"ViewNextMenu", "ViewPreviousMenu", "ViewFileMenu", "ViewMediaInDirMenu", "EditFileMenu"})
        Enable(states, name, onFile);
    Enable(states, "ViewStegNoiseMenu", onFile && !f.Directory && f.Picture);
    for (const char* name : {"EditFileStreamsMenu", "EditFileStreamsAutoloadMenu", "EditFileDescriptionMenu"})
        Enable(states, name, onFile && !f.Directory);
}

void SetSearchStates(TStates& states, const TFileMenuFacts& f)
{
    Enable(states, "LocateFileMenu", f.Many);
    Enable(states, "LocateNextFileMenu", f.Many);
    Enable(states, "LocatePreviousFileMenu", f.Many);
    Enable(states, "LocateFirstNumberedMenu", f.Many && f.SortMode == "Name");
    Enable(states, "LocateLastNumberedMenu", f.Many && f.SortMode == "Name");
    Enable(states, "SearchFileMenu", !f.Empty);
    Enable(states, "FindCommonTextMenu", f.SelectedCount >= 2 && !f.Drive && !f.Directory);
}

void SetContainerStates(TStates& states, const TFileMenuFacts& f)
{
    Enable(states, "GoToContainerItemTargetMenu", !f.Empty && f.Container);
    Enable(states, "ClearContainerMenu", !f.Empty && f.Container);
    Enable(states, "RemoveDuplicateContainerItemsMenu", !f.Empty && f.Container);
    Enable(states, "RecycleContainerItemMenu", !f.Empty && !f.Drive);
    Enable(states, "RenameContainerItemMenu", !f.Empty && f.Container);
    Enable(states, "MultiRenameItemMenu", !f.Empty && f.Container && f.Selection);
    Enable(states, "AddClipboardToContainerMenu", f.Container);
}

// The holders and items whose commands live elsewhere but whose enabling is the menu's.
void SetHolderStates(TStates& states, const TFileMenuFacts& f)
{
    Enable(states, "SelectMenu", !f.Empty);
    Enable(states, "SendFileMenu", !f.Empty);
    for (const char* name : {"FileMenu_CopyToDir", "FileMenu_MoveToDir", "FileMenu_ConvertPictureToDir"})
        Enable(states, name, !f.Empty && !f.Drive);
    Enable(states, "FileSystemMenuMenu", !f.Empty);
    Enable(states, "CopyToContainerMenu", !f.Empty);
    Enable(states, "SortModeMenu", !f.Container);
    Enable(states, "RenameContainerMenu", f.Container);
    Enable(states, "ShowPathsInContainerMenu", f.Container);
}

// From the marked source into the active column; a container column is no folder to
// convert or move files into.
void SetInterBoardStates(TStates& states, const TFileMenuFacts& f)
{
    const TInterBoardFacts& ib = f.InterBoard;
    const bool filled = ib.SourceFilled;
    Enable(states, "MarkIBSourceColumnMenu", true);
    Enable(states, "ShowIBFileDragMenu", !ib.MarkedFolderName.empty());
    Enable(states, "SetWithIBSourceColumnMenu", filled && !ib.SameFolder);
    Enable(states, "IBCopyFileMenu", filled && !ib.SameFolder && !ib.AnyDrive);
    Enable(states, "IBConvertPictureMenu", filled && !ib.AnyDrive && !f.Container);
    Enable(states, "IBMoveFileMenu", filled && !ib.SameFolder && !ib.AnyDrive && !f.Container);
}

} // namespace

std::map<std::string, TFileMenuItemState> GetFileMenuStates(const TFileMenuFacts& facts)
{
    TStates states;
    SetOftenStates(states, facts);
    SetMiscellaneousStates(states, facts);
    SetViewStates(states, facts);
    SetSearchStates(states, facts);
    SetContainerStates(states, facts);
    SetHolderStates(states, facts);
    SetInterBoardStates(states, facts);
    return states;
}
