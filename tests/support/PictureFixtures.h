#pragma once

#include "support/TestSupport.h"

#include <QColor>
#include <QImage>
#include <QString>

#include <gtest/gtest.h>

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

// True when the two colours differ by at most `tolerance` in each channel.
inline bool IsNearColor(QRgb actual, const QColor& expected, int tolerance = 2)
{
    return std::abs(qRed(actual) - expected.red()) <= tolerance
           && std::abs(qGreen(actual) - expected.green()) <= tolerance
           && std::abs(qBlue(actual) - expected.blue()) <= tolerance;
}
