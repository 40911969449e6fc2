#include "mainwindow/MainForm.h"

#include "mainwindow/Boards.h"
#include "mainwindow/SkinEditorServices.h"

#include "panels/MyPanelOptions.h"
#include "panels/MyTPanel.h"

#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/forms/MessageBoxes.h"
#include "core/forms/Utilities.h"
#include "core/forms/VirtualKeys.h"
#include "core/settings/ProgramOptions.h"
#include "core/settings/SkinOptions.h"
#include "core/text/AsciiCase.h"

#include "host/WallpaperBroadcast.h"

#include "viewing/BackPicture.h"

#include <algorithm>
#include <iterator>

namespace {

// The modifiers a window key needs: any, none, or exactly one.
enum class TKeyModifiers
{
    Any,
    None,
    CtrlOnly,
    ShiftOnly,
    AltOnly
};

struct TWindowKey
{
    uint16_t Key;
    TKeyModifiers Modifiers;
    void (*Command)(TMainForm& form, TShiftState shift);
};

constexpr uint16_t VK_F4 = VK_F1 + 3;
constexpr uint16_t VK_F7 = VK_F1 + 6;
constexpr uint16_t VK_F8 = VK_F1 + 7;
constexpr uint16_t VK_F9 = VK_F1 + 8;

// The keys the window takes from every control. The commands of the viewer, the media
// player, the menus and the dialogs join this table as they are built; until then their
// keys reach the focused control.
const TWindowKey WindowKeys[] = {
    {VK_ESCAPE, TKeyModifiers::Any, [](TMainForm& form, TShiftState) { form.ClickCommand("HideViewerMenu"); }},
    {VK_SPACE, TKeyModifiers::Any, [](TMainForm& form, TShiftState) { form.ClickCommand("HideMenu"); }},
    {VK_F1, TKeyModifiers::AltOnly, [](TMainForm&, TShiftState) { ShowHelpNotAvailable(); }},
    {VK_F4, TKeyModifiers::AltOnly, [](TMainForm& form, TShiftState) { form.ClickCommand("CloseProgramMenu"); }},
    {VK_F7, TKeyModifiers::None, [](TMainForm& form, TShiftState) { form.ClickCommand("ShowHideMediaPlayListMenu"); }},
    {VK_F7, TKeyModifiers::CtrlOnly, [](TMainForm& form, TShiftState) { form.ClickCommand("CloseViewerMenu"); }},
    {VK_F7, TKeyModifiers::ShiftOnly, [](TMainForm& form, TShiftState) { form.ClickCommand("MaximizeViewerMenu"); }},
    {VK_F8, TKeyModifiers::None, [](TMainForm& form, TShiftState) { form.ClickCommand("ToggleHintBarMenu"); }},
    {VK_F8, TKeyModifiers::CtrlOnly, [](TMainForm& form, TShiftState) { form.ClickCommand("ToggleFileInfoBarMenu"); }},
    {VK_F8, TKeyModifiers::ShiftOnly,
     [](TMainForm& form, TShiftState) { form.ClickCommand("ToggleColumnInfoBarMenu"); }},
    {VK_F8, TKeyModifiers::AltOnly, [](TMainForm& form, TShiftState) { form.ClickCommand("ToggleBoardsBarMenu"); }},
    {VK_F9, TKeyModifiers::Any, [](TMainForm& form, TShiftState) { form.ClickCommand("ToggleTreeNavigatorMenu"); }},
    {'B', TKeyModifiers::None, [](TMainForm&, TShiftState) { Boards->EditProperties(); }},
    {'B', TKeyModifiers::CtrlOnly, [](TMainForm& form, TShiftState) { form.MarkActiveAsIBSource(0); }},
    {'B', TKeyModifiers::ShiftOnly, [](TMainForm& form, TShiftState) { form.ShowInterBoardFileDragMenu(-1, -1, 0); }},
    {'H', TKeyModifiers::None, [](TMainForm& form, TShiftState) { form.ClickCommand("SearchHistoryMenu"); }},
    {'O', TKeyModifiers::Any, [](TMainForm& form, TShiftState) { form.ClickCommand("OptionsMenu"); }},
    {'R', TKeyModifiers::Any, [](TMainForm& form, TShiftState) { form.ClickCommand("ManualRunMenu"); }},
    {'Z', TKeyModifiers::None, [](TMainForm& form, TShiftState) { form.ClickCommand("PasswordGeneratorMenu"); }},
    {'Z', TKeyModifiers::CtrlOnly, [](TMainForm& form, TShiftState) { form.ClickCommand("TextToCodeMenu"); }},
    {VK_APPS, TKeyModifiers::Any, [](TMainForm& form, TShiftState shift) { form.ShowFileMenuAtFocusedItem(shift); }},
};

bool IsModifierKey(uint16_t key)
{
    return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU;
}

bool HasModifiers(TShiftState shift, TKeyModifiers modifiers)
{
    switch (modifiers) {
    case TKeyModifiers::Any:
        return true;
    case TKeyModifiers::None:
        return IsKeyShiftEmpty(shift);
    case TKeyModifiers::CtrlOnly:
        return IsKeyShiftOnly(shift, ssCtrl);
    case TKeyModifiers::ShiftOnly:
        return IsKeyShiftOnly(shift, ssShift);
    case TKeyModifiers::AltOnly:
        return IsKeyShiftOnly(shift, ssAlt);
    }
    return false;
}

const TWindowKey* FindWindowKey(uint16_t key, TShiftState shift)
{
    const auto found = std::find_if(std::begin(WindowKeys), std::end(WindowKeys), [&](const TWindowKey& entry) {
        return entry.Key == key && HasModifiers(shift, entry.Modifiers);
    });
    return found == std::end(WindowKeys) ? nullptr : found;
}

} // namespace

