#pragma once

#include <QImage>
#include <QSize>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QByteArray;
class QImageReader;

// Pictures in files, decoded by the platform's image decoders. The bytes are read through
// host::File, so devices and pipes are never opened and injected faults apply. Every call
// sets the last error.
namespace host {

class FileDevice;

class PictureFile
{
public:
    PictureFile();
    ~PictureFile();
    PictureFile(const PictureFile&) = delete;
    PictureFile& operator=(const PictureFile&) = delete;

    // Opens the file and finds a decoder for its content, or by its extension for a format
    // without a signature; ERROR_NOT_SUPPORTED when no decoder knows it, or for a PNG
    // whose chunks claim more bytes than the file holds.
    bool Open(const std::string& windowsPath);
    // The pixels come as the file stores them: an orientation the file records is not
    // applied. Called after Open, before anything is read.
    void KeepStoredOrientation();
    // The picture's size, from the file's header where the format has one, else from
    // decoding it; an empty size when it cannot be decoded.
    QSize Size();
    // The size Read(wantedSize) decodes at: the wanted size where the decoder reduces
    // while decoding, else the whole picture's; empty when the size is not known.
    QSize DecodedSize(QSize wantedSize = {});
    // The pixel format the file stores, read from the header: Format_Indexed8 for a GIF,
    // else the one the decoder delivers; QImage::Format_Invalid when the decoder cannot
    // tell before decoding (WebP).
    QImage::Format PixelFormat();
    // The frames of an animation or the pages of a multi-page picture: 1 for a still
    // picture and for one whose decoder cannot count them.
    int32_t FrameCount();
    // Decodes the picture. Given the size it is wanted at, smaller than the picture, a
    // decoder that can reduce while decoding (JPEG, 8-bit colour PNG) delivers it at that
    // size, which spares decoding every pixel of a large picture; otherwise the picture
    // comes whole.
    // `smooth` asks for the decoder's better reduction. Nothing (ERROR_NOT_SUPPORTED) for
    // a broken picture. One read per opening.
    std::optional<QImage> Read(QSize wantedSize = {}, bool smooth = false);
    // False for a JPEG whose data ends before its end-of-image marker, or a BMP shorter
    // than its pixels, which the decoders read as whole pictures with the missing part
    // filled; true for any other file.
    bool IsComplete();

private:
    bool FindDecoder(const QByteArray& formatHint);
    // The size the file's header gives, asked of the decoder once.
    QSize HeaderSize();
    bool ReducesWhileDecoding(QSize wantedSize);

    std::unique_ptr<FileDevice> Device;
    std::unique_ptr<QImageReader> Reader;
    std::optional<QImage> Decoded;
    std::optional<QSize> KnownHeaderSize;
};

// Lets the decoders allocate up to 1024 MB for one picture (the toolkit's default refuses
// pictures above 128 MB). Process-wide: called once at start-up, before any decoding.
void SetPictureAllocationLimit();

// The file-name extensions that the picture decoders read, each with its dot, in lower
// case, in the decoders' order (".bmp", ".jpg", ".png"...).
std::vector<std::string> GetPictureDecoderExtensions();

} // namespace host
