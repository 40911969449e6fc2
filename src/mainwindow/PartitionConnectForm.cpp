#include "mainwindow/PartitionConnectForm.h"

#include "core/errors/Traced.h"
#include "core/forms/FormPlacement.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/ModalSeam.h"
#include "core/forms/Utilities.h"

#include "host/Drives.h"
#include "host/Registry.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

constexpr const char* DrivesKey = "Software\\Quillomber\\Drives";
constexpr host::RegistryRoot DrivesRoot = host::RegistryRoot::CurrentUser;

std::vector<char> UserLetters()
{
    std::vector<char> letters;
    for (char letter = 'D'; letter <= 'Z'; ++letter)
        letters.push_back(letter);
    return letters;
}

std::string RecordedFolder(char letter)
{
    const std::optional<host::RegistryValue> value = host::ReadRegistryValue(DrivesRoot, DrivesKey, {letter});
    return value && value->Type == host::RegistryType::String ? value->Text : std::string();
}

bool IsFree(char letter)
{
    return !host::GetDriveHostRoot(letter);
}

// The letter is unmapped, or mapped to the folder recorded for it.
bool IsOwnLetter(char letter, const std::string& folder)
{
    const std::optional<std::string> root = host::GetDriveHostRoot(letter);
    return !root || host::StripTrailingSlashes(*root) == host::StripTrailingSlashes(folder);
}

} // namespace

std::vector<char> GetFreePartitionLetters()
{
    std::vector<char> letters;
    for (const char letter : UserLetters())
        if (IsFree(letter))
            letters.push_back(letter);
    return letters;
}

std::vector<char> GetConnectedPartitionLetters()
{
    std::vector<char> letters;
    for (const char letter : UserLetters()) {
        const std::string folder = RecordedFolder(letter);
        if (!folder.empty() && IsOwnLetter(letter, folder))
            letters.push_back(letter);
    }
    return letters;
}

bool ConnectPartition(char letter, const std::string& hostFolder)
{
    if (letter < 'D' || letter > 'Z' || !IsFree(letter) || !host::IsHostDirectory(hostFolder))
        return false;
    TTraced trace;
    trace.Run([&] {
        const std::string folder = host::StripTrailingSlashes(hostFolder);
        host::MapDrive(letter, folder);
        if (!host::CreateRegistryKey(DrivesRoot, DrivesKey) ||
            !host::WriteRegistryValue(DrivesRoot, DrivesKey, {letter}, host::RegistryValue::OfText(folder)))
            trace.RaiseSystem("Failed to record the partition.", std::string{letter, ':'}, folder);
    });
    return true;
}

void DisconnectPartition(char letter)
{
    TTraced trace;
    trace.Run([&] {
        const std::string folder = RecordedFolder(letter);
        if (folder.empty())
            return;
        if (!IsFree(letter) && IsOwnLetter(letter, folder))
            host::UnmapDrive(letter);
        if (!host::DeleteRegistryValue(DrivesRoot, DrivesKey, {letter}))
            trace.RaiseSystem("Failed to forget the partition.", std::string{letter, ':'});
    });
}

void RestoreConnectedPartitions()
{
    for (const char letter : UserLetters()) {
        const std::string folder = RecordedFolder(letter);
        if (!folder.empty() && IsFree(letter) && host::IsHostDirectory(folder))
            host::MapDrive(letter, folder);
    }
}

TPartitionConnectForm::TPartitionConnectForm(bool connectMode, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint | Qt::WindowTitleHint),
      Connect(connectMode)
{
    setWindowTitle(connectMode ? "Connect partition" : "Disconnect partition");
    // The disconnecting form has no folder row.
    const int buttonsTop = connectMode ? 77 : 45;
    setFixedSize(connectMode ? 360 : 200, buttonsTop + 33);
    QFont font("Arial");
    font.setPixelSize(12);
    setFont(font);
    (new QLabel("Partition", this))->setGeometry(10, 14, 60, 15);
    LetterComboBox = new QComboBox(this);
    LetterComboBox->setGeometry(75, 10, 60, 22);
    if (connectMode) {
        (new QLabel("Directory", this))->setGeometry(10, 46, 60, 15);
        FolderEdit = new QLineEdit(this);
        FolderEdit->setGeometry(75, 42, 275, 22);
        FolderEdit->setToolTip("The directory (a full path) that the partition shows");
    }
    const int buttonsLeft = (width() - 160) / 2;
    OkayButton = AddButton(this, "&Okay", {buttonsLeft, buttonsTop, 75, 25});
    CancelButton = AddButton(this, "&Cancel", {buttonsLeft + 85, buttonsTop, 75, 25});
    OkayButton->setDefault(true);
    connect(OkayButton, &QPushButton::clicked, this, [this] { OkayButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { done(mrCancel); });
}

bool TPartitionConnectForm::Dialog()
{
    LetterComboBox->clear();
    for (const char letter : Connect ? GetFreePartitionLetters() : GetConnectedPartitionLetters())
        LetterComboBox->addItem(QString::fromStdString(std::string{letter, ':'}));
    CentreOnMainWindow(*this);
    return RunModal(*this) == mrOkay;
}

char TPartitionConnectForm::ChosenLetter() const
{
    const QString text = LetterComboBox->currentText();
    return text.isEmpty() ? '\0' : static_cast<char>(text.at(0).toLatin1());
}

void TPartitionConnectForm::OkayButtonClick()
{
    const char letter = ChosenLetter();
    if (letter == '\0')
        return;
    TTraced trace;
    trace.Run([&] {
        if (Connect && !ConnectPartition(letter, FolderEdit->text().toStdString())) {
            ShowWarningMessage("There is no such directory.");
            return;
        }
        if (!Connect)
            DisconnectPartition(letter);
        trace.TakeOver();
        done(mrOkay);
    });
    trace.ShowFailure(Connect ? "Failed to connect partition." : "Failed to disconnect partition.");
}
