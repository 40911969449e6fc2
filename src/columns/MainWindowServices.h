#pragma once

#include "core/Seam.h"

#include <cstdint>

class QWidget;
class TColumn;

// What the columns need of the main window: where their panels live, how many of them are
// shown, the other columns, the layout and the busy counter. The main
// window implements it and installs itself once it exists; tests install fakes.
class TMainWindowServices
{
public:
    virtual ~TMainWindowServices() = default;
    // The panel that holds the board columns; the parent of each column's outer panel.
    virtual QWidget* GetColumnsPanel() = 0;
    // 1 to 10: columns 0 to count - 1 are shown.
    virtual int32_t GetVisibleColumnCount() = 0;
    // The column in the slot (0 to 11), or null.
    virtual TColumn* GetColumn(int32_t index) = 0;
    // Lays the whole window out again, the columns included.
    virtual void Reset(bool clearLists) = 0;
    virtual void BeginBusy() = 0;
    // Lowers the busy counter, never below 0.
    virtual void EndBusy() = 0;
    // Lowers the busy counter and checks the listed directories at once.
    virtual void EndBusyAndCheck() = 0;
};

// The main window's busy counter held for the length of a command and released on every
// path; with `check` by a forced directory check, which reloads the changed columns.
class TBusyBracket
{
public:
    explicit TBusyBracket(bool check);
    ~TBusyBracket();
    TBusyBracket(const TBusyBracket&) = delete;
    TBusyBracket& operator=(const TBusyBracket&) = delete;

private:
    bool Check;
};

// The column last pressed with the mouse (see TPressRecord), or null.
TColumn* FindDragSourceColumn();

template <>
TMainWindowServices& TSeam<TMainWindowServices>::StandIn();
