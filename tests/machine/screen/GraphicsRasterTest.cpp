// Pixels of the rasteriser's shapes: lines with both ends, boxes, ellipses, arcs and
// sectors, all clipped to the page.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "machine/screen/Raster.h"
#include "tests/machine/screen/GraphicsTestUtil.h"

using gfx_test::raster_picture;
using gfx_test::raster_pixel_count;
using Picture = std::vector<std::string>;

namespace {

struct TLineCase {
    const char* name;
    int64_t x0, y0, x1, y1;
    int left, top, width, height;
    Picture expected;
};

const TLineCase LINE_CASES[] = {
    {"single point", 3, 2, 3, 2, 2, 1, 3, 3, {"...", ".#.", "..."}},
    {"horizontal, both ends", 1, 1, 4, 1, 0, 0, 6, 3, {"......", ".####.", "......"}},
    {"vertical, both ends", 1, 0, 1, 2, 0, 0, 3, 4, {".#.", ".#.", ".#.", "..."}},
    {"shallow", 0, 0, 4, 2, 0, 0, 5, 3, {"#....", ".##..", "...##"}},
    {"steep", 0, 0, 1, 3, 0, 0, 2, 4, {"#.", "#.", ".#", ".#"}},
    {"rising to the right", 0, 3, 3, 0, 0, 0, 4, 4, {"...#", "..#.", ".#..", "#..."}},
};

class LineTest : public testing::TestWithParam<TLineCase> {};

TEST_P(LineTest, DrawsThePixelsOfTheSegmentEitherWayRound)
{
    const TLineCase& c = GetParam();
    TRaster forward;
    raster_line(forward, c.x0, c.y0, c.x1, c.y1);
    EXPECT_EQ(raster_picture(forward, c.left, c.top, c.width, c.height), c.expected);

    TRaster backward;
    raster_line(backward, c.x1, c.y1, c.x0, c.y0);
    EXPECT_EQ(raster_picture(backward, 0, 0, GRPH_WIDTH, GRPH_HEIGHT),
              raster_picture(forward, 0, 0, GRPH_WIDTH, GRPH_HEIGHT));
}

INSTANTIATE_TEST_SUITE_P(Shapes, LineTest, testing::ValuesIn(LINE_CASES), [](const auto& testInfo) {
    std::string name = testInfo.param.name;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return name;
});

TEST(RasterLineClipping, FarEndsKeepTheLinesCourseOnThePage)
{
    // The diagonal x = y through ends far off the page.
    TRaster raster;
    raster_line(raster, -1'000'000'000, -1'000'000'000, 2'000'000'000, 2'000'000'000);
    EXPECT_EQ(raster_pixel_count(raster), GRPH_HEIGHT);
    for (const TSpan& s : raster.Spans()) {
        EXPECT_EQ(s.left, s.y);
        EXPECT_EQ(s.right, s.y);
    }
}

TEST(RasterLineClipping, ExtremeCoordinatesStayOnThePage)
{
    constexpr int64_t lo = std::numeric_limits<int32_t>::min();
    constexpr int64_t hi = std::numeric_limits<int32_t>::max();
    const int64_t ends[][4] = {{lo, lo, hi, hi}, {lo, hi, hi, lo}, {hi, 5, lo, 6}, {7, lo, 8, hi}, {lo, lo, lo, hi}};
    for (const auto& e : ends) {
        TRaster raster;
        raster_line(raster, e[0], e[1], e[2], e[3]);
        for (const TSpan& s : raster.Spans()) {
            EXPECT_TRUE(on_page(s.left, s.y));
            EXPECT_TRUE(on_page(s.right, s.y));
        }
    }
    // A line wholly off the page has no pixels.
    TRaster off;
    raster_line(off, -100, -5, 700, -1);
    EXPECT_TRUE(off.Empty());
}

// The line's pixels by the rounded division of every column's (or row's) own offset,
// the way the slope reads on paper; the rasteriser steps an error term instead.
TRaster line_by_division(int64_t x0, int64_t y0, int64_t x1, int64_t y1)
{
    __extension__ typedef __int128 wide;
    const auto rounded = [](wide a, wide b) {  // a / b to the nearest, halves upward
        const wide num = 2 * a + b, den = 2 * b;
        wide q = num / den;
        if (num % den != 0 && num < 0) --q;
        return static_cast<int64_t>(q);
    };
    TRaster raster;
    const bool byColumn = std::llabs(x1 - x0) >= std::llabs(y1 - y0);
    if ((byColumn && x1 < x0) || (!byColumn && y1 < y0)) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    if (byColumn && x1 == x0) {
        raster.AddPixel(x0, y0);
        return raster;
    }
    if (byColumn) {
        for (int64_t x = std::max<int64_t>(x0, 0); x <= std::min<int64_t>(x1, GRPH_WIDTH - 1); ++x)
            raster.AddPixel(x, y0 + rounded(wide{x - x0} * (y1 - y0), x1 - x0));
    } else {
        for (int64_t y = std::max<int64_t>(y0, 0); y <= std::min<int64_t>(y1, GRPH_HEIGHT - 1); ++y)
            raster.AddPixel(x0 + rounded(wide{y - y0} * (x1 - x0), y1 - y0), y);
    }
    return raster;
}

TEST(RasterLine, SteppedPixelsEqualTheRoundedDivisionOverManyEnds)
{
    std::vector<int64_t> coords = {-700, -641, -1, 0, 1, 2, 3, 199, 200, 399, 400, 639, 640, 1000};
    constexpr int64_t lo = std::numeric_limits<int32_t>::min();
    constexpr int64_t hi = std::numeric_limits<int32_t>::max();
    coords.insert(coords.end(), {lo, lo + 1, -123'456'789, 987'654'321, hi});
    // And a spread of pseudo-random ends around the page.
    uint32_t seed = 12345;
    for (int i = 0; i < 6; ++i) {
        seed = seed * 1'103'515'245u + 12'345u;
        coords.push_back(static_cast<int64_t>(seed % 1600) - 480);
    }
    for (const int64_t x0 : coords)
        for (const int64_t y0 : coords)
            for (const int64_t x1 : {int64_t{-3}, int64_t{5}, int64_t{639}, int64_t{900}, lo})
                for (const int64_t y1 : {int64_t{-9}, int64_t{7}, int64_t{250}, int64_t{401}, hi}) {
                    TRaster stepped;
                    raster_line(stepped, x0, y0, x1, y1);
                    ASSERT_EQ(stepped.Spans(), line_by_division(x0, y0, x1, y1).Spans())
                        << "(" << x0 << "," << y0 << ")-(" << x1 << "," << y1 << ")";
                }
}

TEST(RasterBox, OutlineIsClippedAtThePageCorner)
{
    TRaster raster;
    raster_rect_outline(raster, -5, -5, 3, 2);
    EXPECT_EQ(raster_picture(raster, 0, 0, 6, 4), (Picture{"...#..", "...#..", "####..", "......"}));
}

TEST(RasterBox, OutlineAndFillDoNotDependOnCornerOrder)
{
    TRaster outlineA, outlineB, fillA, fillB;
    raster_rect_outline(outlineA, 2, 1, 6, 4);
    raster_rect_outline(outlineB, 6, 4, 2, 1);
    raster_rect_fill(fillA, 2, 1, 6, 4);
    raster_rect_fill(fillB, 6, 1, 2, 4);
    const Picture outline{"........", "..#####.", "..#...#.", "..#...#.", "..#####.", "........"};
    const Picture fill{"........", "..#####.", "..#####.", "..#####.", "..#####.", "........"};
    EXPECT_EQ(raster_picture(outlineA, 0, 0, 8, 6), outline);
    EXPECT_EQ(raster_picture(outlineB, 0, 0, 8, 6), outline);
    EXPECT_EQ(raster_picture(fillA, 0, 0, 8, 6), fill);
    EXPECT_EQ(raster_picture(fillB, 0, 0, 8, 6), fill);
}

TEST(RasterBox, FilledBoxCoveringThePageHasEveryPixelOnce)
{
    TRaster raster;
    raster_rect_fill(raster, -2'000'000'000, -2'000'000'000, 2'000'000'000, 2'000'000'000);
    EXPECT_EQ(raster.Spans().size(), static_cast<size_t>(GRPH_HEIGHT));
    EXPECT_EQ(raster_pixel_count(raster), GRPH_PIXELS);
}

TEST(RasterEllipse, SmallCircleOutline)
{
    TRaster raster;
    raster_ellipse_outline(raster, {3, 3, 3, 3});
    EXPECT_EQ(raster_picture(raster, 0, 0, 7, 7),
              (Picture{"...#...", ".##.##.", "#.....#", "#.....#", "#.....#", ".##.##.", "...#..."}));
}

// Every pixel of the outline of an ellipse with a whole-pixel centre has its mirror
// images across the centre's row and column, and the extreme pixels are the radii.
TEST(RasterEllipse, OutlineIsSymmetricAndReachesItsRadii)
{
    const TEllipse cases[] = {{320, 200, 100, 50}, {100, 100, 37, 37}, {50, 60, 10, 25}, {200, 150, 1, 8}};
    for (const TEllipse& e : cases) {
        TRaster raster;
        raster_ellipse_outline(raster, e);
        const auto cx = static_cast<int64_t>(e.cx);
        const auto cy = static_cast<int64_t>(e.cy);
        const auto rx = static_cast<int64_t>(e.rx);
        const auto ry = static_cast<int64_t>(e.ry);
        for (const TSpan& s : raster.Spans()) {
            for (int64_t x = s.left; x <= s.right; ++x) {
                EXPECT_TRUE(raster.Contains(2 * cx - x, s.y)) << x << "," << s.y;
                EXPECT_TRUE(raster.Contains(x, 2 * cy - s.y)) << x << "," << s.y;
                EXPECT_LE(std::llabs(x - cx), rx);
                EXPECT_LE(std::llabs(s.y - cy), ry);
            }
        }
        EXPECT_TRUE(raster.Contains(cx + rx, cy));
        EXPECT_TRUE(raster.Contains(cx - rx, cy));
        EXPECT_TRUE(raster.Contains(cx, cy + ry));
        EXPECT_TRUE(raster.Contains(cx, cy - ry));
        EXPECT_FALSE(raster.Contains(cx, cy));
    }
}

TEST(RasterEllipse, FillHoldsTheOutline)
{
    const TEllipse e{300.5f, 120.25f, 41.7f, 20.3f};
    TRaster outline, fill;
    raster_ellipse_outline(outline, e);
    raster_ellipse_fill(fill, e);
    for (const TSpan& s : outline.Spans())
        for (int64_t x = s.left; x <= s.right; ++x) EXPECT_TRUE(fill.Contains(x, s.y));
    EXPECT_TRUE(fill.Contains(300, 120));
}

TEST(RasterEllipse, HugeOrInvalidEllipsesStayBounded)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const TEllipse nothing[] = {{10, 10, nan, 5}, {10, 10, 5, inf}, {inf, 10, 5, 5}, {10, 10, -5, 5}};
    for (const TEllipse& e : nothing) {
        TRaster outline, fill, arc;
        raster_ellipse_outline(outline, e);
        raster_ellipse_fill(fill, e);
        raster_arc(arc, e, 0, 90);
        EXPECT_TRUE(outline.Empty());
        EXPECT_TRUE(fill.Empty());
        EXPECT_TRUE(arc.Empty());
    }

