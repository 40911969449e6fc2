#pragma once

#include "core/Seam.h"

#include <cstdint>

// What the columns need of the boards: switching boards, by the shortcut digit or to the
// search board, and the drag of a column onto the boards bar. The boards implement it and
// the main window installs it once they exist; tests install fakes.
class TBoardsServices
{
public:
    virtual ~TBoardsServices() = default;
    // The board whose shortcut text begins with the character, or -1.
    virtual int32_t FindBoardByShortcut(char shortcut) = 0;
    // Switches to the board; a negative index or the active board is ignored.
    virtual void ShowBoard(int32_t index) = 0;
    // Switches to the board that shows search results.
    virtual void ShowSearchBoard() = 0;
    virtual void StartColumnDrag() = 0;
    virtual void EndColumnDrag() = 0;
};

template <>
TBoardsServices& TSeam<TBoardsServices>::StandIn();
