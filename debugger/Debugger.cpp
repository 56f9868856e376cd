#include "debugger/Debugger.h"

#include <new>

#include "debugger/DebugProtocol.h"
#include "debugger/VarText.h"
#include "foundation/Common.h"
#include "language/MidCode.h"
#include "language/VarInfo.h"
#include "machine/vm/RuntimeErrorKeys.h"

namespace {

std::atomic<int64_t> next_run_number{1};

}  // namespace

TDebugger::TDebugger(const char* name, TMidCode* code, TBasicRsrc* rsrc, TMmlPlayer* mml, TRunRequestSink* runRqstView,
                     TDebugSink* sink, TAlertSink* alerts)
    : TVMachine(name, code, rsrc, mml, runRqstView, alerts),
      mRunNumber(next_run_number.fetch_add(1, std::memory_order_relaxed)), mSink(sink),
      mDebugClock(&TDebugClock::System())
{
    UseFuncTable(DebugFuncTable());
    WatchesVarAccess = true;
}

// The thread may wait in a break or for an answer: end those waits before the
// machine's own destructor waits for the thread.
TDebugger::~TDebugger()
{
    Terminate();
    Wait(nullptr);
}

const TVMachine::TFuncTable& TDebugger::DebugFuncTable()
{
    using D = TDebugger;
    static const TFuncTable table = FuncTableWith({
        {vcBCall, static_cast<THandler>(&D::DebugBasicBCall)},
        {vcBRet, static_cast<THandler>(&D::DebugBasicBRet)},
        {vcBExit, static_cast<THandler>(&D::DebugBasicBExit)},
        {vcBAssignArray, static_cast<THandler>(&D::DebugBasicBAssignArray)},
        {vcBLineBegin, static_cast<THandler>(&D::DebugBasicBLineBegin)},
        {vcSwap, static_cast<THandler>(&D::DebugBasicSwap)},
    });
    return table;
}

void TDebugger::SetDebugRunMode(TDebugRunMode mode)
{
    mRunMode.store(mode, std::memory_order_release);
    mCallDepth.store(0, std::memory_order_release);
}

void TDebugger::Unbreak()
{
    mGoOn.store(true, std::memory_order_release);
    {
        std::lock_guard lock(mBreakLock);
    }
    mBreakSignal.notify_all();
}

int32_t TDebugger::Terminate()
{
    TVMachine::Terminate();
    {
        std::lock_guard lock(mPendingLock);
        if (mPending) mPending->Answer(platform::Message(platform::kNoReply));
    }
    {
        std::lock_guard lock(mBreakLock);
    }
    mBreakSignal.notify_all();
    return 0;
}

void TDebugger::RunFailed(const TException& e)
{
    SendStoredVars();
    platform::Message shown = NewMessage(debug_msg::ShowLine);
    shown.AddInt32(debug_msg::LineNum, static_cast<int32_t>(e.ID()));
    Post(shown);
}

// The machine's run without its fast paths: every code goes through its handler, and
// Pause is looked at before each one.
void TDebugger::DebugLoop()
{
    const TVMCode* const base = MidCode->Codes.data();
    const TVMCode* const end = base + MidCode->Codes.size();
    while (PC < end) {
        if (mRunMode.load(std::memory_order_acquire) == DRM_STOP && !StopRequested()) Break();
        if (IrHappen() != 0) {
            Interrupt();
            if (PC >= end) break;
        }
        (this->*RunHandlers[static_cast<size_t>(PC - base)])(PC);
        if (!mStored.empty()) SendStoredVars();
        ++PC;
    }
}

void TDebugger::DebugBasicBLineBegin(const TVMCode* code)
{
    ExeBasicBLineBegin(code);
    platform::Message message = NewMessage(debug_msg::CurLine);
    message.AddInt32(debug_msg::LineNum, CurLineNum);
    SendAndWait(message);
    const TDebugRunMode mode = mRunMode.load(std::memory_order_acquire);
    if (mBreakPoints.Contains(CurLineNum) ||
        (mode == DRM_STEP_OVER && mCallDepth.load(std::memory_order_acquire) <= 0) || mode == DRM_STEP_IN)
        Break();
}

void TDebugger::DebugBasicBCall(const TVMCode* code)
{
    ExeBasicBCall(code);
    CallEntered();
}

void TDebugger::ExeBasicOnGosubGotoGosubInvoked()
{
    CallEntered();
}

// Counted and shown like a GOSUB, so that the trap's RETURN leaves the depth and the
// call stack as they were.
void TDebugger::TrapSubroutineEntered()
{
    CallEntered();
}

void TDebugger::KeyboardWaitChanged(bool waiting)
{
    platform::Message message = NewMessage(debug_msg::KeyWait);
    message.AddBool(debug_msg::Waiting, waiting);
    Post(message);
}

