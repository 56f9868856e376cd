#pragma once
// One run session: what the run window and kivo-headless each hold to run program
// lists, so that a program runs the same way in both. For its whole life it owns the
// emulated machine's devices, the compiled program, the music player, the clock they
// share and the ON TIME$ alarm; from one run to the next it owns the machine.
//
// The run operations (session/RunOperations.h) are done here: the editor's hand-off
// drives them in the run window's session, kivo-headless in its own. PrepareRun takes one run request the way the
// editor does before RunBasic: it ends the previous machine, loads a list the request
// names (or merges it), makes the compiler's copy of the list, compiles it and readies
// a machine. The machine's own run requests (RUN, RUN "file", CHAIN) are kept for the
// holder, which follows them with PrepareRun and RunBasic.
//
// The operations are called from one thread (the holder's); PressFuncKey and the
// alarm may come from others.

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "machine/devices/BasicRsrc.h"
#include "machine/host/HeadlessHost.h"
#include "machine/music/MMLPlayer.h"
#include "machine/music/MmlPrefs.h"
#include "machine/vm/MemoryBudget.h"
#include "session/RunOperations.h"

class TAlertSink;
class TDebugSink;
class TMidCode;
class TMusicClock;
class TOnTimeAlarm;
class TSimulatedMusicClock;
class TVMachine;

struct TRunSessionSettings {
    int32_t CompatModePref = 0;  // "CmpM": 0 detect, 2 DISK-BASIC, 3 DOS-BASIC
    int32_t Encoding = 0;        // the default encoding requested lists are read with
    // A clock on which time passes only while every thread of the run waits, starting
    // one second after start-up at `LocalTime` (the local time now when not given),
    // with the music preferences at their defaults.
    bool SimulatedClock = false;
    std::optional<std::tm> LocalTime;
    // Off: every code runs through its plain handler, for comparing runs.
    bool Fusion = true;
    // What a run may keep (and a compiled list may take), in bytes.
    std::size_t MemoryLimit = TMemoryBudget::DEFAULT_LIMIT;
};

// What became of a run request before its machine could start.
enum class TRunPrepared {
    Ready,          // a machine waits for RunBasic
    LoadFailed,     // the list the request names could not be loaded (alert shown)
    CompileFailed,  // a compile error (alert shown) or a list without a program
    Stopped,        // a Kill or the deadline came while the list was compiled
};

// How a run ended.
struct TRunEnd {
    bool TimedOut = false;
    int32_t ExitValue = 0;  // the machine's: 0 a normal end, else a run-time error or stop
};

class TRunSession : public TRunOperations {
public:
    // `host`: the holder's screen, lamps, glyphs and keyboard; the ON TIME$ timer is
    // the session's own. `alerts` receives compile and run-time errors and the
    // session's own alerts.
    TRunSession(const TDeviceHost& host, TAlertSink* alerts, const TRunSessionSettings& settings);
    ~TRunSession();

    TRunSession(const TRunSession&) = delete;
    TRunSession& operator=(const TRunSession&) = delete;

    // Starts the music player on a simulated clock, which must take part in time from
    // the first moment (nothing to do on the real clock). False with `error` set when
    // it did not start.
    bool Start(std::string& error);

    // --- the run view's operations ---
    // Compiles the compiler's copy of a list; false on a compile error, when the list
    // holds no program, or when a Kill (the killed flag) or the deadline came first:
    // CompileStopped() then tells, and the screen shows the break.
    bool CompileBasic(const std::string& source) override;
    bool CompileStopped() const { return mCompileStopped; }
    // From now on a compile stops at `deadline` (the holder's time-out, which covers
    // every run it prepares); a run is stopped there by WaitForRun.
    void SetDeadline(std::chrono::steady_clock::time_point deadline) { mDeadline = deadline; }
    // Forgets the compiled program and asks for a redraw of the whole screen.
    bool ClearBasic() override;
    // Makes the machine of the next run, suspended; the alarm of the run before is
    // forgotten and the key buffer emptied. The caller ends any machine first. The
    // machine's run requests go to `runTarget`, or are kept for TakeRunRequests.
    bool ReadyBasic(TRunRequestSink* runTarget = nullptr) override;
    // Called at the end of each ReadyBasic, on the caller's thread (the run window
    // shows the new run's mode and speed control).
    void SetReadyListener(std::function<void()> listener) { mReadyListener = std::move(listener); }
    // Sets the start position from the request's LineNum or Label and starts the
    // machine. False, after an alert and with the machine left suspended, when the
    // program has no such line or label. A STOP key pressed while no program could
    // take it stops this run as Break at its start.
    bool RunBasic(const TRunRequest& request) override;
    // Ends and deletes the machine (null: the current one; another machine: nothing),
    // waiting until its thread has ended; a killed machine still ending is waited for too.
    bool QuitBasic(const TVMachine* machine = nullptr) override;
    // Sets the killed flag and stops the machine without waiting for it: the machine
    // finishes its statement and ends on its own thread. It shares the compiled program
    // and the devices, so the next run waits for it before anything else (QuitBasic).
    bool KillBasic() override;
    // True while a killed machine is still finishing its statement: an operation now
    // would wait for it (the holder may wait on its own terms instead).
    bool Ending() const override;
    TVMachine* VMachine() const override;
    // Where debugged runs report (the debug view): with "UDbg" set, ReadyBasic then
    // makes a debugging machine. Null: no run is debugged.
    void SetDebugSink(TDebugSink* sink) { mDebugSink = sink; }
    TMidCode& MidCode() { return *mMidCode; }
    int32_t CompatMode() const { return mCompatMode; }

