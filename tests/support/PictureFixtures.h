#pragma once

#include "support/TestSupport.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

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

inline std::string BigEndian32(uint32_t value)
{
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
            static_cast<char>(value)};
}

// The PNG chunks' checksum (CRC-32, reflected polynomial 0xEDB88320).
inline uint32_t Crc32(const std::string& bytes)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= static_cast<unsigned char>(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

// A PNG whose header claims the size, with a valid checksum, and a few bytes of data that
// end before the first row: decoding any pixel fails.
inline std::string PngClaiming(uint32_t width, uint32_t height)
{
    const auto chunk = [](const std::string& type, const std::string& data) {
        const std::string checked = type + data;
        return BigEndian32(static_cast<uint32_t>(data.size())) + checked + BigEndian32(Crc32(checked));
    };
    const std::string header = BigEndian32(width) + BigEndian32(height) + std::string("\x08\x02\0\0\0", 5);
    return std::string("\x89PNG\r\n\x1a\n") + chunk("IHDR", header) +
           chunk("IDAT", std::string("\x78\x9c\x63\x60", 4)) + chunk("IEND", "");
}
