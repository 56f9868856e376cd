// The graphics side of the devices: the pages after construction, clearing the active
// page, the changed area that graphics record, and the picture behind the text.

#include <gtest/gtest.h>

#include <vector>

#include "machine/devices/BasicRsrc.h"

namespace {

TEST(GraphicsDevices, StartWithClearPagesAndPageZeroShown)
{
    TBasicRsrc rsrc;
    EXPECT_EQ(rsrc.ActivePage, 0);
    EXPECT_EQ(rsrc.DisplayPage, 0);
    for (int8_t page = 0; page < GRPH_PAGE_COUNT; ++page) {
        EXPECT_EQ(rsrc.Graphics.Page(page).IndexAt(639, 399), 0);
        EXPECT_EQ(rsrc.Graphics.Page(page).ColourAt(0, 0), 0xFF000000u);
    }
    EXPECT_EQ(rsrc.Graphics.GrphColPal.Word(15), 0xFFAAAAAAu);
}

TEST(GraphicsDevices, ChangesAreRecordedOnlyForTheShownPage)
{
    TBasicRsrc rsrc;
    rsrc.TakeScrModified();
    rsrc.SetScrModifiedByGrph2(TScreenRect{5, 20, 1, 10});  // corners in any order
    EXPECT_EQ(rsrc.TakeScrModified(), (TScreenRect{1, 20, 5, 41}));
    rsrc.ActivePage = 1;
    rsrc.SetScrModifiedByGrph2(TScreenRect{0, 0, 10, 10});
    rsrc.SetScrModifiedAll2();
    EXPECT_TRUE(rsrc.TakeScrModified().IsEmpty());
    rsrc.ActivePage = 0;
    rsrc.GrphShown = 0;
    rsrc.SetScrModifiedByGrph2(TScreenRect{0, 0, 10, 10});
    EXPECT_TRUE(rsrc.TakeScrModified().IsEmpty());
    // Rows below the 200-line screen and points off it mark only what is shown.
    rsrc.GrphShown = 1;
    rsrc.SetScrModifiedByGrph2(TScreenRect{-50, 150, 700, 399});
    EXPECT_EQ(rsrc.TakeScrModified(), (TScreenRect{0, 300, 640, 400}));
    rsrc.SetScrModifiedByGrph2(TScreenRect{10, 250, 20, 260});
    EXPECT_TRUE(rsrc.TakeScrModified().IsEmpty());
}

TEST(GraphicsDevices, ClearingTakesTheActivePageAndTheBackground)
{
    TBasicRsrc rsrc;
    rsrc.GrphBgCol = 4;
    rsrc.ActivePage = 2;
    rsrc.Graphics.LastPoint = TGrphPoint{3, 4};
    rsrc.ClearGrphBuf();
    EXPECT_EQ(rsrc.Graphics.Page(2).IndexAt(320, 200), 4);
    EXPECT_EQ(rsrc.Graphics.Page(2).ColourAt(320, 200), rsrc.Graphics.GrphColPal.Word(4));
    EXPECT_EQ(rsrc.Graphics.Page(0).IndexAt(320, 200), 0);
    EXPECT_EQ(rsrc.Graphics.LastPoint, (TGrphPoint{0, 0}));
}

TEST(GraphicsDevices, ThePictureBehindTheText)
{
    TBasicRsrc rsrc;
    rsrc.Graphics.Page(1).Fill(2, 0xFFFF0000u);
    std::vector<uint32_t> screen(GRPH_PIXELS);
    rsrc.DisplayPage = 1;
    rsrc.ComposeGraphics(screen.data());
    EXPECT_EQ(screen[399 * 640 + 639], 0xFFFF0000u);
    rsrc.GrphShown = 0;
    rsrc.ComposeGraphics(screen.data());
    EXPECT_EQ(screen[0], 0xFF000000u);
    rsrc.GrphShown = 1;
    rsrc.DisplayPage = GRPH_NO_PAGE;
    rsrc.ComposeGraphics(screen.data());
    EXPECT_EQ(screen[0], 0xFF000000u);
}

}  // namespace
