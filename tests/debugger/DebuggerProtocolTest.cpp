// The messages a debugged run sends, and where it stops, as the debug view drives it.

#include "tests/debugger/DebuggerTestSupport.h"

namespace {

using Lines = std::vector<std::string>;

const char* const GOSUB_PROGRAM = "10 A=1\n"
                                  "20 GOSUB 100\n"
                                  "30 END\n"
                                  "100 B=2\n"
                                  "110 RETURN\n";

TEST_F(DebuggerTest, StepInStepOverAndRunWalkTheProtocol)
{
    Load(GOSUB_PROGRAM);
    machine->AddBreakPoint(10);  // what "BrkS" sets up
    Start();
    size_t at = BreakThenGo(10, DRM_STEP_IN);
    at = BreakThenGo(20, DRM_STEP_OVER, at);
    at = BreakThenGo(30, DRM_RUN, at);
    EXPECT_EQ(WaitEnd(), 0) << alerts.Last();
    EXPECT_EQ(sink->Lines(), (Lines{"clnc 10", "dbbr 10", "uvir A! 0=1", "clnc 20", "dbbr 20", "acsr 20", "clnc 100",
                                    "uvir B! 0=2", "clnc 110", "rcsr", "clnc 30", "dbbr 30", "dbed"}));
}

// A keyboard read that has to wait says so, and says when it is over; one that finds
// its keys typed ahead says nothing.
struct KeyboardWaitCase {
    const char* name;
    const char* program;
    std::vector<std::string> keys;
    bool typedAhead;  // the keys are in the buffer before the run
};

class DebuggerKeyboardWait : public DebuggerTest, public ::testing::WithParamInterface<KeyboardWaitCase> {};

TEST_P(DebuggerKeyboardWait, SaysSoAndWhenItIsOver)
{
    const KeyboardWaitCase& c = GetParam();
    Load(c.program);
    const auto type = [&] {
        for (const std::string& key : c.keys) rsrc.PushToKeyBuf(key.data(), static_cast<long>(key.size()));
    };
    if (c.typedAhead) type();
    Start();
    if (!c.typedAhead) {
        ASSERT_TRUE(sink->WaitFor("dbkw waiting"));
        type();
    }
    EXPECT_EQ(WaitEnd(), 0) << alerts.Last();
    if (c.typedAhead) {
        EXPECT_EQ(Count("dbkw"), 0u) << "no wait, nothing said";
        return;
    }
    EXPECT_EQ(Count("dbkw"), 2u);
    const size_t waiting = sink->IndexAfter("dbkw waiting");
    const size_t over = sink->IndexAfter("dbkw over");
    EXPECT_LT(waiting, over);
    EXPECT_LT(over, sink->IndexAfter("clnc 20")) << "over before the next line";
}

INSTANTIATE_TEST_SUITE_P(
    Reads, DebuggerKeyboardWait,
    ::testing::Values(KeyboardWaitCase{"Input", "10 INPUT A\n20 END\n", {"5", "\n"}, false},
                      KeyboardWaitCase{"LineInput", "10 LINE INPUT A$\n20 END\n", {"x", "\n"}, false},
                      KeyboardWaitCase{"InputDollar", "10 A$=INPUT$(2)\n20 END\n", {"x", "y"}, false},
                      KeyboardWaitCase{"InputTypedAhead", "10 INPUT A\n20 END\n", {"5", "\n"}, true},
                      KeyboardWaitCase{"InputDollarTypedAhead", "10 A$=INPUT$(2)\n20 END\n", {"x", "y"}, true}),
    [](const ::testing::TestParamInfo<KeyboardWaitCase>& param) { return std::string(param.param.name); });

TEST_F(DebuggerTest, EveryMessageCarriesTheMachinesRunNumber)
{
    Load(GOSUB_PROGRAM);
    Start();
    WaitEnd();
    TDebugger other("Debugger", &mid, &rsrc, nullptr, &requests, nullptr);
    EXPECT_NE(other.RunNumber(), machine->RunNumber());
    for (const platform::Message& message : sink->Messages()) {
        int64_t run = 0;
        ASSERT_EQ(message.FindInt64(debug_msg::Run, &run), platform::kOk);
        EXPECT_EQ(run, machine->RunNumber());
    }
}

// Step over on a line that calls a subroutine and on one that returns; break points
// hold in every mode; a break point on a line that does not exist never fires.
TEST_F(DebuggerTest, StepOverSkipsCallsButStopsAtBreakPointsAndAfterReturn)
{
    Load("10 GOSUB 100\n"
         "20 GOSUB 200\n"
         "30 END\n"
         "100 A=1\n"
         "110 RETURN\n"
         "200 B=1\n"
         "210 RETURN\n");
    machine->AddBreakPoint(10);
    machine->AddBreakPoint(200);
    machine->AddBreakPoint(15);
    Start();
    size_t at = BreakThenGo(10, DRM_STEP_OVER);
    at = BreakThenGo(20, DRM_STEP_OVER, at);   // not inside 100
    at = BreakThenGo(200, DRM_STEP_OVER, at);  // the break point inside the call
    at = BreakThenGo(210, DRM_STEP_OVER, at);
    at = BreakThenGo(30, DRM_RUN, at);  // RETURN stepped over: back in the caller
    EXPECT_EQ(WaitEnd(), 0);
    EXPECT_EQ(Count("dbbr"), 5u);
}

// Step out stops at the RETURN that leaves the level where it was chosen, before it
// runs: a deeper call's RETURN does not stop it.
TEST_F(DebuggerTest, StepOutStopsAtTheOuterReturnBeforeItRuns)
{
    Load("10 GOSUB 100\n"
         "20 END\n"
         "100 GOSUB 200\n"
         "110 RETURN\n"
         "200 A=1\n"
         "210 RETURN\n");
    machine->AddBreakPoint(100);
    Start();
    size_t at = BreakThenGo(100, DRM_STEP_OUT);
    ASSERT_TRUE(sink->WaitFor("dbbr 110", at));
    const size_t stop = sink->IndexAfter("dbbr 110", at);
    // The inner call went and came back; the outer RETURN has not run yet.
    EXPECT_EQ(LinesFrom(at),
              (Lines{"acsr 100", "clnc 200", "uvir A! 0=1", "clnc 210", "rcsr", "clnc 110", "dbbr 110"}));
    machine->SetDebugRunMode(DRM_RUN);
    machine->Unbreak();
    EXPECT_EQ(WaitEnd(), 0);
    EXPECT_EQ(LinesFrom(stop), (Lines{"rcsr", "clnc 20", "dbed"}));
}

TEST_F(DebuggerTest, StepOutInTheMainProgramRunsToTheEnd)
{
    Load(GOSUB_PROGRAM);
    machine->AddBreakPoint(10);
    Start();
    BreakThenGo(10, DRM_STEP_OUT);
    EXPECT_EQ(WaitEnd(), 0);
    EXPECT_EQ(Count("dbbr"), 1u);
}

TEST_F(DebuggerTest, PauseStopsBeforeTheNextInstruction)
{
    Load("10 A=A+1\n"
         "20 GOTO 10\n");
    machine->AddBreakPoint(10);
    Start();
    size_t at = BreakThenGo(10, DRM_RUN);
    machine->RemoveBreakPoint(10);
    // Let it run a while, then pause it from this thread as the Pause button does.
    ASSERT_TRUE(sink->WaitFor("clnc 20", at));
    machine->SetDebugRunMode(DRM_STOP);
    const std::string pause = sink->WaitForPrefix("dbbr", at);
    EXPECT_TRUE(pause == "dbbr 10" || pause == "dbbr 20") << pause;
    // Stopped: no line begins while it waits.
    const size_t stopped = sink->Lines().size();
    EXPECT_EQ(sink->Lines().back(), pause);
    machine->SetDebugRunMode(DRM_STEP_IN);
    machine->Unbreak();
    EXPECT_EQ(sink->WaitForPrefix("dbbr", stopped).substr(0, 4), "dbbr");
    machine->Terminate();
    EXPECT_EQ(WaitEnd(), 1);
}

struct TCallCase {
    const char* name;
    const char* program;
    size_t calls;
};

class DebuggerCalls : public DebuggerTest, public ::testing::WithParamInterface<TCallCase> {};

// Only a subroutine that is entered counts: ON ... GOSUB that branches, not one whose
// selector matches nothing, nor ON ... GOTO or a user function.
TEST_P(DebuggerCalls, ReportsOneCallPerSubroutineEntered)
{
    Load(GetParam().program);
    Start();
    EXPECT_EQ(WaitEnd(), 0) << alerts.Last();
    EXPECT_EQ(Count("acsr"), GetParam().calls);
    EXPECT_EQ(Count("rcsr"), GetParam().calls);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, DebuggerCalls,
    ::testing::Values(TCallCase{"OnGosubBranches", "10 ON 2 GOSUB 100,200\n20 END\n100 RETURN\n200 RETURN\n", 1},
                      TCallCase{"OnGosubMatchesNothing", "10 ON 5 GOSUB 100,200\n20 END\n100 RETURN\n200 RETURN\n", 0},
                      TCallCase{"OnGoto", "10 ON 1 GOTO 100\n20 END\n100 END\n", 0},
                      TCallCase{"UserFunction", "10 DEF FNA(X)=X*2\n20 B=FNA(3)\n30 END\n", 0}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(DebuggerTest, OnGosubAddsOneLevelOfDepth)
{
    Load("10 ON 2 GOSUB 100,200\n20 END\n100 RETURN\n200 A=1\n210 RETURN\n");
    machine->AddBreakPoint(10);
    Start();
    // Step over the ON ... GOSUB line: nothing inside the subroutine stops it.
    const size_t at = BreakThenGo(10, DRM_STEP_OVER);
    ASSERT_TRUE(sink->WaitFor("dbbr 20", at));
    EXPECT_EQ(LinesFrom(at), (Lines{"acsr 10", "clnc 200", "uvir A! 0=1", "clnc 210", "rcsr", "clnc 20", "dbbr 20"}));
    machine->SetDebugRunMode(DRM_RUN);
    machine->Unbreak();
    EXPECT_EQ(WaitEnd(), 0);
}

TEST_F(DebuggerTest, SwapReportsThreeVariablesInOneMessage)
{
    Load("10 A=1: B=2\n20 SWAP A,B\n");
    Start();
    EXPECT_EQ(WaitEnd(), 0) << alerts.Last();
    // Slot 0 holds the last assignment, then the two swapped variables.
    EXPECT_EQ(LinesFrom(sink->IndexAfter("clnc 20")), (Lines{"uvir A! 0=2 B! 0=1 A! 0=2", "dbed"}));
}

struct TStoreCase {
    const char* name;
    const char* program;
    const char* keys;
    Lines reports;  // the 'uvir' lines, in order
};

class DebuggerStores : public DebuggerTest, public ::testing::WithParamInterface<TStoreCase> {};

// Statements that store without an assignment code report what they stored once they
// have run, each element once, as an assignment does.
TEST_P(DebuggerStores, ReportWhatTheStatementStored)
{
    Load(GetParam().program);
    // One key at a time, as the run window types them.
    for (const char* key = GetParam().keys; *key != 0; ++key) rsrc.PushToKeyBuf(key, 1);
    Start();
    EXPECT_EQ(WaitEnd(), 0) << alerts.Last();
    Lines reports;
    for (const std::string& line : sink->Lines())
        if (line.rfind("uvir", 0) == 0) reports.push_back(line);
    EXPECT_EQ(reports, GetParam().reports);
}

INSTANTIATE_TEST_SUITE_P(
    Stores, DebuggerStores,
    ::testing::Values(TStoreCase{"Input", "10 INPUT A\n", "5\n", {"uvir A! 0=5"}},
                      TStoreCase{"InputTwo", "10 INPUT A%,B$\n", "1,two\n", {"uvir A% 0=1 B$ 0=two"}},
                      TStoreCase{"LineInput", "10 LINE INPUT A$\n", "hi, there\n", {"uvir A$ 0=hi, there"}},
                      TStoreCase{"Read", "10 READ B$\n20 DATA HELLO\n", "", {"uvir B$ 0=HELLO"}},
                      TStoreCase{"ReadAnElement", "10 READ C(2)\n20 DATA 9\n", "", {"uvir C! 3=9"}},
                      TStoreCase{"ReadOneTwice", "10 READ A,A\n20 DATA 1,2\n", "", {"uvir A! 0=2"}},
                      TStoreCase{"AssignmentOnce", "10 A=1:READ B\n20 DATA 3\n", "", {"uvir A! 0=1", "uvir B! 0=3"}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(DebuggerTest, DimReportsEachArrayWithItsSizes)
{
    Load("10 C=4\n20 DIM A(10),B$(2,3)\n30 D(2)=1\n");
    Start();
    EXPECT_EQ(WaitEnd(), 0) << alerts.Last();
    // The sizes as the record keeps them, the last subscript's first; the arrays of
    // one DIM come off the value stack last first; an array used before any DIM gets
    // the default size.
    EXPECT_EQ(LinesFrom(sink->IndexAfter("clnc 20")),
              (Lines{"rsvr B$ [4,3]", "rsvr A! [11]", "clnc 30", "rsvr D! [11]", "uvir D! 3=1", "dbed"}));
}

TEST_F(DebuggerTest, KillInABreakEndsTheWaitAndReportsKilled)
{
    Load(GOSUB_PROGRAM);
    machine->AddBreakPoint(20);
    Start();
    ASSERT_TRUE(sink->WaitFor("dbbr 20"));
    // What the run view's KillBasic does.
    gAppPrivacy.Killed = true;
    machine->Terminate();
    EXPECT_EQ(WaitEnd(), 1);
    EXPECT_EQ(sink->Lines().back(), "dbed killed");
    EXPECT_EQ(Count("acsr"), 0u);
}

TEST_F(DebuggerTest, RunTimeErrorShowsItsLineAndSendsNoEnd)
{
    Load("10 A=1\n20 A=1/0\n30 END\n");
    Start();
    EXPECT_EQ(WaitEnd(), 1);
    EXPECT_EQ(sink->Lines().back(), "sslr 20");
    EXPECT_EQ(Count("dbed"), 0u);
    EXPECT_EQ(alerts.Count(), 1u);
}

TEST_F(DebuggerTest, BreakPointsAreASetOfLines)
{
    Load(GOSUB_PROGRAM);
    machine->AddBreakPoint(30);
    machine->AddBreakPoint(10);
    machine->AddBreakPoint(30);
    machine->RemoveBreakPoint(20);
    EXPECT_EQ(machine->BreakPoints(), (std::vector<int32_t>{10, 30}));
    machine->RemoveBreakPoint(10);
    EXPECT_EQ(machine->BreakPoints(), (std::vector<int32_t>{30}));
}

// An event trap entered inside a GOSUB is counted like a call, so its RETURN leaves
// the outer call alone and step over stops back on the interrupted level.
TEST_F(DebuggerTest, TrapSubroutineIsCountedLikeACall)
{
    Load("10 KEY 1,\"\": ON KEY GOSUB 200: KEY(1) ON\n"
         "20 GOSUB 100\n"
         "30 END\n"
         "100 A=1\n"
         "110 RETURN\n"
         "200 B=2\n"
         "210 RETURN\n");
    machine->AddBreakPoint(100);
    Start();
    ASSERT_TRUE(sink->WaitFor("dbbr 100"));
    machine->PressFuncKey(1);
    const size_t at = BreakThenGo(100, DRM_STEP_OVER);
    ASSERT_TRUE(sink->WaitFor("dbbr 110", at));
    EXPECT_EQ(LinesFrom(at), (Lines{"acsr 100", "clnc 200", "uvir B! 0=2", "clnc 210", "rcsr", "uvir A! 0=1",
                                    "clnc 110", "dbbr 110"}));
    machine->SetDebugRunMode(DRM_RUN);
    machine->Unbreak();
    EXPECT_EQ(WaitEnd(), 0);
    EXPECT_EQ(Count("acsr"), Count("rcsr"));
}

}  // namespace
