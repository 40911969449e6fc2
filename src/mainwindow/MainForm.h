#pragma once

#include "mainwindow/DirectoryTree.h"

#include "columns/Column.h"
#include "columns/InformationBar.h"
#include "columns/MainWindowItemPaint.h"
#include "columns/MainWindowMouse.h"

#include "core/errors/Error.h"
#include "core/settings/FileStorage.h"
#include "core/settings/StoredTextList.h"
#include "core/text/MyTime.h"

#include "viewing/MediaPlayer.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class MyTPanel;
class QAction;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QPainter;
class QMenu;
class QPlainTextEdit;
class QTimer;
class TContainer;
class TContainerDialog;
class TDropFileSource;
class TFileViewer;
struct TInterBoardFacts;
class TFileExtensionList;
class TMainWindowAdapters;
class TMouseMenuFrame;
class TPartitionsDialog;
class TStringList;

inline constexpr int32_t ColumnCount = 12;
inline constexpr int32_t InfoBarFieldCount = 7;

// The program's main window: twelve file-list columns (ten board columns, the hidden work
// column and the inter-board source column), the boards bar, the toolbar, the information
// bars, the hint bar and the panels of the tree, the play list and the viewer. Everything
// visible is a MyTPanel built in code. One instance, MainForm.
class TMainForm : public QWidget
{
public:
    explicit TMainForm(QWidget* owner = nullptr);
    ~TMainForm() override;
    TMainForm(const TMainForm&) = delete;
    TMainForm& operator=(const TMainForm&) = delete;

    // ---- Fields ----

    TCrono CaptionCrono;
    TCrono MediaCrono;
    TCrono DirMonitorCrono;
    std::unique_ptr<TStoredTextList> OptionsSTL;
    TFileStorage OptionsFS;
    bool StartupDone = false;
    // The window waits for its first paint to load the columns.
    bool ColumnsLoadAwaitsPaint = false;
    bool ActivationAwaitsStartup = false;
    // Set until the application is first activated, which starts the main timer.
    bool FirstActivation = true;
    // 1 to 10 board columns are shown.
    int32_t VisibleColumnCount = 2;
    int32_t ActiveColumnIndex = 0;
    // The last press on a column; the source of every drag and menu operation. Its
    // ColumnDragActive tells that a left-button drag of column items runs.
    TPressRecord Press;
    // The hot item and the hover window's item.
    THotItemRecord HotItems;
    // 0..9 board columns, 10 the hidden work column, 11 the inter-board source column.
    std::array<TColumn*, ColumnCount> Columns{};
    TContainerDialog* ContainerDialog = nullptr;
    bool ForceCheckPending = false;
    int32_t BusyCount = 1;

    QTimer* MainTimer = nullptr;

    MyTPanel* MainPanel = nullptr;
    MyTPanel* ToolbarPanel = nullptr;
    MyTPanel* UserLogoPanel = nullptr;
    MyTPanel* BoardsBarPanel = nullptr;
    MyTPanel* InfoBarsPanel = nullptr;
    MyTPanel* HintBarPanel = nullptr;
    MyTPanel* CenterPanel = nullptr;
    MyTPanel* TreePanel = nullptr;
    MyTPanel* PlayListPanel = nullptr;
    MyTPanel* WorkAreaPanel = nullptr;
    MyTPanel* ViewerPanel = nullptr;
    MyTPanel* ViewerSplitter = nullptr;
    MyTPanel* ViewerClientPanel = nullptr;
    MyTPanel* ColumnsPanel = nullptr;
    MyTPanel* WorkButton = nullptr;
    MyTPanel* HelpButton = nullptr;
    MyTPanel* SkinsButton = nullptr;
    MyTPanel* BoardsButton = nullptr;
    QPlainTextEdit* ViewerMemo = nullptr;
    MyTPanel* TreeSplitter = nullptr;
    MyTPanel* TreeInnerPanel = nullptr;
    MyTPanel* TreeViewPanel = nullptr;
    MyTPanel* TreePathPanel = nullptr;
    MyTPanel* PlayListSplitter = nullptr;
    MyTPanel* PlayListInnerPanel = nullptr;
    MyTPanel* PlayList = nullptr;
    MyTPanel* ProgressBar = nullptr;
    MyTPanel* VolumeBar = nullptr;
    MyTPanel* PlayListTitlePanel = nullptr;
    MyTPanel* MediaBarPanel = nullptr;
    MyTPanel* PlayButton = nullptr;
    MyTPanel* PauseButton = nullptr;
    MyTPanel* StopButton = nullptr;
    MyTPanel* NextButton = nullptr;
    MyTPanel* PrevButton = nullptr;
    MyTPanel* RandomButton = nullptr;
    MyTPanel* ClipButton = nullptr;
    MyTPanel* RepeatButton = nullptr;
    MyTPanel* FitButton = nullptr;
    MyTPanel* ColumnInfoBar = nullptr;
    std::array<MyTPanel*, InfoBarFieldCount> ColumnInfoFields{};
    MyTPanel* FileInfoBar = nullptr;
    std::array<MyTPanel*, InfoBarFieldCount> FileInfoFields{};
    MyTPanel* FileDescBar = nullptr;
    MyTPanel* FileDescField = nullptr;
    MyTPanel* ReferenceInfoBar = nullptr;
    std::array<MyTPanel*, InfoBarFieldCount> ReferenceInfoFields{};

