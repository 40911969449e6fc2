#include "viewing/BackPicture.h"

#include "viewing/PictureLoading.h"

#include "core/drawing/PictureGeometry.h"
#include "core/errors/Traced.h"

#include "host/PictureFiles.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

// A colour (red, green, blue, alpha, 1) times the matrix from the left gives the new
// colour: row i, column j is how much channel i feeds channel j.
using TColorMatrix = std::array<std::array<double, 5>, 5>;
using TChannelTable = std::array<uint8_t, 256>;

bool IsFadeInForce(int32_t fade)
{
    return fade >= 1 && fade <= 100;
}

bool IsRotationInForce(int32_t redGreen, int32_t greenBlue, int32_t blueRed)
{
    const auto inRange = [](int32_t angle) { return angle >= -180 && angle <= 180; };
    return inRange(redGreen) && inRange(greenBlue) && inRange(blueRed) &&
           (redGreen != 0 || greenBlue != 0 || blueRed != 0);
}

bool IsGammaInForce(int32_t gamma)
{
    return gamma >= 1 && gamma <= 1000 && gamma != 100;
}

double Radians(int32_t degrees)
{
    return degrees * std::numbers::pi / 180;
}

TColorMatrix GetAdjustmentMatrix(int32_t fade, int32_t redGreen, int32_t greenBlue, int32_t blueRed)
{
    TColorMatrix m{};
    for (size_t i = 0; i < m.size(); ++i)
        m[i][i] = 1;
    if (IsFadeInForce(fade))
        m[3][3] = 1 - fade / 100.0;
    if (IsRotationInForce(redGreen, greenBlue, blueRed)) {
        const double rg = Radians(redGreen);
        const double gb = Radians(greenBlue);
        const double br = Radians(blueRed);
        m[0][0] = std::cos(rg) * std::cos(br);
        m[0][1] = std::sin(rg);
        m[0][2] = -std::sin(br);
        m[1][0] = -std::sin(rg);
        m[1][1] = std::cos(rg) * std::cos(gb);
        m[1][2] = std::sin(gb);
        m[2][0] = std::sin(br);
        m[2][1] = -std::sin(gb);
        m[2][2] = std::cos(gb) * std::cos(br);
    }
    return m;
}

// Each channel value v becomes 255 x (v / 255) to the power of the gamma.
TChannelTable GetGammaTable(double gamma)
{
    TChannelTable table{};
    for (size_t v = 0; v < table.size(); ++v)
        table[v] = static_cast<uint8_t>(std::lround(std::pow(v / 255.0, gamma) * 255));
    return table;
}

uint8_t ToChannel(double value)
{
    return static_cast<uint8_t>(std::lround(std::clamp(value, 0.0, 1.0) * 255));
}

QRgb AdjustPixel(QRgb pixel, const TColorMatrix& m, const TChannelTable& gammaTable)
{
    const double in[5] = {qRed(pixel) / 255.0, qGreen(pixel) / 255.0, qBlue(pixel) / 255.0, qAlpha(pixel) / 255.0, 1};
    uint8_t out[4];
    for (size_t j = 0; j < 4; ++j) {
        double value = 0;
        for (size_t i = 0; i < 5; ++i)
            value += in[i] * m[i][j];
        out[j] = ToChannel(value);
    }
    return qRgba(gammaTable[out[0]], gammaTable[out[1]], gammaTable[out[2]], out[3]);
}

QImage AdjustColors(const QImage& picture, const TColorMatrix& matrix, double gamma)
{
    QImage adjusted = picture.convertToFormat(QImage::Format_ARGB32);
    const TChannelTable gammaTable = GetGammaTable(gamma);
    for (int y = 0; y < adjusted.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(adjusted.scanLine(y));
        for (int x = 0; x < adjusted.width(); ++x)
            line[x] = AdjustPixel(line[x], matrix, gammaTable);
    }
    return adjusted;
}

int32_t RotationForDifference(int32_t difference)
{
    return difference * 180 / 255 / 2;
}

