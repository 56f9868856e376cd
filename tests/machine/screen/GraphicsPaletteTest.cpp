// The graphics palette, colour codes, the conversion of pages after a palette change,
// and the screen area a page rectangle covers.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "machine/devices/BasicRsrc.h"
#include "machine/screen/GraphicsPages.h"
#include "machine/screen/Raster.h"

namespace {

TEST(ColourCodeTest, EachLevelIsSeventeenSteps)
{
    EXPECT_EQ(BasColCodeToBeRGB(0x0F0), make_rgb(255, 0, 0, 255));
    EXPECT_EQ(BasColCodeToBeRGB(0x123), make_rgb(0x22, 0x11, 0x33, 255));
    EXPECT_EQ(BasColCodeToBeRGB(0xFFF), make_rgb(255, 255, 255, 255));
    EXPECT_EQ(BasColCodeToBeRGB(0x000), make_rgb(0, 0, 0, 255));
    EXPECT_EQ(colour_word(make_rgb(0x12, 0x34, 0x56, 0)), 0xFF123456u);
}

TEST(GraphicsPaletteTest, InitialTable)
{
    const TGraphicsPalette palette;
    const uint32_t expected[16] = {
        0xFF000000, 0xFF0000FF, 0xFFFF0000, 0xFFFF00FF, 0xFF00FF00, 0xFF00FFFF, 0xFFFFFF00, 0xFFFFFFFF,
        0xFF777777, 0xFF0000AA, 0xFFAA0000, 0xFFAA00AA, 0xFF00AA00, 0xFF00AAAA, 0xFFAAAA00, 0xFFAAAAAA,
    };
    for (int i = 0; i < 16; ++i) EXPECT_EQ(palette.Word(static_cast<int8_t>(i)), expected[i]) << "entry " << i;
}

// The text colours are the same eight digital colours as the palette's first entries.
TEST(GraphicsPaletteTest, TextColoursAreTheDigitalColours)
{
    const TBasicRsrc rsrc;
    const TGraphicsPalette palette;
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(colour_word(rsrc.DefColPal[i]), palette.Word(static_cast<int8_t>(i))) << "colour " << i;
}

TEST(GraphicsPaletteTest, NumbersBeyondSixteenStayInsideThePalette)
{
    TGraphicsPalette palette;
    EXPECT_EQ(palette.Word(0x17), palette.Word(7));
    EXPECT_EQ(palette.Word(-1), palette.Word(15));
    palette.SetEntry(0x23, make_rgb(1, 2, 3, 255));
    EXPECT_EQ(palette.Entry(3), make_rgb(1, 2, 3, 255));
}

struct TAssignCase {
    int colMode;
    int32_t p, c;
    bool ok;
    rgb_color expected;  // entry p afterwards, when ok
};

TEST(GraphicsPaletteTest, AssignFollowsTheColourMode)
{
    const TAssignCase cases[] = {
        {0, 3, 7, true, make_rgb(255, 255, 255, 255)},
        {1, 3, 7, true, make_rgb(0, 0, 119, 255)},
        {0, 8, 0, false, {}},
        {1, 8, 0, false, {}},
        {2, 8, 0, true, make_rgb(0, 0, 0, 255)},
        {2, 16, 0, false, {}},
        {0, 0, 8, false, {}},
        {1, 0, 8, true, make_rgb(0, 0, 136, 255)},
        {2, 0, 8, true, make_rgb(0, 0, 136, 255)},
        {1, 0, 4096, false, {}},
        {1, 0, 4095, true, make_rgb(255, 255, 255, 255)},
        {0, -1, 0, false, {}},
        {0, 0, -1, false, {}},
        {3, 0, 0, false, {}},
    };
    for (const TAssignCase& c : cases) {
        TGraphicsPalette palette;
        const TGraphicsPalette before;
        EXPECT_EQ(palette.AssignByColMode(c.colMode, c.p, c.c), c.ok) << c.colMode << " " << c.p << " " << c.c;
        if (c.ok) {
            EXPECT_EQ(palette.Entry(c.p), c.expected);
        } else {
            for (int i = 0; i < 16; ++i) EXPECT_EQ(palette.Entry(i), before.Entry(i));
        }
    }
}

class PageConversionTest : public testing::Test {
protected:
    void Dot(int8_t page, int x, int y, int8_t colour)
    {
        TRaster r;
        raster_point(r, x, y);
        draw_raster(pages.Page(page), pages.GrphColPal, r, colour);
    }

