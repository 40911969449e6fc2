#include "mainwindow/MainForm.h"

#include "mainwindow/Boards.h"
#include "mainwindow/MainWindowAdapters.h"
#include "mainwindow/MouseMenu.h"
#include "mainwindow/PanelLooks.h"
#include "mainwindow/PartitionsDialog.h"
#include "mainwindow/SkinEditorServices.h"

#include "viewing/FileViewer.h"
#include "viewing/PictureCache.h"
#include "viewing/ViewerPlugins.h"

#include "columns/ContainerDialog.h"
#include "columns/History.h"
#include "panels/MyPanelOptions.h"
#include "panels/MyTPanel.h"

#include "core/forms/FormPlacement.h"
#include "core/forms/VirtualKeys.h"
#include "core/settings/ProgramOptions.h"
#include "core/settings/SkinOptions.h"
#include "core/text/AsciiCase.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTimer>

TMainForm* MainForm = nullptr;

namespace {

const char* const HintBarHint =
    "Hint bar. When you move the mouse over a control (button, label, list), a description of that control (and "
    "what it does when used) is displayed here. You can hide this bar from the options dialog, or just press "
    "\"F8\". You can change the number of text lines displayed here, from the options dialog (the height of the "
    "bar is proportional with the number of text lines displayed).";
const char* const ViewerSplitterHint =
    "Drag this bar vertically to set a new height for the columns and viewer. [RMB] or [Esc] = hide the viewer "
    "panel. [Ctrl + F7] = close the viewer.";
const char* const TreeSplitterHint =
    "Drag this bar horizontally to set a new width for the columns and directory tree navigator. [RMB] = hide the "
    "directory tree navigator. [F9] = show / hide the directory tree navigator.";
const char* const PlayListSplitterHint =
    "Drag this bar horizontally to set a new width for the columns and media play-list. [RMB] = hide the media "
    "play-list. [F7] = show / hide the media play-list.";
const char* const SkinsButtonHint =
    "Show a menu with the available skins. Menu items are all files from the \"Skins\" directory; directories are "
    "displayed as submenus, but empty directories are not displayed. You can manually create your own files here, "
    "but you should use the \"Save as\" submenu instead. When you display the menu you can use: [Ctrl] = when a "
    "skin is loaded, only its colors are loaded (the other parameters remain the current ones).";
const char* const BoardsButtonHint =
    "Show a menu with the available boards. Drop a column on this button to set it as the inter-board source column "
    "(like when you use the \"File \\ Inter-board \\ Mark source column\" menu); the \"Boards\" menu is then "
    "displayed automatically. When you display the menu you can use: [Ctrl] = copy the active board in the clicked "
    "board; [Shift] = switch the active board with the clicked board; [Ctrl + Shift] = move the active board in the "
    "place of the clicked board.";
const char* const MediaBarHint =
    "Media-player. To play a media file, see the \"Viewer\" menu and the \"View\" mouse operation. When you close "
    "the program, the media-player is closed too, so any media stops playing.";
const char* const RandomButtonHint =
    "Use this if you want the media to be played in a random order. All media in the media play-list dialog will be "
    "randomly ordered. Thus, each media will be played only once, from top to bottom in the play-list. You can "
    "randomize a play-list multiple times. Just remember that you have to do this manually.";
const char* const FitButtonHint =
    "Toggle the \"Fit movie\" mode. If this is pressed then when you view a movie, if its size is smaller than the "
    "size of the viewer panel, the movie is zoomed to fit the panel. If it is bigger then it is always fit to the "
    "viewer panel.";

void SetHint(QWidget& control, const std::string& hint)
{
    control.setToolTip(QString::fromStdString(hint));
}

void SetNoFrame(MyTPanel& panel)
{
    panel.Framed = false;
}

void MakeSplitter(MyTPanel& splitter, const char* hint)
{
    splitter.SetKind(mpkSplitter);
    splitter.FaceColorSet = 0;
    splitter.ButtonFace = true;
    splitter.Transparent = true;
    SetHint(splitter, hint);
}

} // namespace

