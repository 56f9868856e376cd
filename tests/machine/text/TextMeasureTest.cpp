// The text measures the string functions count with, the decimal number reader of
// VAL, INPUT and READ, and broken UTF-8 on the text screen.

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>

#include "machine/devices/BasicRsrc.h"
#include "machine/text/BasicNumberParse.h"
#include "machine/text/TextMeasure.h"

namespace {

using namespace text_measure;

TEST(TextMeasure, CharactersAreClassifiedFromTheirValidBytes)
{
    struct Case {
        std::string text;
        std::size_t bytes;
        TCharClass cls;
    };
    const Case cases[] = {
        {"A", 1, TCharClass::OneByte},
        {"ｱ", 3, TCharClass::HalfKana},
        {"｡", 3, TCharClass::HalfKana},  // U+FF61, the first
        {"ﾟ", 3, TCharClass::HalfKana},  // U+FF9F, the last
        {"ｰ", 3, TCharClass::HalfKana},
        {"～", 3, TCharClass::FullWidth},  // U+FF5E, just before them
        {"￠", 3, TCharClass::FullWidth},  // U+FFE0, after them
        {"漢", 3, TCharClass::FullWidth},
        {"é", 2, TCharClass::FullWidth},
        {"😀", 4, TCharClass::FullWidth},
        {"\xE6\xBC", 1, TCharClass::OneByte},  // cut short
        {"\xE6"
         "A"
         "\xA2",
         1, TCharClass::OneByte},                  // not followed by continuation bytes
        {"\xBC", 1, TCharClass::OneByte},          // a stray continuation byte
        {"\xC0\x80", 1, TCharClass::OneByte},      // overlong
        {"\xED\xA0\x80", 1, TCharClass::OneByte},  // a surrogate
        {"\xF8\x88\x80\x80\x80", 1, TCharClass::OneByte},
    };
    for (const Case& c : cases) {
        const TCharStep step = char_step(c.text, 0);
        EXPECT_EQ(step.bytes, c.bytes) << c.text;
        EXPECT_EQ(step.cls, c.cls) << c.text;
    }
}

TEST(TextMeasure, ConversionsAgreeWithEachOtherAtEveryCharacterBoundary)
{
    // Walking to the measure of a prefix that ends on a character boundary gives that
    // prefix back, in both measures and both modes.
    const std::string text = "Aｱ漢字Bｶﾞ漢\xE6x全角";
    for (const bool disk : {false, true}) {
        for (const std::size_t unit : {std::size_t{1}, std::size_t{2}}) {
            for (std::size_t u = 0; u <= text.size(); u += char_step(text, u < text.size() ? u : 0).bytes) {
                const std::size_t j = utf8_pos_to_jis_pos(text, u, unit, disk);
                // In DISK-BASIC mode the measure of a prefix ending in a run includes
                // the closing shift code, which the walk back also spends.
                EXPECT_EQ(jis_pos_to_utf8_pos(text, j, unit, disk), u)
                    << "u=" << u << " unit=" << unit << " disk=" << disk;
                if (u == text.size()) break;
            }
        }
    }
}

TEST(TextMeasure, NothingIsReadPastTheTextWhateverItHolds)
{
    // The view ends inside a character; the bytes after it must not count.
    const std::string backing = "A漢";
    const std::string_view cut(backing.data(), 2);
    EXPECT_EQ(utf8_pos_to_jis_pos(cut, 100, 2, true), 2u);
    EXPECT_EQ(jis_pos_to_utf8_pos(cut, 100, 2, true), 2u);
    EXPECT_EQ(jis_pos_to_utf8_pos_r(cut, 100, true), 2u);
    EXPECT_EQ(jis_len_to_utf8_len(cut, 1, 100, true), 1u);
    EXPECT_EQ(jis_len_to_utf8_len_k(cut, 1, 100, true), 1u);
    EXPECT_EQ(reverse_chars("a漢\xE6"), "\xE6漢a");
}

// The plain walk from the start of the text, character by character, that the
// conversions must agree with whatever short cuts they take.
struct PlainWalk {
    std::string_view text;
    std::size_t unit;
    bool disk;

    bool full_at(std::size_t i) const { return i < text.size() && char_step(text, i).cls == TCharClass::FullWidth; }

    std::size_t measure_of_prefix(std::size_t u) const
    {
        std::size_t count = 0, i = 0;
        bool run = false;
        while (i < text.size() && i < u) {
            const bool full = full_at(i);
            if (disk && full != run) count += unit;
            run = full;
            count += full ? unit : 1;
            i += char_step(text, i).bytes;
        }
        if (disk && run && !full_at(i)) count += unit;
        return count;
    }

