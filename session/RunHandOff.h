#pragma once
// The editor's side of a run: what happens between a run request (the Run menu item,
// the run-from-line dialog, the machine's own RUN, CHAIN or repeat) and a running
// machine, and what Kill does. The editor view holds one and supplies the run view's
// operations and its own services; the decisions are made here, without windows.
//
// A run request, in order: the backup "AutoSave.bas" when "ASBR" is set; the previous
// machine ended (the debug view first lets go of it); the debug view's variables
// emptied; the compiled program cleared; the killed flag cleared. A request that names
// a list is handed to the list loader with the rest of the request as its
// continuation, and stops there. Otherwise the compiler's copy of the list is made
// ("Compiling..." in the status bar) and compiled; on success the windows the run's
// origin asks for come forward (run_windows_forward), the machine is readied
// with the editor as the target of its run requests, the debug view is told the new
// machine (and, with "UDbg", the source, call stack, variables and first break point),
// and the machine starts at the requested line or label. The status bar is cleared at
// the end, whatever happened.
//
// A STOP key kept from a run that restarted itself ends the next run of that chain;
// the user's own run drops it.
//
// Kill is final until the user starts a run again: a machine's request (RUN, CHAIN, the
// repeated run) that comes after a Kill is dropped, the list a request names that is
// still loading when a Kill comes does not run, and a run being prepared when a Kill
// comes does not start. Each run the hand-off prepares has a serial number, and every
// request carries the number of the run that made it; a Kill (the hand-off's own, or
// the debug window's, seen through the killed flag) marks every run made so far as
// killed. A user's run that follows at once therefore cannot revive an earlier run's
// request, however late that request comes due.
//
// A killed machine finishes its statement on its own thread. A request that comes
// while it does is not made to wait on the editor's thread: it is kept (the latest
// one), the host is asked to call EndingOver once the machine has ended, and the
// request goes on from there. A Kill drops a kept request.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "machine/host/HostInterfaces.h"
#include "session/DebugViewInterface.h"
#include "session/RunOperations.h"

class TVMachine;
class TRunStamp;

// Which run a machine's request came from; 0 is no run.
using TRunSerial = uint64_t;

// Who asked for a run.
enum class TRunOrigin {
    User,     // the Run menu or the run-from-line dialog (and the rest of such a run
              // once the list it names is loaded)
    Program,  // the program's own RUN, RUN "file" or CHAIN
    Repeat,   // the repeated run at a normal end (a machine's request with "NotFore")
};

// The windows that come forward as a run starts.
struct TRunForward {
    bool DebugWindow = false;
    bool RunWindow = false;
    friend bool operator==(const TRunForward&, const TRunForward&) = default;
};

// Only the user's own run brings windows forward: the debug window when the run is
// debugged, then the run window unless the request says "NotFore", so that the run
// window ends in front with the keyboard. A program that runs itself again (RUN,
// CHAIN, the repeat) starts a new run every few milliseconds; were each to take the
// keyboard, the main window's Kill could never be reached. The keyboard stays where
// the user put it, and a debugged run still comes forward when it breaks.
TRunForward run_windows_forward(TRunOrigin origin, bool notFore, bool debugged);

// The receiver of the machines' run requests, each with the run that made it (the
// editor view). Called on the machine's thread.
class TRunFollower {
public:
    virtual ~TRunFollower() = default;
    virtual void RunRequested(const TRunRequest& request, TRunSerial from) = 0;
};

// The editor's services that a run uses.
class TRunHandOffHost {
public:
    virtual ~TRunHandOffHost() = default;
    // The list as the editor holds it (UTF-8).
    virtual std::string ListText() const = 0;
    // Writes the list to the backup file; a failure is not reported.
    virtual void SaveAutoBackup() = 0;
    virtual void SetStatBarStr(const std::string& text) = 0;
    virtual void ShowAlert(const std::string& text) = 0;
    virtual void BringDebugWindowForward() = 0;
    virtual void BringRunWindowForward() = 0;
    // Loads (or with `merge` appends) the list at `path`; once it is in the editor,
    // `continuation` is handed to FollowRunRequest as a request of run `from`. A failed
    // or cancelled load runs nothing.
    virtual void LoadRequestedList(const std::string& path, bool merge, const TRunRequest& continuation,
                                   TRunSerial from) = 0;
    // Calls TRunHandOff::EndingOver soon, from the editor's thread and queue, without
    // waiting there (a killed machine is finishing its statement).
    virtual void AwaitEnding() = 0;
};

