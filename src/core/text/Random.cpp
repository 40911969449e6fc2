#include "core/text/Random.h"

#include "core/settings/FileStorage.h"

#include "host/Clock.h"
#include "host/CryptoRandom.h"
#include "host/Cursor.h"

#include <bit>
#include <cstdlib>
#include <ctime>

namespace {

// Shared by every source, so that any source gains from the mouse moves stirred into
// the global one.
uint32_t StirState = 0;

constexpr int32_t MouseMoveToStir = 3;

bool MovedFarEnough(int32_t from, int32_t to)
{
    const int64_t distance = static_cast<int64_t>(to) - from;
    return distance >= MouseMoveToStir || distance <= -MouseMoveToStir;
}

} // namespace

TRandom Random;

TRandom::TRandom()
{
    const host::CursorPosition cursor = host::GetCursorPosition();
    LastMouseX = cursor.X;
    LastMouseY = cursor.Y;
    Stir(static_cast<uint32_t>(cursor.X), static_cast<uint32_t>(cursor.Y));
    ProviderAcquired = host::AcquireCryptoRandom();
    std::srand(static_cast<unsigned>(std::time(nullptr)));
}

uint32_t TRandom::Stir(uint32_t a, uint32_t b)
{
    StirState = std::rotr(ByteSwap(StirState + a + b) + host::GetTickCount(), 5);
    return StirState;
}

void TRandom::AddMouse(int32_t x, int32_t y)
{
    if (!MovedFarEnough(LastMouseX, x) && !MovedFarEnough(LastMouseY, y))
        return;
    LastMouseX = x;
    LastMouseY = y;
    Stir(static_cast<uint32_t>(x), static_cast<uint32_t>(y));
}

uint32_t TRandom::Get()
{
    uint32_t value = Stir(0, 0);
    if (ProviderAcquired)
        host::GenerateCryptoRandom(&value, sizeof value);
    return value;
}
