#include "mainwindow/MainForm.h"

#include "mainwindow/MenuItems.h"

#include <QMenu>

void TMainForm::BuildFileDragMenu()
{
    FileDragMenu = new QMenu(this);
    AddMenuTitle(*FileDragMenu, "FileDragMenu_Title", "File-drag");
}

void TMainForm::EnableFileDragMenuItems(TShiftState)
{
}

void TMainForm::PopupFileDragMenu(QPoint)
{
}

void TMainForm::OnCopyMove(const std::string&, bool)
{
}

void TMainForm::ShowContextMenu(int32_t, int32_t, int32_t, TShiftState, bool)
{
}

void TMainForm::ShowSystemMenu(const std::string&, const std::string&, const std::string&, int32_t, int32_t, QRect)
{
}