    // A circle so large that the page lies inside it: the outline misses the page and
    // the filled circle covers it.
    TRaster outline, fill;
    raster_ellipse_outline(outline, {320, 200, 1e12, 1e12});
    raster_ellipse_fill(fill, {320, 200, 1e12, 1e12});
    EXPECT_TRUE(outline.Empty());
    EXPECT_EQ(raster_pixel_count(fill), GRPH_PIXELS);

    // A circle whose edge runs across the page from far away.
    TRaster edge;
    raster_ellipse_outline(edge, {320, -1e7 + 100, 1e7, 1e7});
    EXPECT_FALSE(edge.Empty());
    for (const TSpan& s : edge.Spans()) EXPECT_LE(s.y, 101);
}

TEST(RasterArc, HalvesMakeTheWholeOutline)
{
    const TEllipse e{320, 200, 100, 50};
    TRaster whole, upper, lower;
    raster_ellipse_outline(whole, e);
    raster_arc(upper, e, 0, 180);
    raster_arc(lower, e, 180, 180);
    for (const TSpan& s : upper.Spans()) EXPECT_LE(s.y, 200);
    for (const TSpan& s : lower.Spans()) EXPECT_GE(s.y, 200);
    EXPECT_TRUE(upper.Contains(420, 200));
    EXPECT_TRUE(upper.Contains(220, 200));
    EXPECT_TRUE(upper.Contains(320, 150));
    EXPECT_FALSE(upper.Contains(320, 250));

    TRaster both = upper;
    for (const TSpan& s : lower.Spans()) both.AddSpan(s.y, s.left, s.right);
    EXPECT_EQ(raster_picture(both, 0, 0, GRPH_WIDTH, GRPH_HEIGHT),
              raster_picture(whole, 0, 0, GRPH_WIDTH, GRPH_HEIGHT));
}

