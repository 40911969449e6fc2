#include "fileops/NewFileForm.h"

#include "fileops/NameInput.h"

#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/files/PathNames.h"
#include "core/forms/FormPlacement.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"

#include "host/File.h"
#include "host/FileSystem.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

TNewFileForm* NewFileForm = nullptr;

namespace {

constexpr int FormWidth = 400;

const char* const NameHint =
    "If you create a new file and don't specify any extension then \".txt\" will be considered the extension of "
    "the file. If you don't want the file to have any extension then put a dot at the end of the name.";

// Names never end in dots or blanks; "notes." is the way to ask for no extension.
std::string WithoutFinalDotsAndBlanks(std::string name)
{
    while (!name.empty() && (name.back() == '.' || name.back() == ' '))
        name.pop_back();
    return name;
}

// Dots and blanks alone name the folder itself or its parent, or nothing once the final
// ones go. An empty file or stream name gets ".txt" and fails in the name building.
bool LeavesNoName(const std::string& typed, TNewFileKind kind)
{
    const bool getsExtension = kind != nfkDirectory && typed.find('.') == std::string::npos;
    return !getsExtension && IsDotsAndBlanksOnly(typed);
}

} // namespace

TNewFileForm::TNewFileForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::WindowTitleHint)
{
    BuildForm();
}

// The window that owns the form may go first.
TNewFileForm::~TNewFileForm()
{
    if (NewFileForm == this)
        NewFileForm = nullptr;
}

void TNewFileForm::BuildForm()
{
    QFont font("Arial");
    font.setPixelSize(12);
    setFont(font);
    setFixedSize(FormWidth, 104);

    NewFileNameGroupBox = new QGroupBox(QString::fromUtf8("New &file name"), this);
    NewFileNameGroupBox->setGeometry(8, 4, FormWidth - 16, 54);
    NewFileNameEdit = new QLineEdit(NewFileNameGroupBox);
    NewFileNameEdit->setGeometry(10, 20, FormWidth - 136, 22);
    NewFileNameEdit->setToolTip(QString::fromUtf8(NameHint));
    NewPrefixByCurrentButton =
        AddButton(NewFileNameGroupBox, "By current", {FormWidth - 116, 19, 90, 24}, nullptr, false);
    NewButton = AddButton(this, "&New", {8, 68, 75, 25}, nullptr, false);
    CancelButton = AddButton(this, "&Cancel", {90, 68, 75, 25}, nullptr, false);

    connect(NewButton, &QPushButton::clicked, this, [this] { NewButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(NewFileNameEdit, &QLineEdit::returnPressed, this, [this] { NewButtonClick(); });
    connect(NewPrefixByCurrentButton, &QPushButton::clicked, this, [this] { NewPrefixByCurrentButtonClick(); });
}

std::string TNewFileForm::KindText(TNewFileKind kind)
{
    switch (kind) {
    case nfkDirectory:
        return "directory";
    case nfkFile:
        return "file";
    case nfkFileStream:
        return "file stream";
    }
    return {};
}

std::string TNewFileForm::BuildName(const std::string& typed, TNewFileKind kind)
{
    if (kind == nfkDirectory)
        return WithoutFinalDotsAndBlanks(typed);
    if (typed.empty())
        throw EError("The name is empty.");
    const bool hasDot = typed.find('.') != std::string::npos;
    const std::string name = WithoutFinalDotsAndBlanks(hasDot ? typed : typed + ".txt");
    if (name.empty())
        throw EError("The name is empty.");
    return name;
}

bool TNewFileForm::Dialog(const std::string& folder, TNewFileKind kind)
{
    int result = mrCancel;
    TTraced trace;
    trace.Run([&] {
        EnteredName.clear();
        Folder = folder;
        Kind = kind;
        setWindowTitle(QString::fromStdString("New " + KindText(kind)));
        NewFileNameGroupBox->setTitle(QString::fromStdString("New " + KindText(kind) + " name"));
        CentreOnMainWindow(*this);
        setResult(0);
        result = RunModal(*this);
    });
    trace.ShowFailure("Failed to create new " + KindText(kind) + ".");
    return result == mrOkay;
}

bool TNewFileForm::Do()
{
    const std::string typed = NewFileNameEdit->text().toStdString();
    if (HoldsAnyOf(typed, NameForbidden) || LeavesNoName(typed, Kind)) {
        ShowWarningMessage("Invalid name.\n\nChange the name !");
        return false;
    }
    TTraced trace;
    trace.Run([&] {
        EnteredName = IncludeEndBackslash(Folder) + BuildName(typed, Kind);
        if (Kind == nfkFileStream)
            return;
        if (MyFileExists(EnteredName))
            return ShowWarningMessage("File (/ directory) already exists.");
        Create();
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to create new " + KindText(Kind) + ".");
    return true;
}

// A file is made only when no other item holds the name, and the call's own answer says
// whether it was made.
void TNewFileForm::Create()
{
    TTraced trace;
    trace.Run([&] {
        bool created = false;
        if (Kind == nfkDirectory) {
            created = host::CreateDirectory(EnteredName);
        } else {
            host::File file;
            created = file.Open(EnteredName, host::FileAccess::ReadWrite, host::FileDisposition::CreateNew);
        }
        if (!created)
            trace.RaiseSystem("Failed to create new " + KindText(Kind) + ".", EnteredName);
    });
}

void TNewFileForm::NewButtonClick()
{
    if (Do())
        done(mrOkay);
}

void TNewFileForm::NewPrefixByCurrentButtonClick()
{
    NewFileNameEdit->setText(QString::fromStdString(GetStampByCurrent() + NewFileNameEdit->text().toStdString()));
    NewFileNameEdit->setFocus();
}

void TNewFileForm::FormActivate()
{
    NewFileNameEdit->setFocus();
    NewFileNameEdit->selectAll();
}

void TNewFileForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}
