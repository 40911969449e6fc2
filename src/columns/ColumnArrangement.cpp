// Copying column states between the main window's slots, the groups of columns, and the
// commands that insert, cut and rotate columns. Slots 0 to 9 are the board columns,
// slot 10 the hidden scratch column.

#include "columns/Column.h"

#include "columns/MainWindowColumns.h"
#include "columns/MainWindowServices.h"

#include "core/errors/Traced.h"
#include "core/files/PathNames.h"

#include <QWidget>

#include <functional>
#include <source_location>

namespace {

constexpr int32_t LastBoardSlot = MaxVisibleColumns - 1;

int32_t VisibleCount()
{
    return TSeam<TMainWindowServices>::Get().GetVisibleColumnCount();
}

bool AreColumnsLaidOutAlike()
{
    TMainWindowColumns& board = TSeam<TMainWindowColumns>::Get();
    return board.AreColumnWidthsEqual() && board.AreSubcolumnsEqual();
}

void ResetAllPanels()
{
    if (auto* root = dynamic_cast<MyTPanel*>(GMyPanelGlobal.RootControl))
        root->ResetAll();
}

// The frame of the arrangement commands: the columns panel is hidden while `rewrite`
// rewrites the slots, so that no half-arranged board is painted; the columns are laid out
// again when their widths or subcolumns differ; the column `rewrite` names is reloaded.
void ArrangeSlots(const std::string& failureText, const std::function<TColumn&(TTraced& trace)>& rewrite,
                  std::source_location where = std::source_location::current())
{
    QWidget* panel = TSeam<TMainWindowServices>::Get().GetColumnsPanel();
    const bool panelHidden = panel == nullptr || panel->isHidden();
    TTraced trace(where);
    trace.Run([&] {
        if (panel != nullptr)
            panel->hide();
        const bool alikeBefore = AreColumnsLaidOutAlike();
        TColumn& reloaded = rewrite(trace);
        if (!trace.Succeeded())
            return;
        if (!alikeBefore || !AreColumnsLaidOutAlike())
            TSeam<TMainWindowColumns>::Get().ArrangeColumns();
        reloaded.LoadDirectory({.RememberPrevious = true});
        trace.TakeOver();
    });
    trace.ShowFailure(failureText, where);
    if (panel != nullptr)
        panel->setVisible(!panelHidden);
    ResetAllPanels();
    TSeam<TMainWindowColumns>::Get().FocusColumn(-1, false);
}

// The destination takes everything of the source; false once the trace took a failure over.
bool TakeAllOf(TTraced& trace, TColumn& destination, TColumn& source, bool copyFixed, bool emptyList, bool focusByTitle)
{
    destination.SetWithAllColumn(source, copyFixed, emptyList, focusByTitle);
    return !trace.TakeOver();
}

} // namespace

TColumn& TColumn::GetSlot(int32_t index)
{
    if (index == Index)
        return *this;
    TColumn* column = TSeam<TMainWindowServices>::Get().GetColumn(index);
    if (column == nullptr)
        throw EError("There is no column in slot " + std::to_string(index) + ".");
    return *column;
}