    // ---- Construction and start-up (MainForm.cpp, MainFormStartup.cpp) ----

    void CreateColumns();
    // Shows the hint of the control under the mouse in the hint bar.
    void ShowApplicationHint(const std::string& hint);
    // Once, after every dialog form exists: program folders, option files, first layout,
    // first load of the columns.
    void Startup();
    // The program's own start: Startup, but the columns load after the window's first paint,
    // so a big folder does not keep the window from showing.
    void StartupLoadingColumnsWhenShown();
    // The options directory from the registry's "OptionsPath" when it names an existing
    // folder, else the "Options" folder beside the program.
    void SetOptionsFileNames();
    void ApplicationEventsActivate();
    void ApplicationEventsDeactivate();
    // Saves both option files; always allows the close.
    void FormCloseQuery(bool& canClose);

    // ---- Timer, busy counter, focus and directory checks (MainFormTimer.cpp) ----

    void MainTimerTimer();
    void CheckDirMonitor(bool force);
    void CheckRestDirMonitor(int32_t source, int32_t start);
    void RequestForcedCheck();
    bool IsBusy() const;
    void BeginBusy();
    void EndBusy();
    void EndBusyAndCheck();
    void InitBusy();
    void ResetBusy();
    void FocusColumn(int32_t index, bool force);
    void ReloadColumns();
    TColumn* ActiveColumn() const;
    // The column in the slot (0 to 11), or null.
    TColumn* GetColumn(int32_t index) const;
    MyTPanel* ActiveList() const;
    bool AreColumnWidthsEqual() const;
    bool AreSubcolumnsEqual() const;

    // ---- What the columns reach through their seams (MainForm.cpp) ----

    QWidget* GetColumnsPanel() const;
    int32_t GetVisibleColumnCount() const { return VisibleColumnCount; }
    int32_t GetActiveColumnIndex() const { return ActiveColumnIndex; }
    void SetActiveColumnIndex(int32_t index) { ActiveColumnIndex = index; }
    TPressRecord& GetPressRecord() { return Press; }
    THotItemRecord& GetHotItemRecord() { return HotItems; }
    // The container of the number (0 to 19), or null.
    TContainer* FindContainer(int32_t index) const;
    // The field's panel, or null.
    MyTPanel* GetInfoField(TInfoField field) const;
    bool IsInfoBarVisible(TInfoBar bar) const;
    // The object is the play list, which drags onto columns.
    bool IsPlayList(const QObject* source) const;

    // ---- The File menu (MainFormFileMenu.cpp) ----

