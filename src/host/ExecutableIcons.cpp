#include "host/ExecutableIcons.h"

#include "host/File.h"
#include "host/LastError.h"

#include <QBuffer>
#include <QImageReader>
#include <QtEndian>

#include <cstring>
#include <string_view>
#include <vector>

namespace host {
namespace {

constexpr uint32_t MaxEntries = 256;
constexpr uint32_t MaxImageBytes = 1u << 20;
constexpr int MaxIconSide = 256;
// A cursor file holds a few small pictures; a larger file is no cursor.
constexpr uint64_t MaxCursorFileBytes = 4u << 20;

constexpr uint32_t ResourceTypeIcon = 3;
constexpr uint32_t ResourceTypeIconGroup = 14;
constexpr uint32_t ResourceDirectoryIndex = 2;
constexpr uint16_t Pe32Magic = 0x10B;
constexpr uint16_t Pe32PlusMagic = 0x20B;

constexpr char PngSignature[] = "\x89PNG\r\n\x1a\n";
constexpr size_t PngSignatureSize = sizeof PngSignature - 1;

uint16_t Word(std::string_view bytes, size_t at)
{
    return qFromLittleEndian<quint16>(bytes.data() + at);
}

uint32_t DoubleWord(std::string_view bytes, size_t at)
{
    return qFromLittleEndian<quint32>(bytes.data() + at);
}

// Pieces of a file by offset; a piece that does not lie wholly inside the file is refused.
class TBoundedFile
{
public:
    bool Open(const std::string& windowsPath)
    {
        if (!Source.Open(windowsPath, FileAccess::Read, FileDisposition::OpenExisting))
            return false;
        const std::optional<uint64_t> size = Source.Size();
        Bytes = size.value_or(0);
        return size.has_value();
    }

    std::optional<std::string> Read(uint64_t offset, uint64_t length)
    {
        if (offset > Bytes || length > Bytes - offset || !Source.Seek(offset))
            return std::nullopt;
        std::string data(static_cast<size_t>(length), '\0');
        for (size_t done = 0; done < data.size();) {
            const std::optional<size_t> got = Source.Read(data.data() + done, data.size() - done);
            if (!got || *got == 0)
                return std::nullopt;
            done += *got;
        }
        return data;
    }

private:
    File Source;
    uint64_t Bytes = 0;
};

struct TSection
{
    uint32_t VirtualAddress = 0;
    uint32_t VirtualSize = 0;
    uint32_t RawSize = 0;
    uint32_t RawOffset = 0;
};

struct TResourceEntry
{
    uint32_t Name = 0;
    uint32_t Target = 0;

    bool HasId(uint32_t id) const { return (Name & 0x80000000u) == 0 && Name == id; }
    bool IsDirectory() const { return (Target & 0x80000000u) != 0; }
    uint32_t Offset() const { return Target & 0x7FFFFFFFu; }
};

struct TGroupMember
{
    int Width = 0;
    int Height = 0;
    uint16_t BitCount = 0;
    uint16_t ResourceId = 0;
};

// The resources of a portable executable, reached through its section table.
class TResources
{
public:
    bool Open(const std::string& windowsPath) { return Source.Open(windowsPath) && ReadHeaders(); }

    // The first entry of a directory, or its first entry with the id.
    std::optional<TResourceEntry> FindEntry(uint32_t directory, std::optional<uint32_t> id = std::nullopt)
    {
        const std::optional<std::string> header = ReadResource(directory, 16);
        if (!header)
            return std::nullopt;
        const uint32_t count = std::min<uint32_t>(uint32_t{Word(*header, 12)} + Word(*header, 14), MaxEntries);
        const std::optional<std::string> entries = ReadResource(uint64_t{directory} + 16, uint64_t{count} * 8);
        if (!entries)
            return std::nullopt;
        for (uint32_t i = 0; i < count; ++i) {
            const TResourceEntry entry{DoubleWord(*entries, i * 8), DoubleWord(*entries, i * 8 + 4)};
            if (!id || entry.HasId(*id))
                return entry;
        }
        return std::nullopt;
    }

    // The data of a resource (an entry of the name level) in its first language.
    std::optional<std::string> ReadData(const TResourceEntry& resource, uint32_t maxBytes)
    {
        if (!resource.IsDirectory())
            return std::nullopt;
        const std::optional<TResourceEntry> language = FindEntry(resource.Offset());
        if (!language || language->IsDirectory())
            return std::nullopt;
        const std::optional<std::string> dataEntry = ReadResource(language->Offset(), 16);
        if (!dataEntry)
            return std::nullopt;
        const uint32_t size = DoubleWord(*dataEntry, 4);
        if (size > maxBytes)
            return std::nullopt;
        return ReadAtAddress(DoubleWord(*dataEntry, 0), size);
    }

