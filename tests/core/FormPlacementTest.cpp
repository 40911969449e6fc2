#include "core/forms/FormPlacement.h"

#include <gtest/gtest.h>

namespace {

// Frames over areas of a 1000 x 800 work area starting at (0, 20), or of no known one.
TEST(FormPlacement, AFrameIsCentredOnTheAreaAndKeptInsideTheWorkArea)
{
    const QRect work(0, 20, 1000, 800);
    struct TRow
    {
        const char* Name;
        QSize Frame;
        QRect Area;
        QRect WorkArea;
        QPoint TopLeft;
    };
    const TRow rows[] = {
        {"centred", {200, 100}, {300, 200, 400, 300}, work, {400, 300}},
        {"odd difference rounds toward the area's start", {201, 101}, {300, 200, 400, 300}, work, {399, 299}},
        {"area partly off the left and top", {200, 100}, {-300, -200, 400, 300}, work, {0, 20}},
        {"area partly off the right and bottom", {200, 100}, {900, 700, 400, 300}, work, {800, 720}},
        {"frame larger than the work area keeps its top-left inside", {1200, 900}, work, work, {0, 20}},
        {"no work area known", {200, 100}, {-300, -200, 400, 300}, QRect(), {-200, -100}},
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(row.TopLeft, CentredFramePosition(row.Frame, row.Area, row.WorkArea));
    }
}

} // namespace
