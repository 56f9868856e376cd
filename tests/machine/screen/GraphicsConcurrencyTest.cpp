// The drawing side copies the displayed page while the machine thread draws on it:
// every change to a plane holds that plane's lock (ThreadSanitizer checks the rest).

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

#include "machine/screen/CircleShape.h"
#include "machine/screen/GraphicsPages.h"
#include "machine/screen/PageImage.h"
#include "machine/screen/Paint.h"
#include "machine/screen/Raster.h"

namespace {

TEST(GraphicsConcurrencyTest, ScreenCopiesRunBesideEveryPageOperation)
{
    TGraphicsPages pages;
    std::atomic<bool> stop{false};
    std::atomic<long> copies{0};
    std::thread viewer([&] {
        std::vector<uint32_t> screen(GRPH_PIXELS);
        while (!stop.load()) {
            compose_screen_graphics(pages, 0, true, 1, screen.data());
            copies.fetch_add(1);
        }
    });

    TGraphicsPage& page = pages.Page(0);
    for (int round = 0; round < 20; ++round) {
        TRaster shapes;
        raster_line(shapes, 0, round, 639, 399 - round);
        raster_ellipse_outline(shapes, {320, 200, 50.0 + round, 40});
        draw_raster(page, pages.GrphColPal, shapes, static_cast<int8_t>(round % 16));
        paint_area(page, pages.GrphColPal, 320, 200, 3, static_cast<int8_t>(round % 16));
        roll_page(page, pages.GrphColPal, 1, -1, 0);
        const auto image = get_page_image(page, 10, 10, 60, 40);
        ASSERT_TRUE(image);
        put_page_image(page, pages.GrphColPal, *image, 300, 300, TPutMode::Xor);
        pages.GrphColPal.SetEntry(3, make_rgb(static_cast<uint8_t>(round), 0, 0, 255));
        pages.PaletteChanged(0, 1);
        pages.ClearGrphBuf(1, 0);
    }
    while (copies.load() < 2) std::this_thread::yield();
    stop.store(true);
    viewer.join();

    // Once the drawing has stopped, the copy is the page.
    std::vector<uint32_t> screen(GRPH_PIXELS);
    compose_screen_graphics(pages, 0, true, 1, screen.data());
    EXPECT_EQ(screen, std::vector<uint32_t>(page.ColourBits(), page.ColourBits() + GRPH_PIXELS));
}

}  // namespace
