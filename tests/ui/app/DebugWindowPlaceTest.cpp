// Where the debug window opens, without windows: inside the screen, and clear of the
// run window where the screen has room for it.

#include <gtest/gtest.h>

#include <ostream>

#include "ui/app/DebugWindowPlace.h"

namespace platform {
void PrintTo(const Rect& r, std::ostream* out)
{
    *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
}  // namespace platform

namespace {

using platform::Rect;

TEST(DebugWindowPlace, TheFrameStaysOnTheScreenAndClearOfTheRunWindow)
{
    const Rect run{25, 44, 664, 463};  // 640 x 420
    const Rect wide{0, 0, 1279, 1023};
    const Rect narrow{0, 0, 1023, 767};
    const Rect small{0, 0, 799, 599};
    const Rect underPanel{0, 24, 1279, 1023};
    struct Case {
        const char* name;
        Rect screen;
        Rect runFrame;
        Rect frame;
        Rect placed;
    };
    const Case cases[] = {
        {"the default beside it", wide, run, {675, 44, 1170, 320}, {675, 44, 1170, 320}},
        {"clear of it below", wide, run, {700, 600, 1195, 876}, {700, 600, 1195, 876}},
        {"wholly under it", wide, run, {45, 64, 540, 340}, {675, 44, 1170, 320}},
        {"partly under it from the left", wide, run, {0, 100, 495, 376}, {675, 44, 1170, 320}},
        {"one pixel under its right edge", wide, run, {664, 64, 1159, 340}, {675, 44, 1170, 320}},
        {"off the bottom right", wide, run, {1000, 900, 1495, 1176}, {784, 747, 1279, 1023}},
        {"above the available area", underPanel, run, {675, 0, 1170, 276}, {675, 24, 1170, 300}},
        {"the default on a 1024 x 768 screen goes below", narrow, run, {675, 44, 1170, 320}, {25, 474, 520, 750}},
        {"larger than the screen", narrow, run, {0, 0, 1499, 999}, {0, 0, 1023, 767}},
        {"800 x 600: below, overlapping least", small, run, {675, 44, 1170, 320}, {25, 323, 520, 599}},
        {"no room to the right: below", wide, {600, 44, 1239, 463}, {675, 44, 1170, 320}, {600, 474, 1095, 750}},
        {"no room to the right or below: left", wide, {500, 400, 1139, 819}, {600, 500, 1095, 776}, {0, 400, 495, 676}},
        {"room only above", wide, {0, 700, 1279, 1023}, {600, 800, 1095, 1076}, {0, 413, 495, 689}},
    };
    for (const Case& c : cases) EXPECT_EQ(debug_window_frame(c.frame, c.runFrame, c.screen), c.placed) << c.name;
}

}  // namespace
