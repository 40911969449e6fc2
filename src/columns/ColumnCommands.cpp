// The column's commands on files: follow a link, create, link, delete, rename, show
// properties, print, edit, open with, set the wallpaper and paste the clipboard picture.

#include "columns/Column.h"

#include "columns/FileDialogServices.h"
#include "columns/FileLauncher.h"
#include "columns/History.h"
#include "columns/MainWindowColumns.h"
#include "columns/MainWindowContainers.h"
#include "columns/MainWindowServices.h"
#include "columns/ToolServices.h"

#include "core/desktop/DesktopEntry.h"
#include "core/desktop/DesktopExchange.h"
#include "core/desktop/ShellExecution.h"
#include "core/desktop/StartupLink.h"
#include "core/errors/Traced.h"
#include "core/files/FileExtensions.h"
#include "core/files/FileInfo.h"
#include "core/files/KnownFolders.h"
#include "core/files/LinkFile.h"
#include "core/files/PathNames.h"
#include "core/files/ProgramFolders.h"
#include "core/forms/MessageBoxes.h"
#include "core/settings/ProgramOptions.h"
#include "core/text/AsciiCase.h"

#include "host/ClipboardPicture.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

void RefocusActiveColumn()
{
    TSeam<TMainWindowColumns>::Get().FocusColumn(-1, false);
}

// "apps" for "C:\apps\editor.exe"; the drive letter alone for "C:\run.bat".
std::string GetDirectoryName(const std::string& source)
{
    std::string name = GetPathName(ExcludeEndBackslash(GetParentPath(source)));
    if (!name.empty() && name.back() == ':')
        name.pop_back();
    return name;
}

std::string GetLinkName(const std::string& source, bool namePrefix)
{
    const std::string name = ExcludeExtension(GetPathName(source));
    return namePrefix ? GetDirectoryName(source) + " - " + name : name;
}

// The desktop starts only its own entries from the autostart folder, so a link made
// there is an autostart entry.
bool IsStartupFolder(const std::string& folder)
{
    const std::string startup = GetStartupPath();
    return !startup.empty() && SameTextAscii(IncludeEndBackslash(folder), IncludeEndBackslash(startup));
}

std::string GetWallpaperFileName()
{
    return IncludeEndBackslash(GetOperatorPath()) + "Quillomber_Wallpaper.bmp";
}

QSize GetScreenSize()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->size() : QSize();
}

// Runs a dialog that changes files (given the container the column shows) inside the busy
// bracket; when it did its work the column's container is reloaded, and a column that shows
// a container gets the focus back.
template <class Dialog>
void RunChangingDialog(TTraced& trace, TColumn& column, Dialog dialog)
{
    {
        TBusyBracket busy(true);
        if (dialog(TSeam<TMainWindowContainers>::Get().FindContainer(column.ContainerIndex))) {
            column.ReloadContainer(-1);
            trace.TakeOver();
        }
    }
    if (column.ContainerIndex >= 0)
        RefocusActiveColumn();
}

} // namespace

