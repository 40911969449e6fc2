#pragma once

#include "columns/MyTPanel.h"

#include "core/InputState.h"
#include "core/MyTime.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

class MyTPanel;
class QMenu;
class QTimer;
class QTreeWidget;
class QWidget;
class TBoards;
class TColumn;

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
    MyTPanel* Button = nullptr;
    std::function<void(TColumn* dragged, TBoardData* board, TDragState state)> OnColumnDragOver;
    std::string Name;
    std::string Shortcut;
    bool ShowPlayList = false;
    bool ShowTree = false;
    std::string TreePath;
    int32_t VisibleColumnCount = 2;
    int32_t ActiveColumnIndex = 0;
    std::array<TColumnState, 10> ColumnStates;

    // The defaults, the button on the bar and the drag closure of the owner.
    void Init(TBoards& owner, int32_t index, QWidget* bar);
    void ButtonMouseDown(MyTPanel* sender, TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    void ButtonDragOver(MyTPanel* sender, QObject* source, int32_t x, int32_t y, TDragState state, bool& accept);
};

// The thirty boards; the main window's columns are the live copy of the active one.
class TBoards
{
public:
    explicit TBoards(MyTPanel* barPanel);
    ~TBoards();
    TBoards(const TBoards&) = delete;
    TBoards& operator=(const TBoards&) = delete;

    TColumn* DragColumn = nullptr;
    TBoardData* DragBoard = nullptr;
    TCrono DragHoverCrono;
    QTimer* DragHoverTimer = nullptr;
    QMenu* Menu = nullptr;
    TShiftState MenuShiftState = 0;
    MyTPanel* BarPanel = nullptr;
    int32_t ActiveBoard = 0;
    std::array<TBoardData, BoardCount> Boards;

    void ArrangeBar(int32_t visibleBoards, int32_t rows, int32_t left, int32_t top, int32_t width);
    void IniPaths();
    void EditProperties();
    int32_t FindSearchBoard() const;
    int32_t FindBoardByShortcut(char key) const;
    void SetDefaultTitles();
    void SaveActiveBoard();
    void RestoreActiveBoard(bool withHeaders);
    void SetActiveBoard(int32_t index);
    void ShowBoard(int32_t index);
    void CopyBoard(int32_t index);
    void SwitchBoard(int32_t index);
    void MoveBoard(int32_t index);
    void ShowMenu(MyTPanel& button, TShiftState shift);
    void SetupTreeView(QTreeWidget& tree);
    void StartColumnDrag();
    void EndColumnDrag();
    void ColumnDragOver(TColumn* dragged, TBoardData* board, TDragState state);
    void SetBoardName(TBoardData& board, const std::string& name);
    void SetBoardShortcut(TBoardData& board, const std::string& shortcut);
    std::string GetBoardCaption(const TBoardData& board) const;
    void UpdateBoardHint(TBoardData& board);

    TBoardData& GetActiveBoard() { return Boards[static_cast<size_t>(ActiveBoard)]; }
};

// Made by the main window's constructor.
extern TBoards* Boards;
