// The screen snapshot: the rows a rectangle touches, copied as the screen holds them,
// and never half of a change made under the screen's lock.

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "machine/devices/BasicRsrc.h"

namespace {

// The text of one snapshot row, the cells' characters with empty cells as blanks.
std::string row_text(const TScreenSnapshot& shot, int row)
{
    std::string text;
    for (int col = 0; col < shot.TxtCols; ++col) {
        const auto& cell = shot.Cells[static_cast<size_t>(row) * shot.TxtCols + col];
        if (cell[0] == TBasicRsrc::CELL_EMPTY)
            text += ' ';
        else if (cell[0] != TBasicRsrc::CELL_RIGHT_HALF)
            text += cell.data();
    }
    return text.substr(0, text.find_last_not_of(' ') + 1);
}

class ScreenSnapshot : public ::testing::Test {
protected:
    ScreenSnapshot()
    {
        rsrc.Print("row0");
        rsrc.DoCRLF();
        rsrc.Print("row1");
        rsrc.DoCRLF();
        rsrc.Print("漢row2");
        // A recognisable picture: every page row y is filled with the word 0xFF000000 + y.
        TGraphicsPage& page = rsrc.Graphics.Page(0);
        std::lock_guard<std::mutex> lock(page.ColourLock());
        for (int y = 0; y < GRPH_HEIGHT; ++y)
            std::fill_n(page.ColourBits() + y * GRPH_WIDTH, GRPH_WIDTH, 0xFF000000u + static_cast<uint32_t>(y));
    }
    TBasicRsrc rsrc;
};

TEST_F(ScreenSnapshot, CopiesTheRowsTheAreaTouches)
{
    std::vector<uint32_t> whole(static_cast<size_t>(TBasicRsrc::SCREEN_WIDTH) * TBasicRsrc::SCREEN_HEIGHT);
    rsrc.ComposeGraphics(whole.data());
    struct Case {
        const char* what;
        TScreenRect area;
        int firstText, textRows, firstPixel, pixelRows;
    };
    const Case cases[] = {
        {"one text row", {8, 16, 15, 31}, 1, 1, 16, 16},
        {"two rows, from mid-row", {0, 20, 639, 40}, 1, 2, 20, 21},
        {"the whole screen", {0, 0, 639, 399}, 0, 25, 0, 400},
        {"reaching past every edge", {-50, -50, 900, 900}, 0, 25, 0, 400},
        {"the last pixel row", {0, 399, 0, 399}, 24, 1, 399, 1},
    };
    for (const Case& c : cases) {
        const TScreenSnapshot shot = rsrc.SnapshotScreen(c.area);
        EXPECT_EQ(shot.FirstTextRow, c.firstText) << c.what;
        EXPECT_EQ(shot.TextRowCount, c.textRows) << c.what;
        EXPECT_EQ(shot.Cells.size(), static_cast<size_t>(c.textRows) * 80) << c.what;
        EXPECT_EQ(shot.Attrs.size(), shot.Cells.size()) << c.what;
        EXPECT_EQ(shot.FirstPixelRow, c.firstPixel) << c.what;
        ASSERT_EQ(shot.PixelRowCount, c.pixelRows) << c.what;
        const std::vector<uint32_t> expected(whole.begin() + c.firstPixel * 640,
                                             whole.begin() + (c.firstPixel + c.pixelRows) * 640);
        EXPECT_EQ(shot.Graphics, expected) << c.what;
    }
}

TEST_F(ScreenSnapshot, CellsAttributesAndCursorAreTheScreens)
{
    const TScreenSnapshot shot = rsrc.SnapshotScreen({0, 0, 639, 47});
    ASSERT_EQ(shot.TextRowCount, 3);
    EXPECT_EQ(row_text(shot, 0), "row0");
    EXPECT_EQ(row_text(shot, 1), "row1");
    EXPECT_EQ(row_text(shot, 2), "漢row2");
    EXPECT_EQ(shot.Cells[2 * 80 + 1][0], TBasicRsrc::CELL_RIGHT_HALF);
    for (size_t i = 0; i < shot.Attrs.size(); ++i) ASSERT_EQ(shot.Attrs[i], rsrc.TxtAttr[i]) << i;
    EXPECT_EQ(shot.CsrIdx, rsrc.CsrIdx);
    EXPECT_EQ(shot.CsrIdx, 2 * 80 + 6);
    EXPECT_EQ(shot.TxtCols, 80);
    EXPECT_EQ(shot.CellHeight, rsrc.CellHeight);
    EXPECT_EQ(shot.TxtColPal[7], rsrc.TxtColPal[7]);
}

TEST_F(ScreenSnapshot, AreasOffTheScreenCopyNothing)
{
    const TScreenRect areas[] = {{}, {0, 400, 639, 500}, {0, -20, 639, -1}, {640, 0, 700, 399}, {-9, 0, -1, 399}};
    for (const TScreenRect& area : areas) {
        const TScreenSnapshot shot = rsrc.SnapshotScreen(area);
        EXPECT_TRUE(shot.IsEmpty()) << area.left << ',' << area.top << ',' << area.right << ',' << area.bottom;
        EXPECT_TRUE(shot.Cells.empty());
        EXPECT_TRUE(shot.Graphics.empty());
    }
}

// A writer that changes every cell in one hold of the lock, as the machine's
// handlers do; a snapshot taken meanwhile holds all of the old cells or all of the new.
TEST_F(ScreenSnapshot, NeverSeesHalfAChange)
{
    std::atomic<bool> done{false};
    std::atomic<int> rounds{0};
    std::thread writer([&] {
        while (!done.load()) {
            {
                std::lock_guard<std::recursive_mutex> lock(rsrc.ScrLock);
                const char c = rounds % 2 == 0 ? 'A' : 'B';
                for (auto& cell : rsrc.TxtBuf) {
                    cell[0] = c;
                    cell[1] = '\0';
                }
                ++rounds;
            }
            // A mutex is not fair: a writer that takes it again at once can keep the
            // snapshots waiting for as long as the machine is busy with other work.
            std::this_thread::yield();
        }
    });
    while (rounds.load() == 0) std::this_thread::yield();
    int mixed = 0;
    for (int i = 0; i < 100; ++i) {
        const TScreenSnapshot shot = rsrc.SnapshotScreen({0, 0, 639, 399});
        const char first = shot.Cells.front()[0];
        for (const auto& cell : shot.Cells) {
            if (cell[0] != first) {
                ++mixed;
                break;
            }
        }
    }
    done = true;
    writer.join();
    EXPECT_EQ(mixed, 0) << "snapshots holding cells of two rounds";
}

}  // namespace
