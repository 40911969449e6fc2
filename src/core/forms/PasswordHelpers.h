#pragma once

#include <cstdint>
#include <string>

class QWidget;

// Replaces the text of a line edit or text box by the hexadecimal SHA-1 digest of that
// text, hashed `iterations` times; the typed text is overwritten before it is cleared.
void HashControlText(QWidget& control, const std::string& algorithm, int32_t iterations);

// Random upper-case hexadecimal digits: 10 for mode 1, 20 for mode 2, 40 otherwise.
std::string GenerateHexPassword(int32_t mode);
