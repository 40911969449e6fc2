#include "columns/MainWindowColumns.h"

namespace {

// Until the main window exists no column is shown: column 0 counts as the active one and
// stays so, there is no focus to give and the columns need no layout.
class TNoBoard : public TMainWindowColumns
{
public:
    int32_t GetActiveColumnIndex() override { return 0; }
    void SetActiveColumnIndex(int32_t) override {}
    void FocusColumn(int32_t, bool) override {}
    bool AreColumnWidthsEqual() override { return true; }
    bool AreSubcolumnsEqual() override { return true; }
    void ArrangeColumns() override {}
};

TNoBoard NoBoard;

} // namespace

template <>
TMainWindowColumns& TSeam<TMainWindowColumns>::StandIn()
{
    return NoBoard;
}
