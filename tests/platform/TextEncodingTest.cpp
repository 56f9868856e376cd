#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

using platform::convert_from_utf8;
using platform::convert_to_utf8;
using platform::TextEncoding;

constexpr char kSub = 0x1A;

struct Sample {
    const char* what;
    std::string utf8;
    std::string shiftJis;
    std::string jis;
};

// Each text in its three forms. JIS is as our writer produces it.
const std::vector<Sample>& samples()
{
    static const std::vector<Sample> table = {
        {"ASCII with backslash and tilde", "10 A=7\\2:B$=\"~\"", "10 A=7\\2:B$=\"~\"", "10 A=7\\2:B$=\"~\""},
        {"kanji", "\xE6\xBC\xA2\xE5\xAD\x97", "\x8A\xBF\x8E\x9A", "\x1B$B4A;z\x1B(B"},
        {"kanji among ASCII",
         "A\xE6\xBC\xA2"
         "B",
         "A\x8A\xBF"
         "B",
         "A\x1B$B4A\x1B(BB"},
        {"half-width kana", "\xEF\xBD\xB1\xEF\xBE\x9D\xEF\xBD\xA1\xEF\xBE\x9F", "\xB1\xDD\xA1\xDF", "\xB1\xDD\xA1\xDF"},
        {"NEC circled digits", "\xE2\x91\xA0\xE2\x91\xB3", "\x87\x40\x87\x53", "\x1B$B-!-4\x1B(B"},
        {"full-width forms", "\xEF\xBC\xA1\xEF\xBD\x9E\xEF\xBF\xA5", "\x82\x60\x81\x60\x81\x8F", "\x1B$B#A!A!o\x1B(B"},
        {"kanji then kana", "\xE6\xBC\xA2\xEF\xBD\xB1", "\x8A\xBF\xB1", "\x1B$B4A\x1B(B\xB1"},
        {"line ends and NUL", std::string("a\r\n\0b", 5), std::string("a\r\n\0b", 5), std::string("a\r\n\0b", 5)},
    };
    return table;
}

std::string encoded(const Sample& s, TextEncoding encoding)
{
    return encoding == TextEncoding::ShiftJIS ? s.shiftJis : s.jis;
}

const char* name_of(TextEncoding encoding)
{
    return encoding == TextEncoding::ShiftJIS ? "Shift-JIS" : "JIS";
}

TEST(TextEncodingTest, SamplesConvertBothWaysWithoutSubstitutes)
{
    for (TextEncoding encoding : {TextEncoding::ShiftJIS, TextEncoding::JIS}) {
        for (const Sample& s : samples()) {
            std::size_t substitutions = 99;
            EXPECT_EQ(convert_to_utf8(encoding, encoded(s, encoding), kSub, &substitutions), s.utf8)
                << s.what << " from " << name_of(encoding);
            EXPECT_EQ(substitutions, 0u);
            substitutions = 99;
            EXPECT_EQ(convert_from_utf8(encoding, s.utf8, kSub, &substitutions), encoded(s, encoding))
                << s.what << " to " << name_of(encoding);
            EXPECT_EQ(substitutions, 0u);
        }
    }
}

TEST(TextEncodingTest, JisReaderFollowsEveryShift)
{
    struct Case {
        const char* what;
        std::string jis;
        std::string utf8;
    };
    const std::vector<Case> cases = {
        {"old kanji shift", "\x1B$@4A\x1B(B", "\xE6\xBC\xA2"},
        {"roman shift keeps backslash and tilde", "\x1B$B4A\x1B(J\\~", "\xE6\xBC\xA2\\~"},
        {"7-bit kana", "\x1B(I1]\x1B(BA",
         "\xEF\xBD\xB1\xEF\xBE\x9D"
         "A"},
        {"8-bit kana inside kanji mode", "\x1B$B4A\xB1", "\xE6\xBC\xA2\xEF\xBD\xB1"},
        {"line end and space inside kanji mode", "\x1B$B4A\n 4A", "\xE6\xBC\xA2\n \xE6\xBC\xA2"},
        {"unclosed kanji mode", "\x1B$B4A", "\xE6\xBC\xA2"},
        {"NEC row 13 and full-width tilde", "\x1B$B-b!A", "\xE2\x84\x96\xEF\xBD\x9E"},
        {"unknown escape passes through", "\x1BKA", "\x1BKA"},
        {"escape cut short", "A\x1B$", "A\x1B$"},
    };
    for (const Case& c : cases) {
        std::size_t substitutions = 99;
        EXPECT_EQ(convert_to_utf8(TextEncoding::JIS, c.jis, kSub, &substitutions), c.utf8) << c.what;
        EXPECT_EQ(substitutions, 0u) << c.what;
    }
}