TMainForm::TMainForm(QWidget* owner) : QWidget(owner)
{
    setWindowTitle("Quillomber");
    resize(708, 534);
    move(5, 5);
    setMinimumSize(300, 200);
    QFont font("Arial");
    font.setPixelSize(12);
    setFont(font);
    MainForm = this;
    SetDialogsMainWindow(this);
    MainTimer = new QTimer(this);
    MainTimer->setInterval(200);
    connect(MainTimer, &QTimer::timeout, this, [this] { MainTimerTimer(); });
    qApp->installEventFilter(this);
    InitBusy();
    Press.DragStartX = -1;
    Press.DragStartY = -1;
    HotItems.HoverCrono.Start();
    BindPanelOptions();
    ContainerDialog = new TContainerDialog();
    BindContainerDialog();
    BuildPanels();
    BuildFileMenu();
    CreatePartitionsDialog();
    MouseMenuFrame = std::make_unique<TMouseMenuFrame>();
    BuildFileDragMenu();
    BuildExternalFileDragMenu();
    BuildWorkMenu();
    BuildHelpMenu();
    BindToolbarMenuButtons();
    BindSideSplitters();
    PlugDialogOptions();
    BuildViewer();
    // The columns make their panels on the columns panel that the services hand them.
    Adapters = std::make_unique<TMainWindowAdapters>(*this);
    CreateColumns();
    ListenForWallpaperMessage();
    ListenForApplicationActivation();
    // The plug-ins that the options name load as soon as the options are read.
    OptionsSTLHooks[ospViewerPlugins].Load = [this](TStoredTextList&) { LoadViewerPlugins(); };
}

TMainForm::~TMainForm()
{
    qApp->removeEventFilter(this);
    if (GetDialogsMainWindow() == this)
        SetDialogsMainWindow(nullptr);
    PathsHistory.OnSelect = nullptr;
    // No render may run while the plug-ins go, and no result may outlive the lists.
    PictureCache.Shutdown();
    UnloadViewerPlugins();
    Adapters.reset();
    delete ContainerDialog;
    for (TColumn*& column : Columns) {
        delete column;
        column = nullptr;
    }
    delete Boards;
    Boards = nullptr;
    GMyPanelGlobal.RootControl = nullptr;
    GMyPanelOptions.SizingControl = nullptr;
    if (MainForm == this)
        MainForm = nullptr;
}

void TMainForm::LoadViewerPlugins()
{
    ::LoadViewerPlugins();
}

void TMainForm::UnloadViewerPlugin(int32_t slot)
{
    ::UnloadViewerPlugin(slot);
}

void TMainForm::UnloadViewerPlugins()
{
    ::UnloadViewerPlugins();
}

bool TMainForm::IsViewerPluginFile(const std::string& extension, int32_t slot) const
{
    return ::IsViewerPluginFile(extension, slot);
}

int32_t TMainForm::GetViewerPluginIndex(const std::string& extension) const
{
    return ::GetViewerPluginIndex(extension);
}

// The cells point at the live skin and options, so a changed value shows at the next paint.
void TMainForm::BindPanelOptions()
{
    GMyPanelOptions.BindSkin(SkinOptions);
    GMyPanelOptions.BindProgramOptions(ProgramOptions);
}

void TMainForm::CreateColumns()
{
    for (int32_t i = 0; i < ColumnCount; ++i)
        Columns[static_cast<size_t>(i)] = new TColumn(i);
}

MyTPanel* TMainForm::MakePanel(QWidget* parent)
{
    return new MyTPanel(parent);
}

MyTPanel* TMainForm::MakeButton(QWidget* parent, const std::string& caption, const std::string& hint)
{
    MyTPanel* button = MakePanel(parent);
    SetButtonLook(*button);
    SetPanelText(*button, caption);
    SetHint(*button, hint);
    return button;
}

void TMainForm::BuildPanels()
{
    MainPanel = MakePanel(this);
    MainPanel->SetBorder(0);
    SetNoFrame(*MainPanel);
    GMyPanelGlobal.RootControl = MainPanel;
    GMyPanelOptions.SizingControl = MainPanel;

    ToolbarPanel = MakePanel(MainPanel);
    SetNoFrame(*ToolbarPanel);
    ToolbarPanel->Transparent = true;
    SetHint(*ToolbarPanel, "Toolbar");
    UserLogoPanel = MakePanel(ToolbarPanel);
    UserLogoPanel->SetBorder(0);
    UserLogoPanel->Transparent = true;
    UserLogoPanel->OnPaint = [this](QPainter& canvas) { UserLogoPaint(canvas); };

    BoardsBarPanel = MakePanel(MainPanel);
    SetNoFrame(*BoardsBarPanel);
    BoardsBarPanel->Transparent = true;
    Boards = new TBoards(*this, BoardsBarPanel);

    InfoBarsPanel = MakePanel(MainPanel);
    InfoBarsPanel->SetBorder(0);
    HintBarPanel = MakePanel(MainPanel);
    SetNoFrame(*HintBarPanel);
    HintBarPanel->Transparent = true;
    HintBarPanel->WordWrap = true;
    SetHint(*HintBarPanel, HintBarHint);

    BuildCenter();
    BuildToolbar();
    BuildTreePanel();
    BuildPlayListPanel();
    BuildInfoBars();
}

