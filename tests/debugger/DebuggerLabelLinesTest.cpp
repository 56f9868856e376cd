// Lines entered through a label are entered as lines: the debugger sees each of them
// begin, and a break point on such a line stops there.

#include "tests/debugger/DebuggerTestSupport.h"

namespace {

using Lines = std::vector<std::string>;

// Every way of jumping to a label: GOSUB, ON ... GOSUB, GOTO and THEN; the labels
// stand alone on their lines or before statements.
const char* const LABEL_PROGRAM = "10 GOSUB *S\n"
                                  "20 ON 2 GOSUB *T,*U\n"
                                  "30 GOTO *V\n"
                                  "40 END\n"
                                  "50 *S:A=1\n"
                                  "60 RETURN\n"
                                  "70 *T:RETURN\n"
                                  "80 *U\n"
                                  "90 RETURN\n"
                                  "100 *V:IF A=1 THEN *W\n"
                                  "110 END\n"
                                  "120 *W\n"
                                  "130 END\n";

TEST_F(DebuggerTest, StepInSeesEveryLineEnteredThroughALabel)
{
    Load(LABEL_PROGRAM);
    machine->AddBreakPoint(10);
    Start();
    size_t at = BreakThenGo(10, DRM_STEP_IN);
    const Lines order{"50", "60", "20", "80", "90", "30", "100", "120", "130"};
    for (const std::string& line : order) at = BreakThenGo(std::stoi(line), DRM_STEP_IN, at);
    EXPECT_EQ(WaitEnd(), 0) << alerts.Last();
    Lines begun;
    for (const std::string& line : sink->Lines())
        if (line.rfind("clnc ", 0) == 0) begun.push_back(line.substr(5));
    EXPECT_EQ(begun, (Lines{"10", "50", "60", "20", "80", "90", "30", "100", "120", "130"}));
}

TEST_F(DebuggerTest, BreakPointOnALabelLineFires)
{
    Load(LABEL_PROGRAM);
    machine->AddBreakPoint(50);
    machine->AddBreakPoint(80);
    machine->AddBreakPoint(120);
    Start();
    size_t at = BreakThenGo(50, DRM_RUN);
    at = BreakThenGo(80, DRM_RUN, at);
    BreakThenGo(120, DRM_RUN, at);
    EXPECT_EQ(WaitEnd(), 0) << alerts.Last();
    EXPECT_EQ(Count("dbbr"), 3u);
}

}  // namespace
