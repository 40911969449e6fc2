#include "fileops/SearchFileForm.h"
#include "fileops/NameInput.h"

#include "columns/Column.h"
#include "columns/ContainerDialog.h"
#include "core/desktop/Clipboard.h"
#include "core/errors/Traced.h"
#include "core/files/PathNames.h"
#include "core/forms/FormPlacement.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"
#include "core/settings/StoredTextList.h"
#include "core/text/MyTime.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>

TSearchFileForm* SearchFileForm = nullptr;

namespace {

constexpr int FormWidth = 670;
constexpr int FormHeight = 540;
constexpr int DropDownRows = 20;
constexpr size_t MaxStoredText = 31;
constexpr int32_t ContainerKeyCount = 10;
const std::string Section = "SearchFile";

const char* const FilterItems[] = {"Text files",  "Picture files",   "Movie files",
                                   "Music files", "No backup files", "All files"};
const char* const FilePartsItems[] = {"Name", "Description", "Content", "Name, content", "Name, text"};
const char* const StemItems[] = {"Any", "Right", "Left", "Word"};
const char* const TimeUnitItems[] = {"minutes", "hours", "days", "weeks"};
const char* const SizeUnitItems[] = {"bytes", "KB", "MB", "GB", "TB"};

const char* const SearchNamesHint = "Search for files whose names match the file name filter";
const char* const SearchContentHint =
    "Use this function when you want to find files that contain desired texts. Files are displayed in order of "
    "rank, during the seach: the more text filters match, the higher the rank; the algorithm is optimized for "
    "languages that read \"left to right, top to bottom\". The rank is displayed in front of the tile. If the file "
    "name filter is empty (when you click this button) then it is automatically set with the extensions of the "
    "files recognized by the viewer as text files.";
const char* const SearchNamesSelectHint =
    "It is like \"Search names\", but the files are selected when the search ends. \"Look in directories too\" is "
    "considered unchecked. The dialog is closed automatically is files are found.";
const char* const SearchContentSelectHint =
    "It is like \"Search content\", but the files are selected when the search ends. \"Look in directories too\" "
    "is considered unchecked. The dialog is closed automatically is files are found.";
const char* const FileNameFilterHint =
    "Use \"*\" to match any string of characters; use \"?\" to match any character; use \";\" to separate "
    "multiple filters. The predefined values are substituted with the extensions of the recognized files, stored "
    "in the program's options; \"No backup files\" represents the following filters: "
    "\"*.exe;*.dll;*.obj;*.tds;*.tmp\". [Enter] = search names ( [Ctrl] = search names, select).";
const char* const TextFilterHint =
    "Find files (including directories) whose names, descriptions and contents match this text filter; if the "
    "size of a file is bigger than 10 million bytes, it is ignored (= not found). Use blank space or \";\" (see "
    "\"Free-hand filter\") to separate multiple filters. Matching is case-insensitive. Use \"&\" in front of a "
    "filter to specify that the filter must be contained by the found files; use \"!\" to specify that the filter "
    "must not be contained by the found files; use \"~\" to treat the next character as normal (for example "
    "\"~!text\"). Normally, each filter can be a part of a longer text, but can also miss from the file. The text "
    "filter is NOT used if you click the \"Search names\" button. [Enter] = search content ([Ctrl] = search "
    "content, select).";
const char* const FilePartsHint =
    "Specify in which parts of a file to search for the specified text filters: name (including the path, if "
    "there is already a match in another part), description (description file stream), content (all file "
    "streams), text (it's like \"content\", but the main stream of the file is searched only for text files "
    "recognized by the viewer). If the search is not performed in the name, no directory can be found, because "
    "directories are searched only in the name.";
const char* const StemHint =
    "Specify the stem mode of the matching filters. \"Left\" means that if the first character of a filter is a "
    "word character, the character before any of its matches must not be a word character; a word character is "
    "a letter, a digit or an underscore (\"_\"). \"Right\" refers to the right side of the filter / match. "
    "\"Word\" refers to both sides of the filter / match. \"Any\" means that there is no stem requirement.";
const char* const CreationMinTimeCheckHint =
    "If this is checked, the creation time of each matched file must be minimum the time from the \"Creation "
    "minimum\" combo-box. This is cleared each time the dialog is opened.";
const char* const CreationMinTimeHint =
    "The creation time of each matched file must be minimum this value. The format of this field must be: "
    "\"day/month/year\"; the months can be written with the English short names, and the \"year\" can also have "
    "2 digits. If this is a simple integer then the matching file time must be older than the current time with "
    "maximum \"Creation minimum\" units (expressed in\"Measurement unit\").";
const char* const CreationMaxTimeCheckHint =
    "If this is checked, the creation time of each matched file must be maximum the time from the \"Creation "
    "maximum\" combo-box. This is cleared each time the dialog is opened.";
const char* const CreationMaxTimeHint =
    "The creation time of each matched file must be maximum this value. The format of this field must be: "
    "\"day/month/year\"; the months can be written with the English short names, and the \"year\" can also have "
    "2 digits. If this is a simple integer then the matching file time must be older than the current time with "
    "minimum \"Creation maximum\" units (expressed in\"Measurement unit\").";
const char* const ModifiedMinTimeCheckHint =
    "If this is checked, the last modification time of each matched file must be minimum the time from the "
    "\"Modified minimum\" combo-box. This is cleared each time the dialog is opened.";
const char* const ModifiedMinTimeHint =
    "The last modification time of each matched file must be minimum this value. The format of this field must "
    "be: \"day/month/year\"; the months can be written with the English short names, and the \"year\" can also "
    "have 2 digits. If this is a simple integer then the matching file time must be older than the current time "
    "with maximum \"Modified minimum\" units (expressed in\"Measurement unit\").";
const char* const ModifiedMaxTimeCheckHint =
    "If this is checked, the last modification time of each matched file must be maximum the time from the "
    "\"Modified maximum\" combo-box. This is cleared each time the dialog is opened.";
const char* const ModifiedMaxTimeHint =
    "The last modification time of each matched file must be maximum this value. The format of this field must "
    "be: \"day/month/year\"; the months can be written with the English short names, and the \"year\" can also "
    "have 2 digits. If this is a simple integer then the matching file time must be older than the current time "
    "with minimum \"Modified maximum\" units (expressed in\"Measurement unit\").";
const char* const TimeUnitHint = "The measurement unit used if the time fields are integer numbers (not dates)";
const char* const SizeMinCheckHint =
    "If this is checked, the size of each matched file must be minimum the size from the \"Size minimum\" "
    "combo-box. This is cleared each Size the dialog is opened.";
const char* const SizeMinHint =
    "The size of each matched file must be minimum this value. This must represent a real number of "
    "\"Measurement unit\" units.";
const char* const SizeMaxCheckHint =
    "If this is checked, the size of each matched file must be maximum the size from the \"Size maximum\" "
    "combo-box. This is cleared each Size the dialog is opened.";
const char* const SizeMaxHint =
    "The size of each matched file must be maximum this value. This must represent a real number of "
    "\"Measurement unit\" units.";
const char* const SizeUnitHint = "The measurement unit used for sizes";
const char* const InfoHint =
    "\"Errors\": the number of errors occurred during processing. \"Directories\": the number of directories "
    "found. \"Files\": the number of files found. \"Jumped files\": the number of files jumped (their size is too "
    "big). \"Time\": elapsed time from the beginning of processing.";
const char* const PutInSearchContainerHint =
    "Files from the \"Found files\" list-box are put in the container named \"Found\" (or \"1\", if that's not "
    "found); this container is automatically displayed in the active column. Before any item is put in the "
    "container, the container is cleared of items; use \"Ctrl\" to keep the existing items. In the container, the "
    "rank will be displayed before the names of the files. Use this when you want to be able to use the list of "
    "found files just like the content of a directory (for example, to further refine a search, or to copy / "
    "move / delete the files).";
const char* const PutInContainerHint =
    "It's like \"Put in \"Found\" container\", but you can choose in which container to put the found files.";
const char* const ReuseContainerHint =
    "If this is checked then when you put the found files in a container, if the container is already displayed "
    "in any column of the active board, it will not be displayed in the active column too.";
const char* const ShowSearchBoardHint =
    "If this is checked then the \"Search\" / \"Find\" board is shown when the found files are put in a container";
const char* const SwitchMouseOperationsHint =
    "If this is checked, when a found file (not directory) is clicked, the functions associated with the [Double "
    "LMB] and [Ctrl + LMB] mouse operations for the list-box with the found files are switched. The hint of the "
    "list-box will properly display the new functions.";
const char* const UseColumnForContainerHint =
    "If \"Reuse container\" is checked, when you put the found files in a container and the container is not "
    "displayed in any visible column, the container is automatically displayed in the column identified by this "
    "number. If the column is not visible then the container is displayed in the active column.";
const char* const ClipAllTitlesHint = "Copy all found file titles to clipboard";
const char* const ClipActiveTitleHint = "Copy the active file title to clipboard";
const char* const RecursiveHint = "If this is checked, the search is performed recursively (= in subdirectories). "
                                  "This is considered unchecked if you use the \"Search, select\" buttons.";
const char* const FindDirsHint = "If this is checked, matching directories are found";
const char* const SearchSimilarHint = "This option will add (internally) \"*\" before and after the file name filter";
const char* const ConsiderAllSelectedHint =
    "If this is checked and the column (in which the search is performed) has no selected items then all items "
    "are considered selected (and the search is performed for all)";
const char* const NewPrefixByCurrentHint = "Set the selected text of the filter edit-box with a unique prefix, using "
                                           "the current time. The prefix is like in the \"Copy\" dialog.";
const char* const FindFilesHint = "If this is checked, matching files are found";
const char* const FreeHandFilterHint = "If this is checked then use a blank space as separator for multiple "
                                       "filters, and if it is unchecked then use \";\"";
const char* const NearDetectionHint =
    "If this is checked, if filters are detected being near each other, there is some extra-priority for that "
    "file. \"Near\" means 100 characters on the left and right sides of each filter match.";
const char* const AllFiltersHint =
    "If this is checked, in order for a file to be be found, all filters are required to match; however, the "
    "\"!\" operator has priority. If this is unchecked, only one filter is required to match.";
const char* const AlwaysFocusThisHint = "If this is checked, when this dialog is displayed, the text filter edit-box "
                                        "is focused instead of the file name filter edit box";
const char* const TimeSizeTabHint = "The size is not used for directories";
const char* const CancelHint = "Stop the operation and close the dialog";
const char* const StopHint = "Stop the operation (don't close the dialog)";

QString Q(const char* text)
{
    return QString::fromUtf8(text);
}

void SetHint(QWidget* control, const char* hint)
{
    control->setToolTip(Q(hint));
}

QGroupBox* AddGroup(QWidget* parent, const char* caption, const QRect& place, const char* hint = nullptr)
{
    auto* group = new QGroupBox(Q(caption), parent);
    group->setGeometry(place);
    if (hint != nullptr)
        SetHint(group, hint);
    return group;
}

QCheckBox* AddCheckBox(QWidget* parent, const char* caption, const QRect& place, bool checked, const char* hint)
{
    auto* box = new QCheckBox(Q(caption), parent);
    box->setGeometry(place);
    box->setChecked(checked);
    if (hint != nullptr)
        SetHint(box, hint);
    return box;
}

template <size_t N>
QComboBox* AddComboBox(QWidget* parent, const QRect& place, bool editable, const char* const (&items)[N],
                       const char* hint)
{
    auto* box = new QComboBox(parent);
    box->setGeometry(place);
    box->setEditable(editable);
    if (editable)
        box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(DropDownRows);
    for (const char* item : items)
        box->addItem(Q(item));
    if (hint != nullptr)
        SetHint(box, hint);
    return box;
}

QComboBox* AddEditBox(QWidget* parent, const QRect& place, const char* hint)
{
    auto* box = new QComboBox(parent);
    box->setGeometry(place);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMaxVisibleItems(DropDownRows);
    SetHint(box, hint);
    return box;
}

void AddLabel(QWidget* parent, const char* caption, const QRect& place, QWidget* buddy)
{
    auto* label = new QLabel(Q(caption), parent);
    label->setGeometry(place);
    label->setBuddy(buddy);
}

// Paths may hold "&", which must show as it is.
QLabel* AddValue(QWidget* parent, const QRect& place)
{
    auto* label = new QLabel(parent);
    label->setGeometry(place);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// Texts take the stored value only when it is not empty and at most 31 characters long.
void ReadText(TStoredTextList& store, const std::string& key, QComboBox& box)
{
    std::string text;
    store.ReadString(Section, key, MaxStoredText, text, false);
    box.setEditText(QString::fromStdString(text));
}

// A missing or unknown value selects the default's item, else the first.
void ReadList(TStoredTextList& store, const std::string& key, QComboBox& box, const std::string& defaultText)
{
    std::string text;
    store.ReadString(Section, key, std::string::npos, text, false);
    SelectComboBoxText(box, text, defaultText);
}

// "1" to "9" and "0" choose the containers 0 to 9.
int32_t ContainerOfDigitKey(uint16_t virtualKey)
{
    return virtualKey == '0' ? ContainerKeyCount - 1 : virtualKey - '1';
}

bool IsEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TSearchFileForm::TSearchFileForm(QWidget* owner, TContainerDialog* containerDialog)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::WindowTitleHint),
      Engine(*this), ContainerDialog(containerDialog)
{
    BuildForm();
    ConnectHandlers();
    InstallKeyPreview();
}

// The window that owns the form may go first.
TSearchFileForm::~TSearchFileForm()
{
    if (SearchFileForm == this)
        SearchFileForm = nullptr;
}

void TSearchFileForm::BuildForm()
{
    setWindowTitle("Search file");
    QFont font("Arial");
    font.setPointSize(9);
    setFont(font);
    setFixedSize(FormWidth, FormHeight);

    LookingInGroupBox = AddGroup(this, "Looking in", {8, 4, FormWidth - 16, 40});
    LookingInLabel = AddValue(LookingInGroupBox, {10, 17, FormWidth - 36, 18});

    OptionsPageControl = new QTabWidget(this);
    OptionsPageControl->setGeometry(8, 48, FormWidth - 16, 206);
    BuildNameTextPage();
    BuildTimeSizePage();

    constexpr int buttonTop = 260;
    SearchNamesButton = AddButton(this, "&Search names", {8, buttonTop, 100, 25}, SearchNamesHint, false);
    SearchContentButton = AddButton(this, "Search co&ntent", {112, buttonTop, 100, 25}, SearchContentHint, false);
    SearchNamesSelectButton =
        AddButton(this, "Search names, select", {216, buttonTop, 128, 25}, SearchNamesSelectHint, false);
    SearchContentSelectButton =
        AddButton(this, "Search content, select", {348, buttonTop, 136, 25}, SearchContentSelectHint, false);
    StopButton = AddButton(this, "S&top", {496, buttonTop, 80, 25}, StopHint, false);
    CancelButton = AddButton(this, "&Cancel", {582, buttonTop, 80, 25}, CancelHint, false);

    BuildFoundGroup(buttonTop + 32);
}

void TSearchFileForm::BuildNameTextPage()
{
    NameTextTabSheet = new QWidget;
    OptionsPageControl->addTab(NameTextTabSheet, "Name, text");
    const int width = FormWidth - 28;

    FileNameFilterGroupBox = AddGroup(NameTextTabSheet, "&File name filter", {4, 4, width, 72});
    FileNameFilterComboBox =
        AddComboBox(FileNameFilterGroupBox, {10, 18, 470, 22}, true, FilterItems, FileNameFilterHint);
    FileNameFilterGroupBox->setFocusProxy(FileNameFilterComboBox);
    NewPrefixByCurrentButton =
        AddButton(FileNameFilterGroupBox, "By current", {490, 17, 90, 24}, NewPrefixByCurrentHint, false);
    SearchSimilarCheckBox =
        AddCheckBox(FileNameFilterGroupBox, "Search si&milar names", {10, 46, 135, 18}, false, SearchSimilarHint);
    ConsiderAllSelectedCheckBox =
        AddCheckBox(FileNameFilterGroupBox, "Consider all selected", {153, 46, 145, 18}, true, ConsiderAllSelectedHint);
    RecursiveCheckBox =
        AddCheckBox(FileNameFilterGroupBox, "&Look in directories too", {300, 46, 154, 18}, true, RecursiveHint);
    FindDirsCheckBox = AddCheckBox(FileNameFilterGroupBox, "Find di&rectories", {458, 46, 110, 18}, true, FindDirsHint);
    FindFilesCheckBox = AddCheckBox(FileNameFilterGroupBox, "Find files", {570, 46, 70, 18}, true, FindFilesHint);

    TextFilterGroupBox = AddGroup(NameTextTabSheet, "&Text filter", {4, 80, width, 96});
    TextFilterComboBox = AddEditBox(TextFilterGroupBox, {10, 18, width - 20, 22}, TextFilterHint);
    TextFilterGroupBox->setFocusProxy(TextFilterComboBox);
    AddLabel(TextFilterGroupBox, "File parts", {10, 48, 60, 18}, nullptr);
    FilePartsComboBox = AddComboBox(TextFilterGroupBox, {72, 45, 130, 22}, false, FilePartsItems, FilePartsHint);
    FilePartsComboBox->setCurrentIndex(static_cast<int>(TFileParts::NameText));
    AddLabel(TextFilterGroupBox, "Stem", {220, 48, 40, 18}, nullptr);
    StemComboBox = AddComboBox(TextFilterGroupBox, {262, 45, 90, 22}, false, StemItems, StemHint);
    FreeHandFilterCheckBox =
        AddCheckBox(TextFilterGroupBox, "Free-hand filter", {10, 72, 130, 18}, true, FreeHandFilterHint);
    AllFiltersCheckBox = AddCheckBox(TextFilterGroupBox, "All filters", {150, 72, 110, 18}, false, AllFiltersHint);
    NearDetectionCheckBox =
        AddCheckBox(TextFilterGroupBox, "Near detection", {270, 72, 130, 18}, true, NearDetectionHint);
    AlwaysFocusThisCheckBox =
        AddCheckBox(TextFilterGroupBox, "Always focus this", {410, 72, 140, 18}, false, AlwaysFocusThisHint);
}

void TSearchFileForm::BuildTimeSizePage()
{
    TimeSizeTabSheet = new QWidget;
    SetHint(TimeSizeTabSheet, TimeSizeTabHint);
    OptionsPageControl->addTab(TimeSizeTabSheet, "Time, size");
    const int width = FormWidth - 28;

    TimeGroupBox = AddGroup(TimeSizeTabSheet, "Time", {4, 4, width, 96});
    const auto addLimit = [](QWidget* group, const char* caption, int left, int top, const char* checkHint,
                             const char* boxHint, QCheckBox*& check, QComboBox*& box) {
        check = AddCheckBox(group, caption, {left, top + 2, 130, 18}, false, checkHint);
        box = AddEditBox(group, {left + 132, top, 150, 22}, boxHint);
    };
    addLimit(TimeGroupBox, "Creation minimum", 10, 18, CreationMinTimeCheckHint, CreationMinTimeHint,
             CreationMinTimeCheckBox, CreationMinTimeComboBox);
    addLimit(TimeGroupBox, "Creation maximum", 10, 44, CreationMaxTimeCheckHint, CreationMaxTimeHint,
             CreationMaxTimeCheckBox, CreationMaxTimeComboBox);
    addLimit(TimeGroupBox, "Modified minimum", 310, 18, ModifiedMinTimeCheckHint, ModifiedMinTimeHint,
             ModifiedMinTimeCheckBox, ModifiedMinTimeComboBox);
    addLimit(TimeGroupBox, "Modified maximum", 310, 44, ModifiedMaxTimeCheckHint, ModifiedMaxTimeHint,
             ModifiedMaxTimeCheckBox, ModifiedMaxTimeComboBox);
    TimeMeasurementUnitComboBox = AddComboBox(TimeGroupBox, {142, 70, 150, 22}, false, TimeUnitItems, TimeUnitHint);
    TimeMeasurementUnitComboBox->setCurrentIndex(2);
    AddLabel(TimeGroupBox, "Measurement", {10, 72, 130, 18}, TimeMeasurementUnitComboBox);

    SizeGroupBox = AddGroup(TimeSizeTabSheet, "Size", {4, 104, width, 72});
    addLimit(SizeGroupBox, "Size minimum", 10, 18, SizeMinCheckHint, SizeMinHint, SizeMinCheckBox, SizeMinComboBox);
    addLimit(SizeGroupBox, "Size maximum", 310, 18, SizeMaxCheckHint, SizeMaxHint, SizeMaxCheckBox, SizeMaxComboBox);
    SizeMeasurementUnitComboBox = AddComboBox(SizeGroupBox, {142, 44, 150, 22}, false, SizeUnitItems, SizeUnitHint);
    SizeMeasurementUnitComboBox->setCurrentIndex(1);
    AddLabel(SizeGroupBox, "Measurement", {10, 46, 130, 18}, SizeMeasurementUnitComboBox);
}

void TSearchFileForm::BuildFoundGroup(int top)
{
    FoundGroupBox = AddGroup(this, "F&ound files", {8, top, FormWidth - 16, FormHeight - top - 6});
    const int height = FoundGroupBox->height();
    BuildFoundList(FoundGroupBox, {10, 18, 440, height - 80});
    FoundGroupBox->setFocusProxy(FoundItemsListBox);

    constexpr int right = 460;
    PutInSearchContainerButton =
        AddButton(FoundGroupBox, "&Put in \"Found\" container", {right, 18, 180, 25}, PutInSearchContainerHint, false);
    PutInContainerButton =
        AddButton(FoundGroupBox, "Put in container", {right, 47, 180, 25}, PutInContainerHint, false);
    ClipAllTitlesButton = AddButton(FoundGroupBox, "Clip all titles", {right, 76, 180, 25}, ClipAllTitlesHint, false);
    ClipActiveTitleButton =
        AddButton(FoundGroupBox, "Clip active title", {right, 105, 180, 25}, ClipActiveTitleHint, false);
    ShowSearchBoardCheckBox =
        AddCheckBox(FoundGroupBox, "Show \"Search\" board", {right, 136, 180, 18}, true, ShowSearchBoardHint);
    ReuseContainerCheckBox =
        AddCheckBox(FoundGroupBox, "Reuse container", {right, 158, 130, 18}, true, ReuseContainerHint);
    UseColumnForContainerComboBox = new QComboBox(FoundGroupBox);
    UseColumnForContainerComboBox->setGeometry(right + 132, 156, 48, 22);
    for (int32_t column = 1; column <= ContainerKeyCount; ++column)
        UseColumnForContainerComboBox->addItem(QString::number(column));
    UseColumnForContainerComboBox->setCurrentIndex(2);
    SetHint(UseColumnForContainerComboBox, UseColumnForContainerHint);
    SwitchMouseOperationsCheckBox =
        AddCheckBox(FoundGroupBox, "Switch mouse operations", {right, 180, 180, 18}, false, SwitchMouseOperationsHint);

    InfoGroupBox =
        AddGroup(FoundGroupBox, "Information (about the found files)", {10, height - 58, FormWidth - 36, 50}, InfoHint);
    InfoLabel = AddValue(InfoGroupBox, {10, 20, FormWidth - 56, 20});
}

void TSearchFileForm::ConnectHandlers()
{
    connect(SearchNamesButton, &QPushButton::clicked, this, [this] { SearchNamesButtonClick(); });
    connect(SearchContentButton, &QPushButton::clicked, this, [this] { SearchContentButtonClick(); });
    connect(SearchNamesSelectButton, &QPushButton::clicked, this, [this] { SearchNamesSelectButtonClick(); });
    connect(SearchContentSelectButton, &QPushButton::clicked, this, [this] { SearchContentSelectButtonClick(); });
    connect(StopButton, &QPushButton::clicked, this, [this] { StopButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { CancelButtonClick(); });
    connect(NewPrefixByCurrentButton, &QPushButton::clicked, this, [this] { NewPrefixByCurrentButtonClick(); });
    connect(ClipAllTitlesButton, &QPushButton::clicked, this, [this] { ClipAllTitlesButtonClick(); });
    connect(ClipActiveTitleButton, &QPushButton::clicked, this, [this] { ClipActiveTitleButtonClick(); });
    connect(SwitchMouseOperationsCheckBox, &QCheckBox::clicked, this, [this] { SwitchMouseOperationsCheckBoxClick(); });
    // The two container buttons act on the press, with the modifiers held then.
    connect(PutInSearchContainerButton, &QPushButton::pressed, this,
            [this] { PutInSearchContainerButtonMouseDown(GetShiftState(QGuiApplication::queryKeyboardModifiers())); });
    connect(PutInContainerButton, &QPushButton::pressed, this,
            [this] { PutInContainerButtonMouseDown(GetShiftState(QGuiApplication::queryKeyboardModifiers())); });
}

// The form sees every key before its controls: each control's events pass its filter.
void TSearchFileForm::InstallKeyPreview()
{
    for (QWidget* control : findChildren<QWidget*>())
        control->installEventFilter(this);
}

bool TSearchFileForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (FormKeyDown(key->key(), key->modifiers()))
            return true;
        if (FilterBoxKeyDown(watched, key->key(), key->modifiers()))
            return true;
        if (watched == FoundItemsListBox || watched == FoundItemsListBox->viewport())
            return FoundListKeyDown(*key);
    }
    if (watched == FoundItemsListBox->viewport())
        return FoundListMouseEvent(event);
    return QDialog::eventFilter(watched, event);
}

