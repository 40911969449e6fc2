#pragma once

#include <cstdint>

// A shift state: one bit per element, bit n for element n.
using TShiftState = uint8_t;

enum TShiftElement : int
{
    ssShift = 0,
    ssAlt = 1,
    ssCtrl = 2,
    ssLeft = 3,
    ssRight = 4,
    ssMiddle = 5,
    ssDouble = 6
};

constexpr TShiftState ShiftOf(TShiftElement element)
{
    return static_cast<TShiftState>(1u << element);
}

// The keyboard part of a shift state: Shift, Alt, Ctrl and Double.
TShiftState GetKeyShift(TShiftState shift);
bool IsKeyShiftIn(TShiftState shift, int element);
bool IsKeyShiftOnly(TShiftState shift, int element);
bool IsKeyShiftPairOnly(TShiftState shift, int element1, int element2);
bool IsKeyShiftEmpty(TShiftState shift);

bool IsLeftButtonDown();
bool IsMouseButtonDown();
