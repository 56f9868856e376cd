#include <gtest/gtest.h>

#include <string>

#include "listfiles/KanjiShift.h"
#include "listfiles/NecJisConversion.h"
#include "listfiles/Pc98CharTables.h"
#include "tests/listfiles/ByteString.h"

namespace {

const std::string KI(ZARO_KI_CODE);
const std::string KO(ZARO_KO_CODE);
const std::string NEC_KI(BAS_KI_CODE);
const std::string NEC_KO(BAS_KO_CODE);

struct Converted {
    std::string text;
    int64_t replaced;
};

Converted convert(const std::string& list, bool convertPc98)
{
    std::string bytes = list;
    const int64_t replaced = ConvertJisToJis(bytes, convertPc98);
    return {bytes, replaced};
}

bool is_pc98_graphic(int byte)
{
    return (byte >= 0x80 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xF7);
}

TEST(Pc98CharTables, WithoutCv98NothingIsReplaced)
{
    Pc98OneByteTable oneByte;
    oneByte.fill("junk");
    Pc98TwoByteTable twoByte;
    ConvertJisToJisInit98CharTable1(&oneByte, false);
    ConvertJisToJisInit98CharTable2(&twoByte, false);
    for (int byte = 0; byte < 256; ++byte)
        EXPECT_EQ(oneByte[static_cast<size_t>(byte)], std::string(1, static_cast<char>(byte))) << byte;
    EXPECT_TRUE(twoByte.empty());
}

TEST(Pc98CharTables, WithCv98TheGraphicBytesBecomeAscii)
{
    Pc98OneByteTable oneByte;
    ConvertJisToJisInit98CharTable1(&oneByte, true);
    int replaced = 0;
    for (int byte = 0; byte < 256; ++byte) {
        const std::string& text = oneByte[static_cast<size_t>(byte)];
        ASSERT_EQ(text.size(), 1u) << byte;
        const auto replacement = static_cast<unsigned char>(text[0]);
        if (is_pc98_graphic(byte)) {
            EXPECT_TRUE(replacement >= 0x20 && replacement < 0x7F) << byte;
            ++replaced;
        } else {
            EXPECT_EQ(replacement, byte) << byte;
        }
    }
    EXPECT_EQ(replaced, 56);
    EXPECT_EQ(oneByte[0x80], "_");
    EXPECT_EQ(oneByte[0x91], "T");
    EXPECT_EQ(oneByte[0xE5], "\\");
    EXPECT_EQ(oneByte[0xF7], "S");
}

TEST(Pc98CharTables, TwoByteRowsFollowTheirRules)
{
    Pc98TwoByteTable table;
    ConvertJisToJisInit98CharTable2(&table, true);
    const struct {
        uint16_t code;
        std::string text;
    } rows[] = {
        {0x0020, KO + " " + KI},    {0x0041, KO + "A" + KI},  {0x007F, KO + "\x7F" + KI}, {0x00A0, KO + "\xA0" + KI},
        {0x00DF, KO + "\xDF" + KI}, {0x2B21, KO + " " + KI},  {0x2D21, "\x23\x31"},       {0x2D29, "\x23\x39"},
        {0x2D2A, KO + "10" + KI},   {0x2D33, KO + "19" + KI}, {0x2D34, KO + "20" + KI},   {0x2D35, "\x23\x31"},
        {0x2D3D, "\x23\x39"},       {0x2D3E, KO + "10" + KI}, {0x23C1, "\x23\x41"},       {0x23DA, "\x23\x5A"},
    };
    for (const auto& row : rows) {
        const auto found = table.find(row.code);
        ASSERT_NE(found, table.end()) << std::hex << row.code;
        EXPECT_EQ(found->second, row.text) << std::hex << row.code;
    }
    for (uint16_t code : {0x001F, 0x0080, 0x009F, 0x00E0, 0x2B22, 0x2D20, 0x2D3F, 0x23C0, 0x23DB, 0x2D00})
        EXPECT_EQ(table.count(code), 0u) << std::hex << code;
}

TEST(NecJisConversion, WithoutCv98OnlyTheShiftsChange)
{
    std::string everyByte;
    for (int byte = 0; byte < 256; ++byte)
        if (byte != 0x1B) everyByte += static_cast<char>(byte);
    const std::string list = "10 PRINT\"" + NEC_KI + "\x30\x21\x2D\x21" + NEC_KO + "\"\n" + everyByte;
    const Converted out = convert(list, false);
    EXPECT_EQ(out.text, "10 PRINT\"" + KI + "\x30\x21\x2D\x21" + KO + "\"\n" + everyByte);
    EXPECT_EQ(out.replaced, 0);
}

struct JisCase {
    const char* what;
    std::string list;
    std::string text;
    int64_t replaced;
};

void PrintTo(const JisCase& c, std::ostream* os)
{
    *os << c.what;
}

class NecJisWithCv98 : public testing::TestWithParam<JisCase> {};

TEST_P(NecJisWithCv98, ConvertsAndCounts)
{
    const JisCase& c = GetParam();
    const Converted out = convert(c.list, true);
    EXPECT_EQ(out.text, c.text);
    EXPECT_EQ(out.replaced, c.replaced);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, NecJisWithCv98,
    testing::Values(JisCase{"empty list", "", "", 0},
                    JisCase{"one-byte graphics", bytes_of({0x31, 0x80, 0x96, 0xA0, 0xDF, 0xF7, 0xF8, 0xFF}),
                            bytes_of({0x31, 0x5F, 0x7C, 0xA0, 0xDF, 0x53, 0xF8, 0xFF}), 3},
                    JisCase{"circled one in kanji", NEC_KI + "\x2D\x21" + NEC_KO, KI + "\x23\x31" + KO, 1},
                    JisCase{"circled ten in kanji", NEC_KI + "\x2D\x2A" + NEC_KO, KI + KO + "10" + KI + KO, 1},
                    JisCase{"kanji without a row", NEC_KI + "\x30\x21\x2D\x3F\x2D\x20" + NEC_KO,
                            KI + "\x30\x21\x2D\x3F\x2D\x20" + KO, 0},
                    JisCase{"pair with a zero second byte", NEC_KI + std::string("\x2D\0", 2) + NEC_KO,
                            KI + std::string("\x2D\0", 2) + KO, 0},
                    JisCase{"graphic bytes stay inside kanji", NEC_KI + "\x30\x80" + NEC_KO, KI + "\x30\x80" + KO, 0},
                    JisCase{"NEC shift in inside kanji is a pair", NEC_KI + NEC_KI + "\x2D\x21" + NEC_KO + "\x80",
                            KI + NEC_KI + "\x23\x31" + KO + "_", 2},
                    JisCase{"NEC shift out outside kanji passes", NEC_KO + "\x80", NEC_KO + "_", 1},
                    JisCase{"standard shift in is not a mode change", KI + "\x30\x21\x80", KI + "\x30\x21_", 1},
                    JisCase{"line feeds keep the mode", NEC_KI + "\x0A\x0A\x2D\x21", KI + "\x0A\x0A\x23\x31", 1},
                    JisCase{"ESC as the last byte", "A\x1B", "A\x1B", 0},
                    JisCase{"lone last byte in kanji", NEC_KI + "\x2D\x21\x2D", KI + "\x23\x31\x2D", 1},
                    JisCase{"ESC as the lone last byte in kanji", NEC_KI + "\x1B", KI + "\x1B", 0}));

}  // namespace
