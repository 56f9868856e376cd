#pragma once
// The debug view: the source, call-stack and variable lists and the tool bar of the
// debug window. It receives the debugging machine's reports (as its TDebugSink, on the
// GUI thread) and the editor's set-up at each run (as its TDebugViewInterface), and
// lets the machine go on, pauses it, kills it and changes its break points.
//
// The view never keeps a pointer to the machine: it reaches the machine of the run
// it shows through the run view's session, under the session's lock, and only while
// that machine is the debugger of this run (by its run number). A machine that the run
// view has deleted, or one of another run, is never reached. Messages of another run
// are dropped.

#include <QLabel>
#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "debugger/DebugReportQueue.h"
#include "debugger/DebugRunMode.h"
#include "debugger/DebugSink.h"
#include "debugger/DebugVarTable.h"
#include "session/DebugViewInterface.h"
#include "ui/guibase/GUIBase.h"

class TCallStackView;
class TDebugger;
class TRunView;
class TSrcCodeView;
class TToolBar;
class TVarView;

// Tool-bar codes.
inline constexpr uint32_t kDebugRunMessage = platform::fourcc("run");
inline constexpr uint32_t kDebugPauseMessage = platform::fourcc("stop");
inline constexpr uint32_t kDebugStepOverMessage = platform::fourcc("stov");
inline constexpr uint32_t kDebugStepInMessage = platform::fourcc("stin");
inline constexpr uint32_t kDebugStepOutMessage = platform::fourcc("stot");
inline constexpr uint32_t kDebugKillMessage = platform::fourcc("kill");
inline constexpr uint32_t kBreakPointChanged = platform::fourcc("bkpc");

class TDebugView : public TBasicView, public TDebugViewInterface, public TDebugSink {
public:
    explicit TDebugView(platform::Rect frame);
    ~TDebugView() override;

    void SetRunView(TRunView* runView);

    // --- the editor's set-up (main window's thread, before the machine starts) ---
    void ClearVar() override;
    void SetSrcCode(const std::string& source) override;
    void ClearCallStack() override;
    void SetVar() override;
    void SetVMachine(TVMachine* machine) override;
    void SetFirstBreakPoint() override;

    // --- the machine's reports (any thread; handled on the GUI thread) ---
    void Post(const platform::Message& message) override;
    bool Deliver(const platform::Message& message, TDebugReply reply, platform::bigtime_t deliveryTimeout) override;

    void MessageReceived(platform::Message* message) override;
    void AttachedToWindow() override;
    void IAPChanged(platform::Message* notice) override;
    void LanguageChanged() override;

    // The tool-bar actions.
    void MItemRunClicked();
    void MItemStopClicked();
    void MItemKillClicked();
    void Unbreak(TDebugRunMode mode);

    TDebugRunMode State() const { return mState; }
    bool HasDebugger() const { return mActiveRun != 0; }
    TSrcCodeView* SrcCodeView() const { return mSrcCodeView; }
    TCallStackView* CallStackView() const { return mCallStackView; }
    TVarView* VarView() const { return mVarView; }
    TToolBar* ToolBar() const { return mToolBar; }
    // The line under the source: what the run waits for, or nothing.
    QLabel* StatusLine() const { return mStatus; }
    void SetFontFamilyAndSize();

private:
    void HandleMachineMessage(const platform::Message& message);
    // Shows what the machine has reported since the last time, in order.
    void ShowReports();
    void ShowNotes(const TDebugNotes& notes);
    // Runs `use` with this run's debugger when the run view still has it.
    void WithDebugger(const std::function<void(TDebugger&)>& use);
    void CreateToolBar();
    void SetToolBarStyle();
    void SetViewLabel();
    void SetToolTip();
    // A keyboard read of the run waits (the run window comes forward and takes the
    // keys) or is over.
    void KeyboardWaitChanged(bool waiting);

    QLabel* mCallStackLabel;
    QLabel* mVarLabel;
    TCallStackView* mCallStackView;
    TVarView* mVarView;
    TToolBar* mToolBar;
    TSrcCodeView* mSrcCodeView;
    QLabel* mStatus;
    TRunView* mRunView = nullptr;
    TDebugVarTable mVars;
    // The machine's reports wait here for the next repaint; a posted one asks for it
    // at once, a noted one within REPAINT_MILLIS.
    static constexpr int REPAINT_MILLIS = 30;
    TDebugReportQueue mReports;
    std::atomic<bool> mRepaintPending{false};
    TDebugRunMode mState = DRM_RUN;
    // The run whose messages are shown, and the run whose machine the buttons reach
    // (0: none; cleared by 'dbed' and when the machine goes).
    int64_t mShownRun = 0;
    int64_t mActiveRun = 0;
};
