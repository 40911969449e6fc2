#pragma once

#include <cstdint>

// The process-wide source of unpredictable 32-bit values. Its values come from the
// system's cryptographic generator; a small stir state, fed with the tick count and
// with mouse movements, is handed to the generator as extra seed material and stands
// in for it when the generator fails. User-interface thread only.
class TRandom
{
public:
    // Stirs in the cursor position, acquires the generator and seeds the C run time's
    // own generator with the calendar time.
    TRandom();
    TRandom(const TRandom&) = delete;
    TRandom& operator=(const TRandom&) = delete;

    // Mixes both values and the tick count into the stir state; gives the new state.
    uint32_t Stir(uint32_t a, uint32_t b);
    // Stirs a mouse position in when it moved at least 3 pixels in either direction.
    void AddMouse(int32_t x, int32_t y);
    uint32_t Get();

private:
    bool ProviderAcquired;
    int32_t LastMouseX;
    int32_t LastMouseY;
};

extern TRandom Random;
