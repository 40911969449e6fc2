#include "mainwindow/MainForm.h"

#include "columns/Column.h"
#include "panels/MyTPanel.h"

void TMainForm::MarkIBSourceColumn(TColumn& column)
{
    IBShiftState = Press.DragShiftState;
    IBItemIndex = Press.DragItemIndex;
    IBItemTitle = Press.DragItemTitle;
    TColumn& source = *Columns[IBSourceColumnIndex];
    source.SetWithColumnContent(column, false, false, false, true);
    source.FileList->SetFocusIndex(column.FileList->FocusIndex);
}

void TMainForm::MarkActiveAsIBSource(TShiftState shift)
{
    TColumn& column = *ActiveColumn();
    Press.DragSourceColumn = column.Index;
    Press.DragShiftState = shift;
    Press.DragItemIndex = column.FileList->FocusIndex;
    Press.DragItemTitle = column.ActiveTitle;
    MarkIBSourceColumn(column);
}
