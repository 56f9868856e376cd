#include "machine/screen/GraphicsPages.h"

#include <algorithm>
#include <utility>

TGraphicsPages::TGraphicsPages() = default;

void TGraphicsPages::ClearGrphBuf(int8_t page, int8_t bgCol)
{
    LastPoint = TGrphPoint{};
    Page(page).Fill(static_cast<uint8_t>(bgCol), GrphColPal.Word(bgCol));
}

void TGraphicsPages::PaletteChanged(int8_t displayPage, int8_t vertFactor)
{
    PalDirty.fill(true);
    TransferGrphBmpPalToReal(displayPage, vertFactor);
}

bool TGraphicsPages::TransferGrphBmpPalToReal(int8_t displayPage, int8_t vertFactor)
{
    if (displayPage < 0 || displayPage >= GRPH_PAGE_COUNT || !PalDirty[displayPage]) return false;
    transfer_index_to_colour(Page(displayPage), GrphColPal, vertFactor);
    PalDirty[displayPage] = false;
    return true;
}

int32_t TGraphicsPages::PointIndex(int8_t page, int64_t x, int64_t y) const
{
    if (!on_page(x, y)) return -1;
    return Page(page).IndexAt(static_cast<int32_t>(x), static_cast<int32_t>(y));
}

void transfer_index_to_colour(TGraphicsPage& page, const TGraphicsPalette& palette, int8_t vertFactor)
{
    const int32_t pixels = GRPH_PIXELS / (vertFactor == 2 ? 2 : 1);
    std::lock_guard<std::mutex> indexLock(page.IndexLock());
    std::lock_guard<std::mutex> colourLock(page.ColourLock());
    const uint8_t* index = page.IndexBits();
    uint32_t* colour = page.ColourBits();
    for (int32_t i = 0; i < pixels; ++i) colour[i] = palette.Word(static_cast<int8_t>(index[i]));
}

TScreenRect graphics_rect_to_screen(const TScreenRect& pageRect, int8_t vertFactor)
{
    TScreenRect r = pageRect;
    if (r.bottom < r.top) std::swap(r.top, r.bottom);
    if (r.right < r.left) std::swap(r.left, r.right);
    const float factor = vertFactor == 2 ? 2.0f : 1.0f;
    r.top *= factor;
    r.bottom = r.bottom * factor + (vertFactor == 2 ? 1.0f : 0.0f);
    return r;
}

void compose_screen_graphics(const TGraphicsPages& pages, int8_t displayPage, bool grphShown, int8_t vertFactor,
                             uint32_t* out)
{
    compose_screen_graphics_rows(pages, displayPage, grphShown, vertFactor, 0, GRPH_HEIGHT, out);
}

void compose_screen_graphics_rows(const TGraphicsPages& pages, int8_t displayPage, bool grphShown, int8_t vertFactor,
                                  int32_t firstRow, int32_t rowCount, uint32_t* out)
{
    if (!grphShown || displayPage < 0 || displayPage >= GRPH_PAGE_COUNT) {
        std::fill_n(out, static_cast<size_t>(rowCount) * GRPH_WIDTH, 0xFF000000u);
        return;
    }
    const TGraphicsPage& page = pages.Page(displayPage);
    const int32_t factor = vertFactor == 2 ? 2 : 1;
    std::lock_guard<std::mutex> lock(page.ColourLock());
    for (int32_t i = 0; i < rowCount; ++i) {
        const uint32_t* row = page.ColourBits() + ((firstRow + i) / factor) * GRPH_WIDTH;
        std::copy_n(row, GRPH_WIDTH, out + i * GRPH_WIDTH);
    }
}
