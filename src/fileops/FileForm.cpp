#include "fileops/FileForm.h"
#include "fileops/NameInput.h"

#include "fileops/OverwriteForm.h"

#include "columns/Column.h"
#include "columns/Containers.h"
#include "columns/FileListData.h"
#include "core/errors/Traced.h"
#include "core/files/FileExtensions.h"
#include "core/files/FileInfo.h"
#include "core/files/FileOperations.h"
#include "core/files/LinkFile.h"
#include "core/files/PathNames.h"
#include "core/forms/FormPlacement.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"
#include "core/settings/StoredTextList.h"
#include "core/text/StringList.h"

#include "viewing/PictureConversion.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <string_view>

TFileForm* FileForm = nullptr;

namespace {

constexpr int FormWidth = 520;
constexpr int InformationHeight = 104;
constexpr int OptionsHeight = 300;
constexpr int ButtonsHeight = 40;
constexpr int DropDownRows = 20;
const std::string MainSection = "Main";
constexpr size_t MaxFormatLength = 31;
constexpr int32_t DefaultQuality = 80;

const char* const FilterItems[] = {"Text files",  "Picture files",   "Movie files",
                                   "Music files", "No backup files", "All files"};

const char* const InformationHint =
    "Errors: the problems met so far.\n"
    "Directories and Files: how many were processed, of the total counted first.\n"
    "Size: the bytes processed, of the total counted first.\n"
    "Time: the time spent so far.\n"
    "File: how much of the current file is done.\n"
    "A directory handled in one step (renamed or removed whole) is counted as one item, so the counts "
    "can stay below the real numbers of files inside it.";
const char* const FilterHint =
    "Only files whose names match the include filter and do not match the exclude filter are processed. "
    "An empty include filter matches every file. Directory names are never filtered.\n"
    "In a filter, \"*\" stands for any run of characters, \"?\" for one character, and \";\" separates "
    "several patterns (for example \"*.txt;*.doc\").\n"
    "When you move or delete with filters, use \"Okay (no errors)\": directories that keep unmatched "
    "files cannot be removed, and each of them is reported.\n"
    "\"No backup files\" means \"*.exe;*.dll;*.obj;*.tds;*.tmp\".";
const char* const PrefixHint =
    "A prefix is the start of a file name up to and including the first \"_\" that stands before the "
    "first \".\" of the name (\"20050101_\" in \"20050101_photo.jpg\").";
const char* const ByCurrentHint = "Make a prefix from the current date and time";
const char* const ByCreationHint = "Make a prefix from the creation date and time of the focused file";
const char* const RecurseHint = "If this is checked, all files in subdirectories are also prefixed";
const char* const IgnoreEncryptionHint = "When you copy encrypted files to a partition that doesn't support "
                                         "encryption, you have to check this so that files can be copied";
const char* const FormatHint = "Convert picture to this format";
const char* const NormalizeHint =
    "Make the converted pictures no larger than the normal picture size, keeping their proportions; "
    "smaller pictures are not enlarged";
const char* const OkayHint = "Process the files and show each error as it happens";
const char* const OkayNoErrorsHint =
    "It's like \"Okay\", but the errors will not be displayed during processing, but only at the end";
const char* const AddPrefixHint = "Process the files and put the prefix before every file name";
const char* const ReplacePrefixHint =
    "Process the files, replacing the prefix that a file name already has by this one (a name without a "
    "prefix gets it added); with an empty prefix, existing prefixes are removed";
const char* const ShowOptionsHint = "Show / hide the options";
const char* const ShowOptionsConvertHint =
    "If this is pressed then the options area is displayed when you enter the dialog to convert pictures "
    "(but not for other cases)";

std::string ComboText(const QComboBox& comboBox)
{
    return comboBox.currentText().toStdString();
}

QLabel* AddLabel(QWidget* parent, const char* caption, const QRect& place)
{
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    label->setGeometry(place);
    return label;
}

QLabel* AddTitle(QWidget* parent, const char* caption, const QRect& place)
{
    QLabel* title = AddLabel(parent, caption, place);
    QFont font = title->font();
    font.setBold(true);
    title->setFont(font);
    return title;
}

// Paths may hold "&", which must show as it is.
QLabel* AddValue(QWidget* parent, const QRect& place)
{
    auto* label = new QLabel(parent);
    label->setGeometry(place);
    label->setTextFormat(Qt::PlainText);
    return label;
}

QCheckBox* AddCheckBox(QWidget* parent, const char* caption, const QRect& place, const char* hint = nullptr)
{
    auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
    box->setGeometry(place);
    if (hint != nullptr)
        box->setToolTip(QString::fromUtf8(hint));
    return box;
}

QComboBox* AddComboBox(QWidget* parent, const QRect& place, bool editable)
{
    auto* box = new QComboBox(parent);
    box->setGeometry(place);
    box->setEditable(editable);
    if (editable)
        box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(DropDownRows);
    return box;
}

// A labelled combo box; the label's mnemonic focuses the box.
QComboBox* AddLabelledComboBox(QWidget* parent, const char* caption, const QRect& labelPlace, const QRect& place,
                               bool editable)
{
    QLabel* label = AddLabel(parent, caption, labelPlace);
    QComboBox* box = AddComboBox(parent, place, editable);
    label->setBuddy(box);
    return box;
}

QGroupBox* AddGroup(QWidget* parent, const char* caption, const QRect& place)
{
    auto* group = new QGroupBox(QString::fromUtf8(caption), parent);
    group->setGeometry(place);
    return group;
}

// The formats a conversion can write, the first one chosen.
void FillFormats(QComboBox& comboBox)
{
    std::vector<std::string> formats;
    LoadPictureConvertFilters(formats);
    for (const std::string& format : formats)
        comboBox.addItem(QString::fromStdString(format));
    comboBox.setCurrentIndex(formats.empty() ? -1 : 0);
}

TStringList ContainerPaths(const TContainer& container)
{
    TStringList paths;
    for (const TContainerItem& item : container.Items())
        paths.Add(item.Path);
    return paths;
}

} // namespace

