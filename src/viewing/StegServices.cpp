#include "viewing/StegServices.h"

#include "core/errors/Traced.h"

namespace {

TStegServicesStandIn NoSteg;

} // namespace

void TStegServicesStandIn::AutoStegIn(const std::string& carrier, const std::string&, const uint8_t*, int64_t)
{
    TTraced trace;
    trace.Raise("Failed to auto steg-in because the function is not active.", carrier);
}

template <>
TStegServices& TSeam<TStegServices>::StandIn()
{
    return NoSteg;
}
