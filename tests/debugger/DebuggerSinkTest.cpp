// Receivers that answer late or never, or take nothing: the machine gives up each
// wait after its time-outs and the run still ends.

#include "tests/debugger/DebuggerTestSupport.h"

namespace {

struct TSinkCase {
    const char* name;
    TRecordingDebugSink::TAnswer answer;
    bool waitsForReply;
};

class DebuggerSinks : public DebuggerTest, public ::testing::WithParamInterface<TSinkCase> {};

TEST_P(DebuggerSinks, EachWaitCostsAtMostItsTimeOutsAndTheRunEnds)
{
    Load("10 A=1\n20 GOSUB 100\n30 END\n100 B=2\n110 RETURN\n", GetParam().answer);
    TFakeDebugClock clock;
    machine->SetDebugClock(&clock);
    Start();
    EXPECT_EQ(WaitEnd(), 0);
    EXPECT_EQ(sink->Lines().back(), "dbed");
    // clnc 10, 20, 30, 100, 110; uvir A, B; acsr; rcsr.
    ASSERT_EQ(sink->WaitingCount(), 9u);
    const int waited = GetParam().waitsForReply ? 9 : 0;
    EXPECT_EQ(clock.TimedOut(), waited);
    EXPECT_EQ(clock.Waited(), waited * TDebugSink::REPLY_TIMEOUT);
}

INSTANTIATE_TEST_SUITE_P(Sinks, DebuggerSinks,
                         ::testing::Values(TSinkCase{"AnswersAtOnce", TRecordingDebugSink::TAnswer::AtOnce, false},
                                           TSinkCase{"NeverAnswers", TRecordingDebugSink::TAnswer::Never, true},
                                           TSinkCase{"NeverTakes", TRecordingDebugSink::TAnswer::NotDelivered, false}),
                         [](const auto& row) { return std::string(row.param.name); });

// On the real clock, a machine waiting for an answer that never comes leaves the wait
// at once when it is told to stop.
TEST_F(DebuggerTest, StopEndsAWaitForAnAnswer)
{
    Load("10 A=1\n20 GOTO 10\n", TRecordingDebugSink::TAnswer::Never);
    Start();
    ASSERT_TRUE(sink->WaitFor("clnc 10"));
    machine->Terminate();
    EXPECT_EQ(WaitEnd(), 1);
    EXPECT_EQ(sink->Lines().back(), "dbed");
}

// An answer given after the machine has stopped waiting, or after it is gone, is harmless.
TEST_F(DebuggerTest, LateAnswersAreHarmless)
{
    Load("10 A=1\n", TRecordingDebugSink::TAnswer::Never);
    TFakeDebugClock clock;
    machine->SetDebugClock(&clock);
    Start();
    EXPECT_EQ(WaitEnd(), 0);
    sink->AnswerKept();
    machine.reset();
    SUCCEED();
}

}  // namespace
