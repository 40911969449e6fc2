#include "columns/InformationBar.h"

#include "columns/Column.h"

#include <array>

namespace {

struct TFieldText
{
    std::string Label;
    std::string BaseHint;
};

using TFieldTexts = std::array<TFieldText, InfoFieldCount>;

TFieldTexts MakeFieldTexts()
{
    const std::string column = "Active column. ";
    const std::string partition = "Active column (information is extracted every time the active file is set). ";
    const std::string file = "Active file (information is extracted every time the active file is set). ";
    const std::string reference = "Active reference (information is extracted every time the active file is set). ";
    const std::string attributes = "Attributes (A = archive; C = compressed; E = encrypted; H = hidden; O = offline; "
                                   "R = read-only; Rp = reparse point; S = system; Sf = sparse file; T = temporary): ";
    const std::string modified = "Last modification time (irrelevant for directories): ";
    TFieldTexts texts;
    texts[ifFiles] = {"Files ", column + "Files count (total number of files): "};
    texts[ifEncrypted] = {"Encrypted ", column + "Encrypted files count: "};
    texts[ifSelectedCount] = {"SelNum ", column + "Selected files count: "};
    texts[ifSelectedSize] = {"SelSz ", column + "Selected files size (only the size of the main stream is used): "};
    texts[ifTotalSize] = {"TotalSz ", column + "Total file size (only the size of the main stream is used): "};
    texts[ifPartitionSize] = {"PartSz ", partition + "Partition size (free, total): "};
    texts[ifPartitionAttributes] = {"PartAttr ", partition + "Partition supports attributes (C = compression; E = "
                                                             "encryption; Q = quotas; R = read-only; Rp = reparse "
                                                             "point; S = streams; Sf = sparse file): "};
    texts[ifIndex] = {"Index ", file + "Index in column: "};
    texts[ifSize] = {"Sz ", file + "Size of main stream (size of all secondary streams); sometimes you might see a "
                                   "directory with a no null size, on CDs: "};
    texts[ifAttributes] = {"Attr ", file + attributes};
    texts[ifHardLinks] = {"HL ", file + "Hard-links count: "};
    texts[ifStreams] = {"SC ", file + "Streams count (except the main stream); all information displayed by the "
                                      "program refers only to data streams: "};
    texts[ifTitle] = {"Title ", file + "Title: "};
    texts[ifModified] = {"Mod ", file + modified};
    texts[ifDescription] = {"Desc ", file + "Description (to add a description just add a stream with the name "
                                            "\"Description\"; only the first 1'000 characters are displayed, line "
                                            "breaks are ignored): "};
    texts[ifReferenceType] = {"Type ", reference + "Type (D = directory; L = link; P = program; T = document; G = "
                                                   "generic): "};
    texts[ifReferenceSize] = {"Sz ", reference + "Size of main stream (size of all secondary streams): "};
    texts[ifReferenceAttributes] = {"Attr ", reference + attributes};
    texts[ifReferenceTitle] = {"Title ", reference + "Title: "};
    texts[ifReferenceModified] = {"Mod ", reference + modified};
    texts[ifReferenceParameters] = {"Param ", reference + "Command line parameters: "};
    texts[ifReferenceWorkingDirectory] = {"Work ", reference + "Working directory: "};
    return texts;
}

const TFieldText& GetFieldText(TInfoField field)
{
    static const TFieldTexts texts = MakeFieldTexts();
    return texts.at(static_cast<size_t>(field));
}

// Until the main window exists there are no bars: no field to fill and none shown.
class TNoInfoBars : public TMainWindowInfoBars
{
public:
    MyTPanel* GetInfoField(TInfoField) override { return nullptr; }
    bool IsInfoBarVisible(TInfoBar) override { return false; }
};

TNoInfoBars NoInfoBars;

} // namespace

const std::string& GetInfoFieldLabel(TInfoField field)
{
    return GetFieldText(field).Label;
}

const std::string& GetInfoFieldBaseHint(TInfoField field)
{
    return GetFieldText(field).BaseHint;
}

template <>
TMainWindowInfoBars& TSeam<TMainWindowInfoBars>::StandIn()
{
    return NoInfoBars;
}

void SetInfoFieldCaption(TInfoField field, const std::string& caption, const std::string& hint)
{
    if (MyTPanel* panel = TSeam<TMainWindowInfoBars>::Get().GetInfoField(field)) {
        SetPanelText(*panel, caption);
        panel->setToolTip(QString::fromStdString(hint));
    }
}

void SetInfoFieldCaption(TInfoField field, const std::string& caption)
{
    SetInfoFieldCaption(field, caption, GetInfoFieldBaseHint(field) + caption);
}

std::string GetInfoFieldHint(TInfoField field)
{
    MyTPanel* panel = TSeam<TMainWindowInfoBars>::Get().GetInfoField(field);
    return panel == nullptr ? std::string() : panel->toolTip().toStdString();
}

void SetInfoFieldHint(TInfoField field, const std::string& hint)
{
    if (MyTPanel* panel = TSeam<TMainWindowInfoBars>::Get().GetInfoField(field))
        panel->setToolTip(QString::fromStdString(hint));
}
