#include "fileops/FileForm.h"
#include "fileops/FolderEntries.h"
#include "fileops/OverwriteForm.h"

#include "columns/Column.h"
#include "columns/Containers.h"

#include "core/desktop/Clipboard.h"
#include "core/errors/Traced.h"
#include "core/files/FileExtensions.h"
#include "core/files/FileInfo.h"
#include "core/files/FileOperations.h"
#include "core/files/FileStream.h"
#include "core/files/LinkFile.h"
#include "core/files/Partitions.h"
#include "core/files/PathNames.h"
#include "core/files/WholeFiles.h"
#include "core/forms/MessageBoxes.h"
#include "core/settings/ProgramOptions.h"
#include "core/settings/SkinOptions.h"
#include "core/text/Text.h"

#include "viewing/PictureConversion.h"
#include "viewing/ViewerPlugins.h"

#include "host/Clock.h"
#include "host/FileIdentity.h"
#include "host/FileSystem.h"
#include "host/LastError.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QScopeGuard>

#include <utility>

namespace {

constexpr uint32_t EventTurnPeriodMs = 25;

bool IsLink(uint32_t attributes)
{
    return attributes != host::INVALID_FILE_ATTRIBUTES && (attributes & host::FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Devices, pipes and sockets: never opened, so a pipe cannot block the walk.
bool IsSpecialFile(uint32_t attributes)
{
    return attributes != host::INVALID_FILE_ATTRIBUTES && (attributes & host::FILE_ATTRIBUTE_SYSTEM) != 0;
}

// The operations that write files at the destination.
bool WritesFiles(std::string_view operation)
{
    return FileOperation::Is(operation, FileOperation::Copy) ||
           FileOperation::Is(operation, FileOperation::ConvertPicture) ||
           FileOperation::Is(operation, FileOperation::Move);
}

bool IsDriveRoot(const std::string& path)
{
    return IsDriveName(ExcludeEndBackslash(path));
}

std::string Text(const QComboBox& box)
{
    return box.currentText().toStdString();
}

} // namespace

bool TFileForm::IsOperation(std::string_view name) const
{
    return FileOperation::Is(Operation, name);
}

void TFileForm::OnOkay()
{
    bool refused = false;
    {
        TTraced trace;
        trace.Run([&] { refused = !RunPasses(trace); });
        trace.ShowFailure("Failed to " + Operation + ".");
    }
    FunStatContext.Reset(fsPerfect);
    UpdateHistories();
    if (Column != nullptr && Column->FileList != nullptr)
        Column->FileList->Invalidate();
    done(refused ? mrCancel : mrOkay);
}

bool TFileForm::RunPasses(TTraced& trace)
{
    // A failure ends the Okay as a failure; the warning refuses.
    if (IsOperation(FileOperation::ConvertPicture) && !PrepareConversion(trace))
        return !trace.Succeeded();
    StreamCount = WritesFiles(Operation) && !PartitionSupportsStreams(DestinationPath) ? 0 : -1;
    DropStreams = false;
    const bool counted = NeedsCountPass();
    if (counted) {
        TotalInfoLabel->setText("Calculating total space...");
        Counting = true;
        ProcessSelection();
    }
    Counting = false;
    if (Stop)
        return false;
    if (counted)
        TotalInfoLabel->setText(QString::fromStdString(GetStatusText(-1)));
    if (!AskPreChecks())
        return false;
    ResetCounters();
    ShowStatus(-1);
    ProcessSelection();
    if (!Stop)
        FinishWorkPass();
    return true;
}

// The chosen writer and quality; false when the conversion cannot start (a failure, or a
// warning that refuses).
bool TFileForm::PrepareConversion(TTraced& trace)
{
    if (!GetPictureConverterID(Text(*ConvertPictureFormatComboBox), EncoderExtension, EncoderId)) {
        trace.Raise("Failed to get format information.");
        return false;
    }
    // No quality item chosen reads as 0.
    Quality = ConvertPictureQualityComboBox->currentText().toDouble() / 100;
    if (Quality < 0 || Quality > 1)
        Quality = 1.0;
    if (NormalizePictureSizeCheckBox->isChecked() && !ProgramOptions.NormalizeThumbWidth &&
        !ProgramOptions.NormalizeThumbHeight) {
        ShowWarningMessage("The size of thumb pictures is not normalized.\nFirst, change this in the options dialog.");
        return false;
    }
    return true;
}

// The questions between the passes; false when one is answered No.
bool TFileForm::AskPreChecks()
{
    if (StopAfterCountCheckBox->isChecked() && !IsOperation(FileOperation::Compare) &&
        !AskQuery("Continue with processing?"))
        return false;
    if (NeedsCountPass() && NeedsSpaceCheck() && PartitionLacksSpace(DestinationPath, SizeNeeded) &&
        !AskQuery("There is not enough space at destination.\nClick \"Okay\" to CONTINUE."))
        return false;
    if (WritesFiles(Operation) && StreamCount > 0 && !PartitionSupportsStreams(DestinationPath)) {
        if (!AskQuery(
                "There are file streams in the source files, but the destination partition\ndoesn't support file "
                "streams. Therefore streams will not be in the\ndestination files.\n\nClick \"Okay\" to CONTINUE."))
            return false;
        DropStreams = true;
    }
    return true;
}

void TFileForm::FinishWorkPass()
{
    if (IsOperation(FileOperation::Compare) || IsOperation(FileOperation::ClipTitleOf)) {
        ClipText.AddNull();
        CopyTextToClipboard(reinterpret_cast<const char*>(ClipText.Data));
        ClipText.Clear();
    }
    ShowStatus(-1);
    if (IsOperation(FileOperation::Compare))
        ShowInfoMessage("There are " + std::to_string(NewerCount) + " newer files in source (" +
                        std::to_string(ExistingCount) + " are common).\n" + GetStatusText(-1));
    else
        ShowErrorCount(ErrorCount);
}

void TFileForm::ProcessSelection()
{
    StatusCrono.Restart();
    ElapsedCrono.Restart();
    LastEventTurn.reset();
    bool anySelected = false;
    for (int32_t index = 0; index < Column->GetItemCount() && !anySelected; ++index)
        anySelected = Column->GetItem(index).Selected;
    if (!anySelected) {
        DestinationExists = false;
        SourceNewer = true;
        CurrentIndex = FocusedIndex;
        if (UseGivenSource)
            ProcessDir(SourcePath, DestinationPath, -1);
        else if (FocusedIndex >= 0 && FocusedIndex < Column->GetItemCount())
            ChooseItem(FocusedIndex);
        return;
    }
    // The events pumped during an item may change the list: it is read afresh for each.
    for (int32_t index = 0; index < Column->GetItemCount() && !Stop; ++index) {
        if (!Column->GetItem(index).Selected)
            continue;
        DestinationExists = false;
        SourceNewer = true;
        CurrentIndex = index;
        ChooseItem(index);
        DeselectProcessed(index);
    }
}

void TFileForm::ChooseItem(int32_t index)
{
    const TFileListData& item = Column->GetItem(index);
    const std::string path = item.Title;
    Choose(item.Type == ftDirectory, path, DestinationPath, 0);
}

void TFileForm::Choose(bool isDirectory, const std::string& path, const std::string& destinationFolder, int32_t depth)
{
    if (IsOperation(FileOperation::CopyAsLink))
        return CopyAsLink(path, destinationFolder, isDirectory);
    const std::optional<host::FindData> entry = host::GetFileData(path);
    const uint32_t attributes = entry ? entry->Attributes : host::INVALID_FILE_ATTRIBUTES;
    // A linked folder is one item, as the link it is; it is never entered.
    if (isDirectory && !IsLink(attributes))
        return ProcessDir(path, destinationFolder, depth);
    int64_t size = 0;
    if (!IsLink(attributes) && !IsSpecialFile(attributes)) {
        TTraced trace;
        size = GetFileSize(path);
        if (FunStatContext.Status != fsPerfect) {
            trace.Context = FunStatContext;
            return CountError("Failed to " + Operation + ".", trace.Context);
        }
    }
    ProcessFile(path, entry ? &*entry : nullptr, destinationFolder, size, depth);
}

void TFileForm::ProcessDir(const std::string& directory, const std::string& destinationFolder, int32_t depth)
{
    if (Stop)
        return;
    TTraced trace;
    trace.Run([&] { WalkDirectory(trace, directory, destinationFolder, depth); });
    if (!trace.Succeeded())
        CountError("Failed to " + Operation + " directory content.", trace.Context);
    ++DirectoryCount;
}

void TFileForm::WalkDirectory(TTraced& trace, const std::string& directory, const std::string& destinationFolder,
                              int32_t depth)
{
    CurrentSource = directory;
    CurrentDestination = destinationFolder;
    CheckOperation();
    if (trace.TakeOver())
        return;
    const bool removesSource =
        IsOperation(FileOperation::Delete) || IsOperation(FileOperation::Recycle) || IsOperation(FileOperation::Move);
    // A drive is a whole file system: it is never emptied or taken away.
    if (removesSource && IsDriveRoot(directory))
        return trace.Raise("Can not " + Operation + " a drive.", directory);
    if (!Counting && IsOperation(FileOperation::Recycle) && IsUnfiltered()) {
        RecycleFile(directory);
        trace.TakeOver();
        return;
    }
    if (HasDestination && IsSameOrInsideFolder(directory, destinationFolder))
        return trace.Raise("Can not " + Operation + " recursively.", directory, destinationFolder);
    const std::string target = IncludeEndBackslash(destinationFolder) + GetPathName(directory);
    CurrentDestination = target;
    const bool prefixesInside = UsePrefix && RecursePrefixCheckBox->isChecked();
    if (!Counting && IsOperation(FileOperation::Move) && !MyFileExists(target) &&
        host::AreOnOneFileSystem(directory, target) && IsUnfiltered() && !prefixesInside) {
        MyMoveFile(directory, target, false);
        if (FunStatContext.Status <= fsWarning)
            return RenameContainerItem(directory, target, depth);
        // A bind mount looks like one file system but refuses the rename: walk instead.
        if (FunStatContext.SystemErrorCode != host::ERROR_NOT_SAME_DEVICE && trace.TakeOver())
            return;
        FunStatContext.Reset(fsPerfect);
    }
    if (!Counting && WritesFiles(Operation) && !IsSameFile(directory, target)) {
        host::SetLastError(host::ERROR_SUCCESS);
        host::CreateDirectory(target, directory);
        if (IsSystemErrorNotExisting())
            return trace.RaiseSystem("Failed to " + Operation + " directory.", target);
    }
    WalkEntries(trace, directory, target, depth);
    if (!trace.Succeeded() || Stop || Counting || !removesSource)
        return;
    ClearReadOnly(directory);
    if (!host::RemoveDirectory(directory))
        return trace.RaiseSystem("Failed to " + Operation + " directory.", directory);
    if (IsOperation(FileOperation::Move))
        RenameContainerItem(directory, target, depth);
}

void TFileForm::WalkEntries(TTraced& trace, const std::string& directory, const std::string& targetDirectory,
                            int32_t depth)
{
    std::vector<host::FindData> entries;
    size_t leftOut = 0;
    host::SetLastError(host::ERROR_SUCCESS);
    const bool listed = host::FindFiles(directory, "*", entries, &leftOut);
    const uint32_t code = host::GetLastError();
    if (!listed && !IsFindOk(code) && entries.empty())
        return trace.Raise("Can not find file.", directory, "", code);
    // A comparison asks about each file's namesake at the destination: one listing answers them all.
    const TFolderEntries targetEntries =
        ComparesWithListing() ? TFolderEntries(targetDirectory) : TFolderEntries();
    const TFolderEntries* const outerEntries = std::exchange(TargetEntries, &targetEntries);
    const auto restoreEntries = qScopeGuard([&] { TargetEntries = outerEntries; });
    for (const host::FindData& entry : entries) {
        if (Stop)
            return;
        const std::string path = IncludeEndBackslash(directory) + entry.Name;
        CurrentSource = path;
        CurrentDestination = targetDirectory;
        const bool isFolder = (entry.Attributes & host::FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (isFolder && !IsLink(entry.Attributes))
            ProcessDir(path, targetDirectory, depth + 1);
        else
            ProcessFile(path, &entry, targetDirectory, IsLink(entry.Attributes) ? 0 : static_cast<int64_t>(entry.Size),
                        depth + 1);
    }
    // A name the host cannot show under a Windows name is still a file this walk missed.
    for (size_t index = 0; index < leftOut; ++index) {
        TTraced missed;
        missed.Raise("A file name can not be read.", directory);
        CountError("Failed to " + Operation + " file.", missed.Context);
        ++FileCount;
    }
    if (!listed && !IsFindOk(code))
        trace.Raise("Failed to find next file.", directory, "", code);
}

void TFileForm::ProcessFile(const std::string& file, const host::FindData* entry, const std::string& destinationFolder,
                            int64_t size, int32_t depth)
{
    if (Stop)
        return;
    TTraced trace;
    trace.Run([&] { WorkOnFile(trace, file, entry, destinationFolder, size, depth); });
    if (!trace.Succeeded())
        CountError("Failed to " + Operation + " file.", trace.Context);
    ++FileCount;
}

void TFileForm::WorkOnFile(TTraced& trace, const std::string& file, const host::FindData* entry,
                           const std::string& destinationFolder, int64_t size, int32_t depth)
{
    CurrentSource = file;
    CurrentDestination = destinationFolder;
    const std::string name = GetPathName(file);
    if (!PassesFilters(name))
        return RefreshStatus(0);
    // Below the top level the folder walked was already found outside the destination, and
    // a linked folder is never entered: only a top-level item can hold the destination.
    if (HasDestination && depth == 0 && IsSameOrInsideFolder(file, destinationFolder))
        return trace.Raise("Can not " + Operation + " recursively.", file, destinationFolder);
    const std::string target = IncludeEndBackslash(destinationFolder) + TargetName(name, depth);
    CheckOperation();
    if (trace.TakeOver())
        return;
    if (!Counting) {
        if (IsOperation(FileOperation::Delete)) {
            // Deleting takes no time worth showing: the status after it is enough.
            MyDeleteFile(file);
        } else if (IsOperation(FileOperation::Recycle)) {
            RefreshStatus(0);
            RecycleFile(file);
        } else if (IsOperation(FileOperation::ClipTitleOf)) {
            ClipText.AddTextEOL(file);
        } else if (IsOperation(FileOperation::Compare)) {
            CompareFile(file, entry, target);
        } else if (IsOperation(FileOperation::Copy) || IsOperation(FileOperation::Move)) {
            WriteFile(file, entry, target, depth);
        } else if (IsOperation(FileOperation::ConvertPicture)) {
            ConvertFile(file, entry, ExcludeExtension(target) + EncoderExtension);
        }
        if (trace.TakeOver())
            return;
    }
    RefreshStatus(1);
    if (Stop)
        return;
    if (Counting && StreamCount == 0)
        StreamCount += GetFileStreamCount(file);
    SizeSeen += size;
    if (IsOperation(FileOperation::Copy) || IsOperation(FileOperation::ConvertPicture) ||
        (IsOperation(FileOperation::Move) && !host::AreOnOneFileSystem(file, target)))
        SizeNeeded += size;
}

// Whether the file may go to the target, and over it; "&Abort" sets Stop. Without the
// overwrite dialog an existing target is never replaced: the primitive refuses it.
bool TFileForm::AskOverwrite(const std::string& file, const host::FindData* entry, const std::string& target,
                             bool& overwrite, bool fillFlags, const host::FindData* targetEntry)
{
    if (OverwriteForm == nullptr) {
        overwrite = false;
        DestinationExists = MyFileExists(target);
        return true;
    }
    if (!fillFlags)
        return OverwriteForm->Dialog(file, target, Stop, overwrite, nullptr, nullptr, entry);
    return OverwriteForm->Dialog(file, target, Stop, overwrite, &DestinationExists, &SourceNewer, entry, targetEntry);
}

// The remembered answer is "over all older": only a target that exists and is newer
// asks nothing and skips the file.
void TFileForm::CompareFile(const std::string& file, const host::FindData* entry, const std::string& target)
{
    bool overwrite = false;
    const host::FindData* const targetEntry = TargetEntries != nullptr ? TargetEntries->Find(target) : nullptr;
    if (!AskOverwrite(file, entry, target, overwrite, true, targetEntry))
        return;
    if (!Stop)
        ++NewerCount;
    if (DestinationExists) {
        ++ExistingCount;
        ClipText.AddTextEOL(file);
    } else {
        ClipText.AddTextEOL("NOT_AT_DESTINATION=" + file);
    }
}

// The overwrite question for a file that copy, move or conversion writes; true when the
// file is to be written, with `overwrite` set when the target is replaced.
bool TFileForm::ClearToWrite(const std::string& file, const host::FindData* entry, const std::string& target,
                             bool& overwrite)
{
    if (!AskOverwrite(file, entry, target, overwrite, true))
        return false;
    if (DestinationExists)
        ++ExistingCount;
    RefreshStatus(0);
    return !Stop;
}

void TFileForm::WriteFile(const std::string& file, const host::FindData* entry, const std::string& target,
                          int32_t depth)
{
    const bool isMove = IsOperation(FileOperation::Move);
    const bool isLink = !isMove && IsLink(entry != nullptr ? entry->Attributes : host::GetFileAttributes(file));
    if (!isMove && !isLink && AsksOnlyAboutExistingTargets() && CopyToFreeName(file, target))
        return;
    bool overwrite = false;
    if (!ClearToWrite(file, entry, target, overwrite))
        return;
    if (isMove) {
        MyMoveFile(file, target, overwrite, DropStreams);
        if (FunStatContext.Status <= fsWarning)
            RenameContainerItem(file, target, depth);
    } else if (isLink) {
        MyCopyLink(file, target, overwrite);
    } else {
        MyCopyFile(file, target, overwrite, IgnoreEncryptionCheckBox->isChecked(), DropStreams);
    }
}

// Whether the remembered answer lets a file whose target does not exist go without a
// question, so that only an existing target needs to be looked at.
bool TFileForm::AsksOnlyAboutExistingTargets() const
{
    if (OverwriteForm == nullptr)
        return false;
    const TOverwriteChoice choice = OverwriteForm->Choice();
    return choice != ocAbort && choice != ocOverAll;
}

// The copy of a file to a target that must not exist: the copy itself finds an existing
// one, and only then does the overwrite question look at both files. True when that settled
// the file; false when the target exists and the question decides.
bool TFileForm::CopyToFreeName(const std::string& file, const std::string& target)
{
    DestinationExists = false;
    SourceNewer = true;
    RefreshStatus(0);
    return Stop || MyCopyFileToFreeName(file, target, DropStreams);
}

void TFileForm::ConvertFile(const std::string& file, const host::FindData* entry, const std::string& target)
{
    bool overwrite = false;
    if (!ClearToWrite(file, entry, target, overwrite))
        return;
    const bool normalize = NormalizePictureSizeCheckBox->isChecked();
    // A plug-in decodes only what the picture readers cannot.
    const int32_t slot = IsPictureFile(file) ? -1 : GetViewerPluginIndex(GetExtension(file));
    const TViewerPluginDrawing plugin = slot >= 0 ? GetViewerPluginDrawing(slot) : TViewerPluginDrawing{};
    ConvertPicture(file, target, true, EncoderExtension, EncoderId, Quality,
                   normalize ? ProgramOptions.NormalizeThumbWidthTo : -1,
                   normalize ? ProgramOptions.NormalizeThumbHeightTo : -1, ProgramOptions.NormalizeThumbWidth,
                   ProgramOptions.NormalizeThumbHeight, normalize, ProgramOptions.FitSmallThumbs,
                   ProgramOptions.FitSmallThumbsSize, slot >= 0, plugin.GetPictureSize, plugin.LoadFileToBitmap,
                   SkinOptions.WindowBackColor, SkinOptions.ThumbTextColor);
    if (FunStatContext.Status <= fsWarning && !DropStreams)
        CopyFileStreams(file, target);
}

std::string TFileForm::TargetName(const std::string& name, int32_t depth) const
{
    if (!UsePrefix || !TakesPrefix() || !(IsTopLevelItem(depth) || RecursePrefixCheckBox->isChecked()))
        return name;
    const std::string prefix = Text(*PrefixComboBox);
    return ReplacePrefix ? ReplaceFileNamePrefix(name, prefix) : prefix + name;
}

void TFileForm::CopyAsLink(const std::string& item, const std::string& destinationFolder, bool isDirectory)
{
    TTraced trace;
    trace.Run([&] { LinkItem(trace, item, destinationFolder); });
    if (!trace.Succeeded())
        CountError("Failed to " + Operation + " file.", trace.Context);
    ++(isDirectory ? DirectoryCount : FileCount);
}

void TFileForm::LinkItem(TTraced& trace, const std::string& item, const std::string& destinationFolder)
{
    CurrentSource = item;
    CurrentDestination = destinationFolder;
    const std::string name = GetPathName(item);
    if (!PassesFilters(name))
        return RefreshStatus(0);
    if (IsSameOrInsideFolder(item, destinationFolder))
        return trace.Raise("You should not " + Operation + " in the same directory.", item, destinationFolder);
    if (IsLinkFile(item))
        return trace.Raise("This operating system does not support chained links.", item);
    // Every link takes the prefix, top-level or not.
    const std::string linkFile = IncludeEndBackslash(destinationFolder) + TargetName(name, 0) + GetLinkExtension(item);
    CheckOperation();
    if (trace.TakeOver())
        return;
    bool overwrite = false;
    if (!Counting && AskOverwrite(item, nullptr, linkFile, overwrite, false)) {
        CopyFileAsLink(item, linkFile, overwrite, "", true, false);
        if (trace.TakeOver())
            return;
    }
    RefreshStatus(1);
}

void TFileForm::CheckOperation()
{
    TTraced trace;
    if (Operation != InitialOperation)
        trace.Panic("CATASTROPHIC FAILURE!!!\nThe current operation is not the same as the initial one.\nYou should "
                    "TERMINATE the program immediately.");
}

std::string TFileForm::GetStatusText(double fraction) const
{
    std::string text = "Errors " + std::to_string(ErrorCount) + " | Directories " + std::to_string(DirectoryCount) +
                       " | Files " + std::to_string(FileCount) + " | Size " + GetSizeText(6, 0, SizeSeen) + " | Time " +
                       GetDurationText(0, "/", "", ElapsedCrono.RunningElapsed(), "hh:nn:ss");
    if (!Counting && fraction >= 0)
        text += " | File " + std::to_string(static_cast<int32_t>(fraction * 100)) + "%";
    return text;
}

void TFileForm::ShowStatus(double fraction)
{
    CurrentInfoLabel->setText(QString::fromStdString(GetStatusText(fraction)));
    SourceLabel->setText(QString::fromStdString(CurrentSource));
    DestinationLabel->setText(QString::fromStdString(CurrentDestination));
    InformationPanel->repaint();
}

void TFileForm::RefreshStatus(double fraction)
{
    if (StatusCrono.IsPeriod(1))
        ShowStatus(fraction);
    TurnEventLoopWhenDue();
}

// A turn of the event loop costs system calls even when nothing waits, which would be
// several a file on a tree of small files: the loop turns at the first refresh of a pass
// and then once the period has passed, well within the time "&Cancel" has to answer.
void TFileForm::TurnEventLoopWhenDue()
{
    const uint32_t now = host::GetTickCount();
    if (LastEventTurn && now - *LastEventTurn < EventTurnPeriodMs)
        return;
    LastEventTurn = now;
    QCoreApplication::processEvents();
}

void TFileForm::CountError(const std::string& message, TFunStatContext& context)
{
    ++ErrorCount;
    if (!Counting && !NoErrors) {
        ShowStatus(-1);
        bool noMoreErrors = false;
        if (!context.Show(message, &noMoreErrors))
            Stop = true;
        NoErrors = noMoreErrors;
    }
    context.Reset(fsPerfect);
}

bool TFileForm::ComparesWithListing() const
{
    return !Counting && IsOperation(FileOperation::Compare) && OverwriteForm != nullptr;
}

bool TFileForm::NeedsCountPass() const
{
    return !IsOperation(FileOperation::ClipTitleOf) && !IsOperation(FileOperation::Compare) &&
           !IsOperation(FileOperation::CopyAsLink) && !(IsOperation(FileOperation::Recycle) && IsUnfiltered());
}

bool TFileForm::NeedsSpaceCheck() const
{
    return IsOperation(FileOperation::Copy) || IsOperation(FileOperation::ConvertPicture) ||
           (IsOperation(FileOperation::Move) && !host::AreOnOneFileSystem(SourcePath, DestinationPath));
}

bool TFileForm::IsUnfiltered() const
{
    const std::string include = Text(*IncludeFilterComboBox);
    return (include.empty() || include == "*") && Text(*ExcludeFilterComboBox).empty() &&
           !IsOperation(FileOperation::ConvertPicture);
}

bool TFileForm::PassesFilters(const std::string& name) const
{
    if (IsOperation(FileOperation::ConvertPicture) && !IsPictureFile(name) &&
        GetViewerPluginIndex(GetExtension(name)) < 0)
        return false;
    if (IncludeFilter.empty() && ExcludeFilter.empty())
        return true;
    return MatchesFileSpec(name, IncludeFilter) && (ExcludeFilter.empty() || !MatchesFileSpec(name, ExcludeFilter));
}

bool TFileForm::IsTopLevelItem(int32_t depth) const
{
    return depth == 0;
}

void TFileForm::DeselectProcessed(int32_t index)
{
    if (!Counting && !Stop && index < Column->GetItemCount())
        Column->DeselectItem(index);
}

void TFileForm::RenameContainerItem(const std::string& oldPath, const std::string& newPath, int32_t depth)
{
    // Only items the selection handed over are container entries; the entries of a given
    // source folder are not.
    if (Container != nullptr && !UseGivenSource && IsTopLevelItem(depth))
        Container->RenameItem(CurrentIndex, newPath, oldPath);
}
