// The machine core: construction, the dispatch loop, the start position, jumps and
// the end of a run.

#include "machine/vm/VMachine.h"

#include <functional>
#include <new>
#include <optional>

#include "foundation/AlertSink.h"
#include "language/MidCode.h"
#include "machine/devices/BasicRsrc.h"
#include "machine/host/HeadlessHost.h"
#include "machine/host/MachineSettings.h"
#include "machine/music/MMLPlayer.h"
#include "machine/vm/RuntimeErrorKeys.h"

namespace {

const TSystemClock& system_clock()
{
    static const TSystemClock clock;
    return clock;
}

}  // namespace

// Every code's handler from this run's table, and the plan of its kinds. A code whose
// handler is not the shared one (a debugger's own) is never fused, nor is any code when
// fusion is off. The plan is made once before the run, so a run without such entries
// pays nothing. The compiled program and the tables made for it here are the run's
// too: they are taken from its budget before the tables are made, and what the tables
// came to hold replaces that once they are done.
bool TVMachine::PlanRun()
{
    const std::vector<TVMCode>& codes = MidCode->Codes;
    const TFuncTable& table = *FuncTable;
    const TFuncTable& shared = SharedFuncTable();
    const std::function<bool()> stopped = [this] { return StopRequested(); };
    const std::optional<size_t> planBytes = planned_bytes(*MidCode, stopped);
    if (!planBytes) return false;
    const size_t planned = MidCode->HeldBytes() + codes.size() * sizeof(THandler) + *planBytes;
    if (!Memory.Take(planned)) throw RuntimeException2(RTE_OUT_OF_MEMORY);
    RunHandlers.resize(codes.size());
    for (size_t i = 0; i < codes.size(); ++i) {
        if (i % PLAN_STOP_STRIDE == 0 && stopped()) return false;
        RunHandlers[i] = table[codes[i].Cmd];
    }
    std::optional<TRunPlan> plan = plan_run(
        *MidCode, [&](TVMCodeCmd cmd) { return Fusion && (&table == &shared || table[cmd] == shared[cmd]); }, stopped);
    if (!plan) return false;
    Plan = std::move(*plan);
    const size_t held = MidCode->HeldBytes() + RunHandlers.capacity() * sizeof(THandler) + Plan.HeldBytes();
    if (!Memory.Replace(planned, held)) throw RuntimeException2(RTE_OUT_OF_MEMORY);
    return true;
}

TVMachine::TVMachine(const char* name, TMidCode* code, TBasicRsrc* rsrc, TMmlPlayer* mml, TRunRequestSink* runRqstView,
                     TAlertSink* alerts)
    : TThread(name, PRIORITY), FuncTable(&SharedFuncTable()), MidCode(code), RunRqstView(runRqstView), Rsrc(rsrc),
      MmlPlayer(mml), Alerts(alerts), Clock(&system_clock())
{
    RegisterTexts();
    // A run starts with no file open, whatever the run before it left behind.
    if (Rsrc != nullptr) Rsrc->CloseAllFiles();
    const std::vector<TVMCode>& codes = MidCode->Codes;
    PC = codes.size() > 1 ? codes.data() + 1 : codes.data() + codes.size();
    for (int bit = 0; bit < 32; ++bit) {
        IrStates[bit].store(IR_STATE_OFF);
        IrTargetSet[bit].store(false);
    }
    // Speed control is always armed, so that the owner's HappenInterrupt(2) sets it.
    IrStates[1].store(IR_STATE_ON);
    SetIrTarget(1, TStackData::Long(0));
}

// An owner that deletes a running machine without ending it first must not leave the
// thread running on a destroyed object: stop it and wait for it here.
TVMachine::~TVMachine()
{
    TVMachine::Terminate();
    Wait(nullptr);
}

int32_t TVMachine::Terminate()
{
    TThread::Terminate();
    IrRequest.fetch_or(IR_TERMINATE, std::memory_order_acq_rel);
    return 0;
}

int32_t TVMachine::Execute()
{
    try {
        if (PlanRun())
            RunCodes();
        else
            InterruptVMTerminate();  // stopped before its first line
    } catch (const TException& e) {
        RunFailed(e);
        ShowErrorAlert(e);
        ExitStatus = 1;
    } catch (const std::bad_alloc&) {
        // The host ran out before the run's memory budget did.
        ShowErrorAlert(RuntimeException2(RTE_OUT_OF_MEMORY));
        ExitStatus = 1;
    } catch (...) {
        // Handlers raise only TException; anything else (memory running out, a fault
        // in a handler) still ends the run as a run-time error instead of the process.
        ShowErrorAlert(RuntimeException2(RTE_INTERNAL_ERROR));
        ExitStatus = 1;
    }
    ExecuteDone();
    return static_cast<int32_t>(ExitStatus);
}

