#include "tools/StegForm.h"

#include "viewing/PictureConversion.h"

#include "core/errors/Traced.h"
#include "core/files/FileInfo.h"
#include "core/files/KnownFolders.h"
#include "core/files/PathNames.h"
#include "core/forms/MessageBoxes.h"
#include "core/text/AsciiCase.h"

#include "host/File.h"
#include "host/FileSystem.h"
#include "host/LastError.h"
#include "host/PictureFiles.h"

#include <QIODevice>
#include <QImageWriter>

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

constexpr uint32_t MaskedPixel = 0xFEFEFE;
constexpr uint32_t AlphaMask = 0xFF000000;
constexpr char LoadFailure[] = "Failed to load picture.";
constexpr char SaveFailure[] = "Failed to save picture.";
constexpr char NoisePictureName[] = "-Quillomber_StegNoisePicture.bmp";
// The characters a Windows name cannot hold.
constexpr std::string_view ForbiddenTitleCharacters = "<>|\":\\/?*";

// The picture's pixel count as its header gives it, without decoding; nothing when the
// header does not tell.
std::optional<int64_t> HeaderPixels(host::PictureFile& file)
{
    const QSize size = file.DecodedSize();
    if (size.isEmpty())
        return std::nullopt;
    return int64_t{size.width()} * size.height();
}

// The decoded picture turned into the working form: 32-bit ARGB, never premultiplied,
// the colours as they are, and a pixel of alpha 0 as 0x00000000, as drawing onto a
// transparent bitmap gives. The conversion works in the decoded picture's own memory
// wherever the toolkit can (it grows the buffer for narrower formats), so a large
// carrier is never held twice.
QImage MakeWorkBitmap(QImage picture)
{
    QImage work = std::move(picture).convertToFormat(QImage::Format_ARGB32);
    if (work.isNull())
        return {};
    for (int y = 0; y < work.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(work.scanLine(y));
        for (int x = 0; x < work.width(); ++x)
            if ((row[x] & AlphaMask) == 0)
                row[x] = 0;
    }
    return work;
}

uint32_t Swap(uint32_t value)
{
    return __builtin_bswap32(value);
}

bool IsGrey(uint32_t masked)
{
    const uint32_t blue = masked & 0xFF;
    return ((masked >> 8) & 0xFF) == blue && ((masked >> 16) & 0xFF) == blue;
}

int32_t ReadInt32(const uint8_t* bytes)
{
    return static_cast<int32_t>(uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 |
                                uint32_t{bytes[3]} << 24);
}

void WriteInt32(uint8_t* bytes, int32_t value)
{
    for (int k = 0; k < 4; ++k)
        bytes[k] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * k));
}

bool IsValidTitle(std::string_view title)
{
    if (title.empty() || title == "." || title == "..")
        return false;
    return std::none_of(title.begin(), title.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || ForbiddenTitleCharacters.find(c) != std::string_view::npos;
    });
}

// The path with its extension replaced; a path that already has it, in any letter case,
// stays as it is.
std::string GetSaveTarget(const std::string& path, const std::string& extension)
{
    return SameTextAscii(GetExtension(path), extension) ? path : ExcludeExtension(path) + extension;
}

// Receives an encoder's bytes straight into a string, so the encoded file is held once.
class TStringDevice : public QIODevice
{
public:
    explicit TStringDevice(std::string& bytes) : Bytes(bytes) { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        Bytes.append(data, static_cast<size_t>(size));
        return size;
    }

private:
    std::string& Bytes;
};

// The working picture's pixels alone, seen in place: none of the carrier file's texts or
// colour space goes into the file written. A BMP takes the pixels as 32-bit RGB, which
// the encoder writes as 24 bits: the alpha byte is dropped, not blended, since an alpha
// of 0 would make viewers that honour alpha show nothing.
std::optional<std::string> EncodePicture(const QImage& picture, const std::string& encoder, bool asBmp)
{
    const QImage pixels(picture.constBits(), picture.width(), picture.height(), picture.bytesPerLine(),
                        asBmp ? QImage::Format_RGB32 : QImage::Format_ARGB32);
    std::string bytes;
    TStringDevice device(bytes);
    QImageWriter writer(&device, QByteArray::fromStdString(encoder));
    if (!writer.write(pixels))
        return std::nullopt;
    return bytes;
}

} // namespace

