// The column's hints, which explain the mouse operations where the user points, and the
// list events that keep the hot item, the hover window and the drags in step with the
// mouse.

#include "columns/Column.h"

#include "columns/MainWindowColumns.h"
#include "columns/MainWindowItemPaint.h"
#include "columns/MainWindowMouse.h"

#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/files/PathNames.h"
#include "core/settings/ProgramOptions.h"
#include "core/text/AsciiCase.h"

#include <QString>

namespace {

const std::string ExternalDragHint =
    " Drop files from another program to display the \"External file-drag\" menu. [LMB + Drag] = drag files (to "
    "copy) to another program ([Ctrl] = copy; [Shift] = move; [Alt] = copy as link).";

std::string GetModifierHint(const std::string& operation, bool runModifiers)
{
    if (operation == "System menu" || operation == "System-drag menu" || operation == "Send menu" ||
        operation == "Send-drag menu")
        return " ([Ctrl] = reference; [Shift] = parent)";
    if ((operation == "Run" && runModifiers) || operation == "Enter this directory")
        return " ([Ctrl] = automove to left; [Shift] = autoopen to right; [Alt] = autohold)";
    if (operation == "Properties")
        return " ([Ctrl] = reference)";
    if (operation == "Toggle selection")
        return " ([Ctrl] = group upward; [Shift] = group downward)";
    if (operation == "Enter parent directory")
        return " ([Ctrl] = automove to right; [Shift] = autoopen to left; [Alt] = autohold)";
    return {};
}

// One sentence of a hint: "[gesture] = operation.".
std::string Explain(const std::string& gesture, const std::string& operation, bool runModifiers)
{
    return "[" + gesture + "] = " + TColumn::GetMouseOperationHint(operation, runModifiers) + ".";
}

std::string GetBadgeHint(bool runModifiers)
{
    const TProgramOptions& o = ProgramOptions;
    std::string hint = Explain("LMB", o.LMBTypeOperation, runModifiers) + " " +
                       Explain("RMB", o.RMBTypeOperation, runModifiers) + " " +
                       Explain("MMB", o.MMBTypeOperation, runModifiers) + " " +
                       Explain("LMB + Drag", o.LMBDragTypeOperation, runModifiers) + " " +
                       Explain("RMB + Drag", o.RMBDragTypeOperation, runModifiers);
    if (o.FileHoverActive)
        hint += " Hover for a moment to display the file hover information window.";
    return hint;
}

std::string GetNameHint(bool runModifiers, bool thumbnails)
{
    const TProgramOptions& o = ProgramOptions;
    std::string hint =
        Explain("Double LMB", o.LMBNameOperation, runModifiers) + " " +
        Explain("RMB", o.RMBNameOperation, runModifiers) + " " + Explain("MMB", o.MMBNameOperation, runModifiers) +
        " " + Explain("LMB + Drag", o.LMBDragNameOperation, runModifiers) + " " +
        Explain("RMB + Drag", o.RMBDragNameOperation, runModifiers) + " [RMB + Small drag] = show mouse menu." +
        " The name of a selected file is displayed with italic and bold font.";
    if (thumbnails && (o.NormalizeThumbWidth || o.NormalizeThumbHeight))
        hint += " For a \"±\" character after the displayed width / height of thumbs, see the \"Normalize width / "
                "height\" options.";
    return hint;
}

std::string GetEmptySpaceHint()
{
    const TProgramOptions& o = ProgramOptions;
    return Explain("RMB", o.RMBNameOperation, false) + " " + Explain("LMB + Drag", o.LMBDragNameOperation, false) +
           " " + Explain("RMB + Drag", o.RMBDragNameOperation, false);
}

void SetHint(MyTPanel& panel, const std::string& hint)
{
    panel.setToolTip(QString::fromStdString(hint));
}

} // namespace