// ---- Window messages ----

void TMainForm::ListenForWallpaperMessage()
{
    auto* listener = new host::WallpaperBroadcastListener([this] { WallpaperMessageReceived(); }, this);
    listener->Listen();
}

void TMainForm::WallpaperMessageReceived()
{
    TTraced trace;
    try {
        if (!TSeam<TSkinEditorServices>::Get().AcceptsBackPictureAutochange())
            return;
        const std::string picture = GetWallpaperProgramPicture();
        if (!picture.empty() && !SameTextAscii(picture, SkinOptions.BackPictureFileTitle))
            ChangeBackPicture(picture);
    }
    TRACED_CATCH(trace)
}

std::string TMainForm::GetWallpaperProgramPicture()
{
    return GetProgramRegistryText("Brastelwick", "", "BroadcastWallpaperChange");
}

// ---- Window keys ----

bool TMainForm::PreviewKeyPress(int qtKey, Qt::KeyboardModifiers modifiers)
{
    uint16_t key = GetVirtualKey(qtKey, modifiers);
    if (key == 0)
        return false;
    FormKeyDown(key, GetShiftState(modifiers));
    return key == 0;
}

void TMainForm::FormKeyDown(uint16_t& key, TShiftState shift)
{
    TTraced trace;
    try {
        if (IsModifierKey(key)) {
            key = 0;
            return;
        }
        if (isMinimized())
            showNormal();
        if (MediaKeyDown(key)) {
            key = 0;
            return;
        }
        HideFileHover();
        if (const TWindowKey* windowKey = FindWindowKey(key, shift)) {
            key = 0;
            windowKey->Command(*this, shift);
        }
    }
    TRACED_CATCH(trace)
}

void TMainForm::ToggleBar(bool& shown)
{
    shown = !shown;
    Reset(false);
    if (shown)
        SetViewerHeight(false, 0);
    FocusColumn(-1, false);
}

void TMainForm::ToggleMediaPlayList()
{
    TBoardData& board = Boards->GetActiveBoard();
    board.ShowPlayList = !board.ShowPlayList;
    Reset(false);
    SetViewerHeight(true, 0);
    FocusColumn(-1, false);
}

void TMainForm::ToggleTreeNavigator()
{
    TBoardData& board = Boards->GetActiveBoard();
    board.ShowTree = !board.ShowTree;
    Reset(false);
    SetViewerHeight(true, 0);
    TreeFollowBoard();
    FocusColumn(-1, false);
}

void TMainForm::HideApplication()
{
    showMinimized();
}

// The close query saves the option files.
void TMainForm::CloseProgram()
{
    close();
}

// ---- Background picture ----

void TMainForm::SetupBackPicture(const std::string& fileTitle)
{
    TTraced trace;
    try {
        GMyPanelOptions.BackPicture = QImage();
        GMyPanelOptions.Background = QImage();
        // The main panel covers the window's whole client area.
        GMyPanelOptions.SizingControl = MainPanel;
        if (!fileTitle.empty())
            SkinOptions.BackPictureFileTitle = CompleteBackPictureFileName(fileTitle);
        const TSkinOptions& skin = SkinOptions;
        if (skin.UseBackPicture && MyFileExists(skin.BackPictureFileTitle)) {
            TSkinEditorServices& editor = TSeam<TSkinEditorServices>::Get();
            std::unique_ptr<QImage> picture;
            LoadTilePictureToBitmap(skin.BackPictureFileTitle, picture, width(), height(), skin.FillingBackPictureColor,
                                    skin.StretchBackPicture, skin.FitBeforeTileBackPicture,
                                    editor.GetBackPictureMinStretchSize(), editor.GetStretchBackPictureMaxSkew() * 0.01,
                                    skin.FadeBackPicture, skin.RotateRGBackPicture, skin.RotateGBBackPicture,
                                    skin.RotateBRBackPicture, skin.GammaBackPicture);
            if (picture)
                GMyPanelOptions.BackPicture = std::move(*picture);
        }
    }
    TRACED_CATCH(trace)
}

void TMainForm::ChangeBackPicture(const std::string& fileTitle)
{
    TTraced trace;
    try {
        SkinOptions.UseBackPicture = true;
        // A fully opaque window would hide the new picture.
        if (SkinOptions.WindowBackTranslucency <= 0)
            SkinOptions.WindowBackTranslucency = 100;
        SetupBackPicture(fileTitle);
        MainPanel->ResetAll();
        FocusColumn(-1, false);
    }
    TRACED_CATCH(trace)
}
