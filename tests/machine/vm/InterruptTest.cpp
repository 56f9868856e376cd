// Interrupts and event traps: raising events, trap states and targets, the order of
// service, held events and the speed-control wait.

#include <gtest/gtest.h>

#include <mutex>
#include <vector>

#include "machine/vm/RuntimeErrorKeys.h"
#include "platform/Locale.h"
#include "tests/machine/vm/MachineTestSupport.h"

namespace {

using S = TStackData;

// A clock that never sleeps: it records the sleeps and advances by them.
class TFakeClock : public THostClock {
public:
    int64_t NowMicros() const override
    {
        std::lock_guard<std::mutex> lock(mLock);
        return mNow += 7;  // every look at the clock takes a little time
    }
    void SleepMicros(int64_t micros) const override
    {
        std::lock_guard<std::mutex> lock(mLock);
        mSleeps.push_back(micros);
        mNow += micros;
    }
    std::vector<int64_t> Sleeps() const
    {
        std::lock_guard<std::mutex> lock(mLock);
        return mSleeps;
    }

private:
    mutable std::mutex mLock;
    mutable int64_t mNow = 0;
    mutable std::vector<int64_t> mSleeps;
};

class Interrupts : public ::testing::Test {
protected:
    Interrupts() : machine("Virtual Machine", &mid, &rsrc, nullptr, nullptr, nullptr)
    {
        TCodeBuilder b(mid);
        b.Line(10).Int(1).Op(vcBPushAbbrev).Op(vcBJmp);  // a statement with codes inside it
        b.Line(100).Return();
        b.Line(200).Return();
        b.Finish();
        machine.SetClock(&clock);
        GoTo(10);
    }
    void SetUp() override { platform::use_key_identity_catalogue(true); }
    void TearDown() override { platform::use_key_identity_catalogue(false); }

    int32_t LineIndex(int32_t line) { return mid.LineNumMap.at(line); }
    void GoTo(int32_t line) { machine.PC = mid.Codes.data() + LineIndex(line); }
    void Run(const TVMCode& code, std::initializer_list<TStackData> operands)
    {
        for (const TStackData& s : operands) machine.Push(s);
        machine.Run(code);
    }
    void SetState(int32_t id, int32_t state) { Run(MakeCode(vcSetIrState), {S::Long(id), S::Long(state)}); }
    void OnKeyGosub(int32_t firstKeyLine)
    {
        machine.Push(S::Long(firstKeyLine));
        for (int i = 1; i < 10; ++i) machine.Push(S::Omitted());
        machine.Run(MakeCode(vcSetIrTgt, int32_t{IR_FUNC_KEY_1}));
    }
    void OnMouseGosub(int32_t n, int32_t line)
    {
        Run(MakeCode(vcSetIrTgt, int32_t{IR_MOUSE_MOVE}), {S::Long(n), S::Long(line)});
    }

