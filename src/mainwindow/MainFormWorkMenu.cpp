#include "mainwindow/MainForm.h"

#include "mainwindow/MenuItems.h"
#include "mainwindow/PartitionConnectForm.h"
#include "mainwindow/ToolFormServices.h"

#include "viewing/FileViewer.h"
#include "viewing/PictureCache.h"

#include "columns/History.h"

#include "panels/MyTPanel.h"

#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/files/ProgramFolders.h"
#include "core/forms/MessageBoxes.h"
#include "core/settings/ProgramOptions.h"
#include "core/text/MyMath.h"

#include <QAction>
#include <QMenu>

// ---- Building ----

void TMainForm::BuildWorkMenu()
{
    WorkPopupMenu = new QMenu(this);
    QMenu& menu = *WorkPopupMenu;
    AddMenuTitle(menu, "WorkPopupMenu", "Work");
    ToolsMenu = AddSubmenu(menu, "ToolsMenu", "Tools");
    MPLsMenu = AddSubmenu(menu, "MPLsMenu", "Media play-lists");
    QMenu& gizmos = *AddSubmenu(menu, "GizmosMenu", "Gizmos");
    AddMenuCommand(gizmos, *this, "PasswordGeneratorMenu", "Password generator", "Z",
                   [] { TSeam<TToolFormServices>::Get().PasswordGeneratorDialog(""); });
    AddMenuCommand(gizmos, *this, "TextToCodeMenu", "Text to code", "Ctrl+Z",
                   [] { TSeam<TToolFormServices>::Get().TextToCodeDialog(); });
    menu.addSeparator();
    AddMenuCommand(menu, *this, "ConnectPartitionMenu", "Connect partition", "", [this] { PartitionDialog(true); });
    AddMenuCommand(menu, *this, "DisconnectPartitionMenu", "Disconnect partition", "",
                   [this] { PartitionDialog(false); });
    menu.addSeparator();
    AddMenuCommand(menu, *this, "OptionsMenu", "Options", "O", [this] { OptionsMenuClick(); });
    BuildWorkMenuLayout(*AddSubmenu(menu, "LayoutMenu", "Layout"));
    AddMenuCommand(menu, *this, "Statistics1", "Statistics", "", [this] { ShowStatistics(); });
    menu.addSeparator();
    AddMenuCommand(menu, *this, "HideMenu", "Hide", "Space", [this] { HideApplication(); });
    AddMenuCommand(menu, *this, "CloseProgramMenu", "Close program", "Alt+F4", [this] { CloseProgram(); });
}

void TMainForm::BuildWorkMenuLayout(QMenu& menu)
{
    AddMenuCommand(menu, *this, "ShowHideMediaPlayListMenu", "Toggle media play-list", "F7",
                   [this] { ToggleMediaPlayList(); });
    AddMenuCommand(menu, *this, "CloseViewerMenu", "Close viewer", "Ctrl+F7", [this] { CloseViewer(); });
    AddMenuCommand(menu, *this, "HideViewerMenu", "Hide viewer", "Esc", [this] { HideViewer(); });
    AddMenuCommand(menu, *this, "MaximizeViewerMenu", "Maximize viewer height", "Shift+F7",
                   [this] { MaximizeViewerHeight(); });
    AddMenuCommand(menu, *this, "MaximizeColumnsHeightMenu", "Maximize columns height", "",
                   [this] { MaximizeColumnsHeight(); });
    menu.addSeparator();
    AddMenuCommand(menu, *this, "ToggleHintBarMenu", "Toggle hint bar", "F8",
                   [this] { ToggleBar(ProgramOptions.ShowHintBar); });
    AddMenuCommand(menu, *this, "ToggleFileInfoBarMenu", "Toggle file info bar", "Ctrl+F8",
                   [this] { ToggleBar(ProgramOptions.ShowFileInfo); });
    AddMenuCommand(menu, *this, "ToggleColumnInfoBarMenu", "Toggle column info bar", "Shift+F8",
                   [this] { ToggleBar(ProgramOptions.ShowColumnInfo); });
    AddMenuCommand(menu, *this, "ToggleBoardsBarMenu", "Toggle boards bar", "Alt+F8",
                   [this] { ToggleBar(ProgramOptions.ShowBoardsBar); });
    AddMenuCommand(menu, *this, "ToggleTreeNavigatorMenu", "Toggle tree navigator", "F9",
                   [this] { ToggleTreeNavigator(); });
    menu.addSeparator();
    AddMenuCommand(menu, *this, "ToggleHoverInfoMenu", "Toggle hover info", "H", [this] { ToggleHoverInfo(); });
}

