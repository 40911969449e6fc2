#include "core/Application.h"
#include "core/ErrorForm.h"
#include "core/FileExtensions.h"

#include "viewing/PictureLoading.h"

#include "host/Drives.h"
#include "host/Process.h"

#include <QMainWindow>

int main(int argc, char** argv)
{
    host::SetCommandLine(std::vector<std::string>(argv, argv + argc));
    host::MapMountedDrives();
    SetPictureDecoders(&ImagingDecoders);
    TApplication application(argc, argv);
    application.setApplicationName("Quillomber");

    QMainWindow mainWindow;
    mainWindow.setWindowTitle("Quillomber");
    mainWindow.resize(800, 600);
    ErrorForm = new TErrorForm(&mainWindow);
    mainWindow.show();
    return application.exec();
}
