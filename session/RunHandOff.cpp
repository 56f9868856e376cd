#include "session/RunHandOff.h"

#include "foundation/Common.h"
#include "foundation/HeaderConstants.h"
#include "platform/Locale.h"
#include "session/FormatSource.h"
#include "session/RunLineText.h"

TRunHandOff::TRunHandOff(TRunOperations& run, TRunHandOffHost& host, TRunRequestSink* runTarget)
    : mRun(run), mHost(host), mRunTarget(runTarget), mDebugView(&mNoDebugView)
{}

void TRunHandOff::SetDebugView(TDebugViewInterface* debugView)
{
    mDebugView = debugView != nullptr ? debugView : &mNoDebugView;
}

TRunOutcome TRunHandOff::RunBasic(const TRunRequest& request)
{
    if (gPrefs.AutoSaveBeforeRun.load()) mHost.SaveAutoBackup();
    QuitBasic();
    // The variable records the debug view shows go with the compiled program.
    mDebugView->ClearVar();
    mRun.ClearBasic();
    gAppPrivacy.Killed = false;
    if (request.FileName) {
        TRunRequest continuation = request;
        continuation.FileName.reset();
        continuation.Merge = false;
        mHost.LoadRequestedList(*request.FileName, request.Merge, continuation);
        return TRunOutcome::Loading;
    }
    const TRunOutcome outcome = Compile(request);
    mHost.SetStatBarStr(std::string());
    return outcome;
}

TRunOutcome TRunHandOff::FollowRunRequest(const TRunRequest& request)
{
    if (gAppPrivacy.Killed.load()) return TRunOutcome::Killed;
    return RunBasic(request);
}

TRunOutcome TRunHandOff::Compile(const TRunRequest& request)
{
    const TFormattedSource source = format_source_for_compiler(mHost.ListText());
    if (!source.Error.empty()) {
        mHost.ShowAlert(source.Error);
        return TRunOutcome::CompileFailed;
    }
    mHost.SetStatBarStr(platform::get_string("Compiling") + FUC_ELLIPSIS);
    if (!mRun.CompileBasic(source.Text)) return TRunOutcome::CompileFailed;
    // A Kill while the run was being prepared (the flag was cleared when it began).
    if (gAppPrivacy.Killed.load()) return TRunOutcome::Killed;

    const bool debugged = gExitStates.UseDebugger.load();
    if (debugged) mHost.BringDebugWindowForward();
    if (!request.NotFore) mHost.BringRunWindowForward();
    mRun.ReadyBasic(mRunTarget);
    if (debugged) {
        mDebugView->SetSrcCode(source.Text);
        mDebugView->ClearCallStack();
        mDebugView->SetVar();
    }
    // Every run, debugged or not, so that the view never keeps a machine of an
    // earlier run.
    mDebugView->SetVMachine(mRun.VMachine());
    if (debugged) mDebugView->SetFirstBreakPoint();
    return mRun.RunBasic(request) ? TRunOutcome::Started : TRunOutcome::NotStarted;
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
    mDebugView->SetVMachine(nullptr);
    mRun.KillBasic();
}

void TRunHandOff::QuitBasic()
{
    mDebugView->SetVMachine(nullptr);
    mRun.QuitBasic();
}
