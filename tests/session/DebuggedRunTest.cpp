// A run session with Use Debugger on: the machine it makes reports to the debug sink,
// stops at a break point and is ended by Kill; without the switch nothing is reported.

#include <gtest/gtest.h>

#include <chrono>

#include "debugger/Debugger.h"
#include "foundation/AlertSink.h"
#include "foundation/Common.h"
#include "session/RunSession.h"
#include "tests/debugger/RecordingDebugSink.h"

namespace {

class DebuggedRun : public ::testing::Test {
protected:
    DebuggedRun() : session(TDeviceHost{}, &alerts, TRunSessionSettings{}) {}
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(session.Start(error)) << error;
        session.SetDebugSink(&sink);
    }
    void TearDown() override
    {
        session.QuitBasic();
        gExitStates.UseDebugger = false;
        gAppPrivacy.Killed = false;
    }

    TRecordingAlertSink alerts;
    TRecordingDebugSink sink;
    TRunSession session;
};

TEST_F(DebuggedRun, UseDebuggerMakesADebuggingMachineThatKillEnds)
{
    gExitStates.UseDebugger = true;
    session.SetList("10 A=1\n20 GOTO 10\n");
    ASSERT_EQ(session.PrepareRun({}), TRunPrepared::Ready) << alerts.Last();
    // As the debug view does, through the session's lock, never holding the machine.
    session.WithMachine([](TVMachine& machine) {
        auto* debugger = dynamic_cast<TDebugger*>(&machine);
        ASSERT_NE(debugger, nullptr);
        debugger->AddBreakPoint(20);
    });
    ASSERT_TRUE(session.RunBasic({}));
    ASSERT_TRUE(sink.WaitFor("dbbr 20"));
    session.KillBasic();
    EXPECT_EQ(session.VMachine(), nullptr);
    // The killed machine ends on its own thread.
    ASSERT_TRUE(sink.WaitFor("dbed killed"));
    EXPECT_EQ(sink.Lines().back(), "dbed killed");
    // A later Pause finds no machine to reach.
    bool reached = false;
    session.WithMachine([&](TVMachine&) { reached = true; });
    EXPECT_FALSE(reached);
}

TEST_F(DebuggedRun, WithoutUseDebuggerNothingIsReported)
{
    session.SetList("10 A=1\n");
    ASSERT_EQ(session.PrepareRun({}), TRunPrepared::Ready);
    EXPECT_EQ(dynamic_cast<TDebugger*>(session.VMachine()), nullptr);
    ASSERT_TRUE(session.RunBasic({}));
    EXPECT_FALSE(session.WaitForRun(std::chrono::steady_clock::now() + std::chrono::seconds(20)).TimedOut);
    EXPECT_TRUE(sink.Lines().empty());
}

}  // namespace
