#include "fileops/FileOperationName.h"

#include "core/text/AsciiCase.h"

#include <array>

namespace FileOperation {

bool Is(std::string_view operation, std::string_view name)
{
    return SameTextAscii(operation, name);
}

bool TakesPrefix(std::string_view operation)
{
    static constexpr std::array prefixed{Copy, CopyAsLink, Move, Compare, ConvertPicture};
    for (std::string_view name : prefixed)
        if (Is(operation, name))
            return true;
    return false;
}

} // namespace FileOperation
