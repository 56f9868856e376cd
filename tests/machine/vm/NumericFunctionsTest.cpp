// Numeric functions and conversions: precision chosen by the argument's type,
// truncation and rounding, random numbers and their seeding.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <thread>
#include <vector>

#include "machine/text/LeadingNumbers.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "platform/Locale.h"
#include "tests/machine/vm/ProgramFixture.h"

namespace {

using S = TStackData;

class NumericFunctions : public ::testing::Test {
protected:
    NumericFunctions() : machine("Virtual Machine", &mid, &rsrc, nullptr, nullptr, nullptr)
    {
        TCodeBuilder(mid).Finish();
    }
    void SetUp() override { platform::use_key_identity_catalogue(true); }
    void TearDown() override { platform::use_key_identity_catalogue(false); }

    // The function's result; the stack must hold exactly it afterwards.
    TStackData Apply(TVMCodeCmd cmd, const TStackData& argument)
    {
        machine.ValueStack.clear();
        machine.Push(argument);
        machine.Run(cmd);
        EXPECT_EQ(machine.ValueStack.size(), 1u) << "code " << cmd;
        return machine.ValueStack.empty() ? TStackData{} : machine.Pop();
    }
    float Rnd(float x)
    {
        const TStackData r = Apply(vcRnd, S::Single(x));
        EXPECT_EQ(r.type, static_cast<uint32_t>(sdSingle));
        return r.value.f;
    }
    void Randomize(int32_t seed)
    {
        machine.ValueStack.clear();
        machine.PushInt(seed);
        machine.Run(MakeCode(vcRandomize, true));
        EXPECT_TRUE(machine.ValueStack.empty());
    }