TFileForm::TFileForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::WindowTitleHint)
{
    BuildForm();
}

// The window that owns the form may go first.
TFileForm::~TFileForm()
{
    if (FileForm == this)
        FileForm = nullptr;
}

void TFileForm::BuildForm()
{
    QFont font("Arial");
    font.setPixelSize(12);
    setFont(font);

    auto* information = new QFrame(this);
    information->setGeometry(0, 0, FormWidth, InformationHeight);
    information->setFrameStyle(QFrame::Panel | QFrame::Raised);
    information->setToolTip(QString::fromUtf8(InformationHint));
    InformationPanel = information;
    AddTitle(information, "Total", {8, 8, 90, 18});
    AddTitle(information, "Current", {8, 30, 90, 18});
    AddTitle(information, "Source", {8, 52, 90, 18});
    AddTitle(information, "Destination", {8, 74, 90, 18});
    TotalInfoLabel = AddValue(information, {100, 8, FormWidth - 108, 18});
    CurrentInfoLabel = AddValue(information, {100, 30, FormWidth - 108, 18});
    SourceLabel = AddValue(information, {100, 52, FormWidth - 108, 18});
    DestinationLabel = AddValue(information, {100, 74, FormWidth - 108, 18});

    OptionsPanel = new QWidget(this);
    OptionsPanel->setGeometry(0, InformationHeight, FormWidth, OptionsHeight);
    const int groupWidth = FormWidth - 16;

    QGroupBox* options = AddGroup(OptionsPanel, "Options", {8, 4, groupWidth, 62});
    StopAfterCountCheckBox = AddCheckBox(options, "Stop after files are counted, and ask whether to continue",
                                         {10, 18, groupWidth - 20, 18});
    IgnoreEncryptionCheckBox =
        AddCheckBox(options, "Ignore encryption warnings", {10, 38, groupWidth - 20, 18}, IgnoreEncryptionHint);

    QGroupBox* filters = AddGroup(OptionsPanel, "Filters", {8, 70, groupWidth, 76});
    IncludeFilterComboBox =
        AddLabelledComboBox(filters, "&Include name filter", {10, 22, 130, 18}, {145, 18, groupWidth - 155, 22}, true);
    ExcludeFilterComboBox =
        AddLabelledComboBox(filters, "&Exclude name filter", {10, 48, 130, 18}, {145, 44, groupWidth - 155, 22}, true);
    for (const char* item : FilterItems)
        IncludeFilterComboBox->addItem(QString::fromUtf8(item));
    IncludeFilterComboBox->setToolTip(QString::fromUtf8(FilterHint));
    for (int i = 0; i < IncludeFilterComboBox->count(); ++i)
        ExcludeFilterComboBox->addItem(IncludeFilterComboBox->itemText(i));
    ExcludeFilterComboBox->setToolTip(IncludeFilterComboBox->toolTip());

    PrefixGroupBox =
        AddGroup(OptionsPanel, "File name prefix (not used for directory names)", {8, 150, groupWidth, 70});
    PrefixComboBox = AddLabelledComboBox(PrefixGroupBox, "Prefix", {10, 22, 45, 18}, {60, 18, 200, 22}, true);
    PrefixComboBox->setToolTip(QString::fromUtf8(PrefixHint));
    NewPrefixByCurrentButton = AddButton(PrefixGroupBox, "By current", {270, 17, 95, 24}, ByCurrentHint);
    NewPrefixByCreationButton = AddButton(PrefixGroupBox, "By creation", {375, 17, 95, 24}, ByCreationHint);
    RecursePrefixCheckBox = AddCheckBox(PrefixGroupBox, "Recurse subdirectories", {10, 46, 200, 18}, RecurseHint);

    ConvertPictureGroupBox = AddGroup(OptionsPanel, "Convert picture", {8, 224, groupWidth, 44});
    ConvertPictureFormatComboBox =
        AddLabelledComboBox(ConvertPictureGroupBox, "Format", {10, 20, 45, 18}, {60, 16, 110, 22}, false);
    ConvertPictureFormatComboBox->setToolTip(QString::fromUtf8(FormatHint));
    FillFormats(*ConvertPictureFormatComboBox);
    ConvertPictureQualityComboBox =
        AddLabelledComboBox(ConvertPictureGroupBox, "Quality", {185, 20, 50, 18}, {240, 16, 70, 22}, false);
    for (int quality = 0; quality <= 100; quality += 5)
        ConvertPictureQualityComboBox->addItem(QString::number(quality));
    NormalizePictureSizeCheckBox =
        AddCheckBox(ConvertPictureGroupBox, "Normalize size", {325, 18, 140, 18}, NormalizeHint);

    OkayAddPrefixButton = AddButton(OptionsPanel, "Okay (add prefix)", {8, 272, 150, 25}, AddPrefixHint);
    OkayReplacePrefixButton = AddButton(OptionsPanel, "Okay (replace prefix)", {166, 272, 150, 25}, ReplacePrefixHint);

    ButtonsPanel = new QWidget(this);
    ButtonsPanel->setGeometry(0, InformationHeight, FormWidth, ButtonsHeight);
    OkayButton = AddButton(ButtonsPanel, "&Okay", {8, 8, 75, 25}, OkayHint);
    OkayNoErrorsButton = AddButton(ButtonsPanel, "O&kay (no errors)", {90, 8, 120, 25}, OkayNoErrorsHint);
    CancelButton = AddButton(ButtonsPanel, "&Cancel", {217, 8, 75, 25});
    HelpButton = AddButton(ButtonsPanel, "&Help", {299, 8, 75, 25});
    ShowOptionsSpeedButton = AddButton(ButtonsPanel, "Options", {381, 8, 65, 25}, ShowOptionsHint);
    ShowOptionsConvertSpeedButton = AddButton(ButtonsPanel, "Convert", {450, 8, 62, 25}, ShowOptionsConvertHint);
    ShowOptionsSpeedButton->setCheckable(true);
    ShowOptionsConvertSpeedButton->setCheckable(true);
    ShowOptionsConvertSpeedButton->setChecked(true);
    OkayButton->setDefault(true);

    connect(OkayButton, &QPushButton::clicked, this, [this] { OkayButtonClick(); });
    connect(OkayNoErrorsButton, &QPushButton::clicked, this, [this] { OkayNoErrorsButtonClick(); });
    connect(OkayAddPrefixButton, &QPushButton::clicked, this, [this] { OkayAddPrefixButtonClick(); });
    connect(OkayReplacePrefixButton, &QPushButton::clicked, this, [this] { OkayReplacePrefixButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButtonClick(); });
    connect(HelpButton, &QPushButton::clicked, this, [this] { HelpButtonClick(); });
    connect(ShowOptionsSpeedButton, &QPushButton::clicked, this, [this] { ShowOptionsSpeedButtonClick(); });
    connect(ShowOptionsConvertSpeedButton, &QPushButton::clicked, this, [this] { ShowOptionsSpeedButtonClick(); });
    connect(NewPrefixByCurrentButton, &QPushButton::clicked, this, [this] { NewPrefixByCurrentButtonClick(); });
    connect(NewPrefixByCreationButton, &QPushButton::clicked, this, [this] { NewPrefixByCreationButtonClick(); });

    ShowOptions();
}

