// The information bars of the active column: its counts and sizes, the focused item's
// drive, entry, streams and description, and the target of a focused link. Every figure
// is read afresh each time the column becomes active. A field's hint is set together
// with its caption, so that a later addition to a hint stays.

#include "columns/Column.h"

#include "columns/InformationBar.h"

#include "core/errors/Traced.h"
#include "core/files/FileExtensions.h"
#include "core/files/FileInfo.h"
#include "core/files/FileStream.h"
#include "core/files/LinkFile.h"
#include "core/files/Partitions.h"
#include "core/files/PathNames.h"
#include "core/settings/ProgramOptions.h"
#include "core/text/MyTime.h"
#include "core/text/Text.h"

#include <algorithm>

namespace {

constexpr int32_t DescriptionCap = 1000;
// Set between the parts of the title's hint that a description adds.
const std::string HintSeparator = " \x7F ";

std::string SizeText(int64_t size)
{
    return GetSizeText(6, 0, size);
}

std::string DateTimeText(double dateTime)
{
    return GetLongDateTimeText("; ", dateTime);
}

std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string OrNone(const std::string& text)
{
    return text.empty() ? "none" : text;
}

void FillField(TInfoField field, const std::string& value)
{
    SetInfoFieldCaption(field, GetInfoFieldLabel(field) + value);
}

// A group of fields whose failure leaves its remaining fields as they were reset, while
// the bars go on being filled.
template <class Body>
void FillGroup(Body&& body)
{
    try {
        body();
    } catch (...) {
    }
}

// Removable, remote and other drives that may need media or a network answer are not
// touched by a mere focus change.
bool IsQuickDrive(const std::string& drive)
{
    const uint32_t type = GetPartitionType(drive);
    return type == 3 || type == 5 || type == 6;
}

// A failed query leaves the size at 0.
int64_t ReadPartitionSize(int64_t (*query)(const std::string&), const std::string& path)
{
    int64_t size = 0;
    FillGroup([&] { size = std::max<int64_t>(query(path), 0); });
    return size;
}

std::string GetReferenceLetter(const std::string& target)
{
    if (IsDirectory(target))
        return "D";
    if (IsLinkFile(target))
        return "L";
    if (IsProgramFile(target))
        return "P";
    if (IsDocumentFile(target))
        return "T";
    return "G";
}

void FillColumnFigures(const TColumn& column)
{
    const int32_t files =
        column.DirsCount + column.LinksCount + column.ProgramsCount + column.DocumentsCount + column.GenericCount;
    const std::string caption = GetInfoFieldLabel(ifFiles) + std::to_string(files);
    const std::string counts =
        " (Directories " + std::to_string(column.DirsCount) + "; Links " + std::to_string(column.LinksCount) +
        "; Programs " + std::to_string(column.ProgramsCount) + "; Documents " + std::to_string(column.DocumentsCount) +
        (ProgramOptions.ShowFilesGroup ? "; Generic " : "; Invisible ") + std::to_string(column.GenericCount) + ")";
    SetInfoFieldCaption(ifFiles, caption, GetInfoFieldBaseHint(ifFiles) + caption + counts);
    FillField(ifEncrypted, std::to_string(column.EncryptedCount));
    FillField(ifSelectedCount, std::to_string(column.SelectedCount));
    FillField(ifSelectedSize, SizeText(column.SelectedSize));
    FillField(ifTotalSize, SizeText(column.TotalSize));
    FillField(ifTitle, Quoted(column.ActiveTitle));
}

// The target of a focused link, read from the link without resolving it; a link without
// a description stream shows the description stored in the link.
void FillReference(TColumn& column, bool infoFailed, bool withoutDescription)
{
    if (!IsLinkFile(column.ActiveTitle)) {
        SetInfoFieldCaption(ifReferenceTitle, "Not a link");
        return;
    }
    TLinkFile link;
    if (!infoFailed) {
        GetWhenReference(column.ActiveTitle, nullptr, nullptr, false, &link);
        infoFailed = FunStatContext.Status >= fsError;
    }
    if (infoFailed) {
        SetInfoFieldCaption(ifReferenceTitle, "Error loading link information");
        return;
    }
    const std::string& target = link.Target;
    std::string letter = "?";
    std::string attributes = "?";
    std::string date = "?";
    std::string size = "?";
    if (MyFileExists(target)) {
        TFileInfo targetInfo;
        targetInfo.Load(target);
        letter = GetReferenceLetter(target);
        attributes = GetAttributesText(static_cast<uint16_t>(targetInfo.Attributes));
        date = DateTimeText(targetInfo.Modified);
        size = SizeText(targetInfo.Size) + " (" + SizeText(GetFileStreamsSize(target)) + ")";
    }
    if (withoutDescription)
        column.SetDescriptionInfo(link.Description, true);
    FillField(ifReferenceType, letter);
    FillField(ifReferenceSize, size);
    FillField(ifReferenceAttributes, OrNone(attributes));
    FillField(ifReferenceTitle, Quoted(target));
    FillField(ifReferenceModified, date);
    FillField(ifReferenceParameters, OrNone(link.Arguments));
    FillField(ifReferenceWorkingDirectory, OrNone(link.WorkingFolder));
}

void ResetInfoFields()
{
    for (int32_t field = 0; field < InfoFieldCount; ++field)
        SetInfoFieldCaption(static_cast<TInfoField>(field), {});
}

} // namespace

