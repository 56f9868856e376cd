// The one screen renderer: what it draws of a rectangle of the devices' screen, for
// the run view and the Composition copy alike.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstring>
#include <mutex>

#include "machine/devices/BasicRsrc.h"
#include "ui/runwindow/RunFont.h"
#include "ui/runwindow/ScreenRenderer.h"

namespace {

const TScreenRect kWholeScreen{0, 0, 640, 400};
const QRgb kMarker = qRgb(0x12, 0x34, 0x56);

class ScreenRenderer : public ::testing::Test {
protected:
    ScreenRenderer() : font(run_font_from_prefs()), image(640, 400, QImage::Format_RGB32)
    {
        rsrc.SetFontHeight(font_height_of(font));
        image.fill(kMarker);
    }

    void Render(const TScreenRect& area, bool withCursor)
    {
        QPainter painter(&image);
        render_screen(painter, rsrc.SnapshotScreen(area), area, font, withCursor);
    }
    void SetCell(int idx, const char* text, uint8_t attr = 7)
    {
        std::lock_guard<std::recursive_mutex> lock(rsrc.ScrLock);
        std::memset(rsrc.TxtBuf[idx], 0, 4);
        std::memcpy(rsrc.TxtBuf[idx], text, std::strlen(text));
        rsrc.TxtAttr[idx] = attr;
    }
    void HideGraphics()
    {
        std::lock_guard<std::recursive_mutex> lock(rsrc.ScrLock);
        rsrc.GrphShown = 0;
    }
    // The columns in which a pixel differs from black, within rows top to bottom.
    std::pair<int, int> LitColumns(int top, int bottom) const
    {
        int first = -1, last = -1;
        for (int y = top; y <= bottom; ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) != qRgb(0, 0, 0)) {
                    if (first < 0 || x < first) first = x;
                    if (x > last) last = x;
                }
        return {first, last};
    }

    TBasicRsrc rsrc;
    QFont font;
    QImage image;
};

TEST_F(ScreenRenderer, EmptyRectangleDrawsNothing)
{
    SetCell(0, "A");
    Render(TScreenRect{}, true);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ASSERT_EQ(image.pixel(x, y), kMarker) << x << "," << y;
}

TEST_F(ScreenRenderer, DrawsOnlyInsideItsRectangle)
{
    Render(TScreenRect{8, 16, 15, 31}, false);
    EXPECT_EQ(image.pixel(8, 16), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(15, 31), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(7, 16), kMarker);
    EXPECT_EQ(image.pixel(16, 31), kMarker);
    EXPECT_EQ(image.pixel(8, 32), kMarker);
}

TEST_F(ScreenRenderer, TwoHundredLineModeShowsEachPageRowTwice)
{
    const uint32_t red = 0xFFFF0000u, blue = 0xFF0000FFu;
    {
        TGraphicsPage& page = rsrc.Graphics.Page(0);
        std::lock_guard<std::mutex> lock(page.ColourLock());
        page.ColourBits()[150 * 640 + 10] = red;
        page.ColourBits()[199 * 640 + 20] = blue;
    }
    ASSERT_EQ(rsrc.GrphVertFactor, 2);
    Render(kWholeScreen, false);
    EXPECT_EQ(image.pixel(10, 300), red);
    EXPECT_EQ(image.pixel(10, 301), red);
    EXPECT_EQ(image.pixel(20, 398), blue);
    EXPECT_EQ(image.pixel(20, 399), blue);
    EXPECT_NE(image.pixel(10, 150), red) << "page row 150 is screen rows 300 and 301";
}

TEST_F(ScreenRenderer, HiddenGraphicsAndNoPageGiveBlack)
{
    {
        TGraphicsPage& page = rsrc.Graphics.Page(0);
        std::lock_guard<std::mutex> lock(page.ColourLock());
        std::fill_n(page.ColourBits(), 640 * 400, 0xFFFFFFFFu);
    }
    struct Case {
        const char* what;
        bool shown;
        int8_t page;
    };
    const Case cases[] = {{"graphics hidden", false, 0}, {"page 4 displayed", true, 4}};
    for (const Case& c : cases) {
        {
            std::lock_guard<std::recursive_mutex> lock(rsrc.ScrLock);
            rsrc.GrphShown = c.shown;
            rsrc.DisplayPage = c.page;
        }
        image.fill(kMarker);
        Render(kWholeScreen, false);
        EXPECT_EQ(image.pixel(100, 100), qRgb(0, 0, 0)) << c.what;
    }
}

TEST_F(ScreenRenderer, FortyColumnCharacterInLastColumnLandsAtTheRightEdge)
{
    HideGraphics();
    {
        std::lock_guard<std::recursive_mutex> lock(rsrc.ScrLock);
        rsrc.TxtCols = 40;
        rsrc.CalcTxtSize();
    }
    SetCell(39, "W");
    Render(kWholeScreen, false);
    const auto [first, last] = LitColumns(0, 15);
    ASSERT_GE(first, 0) << "the character is drawn";
    EXPECT_GE(first, 624);
    EXPECT_LE(last, 639);
    EXPECT_GE(last - first, 8) << "the character is stretched to twice its width";
}

TEST_F(ScreenRenderer, TwoColumnCharacterIsDrawnOnceFromItsLeftCell)
{
    HideGraphics();
    SetCell(0, "漢");
    {
        std::lock_guard<std::recursive_mutex> lock(rsrc.ScrLock);
        rsrc.TxtBuf[1][0] = TBasicRsrc::CELL_RIGHT_HALF;
    }
    Render(kWholeScreen, false);
    const QImage whole = image.copy(0, 0, 16, 16);
    const auto [first, last] = LitColumns(0, 15);
    ASSERT_GE(first, 0);
    EXPECT_GE(last, 8) << "the glyph covers both cells";

    // A rectangle of the right half alone redraws the same pixels, not an empty cell.
    image.fill(kMarker);
    Render(TScreenRect{8, 0, 15, 15}, false);
    EXPECT_EQ(image.copy(8, 0, 8, 16), whole.copy(8, 0, 8, 16));
}

TEST_F(ScreenRenderer, CursorBlockOnlyWhereAskedFor)
{
    HideGraphics();
    {
        std::lock_guard<std::recursive_mutex> lock(rsrc.ScrLock);
        rsrc.CsrIdx = 81;  // row 1, column 1
        rsrc.CsrShown = 1;
        rsrc.CsrBlink = 1;
    }
    const QRgb white = qRgb(rsrc.TxtColPal[7].red, rsrc.TxtColPal[7].green, rsrc.TxtColPal[7].blue);
    Render(kWholeScreen, true);
    EXPECT_EQ(image.pixel(8, 16), white);
    EXPECT_EQ(image.pixel(15, 31), white);
    EXPECT_EQ(image.pixel(16, 31), qRgb(0, 0, 0)) << "the block covers one cell";

    image.fill(kMarker);
    Render(kWholeScreen, false);
    EXPECT_EQ(image.pixel(8, 16), qRgb(0, 0, 0)) << "a copy shows no cursor";
}

}  // namespace
