#pragma once

#include "core/Seam.h"

#include <cstdint>

class TColumn;

// What the column key map needs of the main window beyond its File menu (TMouseServices):
// the boards, chosen by their shortcut digit, and the two container commands of the digit
// keys. The main window implements it and installs itself once it exists; tests install
// fakes.
class TKeyServices
{
public:
    virtual ~TKeyServices() = default;
    // The board whose shortcut text begins with the character, or -1.
    virtual int32_t FindBoardByShortcut(char shortcut) = 0;
    // Switches to the board; a negative index or the active board is ignored.
    virtual void ShowBoard(int32_t index) = 0;
    // Shows the container (-1: the directory) in the active column.
    virtual void ShowContainer(int32_t container) = 0;
    // Appends the source column's selection, or its active title, to the container; a
    // null source is the active column.
    virtual void CopyToContainerMenuClick(int32_t container, TColumn* source) = 0;
};

template <>
TKeyServices& TSeam<TKeyServices>::StandIn();