    // The command menu of the active column and its focused item. Its commands are
    // actions named after them; keys and mouse operations click them by name.
    QMenu* FileMenu = nullptr;
    QAction* RecycleFileMenu = nullptr;
    QAction* DeleteFileMenu = nullptr;
    QAction* ClipFileTitlesMenu = nullptr;
    // Triggers the command of the name; an unknown or disabled one does nothing.
    void ClickCommand(const std::string& name);
    // Enables and checks the File-menu commands for the active column's state.
    void EnableFileMenuItems(TShiftState shift);
    // Selecting needs items; the selection commands themselves are always enabled.
    bool IsSelectMenuEnabled() const;
    // Prepares and pops up the File menu; a negative coordinate stands for the focused
    // item's anchor.
    void ShowFileMenu(int32_t x, int32_t y, TShiftState shift);
    // The context-menu key: a press on the active column's focused item, then the File
    // menu under it.
    void ShowFileMenuAtFocusedItem(TShiftState shift);
    // The focused-item anchor of the list on the screen: centred under its focused row.
    QPoint GetFocusedItemAnchor(MyTPanel& list) const;
    // Shows the search board, when there is one and a home column is asked for, then
    // searches from the active column.
    void SearchFile(int32_t homeColumn, const std::string& title);
    // Moves the active title's extension out of the program and document lists (or the
    // audio, video and text lists) and into the given one; null leaves it in neither. A
    // name without an extension changes no list. In memory only, until the next save.
    void SetExtensionFileType(TFileExtensionList* list);
    void SetExtensionViewerType(TFileExtensionList* list);
    // Saves the text option file where the options now belong, then reloads every column
    // so that changed file types show.
    void SaveOptionsAndUpdate();
    // Shows that many board columns (1 to 10), laid out and loaded anew.
    void VisibleColumnsMenuClick(int32_t count);

    // ---- The File-drag menu and the system menus (MainFormFileDragMenu.cpp) ----

    // The operations between the drag source (the press record's column) and the active
    // column.
    QMenu* FileDragMenu = nullptr;
    // Enables the commands for the drag in the press record (filling in a missing item
    // index with the source's focus). A failure is only recorded: every command is then
    // disabled.
    void EnableFileDragMenuItems(TShiftState shift);
    void PopupFileDragMenu(QPoint screenPos);
    // Copy, move, convert, link or compare between the drag source and the active column:
    // through the file-operation dialog, or as container entries when the active column
    // shows a container. `fromDrop`: into the dropped-on folder or link's folder.
    void OnCopyMove(const std::string& operation, bool fromDrop);
    // The system menu of the drag source's title (with Ctrl its reference, with Shift its
    // folder), or of the active column's selection; Alt shows nothing. A negative
    // coordinate stands for the anchor of the active column's list. Marks the next
    // directory check as forced.
    void ShowContextMenu(int32_t itemIndex, int32_t x, int32_t y, TShiftState shift, bool drag);
    void ShowSystemMenu(const std::string& caption, const std::string& title, const std::string& workingFolder,
                        int32_t x, int32_t y, QRect exclude);
    // Copies or moves one file or folder into the folder under a name the user gives in the
    // copy-as dialog; `lastNumbered` proposes the name after the active column's last
    // numbered one. A folder's content goes through the file-operation dialog into the
    // newly named folder.
    void Com_CopyAs(const std::string& sourceTitle, const std::string& destinationFolder, bool move, bool lastNumbered);
    // "Copy as hard-link": the copy-as dialog links the dragged file into the active
    // column's folder.
    void CopyAsHardLink();
    // The File-drag commands that need no dialog of their own.
    void DirectLocate();
    void SendToProgram(bool reference);
    // "Steg-in" and "Steg-out": the steg dialog between the dragged title and the
    // destination, the folders checked afterwards.
    void StegDrag(bool stegIn);

    // ---- Navigation, location and send menus (MainFormNavigation.cpp) ----

