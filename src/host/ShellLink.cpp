#include "host/ShellLink.h"

#include "host/Drives.h"
#include "host/File.h"
#include "host/LastError.h"

#include <algorithm>
#include <array>
#include <utility>

namespace host {
namespace {

constexpr uint32_t HeaderSize = 0x4C;
constexpr std::array<unsigned char, 16> LinkClassId = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                       0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

constexpr uint32_t HasLinkTargetIdList = 0x1;
constexpr uint32_t HasLinkInfo = 0x2;
constexpr uint32_t HasName = 0x4;
constexpr uint32_t HasRelativePath = 0x8;
constexpr uint32_t HasWorkingDir = 0x10;
constexpr uint32_t HasArguments = 0x20;
constexpr uint32_t HasIconLocation = 0x40;
constexpr uint32_t IsUnicode = 0x80;

constexpr uint32_t VolumeIdAndLocalBasePath = 0x1;
constexpr uint32_t CommonNetworkRelativeLinkAndPathSuffix = 0x2;
// The location header without and with the offsets of the UTF-16 paths.
constexpr uint32_t ShortLinkInfoHeader = 0x1C;
constexpr uint32_t LongLinkInfoHeader = 0x24;
constexpr uint32_t NetworkLinkHeader = 0x14;
constexpr uint32_t VolumeIdHeader = 0x10;
constexpr uint32_t DriveFixed = 3;

constexpr size_t MaxStringDataUnits = 0xFFFF;
// A link takes a few kilobytes; a far bigger file is no link and is not read into memory.
constexpr uint64_t MaxLinkFileBytes = 16 * 1024 * 1024;

// The characters 0x80 to 0x9F of the Western Windows code page, in which links without
// the Unicode flag hold their texts; the positions it leaves empty keep their own value.
constexpr std::array<char16_t, 32> WesternHighControls = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020,
                                                          0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D,
                                                          0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D,
                                                          0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A,
                                                          0x0153, 0x009D, 0x017E, 0x0178};

// Thrown while reading when the bytes end early or an offset leaves its structure.
struct Malformed
{
};

void AppendUtf8(std::string& text, char32_t code)
{
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool IsHighSurrogate(char16_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// A surrogate without its partner becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view units)
{
    std::string text;
    for (size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (IsHighSurrogate(unit) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
            AppendUtf8(text, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUtf8(text, 0xFFFD);
        } else {
            AppendUtf8(text, unit);
        }
    }
    return text;
}

// Strict: nothing for a text that is not well-formed UTF-8.
std::optional<std::u16string> Utf8ToUtf16(std::string_view text)
{
    std::u16string units;
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80           ? 1
                              : (lead >> 5) == 0x6  ? 2
                              : (lead >> 4) == 0xE  ? 3
                              : (lead >> 3) == 0x1E ? 4
                                                    : 0;
        if (length == 0 || i + length > text.size())
            return std::nullopt;
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            code = (code << 6) | (next & 0x3F);
        }
        constexpr char32_t smallestOfLength[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallestOfLength[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return std::nullopt;
        if (code >= 0x10000) {
            units += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            units += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            units += static_cast<char16_t>(code);
        }
        i += length;
    }
    return units;
}

std::string WesternToUtf8(std::string_view bytes)
{
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        AppendUtf8(text, byte >= 0x80 && byte < 0xA0 ? WesternHighControls[byte - 0x80] : byte);
    }
    return text;
}

// The 8-bit form of a path for readers that know no UTF-16: ASCII as it is, any other
// character as "?", as the shell writes what its code page cannot hold.
std::string AsciiForm(std::u16string_view units)
{
    std::string text;
    for (size_t i = 0; i < units.size(); ++i) {
        text += units[i] < 0x80 ? static_cast<char>(units[i]) : '?';
        if (IsHighSurrogate(units[i]) && i + 1 < units.size() && IsLowSurrogate(units[i + 1]))
            ++i;
    }
    return text;
}

bool IsAscii(std::u16string_view units)
{
    return std::all_of(units.begin(), units.end(), [](char16_t unit) { return unit < 0x80; });
}

// Texts end at their first NUL character, as the shell's own calls give them.
std::string UpToNul(std::string text)
{
    text.resize(std::min(text.size(), text.find('\0')));
    return text;
}

uint64_t LittleEndian(std::string_view bytes)
{
    uint64_t value = 0;
    for (size_t i = bytes.size(); i-- > 0;)
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return value;
}

class ByteReader
{
public:
    explicit ByteReader(std::string_view bytes) : Bytes(bytes) {}

    std::string_view Take(size_t count)
    {
        if (count > Bytes.size() - At)
            throw Malformed{};
        const std::string_view taken = Bytes.substr(At, count);
        At += count;
        return taken;
    }
    uint16_t U16() { return static_cast<uint16_t>(LittleEndian(Take(2))); }
    uint32_t U32() { return static_cast<uint32_t>(LittleEndian(Take(4))); }
    uint64_t U64() { return LittleEndian(Take(8)); }
    uint32_t PeekU32() const { return ByteReader(Bytes.substr(At)).U32(); }

private:
    std::string_view Bytes;
    size_t At = 0;
};

uint32_t U32At(std::string_view bytes, size_t offset)
{
    if (offset > bytes.size())
        throw Malformed{};
    return ByteReader(bytes.substr(offset)).U32();
}

// A NUL-ended string at an offset that lies past the structure's own header.
std::string_view NarrowStringAt(std::string_view bytes, size_t offset, size_t headerSize)
{
    if (offset < headerSize || offset >= bytes.size())
        throw Malformed{};
    const size_t end = bytes.find('\0', offset);
    if (end == std::string_view::npos)
        throw Malformed{};
    return bytes.substr(offset, end - offset);
}

std::string WideStringAt(std::string_view bytes, size_t offset, size_t headerSize)
{
    if (offset < headerSize)
        throw Malformed{};
    std::u16string units;
    for (size_t at = offset;; at += 2) {
        if (at + 2 > bytes.size())
            throw Malformed{};
        const auto unit = static_cast<char16_t>(LittleEndian(bytes.substr(at, 2)));
        if (unit == 0)
            return Utf16ToUtf8(units);
        units += unit;
    }
}

// The path text at an 8-bit offset, or at the UTF-16 offset when the header has one set.
std::string PathAt(std::string_view bytes, size_t headerSize, size_t narrowOffsetField, size_t wideOffsetField)
{
    const bool hasWide = headerSize > wideOffsetField && U32At(bytes, wideOffsetField) != 0;
    if (hasWide)
        return WideStringAt(bytes, U32At(bytes, wideOffsetField), headerSize);
    return WesternToUtf8(NarrowStringAt(bytes, U32At(bytes, narrowOffsetField), headerSize));
}

std::string NetworkName(std::string_view info)
{
    const uint32_t offset = U32At(info, 0x14);
    if (offset > info.size())
        throw Malformed{};
    const std::string_view rest = info.substr(offset);
    const uint32_t size = U32At(rest, 0);
    if (size < NetworkLinkHeader || size > rest.size())
        throw Malformed{};
    const std::string_view network = rest.substr(0, size);
    const uint32_t nameOffset = U32At(network, 0x8);
    // A name offset past the short header means the UTF-16 offsets follow it.
    const size_t headerSize = nameOffset > NetworkLinkHeader ? NetworkLinkHeader + 8 : NetworkLinkHeader;
    return PathAt(network, headerSize, 0x8, 0x14);
}

std::string TargetFromLinkInfo(std::string_view info)
{
    const uint32_t headerSize = U32At(info, 0x4);
    if (headerSize < ShortLinkInfoHeader || headerSize > info.size())
        throw Malformed{};
    const uint32_t flags = U32At(info, 0x8);
    if ((flags & (VolumeIdAndLocalBasePath | CommonNetworkRelativeLinkAndPathSuffix)) == 0)
        return {};
    const std::string suffix = PathAt(info, headerSize, 0x18, 0x20);
    if ((flags & VolumeIdAndLocalBasePath) != 0)
        return PathAt(info, headerSize, 0x10, 0x1C) + suffix;
    const std::string share = NetworkName(info);
    if (suffix.empty() || share.ends_with('\\'))
        return share + suffix;
    return share + '\\' + suffix;
}

std::string ReadStringData(ByteReader& reader, bool unicode)
{
    const uint16_t count = reader.U16();
    if (!unicode)
        return UpToNul(WesternToUtf8(reader.Take(count)));
    const std::string_view bytes = reader.Take(size_t{count} * 2);
    std::u16string units;
    for (size_t at = 0; at < bytes.size(); at += 2)
        units += static_cast<char16_t>(LittleEndian(bytes.substr(at, 2)));
    return UpToNul(Utf16ToUtf8(units));
}

// The extra data blocks end with a block whose size is below 4.
void SkipExtraData(ByteReader& reader)
{
    for (uint32_t size = reader.U32(); size >= 4; size = reader.U32()) {
        if (size < 8)
            throw Malformed{};
        reader.Take(size - 4);
    }
}

class ByteWriter
{
public:
    void U16(uint16_t value) { Little(value, 2); }
    void U32(uint32_t value) { Little(value, 4); }
    void U64(uint64_t value) { Little(value, 8); }
    void Bytes(std::string_view bytes) { Out += bytes; }
    void Wide(std::u16string_view units)
    {
        for (const char16_t unit : units)
            U16(unit);
    }
    const std::string& Result() const { return Out; }

private:
    void Little(uint64_t value, int bytes)
    {
        for (int i = 0; i < bytes; ++i)
            Out += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
    std::string Out;
};

bool HasDriveLetter(const std::string& path)
{
    return path.size() >= 3 && path[1] == ':' && path[2] == '\\';
}

// The location of a target on a local drive: its volume (a fixed drive without a label;
// the host has no volume serial numbers) and its full path, in UTF-16 as well when the
// path is not plain ASCII.
std::string LocalLinkInfo(const std::u16string& path)
{
    const bool wide = !IsAscii(path);
    const uint32_t headerSize = wide ? LongLinkInfoHeader : ShortLinkInfoHeader;
    const std::string narrowPath = AsciiForm(path);
    const uint32_t volumeSize = VolumeIdHeader + 1;
    const uint32_t volumeOffset = headerSize;
    const uint32_t pathOffset = volumeOffset + volumeSize;
    const uint32_t suffixOffset = pathOffset + static_cast<uint32_t>(narrowPath.size()) + 1;
    const uint32_t widePathOffset = suffixOffset + 1;
    const uint32_t wideSuffixOffset = widePathOffset + 2 * (static_cast<uint32_t>(path.size()) + 1);
    const uint32_t totalSize = wide ? wideSuffixOffset + 2 : suffixOffset + 1;

    ByteWriter info;
    info.U32(totalSize);
    info.U32(headerSize);
    info.U32(VolumeIdAndLocalBasePath);
    info.U32(volumeOffset);
    info.U32(pathOffset);
    info.U32(0);
    info.U32(suffixOffset);
    if (wide) {
        info.U32(widePathOffset);
        info.U32(wideSuffixOffset);
    }
    info.U32(volumeSize);
    info.U32(DriveFixed);
    info.U32(0);
    info.U32(VolumeIdHeader);
    info.Bytes(std::string_view("\0", 1));
    info.Bytes(narrowPath);
    info.Bytes(std::string_view("\0\0", 2));
    if (wide) {
        info.Wide(path);
        info.Bytes(std::string_view("\0\0\0\0", 4));
    }
    return info.Result();
}

HResult FailureFromLastError()
{
    const uint32_t code = GetLastError();
    return code == ERROR_SUCCESS ? E_FAIL : HResultFromError(code);
}

// The relative path taken from the link's folder, in the program's form of the result.
std::optional<std::string> PathBesideLink(const std::string& linkPath, const std::string& relativePath)
{
    const size_t separator = linkPath.find_last_of('\\');
    if (relativePath.empty() || separator == std::string::npos)
        return std::nullopt;
    const std::optional<std::string> hostPath = WindowsToHost(linkPath.substr(0, separator + 1) + relativePath);
    if (!hostPath)
        return std::nullopt;
    return HostToWindows(*hostPath);
}

} // namespace

HResult HResultFromError(uint32_t code)
{
    return static_cast<HResult>(0x80070000u | (code & 0xFFFF));
}

bool IsStorableLinkText(std::string_view text)
{
    const std::optional<std::u16string> units = Utf8ToUtf16(text);
    return units && units->size() <= MaxStringDataUnits && units->find(u'\0') == std::u16string::npos;
}

std::optional<ShellLink> ParseShellLink(std::string_view bytes)
{
    try {
        ByteReader reader(bytes);
        const std::string_view classId(reinterpret_cast<const char*>(LinkClassId.data()), LinkClassId.size());
        if (reader.U32() != HeaderSize || reader.Take(LinkClassId.size()) != classId)
            return std::nullopt;
        ShellLink link;
        const uint32_t flags = reader.U32();
        link.TargetData.Attributes = reader.U32();
        link.TargetData.CreationTime = reader.U64();
        link.TargetData.LastAccessTime = reader.U64();
        link.TargetData.LastWriteTime = reader.U64();
        link.TargetData.Size = reader.U32();
        link.IconIndex = static_cast<int32_t>(reader.U32());
        link.ShowCommand = static_cast<int32_t>(reader.U32());
        link.HotKey = reader.U16();
        reader.Take(10);
        if ((flags & HasLinkTargetIdList) != 0)
            reader.Take(reader.U16());
        if ((flags & HasLinkInfo) != 0) {
            link.TargetPath = TargetFromLinkInfo(reader.Take(reader.PeekU32()));
        }
        const bool unicode = (flags & IsUnicode) != 0;
        const std::pair<uint32_t, std::string*> texts[] = {
            {HasName, &link.Description},
            {HasRelativePath, &link.RelativePath},
            {HasWorkingDir, &link.WorkingDirectory},
            {HasArguments, &link.Arguments},
            {HasIconLocation, &link.IconLocation},
        };
        for (const auto& [flag, text] : texts)
            if ((flags & flag) != 0)
                *text = ReadStringData(reader, unicode);
        SkipExtraData(reader);
        return link;
    } catch (const Malformed&) {
        return std::nullopt;
    }
}

std::optional<std::string> FormatShellLink(const ShellLink& link)
{
    const std::pair<uint32_t, const std::string*> texts[] = {
        {HasName, &link.Description},    {HasRelativePath, &link.RelativePath}, {HasWorkingDir, &link.WorkingDirectory},
        {HasArguments, &link.Arguments}, {HasIconLocation, &link.IconLocation},
    };
    if (!IsStorableLinkText(link.TargetPath))
        return std::nullopt;
    uint32_t flags = IsUnicode;
    const std::string linkInfo = HasDriveLetter(link.TargetPath) ? LocalLinkInfo(*Utf8ToUtf16(link.TargetPath)) : "";
    if (!linkInfo.empty())
        flags |= HasLinkInfo;
    for (const auto& [flag, text] : texts) {
        if (!IsStorableLinkText(*text))
            return std::nullopt;
        if (!text->empty())
            flags |= flag;
    }

    ByteWriter out;
    out.U32(HeaderSize);
    out.Bytes(std::string_view(reinterpret_cast<const char*>(LinkClassId.data()), LinkClassId.size()));
    out.U32(flags);
    out.U32(link.TargetData.Attributes);
    out.U64(link.TargetData.CreationTime);
    out.U64(link.TargetData.LastAccessTime);
    out.U64(link.TargetData.LastWriteTime);
    out.U32(static_cast<uint32_t>(link.TargetData.Size));
    out.U32(static_cast<uint32_t>(link.IconIndex));
    out.U32(static_cast<uint32_t>(link.ShowCommand));
    out.U16(link.HotKey);
    out.Bytes(std::string(10, '\0'));
    out.Bytes(linkInfo);
    for (const auto& [flag, text] : texts) {
        if (text->empty())
            continue;
        const std::u16string units = *Utf8ToUtf16(*text);
        out.U16(static_cast<uint16_t>(units.size()));
        out.Wide(units);
    }
    out.U32(0);
    return out.Result();
}

HResult LoadShellLink(const std::string& linkPath, ShellLink& link)
{
    const std::optional<FindData> entry = GetFileData(linkPath);
    if (!entry)
        return FailureFromLastError();
    if (entry->Size > MaxLinkFileBytes)
        return E_FAIL;
    const std::optional<std::string> bytes = ReadFileContents(linkPath);
    if (!bytes)
        return FailureFromLastError();
    std::optional<ShellLink> parsed = ParseShellLink(*bytes);
    if (!parsed)
        return E_FAIL;
    if (parsed->TargetPath.empty())
        parsed->TargetPath = PathBesideLink(linkPath, parsed->RelativePath).value_or("");
    link = std::move(*parsed);
    return S_OK;
}

HResult SaveShellLink(const std::string& linkPath, const ShellLink& link)
{
    const std::optional<std::string> bytes = FormatShellLink(link);
    if (!bytes)
        return E_INVALIDARG;
    return ReplaceFileContents(linkPath, *bytes) ? S_OK : FailureFromLastError();
}

void ResolveShellLink(const std::string& linkPath, ShellLink& link, uint32_t flags)
{
    if (PathExists(link.TargetPath))
        return;
    const std::optional<std::string> moved = PathBesideLink(linkPath, link.RelativePath);
    if (!moved)
        return;
    std::optional<FindData> data = GetFileData(*moved);
    if (!data)
        return;
    data->Size &= 0xFFFFFFFF;
    link.TargetPath = *moved;
    link.TargetData = *data;
    if ((flags & SLR_UPDATE) != 0)
        SaveShellLink(linkPath, link);
}

} // namespace host
