#pragma once

#include "core/drawing/Color.h"

#include <QImage>

#include <cstdint>
#include <memory>
#include <string>

class QPainter;

// Builds the window's background from a picture file: a box-sized bitmap filled with the
// filling colour, the picture stretched over it when stretching is allowed and its
// proportions are within the tolerance (0 or below: any), else fitted into it and tiled;
// the picture faded, colour-rotated and gamma-corrected on the way. An empty file name
// leaves the bitmap as it is; otherwise the old bitmap goes, and when the picture fails
// ("Failed to load picture.", traced, also for one whose decoding would pass
// MaxDecodedPictureBytes) or the box is empty, none takes its place.
void LoadTilePictureToBitmap(const std::string& fileName, std::unique_ptr<QImage>& bitmap, int32_t boxWidth,
                             int32_t boxHeight, TColor fillingColor, bool stretch, bool allowEnlarge,
                             int32_t minimumSize, double stretchTolerance, int32_t fade, int32_t rotationRedGreen,
                             int32_t rotationGreenBlue, int32_t rotationBlueRed, int32_t gamma);

// Draws the picture into (0, 0, width, height) of the canvas with the adjustments in
// force: fade 1..100 (percent of transparency), the three rotations in degrees when all
// lie in -180..180 and one is not 0, and gamma 1..1000 other than 100 (in hundredths;
// above 100 darkens). The canvas's smooth-transform hint chooses the interpolation.
void DrawAdjustedPicture(const QImage& picture, QPainter& canvas, int32_t targetWidth, int32_t targetHeight,
                         int32_t fade, int32_t rotationRedGreen, int32_t rotationGreenBlue, int32_t rotationBlueRed,
                         int32_t gamma);

// Repeats the top-left block over the whole bitmap; a block without area repeats nothing.
void TileBitmapBlock(QImage& bitmap, int32_t blockWidth, int32_t blockHeight);

// Compares the picture's average colour with the filling colour and proposes the three
// rotations (an out that no step sets keeps its value); the report says both. Traced:
// "Failed to load picture." (also for a picture past MaxDecodedPictureBytes); an empty
// report for that or an empty file name.
std::string RecommendPictureColorStatistics(const std::string& fileName, TColor fillingColor, int32_t& rotationRedGreen,
                                            int32_t& rotationGreenBlue, int32_t& rotationBlueRed);

// The average red, green and blue of the picture's pixels; 0 for a picture without any.
void GetPictureColorStatistics(const QImage& picture, int32_t& red, int32_t& green, int32_t& blue);

// One step of the proposal from the channel differences x, y and z.
void RecommendColorRotation(int32_t& a, int32_t& b, int32_t x, int32_t y, int32_t z);
