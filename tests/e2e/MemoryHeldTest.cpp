// What a run really holds stays near its memory budget: programs that keep much text
// run through kivo-headless with a small budget, and the driver's peak resident set,
// beyond that of a run that keeps nothing, stays under the budget and a half. Each
// program either ends normally or ends in "Out of memory" in the line that asked.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "tests/TempFolder.h"
#include "tests/e2e/HeadlessProcess.h"

namespace {

constexpr long kBudgetMib = 48;

// The thread checker's shadow of every byte is several bytes: the resident set says
// nothing about the program's own memory there.
#if defined(__SANITIZE_THREAD__)
#define KIVO_THREAD_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define KIVO_THREAD_CHECKED 1
#endif
#endif
#ifdef KIVO_THREAD_CHECKED
constexpr bool kMeasuresHeldMemory = false;
#else
constexpr bool kMeasuresHeldMemory = true;
#endif

// Blocks freed by the program are given back at once: the address checker otherwise
// holds them back (up to 256 MB), and that would be counted as the program's.
class QuarantineOff {
public:
    QuarantineOff()
    {
        const char* options = std::getenv("ASAN_OPTIONS");
        if (options != nullptr) mOld = options;
        const std::string changed = mOld.empty() ? "quarantine_size_mb=0" : mOld + ":quarantine_size_mb=0";
        ::setenv("ASAN_OPTIONS", changed.c_str(), 1);
    }
    ~QuarantineOff()
    {
        if (mOld.empty())
            ::unsetenv("ASAN_OPTIONS");
        else
            ::setenv("ASAN_OPTIONS", mOld.c_str(), 1);
    }

private:
    std::string mOld;
};

struct Case {
    const char* name;
    const char* list;
    int outOfMemoryLine;  // the line that ends in "Out of memory", or 0 for a normal end
};

const Case kCases[] = {
    // Joins of 9 parts grow their text by doubling, to 1.8 times its length.
    {"texts joined into array elements",
     "10 DIM S$(30000)\n20 A$=STRING$(255,\"Q\")\n30 FOR I=0 TO 30000\n40 S$(I)=A$+A$+A$+A$+A$+A$+A$+A$+A$\n50 NEXT\n",
     40},
    // T$ keeps the room of B$'s copy when it is emptied; the next store gives that
    // string back to the pool, and the copy of C$ takes it.
    {"a one-byte text after a long temporary",
     "10 DIM S$(20000)\n20 C$=\"A\":B$=STRING$(255,\"X\"):B$=B$+B$+B$+B$+B$+B$+B$+B$+B$+B$+B$+B$+B$+B$+B$\n"
     "30 FOR I=0 TO 20000\n40 T$=B$:T$=\"\"\n50 S$(I)=C$\n60 NEXT\n70 PRINT \"END\"\n",
     0},
    {"a doubling string", "10 A$=\"X\"\n20 FOR I=1 TO 40:A$=A$+A$:NEXT\n", 20},
    // A line of 24 MB, written by the program, read back whole.
    {"a long line read from a file",
     "10 A$=STRING$(255,\"L\"):FOR I=1 TO 8:A$=A$+A$:NEXT\n20 OPEN \"LONG\" FOR OUTPUT AS #1\n"
     "30 FOR I=1 TO 370:PRINT #1,A$;:NEXT\n40 CLOSE #1:A$=\"\"\n50 OPEN \"LONG\" FOR INPUT AS #1\n"
     "60 LINE INPUT #1,B$\n",
     60},
    // The same line read by INPUT$, which asks for more characters than it holds.
    {"the characters of a long line read from a file",
     "10 A$=STRING$(255,\"L\"):FOR I=1 TO 8:A$=A$+A$:NEXT\n20 OPEN \"LONG\" FOR OUTPUT AS #1\n"
     "30 FOR I=1 TO 370:PRINT #1,A$;:NEXT\n40 CLOSE #1:A$=\"\"\n50 OPEN \"LONG\" FOR INPUT AS #1\n"
     "60 B$=INPUT$(30000000,#1)\n",
     60},
    {"a string grown in place",
     "10 FOR I=1 TO 1000000:A$=A$+\"0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF\":NEXT\n", 10},
};

class MemoryHeld : public ::testing::Test {
protected:
    // Runs the list with the small budget, or another.
    THeadlessOutcome Run(const std::string& list, long budgetMib = kBudgetMib)
    {
        const std::string path = (mFolder.Path() / "prog.bas").string();
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out << list;
        }
        return run_headless_process({"--memory-limit", std::to_string(budgetMib), "--drive",
                                     "1=" + (mFolder.Path() / "drive1").string(), "--timeout", "60", path});
    }
    void SetUp() override { std::filesystem::create_directories(mFolder.Path() / "drive1"); }

    QuarantineOff mQuarantineOff;
    TTempFolder mFolder{"kivo-memory-held"};
};

TEST_F(MemoryHeld, RunsThatKeepMuchTextStayNearTheBudget)
{
    const THeadlessOutcome empty = Run("10 PRINT \"END\"\n");
    ASSERT_EQ(empty.status, 0) << empty.err;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const THeadlessOutcome outcome = Run(c.list);
        if (c.outOfMemoryLine == 0) {
            EXPECT_EQ(outcome.status, 0) << outcome.err;
        } else {
            EXPECT_EQ(outcome.status, 1);
            EXPECT_NE(outcome.err.find("Out of memory."), std::string::npos) << outcome.err;
            EXPECT_NE(outcome.err.find("Line: " + std::to_string(c.outOfMemoryLine)), std::string::npos) << outcome.err;
        }
        if (kMeasuresHeldMemory) {
            EXPECT_LE(outcome.peakRssKib - empty.peakRssKib, kBudgetMib * 1024 * 3 / 2)
                << "peak " << outcome.peakRssKib << " KiB, an empty run's " << empty.peakRssKib << " KiB";
        }
    }
}

// The compiled program counts too: a list too large for the limit is a compile error.
TEST_F(MemoryHeld, AListTooLargeForTheLimitIsACompileError)
{
    std::string list;
    for (int line = 1; line <= 5000; ++line) list += std::to_string(line) + " A=A+1:B$=\"XY\"\n";
    const THeadlessOutcome outcome = Run(list, 1);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("Out of memory: the list is too large to compile"), std::string::npos) << outcome.err;
    EXPECT_EQ(Run(list).status, 0) << "the same list compiles with more room";
}

// The run's tables of the code are taken from the same budget: a list whose program
// alone would fit the limit, but not with them, is too large to compile.
TEST_F(MemoryHeld, TheRunsTablesOfTheCodeCountInTheCompile)
{
    std::string list;
    for (int line = 1; line <= 15000; ++line) list += std::to_string(line) + " A=A+1:B$=\"XY\"\n";
    const THeadlessOutcome outcome = Run(list, 8);
    EXPECT_EQ(outcome.status, 2);
    EXPECT_NE(outcome.err.find("Out of memory: the list is too large to compile"), std::string::npos) << outcome.err;
}

}  // namespace
