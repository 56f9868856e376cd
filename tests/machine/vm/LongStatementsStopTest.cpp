// Statements that can take long on texts of megabytes ask for the stop request as
// they go, so Kill and the time-out end the run without waiting for them: the
// machine is told to stop before the statement runs, and the statement gives up
// part of the way.

#include <gtest/gtest.h>

#include <string>

#include "tests/machine/vm/MachineTestSupport.h"

namespace {

using S = TStackData;

constexpr std::size_t MB = std::size_t{1} << 20;

class LongStatementsStop : public ::testing::Test {
protected:
    LongStatementsStop() : machine("Virtual Machine", &mid, &rsrc, nullptr, nullptr, nullptr)
    {
        TCodeBuilder(mid).Finish();
    }

    TMidCode mid;
    TBasicRsrc rsrc;
    TTestMachine machine;
};

TEST_F(LongStatementsStop, AJoinOfLongTextsGivesUpAndLeavesTheLeftTextAsItWas)
{
    // Both the join that moves the left text to larger storage and the one that
    // appends in place.
    for (const bool roomy : {false, true}) {
        machine.ValueStack.clear();
        std::string left(3 * MB, 'L');
        if (roomy) left.reserve(8 * MB);
        machine.Push(S::OwnedText(left));
        machine.Push(S::OwnedText(std::string(3 * MB, 'R')));
        machine.Terminate();
        machine.Run(MakeCode(vcBAddString));
        ASSERT_EQ(machine.ValueStack.size(), 1u);
        EXPECT_EQ(std::string(machine.Pop().CString()), std::string(3 * MB, 'L')) << "roomy " << roomy;
    }
}

TEST_F(LongStatementsStop, AStoppedSearchFindsNothing)
{
    machine.Terminate();
    machine.Push(S::OwnedText(std::string(4 * MB, 'X') + "Y"));
    machine.Push(S::OwnedText("Y"));
    machine.Run(MakeCode(vcInstr, false));
    ASSERT_EQ(machine.ValueStack.size(), 1u);
    EXPECT_EQ(machine.StackInt(machine.Pop()), 0);
}

TEST_F(LongStatementsStop, ASearchThatIsNotStoppedFindsTheEnd)
{
    machine.Push(S::OwnedText(std::string(4 * MB, 'X') + "Y"));
    machine.Push(S::OwnedText("Y"));
    machine.Run(MakeCode(vcInstr, false));
    ASSERT_EQ(machine.ValueStack.size(), 1u);
    EXPECT_EQ(machine.StackInt(machine.Pop()), static_cast<int32_t>(4 * MB + 1));
}

}  // namespace