    // The menus built from the link folders: each is rebuilt just before it shows, so a
    // click belongs to the menu of its kind built last. The Locations menu and its shift
    // state:
    QMenu* LocationsMenuRoot = nullptr;
    TShiftState LocationsShiftState = 0;
    // The send-kind menu ("Send", the File-drag menu's "Send" or "Tools"): whether it hands
    // a source title (its entries are then links to programs) and a destination title.
    QMenu* SendMenuRoot = nullptr;
    bool SendUsesSource = false;
    bool SendUsesDest = false;
    std::string SendSourceTitle;
    std::string SendDestTitle;
    // Loads the path in the active column itself: a folder to list, or with `isDirectory`
    // false a title to focus in its folder. Alt stays in the press record's shift state.
    void GoToPath(const std::string& path, bool isDirectory);
    // A "History" entry: its folder with the focus it recorded.
    void HistoryMenuSelect(const std::string& title, int32_t type, int32_t offset, int64_t key);
    // The folder of the active column's default title, focused as the user last left it.
    void LoadDefaultDirectory();
    // Fills the menu from a link folder (the Locations folder in locations mode), headed by
    // the bold title unless it is empty. Alt, or a drag-bound menu without a dragged item,
    // leaves it empty and disabled; so does a send menu that would hand a container column
    // as destination.
    void SetupSendMenu(QMenu& item, const std::string& title, bool locationsMode, bool dragBound,
                       const std::string& filter, const std::string& folder, TShiftState shift);
    void SendMenuClick(const QAction& item);
    void LocationsMenuClick(const QAction& item);
    // The File menu's built link menus: "History", "Locations" and "Send".
    void SetupFileMenuLinkMenus();

    // ---- The drives menus and the mouse menu (MainFormDrives.cpp, MouseMenu.cpp) ----

    // Fills "Partitions" and the three "Drop to directory" menus with the drives.
    std::unique_ptr<TPartitionsDialog> PartitionsDialog;
    // The drives menus' closures. An empty path (their "Tree navigator" item) asks the
    // navigator for the folder; then the active column shows it, or the operation runs
    // from the drag source into it.
    void DrivesMenuShow(const std::string& path);
    void DrivesMenuOperation(const std::string& path, const std::string& operation);
    // Runs the file operation from the drag source column into the folder through the
    // file-operation dialog; the moved entries of a container source are reloaded.
    void CopyMoveToDir(const std::string& destinationFolder, const std::string& operation);
    // Rebuilds "Partitions" and the three "Drop to directory" menus.
    void SetupDrivesMenus();
    // The mouse menu of a right press on a column item.
    std::unique_ptr<TMouseMenuFrame> MouseMenuFrame;

    // ---- Layout (MainFormLayout.cpp) ----

    void Reset(bool clearLists);
    void ArrangeColumns();
    void SetToolbarButtonStyle(MyTPanel& button);
    void UserLogoPaint(QPainter& canvas);
    void FormResize();

    // ---- Option files (MainFormOptionsText.cpp, MainFormOptionsBinary.cpp) ----

    // The store's callbacks: the sections of "Quillomber.ini" in their fixed order.
    void OnLoadOptionsSTL(TStoredTextList& store, int32_t flag);
    void OnSaveOptionsSTL(TStoredTextList& store, int32_t flag);

    // The places, in file order, of the parts of "Quillomber.ini" that other forms own:
    // their sections, the file dialog's keys of "Main" and the recent play lists; and the
    // loading of the viewer plug-ins, which follows the program options that name them.
    enum TOptionsSTLPlace : int32_t
    {
        ospPasswordGenerator,
        ospViewerPlugins,
        ospFileDialog,
        ospSearchFile,
        ospFindCommonText,
        ospLocateFile,
        ospRecentPlayLists,
        ospFileStreamsEditor,
        ospSteg,
        ospMultiRename,
        ospTreeNavigator,
        ospCount
    };
    using TOptionsSTLHandler = std::function<void(TStoredTextList& store)>;
    // Each owner plugs its reader and writer into its place when it is made; the option
    // callbacks call them in the file's order. An empty handler reads or writes nothing.
    struct TOptionsSTLHook
    {
        TOptionsSTLHandler Load;
        TOptionsSTLHandler Save;
    };
    std::array<TOptionsSTLHook, ospCount> OptionsSTLHooks;

    // The boards and both histories in "Quillomber.qmo".
    void OnLoadOptionsFS(TFileStorage& storage, int32_t version);
    void OnSaveOptionsFS(TFileStorage& storage);
    // Every text at its longest and both histories full: no longer file is one of ours.
    static int32_t OptionsFSMaxPayloadSize();

    // ---- Window messages, global keys and background picture (MainFormMessages.cpp) ----