    // --- the editor's side ---
    const std::string& List() const { return mList; }
    void SetList(std::string text) { mList = std::move(text); }
    // One run request up to a machine ready to run: QuitBasic, ClearBasic, the killed
    // flag cleared, a list the request names loaded or merged (drive 1 following an
    // opened list), the compiler's copy made and compiled, ReadyBasic. `note` gets the
    // status-bar note of a load.
    TRunPrepared PrepareRun(const TRunRequest& request, std::string* note = nullptr);
    // The run requests the machines sent since the last call, in order.
    std::vector<TRunRequest> TakeRunRequests();

    // --- for holders ---
    // Waits until the machine's thread ends; at `deadline` the run is stopped as a Kill
    // stops it and counts as timed out.
    TRunEnd WaitForRun(std::chrono::steady_clock::time_point deadline);
    // Presses function key n in the running machine, or only types its string when
    // there is none (the run window's F1 to F10).
    void PressFuncKey(int n);
    // The STOP key (the run window's Ctrl+C; any thread). A running program that traps
    // STOP takes it; otherwise the run stops as Break. A program that runs itself
    // (RUN, CHAIN, the repeated run) may already have asked for its next run, or be
    // between two runs: the key is kept for the next run that starts, so that the
    // chain ends with Break whichever run it lands in.
    void PressStopKey();
    // Drops a kept STOP key: the user starts a run of their own.
    void ForgetStopKey() override;
    // Calls `use` with the current machine, under the machine lock, when there is one
    // (any thread): the run window raises interrupts and hands over the mouse this way.
    void WithMachine(const std::function<void(TVMachine&)>& use);
    // After the last run: ends the machine and the alarm and lets queued music play
    // out (on a simulated clock at once, within `left`). False when it did not.
    bool FinishRuns(std::chrono::milliseconds left);

    TBasicRsrc& Rsrc() { return mRsrc; }
    TMmlPlayer& Player() { return mPlayer; }
    // The clock of the machine, the player and the alarm.
    const TMusicClock& Clock() const;
    // The same clock when it simulates time, else null (for threads that take part).
    TSimulatedMusicClock* Simulated() const { return mSimulated.get(); }

private:
    void RaiseOnTime();
    // Takes the machine from the session and asks it to stop (null: the current one;
    // another machine: none is taken).
    std::unique_ptr<TVMachine> StopMachine(const TVMachine* which);
    // Waits until a killed machine has ended, and deletes it.
    void FinishEnding();

    TRunSessionSettings mSettings;
    std::function<void()> mReadyListener;
    TAlertSink* mAlerts;
    TDebugSink* mDebugSink = nullptr;
    TBasicRsrc mRsrc;
    std::unique_ptr<TSimulatedMusicClock> mSimulated;
    TMmlDefaultPrefs mDefaultPrefs;
    TMmlPlayer mPlayer;
    std::unique_ptr<TMidCode> mMidCode;
    TRecordingRunRequests mRunRequests;
    size_t mRequestsTaken = 0;
    std::unique_ptr<TOnTimeAlarm> mAlarm;
    std::string mList;
    int32_t mCompatMode = 2;
    bool mMachineCounted = false;  // the machine's place among the simulated clock's participants
    std::optional<std::chrono::steady_clock::time_point> mDeadline;
    bool mCompileStopped = false;

    // The machine pointer is read by other threads (the alarm, key presses), so it is
    // replaced only under this lock; the machine is ended outside it.
    mutable std::mutex mMachineLock;
    std::unique_ptr<TVMachine> mMachine;
    // The killed machine until the next operation waits for it (the holder's thread only).
    std::unique_ptr<TVMachine> mEnding;
    // A STOP key that no program took, kept for the next run that starts.
    std::atomic<bool> mStopKept{false};
};
