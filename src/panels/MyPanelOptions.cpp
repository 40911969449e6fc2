#include "panels/MyPanelOptions.h"

#include "core/settings/ProgramOptions.h"

const TMyPanelSkin DefaultPanelSkin;

TMyPanelOptions GMyPanelOptions;

TMyPanelOptions::TMyPanelOptions()
{
    BindSkin(DefaultPanelSkin);
    BindProgramOptions(ProgramOptions);
}
