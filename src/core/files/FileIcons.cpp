#include "core/files/FileIcons.h"

#include "core/files/LinkFile.h"
#include "core/files/PathNames.h"
#include "core/text/AsciiCase.h"

std::string GetIconSourceFile(const std::string& name)
{
    const std::string target = GetWhenReference(name);
    const std::string extension = GetExtension(target);
    return SameTextAscii(extension, ".cur") || SameTextAscii(extension, ".exe") ? target : std::string();
}

std::unique_ptr<QImage> ExtractFileIcon(const std::string&)
{
    return nullptr;
}
