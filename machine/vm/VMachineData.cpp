// DATA, READ and RESTORE. The items stay in the code vector as vcData codes, one per
// item; READ walks the code forward from its read position to find the next one, so
// items are read in the order of the program list wherever they stand.

#include "language/MidCode.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"

void TVMachine::InitFuncTableData(TFuncTable& t)
{
    using M = TVMachine;
    t.Set({
        {vcData, &M::ExeBasicData},
        {vcRead, &M::ExeBasicRead},
        {vcRestore, &M::ExeBasicRestore},
    });
}

void TVMachine::ExeBasicData(const TVMCode*)
{
    // Met in the flow of the program, the statement's items are skipped.
    const TVMCode* const last = LastCode();
    while (PC < last && (PC + 1)->Cmd == vcData) ++PC;
}

void TVMachine::ExeBasicRead(const TVMCode* code)
{
    const int32_t n = code->Operand.Long;
    std::vector<TStackData> vars;
    std::vector<int32_t> counts;
    SheltVar(n, &vars, &counts);
    const std::vector<TVMCode>& codes = MidCode->Codes;
    for (int32_t i = 0; i < n; ++i) {
        while (static_cast<size_t>(DataPos) < codes.size() && codes[static_cast<size_t>(DataPos)].Cmd != vcData)
            ++DataPos;
        if (static_cast<size_t>(DataPos) >= codes.size()) throw RuntimeException2(RTE_OUT_OF_DATA);
        const char* item = codes[static_cast<size_t>(DataPos)].Operand.Text;
        AssignInputDatas({item != nullptr ? item : ""}, &vars, &counts);
        ++DataPos;
    }
}

void TVMachine::ExeBasicRestore(const TVMCode* code)
{
    if (!OperandFlag(code)) {
        DataPos = 1;
        return;
    }
    const TStackData target = Pop();
    int32_t index = 0;
    switch (target.type) {
    case sdLong:
    case sdSingle:
    case sdDouble: {
        const auto found = MidCode->LineNumMap.find(StackInt(target));
        if (found != MidCode->LineNumMap.end()) index = found->second;
        if (index == 0) throw RuntimeException2(RTE_UNDEFINED_LINE_NUMBER);
        break;
    }
    case sdString: {
        const auto found = MidCode->LabelMap.find(target.CString());
        if (found != MidCode->LabelMap.end()) index = found->second;
        if (index == 0) throw RuntimeException2(RTE_UNDEFINED_LABEL);
        break;
    }
    default: return;
    }
    // The next READ searches from the target code itself, so a line without DATA
    // leads to the first item after it.
    DataPos = index;
}
