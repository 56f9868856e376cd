#include <gtest/gtest.h>

#include <set>
#include <string>

#include "listfiles/BinSaveItemDecoders.h"
#include "listfiles/BinSaveKeywordTables.h"

namespace {

bool is_program_text(const std::string& text)
{
    if (text.empty()) return false;
    for (char c : text)
        if (c <= ' ' || c > '~') return false;
    return true;
}

TEST(BinSaveKeywordTables, OneByteTableCoversEveryTokenButTwo)
{
    BinSaveKeywordTable table;
    BinSaveInitRWMap1(&table);
    for (int token = 0x80; token <= 0xFE; ++token) {
        const bool expected = token != 0xCA && token != 0xEF;
        EXPECT_EQ(table.count(token) == 1, expected) << std::hex << token;
    }
    for (const auto& [token, text] : table)
        EXPECT_TRUE(is_program_text(text)) << std::hex << token << " '" << text << "'";
}

TEST(BinSaveKeywordTables, TwoByteTableCoversItsRangesOnly)
{
    BinSaveKeywordTable table;
    BinSaveInitRWMap2(&table);
    for (int token = 0xFF00; token <= 0xFFFF; ++token) {
        const bool expected = (token >= 0xFF80 && token <= 0xFF86) || (token >= 0xFF90 && token <= 0xFFCF);
        EXPECT_EQ(table.count(token) == 1, expected) << std::hex << token;
    }
    EXPECT_EQ(table.begin()->second, "DATE$");
    EXPECT_EQ(table.rbegin()->second, "STATUS");
}

TEST(BinSaveKeywordTables, BothTablesShareOneMapWithoutClashes)
{
    BinSaveKeywordTable table;
    BinSaveInitRWMap1(&table);
    BinSaveInitRWMap2(&table);
    std::set<std::string> texts;
    for (const auto& entry : table) texts.insert(entry.second);
    EXPECT_EQ(texts.size(), table.size()) << "a keyword text stands under two tokens";
}

TEST(BinSaveKeywordTables, FillingReplacesOwnKeysAndKeepsOthers)
{
    BinSaveKeywordTable table{{0x80, "XYZ"}, {0xFF80, "OTHER"}, {0xFF87, "KEPT"}};
    BinSaveInitRWMap1(&table);
    EXPECT_EQ(table.at(0x80), "AUTO");
    EXPECT_EQ(table.at(0xFF80), "OTHER");
    BinSaveInitRWMap2(&table);
    EXPECT_EQ(table.at(0xFF80), "DATE$");
    EXPECT_EQ(table.at(0xFF87), "KEPT");
    const BinSaveKeywordTable once = table;
    BinSaveInitRWMap1(&table);
    BinSaveInitRWMap2(&table);
    EXPECT_EQ(table, once);
}

struct TokenCase {
    int32_t token;
    const char* text;  // nullptr: no keyword
};

class BinSaveKeywordLookup : public testing::TestWithParam<TokenCase> {};

TEST_P(BinSaveKeywordLookup, FindsTheKeywordOrFails)
{
    BinSaveKeywordTable table;
    BinSaveInitRWMap1(&table);
    BinSaveInitRWMap2(&table);
    const TokenCase& c = GetParam();
    if (c.text) {
        EXPECT_EQ(BinSaveDecodeReservedWord(c.token, table), c.text);
    } else {
        EXPECT_THROW(BinSaveDecodeReservedWord(c.token, table), int);
    }
}

INSTANTIATE_TEST_SUITE_P(Tokens, BinSaveKeywordLookup,
                         testing::Values(TokenCase{0x80, "AUTO"}, TokenCase{0x91, "DATA"}, TokenCase{0x97, "DSKO$"},
                                         TokenCase{0x99, "ELSE"}, TokenCase{0xA3, "GOTO"}, TokenCase{0xC9, "RESTORE"},
                                         TokenCase{0xCB, "RESUME"}, TokenCase{0xEE, "KPLOAD"}, TokenCase{0xF0, ">"},
                                         TokenCase{0xFD, "MOD"}, TokenCase{0xFE, "\\"}, TokenCase{0xFF80, "DATE$"},
                                         TokenCase{0xFF86, "WINDOW"}, TokenCase{0xFF90, "ABS"},
                                         TokenCase{0xFF9C, "CHR$"}, TokenCase{0xFFBD, "STRING$"},
                                         TokenCase{0xFFCE, "IEEE"}, TokenCase{0xFFCF, "STATUS"},
                                         TokenCase{-128, nullptr}, TokenCase{0x7F, nullptr}, TokenCase{0xCA, nullptr},
                                         TokenCase{0xEF, nullptr}, TokenCase{0xFF, nullptr}, TokenCase{0xFF7F, nullptr},
                                         TokenCase{0xFF87, nullptr}, TokenCase{0xFF8F, nullptr},
                                         TokenCase{0xFFD0, nullptr}, TokenCase{0xFFFF, nullptr}));

TEST(BinSaveKeywordLookup, EmptyTableHasNoKeyword)
{
    const BinSaveKeywordTable empty;
    EXPECT_THROW(BinSaveDecodeReservedWord(0x80, empty), int);
    EXPECT_THROW(BinSaveDecodeReservedWord(0xFF80, empty), int);
}

}  // namespace
