// The typed operator codes and the conversions of stack entries.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "language/CodeListing.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "platform/Locale.h"
#include "tests/machine/vm/MachineTestSupport.h"

namespace {

class Operators : public ::testing::Test {
protected:
    Operators() : machine("Virtual Machine", &mid, &rsrc, nullptr, nullptr, nullptr) { TCodeBuilder(mid).Finish(); }
    void SetUp() override { platform::use_key_identity_catalogue(true); }
    void TearDown() override { platform::use_key_identity_catalogue(false); }

    TStackData Apply(TVMCodeCmd cmd, const TStackData& left, const TStackData& right)
    {
        machine.ValueStack.clear();
        machine.Push(left);
        machine.Push(right);
        machine.Run(cmd);
        EXPECT_EQ(machine.ValueStack.size(), 1u);
        return machine.Pop();
    }
    TStackData Apply(TVMCodeCmd cmd, const TStackData& operand)
    {
        machine.ValueStack.clear();
        machine.Push(operand);
        machine.Run(cmd);
        EXPECT_EQ(machine.ValueStack.size(), 1u);
        return machine.Pop();
    }

    TMidCode mid;
    TBasicRsrc rsrc;
    TTestMachine machine;
};

using S = TStackData;

TEST_F(Operators, IntegerResults)
{
    struct Case {
        TVMCodeCmd cmd;
        TStackData left, right;
        int32_t result;
    };
    const Case cases[] = {
        {vcBAddInt, S::Long(32767), S::Long(1), 32768},
        {vcBAddInt, S::Long(2147483647), S::Long(1), -2147483647 - 1},
        {vcBSubInt, S::Long(-2147483647 - 1), S::Long(1), 2147483647},
        {vcBMulInt, S::Long(65536), S::Long(65536), 0},
        {vcBIdivInt, S::Long(-7), S::Long(2), -3},
        {vcBModInt, S::Long(-7), S::Long(2), -1},
        {vcBModInt, S::Long(7), S::Long(-2), 1},
        {vcBIdivFloat, S::Single(7.5f), S::Long(2), 4},
        {vcBModDouble, S::Double(-2.5), S::Long(3), -2},
        {vcBModFloat, S::Single(2.5f), S::Long(2), 1},
        {vcBIdivDouble, S::Long(5), S::Double(0.5), 5},
        {vcBIdivInt, S::Long(-2147483647 - 1), S::Long(-1), -2147483647 - 1},
        {vcBModInt, S::Long(-2147483647 - 1), S::Long(-1), 0},
        {vcBAndInt, S::Long(-1), S::Long(65535), -1},
        {vcBAndInt, S::Long(65535), S::Long(1), 1},
        {vcBOrInt, S::Long(32768), S::Long(0), -32768},
        {vcBXorInt, S::Long(70000), S::Long(0), 4464},
        {vcBImpInt, S::Long(12), S::Long(10), -5},
        {vcBEqvDouble, S::Double(5), S::Double(3), -7},
        {vcBLtInt, S::Long(1), S::Long(2), -1},
        {vcBGeInt, S::Long(1), S::Long(2), 0},
        {vcBEqualFloat, S::Double(0.1), S::Single(0.1f), -1},  // both rounded to single first
        {vcBEqualDouble, S::Double(0.1), S::Single(0.1f), 0},
        {vcBNoteqDouble, S::Long(3), S::Double(3.0), 0},
        {vcBLeFloat, S::Single(2), S::Single(2), -1},
        {vcBGtDouble, S::Double(2.5), S::Double(2.4), -1},
        {vcBLtString, S::BorrowedText("ABC"), S::BorrowedText("ABD"), -1},
        {vcBLtString, S::BorrowedText("AB"), S::BorrowedText("ABC"), -1},
        {vcBGtString, S::BorrowedText("a"), S::BorrowedText("B"), -1},
        {vcBEqualString, S::BorrowedText(""), S::OwnedText(""), -1},
        {vcBNoteqString, S::OwnedText("x"), S::BorrowedText("x"), 0},
        {vcBGtString, S::BorrowedText("\xC3\xA9"), S::BorrowedText("z"), -1},  // unsigned bytes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ListCode(MakeCode(c.cmd)));
        const TStackData r = Apply(c.cmd, c.left, c.right);
        EXPECT_EQ(r.type, sdLong);
        EXPECT_EQ(r.value.l, c.result);
    }
}

TEST_F(Operators, UnaryOperators)
{
    struct Case {
        TVMCodeCmd cmd;
        TStackData operand;
        int32_t result;
    };
    const Case cases[] = {
        {vcBNotFloat, S::Single(1.6f), -3}, {vcBNotInt, S::Long(0), -1},
        {vcBNotInt, S::Long(-1), 0},        {vcBNegaInt, S::Long(-2147483647 - 1), -2147483647 - 1},
        {vcBNegaInt, S::Long(5), -5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ListCode(MakeCode(c.cmd)));
        const TStackData r = Apply(c.cmd, c.operand);
        EXPECT_EQ(r.type, sdLong);
        EXPECT_EQ(r.value.l, c.result);
    }
    const TStackData zero = Apply(vcBNegaDouble, S::Double(0));
    EXPECT_TRUE(std::signbit(zero.value.d));
}

TEST_F(Operators, FloatingResults)
{
    const TStackData sum = Apply(vcBAddFloat, S::Long(1), S::Double(0.5));
    EXPECT_EQ(sum.type, sdSingle);
    EXPECT_EQ(sum.value.f, 1.5f);
    const TStackData q = Apply(vcBDivDouble, S::Long(1), S::Long(3));
    EXPECT_EQ(q.type, sdDouble);
    EXPECT_EQ(q.value.d, 1.0 / 3.0);
    const TStackData zero = Apply(vcBDivFloat, S::Long(0), S::Long(5));
    EXPECT_EQ(zero.value.f, 0.0f);
    const TStackData root = Apply(vcBPowFloat, S::Long(2), S::Single(0.5f));
    EXPECT_EQ(root.type, sdSingle);
    EXPECT_EQ(root.value.f, std::sqrt(2.0f));
    const TStackData nan = Apply(vcBPowDouble, S::Long(-8), S::Double(1.0 / 3.0));
    EXPECT_TRUE(std::isnan(nan.value.d));
    const TStackData inf = Apply(vcBPowDouble, S::Long(0), S::Long(-1));
    EXPECT_TRUE(std::isinf(inf.value.d));
}

TEST_F(Operators, DivisionByZero)
{
    struct Case {
        TVMCodeCmd cmd;
        TStackData right;
    };
    const Case cases[] = {
        {vcBDivFloat, S::Long(0)},       {vcBDivDouble, S::Double(-0.0)},
        {vcBIdivInt, S::Long(0)},        {vcBIdivFloat, S::Single(0.4f)},  // 0.4 rounds to 0
        {vcBModDouble, S::Double(-0.5)},                                   // -0.5 rounds to 0
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(ListCode(MakeCode(c.cmd)));
        machine.ValueStack.clear();
        machine.Push(S::Long(5));
        machine.Push(c.right);
        try {
            machine.Run(c.cmd);
            ADD_FAILURE() << "no error";
        } catch (const TException&) {
            EXPECT_EQ(machine.ErrorText(), std::string(RTE_DIV_BY_ZERO));
        }
        EXPECT_TRUE(machine.ValueStack.empty());  // both operands were popped
    }
}

TEST_F(Operators, ConcatenationOwnsItsResult)
{
    const char* left = "AB";
    const char* right = "CD";
    const TStackData joined = Apply(vcBAddString, S::BorrowedText(left), S::BorrowedText(right));
    EXPECT_TRUE(joined.owned);
    EXPECT_STREQ(joined.CString(), "ABCD");
    EXPECT_STREQ(left, "AB");
    const TStackData twice = Apply(vcBAddString, S::OwnedText("x"), S::OwnedText(std::string(100, 'y')));
    EXPECT_EQ(std::string(twice.CString()), "x" + std::string(100, 'y'));
}

TEST_F(Operators, CodesThatDoNothingLeaveTheStack)
{
    for (TVMCodeCmd cmd : {vcBNegaString, vcBNotString, vcBDivInt, vcBPowInt, vcBSubString}) {
        SCOPED_TRACE(ListCode(MakeCode(cmd)));
        machine.ValueStack.clear();
        machine.Push(S::BorrowedText("A"));
        machine.Run(cmd);
        ASSERT_EQ(machine.ValueStack.size(), 1u);
        EXPECT_STREQ(machine.ValueStack.back().CString(), "A");
    }
}

TEST_F(Operators, StackConversions)
{
    struct Case {
        const char* name;
        TStackData value;
        int32_t asInt;
        double asDouble;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {"2.5 rounds up", S::Single(2.5f), 3, 2.5},
        {"-2.5 rounds up", S::Double(-2.5), -2, -2.5},
        {"2.4999", S::Double(2.4999), 2, 2.4999},
        {"a text", S::BorrowedText("12"), 0, 0},
        {"an omitted entry", S::Omitted(), 0, 0},
        {"a bool", S::Bool(true), 0, 0},
        {"NaN gives 0", S::Double(std::nan("")), 0, std::nan("")},
        {"too large gives the top", S::Double(1e10), 2147483647, 1e10},
        {"2147483647.4", S::Double(2147483647.4), 2147483647, 2147483647.4},
        {"infinity", S::Double(inf), 2147483647, inf},
        {"too small gives the bottom", S::Double(-inf), -2147483647 - 1, -inf},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(machine.StackInt(c.value), c.asInt);
        const double d = machine.StackDouble(c.value);
        if (std::isnan(c.asDouble)) {
            EXPECT_TRUE(std::isnan(d));
        } else {
            EXPECT_EQ(d, c.asDouble);
        }
    }
    EXPECT_EQ(machine.StackFloat(S::BorrowedText("1")), 0.0f);
    EXPECT_EQ(machine.StackCString(S::Long(1)), nullptr);
    EXPECT_EQ(TVMachine::RoundOff(-0.5), 0);
}

// Rounding is floor(x + 0.5) held to the 32-bit range, at halves, below zero and at
// both ends of the range.
TEST(VMachineValues, RoundOffIsFloorOfXPlusAHalf)
{
    const double values[] = {0.0,           0.49999999999999994,
                             0.5,           1.5,
                             2.5,           -0.5,
                             -0.51,         -1.5,
                             -2.5,          -2.4999,
                             -3.7,          123456.5,
                             -123456.5,     2147483646.4,
                             2147483646.5,  2147483647.0,
                             4e9,           -2147483647.0,
                             -2147483647.5, -2147483648.0,
                             -2147483648.6, -4e9,
                             1e300,         -1e300};
    for (const double x : values) {
        const double r = std::floor(x + 0.5);
        const int32_t expected = r >= 2147483647.0    ? INT32_MAX
                                 : r <= -2147483648.0 ? INT32_MIN
                                                      : static_cast<int32_t>(r);
        EXPECT_EQ(TVMachine::RoundOff(x), expected) << x;
    }
}

}  // namespace