TEST(RasterArc, RangesWrapAndRunBothWays)
{
    const TEllipse e{100, 100, 40, 40};
    // From 300 degrees over 120: through 0, the right side.
    TRaster wrapped;
    raster_arc(wrapped, e, 300, 120);
    EXPECT_TRUE(wrapped.Contains(140, 100));
    EXPECT_FALSE(wrapped.Contains(60, 100));
    EXPECT_FALSE(wrapped.Contains(100, 60));

    // A negative span runs clockwise: the same pixels as the range it covers.
    TRaster clockwise, counter;
    raster_arc(clockwise, e, 60, -120);
    raster_arc(counter, e, 300, 120);
    EXPECT_EQ(raster_picture(clockwise, 50, 50, 100, 100), raster_picture(counter, 50, 50, 100, 100));

    // Angles far beyond one turn.
    TRaster far;
    raster_arc(far, e, 300 + 360 * 1000, 120);
    EXPECT_EQ(raster_picture(far, 50, 50, 100, 100), raster_picture(counter, 50, 50, 100, 100));
}

TEST(RasterArc, SectorFillKeepsToItsAngles)
{
    const TEllipse e{200, 200, 60, 60};
    TRaster sector;
    raster_sector_fill(sector, e, 0, 90);  // the upper right quarter
    EXPECT_TRUE(sector.Contains(200, 200));
    EXPECT_TRUE(sector.Contains(230, 170));
    EXPECT_TRUE(sector.Contains(260, 200));
    EXPECT_TRUE(sector.Contains(200, 140));
    EXPECT_FALSE(sector.Contains(170, 170));
    EXPECT_FALSE(sector.Contains(230, 230));
    EXPECT_FALSE(sector.Contains(262, 200));
}

TEST(RasterArc, RadiusLineRunsFromTheCentreToTheEllipse)
{
    const TEllipse e{200, 200, 100, 100};
    TRaster line;
    raster_radius_line(line, e, 0, 90, 90);
    EXPECT_TRUE(line.Contains(200, 200));
    EXPECT_TRUE(line.Contains(200, 100));
    EXPECT_EQ(raster_pixel_count(line), 101);

    const TGrphPoint p = ellipse_point({10, 20, 4, 2}, 90);
    EXPECT_NEAR(p.x, 10, 1e-5);
    EXPECT_NEAR(p.y, 18, 1e-5);
}

}  // namespace
