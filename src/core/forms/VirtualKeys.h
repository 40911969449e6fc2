#pragma once

#include "core/forms/InputState.h"

#include <Qt>

#include <cstdint>

// The Windows virtual-key codes that the key maps use.
enum : uint16_t
{
    VK_BACK = 8,
    VK_TAB = 9,
    VK_RETURN = 13,
    VK_SHIFT = 16,
    VK_CONTROL = 17,
    VK_MENU = 18,
    VK_PAUSE = 19,
    VK_CAPITAL = 20,
    VK_ESCAPE = 27,
    VK_SPACE = 32,
    VK_PRIOR = 33,
    VK_NEXT = 34,
    VK_END = 35,
    VK_HOME = 36,
    VK_LEFT = 37,
    VK_UP = 38,
    VK_RIGHT = 39,
    VK_DOWN = 40,
    VK_SNAPSHOT = 44,
    VK_INSERT = 45,
    VK_DELETE = 46,
    VK_LWIN = 91,
    VK_APPS = 93,
    VK_NUMPAD0 = 96,
    VK_NUMPAD2 = 98,
    VK_NUMPAD4 = 100,
    VK_NUMPAD6 = 102,
    VK_NUMPAD8 = 104,
    VK_MULTIPLY = 106,
    VK_ADD = 107,
    VK_SUBTRACT = 109,
    VK_DECIMAL = 110,
    VK_DIVIDE = 111,
    VK_F1 = 112,
    VK_NUMLOCK = 144,
    VK_SCROLL = 145
};

// The mouse buttons as the panels report them.
enum TMouseButton : int
{
    mbLeft = 0,
    mbRight = 1,
    mbMiddle = 2
};

// The virtual key of a Qt key; the keypad modifier tells the numeric pad's digits and
// operators from the main keyboard's. Symbols typed with Shift give the key they sit on
// (US layout): "!" is the key "1". 0 for a key that has no virtual key.
uint16_t GetVirtualKey(int qtKey, Qt::KeyboardModifiers modifiers);

// Shift, Alt and Ctrl from the modifiers, the buttons held, and Double for the press of a
// double click.
TShiftState GetShiftState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton,
                          bool doubleClick = false);

// The button of a press or release; a button of no other kind counts as the left one.
TMouseButton GetMouseButton(Qt::MouseButton button);
