#include "core/files/FileExtensions.h"

#include "core/files/PathNames.h"
#include "core/text/AsciiCase.h"

#include <QComboBox>

#include <algorithm>
#include <iterator>

TFileExtensionList PictureFileExtensions;
TFileExtensionList AudioFileExtensions;
TFileExtensionList VideoFileExtensions;
TFileExtensionList TextFileExtensions;
TFileExtensionList ProgramFileExtensions;
TFileExtensionList DocumentFileExtensions;

namespace {

// Until the imaging services exist there is no picture decoder, so the picture filter
// is empty, which matches every name.
class TNoPictureDecoders : public TPictureDecoders
{
public:
    std::string GetPictureExtensionsAsFilter() override { return {}; }
};

TNoPictureDecoders NoPictureDecoders;

struct TNamedFilter
{
    const char* Name;
    std::string (*Filter)();
};

const TNamedFilter NamedFilters[] = {
    {"All files", [] { return std::string("*"); }},
    {"Text files", GetTextExtensionsAsFilter},
    {"Picture files", [] { return TSeam<TPictureDecoders>::Get().GetPictureExtensionsAsFilter(); }},
    {"Movie files", GetVideoExtensionsAsFilter},
    {"Video files", GetVideoExtensionsAsFilter},
    {"Music files", GetAudioExtensionsAsFilter},
    {"Audio files", GetAudioExtensionsAsFilter},
    {"No backup files", [] { return std::string("*.exe;*.dll;*.obj;*.tds;*.tmp"); }},
};

} // namespace

template <>
TPictureDecoders& TSeam<TPictureDecoders>::StandIn()
{
    return NoPictureDecoders;
}

void TFileExtensionList::Add(const std::string& extension)
{
    const auto place = std::lower_bound(Items.begin(), Items.end(), extension,
                                        [](const std::string& a, const std::string& b) { return LessTextAscii(a, b); });
    if (place == Items.end() || !SameTextAscii(*place, extension))
        Items.insert(place, extension);
}

void TFileExtensionList::Remove(const std::string& extension)
{
    std::erase_if(Items, [&](const std::string& entry) { return SameTextAscii(entry, extension); });
}

void TFileExtensionList::Assign(const std::vector<std::string>& extensions)
{
    Items.clear();
    for (const std::string& extension : extensions)
        Add(extension);
}

void TFileExtensionList::Clear()
{
    Items.clear();
}

bool TFileExtensionList::HoldsExtensionOf(const std::string& fileName) const
{
    return IsExtensionInList(fileName, &Items);
}

std::string TFileExtensionList::AsFilter() const
{
    std::string filter;
    for (const std::string& extension : Items)
        filter += (filter.empty() ? "*" : ";*") + extension;
    return filter;
}

bool IsPictureFile(const std::string& fileName)
{
    return PictureFileExtensions.HoldsExtensionOf(fileName);
}

bool IsAudioFile(const std::string& fileName)
{
    return AudioFileExtensions.HoldsExtensionOf(fileName);
}

bool IsVideoFile(const std::string& fileName)
{
    return VideoFileExtensions.HoldsExtensionOf(fileName);
}

bool IsTextFile(const std::string& fileName)
{
    return TextFileExtensions.HoldsExtensionOf(fileName);
}

bool IsProgramFile(const std::string& fileName)
{
    return ProgramFileExtensions.HoldsExtensionOf(fileName);
}

bool IsDocumentFile(const std::string& fileName)
{
    return DocumentFileExtensions.HoldsExtensionOf(fileName);
}

bool IsMediaPlayListFile(const std::string& extension)
{
    return SameTextAscii(extension, ".mpl");
}

std::string GetTextExtensionsAsFilter()
{
    return TextFileExtensions.AsFilter();
}

std::string GetAudioExtensionsAsFilter()
{
    return AudioFileExtensions.AsFilter();
}

std::string GetVideoExtensionsAsFilter()
{
    return VideoFileExtensions.AsFilter();
}

std::string GetFilterFromText(const std::string& text, bool* predefined)
{
    const auto named = std::find_if(std::begin(NamedFilters), std::end(NamedFilters),
                                    [&](const TNamedFilter& filter) { return SameTextAscii(filter.Name, text); });
    const bool found = named != std::end(NamedFilters);
    if (predefined != nullptr)
        *predefined = found;
    return found ? named->Filter() : text;
}

std::string GetFilterFromComboBox(const QComboBox& comboBox, bool* predefined)
{
    return GetFilterFromText(comboBox.currentText().toStdString(), predefined);
}
