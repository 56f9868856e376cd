// The page dump as PNG: what is written reads back with libpng pixel for pixel, and a
// failed write leaves what was there.

#include <gtest/gtest.h>

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "machine/screen/GraphicsPages.h"
#include "machine/screen/Raster.h"
#include "tests/TempFolder.h"
#include "tools/pngwriter/PngWriter.h"

namespace {

class PngTest : public testing::Test {
protected:
    // Reads a PNG as 0xFFRRGGBB words; false when libpng cannot.
    static bool ReadPng(const std::string& path, uint32_t& width, uint32_t& height, std::vector<uint32_t>& words)
    {
        png_image image;
        std::memset(&image, 0, sizeof image);
        image.version = PNG_IMAGE_VERSION;
        if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
        image.format = PNG_FORMAT_RGB;
        std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
        if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
            png_image_free(&image);
            return false;
        }
        width = image.width;
        height = image.height;
        words.clear();
        for (size_t i = 0; i + 2 < rgb.size(); i += 3)
            words.push_back(0xFF000000u | uint32_t{rgb[i]} << 16 | uint32_t{rgb[i + 1]} << 8 | rgb[i + 2]);
        return true;
    }

    TTempFolder tempFolder{"kivo-png"};
    const std::string dir = tempFolder.Path().string();
};

TEST_F(PngTest, PageReadsBackPixelForPixel)
{
    TGraphicsPages pages;
    for (int colour = 0; colour < 16; ++colour) {
        TRaster r;
        raster_rect_fill(r, colour * 40, colour * 25, colour * 40 + 39, 399);
        draw_raster(pages.Page(0), pages.GrphColPal, r, static_cast<int8_t>(colour));
    }
    TRaster circle;
    raster_ellipse_outline(circle, {320, 200, 150, 75});
    draw_raster(pages.Page(0), pages.GrphColPal, circle, 14);

    const std::string path = dir + "/page.png";
    std::string error;
    ASSERT_TRUE(write_png_rgb(path, pages.Page(0).ColourBits(), GRPH_WIDTH, GRPH_HEIGHT, GRPH_WIDTH, &error)) << error;

    uint32_t width = 0, height = 0;
    std::vector<uint32_t> words;
    ASSERT_TRUE(ReadPng(path, width, height, words));
    EXPECT_EQ(width, static_cast<uint32_t>(GRPH_WIDTH));
    EXPECT_EQ(height, static_cast<uint32_t>(GRPH_HEIGHT));
    EXPECT_EQ(words, std::vector<uint32_t>(pages.Page(0).ColourBits(), pages.Page(0).ColourBits() + GRPH_PIXELS));
}

TEST_F(PngTest, RowStrideAndReplacingAnOlderFile)
{
    // A 3 by 2 picture inside rows of 5 words; the words past the width are not written.
    const uint32_t words[] = {0xFF102030, 0xFF405060, 0xFF708090, 0xFFFFFFFF, 0xFFFFFFFF,
                              0x00A0B0C0, 0xFFD0E0F0, 0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF};
    const std::string path = dir + "/small.png";
    {
        std::ofstream(path) << "old";
    }
    std::string error;
    ASSERT_TRUE(write_png_rgb(path, words, 3, 2, 5, &error)) << error;

    uint32_t width = 0, height = 0;
    std::vector<uint32_t> read;
    ASSERT_TRUE(ReadPng(path, width, height, read));
    EXPECT_EQ(width, 3u);
    EXPECT_EQ(height, 2u);
    EXPECT_EQ(read, (std::vector<uint32_t>{0xFF102030, 0xFF405060, 0xFF708090, 0xFFA0B0C0, 0xFFD0E0F0, 0xFF000000}));
    // Nothing but the picture is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);
}

TEST_F(PngTest, FailedWritesReportAndLeaveNothing)
{
    const uint32_t words[] = {0xFF000000};
    std::string error;
    EXPECT_FALSE(write_png_rgb(dir + "/missing/page.png", words, 1, 1, 1, &error));
    EXPECT_NE(error.find("missing/page.png"), std::string::npos);

    error.clear();
    EXPECT_FALSE(write_png_rgb(dir + "/page.png", nullptr, 1, 1, 1, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(write_png_rgb(dir + "/page.png", words, 0, 1, 1, nullptr));
    EXPECT_FALSE(write_png_rgb(dir + "/page.png", words, 2, 1, 1, nullptr));
    EXPECT_TRUE(std::filesystem::is_empty(dir));
}

}  // namespace
