// Statements that run long on big texts, pictures and arrays end with the run when
// the time-out comes: each program below runs under --timeout 1 and ends with the
// time-out's break, in its long line when the machine is not loaded; so does a long list. The driver is given a
// generous while to end; a statement that ignores the stop request takes far longer.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "tests/TempFolder.h"
#include "tests/e2e/HeadlessProcess.h"

namespace {

namespace fs = std::filesystem;

// Far beyond the one second of the time-out on a loaded machine, far below the
// minutes that INSTR of these texts took when it compared from every position.
constexpr double LIMIT_SECONDS = 30;

struct TLongProgram {
    const char* name;
    const char* list;
    const char* breakLine;
};

// A$ of 2 MB ("X" repeated), B$ the same and a "Y"; or A$ of 32 MB.
const TLongProgram PROGRAMS[] = {
    {"instr", "10 A$=STRING$(255,\"X\"):FOR I=1 TO 13:A$=A$+A$:NEXT:B$=A$+\"Y\"\n20 I=INSTR(A$+A$,B$):GOTO 20\n",
     "Break in 20"},
    {"kinstr", "10 A$=STRING$(255,\"X\"):FOR I=1 TO 13:A$=A$+A$:NEXT:B$=A$+\"Y\"\n20 I=KINSTR(A$+A$,B$):GOTO 20\n",
     "Break in 20"},
    {"join", "10 A$=STRING$(255,\"X\"):FOR I=1 TO 17:A$=A$+A$:NEXT\n20 B$=A$+A$+A$:GOTO 20\n", "Break in 20"},
    {"write",
     "10 A$=STRING$(255,\"X\"):FOR I=1 TO 17:A$=A$+A$:NEXT\n"
     "20 CLOSE:OPEN \"BIG.TXT\" FOR OUTPUT AS #1:PRINT #1,A$;:GOTO 20\n",
     "Break in 20"},
    {"paint", "10 SCREEN 3:CLS 3:FOR I=0 TO 639 STEP 4:LINE (I,0)-(I,399),7:NEXT\n20 PAINT (1,1),\"XXXXX\",7:GOTO 20\n",
     "Break in 20"},
    {"dim", "10 DIM A#(8000000):ERASE A#:GOTO 10\n", "Break in 10"},
    // A picture of 6000 by 6000 pixels built again and again.
    {"putpicture", "10 DIM A%(6750002):A%(0)=6000:A%(1)=6000:PUT@(0,0),A%,PSET:GOTO 10\n", "Break in 10"},
};

class LongStatement : public ::testing::TestWithParam<TLongProgram> {};

TEST_P(LongStatement, EndsWithTheTimeOut)
{
    const TLongProgram& program = GetParam();
    const TTempFolder folder("kivo-long");
    const fs::path list = folder.Path() / (std::string(program.name) + ".bas");
    std::ofstream(list) << program.list;
    const THeadlessOutcome outcome = run_headless_process(
        {"--drive", "1=" + folder.Path().string(), "--timeout", "1", list.string()}, LIMIT_SECONDS);
    EXPECT_EQ(outcome.status, 3) << outcome.err;
    // On a loaded machine the time-out may come while line 10 still builds the texts;
    // the run must end with the time-out's break all the same.
    EXPECT_TRUE(outcome.out == std::string(program.breakLine) + "\nOk\n" || outcome.out == "Break in 10\nOk\n")
        << outcome.out;
}

// The time-out covers the compile and the run's preparation too: a long list given a
// time-out far shorter than its compile ends with the break of a run stopped before its
// first line, which names no line.
TEST(LongList, EndsWithTheTimeOutBeforeItsFirstLine)
{
    const TTempFolder folder("kivo-long");
    const fs::path list = folder.Path() / "long.bas";
    {
        std::ofstream out(list);
        for (int line = 1; line <= 50000; ++line) out << line << " A=A+1:B$=\"XY\"\n";
    }
    const THeadlessOutcome outcome = run_headless_process(
        {"--drive", "1=" + folder.Path().string(), "--timeout", "0.001", list.string()}, LIMIT_SECONDS);
    EXPECT_EQ(outcome.status, 3) << outcome.err;
    EXPECT_EQ(outcome.out, "Break\nOk\n");
}

INSTANTIATE_TEST_SUITE_P(E2E, LongStatement, ::testing::ValuesIn(PROGRAMS),
                         [](const ::testing::TestParamInfo<TLongProgram>& testInfo) { return testInfo.param.name; });

}  // namespace
