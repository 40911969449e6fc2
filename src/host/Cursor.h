#pragma once

#include <cstdint>

namespace host {

struct CursorPosition
{
    int32_t X = 0;
    int32_t Y = 0;
};

// The mouse cursor's position on the screen. The window system is reached through the
// application object, so before it exists (or without a GUI) the answer is (0, 0).
CursorPosition GetCursorPosition();

} // namespace host
