// What the run view offers the machine besides the screen: the keys held down as INP
// reads them, and glyphs of the run font for PUT@ KANJI.

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "tests/ui/runwindow/RunWindowTesting.h"
#include "ui/runwindow/HeldKeys.h"

namespace {

TEST(HeldKeys, EachKeyClearsItsBitInItsRowUntilReleased)
{
    struct Case {
        const char* what;
        int qtKey;
        int row;
        uint8_t bit;
    };
    const Case cases[] = {
        {"Escape", Qt::Key_Escape, 0, 0x01},   {"A", Qt::Key_A, 3, 0x20},
        {"Return", Qt::Key_Return, 3, 0x10},   {"space", Qt::Key_Space, 6, 0x10},
        {"down arrow", Qt::Key_Down, 7, 0x20}, {"F1", Qt::Key_F1, 12, 0x04},
        {"Shift", Qt::Key_Shift, 14, 0x01},
    };
    for (const Case& c : cases) {
        THeldKeys keys;
        keys.Press(c.qtKey);
        for (int row = 0; row < 16; ++row)
            EXPECT_EQ(keys.KeyMatrixRow(row), row == c.row ? static_cast<uint8_t>(0xFF & ~c.bit) : 0xFF)
                << c.what << " row " << row;
        keys.Release(c.qtKey);
        EXPECT_EQ(keys.KeyMatrixRow(c.row), 0xFF) << c.what;
    }
}

TEST(HeldKeys, KeysWithoutPlaceAndLostFocusHoldNothing)
{
    THeldKeys keys;
    keys.Press(Qt::Key_F12);
    for (int row = 0; row < 16; ++row) EXPECT_EQ(keys.KeyMatrixRow(row), 0xFF);
    keys.Press(Qt::Key_Q);
    keys.Press(Qt::Key_Z);
    keys.ReleaseAll();
    for (int row = 0; row < 16; ++row) EXPECT_EQ(keys.KeyMatrixRow(row), 0xFF);
    EXPECT_EQ(keys.KeyMatrixRow(16), 0xFF);
    EXPECT_EQ(keys.KeyMatrixRow(-1), 0xFF);
}

TEST(RunViewGlyphs, CharactersOfTheRunFont)
{
    TRecordingAlertSink alerts;
    TRunView view(platform::Rect{0, 0, 639, 399}, &alerts);
    struct Case {
        const char* what;
        std::string text;
        bool found;
    };
    const Case cases[] = {
        {"a kanji", "漢", true},
        {"a kana", "あ", true},
        {"a letter", "A", true},
        {"nothing", "", false},
    };
    for (const Case& c : cases) {
        uint16_t rows[16] = {};
        EXPECT_EQ(view.GlyphRows(c.text, rows), c.found) << c.what;
        const bool inked = std::any_of(std::begin(rows), std::end(rows), [](uint16_t r) { return r != 0; });
        EXPECT_EQ(inked, c.found) << c.what;
    }
}

}  // namespace
