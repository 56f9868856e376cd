// PAINT and ROLL on a page: the fill keeps inside closed outlines, whatever shape drew
// them, and ROLL shifts both planes and fills what it uncovers.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "machine/screen/GraphicsPages.h"
#include "machine/screen/Paint.h"
#include "machine/screen/Raster.h"
#include "tests/machine/screen/GraphicsTestUtil.h"

using gfx_test::index_picture;
using Picture = std::vector<std::string>;

namespace {

constexpr int8_t BORDER = 4;
constexpr int8_t AREA = 2;

class PaintTest : public testing::Test {
protected:
    void Draw(const TRaster& raster, int8_t colour) { draw_raster(Page(), pages.GrphColPal, raster, colour); }
    TGraphicsPage& Page() { return pages.Page(0); }

    // The number of pixels of palette number `index` on the page.
    int CountIndex(uint8_t index)
    {
        int n = 0;
        const uint8_t* bits = Page().IndexBits();
        for (int i = 0; i < GRPH_PIXELS; ++i) n += bits[i] == index;
        return n;
    }

    // Both planes show the same picture in the palette's colours.
    void ExpectPlanesAgree()
    {
        const uint8_t* index = Page().IndexBits();
        const uint32_t* colour = Page().ColourBits();
        for (int i = 0; i < GRPH_PIXELS; ++i)
            ASSERT_EQ(colour[i], pages.GrphColPal.Word(static_cast<int8_t>(index[i]))) << "pixel " << i;
    }