    // Starts listening for the wallpaper program's broadcast (nothing without a session bus).
    void ListenForWallpaperMessage();
    // The wallpaper message: with the skin editor's consent, the picture that the wallpaper
    // program left becomes the background when it is another one.
    void WallpaperMessageReceived();
    // The picture the wallpaper program shows now, as it left it in the registry; "" when none.
    static std::string GetWallpaperProgramPicture();
    // The window's key preview, before the focused control: true when the key was taken.
    bool PreviewKeyPress(int qtKey, Qt::KeyboardModifiers modifiers);
    // The window-wide keys: a key taken here is set to 0; any other goes on to the focused
    // control's key map.
    void FormKeyDown(uint16_t& key, TShiftState shift);
    // Rebuilds the picture behind the panels for the window's size, from the given file or,
    // for an empty title, the skin's own; the next MyTPanel::ResetAll shows it.
    void SetupBackPicture(const std::string& fileTitle);
    // Switches the background picture on with this file and shows it at once.
    void ChangeBackPicture(const std::string& fileTitle);

    // The layout commands of the window keys: a bar shown by an option, the panels that
    // the active board shows, minimising and closing the window.
    void ToggleBar(bool& shown);
    void ToggleMediaPlayList();
    void ToggleTreeNavigator();
    void HideApplication();
    void CloseProgram();

    // ---- Inter-board commands (MainFormInterBoard.cpp) ----

    // The press record of the last marking of an inter-board source.
    TShiftState IBShiftState = 0;
    int32_t IBItemIndex = 0;
    std::string IBItemTitle;

    // The inter-board source column takes the column's items, selection and focus, and the
    // press record is kept with it, so that the marking survives board switches.
    void MarkIBSourceColumn(TColumn& column);
    // Records a press on the active column's focused item, then marks the column.
    void MarkActiveAsIBSource(TShiftState shift);
    // The press record becomes the marking's, with the source column as the drag source, so
    // that the File-drag commands work from the marked column into the active one.
    void RestoreIBDragSource();
    // The inter-board file-drag menu of the mouse operation and of Shift+B: the File-drag
    // menu from the marked column, shown only once a column is marked. A negative
    // coordinate stands for the focused item's anchor.
    void ShowInterBoardFileDragMenu(int32_t x, int32_t y, TShiftState shift);
    void PopupIBFileDragMenu(int32_t x, int32_t y);

    // ---- Column attributes and containers (MainFormAttributes.cpp) ----

    // Shows the container (-1: the folder listing) in the active column; nothing when the
    // column shows it already.
    void ShowContainer(int32_t container);
    // The first visible column that shows the container, or -1.
    int32_t FindContainerColumn(int32_t container) const;
    // Appends the column's selected items in list order, deselecting them, or else its
    // active title, to the container; a null column is the active one. Nothing when the
    // column shows that container itself.
    void CopyToContainerMenuClick(int32_t container, TColumn* column);
    // Asks for a new name of the container the active column shows.
    void RenameContainer();

    // ---- Thumbnails (MainFormThumbnails.cpp) ----

    // Draws the file's thumbnail into the thumbnail rectangle through the picture cache and
    // its information line, or why there is none, into the information rectangle, in the
    // canvas's font and pen colour. The list is none for the hover window: then small
    // pictures are never enlarged and the scrolling rule does not apply. While the
    // thumbnail renders, no line is written. The outcome stays in FunStatContext.
    void PaintThumb(const std::string& fileName, MyTPanel* list, int64_t size, host::FileTime modified,
                    QPainter& canvas, QRect infoRect, QRect thumbRect);

    // ---- Viewer plug-ins ----

    // The process's plug-in slots (viewing/ViewerPlugins.h), reloaded from the options once
    // they are read and emptied when the window goes.
    void LoadViewerPlugins();
    void UnloadViewerPlugin(int32_t slot);
    void UnloadViewerPlugins();
    bool IsViewerPluginFile(const std::string& extension, int32_t slot) const;
    int32_t GetViewerPluginIndex(const std::string& extension) const;

    // ---- The viewer panel (MainFormViewer.cpp) ----

