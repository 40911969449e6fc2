#include "columns/ContainerServices.h"

#include "columns/MainWindowServices.h"

namespace {

// Until the main window exists no drag has begun and there is no directory check to run;
// until the multi-rename dialog exists nothing is renamed.
class TNoContainerServices : public TContainerServices
{
public:
    int32_t GetDragItemIndex() override { return -1; }
    std::string GetDragItemTitle() override { return {}; }
    void EndBusyAndCheck() override { TSeam<TMainWindowServices>::Get().EndBusy(); }
    bool MultiRenameDialog(TColumn&, TContainer*, bool) override { return false; }
};

TNoContainerServices NoContainerServices;

} // namespace

template <>
TContainerServices& TSeam<TContainerServices>::StandIn()
{
    return NoContainerServices;
}
