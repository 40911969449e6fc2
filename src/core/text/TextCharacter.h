#pragma once

#include <cstddef>
#include <string_view>

// One character of a text that is UTF-8 where it is well formed; any other byte stands
// alone and is read as Windows-1252, the code page of older texts.
struct TTextCharacter
{
    char32_t CodePoint = 0;
    size_t Length = 0;
};

// The character that begins at the position (Length 0 only at the text's end).
TTextCharacter DecodeCharacterAt(std::string_view text, size_t position);
// The character that ends just before the position (Length 0 only at the text's start).
TTextCharacter DecodeCharacterBefore(std::string_view text, size_t position);
// The length of a well-formed UTF-8 sequence at the position that the text's end cuts
// short, else 0.
size_t CutSequenceLength(std::string_view text, size_t position);

// The Windows-1252 byte that reads as the character, or -1 when the code page has none.
int FindWindows1252Byte(char32_t codePoint);

// ASCII letters, digits and "_", and the letters from U+00C0 on (the accented letters
// and those of other scripts; not the multiplication and division signs).
bool IsWordCharacter(char32_t codePoint);
