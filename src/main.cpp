#include "appearance/InstallerMode.h"
#include "appearance/SkinForm.h"

#include "mainwindow/BoardPropertiesForm.h"
#include "mainwindow/MainForm.h"

#include "core/Application.h"
#include "core/ErrorForm.h"
#include "core/FileExtensions.h"
#include "core/MessageBoxes.h"

#include "viewing/PictureLoading.h"

#include "host/Drives.h"
#include "host/Process.h"

int main(int argc, char** argv)
{
    host::SetCommandLine(std::vector<std::string>(argv, argv + argc));
    host::MapMountedDrives();
    SetPictureDecoders(&ImagingDecoders);
    TApplication application(argc, argv);
    application.setApplicationName("Quillomber");

    if (IsInstallerMode()) {
        ShowInfoMessage("The installer is not built yet.");
        return 0;
    }
    auto* mainForm = new TMainForm();
    ErrorForm = new TErrorForm(mainForm);
    SkinForm = new TSkinForm(mainForm);
    BoardPropertiesForm = new TBoardPropertiesForm(mainForm);
    mainForm->Startup();
    mainForm->show();
    const int result = application.exec();
    delete mainForm;
    return result;
}
