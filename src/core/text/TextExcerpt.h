#pragma once

#include <QString>

#include <string_view>

// The start of a file as text: UTF-8, where a byte that is not valid UTF-8 is read as
// Windows-1252; a sequence cut by the end of the excerpt is dropped.
QString DecodeTextExcerpt(std::string_view bytes);
