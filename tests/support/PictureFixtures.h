#pragma once

#include "support/TestSupport.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Small pictures that tests write as fixtures; the format follows the name's extension.
inline QImage SolidPicture(int width, int height, const QColor& color)
{
    QImage picture(width, height, QImage::Format_ARGB32);
    picture.fill(color);
    return picture;
}

// Saves the picture on the drive and gives its Windows path.
inline std::string SavePicture(const TTempDrive& drive, const std::string& name, const QImage& picture)
{
    EXPECT_TRUE(picture.save(QString::fromStdString(drive.HostPath(name))));
    return drive.Path(name);
}

// The picture's bytes in a file of the format ("png", "jpeg").
inline std::string PictureBytes(const QImage& picture, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(picture.save(&buffer, format));
    return bytes.toStdString();
}

// True when the two colours differ by at most `tolerance` in each channel.
inline bool IsNearColor(QRgb actual, const QColor& expected, int tolerance = 2)
{
    return std::abs(qRed(actual) - expected.red()) <= tolerance &&
           std::abs(qGreen(actual) - expected.green()) <= tolerance &&
           std::abs(qBlue(actual) - expected.blue()) <= tolerance;
}

// The picture as PNG bytes with one more chunk right after the header chunk: its length
// field says `claimedLength` whatever `data` holds, and its checksum is left zero.
inline std::string PngWithChunkAfterHeader(const QImage& picture, uint32_t claimedLength, const std::string& data)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(picture.save(&buffer, "png"));
    std::string png = bytes.toStdString();
    std::string chunk;
    for (int shift = 24; shift >= 0; shift -= 8)
        chunk += static_cast<char>((claimedLength >> shift) & 0xFF);
    chunk += "tEXt" + data + std::string(4, '\0');
    // Signature (8 bytes), then the header chunk: 8 bytes of length and type, 13 of data, 4 of checksum.
    png.insert(8 + 8 + 13 + 4, chunk);
    return png;
}

inline std::string PngBigEndian32(uint32_t value)
{
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
            static_cast<char>(value)};
}

// The PNG chunks' checksum (CRC-32, reflected polynomial 0xEDB88320).
inline uint32_t PngCrc32(const std::string& bytes)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= static_cast<unsigned char>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline std::string PngChunk(const std::string& type, const std::string& data)
{
    const std::string checked = type + data;
    return PngBigEndian32(static_cast<uint32_t>(data.size())) + checked + PngBigEndian32(PngCrc32(checked));
}

// How a PNG stores its pixels: the header's bit depth and colour type (0 grey, 2 RGB,
// 3 palette, 4 grey and alpha, 6 RGBA), the palette as RGB triples and the
// transparency chunk's bytes; the toolkit's writer makes only a few of these forms.
struct TPngLayout
{
    uint8_t BitDepth = 8;
    uint8_t ColorType = 2;
    std::string Palette;
    std::string Transparency;
};

// A PNG of the layout whose pixel (x, y) holds the samples `samples` gives, one a channel,
// each within the bit depth.
inline std::string PngOfSamples(int width, int height, const TPngLayout& layout,
                                const std::function<std::vector<uint16_t>(int x, int y)>& samples)
{
    std::string rows;
    for (int y = 0; y < height; ++y) {
        rows += '\0'; // no filter
        uint32_t bits = 0;
        int pending = 0;
        for (int x = 0; x < width; ++x) {
            for (const uint16_t sample : samples(x, y)) {
                if (layout.BitDepth == 16) {
                    rows += static_cast<char>(sample >> 8);
                    rows += static_cast<char>(sample);
                    continue;
                }
                bits = (bits << layout.BitDepth) | sample;
                pending += layout.BitDepth;
                if (pending == 8) {
                    rows += static_cast<char>(bits);
                    bits = 0;
                    pending = 0;
                }
            }
        }
        if (pending > 0)
            rows += static_cast<char>(bits << (8 - pending));
    }
    const QByteArray compressed = qCompress(QByteArray::fromStdString(rows)).mid(4); // past its length prefix
    const std::string header =
        PngBigEndian32(static_cast<uint32_t>(width)) + PngBigEndian32(static_cast<uint32_t>(height)) +
        std::string{static_cast<char>(layout.BitDepth), static_cast<char>(layout.ColorType)} + std::string(3, '\0');
    std::string png = std::string("\x89PNG\r\n\x1a\n") + PngChunk("IHDR", header);
    if (!layout.Palette.empty())
        png += PngChunk("PLTE", layout.Palette);
    if (!layout.Transparency.empty())
        png += PngChunk("tRNS", layout.Transparency);
    return png + PngChunk("IDAT", compressed.toStdString()) + PngChunk("IEND", "");
}

// A PNG whose header claims the size, with a valid checksum, and a few bytes of data that
// end before the first row: decoding any pixel fails.
inline std::string PngClaiming(uint32_t width, uint32_t height)
{
    const std::string header = PngBigEndian32(width) + PngBigEndian32(height) + std::string("\x08\x02\0\0\0", 5);
    return std::string("\x89PNG\r\n\x1a\n") + PngChunk("IHDR", header) +
           PngChunk("IDAT", std::string("\x78\x9c\x63\x60", 4)) + PngChunk("IEND", "");
}
