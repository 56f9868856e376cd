// The two-way search of INSTR and KINSTR.

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "machine/text/TextSearch.h"

namespace {

using text_search::find_text;
constexpr std::size_t NPOS = std::string_view::npos;

TEST(TextSearch, FindsTheFirstOccurrenceAtOrAfterTheStart)
{
    struct Case {
        std::string_view text;
        std::string_view pattern;
        std::size_t from;
        std::size_t found;
    };
    const Case cases[] = {
        {"ABCABC", "BC", 0, 1},
        {"ABCABC", "BC", 2, 4},
        {"ABCABC", "BC", 5, NPOS},
        {"ABCABC", "ABCABC", 0, 0},
        {"ABCABC", "ABCABCD", 0, NPOS},  // longer than the text
        {"ABCABC", "C", 0, 2},
        {"ABCABC", "BC", 4, 4},  // at the end
        {"ABCABC", "", 3, 3},
        {"ABCABC", "", 6, 6},
        {"ABCABC", "", 7, NPOS},
        {"", "", 0, 0},
        {"", "A", 0, NPOS},
        {"AAAAB", "AAB", 0, 2},
        {"ABABABAC", "ABAC", 0, 4},
        {"aabaabaaab", "aaab", 0, 6},
        {"\xFF\x01\xFF", "\x01\xFF", 0, 1},  // bytes above 0x7F compare unsigned
        {"漢字かな漢字", "漢字", 1, 12},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(find_text(c.text, c.pattern, c.from), c.found) << c.text << " / " << c.pattern << " from " << c.from;
    }
}

// Texts of few letters make periodic patterns and near misses, the cases where the
// two-way search's shifts could skip a match.
TEST(TextSearch, AgreesWithThePlainSearchOnTextsOfFewLetters)
{
    std::mt19937 random(12345);
    for (int round = 0; round < 20000; ++round) {
        const char letters = static_cast<char>('A' + 1 + random() % 3);
        std::string text(random() % 40, 'A');
        for (char& c : text) c = static_cast<char>('A' + random() % static_cast<unsigned>(letters - 'A'));
        std::string pattern(1 + random() % 8, 'A');
        for (char& c : pattern) c = static_cast<char>('A' + random() % static_cast<unsigned>(letters - 'A'));
        const std::size_t from = random() % (text.size() + 1);
        ASSERT_EQ(find_text(text, pattern, from), std::string_view(text).find(pattern, from))
            << text << " / " << pattern << " from " << from;
    }
}

// "XX...X" searched for "XX...XY" costs a plain search the text's length times the
// pattern's; the two-way search compares at most about twice the text's bytes, so the
// stop check, asked once each million compared bytes, is asked only a few times.
TEST(TextSearch, ComparesInLinearWorkOnTextsThatDefeatAPlainSearch)
{
    const std::size_t mb = std::size_t{1} << 20;
    const std::string text(2 * mb, 'X');
    const std::string tails[] = {"Y", "YX", "XYX"};
    for (const std::string& tail : tails) {
        const std::string pattern = std::string(mb, 'X') + tail;
        int asked = 0;
        EXPECT_EQ(find_text(text, pattern, 0, [&] { return ++asked, false; }), NPOS) << tail;
        EXPECT_LE(asked, 6) << tail;
        const std::string ending = text + pattern;
        asked = 0;
        EXPECT_EQ(find_text(ending, pattern, 0, [&] { return ++asked, false; }), text.size()) << tail;
        EXPECT_LE(asked, 10) << tail;
    }
}

TEST(TextSearch, GivesUpOnceTheStopCheckAnswersTrue)
{
    const std::string text(8 << 20, 'X');
    const std::string pattern = std::string(1 << 20, 'X') + "Y";
    int asked = 0;
    EXPECT_EQ(find_text(text + pattern, pattern, 0, [&] { return ++asked == 2; }), NPOS);
    EXPECT_EQ(asked, 2);
}

// Patterns of one and two bytes take their own search, which asks the stop check as
// it goes too: through a text without the pattern, and through one with many near misses.
TEST(TextSearch, ShortPatternsGiveUpOnceTheStopCheckAnswersTrue)
{
    const std::string text(8 << 20, 'X');
    const std::string_view patterns[] = {"Y", "XY", "YX"};
    for (const std::string_view pattern : patterns) {
        int asked = 0;
        EXPECT_EQ(find_text(text, pattern, 0, [&] { return ++asked == 2; }), NPOS) << pattern;
        EXPECT_EQ(asked, 2) << pattern;
        asked = 0;
        EXPECT_EQ(find_text(text + std::string(pattern), pattern, 0, [&] { return ++asked, false; }), text.size())
            << pattern;
        EXPECT_GE(asked, 4) << pattern;
        EXPECT_LE(asked, 16) << pattern;
    }
}

}  // namespace
