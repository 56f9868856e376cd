// The mouse as programs see it: MOUSE(n[, b]), the MOUSE statement, CALL MOUSE, and
// the state that the run view feeds through the machine's setters.

#include <thread>

#include "language/VarInfo.h"
#include "tests/machine/vm/GraphicsStatementsSupport.h"

namespace {

class Mouse : public GraphicsStatements {
protected:
    int32_t Func(int32_t n) { return Function(MakeCode(vcMouseFunc, false), {Int(n)}); }
    int32_t Func(int32_t n, int32_t b) { return Function(MakeCode(vcMouseFunc, true), {Int(n), Int(b)}); }
    void Proc(std::initializer_list<TStackData> operands)
    {
        Run(MakeCode(vcMouseProc, static_cast<int32_t>(operands.size())), operands);
    }
    static TGrphPoint At(float x, float y) { return TGrphPoint{x, y}; }
};

TEST_F(Mouse, FunctionsReportPositionButtonsAndCounts)
{
    machine.SetMousePosCurrent(At(300.7f, 301));
    EXPECT_EQ(Func(0), 300);
    EXPECT_EQ(Func(1), 150);  // divided by the vertical factor 2
    machine.SetMouseButtonLeftState(-1, At(10, 301));
    machine.SetMouseButtonLeftState(0, At(12, 20));
    machine.SetMouseButtonLeftState(-1, At(14, 22));
    machine.SetMouseButtonRightState(-1, At(99.9f, 5));
    EXPECT_EQ(Func(2, 1), 1);
    EXPECT_EQ(Func(2, 2), 1);
    EXPECT_EQ(Func(3, 1), 2);
    EXPECT_EQ(Func(3, 1), 0);  // taken
    EXPECT_EQ(Func(4, 1), 14);
    EXPECT_EQ(Func(5, 1), 22);  // press places stay in view pixels
    EXPECT_EQ(Func(6, 1), 1);
    EXPECT_EQ(Func(7, 1), 12);
    EXPECT_EQ(Func(8, 1), 20);
    EXPECT_EQ(Func(4, 2), 99);
    EXPECT_EQ(Func(3, 2), 1);
    machine.SetMouseButtonRightState(0, At(1, 2));
    EXPECT_EQ(Func(2, 2), 0);
    EXPECT_EQ(Func(6, 2), 1);
    EXPECT_EQ(Func(8, 2), 2);
}

TEST_F(Mouse, RangesLimitOnlyTheCurrentPosition)
{
    Proc({Int(4), Int(100), Int(50), Int(10), Int(150)});
    machine.SetMousePosCurrent(At(300, 600));
    EXPECT_EQ(Func(0), 100);
    EXPECT_EQ(Func(1), 150);
    machine.SetMousePosCurrent(At(5, 2));
    EXPECT_EQ(Func(0), 10);
    EXPECT_EQ(Func(1), 50);
    machine.SetMouseButtonLeftState(-1, At(300, 399));
    EXPECT_EQ(Func(4, 1), 300);
    EXPECT_EQ(Func(5, 1), 399);
    // SCREEN sets the Y maximum only.
    Run(MakeCode(vcScreen, int32_t{1}), {Int(3)});
    machine.SetMousePosCurrent(At(0, 399));
    EXPECT_EQ(Func(1), 399);
    Run(MakeCode(vcScreen, int32_t{1}), {Int(0)});
    machine.SetMousePosCurrent(At(0, 399));
    EXPECT_EQ(Func(1), 199);
    machine.SetMousePosCurrent(At(0, 0));
    EXPECT_EQ(Func(1), 50);
}

TEST_F(Mouse, MovementIsMeasuredFromTheLastQueryOfEachAxis)
{
    machine.SetMousePosCurrent(At(10, 20));
    EXPECT_EQ(Func(9), 10);
    machine.SetMousePosCurrent(At(40, 60));
    EXPECT_EQ(Func(9), 30);
    EXPECT_EQ(Func(9), 0);
    EXPECT_EQ(Func(10), 30);  // its own reference: 60 ÷ 2 since the start
    machine.SetMousePosCurrent(At(0, 0));
    EXPECT_EQ(Func(10), -30);
}

TEST_F(Mouse, RefusedFunctionsAndStatements)
{
    ExpectError(MakeCode(vcMouseFunc, false), {Int(2)}, RTE_ILL_FUNC_CALL);
    ExpectError(MakeCode(vcMouseFunc, true), {Int(0), Int(1)}, RTE_ILL_FUNC_CALL);
    ExpectError(MakeCode(vcMouseFunc, true), {Int(3), Int(3)}, RTE_ILL_FUNC_CALL);
    ExpectError(MakeCode(vcMouseFunc, true), {Int(3), Int(0)}, RTE_ILL_FUNC_CALL);
    ExpectError(MakeCode(vcMouseFunc, false), {Int(11)}, RTE_ILL_FUNC_CALL);
    ExpectError(MakeCode(vcMouseFunc, false), {Int(-1)}, RTE_ILL_FUNC_CALL);
    struct Case {
        std::vector<TStackData> operands;
        const char* key;  // null: accepted
    };
    const Case cases[] = {
        {{Int(7)}, RTE_ILL_FUNC_CALL},
        {{Int(-1)}, RTE_ILL_FUNC_CALL},
        {{Int(0), Int(1)}, RTE_ILL_FUNC_CALL},
        {{Int(0)}, nullptr},
        {{Int(1), Int(2), Int(3)}, nullptr},
        {{Int(1), Int(2), Int(3), Int(4), Int(5)}, RTE_ILL_FUNC_CALL},
        {{Int(2), Int(1), Int(1)}, RTE_ILL_FUNC_CALL},
        {{Int(2), Int(1), Int(1), Int(1)}, nullptr},
        {{Int(3), Int(1), Int(1)}, nullptr},
        {{Int(4), Int(1), Int(1), Int(1)}, RTE_ILL_FUNC_CALL},
        {{Int(4), Int(1), Int(1), Text("x"), Int(1)}, RTE_TYPE_MISMATCH},
        {{Int(4), Omit(), Int(1), Int(1), Text("x")}, RTE_TYPE_MISMATCH},
        {{Int(4), Omit(), Int(1), Int(1), Int(1)}, RTE_ILL_FUNC_CALL},
        {{Int(4), Int(1), Int(1), Omit(), Int(1)}, RTE_ILL_FUNC_CALL},
        {{Int(5), Int(1)}, nullptr},
        {{Int(6), Int(1)}, RTE_ILL_FUNC_CALL},
    };
    for (const Case& c : cases) {
        const auto code = MakeCode(vcMouseProc, static_cast<int32_t>(c.operands.size()));
        machine.ValueStack.clear();
        for (const TStackData& s : c.operands) machine.Push(s);
        try {
            machine.Run(code);
            EXPECT_EQ(c.key, nullptr) << "MOUSE " << machine.StackInt(c.operands[0]) << " accepted";
            EXPECT_TRUE(machine.ValueStack.empty());
        } catch (const TException&) {
            ASSERT_NE(c.key, nullptr) << machine.ErrorText();
            EXPECT_EQ(machine.ErrorText(), std::string(c.key));
        }
    }
}

TEST_F(Mouse, CallMouseReadsAndWritesItsFiveVariables)
{
    TVarInfo vars[5];
    const char* names[5] = {"A!", "B%", "C%", "D%", "E%"};
    for (int i = 0; i < 5; ++i) {
        vars[i].VarName = names[i];
        vars[i].CreateDefaultNonArray(i == 0 ? tkSingle : tkInt);
    }
    auto call = [&](float a, int32_t b, int32_t c, int32_t d, int32_t e) {
        vars[0].SingleValues()[0] = a;
        vars[1].IntValues()[0] = b;
        vars[2].IntValues()[0] = c;
        vars[3].IntValues()[0] = d;
        vars[4].IntValues()[0] = e;
        machine.ValueStack.clear();
        for (TVarInfo& v : vars) {
            machine.Push(S::VarRefStart());
            machine.Push(S::Var(&v));
        }
        machine.Run(MakeCode(vcCallMouse));
        EXPECT_TRUE(machine.ValueStack.empty());
    };
    auto values = [&] {
        return std::vector<int32_t>{static_cast<int32_t>(vars[0].SingleValues()[0]), vars[1].IntValues()[0],
                                    vars[2].IntValues()[0], vars[3].IntValues()[0], vars[4].IntValues()[0]};
    };
    call(0, 5, 6, 7, 8);
    EXPECT_EQ(values(), (std::vector<int32_t>{-1, 5, 6, 7, 8}));
    machine.SetMousePosCurrent(At(30, 80));
    machine.SetMouseButtonLeftState(-1, At(3, 4));
    call(3, 0, 0, 0, 9);
    EXPECT_EQ(values(), (std::vector<int32_t>{-1, 0, 30, 40, 9}));  // raw states
    call(5, 0, 0, 0, 9);
    EXPECT_EQ(values(), (std::vector<int32_t>{-1, 1, 3, 4, 9}));
    call(11.4f, 1, 0, 0, 9);  // 11 is written back as the integer read
    EXPECT_EQ(vars[0].SingleValues()[0], 11.0f);
    EXPECT_EQ(values(), (std::vector<int32_t>{11, 1, 30, 40, 9}));
    call(16, 0, 600, 20, 0);
    machine.SetMousePosCurrent(At(5, 0));
    EXPECT_EQ(Func(0), 20);
    machine.SetMousePosCurrent(At(639, 0));
    EXPECT_EQ(Func(0), 600);
    call(2, 2, 3, 4, 5);
    EXPECT_EQ(values(), (std::vector<int32_t>{2, 2, 3, 4, 5}));
    for (const int32_t refused : {10, 13, 14, 19, -1}) {
        try {
            call(static_cast<float>(refused), 0, 0, 0, 0);
            ADD_FAILURE() << "CALL MOUSE " << refused << " accepted";
        } catch (const TException&) {
            EXPECT_EQ(machine.ErrorText(), std::string(RTE_ILL_FUNC_CALL));
        }
    }
}

TEST_F(Mouse, CountsTakenWhilePressesArriveLoseNothing)
{
    constexpr int PRESSES = 20000;
    std::thread window([&] {
        for (int i = 0; i < PRESSES; ++i) machine.SetMouseButtonLeftState(-1, At(1, 1));
    });
    int64_t taken = 0;
    while (taken < PRESSES) {
        taken += Func(3, 1);
        if (taken > PRESSES) break;
    }
    window.join();
    taken += Func(3, 1);
    EXPECT_EQ(taken, PRESSES);
}

}  // namespace