    bool HasResources() const { return ResourceRoot != 0; }

private:
    bool ReadHeaders()
    {
        const std::optional<std::string> dos = Source.Read(0, 64);
        if (!dos || dos->compare(0, 2, "MZ") != 0)
            return false;
        const uint64_t peHeader = DoubleWord(*dos, 0x3C);
        const std::optional<std::string> coff = Source.Read(peHeader, 24);
        if (!coff || coff->compare(0, 4, std::string_view("PE\0\0", 4)) != 0)
            return false;
        const uint16_t sectionCount = Word(*coff, 6);
        const uint16_t optionalSize = Word(*coff, 20);
        const std::optional<std::string> optional = Source.Read(peHeader + 24, optionalSize);
        if (!optional || sectionCount > MaxEntries || !ReadResourceDirectory(*optional))
            return false;
        const std::optional<std::string> table = Source.Read(peHeader + 24 + optionalSize, uint64_t{sectionCount} * 40);
        if (!table)
            return false;
        for (size_t at = 0; at < table->size(); at += 40)
            Sections.push_back({DoubleWord(*table, at + 12), DoubleWord(*table, at + 8), DoubleWord(*table, at + 16),
                                DoubleWord(*table, at + 20)});
        return true;
    }

    // The address of the resource directory from the optional header's data directories.
    bool ReadResourceDirectory(std::string_view optional)
    {
        if (optional.size() < 2)
            return false;
        const uint16_t magic = Word(optional, 0);
        if (magic != Pe32Magic && magic != Pe32PlusMagic)
            return false;
        const size_t countAt = magic == Pe32Magic ? 92 : 108;
        const size_t directoryAt = countAt + 4 + ResourceDirectoryIndex * 8;
        if (optional.size() < directoryAt + 8 || DoubleWord(optional, countAt) <= ResourceDirectoryIndex)
            return false;
        ResourceRoot = DoubleWord(optional, directoryAt);
        return true;
    }

    // Bytes at a relative virtual address, from the section whose file data holds all of them.
    std::optional<std::string> ReadAtAddress(uint64_t address, uint64_t size)
    {
        for (const TSection& section : Sections) {
            if (address < section.VirtualAddress)
                continue;
            const uint64_t within = address - section.VirtualAddress;
            if (within <= section.RawSize && size <= section.RawSize - within)
                return Source.Read(uint64_t{section.RawOffset} + within, size);
        }
        return std::nullopt;
    }

    std::optional<std::string> ReadResource(uint64_t offset, uint64_t size)
    {
        return ReadAtAddress(uint64_t{ResourceRoot} + offset, size);
    }

