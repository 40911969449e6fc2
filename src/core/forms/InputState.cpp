#include "core/forms/InputState.h"

#include <QGuiApplication>

namespace {

constexpr TShiftState KeyboardMask = 0xC7;

// The set holding just the element; empty for an element outside 0..6.
TShiftState SetOf(int element)
{
    return element < 0 || element > 6 ? 0 : static_cast<TShiftState>(1u << element);
}

Qt::MouseButtons ButtonsDown()
{
    return QGuiApplication::instance() == nullptr ? Qt::NoButton : QGuiApplication::mouseButtons();
}

} // namespace

TShiftState GetKeyShift(TShiftState shift)
{
    return shift & KeyboardMask;
}

bool IsKeyShiftIn(TShiftState shift, int element)
{
    return (GetKeyShift(shift) & SetOf(element)) != 0;
}

bool IsKeyShiftOnly(TShiftState shift, int element)
{
    return GetKeyShift(shift) == SetOf(element);
}

bool IsKeyShiftPairOnly(TShiftState shift, int element1, int element2)
{
    return GetKeyShift(shift) == (SetOf(element1) | SetOf(element2));
}

bool IsKeyShiftEmpty(TShiftState shift)
{
    return GetKeyShift(shift) == 0;
}

bool IsLeftButtonDown()
{
    return ButtonsDown().testFlag(Qt::LeftButton);
}

bool IsMouseButtonDown()
{
    const Qt::MouseButtons buttons = ButtonsDown();
    return buttons.testFlag(Qt::LeftButton) || buttons.testFlag(Qt::RightButton) || buttons.testFlag(Qt::MiddleButton);
}
