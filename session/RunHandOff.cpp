#include "session/RunHandOff.h"

#include "foundation/Common.h"
#include "foundation/HeaderConstants.h"
#include "platform/Locale.h"
#include "session/FormatSource.h"
#include "session/RunLineText.h"

// A machine's target for its run requests: hands each on with the run it belongs to.
class TRunStamp : public TRunRequestSink {
public:
    TRunStamp(TRunFollower* follower, TRunSerial run) : mFollower(follower), mRun(run) {}
    void VMachineRunRqtd(const TRunRequest& request) override
    {
        if (mFollower != nullptr) mFollower->RunRequested(request, mRun);
    }

private:
    TRunFollower* const mFollower;
    const TRunSerial mRun;
};

TRunForward run_windows_forward(TRunOrigin origin, bool notFore, bool debugged)
{
    if (origin != TRunOrigin::User) return {};
    return TRunForward{debugged, !notFore};
}

TRunHandOff::TRunHandOff(TRunOperations* run, TRunHandOffHost& host, TRunFollower* follower)
    : mRun(run != nullptr ? run : &mNoRun), mHost(host), mFollower(follower), mDebugView(&mNoDebugView)
{}

TRunHandOff::~TRunHandOff() = default;

void TRunHandOff::SetDebugView(TDebugViewInterface* debugView)
{
    mDebugView = debugView != nullptr ? debugView : &mNoDebugView;
}

void TRunHandOff::SetRunOperations(TRunOperations* run)
{
    mRun = run != nullptr ? run : &mNoRun;
}

TRunOutcome TRunHandOff::RunBasic(const TRunRequest& request)
{
    if (KeepWhileEnding(request, true, 0)) return TRunOutcome::Waiting;
    return Prepare(request, true, TRunOrigin::User);
}

TRunOutcome TRunHandOff::FollowRunRequest(const TRunRequest& request, TRunSerial from)
{
    NoteKill();
    if (WasKilled(from)) return TRunOutcome::Killed;
    if (KeepWhileEnding(request, false, from)) return TRunOutcome::Waiting;
    TRunOrigin origin = request.NotFore ? TRunOrigin::Repeat : TRunOrigin::Program;
    if (from != 0 && from == mUserLoad) origin = TRunOrigin::User;
    return Prepare(request, false, origin);
}

bool TRunHandOff::KeepWhileEnding(const TRunRequest& request, bool byUser, TRunSerial from)
{
    if (!mRun->Ending()) return false;
    mKept = TKeptRequest{request, byUser, from};
    if (!mAwaiting) {
        mAwaiting = true;
        mHost.AwaitEnding();
    }
    return true;
}

void TRunHandOff::EndingOver()
{
    mAwaiting = false;
    if (!mKept) return;
    const TKeptRequest kept = *mKept;
    mKept.reset();
    // Either goes on, or is kept again while the machine is still ending.
    if (kept.ByUser)
        RunBasic(kept.Request);
    else
        FollowRunRequest(kept.Request, kept.From);
}

void TRunHandOff::NoteKill()
{
    if (gAppPrivacy.Killed.load()) mKilledThrough = mRunsMade;
}

TRunOutcome TRunHandOff::Prepare(const TRunRequest& request, bool byUser, TRunOrigin origin)
{
    if (gPrefs.AutoSaveBeforeRun.load()) mHost.SaveAutoBackup();
    QuitBasic();
    // The variable records the debug view shows go with the compiled program.
    mDebugView->ClearVar();
    mRun->ClearBasic();
    if (byUser) {
        // What was killed stays killed; only the flag starts afresh. The same for a
        // STOP key of an earlier chain of runs.
        NoteKill();
        gAppPrivacy.Killed = false;
        mRun->ForgetStopKey();
    }
    const TRunSerial run = ++mRunsMade;
    if (request.FileName) {
        if (origin == TRunOrigin::User) mUserLoad = run;
        TRunRequest continuation = request;
        continuation.FileName.reset();
        continuation.Merge = false;
        mHost.LoadRequestedList(*request.FileName, request.Merge, continuation, run);
        return TRunOutcome::Loading;
    }
    const TRunOutcome outcome = Compile(request, run, origin);
    mHost.SetStatBarStr(std::string());
    return outcome;
}

TRunOutcome TRunHandOff::Compile(const TRunRequest& request, TRunSerial run, TRunOrigin origin)
{
    const TFormattedSource source = format_source_for_compiler(mHost.ListText());
    if (!source.Error.empty()) {
        mHost.ShowAlert(source.Error);
        return TRunOutcome::CompileFailed;
    }
    mHost.SetStatBarStr(platform::get_string("Compiling") + FUC_ELLIPSIS);
    const bool compiled = mRun->CompileBasic(source.Text);
    // A Kill while the run was being prepared (the compile ends at it).
    NoteKill();
    if (WasKilled(run)) return TRunOutcome::Killed;
    if (!compiled) return TRunOutcome::CompileFailed;

    const bool debugged = gExitStates.UseDebugger.load();
    const TRunForward forward = run_windows_forward(origin, request.NotFore, debugged);
    if (forward.DebugWindow) mHost.BringDebugWindowForward();
    if (forward.RunWindow) mHost.BringRunWindowForward();
    mStamps.push_back(std::make_unique<TRunStamp>(mFollower, run));
    mRun->ReadyBasic(mStamps.back().get());
    if (debugged) {
        mDebugView->SetSrcCode(source.Text);
        mDebugView->ClearCallStack();
        mDebugView->SetVar();
    }
    // Every run, debugged or not, so that the view never keeps a machine of an
    // earlier run.
    mDebugView->SetVMachine(mRun->VMachine());
    if (debugged) mDebugView->SetFirstBreakPoint();
    return mRun->RunBasic(request) ? TRunOutcome::Started : TRunOutcome::NotStarted;
}

TRunOutcome TRunHandOff::RunLineRqtd(const std::string& typed)
{
    TRunRequest request;
    const std::string alert = set_run_line_from_text(typed, request);
    if (!alert.empty()) {
        mHost.ShowAlert(platform::get_string(alert));
        return TRunOutcome::NoLineGiven;
    }
    return RunBasic(request);
}

void TRunHandOff::KillBasic()
{
    mKept.reset();
    mDebugView->SetVMachine(nullptr);
    mRun->KillBasic();
}

void TRunHandOff::QuitBasic()
{
    mKept.reset();
    mDebugView->SetVMachine(nullptr);
    mRun->QuitBasic(nullptr);
    // Every machine has ended, so none sends to its stamp any more.
    mStamps.clear();
}
