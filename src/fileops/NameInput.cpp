#include "fileops/NameInput.h"

#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/text/MyTime.h"

bool HoldsAnyOf(std::string_view text, std::string_view characters)
{
    return text.find_first_of(characters) != std::string_view::npos;
}

std::string GetStampByCurrent()
{
    return NowToCompactText() + "_";
}

std::string GetStampByCreation(const std::string& path)
{
    TTraced trace;
    std::string stamp;
    trace.Run([&] {
        TFileInfo info;
        info.Load(path);
        if (trace.TakeOver())
            return;
        stamp = DateTimeToCompactText(ConvertFileTime(info.CreationTime)) + "_";
    });
    return stamp;
}
