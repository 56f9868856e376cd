#pragma once
// Character widths on the emulated screen and the colour values of the palettes.

#include <cstdint>
#include <string>
#include <vector>

// A colour as the screen's palettes and bitmaps hold it.
struct rgb_color {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
    uint8_t alpha;

    friend bool operator==(const rgb_color&, const rgb_color&) = default;
};

// The length in bytes of the UTF-8 character that begins with `lead`: the number of
// leading one bits of the byte, at least 1 (so 1 to 8; a stray continuation byte is 1).
int char_bytes(char lead);

// True when the character at `p` takes two screen columns: every character of two or
// more bytes except the 63 half-width katakana. A byte below 0x80 (the terminating
// NUL included) gives false; the character is never read past the terminating NUL.
// The katakana come from the sorted table of gAppPrivacy.
bool is_kanji(const char* p);

// The same test against a given table of half-width katakana, each one a UTF-8
// string, sorted in ascending unsigned byte order.
bool is_kanji(const char* p, const std::vector<std::string>& sortedHalfKana);

// A colour from its four components.
rgb_color make_rgb(unsigned char red, unsigned char green, unsigned char blue, unsigned char alpha);

// The marker colour {0, 0, index, 255} that stands for palette entry `index` in the
// colour-index bitmaps; a negative index keeps its two's-complement byte.
rgb_color rgb_desc_of_pal_idx(signed char index);