// A key that no control took, or that came to the form itself.
void TSearchFileForm::keyPressEvent(QKeyEvent* event)
{
    if (!FormKeyDown(event->key(), event->modifiers()))
        QDialog::keyPressEvent(event);
}

bool TSearchFileForm::IsFilterBoxDroppedDown() const
{
    return FileNameFilterComboBox->view()->isVisible() || TextFilterComboBox->view()->isVisible();
}

bool TSearchFileForm::FormKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (IsFilterBoxDroppedDown())
        return false;
    const uint16_t virtualKey = GetVirtualKey(key, modifiers);
    if (virtualKey < '0' || virtualKey > '9')
        return false;
    const TShiftState shift = GetShiftState(modifiers);
    const bool ctrl = IsKeyShiftOnly(shift, ssCtrl);
    const bool keep = IsKeyShiftOnly(shift, ssShift);
    if (!ctrl && !keep)
        return false;
    CloseWithContainer(ContainerOfDigitKey(virtualKey), keep);
    return true;
}

bool TSearchFileForm::FilterBoxKeyDown(QObject* watched, int key, Qt::KeyboardModifiers modifiers)
{
    if (!IsEnterKey(key))
        return false;
    const auto isIn = [watched](const QComboBox* box) { return watched == box || watched == box->lineEdit(); };
    const TShiftState shift = GetShiftState(modifiers);
    if (isIn(FileNameFilterComboBox)) {
        if (IsKeyShiftEmpty(shift)) {
            SearchNamesButtonClick();
        } else if (IsKeyShiftOnly(shift, ssCtrl)) {
            TextFilters.Clear();
            Do(true);
        }
        return true;
    }
    if (isIn(TextFilterComboBox)) {
        if (IsKeyShiftEmpty(shift))
            SearchContentButtonClick();
        else if (IsKeyShiftOnly(shift, ssCtrl))
            SearchContent(true);
        return true;
    }
    return false;
}

