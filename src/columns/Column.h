#pragma once

#include "columns/FileListData.h"
#include "columns/FileListSort.h"
#include "panels/MyTPanel.h"

#include "core/files/DirectoryMonitor.h"
#include "core/forms/InputState.h"

#include <QPoint>
#include <QPointer>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QObject;
class TContainer;
class TStringList;
struct TSearchResult;

inline constexpr int32_t MaxVisibleColumns = 10;
inline constexpr int32_t HiddenColumnIndex = 10;
inline constexpr int32_t IBSourceColumnIndex = 11;

// What one TColumn::LoadDirectory changes; a field left empty keeps what the column has,
// so a call names only what it changes (each field has its initializer, so that leaving
// one out is not taken for a slip): LoadDirectory({.ContainerIndex = -1, .Title = path}).
struct TLoadRequest
{
    // Leaving the folder remembers it as the previous title, as a user's navigation does.
    bool RememberPrevious = false;
    // A container to list (its index), or -1 for the file system.
    std::optional<int32_t> ContainerIndex = std::nullopt;
    // The title to list and focus; empty keeps the active title, except that leaving a
    // container (ContainerIndex -1) returns to where it was entered from.
    std::string Title = {};
    std::optional<int32_t> Type = std::nullopt;
    std::optional<int32_t> TopOffset = std::nullopt;
    std::optional<int64_t> Key = std::nullopt;
};

// One file-list column: a header button naming what it shows above a list of items. It
// lists a directory, the drives (when its active title is a drive name) or a container.
// It remembers its focus as a title, so that the focus survives reloads, and keeps the
// counts of the last listing and of the selection.
class TColumn
{
public:
    explicit TColumn(int32_t index);
    ~TColumn();
    TColumn(const TColumn&) = delete;
    TColumn& operator=(const TColumn&) = delete;

    // ---- Fields ----

    // The outer panel, owned by the column; it holds the header button and the list.
    MyTPanel* Panel = nullptr;
    // Pressed while the column is fixed; struck out when the listed directory changed.
    MyTPanel* HeaderButton = nullptr;
    // Its items are TFileListData.
    MyTPanel* FileList = nullptr;
    // The column begins a group of columns.
    bool FixedAttr = false;
    // Relative width in units, 1 to 10.
    int32_t WidthAttr = 1;
    // Items side by side in a row, 1 to 10.
    int32_t Subcolumns = 1;
    // Thumbnail height in text lines; 0 is "Fill" (one item fills the list).
    int32_t ThumbHeight = 3;
    bool ThumbAttr = false;
    std::string SortMode = "Name";
    bool ShowPathsInContainer = false;
    // -1 in directory mode, else the container shown (0 to 19).
    int32_t ContainerIndex = -1;
    // The full path of the focused item; the listed directory is its parent, and a drive
    // name means the list of drives.
    std::string ActiveTitle;
    int32_t ActiveType = ftDirectory;
    // How many rows below the top row the focused item stood.
    int32_t ActiveTopOffset = 0;
    // The focused item's key under the sort mode; kept as it is under "Name".
    int64_t ActiveKey = 0;
    // The active title before the last change of directory or the entry into a container.
    std::string PreviousTitle;
    // The title that "Default directory" loads.
    std::string DefaultTitle;
    TDirectoryMonitor DirMonitor;
    // The slot in the main window's columns, 0 to 11.
    int32_t Index = 0;
    // The counts of the last listing; generic files and the total size include the files
    // left out of the list.
    int32_t DirsCount = 0;
    int32_t LinksCount = 0;
    int32_t ProgramsCount = 0;
    int32_t DocumentsCount = 0;
    int32_t GenericCount = 0;
    int32_t EncryptedCount = 0;
    int64_t TotalSize = 0;
    // The count and size sum of the selected items, kept by every selection change.
    int32_t SelectedCount = 0;
    int64_t SelectedSize = 0;
    // The list's focus when it was last recorded; where the focus goes when its title
    // is not found.
    int32_t LastFocus = 0;

    // ---- Model, layout and view attributes (Column.cpp) ----

