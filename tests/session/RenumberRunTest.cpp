// Lists run through the session as the editor prepares them: a renumbered program
// runs as before, a numbered list is never numbered again, and a line that is too
// long stops the run before it starts.

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "foundation/AlertSink.h"
#include "machine/devices/ScreenText.h"
#include "session/Renumber.h"
#include "session/RunSession.h"

namespace {

constexpr auto LIMIT = std::chrono::seconds(20);

class ListRun : public ::testing::Test {
protected:
    // The screen after `list` has run from its first line to its end, in a session of
    // its own so that nothing of an earlier run is left on it.
    std::string ScreenOf(const std::string& list)
    {
        TRecordingAlertSink alerts;
        TRunSession session(TDeviceHost{}, &alerts, TRunSessionSettings{});
        std::string error;
        if (!session.Start(error)) return "not started: " + error;
        session.SetList(list);
        if (session.PrepareRun({}) != TRunPrepared::Ready) return "not ready: " + alerts.Last();
        if (!session.RunBasic({})) return "not run: " + alerts.Last();
        const TRunEnd end = session.WaitForRun(std::chrono::steady_clock::now() + LIMIT);
        EXPECT_FALSE(end.TimedOut) << list;
        return shown_screen_text(session.Rsrc());
    }
};

TEST_F(ListRun, RenumberedProgramRunsTheSame)
{
    struct Case {
        const char* name;
        int32_t newLine, oldLine, step;
        std::string list;
    };
    const Case cases[] = {
        {"branches and a subroutine", 1000, 1, 10,
         "10 A=0\n20 IF A THEN 40 ELSE 30\n30 GOSUB 60:A=1:GOTO 20\n40 PRINT \"END\"\n50 END\n60 PRINT \"SUB\":RETURN"},
        {"ON GOTO, ON GOSUB and RESTORE", 100, 1, 10,
         "10 FOR I=1 TO 3:ON I GOSUB 50,60,70:NEXT\n20 RESTORE 90:READ X:PRINT X\n30 ON 2 GOTO 40,80\n"
         "40 PRINT \"NO\":END\n50 PRINT \"A\";:RETURN\n60 PRINT \"B\";:RETURN\n70 PRINT \"C\":RETURN\n"
         "80 PRINT \"YES\":END\n85 DATA 1\n90 DATA 2"},
        {"part of the list from a middle line", 500, 30, 5,
         "10 GOSUB 30:PRINT \"BACK\":GOTO 40\n30 PRINT \"THIRTY\":RETURN\n40 PRINT \"FORTY\""},
    };
    for (const Case& c : cases) {
        const std::string before = ScreenOf(c.list);
        std::string renumbered = c.list;
        const TRenumbered result = Renumber(renumbered, c.newLine, c.oldLine, c.step, false);
        ASSERT_TRUE(result.Done) << c.name << ": " << result.Refusal;
        ASSERT_NE(renumbered, c.list) << c.name;
        EXPECT_EQ(ScreenOf(renumbered), before) << c.name << "\n" << renumbered;
        EXPECT_EQ(before.find("not "), std::string::npos) << c.name << ": " << before;
    }
}

TEST_F(ListRun, NumberedListBehindAnEmptyLineKeepsItsNumbers)
{
    EXPECT_EQ(ScreenOf("\n10 GOTO 30\n20 END\n30 PRINT 1"), " 1\nOk\n");
}

TEST_F(ListRun, TooLongLineStopsTheRunBeforeItStarts)
{
    TRecordingAlertSink alerts;
    TRunSession session(TDeviceHost{}, &alerts, TRunSessionSettings{});
    std::string error;
    ASSERT_TRUE(session.Start(error)) << error;
    session.SetList("10 PRINT \"RAN\"\n20 REM " + std::string(500, 'x') + "\n");
    EXPECT_EQ(session.PrepareRun({}), TRunPrepared::CompileFailed);
    EXPECT_NE(alerts.Last().find("Line too long"), std::string::npos) << alerts.Last();
    EXPECT_NE(alerts.Last().find("Line: 20"), std::string::npos) << alerts.Last();
    EXPECT_EQ(session.VMachine(), nullptr);
    EXPECT_FALSE(session.RunBasic({})) << "nothing was compiled, nothing runs";
}

}  // namespace
