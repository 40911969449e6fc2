#include "columns/ButtonFace.h"

#include "core/TranslucentPaint.h"
#include "core/Traced.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

// A colour of the gradient at a position from the outline (0) to the focus area (1).
struct TStop
{
    double Position;
    QColor Color;
};

// How far along a ray from the centre the outline of the shape lies: the outline point is
// centre + scale x direction. The shape must hold the centre.
class TShapeOutline
{
public:
    TShapeOutline(int32_t shape, int32_t x, int32_t y, int32_t width, int32_t height, QPointF centre)
        : Oval(shape != bsRectangle), Left(x), Top(y), Right(x + width), Bottom(y + height), Centre(centre),
          CentreX(x + width / 2.0), CentreY(y + height / 2.0), RadiusX(width / 2.0), RadiusY(height / 2.0)
    {
    }

    double RayScale(double dx, double dy) const { return Oval ? OvalRayScale(dx, dy) : RectangleRayScale(dx, dy); }

    bool Holds(double px, double py) const
    {
        if (!Oval)
            return true;
        const double u = (px - CentreX) / RadiusX;
        const double v = (py - CentreY) / RadiusY;
        return u * u + v * v <= 1;
    }

private:
    double RectangleRayScale(double dx, double dy) const
    {
        double scale = std::numeric_limits<double>::infinity();
        if (dx > 0)
            scale = std::min(scale, (Right - Centre.x()) / dx);
        else if (dx < 0)
            scale = std::min(scale, (Left - Centre.x()) / dx);
        if (dy > 0)
            scale = std::min(scale, (Bottom - Centre.y()) / dy);
        else if (dy < 0)
            scale = std::min(scale, (Top - Centre.y()) / dy);
        return scale;
    }

    double OvalRayScale(double dx, double dy) const
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

    bool Oval;
    double Left, Top, Right, Bottom;
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

int Mix(int a, int b, double weight)
{
    return static_cast<int>(std::lround(a + (b - a) * weight));
}

QRgb GetStopColor(const std::vector<TStop>& stops, double position)
{
    size_t next = 1;
    while (next + 1 < stops.size() && stops[next].Position < position)
        ++next;
    const TStop& from = stops[next - 1];
    const TStop& to = stops[next];
    const double span = to.Position - from.Position;
    const double weight = span <= 0 ? 1 : std::clamp((position - from.Position) / span, 0.0, 1.0);
    return qPremultiply(qRgba(Mix(from.Color.red(), to.Color.red(), weight),
                              Mix(from.Color.green(), to.Color.green(), weight),
                              Mix(from.Color.blue(), to.Color.blue(), weight),
                              Mix(from.Color.alpha(), to.Color.alpha(), weight)));
}

// Where the pixel lies between the outline (0) and the focus area (1), along the ray from
// the centre through it.
double GetGradientPosition(const TShapeOutline& outline, QPointF centre, QPointF scales, double px, double py)
{
    const double dx = px - centre.x();
    const double dy = py - centre.y();
    if (dx == 0 && dy == 0)
        return 1;
    const double toOutline = outline.RayScale(dx, dy);
    const double toFocus =
        scales.x() > 0 && scales.y() > 0 ? outline.RayScale(dx / scales.x(), dy / scales.y()) : 0;
    if (toFocus >= 1 || toOutline <= toFocus)
        return 1;
    return std::clamp((toOutline - 1) / (toOutline - toFocus), 0.0, 1.0);
}

// Our own rasteriser of the path gradient, one pixel at a time with the pixel centres on
// whole coordinates.
QImage RenderFace(int32_t x, int32_t y, int32_t width, int32_t height, int32_t shape, QPoint centre, QPointF scales,
                  const std::vector<TStop>& stops, const QColor& outlineColor)
{
    QImage face(width + 1, height + 1, QImage::Format_ARGB32_Premultiplied);
    face.fill(Qt::transparent);
    const TShapeOutline outline(shape, x, y, width, height, centre);
    const QRgb outlinePixel = qPremultiply(outlineColor.rgba());
    for (int32_t row = 0; row <= height; ++row) {
        auto* line = reinterpret_cast<QRgb*>(face.scanLine(row));
        const double py = y + row;
        for (int32_t column = 0; column <= width; ++column) {
            const double px = x + column;
            if (shape == bsRectangle && (row == 0 || row == height || column == 0 || column == width))
                line[column] = outlinePixel;
            else if (outline.Holds(px, py))
                line[column] = GetStopColor(stops, GetGradientPosition(outline, centre, scales, px, py));
        }
    }
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
