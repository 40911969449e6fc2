#pragma once

#include <string>
#include <string_view>

// Case-insensitive comparison the program's way: only the ASCII letters fold. The letter
// functions are inline: sorts and searches call them for every byte.
inline char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string LowerAscii(std::string_view text);
std::string UpperAscii(std::string_view text);
bool SameTextAscii(std::string_view a, std::string_view b);
// Negative, zero or positive, like strcmp after folding.
int CompareTextAscii(std::string_view a, std::string_view b);
bool LessTextAscii(std::string_view a, std::string_view b);
