#include "mainwindow/MainForm.h"

#include "mainwindow/Boards.h"

#include "core/desktop/Program.h"
#include "core/files/FileInfo.h"
#include "core/settings/ProgramOptions.h"
#include "core/text/MyTime.h"

void TMainForm::UpdateCaption()
{
    std::string caption = "Quillomber - \"" + Boards->GetBoardCaption(Boards->GetActiveBoard()) + "\"";
    if (ProgramOptions.ShowSystemInfo)
        caption += " | " + GetLongDateTimeText(" | ", Now()) + " | RAM " +
                   GetSizeText(3, 0, static_cast<int64_t>(GetAvailablePhysicalMemory())) + " (" +
                   GetSizeText(3, 0, static_cast<int64_t>(GetTotalPhysicalMemory())) + ")";
    setWindowTitle(QString::fromStdString(caption));
}

// The window has no directory tree yet; the board's tree path waits for it.
void TMainForm::TreeFollowBoard()
{
}