std::string GetColorReport(int32_t averageRed, int32_t averageGreen, int32_t averageBlue, TColor fillingColor,
                           int32_t redGreen, int32_t greenBlue, int32_t blueRed)
{
    const auto text = [](int32_t n) { return std::to_string(n); };
    return "Overall color -> \"Filling\" color: \n    * Red = " + text(averageRed) + " -> " +
           text(fillingColor & 0xFF) + "\n    * Green = " + text(averageGreen) + " -> " +
           text((fillingColor >> 8) & 0xFF) + "\n    * Blue = " + text(averageBlue) + " -> " +
           text((fillingColor >> 16) & 0xFF) +
           "\n\nRecommended color rotation values:\n    * Red - Green = " + text(redGreen) +
           "\n    * Green - Blue = " + text(greenBlue) + "\n    * Blue - Red = " + text(blueRed);
}

} // namespace

void LoadTilePictureToBitmap(const std::string& fileName, std::unique_ptr<QImage>& bitmap, int32_t boxWidth,
                             int32_t boxHeight, TColor fillingColor, bool stretch, bool allowEnlarge,
                             int32_t minimumSize, double stretchTolerance, int32_t fade, int32_t rotationRedGreen,
                             int32_t rotationGreenBlue, int32_t rotationBlueRed, int32_t gamma)
{
    TTraced trace;
    trace.Run([&] {
        if (fileName.empty())
            return;
        bitmap.reset();
        host::PictureFile picture;
        picture.Open(fileName);
        const QSize pictureSize = picture.Size();
        if (pictureSize.width() < 1 || pictureSize.height() < 1)
            return trace.Raise("Failed to load picture.", fileName);
        // A window without area has no background to build.
        if (boxWidth < 1 || boxHeight < 1)
            return;
        int32_t targetWidth = 0;
        int32_t targetHeight = 0;
        const bool stretched =
            GetFitPictureSize(pictureSize.width(), pictureSize.height(), boxWidth, boxHeight, minimumSize,
                              stretchTolerance, stretch, allowEnlarge, targetWidth, targetHeight);
        if (!IsWithinDecodingBound(picture.DecodedSize(QSize(targetWidth, targetHeight))))
            return trace.Raise("Failed to load picture.", fileName);
        auto background = std::make_unique<QImage>(boxWidth, boxHeight, QImage::Format_RGB32);
        background->fill(ToQColor(fillingColor));
        const std::optional<QImage> decoded = picture.Read(QSize(targetWidth, targetHeight), true);
        if (!decoded)
            return trace.Raise("Failed to load picture.", fileName);
        {
            QPainter canvas(background.get());
            canvas.setRenderHint(QPainter::SmoothPixmapTransform);
            DrawAdjustedPicture(*decoded, canvas, targetWidth, targetHeight, fade, rotationRedGreen, rotationGreenBlue,
                                rotationBlueRed, gamma);
        }
        if (!stretched)
            TileBitmapBlock(*background, targetWidth, targetHeight);
        bitmap = std::move(background);
    });
}

void DrawAdjustedPicture(const QImage& picture, QPainter& canvas, int32_t targetWidth, int32_t targetHeight,
                         int32_t fade, int32_t rotationRedGreen, int32_t rotationGreenBlue, int32_t rotationBlueRed,
                         int32_t gamma)
{
    const QRect target(0, 0, targetWidth, targetHeight);
    if (target.isEmpty())
        return;
    const bool colorsAdjusted =
        IsFadeInForce(fade) || IsRotationInForce(rotationRedGreen, rotationGreenBlue, rotationBlueRed);
    if (!colorsAdjusted && !IsGammaInForce(gamma)) {
        canvas.drawImage(target, picture);
        return;
    }
    // Adjusting after the resize touches only the pixels that are drawn.
    const Qt::TransformationMode mode =
        canvas.testRenderHint(QPainter::SmoothPixmapTransform) ? Qt::SmoothTransformation : Qt::FastTransformation;
    const QImage resized = picture.scaled(target.size(), Qt::IgnoreAspectRatio, mode);
    const TColorMatrix matrix = GetAdjustmentMatrix(fade, rotationRedGreen, rotationGreenBlue, rotationBlueRed);
    canvas.drawImage(target, AdjustColors(resized, matrix, IsGammaInForce(gamma) ? gamma / 100.0 : 1.0));
}

