#include "columns/MainWindowContainers.h"

namespace {

// Until the main window exists there is no container to find, show or copy into.
class TNoContainers : public TMainWindowContainers
{
public:
    TContainer* FindContainer(int32_t) override { return nullptr; }
    int32_t FindContainerColumn(int32_t) override { return -1; }
    void ShowContainer(int32_t) override {}
    void CopyToContainerMenuClick(int32_t, TColumn*) override {}
};

TNoContainers NoContainers;

} // namespace

template <>
TMainWindowContainers& TSeam<TMainWindowContainers>::StandIn()
{
    return NoContainers;
}
