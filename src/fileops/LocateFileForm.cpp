#include "fileops/LocateFileForm.h"
#include "fileops/NameInput.h"

#include "columns/Column.h"
#include "columns/FileListData.h"
#include "core/errors/Traced.h"
#include "core/files/FileExtensions.h"
#include "core/files/PathNames.h"
#include "core/forms/FormPlacement.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"
#include "core/settings/StoredTextList.h"
#include "panels/MyTPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include <functional>

TLocateFileForm* LocateFileForm = nullptr;

namespace {

constexpr int FormWidth = 420;
constexpr int FormHeight = 150;
constexpr int DropDownRows = 20;
constexpr int MaxFilterLength = 255;
const std::string Section = "LocateFile";

const char* const FilterItems[] = {"Text files",  "Picture files",   "Movie files",
                                   "Music files", "No backup files", "All files"};

const char* const FileNameFilterHint = "Use \"*\" to match any string of characters; use \"?\" to match any "
                                       "character; use \";\" to separate multiple filters.";
const char* const LocateSimilarHint = "This option will add (internally) \"*\" before the file name filter. \"*\" is "
                                      "automatically added after the name filter, regardless of this option.";
const char* const LocateNextHint = "The search starts from the name after the focused one, downwards";
const char* const LocatePreviousHint = "The search starts from the name before the focused one, upwards";
const char* const LocateByIndexHint = "The file name filter edit-box must contain a number: the index of the item to "
                                      "be focused, in the column (from top downward)";

bool IsEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// A locate step whose failure is shown and counts as nothing focused.
bool RunTraced(const std::function<bool()>& step)
{
    bool located = false;
    TTraced trace;
    trace.Run([&] { located = step(); });
    const bool succeeded = trace.Succeeded();
    trace.ShowFailure("Failed to locate.");
    return succeeded && located;
}

} // namespace

TLocateFileForm::TLocateFileForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::WindowTitleHint)
{
    BuildForm();
}

// The window that owns the form may go first.
TLocateFileForm::~TLocateFileForm()
{
    if (LocateFileForm == this)
        LocateFileForm = nullptr;
}