void TSearchFileForm::CloseWithOkay()
{
    Engine.Stop = true;
    done(mrOkay);
}

void TSearchFileForm::CloseWithContainer(int32_t container, bool keepItems)
{
    ResultContainer = container;
    ResultKeepItems = keepItems;
    ResultAction = 3;
    CloseWithOkay();
}

void TSearchFileForm::OnLoadOptionsSTL(TStoredTextList& store)
{
    store.ReadCheckBox(Section, "SearchSimilar", *SearchSimilarCheckBox);
    store.ReadCheckBox(Section, "Recursive", *RecursiveCheckBox);
    store.ReadCheckBox(Section, "FindDirs", *FindDirsCheckBox);
    store.ReadCheckBox(Section, "FindFiles", *FindFilesCheckBox);
    store.ReadCheckBox(Section, "ConsiderAllSelected", *ConsiderAllSelectedCheckBox);
    store.ReadCheckBox(Section, "FreeHandFilter", *FreeHandFilterCheckBox);
    store.ReadCheckBox(Section, "NearDetection", *NearDetectionCheckBox);
    store.ReadCheckBox(Section, "AllFilters", *AllFiltersCheckBox);
    ReadList(store, "FileParts", *FilePartsComboBox, "Name, text");
    ReadList(store, "Stem", *StemComboBox, "");
    store.ReadCheckBox(Section, "AlwaysFocusThis", *AlwaysFocusThisCheckBox);
    store.ReadCheckBox(Section, "ReuseContainer", *ReuseContainerCheckBox);
    ReadList(store, "UseColumnForContainer", *UseColumnForContainerComboBox, "3");
    store.ReadCheckBox(Section, "ShowSearchBoard", *ShowSearchBoardCheckBox);
    store.ReadCheckBox(Section, "SwitchMouseOperations", *SwitchMouseOperationsCheckBox);
    ReadText(store, "CreationMinTime", *CreationMinTimeComboBox);
    ReadText(store, "CreationMaxTime", *CreationMaxTimeComboBox);
    ReadText(store, "ModifiedMinTime", *ModifiedMinTimeComboBox);
    ReadText(store, "ModifiedMaxTime", *ModifiedMaxTimeComboBox);
    ReadList(store, "TimeMeasurementUnit", *TimeMeasurementUnitComboBox, "days");
    ReadText(store, "SizeMin", *SizeMinComboBox);
    ReadText(store, "SizeMax", *SizeMaxComboBox);
    ReadList(store, "SizeMeasurementUnit", *SizeMeasurementUnitComboBox, "KB");
}

