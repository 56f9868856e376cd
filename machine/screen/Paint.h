#pragma once
// PAINT and ROLL on the pixels of a graphics page. Both work on the plane words
// directly and write the same picture into both planes: palette number n becomes n in
// the colour-index plane and the palette's word of n in the true-colour plane. Both
// hold the page's two locks, colour-index first, for the whole operation.

#include <cstdint>

#include "machine/host/ScreenRect.h"
#include "machine/screen/GraphicsPage.h"
#include "machine/screen/GraphicsPalette.h"

// The rectangle paint_area reports when it painted nothing: left 640, top 400, right
// 0, bottom 0 (a caller that orders the corners gets the whole page).
constexpr TScreenRect PAINT_NOTHING_RECT{GRPH_WIDTH, GRPH_HEIGHT, 0, 0};

// Fills, with palette number `area`, every pixel that is reached from the seed by
// steps to a side-by-side or stacked neighbour without crossing a pixel whose palette
// number is `border`. Pixels of the border colour are never painted; pixels of any
// other colour, the area colour included, are painted over. The fill stops at the
// page's edges. A seed off the page, or on a border pixel, paints nothing.
//
// Returns the page rectangle that was changed: left and top are the first column and
// row painted, right the column after the widest run's end, bottom the last row; it is
// PAINT_NOTHING_RECT when nothing was painted.
TScreenRect paint_area(TGraphicsPage& page, const TGraphicsPalette& palette, int64_t seedX, int64_t seedY, int8_t area,
                       int8_t border);

// Shifts the picture of the page up by dy rows (down for a negative dy), then left by
// dx pixels (right for a negative dx), and fills the rows and columns left uncovered
// with palette number `fill`. An amount as large as the page or larger clears it.
void roll_page(TGraphicsPage& page, const TGraphicsPalette& palette, int64_t dy, int64_t dx, int8_t fill);
