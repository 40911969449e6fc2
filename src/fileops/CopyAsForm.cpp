#include "fileops/CopyAsForm.h"

#include "fileops/NameInput.h"
#include "fileops/OverwriteForm.h"

#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/files/FileOperations.h"
#include "core/files/PathNames.h"
#include "core/forms/FormPlacement.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"

#include "host/File.h"
#include "host/FileSystem.h"
#include "host/LastError.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <functional>
#include <utility>

TCopyAsForm* CopyAsForm = nullptr;

namespace {

constexpr int FormWidth = 470;
constexpr int DropDownRows = 20;
// Temporary link names tried beside a target before giving up.
constexpr int TemporaryNameTries = 100;

const char* const FilterItems[] = {"Text files", "Picture files", "Movie files", "Music files", "No backup files"};

// The copy primitives report no progress while the dialog copies.
class TNoProgress
{
public:
    TNoProgress() : Saved(std::exchange(FileUnitLoader.OnProgress, nullptr)) {}
    ~TNoProgress() { FileUnitLoader.OnProgress = std::move(Saved); }
    TNoProgress(const TNoProgress&) = delete;
    TNoProgress& operator=(const TNoProgress&) = delete;

private:
    std::function<bool(double)> Saved;
};

// Links the file under a free name beside `target`; "" with the last error set when none
// could be made.
std::string LinkUnderTemporaryName(const std::string& existing, const std::string& target)
{
    const std::string folder = GetParentPath(target);
    const std::string name = GetPathName(target);
    for (int i = 0; i < TemporaryNameTries; ++i) {
        const std::string temporary = folder + "." + name + ".link" + std::to_string(i);
        if (host::CreateHardLink(temporary, existing))
            return temporary;
        if (host::GetLastError() != host::ERROR_ALREADY_EXISTS)
            return {};
    }
    return {};
}

} // namespace

void CreateHardLinkOver(const std::string& existing, const std::string& newName, bool overwrite)
{
    TTraced trace;
    trace.Run([&] {
        const auto fail = [&](uint32_t code) { trace.Raise("Failed to copy as hard-link.", existing, newName, code); };
        if (!host::PathExists(newName)) {
            if (!host::CreateHardLink(newName, existing))
                fail(host::GetLastError());
            return;
        }
        if (!overwrite)
            return;
        const std::string temporary = LinkUnderTemporaryName(existing, newName);
        if (temporary.empty())
            return fail(host::GetLastError());
        if (!host::MoveFile(temporary, newName, true, false)) {
            const uint32_t code = host::GetLastError();
            host::DeleteFile(temporary);
            fail(code);
        }
    });
}

TCopyAsForm::TCopyAsForm(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::WindowTitleHint)
{
    BuildForm();
}

// The window that owns the form may go first.
TCopyAsForm::~TCopyAsForm()
{
    if (CopyAsForm == this)
        CopyAsForm = nullptr;
}