void TSearchFileForm::OnSaveOptionsSTL(TStoredTextList& store) const
{
    store.WriteCheckBox(Section, "SearchSimilar", *SearchSimilarCheckBox);
    store.WriteCheckBox(Section, "Recursive", *RecursiveCheckBox);
    store.WriteCheckBox(Section, "FindDirs", *FindDirsCheckBox);
    store.WriteCheckBox(Section, "FindFiles", *FindFilesCheckBox);
    store.WriteCheckBox(Section, "ConsiderAllSelected", *ConsiderAllSelectedCheckBox);
    store.WriteCheckBox(Section, "FreeHandFilter", *FreeHandFilterCheckBox);
    store.WriteCheckBox(Section, "NearDetection", *NearDetectionCheckBox);
    store.WriteCheckBox(Section, "AllFilters", *AllFiltersCheckBox);
    store.WriteComboBoxText(Section, "FileParts", *FilePartsComboBox);
    store.WriteComboBoxText(Section, "Stem", *StemComboBox);
    store.WriteCheckBox(Section, "AlwaysFocusThis", *AlwaysFocusThisCheckBox);
    store.WriteCheckBox(Section, "ReuseContainer", *ReuseContainerCheckBox);
    store.WriteComboBoxText(Section, "UseColumnForContainer", *UseColumnForContainerComboBox);
    store.WriteCheckBox(Section, "ShowSearchBoard", *ShowSearchBoardCheckBox);
    store.WriteCheckBox(Section, "SwitchMouseOperations", *SwitchMouseOperationsCheckBox);
    store.WriteComboBoxText(Section, "CreationMinTime", *CreationMinTimeComboBox);
    store.WriteComboBoxText(Section, "CreationMaxTime", *CreationMaxTimeComboBox);
    store.WriteComboBoxText(Section, "ModifiedMinTime", *ModifiedMinTimeComboBox);
    store.WriteComboBoxText(Section, "ModifiedMaxTime", *ModifiedMaxTimeComboBox);
    store.WriteComboBoxText(Section, "TimeMeasurementUnit", *TimeMeasurementUnitComboBox);
    store.WriteComboBoxText(Section, "SizeMin", *SizeMinComboBox);
    store.WriteComboBoxText(Section, "SizeMax", *SizeMaxComboBox);
    store.WriteComboBoxText(Section, "SizeMeasurementUnit", *SizeMeasurementUnitComboBox);
}

