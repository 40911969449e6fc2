#include "fileops/SelectionForm.h"
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

#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

TSelectionForm* SelectionForm = nullptr;

namespace {

constexpr int FormWidth = 330;
constexpr int FormHeight = 124;
constexpr int DropDownRows = 20;

const char* const FilterItems[] = {"Text files",  "Picture files",   "Movie files",
                                   "Music files", "No backup files", "All files"};

const char* const FileNameFilterHint =
    "Use \"*\" to match any string of characters; use \"?\" to match any character; use \";\" to separate "
    "multiple filters. In containers, the matching is performed against file titles, not names. The predefined "
    "values are substituted with the extensions of the recognized files, stored in the program's options; \"No "
    "backup files\" represents the following filters: \"*.exe;*.dll;*.obj;*.tds;*.tmp\".";
const char* const UseActiveFileExtHint = "Set the \"File name filter\" with the extension of the active file";

bool IsEnterKey(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

TSelectionForm::TSelectionForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::WindowTitleHint)
{
    BuildForm();
}

// The window that owns the form may go first.
TSelectionForm::~TSelectionForm()
{
    if (SelectionForm == this)
        SelectionForm = nullptr;
}

void TSelectionForm::BuildForm()
{
    QFont font("Arial");
    font.setPointSize(9);
    setFont(font);
    setFixedSize(FormWidth, FormHeight);

    FileNameFilterGroupBox = new QGroupBox("File name &filter", this);
    FileNameFilterGroupBox->setGeometry(8, 4, FormWidth - 16, 56);
    FileNameFilterComboBox = new QComboBox(FileNameFilterGroupBox);
    FileNameFilterComboBox->setGeometry(10, 20, FormWidth - 112, 24);
    FileNameFilterComboBox->setEditable(true);
    FileNameFilterComboBox->setInsertPolicy(QComboBox::NoInsert);
    FileNameFilterComboBox->setMaxVisibleItems(DropDownRows);
    for (const char* item : FilterItems)
        FileNameFilterComboBox->addItem(QString::fromUtf8(item));
    FileNameFilterComboBox->setEditText({});
    FileNameFilterComboBox->setToolTip(QString::fromUtf8(FileNameFilterHint));
    FileNameFilterComboBox->installEventFilter(this);
    FileNameFilterComboBox->lineEdit()->installEventFilter(this);
    UseActiveFileExtButton = AddButton(FileNameFilterGroupBox, "Active", {FormWidth - 96, 20, 70, 24}, nullptr, false);
    UseActiveFileExtButton->setToolTip(QString::fromUtf8(UseActiveFileExtHint));

    constexpr int buttonTop = 72;
    OkayButton = AddButton(this, "&Okay", {FormWidth - 252, buttonTop, 78, 25}, nullptr, false);
    CancelButton = AddButton(this, "&Cancel", {FormWidth - 170, buttonTop, 78, 25}, nullptr, false);
    HelpButton = AddButton(this, "&Help", {FormWidth - 88, buttonTop, 78, 25}, nullptr, false);

    connect(OkayButton, &QPushButton::clicked, this, [this] { OkayButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(HelpButton, &QPushButton::clicked, this, [this] { HelpButtonClick(); });
    connect(UseActiveFileExtButton, &QPushButton::clicked, this, [this] { UseActiveFileExtButtonClick(); });
}

bool TSelectionForm::Dialog(TColumn& column, bool select)
{
    const std::string caption = select ? "Select" : "Deselect";
    int result = mrCancel;
    TTraced trace;
    trace.Run([&] {
        Column = &column;
        SelectMode = select;
        ActiveExtension = GetExtension(GetPathName(column.ActiveTitle));
        OkayButton->setEnabled(true);
        setWindowTitle(QString::fromStdString(caption));
        CentreOnMainWindow(*this);
        setResult(0);
        result = RunModal(*this);
    });
    trace.ShowFailure("Failed to " + caption + ".");
    return result == mrOkay;
}

bool TSelectionForm::IsFilterValid() const
{
    const std::string text = FileNameFilterComboBox->currentText().toStdString();
    const bool container = Column != nullptr && Column->ContainerIndex >= 0;
    return !text.empty() && !HoldsAnyOf(text, container ? ContainerFilterForbidden : FilterForbidden);
}

void TSelectionForm::OkayButtonClick()
{
    if (!IsFilterValid()) {
        ShowWarningMessage("Filter is invalid.");
        return;
    }
    // A failed run has been shown; the dialog closes after it as after any other, never
    // left open with "&Okay" disabled.
    Do();
    done(mrOkay);
}

void TSelectionForm::Do()
{
    int32_t found = 0;
    TTraced trace;
    trace.Run([&] {
        OkayButton->setEnabled(false);
        UpdateComboBoxHistory(*FileNameFilterComboBox);
        found = ApplyFilter(GetFilterFromComboBox(*FileNameFilterComboBox, nullptr));
    });
    const bool succeeded = trace.Succeeded();
    trace.ShowFailure("Failed to select.");
    if (succeeded && found == 0)
        ShowInfoMessage("No matches found.");
}

int32_t TSelectionForm::ApplyFilter(const std::string& filter)
{
    const bool container = Column->ContainerIndex >= 0;
    int32_t found = 0;
    for (int32_t i = 0; i < Column->GetItemCount(); ++i) {
        const TFileListData& item = Column->GetItem(i);
        if (item.Type == ftDirectory)
            continue;
        if (!MatchesFileSpec(container ? item.Title : GetPathName(item.Title), filter))
            continue;
        if (SelectMode)
            Column->SelectItem(i);
        else
            Column->DeselectItem(i);
        ++found;
    }
    return found;
}

void TSelectionForm::UseActiveFileExtButtonClick()
{
    FileNameFilterComboBox->setEditText(QString::fromStdString("*" + ActiveExtension));
    FileNameFilterComboBox->setFocus();
}

void TSelectionForm::HelpButtonClick()
{
    ShowHelpNotAvailable();
}

void TSelectionForm::FormActivate()
{
    FileNameFilterComboBox->setFocus();
    FileNameFilterComboBox->lineEdit()->selectAll();
}

// Enter in the filter box clicks "&Okay" and goes no further.
bool TSelectionForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && IsEnterKey(static_cast<QKeyEvent*>(event)->key())) {
        OkayButton->click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TSelectionForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}
