#include "mainwindow/PanelLooks.h"

#include "panels/MyTPanel.h"

#include "core/forms/Utilities.h"

void SetButtonLook(MyTPanel& panel)
{
    SetFieldLook(panel);
    panel.HotTrack = true;
    panel.HCenterCaption = true;
}

void SetFieldLook(MyTPanel& panel)
{
    panel.FaceColorSet = 0;
    panel.ButtonFace = true;
    panel.Transparent = true;
}

void SetTitleLook(MyTPanel& panel)
{
    SetFieldLook(panel);
    panel.PathEllipsis = true;
    panel.HotTrack = true;
}

int32_t GetLineHeightWithBorders(MyTPanel& panel)
{
    return GetFontHeight(panel.GetTextFont(), panel) + 2 * panel.Border;
}
