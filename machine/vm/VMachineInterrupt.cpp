// Interrupts and event traps: the request word that other threads set, its service
// before each code, the trap states and targets, and the STOP statement.

#include "language/EventMasks.h"
#include "language/MidCode.h"
#include "machine/devices/BasicRsrc.h"
#include "machine/host/MachineSettings.h"
#include "machine/music/MMLPlayer.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"

namespace {

constexpr int FIRST_TRAP_BIT = 3;
constexpr int LAST_TRAP_BIT = 25;
constexpr int FUNC_KEY_COUNT = 10;
constexpr int MOUSE_EVENT_COUNT = 5;

// The compiled trap statements name the events by the bits the machine raises.
static_assert(IR_STOP_KEY == event_mask::Stop && IR_HELP_KEY == event_mask::Help && IR_ON_TIME == event_mask::Time);
static_assert(IR_FUNC_KEY_1 == event_mask::Key && IR_PLAY == event_mask::Play && IR_MOUSE_MOVE == event_mask::Mouse);

// The trap bit that a switch's event id names: STOP, HELP, TIME$ and PLAY by their
// own masks, KEY(n) as 0x40 + n for keys 1 to 10, MOUSE(n) as 0x200000 + n for
// events 1 to 5. Any other id is 0: KEY(0) or KEY(13) would otherwise shift into
// another event's bit and arm its trap.
uint32_t TrapMaskOfId(int32_t id)
{
    using namespace event_mask;
    if (id == Stop || id == Help || id == Time || id == Play) return static_cast<uint32_t>(id);
    if (id > Key && id <= Key + FUNC_KEY_COUNT) return IR_FUNC_KEY_1 << (id - Key - 1);
    if (id > Mouse && id <= Mouse + MOUSE_EVENT_COUNT) return IR_MOUSE_MOVE << (id - Mouse - 1);
    return 0;
}

// KEY(n) and MOUSE(b) name their base in the switch's operand: the id, base + n, must
// then be one of that event's own, or n was out of range and reached another event
// (KEY(-56) is STOP's id). A switch of a fixed event has 0 there.
bool IsNumberedEventOf(int32_t base, int32_t id)
{
    using namespace event_mask;
    if (base == Key) return id > Key && id <= Key + FUNC_KEY_COUNT;
    if (base == Mouse) return id > Mouse && id <= Mouse + MOUSE_EVENT_COUNT;
    return true;
}

}  // namespace

void TVMachine::SetIrTarget(int bit, TStackData target)
{
    IrTargets[bit] = std::move(target);
    IrTargetSet[bit].store(IrTargets[bit].type != sdNone, std::memory_order_release);
}

void TVMachine::HappenInterrupt(long mask)
{
    RaiseEvent(static_cast<uint32_t>(mask));
}

bool TVMachine::PressStopKey()
{
    return RaiseEvent(IR_STOP_KEY);
}

bool TVMachine::RaiseEvent(uint32_t m)
{
    if (m == 0) return false;
    const uint32_t bit = NumShifts(m);
    if (bit >= 32) return false;
    const bool hasTarget = IrTargetSet[bit].load(std::memory_order_acquire);
    const uint8_t state = IrStates[bit].load(std::memory_order_acquire);
    if (m == IR_STOP_KEY && (!hasTarget || state == IR_STATE_OFF)) {
        Terminate();
        return false;
    }
    if (!hasTarget) return false;
    if (state == IR_STATE_ON) {
        IrRequest.fetch_or(m, std::memory_order_acq_rel);
        return true;
    }
    if (state == IR_STATE_STOP) {
        IrHeld.fetch_or(m, std::memory_order_acq_rel);
        return true;
    }
    return false;
}

void TVMachine::UnhappenInterrupt(long mask)
{
    IrRequest.fetch_and(~static_cast<uint32_t>(mask), std::memory_order_acq_rel);
}

void TVMachine::TurnOnInterrupt(uint32_t mask)
{
    const uint32_t bit = NumShifts(mask);
    if (bit >= 32) return;
    IrStates[bit].store(IR_STATE_ON, std::memory_order_release);
    // Clear first, then request: an event held meanwhile is never lost.
    const uint32_t held = IrHeld.fetch_and(~mask, std::memory_order_acq_rel);
    if (held & mask) IrRequest.fetch_or(mask, std::memory_order_acq_rel);
}

