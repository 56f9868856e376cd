// RUN, RUN with a file name, and CHAIN. The machine never restarts itself: each of
// them sends a run request to the receiver of run requests (the editor) and ends its
// own run, as END does. The editor then loads the named file, compiles and starts a
// new machine.

#include "foundation/Common.h"
#include "language/MidCode.h"
#include "machine/host/MachineSettings.h"
#include "machine/vm/RuntimeErrorKeys.h"
#include "machine/vm/VMachine.h"

void TVMachine::InitFuncTableRun(TFuncTable& t)
{
    using M = TVMachine;
    t.Set({
        {vcChain, &M::ExeBasicChain},
        {vcRunCur, &M::ExeBasicRunCur},
        {vcRunSpecify, &M::ExeBasicRunSpecify},
    });
}

void TVMachine::SendRunRequest(const TRunRequest& request)
{
    RunRequestSent = true;
    if (RunRqstView != nullptr) RunRqstView->VMachineRunRqtd(request);
}

void TVMachine::ExeBasicRunCur(const TVMCode* code)
{
    PC = LastCode();
    if (machine_app_quitting()) return;
    TRunRequest request;
    if (OperandFlag(code)) {
        const TStackData target = Pop();
        if (target.IsNumber())
            request.LineNum = StackInt(target);
        else if (target.type == sdString)
            request.Label = target.CString();
    }
    SendRunRequest(request);
}

void TVMachine::ExeBasicRunSpecify(const TVMCode* code)
{
    PC = LastCode();
    if (machine_app_quitting()) return;
    const TStackData name = Pop();
    const char* text = name.CString();
    if (text == nullptr || *text == '\0') throw RuntimeException2(RTE_FILE_NOT_FOUND);
    TRunRequest request;
    request.FileName = FullPathFName(std::string(text, name.TextLength()), true);
    request.ROpt = OperandFlag(code);
    SendRunRequest(request);
}

void TVMachine::ExeBasicChain(const TVMCode* code)
{
    PC = LastCode();
    if (machine_app_quitting()) return;
    const int32_t count = code->Operand.Long;
    TRunRequest request;
    // The ALL flag leaves no trace: the new run is a new compile with a new machine.
    if (count == 4) Pop();
    if (count > 2) {
        if (Top().IsNumber()) {
            request.LineNum = PopInt();
        } else if (Top().type == sdString) {
            const TStackData label = Pop();
            request.Label = label.CString();
        }
    }
    const TStackData name = Pop();
    const char* text = name.CString();
    if (text == nullptr || *text == '\0') throw RuntimeException2(RTE_FILE_NOT_FOUND);
    request.FileName = FullPathFName(std::string(text, name.TextLength()), true);
    request.Merge = StackBool(Pop());
    SendRunRequest(request);
}
