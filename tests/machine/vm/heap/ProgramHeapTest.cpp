// What a compiled list and its run are charged, beside what they really take: every
// block of this test program is counted (CountingHeap.h), as the C library's
// allocator lays it out.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "foundation/AlertSink.h"
#include "language/CompileErrorKeys.h"
#include "language/Compiler.h"
#include "language/MidCode.h"
#include "machine/devices/BasicRsrc.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"
#include "platform/Locale.h"
#include "tests/machine/vm/heap/CountingHeap.h"

namespace {

// A list of `lines` lines, each `text` after its number.
std::string list_of(const char* text, int lines)
{
    std::string list;
    for (int line = 1; line <= lines; ++line) list += std::to_string(line) + " " + text + "\n";
    return list;
}

class ProgramHeap : public ::testing::Test {
protected:
    void SetUp() override
    {
        platform::use_key_identity_catalogue(true);
        // What the first run makes once for all (the handler tables, the texts).
        NewProgram();
        Compile("10 A=1\n", TCompiler::DEFAULT_MEMORY_LIMIT);
        RunToEnd(TMemoryBudget::DEFAULT_LIMIT);
    }
    void TearDown() override { platform::use_key_identity_catalogue(false); }

    // Forgets the machine and the program: the next compile goes into an empty one.
    // What the heap holds then.
    size_t NewProgram()
    {
        machine.reset();
        mid = std::make_unique<TMidCode>();
        return counting_heap::LiveBytes();
    }
    // Compiles the list into `mid`; true without an error.
    bool Compile(const std::string& list, size_t limit)
    {
        TCompiler compiler(mid.get(), &alerts, 0);
        compiler.SetMemoryLimit(limit, TVMachine::RUN_TABLE_BYTES_PER_CODE);
        int32_t mode = 0;
        return compiler.Compile(list.c_str(), &mode);
    }
    // Runs `mid` to its end with the budget `limit`; the machine stays, with what it made.
    TVMachine& RunToEnd(size_t limit)
    {
        machine.reset();
        machine = std::make_unique<TVMachine>("Virtual Machine", mid.get(), &rsrc, nullptr, nullptr, nullptr);
        machine->SetMemoryLimit(limit);
        machine->Resume();
        machine->Wait(nullptr);
        return *machine;
    }

    std::unique_ptr<TMidCode> mid = std::make_unique<TMidCode>();
    TBasicRsrc rsrc;
    TRecordingAlertSink alerts;
    std::unique_ptr<TVMachine> machine;
};

// Lines of the kinds lists are made of, each repeated to a list of many lines.
struct TLineKind {
    const char* name;
    const char* text;
};
const TLineKind LINE_KINDS[] = {
    {"assignments", "A=A+1:B$=\"XY\""},      {"a condition", "IF A>5 THEN A=0 ELSE A=A+1"},
    {"a loop", "FOR I=1 TO 2:S=S+I*2:NEXT"}, {"a long text", "C$=\"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\""},
    {"a subroutine call", "GOSUB 1000000"},  {"DATA items", "DATA 1,\"TWO\",3.5,FOUR"},
};
constexpr int LINES = 20000;

// How far a charge may be from what was taken.
constexpr double CLOSE = 0.1;

// The run takes its program and its tables of the code from its budget; the compile
// refuses a list whose program, with the text being compiled and the run's tables of
// each code, would pass the limit.
TEST_F(ProgramHeap, TheCompileAndTheRunAreChargedWhatTheProgramAndItsTablesTake)
{
    for (const TLineKind& kind : LINE_KINDS) {
        SCOPED_TRACE(kind.name);
        std::string list = list_of(kind.text, LINES);
        list += "999999 END\n1000000 RETURN\n";
        const size_t before = NewProgram();
        ASSERT_TRUE(Compile(list, TCompiler::DEFAULT_MEMORY_LIMIT)) << alerts.Last();
        const TVMachine& run = RunToEnd(TMemoryBudget::DEFAULT_LIMIT);
        ASSERT_EQ(run.ExitStatusValue(), 0) << run.ErrorText();
        const auto taken = static_cast<double>(counting_heap::LiveBytes() - before);
        EXPECT_GE(static_cast<double>(run.MemoryUsed()), taken * (1 - CLOSE)) << "taken " << taken;
        EXPECT_LE(static_cast<double>(run.MemoryUsed()), taken * (1 + CLOSE)) << "taken " << taken;

        // Below what it takes the list is refused: by the compile, or else (the tables
        // of labels and loops, which the compile does not foresee) by the run before
        // its first line.
        NewProgram();
        alerts.Clear();
        const auto tight = static_cast<size_t>(taken * (1 - CLOSE));
        if (Compile(list, tight))
            EXPECT_EQ(RunToEnd(tight).ErrorText(), RTE_OUT_OF_MEMORY) << "taken " << taken;
        else
            EXPECT_NE(alerts.Last().find(CE_LIST_TOO_LARGE), std::string::npos) << alerts.Last();
        NewProgram();
        const auto withText = taken + static_cast<double>(list.size());
        EXPECT_TRUE(Compile(list, static_cast<size_t>(withText * (1 + CLOSE)))) << alerts.Last();
    }
}

// A recursion that appends to its argument, DEF FNA$(X$)=FNA$(X$+"..."), keeps a
// longer text in each frame. A block made for a call and freed while the frames'
// blocks around it stay is too small for any later text: the host keeps it unused.
// So what the run makes in all, freed or not, must stay near what it may keep.
TEST_F(ProgramHeap, ARecursionThatAppendsToItsArgumentMakesLittleBeyondItsFrames)
{
    constexpr size_t LIMIT = size_t{8} << 20;
    NewProgram();
    ASSERT_TRUE(
        Compile("10 DEF FNA$(X$)=FNA$(X$+\"ABCDEFGHIJ\")\n20 PRINT FNA$(\"\")\n", TCompiler::DEFAULT_MEMORY_LIMIT));
    const size_t made = counting_heap::MadeBytes();
    const TVMachine& run = RunToEnd(LIMIT);
    EXPECT_EQ(run.ErrorText(), std::string(RTE_OUT_OF_MEMORY) + " in 20");
    EXPECT_LE(static_cast<double>(counting_heap::MadeBytes() - made), LIMIT * (1 + CLOSE));
}

// A body reads its text argument as a copy on the value stack. A short one goes into
// a string the stack keeps for reuse, so reading it again and again makes no block:
// a body that reads it four times makes no more than one that reads it once.
TEST_F(ProgramHeap, ReadingAShortTextArgumentMakesNoBlock)
{
    constexpr int CALLS = 2000;
    const auto made_by = [&](const char* body) {
        NewProgram();
        const std::string list = std::string("10 DEF FNA(X$)=") + body + "\n20 A$=\"AB\":FOR I=1 TO " +
                                 std::to_string(CALLS) + ":S=S+FNA(A$+\"C\"):NEXT\n";
        EXPECT_TRUE(Compile(list, TCompiler::DEFAULT_MEMORY_LIMIT)) << alerts.Last();
        const size_t made = counting_heap::MadeBytes();
        const TVMachine& run = RunToEnd(TMemoryBudget::DEFAULT_LIMIT);
        EXPECT_EQ(run.ErrorText(), "");
        return counting_heap::MadeBytes() - made;
    };
    const size_t once = made_by("LEN(X$)");
    const size_t fourTimes = made_by("LEN(X$)+LEN(X$)+LEN(X$)+LEN(X$)");
    EXPECT_LT(fourTimes, once + CALLS) << "once " << once;
}

}  // namespace
