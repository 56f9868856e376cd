// The string and kanji functions run through their handlers, as tables of cases in
// DISK-BASIC mode (shift codes counted) and DOS-BASIC mode.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "machine/vm/RuntimeErrorKeys.h"
#include "platform/Locale.h"
#include "tests/machine/vm/MachineTestSupport.h"

namespace {

using S = TStackData;

constexpr long DISK = 2;
constexpr long DOS = 3;

S T(const std::string& text)
{
    return S::OwnedText(text);
}
S I(int32_t v)
{
    return S::Long(v);
}

// One function call: the code (with its flag), the arguments in the order the
// compiler pushes them, and the expected text or integer result per mode.
struct Call {
    TVMCodeCmd cmd;
    bool flag;
    std::vector<S> args;
};

class StringFunctions : public ::testing::Test {
protected:
    StringFunctions() : machine("Virtual Machine", &mid, &rsrc, nullptr, nullptr, nullptr)
    {
        TCodeBuilder(mid).Finish();
    }
    void SetUp() override { platform::use_key_identity_catalogue(true); }
    void TearDown() override { platform::use_key_identity_catalogue(false); }

    // The result of the call in the given mode; the stack must hold exactly it.
    S Apply(long mode, const Call& call)
    {
        machine.SetRuntimeCompatiMode(mode);
        machine.ValueStack.clear();
        for (const S& a : call.args) machine.Push(a);
        machine.Run(MakeCode(call.cmd, call.flag));
        EXPECT_EQ(machine.ValueStack.size(), 1u) << "code " << call.cmd;
        return machine.ValueStack.empty() ? S{} : machine.Pop();
    }
    std::string Text(long mode, const Call& call)
    {
        const S r = Apply(mode, call);
        EXPECT_EQ(r.type, static_cast<uint32_t>(sdString)) << "code " << call.cmd;
        return r.type == sdString ? std::string(r.CString()) : std::string("<not a text>");
    }
    int32_t Int(long mode, const Call& call)
    {
        const S r = Apply(mode, call);
        EXPECT_EQ(r.type, static_cast<uint32_t>(sdLong)) << "code " << call.cmd;
        return r.value.l;
    }
    // The error text of a call that must fail ("" when it did not).
    std::string Error(long mode, const Call& call)
    {
        machine.SetRuntimeCompatiMode(mode);
        machine.ValueStack.clear();
        for (const S& a : call.args) machine.Push(a);
        try {
            machine.Run(MakeCode(call.cmd, call.flag));
        } catch (const TException& e) {
            return e.String();
        }
        return std::string();
    }
    bool FailsWithIllFuncCall(long mode, const Call& call)
    {
        return Error(mode, call).find(RTE_ILL_FUNC_CALL) != std::string::npos;
    }

