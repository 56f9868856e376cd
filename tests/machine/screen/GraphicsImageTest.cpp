// GET@ and PUT@ on a page: the rectangle checks, the five combining modes, clipping at
// the page's edges, and the array picture and glyph images.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "machine/screen/GraphicsPages.h"
#include "machine/screen/PageImage.h"
#include "machine/screen/Raster.h"
#include "tests/machine/screen/GraphicsTestUtil.h"

using gfx_test::index_picture;
using Picture = std::vector<std::string>;

namespace {

class PageImageTest : public testing::Test {
protected:
    TGraphicsPage& Page() { return pages.Page(1); }

    void Fill(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int8_t colour)
    {
        TRaster r;
        raster_rect_fill(r, x0, y0, x1, y1);
        draw_raster(Page(), pages.GrphColPal, r, colour);
    }

    // An image whose pixel (x, y) is `pixel(x, y)`.
    template <typename F>
    static TPixelImage MakeImage(int32_t w, int32_t h, F pixel)
    {
        TPixelImage image(w, h);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) set_image_index(image, x, y, pixel(x, y));
        return image;
    }

    void ExpectPlanesAgree()
    {
        for (int i = 0; i < GRPH_PIXELS; ++i)
            ASSERT_EQ(Page().ColourBits()[i], pages.GrphColPal.Word(static_cast<int8_t>(Page().IndexBits()[i])));
    }

    TGraphicsPages pages;
};

struct TGetCase {
    const char* name;
    int64_t x1, y1, x2, y2;
    bool ok;
};

const TGetCase GET_CASES[] = {
    {"one pixel wide", 10, 10, 10, 20, false},
    {"one pixel high", 10, 10, 20, 10, false},
    {"two by two", 10, 10, 11, 11, true},
    {"right to left", 20, 10, 10, 20, false},
    {"bottom to top", 10, 20, 20, 10, false},
    {"whole page", 0, 0, 639, 399, true},
    {"left of the page", -1, 0, 5, 5, false},
    {"above the page", 0, -1, 5, 5, false},
    {"right of the page", 630, 0, 640, 5, false},
    {"below the page", 0, 390, 5, 400, false},
    {"sum of STEP past 32 bits", 10, 10, int64_t{std::numeric_limits<int32_t>::max()} * 2, 20, false},
    {"lowest corner", std::numeric_limits<int64_t>::min(), 0, 5, 5, false},
};

class GetImageTest : public PageImageTest, public testing::WithParamInterface<TGetCase> {};

