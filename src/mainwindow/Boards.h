#pragma once

#include "panels/MyTPanel.h"

#include "core/forms/InputState.h"
#include "core/text/MyTime.h"

#include <QPointer>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class MyTPanel;
class QAction;
class QMenu;
class QTimer;
class QTreeWidget;
class QWidget;
class TBoards;
class TColumn;
class TMainForm;

inline constexpr int32_t BoardCount = 30;

// The state of one board column; mirrors the column's fields of the same names.
struct TColumnState
{
    int32_t ContainerIndex = -1;
    bool FixedAttr = false;
    int32_t WidthAttr = 1;
    int32_t Subcolumns = 1;
    int32_t ThumbHeight = 3;
    bool ThumbAttr = false;
    bool ShowPathsInContainer = false;
    std::string ActiveTitle;
    int32_t ActiveType = 0;
    int32_t ActiveTopOffset = 0;
    int64_t ActiveKey = 0;
    std::string SortMode = "Name";
    // Never stored in a file.
    std::string DefaultTitle;
};

// One board: a stored arrangement of the ten board columns.
struct TBoardData
{
    int32_t Index = 0;
    TBoards* Owner = nullptr;
    // Down for the active board.
    MyTPanel* Button = nullptr;
    std::function<void(TColumn* dragged, TBoardData* board, TDragState state)> OnColumnDragOver;
    // Empty: the board is shown by its number.
    std::string Name;
    // Its first character shows the board from a file list; empty or "None": no shortcut.
    std::string Shortcut;
    bool ShowPlayList = false;
    bool ShowTree = false;
    std::string TreePath;
    int32_t VisibleColumnCount = 2;
    int32_t ActiveColumnIndex = 0;
    std::array<TColumnState, 10> ColumnStates;

    // The defaults (every folder at the drive of the Windows folder), the button on the
    // bar and the drag closure of the owner.
    void Init(TBoards& owner, int32_t index, QWidget* bar);
    // Left button on an inactive board: show, or with Ctrl copy, Shift exchange, Alt move.
    void ButtonMouseDown(MyTPanel* sender, TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    // Accepts the items of a board column.
    void ButtonDragOver(MyTPanel* sender, QObject* source, int32_t x, int32_t y, TDragState state, bool& accept);
};

// The thirty boards; the main window's columns are the live copy of the active one.
class TBoards
{
public:
    TBoards(TMainForm& window, MyTPanel* barPanel);
    ~TBoards();
    TBoards(const TBoards&) = delete;
    TBoards& operator=(const TBoards&) = delete;

    // The column whose items are dragged over a board button, and that board.
    TColumn* DragColumn = nullptr;
    TBoardData* DragBoard = nullptr;
    TCrono DragHoverCrono;
    // 200 ms, running only while a drag hovers; owned by the bar.
    QTimer* DragHoverTimer = nullptr;
    // Rebuilt at every ShowMenu; owned by the button it was shown under.
    QPointer<QMenu> Menu;
    // Selects what a click in the menu does.
    TShiftState MenuShiftState = 0;
    // The window whose columns show the active board.
    TMainForm& Window;
    MyTPanel* BarPanel = nullptr;
    int32_t ActiveBoard = 0;
    std::array<TBoardData, BoardCount> Items;

    // Lays out the bar: the visible boards' buttons on the rows, the last one of each full
    // row taking what is left of its width.
    void ArrangeBar(int32_t visibleBoards, int32_t rows, int32_t left, int32_t top, int32_t width);
    // The first nineteen boards' names, shortcuts and folders. Traced.
    void IniPaths();
    // The board properties dialog for the active board.
    void EditProperties();
    // The first board named "Search" or "Find", any letter case, else -1.
    int32_t FindSearchBoard() const;
    // The first board whose shortcut begins with the key, else -1.
    int32_t FindBoardByShortcut(char key) const;
    void SetDefaultTitles();
    // The window's columns into the active board.
    void SaveActiveBoard();
    // The active board into the window's columns, without reloading them.
    void RestoreActiveBoard(bool withHeaders);
    // Moves the pressed button and updates the window caption; the columns are untouched.
    void SetActiveBoard(int32_t index);
    // Switches boards and reloads the columns; the active column is focused in any case.
    // Traced.
    void ShowBoard(int32_t index);
    // Board index takes the window's columns and becomes the active one.
    void CopyBoard(int32_t index);
    // The active board and board index exchange places.
    void SwitchBoard(int32_t index);
    // The active board moves to position index; the boards between shift by one.
    void MoveBoard(int32_t index);
    // The boards menu below the button. Traced; shows "Failed to show boards menu.".
    void ShowMenu(MyTPanel& button, TShiftState shift);
    void MenuItemClick(const QAction& item);
    // The named boards, each with the folders of its visible columns. Traced.
    void SetupTreeView(QTreeWidget& tree);
    void StartColumnDrag();
    void EndColumnDrag();
    void ColumnDragOver(TColumn* dragged, TBoardData* board, TDragState state);
    // Shows the hovered board once the drag has rested on its button for 0.8 s.
    void DragHoverTimerTick();
    // The decimal text of the board's index is stored as the empty name.
    void SetBoardName(TBoardData& board, const std::string& name);
    void SetBoardShortcut(TBoardData& board, const std::string& shortcut);
    // The name, or the board number when it has none.
    std::string GetBoardCaption(const TBoardData& board) const;
    void UpdateBoardHint(TBoardData& board);

    TBoardData& GetActiveBoard() { return Items[static_cast<size_t>(ActiveBoard)]; }

private:
    // What travels with a board when boards exchange or move, apart from its columns.
    struct TBoardLabel
    {
        std::string Name;
        std::string Shortcut;
        bool ShowPlayList = false;
        bool ShowTree = false;
        std::string TreePath;
    };
    static TBoardLabel GetBoardLabel(const TBoardData& board);
    void SetBoardLabel(TBoardData& board, const TBoardLabel& label);
    // Every field of the source but its index, button and closure.
    void CopyBoardContent(TBoardData& target, const TBoardData& source);
};

// Made by the main window's constructor.
extern TBoards* Boards;
