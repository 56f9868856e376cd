// CIRCLE's operands as ellipses and arcs: radii from the aspect, angles from radians,
// and the closed sector that radius lines make with the arc.

#include <gtest/gtest.h>

#include <cmath>

#include "machine/screen/CircleShape.h"
#include "machine/screen/GraphicsPages.h"
#include "machine/screen/Paint.h"

namespace {

struct TRadiiCase {
    float aspect;
    double rx, ry;
};

TEST(CircleShapeTest, AspectGivesTheRadii)
{
    const TRadiiCase cases[] = {
        {default_circle_aspect(2), 100, 50},   // 200-line modes
        {default_circle_aspect(1), 100, 100},  // 400-line modes
        {2, 50, 100},
        {0.25f, 100, 25},
        {0, 100, 0},
    };
    for (const TRadiiCase& c : cases) {
        const TCircleShape s = circle_shape(320, 200, 100, 0, CIRCLE_FULL_TURN, c.aspect);
        EXPECT_DOUBLE_EQ(s.Ellipse.rx, c.rx) << "aspect " << c.aspect;
        EXPECT_DOUBLE_EQ(s.Ellipse.ry, c.ry) << "aspect " << c.aspect;
    }
    const TCircleShape s = circle_shape(320, 200, 100, 0, CIRCLE_FULL_TURN, 0.5f);
    EXPECT_EQ(circle_bounds(s), (TScreenRect{220, 150, 420, 250}));
}

TEST(CircleShapeTest, AnglesInDegrees)
{
    TCircleShape s = circle_shape(0, 0, 10, -1, -2, 1);
    EXPECT_NEAR(s.StartDeg, 57.2958, 1e-3);
    EXPECT_NEAR(s.SpanDeg, 57.2958, 1e-3);
    EXPECT_TRUE(s.NegativeStart);
    EXPECT_TRUE(s.NegativeEnd);
    EXPECT_EQ(round_off(s.StartDeg), 57);
    EXPECT_EQ(round_off(s.SpanDeg), 57);

    // An end smaller in size than the start wraps through 0 degrees.
    s = circle_shape(0, 0, 10, 3, 1, 1);
    EXPECT_NEAR(s.SpanDeg, 57.2958 - 171.8873 + 360, 1e-3);
    EXPECT_FALSE(s.NegativeStart);

    // The defaults make the whole turn.
    s = circle_shape(0, 0, 10, 0, CIRCLE_FULL_TURN, 1);
    EXPECT_NEAR(s.SpanDeg, 360, 1e-4);
    EXPECT_EQ(round_off(2.5f), 3);
    EXPECT_EQ(round_off(-2.5f), -2);
}

TEST(CircleShapeTest, UpperHalfFromZeroToPi)
{
    TRaster arc;
    raster_circle_arc(arc, circle_shape(320, 200, 100, 0, 3.14159f, 1));
    EXPECT_TRUE(arc.Contains(420, 200));
    EXPECT_TRUE(arc.Contains(220, 200));
    EXPECT_TRUE(arc.Contains(320, 100));
    for (const TSpan& s : arc.Spans()) EXPECT_LE(s.y, 200);
}

TEST(CircleShapeTest, NegativeAnglesCloseTheSectorForPaint)
{
    TGraphicsPages pages;
    TGraphicsPage& page = pages.Page(0);
    const TCircleShape shape = circle_shape(320, 200, 190, -1, -2, 1);
    TRaster outline;
    raster_circle_arc(outline, shape);
    EXPECT_TRUE(outline.Contains(320, 200));  // the radius lines meet at the centre
    draw_raster(page, pages.GrphColPal, outline, 4);

    // A point well inside the sector, at 86 degrees and half the radius.
    const TGrphPoint inside = ellipse_point(shape.Ellipse, 86);
    const auto seedX = static_cast<int64_t>(320 + (inside.x - 320) / 2);
    const auto seedY = static_cast<int64_t>(200 + (inside.y - 200) / 2);
    paint_area(page, pages.GrphColPal, seedX, seedY, 2, 4);
    EXPECT_EQ(page.IndexAt(static_cast<int32_t>(seedX), static_cast<int32_t>(seedY)), 2);
    EXPECT_EQ(page.IndexAt(320, 300), 0);
    EXPECT_EQ(page.IndexAt(100, 100), 0);
    EXPECT_EQ(page.IndexAt(500, 150), 0);
}

TEST(CircleShapeTest, SectorUsesTheAnglesAsComputed)
{
    const TCircleShape shape = circle_shape(200, 200, 100, 0, 1.5707964f, 1);
    TRaster sector, outline;
    raster_circle_sector(sector, shape);
    raster_circle_sector_outline(outline, shape);
    EXPECT_TRUE(sector.Contains(200, 200));
    EXPECT_TRUE(sector.Contains(250, 150));
    EXPECT_FALSE(sector.Contains(150, 150));
    EXPECT_TRUE(outline.Contains(300, 200));
    EXPECT_TRUE(outline.Contains(200, 100));
    EXPECT_FALSE(outline.Contains(200, 200));
}

}  // namespace
