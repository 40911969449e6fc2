#include "appearance/InstallForm.h"

#include "appearance/InstallRecord.h"
#include "appearance/InstallerMode.h"

#include "core/desktop/DesktopEntry.h"
#include "core/desktop/Program.h"
#include "core/desktop/ShellExecution.h"
#include "core/desktop/StartupLink.h"
#include "core/errors/Error.h"
#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/files/FileOperations.h"
#include "core/files/KnownFolders.h"
#include "core/files/PathNames.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/Utilities.h"

#include "host/Drives.h"
#include "host/File.h"
#include "host/FileSystem.h"
#include "host/ShellFolders.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <vector>

TInstallForm* InstallForm = nullptr;

namespace {

const char* const Instructions =
    "The program can be reinstalled without the need to uninstall its previous version. The existing options file "
    "will be preserved. If you want to repair the installed package, simply reinstall the program. Before "
    "continuing, close any running instances of the program.";
const char* const InstallFailure =
    "Failed to install program. Check to see if you have rights to write in the installation directory.";
const char* const UninstallFailure = "Failed to uninstall program.";
const char* const DesktopEntryName = "quillomber.desktop";
const char* const UninstallEntryName = "quillomber-uninstall.desktop";
const char* const ReadmeEntryName = "quillomber-readme.desktop";
const char* const UninstallArgument = "/Uninstall";

// The user's own data folder, where a user may install: a Windows path with a trailing
// backslash, or empty when it cannot be mapped.
std::string UserDataFolder()
{
    const std::optional<std::string> folder = host::HostToWindows(host::GetDataHomeHostFolder());
    return folder ? IncludeEndBackslash(*folder) : std::string();
}

// A launcher on the desktop runs only when it is executable.
void MakeExecutable(const std::string& fileName)
{
    const std::optional<std::string> hostPath = host::WindowsToHost(fileName);
    std::error_code ignored;
    if (hostPath)
        std::filesystem::permissions(*hostPath,
                                     std::filesystem::perms::owner_exec | std::filesystem::perms::group_exec |
                                         std::filesystem::perms::others_exec,
                                     std::filesystem::perm_options::add, ignored);
}

// The install folder may be missing on a fresh account (~/.local/share is made by the
// first program that needs it): it is made with its missing parents.
void CreateFolderPath(const std::string& folder)
{
    const std::string path = ExcludeEndBackslash(folder);
    if (path.empty() || IsDriveName(path) || IsDirectory(path))
        return;
    CreateFolderPath(GetParentPath(path));
    host::CreateDirectory(path);
}

// A folder whose name part is empty is a drive root: deleting it, or the applications
// folder's subfolder of that name, would take everything.
bool IsDeletableProgramFolder(const std::string& folder)
{
    return !GetPathName(ExcludeEndBackslash(folder)).empty() && !IsDriveName(ExcludeEndBackslash(folder));
}

} // namespace

TInstallForm::TInstallForm()
{
    setWindowTitle("Install");
    setFixedSize(400, 450);
    BuildControls();
    InstallToEdit->setText(QString::fromStdString(UserDataFolder()));
    InstructionsLabel->setText(Instructions);
    LoadReadme();
}