void TMainForm::BuildCenter()
{
    CenterPanel = MakePanel(MainPanel);
    CenterPanel->SetBorder(0);
    TreePanel = MakePanel(CenterPanel);
    SetNoFrame(*TreePanel);
    TreePanel->hide();
    TreePanel->Transparent = true;
    TreePanel->resize(300, TreePanel->height());
    SetHint(*TreePanel, "Directory tree navigator");
    PlayListPanel = MakePanel(CenterPanel);
    SetNoFrame(*PlayListPanel);
    PlayListPanel->hide();
    PlayListPanel->Transparent = true;
    PlayListPanel->resize(240, PlayListPanel->height());
    SetHint(*PlayListPanel, "Media play-list");
    WorkAreaPanel = MakePanel(CenterPanel);
    WorkAreaPanel->SetBorder(0);

    ViewerPanel = MakePanel(WorkAreaPanel);
    ViewerPanel->hide();
    ViewerPanel->SetBorder(0);
    ViewerPanel->Transparent = true;
    ViewerPanel->resize(ViewerPanel->width(), 250);
    ViewerSplitter = MakePanel(ViewerPanel);
    MakeSplitter(*ViewerSplitter, ViewerSplitterHint);
    ViewerSplitter->SetVertical(false);
    ViewerClientPanel = MakePanel(ViewerPanel);
    ViewerClientPanel->FaceColorSet = 1;
    ViewerClientPanel->Transparent = true;
    ColumnsPanel = MakePanel(WorkAreaPanel);
    SetNoFrame(*ColumnsPanel);
    ColumnsPanel->Transparent = true;
    ViewerMemo = new QPlainTextEdit(ViewerClientPanel);
    ViewerMemo->setFrameShape(QFrame::NoFrame);
    ViewerMemo->setReadOnly(true);
    ViewerMemo->setTabChangesFocus(false);
}

// The file viewer shows in the viewer panel and hands media to the player, which drives
// the play-list panel.
void TMainForm::BuildViewer()
{
    FileViewer =
        std::make_unique<TFileViewer>(ViewerPanel, ViewerMemo, TSeam<TOptionsMainWindow>::Get().FileViewerSettings());
    FileViewer->MediaPlayer = &MediaPlayer;
    // Pictures show below the viewer's splitter, where the memo is.
    FileViewer->PictureViewer.SetPanel(ViewerClientPanel);
    BindViewerSplitter();
    MediaPlayer.Bind({PlayListPanel, PlayList, PlayListTitlePanel, ProgressBar, VolumeBar, PlayButton, PauseButton,
                      StopButton, NextButton, PrevButton, RandomButton, ClipButton, RepeatButton, FitButton,
                      ViewerClientPanel},
                     *FileViewer);
    OptionsSTLHooks[ospRecentPlayLists] = {[this](TStoredTextList& store) { FileViewer->LastPlayedMPL.Load(store); },
                                           [this](TStoredTextList& store) { FileViewer->LastPlayedMPL.Save(store); }};
}

void TMainForm::BuildToolbar()
{
    WorkButton = MakeButton(ToolbarPanel, "Work", "");
    HelpButton = MakeButton(ToolbarPanel, "Help", "");
    SkinsButton = MakeButton(ToolbarPanel, "Skins", SkinsButtonHint);
    BoardsButton = MakeButton(ToolbarPanel, "Boards", BoardsButtonHint);
    for (MyTPanel* button : {WorkButton, HelpButton, SkinsButton, BoardsButton}) {
        button->ButtonShape = 2;
        button->InnerMargin = std::min(1, button->Border);
    }
    BoardsButton->OnMouseDown = [](MyTPanel* sender, TMouseButton, TShiftState shift, int32_t, int32_t) {
        Boards->ShowMenu(*sender, shift);
    };
    BoardsButton->OnDragOver = [this](MyTPanel*, QObject* source, int32_t, int32_t, TDragState, bool& accept) {
        accept = source != nullptr && source == ActiveList();
    };
    BoardsButton->OnDragDrop = [this](MyTPanel* sender, QObject*, int32_t, int32_t) { BoardsButtonDragDrop(*sender); };
    SkinsButton->OnMouseDown = [this](MyTPanel* sender, TMouseButton, TShiftState shift, int32_t, int32_t) {
        SkinsButtonMouseDown(*sender, shift);
    };
}