void TDebugger::CallEntered()
{
    mCallDepth.fetch_add(1, std::memory_order_acq_rel);
    platform::Message message = NewMessage(debug_msg::CallAdded);
    message.AddInt32(debug_msg::LineNum, CurLineNum);
    SendAndWait(message);
}

void TDebugger::DebugBasicBRet(const TVMCode* code)
{
    const int32_t depth = mCallDepth.fetch_sub(1, std::memory_order_acq_rel);
    if (mRunMode.load(std::memory_order_acquire) == DRM_STEP_OUT && depth == 0) Break();
    ExeBasicBRet(code);
    SendAndWait(NewMessage(debug_msg::CallRemoved));
}

void TDebugger::DebugBasicBExit(const TVMCode* code)
{
    ExeBasicBExit(code);
    platform::Message message = NewMessage(debug_msg::RunEnded);
    if (gAppPrivacy.Killed.load()) message.AddBool(debug_msg::Killed, true);
    Post(message);
}

void TDebugger::DebugBasicBAssignArray(const TVMCode* code)
{
    ExeBasicBAssignArray(code);
    SendUpdateVarInfoRqtd(1);
    mStored.clear();
}

void TDebugger::DebugBasicSwap(const TVMCode* code)
{
    ExeBasicSwap(code);
    SendUpdateVarInfoRqtd(3);
    mStored.clear();
}

void TDebugger::RegisterVarAccess(int slot, TVarInfo* var, long element)
{
    if (slot < 0 || slot > 2) return;
    const TVarAccess access{var, static_cast<int32_t>(element)};
    mAccess[slot] = access;
    if (slot != 0 || var == nullptr) return;
    for (const TVarAccess& stored : mStored)
        if (stored.Var == var && stored.Element == access.Element) return;
    mStored.push_back(access);
}

void TDebugger::SendStoredVars()
{
    if (mStored.empty()) return;
    platform::Message message = NewMessage(debug_msg::VarsUpdated);
    for (const TVarAccess& stored : mStored) {
        message.AddString(debug_msg::VarName, stored.Var->VarName);
        message.AddInt32(debug_msg::DimIdx, stored.Element);
        message.AddString(debug_msg::Value, var_value_text(*stored.Var, stored.Element));
    }
    mStored.clear();
    SendAndWait(message);
}

void TDebugger::SendUpdateVarInfoRqtd(int count)
{
    platform::Message message = NewMessage(debug_msg::VarsUpdated);
    for (int slot = 0; slot < count && slot < 3; ++slot) {
        const TVarAccess& access = mAccess[slot];
        if (access.Var == nullptr) continue;
        message.AddString(debug_msg::VarName, access.Var->VarName);
        message.AddInt32(debug_msg::DimIdx, access.Element);
        message.AddString(debug_msg::Value, var_value_text(*access.Var, access.Element));
    }
    SendAndWait(message);
}

void TDebugger::SendResetVarRqtd(TVarInfo* var)
{
    if (var == nullptr) return;
    platform::Message message = NewMessage(debug_msg::VarReset);
    message.AddString(debug_msg::VarName, var->VarName);
    message.AddInt32(debug_msg::VarType, static_cast<int32_t>(var->VarType));
    for (const int32_t size : var_dim_sizes(*var)) message.AddInt32(debug_msg::DimSize, size);
    message.AddString(debug_msg::Value, var_value_text(*var, 0));
    Post(message);
}

void TDebugger::Break()
{
    mGoOn.store(false, std::memory_order_release);
    platform::Message message = NewMessage(debug_msg::BreakBegun);
    message.AddInt32(debug_msg::LineNum, CurLineNum);
    Post(message);
    std::unique_lock lock(mBreakLock);
    mBreakSignal.wait(lock, [&] { return mGoOn.load(std::memory_order_acquire) || StopRequested(); });
}

platform::Message TDebugger::NewMessage(uint32_t what) const
{
    platform::Message message(what);
    message.AddInt64(debug_msg::Run, mRunNumber);
    return message;
}

void TDebugger::Post(const platform::Message& message)
{
    if (mSink != nullptr) mSink->Post(message);
}

void TDebugger::SendAndWait(const platform::Message& message)
{
    if (mSink == nullptr) return;
    auto channel = std::make_shared<platform::ReplyChannel>();
    {
        std::lock_guard lock(mPendingLock);
        // Terminate sets the stop flag before it looks here: either it finds this
        // channel and answers it, or the flag is seen now.
        if (StopRequested()) return;
        mPending = channel;
    }
    if (mSink->Deliver(message, TDebugReply(channel), TDebugSink::DELIVERY_TIMEOUT)) {
        std::unique_lock lock(channel->mutex);
        mDebugClock->WaitFor(channel->answered, lock, TDebugSink::REPLY_TIMEOUT, [&] { return channel->done; });
    }
    std::lock_guard lock(mPendingLock);
    mPending.reset();
}