// The project has no help pages: each help item says so.
void TMainForm::BuildHelpMenu()
{
    HelpPopupMenu = new QMenu(this);
    QMenu& menu = *HelpPopupMenu;
    AddMenuTitle(menu, "HelpPopupMenu", "Help");
    AddMenuCommand(menu, *this, "HelpWizardMenu", "Wizard", "", [this] { HelpWizardMenuClick(); });
    AddMenuCommand(menu, *this, "HelpMainTopicMenu", "Main", "F1", ShowHelpNotAvailable);
    AddMenuCommand(menu, *this, "HelpInputMenu", "Keyboard, mouse", "", ShowHelpNotAvailable);
    AddMenuCommand(menu, *this, "HelpOnlineMenu", "Online", "", ShowHelpNotAvailable);
    menu.addSeparator();
    AddMenuCommand(menu, *this, "AboutMenu", "About", "", [this] { AboutMenuClick(); });
}

void TMainForm::BindToolbarMenuButtons()
{
    WorkButton->OnMouseDown = [this](MyTPanel*, TMouseButton, TShiftState, int32_t, int32_t) {
        WorkMenuButtonMouseDown();
    };
    HelpButton->OnMouseDown = [this](MyTPanel*, TMouseButton, TShiftState, int32_t, int32_t) { HelpButtonMouseDown(); };
}

// ---- The buttons ----

void TMainForm::WorkMenuButtonMouseDown()
{
    TTraced trace;
    try {
        SetupSendMenu(*ToolsMenu, "", false, false, "", GetToolsPath(), 0);
        TLastPlayedMPL& recent = FileViewer->LastPlayedMPL;
        recent.OnSelect = [this](const std::string& file, const std::string& lastTitle, int32_t position) {
            LastPlayedMPLMenuClick(file, lastTitle, position);
        };
        recent.Setup(*MPLsMenu);
        WorkButton->PopupMenuBelow(*WorkPopupMenu, -1);
    }
    TRACED_CATCH(trace)
}

void TMainForm::HelpButtonMouseDown()
{
    TTraced trace;
    try {
        HelpButton->PopupMenuBelow(*HelpPopupMenu, -1);
    }
    TRACED_CATCH(trace)
}

// ---- The commands ----

void TMainForm::MaximizeColumnsHeight()
{
    for (bool* bar : {&ProgramOptions.ShowBoardsBar, &ProgramOptions.ShowColumnInfo, &ProgramOptions.ShowFileDesc,
                      &ProgramOptions.ShowReferenceInfo, &ProgramOptions.ShowHintBar})
        *bar = false;
    Reset(false);
    FocusColumn(-1, false);
}

void TMainForm::ToggleHoverInfo()
{
    ProgramOptions.FileHoverActive = !ProgramOptions.FileHoverActive;
}

void TMainForm::ShowStatistics()
{
    ShowInfoMessage("Thumbnail picture cache:\n    * Pictures: " + IntToSeparatedText(PictureCache.Count()) +
                    "\n    * Size: " + GetSizeText(6, 0, PictureCache.GetSize()) +
                    "\n\nNavigation history:\n    * Visited directories: " + std::to_string(PathsHistory.Count) +
                    "\n    * Launched files: " + std::to_string(FilesHistory.Count));
}

void TMainForm::PartitionDialog(bool connect)
{
    TPartitionConnectForm form(connect, this);
    form.Dialog();
    FocusColumn(-1, false);
}