    // Lays the column out in the columns panel, or hides it when it is not a shown column.
    // Traced.
    void Reset(int32_t left, int32_t top, int32_t width, int32_t height);
    void ResetItemHeight();
    void ToggleFixedAttr();
    // The setters read the caption of the Attributes menu item clicked.
    void SetWidthAttr(const QAction& item);
    void SetSubcolumns(const QAction& item);
    void SetThumbHeight(const QAction& item, bool allColumns);
    void ToggleThumbAttr();
    void SetSortMode(const QAction& item);
    void ToggleShowPathsInContainer();
    void ResetToDefaults(bool resetFixed);
    // Empties the list (it keeps its placeholder) and zeroes every count.
    void ClearList();
    // The number of real items: 0 while the list holds only its placeholder.
    int32_t GetItemCount() const;
    TFileListData& GetItem(int32_t index) const;

    // ---- Listing, typing, grouping and sorting (ColumnListing.cpp) ----

    // Lists the directory that holds the title; an empty title or a drive name lists the
    // drives. Traced: "Failed to first find file.", "Failed to find next file.", which
    // leave the list and the counts empty.
    void LoadWithFiles(const std::string& title, const std::string& sortMode);
    // Traced.
    void LoadWithPartitions();
    // The paths in their own order, neither grouped nor sorted; a missing path is an item
    // that does not exist. Traced.
    void SetWithList(const TStringList& paths, bool select);
    // The container's entries in its order, with their numbers; nothing for a null
    // container. Traced.
    void SetWithContainer(const TContainer* container);
    // The list holds exactly these titles in this order, letter case included.
    bool IsSynchronizedWith(const TStringList& paths) const;
    // The rank of a type's group: a lower rank stands higher.
    int32_t GetTypeOrder(int32_t type) const;

    // ---- Loading and focusing (ColumnLoading.cpp) ----

    // The one entry through which a column is (re)loaded and focused; an empty request
    // reloads what the column lists. Traced; a directory that cannot be listed is not a
    // failure: its parent is listed instead.
    void LoadDirectory(const TLoadRequest& request);
    // Focuses the item of the title or, with nearest, the item that stands where the
    // title would. Traced.
    void FocusByTitle(const std::string& title, int32_t type, int32_t topOffset, int64_t key,
                      const std::string& sortMode, bool nearest, bool force);
    // Records the list's focus into the active fields, the header caption and the paths
    // history. Traced.
    void SetInactiveFocus();
    void SetActive();
    void FocusIndex(int32_t index);
    int32_t NextUnselected(int32_t from) const;
    // The first item of the name, its bytes equal; else the first whose name differs only
    // in letter case; -1 for none.
    int32_t IndexOfName(const std::string& name) const;
    void FileListScroll(bool moved);
    void FileListTopChange(int32_t topIndex);

    // ---- Selection (ColumnSelection.cpp) ----

    // Neither repaints.
    void SelectItem(int32_t index);
    void DeselectItem(int32_t index);
    void ToggleItem(int32_t index);
    // The run of items that share the item's selection state, upward or downward from
    // it, is flipped.
    void ToggleUpRun(int32_t index);
    void ToggleDownRun(int32_t index);
    void ToggleSelection(TShiftState shift, bool moveToNext);
    void Com_SelectAll();
    void Com_DeselectAll();
    void Com_ToggleAllSelection();
    // "Files" are the items that are not directories or drives.
    void Com_SelectFiles();
    void Com_DeselectFiles();
    void Com_ToggleFilesSelection();
    void Com_FilteredSelect();
    void Com_FilteredDeselect();
    // The selected titles (or names) in list order; the active title when none is selected.
    void GetSelectedTitles(TStringList& titles, bool namesOnly) const;

    // ---- Item painting (ColumnPaint.cpp) ----

    // The badge colours of an item type.
    struct TTypeColors
    {
        TColor Back;
        TColor Text;
    };

    // Paints the item into a bitmap of its size, then copies it onto the canvas (null: the
    // list's own canvas): only the name line with `lineOnly`, or with `lineOnlyWhenHot`
    // when the item is under the mouse. Painting the focused item of the focused list makes
    // the column active. Traced.
    void DrawAnItem(QPainter* canvas, int32_t index, bool lineOnlyWhenHot, bool lineOnly);
    void FileListDrawItem(QPainter& canvas, int32_t index);
    // The width of the type badge; for the mouse's hit tests it may be an invisible area.
    int32_t GetBadgeWidth(bool forHitTest);
    static TTypeColors GetTypeColors(int32_t type);

    // ---- Information bar (ColumnInfo.cpp) ----

