#pragma once

#include <QString>

#include <string_view>

// A file's bytes as text: UTF-8, where a byte that is not valid UTF-8 is read as
// Windows-1252. A whole text keeps a sequence cut by its end, byte by byte.
QString DecodeText(std::string_view bytes);
// The start of a file as text, decoded as DecodeText; a sequence cut by the end of the
// excerpt is dropped.
QString DecodeTextExcerpt(std::string_view bytes);
