#include "core/forms/VirtualKeys.h"

#include <algorithm>
#include <iterator>

namespace {

struct TKeyPair
{
    int QtKey;
    uint16_t VirtualKey;
};

// The keys that are not letters, digits or function keys, with the shifted symbols of
// the US layout mapped to the key they sit on.
// clang-format off
constexpr TKeyPair MainKeys[] = {
    {Qt::Key_Backspace, VK_BACK},   {Qt::Key_Tab, VK_TAB},           {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},    {Qt::Key_Enter, VK_RETURN},      {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},  {Qt::Key_Alt, VK_MENU},          {Qt::Key_AltGr, VK_MENU},
    {Qt::Key_Pause, VK_PAUSE},      {Qt::Key_CapsLock, VK_CAPITAL},  {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},      {Qt::Key_PageUp, VK_PRIOR},      {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},          {Qt::Key_Home, VK_HOME},         {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},            {Qt::Key_Right, VK_RIGHT},       {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Print, VK_SNAPSHOT},   {Qt::Key_Insert, VK_INSERT},     {Qt::Key_Delete, VK_DELETE},
    {Qt::Key_Meta, VK_LWIN},        {Qt::Key_Super_L, VK_LWIN},      {Qt::Key_Menu, VK_APPS},
    {Qt::Key_NumLock, VK_NUMLOCK},  {Qt::Key_ScrollLock, VK_SCROLL}, {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},              {Qt::Key_NumberSign, '3'},       {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},         {Qt::Key_AsciiCircum, '6'},      {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},        {Qt::Key_ParenLeft, '9'},        {Qt::Key_ParenRight, '0'},
    {Qt::Key_Semicolon, 186},       {Qt::Key_Colon, 186},            {Qt::Key_Equal, 187},
    {Qt::Key_Plus, 187},            {Qt::Key_Comma, 188},            {Qt::Key_Less, 188},
    {Qt::Key_Minus, 189},           {Qt::Key_Underscore, 189},       {Qt::Key_Period, 190},
    {Qt::Key_Greater, 190},         {Qt::Key_Slash, 191},            {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192},       {Qt::Key_AsciiTilde, 192},       {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219},       {Qt::Key_Backslash, 220},        {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221},    {Qt::Key_BraceRight, 221},       {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},
};

// The numeric pad's operators, which come with the keypad modifier.
constexpr TKeyPair KeypadKeys[] = {{Qt::Key_Asterisk, VK_MULTIPLY}, {Qt::Key_Plus, VK_ADD},
                                   {Qt::Key_Minus, VK_SUBTRACT},    {Qt::Key_Period, VK_DECIMAL},
                                   {Qt::Key_Slash, VK_DIVIDE}};
// clang-format on

template <size_t N>
uint16_t FindKey(const TKeyPair (&table)[N], int qtKey)
{
    const auto found =
        std::find_if(std::begin(table), std::end(table), [qtKey](const TKeyPair& pair) { return pair.QtKey == qtKey; });
    return found == std::end(table) ? 0 : found->VirtualKey;
}

} // namespace

uint16_t GetVirtualKey(int qtKey, Qt::KeyboardModifiers modifiers)
{
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return static_cast<uint16_t>(keypad ? VK_NUMPAD0 + (qtKey - Qt::Key_0) : qtKey);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return static_cast<uint16_t>(qtKey);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return static_cast<uint16_t>(VK_F1 + (qtKey - Qt::Key_F1));
    if (keypad)
        if (const uint16_t key = FindKey(KeypadKeys, qtKey))
            return key;
    return FindKey(MainKeys, qtKey);
}

TShiftState GetShiftState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons, bool doubleClick)
{
    TShiftState shift = 0;
    const auto add = [&shift](bool held, TShiftElement element) {
        if (held)
            shift |= ShiftOf(element);
    };
    add(modifiers.testFlag(Qt::ShiftModifier), ssShift);
    add(modifiers.testFlag(Qt::AltModifier), ssAlt);
    add(modifiers.testFlag(Qt::ControlModifier), ssCtrl);
    add(buttons.testFlag(Qt::LeftButton), ssLeft);
    add(buttons.testFlag(Qt::RightButton), ssRight);
    add(buttons.testFlag(Qt::MiddleButton), ssMiddle);
    add(doubleClick, ssDouble);
    return shift;
}

TMouseButton GetMouseButton(Qt::MouseButton button)
{
    switch (button) {
    case Qt::RightButton:
        return mbRight;
    case Qt::MiddleButton:
        return mbMiddle;
    default:
        return mbLeft;
    }
}
