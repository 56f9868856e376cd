// The instruction-code list: numbering, names, operand kinds and which
// dispatch tables have entries, held against the rules of the code space.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "language/VMCodeCmd.h"

namespace {

TEST(VMCodeList, EveryCodeLiesInOneOfTheCodeRanges)
{
    // The dialect's one-byte statement tokens, the machine's own codes with the three
    // extension codes, and the dialect's two-byte function tokens.
    for (const TVMCodeInfo& info : AllVMCodes()) {
        const bool inRange = (info.Cmd >= 0x80 && info.Cmd <= 0xEE) || (info.Cmd >= 0x1000 && info.Cmd <= 0x109D) ||
                             (info.Cmd >= 0xFF80 && info.Cmd <= 0xFFCF);
        EXPECT_TRUE(inRange) << info.Name;
    }
    EXPECT_EQ(FindVMCode(0), nullptr) << "the placeholder has no row";
}

TEST(VMCodeList, RowsAreSortedDistinctAndNamed)
{
    std::set<std::string> names;
    uint32_t previous = 0;
    for (const TVMCodeInfo& info : AllVMCodes()) {
        EXPECT_GT(info.Cmd, previous) << info.Name;
        EXPECT_LT(info.Cmd, VM_CODE_SPACE);
        previous = info.Cmd;
        const std::string name = info.Name;
        EXPECT_EQ(name.rfind("vc", 0), 0u) << name;
        EXPECT_TRUE(names.insert(name).second) << "duplicate name " << name;
        EXPECT_EQ(FindVMCode(info.Cmd), &info);
        TVMCodeCmd back{};
        ASSERT_TRUE(VMCodeFromName(name, &back)) << name;
        EXPECT_EQ(back, info.Cmd);
        EXPECT_NE(std::string(info.Meaning), "") << name;
    }
}

TEST(VMCodeList, NumbersWithoutCode)
{
    const uint32_t gaps[] = {0xCA,   0x99,   0x9E,   0xA1,   0xA8,   0xAB,   0xB4,   0xB7,   0xBA,   0xBF,
                             0xD5,   0xD6,   0xDA,   0xDC,   0xE0,   0xE1,   0xE4,   0xE7,   0xE9,   0xEA,
                             0xEB,   0xEC,   0xED,   0x1057, 0x105A, 0x107E, 0x107F, 0x1094, 0x1096, 0x1097,
                             0x1098, 0xFF87, 0xFF8F, 0xFFCE, 0x109E, 0xFFD0, 0xFFFF, 0x10000};
    for (const uint32_t gap : gaps) {
        EXPECT_EQ(VMCodeName(gap), nullptr) << std::hex << gap;
        EXPECT_EQ(VMOperandKind(gap), TVMOperandKind::None);
        EXPECT_FALSE(VMCodeHasEntry(gap, vceMachine));
    }
}

TEST(VMCodeList, DebuggerEntries)
{
    // The debugger's own eight; each of them also runs the machine's handler.
    for (const TVMCodeCmd code : {vcBCall, vcBRet, vcBExit, vcBAssignArray, vcBLineBegin, vcDim, vcSwap, vcOnGosub})
        EXPECT_TRUE(VMCodeHasEntry(code, vceDebugger)) << VMCodeName(code);
    for (const TVMCodeInfo& info : AllVMCodes()) {
        if (info.Entries & vceDebugger) {
            EXPECT_TRUE(info.Entries & vceMachine) << info.Name;
        }
    }
    // The machine's table: 0x1000-0x1067 except the two numbers without a code.
    for (uint32_t code = 0x1000; code <= 0x1067; ++code)
        EXPECT_EQ(VMCodeHasEntry(code, vceMachine), code != 0x1057 && code != 0x105A) << std::hex << code;
}

TEST(VMCodeList, EveryCodeWithAnOperandIsRunByTheMachine)
{
    // A code that is never appended carries no operand; every code with an
    // operand is appended and so has a machine entry.
    for (const TVMCodeInfo& info : AllVMCodes()) {
        if (info.Operand != TVMOperandKind::None) {
            EXPECT_TRUE(info.Entries & vceMachine) << info.Name;
        }
    }
}

TEST(VMCodeList, TypedOperators)
{
    EXPECT_EQ(vcBAddInt, 0x1000u);
    EXPECT_EQ(vcBAddString, 0x1003u);
    EXPECT_EQ(vcBDivInt, 0x100Cu);
    EXPECT_EQ(vcBDivFloat, 0x100Du);
    EXPECT_EQ(vcBPowFloat, 0x1019u);
    EXPECT_EQ(vcBLtString, 0x102Bu);
    EXPECT_EQ(vcBEqvString, 0x104Fu);
    EXPECT_EQ(TypedOperatorCode(vopAdd, tkString), vcBAddString);
    EXPECT_EQ(TypedOperatorCode(vopLt, tkString), vcBLtString);
    EXPECT_EQ(TypedOperatorCode(vopSub, tkUntyped), vcBSubInt);
    EXPECT_EQ(TypedOperatorCode(vopMul, tkDouble), vcBMulDouble);
    EXPECT_EQ(TypedOperatorCode(vopNega, tkSingle), vcBNegaFloat);
    EXPECT_STREQ(VMCodeName(0x102B), "vcBLtString");
    EXPECT_STREQ(VMCodeName(0x1019), "vcBPowFloat");
    for (uint32_t code = 0x1000; code <= 0x104F; ++code) EXPECT_EQ(VMOperandKind(code), TVMOperandKind::None);
}

struct OperandCase {
    TVMCodeCmd Code;
    TVMOperandKind Kind;
};

TEST(VMCodeList, OperandKindsOfTheCodesThatCarryOne)
{
    const OperandCase cases[] = {
        {vcBLineBegin, TVMOperandKind::Long},    {vcBPushInt, TVMOperandKind::Long},
        {vcBPushSpecial, TVMOperandKind::Long},  {vcBPushFloat, TVMOperandKind::Single},
        {vcBPushDouble, TVMOperandKind::Double}, {vcBPushString, TVMOperandKind::Text},
        {vcBCallUserFunc, TVMOperandKind::Text}, {vcData, TVMOperandKind::Text},
        {vcBPushVar, TVMOperandKind::Var},       {vcBLoadArray, TVMOperandKind::Var},
        {vcRestore, TVMOperandKind::Flag},       {vcBRet, TVMOperandKind::Flag},
        {vcPrint, TVMOperandKind::Flag},         {vcInstr, TVMOperandKind::Flag},
        {vcOpen, TVMOperandKind::Long},          {vcSetIrTgt, TVMOperandKind::Long},
        {vcBExit, TVMOperandKind::None},         {vcKey, TVMOperandKind::None},
    };
    for (const OperandCase& c : cases) EXPECT_EQ(VMOperandKind(c.Code), c.Kind) << VMCodeName(c.Code);
}

}  // namespace
