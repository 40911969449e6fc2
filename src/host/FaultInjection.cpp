#include "host/FaultInjection.h"

#include "host/LastError.h"

#include <array>

namespace host {
namespace {

struct Fault
{
    uint32_t Code = 0;
    int Skip = 0;
    int Count = 0;
};

std::array<Fault, static_cast<size_t>(HostCall::Count)> Faults;

} // namespace

void InjectFault(HostCall call, uint32_t code, int skip, int count)
{
    Faults[static_cast<size_t>(call)] = Fault{code, skip, count};
}

void ClearFaults()
{
    Faults.fill(Fault{});
}

bool TakeFault(HostCall call)
{
    Fault& fault = Faults[static_cast<size_t>(call)];
    if (fault.Count <= 0)
        return false;
    if (fault.Skip > 0) {
        --fault.Skip;
        return false;
    }
    --fault.Count;
    SetLastError(fault.Code);
    return true;
}

} // namespace host
