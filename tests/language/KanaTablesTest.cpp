// The container's kana tables: the two parallel 63-entry tables and the
// half-width to full-width map.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "foundation/HeaderConstants.h"
#include "language/MidCode.h"

namespace {

// The UTF-8 bytes of a code point of the Basic Multilingual Plane.
std::string Utf8(char32_t cp)
{
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

class KanaTables : public ::testing::Test {
protected:
    TMidCode mid;
};

TEST_F(KanaTables, SizesAndCharacterLengths)
{
    ASSERT_EQ(mid.HalfKanaTable.size(), 63u);
    ASSERT_EQ(mid.FullKanaTable.size(), 63u);
    ASSERT_EQ(mid.AkcnvMap.size(), 63u);
    for (size_t i = 0; i < 63; ++i) {
        EXPECT_EQ(mid.HalfKanaTable[i].size(), 3u);
        EXPECT_EQ(mid.FullKanaTable[i].size(), 3u);
        EXPECT_EQ(mid.HalfKanaTable[i], Utf8(0xFF61 + static_cast<char32_t>(i))) << i;
        EXPECT_EQ(mid.AkcnvMap.at(mid.HalfKanaTable[i]), mid.FullKanaTable[i]) << i;
    }
    EXPECT_EQ(std::set<std::string>(mid.FullKanaTable.begin(), mid.FullKanaTable.end()).size(), 63u)
        << "KACNV$ searches the full-width table, so no character may occur twice";
}

struct KanaPair {
    size_t Position;
    char32_t Half;
    char32_t Full;
};

TEST_F(KanaTables, Counterparts)
{
    // clang-format off
    const KanaPair pairs[] = {
        {0, 0xFF61, 0x3002},  {1, 0xFF62, 0x300C},  {3, 0xFF64, 0x3001},  {4, 0xFF65, 0x30FB},
        {5, 0xFF66, 0x30F2},  {6, 0xFF67, 0x30A1},  {10, 0xFF6B, 0x30A9}, {11, 0xFF6C, 0x30E3},
        {14, 0xFF6F, 0x30C3}, {15, 0xFF70, 0x30FC}, {16, 0xFF71, 0x30A2}, {21, 0xFF76, 0x30AB},
        {60, 0xFF9D, 0x30F3}, {61, 0xFF9E, 0x309B}, {62, 0xFF9F, 0x309C},
    };
    // clang-format on
    for (const KanaPair& p : pairs) {
        EXPECT_EQ(mid.HalfKanaTable[p.Position], Utf8(p.Half)) << p.Position;
        EXPECT_EQ(mid.FullKanaTable[p.Position], Utf8(p.Full)) << p.Position;
        EXPECT_EQ(mid.AkcnvMap.at(Utf8(p.Half)), Utf8(p.Full)) << p.Position;
    }
    // The voiced full-width kana (GA) and the combining sound marks are in no table.
    for (const char32_t absent : {char32_t{0x30AC}, char32_t{0x3099}, char32_t{0x309A}}) {
        EXPECT_EQ(std::count(mid.FullKanaTable.begin(), mid.FullKanaTable.end(), Utf8(absent)), 0);
        EXPECT_EQ(mid.AkcnvMap.count(Utf8(absent)), 0u);
    }
}

TEST_F(KanaTables, HeaderConstantIsTheHalfWidthSequence)
{
    std::string joined;
    for (const std::string& c : mid.HalfKanaTable) joined += c;
    EXPECT_EQ(joined, HALF_KANA_STR);
}

TEST_F(KanaTables, ClearLeavesThemAlone)
{
    const auto half = mid.HalfKanaTable;
    const auto full = mid.FullKanaTable;
    const auto map = mid.AkcnvMap;
    mid.Clear();
    EXPECT_EQ(mid.HalfKanaTable, half);
    EXPECT_EQ(mid.FullKanaTable, full);
    EXPECT_EQ(mid.AkcnvMap, map);
}

}  // namespace
