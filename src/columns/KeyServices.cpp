#include "columns/KeyServices.h"

namespace {

// Until the main window exists there are no boards to switch to, and no main window to
// show containers in or to copy into them.
class TNoKeyWindow : public TKeyServices
{
public:
    int32_t FindBoardByShortcut(char) override { return -1; }
    void ShowBoard(int32_t) override {}
    void ShowContainer(int32_t) override {}
    void CopyToContainerMenuClick(int32_t, TColumn*) override {}
};

TNoKeyWindow NoKeyWindow;

} // namespace

template <>
TKeyServices& TSeam<TKeyServices>::StandIn()
{
    return NoKeyWindow;
}