// With Ctrl held a chosen skin changes only the colours.
void TMainForm::SkinsButtonMouseDown(MyTPanel& button, TShiftState shift)
{
    TSeam<TSkinEditorServices>::Get().ShowMenu(button, !IsKeyShiftIn(shift, ssCtrl));
}

// A column dropped on the button becomes the inter-board source, and the boards menu opens
// as for a plain left press, so that the user picks the board to take it to. The keys held
// while dropping belong to the drag: with Ctrl or Shift the menu would copy, exchange or
// move boards instead, and the pick would overwrite a board's saved layout.
void TMainForm::BoardsButtonDragDrop(MyTPanel& button)
{
    MarkIBSourceColumn(*ActiveColumn());
    Boards->ShowMenu(button, ShiftOf(ssLeft));
}

void TMainForm::BuildTreePanel()
{
    TreeSplitter = MakePanel(TreePanel);
    MakeSplitter(*TreeSplitter, TreeSplitterHint);
    TreeSplitter->resize(14, TreeSplitter->height());
    TreeInnerPanel = MakePanel(TreePanel);
    TreeInnerPanel->SetBorder(0);
    TreeInnerPanel->Transparent = true;
    TreeViewPanel = MakePanel(TreeInnerPanel);
    TreeViewPanel->Transparent = true;
    TreePathPanel = MakePanel(TreeInnerPanel);
    SetTitleLook(*TreePathPanel);
    SetPanelText(*TreePathPanel, "Directory tree navigator");
    SetHint(*TreePathPanel, "Directory tree navigator");
    BuildTreeView();
}

void TMainForm::BuildPlayListPanel()
{
    PlayListSplitter = MakePanel(PlayListPanel);
    MakeSplitter(*PlayListSplitter, PlayListSplitterHint);
    PlayListSplitter->resize(14, PlayListSplitter->height());
    PlayListInnerPanel = MakePanel(PlayListPanel);
    PlayListInnerPanel->SetBorder(0);
    PlayListInnerPanel->Transparent = true;
    PlayList = MakePanel(PlayListInnerPanel);
    PlayList->SetKind(mpkList);
    PlayList->FaceColorSet = 1;
    PlayList->Transparent = true;
    for (MyTPanel** bar : {&ProgressBar, &VolumeBar}) {
        *bar = MakePanel(PlayListInnerPanel);
        (*bar)->SetKind(mpkLevelBar);
        (*bar)->FaceColorSet = 0;
        (*bar)->Transparent = true;
        (*bar)->resize(20, (*bar)->height());
    }
    PlayListTitlePanel = MakePanel(PlayListInnerPanel);
    SetTitleLook(*PlayListTitlePanel);
    SetPanelText(*PlayListTitlePanel, "Media play-list");
    SetHint(*PlayListTitlePanel, "Current media play-list (error messages are displayed here, as hint)");
    BuildMediaBar();
}

void TMainForm::BuildMediaBar()
{
    MediaBarPanel = MakePanel(PlayListInnerPanel);
    SetNoFrame(*MediaBarPanel);
    MediaBarPanel->Transparent = true;
    SetHint(*MediaBarPanel, MediaBarHint);
    PlayButton = MakeButton(MediaBarPanel, "Play", "Play the current media");
    PauseButton = MakeButton(MediaBarPanel, "", "Pause / resume (from paused position) the current media");
    StopButton = MakeButton(MediaBarPanel, "Stop", "Stop playing any media");
    NextButton = MakeButton(MediaBarPanel, "Next", "Play the next media (in play-list)");
    PrevButton = MakeButton(MediaBarPanel, "Prev", "Play the previous media (in play-list)");
    RandomButton = MakeButton(MediaBarPanel, "Rand", RandomButtonHint);
    ClipButton = MakeButton(MediaBarPanel, "Clip",
                            "Copy the reference of the active file (not the played media) into the clipboard");
    RepeatButton = MakeButton(MediaBarPanel, "Repeat",
                              "Toggle the \"Repeat\" mode. If this is pressed then the currently played media is "
                              "played repeatedly");
    FitButton = MakeButton(MediaBarPanel, "Fit", FitButtonHint);
    FitButton->Down = true;
}

