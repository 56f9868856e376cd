// The push codes and the dispatch table. Every code without a row here reaches
// ExeBasicNoHandler, which reports an internal run-time error.

#include "machine/vm/VMachine.h"

void TVMachine::ExeBasicBPushInt(const TVMCode* code)
{
    PushInt(code->Operand.Long);
}
void TVMachine::ExeBasicBPushFloat(const TVMCode* code)
{
    PushFloat(code->Operand.Single);
}
void TVMachine::ExeBasicBPushDouble(const TVMCode* code)
{
    PushDouble(code->Operand.Double);
}
void TVMachine::ExeBasicBPushString(const TVMCode* code)
{
    PushBorrowedString(code->Operand.Text);
}
void TVMachine::ExeBasicBPushBool(const TVMCode* code)
{
    PushBool(OperandFlag(code));
}
void TVMachine::ExeBasicBPushVar(const TVMCode* code)
{
    PushSlot(sdVar).value.var = code->Operand.Var;
}
void TVMachine::ExeBasicBPushSpecial(const TVMCode* code)
{
    PushSlot(sdMarker).value.marker = static_cast<uint32_t>(code->Operand.Long);
}
void TVMachine::ExeBasicBPushAbbrev(const TVMCode*)
{
    PushSlot(sdOmitted);
}

const TVMachine::TFuncTable& TVMachine::SharedFuncTable()
{
    static const TFuncTable table = [] {
        TFuncTable t(&TVMachine::ExeBasicNoHandler);
        InitFuncTable(t);
        return t;
    }();
    return table;
}

TVMachine::TFuncTable TVMachine::FuncTableWith(std::initializer_list<TFuncTable::Row> own)
{
    const TFuncTable& shared = SharedFuncTable();
    TFuncTable table(shared.Fallback());
    table.Set(own);
    for (uint32_t code = 0; code < TFuncTable::SIZE; ++code) {
        if (shared.IsSet(code) && !table.IsSet(code)) table.Set(code, shared[code]);
    }
    return table;
}

void TVMachine::InitFuncTable(TFuncTable& t)
{
    InitFuncTableBase(t);
    InitFuncTableFunc(t);
    InitFuncTableProc(t);
    InitFuncTableExFunc(t);
    InitFuncTableExProc(t);
    InitFuncTableSound(t);
    InitFuncTableNumeric(t);
    InitFuncTableVariables(t);
    InitFuncTableUserFunc(t);
    InitFuncTableData(t);
    InitFuncTableRun(t);
    InitFuncTableFiles(t);
    InitFuncTableGraphics(t);
    InitFuncTableStrings(t);
    InitFuncTableKanji(t);
    InitFuncTableInput(t);
}

void TVMachine::InitFuncTableBase(TFuncTable& t)
{
    using M = TVMachine;
    InitFuncTableOperators(t);
    t.Set({
        {vcBCmpFor, &M::ExeBasicBCmpFor},
        {vcBPushInt, &M::ExeBasicBPushInt},
        {vcBPushFloat, &M::ExeBasicBPushFloat},
        {vcBPushDouble, &M::ExeBasicBPushDouble},
        {vcBPushString, &M::ExeBasicBPushString},
        {vcBPushBool, &M::ExeBasicBPushBool},
        {vcBPushVar, &M::ExeBasicBPushVar},
        {vcBPushSpecial, &M::ExeBasicBPushSpecial},
        {vcBPushAbbrev, &M::ExeBasicBPushAbbrev},
        {vcBCall, &M::ExeBasicBCall},
        {vcBRet, &M::ExeBasicBRet},
        {vcBExit, &M::ExeBasicBExit},
        {vcBJmp, &M::ExeBasicBJmp},
        {vcBTJmp, &M::ExeBasicNothing},
        {vcBFJmp, &M::ExeBasicBFJmp},
        {vcBLineBegin, &M::ExeBasicBLineBegin},
        {vcBUpdateScreen, &M::ExeBasicBUpdateScreen},
    });
}

void TVMachine::InitFuncTableFunc(TFuncTable& t)
{
    using M = TVMachine;
    t.Set({
        {vcCsrlin, &M::ExeBasicCsrlin},
        {vcPos, &M::ExeBasicPos},
        {vcSpc, &M::ExeBasicSpc},
        {vcTab, &M::ExeBasicTab},
    });
}

void TVMachine::InitFuncTableProc(TFuncTable& t)
{
    using M = TVMachine;
    t.Set({
        {vcConsole, &M::ExeBasicConsole},
        {vcCls, &M::ExeBasicCls},
        {vcEnd, &M::ExeBasicNothing},
        {vcGoto, &M::ExeBasicNothing},
        {vcGosub, &M::ExeBasicNothing},
        {vcLocate, &M::ExeBasicLocate},
        {vcLet, &M::ExeBasicNothing},
        {vcOn, &M::ExeBasicNothing},
        {vcOption, &M::ExeBasicNothing},
        {vcPrint, &M::ExeBasicPrint},
        {vcReturn, &M::ExeBasicNothing},
        {vcRun, &M::ExeBasicNothing},
        {vcStop, &M::ExeBasicStop},
        {vcWrite, &M::ExeBasicWrite},
        {vcBase, &M::ExeBasicNothing},
        {vcPrintUsing, &M::ExeBasicPrintUsing},
        {vcSetIrState, &M::ExeBasicSetIrState},
        {vcSetIrTgt, &M::ExeBasicSetIrTgt},
        {vcWidthProc1, &M::ExeBasicWidthProc1},
        {vcOnGosub, &M::ExeBasicOnGosubGoto},
        {vcOnGoto, &M::ExeBasicOnGosubGoto},
    });
}

void TVMachine::InitFuncTableExFunc(TFuncTable&) {}

void TVMachine::InitFuncTableExProc(TFuncTable&) {}
