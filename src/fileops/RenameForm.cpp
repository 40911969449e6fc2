#include "fileops/RenameForm.h"

#include "fileops/NameInput.h"
#include "fileops/OverwriteForm.h"

#include "columns/Column.h"
#include "columns/Containers.h"
#include "columns/FileListData.h"
#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/files/FileOperations.h"
#include "core/files/PathNames.h"
#include "core/forms/FormPlacement.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"

#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TRenameForm* RenameForm = nullptr;

namespace {

constexpr int FormWidth = 430;
constexpr int DropDownRows = 20;
constexpr int MaxNameBytes = 259;

const char* const NameHint =
    "Click [Rename] or press [Enter] to rename the file and close the dialog. Press [Arrow up] to rename the file "
    "and load the previous file to be renamed. Press [Arrow down] to rename the file and load the next file to be "
    "renamed. You should not use both [Arrow up] and [Arrow down] (during the same session) because the list of "
    "file names is updated only when you exit this dialog (so you might rename the same file twice). If you want "
    "to skip renaming a file, just don't modify the name and press [Arrow up] or [Arrow down].";
const char* const RenameHint = "Rename the file / item and close the dialog";

bool HasNoModifiers(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) == 0;
}

} // namespace

TRenameForm::TRenameForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::WindowTitleHint)
{
    BuildControls();
}

// The window that owns the form may go first.
TRenameForm::~TRenameForm()
{
    if (RenameForm == this)
        RenameForm = nullptr;
}

