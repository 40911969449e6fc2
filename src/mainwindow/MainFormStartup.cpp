#include "mainwindow/MainForm.h"

#include "fileops/FileForm.h"

#include "mainwindow/AppearanceServices.h"
#include "mainwindow/Boards.h"
#include "mainwindow/SkinEditorServices.h"

#include "columns/ContainerDialog.h"
#include "panels/MyTPanel.h"

#include "core/desktop/DropSource.h"
#include "core/desktop/EditLink.h"
#include "core/desktop/ProgramVersion.h"
#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/files/PathNames.h"
#include "core/files/ProgramFolders.h"
#include "core/forms/Utilities.h"
#include "core/settings/ProgramOptions.h"
#include "core/settings/SkinOptions.h"

#include "host/FileSystem.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QTimer>

namespace {

const char* const OptionsTextFileName = "Quillomber.ini";
const char* const OptionsBinaryFileName = "Quillomber.qmo";

} // namespace

// Each folder one level deep; a failure is no reason to stop the start-up.
void TMainForm::CreateProgramFolders()
{
    for (const std::string& folder :
         {GetPluginsPath(), GetOptionsPath(), GetContainersPath(), GetLocationsPath(), GetSendPath(), GetSendDragPath(),
          GetToolsPath(), GetSkinsPath(), GetBackPicturesPath()})
        host::CreateDirectory(folder);
}

void TMainForm::Startup()
{
    ReadOptionsAndLayOut();
    LoadColumnsAndFinishStartup();
}

void TMainForm::StartupLoadingColumnsWhenShown()
{
    ReadOptionsAndLayOut();
    ColumnsLoadAwaitsPaint = true;
}

void TMainForm::ReadOptionsAndLayOut()
{
    TSeam<TAppearanceServices>::Get().SetAboutLabels("Quillomber", ProgramVersionText());
    TSeam<TSkinEditorServices>::Get().SetOnSkinChanged([this] { SkinChanged(); });
    CreateProgramFolders();
    MakeEditLinkWhenMissing();
    MediaPlayer.SetPlayListItemHeight();
    MediaPlayer.Stop();
    setAcceptDrops(true);
    DropFileSource = new TDropFileSource(this);
    OptionsSTL = std::make_unique<TStoredTextList>(std::string());
    SetOptionsFileNames();
    OptionsSTL->OnLoad = [this](TStoredTextList& store, int32_t flag) { OnLoadOptionsSTL(store, flag); };
    OptionsSTL->OnSave = [this](TStoredTextList& store, int32_t flag) { OnSaveOptionsSTL(store, flag); };
    OptionsSTL->Load(0);
    ContainerDialog->Containers.LoadAll();
    OptionsFS.Signature = "Quillomber Options";
    OptionsFS.Version = 3;
    OptionsFS.MaxPayloadSize = OptionsFSMaxPayloadSize();
    OptionsFS.OnLoad = [this](TFileStorage& storage, int32_t version) { OnLoadOptionsFS(storage, version); };
    OptionsFS.OnSave = [this](TFileStorage& storage) { OnSaveOptionsFS(storage); };
    OptionsFS.Load();
    Boards->SetActiveBoard(Boards->ActiveBoard);
    ApplyWallpaperHandOver();
    SetupBackPicture("");
    Reset(false);
    ResetBusy();
}

void TMainForm::LoadColumnsAndFinishStartup()
{
    if (StartupDone)
        return;
    ColumnsLoadAwaitsPaint = false;
    DirMonitorCrono.Restart();
    ReloadColumns();
    LoadTreeWithPartitions(*TreeView);
    TreeFollowBoard();
    FocusColumn(-1, false);
    StartupDone = true;
    // The user's return while the columns waited counts now.
    if (ActivationAwaitsStartup && QGuiApplication::applicationState() == Qt::ApplicationActive)
        ApplicationEventsActivate();
    ActivationAwaitsStartup = false;
}

// The wallpaper program leaves the picture it shows in the registry; the window takes it
// over when the user asked for that.
void TMainForm::ApplyWallpaperHandOver()
{
    if (!TSeam<TSkinEditorServices>::Get().AcceptsBackPictureAutochange())
        return;
    TTraced trace;
    try {
        const std::string picture = GetWallpaperProgramPicture();
        if (!picture.empty())
            SkinOptions.BackPictureFileTitle = picture;
    }
    TRACED_CATCH(trace)
}

void TMainForm::SetOptionsFileNames()
{
    std::string directory;
    TTraced trace;
    try {
        directory = ExcludeEndBackslash(GetProgramRegistryText("Quillomber", "", "OptionsPath"));
    }
    TRACED_CATCH(trace)
    // Only a folder can hold the option files; a file of that name would make every save fail.
    directory = !directory.empty() && IsDirectory(directory) ? IncludeEndBackslash(directory) : GetOptionsPath();
    if (OptionsSTL)
        OptionsSTL->FileName = directory + OptionsTextFileName;
    OptionsFS.FileName = directory + OptionsBinaryFileName;
}

void TMainForm::ApplicationEventsActivate()
{
    if (!StartupDone) {
        ActivationAwaitsStartup = true;
        return;
    }
    TTraced trace;
    try {
        RequestForcedCheck();
        if (FirstActivation) {
            FirstActivation = false;
            if (ProgramOptions.FirstRun)
                ClickCommand("HelpWizardMenu");
            CaptionCrono.Restart(5);
            MediaCrono.Restart();
            MainTimer->start();
            MainTimerTimer();
        }
        HotItems.HoverCrono.Restart();
    }
    TRACED_CATCH(trace)
}

void TMainForm::ApplicationEventsDeactivate()
{
    HideFileHover();
    // After the user returns the window may open again for the same item.
    HotItems.HoverColumn = nullptr;
    HotItems.HoverItem = -1;
}

void TMainForm::FormCloseQuery(bool& canClose)
{
    canClose = true;
    MediaPlayer.StoreLastPlayedPosition();
    // Before start-up nothing has been read, and saving would replace the user's files
    // with defaults.
    if (!OptionsSTL)
        return;
    LoadColumnsAndFinishStartup();
    SetOptionsFileNames();
    OptionsSTL->Save(false, 0);
    OptionsFS.Save(false);
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    // The file-operation engine runs inside its dialog on this thread; the window stays
    // until it ends.
    if (FileForm != nullptr && FileForm->IsWorking()) {
        event->ignore();
        return;
    }
    bool canClose = true;
    FormCloseQuery(canClose);
    event->setAccepted(canClose);
}

// The application, not this window: the program's own dialogs coming and going are no
// return of the user.
void TMainForm::ListenForApplicationActivation()
{
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            ApplicationEventsActivate();
        else
            ApplicationEventsDeactivate();
    });
}
