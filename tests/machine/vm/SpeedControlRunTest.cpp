// Speed control over a whole run: the dispatch loop reads the interrupt word only at
// some codes when no event is pending, but once speed control is on it must wait at
// every statement beginning it passes, exactly as the run with every code through its
// handler (fusion off) waits.

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "foundation/AlertSink.h"
#include "language/Compiler.h"
#include "language/MidCode.h"
#include "platform/Locale.h"
#include "tests/machine/vm/MachineTestSupport.h"

namespace {

// A clock that never sleeps: it counts the sleeps.
class TCountingClock : public THostClock {
public:
    int64_t NowMicros() const override
    {
        std::lock_guard<std::mutex> lock(mLock);
        return mNow += 7;
    }
    void SleepMicros(int64_t micros) const override
    {
        std::lock_guard<std::mutex> lock(mLock);
        ++mSleeps;
        mNow += micros;
    }
    int Sleeps() const
    {
        std::lock_guard<std::mutex> lock(mLock);
        return mSleeps;
    }

private:
    mutable std::mutex mLock;
    mutable int64_t mNow = 0;
    mutable int mSleeps = 0;
};

class SpeedControlRun : public ::testing::Test {
protected:
    void SetUp() override { platform::use_key_identity_catalogue(true); }
    void TearDown() override { platform::use_key_identity_catalogue(false); }

    // The number of speed-control waits of one run of `text`, speed control on from
    // the start; the screen it leaves goes to `screen` when given.
    int WaitsOfRun(const std::string& text, bool fusion, std::string* screen = nullptr)
    {
        TMidCode mid;
        TRecordingAlertSink alerts;
        int32_t compatMode = 0;
        TCompiler compiler(&mid, &alerts);
        EXPECT_TRUE(compiler.Compile(text.c_str(), &compatMode)) << alerts.Last();
        TBasicRsrc rsrc;
        TRecordingRunRequests requests;
        TCountingClock clock;
        TVMachine machine("Virtual Machine", &mid, &rsrc, nullptr, &requests, &alerts);
        machine.SetClock(&clock);
        machine.SetFusion(fusion);
        EXPECT_TRUE(machine.SetStartPos({}));
        machine.HappenInterrupt(IR_SPEED_CONTROL);
        machine.Resume();
        int32_t exitValue = -1;
        machine.Wait(&exitValue);
        EXPECT_EQ(exitValue, 0) << alerts.Last();
        if (screen != nullptr) *screen = ScreenLines(rsrc);
        return clock.Sleeps();
    }
    // Runs `text` with the fast paths and without: both must wait as often and leave
    // the same screen, which is returned.
    std::string ScreenOfBothRuns(const std::string& text)
    {
        std::string plainScreen;
        std::string fusedScreen;
        const int plain = WaitsOfRun(text, false, &plainScreen);
        EXPECT_EQ(WaitsOfRun(text, true, &fusedScreen), plain);
        EXPECT_EQ(fusedScreen, plainScreen);
        return plainScreen;
    }
};

// Loops, assignments, IF, GOSUB and RETURN: each has a fast path in the loop.
TEST_F(SpeedControlRun, WaitsAtTheStatementsTheRunWithoutFastPathsWaitsAt)
{
    const std::string program = "10 A=0:B=1\n"
                                "20 FOR I=1 TO 5:A=A+I:IF A>3 THEN B=B*2 ELSE B=B+1\n"
                                "30 NEXT I\n"
                                "40 FOR J%=3 TO 1 STEP -1:GOSUB 100:NEXT\n"
                                "50 END\n"
                                "100 C=C+J%:RETURN\n";
    const int plain = WaitsOfRun(program, false);
    EXPECT_GT(plain, 20);
    EXPECT_EQ(WaitsOfRun(program, true), plain);
}

// The string functions of a variable read its text in place; a wait between the read
// and the function (every code waits its turn here) must leave them the same text.
TEST_F(SpeedControlRun, StringFunctionsOfAVariableSeeItsTextAcrossTheWaits)
{
    const std::string program = "10 S$=\"ABCDEF\":N=2\n"
                                "20 PRINT LEFT$(S$,N);MID$(S$,N,3);RIGHT$(S$,N);INSTR(N,S$,\"E\");LEN(S$)\n"
                                "30 T$=LEFT$(S$,N)+MID$(S$,N+1,2)+RIGHT$(S$,1):PRINT T$\n"
                                "40 T$=LEFT$(S$,N)+MID$(S$,N,2)+RIGHT$(S$,N):PRINT T$\n";
    const std::string screen = ScreenOfBothRuns(program);
    EXPECT_NE(screen.find("ABBCDEF 5  6"), std::string::npos) << screen;
    EXPECT_NE(screen.find("ABBCEF"), std::string::npos) << screen;
}

// The appends to a variable's own text, the joins of two variables and the string
// functions whose counts are computed leave values off the stack; a wait between
// pushes them where they would lie.
TEST_F(SpeedControlRun, AppendsAndComputedCountsSeeTheirTextsAcrossTheWaits)
{
    const std::string program = "10 S$=\"AB\":M$=\"C\"\n"
                                "20 FOR I=1 TO 4:S$=S$+CHR$(66+I MOD 3):NEXT:PRINT S$\n"
                                "30 S$=S$+STR$(LEN(S$)\\2):PRINT S$\n"
                                "40 X$=S$+M$:S$=S$+S$:PRINT X$;\"/\";S$\n"
                                "50 PRINT MID$(S$,LEN(S$)\\2+1,3);INSTR(LEN(M$)+1,S$,M$)\n";
    const std::string screen = ScreenOfBothRuns(program);
    EXPECT_NE(screen.find("ABCDBC 3"), std::string::npos) << screen;
    EXPECT_NE(screen.find("ABCDBC 3C/ABCDBC 3ABCDBC 3"), std::string::npos) << screen;
    EXPECT_NE(screen.find("ABC 3"), std::string::npos) << screen;
}

// An element assignment whose subscript is found first leaves the array's reference
// off the stack; a wait before the store pushes it where it would lie.
TEST_F(SpeedControlRun, ElementStoresAndSearchesOfTwoVariablesSurviveTheWaits)
{
    const std::string program = "10 DIM A%(5),B(5):S$=\"ABCABC\":P$=\"CA\"\n"
                                "20 FOR J=0 TO 4:A%(J)=J*3:B(J+1)=A%(J)+INSTR(S$,P$):NEXT\n"
                                "30 J%=2:A%(J%)=A%(J%+1)+7:PRINT A%(2);A%(3);B(1);B(5)\n";
    const std::string screen = ScreenOfBothRuns(program);
    EXPECT_NE(screen.find(" 16  9  3  15"), std::string::npos) << screen;
}

}  // namespace