void TRenameForm::BuildControls()
{
    QFont font("Arial");
    font.setPixelSize(12);
    setFont(font);
    const int groupWidth = FormWidth - 16;

    auto* pathGroup = new QGroupBox(QStringLiteral("Path"), this);
    pathGroup->setGeometry(8, 4, groupWidth, 44);
    PathLabel = new QLabel(pathGroup);
    PathLabel->setGeometry(10, 18, groupWidth - 20, 18);
    PathLabel->setTextFormat(Qt::PlainText);

    auto* nameGroup = new QGroupBox(QStringLiteral("New &name"), this);
    nameGroup->setGeometry(8, 52, groupWidth, 82);
    NameComboBox = new QComboBox(nameGroup);
    NameComboBox->setGeometry(10, 20, groupWidth - 20, 22);
    NameComboBox->setEditable(true);
    NameComboBox->setInsertPolicy(QComboBox::NoInsert);
    NameComboBox->setMaxVisibleItems(DropDownRows);
    NameComboBox->setToolTip(QString::fromUtf8(NameHint));
    LimitTextBytes(*NameComboBox, MaxNameBytes);
    NameComboBox->installEventFilter(this);
    NameComboBox->lineEdit()->installEventFilter(this);
    NewPrefixByCurrentButton = AddButton(nameGroup, "By current", {10, 50, 95, 24});
    NewPrefixByCreationButton = AddButton(nameGroup, "By creation", {115, 50, 95, 24});

    CancelButton = AddButton(this, "&Cancel", {FormWidth - 170, 142, 75, 25});
    RenameButton = AddButton(this, "&Rename", {FormWidth - 87, 142, 75, 25}, RenameHint);
    setFixedSize(FormWidth, 176);

    connect(CancelButton, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(RenameButton, &QPushButton::clicked, this, [this] { RenameButtonClick(); });
    connect(NewPrefixByCurrentButton, &QPushButton::clicked, this, [this] { NewPrefixByCurrentButtonClick(); });
    connect(NewPrefixByCreationButton, &QPushButton::clicked, this, [this] { NewPrefixByCreationButtonClick(); });
}

bool TRenameForm::Dialog(TColumn& column, bool itemMode, TContainer* container)
{
    Changed = false;
    if (column.FileList->FocusIndex < 0 || column.FileList->FocusIndex >= column.GetItemCount())
        return false;
    TTraced trace;
    trace.Run([&] {
        Column = &column;
        ItemMode = itemMode;
        Container = container;
        setWindowTitle(itemMode ? QStringLiteral("Rename container item") : QStringLiteral("Rename file"));
        Index = column.FileList->FocusIndex;
        LoadItem();
        CentreOnMainWindow(*this);
        setResult(0);
        RunModal(*this);
    });
    trace.ShowFailure("Failed to rename.");
    FunStatContext.Reset(fsPerfect);
    Column = nullptr;
    Container = nullptr;
    return Changed;
}

// Each item asks its own overwrite question.
void TRenameForm::LoadItem()
{
    ItemPath = Column->GetItem(Index).Title;
    PathLabel->setText(QString::fromStdString(GetParentPath(ItemPath)));
    NameComboBox->setEditText(QString::fromStdString(GetPathName(ItemPath)));
    NameComboBox->lineEdit()->selectAll();
    if (OverwriteForm != nullptr)
        OverwriteForm->ResetChoice();
}

bool TRenameForm::Do()
{
    const std::string name = NameComboBox->currentText().toStdString();
    if (HoldsAnyOf(name, NameForbidden)) {
        ShowWarningMessage("Invalid name.\n\nChange the name !");
        return false;
    }
    UpdateComboBoxHistory(*NameComboBox);
    const std::string target = GetParentPath(ItemPath) + name;
    // On a case-sensitive file system "A.txt" beside "a.txt" is another file, so what
    // counts is whether the target is the item itself, never the letter case.
    const bool sameFile = IsSameFile(ItemPath, target);
    if (!ItemMode && IsDirectory(target) && (!IsDirectory(ItemPath) || !sameFile)) {
        ShowWarningMessage("Failed to rename.\nA directory with that name already exists.");
        return true;
    }
    if (target == ItemPath)
        return true;
    bool overwrite = false;
    if (!ItemMode && !sameFile && !ConfirmOverwrite(target, overwrite))
        return true;
    return RenameItem(target, overwrite);
}

// A target that does not exist goes ahead without a question.
bool TRenameForm::ConfirmOverwrite(const std::string& target, bool& overwrite) const
{
    if (!MyFileExists(target))
        return true;
    if (OverwriteForm == nullptr)
        return false;
    bool abort = false;
    return OverwriteForm->Dialog(ItemPath, target, abort, overwrite) && !abort;
}

bool TRenameForm::RenameItem(const std::string& target, bool overwrite)
{
    TTraced trace;
    trace.Run([&] {
        Changed = true;
        if (!ItemMode) {
            MyRenameFile(ItemPath, target, overwrite);
            if (trace.TakeOver())
                return;
        }
        if (Container != nullptr) {
            Container->RenameItem(Index, target, "");
            trace.TakeOver();
        }
    });
    const bool renamed = trace.Succeeded();
    trace.ShowFailure("Failed to rename.");
    return renamed;
}

void TRenameForm::RenameButtonClick()
{
    if (Do())
        done(mrOkay);
}

bool TRenameForm::NameComboBoxKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const bool plain = HasNoModifiers(modifiers);
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (plain)
            RenameButton->click();
        return true;
    case Qt::Key_Escape:
        done(mrCancel);
        return true;
    case Qt::Key_Up:
        if (plain)
            WalkBy(-1);
        return true;
    case Qt::Key_Down:
        if (plain)
            WalkBy(1);
        return true;
    default:
        return false;
    }
}

// The walk goes on whatever the rename gave.
void TRenameForm::WalkBy(int32_t step)
{
    Do();
    Index += step;
    if (Index < 0 || Index >= Column->GetItemCount()) {
        done(mrOkay);
        return;
    }
    LoadItem();
}

void TRenameForm::NewPrefixByCurrentButtonClick()
{
    NameComboBox->setEditText(QString::fromStdString(GetStampByCurrent()) + NameComboBox->currentText());
    NameComboBox->setFocus();
}

void TRenameForm::NewPrefixByCreationButtonClick()
{
    NameComboBox->setEditText(QString::fromStdString(GetStampByCreation(ItemPath)) + NameComboBox->currentText());
    FunStatContext.Reset(fsPerfect);
    NameComboBox->setFocus();
}

void TRenameForm::FormActivate()
{
    NameComboBox->setFocus();
    NameComboBox->lineEdit()->selectAll();
}

bool TRenameForm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (NameComboBoxKeyDown(key->key(), key->modifiers()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TRenameForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}
