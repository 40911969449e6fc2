#include "panels/ButtonFace.h"

#include "core/drawing/TranslucentPaint.h"
#include "core/errors/Traced.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// A colour of the gradient at a position from the outline (0) to the focus area (1), its
// channels unpremultiplied.
struct TStop
{
    TStop(double position, const QColor& color)
        : Position(position), Channels{float(color.red()), float(color.green()), float(color.blue()),
                                       float(color.alpha())}
    {
    }
    double Position;
    float Channels[4];
};

// The ellipse in a rectangle, seen from a centre inside it.
class TOval
{
public:
    TOval(int32_t x, int32_t y, int32_t width, int32_t height, QPointF centre)
        : Centre(centre), CentreX(x + width / 2.0), CentreY(y + height / 2.0), RadiusX(width / 2.0),
          RadiusY(height / 2.0)
    {
    }

    // How far along the ray from the centre in the direction the outline lies: the outline
    // point is centre + scale x direction.
    double RayScale(double dx, double dy) const
    {
        const double ux = (Centre.x() - CentreX) / RadiusX;
        const double uy = (Centre.y() - CentreY) / RadiusY;
        const double vx = dx / RadiusX;
        const double vy = dy / RadiusY;
        const double a = vx * vx + vy * vy;
        const double b = 2 * (ux * vx + uy * vy);
        const double c = ux * ux + uy * uy - 1;
        return (-b + std::sqrt(std::max(b * b - 4 * a * c, 0.0))) / (2 * a);
    }

    bool Holds(double px, double py) const
    {
        const double u = (px - CentreX) / RadiusX;
        const double v = (py - CentreY) / RadiusY;
        return u * u + v * v <= 1;
    }

private:
    QPointF Centre;
    double CentreX, CentreY, RadiusX, RadiusY;
};

long double GetCentreFraction(int32_t shape, const std::string& style, bool pressed)
{
    if (shape != bsRectangle)
        return pressed ? 0.7L : 0.5L;
    if (style == "Top edge")
        return pressed ? 0.5L : 0.15L;
    if (style.empty() || style == "No edge" || style == ScrollBarThumbStyle)
        return pressed ? 0.85L : 0.5L;
    return pressed ? 0.5L : 0.85L;
}

std::vector<TStop> GetStops(int32_t shape, const QColor& margin, const QColor& back, const QColor& tint)
{
    switch (shape) {
    case bsSingleOval:
        return {{0, margin}, {0.3, tint}, {1, back}};
    case bsDoubleOval:
        return {{0, margin}, {0.25, back}, {0.35, margin}, {0.45, back}, {1, tint}};
    default:
        return {{0, back}, {1, tint}};
    }
}

QRgb GetStopColor(const std::vector<TStop>& stops, double position)
{
    size_t next = 1;
    while (next + 1 < stops.size() && stops[next].Position < position)
        ++next;
    const TStop& from = stops[next - 1];
    const TStop& to = stops[next];
    const double span = to.Position - from.Position;
    const float weight = span <= 0 ? 1.0f : float(std::clamp((position - from.Position) / span, 0.0, 1.0));
    int channel[4];
    for (int i = 0; i < 4; ++i)
        channel[i] = static_cast<int>(from.Channels[i] + (to.Channels[i] - from.Channels[i]) * weight + 0.5f);
    return qPremultiply(qRgba(channel[0], channel[1], channel[2], channel[3]));
}

// The colours of 256 evenly spaced positions of the gradient, premultiplied.
class TGradientColors
{
public:
    explicit TGradientColors(const std::vector<TStop>& stops)
    {
        for (size_t i = 0; i < Colors.size(); ++i)
            Colors[i] = GetStopColor(stops, static_cast<double>(i) / (Colors.size() - 1));
    }

    QRgb At(double position) const
    {
        return Colors[static_cast<size_t>(std::clamp(position, 0.0, 1.0) * (Colors.size() - 1) + 0.5)];
    }

private:
    std::array<QRgb, 256> Colors;
};

// Where a point lies between the outline (0) and the focus area (1), given how far along
// its ray from the centre the outline and the focus area lie (the point itself being at 1).
double GetGradientPosition(double toOutline, double toFocus)
{
    if (toFocus >= 1 || toOutline <= toFocus)
        return 1;
    return (toOutline - 1) / (toOutline - toFocus);
}

// How far along the ray from the centre through each pixel of one axis its side of the
// rectangle lies; infinite on the centre's own line.
std::vector<double> GetAxisScales(int32_t first, int32_t count, double centre, double low, double high)
{
    std::vector<double> scales(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        const double d = first + i - centre;
        scales[static_cast<size_t>(i)] = d > 0   ? (high - centre) / d
                                         : d < 0 ? (low - centre) / d
                                                 : std::numeric_limits<double>::infinity();
    }
    return scales;
}

