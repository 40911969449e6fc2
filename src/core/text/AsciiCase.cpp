#include "core/text/AsciiCase.h"

#include <algorithm>

std::string LowerAscii(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), [](char c) { return LowerAscii(c); });
    return result;
}

std::string UpperAscii(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), [](char c) { return UpperAscii(c); });
    return result;
}

bool SameTextAscii(std::string_view a, std::string_view b)
{
    return CompareTextAscii(a, b) == 0;
}

int CompareTextAscii(std::string_view a, std::string_view b)
{
    const size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(LowerAscii(a[i]));
        const auto y = static_cast<unsigned char>(LowerAscii(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool LessTextAscii(std::string_view a, std::string_view b)
{
    return CompareTextAscii(a, b) < 0;
}
