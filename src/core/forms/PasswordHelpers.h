#pragma once

#include <cstdint>
#include <string>

class QWidget;

// Replaces the text of a line edit or text box by the hexadecimal SHA-1 digest of that
// text, hashed `iterations` times; the typed text is overwritten before it is cleared.
void HashControlText(QWidget& control, const std::string& algorithm, int32_t iterations);

// Overwrites the text of a line edit or text box with as many 0xFF characters as it
// holds, then empties it, so a typed secret does not stay behind in the control's memory.
void ClearSecretText(QWidget& control);

// Random upper-case hexadecimal digits: 10 for mode 1, 20 for mode 2, 40 otherwise.
std::string GenerateHexPassword(int32_t mode);