    TMidCode mid;
    TBasicRsrc rsrc;
    TTestMachine machine;
};

const std::string AKB = "A漢B";

TEST_F(StringFunctions, TextsOfMixedWidthInBothModes)
{
    struct Case {
        const char* what;
        Call call;
        std::string dos;
        std::string disk;
    };
    const Case cases[] = {
        {"LEFT$ 2", {vcLeftDl, false, {T(AKB), I(2)}}, "A漢", "A"},
        {"LEFT$ 3", {vcLeftDl, false, {T(AKB), I(3)}}, "A漢", "A"},
        {"LEFT$ 4", {vcLeftDl, false, {T(AKB), I(4)}}, "A漢B", "A漢"},
        {"LEFT$ 0", {vcLeftDl, false, {T(AKB), I(0)}}, "", ""},
        {"LEFT$ 255", {vcLeftDl, false, {T(AKB), I(255)}}, AKB, AKB},
        {"RIGHT$ 2", {vcRightDl, false, {T(AKB), I(2)}}, "漢B", "B"},
        {"RIGHT$ 4", {vcRightDl, false, {T(AKB), I(4)}}, "A漢B", "漢B"},
        {"RIGHT$ 0", {vcRightDl, false, {T(AKB), I(0)}}, "", ""},
        {"MID$ 2,2", {vcMidDlFunc, true, {T(AKB), I(2), I(2)}}, "漢", ""},
        {"MID$ 2,3", {vcMidDlFunc, true, {T(AKB), I(2), I(3)}}, "漢B", "漢"},
        {"MID$ 3,2", {vcMidDlFunc, true, {T(AKB), I(3), I(2)}}, "B", ""},
        {"MID$ 2", {vcMidDlFunc, false, {T(AKB), I(2)}}, "漢B", "漢B"},
        {"MID$ 2,0", {vcMidDlFunc, true, {T(AKB), I(2), I(0)}}, "", ""},
        {"MID$ past the end", {vcMidDlFunc, true, {T(AKB), I(200), I(3)}}, "", ""},
        {"MID$ 漢字 3,4", {vcMidDlFunc, true, {T("漢字"), I(3), I(4)}}, "字", "漢"},
        {"KMID$ 2,2", {vcKmidDl, true, {T(AKB), I(2), I(2)}}, "漢B", "漢"},
        {"KMID$ 漢字 1,2", {vcKmidDl, true, {T("漢字"), I(1), I(2)}}, "漢字", "漢字"},
        {"KMID$ 漢字 3,2", {vcKmidDl, true, {T("漢字"), I(3), I(2)}}, "", "字"},
        {"KMID$ without length", {vcKmidDl, false, {T("aｱ漢"), I(2)}}, "ｱ漢", "ｱ漢"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Text(DOS, c.call), c.dos) << c.what << " (DOS-BASIC)";
        EXPECT_EQ(Text(DISK, c.call), c.disk) << c.what << " (DISK-BASIC)";
    }
}

TEST_F(StringFunctions, LengthsAndSearchesInBothModes)
{
    struct Case {
        const char* what;
        Call call;
        int32_t dos;
        int32_t disk;
    };
    const Case cases[] = {
        {"LEN A漢B", {vcLen, false, {T(AKB)}}, 4, 8},
        {"LEN 漢字", {vcLen, false, {T("漢字")}}, 4, 8},
        {"LEN 漢ｱ", {vcLen, false, {T("漢ｱ")}}, 3, 7},
        {"LEN empty", {vcLen, false, {T("")}}, 0, 0},
        {"INSTR B", {vcInstr, false, {T(AKB), T("B")}}, 4, 8},
        {"INSTR 漢", {vcInstr, false, {T(AKB), T("漢")}}, 2, 2},
        {"INSTR ｱ after a kanji", {vcInstr, false, {T("漢ｱ"), T("ｱ")}}, 3, 7},
        {"INSTR not found", {vcInstr, false, {T(AKB), T("C")}}, 0, 0},
        {"INSTR empty search", {vcInstr, false, {T("ABC"), T("")}}, 1, 1},
        {"INSTR empty search from 7", {vcInstr, true, {I(7), T("ABC"), T("")}}, 7, 7},
        {"INSTR from 4", {vcInstr, true, {I(4), T("ABCABC"), T("C")}}, 6, 6},
        {"INSTR 漢字字 from 4", {vcInstr, true, {I(4), T("漢字字"), T("字")}}, 5, 5},
        {"INSTR start beyond the end", {vcInstr, true, {I(50), T("ABC"), T("C")}}, 0, 0},
        {"KLEN", {vcKlen, false, {T("A漢ｱB字")}}, 5, 9},
        {"KLEN 1", {vcKlen, true, {T("A漢ｱB字"), I(1)}}, 3, 3},
        {"KLEN 2", {vcKlen, true, {T("A漢ｱB字"), I(2)}}, 2, 2},
        {"KLEN 3", {vcKlen, true, {T("A漢ｱB字"), I(3)}}, 2, 2},
        {"KLEN 4", {vcKlen, true, {T("A漢ｱB字"), I(4)}}, 0, 0},
        {"KLEN 5", {vcKlen, true, {T("A漢ｱB字"), I(5)}}, 0, 0},
        {"KINSTR B", {vcKinstr, false, {T(AKB), T("B")}}, 3, 5},
        {"KINSTR 漢", {vcKinstr, false, {T(AKB), T("漢")}}, 2, 2},
        {"KINSTR from 3", {vcKinstr, true, {I(3), T("字A字"), T("字")}}, 3, 5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Int(DOS, c.call), c.dos) << c.what << " (DOS-BASIC)";
        EXPECT_EQ(Int(DISK, c.call), c.disk) << c.what << " (DISK-BASIC)";
    }
}

TEST_F(StringFunctions, ConversionsAndMadeTexts)
{
    struct Case {
        const char* what;
        Call call;
        std::string result;
    };
    const Case cases[] = {
        {"CHR$ 0", {vcChrDl, false, {I(0)}}, ""},
        {"CHR$ 65", {vcChrDl, false, {I(65)}}, "A"},
        {"CHR$ 126", {vcChrDl, false, {I(126)}}, "~"},
        {"CHR$ 127", {vcChrDl, false, {I(127)}}, " "},
        {"CHR$ 128", {vcChrDl, false, {I(128)}}, " "},
        {"CHR$ 160", {vcChrDl, false, {I(160)}}, " "},
        {"CHR$ 161", {vcChrDl, false, {I(161)}}, "｡"},
        {"CHR$ 177", {vcChrDl, false, {I(177)}}, "ｱ"},
        {"CHR$ 223", {vcChrDl, false, {I(223)}}, "ﾟ"},
        {"CHR$ 224", {vcChrDl, false, {I(224)}}, " "},
        {"CHR$ of a double rounds", {vcChrDl, false, {S::Double(64.5)}}, "A"},
        {"STR$ 5", {vcStrDl, false, {I(5)}}, " 5"},
        {"STR$ 0", {vcStrDl, false, {I(0)}}, " 0"},
        {"STR$ -2.5", {vcStrDl, false, {S::Double(-2.5)}}, "-2.5"},
        {"STR$ -0.5", {vcStrDl, false, {S::Single(-0.5f)}}, "-0.5"},
        {"STR$ 1/3", {vcStrDl, false, {S::Double(1.0 / 3)}}, " 0.333333"},
        {"STR$ 2147483647", {vcStrDl, false, {I(2147483647)}}, " 2.14748e+09"},
        {"STR$ 1.5E20", {vcStrDl, false, {S::Double(1.5e20)}}, " 1.5e+20"},
        {"STR$ 1E6", {vcStrDl, false, {S::Double(1e6)}}, " 1e+06"},
        {"HEX$ 255", {vcHexDl, false, {I(255)}}, "FF"},
        {"HEX$ -1", {vcHexDl, false, {I(-1)}}, "FFFF"},
        {"HEX$ 65535", {vcHexDl, false, {I(65535)}}, "FFFF"},
        {"HEX$ -32768", {vcHexDl, false, {I(-32768)}}, "8000"},
        {"HEX$ 0", {vcHexDl, false, {I(0)}}, "0"},
        {"HEX$ 2.5", {vcHexDl, false, {S::Double(2.5)}}, "3"},
        {"OCT$ 8", {vcOctDl, false, {I(8)}}, "10"},
        {"OCT$ -1", {vcOctDl, false, {I(-1)}}, "177777"},
        {"OCT$ 0", {vcOctDl, false, {I(0)}}, "0"},
        {"SPACE$ 3", {vcSpaceDl, false, {I(3)}}, "   "},
        {"SPACE$ 0", {vcSpaceDl, false, {I(0)}}, ""},
        {"STRING$ 3 xyz", {vcStringDl, false, {I(3), T("xyz")}}, "xxx"},
        {"STRING$ 3 65", {vcStringDl, false, {I(3), I(65)}}, "AAA"},
        {"STRING$ empty fill", {vcStringDl, false, {I(3), T("")}}, ""},
        {"STRING$ fill 0", {vcStringDl, false, {I(3), I(0)}}, ""},
        {"STRING$ of a kanji text", {vcStringDl, false, {I(2), T("漢字")}}, "漢漢"},
        {"STRING$ of a kana code", {vcStringDl, false, {I(2), I(177)}}, "ｱｱ"},
        {"STRING$ of a code without a character", {vcStringDl, false, {I(2), I(200 + 30)}}, "  "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Text(DOS, c.call), c.result) << c.what << " (DOS-BASIC)";
        EXPECT_EQ(Text(DISK, c.call), c.result) << c.what << " (DISK-BASIC)";
    }
}

TEST_F(StringFunctions, AscGivesTheFirstByte)
{
    EXPECT_EQ(Int(DOS, {vcAsc, false, {T("")}}), 0);
    EXPECT_EQ(Int(DOS, {vcAsc, false, {T("A")}}), 65);
    EXPECT_EQ(Int(DISK, {vcAsc, false, {T("ｱ")}}), 239);
}

TEST_F(StringFunctions, ValReadsDecimalHexAndOctal)
{
    struct Case {
        const char* text;
        uint32_t type;
        double value;
    };
    const Case cases[] = {
        {"  12abc ", sdDouble, 12},
        {"-1.5", sdDouble, -1.5},
        {"+.5", sdDouble, 0.5},
        {"1.5E2", sdDouble, 150},
        {"1.5D2", sdDouble, 150},
        {"2e-1", sdDouble, 0.2},
        {"3E", sdDouble, 3},  // an exponent letter without
                              // digits is not part of it
        {"7.", sdDouble, 7},
        {"", sdDouble, 0},
        {"abc", sdDouble, 0},
        {"-", sdDouble, 0},
        {".", sdDouble, 0},
        {"0x1F", sdDouble, 0},  // no C hexadecimal form
        {"inf", sdDouble, 0},
        {"nan", sdDouble, 0},
        {"1e-999", sdDouble, 0},
        {"&h1F", sdLong, 31},
        {"&HFFFF", sdLong, 65535},
        {"&HFFFFFFFF", sdLong, -1},  // wraps at 32 bits
        {"&H", sdLong, 0},
        {"&", sdLong, 0},
        {"&17", sdLong, 15},
        {"&O17", sdLong, 15},
        {"&Q17", sdLong, 15},
        {"&O", sdLong, 0},
    };
    for (const Case& c : cases) {
        const S r = Apply(DOS, {vcVal, false, {T(c.text)}});
        ASSERT_EQ(r.type, c.type) << '"' << c.text << '"';
        if (c.type == sdLong)
            EXPECT_EQ(r.value.l, static_cast<int32_t>(c.value)) << '"' << c.text << '"';
        else
            EXPECT_DOUBLE_EQ(r.value.d, c.value) << '"' << c.text << '"';
    }
}

TEST_F(StringFunctions, KanaAndWidthConversions)
{
    struct Case {
        const char* what;
        Call call;
        std::string result;
    };
    const Case cases[] = {
        {"AKCNV$ ASCII", {vcAkcnvDl, false, {T("ABC 1")}}, "ＡＢＣ　１"},
        {"AKCNV$ kana", {vcAkcnvDl, false, {T("ｱｲｳ")}}, "アイウ"},
        {"AKCNV$ voiced mark stays apart", {vcAkcnvDl, false, {T("ｶﾞ")}}, "カ゛"},
        {"AKCNV$ specials", {vcAkcnvDl, false, {T("\"'\\")}}, "”’￥"},
        {"AKCNV$ lower case and tilde", {vcAkcnvDl, false, {T("a~`")}}, "ａ～｀"},
        {"AKCNV$ kanji stays", {vcAkcnvDl, false, {T("漢")}}, "漢"},
        {"AKCNV$ tab stays", {vcAkcnvDl, false, {T("\t")}}, "\t"},
        {"KACNV$ ASCII", {vcKacnvDl, false, {T("ＡＢＣ　１")}}, "ABC 1"},
        {"KACNV$ kana", {vcKacnvDl, false, {T("アイウ")}}, "ｱｲｳ"},
        {"KACNV$ specials", {vcKacnvDl, false, {T("”’￥＂＇＼")}}, "\"'\\\"'\\"},
        {"KACNV$ empty", {vcKacnvDl, false, {T("")}}, ""},
        {"KEXT$ 0", {vcKextDl, false, {T("A漢ｱB字"), I(0)}}, "AｱB"},
        {"KEXT$ 1", {vcKextDl, false, {T("A漢ｱB字"), I(1)}}, "漢字"},
        {"JIS$ 漢", {vcJisDl, false, {T("漢")}}, "3441"},
        {"JIS$ 漢字", {vcJisDl, false, {T("漢字")}}, "3441"},
        {"JIS$ Ａ", {vcJisDl, false, {T("Ａ")}}, "2341"},
        {"JIS$ AB", {vcJisDl, false, {T("AB")}}, "4142"},
        {"JIS$ full-width minus", {vcJisDl, false, {T("－")}}, "215D"},
        {"KNJ$ 3441", {vcKnjDl, false, {T("3441")}}, "漢"},
        {"KNJ$ 3441xyz", {vcKnjDl, false, {T("3441xyz")}}, "漢"},
        {"KNJ$ lower case", {vcKnjDl, false, {T("215d")}}, "－"},
        {"KNJ$ hiragana", {vcKnjDl, false, {T("2421")}}, "ぁ"},
        {"KNJ$ 1B4B", {vcKnjDl, false, {T("1B4B")}}, ""},
        {"KNJ$ 1b48", {vcKnjDl, false, {T("1b48")}}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Text(DOS, c.call), c.result) << c.what << " (DOS-BASIC)";
        EXPECT_EQ(Text(DISK, c.call), c.result) << c.what << " (DISK-BASIC)";
    }
}

TEST_F(StringFunctions, JisRoundTripOfAkcnvOutput)
{
    // Every full-width form AKCNV$ makes has a JIS code that KNJ$ turns back.
    std::string ascii;
    for (char c = 0x20; c <= 0x7E; ++c) ascii += c;
    const std::string full = Text(DOS, {vcAkcnvDl, false, {T(ascii)}});
    for (std::size_t i = 0; i < full.size(); i += 3) {
        const std::string ch = full.substr(i, 3);
        const std::string code = Text(DOS, {vcJisDl, false, {T(ch)}});
        EXPECT_EQ(Text(DOS, {vcKnjDl, false, {T(code)}}), ch) << ch << " " << code;
    }
}

TEST_F(StringFunctions, ArgumentsOutOfRangeAreIllegalFunctionCalls)
{
    const Call calls[] = {
        {vcLeftDl, false, {T("A"), I(256)}},
        {vcLeftDl, false, {T("A"), I(-1)}},
        {vcRightDl, false, {T("A"), I(-1)}},
        {vcRightDl, false, {T("A"), I(256)}},
        {vcMidDlFunc, false, {T("A"), I(0)}},
        {vcMidDlFunc, false, {T("A"), I(256)}},
        {vcMidDlFunc, true, {T("A"), I(1), I(256)}},
        {vcMidDlFunc, true, {T("A"), I(1), I(-1)}},
        {vcInstr, true, {I(0), T("ABC"), T("A")}},
        {vcChrDl, false, {I(256)}},
        {vcChrDl, false, {I(-1)}},
        {vcHexDl, false, {I(65536)}},
        {vcHexDl, false, {I(-32769)}},
        {vcOctDl, false, {I(65536)}},
        {vcSpaceDl, false, {I(256)}},
        {vcSpaceDl, false, {I(-1)}},
        {vcStringDl, false, {I(256), I(65)}},
        {vcStringDl, false, {I(-1), I(65)}},
        {vcStringDl, false, {I(3), I(256)}},
        {vcVal, false, {T("&18")}},
        {vcVal, false, {T("&O79")}},
        {vcVal, false, {T("1E999")}},
        {vcKacnvDl, false, {T("Aア")}},
        {vcKacnvDl, false, {T("ｱ")}},
        {vcKacnvDl, false, {T("ガ")}},
        {vcKacnvDl, false, {T("漢")}},
        {vcJisDl, false, {T("A")}},
        {vcJisDl, false, {T("")}},
        {vcJisDl, false, {T("😀")}},  // two columns but no JIS code
        {vcKnjDl, false, {T("344")}},
        {vcKnjDl, false, {T("34G1")}},
        {vcKnjDl, false, {T("0041")}},  // not a JIS X 0208 pair
        {vcKnjDl, false, {T("7F7F")}},
        {vcKnjDl, false, {T("2A21")}},  // a pair without a character
        {vcKextDl, false, {T("A"), I(2)}},
        {vcKextDl, false, {T("A"), I(-1)}},
        {vcKlen, true, {T("A"), I(6)}},
        {vcKlen, true, {T("A"), I(-1)}},
        {vcKmidDl, false, {T("A"), I(0)}},
        {vcKmidDl, true, {T("A"), I(1), I(256)}},
        {vcKinstr, true, {I(0), T("A"), T("A")}},
    };
    for (const Call& c : calls) {
        EXPECT_TRUE(FailsWithIllFuncCall(DOS, c)) << "code " << c.cmd << " gave " << Error(DOS, c);
        EXPECT_TRUE(FailsWithIllFuncCall(DISK, c)) << "code " << c.cmd;
    }
}

TEST_F(StringFunctions, BrokenUtf8IsMeasuredOneUnitAByteAndNeverOverrun)
{
    // A lead byte at the very end, a lead byte without its continuation, a stray
    // continuation byte: each counts as one one-byte character.
    const std::string broken = std::string("A") + "\xE6" + "\xBC" + "B" + "\xE6\xBC";
    EXPECT_EQ(Int(DOS, {vcLen, false, {T(broken)}}), 6);
    EXPECT_EQ(Int(DISK, {vcLen, false, {T(broken)}}), 6);
    EXPECT_EQ(Text(DISK, {vcRightDl, false, {T(broken), I(1)}}), "\xBC");
    EXPECT_EQ(Text(DISK, {vcMidDlFunc, true, {T(broken), I(2), I(2)}}), "\xE6\xBC");
}

}  // namespace
