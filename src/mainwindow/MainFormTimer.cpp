#include "mainwindow/MainForm.h"

#include "columns/MainWindowMouse.h"
#include "panels/MyTPanel.h"

#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/files/Partitions.h"
#include "core/files/PathNames.h"
#include "core/forms/InputState.h"
#include "core/forms/Utilities.h"
#include "core/text/AsciiCase.h"

#include <QCursor>

#include <algorithm>

namespace {

constexpr uint32_t FixedDrive = 3;
constexpr double DirMonitorPeriod = 1.0;
constexpr double CaptionPeriod = 5.0;

// The notification follows the folder itself, so a folder that went away with a parent
// reports nothing; at the column's path it is gone all the same, as a deleted one is.
bool IsColumnFolderGone(const TColumn& column)
{
    const std::string folder = GetParentPath(column.ActiveTitle);
    return !folder.empty() && !IsDirectory(folder);
}

} // namespace

void TMainForm::MainTimerTimer()
{
    TTraced trace;
    try {
        TSeam<TMainWindowMouse>::Get().CheckItemHotTrack();
        MediaTimerStep();
        if (IsBusy() || !isActiveWindow())
            return;
        if (IsExternalDragDue(Press.ColumnDragActive, IsLeftButtonDown(), QCursor::pos(),
                              QRect(mapToGlobal(QPoint(0, 0)), size())))
            ActivateExternalDrag();
        if (DirMonitorCrono.IsPeriod(DirMonitorPeriod))
            CheckDirMonitor(false);
        if (CaptionCrono.IsPeriod(CaptionPeriod))
            UpdateCaption();
    }
    TRACED_CATCH(trace)
}

void TMainForm::RequestForcedCheck()
{
    ForceCheckPending = true;
}

void TMainForm::CheckDirMonitor(bool force)
{
    TTraced trace;
    try {
        const MyTPanel* list = ActiveList();
        const bool listFocused = list != nullptr && list->hasFocus();
        if (!force && !(listFocused && (!IsBusy() || ForceCheckPending)))
            return;
        BeginBusy();
        force = force || ForceCheckPending;
        ForceCheckPending = false;
        bool anyChanged = false;
        for (int32_t i = 0; i < VisibleColumnCount; ++i) {
            TColumn& column = *Columns[static_cast<size_t>(i)];
            if (column.ContainerIndex < 0 && CheckDirMonitorColumn(column, i, force))
                anyChanged = true;
        }
        EndBusy();
        if (anyChanged)
            FocusColumn(-1, false);
    }
    TRACED_CATCH(trace)
}

// Marks the column's header when its directory changed; a forced check also reloads it.
// True when the column counts as changed.
bool TMainForm::CheckDirMonitorColumn(TColumn& column, int32_t index, bool force)
{
    bool changed = false;
    TTraced trace;
    try {
        if (!force && GetPartitionType(column.ActiveTitle) != FixedDrive)
            return false;
        changed = column.DirMonitor.Next() || IsColumnFolderGone(column);
        if (changed || (force && column.HeaderButton->StrikeOut)) {
            column.HeaderButton->StrikeOut = true;
            column.HeaderButton->Repaint();
            if (force) {
                column.LoadDirectory({.Title = column.ActiveTitle});
                CheckRestDirMonitor(index, index + 1);
                changed = true;
            }
        }
    }
    TRACED_CATCH(trace)
    return changed;
}

void TMainForm::CheckRestDirMonitor(int32_t source, int32_t start)
{
    TColumn& from = *Columns[static_cast<size_t>(source)];
    const std::string directory = GetParentPath(from.ActiveTitle);
    for (int32_t i = start; i < VisibleColumnCount; ++i) {
        if (i == source)
            continue;
        TTraced trace;
        try {
            TColumn& column = *Columns[static_cast<size_t>(i)];
            if (column.ContainerIndex < 0 && SameTextAscii(GetParentPath(column.ActiveTitle), directory)) {
                column.SetWithColumnContent(from, false, true, false, false);
                column.DirMonitor.Next();
            }
        }
        TRACED_CATCH(trace)
    }
}

bool TMainForm::IsBusy() const
{
    return BusyCount > 0;
}

void TMainForm::BeginBusy()
{
    ++BusyCount;
}

void TMainForm::EndBusy()
{
    if (BusyCount > 0)
        --BusyCount;
}

void TMainForm::EndBusyAndCheck()
{
    EndBusy();
    CheckDirMonitor(true);
}

void TMainForm::InitBusy()
{
    BusyCount = 1;
    ForceCheckPending = false;
}

void TMainForm::ResetBusy()
{
    BusyCount = 0;
    ForceCheckPending = false;
}

void TMainForm::FocusColumn(int32_t index, bool force)
{
    TTraced trace;
    try {
        if (ColumnsPanel->isHidden())
            return;
        if (!force && IsBusy())
            return;
        if (index >= 0)
            ActiveColumnIndex = index;
        ActiveColumnIndex = std::clamp(ActiveColumnIndex, 0, std::max(VisibleColumnCount - 1, 0));
        FocusWinControl(ActiveList());
    }
    TRACED_CATCH(trace)
}

void TMainForm::ReloadColumns()
{
    for (int32_t i = 0; i < VisibleColumnCount; ++i)
        Columns[static_cast<size_t>(i)]->LoadDirectory({.RememberPrevious = true});
}

TColumn* TMainForm::ActiveColumn() const
{
    return GetColumn(ActiveColumnIndex);
}

TColumn* TMainForm::GetColumn(int32_t index) const
{
    return index >= 0 && index < ColumnCount ? Columns[static_cast<size_t>(index)] : nullptr;
}

MyTPanel* TMainForm::ActiveList() const
{
    const TColumn* column = ActiveColumn();
    return column != nullptr ? column->FileList : nullptr;
}

bool TMainForm::AreColumnWidthsEqual() const
{
    for (int32_t i = 1; i < VisibleColumnCount; ++i)
        if (Columns[static_cast<size_t>(i)]->WidthAttr != Columns[0]->WidthAttr)
            return false;
    return true;
}

bool TMainForm::AreSubcolumnsEqual() const
{
    for (int32_t i = 1; i < VisibleColumnCount; ++i)
        if (Columns[static_cast<size_t>(i)]->Subcolumns != Columns[0]->Subcolumns)
            return false;
    return true;
}