bool TSearchFileForm::Dialog(TColumn& column, const std::string& duplicateOf, bool history)
{
    int result = mrCancel;
    TTraced trace;
    trace.Run([&] {
        PrepareOpening(column, duplicateOf, history);
        CentreOnMainWindow(*this);
        setResult(0);
        result = RunModal(*this);
    });
    trace.ShowFailure("Failed to search.");
    return result == mrOkay && Engine.DirsFound + Engine.FilesFound > 0;
}

void TSearchFileForm::PrepareOpening(TColumn& column, const std::string& duplicateOf, bool history)
{
    ResultAction = 0;
    ResultKeepItems = false;
    SearchColumn = &column;
    DuplicateOf = duplicateOf;
    HistoryMode = history;
    DuplicatesMode = !duplicateOf.empty();
    SelectMode = false;
    SelectedAtStart = column.SelectedCount;
    Engine.Stop = false;
    for (QCheckBox* limit : {CreationMinTimeCheckBox, CreationMaxTimeCheckBox, ModifiedMinTimeCheckBox,
                             ModifiedMaxTimeCheckBox, SizeMinCheckBox, SizeMaxCheckBox})
        limit->setChecked(false);
    const bool normal = !HistoryMode && !DuplicatesMode;
    FileNameFilterGroupBox->setEnabled(normal);
    TimeSizeTabSheet->setEnabled(normal);
    TextFilterGroupBox->setEnabled(!DuplicatesMode);
    FilePartsComboBox->setEnabled(!HistoryMode);
    EnableControls();
    SetCaption();
    LookingInLabel->setText(QString::fromStdString(GetParentPath(column.ActiveTitle)));
    InfoLabel->clear();
    if (DuplicatesMode)
        FileNameFilterComboBox->setEditText("All files");
    FoundItemsListBox->setToolTip(QString::fromStdString(GetListHint(-1)));
}

