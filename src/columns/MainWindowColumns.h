#pragma once

#include "core/Seam.h"

#include <cstdint>

class TColumn;

// What the main window offers the arrangement of columns, the navigation across them and
// the launcher beyond TMainWindowServices: the active column, the keyboard focus and the
// layout of the columns. The main window implements it and installs itself once it exists;
// tests install fakes.
class TMainWindowColumns
{
public:
    virtual ~TMainWindowColumns() = default;
    // The active board column, 0 to the visible count - 1; the column operations set it
    // directly before they refocus.
    virtual int32_t GetActiveColumnIndex() = 0;
    virtual void SetActiveColumnIndex(int32_t index) = 0;
    // Gives the column of the slot the keyboard focus; -1 means the active column.
    virtual void FocusColumn(int32_t index, bool force) = 0;
    // All visible columns have the same width, or the same subcolumns.
    virtual bool AreColumnWidthsEqual() = 0;
    virtual bool AreSubcolumnsEqual() = 0;
    // Lays the board columns out again.
    virtual void ArrangeColumns() = 0;
};

template <>
TMainWindowColumns& TSeam<TMainWindowColumns>::StandIn();
