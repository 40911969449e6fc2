#include "host/PictureFiles.h"

#include "host/File.h"
#include "host/LastError.h"

#include <QIODevice>
#include <QImageReader>
#include <QtEndian>

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

QSize PictureFile::Size()
{
    if (!Reader) {
        SetLastError(ERROR_INVALID_HANDLE);
        return {};
    }
    if (!Decoded) {
        const QSize fromHeader = Reader->size();
        if (!fromHeader.isEmpty()) {
            SetLastError(ERROR_SUCCESS);
            return fromHeader;
        }
        Decoded = Read();
    }
    return Decoded ? Decoded->size() : QSize();
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
    if (IsReduction(wantedSize, Reader->size()) && Reader->supportsOption(QImageIOHandler::ScaledSize))
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

std::vector<std::string> GetPictureDecoderExtensions()
{
    std::vector<std::string> extensions;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        extensions.push_back("." + format.toLower().toStdString());
    SetLastError(ERROR_SUCCESS);
    return extensions;
}

} // namespace host