void TFileForm::LoadOptions(TStoredTextList& store)
{
    store.ReadCheckBox(MainSection, "StopAfterCount", *StopAfterCountCheckBox);
    std::string format = ComboText(*ConvertPictureFormatComboBox);
    store.ReadString(MainSection, "PictureConverterFormat", MaxFormatLength, format, false);
    if (ConvertPictureFormatComboBox->count() > 0)
        ConvertPictureFormatComboBox->setCurrentIndex(
            std::max(FindComboBoxItemExact(*ConvertPictureFormatComboBox, format), 0));
    int32_t quality = DefaultQuality;
    store.ReadInteger(MainSection, "PictureConverterQuality", 0, 100, quality);
    // A number that is no item selects none, and the conversion then reads quality 0.
    ConvertPictureQualityComboBox->setCurrentIndex(
        FindComboBoxItemExact(*ConvertPictureQualityComboBox, std::to_string(quality)));
    store.ReadCheckBox(MainSection, "NormalizePictureSize", *NormalizePictureSizeCheckBox);
    store.ReadSpeedButton(MainSection, "ShowFileOptions", *ShowOptionsSpeedButton);
    store.ReadSpeedButton(MainSection, "ShowOptionsConvert", *ShowOptionsConvertSpeedButton);
}

void TFileForm::SaveOptions(TStoredTextList& store) const
{
    store.WriteCheckBox(MainSection, "StopAfterCount", *StopAfterCountCheckBox);
    store.WriteComboBoxText(MainSection, "PictureConverterFormat", *ConvertPictureFormatComboBox);
    store.WriteInteger(MainSection, "PictureConverterQuality", ConvertPictureQualityComboBox->currentText().toInt());
    store.WriteCheckBox(MainSection, "NormalizePictureSize", *NormalizePictureSizeCheckBox);
    store.WriteSpeedButton(MainSection, "ShowFileOptions", *ShowOptionsSpeedButton);
    store.WriteSpeedButton(MainSection, "ShowOptionsConvert", *ShowOptionsConvertSpeedButton);
}

