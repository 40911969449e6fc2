#pragma once

#include "core/Seam.h"

class TColumn;
class TContainer;

// What the columns need of the file-operation dialogs. The dialogs implement it and
// install it once they exist; tests install fakes.
class TFileDialogServices
{
public:
    virtual ~TFileDialogServices() = default;
    // The filtered selection dialog for the column, in select or deselect mode; it selects
    // or deselects the matching items through TColumn::SelectItem and TColumn::DeselectItem.
    // True when it ended with "Okay".
    virtual bool SelectionDialog(TColumn& column, bool select) = 0;
    // The multi-rename dialog for the column's selected items, or for the container's
    // entries when a container is given; it shows its own failures. True when it ended
    // with OK.
    virtual bool MultiRenameDialog(TColumn& column, TContainer* container, bool renameFiles) = 0;
};

template <>
TFileDialogServices& TSeam<TFileDialogServices>::StandIn();