    TBoundedFile Source;
    std::vector<TSection> Sections;
    uint32_t ResourceRoot = 0;
};

// The largest member of an icon group: by area, then by colour depth, the first of equals.
std::optional<TGroupMember> LargestMember(std::string_view group)
{
    constexpr size_t HeaderSize = 6;
    constexpr size_t MemberSize = 14;
    if (group.size() < HeaderSize || Word(group, 0) != 0 || Word(group, 2) != 1)
        return std::nullopt;
    const size_t count = std::min<size_t>(Word(group, 4), (group.size() - HeaderSize) / MemberSize);
    std::optional<TGroupMember> largest;
    for (size_t i = 0; i < count; ++i) {
        const size_t at = HeaderSize + i * MemberSize;
        const auto side = [](unsigned char byte) { return byte == 0 ? 256 : int{byte}; };
        const TGroupMember member{side(static_cast<unsigned char>(group[at])),
                                  side(static_cast<unsigned char>(group[at + 1])), Word(group, at + 6),
                                  Word(group, at + 12)};
        const auto area = [](const TGroupMember& m) { return m.Width * m.Height; };
        if (!largest || area(member) > area(*largest) ||
            (area(member) == area(*largest) && member.BitCount > largest->BitCount))
            largest = member;
    }
    return largest;
}

bool IsIconSide(int64_t side)
{
    return side >= 1 && side <= MaxIconSide;
}

bool IsPng(std::string_view image)
{
    return image.size() >= PngSignatureSize && image.compare(0, PngSignatureSize, PngSignature) == 0;
}

std::optional<QImage> DecodePng(std::string_view image)
{
    // The signature, the header chunk's length and type, then its width and height.
    constexpr size_t SizeAt = PngSignatureSize + 8;
    if (image.size() < SizeAt + 8)
        return std::nullopt;
    const int64_t width = qFromBigEndian<quint32>(image.data() + SizeAt);
    const int64_t height = qFromBigEndian<quint32>(image.data() + SizeAt + 4);
    if (!IsIconSide(width) || !IsIconSide(height))
        return std::nullopt;
    return QImage::fromData(QByteArrayView(image.data(), static_cast<qsizetype>(image.size())), "png");
}

// A device-independent bitmap of an icon resource (picture and mask, so twice the height)
// becomes an icon file of one image, the form the icon decoder reads.
std::optional<QImage> DecodeBitmap(std::string_view image, const TGroupMember& member)
{
    constexpr size_t InfoHeaderSize = 40;
    if (image.size() < InfoHeaderSize || DoubleWord(image, 0) < InfoHeaderSize)
        return std::nullopt;
    const auto width = static_cast<int32_t>(DoubleWord(image, 4));
    const auto doubleHeight = static_cast<int32_t>(DoubleWord(image, 8));
    if (!IsIconSide(width) || !IsIconSide(doubleHeight / 2))
        return std::nullopt;
    QByteArray icon;
    const auto word = [&icon](uint16_t value) { icon.append(reinterpret_cast<const char*>(&value), 2); };
    const auto doubleWord = [&icon](uint32_t value) { icon.append(reinterpret_cast<const char*>(&value), 4); };
    word(0);
    word(1);
    word(1);
    icon.append(static_cast<char>(width % 256));
    icon.append(static_cast<char>(doubleHeight / 2 % 256));
    icon.append(2, '\0');
    word(1);
    word(member.BitCount);
    doubleWord(static_cast<uint32_t>(image.size()));
    doubleWord(static_cast<uint32_t>(icon.size() + 4));
    icon.append(image.data(), static_cast<qsizetype>(image.size()));
    return QImage::fromData(icon, "ico");
}

std::optional<QImage> ReadFirstGroupIcon(const std::string& windowsPath)
{
    TResources resources;
    if (!resources.Open(windowsPath) || !resources.HasResources())
        return std::nullopt;
    const std::optional<TResourceEntry> groups = resources.FindEntry(0, ResourceTypeIconGroup);
    const std::optional<TResourceEntry> icons = resources.FindEntry(0, ResourceTypeIcon);
    if (!groups || !groups->IsDirectory() || !icons || !icons->IsDirectory())
        return std::nullopt;
    const std::optional<TResourceEntry> firstGroup = resources.FindEntry(groups->Offset());
    if (!firstGroup)
        return std::nullopt;
    const std::optional<std::string> group = resources.ReadData(*firstGroup, 6 + 14 * MaxEntries);
    const std::optional<TGroupMember> member = group ? LargestMember(*group) : std::nullopt;
    if (!member)
        return std::nullopt;
    const std::optional<TResourceEntry> icon = resources.FindEntry(icons->Offset(), member->ResourceId);
    const std::optional<std::string> image = icon ? resources.ReadData(*icon, MaxImageBytes) : std::nullopt;
    if (!image)
        return std::nullopt;
    return IsPng(*image) ? DecodePng(*image) : DecodeBitmap(*image, *member);
}

std::optional<QImage> LargestCursorImage(const std::string& bytes)
{
    QByteArray data = QByteArray::fromStdString(bytes);
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "cur");
    const int count = std::min(reader.imageCount(), static_cast<int>(MaxEntries));
    int largest = -1;
    int64_t largestArea = 0;
    for (int i = 0; i < count; ++i) {
        if (!reader.jumpToImage(i))
            break;
        const QSize size = reader.size();
        const int64_t area = int64_t{size.width()} * size.height();
        if (area > largestArea) {
            largest = i;
            largestArea = area;
        }
    }
    if (largest < 0 || !reader.jumpToImage(largest))
        return std::nullopt;
    const QImage image = reader.read();
    if (image.isNull())
        return std::nullopt;
    return image;
}

std::optional<QImage> Found(std::optional<QImage> icon)
{
    if (icon && icon->isNull())
        icon.reset();
    SetLastError(icon ? ERROR_SUCCESS : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return icon;
}

} // namespace

std::optional<QImage> ReadExecutableIcon(const std::string& windowsPath)
{
    SetLastError(ERROR_SUCCESS);
    std::optional<QImage> icon = ReadFirstGroupIcon(windowsPath);
    if (!icon && GetLastError() != ERROR_SUCCESS)
        return std::nullopt;
    return Found(std::move(icon));
}

std::optional<QImage> ReadCursorIcon(const std::string& windowsPath)
{
    const std::optional<std::string> bytes = ReadFileContents(windowsPath, MaxCursorFileBytes + 1);
    if (!bytes)
        return std::nullopt;
    if (bytes->size() > MaxCursorFileBytes)
        return Found(std::nullopt);
    return Found(LargestCursorImage(*bytes));
}

} // namespace host
