#include "host/FaultInjection.h"

#include "host/LastError.h"

#include <array>
#include <mutex>

namespace host {
namespace {

struct Fault
{
    uint32_t Code = 0;
    int Skip = 0;
    int Count = 0;
};

std::array<Fault, static_cast<size_t>(HostCall::Count)> Faults;
// Host calls also run on worker threads (thumbnails), while a test arms the faults.
std::mutex FaultsLock;

} // namespace

void InjectFault(HostCall call, uint32_t code, int skip, int count)
{
    const std::lock_guard lock(FaultsLock);
    Faults[static_cast<size_t>(call)] = Fault{code, skip, count};
}

void ClearFaults()
{
    const std::lock_guard lock(FaultsLock);
    Faults.fill(Fault{});
}

bool TakeFault(HostCall call)
{
    const std::lock_guard lock(FaultsLock);
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
