#pragma once

#include <cstdint>
#include <functional>

namespace host {

// Milliseconds since the system started, 32 bits wide, wrapping after about 49.7 days.
uint32_t GetTickCount();

// Replaces the clock behind GetTickCount, so tests can move time without sleeping;
// an empty function restores the system clock.
void SetTickCountSource(std::function<uint32_t()> source);

} // namespace host
