#pragma once

#include <cstdint>

// A panel's size after its splitter bar moved, and the move that gives it.
struct TSplitterFit
{
    int32_t Size = 0;
    int32_t Growth = 0;
};

// The panel of `size` grows by `growth` (negative shrinks it): the new size is raised to
// the minimum, then lowered to the maximum, which wins in a window too small for both, and
// never falls below 0. Growth is what the panel grew by to reach that size.
TSplitterFit FitSplitterSize(int32_t size, int32_t growth, int32_t minimum, int32_t maximum);