MyTPanel* TMainForm::MakeInfoBar()
{
    MyTPanel* bar = MakePanel(InfoBarsPanel);
    bar->SetBorder(0);
    return bar;
}

void TMainForm::MakeInfoFields(MyTPanel& bar, std::array<MyTPanel*, InfoBarFieldCount>& fields)
{
    for (MyTPanel*& field : fields) {
        field = MakePanel(&bar);
        SetFieldLook(*field);
    }
}

void TMainForm::BuildInfoBars()
{
    ColumnInfoBar = MakeInfoBar();
    MakeInfoFields(*ColumnInfoBar, ColumnInfoFields);
    FileInfoBar = MakeInfoBar();
    MakeInfoFields(*FileInfoBar, FileInfoFields);
    FileInfoFields[5]->PathEllipsis = true;
    FileDescBar = MakeInfoBar();
    FileDescField = MakePanel(FileDescBar);
    SetFieldLook(*FileDescField);
    ReferenceInfoBar = MakeInfoBar();
    MakeInfoFields(*ReferenceInfoBar, ReferenceInfoFields);
    ReferenceInfoFields[3]->PathEllipsis = true;
}

QWidget* TMainForm::GetColumnsPanel() const
{
    return ColumnsPanel;
}

TContainer* TMainForm::FindContainer(int32_t index) const
{
    return ContainerDialog->Containers.Find(index);
}

MyTPanel* TMainForm::GetInfoField(TInfoField field) const
{
    if (field >= ifFiles && field <= ifPartitionAttributes)
        return ColumnInfoFields[static_cast<size_t>(field - ifFiles)];
    if (field >= ifIndex && field <= ifModified)
        return FileInfoFields[static_cast<size_t>(field - ifIndex)];
    if (field == ifDescription)
        return FileDescField;
    if (field >= ifReferenceType && field <= ifReferenceWorkingDirectory)
        return ReferenceInfoFields[static_cast<size_t>(field - ifReferenceType)];
    return nullptr;
}

bool TMainForm::IsInfoBarVisible(TInfoBar bar) const
{
    switch (bar) {
    case ibColumn:
        return ColumnInfoBar->isVisibleTo(this);
    case ibFile:
        return FileInfoBar->isVisibleTo(this);
    case ibDescription:
        return FileDescBar->isVisibleTo(this);
    case ibReference:
        return ReferenceInfoBar->isVisibleTo(this);
    }
    return false;
}

bool TMainForm::IsPlayList(const QObject* source) const
{
    return source != nullptr && source == PlayList;
}

void TMainForm::ShowApplicationHint(const std::string& hint)
{
    if (HintBarPanel->GetCaption() != hint)
        SetPanelText(*HintBarPanel, hint);
}

void TMainForm::ShowHintOf(const QWidget* control)
{
    while (control != nullptr && control->toolTip().isEmpty() && control != this)
        control = control->parentWidget();
    ShowApplicationHint(control != nullptr ? control->toolTip().toStdString() : std::string());
}

void TMainForm::FollowHints(const QObject* watched, QEvent::Type type)
{
    if ((type != QEvent::Enter && type != QEvent::ToolTipChange) || !watched->isWidgetType())
        return;
    const auto* control = static_cast<const QWidget*>(watched);
    if (control->window() != this)
        return;
    if (type == QEvent::Enter) {
        HintControl = control;
        ShowHintOf(control);
    } else if (type == QEvent::ToolTipChange && HintControl != nullptr &&
               (control == HintControl || control->isAncestorOf(HintControl))) {
        ShowHintOf(HintControl);
    }
}

// The window sees each key before the focused control does.
bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    FollowHints(watched, event->type());
    // Queued, so the first paint reaches the screen before the columns list their folders.
    if (ColumnsLoadAwaitsPaint && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<const QWidget*>(watched)->window() == this) {
        ColumnsLoadAwaitsPaint = false;
        QTimer::singleShot(0, this, [this] { LoadColumnsAndFinishStartup(); });
    }
    if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
        static_cast<const QWidget*>(watched)->window() == this) {
        const auto* key = static_cast<const QKeyEvent*>(event);
        return PreviewKeyPress(key->key(), key->modifiers());
    }
    return QWidget::eventFilter(watched, event);
}

bool IsDescriptionStreamName(const std::string& name)
{
    return SameTextAscii(name, "Description");
}