void TileBitmapBlock(QImage& bitmap, int32_t blockWidth, int32_t blockHeight)
{
    if (blockWidth < 1 || blockHeight < 1)
        return;
    const QImage block = bitmap.copy(0, 0, blockWidth, blockHeight);
    const int32_t columns = (bitmap.width() + blockWidth - 1) / blockWidth;
    const int32_t rows = (bitmap.height() + blockHeight - 1) / blockHeight;
    QPainter canvas(&bitmap);
    canvas.setCompositionMode(QPainter::CompositionMode_Source);
    for (int32_t i = 0; i < rows; ++i) {
        for (int32_t j = 0; j < columns; ++j) {
            if (i != 0 || j != 0)
                canvas.drawImage(j * blockWidth, i * blockHeight, block);
        }
    }
}

std::string RecommendPictureColorStatistics(const std::string& fileName, TColor fillingColor, int32_t& rotationRedGreen,
                                            int32_t& rotationGreenBlue, int32_t& rotationBlueRed)
{
    TTraced trace;
    std::string report;
    trace.Run([&] {
        if (fileName.empty())
            return;
        host::PictureFile picture;
        picture.Open(fileName);
        const QSize pictureSize = picture.Size();
        const bool readable = !pictureSize.isEmpty() && IsWithinDecodingBound(picture.DecodedSize());
        const std::optional<QImage> decoded = readable ? picture.Read() : std::nullopt;
        if (!decoded)
            return trace.Raise("Failed to load picture.", fileName);
        int32_t red = 0;
        int32_t green = 0;
        int32_t blue = 0;
        GetPictureColorStatistics(*decoded, red, green, blue);
        const int32_t differenceRed = (fillingColor & 0xFF) - red;
        const int32_t differenceGreen = ((fillingColor >> 8) & 0xFF) - green;
        const int32_t differenceBlue = ((fillingColor >> 16) & 0xFF) - blue;
        RecommendColorRotation(rotationBlueRed, rotationRedGreen, differenceRed, differenceBlue, differenceGreen);
        RecommendColorRotation(rotationRedGreen, rotationGreenBlue, differenceGreen, differenceRed, differenceBlue);
        RecommendColorRotation(rotationGreenBlue, rotationBlueRed, differenceBlue, differenceGreen, differenceRed);
        report = GetColorReport(red, green, blue, fillingColor, rotationRedGreen, rotationGreenBlue, rotationBlueRed);
    });
    return report;
}

void GetPictureColorStatistics(const QImage& picture, int32_t& red, int32_t& green, int32_t& blue)
{
    const QImage pixels = picture.convertToFormat(QImage::Format_ARGB32);
    const int64_t count = static_cast<int64_t>(pixels.width()) * pixels.height();
    if (count == 0) {
        red = green = blue = 0;
        return;
    }
    int64_t sumRed = 0;
    int64_t sumGreen = 0;
    int64_t sumBlue = 0;
    for (int y = 0; y < pixels.height(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            sumRed += qRed(line[x]);
            sumGreen += qGreen(line[x]);
            sumBlue += qBlue(line[x]);
        }
    }
    red = static_cast<int32_t>(sumRed / count);
    green = static_cast<int32_t>(sumGreen / count);
    blue = static_cast<int32_t>(sumBlue / count);
}

void RecommendColorRotation(int32_t& a, int32_t& b, int32_t x, int32_t y, int32_t z)
{
    if (x > 0) {
        if (y < x)
            a = RotationForDifference(x - y);
        if (z < x)
            b = RotationForDifference(z - x);
    } else {
        if (y > x)
            a = RotationForDifference(x - y);
        if (z > x)
            b = RotationForDifference(z - x);
    }
}
