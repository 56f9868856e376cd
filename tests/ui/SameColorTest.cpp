#include "ui/guibase/SameColor.h"

#include <gtest/gtest.h>

namespace {

TEST(SameColor, EveryComponentCounts)
{
    const rgb_color base = make_rgb(10, 20, 30, 255);
    struct Case {
        const char* name;
        rgb_color other;
        bool same;
    };
    const Case cases[] = {
        {"equal", make_rgb(10, 20, 30, 255), true},     {"red", make_rgb(11, 20, 30, 255), false},
        {"green", make_rgb(10, 21, 30, 255), false},    {"blue", make_rgb(10, 20, 31, 255), false},
        {"alpha only", make_rgb(10, 20, 30, 0), false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(is_same_rgb_color(base, c.other), c.same) << c.name;
        EXPECT_EQ(is_same_rgb_color(c.other, base), c.same) << c.name;
    }
}

}  // namespace