void TColumn::Com_GoToReference()
{
    TTraced trace;
    trace.Run([&] {
        if (GetItemCount() == 0 || ActiveType != ftLink)
            return;
        TLinkFile link;
        link.Load(ActiveTitle, true);
        if (trace.TakeOver())
            return;
        LoadDirectory({.RememberPrevious = true, .ContainerIndex = -1, .Title = link.Target});
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to go to reference.");
    RefocusActiveColumn();
}

void TColumn::Com_NewFile(int32_t kind)
{
    TTraced trace;
    trace.Run([&] {
        TBusyBracket busy(true);
        std::string created;
        if (!TSeam<TFileDialogServices>::Get().NewFileDialog(GetParentPath(ActiveTitle),
                                                             static_cast<TNewFileKind>(kind), created))
            return;
        if (kind != nfkFile)
            return;
        MyRunFile(GetEditLinkFileName(), created, "", "", false, true);
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to create new file.");
}

void TColumn::Com_LinkAs(const std::string& caption, const std::string& folder, const std::string& arguments,
                         bool namePrefix, bool linkDirectory, bool useTargetFolder, bool minimised)
{
    TTraced trace;
    trace.Run([&] {
        TBusyBracket busy(true);
        const std::string source = linkDirectory ? ExcludeEndBackslash(GetParentPath(ActiveTitle)) : ActiveTitle;
        if (source.empty() || IsDriveName(source))
            return;
        const std::string question = linkDirectory ? "Link parent directory as " : "Link active file as ";
        if (!AskQuery(question + caption + " ?"))
            return;
        TFileDialogServices& services = TSeam<TFileDialogServices>::Get();
        services.ResetOverwriteChoice();
        const bool startup = IsStartupFolder(folder);
        const std::string linkName = GetLinkName(source, namePrefix);
        const std::string linkFileName = startup ? GetStartupEntryFileName(folder, linkName)
                                                 : IncludeEndBackslash(folder) + linkName + GetLinkExtension(source);
        bool overwrite = false;
        if (!services.OverwriteDialog(source, linkFileName, overwrite))
            return;
        if (startup)
            SaveDesktopEntry(linkFileName, linkName, source, arguments, useTargetFolder, overwrite);
        else
            CopyFileAsLink(source, linkFileName, overwrite, arguments, useTargetFolder, minimised);
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to link as.");
}

void TColumn::Com_ManualRun()
{
    TSeam<TFileDialogServices>::Get().ManualRunDialog(GetItemCount() > 0 ? ActiveTitle : std::string());
}

void TColumn::OnDelete(const std::string& operationName)
{
    TTraced trace;
    trace.Run([&] {
        RunChangingDialog(trace, *this, [&](TContainer* container) {
            return TSeam<TFileDialogServices>::Get().FileOperationDialog(operationName, GetParentPath(ActiveTitle),
                                                                         FileList->FocusIndex, container, *this);
        });
    });
}

void TColumn::Com_Recycle()
{
    OnDelete("Recycle");
}

void TColumn::Com_Delete()
{
    OnDelete("Delete");
}

void TColumn::Com_ClipFileTitles()
{
    OnDelete("Clip title of");
}

void TColumn::Com_rename(bool item)
{
    TTraced trace;
    trace.Run([&] {
        RunChangingDialog(trace, *this, [&](TContainer* container) {
            return TSeam<TFileDialogServices>::Get().RenameDialog(*this, item, container);
        });
    });
}

void TColumn::Com_Properties(bool reference)
{
    TTraced trace;
    trace.Run([&] {
        RunVerb(reference ? GetWhenReference(ActiveTitle) : ActiveTitle, "Properties", "");
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to show properties.");
}

void TColumn::Com_print()
{
    TTraced trace;
    trace.Run([&] {
        const std::string reference = GetWhenReference(ActiveTitle);
        RunVerb(reference, "Print", GetParentPath(reference));
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to print.");
}

void TColumn::Com_Edit(const std::string& file)
{
    TTraced trace;
    trace.Run([&] {
        std::string source;
        if (!file.empty())
            source = GetWhenReference(file);
        else if (GetItemCount() > 0 && ActiveType != ftDirectory)
            source = GetWhenReference(ActiveTitle);
        else
            return;
        MyRunFile(GetEditLinkFileName(), source, GetParentPath(source), "", false, true);
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to edit file.");
}

void TColumn::Com_EditStreams(int32_t mode)
{
    TTraced trace;
    trace.Run([&] {
        TBusyBracket busy(false);
        if (mode == fsmMainData && IsTextFile(ActiveTitle))
            FilesHistory.AddFileItem(ActiveTitle, true);
        TToolServices& services = TSeam<TToolServices>::Get();
        services.SetFileStreamsEditorOptions();
        services.OpenFileStreams(GetWhenReference(ActiveTitle), static_cast<TFileStreamsEditMode>(mode));
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to edit the streams of the file.");
}

void TColumn::Com_OpenFileWith()
{
    TTraced trace;
    trace.Run([&] {
        const std::string reference = GetWhenReference(ActiveTitle);
        RunOpenWith(reference, GetParentPath(reference));
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to show dialog.");
}

void TColumn::Com_SetFileAsWallpaper()
{
    TTraced trace;
    trace.Run([&] {
        const std::string picture = GetWhenReference(ActiveTitle);
        if (!IsPictureFile(picture)) {
            ShowWarningMessage("File must be a picture.");
            return;
        }
        const std::string wallpaper = GetWallpaperFileName();
        if (!SameTextAscii(picture, wallpaper)) {
            TToolServices& services = TSeam<TToolServices>::Get();
            std::string extension;
            std::string encoder;
            if (!services.GetPictureConverterID("BMP", extension, encoder))
                return trace.Raise("Failed to get filter information.", picture, wallpaper);
            // Without normalisation the picture is fitted into the screen and never enlarged.
            const QSize screen = GetScreenSize();
            services.ConvertPicture(picture, wallpaper, true, extension, encoder, 1, screen.width(), screen.height(),
                                    true, true, false, ProgramOptions.FitSmallThumbs,
                                    ProgramOptions.FitSmallThumbsSize);
            if (trace.TakeOver())
                return;
        }
        SetFileAsWallpaper(GetPathName(wallpaper));
        trace.TakeOver();
    });
    trace.ShowFailure("Failed to set wallpaper.");
}

void TColumn::Com_PasteClipboardPicture()
{
    TTraced trace;
    trace.Run([&] {
        TBusyBracket busy(true);
        // The list of drives has no folder: the picture would land in the process's
        // current directory.
        if (ActiveTitle.empty() || IsDriveName(ActiveTitle))
            return trace.Raise("Can't paste a picture into the list of drives.");
        const std::string target = GetParentPath(ActiveTitle) + "-Quillomber_ClipboardPicture.bmp";
        if (MyFileExists(target) && !AskQuery("File already exists. OVERWRITE it?"))
            return;
        const std::optional<QImage> picture = host::GetClipboardPicture();
        if (!picture)
            return trace.Raise("The clipboard holds no picture.");
        if (!host::SavePictureAsBitmap(*picture, target))
            return trace.RaiseSystem("Failed to save picture.", target);
    });
    trace.ShowFailure("Failed to paste clipboard picture.");
}
