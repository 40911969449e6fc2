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
