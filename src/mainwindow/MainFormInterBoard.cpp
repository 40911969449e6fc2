#include "mainwindow/MainForm.h"

#include "mainwindow/FileMenuStates.h"
#include "mainwindow/MenuItems.h"

#include "columns/Column.h"
#include "columns/Containers.h"
#include "panels/MyTPanel.h"

#include <QAction>
#include <QMenu>

void TMainForm::BuildFileMenuInterBoard(QMenu& menu)
{
    AddSubmenuTitle(menu, *this, "IBTitleMenu", "No marked column");
    AddMenuCommand(menu, *this, "MarkIBSourceColumnMenu", "Mark source column", "Ctrl+B", [this] {
        if (TColumn* column = ActiveColumn())
            MarkIBSourceColumn(*column);
    });
    AddMenuCommand(menu, *this, "ShowIBFileDragMenu", "Show File-drag menu", "Shift+B",
                   [this] { PopupIBFileDragMenu(-1, -1); });
    menu.addSeparator();
    AddMenuCommand(menu, *this, "SetWithIBSourceColumnMenu", "Set with source column", "", [this] {
        if (TColumn* column = ActiveColumn())
            column->SetWithSourceColumn(*Columns[IBSourceColumnIndex]);
    });
    const auto fromMarked = [this](const char* operation) {
        return [this, operation] {
            RestoreIBDragSource();
            OnCopyMove(operation, false);
        };
    };
    AddMenuCommand(menu, *this, "IBCopyFileMenu", "Copy *", "", fromMarked("Copy"));
    AddMenuCommand(menu, *this, "IBConvertPictureMenu", "Convert picture *", "", fromMarked("Convert picture"));
    AddMenuCommand(menu, *this, "IBMoveFileMenu", "Move *", "", fromMarked("Move"));
}

TInterBoardFacts TMainForm::GetMarkedSourceFacts() const
{
    const TColumn& source = *Columns[IBSourceColumnIndex];
    const TContainer* container = FindContainer(source.ContainerIndex);
    return GetInterBoardFacts(source, IBItemTitle, container != nullptr ? container->GetDisplayName() : "",
                              ActiveColumn());
}

void TMainForm::SetInterBoardTitle(const TInterBoardFacts& facts)
{
    findChild<QAction*>("IBTitleMenu")->setText(QString::fromStdString(EscapeMenuCaption(GetInterBoardTitle(facts))));
}

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

void TMainForm::RestoreIBDragSource()
{
    Press.DragSourceColumn = IBSourceColumnIndex;
    Press.DragShiftState = IBShiftState;
    Press.DragItemIndex = IBItemIndex;
    Press.DragItemTitle = IBItemTitle;
}

void TMainForm::ShowInterBoardFileDragMenu(int32_t x, int32_t y, TShiftState shift)
{
    Press.DragShiftState = shift;
    if (const MyTPanel* list = ActiveList())
        Press.OperationItemIndex = list->FocusIndex;
    EnableFileMenuItems(shift);
    if (findChild<QAction*>("ShowIBFileDragMenu")->isEnabled())
        PopupIBFileDragMenu(x, y);
}

void TMainForm::PopupIBFileDragMenu(int32_t x, int32_t y)
{
    RestoreIBDragSource();
    EnableFileDragMenuItems(Press.DragShiftState);
    const QPoint anchor = ActiveList() != nullptr ? GetFocusedItemAnchor(*ActiveList()) : QPoint();
    PopupFileDragMenu(QPoint(x < 0 ? anchor.x() : x, y < 0 ? anchor.y() : y));
}