    TMidCode mid;
    TBasicRsrc rsrc;
    TTestMachine machine;
};

TEST_F(NumericFunctions, PrecisionFollowsTheArgumentsType)
{
    struct Case {
        TVMCodeCmd cmd;
        TStackData argument;
        uint32_t type;
        double result;
    };
    const Case cases[] = {
        {vcAbs, S::Long(-3), sdSingle, 3},
        {vcAbs, S::Double(-2.5), sdDouble, 2.5},
        {vcAbs, S::Single(-0.25f), sdSingle, 0.25},
        {vcSqr, S::Long(2), sdSingle, static_cast<float>(std::sqrt(2.0))},
        {vcSqr, S::Double(2), sdDouble, std::sqrt(2.0)},
        {vcAtn, S::Long(1), sdSingle, static_cast<float>(std::atan(1.0))},
        {vcCos, S::Double(0), sdDouble, 1},
        {vcSin, S::Single(0), sdSingle, 0},
        {vcExp, S::Long(1), sdSingle, static_cast<float>(std::exp(1.0))},
        {vcLog, S::Double(std::exp(2.0)), sdDouble, 2},
        {vcTan, S::Double(1), sdDouble, std::tan(1.0)},
    };
    for (const Case& c : cases) {
        const TStackData r = Apply(c.cmd, c.argument);
        ASSERT_EQ(r.type, c.type) << "code " << c.cmd;
        if (c.type == sdSingle)
            EXPECT_EQ(r.value.f, static_cast<float>(c.result)) << "code " << c.cmd;
        else
            EXPECT_DOUBLE_EQ(r.value.d, c.result) << "code " << c.cmd;
    }
}

TEST_F(NumericFunctions, OutOfDomainGivesSpecialValuesWithoutError)
{
    EXPECT_TRUE(std::isinf(Apply(vcLog, S::Long(0)).value.f));
    EXPECT_LT(Apply(vcLog, S::Long(0)).value.f, 0);
    EXPECT_TRUE(std::isnan(Apply(vcSqr, S::Long(-1)).value.f));
    EXPECT_TRUE(std::isnan(Apply(vcLog, S::Double(-1)).value.d));
}

TEST_F(NumericFunctions, ATextArgumentIsLeftAloneByTheTypeTaggedFunctions)
{
    machine.ValueStack.clear();
    machine.Push(S::OwnedText("x"));
    machine.Run(vcSqr);
    ASSERT_EQ(machine.ValueStack.size(), 1u);
    EXPECT_EQ(machine.ValueStack.back().type, static_cast<uint32_t>(sdString));
}

TEST_F(NumericFunctions, IntegerResults)
{
    struct Case {
        TVMCodeCmd cmd;
        TStackData argument;
        int32_t result;
    };
    const Case cases[] = {
        {vcFix, S::Single(-2.7f), -2},
        {vcFix, S::Double(2.7), 2},
        {vcFix, S::Long(-5), -5},
        {vcInt, S::Single(-2.7f), -3},
        {vcInt, S::Double(2.7), 2},
        {vcInt, S::Double(-3.0), -3},
        {vcCint, S::Single(-2.5f), -2},
        {vcCint, S::Single(2.5f), 3},
        {vcCint, S::Single(-2.7f), -3},
        {vcCint, S::Double(1e12), 2147483647},
        {vcSgn, S::Single(-0.1f), -1},
        {vcSgn, S::Long(0), 0},
        {vcSgn, S::Double(1e-300), 1},
        {vcInt, S::Double(1e300), 2147483647},
        {vcFix, S::Double(-1e300), -2147483647 - 1},
    };
    for (const Case& c : cases) {
        const TStackData r = Apply(c.cmd, c.argument);
        ASSERT_EQ(r.type, static_cast<uint32_t>(sdLong)) << "code " << c.cmd;
        EXPECT_EQ(r.value.l, c.result) << "code " << c.cmd << " of " << machine.StackDouble(c.argument);
    }
}

TEST_F(NumericFunctions, FixAndIntDropAnArgumentThatIsNotANumber)
{
    for (const TVMCodeCmd cmd : {vcFix, vcInt}) {
        machine.ValueStack.clear();
        machine.Push(S::Omitted());
        machine.Run(cmd);
        EXPECT_TRUE(machine.ValueStack.empty()) << "code " << cmd;
    }
}

TEST_F(NumericFunctions, Conversions)
{
    const TStackData s = Apply(vcCsng, S::Double(0.1));
    ASSERT_EQ(s.type, static_cast<uint32_t>(sdSingle));
    EXPECT_EQ(s.value.f, 0.1f);
    const TStackData d = Apply(vcCdbl, S::Long(7));
    ASSERT_EQ(d.type, static_cast<uint32_t>(sdDouble));
    EXPECT_EQ(d.value.d, 7.0);
}

TEST_F(NumericFunctions, RandomNumbersRepeatAfterTheSameSeed)
{
    Randomize(5);
    const float first = Rnd(1);
    const float second = Rnd(1);
    EXPECT_NE(first, second);
    EXPECT_EQ(Rnd(0), second) << "RND(0) repeats the last number";
    EXPECT_EQ(Rnd(-1), second);
    Randomize(5);
    EXPECT_EQ(Rnd(1), first);
    EXPECT_EQ(Rnd(1), second);
    Randomize(6);
    EXPECT_NE(Rnd(1), first);
}

TEST_F(NumericFunctions, MachinesDrawingAtOnceShareOneSequence)
{
    // Machines of overlapping runs draw from the process's one sequence: together they
    // get exactly the numbers one machine alone would have drawn, none twice or lost.
    constexpr int DRAWS = 3000;
    const auto draw = [](TTestMachine& m) {
        m.ValueStack.clear();
        m.Push(S::Single(1));
        m.Run(vcRnd);
        return m.Pop().value.f;
    };
    Randomize(11);
    std::vector<float> alone;
    for (int i = 0; i < 2 * DRAWS; ++i) alone.push_back(draw(machine));

    TMidCode otherMid;
    TCodeBuilder(otherMid).Finish();
    TBasicRsrc otherRsrc;
    TTestMachine other("Virtual Machine", &otherMid, &otherRsrc, nullptr, nullptr, nullptr);
    Randomize(11);
    std::vector<float> together[2];
    {
        std::thread first([&] {
            for (int i = 0; i < DRAWS; ++i) together[0].push_back(draw(machine));
        });
        std::thread second([&] {
            for (int i = 0; i < DRAWS; ++i) together[1].push_back(draw(other));
        });
        first.join();
        second.join();
    }
    together[0].insert(together[0].end(), together[1].begin(), together[1].end());
    std::sort(alone.begin(), alone.end());
    std::sort(together[0].begin(), together[0].end());
    EXPECT_EQ(together[0], alone);
}

TEST_F(NumericFunctions, RandomNumbersStayBelowOne)
{
    Randomize(1);
    for (int i = 0; i < 20000; ++i) {
        const float r = Rnd(1);
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
    }
}

TEST(LeadingNumbers, IntegersAsStrtolReadsThem)
{
    struct Case {
        const char* text;
        int32_t value;
    };
    const Case cases[] = {
        {"12abc", 12},
        {"", 0},
        {"abc", 0},
        {"  -7x", -7},
        {"+3", 3},
        {"3.7", 3},
        {"99999999999", 2147483647},
        {"-99999999999", -2147483647 - 1},
        {"- 5", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(leading_decimal_integer(c.text), c.value) << c.text;
}

TEST(LeadingNumbers, NumbersAsStrtodReadsThem)
{
    struct Case {
        const char* text;
        double value;
    };
    const Case cases[] = {
        {"3.7", 3.7},
        {" -1.5e2xyz", -150},
        {".5", 0.5},
        {"abc", 0},
        {"", 0},
        {"1e", 1},
        {"+2", 2},
        {"1e-999", 0},
        {"1D2", 100},
        {"inf", 0},
        {"nan", 0},
        {"0x10", 0},
        {"1e999", std::numeric_limits<double>::max()},
        {"-1e999", -std::numeric_limits<double>::max()},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(leading_decimal_number(c.text), c.value) << c.text;
}

// A single takes the number rounded; past the single range, the largest single of
// the number's sign.
TEST(LeadingNumbers, SinglesStayFinite)
{
    constexpr float largest = std::numeric_limits<float>::max();
    struct Case {
        const char* text;
        float value;
    };
    // clang-format off
    const Case cases[] = {
        {"1.5", 1.5f},          {"3.4E38", 3.4e38f}, {"3.5E38", largest}, {"-3.5E38", -largest},
        {"1E999", largest},     {"-1E999", -largest}, {"1E-999", 0.0f},   {"1E39x", largest},
        {"abc", 0.0f},
    };
    // clang-format on
    for (const Case& c : cases) EXPECT_EQ(leading_single_number(c.text), c.value) << c.text;
}

}  // namespace

namespace {

// RANDOMIZE without a seed asks for one on the screen.
class RandomizePrompt : public ProgramFixture {
protected:
    // The first RND(1) after seeding: by the typed line (seed null) or by the statement.
    float FirstDraw(const std::string* typed, int32_t seed)
    {
        TProgram p(rsrc);
        TVarInfo* r = p.Var("R!", tkSingle);
        p.code.Line(10);
        if (typed != nullptr) {
            for (const char c : *typed) rsrc.PushToKeyBuf(&c, 1);
            p.code.Add(MakeCode(vcRandomize, false));
        } else {
            p.code.Int(seed).Add(MakeCode(vcRandomize, true));
        }
        p.Ref(r).code.Int(1).Op(vcRnd).Op(vcBAssignArray);
        EXPECT_EQ(p.Run(), 0) << p.error;
        return r->SingleValues()[0];
    }
};

TEST_F(RandomizePrompt, TheTypedLinesLeadingNumberIsTheSeed)
{
    rsrc.ClearTxtBuf(0, 25);
    const std::string typed = "12abc\n";
    const float prompted = FirstDraw(&typed, 0);
    EXPECT_EQ(rsrc.DisplayedTxt(0, 42), "Random number seed (-32768 to 32767)? 12abc");
    EXPECT_EQ(prompted, FirstDraw(nullptr, 12));
    EXPECT_NE(prompted, FirstDraw(nullptr, 13));
    const std::string empty = "\n";
    EXPECT_EQ(FirstDraw(&empty, 0), FirstDraw(nullptr, 0));
}

}  // namespace