    TGraphicsPages pages;
};

// The fill inside a closed outline paints exactly the pixels inside it: those of the
// filled shape that are not on the outline.
struct TClosedShape {
    const char* name;
    void (*outline)(TRaster&);
    void (*inside)(TRaster&);  // the outline and everything within it
    int64_t seedX, seedY;
};

const TClosedShape CLOSED_SHAPES[] = {
    {"circle",
     [](TRaster& r) {
         raster_ellipse_outline(r, {320, 200, 100, 100});
     },
     [](TRaster& r) {
         raster_ellipse_fill(r, {320, 200, 100, 100});
     },
     320, 200},
    {"flat ellipse",
     [](TRaster& r) {
         raster_ellipse_outline(r, {320, 100, 200, 3.5});
     },
     [](TRaster& r) {
         raster_ellipse_fill(r, {320, 100, 200, 3.5});
     },
     320, 100},
    {"fractional ellipse",
     [](TRaster& r) {
         raster_ellipse_outline(r, {100.7, 300.2, 57.3, 80.9});
     },
     [](TRaster& r) {
         raster_ellipse_fill(r, {100.7, 300.2, 57.3, 80.9});
     },
     100, 300},
    {"box", [](TRaster& r) { raster_rect_outline(r, 10, 10, 50, 30); },
     [](TRaster& r) { raster_rect_fill(r, 10, 10, 50, 30); }, 20, 20},
};

class PaintClosedShapeTest : public PaintTest, public testing::WithParamInterface<TClosedShape> {};

TEST_P(PaintClosedShapeTest, FillsTheInsideAndNothingElse)
{
    TRaster outline, inside;
    GetParam().outline(outline);
    GetParam().inside(inside);
    Draw(outline, BORDER);
    paint_area(Page(), pages.GrphColPal, GetParam().seedX, GetParam().seedY, AREA, BORDER);

    for (int y = 0; y < GRPH_HEIGHT; ++y) {
        for (int x = 0; x < GRPH_WIDTH; ++x) {
            const uint8_t expected = outline.Contains(x, y) ? BORDER : inside.Contains(x, y) ? AREA : 0;
            ASSERT_EQ(Page().IndexAt(x, y), expected) << x << "," << y;
        }
    }
    ExpectPlanesAgree();
}

INSTANTIATE_TEST_SUITE_P(Shapes, PaintClosedShapeTest, testing::ValuesIn(CLOSED_SHAPES), [](const auto& testInfo) {
    std::string name = testInfo.param.name;
    for (char& ch : name)
        if (ch == ' ') ch = '_';
    return name;
});

TEST_F(PaintTest, DiagonalBorderTouchingOnlyAtCornersHoldsTheFill)
{
    TRaster border;
    raster_line(border, 0, 6, 6, 0);
    Draw(border, BORDER);
    const TScreenRect changed = paint_area(Page(), pages.GrphColPal, 1, 1, AREA, BORDER);
    EXPECT_EQ(index_picture(Page(), 0, 0, 8, 8), (Picture{"22222240", "22222400", "22224000", "22240000", "22400000",
                                                          "24000000", "40000000", "00000000"}));
    EXPECT_EQ(changed, (TScreenRect{0, 0, 6, 5}));
    EXPECT_EQ(CountIndex(AREA), 21);
}

TEST_F(PaintTest, SectorWithRadiusLinesDoesNotLeak)
{
    // A sector whose arc was drawn with whole degrees (58 over 57) and its radius lines
    // with the exact angles (57.6 and 114.4): on this radius the arc starts some pixels
    // past its radius line, a gap the fill would leak through were the ends not joined.
    const TEllipse e{320, 399, 380, 380};
    TRaster outline;
    raster_arc(outline, e, 58, 57);
    raster_radius_line(outline, e, 58, 57, 57.6);
    raster_radius_line(outline, e, 58, 57, 114.4);
    Draw(outline, BORDER);
    paint_area(Page(), pages.GrphColPal, 320, 300, AREA, BORDER);
    EXPECT_EQ(Page().IndexAt(320, 300), AREA);
    EXPECT_EQ(Page().IndexAt(0, 0), 0);
    EXPECT_EQ(Page().IndexAt(639, 399), 0);
    EXPECT_EQ(Page().IndexAt(320, 5), 0);
}

TEST_F(PaintTest, SeedOffThePageOrOnTheBorderPaintsNothing)
{
    TRaster box;
    raster_rect_outline(box, 0, 0, 9, 9);
    Draw(box, BORDER);
    const int64_t seeds[][2] = {{-1, 5}, {5, -1}, {640, 5}, {5, 400}, {INT64_C(1) << 40, 0}, {0, 0}};
    for (const auto& seed : seeds) {
        EXPECT_EQ(paint_area(Page(), pages.GrphColPal, seed[0], seed[1], AREA, BORDER), PAINT_NOTHING_RECT);
        EXPECT_EQ(CountIndex(AREA), 0);
    }
}

TEST_F(PaintTest, OpenRegionFillsToThePageEdges)
{
    const TScreenRect changed = paint_area(Page(), pages.GrphColPal, 100, 300, AREA, BORDER);
    EXPECT_EQ(CountIndex(AREA), GRPH_PIXELS);
    EXPECT_EQ(changed, (TScreenRect{0, 0, GRPH_WIDTH, GRPH_HEIGHT - 1}));
    ExpectPlanesAgree();
}

TEST_F(PaintTest, PaintsOverEveryColourButTheBorder)
{
    TRaster box, dots;
    raster_rect_outline(box, 0, 0, 9, 5);
    raster_point(dots, 3, 2);
    raster_point(dots, 5, 3);
    Draw(box, BORDER);
    Draw(dots, AREA);
    TRaster other;
    raster_point(other, 6, 2);
    Draw(other, 9);
    paint_area(Page(), pages.GrphColPal, 1, 1, AREA, BORDER);
    EXPECT_EQ(index_picture(Page(), 0, 0, 11, 7), (Picture{"44444444440", "42222222240", "42222222240", "42222222240",
                                                           "42222222240", "44444444440", "00000000000"}));
}

TEST_F(PaintTest, AreaAsBorderStopsAtItsOwnColour)
{
    // Without a border operand the border is the area colour.
    TRaster ring;
    raster_ellipse_outline(ring, {50, 50, 20, 20});
    Draw(ring, AREA);
    paint_area(Page(), pages.GrphColPal, 50, 50, AREA, AREA);
    EXPECT_EQ(Page().IndexAt(50, 50), AREA);
    EXPECT_EQ(Page().IndexAt(50, 75), 0);
}

// ROLL: page pixel (x, y) afterwards holds what stood at (x + dx, y + dy), or the fill
// where that lies off the page.
struct TRollCase {
    int64_t dy, dx;
};

class RollTest : public PaintTest, public testing::WithParamInterface<TRollCase> {};

TEST_P(RollTest, ShiftsBothPlanesAndFillsTheRest)
{
    auto pattern = [](int64_t x, int64_t y) { return static_cast<uint8_t>((x + 3 * y) % 13); };
    for (int y = 0; y < GRPH_HEIGHT; ++y) {
        for (int x = 0; x < GRPH_WIDTH; ++x) {
            Page().IndexBits()[y * GRPH_WIDTH + x] = pattern(x, y);
            Page().ColourBits()[y * GRPH_WIDTH + x] = pages.GrphColPal.Word(pattern(x, y));
        }
    }
    constexpr int8_t FILL = 14;
    const auto [dy, dx] = GetParam();
    roll_page(Page(), pages.GrphColPal, dy, dx, FILL);
    for (int64_t y = 0; y < GRPH_HEIGHT; ++y) {
        for (int64_t x = 0; x < GRPH_WIDTH; ++x) {
            const bool from = on_page(x + dx, y + dy);
            const uint8_t expected = from ? pattern(x + dx, y + dy) : FILL;
            ASSERT_EQ(Page().IndexAt(static_cast<int32_t>(x), static_cast<int32_t>(y)), expected) << x << "," << y;
        }
    }
    ExpectPlanesAgree();
}

INSTANTIATE_TEST_SUITE_P(Amounts, RollTest,
                         testing::Values(TRollCase{10, 0}, TRollCase{-10, 8}, TRollCase{0, 0}, TRollCase{0, -1},
                                         TRollCase{399, 639}, TRollCase{400, 0}, TRollCase{-400, 0}, TRollCase{0, 640},
                                         TRollCase{3, -700}, TRollCase{INT64_C(1) << 40, -(INT64_C(1) << 40)}));

}  // namespace