bool TFileForm::Dialog(bool hasDestination, const TFileOperationName& operation, TColumn& column, TContainer* container,
                       int32_t focusedIndex, const std::string& source, const std::string& destination,
                       const std::string& prefix, bool useGivenSource, bool fromDrop)
{
    if (column.GetItemCount() <= 0 || (hasDestination && destination.empty()))
        return false;
    if (container != nullptr && !column.IsSynchronizedWith(ContainerPaths(*container))) {
        TTraced trace;
        trace.Panic("Column and container items are not synchronized. You must reload the column.");
        trace.ShowFailure("Failed to " + operation + ".");
        return false;
    }
    TProgressInstall progress(*this);
    int result = mrCancel;
    TTraced trace;
    trace.Run([&] {
        ResetState();
        StoreArguments(hasDestination, operation, column, container, focusedIndex, source, destination, fromDrop);
        PrepareOverwriteChoice();
        ShowInformation(focusedIndex, useGivenSource, fromDrop);
        EnableControls();
        PrepareInputs(prefix);
        CentreOnMainWindow(*this);
        ShowOptions();
        setResult(0);
        result = RunModal(*this);
    });
    trace.ShowFailure("Failed to " + operation + ".");
    FunStatContext.Reset(fsPerfect);
    return result == mrOkay;
}

TFileForm::TProgressInstall::TProgressInstall(TFileForm& form)
{
    FileUnitLoader.OnProgress = [&form](double fraction) { return form.OnProgress(fraction); };
}

TFileForm::TProgressInstall::~TProgressInstall()
{
    FileUnitLoader.OnProgress = nullptr;
}

// The counters start again for each pass, so the final status shows the work pass alone.
void TFileForm::ResetCounters()
{
    ErrorCount = 0;
    DirectoryCount = 0;
    FileCount = 0;
    ExistingCount = 0;
    NewerCount = 0;
    SizeSeen = 0;
    SizeNeeded = 0;
}

void TFileForm::ResetState()
{
    Counting = true;
    Stop = false;
    ResetCounters();
    EncryptedSeen = false;
    StreamCount = -1;
}

