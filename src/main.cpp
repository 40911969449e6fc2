#include "tools/FileStreamsForm.h"
#include "tools/FindCommonTextForm.h"
#include "tools/PasswordGeneratorForm.h"
#include "tools/StegForm.h"
#include "tools/TextToCodeForm.h"
#include "tools/ToolForms.h"

#include "appearance/AboutForm.h"
#include "appearance/AppearanceDialogs.h"
#include "appearance/InstallForm.h"
#include "appearance/InstallerMode.h"
#include "appearance/SkinForm.h"

#include "mainwindow/BoardPropertiesForm.h"
#include "mainwindow/MainForm.h"
#include "mainwindow/PartitionConnectForm.h"
#include "mainwindow/TreeNavigatorForm.h"

#include "fileops/CopyAsForm.h"
#include "fileops/FileForm.h"
#include "fileops/LocateFileForm.h"
#include "fileops/ManualRunForm.h"
#include "fileops/MultiRenameItemForm.h"
#include "fileops/NewFileForm.h"
#include "fileops/OverwriteForm.h"
#include "fileops/RenameForm.h"
#include "fileops/SearchFileForm.h"
#include "fileops/SelectionForm.h"

#include "core/desktop/Application.h"
#include "core/desktop/ProgramVersion.h"
#include "core/errors/ErrorForm.h"
#include "core/errors/Traced.h"
#include "core/files/FileExtensions.h"
#include "core/forms/FormPlacement.h"
#include "core/forms/MessageBoxes.h"

#include "viewing/FileHoverForm.h"
#include "viewing/PictureLoading.h"

#include "host/Drives.h"
#include "host/PictureFiles.h"
#include "host/Process.h"

#include <cstdlib>
#include <memory>

int main(int argc, char** argv)
{
    host::SetCommandLine(std::vector<std::string>(argv, argv + argc));
    host::MapMountedDrives();
    RestoreConnectedPartitions();
    host::SetPictureAllocationLimit();
    TSeam<TPictureDecoders>::Install(&ImagingDecoders);
    // Qt's FFmpeg media backend crashes on play where there is no audio device; GStreamer
    // plays into a silent sink there.
    setenv("QT_MEDIA_BACKEND", "gstreamer", 0);
    TApplication application(argc, argv);
    application.setApplicationName("Quillomber");

    std::unique_ptr<TMainForm> mainForm;
    TToolForms toolForms;
    std::unique_ptr<TInstallForm> installForm;
    TAppearanceDialogs appearanceDialogs;
    TTraced trace;
    trace.Run([&] {
        if (IsInstallerMode()) {
            // No main window and no option file: the installer is the program's only form.
            installForm = std::make_unique<TInstallForm>();
            InstallForm = installForm.get();
            ErrorForm = new TErrorForm(InstallForm);
            InstallForm->Setup("Quillomber", "File manager", ProgramVersionText());
            CentreOnScreen(*InstallForm);
            InstallForm->show();
            application.exec();
            return;
        }
        // The main window comes first and must not touch the dialogs; they follow in the
        // program's fixed order, and the start-up step runs once all of them exist.
        mainForm = std::make_unique<TMainForm>();
        ErrorForm = new TErrorForm(mainForm.get());
        OverwriteForm = new TOverwriteForm(mainForm.get());
        RenameForm = new TRenameForm(mainForm.get());
        SelectionForm = new TSelectionForm(mainForm.get());
        BoardPropertiesForm = new TBoardPropertiesForm(mainForm.get());
        LocateFileForm = new TLocateFileForm(mainForm.get());
        CopyAsForm = new TCopyAsForm(mainForm.get());
        SkinForm = new TSkinForm(mainForm.get());
        FileForm = new TFileForm(mainForm.get());
        SearchFileForm = new TSearchFileForm(mainForm.get(), mainForm->ContainerDialog);
        ManualRunForm = new TManualRunForm(mainForm.get());
        NewFileForm = new TNewFileForm(mainForm.get());
        AboutForm = new TAboutForm(mainForm.get());
        FileStreamsForm = new TFileStreamsForm(mainForm.get());
        FileStreamsForm->PlugOptions(*mainForm);
        FindCommonTextForm = new TFindCommonTextForm(mainForm.get());
        FindCommonTextForm->PlugOptions(*mainForm);
        StegForm = new TStegForm(mainForm.get());
        StegForm->PlugOptions(*mainForm);
        TextToCodeForm = new TTextToCodeForm(mainForm.get());
        PasswordGeneratorForm = new TPasswordGeneratorForm(mainForm.get());
        PasswordGeneratorForm->PlugOptions(*mainForm);
        MultiRenameItemForm = new TMultiRenameItemForm(mainForm.get());
        TreeNavigatorForm = new TTreeNavigatorForm(mainForm.get());
        appearanceDialogs.SetOptionsFormOwner(mainForm.get());
        FileHoverForm = new TFileHoverForm(mainForm->MediaPlayer);
        mainForm->StartupLoadingColumnsWhenShown();
        mainForm->show();
        application.exec();
    });
    trace.ShowFailure("");
    // A window of its own, not the main window's child: it goes before the player it uses.
    delete FileHoverForm;
    FileHoverForm = nullptr;
    return 0;
}
