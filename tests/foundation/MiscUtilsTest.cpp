#include "foundation/MiscUtils.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct DetectCase {
    const char* what;
    std::string text;
    int expected;
};

TEST(MiscUtilsTest, DetectCrTypeComparesTheCountsOfCrAndLf)
{
    const std::vector<DetectCase> cases = {
        {"CR LF line ends", "10 A=1\r\n20 B=2\r\n", 1},
        {"LF line ends", "10 A=1\n20 B=2\n", 0},
        {"CR line ends", "10 A=1\r20 B=2\r", 2},
        {"three LF and one stray CR", "a\nb\rc\nd\n", 0},
        {"one LF and one CR anywhere", "\na b c\r", 1},
        {"no line end", "abc", 0},
        {"empty", "", 0},
    };
    for (const DetectCase& c : cases) EXPECT_EQ(detect_cr_type(c.text.c_str()), c.expected) << c.what;
}

TEST(MiscUtilsTest, DetectCharSetLooksAtEscapesAndTheShapeOfSequences)
{
    const std::vector<DetectCase> cases = {
        {"plain ASCII", "10 PRINT \"HELLO\"\n", 0},
        {"empty", "", 0},
        {"UTF-8 kanji and kana", "10 PRINT \"\xE6\xBC\xA2\xEF\xBD\xB1\"", 0},
        {"ESC among single bytes", "10 A$=\"\x1B$B4A\x1B(J\"", 13},
        {"ESC and faults", "\x82\xA0\x1B(J", 13},
        {"Shift-JIS lead bytes", "\x8A\xBF\x8E\x9A", 11},
        {"stray continuation byte", "a\x80z", 11},
        {"UTF-8 cut in its last character", "\xE6\xBC\xA2\xE5\xAD", 11},
        {"ESC that follows a lead byte",
         "A\xC3\x1B"
         "B",
         11},
        {"ESC inside a longer sequence", "\xE6\x1B\xA2", 11},
        {"0xFF and seven continuation bytes", "\xFF\x80\x80\x80\x80\x80\x80\x80", 0},
        {"0xFF cut short", "\xFF\x80\x80", 11},
        {"overlong form passes", "\xC0\xAF", 0},
    };
    for (const DetectCase& c : cases) EXPECT_EQ(detect_char_set(c.text.c_str()), c.expected) << c.what;
}

TEST(MiscUtilsTest, DetectCharSetStopsAtTheTerminatingNul)
{
    // A lead byte just before the NUL: the byte after the NUL would be a valid
    // continuation byte, and must not be read.
    const char text[] = {'a', '\xC3', '\0', '\xA9', '\0'};
    EXPECT_EQ(detect_char_set(text), 11);
    const char escapeAfterNul[] = {'a', '\0', '\x1B', '\0'};
    EXPECT_EQ(detect_char_set(escapeAfterNul), 0);
}

}  // namespace