void TSearchFileForm::SetCaption()
{
    if (HistoryMode)
        setWindowTitle("Search navigation history");
    else if (DuplicatesMode)
        setWindowTitle(QString::fromStdString("Search duplicate files of \"" + GetPathName(DuplicateOf) + "\""));
    else
        setWindowTitle("Search file");
}

void TSearchFileForm::FormActivate()
{
    if (DuplicatesMode) {
        SearchNamesButtonClick();
        return;
    }
    QComboBox* box = HistoryMode || AlwaysFocusThisCheckBox->isChecked() ? TextFilterComboBox : FileNameFilterComboBox;
    box->setFocus();
    box->lineEdit()->selectAll();
}

void TSearchFileForm::SearchNamesButtonClick()
{
    if (HistoryMode) {
        SearchContent(false);
        return;
    }
    TextFilters.Clear();
    Do(false);
}

void TSearchFileForm::SearchContentButtonClick()
{
    SearchContent(false);
}

void TSearchFileForm::SearchNamesSelectButtonClick()
{
    TextFilters.Clear();
    Do(true);
}

void TSearchFileForm::SearchContentSelectButtonClick()
{
    SearchContent(true);
}

void TSearchFileForm::StopButtonClick()
{
    Engine.Stop = true;
}

void TSearchFileForm::CancelButtonClick()
{
    Engine.Stop = true;
    done(mrCancel);
}

