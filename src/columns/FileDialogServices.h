#pragma once

#include "core/Seam.h"

class TColumn;

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
};

template <>
TFileDialogServices& TSeam<TFileDialogServices>::StandIn();