void TStegForm::LoadPicture(const std::string& path, std::optional<int64_t> maxPixels)
{
    TTraced trace;
    trace.Run([&] {
        ReleasePicture();
        // The decoded picture as the file stores it: no orientation applied, whole, decoded
        // as exactly as the decoder can (a JPEG through its accurate transform), and only
        // when the file holds all of it.
        host::PictureFile file;
        if (!file.Open(path) || !file.IsComplete())
            return trace.RaiseSystem(LoadFailure, path);
        if (maxPixels) {
            const std::optional<int64_t> pixels = HeaderPixels(file);
            if (!pixels || *pixels > *maxPixels)
                return;
        }
        file.KeepStoredOrientation();
        std::optional<QImage> picture = file.Read(QSize(), true);
        if (!picture)
            return trace.RaiseSystem(LoadFailure, path);
        if (picture->width() <= 0 || picture->height() <= 0)
            return trace.Raise(LoadFailure, path);
        QImage work = MakeWorkBitmap(std::move(*picture));
        if (work.isNull())
            return trace.Raise(LoadFailure, path);
        WorkBitmap = std::move(work);
        PictureWidth = WorkBitmap.width();
        PictureHeight = WorkBitmap.height();
    });
}

void TStegForm::LockPixels()
{
    TTraced trace;
    trace.Run([&] {
        if (WorkBitmap.isNull())
            return trace.Raise("Failed to lock bitmap.");
        Pixels = reinterpret_cast<uint32_t*>(WorkBitmap.bits());
        PixelsPerRow = WorkBitmap.bytesPerLine() / 4;
    });
}

void TStegForm::UnlockPixels()
{
    Pixels = nullptr;
    PixelsPerRow = 0;
}

void TStegForm::ReleasePicture()
{
    UnlockPixels();
    WorkBitmap = QImage();
    PictureWidth = 0;
    PictureHeight = 0;
}

TStegPixels TStegForm::LockedPixels() const
{
    if (Pixels == nullptr)
        return {};
    return {Pixels, PixelsPerRow, PictureWidth, PictureHeight};
}

std::string TStegForm::SavePicture(const std::string& path, bool asBmp, bool keepTime, bool ask)
{
    TTraced trace;
    std::string written;
    trace.Run([&] {
        std::string extension;
        std::string encoder;
        if (!GetPictureConverterID(asBmp ? "BMP" : "PNG", extension, encoder))
            return trace.Raise("Failed to get filter information.", path);
        const std::string target = GetSaveTarget(path, extension);
        const bool exists = MyFileExists(target);
        if (exists && ask && !AskQuery("File already exists. OVERWRITE it?"))
            return;
        TFileInfo old;
        if (exists && keepTime) {
            old.Load(target);
            if (trace.TakeOver())
                return;
        }
        const std::optional<std::string> bytes = EncodePicture(WorkBitmap, encoder, asBmp);
        if (!bytes)
            return trace.Raise(SaveFailure, path);
        if (!(asBmp ? host::ReplacePrivateFileContents(target, *bytes) : host::ReplaceFileContents(target, *bytes)))
            return trace.RaiseSystem(SaveFailure, path);
        if (exists && keepTime && !host::SetLastWriteTime(target, old.LastWriteTime))
            return trace.RaiseSystem("Failed to set time.", path);
        written = target;
    });
    return written;
}

int TStegForm::IsUsablePixel(const TStegPixels& picture, int64_t x, int64_t y, int64_t bitIndex)
{
    if (x < 0 || y < 0 || x >= picture.Width - 1 || y >= picture.Height - 1)
        return -1;
    const uint32_t masked = picture.At(x, y) & MaskedPixel;
    if (IsGrey(masked) || masked == (picture.At(x + 1, y) & MaskedPixel) ||
        masked == (picture.At(x, y + 1) & MaskedPixel) || masked == (picture.At(x + 1, y + 1) & MaskedPixel))
        return -1;
    return static_cast<int>(bitIndex % 3);
}

int TStegForm::IsUsablePixel(int64_t x, int64_t y) const
{
    return IsUsablePixel(LockedPixels(), x, y, BitIndex);
}

int TStegForm::GetBufferBit(const uint8_t* buffer) const
{
    return (buffer[BitIndex / 8] >> (BitIndex % 8)) & 1;
}

void TStegForm::EmbedBit(int64_t x, int64_t y, int bit, int channel)
{
    if (channel < 0 || channel > 2)
        return;
    const uint32_t place = uint32_t{1} << (8 * channel);
    uint32_t& pixel = LockedPixels().At(x, y);
    pixel = bit != 0 ? pixel | place : pixel & ~place;
    ++BitIndex;
}

void TStegForm::ExtractBit(uint8_t* buffer, uint32_t pixel, int channel)
{
    if (channel < 0 || channel > 2)
        return;
    const auto place = static_cast<uint8_t>(1 << (BitIndex % 8));
    uint8_t& byte = buffer[BitIndex / 8];
    byte = ((pixel >> (8 * channel)) & 1) != 0 ? byte | place : byte & ~place;
    ++BitIndex;
}

