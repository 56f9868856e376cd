#include "machine/screen/GraphicsPalette.h"

namespace {

// Colour codes of the digital colours 0 to 7.
constexpr int32_t DIGITAL_COLOUR_CODES[8] = {
    0x000,  // 0 black
    0x00F,  // 1 blue
    0x0F0,  // 2 red
    0x0FF,  // 3 magenta
    0xF00,  // 4 green
    0xF0F,  // 5 cyan
    0xFF0,  // 6 yellow
    0xFFF,  // 7 white
};

// Entries 8 to 15 of the initial graphics palette: red, green, blue.
constexpr uint8_t DARK_ENTRIES[8][3] = {
    {0x77, 0x77, 0x77},  //  8
    {0x00, 0x00, 0xAA},  //  9
    {0xAA, 0x00, 0x00},  // 10
    {0xAA, 0x00, 0xAA},  // 11
    {0x00, 0xAA, 0x00},  // 12
    {0x00, 0xAA, 0xAA},  // 13
    {0xAA, 0xAA, 0x00},  // 14
    {0xAA, 0xAA, 0xAA},  // 15
};

}  // namespace

rgb_color BasColCodeToBeRGB(int32_t code)
{
    const auto level = [code](int shift) { return static_cast<unsigned char>(((code >> shift) & 0xF) * 17); };
    return make_rgb(level(4), level(8), level(0), 255);
}

rgb_color digital_colour(int number)
{
    return BasColCodeToBeRGB(DIGITAL_COLOUR_CODES[static_cast<unsigned>(number) & 7u]);
}

TGraphicsPalette::TGraphicsPalette()
{
    InitGrphColPal();
}

void TGraphicsPalette::InitGrphColPal()
{
    for (int i = 0; i < 8; ++i) mEntries[i] = digital_colour(i);
    for (int i = 0; i < 8; ++i)
        mEntries[8 + i] = make_rgb(DARK_ENTRIES[i][0], DARK_ENTRIES[i][1], DARK_ENTRIES[i][2], 255);
}

bool TGraphicsPalette::AssignByColMode(int colMode, int32_t p, int32_t c)
{
    if (colMode < 0 || colMode > 2 || p < 0 || c < 0) return false;
    if (p > (colMode == 2 ? 15 : 7)) return false;
    if (c > (colMode == 0 ? 7 : 4095)) return false;
    mEntries[p] = colMode == 0 ? digital_colour(c) : BasColCodeToBeRGB(c);
    return true;
}
