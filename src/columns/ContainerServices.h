#pragma once

#include "core/Seam.h"

#include <cstdint>
#include <string>

class TColumn;
class TContainer;

// What the container commands of the columns need beyond TMainWindowServices: the main
// window's record of the drag's press, the busy counter's release with a directory check,
// and the multi-rename dialog. The main window and the dialog implement it and install it
// once they exist; tests install fakes.
class TContainerServices
{
public:
    virtual ~TContainerServices() = default;
    // The index and title of the item where the mouse press of the drag began.
    virtual int32_t GetDragItemIndex() = 0;
    virtual std::string GetDragItemTitle() = 0;
    // Lowers the busy counter and checks the listed directories at once.
    virtual void EndBusyAndCheck() = 0;
    // The multi-rename dialog for the column's selected items, or for the container's
    // entries when a container is given; it shows its own failures. True when it ended
    // with OK.
    virtual bool MultiRenameDialog(TColumn& column, TContainer* container, bool renameFiles) = 0;
};

template <>
TContainerServices& TSeam<TContainerServices>::StandIn();