    std::unique_ptr<TFileViewer> FileViewer;
    // Shows the hidden viewer panel, laid out anew; nothing when it is shown.
    void ShowViewer();
    void HideViewerPanel();
    // The tallest viewer that leaves the first column one item row.
    int32_t GetMaxViewerHeight();
    // Fits the viewer panel into the work area; a height of 0 or less keeps its height.
    void SetViewerHeight(bool refit, int32_t height);
    // Stops the media and hides the viewer panel.
    void CloseViewer();
    // Hides the viewer panel, unless a movie plays in it.
    void HideViewer();
    void MaximizeViewerHeight();
    // The viewer splitter: a drag sets the panel's height within its limits, another
    // button hides the viewer.
    void ViewerSplitterMouseDown(TMouseButton button);
    void ViewerSplitterMoving(int32_t& distance);
    void ViewerSplitterMoved(int32_t distance);
    // The skin editor changed the colours.
    void SkinChanged();

    // ---- The media player and the play lists (MainFormMedia.cpp, MainFormPlayLists.cpp) ----

    MyTMediaPlayer MediaPlayer;
    // The main timer's media step: every 0.5 s the list advances, or a hover clip shows its
    // progress and closes when it ended; then the bars follow.
    void MediaTimerStep();
    // The keys "=", "-", "[" and "]"; false for every other key.
    bool MediaKeyDown(uint16_t key);
    // The recent menu's handler: resumes a play list or a media folder where it was left.
    void LastPlayedMPLMenuClick(const std::string& file, const std::string& lastTitle, int32_t position);

    // ---- The hover window (MainFormHover.cpp) ----

    // The media player plays a clip in the hover window.
    bool HoverClipPlaying = false;
    // The mouse on the screen when the hover window was shown.
    QPoint HoverOrigin;
    // The file has a thumbnail of its own: a picture, a text, a plug-in's file or an icon
    // source.
    bool HasThumbnail(const std::string& title);
    // The column reports the item under the mouse; the hover delay restarts.
    void SetHotTrackItem(TColumn& column, int32_t index);
    // Every 200 ms and at column mouse moves: shows the hover window when it is due.
    void CheckItemHotTrack();
    // Closes the hover window when the mouse left its item or moved too far.
    void CheckFileHoverMouseMove(TColumn& column, int32_t index, int32_t x, int32_t y);
    void HideFileHover();
    // Where the hot item lies and where the mouse is, on the screen.
    struct THotItemPlace
    {
        // The item's rectangle in its list's item area.
        QRect Item;
        QPoint Mouse;
        int32_t LineHeight = 0;
        // The item area's origin on the screen.
        QPoint Origin;
    };
    // The mouse rests on the hot item's type badge, in its first line.
    bool IsMouseOnHotItemBadge(THotItemPlace& place);
    // The hot item is painted plain and forgotten.
    void ClearHotTrackItem();

    // ---- Dropped files and outgoing drags (MainFormDrops.cpp) ----

    // The last drop of files from another program.
    struct TDropMessage
    {
        // Where it landed.
        QPoint ScreenPos;
    };
    TDropMessage DropMessage;
    // The names of the last drop in the drop's order; the menu's file commands empty it.
    std::vector<std::string> DroppedFiles;
    // The operations with the dropped files in the column dropped on.
    QMenu* ExternalFileDragMenu = nullptr;
    // Hands the items of a column drag over to other programs.
    TDropFileSource* DropFileSource = nullptr;
    // Lists the last drop's names in the hidden work column, the drag source of the
    // File-drop menu, activates the column dropped on and pops the menu up there. A
    // failure is shown.
    void ProcessDroppedFiles();
    // The visible column whose file list is under the point on the screen, else -1.
    int32_t GetColumnIndexUnderMouse(QPoint screenPos) const;
    // A left-button column drag whose cursor left the client rectangle (given on the screen)
    // goes out to other programs.
    static bool IsExternalDragDue(bool columnDragActive, bool leftButtonDown, QPoint cursor, QRect client);
    // Ends the column drag and drags the source column's selection, or its active title,
    // out of the window; Alt alone links, Shift alone moves, else it copies. A failure is
    // only recorded.
    void ActivateExternalDrag();

    // ---- Toolbar, Work and Help menus, side splitters (MainFormWorkMenu.cpp, MainFormSplitters.cpp) ----