// How a run request ended.
enum class TRunOutcome {
    Started,        // the machine runs
    NotStarted,     // the start line or label does not exist (the run view told the user)
    CompileFailed,  // a compile error (alert shown); nothing runs
    Loading,        // the named list is being loaded; the request goes on afterwards
    NoLineGiven,    // the run-from-line dialog's text was empty (alert shown)
    Killed,         // a Kill came after the request was made; nothing runs
    Waiting,        // a killed machine is still ending; the request goes on after it
};

class TRunHandOff {
public:
    // `run` runs the programs (the run window's session; null until there is one:
    // nothing runs). `follower` receives the machines' run requests (the editor view).
    TRunHandOff(TRunOperations* run, TRunHandOffHost& host, TRunFollower* follower);
    ~TRunHandOff();

    // Null goes back to no debugger view.
    void SetDebugView(TDebugViewInterface* debugView);
    // Null goes back to no run session: nothing runs.
    void SetRunOperations(TRunOperations* run);

    // The user's run request: it ends what a Kill ended.
    TRunOutcome RunBasic(const TRunRequest& request);
    // A request of run `from` (a machine's, or the rest of one after its list was
    // loaded): run as RunBasic runs it, unless that run was killed.
    TRunOutcome FollowRunRequest(const TRunRequest& request, TRunSerial from);
    // The killed machine may have ended: a kept request goes on, or waits again.
    void EndingOver();
    // The run prepared last (0 before the first).
    TRunSerial LastRun() const { return mRunsMade; }
    // The run-from-line dialog's text: a line number or a label, then RunBasic.
    TRunOutcome RunLineRqtd(const std::string& typed);
    // Sets the killed flag and stops the machine, which ends on its own thread; with no
    // machine only the flag changes.
    void KillBasic();
    // Ends the machine without the killed flag (the application quits); it waits for a
    // killed machine that is still ending, which the stop request keeps short.
    void QuitBasic();

private:
    // A request that came while a killed machine was ending.
    struct TKeptRequest {
        TRunRequest Request;
        bool ByUser = false;
        TRunSerial From = 0;  // of a machine's request
    };

    // `byUser`: the user's own request, which ends what a Kill or a STOP key ended.
    TRunOutcome Prepare(const TRunRequest& request, bool byUser, TRunOrigin origin);
    // Keeps the request when a killed machine is still ending (true), else nothing.
    bool KeepWhileEnding(const TRunRequest& request, bool byUser, TRunSerial from);
    TRunOutcome Compile(const TRunRequest& request, TRunSerial run, TRunOrigin origin);
    // A Kill given since the last look (the killed flag) ends every run made so far.
    void NoteKill();
    bool WasKilled(TRunSerial run) const { return run <= mKilledThrough; }

    TRunOperations* mRun;
    TRunHandOffHost& mHost;
    TRunFollower* mFollower;
    TRunSerial mRunsMade = 0;
    TRunSerial mKilledThrough = 0;
    // The latest user's run that loads the list its request names: the rest of its
    // request is still the user's.
    TRunSerial mUserLoad = 0;
    // What each machine sends its requests to; a killed machine may still send while
    // it ends, so they go only once QuitBasic has ended every machine.
    std::vector<std::unique_ptr<TRunStamp>> mStamps;
    std::optional<TKeptRequest> mKept;
    bool mAwaiting = false;  // the host will call EndingOver
    TNoDebugView mNoDebugView;
    TNoRunOperations mNoRun;
    TDebugViewInterface* mDebugView;
};