void TColumn::ShowInfo()
{
    TTraced trace;
    try {
        ResetInfoFields();
        FillGroup([&] { FillColumnFigures(*this); });
        if (IsDriveName(ActiveTitle) && !IsQuickDrive(ActiveTitle))
            return;
        if (!PartitionExists(ActiveTitle))
            return;

        const int64_t total = ReadPartitionSize(GetPartitionTotalSize, ActiveTitle);
        const int64_t free = ReadPartitionSize(GetPartitionFreeSize, ActiveTitle);
        TFileInfo info;
        info.Load(ActiveTitle);
        const bool infoFailed = FunStatContext.Status >= fsError;
        if (infoFailed)
            info.Clear();

        FillGroup([&] {
            FillField(ifPartitionSize, GetSizeText(3, 0, free) + " (" + GetSizeText(3, 0, total) + ")");
            FillField(ifPartitionAttributes, OrNone(GetPartitionFlagsText(ActiveTitle)));
        });
        FillField(ifIndex, std::to_string(FileList->FocusIndex + 1));
        FillField(ifSize,
                  infoFailed ? "?" : SizeText(info.Size) + " (" + SizeText(GetFileStreamsSize(ActiveTitle)) + ")");
        FillField(ifAttributes, infoFailed ? "?" : OrNone(GetAttributesText(static_cast<uint16_t>(info.Attributes))));
        FillField(ifHardLinks, std::to_string(GetHardLinkCount(ActiveTitle)));
        FillField(ifStreams, std::to_string(GetFileStreamCount(ActiveTitle)));
        FillField(ifModified, DateTimeText(info.Modified));

        std::string description;
        FillGroup([&] {
            description = GetFileDescription(ActiveTitle, DescriptionCap);
            SetDescriptionInfo(description, false);
        });
        TMainWindowInfoBars& bars = TSeam<TMainWindowInfoBars>::Get();
        if (bars.IsInfoBarVisible(ibDescription) || bars.IsInfoBarVisible(ibReference))
            FillGroup([&] { FillReference(*this, infoFailed, description.empty()); });
    }
    TRACED_CATCH(trace)
}

void TColumn::SetDescriptionInfo(const std::string& text, bool fromLink)
{
    TTraced trace;
    try {
        const std::string oneLine = LineBreaksToSpaces(text);
        FillField(ifDescription, Quoted(oneLine));
        if (!oneLine.empty())
            SetInfoFieldHint(ifTitle, GetInfoFieldHint(ifTitle) + HintSeparator + (fromLink ? "LINK TARGET" : "") +
                                          HintSeparator + GetInfoFieldHint(ifDescription));
    }
    TRACED_CATCH(trace)
}
