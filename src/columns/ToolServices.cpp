#include "columns/ToolServices.h"

namespace {

TToolServicesStandIn NoTools;

} // namespace

template <>
TToolServices& TSeam<TToolServices>::StandIn()
{
    return NoTools;
}
