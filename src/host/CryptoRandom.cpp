#include "host/CryptoRandom.h"

#include "host/FaultInjection.h"
#include "host/LastError.h"

#include <cerrno>
#include <cstdint>
#include <sys/random.h>
#include <vector>

namespace host {
namespace {

// getrandom may hand out fewer bytes than asked for large requests or when a signal
// arrives; the loop fills the whole buffer.
bool ReadKernelRandom(uint8_t* bytes, size_t size)
{
    while (size > 0) {
        const ssize_t got = getrandom(bytes, size, 0);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            SetLastErrorFromErrno(errno);
            return false;
        }
        bytes += got;
        size -= static_cast<size_t>(got);
    }
    return true;
}

} // namespace

bool AcquireCryptoRandom()
{
    if (TakeFault(HostCall::Random))
        return false;
    // A request for no bytes answers whether the call exists without waiting.
    if (getrandom(nullptr, 0, GRND_NONBLOCK) < 0) {
        SetLastErrorFromErrno(errno);
        return false;
    }
    SetLastError(ERROR_SUCCESS);
    return true;
}

bool GenerateCryptoRandom(void* buffer, size_t size)
{
    if (TakeFault(HostCall::Random))
        return false;
    std::vector<uint8_t> fresh(size);
    if (!ReadKernelRandom(fresh.data(), size))
        return false;
    auto* bytes = static_cast<uint8_t*>(buffer);
    for (size_t i = 0; i < size; ++i)
        bytes[i] ^= fresh[i];
    SetLastError(ERROR_SUCCESS);
    return true;
}

} // namespace host