int64_t TStegForm::CountUsablePixels()
{
    BitIndex = 0;
    int64_t usable = 0;
    for (int64_t x = 0; x < PictureWidth - 1; ++x)
        for (int64_t y = 0; y < PictureHeight - 1; ++y)
            if (IsUsablePixel(x, y) >= 0)
                ++usable;
    return usable;
}

void TStegForm::EmbedBuffer(const uint8_t* buffer, int64_t capacity)
{
    BitIndex = 0;
    for (int64_t x = 0; x < PictureWidth - 1 && BitIndex < capacity * 8; ++x)
        for (int64_t y = 0; y < PictureHeight - 1 && BitIndex < capacity * 8; ++y)
            EmbedBit(x, y, GetBufferBit(buffer), IsUsablePixel(x, y));
}

void TStegForm::ExtractBuffer(uint8_t* buffer, int64_t capacity)
{
    BitIndex = 0;
    const TStegPixels picture = LockedPixels();
    for (int64_t x = 0; x < PictureWidth - 1 && BitIndex < capacity * 8; ++x)
        for (int64_t y = 0; y < PictureHeight - 1 && BitIndex < capacity * 8; ++y)
            ExtractBit(buffer, picture.At(x, y), IsUsablePixel(x, y));
}

int64_t TStegForm::GetCapacity(int64_t usablePixels)
{
    return BlockBytes * (usablePixels / PixelsPerBlock);
}

int64_t TStegForm::GetRequiredBits(int64_t size)
{
    const int64_t blocks = (size + BlockBytes - 1) / BlockBytes;
    return (blocks * BlockBytes + DataOffset) * 8;
}

int TStegForm::GetIntegrity(const TStegPixels& picture)
{
    uint32_t a = 0;
    uint32_t c = 0;
    for (int64_t y = 0; y < picture.Height; ++y)
        for (int64_t x = 0; x < picture.Width; ++x) {
            a = std::rotl((picture.At(x, y) & MaskedPixel) ^ Swap(a), static_cast<int>(a & 16));
            c = Swap(c + a);
        }
    return static_cast<int>(((c & 0xFFFF) ^ (c >> 16)) % 10000);
}

void TStegForm::PutHeader(uint8_t* buffer, std::string_view title, int32_t size)
{
    const size_t length = std::min<size_t>(title.size(), MaxTitleBytes);
    std::memcpy(buffer + TitleOffset, title.data(), length);
    buffer[TitleOffset + length] = 0;
    WriteInt32(buffer + SizeOffset, size);
    WriteInt32(buffer + SizeHighOffset, 0);
    HashBlock(buffer + CheckOffset).Store(buffer + HashOffset);
}

bool TStegForm::CheckHashBlock(const uint8_t* buffer)
{
    return HashBlock(buffer + CheckOffset) == TStegState::Load(buffer + HashOffset);
}

bool TStegForm::CheckHeader(const uint8_t* buffer, int64_t capacity, bool full)
{
    if (capacity < DataOffset || !CheckHashBlock(buffer))
        return false;
    if (!full)
        return true;
    const int64_t size = GetStoredSize(buffer);
    if (size < 0 || size > MaxHiddenSize || size > capacity - DataOffset)
        return false;
    const auto* title = reinterpret_cast<const char*>(buffer + TitleOffset);
    const void* end = std::memchr(title, 0, TitleBytes);
    return end != nullptr && IsValidTitle({title, static_cast<size_t>(static_cast<const char*>(end) - title)});
}

std::string TStegForm::GetStoredTitle(const uint8_t* buffer)
{
    const auto* title = reinterpret_cast<const char*>(buffer + TitleOffset);
    return {title, strnlen(title, TitleBytes)};
}

int32_t TStegForm::GetStoredSize(const uint8_t* buffer)
{
    return ReadInt32(buffer + SizeOffset);
}

uint32_t TStegForm::MakeNoisePixel(uint32_t pixel)
{
    return (pixel & 0x010101) * 128;
}

std::string TStegForm::ViewNoise(const std::string& path)
{
    TTraced trace;
    std::string written;
    trace.Run([&] {
        LoadPicture(path);
        if (trace.TakeOver())
            return;
        LockPixels();
        if (trace.TakeOver())
            return;
        const TStegPixels picture = LockedPixels();
        for (int64_t y = 0; y < picture.Height; ++y)
            for (int64_t x = 0; x < picture.Width; ++x)
                picture.At(x, y) = MakeNoisePixel(picture.At(x, y));
        UnlockPixels();
        const std::string folder = GetTempPathA();
        if (trace.TakeOver())
            return;
        written = SavePicture(IncludeEndBackslash(folder) + NoisePictureName, true, false, false);
        trace.TakeOver();
    });
    ReleasePicture();
    trace.ShowFailure("Failed to view steg noise.");
    return written;
}