    TMidCode mid;
    TBasicRsrc rsrc;
    TFakeClock clock;
    TTestMachine machine;
};

TEST_F(Interrupts, HighestPendingBitRunsFirstAndReturnsResumeInOrder)
{
    OnKeyGosub(100);
    OnMouseGosub(1, 200);
    SetState(0x41, IR_STATE_ON);      // KEY(1) ON
    SetState(0x200001, IR_STATE_ON);  // MOUSE(1) ON
    machine.HappenInterrupt(IR_FUNC_KEY_1);
    machine.HappenInterrupt(IR_MOUSE_MOVE);
    machine.Interrupt();
    EXPECT_EQ(machine.CodeIndex(machine.PC), LineIndex(200));
    EXPECT_EQ(machine.IrInfoStack.size(), 2u);
    EXPECT_EQ(machine.IrStates[21].load(), IR_STATE_STOP);

    machine.Run(MakeCode(vcBRet, true));
    EXPECT_EQ(machine.CodeIndex(machine.PC) + 1, LineIndex(100));  // the loop advances to it
    EXPECT_EQ(machine.IrStates[21].load(), IR_STATE_ON);
    EXPECT_EQ(machine.IrStates[6].load(), IR_STATE_STOP);
    machine.Run(MakeCode(vcBRet, true));
    EXPECT_EQ(machine.CodeIndex(machine.PC) + 1, LineIndex(10));  // the interrupted code runs next
    EXPECT_EQ(machine.IrStates[6].load(), IR_STATE_ON);
    EXPECT_TRUE(machine.IrInfoStack.empty());
    EXPECT_TRUE(machine.ValueStack.empty());
}

TEST_F(Interrupts, EventDuringItsOwnSubroutineIsHeldThenServiced)
{
    OnKeyGosub(100);
    SetState(0x41, IR_STATE_ON);
    machine.HappenInterrupt(IR_FUNC_KEY_1);
    machine.Interrupt();
    machine.HappenInterrupt(IR_FUNC_KEY_1);  // arrives while its subroutine runs
    EXPECT_EQ(machine.ValueStack.size(), 1u);
    machine.Interrupt();  // nothing requested: still held
    EXPECT_EQ(machine.IrInfoStack.size(), 1u);
    machine.Run(MakeCode(vcBRet, true));
    machine.Interrupt();  // requested again by the RETURN
    EXPECT_EQ(machine.IrInfoStack.size(), 1u);
    EXPECT_EQ(machine.CodeIndex(machine.PC), LineIndex(100));
}

TEST_F(Interrupts, TrapStatesDecideWhatHappensToEvents)
{
    OnKeyGosub(100);
    SetState(0x41, IR_STATE_OFF);
    machine.HappenInterrupt(IR_FUNC_KEY_1);
    SetState(0x41, IR_STATE_ON);
    machine.Interrupt();
    EXPECT_TRUE(machine.IrInfoStack.empty());  // dropped while OFF

    SetState(0x41, IR_STATE_STOP);
    machine.HappenInterrupt(IR_FUNC_KEY_1);
    machine.Interrupt();
    EXPECT_TRUE(machine.IrInfoStack.empty());  // held while STOP
    SetState(0x41, IR_STATE_ON);
    machine.Interrupt();
    EXPECT_EQ(machine.IrInfoStack.size(), 1u);  // released by ON
}

TEST_F(Interrupts, EventWithoutTargetIsDropped)
{
    SetState(0x42, IR_STATE_ON);  // KEY(2) ON, no ON KEY target
    machine.HappenInterrupt(IR_FUNC_KEY_1 << 1);
    machine.Interrupt();
    EXPECT_TRUE(machine.IrInfoStack.empty());
    EXPECT_EQ(machine.CodeIndex(machine.PC), LineIndex(10));
}

TEST_F(Interrupts, EventIdsAddressTheirBits)
{
    SetState(74, IR_STATE_STOP);  // KEY(10)
    EXPECT_EQ(machine.IrStates[15].load(), IR_STATE_STOP);
    SetState(0x200003, IR_STATE_STOP);  // MOUSE(3)
    EXPECT_EQ(machine.IrStates[23].load(), IR_STATE_STOP);
    SetState(0x20, IR_STATE_STOP);  // TIME$
    EXPECT_EQ(machine.IrStates[5].load(), IR_STATE_STOP);
}

// An event number outside its range is refused and switches no trap at all, least of
// all the one whose bit the number would shift into.
TEST_F(Interrupts, EventIdsOutsideTheirRangesAreRefused)
{
    struct Case {
        const char* name;
        int32_t id;
    };
    // clang-format off
    const Case cases[] = {
        {"KEY(0)", 0x40},          {"KEY(11)", 0x4B},          {"KEY(13), PLAY's bit", 0x4D},
        {"KEY(-100)", 64 - 100},   {"MOUSE(0)", 0x200000},     {"MOUSE(6)", 0x200006},
        {"MOUSE(-1)", 0x1FFFFF},   {"two event bits", 0x30},   {"no event", 0},
    };
    // clang-format on
    uint8_t before[32];
    for (int bit = 0; bit < 32; ++bit) before[bit] = machine.IrStates[bit].load();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        machine.ValueStack.clear();
        EXPECT_THROW(SetState(c.id, IR_STATE_ON), TException);
        EXPECT_EQ(machine.ErrorText(), std::string(RTE_ILL_FUNC_CALL));
        for (int bit = 0; bit < 32; ++bit) EXPECT_EQ(machine.IrStates[bit].load(), before[bit]) << "bit " << bit;
    }
}

