#pragma once
// The glyphs of the headless driver, which has no screen font: every character is a
// 16 by 16 frame (the outer ring has ink) with the low bits of its code point across
// row 7, so that PUT@ KANJI draws something every run draws alike and different
// characters differ.

#include <cstdint>
#include <string>

#include "machine/host/HostInterfaces.h"

class TFrameGlyphs : public TGlyphSource {
public:
    bool GlyphRows(const std::string& utf8, uint16_t rows[16]) const override;
};
