#pragma once
// TDebugger: the virtual machine as it runs under the debugger.
//
// It runs the same code with handlers of its own for line beginnings, calls, returns,
// assignments, DIM, SWAP and the end, and reports each of them to its TDebugSink
// (see DebugProtocol.h). It stops at break points and where the run mode says, and
// then waits until the debug view lets it go on (SetDebugRunMode, then Unbreak) or
// the run is ended (Terminate).
//
// The debug view's thread calls AddBreakPoint, RemoveBreakPoint, SetDebugRunMode and
// Unbreak while the machine runs; everything else belongs to the machine thread or,
// before Resume, to the owner.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "debugger/BreakPointSet.h"
#include "debugger/DebugRunMode.h"
#include "debugger/DebugSink.h"
#include "machine/vm/VMachine.h"

class TDebugger : public TVMachine {
public:
    // `sink` receives every report (may be null: nothing is reported).
    TDebugger(const char* name, TMidCode* code, TBasicRsrc* rsrc, TMmlPlayer* mml, TRunRequestSink* runRqstView,
              TDebugSink* sink, TAlertSink* alerts = nullptr);
    ~TDebugger() override;

    // The number that tags this machine's messages; each machine has its own.
    int64_t RunNumber() const { return mRunNumber; }
    // Replaces the clock of the timed waits (tests). Before Resume.
    void SetDebugClock(const TDebugClock* clock) { mDebugClock = clock; }

    // --- what the debug view calls (its own thread) ---
    void AddBreakPoint(int32_t line) { mBreakPoints.Add(line); }
    void RemoveBreakPoint(int32_t line) { mBreakPoints.Remove(line); }
    std::vector<int32_t> BreakPoints() const { return mBreakPoints.Lines(); }
    // The mode for the machine from now on; resets the call depth.
    void SetDebugRunMode(TDebugRunMode mode);
    TDebugRunMode DebugRunMode() const { return mRunMode.load(std::memory_order_acquire); }
    // Lets a machine that waits in a break go on.
    void Unbreak();

    int32_t Terminate() override;
    void RunCodes() override { DebugLoop(); }
    void RunFailed(const TException& e) override;

    void ExeBasicOnGosubGotoGosubInvoked() override;
    void RegisterVarAccess(int slot, TVarInfo* var, long element) override;
    void SendResetVarRqtd(TVarInfo* var) override;
    void TrapSubroutineEntered() override;
    void KeyboardWaitChanged(bool waiting) override;

private:
    static const TFuncTable& DebugFuncTable();
    void DebugLoop();

    void DebugBasicBLineBegin(const TVMCode* code);
    void DebugBasicBCall(const TVMCode* code);
    void DebugBasicBRet(const TVMCode* code);
    void DebugBasicBExit(const TVMCode* code);
    void DebugBasicBAssignArray(const TVMCode* code);
    void DebugBasicSwap(const TVMCode* code);

    // A subroutine was entered: one level deeper, and a call-stack entry.
    void CallEntered();
    // Waits until the view lets the machine go on or the thread is told to stop.
    void Break();
    void SendUpdateVarInfoRqtd(int count);
    // Reports the values that statements stored without an assignment code of their
    // own (INPUT, READ, LINE INPUT, KINPUT, CALL MOUSE...), once the code has run.
    void SendStoredVars();
    platform::Message NewMessage(uint32_t what) const;
    void Post(const platform::Message& message);
    // Sends and waits for the answer, within the time-outs and never past a stop.
    void SendAndWait(const platform::Message& message);

    struct TVarAccess {
        TVarInfo* Var = nullptr;
        int32_t Element = 0;
    };

    const int64_t mRunNumber;
    TDebugSink* mSink;
    const TDebugClock* mDebugClock;
    TBreakPointSet mBreakPoints;
    std::atomic<TDebugRunMode> mRunMode{DRM_RUN};
    std::atomic<int32_t> mCallDepth{0};
    std::atomic<bool> mGoOn{false};
    TVarAccess mAccess[3];
    // Stores of the running code that no 'uvir' has reported yet, each element once.
    std::vector<TVarAccess> mStored;

    // The break wait.
    std::mutex mBreakLock;
    std::condition_variable mBreakSignal;
    // The answer the machine waits for now, so that Terminate can end that wait.
    std::mutex mPendingLock;
    std::shared_ptr<platform::ReplyChannel> mPending;
};
