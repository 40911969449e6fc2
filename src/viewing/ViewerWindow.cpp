#include "viewing/ViewerWindow.h"

namespace {

TViewerWindowStandIn NoWindow;

} // namespace

template <>
TViewerWindow& TSeam<TViewerWindow>::StandIn()
{
    return NoWindow;
}
