#pragma once
// The 16-entry graphics palette and the colour codes of the emulated machine.
//
// A colour code is a 12-bit number 0xGRB: green in bits 8 to 11, red in bits 4 to 7,
// blue in bits 0 to 3; each 4-bit level n becomes the 8-bit component n × 17.
// The eight digital colours are the codes of palette numbers 0 to 7 in the eight-colour
// mode: black, blue, red, magenta, green, cyan, yellow, white.

#include <array>
#include <cstdint>

#include "foundation/CharColor.h"

// The colour of a colour code (only its low 12 bits count), opaque.
rgb_color BasColCodeToBeRGB(int32_t code);

// Digital colour 0 to 7 (the number is taken modulo 8).
rgb_color digital_colour(int number);

// The true-colour pixel word 0xFFRRGGBB of a colour; the alpha is always opaque.
constexpr uint32_t colour_word(rgb_color c)
{
    return 0xFF000000u | (uint32_t{c.red} << 16) | (uint32_t{c.green} << 8) | uint32_t{c.blue};
}

class TGraphicsPalette {
public:
    static constexpr int ENTRIES = 16;

    // Starts with the initial table.
    TGraphicsPalette();

    // Restores the initial table: entries 0 to 7 the digital colours, 8 to 15 the
    // darker set (0x777777, then the digital colours 1 to 7 at level 0xAA).
    void InitGrphColPal();

    rgb_color Entry(int number) const { return mEntries[static_cast<unsigned>(number) & 15u]; }
    void SetEntry(int number, rgb_color colour) { mEntries[static_cast<unsigned>(number) & 15u] = colour; }

    // The true-colour word that palette number `number` draws. Any 8-bit number may
    // stand in the colour-index plane; numbers above 15 take the entry of their low
    // four bits, so the palette is never read outside its 16 entries.
    uint32_t Word(int8_t number) const { return colour_word(Entry(static_cast<uint8_t>(number))); }

    // COLOR = (p, c): sets entry p from c as the colour mode says (mode 0: digital
    // colour c, p and c 0 to 7; mode 1: colour code c 0 to 4095, p 0 to 7; mode 2: the
    // same with p 0 to 15). Returns false, and changes nothing, when p or c is out of
    // range for the mode or the mode is not 0, 1 or 2.
    bool AssignByColMode(int colMode, int32_t p, int32_t c);

private:
    std::array<rgb_color, ENTRIES> mEntries;
};
