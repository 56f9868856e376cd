// The graphics screen that kivo-headless --page writes, read back from the PNG file:
// every fixture NAME.bas with a NAME.pixels beside it runs with --page, and each line
// "x y RRGGBB" of NAME.pixels names a pixel of the 640 by 400 picture and its colour.

#include <gtest/gtest.h>
#include <png.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "tests/TestPaths.h"
#include "tests/e2e/HeadlessProcess.h"

namespace {

namespace fs = std::filesystem;

const fs::path FIXTURES = test_paths::E2eFixtureDir();

struct TPicture {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgb;
};

bool read_png(const fs::path& path, TPicture& picture)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    picture.width = image.width;
    picture.height = image.height;
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr)) {
        png_image_free(&image);
        return false;
    }
    return true;
}

std::vector<std::string> page_fixtures()
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(FIXTURES))
        if (entry.path().extension() == ".pixels") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

class PageFixture : public ::testing::TestWithParam<std::string> {};

TEST_P(PageFixture, ShowsTheExpectedPixels)
{
    const std::string name = GetParam();
    const fs::path png = fs::temp_directory_path() / ("kivo-e2e-" + name + "-" + std::to_string(::getpid()) + ".png");
    const THeadlessOutcome outcome =
        run_headless_process({"--page", png.string(), (FIXTURES / (name + ".bas")).string()});
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    TPicture picture;
    ASSERT_TRUE(read_png(png, picture)) << "no readable PNG at " << png;
    fs::remove(png);
    ASSERT_EQ(picture.width, 640u);
    ASSERT_EQ(picture.height, 400u);

    std::ifstream pixels(FIXTURES / (name + ".pixels"));
    int checked = 0;
    for (std::string line; std::getline(pixels, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        uint32_t x = 0, y = 0;
        std::string colour;
        ASSERT_TRUE(fields >> x >> y >> colour) << "bad line: " << line;
        ASSERT_LT(x, picture.width) << line;
        ASSERT_LT(y, picture.height) << line;
        const uint8_t* p = &picture.rgb[(static_cast<size_t>(y) * picture.width + x) * 3];
        char got[7];
        std::snprintf(got, sizeof got, "%02X%02X%02X", p[0], p[1], p[2]);
        EXPECT_EQ(std::string(got), colour) << "pixel (" << x << ", " << y << ") of " << name;
        ++checked;
    }
    EXPECT_GT(checked, 0) << name << ".pixels names no pixel";
}

INSTANTIATE_TEST_SUITE_P(E2E, PageFixture, ::testing::ValuesIn(page_fixtures()),
                         [](const ::testing::TestParamInfo<std::string>& testInfo) { return testInfo.param; });

}  // namespace