void TFileForm::StoreArguments(bool hasDestination, const TFileOperationName& operation, TColumn& column,
                               TContainer* container, int32_t focusedIndex, const std::string& source,
                               const std::string& destination, bool fromDrop)
{
    HasDestination = hasDestination;
    Operation = operation;
    InitialOperation = operation;
    Column = &column;
    Container = container;
    FocusedIndex = focusedIndex;
    SourcePath = GetFullPath(source);
    DestinationPath.clear();
    if (!destination.empty()) {
        const std::string target = GetFullPath(destination);
        // A drop lands in the dropped-on folder, or in the folder a dropped-on link names.
        DestinationPath = fromDrop ? IncludeEndBackslash(GetWhenReference(target)) : GetParentPath(target);
    }
    UseGivenSource = false;
    ClipText.Clear();
}

// Every operation asks its own overwrite questions; a comparison never overwrites and
// only judges the older destinations, so it answers them all at once.
void TFileForm::PrepareOverwriteChoice()
{
    if (OverwriteForm == nullptr)
        return;
    OverwriteForm->ResetChoice();
    if (FileOperation::Is(Operation, FileOperation::Compare))
        OverwriteForm->SetChoice(ocOverAllOlder);
}

void TFileForm::ShowInformation(int32_t focusedIndex, bool useGivenSource, bool fromDrop)
{
    setWindowTitle(QString::fromStdString(Operation + (fromDrop ? " (from drop)" : "")));
    TotalInfoLabel->clear();
    CurrentSource = SourcePath;
    CurrentDestination = DestinationPath;
    if (Column->SelectedCount > 0) {
        CurrentInfoLabel->setText(QString::fromStdString(Operation + " " + std::to_string(Column->SelectedCount) +
                                                         " selected files / directories?"));
    } else {
        UseGivenSource = useGivenSource;
        if (!UseGivenSource)
            CurrentSource = FocusedItemPath(focusedIndex);
        CurrentInfoLabel->setText(QString::fromStdString(Operation + " focused file / directory?"));
    }
    SourceLabel->setText(QString::fromStdString(CurrentSource));
    DestinationLabel->setText(QString::fromStdString(CurrentDestination));
}

std::string TFileForm::FocusedItemPath(int32_t focusedIndex) const
{
    if (focusedIndex >= 0 && focusedIndex < Column->GetItemCount())
        return Column->GetItem(focusedIndex).Title;
    return Column->ActiveTitle;
}

void TFileForm::EnableControls()
{
    const bool idle = !Working;
    OkayButton->setEnabled(idle);
    OkayNoErrorsButton->setEnabled(idle);
    ShowOptionsSpeedButton->setEnabled(idle);
    ShowOptionsConvertSpeedButton->setEnabled(idle);
    OptionsPanel->setEnabled(idle);
    const bool prefix = TakesPrefix();
    OkayAddPrefixButton->setEnabled(prefix);
    OkayReplacePrefixButton->setEnabled(prefix);
    PrefixGroupBox->setEnabled(prefix);
    ConvertPictureGroupBox->setEnabled(FileOperation::Is(Operation, FileOperation::ConvertPicture));
    IgnoreEncryptionCheckBox->setEnabled(FileOperation::Is(Operation, FileOperation::Copy));
}

// Filters are asked anew each time; a prefix stays only once it was used (it is then in the
// history) or when the caller gives one.
void TFileForm::PrepareInputs(const std::string& prefix)
{
    IncludeFilterComboBox->setEditText(QString());
    ExcludeFilterComboBox->setEditText(QString());
    if (FindComboBoxItemExact(*PrefixComboBox, ComboText(*PrefixComboBox)) < 0)
        PrefixComboBox->setEditText(QString());
    if (!prefix.empty())
        PrefixComboBox->setEditText(QString::fromStdString(prefix));
}

bool TFileForm::TakesPrefix() const
{
    return FileOperation::TakesPrefix(Operation);
}

void TFileForm::ShowOptions()
{
    const bool visible =
        ShowOptionsSpeedButton->isChecked() ||
        (ShowOptionsConvertSpeedButton->isChecked() && FileOperation::Is(Operation, FileOperation::ConvertPicture));
    OptionsPanel->setVisible(visible);
    const int optionsHeight = visible ? OptionsHeight : 0;
    ButtonsPanel->move(0, InformationHeight + optionsHeight);
    const int height = InformationHeight + optionsHeight + ButtonsHeight;
    setFixedSize(FormWidth, height);
    CentreVerticallyOnMainWindow(*this);
}

