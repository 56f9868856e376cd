// The screen snapshot of TBasicRsrc: everything a redraw of a rectangle reads, copied
// in one hold of ScrLock (and, inside it, the displayed page's colour lock, the order
// every drawing operation takes them in).

#include <algorithm>
#include <cmath>

#include "machine/devices/BasicRsrc.h"

namespace {

// The rows first to last (inclusive) of `count` rows of `height` pixels that the
// pixel span top to bottom (both inclusive) touches; false when it touches none.
bool touched_rows(float top, float bottom, int height, int count, int& first, int& last)
{
    const float end = static_cast<float>(count * height);
    if (height <= 0 || count <= 0 || !(top <= bottom) || bottom < 0 || top >= end) return false;
    first = static_cast<int>(std::floor(std::max(top, 0.0f))) / height;
    last = static_cast<int>(std::floor(std::min(bottom, end - 1))) / height;
    return first <= last;
}

}  // namespace

TScreenSnapshot TBasicRsrc::SnapshotScreen(const TScreenRect& area) const
{
    TScreenSnapshot shot;
    if (area.IsEmpty() || area.right < 0 || area.left >= SCREEN_WIDTH) return shot;

    std::lock_guard<std::recursive_mutex> lock(ScrLock);
    shot.TxtCols = TxtCols;
    shot.TxtRows = TxtRows;
    shot.CellWidth = CellWidth;
    shot.CellHeight = CellHeight;
    shot.TxtBaseline = TxtBaseline;
    shot.TxtCol = TxtCol;
    std::copy(std::begin(TxtColPal), std::end(TxtColPal), std::begin(shot.TxtColPal));
    shot.CsrIdx = CsrIdx;
    shot.CsrShown = CsrShown.load() != 0;
    shot.CsrBlink = CsrBlink.load() != 0;

    int first = 0, last = 0;
    // Whole rows: a two-column character that crosses the area's left edge is drawn
    // from the cell before it.
    if (touched_rows(area.top, area.bottom, CellHeight, TxtRows, first, last)) {
        const int cols = TxtCols;
        const size_t begin = static_cast<size_t>(first) * cols;
        const size_t end = std::min(static_cast<size_t>(last + 1) * cols, static_cast<size_t>(TXT_BUF_CELLS));
        shot.FirstTextRow = first;
        shot.TextRowCount = last - first + 1;
        shot.Cells.resize(end - begin);
        shot.Attrs.assign(TxtAttr + begin, TxtAttr + end);
        for (size_t i = begin; i < end; ++i) std::copy_n(TxtBuf[i], 4, shot.Cells[i - begin].begin());
    }
    if (touched_rows(area.top, area.bottom, 1, SCREEN_HEIGHT, first, last)) {
        shot.FirstPixelRow = first;
        shot.PixelRowCount = last - first + 1;
        shot.Graphics.resize(static_cast<size_t>(shot.PixelRowCount) * SCREEN_WIDTH);
        compose_screen_graphics_rows(Graphics, DisplayPage, GrphShown != 0, GrphVertFactor, first, shot.PixelRowCount,
                                     shot.Graphics.data());
    }
    return shot;
}