    TGraphicsPages pages;
};

TEST_F(PageConversionTest, HiddenPageIsConvertedOnceWhenShown)
{
    Dot(0, 5, 5, 3);
    Dot(2, 6, 6, 3);
    pages.GrphColPal.SetEntry(3, make_rgb(1, 2, 3, 255));
    pages.PaletteChanged(0, 1);

    EXPECT_EQ(pages.Page(0).ColourAt(5, 5), 0xFF010203u);
    EXPECT_FALSE(pages.PalDirty[0]);
    EXPECT_TRUE(pages.PalDirty[2]);
    EXPECT_EQ(pages.Page(2).ColourAt(6, 6), 0xFFFF00FFu);

    EXPECT_TRUE(pages.TransferGrphBmpPalToReal(2, 1));
    EXPECT_EQ(pages.Page(2).ColourAt(6, 6), 0xFF010203u);
    EXPECT_FALSE(pages.PalDirty[2]);
    EXPECT_FALSE(pages.TransferGrphBmpPalToReal(2, 1));
}

TEST_F(PageConversionTest, NoDisplayedPageConvertsNothing)
{
    pages.PaletteChanged(GRPH_NO_PAGE, 1);
    for (bool dirty : pages.PalDirty) EXPECT_TRUE(dirty);
    EXPECT_FALSE(pages.TransferGrphBmpPalToReal(GRPH_NO_PAGE, 1));
}

TEST_F(PageConversionTest, TwoHundredLineModesConvertTheUpperHalfOnly)
{
    Dot(0, 1, 199, 5);
    Dot(0, 1, 200, 5);
    pages.GrphColPal.SetEntry(5, make_rgb(9, 9, 9, 255));
    pages.PaletteChanged(0, 2);
    EXPECT_EQ(pages.Page(0).ColourAt(1, 199), 0xFF090909u);
    EXPECT_EQ(pages.Page(0).ColourAt(1, 200), 0xFF00FFFFu);
}

TEST_F(PageConversionTest, ClearingFillsWithTheBackgroundAndResetsTheLastPoint)
{
    pages.LastPoint = {12, 34};
    pages.ClearGrphBuf(3, 9);
    EXPECT_EQ(pages.LastPoint, (TGrphPoint{0, 0}));
    EXPECT_EQ(pages.Page(3).IndexAt(639, 399), 9);
    EXPECT_EQ(pages.Page(3).ColourAt(0, 0), 0xFF0000AAu);
    EXPECT_EQ(pages.Page(2).IndexAt(0, 0), 0);
}

TEST_F(PageConversionTest, PointReadsThePaletteNumberOrMinusOneOffThePage)
{
    Dot(1, 100, 50, 5);
    pages.GrphColPal.SetEntry(5, make_rgb(0, 0, 0, 255));
    EXPECT_EQ(pages.PointIndex(1, 100, 50), 5);
    EXPECT_EQ(pages.PointIndex(1, 640, 0), -1);
    EXPECT_EQ(pages.PointIndex(1, -1, 0), -1);
    EXPECT_EQ(pages.PointIndex(1, 0, 400), -1);
    EXPECT_EQ(pages.PointIndex(1, 639, 399), 0);
}

TEST(ScreenAreaTest, PageRectanglesScaleByTheVerticalFactor)
{
    EXPECT_EQ(graphics_rect_to_screen({0, 10, 5, 20}, 2), (TScreenRect{0, 20, 5, 41}));
    EXPECT_EQ(graphics_rect_to_screen({5, 20, 0, 10}, 2), (TScreenRect{0, 20, 5, 41}));
    EXPECT_EQ(graphics_rect_to_screen({0, 10, 5, 20}, 1), (TScreenRect{0, 10, 5, 20}));
    EXPECT_EQ(graphics_rect_to_screen({640, 400, 0, 0}, 1), (TScreenRect{0, 0, 640, 400}));
}

}  // namespace

namespace {

TEST(ScreenGraphicsTest, DisplayedPageStretchedOrBlack)
{
    TGraphicsPages pages;
    TRaster r;
    raster_point(r, 3, 1);
    draw_raster(pages.Page(2), pages.GrphColPal, r, 7);
    std::vector<uint32_t> screen(GRPH_PIXELS, 0x12345678u);

    compose_screen_graphics(pages, 2, true, 2, screen.data());
    EXPECT_EQ(screen[1 * GRPH_WIDTH + 3], 0xFF000000u);
    EXPECT_EQ(screen[2 * GRPH_WIDTH + 3], 0xFFFFFFFFu);
    EXPECT_EQ(screen[3 * GRPH_WIDTH + 3], 0xFFFFFFFFu);
    EXPECT_EQ(screen[4 * GRPH_WIDTH + 3], 0xFF000000u);

    compose_screen_graphics(pages, 2, true, 1, screen.data());
    EXPECT_EQ(screen[1 * GRPH_WIDTH + 3], 0xFFFFFFFFu);
    EXPECT_EQ(screen[2 * GRPH_WIDTH + 3], 0xFF000000u);

    for (const auto& [page, shown] : {std::pair<int8_t, bool>{2, false}, {GRPH_NO_PAGE, true}}) {
        std::fill(screen.begin(), screen.end(), 0x12345678u);
        compose_screen_graphics(pages, page, shown, 1, screen.data());
        EXPECT_EQ(std::count(screen.begin(), screen.end(), 0xFF000000u), GRPH_PIXELS);
    }
}

}  // namespace