std::string TColumn::GetMouseOperationHint(const std::string& operation, bool runModifiers)
{
    return operation + GetModifierHint(operation, runModifiers);
}

void TColumn::SetHeaderButtonHint()
{
    const TProgramOptions& o = ProgramOptions;
    SetHint(*HeaderButton,
            "Column's parent directory \"" + GetParentPath(ActiveTitle) +
                "\". If the content of the directory has changed then a horizontal line strikes the button caption. "
                "If the column's fixed attribute is true, this button looks pressed.  " +
                Explain("LMB", o.LMBColumnHeaderOperation, true) + " " +
                Explain("RMB", o.RMBColumnHeaderOperation, true) + " " +
                Explain("MMB", o.MMBColumnHeaderOperation, true));
}

void TColumn::FileListEnter(MyTPanel*)
{
    TSeam<TMainWindowColumns>::Get().FocusColumn(Index, false);
}

void TColumn::FileListMouseMove(MyTPanel*, TShiftState, int32_t x, int32_t y)
{
    TTraced trace;
    try {
        TMainWindowMouse& mouse = TSeam<TMainWindowMouse>::Get();
        const int32_t index = FileList->GetItemAt(x, y);
        mouse.CheckFileHoverMouseMove(*this, index, x, y);
        if (IsRealItem(index)) {
            const TFileListData& item = GetItem(index);
            const bool runModifiers = item.Type == ftDirectory || item.Type == ftLink;
            const std::string operations =
                IsOnBadge(index, x, y) ? GetBadgeHint(runModifiers) : GetNameHint(runModifiers, ThumbAttr);
            SetHint(*FileList, "Current file \"" + item.Title + "\". Size " + GetSizeText(6, 0, item.Size) + ". " +
                                   operations + ExternalDragHint);
            mouse.SetHotTrackItem(*this, index);
        } else {
            SetHint(*FileList, "Column's parent directory \"" + GetParentPath(ActiveTitle) + "\". " +
                                   GetEmptySpaceHint() + ExternalDragHint);
            mouse.CheckItemHotTrack();
        }
    }
    TRACED_CATCH(trace)
}

void TColumn::FileListMouseWheel(MyTPanel*, TShiftState, bool& handled, QPoint)
{
    TSeam<TMainWindowItemPaint>::Get().HideFileHover();
    handled = true;
}

void TColumn::FileListDragOver(MyTPanel*, QObject* source, int32_t x, int32_t y, TDragState, bool& accept)
{
    TMainWindowMouse& mouse = TSeam<TMainWindowMouse>::Get();
    // A drop on the scroll bar would land on no item of this list.
    const bool columnDrag = FindColumnByList(source) != nullptr && x >= 0 && x < FileList->GetItemsWidth(true);
    accept = columnDrag || mouse.IsPlayList(source) || mouse.IsDirectoryTree(source);
    const int32_t index = FileList->GetItemAt(x, y);
    if (IsRealItem(index))
        mouse.SetHotTrackItem(*this, index);
    else
        mouse.CheckItemHotTrack();
    mouse.MouseMenuMove(ListToScreen(x, y));
}

void TColumn::DropPlayList()
{
    std::string title;
    if (TSeam<TMainWindowMouse>::Get().GetPlayListActiveTitle(title)) {
        if (SameTextAscii(GetParentPath(title), GetParentPath(ActiveTitle)))
            FocusByTitle(title, ActiveType, ActiveTopOffset, ActiveKey, SortMode, false, true);
        else
            LoadDirectory({.RememberPrevious = true, .ContainerIndex = -1, .Title = title});
    }
    TSeam<TMainWindowColumns>::Get().FocusColumn(Index, false);
}

void TColumn::DropDirectoryTree()
{
    EnterDirectory(ShiftOf(ssAlt), TSeam<TMainWindowMouse>::Get().GetSelectedTreePath(), true);
    TSeam<TMainWindowColumns>::Get().FocusColumn(Index, false);
}