TEST_P(GetImageTest, ChecksTheRectangle)
{
    const TGetCase& c = GetParam();
    const auto image = get_page_image(Page(), c.x1, c.y1, c.x2, c.y2);
    ASSERT_EQ(image.has_value(), c.ok);
    if (c.ok) {
        EXPECT_EQ(image->Width, c.x2 - c.x1 + 1);
        EXPECT_EQ(image->Height, c.y2 - c.y1 + 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Rectangles, GetImageTest, testing::ValuesIn(GET_CASES), [](const auto& testInfo) {
    std::string name = testInfo.param.name;
    for (char& ch : name)
        if (ch == ' ') ch = '_';
    return name;
});

TEST_F(PageImageTest, GetCopiesThePaletteNumbers)
{
    Fill(101, 51, 102, 52, 5);
    TRaster dot;
    raster_point(dot, 100, 50);
    draw_raster(Page(), pages.GrphColPal, dot, 12);
    const auto image = get_page_image(Page(), 100, 50, 102, 53);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Pixels, MakeImage(3, 4, [](int32_t x, int32_t y) -> uint8_t {
                                 if (x == 0 && y == 0) return 12;
                                 return (x >= 1 && y >= 1 && y <= 2) ? 5 : 0;
                             }).Pixels);
}

struct TModeCase {
    int64_t number;
    uint8_t v, under, expected;
};

TEST(PutModeTest, CombinesImageAndPage)
{
    const TModeCase cases[] = {
        {0, 3, 6, 3},   // PSET
        {1, 3, 6, 12},  // PRESET
        {1, 7, 0, 8},   // PRESET of 7 is 8 also with eight colours
        {2, 3, 6, 7},   // OR
        {3, 3, 6, 2},   // AND
        {4, 3, 6, 5},   // XOR
    };
    for (const TModeCase& c : cases) {
        const auto mode = put_mode_of(c.number);
        ASSERT_TRUE(mode);
        EXPECT_EQ(combine_put_pixel(*mode, c.v, c.under), c.expected) << "mode " << c.number;
    }
    EXPECT_FALSE(put_mode_of(5));
    EXPECT_FALSE(put_mode_of(-1));
}

TEST_F(PageImageTest, PutDrawsEveryModeOverThePage)
{
    Fill(0, 0, 639, 399, 6);
    const TPixelImage image = MakeImage(2, 2, [](int32_t x, int32_t y) { return static_cast<uint8_t>(x + 2 * y); });
    const struct {
        TPutMode mode;
        Picture expected;
        // clang-format off
    } cases[] = {
        {TPutMode::PSet, {"01", "23"}},   {TPutMode::PReset, {"FE", "DC"}}, {TPutMode::Or, {"67", "67"}},
        {TPutMode::And, {"00", "22"}},    {TPutMode::Xor, {"67", "45"}},
    };
    // clang-format on
    int64_t x = 10;
    for (const auto& c : cases) {
        put_page_image(Page(), pages.GrphColPal, image, x, 20, c.mode);
        EXPECT_EQ(index_picture(Page(), static_cast<int>(x), 20, 2, 2), c.expected);
        EXPECT_EQ(Page().IndexAt(static_cast<int>(x) + 2, 20), 6);
        x += 10;
    }
    ExpectPlanesAgree();
}

TEST_F(PageImageTest, XorTwiceRestoresThePage)
{
    Fill(5, 5, 30, 30, 3);
    const auto image = get_page_image(Page(), 0, 0, 20, 20);
    ASSERT_TRUE(image);
    std::vector<uint8_t> before(Page().IndexBits(), Page().IndexBits() + GRPH_PIXELS);
    put_page_image(Page(), pages.GrphColPal, *image, 15, 17, TPutMode::Xor);
    put_page_image(Page(), pages.GrphColPal, *image, 15, 17, TPutMode::Xor);
    EXPECT_EQ(std::vector<uint8_t>(Page().IndexBits(), Page().IndexBits() + GRPH_PIXELS), before);
    ExpectPlanesAgree();
}

TEST_F(PageImageTest, PutClipsAtThePageEdges)
{
    const TPixelImage image = MakeImage(4, 3, [](int32_t, int32_t) { return uint8_t{9}; });
    put_page_image(Page(), pages.GrphColPal, image, 638, 398, TPutMode::PSet);
    EXPECT_EQ(index_picture(Page(), 636, 396, 4, 4), (Picture{"0000", "0000", "0099", "0099"}));

    put_page_image(Page(), pages.GrphColPal, image, -2, -1, TPutMode::PSet);
    EXPECT_EQ(index_picture(Page(), 0, 0, 4, 3), (Picture{"9900", "9900", "0000"}));

    // Wholly off the page, as far as the coordinates go: nothing changes.
    std::vector<uint8_t> before(Page().IndexBits(), Page().IndexBits() + GRPH_PIXELS);
    constexpr int64_t lo = std::numeric_limits<int64_t>::min();
    constexpr int64_t hi = std::numeric_limits<int64_t>::max();
    const int64_t places[][2] = {{640, 0}, {0, 400}, {-4, 0}, {0, -3}, {lo, lo}, {hi, hi}, {lo, 0}, {0, hi}};
    for (const auto& p : places) put_page_image(Page(), pages.GrphColPal, image, p[0], p[1], TPutMode::PSet);
    EXPECT_EQ(std::vector<uint8_t>(Page().IndexBits(), Page().IndexBits() + GRPH_PIXELS), before);
    ExpectPlanesAgree();
}

TEST_F(PageImageTest, ImageWhosePixelsDoNotFillItsSizeDrawsNothing)
{
    TPixelImage image(4, 4);
    image.Pixels.resize(3);
    put_page_image(Page(), pages.GrphColPal, image, 0, 0, TPutMode::PReset);
    TPixelImage negative;
    negative.Width = -3;
    negative.Height = 2;
    put_page_image(Page(), pages.GrphColPal, negative, 10, 0, TPutMode::PReset);
    EXPECT_EQ(std::count(Page().IndexBits(), Page().IndexBits() + GRPH_PIXELS, 0), GRPH_PIXELS);
}

TEST(BitPlaneImageTest, UnpacksRowsPlaneByPlane)
{
    // Width 8, height 1, three planes: plane 0 all set.
    const uint8_t oneRow[] = {0xFF, 0x00, 0x00};
    auto image = decode_bit_plane_image(8, 1, 3, oneRow);
    ASSERT_TRUE(image);
    for (int x = 0; x < 8; ++x) EXPECT_EQ(image_index(*image, x, 0), 1);
    EXPECT_FALSE(decode_bit_plane_image(8, 1, 3, std::span(oneRow, 2)));

    // Width 10 (two bytes a plane row), height 2, four planes; bit 7 is the leftmost.
    const uint8_t bytes[] = {
        0x80, 0x40, 0x00, 0x40, 0x00, 0x00, 0x00, 0x40,  // row 0: planes 0 to 3
        0x01, 0x00, 0x01, 0x00, 0x01, 0x00, 0x01, 0x00,  // row 1
    };
    image = decode_bit_plane_image(10, 2, 4, bytes);
    ASSERT_TRUE(image);
    EXPECT_EQ(image_index(*image, 0, 0), 1);
    EXPECT_EQ(image_index(*image, 9, 0), 1 + 2 + 8);
    EXPECT_EQ(image_index(*image, 7, 1), 15);
    EXPECT_EQ(image_index(*image, 8, 1), 0);
    EXPECT_EQ(bit_plane_byte_count(10, 2, 4), 16);
    EXPECT_EQ(bit_plane_byte_count(0, 2, 4), 0);
    EXPECT_EQ(bit_plane_byte_count(65535, 65535, 4), INT64_C(8192) * 65535 * 4);

    // No size, no pixels.
    image = decode_bit_plane_image(0, 5, 3, {});
    ASSERT_TRUE(image);
    EXPECT_TRUE(image->Pixels.empty());
}

TEST(GlyphImageTest, InkTakesTheForegroundColour)
{
    uint16_t rows[16] = {};
    rows[0] = 0x8001;
    rows[15] = 0x0100;
    const TPixelImage image = glyph_image(rows, 7, 1);
    EXPECT_EQ(image.Width, 16);
    EXPECT_EQ(image.Height, 16);
    EXPECT_EQ(image_index(image, 0, 0), 7);
    EXPECT_EQ(image_index(image, 15, 0), 7);
    EXPECT_EQ(image_index(image, 1, 0), 1);
    EXPECT_EQ(image_index(image, 7, 15), 7);
    EXPECT_EQ(image_index(image, 8, 15), 1);
}

}  // namespace
