#include "core/forms/VirtualKeys.h"

#include <gtest/gtest.h>

namespace {

TEST(VirtualKeys, QtKeysMapToTheVirtualKeysOfTheKeyMaps)
{
    struct Row
    {
        int Key;
        Qt::KeyboardModifiers Modifiers;
        uint16_t VirtualKey;
    };
    const Row rows[] = {
        {Qt::Key_A, Qt::NoModifier, 'A'},
        {Qt::Key_Z, Qt::ShiftModifier, 'Z'},
        {Qt::Key_5, Qt::NoModifier, '5'},
        {Qt::Key_5, Qt::KeypadModifier, 101},
        {Qt::Key_Down, Qt::NoModifier, VK_DOWN},
        {Qt::Key_Down, Qt::KeypadModifier, VK_DOWN},
        {Qt::Key_Asterisk, Qt::NoModifier, '8'},
        {Qt::Key_Asterisk, Qt::KeypadModifier, VK_MULTIPLY},
        {Qt::Key_Exclam, Qt::ShiftModifier, '1'},
        {Qt::Key_ParenRight, Qt::ShiftModifier, '0'},
        {Qt::Key_F5, Qt::NoModifier, 116},
        {Qt::Key_PageDown, Qt::NoModifier, VK_NEXT},
        {Qt::Key_Return, Qt::NoModifier, VK_RETURN},
        {Qt::Key_Enter, Qt::KeypadModifier, VK_RETURN},
        {Qt::Key_Control, Qt::ControlModifier, VK_CONTROL},
        {Qt::Key_Comma, Qt::NoModifier, 188},
        {Qt::Key_Less, Qt::ShiftModifier, 188},
        {Qt::Key_VolumeUp, Qt::NoModifier, 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(row.VirtualKey, GetVirtualKey(row.Key, row.Modifiers)) << std::hex << row.Key;
}

TEST(VirtualKeys, ShiftStatesHoldModifiersButtonsAndDoubleClicks)
{
    EXPECT_EQ(0, GetShiftState(Qt::KeypadModifier));
    EXPECT_EQ(ShiftOf(ssShift) | ShiftOf(ssCtrl), GetShiftState(Qt::ShiftModifier | Qt::ControlModifier));
    EXPECT_EQ(ShiftOf(ssAlt) | ShiftOf(ssRight) | ShiftOf(ssDouble),
              GetShiftState(Qt::AltModifier, Qt::RightButton, true));
    EXPECT_EQ(ShiftOf(ssLeft) | ShiftOf(ssMiddle), GetShiftState(Qt::NoModifier, Qt::LeftButton | Qt::MiddleButton));
    EXPECT_EQ(mbMiddle, GetMouseButton(Qt::MiddleButton));
    EXPECT_EQ(mbLeft, GetMouseButton(Qt::BackButton));
}

} // namespace
