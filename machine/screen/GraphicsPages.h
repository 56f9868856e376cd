#pragma once
// The four graphics pages of the emulated machine with their palette, the per-page
// record of a pending palette conversion, and the graphics last point. TBasicRsrc
// holds one; its own fields ActivePage, DisplayPage, GrphShown, GrphVertFactor and
// GrphBgCol say which page is drawn on and shown and how.
//
// The machine thread is the only writer. The palette and the page numbers are read by
// the drawing side too, so TBasicRsrc changes them under its ScrLock; the pixels are
// guarded by the page locks (GraphicsPage.h), which these operations take themselves.

#include <array>
#include <cstdint>

#include "machine/host/GrphPoint.h"
#include "machine/host/ScreenRect.h"
#include "machine/screen/GraphicsPage.h"
#include "machine/screen/GraphicsPalette.h"

constexpr int8_t GRPH_PAGE_COUNT = 4;
constexpr int8_t GRPH_NO_PAGE = 4;  // DisplayPage when no page is shown

class TGraphicsPages {
public:
    TGraphicsPages();

    TGraphicsPages(const TGraphicsPages&) = delete;
    TGraphicsPages& operator=(const TGraphicsPages&) = delete;

    // Page 0 to 3 (taken modulo 4, so no number reaches outside the four pages).
    TGraphicsPage& Page(int8_t page) { return mPages[static_cast<uint8_t>(page) & 3u]; }
    const TGraphicsPage& Page(int8_t page) const { return mPages[static_cast<uint8_t>(page) & 3u]; }

    TGraphicsPalette GrphColPal;
    std::array<bool, GRPH_PAGE_COUNT> PalDirty{};
    TGrphPoint LastPoint;

    // Fills both planes of the page with background colour `bgCol` and moves the last
    // point to (0, 0).
    void ClearGrphBuf(int8_t page, int8_t bgCol);

    // After a change of GrphColPal: marks every page for conversion and converts the
    // displayed one (if any) at once.
    void PaletteChanged(int8_t displayPage, int8_t vertFactor);

    // Converts the displayed page when its conversion is pending; no page (4) or a page
    // that is up to date is left alone. Returns true when it converted.
    bool TransferGrphBmpPalToReal(int8_t displayPage, int8_t vertFactor);

    // POINT (x, y): the palette number at the pixel of the page, or −1 off the page.
    int32_t PointIndex(int8_t page, int64_t x, int64_t y) const;

private:
    std::array<TGraphicsPage, GRPH_PAGE_COUNT> mPages;
};

// Rebuilds the true-colour plane of `page` from its colour-index plane in the colours of
// `palette`: the first 640 × 400 / vertFactor pixels (rows 0 to 199 in the 200-line
// modes, all rows with factor 1); rows beyond are not touched.
void transfer_index_to_colour(TGraphicsPage& page, const TGraphicsPalette& palette, int8_t vertFactor);

// What the screen shows behind the text, into `out` (640 × 400 words): the displayed
// page's true-colour plane with each page row shown vertFactor times (page rows 0 to
// 199 fill the screen in the 200-line modes), or black when graphics are hidden or no
// page is displayed. Holds the page's true-colour lock while it copies.
void compose_screen_graphics(const TGraphicsPages& pages, int8_t displayPage, bool grphShown, int8_t vertFactor,
                             uint32_t* out);
// The same for screen rows firstRow to firstRow + rowCount − 1 only (within 0 to
// 399), into rowCount × 640 words.
void compose_screen_graphics_rows(const TGraphicsPages& pages, int8_t displayPage, bool grphShown, int8_t vertFactor,
                                  int32_t firstRow, int32_t rowCount, uint32_t* out);

// A rectangle in page pixels (corners in any order) as the screen area it covers: the
// corners are ordered, and the vertical edges scaled by the vertical factor; with factor
// 2 the bottom takes in the second screen line of the last page row.
TScreenRect graphics_rect_to_screen(const TScreenRect& pageRect, int8_t vertFactor);
