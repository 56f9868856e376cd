// The run's memory budget: programs that keep more than it allows end with "Out of
// memory" in the line that asked, and programs that give memory back run on.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "language/Compiler.h"
#include "machine/vm/MemoryBudget.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "tests/machine/vm/ProgramFixture.h"

namespace {

constexpr size_t kSmallBudget = size_t{1} << 20;

class MemoryBudgetRuns : public ProgramFixture {
protected:
    // Compiles the list and runs it with the given budget; the error text it ended
    // with ("" when none). `used` receives what the budget had taken at the end.
    std::string RunWithBudget(const std::string& list, size_t limit, size_t* used = nullptr)
    {
        TMidCode mid;
        int32_t mode = 0;
        {
            TCompiler compiler(&mid, nullptr, 0);
            EXPECT_TRUE(compiler.Compile(list.c_str(), &mode)) << list;
        }
        TVMachine machine("Virtual Machine", &mid, &rsrc, nullptr, nullptr, nullptr);
        machine.SetRuntimeCompatiMode(mode);
        machine.SetMemoryLimit(limit);
        EXPECT_TRUE(machine.SetStartPos(TRunRequest{}));
        machine.Resume();
        machine.Wait(nullptr);
        if (used != nullptr) *used = machine.MemoryUsed();
        return machine.ErrorText();
    }
};

std::string OutOfMemoryIn(int line)
{
    return std::string(RTE_OUT_OF_MEMORY) + " in " + std::to_string(line);
}

TEST_F(MemoryBudgetRuns, KeepingMoreThanTheBudgetIsOutOfMemoryInItsLine)
{
    struct Case {
        const char* name;
        const char* list;
        int line;
    };
    const Case cases[] = {
        {"a doubling string", "10 A$=\"X\"\n20 FOR I=1 TO 40:A$=A$+A$:NEXT\n", 20},
        {"one large array", "10 DIM A#(200000)\n", 10},
        {"arrays that add up", "10 DIM A#(50000)\n20 DIM B#(50000)\n30 DIM C#(50000)\n", 30},
        {"the texts of a string array",
         "10 DIM A$(2000)\n20 S$=STRING$(255,\"X\"):S$=S$+S$:S$=S$+S$\n30 FOR I=0 TO 2000:A$(I)=S$:NEXT\n", 30},
        {"GET@ images in array elements", "10 DIM A%(100)\n20 FOR I=0 TO 100:GET@(0,0)-(639,399),A%(I):NEXT\n", 20},
        // 1000 by 300 pixels from 225 KB of array: 1.2 MB of image.
        {"a PUT@ picture", "10 DIM A%(56252):A%(0)=1000:A%(1)=300\n20 PUT@(0,0),A%,PSET\n", 20},
        // 200 by 200 pixels each, kept under their elements.
        {"PUT@ pictures kept under their elements",
         "10 DIM A%(80000)\n20 FOR K=0 TO 9:A%(K*7600)=200:A%(K*7600+1)=200:PUT@(0,0),A%(K*7600),PSET:NEXT\n", 20},
        {"DEF FN frames holding texts", "10 DEF FNA(X$)=FNA(X$)\n20 PRINT FNA(STRING$(255,\"X\"))\n", 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RunWithBudget(c.list, kSmallBudget), OutOfMemoryIn(c.line));
    }
}

TEST_F(MemoryBudgetRuns, MemoryGivenBackCanBeTakenAgain)
{
    const char* lists[] = {
        // a string that shrinks again
        "10 S$=STRING$(255,\"X\")\n20 FOR I=1 TO 5000:A$=S$+S$:A$=\"\":NEXT\n",
        // an array dimensioned anew, its texts dropped with it
        "10 FOR I=1 TO 50:DIM A$(1000):A$(5)=STRING$(255,\"X\"):DIM B#(50000):NEXT\n",
        // elements overwritten with texts of the same length
        "10 DIM A$(100)\n20 FOR I=1 TO 20000:A$(I MOD 100)=STRING$(255,\"Y\"):NEXT\n",
        // the frames of calls that returned
        "10 DEF FNA(X$)=LEN(X$)\n20 FOR I=1 TO 20000:N=FNA(STRING$(255,\"X\")):NEXT\n",
        // an image replaced under the same element, and under keys 0 and 1
        "10 FOR I=1 TO 20:GET@(0,0)-(639,399),A%:GET@(0,0)-(639,399),B%(1):NEXT\n",
    };
    for (const char* list : lists) {
        SCOPED_TRACE(list);
        EXPECT_EQ(RunWithBudget(list, 2 * kSmallBudget), "");
    }
}

// The image PUT@ builds from an array picture is charged once while it is kept under
// its element: 1000 by 300 pixels, 1.2 MB, beside what the array takes. The program and
// its run tables are charged too: each list is also run ending at its first line, with
// the same codes, and what that run keeps is taken off.
TEST_F(MemoryBudgetRuns, PictureImagesAreChargedOnceWhileKept)
{
    const std::string array = "10 DIM A%(56252):A%(0)=1000:A%(1)=300\n";
    const size_t picture = 1000 * 300 * sizeof(uint32_t);
    const auto kept_by_run = [&](const std::string& lines, size_t budget, size_t& used) {
        size_t program = 0;
        EXPECT_EQ(RunWithBudget("5 IF Q=0 THEN END\n" + lines, budget, &program), "");
        const std::string ended = RunWithBudget("5 IF Q=1 THEN END\n" + lines, budget, &used);
        used -= program;
        return ended;
    };
    size_t arrayOnly = 0;
    ASSERT_EQ(kept_by_run(array, 4 * kSmallBudget, arrayOnly), "");
    struct Case {
        const char* name;
        const char* line;
        size_t images;  // what the images kept at the end take
    };
    const Case cases[] = {
        {"built once", "20 PUT@(0,0),A%,PSET\n", picture},
        {"drawn again from keys 0 and 1", "20 PUT@(0,0),A%,PSET:PUT@(9,9),A%(0):PUT@(0,0),A%,PSET\n", picture},
        {"replaced by GET@", "20 PUT@(0,0),A%,PSET:GET@(0,0)-(9,9),A%(0)\n", 10 * 10 * sizeof(uint32_t)},
        {"given back by DIM", "20 FOR I=1 TO 5:DIM A%(56252):A%(0)=1000:A%(1)=300:PUT@(0,0),A%,PSET:NEXT\n", picture},
        {"a second picture under its own element",
         "20 PUT@(0,0),A%,PSET:A%(2000)=100:A%(2001)=100:PUT@(0,0),A%(2000),PSET\n",
         picture + 100 * 100 * sizeof(uint32_t)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        size_t used = 0;
        EXPECT_EQ(kept_by_run(array + c.line, 4 * kSmallBudget, used), "");
        EXPECT_EQ(used, arrayOnly + c.images);
    }

    // A picture too large for the budget is refused before its image is made.
    size_t used = 0;
    EXPECT_EQ(kept_by_run(array + "20 PUT@(0,0),A%,PSET\n", kSmallBudget, used), OutOfMemoryIn(20));
    EXPECT_EQ(used, arrayOnly);
}

TEST(MemoryBudget, TakesGivesAndReplacesWithinItsLimit)
{
    TMemoryBudget budget(100);
    EXPECT_TRUE(budget.Take(60));
    EXPECT_FALSE(budget.Take(41));
    EXPECT_EQ(budget.Used(), 60u);
    EXPECT_TRUE(budget.Replace(60, 100));
    EXPECT_FALSE(budget.Replace(10, 11));
    EXPECT_EQ(budget.Used(), 100u);
    budget.Give(500);  // more than was taken: nothing is left taken
    EXPECT_EQ(budget.Used(), 0u);
    EXPECT_EQ(budget.Room(), 100u);
    EXPECT_FALSE(budget.Take(SIZE_MAX));
}

}  // namespace