    // Fills the information bars for the column and its focused item, read afresh from the
    // file system. Traced.
    void ShowInfo();
    // The description field, on one line; a description extends the title field's hint.
    // Traced.
    void SetDescriptionInfo(const std::string& text, bool fromLink);

    // ---- Copying column states and arranging the board (ColumnArrangement.cpp) ----

    // A column's content: its container, active state, sort mode, directory monitor, changed
    // mark, items and counts. Its view attributes: width, subcolumns, thumbnails, paths in
    // container, fixed attribute, previous and default titles.

    // This column takes the source's content; with `emptyList` its list is only cleared.
    // Traced.
    void SetWithColumnContent(TColumn& source, bool emptyList, bool focusByTitle, bool rememberPrevious,
                              bool takeActiveState);
    // This column takes the source's view attributes and content. Traced.
    void SetWithAllColumn(TColumn& source, bool copyFixed, bool emptyList, bool focusByTitle);
    void SetWithSourceColumn(TColumn& source);
    // Exchanges the contents of the two columns through the hidden column.
    void SwitchColumns(TColumn& other);
    // Each slot from first to last - 1 takes the content of the slot after it.
    void ShiftContentsLeft(int32_t first, int32_t last);
    // Each slot from last down to first + 1 takes the content of the slot before it.
    void ShiftContentsRight(int32_t first, int32_t last);
    // The first and last slots of the column's group: a fixed column begins a group, and
    // so does column 0; a group ends before the next fixed column or at the last visible
    // one.
    int32_t GetGroupFirst();
    int32_t GetGroupLast();
    // The arrangement commands show their failure at once and clear it.
    void InsertColumn(bool here);
    void Com_InsertColumnAtEnd();
    void Com_InsertColumnHere();
    void CutColumn();
    void Com_DeleteLastColumn();
    void Com_DeleteThisColumn();
    void Com_RotateColumnsToRight();
    void Com_RotateColumnsToLeft();

    // ---- Navigating across the columns and running items (ColumnNavigation.cpp) ----

    // Opens the folder in the next column of the group; Ctrl ("automove") opens it here
    // and moves the group's other columns left, Alt ("autohold") opens it here, and Shift
    // ("autoopen") cascades through the rest of the group. `folderItem`: the path names a
    // folder to list, not an item to focus.
    void EnterDirectory(TShiftState shift, const std::string& path, bool folderItem);
    // The parent of the listed directory, in the previous column of the group, with the
    // same modifiers (Ctrl moves the columns right, Shift cascades left).
    void EnterParentDirectory(TShiftState shift);
    // The cascades: only with Shift.
    void AutoOpenRight(int32_t start, int32_t end, TShiftState shift);
    void AutoOpenLeft(int32_t first, TShiftState shift);
    // Exchanges the active and previous titles; only with no modifier.
    void EnterPreviousDirectory(TShiftState shift);
    // Lists the folder (given with its trailing backslash, or a drive name for the list of
    // drives) with the item last focused there, or with nothing focused when the folder
    // has no history: the active state then stays as it was.
    void LoadFolderFromHistory(const std::string& folder, bool rememberPrevious);
    // Wrapping around the visible columns.
    void FocusPreviousColumn();
    void FocusNextColumn();
    // Enters the focused folder (or a link's folder) or starts the focused file. Shows its
    // failure at once and clears it.
    void Com_Run(TShiftState shift, bool maximized);

    // ---- Clipboard (ColumnClipboard.cpp) ----

    // The selected titles (or their references) in list order, else the active one, each
    // line ended by CR LF. Shows its failure at once and clears it.
    void Com_ClipSelectedFiles(bool references);
    // The active item's name, folder, title or reference; not traced: the clipboard shows
    // its own failure.
    void Com_ClipActiveName();
    void Com_ClipActivePath();
    void Com_ClipActiveTitle();
    void Com_ClipActiveReference();
    // Asks, then loads the clipboard's path as this column's active title. Shows its
    // failure at once and clears it.
    void Com_LoadActiveTitle();

    // ---- File commands (ColumnCommands.cpp) ----