    std::size_t bytes_of_units(std::size_t j) const
    {
        std::size_t count = 0, i = 0;
        bool run = false;
        while (i < text.size() && count < j) {
            const bool full = full_at(i);
            if (disk && full != run) {
                count += unit;
                run = full;
                continue;
            }
            count += full ? unit : 1;
            i += char_step(text, i).bytes;
        }
        return i;
    }
};

TEST(TextMeasure, PlainAndMixedTextsMeasureAsTheWalkFromTheStartDoes)
{
    const std::string ascii64(64, 'a');
    const std::string texts[] = {
        "",
        "A",
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcde",  // 31, 32 and 33 bytes: around a block
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdef",
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefg",
        ascii64 + "B",
        "ｱｲｳAｴｵBｶFｷ",                      // half-width kana
        "漢字ABCDEF",                      // kanji at the start,
        "ABC漢字DEF",                      // in the middle
        "ABCDEFG漢字",                     // and at the end
        ascii64 + "漢" + ascii64 + "ｱ字",  // past whole blocks
        "AB\xE6\xBC"
        "CD\xBC"
        "E",  // broken bytes
    };
    for (const std::string& text : texts) {
        const std::string reversed = reverse_chars(text);
        for (const bool disk : {false, true}) {
            for (const std::size_t unit : {std::size_t{1}, std::size_t{2}}) {
                const PlainWalk plain{text, unit, disk};
                const PlainWalk back{reversed, 2, disk};
                for (std::size_t k = 0; k <= 2 * text.size() + 4; ++k) {
                    SCOPED_TRACE(::testing::Message()
                                 << '"' << text << "\" k=" << k << " unit=" << unit << " disk=" << disk);
                    if (k <= text.size() + 2) {
                        EXPECT_EQ(utf8_pos_to_jis_pos(text, k, unit, disk), plain.measure_of_prefix(k));
                    }
                    EXPECT_EQ(jis_pos_to_utf8_pos(text, k, unit, disk), plain.bytes_of_units(k));
                    EXPECT_EQ(jis_pos_to_utf8_pos_r(text, k, disk), back.bytes_of_units(k));
                }
            }
        }
    }
}

TEST(TextMeasure, AsciiPrefixStopsAtTheFirstHighByteOrTheLimit)
{
    const std::string text = std::string(40, 'a') + "漢" + std::string(40, 'b');
    struct Case {
        std::size_t limit, prefix;
        bool tailAscii;
    };
    const Case cases[] = {{0, 0, true},    {31, 31, true},   {33, 33, true}, {40, 40, true},
                          {41, 40, false}, {200, 40, false}, {43, 40, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(ascii_prefix_length(text, c.limit), c.prefix) << c.limit;
        EXPECT_EQ(ends_in_ascii(text, c.limit), c.tailAscii) << c.limit;
    }
}

// The scan reads blocks and words; each place of the first high byte, near and across
// their edges, against a byte-by-byte scan.
TEST(TextMeasure, AsciiScanFindsAHighByteAtEveryPlace)
{
    for (std::size_t length = 0; length <= 140; ++length) {
        for (std::size_t high = 0; high <= length; ++high) {
            std::string text(length, 'x');
            if (high < length) text[high] = static_cast<char>(0x80 + high % 0x40);
            for (std::size_t limit = 0; limit <= length + 1; ++limit) {
                const std::size_t end = std::min(limit, length);
                const std::size_t expected = std::min(high, end);
                const std::size_t tail = length - end;
                EXPECT_EQ(ascii_prefix_length(text, limit), expected) << length << ' ' << high << ' ' << limit;
                EXPECT_EQ(ends_in_ascii(text, limit), high >= length || high < tail)
                    << length << ' ' << high << ' ' << limit;
            }
        }
    }
}

TEST(BasicNumberParse, ReadsOnlyTheDecimalFormsOfBasic)
{
    struct Case {
        const char* text;
        double value;
        std::size_t length;
        TBasicNumberStatus status;
    };
    constexpr auto OK = TBasicNumberStatus::Ok;
    constexpr auto NONE = TBasicNumberStatus::NoNumber;
    const Case cases[] = {
        {"12", 12, 2, OK},
        {"-12.5x", -12.5, 5, OK},
        {"+.25", 0.25, 4, OK},
        {"7.", 7, 2, OK},
        {"1E3", 1000, 3, OK},
        {"1e+3", 1000, 4, OK},
        {"25D-1", 2.5, 5, OK},
        {"2d", 2, 1, OK},
        {"3E+", 3, 1, OK},
        {"0.1", 0.1, 3, OK},
        {"1e-999", 0, 6, OK},
        {"", 0, 0, NONE},
        {" 1", 0, 0, NONE},  // blanks are the caller's business
        {".", 0, 0, NONE},
        {"-", 0, 0, NONE},
        {"+-1", 0, 0, NONE},
        {"e5", 0, 0, NONE},
        {"inf", 0, 0, NONE},
        {"nan", 0, 0, NONE},
        {"0x1F", 0, 1, OK},  // only the 0
        {"1e999", std::numeric_limits<double>::max(), 5, TBasicNumberStatus::Overflow},
        {"-1e999", -std::numeric_limits<double>::max(), 6, TBasicNumberStatus::Overflow},
    };
    for (const Case& c : cases) {
        const TBasicNumber n = parse_basic_number(c.text);
        EXPECT_DOUBLE_EQ(n.value, c.value) << '"' << c.text << '"';
        EXPECT_EQ(n.length, c.length) << '"' << c.text << '"';
        EXPECT_EQ(n.status, c.status) << '"' << c.text << '"';
    }
}

TEST(BrokenText, TakesOneCellAByteOnTheScreen)
{
    TBasicRsrc rsrc;
    rsrc.ClearTxtBuf(0, 25);
    // A lead byte whose sequence the text breaks off: each byte its own cell, and the
    // valid character after it is still whole.
    const std::string text = std::string("\xF9\xE3\x82") + "ア" + "\xC8\xC8";
    rsrc.Print(text.c_str());
    EXPECT_EQ(rsrc.CsrIdx, 3 + 2 + 2);
    EXPECT_EQ(std::string(rsrc.TxtBuf[0]), "\xF9");
    EXPECT_EQ(std::string(rsrc.TxtBuf[1]), "\xE3");
    EXPECT_EQ(std::string(rsrc.TxtBuf[2]), "\x82");
    EXPECT_EQ(std::string(rsrc.TxtBuf[3]), "ア");
    EXPECT_TRUE(rsrc.CellIsRightHalf(4));
    EXPECT_EQ(std::string(rsrc.TxtBuf[5]), "\xC8");
    EXPECT_EQ(std::string(rsrc.TxtBuf[6]), "\xC8");
    EXPECT_EQ(rsrc.DisplayedTxt(0, 6), text);
}

}  // namespace