void TColumn::SetWithColumnContent(TColumn& source, bool emptyList, bool focusByTitle, bool rememberPrevious,
                                   bool takeActiveState)
{
    const bool paintEnabled = FileList->PaintEnabled;
    TTraced trace;
    try {
        FileList->PaintEnabled = false;
        ContainerIndex = source.ContainerIndex;
        if (rememberPrevious)
            PreviousTitle = ActiveTitle;
        if (takeActiveState) {
            ActiveTitle = source.ActiveTitle;
            ActiveType = source.ActiveType;
            ActiveTopOffset = source.ActiveTopOffset;
            ActiveKey = source.ActiveKey;
        }
        SortMode = source.SortMode;
        // The source's changes would be lost with its monitor's re-arming below.
        if (source.DirMonitor.Next()) {
            source.HeaderButton->StrikeOut = true;
            source.HeaderButton->Invalidate();
        }
        if (Index < VisibleCount())
            DirMonitor.Ini(GetParentPath(ActiveTitle));
        else
            DirMonitor.Reset();
        HeaderButton->StrikeOut = source.HeaderButton->StrikeOut;
        HeaderButton->Invalidate();
        if (emptyList) {
            ClearList();
        } else {
            DirsCount = source.DirsCount;
            LinksCount = source.LinksCount;
            ProgramsCount = source.ProgramsCount;
            DocumentsCount = source.DocumentsCount;
            GenericCount = source.GenericCount;
            EncryptedCount = source.EncryptedCount;
            TotalSize = source.TotalSize;
            SelectedCount = source.SelectedCount;
            SelectedSize = source.SelectedSize;
            const int32_t focus = FileList->FocusIndex;
            FileList->CopyItemsFrom(*source.FileList);
            if (focusByTitle)
                FocusByTitle(ActiveTitle, ActiveType, ActiveTopOffset, ActiveKey, SortMode, false, true);
            else
                FileList->SetFocusWithOffset(focus, ActiveTopOffset, true);
        }
    }
    TRACED_CATCH(trace)
    FileList->PaintEnabled = paintEnabled;
    if (paintEnabled)
        FileList->Invalidate();
}

void TColumn::SetWithAllColumn(TColumn& source, bool copyFixed, bool emptyList, bool focusByTitle)
{
    TTraced trace;
    trace.Run([&] {
        WidthAttr = source.WidthAttr;
        Subcolumns = source.Subcolumns;
        FileList->SetSubcolumns(Subcolumns);
        ThumbHeight = source.ThumbHeight;
        ThumbAttr = source.ThumbAttr;
        ResetItemHeight();
        ShowPathsInContainer = source.ShowPathsInContainer;
        SetWithColumnContent(source, emptyList, focusByTitle, true, true);
        if (trace.TakeOver())
            return;
        if (copyFixed) {
            FixedAttr = source.FixedAttr;
            HeaderButton->Down = FixedAttr;
            HeaderButton->Invalidate();
        }
        PreviousTitle = source.PreviousTitle;
        DefaultTitle = source.DefaultTitle;
    });
}

void TColumn::SetWithSourceColumn(TColumn& source)
{
    if (&source == this)
        return;
    SetWithColumnContent(source, false, true, true, true);
    TSeam<TMainWindowColumns>::Get().FocusColumn(-1, false);
}

void TColumn::SwitchColumns(TColumn& other)
{
    if (&other == this)
        return;
    const int32_t topOffset = ActiveTopOffset;
    const int32_t focus = FileList->FocusIndex;
    TColumn& hidden = GetSlot(HiddenColumnIndex);
    hidden.SetWithColumnContent(*this, false, true, true, true);
    SetWithColumnContent(other, false, true, true, true);
    other.SetWithColumnContent(hidden, false, true, true, true);
    other.ActiveTopOffset = topOffset;
    other.FileList->SetFocusWithOffset(focus, topOffset, true);
    TSeam<TMainWindowColumns>::Get().FocusColumn(-1, false);
}

void TColumn::ShiftContentsLeft(int32_t first, int32_t last)
{
    for (int32_t i = first; i < last; ++i)
        GetSlot(i).SetWithColumnContent(GetSlot(i + 1), false, true, true, true);
}

void TColumn::ShiftContentsRight(int32_t first, int32_t last)
{
    for (int32_t i = last; i > first; --i)
        GetSlot(i).SetWithColumnContent(GetSlot(i - 1), false, true, true, true);
}

int32_t TColumn::GetGroupFirst()
{
    int32_t first = Index;
    while (first > 0 && !GetSlot(first).FixedAttr)
        --first;
    return first;
}

int32_t TColumn::GetGroupLast()
{
    const int32_t lastVisible = VisibleCount() - 1;
    int32_t last = Index;
    while (last < lastVisible && !GetSlot(last + 1).FixedAttr)
        ++last;
    return last;
}