TEST(TextEncodingTest, UnconvertibleInputBecomesTheSubstituteByte)
{
    struct Case {
        const char* what;
        TextEncoding encoding;
        std::string source;
        std::string utf8;
        std::size_t substitutions;
    };
    const std::vector<Case> cases = {
        {"Shift-JIS bytes without a character", TextEncoding::ShiftJIS,
         "A\x80\xA0\xFD\xFE\xFF"
         "B",
         "A\x1A\x1A\x1A\x1A\x1A"
         "B",
         5},
        {"Shift-JIS lead byte at the end", TextEncoding::ShiftJIS, "A\x8A", "A\x1A", 1},
        {"Shift-JIS lead byte before a line end", TextEncoding::ShiftJIS, "\x8A\n", "\x1A\n", 1},
        {"Shift-JIS pair without a mapping", TextEncoding::ShiftJIS, "\x85\x40Z", "\x1AZ", 1},
        {"JIS half pair at the end", TextEncoding::JIS, "\x1B$B4A4", "\xE6\xBC\xA2\x1A", 1},
        {"JIS unassigned pair", TextEncoding::JIS, "\x1B$B\x7F\x7F\x22\x7F", "\x7F\x7F\x1A\x7F", 1},
        {"JIS pair in an empty row", TextEncoding::JIS, "\x1B$B)!", "\x1A", 1},
        {"JIS high bytes outside the kana", TextEncoding::JIS, "\x80\xA0\xE0\xFF", "\x1A\x1A\x1A\x1A", 4},
        {"JIS 7-bit kana mode letter", TextEncoding::JIS, "\x1B(Ia", "\x1A", 1},
    };
    for (const Case& c : cases) {
        std::size_t substitutions = 99;
        EXPECT_EQ(convert_to_utf8(c.encoding, c.source, kSub, &substitutions), c.utf8) << c.what;
        EXPECT_EQ(substitutions, c.substitutions) << c.what;
    }
}

TEST(TextEncodingTest, UnrepresentableUtf8BecomesTheSubstituteByte)
{
    struct Case {
        const char* what;
        std::string utf8;
        std::string shiftJis;
        std::string jis;
        std::size_t substitutions;
    };
    const std::vector<Case> cases = {
        {"emoji",
         "A\xF0\x9F\x98\x80"
         "B",
         "A\x1A"
         "B",
         "A\x1A"
         "B",
         1},
        {"hangul", "\xEA\xB0\x80", "\x1A", "\x1A", 1},
        {"yen sign is no backslash", "\xC2\xA5", "\x1A", "\x1A", 1},
        {"stray continuation bytes", "\x80\x80", "\x1A\x1A", "\x1A\x1A", 2},
        {"character cut short", "\xE6\xBC", "\x1A", "\x1A", 1},
        {"cut short before ASCII",
         "\xE6"
         "A",
         "\x1A"
         "A",
         "\x1A"
         "A",
         1},
        {"overlong slash", "\xC0\xAF", "\x1A\x1A", "\x1A\x1A", 2},
        {"surrogate", "\xED\xA0\x80", "\x1A", "\x1A", 1},
        {"substitute between kanji", "\xE6\xBC\xA2\xF0\x9F\x98\x80\xE6\xBC\xA2", "\x8A\xBF\x1A\x8A\xBF",
         "\x1B$B4A\x1A"
         "4A\x1B(B",
         1},
    };
    for (const Case& c : cases) {
        std::size_t substitutions = 99;
        EXPECT_EQ(convert_from_utf8(TextEncoding::ShiftJIS, c.utf8, kSub, &substitutions), c.shiftJis) << c.what;
        EXPECT_EQ(substitutions, c.substitutions) << c.what;
        substitutions = 99;
        EXPECT_EQ(convert_from_utf8(TextEncoding::JIS, c.utf8, kSub, &substitutions), c.jis) << c.what;
        EXPECT_EQ(substitutions, c.substitutions) << c.what;
    }
}

