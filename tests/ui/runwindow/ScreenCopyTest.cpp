// What the Copy menu makes of the screen: its text, a graphics page and the composition.

#include <gtest/gtest.h>

#include <QImage>
#include <cstring>
#include <mutex>
#include <string>

#include "machine/devices/BasicRsrc.h"
#include "ui/runwindow/RunFont.h"
#include "ui/runwindow/ScreenCopy.h"

namespace {

const TScreenRect kWholeScreen{0, 0, 640, 400};

void set_cell(TBasicRsrc& rsrc, int idx, const char* text)
{
    std::lock_guard<std::recursive_mutex> lock(rsrc.ScrLock);
    std::memset(rsrc.TxtBuf[idx], 0, 4);
    std::memcpy(rsrc.TxtBuf[idx], text, std::strlen(text));
    rsrc.TxtAttr[idx] = 7;
}

std::string line_feeds(int n)
{
    return std::string(static_cast<size_t>(n), '\n');
}

TEST(ScreenCopyText, RowsLoseTrailingBlanksAndKeepInnerOnes)
{
    struct Cell {
        int idx;
        const char* text;
    };
    struct Case {
        const char* what;
        std::vector<Cell> cells;
        std::string expected;
    };
    // clang-format off
    const Case cases[] = {
        {"a blank screen", {}, line_feeds(25)},
        {"Ok on the first row", {{0, "O"}, {1, "k"}}, "Ok" + line_feeds(25)},
        {"A in column 0, B in column 3", {{0, "A"}, {3, "B"}}, "A  B" + line_feeds(25)},
        {"a two-column character", {{80, "漢"}, {81, "\x02"}, {82, "字"}, {83, "\x02"}},
         "\n漢字" + line_feeds(24)},
        {"the last column", {{79, "Z"}}, std::string(79, ' ') + "Z" + line_feeds(25)},
    };
    // clang-format on
    for (const Case& c : cases) {
        TBasicRsrc rsrc;
        for (const Cell& cell : c.cells) set_cell(rsrc, cell.idx, cell.text);
        EXPECT_EQ(screen_copy_text(rsrc.SnapshotScreen(kWholeScreen)), c.expected) << c.what;
    }
}

TEST(ScreenCopyText, TwentyRowsGiveTwentyLines)
{
    TBasicRsrc rsrc;
    {
        std::lock_guard<std::recursive_mutex> lock(rsrc.ScrLock);
        rsrc.TxtRows = 20;
        rsrc.CalcTxtSize();
    }
    EXPECT_EQ(screen_copy_text(rsrc.SnapshotScreen(kWholeScreen)), line_feeds(20));
}

class ScreenCopyPages : public ::testing::Test {
protected:
    void Paint(int page, int x, int y, uint32_t colour)
    {
        TGraphicsPage& p = rsrc.Graphics.Page(static_cast<int8_t>(page));
        std::lock_guard<std::mutex> lock(p.ColourLock());
        p.ColourBits()[y * 640 + x] = colour;
    }
    TBasicRsrc rsrc;
};

TEST_F(ScreenCopyPages, PageByNumberOrTheDisplayedOne)
{
    Paint(0, 5, 5, 0xFF00FF00u);
    Paint(2, 7, 9, 0xFFFF0000u);
    ASSERT_EQ(rsrc.DisplayPage, 0);
    const QImage two = graphics_page_image(rsrc, 2);
    EXPECT_EQ(two.size(), QSize(640, 400));
    EXPECT_EQ(two.pixel(7, 9), 0xFFFF0000u) << "page 2 although page 0 is displayed";
    EXPECT_NE(two.pixel(5, 5), 0xFF00FF00u);
    EXPECT_EQ(graphics_page_image(rsrc, -1).pixel(5, 5), 0xFF00FF00u);
}

TEST_F(ScreenCopyPages, NoDisplayedPageCopiesBlack)
{
    Paint(0, 5, 5, 0xFFFFFFFFu);
    {
        std::lock_guard<std::recursive_mutex> lock(rsrc.ScrLock);
        rsrc.DisplayPage = 4;
    }
    const QImage image = graphics_page_image(rsrc, -1);
    EXPECT_EQ(image.size(), QSize(640, 400));
    EXPECT_EQ(image.pixel(5, 5), qRgb(0, 0, 0));
}

TEST_F(ScreenCopyPages, CompositionShowsTextOverGraphicsWithoutTheCursor)
{
    const QFont font = run_font_from_prefs();
    rsrc.SetFontHeight(font_height_of(font));
    Paint(0, 600, 100, 0xFF0000FFu);  // screen rows 200 and 201 in the 200-line mode
    set_cell(rsrc, 0, "H");
    {
        std::lock_guard<std::recursive_mutex> lock(rsrc.ScrLock);
        rsrc.CsrIdx = 1;
        rsrc.CsrShown = 1;
        rsrc.CsrBlink = 1;
    }
    const QImage image = composition_image(rsrc, font);
    EXPECT_EQ(image.pixel(600, 200), 0xFF0000FFu);
    bool textDrawn = false;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 8; ++x) textDrawn = textDrawn || image.pixel(x, y) != qRgb(0, 0, 0);
    EXPECT_TRUE(textDrawn);
    for (int y = 0; y < 16; ++y)
        for (int x = 8; x < 16; ++x) ASSERT_EQ(image.pixel(x, y), qRgb(0, 0, 0)) << "no cursor at " << x << "," << y;
}

}  // namespace
