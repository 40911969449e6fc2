#include "columns/MainWindowServices.h"

#include "columns/MainWindowMouse.h"

namespace {

// Until the main window exists there is no window: no columns panel, no column shown, no
// other column to reach, no layout to redo and no busy counter to keep.
class TNoMainWindow : public TMainWindowServices
{
public:
    QWidget* GetColumnsPanel() override { return nullptr; }
    int32_t GetVisibleColumnCount() override { return 0; }
    TColumn* GetColumn(int32_t) override { return nullptr; }
    void Reset(bool) override {}
    void BeginBusy() override {}
    void EndBusy() override {}
    void EndBusyAndCheck() override {}
};

TNoMainWindow NoMainWindow;

} // namespace

template <>
TMainWindowServices& TSeam<TMainWindowServices>::StandIn()
{
    return NoMainWindow;
}

TBusyBracket::TBusyBracket(bool check) : Check(check)
{
    TSeam<TMainWindowServices>::Get().BeginBusy();
}

TBusyBracket::~TBusyBracket()
{
    TMainWindowServices& window = TSeam<TMainWindowServices>::Get();
    if (Check)
        window.EndBusyAndCheck();
    else
        window.EndBusy();
}

TColumn* FindDragSourceColumn()
{
    return TSeam<TMainWindowServices>::Get().GetColumn(
        TSeam<TMainWindowMouse>::Get().GetPressRecord().DragSourceColumn);
}
