#include "machine/screen/FrameGlyphs.h"

namespace {

// The code point of the first UTF-8 character; 0 for an empty or broken text.
uint32_t first_code_point(const std::string& utf8)
{
    if (utf8.empty()) return 0;
    const auto lead = static_cast<uint8_t>(utf8[0]);
    int length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || utf8.size() < static_cast<size_t>(length)) return 0;
    uint32_t cp = length == 1 ? lead : lead & (0x7Fu >> length);
    for (int i = 1; i < length; ++i) {
        const auto b = static_cast<uint8_t>(utf8[static_cast<size_t>(i)]);
        if ((b & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b & 0x3Fu);
    }
    return cp;
}

}  // namespace

bool TFrameGlyphs::GlyphRows(const std::string& utf8, uint16_t rows[16]) const
{
    for (int i = 0; i < 16; ++i) rows[i] = i == 0 || i == 15 ? 0xFFFF : 0x8001;
    rows[7] = static_cast<uint16_t>(0x8001u | (first_code_point(utf8) & 0x7FFEu));
    return true;
}
