#pragma once

#include "core/Seam.h"

#include <cstdint>
#include <string>

class MyTPanel;

// The main window's four information bars under the columns: the column bar, the file
// bar, the description bar and the reference bar (the target of a link). Each field is a
// small panel whose caption is a label and a value, and whose hint explains the field and
// repeats the caption.
enum TInfoBar : int32_t
{
    ibColumn,
    ibFile,
    ibDescription,
    ibReference
};

enum TInfoField : int32_t
{
    // The column bar.
    ifFiles,
    ifEncrypted,
    ifSelectedCount,
    ifSelectedSize,
    ifTotalSize,
    ifPartitionSize,
    ifPartitionAttributes,
    // The file bar.
    ifIndex,
    ifSize,
    ifAttributes,
    ifHardLinks,
    ifStreams,
    ifTitle,
    ifModified,
    // The description bar.
    ifDescription,
    // The reference bar.
    ifReferenceType,
    ifReferenceSize,
    ifReferenceAttributes,
    ifReferenceTitle,
    ifReferenceModified,
    ifReferenceParameters,
    ifReferenceWorkingDirectory,
    InfoFieldCount
};

// The field's label, which begins its caption ("Files "), and its base hint, which begins
// its hint.
const std::string& GetInfoFieldLabel(TInfoField field);
const std::string& GetInfoFieldBaseHint(TInfoField field);

// What the information bar needs of the main window: the panel of each field and whether
// a bar is shown. The main window implements it and installs itself once it exists;
// tests install fakes.
class TMainWindowInfoBars
{
public:
    virtual ~TMainWindowInfoBars() = default;
    // The field's panel, or null.
    virtual MyTPanel* GetInfoField(TInfoField field) = 0;
    virtual bool IsInfoBarVisible(TInfoBar bar) = 0;
};

template <>
TMainWindowInfoBars& TSeam<TMainWindowInfoBars>::StandIn();

// The field's caption, in its normal and its down state, and its hint; a field without a
// panel is passed over.
void SetInfoFieldCaption(TInfoField field, const std::string& caption, const std::string& hint);
// The caption, and the base hint followed by the caption as hint.
void SetInfoFieldCaption(TInfoField field, const std::string& caption);
std::string GetInfoFieldHint(TInfoField field);
void SetInfoFieldHint(TInfoField field, const std::string& hint);
