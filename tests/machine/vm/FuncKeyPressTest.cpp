// Pressing a function key through the machine: the key's string reaches the key
// buffer and the key's own interrupt bit is requested, for each of the ten keys.

#include <gtest/gtest.h>

#include <string>

#include "tests/machine/vm/MachineTestSupport.h"

namespace {

using S = TStackData;

class FuncKeyPress : public ::testing::Test {
protected:
    FuncKeyPress() : machine("Virtual Machine", &mid, &rsrc, nullptr, nullptr, nullptr)
    {
        TCodeBuilder b(mid);
        b.Line(10).Int(1).Op(vcBPushAbbrev).Op(vcBJmp);
        b.Line(100).Return();
        b.Finish();
        machine.PC = mid.Codes.data() + mid.LineNumMap.at(10);
        // ON KEY GOSUB 100,100,...: every key has the same target; then KEY(n) ON.
        for (int i = 0; i < TKeyBuffer::FUNC_KEY_COUNT; ++i) machine.Push(S::Long(100));
        machine.Run(MakeCode(vcSetIrTgt, int32_t{IR_FUNC_KEY_1}));
        for (int n = 1; n <= TKeyBuffer::FUNC_KEY_COUNT; ++n) {
            machine.Push(S::Long(0x40 + n));
            machine.Push(S::Long(IR_STATE_ON));
            machine.Run(MakeCode(vcSetIrState));
        }
    }

    std::string TakeKeys()
    {
        std::string typed;
        for (std::string key; !(key = rsrc.PopFromKeyBufWithTimeout(0)).empty();) typed += key;
        return typed;
    }

    TMidCode mid;
    TBasicRsrc rsrc;
    TTestMachine machine;
};

TEST_F(FuncKeyPress, TypesTheStringAndRaisesTheKeysOwnBit)
{
    for (int n = 1; n <= TKeyBuffer::FUNC_KEY_COUNT; ++n) {
        const std::string text = "k" + std::to_string(n);
        rsrc.SetFuncKeyStr(n, text);
        machine.PressFuncKey(n);
        EXPECT_EQ(TakeKeys(), text) << "F" << n;
        EXPECT_EQ(machine.IrHappen(), uint32_t{IR_FUNC_KEY_1} << (n - 1)) << "F" << n;
        machine.UnhappenInterrupt(machine.IrHappen());
    }
}

TEST_F(FuncKeyPress, EmptyStringStillRaisesAndOtherNumbersDoNothing)
{
    rsrc.SetFuncKeyStr(3, "");
    machine.PressFuncKey(3);
    EXPECT_EQ(TakeKeys(), "");
    EXPECT_EQ(machine.IrHappen(), uint32_t{IR_FUNC_KEY_1} << 2);
    machine.UnhappenInterrupt(machine.IrHappen());

    for (const int n : {0, -1, 11, 26}) {
        machine.PressFuncKey(n);
        EXPECT_EQ(TakeKeys(), "") << n;
        EXPECT_EQ(machine.IrHappen(), 0u) << n;
    }
}

}  // namespace
