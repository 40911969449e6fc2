// Selecting a column's items. Every change goes through SelectItem and DeselectItem, so
// that the selected count and size always match the items.

#include "columns/Column.h"

#include "columns/FileDialogServices.h"

#include "core/files/PathNames.h"
#include "core/text/StringList.h"

void TColumn::SelectItem(int32_t index)
{
    if (index < 0 || index >= GetItemCount())
        return;
    TFileListData& item = GetItem(index);
    if (item.Selected)
        return;
    ++SelectedCount;
    SelectedSize += item.Size;
    item.Selected = true;
}

void TColumn::DeselectItem(int32_t index)
{
    if (index < 0 || index >= GetItemCount())
        return;
    TFileListData& item = GetItem(index);
    if (!item.Selected)
        return;
    --SelectedCount;
    SelectedSize -= item.Size;
    item.Selected = false;
}

void TColumn::ToggleItem(int32_t index)
{
    if (index >= 0 && index < GetItemCount() && GetItem(index).Selected)
        DeselectItem(index);
    else
        SelectItem(index);
}

void TColumn::ToggleUpRun(int32_t index)
{
    if (index >= 0 && index < GetItemCount()) {
        const bool selected = GetItem(index).Selected;
        for (int32_t i = index; i >= 0 && GetItem(i).Selected == selected; --i)
            ToggleItem(i);
    }
    FileList->Invalidate();
}

void TColumn::ToggleDownRun(int32_t index)
{
    const int32_t count = GetItemCount();
    if (index >= 0 && index < count) {
        const bool selected = GetItem(index).Selected;
        for (int32_t i = index; i < count && GetItem(i).Selected == selected; ++i)
            ToggleItem(i);
    }
    FileList->Invalidate();
}

void TColumn::ToggleSelection(TShiftState shift, bool moveToNext)
{
    if (GetItemCount() == 0)
        return;
    const int32_t start = FileList->FocusIndex;
    // The tests look at the keyboard part only: the mouse buttons do not count.
    if (IsKeyShiftEmpty(shift)) {
        ToggleItem(start);
        if (moveToNext)
            FileList->FocusNext();
        if (FileList->FocusIndex == start)
            FileList->RepaintFocusedItem();
    } else if (IsKeyShiftOnly(shift, ssCtrl)) {
        ToggleUpRun(start);
    } else if (IsKeyShiftOnly(shift, ssShift)) {
        ToggleDownRun(start);
    }
}

// Nothing at all, not even a repaint, on a list that holds only its placeholder.
template <class Action>
void TColumn::ForEachItem(bool filesOnly, Action action)
{
    const int32_t count = GetItemCount();
    if (count == 0)
        return;
    for (int32_t i = 0; i < count; ++i)
        if (!filesOnly || GetItem(i).Type != ftDirectory)
            (this->*action)(i);
    FileList->Invalidate();
}

void TColumn::Com_SelectAll()
{
    ForEachItem(false, &TColumn::SelectItem);
}

void TColumn::Com_DeselectAll()
{
    ForEachItem(false, &TColumn::DeselectItem);
}

void TColumn::Com_ToggleAllSelection()
{
    ForEachItem(false, &TColumn::ToggleItem);
}

void TColumn::Com_SelectFiles()
{
    ForEachItem(true, &TColumn::SelectItem);
}

void TColumn::Com_DeselectFiles()
{
    ForEachItem(true, &TColumn::DeselectItem);
}

void TColumn::Com_ToggleFilesSelection()
{
    ForEachItem(true, &TColumn::ToggleItem);
}

void TColumn::Com_FilteredSelect()
{
    if (TSeam<TFileDialogServices>::Get().SelectionDialog(*this, true))
        FileList->Invalidate();
}

void TColumn::Com_FilteredDeselect()
{
    if (TSeam<TFileDialogServices>::Get().SelectionDialog(*this, false))
        FileList->Invalidate();
}

void TColumn::GetSelectedTitles(TStringList& titles, bool namesOnly) const
{
    titles.Clear();
    if (SelectedCount <= 0) {
        titles.Add(ActiveTitle);
        return;
    }
    const int32_t count = GetItemCount();
    for (int32_t i = 0; i < count; ++i) {
        const TFileListData& item = GetItem(i);
        if (item.Selected)
            titles.Add(namesOnly ? GetPathName(item.Title) : item.Title);
    }
}