    // Built in code like the File menu; each item is an action named after its command,
    // which the window keys click by name.
    QMenu* WorkPopupMenu = nullptr;
    QMenu* HelpPopupMenu = nullptr;
    // "Tools" and "Media play-lists", rebuilt whenever the Work menu opens.
    QMenu* ToolsMenu = nullptr;
    QMenu* MPLsMenu = nullptr;
    // The buttons' presses: the menu pops up below the button at the mouse's x. A failure
    // is only recorded.
    void WorkMenuButtonMouseDown();
    void HelpButtonMouseDown();
    // The options of every bar but the file information bar go off.
    void MaximizeColumnsHeight();
    void ToggleHoverInfo();
    // The thumbnail cache's and the histories' figures in a message.
    void ShowStatistics();
    // A drive letter for a host folder, or a letter given so taken back.
    void PartitionDialog(bool connect);
    // The splitters of the tree and the play list: a left-button drag sets the panel's
    // width within its limits, another button hides the panel.
    void TreeSplitterMouseDown(TMouseButton button);
    void TreeSplitterMoving(int32_t& distance);
    void TreeSplitterMoved(int32_t distance);
    void PlayListSplitterMouseDown(TMouseButton button);
    void PlayListSplitterMoving(int32_t& distance);
    void PlayListSplitterMoved(int32_t distance);

    // ---- The options dialog and the about box (MainFormAppearance.cpp) ----

    // "Options": after Okay the window takes the new options in; the focus follows either way.
    void OptionsMenuClick();
    // "About": the about box, then the focus back to the active column.
    void AboutMenuClick();

    // ---- Commands of later parts that the layout and the boards call ----

    // The window caption: the program name and the active board.
    void UpdateCaption();

    // ---- The directory tree panel (MainFormTree.cpp) ----

    // The drives and the folders expanded so far, in TreeViewPanel.
    TTreeView* TreeView = nullptr;
    // When the active board shows the tree, it expands to the board's tree path.
    void TreeFollowBoard();
    // The navigator dialog from the folder of the path: the chosen directory, or "".
    std::string TreeNavigatorDialog(const std::string& path);
    // "Tree navigator dialog": the chosen directory is entered in the active column.
    void TreeNavigatorMenuClick();
    // "Navigate to directory": the tree, shown first, expands to the active column's folder
    // and takes the focus.
    void NavigateToDirectoryMenuClick();
    // The object a column's drop names is this tree.
    bool IsDirectoryTree(const QObject* source) const;
    std::string GetSelectedTreePath() const;
    void TreeViewMouseMove(TShiftState shift, int32_t x, int32_t y);
    void TreeViewMouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    void TreeViewDragOver(QObject* source, bool& accept);
    void TreeViewDragDrop(QObject* source);
    void TreeViewChange(QTreeWidgetItem* node);
    void TreeViewCustomDrawItem(QPainter& canvas, QTreeWidgetItem& node, TTreeDrawState state);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    std::unique_ptr<TMainWindowAdapters> Adapters;
    // The innermost control the mouse entered last, whose hint the hint bar shows.
    QPointer<const QWidget> HintControl;

    // The start-up's two halves: options and layout, then the columns' first load, the tree
    // and the focus. The second runs once; closing the window runs it if it has not run.
    void ReadOptionsAndLayOut();
    void LoadColumnsAndFinishStartup();
    void BuildPanels();
    void BuildFileMenu();
    void BuildFileMenuAttributes(QMenu& menu);
    void BuildFileMenuVisibleColumns(QMenu& menu);
    void BuildFileMenuGroup(QMenu& menu);
    void BuildFileMenuOften(QMenu& menu);
    void BuildFileMenuMiscellaneous(QMenu& menu);
    void BuildFileMenuAssociations(QMenu& menu);
    void BuildFileMenuView(QMenu& menu);
    void BuildFileMenuSearch(QMenu& menu);
    void BuildFileMenuSelect(QMenu& menu);
    void BuildFileMenuContainer(QMenu& menu);
    void BuildColumnAttributeItems(QMenu& menu);
    void BuildFileMenuInterBoard(QMenu& menu);
    // The check marks of the attribute items from the active column, and the thumbnail
    // height's title for the shift state.
    void CheckColumnAttributes(TShiftState shift);
    // The inter-board title and the two container menus, which the enabling rebuilds.
    void SetInterBoardTitle(const TInterBoardFacts& facts);
    // The facts of the marked source beside the active column.
    TInterBoardFacts GetMarkedSourceFacts() const;
    void SetupContainerMenus();
    void BindContainerDialog();
    void CreatePartitionsDialog();
    void BuildFileMenuNavigate(QMenu& menu);
    void BuildFileMenuSystemLocations(QMenu& menu);
    // Checks "Default" when no options folder is stored, "Mark" when the stored one is the
    // active file's folder.
    void CheckSpecialPaths();
    void BuildFileDragMenu();
    // The drag source column of the press record, or null.
    TColumn* GetDragSourceColumn() const;
    // Runs the command on the drag source and the active column; without both, nothing.
    void OnDragColumns(const std::function<void(TColumn& source, TColumn& destination)>& command);
    // The dialogs made after the window keep their options in its option file.
    void PlugDialogOptions();
    void BuildViewer();
    void BindViewerSplitter();
    // "View next" and "View previous": the neighbouring item of the list, viewed.
    void ViewNext(TColumn& column, bool forward);
    // The splitter on top of the viewer panel, the picture and the memo below it.
    void LayoutViewer();
    void BuildToolbar();
    void BoardsButtonDragDrop(MyTPanel& button);
    void SkinsButtonMouseDown(MyTPanel& button, TShiftState shift);