void TVMachine::Interrupt()
{
    const uint32_t request = IrRequest.load(std::memory_order_acquire);
    if (request & IR_TERMINATE) {
        InterruptVMTerminate();
        return;
    }
    if (request & IR_SPEED_CONTROL) InterruptVMSleep();
    for (int bit = FIRST_TRAP_BIT; bit <= LAST_TRAP_BIT; ++bit) {
        if (IrRequest.load(std::memory_order_acquire) & (1u << bit)) InterruptGeneral(bit);
    }
}

void TVMachine::InterruptVMTerminate()
{
    ExitStatus = 1;
    GenerateErrStrDisplay(RTE_STOP_BREAK);
    PC = LastCode();
    IrRequest.fetch_and(~IR_TERMINATE, std::memory_order_acq_rel);
}

void TVMachine::InterruptVMSleep()
{
    if (MidCode->StatementBeginSet.count(static_cast<int32_t>(CodeIndex(PC))) == 0) return;
    const int64_t interval = machine_speed_control_interval();
    if (interval <= 0) return;
    if (interval < 20000) {
        // Short waits are busy: a sleep would overshoot them.
        const int64_t until = Clock->NowMicros() + interval;
        while (Clock->NowMicros() < until) {}
    } else {
        Clock->SleepMicros(interval);
    }
}

void TVMachine::InterruptGeneral(int bit)
{
    const uint32_t mask = 1u << bit;
    IrStates[bit].store(IR_STATE_STOP, std::memory_order_release);
    IrInfoStack.push_back(TIrInfo{mask, static_cast<long>(ValueStack.size())});
    Push(TStackData::Return(static_cast<int32_t>(CodeIndex(PC))));
    ChangePC(IrTargets[bit]);
    ++PC;
    IrRequest.fetch_and(~mask, std::memory_order_acq_rel);
    TrapSubroutineEntered();
}

void TVMachine::ExeBasicSetIrState(const TVMCode* code)
{
    const int32_t state = PopInt();
    const int32_t id = PopInt();
    const uint32_t mask = TrapMaskOfId(id);
    if (mask == 0 || !IsNumberedEventOf(code->Operand.Long, id)) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    const uint32_t bit = NumShifts(mask);
    if (state == IR_STATE_OFF || state == IR_STATE_STOP)
        IrStates[bit].store(static_cast<uint8_t>(state), std::memory_order_release);
    else if (state == IR_STATE_ON)
        TurnOnInterrupt(mask);
}

void TVMachine::ExeBasicSetIrTgt(const TVMCode* code)
{
    const uint32_t baseMask = static_cast<uint32_t>(code->Operand.Long);
    const int count = baseMask == IR_FUNC_KEY_1 ? FUNC_KEY_COUNT : 1;
    for (int slot = count - 1; slot >= 0; --slot) {
        if (Top().type == sdOmitted) {
            Pop();
            continue;
        }
        TStackData target = Pop();
        uint32_t mask = baseMask;
        if (baseMask == IR_MOUSE_MOVE) {
            const int32_t n = PopInt();
            if (n < 1 || n > MOUSE_EVENT_COUNT) throw RuntimeException2(RTE_ILL_FUNC_CALL);
            mask = IR_MOUSE_MOVE << (n - 1);
        }
        const uint32_t bit = NumShifts(mask) + static_cast<uint32_t>(slot);
        if (bit >= 32) throw RuntimeException2(RTE_INTERNAL_ERROR);
        if (baseMask == IR_ON_TIME) {
            const TStackData time = Pop();
            const char* text = time.CString();
            if (Rsrc->SetOnTimeDl(text ? text : "") != 0) throw RuntimeException2(RTE_ILL_FUNC_CALL);
        } else if (baseMask == IR_PLAY) {
            const int32_t threshold = PopInt();
            if (MmlPlayer != nullptr) MmlPlayer->SetIrOptByte(threshold);
            const int32_t channel = PopInt();
            if (channel > 6) throw RuntimeException2(RTE_ILL_FUNC_CALL);
            if (MmlPlayer != nullptr) MmlPlayer->SetIrOptCh(channel);
        }
        SetIrTarget(static_cast<int>(bit), std::move(target));
    }
}

void TVMachine::ExeBasicStop(const TVMCode*)
{
    throw RuntimeException2(RTE_STOP_BREAK);
}
