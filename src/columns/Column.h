#pragma once

#include "columns/FileListData.h"
#include "columns/FileListSort.h"
#include "columns/MyTPanel.h"

#include "core/DirectoryMonitor.h"
#include "core/InputState.h"

#include <QPointer>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

class QAction;
class TContainer;
class TStringList;

inline constexpr int32_t MaxVisibleColumns = 10;
inline constexpr int32_t HiddenColumnIndex = 10;
inline constexpr int32_t IBSourceColumnIndex = 11;

// The values of TColumn::LoadDirectory's arguments that keep what the column has.
inline constexpr int32_t KeepContainerIndex = -2;
inline constexpr int32_t KeepType = -1;
inline constexpr int32_t KeepTopOffset = std::numeric_limits<int32_t>::min();
inline constexpr int64_t KeepKey = -1;

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

    // The one entry through which a column is (re)loaded and focused. The Keep values
    // keep what the column has. Traced; a directory that cannot be listed is not a
    // failure: its parent is listed instead.
    void LoadDirectory(bool rememberPrevious, int32_t containerIndex, const std::string& title, int32_t type,
                       int32_t topOffset, int64_t key);
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

private:
    void CreateHeaderButton();
    void CreateFileList();
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
    int32_t FindTitle(const std::string& name) const;
    int32_t FindNearest(const std::string& title, int32_t type, int64_t key, const std::string& sortMode) const;
    std::string GetHeaderCaption() const;
    void RecordFocus();
    template <class Action>
    void ForEachItem(bool filesOnly, Action action);

    QPointer<MyTPanel> OwnedPanel;
};

// Gives a panel one caption in its normal and its down state.
void SetPanelText(MyTPanel& panel, const std::string& text);