void TInstallForm::BuildControls()
{
    auto* layout = new QVBoxLayout(this);
    MainPanel = new QLabel(this);
    MainPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    MainPanel->setAlignment(Qt::AlignCenter);
    MainPanel->setMinimumHeight(40);
    DescriptionLabel = new QLabel(this);
    DescriptionLabel->setAlignment(Qt::AlignCenter);
    VersionLabel = new QLabel(this);
    VersionLabel->setAlignment(Qt::AlignCenter);
    InstructionsLabel = new QLabel(this);
    InstructionsLabel->setWordWrap(true);
    ReadmeMemo = new QPlainTextEdit(this);
    ReadmeMemo->setReadOnly(true);
    ReadmeMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    InstallToLabel = new QLabel(this);
    InstallToEdit = new QLineEdit(this);
    InstallToEdit->setReadOnly(true);
    BrowseButton = new QPushButton("&Browse", this);
    InstallButton = new QPushButton("&Install", this);
    CancelButton = new QPushButton("&Cancel", this);
    for (QWidget* control : {static_cast<QWidget*>(MainPanel), static_cast<QWidget*>(DescriptionLabel),
                             static_cast<QWidget*>(VersionLabel), static_cast<QWidget*>(InstructionsLabel),
                             static_cast<QWidget*>(ReadmeMemo), static_cast<QWidget*>(InstallToLabel)})
        layout->addWidget(control);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(InstallToEdit);
    folderRow->addWidget(BrowseButton);
    layout->addLayout(folderRow);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(InstallButton);
    buttonRow->addWidget(CancelButton);
    layout->addLayout(buttonRow);
    connect(BrowseButton, &QPushButton::clicked, this, [this] { BrowseButtonClick(); });
    connect(InstallButton, &QPushButton::clicked, this, [this] { InstallButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, &QWidget::close);
    ReadmeMemo->setFocus();
}

// A missing or unreadable "Readme.txt" leaves the memo empty.
void TInstallForm::LoadReadme()
{
    if (const std::optional<std::string> text = host::ReadFileContents(GetProgramDir() + "Readme.txt"))
        ReadmeMemo->setPlainText(QString::fromUtf8(text->data(), static_cast<qsizetype>(text->size())));
}

void TInstallForm::Setup(const std::string& name, const std::string& description, const std::string& version)
{
    ProgramName = name;
    DescriptionLabel->setText(QString::fromStdString(description));
    VersionLabel->setText(QString::fromStdString(version));
    if (IsUninstallArgument()) {
        setWindowTitle(QString::fromStdString("Uninstall " + name));
        MainPanel->setText(QString::fromStdString("Bye from " + name));
        InstallToLabel->setText("The following directory will be deleted:");
        InstallButton->setText("Un&install");
        InstallToEdit->setText(QString::fromStdString(GetProgramDir()));
        BrowseButton->setEnabled(false);
    } else if (IsInstallProgramName()) {
        setWindowTitle(QString::fromStdString("Install " + name));
        MainPanel->setText(QString::fromStdString("Welcome to " + name));
        InstallToLabel->setText("The program's installation directory will be put in directory:");
        InstallButton->setText("&Install");
    }
}

void TInstallForm::BrowseButtonClick()
{
    std::string folder;
    if (ChooseDirectory(folder, InstallToEdit->text().toStdString(), "Browse"))
        InstallToEdit->setText(QString::fromStdString(IncludeEndBackslash(folder)));
}

void TInstallForm::InstallButtonClick()
{
    InstallButton->setEnabled(false);
    Do();
    close();
}

void TInstallForm::Do()
{
    if (InstallToEdit->text().isEmpty())
        return ShowWarningMessage("(Un)Installation directory is empty.");
    if (IsUninstallArgument())
        Uninstall();
    else
        Install();
}

void TInstallForm::Install()
{
    TTraced trace;
    trace.Run([&] {
        const std::string source = GetProgramDir();
        const std::string folderName = GetPathName(ExcludeEndBackslash(source));
        const std::string edit = InstallToEdit->text().toStdString();
        if (edit.empty())
            return trace.Raise("Installation directory is empty.");
        const std::string target = IncludeEndBackslash(edit) + folderName;
        // Copying the package into itself would never end.
        if (IsSameOrInsideFolder(source, target))
            return trace.Raise("Can not copy a directory into itself.", source, target);
        if (!AskQuery("Install the program in directory \"" + target + "\"?"))
            return;
        CreateFolderPath(edit);
        std::vector<std::string> placed;
        const int notCopied = CopyDeleteDirectory(source, target, &placed);
        const std::string firstNotCopied = FunStatContext.Parameter1;
        const std::string copiedInstaller = IncludeEndBackslash(target) + GetProgramFileName();
        const std::string program = IncludeEndBackslash(target) + ProgramFileName;
        if (notCopied == 0) {
            MyRenameFile(copiedInstaller, program, true);
            if (!trace.TakeOver())
                std::replace(placed.begin(), placed.end(), copiedInstaller, program);
        }
        // Even a partial copy is recorded, so that the uninstall can take it away again.
        if (!placed.empty() && !AddToInstallRecord(target, placed) && trace.Succeeded())
            trace.RaiseSystem("Failed to write the installation record.",
                              IncludeEndBackslash(target) + InstallRecordName);
        if (notCopied > 0)
            return trace.Raise("Files not copied: " + std::to_string(notCopied) + ".", firstNotCopied);
        if (!trace.Succeeded())
            return;
        SaveDesktopEntries(target, folderName);
        SetUninstallRegistry(ProgramName, ProgramName, program + " " + UninstallArgument);
        RunFile(program, "", "", false, false);
        trace.TakeOver();
    });
    trace.ShowFailure(InstallFailure);
}

void TInstallForm::SaveDesktopEntries(const std::string& target, const std::string& folderName)
{
    const std::string program = IncludeEndBackslash(target) + ProgramFileName;
    const std::string desktop = GetDesktopPath();
    if (!desktop.empty()) {
        const std::string entry = IncludeEndBackslash(desktop) + DesktopEntryName;
        SaveDesktopEntry(entry, ProgramName, program, "", true, true);
        MakeExecutable(entry);
    }
    const std::string links = GetProgramLinksPath();
    if (links.empty())
        return;
    const std::string menuFolder = IncludeEndBackslash(IncludeEndBackslash(links) + folderName);
    host::CreateDirectory(menuFolder);
    SaveDesktopEntry(menuFolder + DesktopEntryName, ProgramName, program, "", true, true);
    SaveDesktopEntry(menuFolder + UninstallEntryName, "Uninstall " + ProgramName, program, UninstallArgument, true,
                     true);
    SaveDesktopEntry(menuFolder + ReadmeEntryName, "Readme", IncludeEndBackslash(target) + "Readme.txt", "", true,
                     true);
}

void TInstallForm::Uninstall()
{
    TTraced trace;
    trace.Run([&] {
        const std::string folder = InstallToEdit->text().toStdString();
        if (folder.empty())
            return trace.Raise("Uninstallation directory is empty.");
        if (!IsDeletableProgramFolder(folder))
            return trace.Raise("The program's folder is a drive root.", folder);
        // Without the record nothing tells the program's files from the user's.
        if (!HasInstallRecord(folder))
            return trace.Raise("The directory holds no record of an installation: nothing is deleted.", folder);
        if (!AskQuery("Delete the installed files in directory \"" + folder + "\"?"))
            return;
        const TRecordedDeletion deletion = DeleteRecordedEntries(folder);
        if (const std::string desktop = GetDesktopPath(); !desktop.empty())
            host::DeleteFile(IncludeEndBackslash(desktop) + DesktopEntryName);
        DeleteMenuEntries(GetPathName(ExcludeEndBackslash(folder)));
        DeleteUninstallerRegistry(ProgramName);
        if (deletion.Left > 0)
            return trace.Raise("Files not deleted: " + std::to_string(deletion.Left) + ".", deletion.FirstLeft);
        ShowInfoMessage("Uninstallation successful. Some files that were in use were not deleted.");
    });
    trace.ShowFailure(UninstallFailure);
}

void TInstallForm::DeleteMenuEntries(const std::string& folderName)
{
    const std::string links = GetProgramLinksPath();
    if (links.empty())
        return;
    const std::string menuFolder = IncludeEndBackslash(IncludeEndBackslash(links) + folderName);
    for (const char* entry : {DesktopEntryName, UninstallEntryName, ReadmeEntryName})
        host::DeleteFile(menuFolder + entry);
    // The folder may hold the user's own entries: it goes only when it is empty.
    host::RemoveDirectory(ExcludeEndBackslash(menuFolder));
}