void TSearchFileForm::NewPrefixByCurrentButtonClick()
{
    FileNameFilterComboBox->lineEdit()->insert(QString::fromStdString(GetStampByCurrent()));
    FileNameFilterComboBox->setFocus();
}

void TSearchFileForm::PutInSearchContainerButtonMouseDown(TShiftState shift)
{
    ResultContainer = ContainerDialog != nullptr ? ContainerDialog->GetFoundIndex() : 0;
    ResultAction = 3;
    ResultKeepItems = IsKeyShiftOnly(shift, ssCtrl);
    CloseWithOkay();
}

void TSearchFileForm::PutInContainerButtonMouseDown(TShiftState shift)
{
    ResultKeepItems = IsKeyShiftOnly(shift, ssCtrl);
    if (ContainerDialog == nullptr)
        return;
    ContainerDialog->OnSendToContainer = [](int32_t tag, void* context) {
        static_cast<TSearchFileForm*>(context)->ContainerChosen(tag);
    };
    ContainerDialog->Context = this;
    ContainerDialog->ShowSendToContainer(*PutInContainerButton, false, ResultKeepItems);
    // The button's press ends with the menu; its release must not click it later.
    PutInContainerButton->setDown(false);
}

void TSearchFileForm::ContainerChosen(int32_t index)
{
    if (index < 0)
        return;
    ResultContainer = index;
    ResultAction = 3;
    CloseWithOkay();
}

