#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>

#include <functional>

// Text is drawn without smoothing, so that two drawings compare pixel for pixel; the
// tests judge positions relative to the font's own measures, never absolute glyphs.
inline QFont TestFont()
{
    QFont font("Arial");
    font.setPixelSize(12);
    font.setStyleStrategy(QFont::NoAntialias);
    return font;
}

// A 240 x 80 white image drawn by `draw` with the test font and a black pen.
inline QImage Drawn(const std::function<void(QPainter&)>& draw)
{
    QImage image(240, 80, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(TestFont());
    painter.setPen(Qt::black);
    draw(painter);
    return image;
}

// The smallest rectangle holding every pixel other than the background (empty when none is).
inline QRect InkBounds(const QImage& image, QRgb background = qRgb(255, 255, 255))
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

inline int CountPixels(const QImage& image, QRgb color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) == color;
    return count;
}
