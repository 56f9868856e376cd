#pragma once
// A copy of what a redraw of one rectangle of the screen needs, taken under the
// screen's lock by TBasicRsrc::SnapshotScreen, so that the drawing side draws from
// the copy without holding the machine's lock or knowing its lock order.

#include <array>
#include <cstdint>
#include <vector>

#include "foundation/CharColor.h"

struct TScreenSnapshot {
    // Text geometry at the moment of the copy.
    int8_t TxtCols = 80;
    int8_t TxtRows = 25;
    int8_t CellWidth = 8;
    int8_t CellHeight = 16;
    float TxtBaseline = 0;
    int8_t TxtCol = 7;  // the colour code of the next printed character
    rgb_color TxtColPal[8] = {};

    // Whole text rows FirstTextRow to FirstTextRow + TextRowCount − 1 that the
    // rectangle touches: TxtCols cells a row, in the screen's cell form (machine/devices/BasicRsrc.h),
    // and the attribute byte of each.
    int FirstTextRow = 0;
    int TextRowCount = 0;
    std::vector<std::array<char, 4>> Cells;
    std::vector<uint8_t> Attrs;

    // The cursor: its cell index on the whole screen and whether it is shown and lit.
    int16_t CsrIdx = 0;
    bool CsrShown = false;
    bool CsrBlink = false;

    // Whole pixel rows FirstPixelRow to FirstPixelRow + PixelRowCount − 1 of what the
    // screen shows behind the text, 640 words 0xFFRRGGBB a row (as ComposeGraphics).
    int FirstPixelRow = 0;
    int PixelRowCount = 0;
    std::vector<uint32_t> Graphics;

    bool IsEmpty() const { return TextRowCount == 0 && PixelRowCount == 0; }
};
