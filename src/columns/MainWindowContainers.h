#pragma once

#include "core/Seam.h"

#include <cstdint>

class TColumn;
class TContainer;

// What the columns need of the main window's containers: finding one and the column that
// shows it, and the two container commands of the digit keys. The main window implements it
// and installs itself once it exists; tests install fakes.
class TMainWindowContainers
{
public:
    virtual ~TMainWindowContainers() = default;
    // The container of the number (0 to 19), or null.
    virtual TContainer* FindContainer(int32_t index) = 0;
    // The first visible column that shows the container, or -1.
    virtual int32_t FindContainerColumn(int32_t containerIndex) = 0;
    // Shows the container (-1: the directory) in the active column.
    virtual void ShowContainer(int32_t container) = 0;
    // Appends the source column's selection, or its active title, to the container; a
    // null source is the active column.
    virtual void CopyToContainerMenuClick(int32_t container, TColumn* source) = 0;
};

template <>
TMainWindowContainers& TSeam<TMainWindowContainers>::StandIn();
