#include "core/files/FileIcons.h"

#include "core/files/LinkFile.h"
#include "core/files/PathNames.h"
#include "core/text/AsciiCase.h"

#include "host/ExecutableIcons.h"

namespace {

bool IsCursorFile(const std::string& name)
{
    return SameTextAscii(GetExtension(name), ".cur");
}

} // namespace

std::string GetIconSourceFile(const std::string& name)
{
    const std::string target = GetWhenReference(name);
    return IsCursorFile(target) || SameTextAscii(GetExtension(target), ".exe") ? target : std::string();
}

std::unique_ptr<QImage> ExtractFileIcon(const std::string& name)
{
    const std::string source = GetIconSourceFile(name);
    if (source.empty())
        return nullptr;
    std::optional<QImage> icon = IsCursorFile(source) ? host::ReadCursorIcon(source) : host::ReadExecutableIcon(source);
    return icon ? std::make_unique<QImage>(std::move(*icon)) : nullptr;
}