void TSearchFileForm::ClipAllTitlesButtonClick()
{
    TTraced trace;
    trace.Run([&] {
        std::string text;
        for (int32_t i = 0; i < Engine.Found.Count(); ++i)
            text += Engine.Found[i].Path + "\r\n";
        CopyTextToClipboard(text.c_str());
    });
}

void TSearchFileForm::ClipActiveTitleButtonClick()
{
    const int32_t index = SelectedFoundIndex();
    if (index >= 0)
        CopyTextToClipboard(Engine.Found[index].Path, "Failed to copy title to clipboard.", false, false);
}

void TSearchFileForm::SwitchMouseOperationsCheckBoxClick()
{
    FoundItemsListBox->setToolTip(QString::fromStdString(GetListHint(-1)));
}

// Escape presses "S&top" while a search runs, else "&Cancel".
void TSearchFileForm::reject()
{
    if (Searching)
        StopButtonClick();
    else
        CancelButtonClick();
}

// The close box is "&Cancel".
void TSearchFileForm::closeEvent(QCloseEvent* event)
{
    CancelButtonClick();
    event->accept();
}

// Activation comes once the dialog stands on the screen, so a duplicates search that
// starts then shows its progress.
void TSearchFileForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    QMetaObject::invokeMethod(
        this, [this] { FormActivate(); }, Qt::QueuedConnection);
}
