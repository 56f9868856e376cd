#include "foundation/CharColor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/HeaderConstants.h"

namespace {

TEST(CharColorTest, CharBytesCountsTheLeadingOneBits)
{
    struct Case {
        unsigned char lead;
        int expected;
    };
    // clang-format off
    const std::vector<Case> cases = {
        {0x00, 1}, {0x41, 1}, {0x7F, 1}, {0x80, 1}, {0xBF, 1}, {0xC0, 2}, {0xDF, 2}, {0xE0, 3},
        {0xEF, 3}, {0xF0, 4}, {0xF7, 4}, {0xF8, 5}, {0xFB, 5}, {0xFC, 6}, {0xFD, 6}, {0xFE, 7},
        {0xFF, 8},
    };
    // clang-format on
    for (const Case& c : cases)
        EXPECT_EQ(char_bytes(static_cast<char>(c.lead)), c.expected) << "lead byte " << int(c.lead);
}

TEST(CharColorTest, IsKanjiIsTrueForMultiByteCharactersExceptHalfWidthKatakana)
{
    struct Case {
        const char* what;
        std::string text;
        bool expected;
    };
    const std::vector<Case> cases = {
        {"ASCII letter", "A", false},
        {"terminating NUL", "", false},
        {"three-byte kanji", "\xE6\xBC\xA2", true},
        {"full-width katakana", "\xE3\x82\xA2", true},
        {"first half-width kana", "\xEF\xBD\xA1", false},
        {"half-width kana a", "\xEF\xBD\xB1", false},
        {"last half-width kana", "\xEF\xBE\x9F", false},
        {"full-width tilde before the kana", "\xEF\xBD\x9E", true},
        {"half-width hangul after the kana", "\xEF\xBE\xA0", true},
        {"two-byte Latin letter", "\xC3\xA9", true},
        {"stray continuation byte", "\x80", true},
        {"kana cut short by the NUL", "\xEF\xBD", true},
        {"kana lead followed by more text", "\xEF\xBD\xB1X", false},
    };
    for (const Case& c : cases) EXPECT_EQ(is_kanji(c.text.c_str()), c.expected) << c.what;
}

TEST(CharColorTest, IsKanjiFindsEveryHalfWidthKatakana)
{
    for (std::size_t i = 0; i < HALF_KANA_STR.size(); i += 3) {
        const std::string kana = HALF_KANA_STR.substr(i, 3);
        EXPECT_FALSE(is_kanji(kana.c_str())) << "kana at byte " << i;
    }
}

TEST(CharColorTest, MakeRgbKeepsTheComponentsInOrder)
{
    const rgb_color colour = make_rgb(1, 2, 3, 4);
    EXPECT_EQ(colour.red, 1);
    EXPECT_EQ(colour.green, 2);
    EXPECT_EQ(colour.blue, 3);
    EXPECT_EQ(colour.alpha, 4);
}

TEST(CharColorTest, PaletteIndexMarkerCarriesTheIndexInBlue)
{
    struct Case {
        signed char index;
        uint8_t blue;
    };
    const std::vector<Case> cases = {{0, 0}, {7, 7}, {127, 127}, {-1, 255}, {-128, 128}};
    for (const Case& c : cases)
        EXPECT_EQ(rgb_desc_of_pal_idx(c.index), (rgb_color{0, 0, c.blue, 255})) << "index " << int(c.index);
}

}  // namespace