    // Each command with a failure text shows its failure once and then clears it; the
    // commands that change files end with a forced directory check.
    void Com_GoToReference();
    void Com_NewFile(int32_t kind);
    // Creates a link to the active item (or its directory) in the folder, named after the
    // item and, with `namePrefix`, its directory.
    void Com_LinkAs(const std::string& caption, const std::string& folder, const std::string& arguments,
                    bool namePrefix, bool linkDirectory, bool useTargetFolder, bool minimised);
    void Com_ManualRun();
    // The file-operation dialog on the selection, or the focused item. Traced; the dialog
    // shows its own failures.
    void OnDelete(const std::string& operationName);
    void Com_Recycle();
    void Com_Delete();
    void Com_ClipFileTitles();
    // The rename dialog for the file, or with `item` the container item. Traced.
    void Com_rename(bool item);
    void Com_Properties(bool reference);
    void Com_print();
    // Edits the file, or with an empty text the active file.
    void Com_Edit(const std::string& file);
    void Com_EditStreams(int32_t mode);
    void Com_OpenFileWith();
    void Com_SetFileAsWallpaper();
    void Com_PasteClipboardPicture();

    // ---- Reload, search and locate commands (ColumnSearch.cpp) ----

    // Reloads this column in place; with Ctrl every visible board column.
    void Com_LoadDirectory(TShiftState shift);
    // The search dialog (of the file's duplicates, or of the navigation history) and what
    // its result asks for. Shows its failure at once and clears it.
    void Com_Search(const std::string& file, bool history);
    void Com_FindCommonText();
    void Com_LocateFile();
    void Com_LocateNextFile();
    void Com_LocatePreviousFile();
    // The first or last item of the run of titles around the focused one that differ only
    // in a trailing number ("photo1.jpg", "photo2.jpg"), or -1 for a list of one item.
    int32_t FindNumberedEnd(bool first) const;
    void Com_LocateNumbered(bool first);

    // ---- Mouse operations (ColumnMouse.cpp) ----

