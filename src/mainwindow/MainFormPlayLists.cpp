#include "mainwindow/MainForm.h"

#include "core/errors/Traced.h"
#include "core/files/FileExtensions.h"
#include "core/files/FileInfo.h"
#include "core/files/PathNames.h"

#include "viewing/FileViewer.h"

void TMainForm::LastPlayedMPLMenuClick(const std::string& file, const std::string& lastTitle, int32_t position)
{
    TColumn& hidden = *Columns[static_cast<size_t>(HiddenColumnIndex)];
    TTraced trace;
    trace.Run([&] {
        if (!MyFileExists(file)) {
            FileViewer->LastPlayedMPL.Remove(file);
            return trace.Raise("The file / directory doesn't exists.", file);
        }
        if (IsMediaPlayListFile(GetExtension(file))) {
            MediaPlayer.PlayMPL(file, lastTitle, position);
            return;
        }
        hidden.ContainerIndex = -1;
        hidden.LoadWithFiles(IncludeEndBackslash(file), "Name");
        if (trace.TakeOver())
            return;
        FileViewer->ViewMediaInDirectory(file, hidden, position, lastTitle);
    });
    trace.ShowFailure("Failed to resume media play-list.");
    hidden.ClearList();
}
