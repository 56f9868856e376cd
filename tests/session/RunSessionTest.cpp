// The run session's operations as the editor and the run window call them: a run
// request prepared and run, the machine ended while it waits, a Kill that does not wait
// for a long statement, requests kept for the holder, and requests that cannot start.

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "foundation/AlertSink.h"
#include "foundation/Common.h"
#include "machine/devices/ScreenText.h"
#include "machine/vm/VMachine.h"
#include "session/RunSession.h"
#include "tests/session/StatementGate.h"

namespace {

constexpr auto LIMIT = std::chrono::seconds(20);

class RunSession : public ::testing::Test {
protected:
    RunSession() : session(TDeviceHost{}, &alerts, TRunSessionSettings{}) {}
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(session.Start(error)) << error;
    }
    // Prepares and runs `list` from `request` to its end.
    TRunEnd RunToEnd(const std::string& list, const TRunRequest& request = {})
    {
        session.SetList(list);
        EXPECT_EQ(session.PrepareRun(request), TRunPrepared::Ready) << alerts.Last();
        EXPECT_TRUE(session.RunBasic(request)) << alerts.Last();
        return session.WaitForRun(std::chrono::steady_clock::now() + LIMIT);
    }

    TRecordingAlertSink alerts;
    TRunSession session;
};

TEST_F(RunSession, RunsAPreparedListFromItsRequestedLine)
{
    // A list without line numbers is numbered 1, 2, 3 throughout.
    TRunRequest from3;
    from3.LineNum = 3;
    const TRunEnd end = RunToEnd("PRINT 1\nPRINT 2\nPRINT 3\n", from3);
    EXPECT_FALSE(end.TimedOut);
    EXPECT_EQ(end.ExitValue, 0);
    EXPECT_EQ(shown_screen_text(session.Rsrc()), " 3\nOk\n");
}

TEST_F(RunSession, KeepsTheMachinesRunRequestsForTheHolder)
{
    RunToEnd("10 RUN 20\n20 END\n");
    const std::vector<TRunRequest> requests = session.TakeRunRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].LineNum, 20);
    EXPECT_TRUE(session.TakeRunRequests().empty()) << "each request is handed over once";
}

TEST_F(RunSession, QuitEndsAMachineWaitingForInput)
{
    session.SetList("10 INPUT A$\n");
    ASSERT_EQ(session.PrepareRun({}), TRunPrepared::Ready);
    ASSERT_TRUE(session.RunBasic({}));
    const TVMachine* machine = session.VMachine();
    ASSERT_NE(machine, nullptr);
    int other = 0;
    EXPECT_TRUE(session.QuitBasic(reinterpret_cast<const TVMachine*>(&other)));
    EXPECT_EQ(session.VMachine(), machine) << "another machine is not this session's to end";
    EXPECT_TRUE(session.QuitBasic());
    EXPECT_EQ(session.VMachine(), nullptr);
    EXPECT_TRUE(session.QuitBasic()) << "without a machine there is nothing to do";
}

TEST_F(RunSession, KillSetsTheKilledFlagAndTheNextRunClearsIt)
{
    EXPECT_TRUE(session.KillBasic());
    EXPECT_TRUE(gAppPrivacy.Killed.load());
    RunToEnd("10 END\n");
    EXPECT_FALSE(gAppPrivacy.Killed.load());
}

TEST_F(RunSession, RequestsThatCannotStart)
{
    struct Case {
        const char* what;
        std::string list;
        TRunRequest request;
        TRunPrepared prepared;
        bool runs;
    };
    TRunRequest missingFile;
    missingFile.FileName = "/nonexistent/folder/NEXT.BAS";
    TRunRequest missingLine;
    missingLine.LineNum = 99;
    const Case cases[] = {
        {"an empty list", "", {}, TRunPrepared::CompileFailed, false},
        {"a compile error", "10 PRINT (\n", {}, TRunPrepared::CompileFailed, false},
        {"a list that cannot be loaded", "10 END\n", missingFile, TRunPrepared::LoadFailed, false},
        {"a start line the list lacks", "10 END\n", missingLine, TRunPrepared::Ready, false},
    };
    for (const Case& c : cases) {
        alerts.Clear();
        session.SetList(c.list);
        EXPECT_EQ(session.PrepareRun(c.request), c.prepared) << c.what;
        EXPECT_EQ(session.List(), c.list) << c.what << ": the list stays";
        if (c.prepared != TRunPrepared::Ready) {
            EXPECT_EQ(session.VMachine(), nullptr) << c.what;
            continue;
        }
        EXPECT_EQ(session.RunBasic(c.request), c.runs) << c.what;
        EXPECT_NE(alerts.Last().find("Undefined line number"), std::string::npos) << alerts.Last();
        EXPECT_NE(session.VMachine(), nullptr) << c.what << ": the machine waits for the next QuitBasic";
    }
    EXPECT_TRUE(session.QuitBasic());
}