TEST(TextEncodingTest, IbmExtensionKanjiExistOnlyInShiftJis)
{
    // U+7E8A is an IBM extension: code page 932 has it twice (NEC's selection at
    // 0xED40 and IBM's own at 0xFA5C, which it writes), JIS X 0208 has no pair for it.
    const std::string kanji = "\xE7\xBA\x8A";
    EXPECT_EQ(convert_from_utf8(TextEncoding::ShiftJIS, kanji, kSub), "\xFA\x5C");
    EXPECT_EQ(convert_to_utf8(TextEncoding::ShiftJIS, "\xFA\x5C", kSub), kanji);
    EXPECT_EQ(convert_to_utf8(TextEncoding::ShiftJIS, "\xED\x40", kSub), kanji);
    std::size_t substitutions = 0;
    EXPECT_EQ(convert_from_utf8(TextEncoding::JIS, kanji, kSub, &substitutions), "\x1A");
    EXPECT_EQ(substitutions, 1u);
}

TEST(TextEncodingTest, JisWriterOfOneKanjiBeginsWithTheKanjiShift)
{
    // The machine's JIS$ takes the two bytes after ESC $ B as the character's code.
    const std::string jis = convert_from_utf8(TextEncoding::JIS, "\xE6\xBC\xA2", kSub);
    ASSERT_GE(jis.size(), 5u);
    EXPECT_EQ(jis.substr(0, 3), "\x1B$B");
    EXPECT_EQ(jis.substr(3, 2), "4A");
}

TEST(TextEncodingTest, EveryShiftJisPairThatConvertsComesBack)
{
    int converted = 0;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (lead > 0x9F && lead < 0xE0) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F) continue;
            const std::string sjis = {static_cast<char>(lead), static_cast<char>(trail)};
            std::size_t substitutions = 0;
            const std::string utf8 = convert_to_utf8(TextEncoding::ShiftJIS, sjis, kSub, &substitutions);
            if (substitutions != 0) continue;
            ++converted;
            const std::string back = convert_from_utf8(TextEncoding::ShiftJIS, utf8, kSub, &substitutions);
            EXPECT_EQ(substitutions, 0u) << "pair " << std::hex << lead << trail;
            EXPECT_EQ(convert_to_utf8(TextEncoding::ShiftJIS, back, kSub), utf8)
                << "pair " << std::hex << lead << trail;
        }
    }
    EXPECT_GT(converted, 7000);
}

TEST(TextEncodingTest, EveryJisPairThatConvertsComesBack)
{
    // Row by row through the whole two-byte plane: a pair that converts to a
    // character must give back a pair that converts to the same character.
    int converted = 0;
    for (int first = 0x21; first <= 0x7E; ++first) {
        for (int second = 0x21; second <= 0x7E; ++second) {
            const std::string jis = {'\x1B', '$', 'B', static_cast<char>(first), static_cast<char>(second)};
            std::size_t substitutions = 0;
            const std::string utf8 = convert_to_utf8(TextEncoding::JIS, jis, kSub, &substitutions);
            if (substitutions != 0) continue;
            ++converted;
            const std::string back = convert_from_utf8(TextEncoding::JIS, utf8, kSub, &substitutions);
            EXPECT_EQ(substitutions, 0u) << "pair " << std::hex << first << second;
            EXPECT_EQ(convert_to_utf8(TextEncoding::JIS, back, kSub), utf8) << "pair " << std::hex << first << second;
        }
    }
    // JIS X 0208 with NEC's row 13 has well over 6000 characters.
    EXPECT_GT(converted, 6000);
}

}  // namespace

namespace {

TEST(TextEncodingTest, ThreadsConvertAtTheSameTimeWithoutSharingState)
{
    // Each thread keeps its own converters; a shared one would mix shift states.
    std::string longText;
    for (int i = 0; i < 200; ++i) longText += "10 A$=\"\xE6\xBC\xA2\xEF\xBD\xB1\xE2\x91\xA0\"\n";
    const std::string expectedJis = convert_from_utf8(TextEncoding::JIS, longText, kSub);
    const std::string expectedSjis = convert_from_utf8(TextEncoding::ShiftJIS, longText, kSub);

    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 20; ++round) {
                const TextEncoding encoding = (round + t) % 2 == 0 ? TextEncoding::JIS : TextEncoding::ShiftJIS;
                const std::string& expected = encoding == TextEncoding::JIS ? expectedJis : expectedSjis;
                if (convert_from_utf8(encoding, longText, kSub) != expected ||
                    convert_to_utf8(encoding, expected, kSub) != longText)
                    ++failures[t];
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

}  // namespace
