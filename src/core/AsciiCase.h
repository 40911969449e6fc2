#pragma once

#include <string>
#include <string_view>

// Case-insensitive comparison the program's way: only the ASCII letters fold.
char LowerAscii(char c);
char UpperAscii(char c);
std::string LowerAscii(std::string_view text);
std::string UpperAscii(std::string_view text);
bool SameTextAscii(std::string_view a, std::string_view b);
// Negative, zero or positive, like strcmp after folding.
int CompareTextAscii(std::string_view a, std::string_view b);
bool LessTextAscii(std::string_view a, std::string_view b);