void TLocateFileForm::BuildForm()
{
    setWindowTitle("Locate file");
    QFont font("Arial");
    font.setPointSize(9);
    setFont(font);
    setFixedSize(FormWidth, FormHeight);

    FileNameFilterGroupBox = new QGroupBox(this);
    FileNameFilterGroupBox->setGeometry(8, 4, FormWidth - 16, 80);
    FileNameFilterComboBox = new QComboBox(FileNameFilterGroupBox);
    FileNameFilterComboBox->setGeometry(10, 20, FormWidth - 136, 24);
    FileNameFilterComboBox->setEditable(true);
    FileNameFilterComboBox->setInsertPolicy(QComboBox::NoInsert);
    FileNameFilterComboBox->setMaxVisibleItems(DropDownRows);
    for (const char* item : FilterItems)
        FileNameFilterComboBox->addItem(QString::fromUtf8(item));
    FileNameFilterComboBox->setEditText({});
    FileNameFilterComboBox->lineEdit()->setMaxLength(MaxFilterLength);
    FileNameFilterComboBox->setToolTip(QString::fromUtf8(FileNameFilterHint));
    FileNameFilterComboBox->installEventFilter(this);
    FileNameFilterComboBox->lineEdit()->installEventFilter(this);
    NewPrefixByCurrentButton =
        AddButton(FileNameFilterGroupBox, "By current", {FormWidth - 120, 20, 94, 24}, nullptr, false);
    LocateSimilarCheckBox = new QCheckBox("Locate &similar names", FileNameFilterGroupBox);
    LocateSimilarCheckBox->setGeometry(10, 50, 250, 20);
    LocateSimilarCheckBox->setToolTip(QString::fromUtf8(LocateSimilarHint));

    constexpr int buttonTop = 96;
    LocateNextByNameButton = AddButton(this, "Locate &next", {8, buttonTop, 96, 25}, LocateNextHint, false);
    LocatePreviousByNameButton =
        AddButton(this, "Locate &previous", {108, buttonTop, 110, 25}, LocatePreviousHint, false);
    LocateByIndexButton = AddButton(this, "Locate by &index", {222, buttonTop, 110, 25}, LocateByIndexHint, false);
    CancelButton = AddButton(this, "&Cancel", {FormWidth - 84, buttonTop, 76, 25}, nullptr, false);

    connect(LocateNextByNameButton, &QPushButton::clicked, this, [this] { LocateNextByNameButtonClick(); });
    connect(LocatePreviousByNameButton, &QPushButton::clicked, this, [this] { LocatePreviousByNameButtonClick(); });
    connect(LocateByIndexButton, &QPushButton::clicked, this, [this] { LocateByIndexButtonClick(); });
    connect(NewPrefixByCurrentButton, &QPushButton::clicked, this, [this] { NewPrefixByCurrentButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

bool TLocateFileForm::Dialog(TColumn& column)
{
    const int32_t count = column.GetItemCount();
    if (count == 0)
        return true;
    int result = mrCancel;
    TTraced trace;
    trace.Run([&] {
        Column = &column;
        FileNameFilterGroupBox->setTitle(
            QString::fromStdString("File name filter or index (1..." + std::to_string(count) + ")"));
        CentreOnMainWindow(*this);
        setResult(0);
        result = RunModal(*this);
    });
    trace.ShowFailure("Failed to locate.");
    return result == mrOkay;
}

bool TLocateFileForm::IsFilterValid() const
{
    const std::string text = FileNameFilterComboBox->currentText().toStdString();
    return !text.empty() && !HoldsAnyOf(text, FilterForbidden);
}

void TLocateFileForm::PrepareFilter()
{
    bool predefined = false;
    std::string filter = GetFilterFromComboBox(*FileNameFilterComboBox, &predefined);
    if (LocateSimilarCheckBox->isChecked() && filter != "*" && !predefined && !filter.starts_with('*'))
        filter.insert(0, "*");
    if (!filter.ends_with('*'))
        filter += '*';
    PreparedFilter = filter;
}

bool TLocateFileForm::MatchesName(const std::string& path) const
{
    return MatchesFileSpec(GetPathName(path), PreparedFilter);
}

bool TLocateFileForm::LocateNext(TColumn& column)
{
    return LocateFrom(column, 1);
}

bool TLocateFileForm::LocatePrevious(TColumn& column)
{
    return LocateFrom(column, -1);
}

bool TLocateFileForm::LocateFrom(TColumn& column, int32_t step)
{
    if (!IsFilterValid())
        return Dialog(column);
    PrepareFilter();
    const int32_t count = column.GetItemCount();
    for (int32_t i = column.FileList->FocusIndex + step; i >= 0 && i < count; i += step)
        if (MatchesName(column.GetItem(i).Title)) {
            column.FocusIndex(i);
            return true;
        }
    ShowInfoMessage("There are no more file name matches.");
    return false;
}

bool TLocateFileForm::Do(bool byName, bool forward)
{
    return RunTraced([&] {
        if (!byName)
            return LocateByIndex();
        if (!IsFilterValid()) {
            ShowWarningMessage("Invalid filter.");
            return false;
        }
        UpdateComboBoxHistory(*FileNameFilterComboBox);
        return forward ? LocateNext(*Column) : LocatePrevious(*Column);
    });
}

bool TLocateFileForm::LocateByIndex()
{
    const std::string text = FileNameFilterComboBox->currentText().toStdString();
    if (text.empty()) {
        ShowWarningMessage("Empty index.");
        return false;
    }
    const std::optional<int32_t> index = TryStrToInt(text);
    if (!index || *index < 1 || *index > Column->GetItemCount()) {
        ShowWarningMessage("Invalid index.");
        return false;
    }
    UpdateComboBoxHistory(*FileNameFilterComboBox);
    Column->FocusIndex(*index - 1);
    return true;
}

void TLocateFileForm::LocateNextByNameButtonClick()
{
    if (Do(true, true))
        done(mrOkay);
}

void TLocateFileForm::LocatePreviousByNameButtonClick()
{
    if (Do(true, false))
        done(mrOkay);
}

void TLocateFileForm::LocateByIndexButtonClick()
{
    if (Do(false, true))
        done(mrOkay);
}

void TLocateFileForm::NewPrefixByCurrentButtonClick()
{
    FileNameFilterComboBox->lineEdit()->insert(QString::fromStdString(GetStampByCurrent()));
    FileNameFilterComboBox->setFocus();
}

void TLocateFileForm::FormActivate()
{
    FileNameFilterComboBox->setFocus();
    FileNameFilterComboBox->lineEdit()->selectAll();
}

void TLocateFileForm::OnLoadOptionsSTL(TStoredTextList& store)
{
    store.ReadCheckBox(Section, "LocateSimilar", *LocateSimilarCheckBox);
}

void TLocateFileForm::OnSaveOptionsSTL(TStoredTextList& store) const
{
    store.WriteCheckBox(Section, "LocateSimilar", *LocateSimilarCheckBox);
}

// Enter (alone or with Ctrl) locates downward, Shift+Enter upward; Enter goes no further.
bool TLocateFileForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (IsEnterKey(key->key())) {
            const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
            if (modifiers == Qt::NoModifier || modifiers == Qt::ControlModifier)
                LocateNextByNameButton->click();
            else if (modifiers == Qt::ShiftModifier)
                LocatePreviousByNameButton->click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TLocateFileForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}