void TFileForm::UpdateHistories()
{
    const std::string include = ComboText(*IncludeFilterComboBox);
    const std::string exclude = ComboText(*ExcludeFilterComboBox);
    InsertComboBoxHistoryItem(*IncludeFilterComboBox, exclude);
    InsertComboBoxHistoryItem(*ExcludeFilterComboBox, include);
    UpdateComboBoxHistory(*IncludeFilterComboBox);
    UpdateComboBoxHistory(*ExcludeFilterComboBox);
    if (UsePrefix)
        UpdateComboBoxHistory(*PrefixComboBox);
}

bool TFileForm::ValidateInputs()
{
    const std::string prefix = ComboText(*PrefixComboBox);
    const char* warning = nullptr;
    if (HoldsAnyOf(ComboText(*IncludeFilterComboBox), FilterForbidden))
        warning = "Invalid include file name filter.";
    else if (HoldsAnyOf(ComboText(*ExcludeFilterComboBox), FilterForbidden))
        warning = "Invalid exclude file name filter.";
    else if (HoldsAnyOf(prefix, NameForbidden))
        warning = "Invalid file name prefix.";
    else if (prefix.empty() && UsePrefix && !ReplacePrefix)
        warning = "Empty file name prefix.";
    if (warning != nullptr) {
        ShowWarningMessage(warning);
        return false;
    }
    IncludeFilter = GetFilterFromComboBox(*IncludeFilterComboBox, nullptr);
    ExcludeFilter = GetFilterFromComboBox(*ExcludeFilterComboBox, nullptr);
    return true;
}

// A refused input leaves the dialog open with everything typed, so the user can mend it.
void TFileForm::OnOkayButton(bool noErrors, bool usePrefix, bool replacePrefix)
{
    NoErrors = noErrors;
    UsePrefix = usePrefix;
    ReplacePrefix = replacePrefix;
    if (!ValidateInputs())
        return;
    SetWorking(true);
    struct TIdleAgain
    {
        TFileForm& Form;
        ~TIdleAgain() { Form.SetWorking(false); }
    } idleAgain{*this};
    OnOkay();
}

void TFileForm::SetWorking(bool working)
{
    Working = working;
    EnableControls();
}

void TFileForm::OkayButtonClick()
{
    OnOkayButton(false, false, false);
}

void TFileForm::OkayNoErrorsButtonClick()
{
    OnOkayButton(true, false, false);
}

void TFileForm::OkayAddPrefixButtonClick()
{
    OnOkayButton(false, true, false);
}

void TFileForm::OkayReplacePrefixButtonClick()
{
    OnOkayButton(false, true, true);
}

// While the engine works it stops at the next item or progress call and closes the
// dialog itself; otherwise the dialog closes at once.
void TFileForm::CancelButtonClick()
{
    Stop = true;
    if (!Working)
        done(mrCancel);
}

void TFileForm::HelpButtonClick()
{
    ShowHelpNotAvailable();
}

void TFileForm::ShowOptionsSpeedButtonClick()
{
    ShowOptions();
}

void TFileForm::NewPrefixByCurrentButtonClick()
{
    PrefixComboBox->setEditText(QString::fromStdString(GetStampByCurrent()));
    PrefixComboBox->setFocus();
}

// A focused file that can no longer be read leaves the prefix as it was.
void TFileForm::NewPrefixByCreationButtonClick()
{
    if (Column == nullptr)
        return;
    TTraced trace;
    trace.Run([&] {
        const std::string stamp = GetStampByCreation(FocusedItemPath(FocusedIndex));
        if (trace.TakeOver())
            return;
        PrefixComboBox->setEditText(QString::fromStdString(stamp));
        PrefixComboBox->setFocus();
    });
    trace.ShowFailure("Failed to make prefix.");
}

bool TFileForm::OnProgress(double fraction)
{
    RefreshStatus(fraction);
    return !Stop;
}

void TFileForm::FormActivate()
{
    OkayButton->setFocus();
}

// Escape and the close box are "&Cancel": while the engine works they stop it, and the
// dialog stays until the engine closes it.
void TFileForm::reject()
{
    CancelButtonClick();
}

void TFileForm::closeEvent(QCloseEvent* event)
{
    CancelButtonClick();
    event->setAccepted(!Working);
}

void TFileForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}