    // A press on the list records the press in the main window's press record, arms the
    // mouse menu (right button on an item) and starts a drag at once (left and right
    // buttons). Traced.
    void FileListMouseDown(MyTPanel* sender, TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    // The release of a button that started no drag: the middle button dispatches here.
    void FileListMouseUp(MyTPanel* sender, TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    // A drop from a column's list, from the play list or from the directory tree.
    void FileListDragDrop(MyTPanel* sender, QObject* source, int32_t x, int32_t y);
    void FileListEndDrag(MyTPanel* sender, QObject* target, int32_t x, int32_t y);
    // Dispatches one gesture that ended at the point of this column's list. Traced.
    void FileListMouse(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    // Chooses the option slot of the gesture and runs its operation.
    void ChooseFileListMouseOperation(TColumn& source, int32_t sourceItem, int32_t pressX, int32_t pressY,
                                      int32_t releaseItem, int32_t x, int32_t y, TMouseButton button,
                                      TShiftState shift);
    // Runs a click or drag operation by its exact name; an unknown name runs nothing.
    // Traced.
    void ChooseMouseOperation(const std::string& operation, TShiftState shift, QPoint screenPos);
    void MouseMenuChoose(const std::string& operation, QPoint screenPos);
    // The header button's operations run at the press.
    void HeaderButtonMouseDown(MyTPanel* sender, TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    // Traced.
    void ChooseHeaderButtonMouseOperation(const std::string& operation, TShiftState shift, int32_t x);
    // The point of the list's item area lies on the item's type badge: its first line, as
    // wide as the badge.
    bool IsOnBadge(int32_t index, int32_t x, int32_t y);

    // ---- Key map (ColumnKeys.cpp) ----

    // The list's key press: runs the File-menu command or the column method of the key and
    // its modifiers, and sets the key to 0 when it is one of the map's (Insert excepted,
    // which goes on to the list). Traced; the commands show their own failures.
    void FileListKeyDown(MyTPanel* sender, uint16_t& key, TShiftState shift);

    // ---- Hints and the other list events (ColumnHints.cpp) ----

    // The operation's name with what its modifier keys do; `runModifiers`: "Run" explains
    // the navigation modifiers (for directories and links).
    static std::string GetMouseOperationHint(const std::string& operation, bool runModifiers);
    void SetHeaderButtonHint();
    void FileListEnter(MyTPanel* sender);
    // Explains the operations of the place under the mouse in the list's hint. Traced.
    void FileListMouseMove(MyTPanel* sender, TShiftState shift, int32_t x, int32_t y);
    void FileListMouseWheel(MyTPanel* sender, TShiftState shift, bool& handled, QPoint mousePos);
    void FileListDragOver(MyTPanel* sender, QObject* source, int32_t x, int32_t y, TDragState state, bool& accept);

    // ---- Container operations (ColumnContainers.cpp) ----

    // A column that shows a container lists its entries one to one, so item and entry
    // indices coincide; the commands that work by position refuse with a Panic when the
    // column and its container are out of step. Every command is traced and shows its
    // failure at once.

    // Reloads this column as the container (-1: its own), then the other columns that
    // show it.
    void ReloadContainer(int32_t containerIndex);
    // The other visible columns that show this column's container take its listing.
    void UpdateRestOfContainers(int32_t containerIndex);
    // Appends the source's selection (or its active title). True only when the user
    // agreed and every entry went in.
    bool CopyToContainer(TColumn& source, bool deselect, bool move);
    // Moves the source's selected entries (or its focused one) into this column's
    // container: they leave the source's container only once they are all in this one.
    // True when the user agreed and every entry went in.
    bool MoveToContainer(TColumn& source);
    // Inserts the source's selection (or active title) before the item at the position;
    // a negative position is the focused item.
    void InsertContainerItem(TColumn& source, int32_t position);
    // Moves the source's selected entries (or the dragged one) before the item at the
    // position.
    void RelocateContainerItem(TColumn& source, int32_t position);
    // Removes the selected entries, else the focused one, or all; files are not touched.
    void RecycleFromContainer(bool noQuestion, bool all);
    void Com_ClearContainer();
    // A directory column recycles its selection (the file-operation dialog); a container
    // column removes the selected entries, or the focused one, from the container.
    void Com_RecycleContainerItem();
    // Keeps the first of entries equal but for letter case.
    void RemoveDuplicateContainerItems();
    void AddClipboardToContainer();
    void AddListToContainer(const std::vector<std::string>& paths, bool ask);
    void MultiRenameContainerItem(bool renameFiles);
    void MultiRenameFiles();
    // Lists the folder that holds the active entry, focused on it.
    void GoToContainerItemTarget();
    // Fills the "Attach stream" submenu with the streams of the active file.
    void SetupAttachStream(QMenu& menu);
    // Copies the dragged file's main data into the stream the item names.
    void AttachStreamMenuClick(const QAction& sender);

private:
    void CreateHeaderButton();
    void CreateFileList();
    void BindMouseEvents();
    void BindKeyEvents();
    // The point of the list in screen coordinates.
    QPoint ListToScreen(int32_t x, int32_t y) const;
    std::string GetPressedTitle(int32_t item) const;
    void ArmMouseMenu(int32_t x, int32_t y);
    void DropColumnDrag(int32_t x, int32_t y);
    void DropPlayList();
    void DropDirectoryTree();
    bool IsRealItem(int32_t index) const;
    void SetActiveTitleToOperatorDrive();
    void ApplyThumbHeight(int32_t height);
    // As LoadWithFiles; `entries` keeps what the folder held when it was listed, or nothing
    // when the listing failed.
    void LoadWithFiles(const std::string& title, const std::string& sortMode, std::vector<host::FindData>& entries);
    void CountType(int32_t type);
    void ListEntries(const std::string& directory, const std::vector<host::FindData>& entries, TSortKind kind);
    void AddListedPath(const std::string& path, bool select, int32_t itemNumber);
    void LoadDirectoryMode();
    void LoadContainerMode();
    bool ChangesDirectory(const std::string& title) const;
    int32_t FindNearest(const std::string& title, int32_t type, int64_t key, const std::string& sortMode) const;
    std::string GetHeaderCaption() const;
    void RecordFocus();
    template <class Action>
    void ForEachItem(bool filesOnly, Action action);
    // The column of the slot (this column for its own); raises when there is none.
    TColumn& GetSlot(int32_t index);
    // The search's result actions.
    int32_t FillSearchContainer(const TSearchResult& result);
    // The refusal, or "" once the found items are selected.
    std::string SelectFoundItems(const TSearchResult& result);

    QPointer<MyTPanel> OwnedPanel;
    // The bitmap each item is painted into, kept from row to row: making it anew costs
    // more than the row's text.
    QImage ItemBitmap;
};

// Gives a panel one caption in its normal and its down state.
void SetPanelText(MyTPanel& panel, const std::string& text);