// KEY(n) and MOUSE(b) name their base in the switch's operand: a number whose id,
// base + n, is another event's (KEY(-56) is STOP's) is refused too, whatever its size
// or sign, and switches nothing.
TEST_F(Interrupts, NumberedEventsRefuseIdsOfOtherEvents)
{
    struct Case {
        const char* name;
        int32_t base;
        int32_t id;
    };
    // clang-format off
    const Case cases[] = {
        {"KEY(-56), STOP's id",    IR_FUNC_KEY_1,  0x8},
        {"KEY(-48), HELP's id",    IR_FUNC_KEY_1,  0x10},
        {"KEY(-32), TIME$'s id",   IR_FUNC_KEY_1,  0x20},
        {"KEY(n), PLAY's id",      IR_FUNC_KEY_1,  0x40000},
        {"KEY(n), MOUSE(1)'s id",  IR_FUNC_KEY_1,  0x200001},
        {"MOUSE(b), STOP's id",    IR_MOUSE_MOVE,  0x8},
        {"MOUSE(b), KEY(1)'s id",  IR_MOUSE_MOVE,  0x41},
        {"MOUSE(b), PLAY's id",    IR_MOUSE_MOVE,  0x40000},
    };
    // clang-format on
    uint8_t before[32];
    for (int bit = 0; bit < 32; ++bit) before[bit] = machine.IrStates[bit].load();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        machine.ValueStack.clear();
        EXPECT_THROW(Run(MakeCode(vcSetIrState, c.base), {S::Long(c.id), S::Long(IR_STATE_STOP)}), TException);
        EXPECT_EQ(machine.ErrorText(), std::string(RTE_ILL_FUNC_CALL));
        for (int bit = 0; bit < 32; ++bit) EXPECT_EQ(machine.IrStates[bit].load(), before[bit]) << "bit " << bit;
    }
    Run(MakeCode(vcSetIrState, int32_t{IR_FUNC_KEY_1}), {S::Long(74), S::Long(IR_STATE_STOP)});  // KEY(10)
    EXPECT_EQ(machine.IrStates[15].load(), IR_STATE_STOP);
    Run(MakeCode(vcSetIrState, int32_t{IR_MOUSE_MOVE}), {S::Long(0x200005), S::Long(IR_STATE_STOP)});  // MOUSE(5)
    EXPECT_EQ(machine.IrStates[25].load(), IR_STATE_STOP);
}

TEST_F(Interrupts, TargetErrors)
{
    struct Case {
        const char* name;
        std::vector<TStackData> operands;
        int32_t mask;
    };
    const Case cases[] = {
        {"mouse event 0", {S::Long(0), S::Long(100)}, IR_MOUSE_MOVE},
        {"mouse event 6", {S::Long(6), S::Long(100)}, IR_MOUSE_MOVE},
        {"a bad time text", {S::BorrowedText("25:00:00"), S::Long(100)}, IR_ON_TIME},
        {"a short time text", {S::BorrowedText("1:00:00"), S::Long(100)}, IR_ON_TIME},
        {"play channel 7", {S::Long(7), S::Long(1), S::Long(100)}, IR_PLAY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        machine.ValueStack.clear();
        for (const TStackData& s : c.operands) machine.Push(s);
        try {
            machine.Run(MakeCode(vcSetIrTgt, c.mask));
            ADD_FAILURE() << "no error";
        } catch (const TException&) {
            EXPECT_EQ(machine.ErrorText(), std::string(RTE_ILL_FUNC_CALL));
        }
    }
    THeadlessOnTimeTimer timer;
    TDeviceHost host;
    host.OnTime = &timer;
    rsrc.SetOwner(host);
    machine.ValueStack.clear();
    Run(MakeCode(vcSetIrTgt, int32_t{IR_ON_TIME}), {S::BorrowedText("23:59:07"), S::Long(100)});
    EXPECT_EQ(timer.Armed(), "23:59:07");
}

TEST_F(Interrupts, UndefinedTrapTargetEndsTheRunWhenServiced)
{
    Run(MakeCode(vcSetIrTgt, int32_t{IR_HELP_KEY}), {S::Long(555)});
    SetState(IR_HELP_KEY, IR_STATE_ON);
    machine.HappenInterrupt(IR_HELP_KEY);
    EXPECT_THROW(machine.Interrupt(), TException);
    EXPECT_EQ(machine.ErrorText(), std::string(RTE_UNDEFINED_LINE_NUMBER));
}

TEST_F(Interrupts, SpeedControlWaitsOnlyAtStatementBeginnings)
{
    machine.HappenInterrupt(IR_SPEED_CONTROL);
    machine.Interrupt();  // at the line's first code
    EXPECT_EQ(clock.Sleeps(), std::vector<int64_t>{20000});
    ++machine.PC;  // inside the statement
    machine.Interrupt();
    EXPECT_EQ(clock.Sleeps().size(), 1u);
    machine.UnhappenInterrupt(IR_SPEED_CONTROL);
    GoTo(10);
    if (machine.IrHappen() != 0) machine.Interrupt();
    EXPECT_EQ(clock.Sleeps().size(), 1u);
}

TEST_F(Interrupts, StopRequestWinsOverEveryOtherBit)
{
    OnKeyGosub(100);
    SetState(0x41, IR_STATE_ON);
    machine.HappenInterrupt(IR_FUNC_KEY_1);
    machine.Terminate();
    machine.Interrupt();
    EXPECT_TRUE(machine.IrInfoStack.empty());
    EXPECT_EQ(machine.CodeIndex(machine.PC), static_cast<long>(mid.Codes.size()) - 1);
    EXPECT_EQ(machine.ExitStatusValue(), 1);
    EXPECT_EQ(machine.ErrorText(), std::string(RTE_STOP_BREAK));
}

}  // namespace