// A Kill and the holder's deadline end a compile too: no program and no machine, no
// compile error, and the screen shows the break of a run stopped before its first line.
TEST_F(RunSession, AKillOrThePassedDeadlineEndsTheCompile)
{
    const std::string list = "10 A=1\n20 PRINT A\n";
    gAppPrivacy.Killed = true;
    EXPECT_FALSE(session.CompileBasic(list));
    EXPECT_TRUE(session.CompileStopped());
    gAppPrivacy.Killed = false;
    EXPECT_EQ(shown_screen_text(session.Rsrc()), "Break\nOk\n");

    EXPECT_TRUE(session.CompileBasic(list)) << "without a stop it compiles";
    EXPECT_FALSE(session.CompileStopped());

    session.SetDeadline(std::chrono::steady_clock::now());
    session.SetList(list);
    EXPECT_EQ(session.PrepareRun({}), TRunPrepared::Stopped);
    EXPECT_EQ(session.VMachine(), nullptr);
    EXPECT_EQ(alerts.Count(), 0u) << alerts.Last();
    EXPECT_EQ(shown_screen_text(session.Rsrc()), "Break\nOk\nBreak\nOk\n");
}

TEST_F(RunSession, FunctionKeyWithoutAMachineOnlyTypes)
{
    session.Rsrc().SetFuncKeyStr(2, "ab");
    session.PressFuncKey(2);
    EXPECT_EQ(session.Rsrc().PopFromKeyBufWithTimeout(0), "a");
    EXPECT_EQ(session.Rsrc().PopFromKeyBufWithTimeout(0), "b");
}

TEST(RunSessionKill, ReturnsWhileALongStatementRunsAndTheRunEndsAfterIt)
{
    TGatedKeyboard keyboard;
    TDeviceHost host;
    host.Keyboard = &keyboard;
    TRecordingAlertSink alerts;
    TRunSession session(host, &alerts, TRunSessionSettings{});
    std::string error;
    ASSERT_TRUE(session.Start(error)) << error;
    session.SetList("10 K=INP(&HE2)\n20 PRINT \"AFTER\"\n");
    ASSERT_EQ(session.PrepareRun({}), TRunPrepared::Ready) << alerts.Last();
    ASSERT_TRUE(session.RunBasic({}));
    ASSERT_TRUE(keyboard.gate.WaitUntilEntered());

    EXPECT_TRUE(session.KillBasic());
    EXPECT_FALSE(keyboard.gate.IsOpen()) << "Kill waited for the statement to end";
    EXPECT_EQ(session.VMachine(), nullptr);
    EXPECT_TRUE(gAppPrivacy.Killed.load());

    // The statement ends; the next run waits for the killed machine, which stops
    // before line 20.
    keyboard.gate.Open();
    session.SetList("10 PRINT 2\n");
    ASSERT_EQ(session.PrepareRun({}), TRunPrepared::Ready) << alerts.Last();
    ASSERT_TRUE(session.RunBasic({}));
    EXPECT_EQ(session.WaitForRun(std::chrono::steady_clock::now() + LIMIT).ExitValue, 0);
    const std::string screen = shown_screen_text(session.Rsrc());
    EXPECT_EQ(screen.find("AFTER"), std::string::npos) << screen;
    EXPECT_NE(screen.find(" 2\nOk\n"), std::string::npos) << screen;
    EXPECT_FALSE(keyboard.gate.OpenedByGuard());
}

}  // namespace
