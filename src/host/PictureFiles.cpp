#include "host/PictureFiles.h"

#include "host/File.h"
#include "host/LastError.h"

#include <QIODevice>
#include <QImageReader>
#include <QtEndian>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace host {

// A host::File seen by the image decoders as a random-access device.
class FileDevice : public QIODevice
{
public:
    bool OpenFile(const std::string& windowsPath)
    {
        if (!Source.Open(windowsPath, FileAccess::Read, FileDisposition::OpenExisting))
            return false;
        const std::optional<uint64_t> bytes = Source.Size();
        if (!bytes)
            return false;
        Bytes = static_cast<qint64>(*bytes);
        return open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

    // The error of the first read that failed; ERROR_SUCCESS while none did.
    uint32_t ReadFailure() const { return Failure; }

    bool isSequential() const override { return false; }
    qint64 size() const override { return Bytes; }
    bool seek(qint64 position) override
    {
        return QIODevice::seek(position) && Source.Seek(static_cast<uint64_t>(position));
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const std::optional<size_t> got = Source.Read(data, static_cast<size_t>(maxSize));
        if (!got) {
            if (Failure == ERROR_SUCCESS)
                Failure = GetLastError();
            return -1;
        }
        return static_cast<qint64>(*got);
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    File Source;
    qint64 Bytes = 0;
    uint32_t Failure = ERROR_SUCCESS;
};

namespace {

// The extension without its dot, in lower case: the name its decoder goes by.
QByteArray FormatHintOf(const std::string& windowsPath)
{
    const size_t dot = windowsPath.find_last_of(".\\:");
    if (dot == std::string::npos || windowsPath[dot] != '.')
        return {};
    return QByteArray::fromStdString(windowsPath.substr(dot + 1)).toLower();
}

constexpr char PngSignature[] = "\x89PNG\r\n\x1a\n";
constexpr qint64 PngSignatureSize = sizeof PngSignature - 1;
// Each chunk: its data length and type in front of the data, a checksum behind it.
constexpr qint64 PngChunkHeaderSize = 8;
constexpr qint64 PngChunkCheckSize = 4;

// The PNG decoder allocates what a chunk's length claims before it finds the file short,
// so a file of a few bytes could claim gigabytes. True for a PNG each of whose chunks,
// up to the last one, lies within the file, and for any other file; the device is left
// at its start.
bool PngChunksFitInFile(QIODevice& device)
{
    char signature[PngSignatureSize];
    const bool isPng = device.read(signature, PngSignatureSize) == PngSignatureSize &&
                       std::memcmp(signature, PngSignature, PngSignatureSize) == 0;
    bool fit = true;
    for (qint64 position = PngSignatureSize; isPng && position < device.size();) {
        uchar header[PngChunkHeaderSize];
        if (!device.seek(position) ||
            device.read(reinterpret_cast<char*>(header), PngChunkHeaderSize) != PngChunkHeaderSize) {
            fit = false;
            break;
        }
        position += PngChunkHeaderSize + qFromBigEndian<quint32>(header) + PngChunkCheckSize;
        fit = position <= device.size();
        if (!fit || std::memcmp(header + 4, "IEND", 4) == 0)
            break;
    }
    return device.seek(0) && fit;
}

constexpr uchar JpegMarkerStart = 0xFF;
constexpr qint64 JpegEndBytes = 2;
// The file header and the info header up to the size of compressed pixels.
constexpr qsizetype BmpHeaderBytes = 38;
constexpr uchar JpegStartOfImage = 0xD8;
constexpr uchar JpegEndOfImage = 0xD9;
constexpr uchar JpegStartOfScan = 0xDA;

// Markers that carry no length: the restart markers, the temporary one and, inside
// compressed data, a stuffed 0xFF byte (0x00).
bool IsJpegStandaloneMarker(uchar marker)
{
    return marker == 0x00 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7);
}

// Walks the JPEG's segments, skipping each by its length (an embedded thumbnail's end
// marker lies inside one) and the compressed data from marker to marker, to its end marker.
bool JpegReachesItsEnd(const QByteArray& bytes)
{
    const auto at = [&bytes](qsizetype index) { return static_cast<uchar>(bytes[index]); };
    if (bytes.size() < 2 || at(0) != JpegMarkerStart || at(1) != JpegStartOfImage)
        return true;
    qsizetype position = 2;
    while (position + 1 < bytes.size()) {
        if (at(position) != JpegMarkerStart) {
            const void* next = std::memchr(bytes.constData() + position, JpegMarkerStart,
                                           static_cast<size_t>(bytes.size() - position));
            if (next == nullptr)
                return false;
            position = static_cast<const char*>(next) - bytes.constData();
            continue;
        }
        const uchar marker = at(position + 1);
        if (marker == JpegMarkerStart || IsJpegStandaloneMarker(marker)) {
            position += marker == JpegMarkerStart ? 1 : 2;
            continue;
        }
        if (marker == JpegEndOfImage)
            return true;
        if (position + 3 >= bytes.size())
            return false;
        const qsizetype length = (at(position + 2) << 8) | at(position + 3);
        if (length < 2)
            return false;
        position += 2 + length;
    }
    return false;
}

// A BMP's pixels start where its file header says; uncompressed, each row takes
// (width x bits + 31) / 32 x 4 bytes, compressed, the info header gives their size.
// `header` holds the file's first bytes (at least BmpHeaderBytes when the file has them).
bool BmpHoldsItsPixels(const QByteArray& header, qint64 fileSize)
{
    constexpr qsizetype CoreHeaderSize = 12;
    if (header.size() < 2 || header[0] != 'B' || header[1] != 'M')
        return true;
    if (header.size() < BmpHeaderBytes)
        return false;
    const uchar* data = reinterpret_cast<const uchar*>(header.constData());
    const bool core = qFromLittleEndian<quint32>(data + 14) == CoreHeaderSize;
    const int64_t width = core ? qFromLittleEndian<quint16>(data + 18) : qFromLittleEndian<qint32>(data + 18);
    const int64_t height = core ? qFromLittleEndian<quint16>(data + 20) : qFromLittleEndian<qint32>(data + 22);
    const int64_t bits = qFromLittleEndian<quint16>(data + (core ? 24 : 28));
    const quint32 compression = core ? 0 : qFromLittleEndian<quint32>(data + 30);
    // Uncompressed rows, also with colour masks (3 and 6).
    const bool rows = compression == 0 || compression == 3 || compression == 6;
    const int64_t room = fileSize - int64_t{qFromLittleEndian<quint32>(data + 10)};
    if (!rows)
        return qFromLittleEndian<quint32>(data + 34) <= room;
    const int64_t rowBytes = (std::abs(width) * bits + 31) / 32 * 4;
    // Divided, so that no claimed size can overflow.
    return room >= 0 && (height == 0 || rowBytes <= room / std::abs(height));
}

bool IsReduction(QSize wanted, QSize whole)
{
    return !wanted.isEmpty() && wanted != whole && wanted.width() <= whole.width() && wanted.height() <= whole.height();
}

} // namespace

PictureFile::PictureFile() = default;
PictureFile::~PictureFile() = default;

bool PictureFile::Open(const std::string& windowsPath)
{
    Reader.reset();
    Decoded.reset();
    Device = std::make_unique<FileDevice>();
    if (!Device->OpenFile(windowsPath))
        return false;
    if (!PngChunksFitInFile(*Device) || !FindDecoder(FormatHintOf(windowsPath))) {
        SetLastError(Device->ReadFailure() != ERROR_SUCCESS ? Device->ReadFailure() : ERROR_NOT_SUPPORTED);
        Reader.reset();
        return false;
    }
    SetLastError(ERROR_SUCCESS);
    return true;
}

bool PictureFile::FindDecoder(const QByteArray& formatHint)
{
    Reader = std::make_unique<QImageReader>(Device.get());
    Reader->setDecideFormatFromContent(true);
    if (Reader->canRead())
        return true;
    // Formats without a signature (TGA) are known only by their extension.
    if (formatHint.isEmpty() || !Device->seek(0))
        return false;
    Reader = std::make_unique<QImageReader>(Device.get(), formatHint);
    return Reader->canRead();
}

void PictureFile::KeepStoredOrientation()
{
    if (Reader)
        Reader->setAutoTransform(false);
}

QSize PictureFile::Size()
{
    if (!Reader) {
        SetLastError(ERROR_INVALID_HANDLE);
        return {};
    }
    if (!Decoded) {
        const QSize fromHeader = HeaderSize();
        if (!fromHeader.isEmpty()) {
            SetLastError(ERROR_SUCCESS);
            return fromHeader;
        }
        Decoded = Read();
    }
    return Decoded ? Decoded->size() : QSize();
}

QSize PictureFile::HeaderSize()
{
    if (!KnownHeaderSize)
        KnownHeaderSize = Reader->size();
    return *KnownHeaderSize;
}

bool PictureFile::ReducesWhileDecoding(QSize wantedSize)
{
    if (!IsReduction(wantedSize, HeaderSize()) || !Reader->supportsOption(QImageIOHandler::ScaledSize))
        return false;
    // The PNG decoder reduces row by row only what it decodes to 32-bit pixels. Any other
    // PNG it decodes whole and then scales, and that scaling turns a 1-bit palette into
    // black and white and skews 16-bit alpha: such a picture comes whole, and the drawing
    // reduces it.
    if (Reader->format() == "png") {
        const QImage::Format format = Reader->imageFormat();
        return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32;
    }
    return true;
}

QSize PictureFile::DecodedSize(QSize wantedSize)
{
    if (!Reader)
        return {};
    if (Decoded)
        return Decoded->size();
    return ReducesWhileDecoding(wantedSize) ? wantedSize : HeaderSize();
}

QImage::Format PictureFile::PixelFormat()
{
    if (!Reader) {
        SetLastError(ERROR_INVALID_HANDLE);
        return QImage::Format_Invalid;
    }
    SetLastError(ERROR_SUCCESS);
    // A GIF's pixels are indices into a palette of at most 256 colours, whatever its
    // decoder gives after decoding.
    if (Reader->format() == "gif")
        return QImage::Format_Indexed8;
    return Reader->imageFormat();
}

int32_t PictureFile::FrameCount()
{
    if (!Reader) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    SetLastError(ERROR_SUCCESS);
    return std::max(Reader->imageCount(), 1);
}

std::optional<QImage> PictureFile::Read(QSize wantedSize, bool smooth)
{
    if (!Reader) {
        SetLastError(ERROR_INVALID_HANDLE);
        return std::nullopt;
    }
    if (Decoded) {
        SetLastError(ERROR_SUCCESS);
        return Decoded;
    }
    if (ReducesWhileDecoding(wantedSize))
        Reader->setScaledSize(wantedSize);
    Reader->setQuality(smooth ? 100 : 0);
    QImage picture = Reader->read();
    if (picture.isNull()) {
        SetLastError(Device->ReadFailure() != ERROR_SUCCESS ? Device->ReadFailure() : ERROR_NOT_SUPPORTED);
        return std::nullopt;
    }
    SetLastError(ERROR_SUCCESS);
    return picture;
}

bool PictureFile::IsComplete()
{
    if (!Reader) {
        SetLastError(ERROR_INVALID_HANDLE);
        return false;
    }
    const QByteArray format = Reader->format();
    if (format != "jpeg" && format != "bmp") {
        SetLastError(ERROR_SUCCESS);
        return true;
    }
    const qint64 position = Device->pos();
    bool complete = true;
    if (format == "bmp") {
        complete = Device->seek(0) && BmpHoldsItsPixels(Device->read(BmpHeaderBytes), Device->size());
    } else {
        // Most files end with their end marker; only the others are walked through.
        const bool endsWithMarker = Device->size() >= JpegEndBytes && Device->seek(Device->size() - JpegEndBytes) &&
                                    Device->read(JpegEndBytes) == QByteArray("\xFF\xD9", JpegEndBytes);
        complete = endsWithMarker || (Device->seek(0) && JpegReachesItsEnd(Device->readAll()));
    }
    Device->seek(position);
    if (Device->ReadFailure() != ERROR_SUCCESS) {
        SetLastError(Device->ReadFailure());
        return false;
    }
    SetLastError(complete ? ERROR_SUCCESS : ERROR_HANDLE_EOF);
    return complete;
}

void SetPictureAllocationLimit()
{
    constexpr int LimitMegabytes = 1024;
    QImageReader::setAllocationLimit(LimitMegabytes);
}

std::vector<std::string> GetPictureDecoderExtensions()
{
    std::vector<std::string> extensions;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        extensions.push_back("." + format.toLower().toStdString());
    SetLastError(ERROR_SUCCESS);
    return extensions;
}

} // namespace host
