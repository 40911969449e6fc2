#include "mainwindow/MainForm.h"

#include "viewing/FileViewer.h"

#include "core/errors/Traced.h"
#include "core/files/FileExtensions.h"
#include "core/files/FileInfo.h"
#include "core/files/PathNames.h"

namespace {

// The hidden work column lists a media folder for the viewer and is emptied afterwards,
// whatever happened.
class THiddenColumnListing
{
public:
    explicit THiddenColumnListing(TColumn& column) : Column(column) { Column.ContainerIndex = -1; }
    ~THiddenColumnListing() { Column.ClearList(); }
    THiddenColumnListing(const THiddenColumnListing&) = delete;
    THiddenColumnListing& operator=(const THiddenColumnListing&) = delete;

private:
    TColumn& Column;
};

} // namespace

void TMainForm::LastPlayedMPLMenuClick(const std::string& file, const std::string& lastTitle, int32_t position)
{
    TTraced trace;
    try {
        TColumn& hidden = *Columns[HiddenColumnIndex];
        THiddenColumnListing listing(hidden);
        if (!MyFileExists(file)) {
            FileViewer->LastPlayedMPL.Remove(file);
            trace.Raise("The file / directory doesn't exists.", file);
        } else if (IsMediaPlayListFile(GetExtension(file))) {
            MediaPlayer.PlayMPL(file, lastTitle, position);
        } else {
            hidden.LoadWithFiles(IncludeEndBackslash(file), "Name");
            if (!trace.TakeOver())
                FileViewer->ViewMediaInDirectory(file, hidden, position, lastTitle);
        }
    }
    TRACED_CATCH(trace)
    trace.ShowFailure("Failed to resume media play-list.");
}
