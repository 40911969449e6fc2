#include "host/Clock.h"

#include <ctime>

namespace host {
namespace {

std::function<uint32_t()> TickSource;

uint32_t MonotonicMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const uint64_t ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<uint32_t>(ms);
}

} // namespace

uint32_t GetTickCount()
{
    return TickSource ? TickSource() : MonotonicMilliseconds();
}

void SetTickCountSource(std::function<uint32_t()> source)
{
    TickSource = std::move(source);
}

} // namespace host