void TVMachine::ShowErrorAlert(const TException& e)
{
    if (Alerts != nullptr) Alerts->ShowAlert(e.String());
}

void TVMachine::ExecuteDone()
{
    if (machine_app_quitting()) return;
    const bool repeat = machine_repeat_runs();
    if (repeat && MmlPlayer != nullptr) {
        while (!StopRequested() && !MmlPlayer->IsBufferEmpty()) Clock->SleepMicros(20000);
    }
    PrintExit();
    if (repeat && ExitStatus == 0 && !RunRequestSent && !machine_run_killed() && RunRqstView != nullptr) {
        TRunRequest request;
        request.NotFore = true;
        RunRqstView->VMachineRunRqtd(request);
    }
}

void TVMachine::PrintOk()
{
    Rsrc->Print("Ok");
    Rsrc->DoCRLF();
}

void TVMachine::PrintExit()
{
    if (ExitStatus == 1) {
        Rsrc->Print(ErrStrDisplay.c_str());
        Rsrc->DoCRLF();
    }
    PrintOk();
    Rsrc->UpdateScreen();
}

bool TVMachine::SetStartPos(const TRunRequest& request)
{
    TStackData target;
    if (request.LineNum)
        target = TStackData::Long(*request.LineNum);
    else if (request.Label)
        target = TStackData::OwnedText(*request.Label);
    else
        return true;
    const TVMCode* saved = PC;
    try {
        ChangePC(target);
        ++PC;
    } catch (const TException& e) {
        PC = saved;
        ShowErrorAlert(e);
        return false;
    }
    return true;
}

long TVMachine::CodeIndex(const TVMCode* code) const
{
    return static_cast<long>(code - MidCode->Codes.data());
}

const TVMCode* TVMachine::LastCode() const
{
    const std::vector<TVMCode>& codes = MidCode->Codes;
    return codes.empty() ? codes.data() : codes.data() + codes.size() - 1;
}

void TVMachine::ChangePC(const TStackData& target)
{
    int32_t index = 0;
    switch (target.type) {
    case sdLong:
    case sdSingle:
    case sdDouble: {
        const int32_t line = StackInt(target);
        TJumpCacheEntry& cached = LineCache[static_cast<uint32_t>(line) % JUMP_CACHE_SIZE];
        if (cached.index != 0 && cached.line == line) {
            index = cached.index;
            break;
        }
        const auto found = MidCode->LineNumMap.find(line);
        if (found != MidCode->LineNumMap.end()) index = found->second;
        if (index == 0) throw RuntimeException2(RTE_UNDEFINED_LINE_NUMBER);
        cached = TJumpCacheEntry{nullptr, std::string(), line, index};
        break;
    }
    case sdString: {
        const char* label = target.CString();
        TJumpCacheEntry* cached = nullptr;
        if (!target.owned) {
            index = Plan.operandLabels.Find(label);
            if (index != 0) break;
            cached = &LabelCache[(reinterpret_cast<uintptr_t>(label) >> 3) % JUMP_CACHE_SIZE];
            if (cached->label == label && cached->labelText == label) {
                index = cached->index;
                break;
            }
        }
        const auto found = MidCode->LabelMap.find(label);
        if (found != MidCode->LabelMap.end()) index = found->second;
        if (index == 0) throw RuntimeException2(RTE_UNDEFINED_LABEL);
        if (cached != nullptr) *cached = TJumpCacheEntry{label, label, 0, index};
        break;
    }
    default: return;
    }
    // A map entry past the code would leave PC outside the program.
    if (index < 1 || static_cast<size_t>(index) > MidCode->Codes.size()) throw RuntimeException2(RTE_INTERNAL_ERROR);
    PC = MidCode->Codes.data() + index - 1;
}

// --- the value stack ---

uint32_t TVMachine::NumShifts(uint32_t mask)
{
    if (mask == 0) return 32;
    uint32_t n = 0;
    while ((mask & 1u) == 0) {
        mask >>= 1;
        ++n;
    }
    return n;
}

void TVMachine::ThrowStackEmpty()
{
    throw RuntimeException2(RTE_INTERNAL_ERROR);
}

void TVMachine::ThrowStackFull()
{
    throw RuntimeException2(RTE_OUT_OF_MEMORY);
}

// --- handlers without effect ---

void TVMachine::ExeBasicNoHandler(const TVMCode*)
{
    throw RuntimeException2(RTE_INTERNAL_ERROR);
}

void TVMachine::ExeBasicNothing(const TVMCode*) {}
