// Jumps, subroutines, the FOR test, ON ... GOTO/GOSUB, the end of the program and
// the bookkeeping codes of line beginnings and screen updates.

#include "language/MidCode.h"
#include "machine/devices/BasicRsrc.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"

// The jumps resolve their target where it lies on the stack and then drop it; a
// failing jump ends the run, so what it leaves on the stack does not matter.
void TVMachine::ExeBasicBJmp(const TVMCode*)
{
    ChangePC(Top());
    ValueStack.pop_back();
}

void TVMachine::ExeBasicBFJmp(const TVMCode*)
{
    const int32_t condition = PopInt();
    const TStackData& target = Top();
    if (condition == 0) ChangePC(target);
    ValueStack.pop_back();
}

// The return position takes the target's place on the stack.
void TVMachine::ExeBasicBCall(const TVMCode* code)
{
    TStackData& slot = Top();
    ChangePC(slot);
    slot = TStackData::Return(static_cast<int32_t>(CodeIndex(code) + 1));
}

void TVMachine::ExeBasicBRet(const TVMCode* code)
{
    const bool alone = OperandFlag(code);
    TStackData target;
    if (!alone) target = Pop();
    // Entries are looked at where they lie and dropped, not moved out first.
    for (;;) {
        if (ValueStack.empty()) throw RuntimeException2(RTE_RETURN_WITHOUT_GOSUB);
        const TStackData& entry = ValueStack.back();
        if (entry.type == sdReturn) {
            const int32_t index = entry.value.ret;
            ValueStack.pop_back();
            if (alone) {
                if (index < 1 || static_cast<size_t>(index) > MidCode->Codes.size())
                    throw RuntimeException2(RTE_INTERNAL_ERROR);
                PC = MidCode->Codes.data() + index - 1;
            }
            break;
        }
        ValueStack.pop_back();
    }
    if (!alone) ChangePC(target);
    if (!IrInfoStack.empty() && IrInfoStack.back().Depth == static_cast<long>(ValueStack.size())) {
        const uint32_t mask = IrInfoStack.back().Mask;
        IrInfoStack.pop_back();
        TurnOnInterrupt(mask);
    }
}

void TVMachine::ExeBasicBCmpFor(const TVMCode*)
{
    const double step = PopDouble();
    const double limit = PopDouble();
    const double value = PopDouble();
    const bool goesOn = step >= 0 ? value <= limit : value >= limit;
    PushInt(goesOn ? -1 : 0);
}

void TVMachine::ExeBasicOnGosubGoto(const TVMCode* code)
{
    const int32_t n = code->Operand.Long;
    if (n < 0 || static_cast<size_t>(n) > ValueStack.size()) throw RuntimeException2(RTE_INTERNAL_ERROR);
    std::vector<TStackData> targets(static_cast<size_t>(n));
    for (int32_t i = n - 1; i >= 0; --i) targets[static_cast<size_t>(i)] = Pop();
    const int32_t index = PopInt();
    if (index < 0) throw RuntimeException2(RTE_ILL_FUNC_CALL);
    if (index == 0 || index > n) return;
    const TStackData& chosen = targets[static_cast<size_t>(index - 1)];
    if (chosen.type == sdOmitted) return;
    if (code->Cmd == vcOnGosub) {
        Push(TStackData::Return(static_cast<int32_t>(CodeIndex(code) + 1)));
        ChangePC(chosen);
        ExeBasicOnGosubGotoGosubInvoked();
    } else {
        ChangePC(chosen);
    }
}

void TVMachine::ExeBasicBExit(const TVMCode*)
{
    PC = LastCode();
}

void TVMachine::ExeBasicBLineBegin(const TVMCode* code)
{
    CurLineNum = code->Operand.Long;
}

void TVMachine::ExeBasicBUpdateScreen(const TVMCode*)
{
    Rsrc->UpdateScreen();
}
