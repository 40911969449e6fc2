#include "panels/MyPanelOptions.h"

#include "core/ProgramOptions.h"

const TMyPanelSkin DefaultPanelSkin;

TMyPanelOptions GMyPanelOptions;

TMyPanelOptions::TMyPanelOptions()
{
    BindSkin(DefaultPanelSkin);
    BindProgramOptions(ProgramOptions);
}
