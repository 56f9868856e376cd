// Whole runs of hand-built code vectors on the machine thread: the start position,
// the end of a run, run-time errors, jumps and subroutines, and stopping.

#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include "foundation/Common.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "platform/Locale.h"
#include "tests/machine/vm/MachineTestSupport.h"

namespace {

class MachineRun : public ::testing::Test {
protected:
    void SetUp() override { platform::use_key_identity_catalogue(true); }
    void TearDown() override { platform::use_key_identity_catalogue(false); }

    // Runs the program from the start position to its end; -1 when it did not start.
    long RunProgram(const TRunRequest& start = {})
    {
        TVMachine machine("Virtual Machine", &mid, &rsrc, nullptr, &requests, &alerts);
        if (!machine.SetStartPos(start)) return -1;
        machine.Resume();
        int32_t exitValue = -2;
        machine.Wait(&exitValue);
        return exitValue;
    }

    // Waits (at most ten seconds, so that a fault cannot hang the tests) until the
    // screen shows `text`.
    bool WaitForScreen(const std::string& text)
    {
        for (int i = 0; i < 1000; ++i) {
            if (shown_screen_text(rsrc).find(text) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    // Starts the program, waits until the screen shows `text`, lets `act` act on the
    // running machine and returns the exit value; -3 when `text` never showed.
    template <typename Act>
    long RunUntilScreenShows(const std::string& text, Act act)
    {
        TVMachine machine("Virtual Machine", &mid, &rsrc, nullptr, &requests, &alerts);
        if (!machine.SetStartPos({})) return -1;
        machine.Resume();
        if (!WaitForScreen(text)) return -3;
        act(machine);
        int32_t exitValue = -2;
        machine.Wait(&exitValue);
        return exitValue;
    }

    TMidCode mid;
    TCodeBuilder code{mid};
    TBasicRsrc rsrc;
    TRecordingAlertSink alerts;
    TRecordingRunRequests requests;
};

TEST_F(MachineRun, ProgramWithOnlyItsExitPrintsOk)
{
    code.Finish();
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(shown_screen_text(rsrc), "Ok\n");
    EXPECT_EQ(alerts.Count(), 0u);
}

TEST_F(MachineRun, PrintWithCommaZones)
{
    code.Line(10).Int(1).PrintItem().Comma().PrintItem().Int(-2).PrintItem().PrintEnd().Op(vcBUpdateScreen);
    code.Finish();
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(shown_screen_text(rsrc), " 1" + std::string(12, ' ') + "-2\nOk\n");
}

TEST_F(MachineRun, StartPositions)
{
    code.Line(10).Text("ten").PrintItem().PrintEnd();
    code.Label("*SUB").Line(100).Text("hundred").PrintItem().PrintEnd();
    code.Finish();

    struct Case {
        const char* name;
        TRunRequest start;
        std::string screen;
    };
    TRunRequest atLine;
    atLine.LineNum = 100;
    TRunRequest atLabel;
    atLabel.Label = "*SUB";
    const Case cases[] = {
        {"from the first code", {}, "ten\nhundred\nOk\n"},
        {"at line 100", atLine, "hundred\nOk\n"},
        {"at a label", atLabel, "hundred\nOk\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        rsrc.ClearTxtBuf(0, 25);
        EXPECT_EQ(RunProgram(c.start), 0);
        EXPECT_EQ(shown_screen_text(rsrc), c.screen);
    }
}

TEST_F(MachineRun, StartAtMissingLineDoesNotRun)
{
    code.Line(10).Text("ten").PrintItem().PrintEnd();
    code.Finish();
    TRunRequest start;
    start.LineNum = 55;
    EXPECT_EQ(RunProgram(start), -1);
    EXPECT_EQ(shown_screen_text(rsrc), "");
    ASSERT_EQ(alerts.Count(), 1u);
    // No line part: no line has begun.
    EXPECT_EQ(alerts.Last(), "Runtime Error\n\n@Runtime_Err_Undefined_Line_Number@.\n\n");
}

TEST_F(MachineRun, RuntimeErrorShowsAlertThenMessageLineAndOk)
{
    code.Line(110).Text("before").PrintItem().PrintEnd();
    code.Line(120).Single(1).Single(0).Op(vcBDivFloat).PrintItem();
    code.Line(130).Text("after").PrintItem().PrintEnd();
    code.Finish();
    EXPECT_EQ(RunProgram(), 1);
    ASSERT_EQ(alerts.Count(), 1u);
    EXPECT_EQ(alerts.Last(), "Runtime Error\n\n@Runtime_Err_Div_By_Zero@.\n\nLine: 120\n");
    EXPECT_EQ(shown_screen_text(rsrc), "before\n@Runtime_Err_Div_By_Zero@ in 120\nOk\n");
}

TEST_F(MachineRun, TheRealCatalogueGivesTheMessages)
{
    platform::use_key_identity_catalogue(false);
    code.Line(30).Op(vcStop);
    code.Finish();
    EXPECT_EQ(RunProgram(), 1);
    EXPECT_EQ(shown_screen_text(rsrc), platform::get_string(RTE_STOP_BREAK) + " in 30\nOk\n");
    EXPECT_NE(alerts.Last().find(platform::get_string(RTE_STOP_BREAK) + ".\n\n"), std::string::npos);
}

TEST_F(MachineRun, GosubAndReturn)
{
    code.Line(10).Gosub(100).Text("back").PrintItem().PrintEnd().End();
    code.Line(100).Text("sub").PrintItem().PrintEnd().Return();
    code.Finish();
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(shown_screen_text(rsrc), "sub\nback\nOk\n");
}

TEST_F(MachineRun, RunTimeErrorsOfJumps)
{
    struct Case {
        const char* name;
        void (*build)(TCodeBuilder&);
        std::string screen;
    };
    const Case cases[] = {
        {"RETURN without GOSUB", [](TCodeBuilder& c) { c.Line(10).Return(); },
         "@Runtime_Err_Return_Without_Gosub@ in 10\nOk\n"},
        {"GOTO a missing line", [](TCodeBuilder& c) { c.Line(20).Goto(999); },
         "@Runtime_Err_Undefined_Line_Number@ in 20\nOk\n"},
        {"GOSUB a missing label", [](TCodeBuilder& c) { c.Line(30).Text("*NOWHERE").Op(vcBCall); },
         "@Runtime_Err_Undefined_Label@ in 30\nOk\n"},
        {"ON -1 GOTO", [](TCodeBuilder& c) { c.Line(40).Int(-1).Int(40).Add(MakeCode(vcOnGoto, int32_t{1})); },
         "@Runtime_Err_Ill_Func_Call@ in 40\nOk\n"},
        {"a code without a handler",
         [](TCodeBuilder& c) {
             c.Line(50).Add(MakeCode(static_cast<TVMCodeCmd>(0xFFFE), false)); /* no instruction has this number */
         },
         "@Runtime_Err_Internal_Error@ in 50\nOk\n"},
        {"an operand the code did not leave", [](TCodeBuilder& c) { c.Line(60).PrintItem(); },
         "@Runtime_Err_Internal_Error@ in 60\nOk\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TCodeBuilder fresh(mid);
        c.build(fresh);
        fresh.Finish();
        rsrc.ClearTxtBuf(0, 25);
        alerts.Clear();
        EXPECT_EQ(RunProgram(), 1);
        EXPECT_EQ(shown_screen_text(rsrc), c.screen);
        EXPECT_EQ(alerts.Count(), 1u);
    }
}

TEST_F(MachineRun, JumpWithoutTargetGoesOn)
{
    code.Line(10).Op(vcBPushAbbrev).Op(vcBJmp).Add(MakeCode(vcBPushBool, true)).Op(vcBJmp);
    code.Text("next").PrintItem().PrintEnd();
    code.Finish();
    EXPECT_EQ(RunProgram(), 0);
    EXPECT_EQ(shown_screen_text(rsrc), "next\nOk\n");
}

TEST_F(MachineRun, OnGotoAndOnGosub)
{
    struct Case {
        const char* name;
        TVMCodeCmd cmd;
        double index;
        std::string screen;
    };
    const Case cases[] = {
        {"ON 0 falls through", vcOnGoto, 0, "through\nOk\n"},
        {"ON 3 of two falls through", vcOnGoto, 3, "through\nOk\n"},
        {"ON 1.5 goes to the second", vcOnGoto, 1.5, "two\nOk\n"},
        {"ON 2 with an empty place falls through", vcOnGosub, 2, "through\nOk\n"},
        {"ON 3 GOSUB returns after the ON", vcOnGosub, 3, "three\nthrough\nOk\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TCodeBuilder b(mid);
        b.Line(10).Double(c.index).Int(100);
        if (c.cmd == vcOnGosub)
            b.Op(vcBPushAbbrev).Int(300).Add(MakeCode(c.cmd, int32_t{3}));  // ON e GOSUB 100,,300
        else
            b.Int(200).Add(MakeCode(c.cmd, int32_t{2}));  // ON e GOTO 100,200
        b.Text("through").PrintItem().PrintEnd().End();
        b.Line(100).Text("one").PrintItem().PrintEnd().End();
        b.Line(200).Text("two").PrintItem().PrintEnd().End();
        b.Line(300).Text("three").PrintItem().PrintEnd().Return();
        b.Finish();
        rsrc.ClearTxtBuf(0, 25);
        EXPECT_EQ(RunProgram(), 0);
        EXPECT_EQ(shown_screen_text(rsrc), c.screen);
    }
}

TEST_F(MachineRun, TerminateEndsAnEndlessLoopWithTheBreakText)
{
    code.Line(10).Text("looping").PrintItem().PrintEnd();
    code.Line(20).Goto(20);
    code.Finish();
    EXPECT_EQ(RunUntilScreenShows("looping", [](TVMachine& m) { m.Terminate(); }), 1);
    EXPECT_EQ(shown_screen_text(rsrc), "looping\n@Runtime_Err_Stop_Break@ in 20\nOk\n");
    EXPECT_EQ(alerts.Count(), 0u);
}

TEST_F(MachineRun, StopKeyWithoutTrapEndsTheRun)
{
    code.Line(10).Text("looping").PrintItem().PrintEnd();
    code.Line(20).Goto(20);
    code.Finish();
    EXPECT_EQ(RunUntilScreenShows("looping", [](TVMachine& m) { m.HappenInterrupt(IR_STOP_KEY); }), 1);
    EXPECT_EQ(shown_screen_text(rsrc), "looping\n@Runtime_Err_Stop_Break@ in 20\nOk\n");
}

TEST_F(MachineRun, StopKeyWithTrapRunsTheSubroutine)
{
    // ON STOP GOSUB 100: STOP ON
    code.Line(10).Int(100).Add(MakeCode(vcSetIrTgt, int32_t{IR_STOP_KEY}));
    code.Statement().Int(IR_STOP_KEY).Int(IR_STATE_ON).Op(vcSetIrState);
    code.Statement().Text("ready").PrintItem().PrintEnd();
    code.Line(20).Goto(20);
    code.Line(100).Text("trapped").PrintItem().PrintEnd().End();
    code.Finish();
    EXPECT_EQ(RunUntilScreenShows("ready", [](TVMachine& m) { m.HappenInterrupt(IR_STOP_KEY); }), 0);
    EXPECT_EQ(shown_screen_text(rsrc), "ready\ntrapped\nOk\n");
}

TEST_F(MachineRun, StopStatementIsAnErrorWithAlert)
{
    code.Line(70).Op(vcStop);
    code.Finish();
    EXPECT_EQ(RunProgram(), 1);
    EXPECT_EQ(shown_screen_text(rsrc), "@Runtime_Err_Stop_Break@ in 70\nOk\n");
    EXPECT_EQ(alerts.Count(), 1u);
}

// A stop that comes before the run starts ends it in its preparation, before the
// tables of the code are made (nothing is taken from the budget), with a break that
// names no line: the run was in none.
TEST_F(MachineRun, TerminateBeforeTheStartEndsThePreparationWithABreakInNoLine)
{
    code.Line(10).Text("never").PrintItem().PrintEnd();
    code.Finish();
    TVMachine machine("Virtual Machine", &mid, &rsrc, nullptr, &requests, &alerts);
    machine.Terminate();
    machine.Resume();
    machine.Wait(nullptr);
    EXPECT_EQ(shown_screen_text(rsrc), "@Runtime_Err_Stop_Break@\nOk\n");
    EXPECT_EQ(machine.ExitStatusValue(), 1);
    EXPECT_EQ(machine.MemoryUsed(), 0u);
}

// A machine whose debugger hook fails with an exception of the standard library.
class TFailingHookMachine : public TVMachine {
public:
    using TVMachine::TVMachine;
    void ExeBasicOnGosubGotoGosubInvoked() override { throw std::runtime_error("fault"); }
};

TEST_F(MachineRun, ForeignExceptionIsAnInternalErrorNotACrash)
{
    code.Line(10).Int(1).Int(100).Add(MakeCode(vcOnGosub, int32_t{1}));
    code.Line(100).Return();
    code.Finish();
    TFailingHookMachine machine("Virtual Machine", &mid, &rsrc, nullptr, &requests, &alerts);
    machine.Resume();
    int32_t exitValue = 0;
    machine.Wait(&exitValue);
    EXPECT_EQ(exitValue, 1);
    EXPECT_EQ(shown_screen_text(rsrc), "@Runtime_Err_Internal_Error@ in 10\nOk\n");
    EXPECT_EQ(alerts.Count(), 1u);
}

TEST_F(MachineRun, EndlessGosubRunsOutOfMemoryInsteadOfExhaustingTheHost)
{
    code.Line(10).Gosub(10);
    code.Finish();
    EXPECT_EQ(RunProgram(), 1);
    EXPECT_EQ(shown_screen_text(rsrc), "@Runtime_Err_Out_Of_Memory@ in 10\nOk\n");
}

TEST_F(MachineRun, MachineDeletedWhileRunningStopsFirst)
{
    code.Line(10).Text("looping").PrintItem().PrintEnd();
    code.Line(20).Goto(20);
    code.Finish();
    {
        TVMachine machine("Virtual Machine", &mid, &rsrc, nullptr, &requests, &alerts);
        ASSERT_TRUE(machine.SetStartPos({}));
        machine.Resume();
        ASSERT_TRUE(WaitForScreen("looping"));
    }
    EXPECT_EQ(shown_screen_text(rsrc), "looping\n@Runtime_Err_Stop_Break@ in 20\nOk\n");
}

TEST_F(MachineRun, MachineDeletedBeforeItRanIsHarmless)
{
    code.Finish();
    {
        TVMachine machine("Virtual Machine", &mid, &rsrc, nullptr, &requests, &alerts);
    }
    EXPECT_EQ(shown_screen_text(rsrc), "");
}

TEST_F(MachineRun, RepeatModeAsksForTheNextRunOnlyAfterANormalEnd)
{
    struct Case {
        const char* name;
        bool error, killed, quitting;
        size_t requests;
        std::string screen;
    };
    const Case cases[] = {
        {"normal end", false, false, false, 1, "Ok\n"},
        {"run-time error", true, false, false, 0, "@Runtime_Err_Stop_Break@ in 10\nOk\n"},
        {"killed", false, true, false, 0, "Ok\n"},
        {"quitting", false, false, true, 0, ""},
    };
    gExitStates.RepeatRun = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TCodeBuilder b(mid);
        if (c.error) b.Line(10).Op(vcStop);
        b.Finish();
        rsrc.ClearTxtBuf(0, 25);
        gAppPrivacy.Killed = c.killed;
        gAppPrivacy.Quitting = c.quitting;
        TRecordingRunRequests fresh;
        TVMachine machine("Virtual Machine", &mid, &rsrc, nullptr, &fresh, &alerts);
        machine.Resume();
        machine.Wait(nullptr);
        EXPECT_EQ(shown_screen_text(rsrc), c.screen);
        ASSERT_EQ(fresh.Requests().size(), c.requests);
        if (c.requests == 1) {
            EXPECT_TRUE(fresh.Requests()[0].NotFore);
            EXPECT_FALSE(fresh.Requests()[0].LineNum.has_value());
        }
    }
    gExitStates.RepeatRun = false;
    gAppPrivacy.Killed = false;
    gAppPrivacy.Quitting = false;
}

}  // namespace