void TCopyAsForm::BuildForm()
{
    QFont font("Arial");
    font.setPixelSize(12);
    setFont(font);
    setFixedSize(FormWidth, 196);

    auto* nameGroup = new QGroupBox(QString::fromUtf8("New &name"), this);
    nameGroup->setGeometry(8, 4, FormWidth - 16, 78);
    NameComboBox = new QComboBox(nameGroup);
    NameComboBox->setGeometry(10, 20, FormWidth - 36, 22);
    NameComboBox->setEditable(true);
    NameComboBox->setInsertPolicy(QComboBox::NoInsert);
    NameComboBox->setMaxVisibleItems(DropDownRows);
    for (const char* item : FilterItems)
        NameComboBox->addItem(QString::fromUtf8(item));
    UseActiveFileNameButton = AddButton(nameGroup, "Active", {10, 48, 90, 24},
                                        "Set the \"File name filter\" with the name of the active file", false);
    NewPrefixByCurrentButton =
        AddButton(nameGroup, "By current", {108, 48, 90, 24},
                  "Set a unique prefix, using the current time, like in the \"Copy\" dialog", false);
    NewPrefixByCreationButton =
        AddButton(nameGroup, "By creation", {206, 48, 90, 24},
                  "Set a unique prefix, using the time when the source file was created, like in the \"Copy\" dialog",
                  false);

    auto* pathsGroup = new QGroupBox(QString::fromUtf8("Paths"), this);
    pathsGroup->setGeometry(8, 86, FormWidth - 16, 64);
    PathsLabel = new QLabel(pathsGroup);
    PathsLabel->setGeometry(10, 18, FormWidth - 36, 40);
    // Paths may hold "&", which must show as it is.
    PathsLabel->setTextFormat(Qt::PlainText);

    CopyButton = AddButton(this, "Copy as", {8, 160, 120, 25}, nullptr, false);
    CancelButton = AddButton(this, "&Cancel", {136, 160, 75, 25}, nullptr, false);

    connect(CopyButton, &QPushButton::clicked, this, [this] { CopyButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { done(mrCancel); });
    connect(NameComboBox->lineEdit(), &QLineEdit::returnPressed, this, [this] { CopyButtonClick(); });
    connect(UseActiveFileNameButton, &QPushButton::clicked, this, [this] { UseActiveFileNameButtonClick(); });
    connect(NewPrefixByCurrentButton, &QPushButton::clicked, this, [this] { NewPrefixByCurrentButtonClick(); });
    connect(NewPrefixByCreationButton, &QPushButton::clicked, this, [this] { NewPrefixByCreationButtonClick(); });
}

bool TCopyAsForm::Dialog(const std::string& source, const std::string& destinationFolder, const std::string& activeName,
                         bool hardLink, bool move, bool lastNumbered)
{
    int result = mrCancel;
    TTraced trace;
    trace.Run([&] {
        SourcePath = source;
        DestinationFolder = destinationFolder;
        ActiveName = activeName;
        HardLink = hardLink;
        Move = move;
        LastNumbered = lastNumbered && !hardLink;
        const std::string verb = Move ? "Move as" : "Copy as";
        setWindowTitle(QString::fromStdString(HardLink       ? std::string("Copy as hard-link")
                                              : LastNumbered ? verb + " last numbered"
                                                             : verb));
        CopyButton->setText(QString::fromStdString(LastNumbered ? verb + " last" : verb));
        if (OverwriteForm != nullptr)
            OverwriteForm->ResetChoice();
        NameComboBox->setEditText(QString::fromStdString(LastNumbered ? ActiveName : GetPathName(SourcePath)));
        PathsLabel->setText(
            QString::fromStdString("* Source: " + SourcePath + "\n* Destination: " + DestinationFolder));
        CentreOnMainWindow(*this);
        setResult(0);
        result = RunModal(*this);
    });
    trace.ShowFailure("Failed to copy as.");
    return result == mrOkay;
}

std::string TCopyAsForm::TypedName() const
{
    return NameComboBox->currentText().toStdString();
}

bool TCopyAsForm::Do()
{
    const std::string name = TypedName();
    if (HoldsAnyOf(name, NameForbidden)) {
        ShowWarningMessage("Invalid name.\n\nChange the name !");
        return false;
    }
    UpdateComboBoxHistory(*NameComboBox);
    TTraced trace;
    trace.Run([&] {
        Perform(name);
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to copy as.");
    return true;
}

// A folder source is left to the caller, which copies its content.
void TCopyAsForm::Perform(const std::string& name)
{
    TTraced trace;
    trace.Run([&] {
        if (IsDirectory(SourcePath))
            return;
        const std::string target = IncludeEndBackslash(DestinationFolder) + name;
        if (IsSameFile(SourcePath, target))
            return trace.Raise("Source and destination are the same.", SourcePath, target);
        if (IsDirectory(target))
            return ShowWarningMessage("Failed to rename. \nA directory with that name already exists.");
        bool abort = false;
        bool overwrite = false;
        if (OverwriteForm != nullptr && !OverwriteForm->Dialog(SourcePath, target, abort, overwrite))
            return;
        if (HardLink)
            CreateHardLinkOver(SourcePath, target, overwrite);
        else
            CopyOrMove(target, overwrite);
        trace.TakeOver();
    });
}

void TCopyAsForm::CopyOrMove(const std::string& target, bool overwrite)
{
    TNoProgress noProgress;
    if (Move)
        MyMoveFile(SourcePath, target, overwrite);
    else
        MyCopyFile(SourcePath, target, overwrite, false);
}

void TCopyAsForm::CopyButtonClick()
{
    if (Do())
        done(mrOkay);
}

void TCopyAsForm::UseActiveFileNameButtonClick()
{
    NameComboBox->setEditText(QString::fromStdString(ActiveName));
    NameComboBox->setFocus();
}

// A stamp goes in front of the text, also in front of an earlier stamp.
void TCopyAsForm::PutPrefix(const std::string& stamp)
{
    NameComboBox->setEditText(QString::fromStdString(stamp + TypedName()));
    NameComboBox->setFocus();
}

void TCopyAsForm::NewPrefixByCurrentButtonClick()
{
    PutPrefix(GetStampByCurrent());
}

void TCopyAsForm::NewPrefixByCreationButtonClick()
{
    PutPrefix(GetStampByCreation(SourcePath));
}

void TCopyAsForm::FormActivate()
{
    NameComboBox->setFocus();
    NameComboBox->lineEdit()->selectAll();
}

void TCopyAsForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate();
}
