// The graphics side of TBasicRsrc: the four pages, their palette and what a change
// of them marks for redrawing.

#include "machine/devices/BasicRsrc.h"

void TBasicRsrc::InitGraphics()
{
    std::lock_guard<std::recursive_mutex> lock(ScrLock);
    Graphics.GrphColPal.InitGrphColPal();
    Graphics.PalDirty.fill(false);
    for (int8_t page = 0; page < GRPH_PAGE_COUNT; ++page) Graphics.ClearGrphBuf(page, GrphBgCol);
    ActivePage = 0;
    DisplayPage = 0;
}

void TBasicRsrc::ClearGrphBuf()
{
    Graphics.ClearGrphBuf(ActivePage, GrphBgCol);
    SetScrModifiedAll2();
}

void TBasicRsrc::SetScrModifiedByGrph2(const TScreenRect& r)
{
    std::lock_guard<std::recursive_mutex> lock(ScrLock);
    // A change to a page that is not shown needs no redraw.
    if (ActivePage != DisplayPage || !GrphShown) return;
    TScreenRect screen = graphics_rect_to_screen(r, GrphVertFactor);
    // Pages reach below the 200-line screen; only what the screen shows is marked.
    if (screen.left < 0) screen.left = 0;
    if (screen.top < 0) screen.top = 0;
    if (screen.right > SCREEN_WIDTH) screen.right = SCREEN_WIDTH;
    if (screen.bottom > SCREEN_HEIGHT) screen.bottom = SCREEN_HEIGHT;
    if (!screen.IsEmpty()) SetScrModifiedKernel2(screen);
}

void TBasicRsrc::TransferGrphBmpPalToReal()
{
    std::lock_guard<std::recursive_mutex> lock(ScrLock);
    Graphics.TransferGrphBmpPalToReal(DisplayPage, GrphVertFactor);
}

void TBasicRsrc::ComposeGraphics(uint32_t* out) const
{
    std::lock_guard<std::recursive_mutex> lock(ScrLock);
    compose_screen_graphics(Graphics, DisplayPage, GrphShown != 0, GrphVertFactor, out);
}