    // Help, "Wizard": the wizard's checked boxes switch their options, and the window is
    // laid out again.
    void HelpWizardMenuClick();
    void ApplyWizardBoxes(const std::vector<std::string>& checkedBoxes);
    void BuildCenter();
    void BuildTreePanel();
    void BuildPlayListPanel();
    void BuildMediaBar();
    void BuildInfoBars();
    MyTPanel* MakePanel(QWidget* parent);
    MyTPanel* MakeButton(QWidget* parent, const std::string& caption, const std::string& hint);
    MyTPanel* MakeInfoBar();
    void MakeInfoFields(MyTPanel& bar, std::array<MyTPanel*, InfoBarFieldCount>& fields);
    void BindPanelOptions();
    void CreateProgramFolders();
    void ListenForApplicationActivation();
    void ApplyWallpaperHandOver();
    // The hint of the control, or of its nearest parent that has one.
    void ShowHintOf(const QWidget* control);
    // Hints follow the mouse: a control's hint shows when the mouse enters it, and again
    // whenever the control (or a parent whose hint it shows) rebuilds it.
    void FollowHints(const QObject* watched, QEvent::Type type);
    bool CheckDirMonitorColumn(TColumn& column, int32_t index, bool force);
    int32_t LayoutToolbar();
    void LayoutUserLogo();
    int32_t LayoutHintBar();
    int32_t LayoutInfoBars(int32_t bottom);
    void LayoutCenter(int32_t top, int32_t bottom);
    void LayoutPlayList();
    void LayoutTree();
    void HideInvisibleColumns();
    void BuildTreeView();
    // Colour, font and indent from the options, the tree filling its panel.
    void StyleTreeView();
    TTreeDrag TreeDrag;

    void BuildWorkMenu();
    void BuildWorkMenuLayout(QMenu& menu);
    void BuildHelpMenu();
    void BindToolbarMenuButtons();
    void BindSideSplitters();
    // The widest the tree and the play list may be: a share of the client width.
    int32_t GetTreeWidthMax() const;
    int32_t GetPlayListWidthMax() const;

    // What listing the last drop's names left in the trace context.
    TFunStatContext DropListing;
    void BuildExternalFileDragMenu();
    void EnableExternalFileDragMenuItems(const TColumn& drop);
    static void AcceptAsCopy(QDropEvent& event);
    void ExternalFileDragMenu_GoToFileClick();
    void ExternalFileDragMenu_CopyToThisContainerClick();
    // "Copy *", "Move *" and "Convert picture *".
    void ExternalFileDragMenu_FileCommandClick(const std::string& operation);
    void ExternalFileDragMenu_CopyAsClick(bool move);
    void ExternalFileDragMenu_SetAsBackgroundPictureClick();
};

extern TMainForm* MainForm;

// The bytes of text a text thumbnail of the size shows in items of the font size: a fifth
// of the area per point, and at least 1000.
int32_t GetThumbTextLength(QSize thumbSize, int32_t fontSize);

// True when the stream's name is "Description", in any letter case.
bool IsDescriptionStreamName(const std::string& name);
