#pragma once

#include <cstdint>

// A colour in the Windows layout: red in bits 0-7, green in 8-15, blue in 16-23.
using TColor = int32_t;
