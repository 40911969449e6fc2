#include "mainwindow/MainForm.h"

void TMainForm::SetHotTrackItem(TColumn&, int32_t)
{
}

void TMainForm::CheckItemHotTrack()
{
}

void TMainForm::CheckFileHoverMouseMove(TColumn&, int32_t, int32_t, int32_t)
{
}

void TMainForm::HideFileHover()
{
}

bool TMainForm::HasThumbnail(const std::string&)
{
    return false;
}
