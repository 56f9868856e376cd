// A machine with handlers of its own for line beginnings, calls, returns and
// assignments (as a debugging machine has) sees every one of them, although the
// dispatch loop runs these codes on fast paths in a plain machine; and it runs the
// program to the same result.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "foundation/AlertSink.h"
#include "language/Compiler.h"
#include "language/MidCode.h"
#include "language/VarInfo.h"
#include "platform/Locale.h"
#include "tests/machine/vm/MachineTestSupport.h"

namespace {

// Records, in order: "line N" at each line beginning, "call" at GOSUB, "on call" after
// an ON ... GOSUB has branched, "return" at RETURN and "set NAME ELEMENT" after each
// assignment (NAME with its type suffix); every code still runs through the machine's
// own handler.
class THookedMachine : public TVMachine {
public:
    template <typename... TArgs>
    explicit THookedMachine(TArgs&&... args) : TVMachine(std::forward<TArgs>(args)...)
    {
        WatchesVarAccess = true;
    }

    void Attach()
    {
        static const TFuncTable table = FuncTableWith({
            {vcBLineBegin, static_cast<THandler>(&THookedMachine::HookLineBegin)},
            {vcBCall, static_cast<THandler>(&THookedMachine::HookCall)},
            {vcBRet, static_cast<THandler>(&THookedMachine::HookRet)},
            {vcBAssignArray, static_cast<THandler>(&THookedMachine::HookAssign)},
        });
        UseFuncTable(table);
    }

    void ExeBasicOnGosubGotoGosubInvoked() override { Events.push_back("on call"); }
    void RegisterVarAccess(int kind, TVarInfo* var, long element) override
    {
        if (kind == 0) Assigned = var->VarName + " " + std::to_string(element);
    }

    std::vector<std::string> Events;

private:
    void HookLineBegin(const TVMCode* code)
    {
        ExeBasicBLineBegin(code);
        Events.push_back("line " + std::to_string(CurLineNum));
    }
    void HookCall(const TVMCode* code)
    {
        ExeBasicBCall(code);
        Events.push_back("call");
    }
    void HookRet(const TVMCode* code)
    {
        Events.push_back("return");
        ExeBasicBRet(code);
    }
    void HookAssign(const TVMCode* code)
    {
        ExeBasicBAssignArray(code);
        Events.push_back("set " + Assigned);
    }

    std::string Assigned;
};

class DispatchHooks : public ::testing::Test {
protected:
    void SetUp() override { platform::use_key_identity_catalogue(true); }
    void TearDown() override { platform::use_key_identity_catalogue(false); }

    void Compile(const std::string& text)
    {
        int32_t compatMode = 0;
        TCompiler compiler(&mid, &alerts);
        ASSERT_TRUE(compiler.Compile(text.c_str(), &compatMode)) << alerts.Last();
    }

    template <typename Machine>
    long Run(Machine& machine)
    {
        if (!machine.SetStartPos({})) return -1;
        machine.Resume();
        int32_t exitValue = -2;
        machine.Wait(&exitValue);
        return exitValue;
    }

    TMidCode mid;
    TBasicRsrc rsrc;
    TRecordingAlertSink alerts;
    TRecordingRunRequests requests;
};

// Line-number and label calls, a FOR loop, an IF that jumps over a line, ON ... GOSUB,
// an array element and a backward GOTO: each of them has a fast path in the loop.
const char* const PROGRAM = "10 A=0\n"
                            "20 FOR I=1 TO 2: GOSUB 100: NEXT I\n"
                            "30 IF A=2 THEN 50\n"
                            "40 PRINT \"never\"\n"
                            "50 GOSUB *SUB\n"
                            "55 DIM B(3)\n"
                            "60 B(1)=A: PRINT B(1)\n"
                            "70 IF A<4 THEN GOSUB 100: GOTO 60\n"
                            "80 END\n"
                            "100 A=A+1\n"
                            "110 RETURN\n"
                            "120 *SUB\n"
                            "130 ON 1 GOSUB 100\n"
                            "140 RETURN\n";

TEST_F(DispatchHooks, OwnHandlersSeeEveryLineCallReturnAndAssignmentInOrder)
{
    Compile(PROGRAM);
    THookedMachine machine("Virtual Machine", &mid, &rsrc, nullptr, &requests, &alerts);
    machine.Attach();
    ASSERT_EQ(Run(machine), 0) << alerts.Last();

    const std::vector<std::string> subroutine100 = {"line 100", "set A! 0", "line 110", "return"};
    std::vector<std::string> expected = {"line 10", "set A! 0", "line 20", "set I! 0"};
    for (int pass = 0; pass < 2; ++pass) {
        expected.push_back("call");
        expected.insert(expected.end(), subroutine100.begin(), subroutine100.end());
        expected.push_back("set I! 0");  // NEXT steps the loop variable
    }
    // A jump to a label that opens its line enters that line, 120.
    expected.insert(expected.end(), {"line 30", "line 50", "call", "line 120", "line 130", "on call"});
    expected.insert(expected.end(), subroutine100.begin(), subroutine100.end());
    expected.insert(expected.end(), {"line 140", "return"});
    // B(1) is element 2: entry 0 is the plain variable, the array starts at B(0).
    expected.insert(expected.end(), {"line 55", "line 60", "set B! 2", "line 70", "call"});
    expected.insert(expected.end(), subroutine100.begin(), subroutine100.end());
    expected.insert(expected.end(), {"line 60", "set B! 2", "line 70", "line 80"});
    EXPECT_EQ(machine.Events, expected);
}

TEST_F(DispatchHooks, OwnHandlersRunTheProgramAsThePlainMachineDoes)
{
    Compile(PROGRAM);
    TVMachine plain("Virtual Machine", &mid, &rsrc, nullptr, &requests, &alerts);
    ASSERT_EQ(Run(plain), 0) << alerts.Last();
    const std::string plainScreen = shown_screen_text(rsrc);
    EXPECT_NE(plainScreen.find(" 3\n 4\n"), std::string::npos) << plainScreen;

    TBasicRsrc hookedRsrc;
    THookedMachine hooked("Virtual Machine", &mid, &hookedRsrc, nullptr, &requests, &alerts);
    hooked.Attach();
    ASSERT_EQ(Run(hooked), 0) << alerts.Last();
    EXPECT_EQ(shown_screen_text(hookedRsrc), plainScreen);
}

}  // namespace
