// The road of a loaded list: binary-saved lists are decoded first, NEC JIS text
// is converted next, and the platform's JIS conversion makes UTF-8 of it.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "listfiles/BinSaveList.h"
#include "listfiles/KanjiShift.h"
#include "listfiles/NecJisConversion.h"
#include "platform/TextEncoding.h"
#include "tests/TestPaths.h"
#include "tests/listfiles/ByteString.h"

namespace {

const std::string NEC_KI(BAS_KI_CODE);
const std::string NEC_KO(BAS_KO_CODE);

std::string nec_jis_to_utf8(std::string list, bool convertPc98, int64_t* replaced = nullptr)
{
    const int64_t count = ConvertJisToJis(list, convertPc98);
    if (replaced) *replaced = count;
    return platform::convert_to_utf8(platform::TextEncoding::JIS, list, '?');
}

TEST(ListLoadingToUtf8, KanjiStringsReadAsTheirCharacters)
{
    const std::string list = "10 PRINT\"" + NEC_KI + "\x30\x21\x34\x41" + NEC_KO + "A\"\n";
    EXPECT_EQ(nec_jis_to_utf8(list, false), "10 PRINT\"\u4E9C\u6F22A\"\n");
    EXPECT_EQ(nec_jis_to_utf8(list, true), "10 PRINT\"\u4E9C\u6F22A\"\n");
}

TEST(ListLoadingToUtf8, PeculiarCharactersBecomeTheirStandIns)
{
    // Circled 1, circled 10 and Roman numeral X inside a kanji shift, and a
    // one-byte graphic after it.
    const std::string list = "10 ' " + NEC_KI + "\x2D\x21\x2D\x2A\x2D\x3E" + NEC_KO + "\x96\n";
    int64_t replaced = 0;
    EXPECT_EQ(nec_jis_to_utf8(list, true, &replaced), "10 ' \uFF111010|\n");
    EXPECT_EQ(replaced, 4);
}

TEST(ListLoadingToUtf8, WithoutCv98NecCharactersStay)
{
    const std::string list = "10 ' " + NEC_KI + "\x2D\x21" + NEC_KO + "\n";
    int64_t replaced = -1;
    EXPECT_EQ(nec_jis_to_utf8(list, false, &replaced), "10 ' \u2460\n");
    EXPECT_EQ(replaced, 0);
}

TEST(ListLoadingToUtf8, BinarySavedKanjiStringDecodesThenConverts)
{
    const std::string body = bytes_of({0x20, 0xC0, 0x22, 0x1B, 0x4B, 0x30, 0x22, 0x1B, 0x48, 0x22});
    const int length = static_cast<int>(body.size()) + 5;
    std::string list = bytes_of({0xFE, length, 0x00, 0x0A, 0x00}) + body + bytes_of({0x00, 0x1A});
    ASSERT_EQ(BinSaveToAsciiSave(list), 0);
    EXPECT_EQ(nec_jis_to_utf8(list, true), "10 PRINT\"\u5516\"\n");
}

TEST(ListLoadingToUtf8, MachineStoredLineStaysItself)
{
    std::ifstream file(test_paths::FixtureDir() + "/listfiles/nec-line65000.bas", std::ios::binary);
    std::string list{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    ASSERT_EQ(BinSaveToAsciiSave(list), 0);
    EXPECT_EQ(nec_jis_to_utf8(list, true), "65000 CLS 1:CONSOLE 0,25,0,1:DEF SEG=&H1200:SUB=&H5000:CALL SUB\n");
}

}  // namespace