// The focus area is the outline scaled toward the centre, so along any ray it lies at the
// outline's distance times the scale of the axis that bounds it.
void RenderRectangle(QImage& face, int32_t x, int32_t y, QPoint centre, QPointF scales, const TGradientColors& colors,
                     QRgb outlinePixel)
{
    const int32_t width = face.width() - 1;
    const int32_t height = face.height() - 1;
    const std::vector<double> columnScales = GetAxisScales(x, width + 1, centre.x(), x, x + width);
    const std::vector<double> rowScales = GetAxisScales(y, height + 1, centre.y(), y, y + height);
    for (int32_t row = 0; row <= height; ++row) {
        auto* line = reinterpret_cast<QRgb*>(face.scanLine(row));
        if (row == 0 || row == height) {
            std::fill(line, line + width + 1, outlinePixel);
            continue;
        }
        line[0] = line[width] = outlinePixel;
        const double rowScale = rowScales[static_cast<size_t>(row)];
        for (int32_t column = 1; column < width; ++column) {
            const double columnScale = columnScales[static_cast<size_t>(column)];
            const double toOutline = std::min(columnScale, rowScale);
            const double toFocus = std::min(scales.x() * columnScale, scales.y() * rowScale);
            line[column] = colors.At(GetGradientPosition(toOutline, toFocus));
        }
    }
}

void RenderOval(QImage& face, int32_t x, int32_t y, QPoint centre, QPointF scales, const TGradientColors& colors)
{
    const int32_t width = face.width() - 1;
    const int32_t height = face.height() - 1;
    const TOval outline(x, y, width, height, centre);
    for (int32_t row = 0; row <= height; ++row) {
        auto* line = reinterpret_cast<QRgb*>(face.scanLine(row));
        const double dy = y + row - centre.y();
        for (int32_t column = 0; column <= width; ++column) {
            const double dx = x + column - centre.x();
            if (!outline.Holds(x + column, y + row))
                continue;
            const double position =
                dx == 0 && dy == 0
                    ? 1
                    : GetGradientPosition(outline.RayScale(dx, dy), outline.RayScale(dx / scales.x(), dy / scales.y()));
            line[column] = colors.At(position);
        }
    }
}

// Our own rasteriser of the path gradient, with the pixel centres on whole coordinates.
QImage RenderFace(int32_t x, int32_t y, int32_t width, int32_t height, int32_t shape, QPoint centre, QPointF scales,
                  const std::vector<TStop>& stops, const QColor& outlineColor)
{
    QImage face(width + 1, height + 1, QImage::Format_ARGB32_Premultiplied);
    face.fill(Qt::transparent);
    const TGradientColors colors(stops);
    if (shape == bsRectangle)
        RenderRectangle(face, x, y, centre, scales, colors, qPremultiply(outlineColor.rgba()));
    else
        RenderOval(face, x, y, centre, scales, colors);
    return face;
}

} // namespace

QPoint GetButtonFXCentre(int32_t x, int32_t y, int32_t width, int32_t height, int32_t shape, const std::string& style,
                         bool pressed)
{
    const long double fraction = GetCentreFraction(shape, style, pressed);
    return QPoint(static_cast<int32_t>(x + width * 0.5L), static_cast<int32_t>(y + height * fraction));
}

QPointF GetButtonFXFocusScales(int32_t width, int32_t height, int32_t shape, const std::string& style)
{
    if (shape == bsSingleOval)
        return {0.3, 0.25};
    if (shape == bsDoubleOval)
        return {0.4, 0.25};
    if (style == ScrollBarThumbStyle)
        return {0.1, 0.96};
    return width > height ? QPointF(0.85, 0.15) : QPointF(0.15, 0.85);
}

void PaintButtonFX(QPainter& canvas, int32_t x, int32_t y, int32_t width, int32_t height, TColor briskMarginColor,
                   TColor marginColor, TColor backColor, TColor tintColor, int32_t marginTranslucency,
                   int32_t backTranslucency, int32_t shape, const std::string& style, bool pressed, bool hot)
{
    TTraced trace;
    try {
        if (width <= 0 || height <= 0)
            return;
        const int marginAlpha = hot ? 255 : GetAlphaFromTranslucency(marginTranslucency);
        const int backAlpha = hot ? 255 : GetAlphaFromTranslucency(backTranslucency);
        const QColor brisk = ToAlphaColor(briskMarginColor, marginAlpha);
        const QColor back = ToAlphaColor(backColor, backAlpha);
        const std::vector<TStop> stops =
            GetStops(shape, ToAlphaColor(marginColor, marginAlpha), back, ToAlphaColor(tintColor, backAlpha));
        const QPoint centre = GetButtonFXCentre(x, y, width, height, shape, style, pressed);
        const QPointF scales = GetButtonFXFocusScales(width, height, shape, style);
        canvas.drawImage(x, y, RenderFace(x, y, width, height, shape, centre, scales, stops, back));
        if (shape == bsRectangle)
            return;
        canvas.save();
        canvas.setRenderHint(QPainter::Antialiasing);
        canvas.setPen(QPen(brisk, 1));
        canvas.setBrush(Qt::NoBrush);
        canvas.drawEllipse(QRectF(x + 0.5, y + 0.5, width, height));
        canvas.restore();
    }
    TRACED_CATCH(trace)
}
