// Where the debug window opens beside the run window, without windows: a frame wholly
// under the run window goes to its right, any other frame stays.

#include <gtest/gtest.h>

#include "ui/app/DebugWindowPlace.h"

namespace {

using platform::Point;
using platform::Rect;

TEST(DebugWindowPlace, AFrameWhollyUnderTheRunWindowGoesBesideIt)
{
    const Rect run{25, 44, 664, 463};  // 640 x 420
    struct Case {
        const char* name;
        Rect frame;
        Point corner;
    };
    const Case cases[] = {
        {"the earlier default, inside", {45, 64, 540, 340}, {675, 44}},
        {"the run window's own frame", run, {675, 44}},
        {"inside, touching the bottom right", {169, 187, 664, 463}, {675, 44}},
        {"one pixel out at the right", {170, 64, 665, 340}, {170, 64}},
        {"one pixel out at the top", {45, 43, 540, 319}, {45, 43}},
        {"partly over it from the left", {0, 100, 495, 376}, {0, 100}},
        {"beside it", {675, 44, 1170, 320}, {675, 44}},
        {"far away", {900, 600, 1395, 876}, {900, 600}},
    };
    for (const Case& c : cases) EXPECT_EQ(debug_window_corner(c.frame, run), c.corner) << c.name;
}

}  // namespace