// A fresh column at this slot; the columns from here on move one slot right and the last
// board column's state is lost. Inserting at a fixed column keeps the group's start here.
void TColumn::InsertColumn(bool here)
{
    if (Index >= LastBoardSlot)
        return;
    ArrangeSlots("Failed to insert column.", [&](TTraced& trace) -> TColumn& {
        const std::string sortMode = here || Index == 0 ? SortMode : GetSlot(Index - 1).SortMode;
        const int32_t visible = VisibleCount();
        for (int32_t i = LastBoardSlot; i > Index; --i)
            if (!TakeAllOf(trace, GetSlot(i), GetSlot(i - 1), true, i >= visible, i < visible))
                return *this;
        ResetToDefaults(!here);
        if (here) {
            TColumn& moved = GetSlot(Index + 1);
            moved.FixedAttr = false;
            moved.HeaderButton->Down = false;
            moved.HeaderButton->Invalidate();
        }
        SortMode = sortMode;
        return *this;
    });
}

void TColumn::Com_InsertColumnAtEnd()
{
    const int32_t last = GetGroupLast();
    if (last < VisibleCount() - 1)
        GetSlot(last + 1).InsertColumn(false);
}

void TColumn::Com_InsertColumnHere()
{
    InsertColumn(true);
}

// The columns after this one move one slot left and slot 9 becomes a fresh column; a group
// of one column is never cut.
void TColumn::CutColumn()
{
    const int32_t first = GetGroupFirst();
    const int32_t last = GetGroupLast();
    if (first == last)
        return;
    ArrangeSlots("Failed to cut column.", [&](TTraced& trace) -> TColumn& {
        TMainWindowColumns& board = TSeam<TMainWindowColumns>::Get();
        if (board.GetActiveColumnIndex() == last)
            board.SetActiveColumnIndex(last - 1);
        const int32_t visible = VisibleCount();
        for (int32_t i = Index; i < LastBoardSlot; ++i)
            if (!TakeAllOf(trace, GetSlot(i), GetSlot(i + 1), i > first, i >= visible, i < visible - 1))
                return *this;
        GetSlot(LastBoardSlot).ResetToDefaults(true);
        return GetSlot(visible - 1);
    });
}

void TColumn::Com_DeleteLastColumn()
{
    GetSlot(GetGroupLast()).CutColumn();
}

void TColumn::Com_DeleteThisColumn()
{
    CutColumn();
}

void TColumn::Com_RotateColumnsToRight()
{
    ArrangeSlots("Failed to rotate column.", [&](TTraced& trace) -> TColumn& {
        TColumn& hidden = GetSlot(HiddenColumnIndex);
        const int32_t visible = VisibleCount();
        bool copied = TakeAllOf(trace, hidden, GetSlot(LastBoardSlot), true, true, false);
        for (int32_t i = LastBoardSlot; copied && i > 0; --i)
            copied = TakeAllOf(trace, GetSlot(i), GetSlot(i - 1), true, i >= visible, true);
        if (copied)
            TakeAllOf(trace, GetSlot(0), hidden, true, true, false);
        hidden.ResetToDefaults(false);
        return GetSlot(0);
    });
}

void TColumn::Com_RotateColumnsToLeft()
{
    ArrangeSlots("Failed to rotate column.", [&](TTraced& trace) -> TColumn& {
        TColumn& hidden = GetSlot(HiddenColumnIndex);
        const int32_t visible = VisibleCount();
        bool copied = TakeAllOf(trace, hidden, GetSlot(0), true, true, false);
        for (int32_t i = 0; copied && i < LastBoardSlot; ++i)
            copied = TakeAllOf(trace, GetSlot(i), GetSlot(i + 1), true, i >= visible, i != visible - 1);
        if (copied)
            TakeAllOf(trace, GetSlot(LastBoardSlot), hidden, true, true, false);
        hidden.ResetToDefaults(false);
        return GetSlot(visible - 1);
    });
}
