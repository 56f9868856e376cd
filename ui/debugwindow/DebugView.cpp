#include "ui/debugwindow/DebugView.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QTimer>
#include <QVBoxLayout>

#include "debugger/DebugProtocol.h"
#include "debugger/Debugger.h"
#include "foundation/Common.h"
#include "language/MidCode.h"
#include "platform/Locale.h"
#include "ui/debugwindow/CallStackView.h"
#include "ui/debugwindow/DebugToolImages.h"
#include "ui/debugwindow/SrcCodeView.h"
#include "ui/debugwindow/VarView.h"
#include "ui/guibase/ResizingMode.h"
#include "ui/runwindow/RunView.h"
#include "ui/widgets/ToolBar.h"
#include "ui/widgets/ToolButton.h"

namespace {

struct TToolRow {
    const char* name;  // the button's and its image's name
    uint32_t what;
    const char* tip;
};

// The tool bar, left to right; the separator stands before Kill.
constexpr TToolRow TOOL_ROWS[] = {
    {"TBRun", kDebugRunMessage, "Run"},
    {"TBPause", kDebugPauseMessage, "Pause"},
    {"TBStepOver", kDebugStepOverMessage, "Step Over"},
    {"TBStepIn", kDebugStepInMessage, "Step In"},
    {"TBStepOut", kDebugStepOutMessage, "Step Out"},
    {"TBKill", kDebugKillMessage, "Kill"},
};

constexpr const char* FALLBACK_FONT = "IPAGothic";

}  // namespace

TDebugView::TDebugView(platform::Rect frame)
    : TBasicView(frame, "DebugView", kFollowAll), mCallStackLabel(new QLabel(this)), mVarLabel(new QLabel(this)),
      mCallStackView(new TCallStackView(
          [this](int32_t line) {
              platform::Message message(debug_msg::ShowLine);
              message.AddInt32(debug_msg::LineNum, line);
              MessageReceived(&message);
          },
          this)),
      mVarView(new TVarView(this)), mToolBar(new TToolBar("ToolBar", this)),
      mSrcCodeView(new TSrcCodeView(
          [this](const platform::Message& report) {
              platform::Message message(report);
              MessageReceived(&message);
          },
          this)),
      mStatus(new QLabel(this))
{
    mCallStackLabel->setObjectName("StrViewCallStack");
    mVarLabel->setObjectName("StrViewVar");
    mCallStackView->setFixedWidth(187);

    auto* callStack = new QVBoxLayout;
    callStack->addWidget(mCallStackLabel);
    callStack->addWidget(mCallStackView);
    auto* vars = new QVBoxLayout;
    vars->addWidget(mVarLabel);
    vars->addWidget(mVarView);
    auto* top = new QHBoxLayout;
    top->addLayout(callStack);
    top->addLayout(vars, 1);
    auto* top_widget_height = new QWidget(this);
    top_widget_height->setLayout(top);
    top_widget_height->setFixedHeight(137 + 18);
    top->setContentsMargins(0, 0, 0, 0);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    column->addWidget(top_widget_height);
    column->addWidget(mToolBar);
    column->addWidget(mSrcCodeView, 1);
    mStatus->setObjectName("DebugStatus");
    mStatus->setTextFormat(Qt::PlainText);
    column->addWidget(mStatus, 0);

    CreateToolBar();
    SetFontFamilyAndSize();
    SetViewLabel();
}

TDebugView::~TDebugView() = default;

void TDebugView::SetRunView(TRunView* runView)
{
    mRunView = runView;
}

void TDebugView::CreateToolBar()
{
    for (const TToolRow& row : TOOL_ROWS) {
        if (row.what == kDebugKillMessage) mToolBar->AddSeparatorItem();
        auto* button = new TToolButton(row.name, debug_tool_image(row.name), platform::Message(row.what),
                                       TToolButton::kPushBehavior);
        mToolBar->AddItem(button);
    }
    float width = 0;
    float height = 0;
    mToolBar->GetPreferredSize(&width, &height);
    mToolBar->setFixedHeight(static_cast<int>(height) + 1);
    SetToolBarStyle();
    SetToolTip();
}

void TDebugView::SetToolBarStyle()
{
    bool flat = false;
    if (gIAPs.GetBool("FlatToolBar", &flat) != 0) flat = false;
    mToolBar->SetFlat(flat);
}

void TDebugView::SetToolTip()
{
    for (const TToolRow& row : TOOL_ROWS)
        if (TToolButton* button = mToolBar->FindItem(row.name)) button->SetTip(platform::get_string(row.tip));
}

void TDebugView::SetViewLabel()
{
    mCallStackLabel->setText(QString::fromStdString(platform::get_string("Call Stack")));
    mVarLabel->setText(QString::fromStdString(platform::get_string("Variables")));
}

void TDebugView::SetFontFamilyAndSize()
{
    const QString family = QString::fromStdString(gPrefs.DebugFontFamily());
    QFont font(QFontDatabase::hasFamily(family) ? family : QString(FALLBACK_FONT));
    font.setPointSizeF(gPrefs.DebugFontSize.load());
    mCallStackView->setFont(font);
    mVarView->setFont(font);
    mSrcCodeView->setFont(font);
}

void TDebugView::AttachedToWindow()
{
    TBasicView::AttachedToWindow();
    mToolBar->SetTargetForItems(this);
    SetToolTip();
}

void TDebugView::IAPChanged(platform::Message* notice)
{
    std::string item;
    if (notice != nullptr && notice->FindString("IAP:SrcIAPItem", &item) == platform::kOk && item == "FlatToolBar")
        SetToolBarStyle();
}

void TDebugView::LanguageChanged()
{
    SetViewLabel();
    SetToolTip();
}

// --- set-up ---

void TDebugView::ClearVar()
{
    mVars.Clear();
    mVarView->SetVar(&mVars);
}

void TDebugView::SetSrcCode(const std::string& source)
{
    mSrcCodeView->SetSrcCode(source, gPrefs.BreakAtStart.load());
}

void TDebugView::ClearCallStack()
{
    mCallStackView->ClearCallStack();
}

void TDebugView::SetVar()
{
    // The machine has not started: its records may be read here.
    if (mRunView != nullptr && mRunView->MidCode() != nullptr) mVars.SetFrom(*mRunView->MidCode());
    mVarView->SetVar(&mVars);
}

void TDebugView::SetVMachine(TVMachine* machine)
{
    auto* debugger = dynamic_cast<TDebugger*>(machine);
    if (debugger == nullptr) {
        mActiveRun = 0;
        return;
    }
    mShownRun = mActiveRun = debugger->RunNumber();
    // A run killed in a break must not leave the next one looking stopped.
    mState = DRM_RUN;
    KeyboardWaitChanged(false);
}

void TDebugView::KeyboardWaitChanged(bool waiting)
{
    mStatus->setText(
        waiting ? QString::fromStdString(" " + platform::get_string("Waiting for keyboard input in the run window"))
                : QString());
    if (!waiting || mRunView == nullptr) return;
    // The debug window has the keyboard after a step; what the user types now is for the program.
    if (TBasicWindow* window = mRunView->Window()) window->Appear();
}

void TDebugView::SetFirstBreakPoint()
{
    if (!gPrefs.BreakAtStart.load()) return;
    const int32_t first = mSrcCodeView->FirstLineNum();
    if (first < 0) return;
    WithDebugger([first](TDebugger& debugger) { debugger.AddBreakPoint(first); });
}

void TDebugView::WithDebugger(const std::function<void(TDebugger&)>& use)
{
    if (mRunView == nullptr || mActiveRun == 0) return;
    const int64_t run = mActiveRun;
    mRunView->Session().WithMachine([&](TVMachine& machine) {
        auto* debugger = dynamic_cast<TDebugger*>(&machine);
        if (debugger != nullptr && debugger->RunNumber() == run) use(*debugger);
    });
}

// --- the machine's reports ---

void TDebugView::Post(const platform::Message& message)
{
    mReports.Add(message);
    QMetaObject::invokeMethod(
        this, [this] { ShowReports(); }, Qt::QueuedConnection);
}

// A line, a call, a return or an assignment is handled by noting it: the machine goes
// on at once (the reply answers as it goes) and the lists catch up at the next repaint.
bool TDebugView::Deliver(const platform::Message& message, TDebugReply reply, platform::bigtime_t)
{
    if (mReports.Note(message)) {
        // Noted before the flag is looked at: a repaint that clears the flag after
        // this takes the note with it.
        if (!mRepaintPending.exchange(true))
            QMetaObject::invokeMethod(
                this, [this] { QTimer::singleShot(REPAINT_MILLIS, this, [this] { ShowReports(); }); },
                Qt::QueuedConnection);
        return true;
    }
    // The answer goes when the handler has run, or when Qt drops the call unrun.
    auto answer = std::make_shared<TDebugReply>(std::move(reply));
    QMetaObject::invokeMethod(
        this,
        [this, message, answer] {
            ShowReports();
            HandleMachineMessage(message);
            answer->Answer();
        },
        Qt::QueuedConnection);
    return true;
}

void TDebugView::ShowReports()
{
    mRepaintPending.store(false);
    for (const TDebugReport& report : mReports.Take()) {
        if (report.Posted)
            HandleMachineMessage(report.Message);
        else if (report.Notes.Run == mShownRun)
            ShowNotes(report.Notes);
    }
}

void TDebugView::ShowNotes(const TDebugNotes& notes)
{
    for (int32_t i = 0; i < notes.Returns; ++i) mCallStackView->RemoveCallStack();
    for (const int32_t line : notes.Calls) mCallStackView->AddCallStack(line, mSrcCodeView->Line(line));
    for (const auto& [key, value] : notes.Values)
        if (mVars.ApplyValue(key.first, key.second, value)) mVarView->UpdateVarInfo(key.first, key.second);
    if (notes.Line)
        mCallStackView->SetCurLine(*notes.Line,
                                   platform::replace_placeholder(platform::get_string("[Current] %Num%"), "%Num%",
                                                                 mSrcCodeView->Line(*notes.Line)));
}

void TDebugView::HandleMachineMessage(const platform::Message& message)
{
    int64_t run = 0;
    if (message.FindInt64(debug_msg::Run, &run) != platform::kOk || run != mShownRun) return;
    platform::Message copy(message);
    MessageReceived(&copy);
}

void TDebugView::MessageReceived(platform::Message* message)
{
    int32_t line = 0;
    const bool hasLine = message->FindInt32(debug_msg::LineNum, &line) == platform::kOk;
    switch (message->what) {
    case debug_msg::CurLine:
        if (hasLine)
            mCallStackView->SetCurLine(line, platform::replace_placeholder(platform::get_string("[Current] %Num%"),
                                                                           "%Num%", mSrcCodeView->Line(line)));
        break;
    case debug_msg::CallAdded:
        if (hasLine) mCallStackView->AddCallStack(line, mSrcCodeView->Line(line));
        break;
    case debug_msg::CallRemoved: mCallStackView->RemoveCallStack(); break;
    case debug_msg::VarsUpdated:
        for (const auto& [name, element] : mVars.ApplyUpdate(*message)) mVarView->UpdateVarInfo(name, element);
        break;
    case debug_msg::VarReset: {
        const std::string name = mVars.ApplyReset(*message);
        if (!name.empty()) mVarView->ResetVar(name);
        break;
    }
    case debug_msg::KeyWait: {
        bool waiting = false;
        if (message->FindBool(debug_msg::Waiting, &waiting) == platform::kOk) KeyboardWaitChanged(waiting);
        break;
    }
    case debug_msg::BreakBegun:
        if (!hasLine) break;
        KeyboardWaitChanged(false);
        mSrcCodeView->Break(line);
        mState = DRM_BREAK;
        if (TBasicWindow* window = Window()) window->Appear();
        break;
    case debug_msg::RunEnded: {
        bool killed = false;
        if (message->FindBool(debug_msg::Killed, &killed) == platform::kOk && killed) {
            mCallStackView->SetCurLine(-1, platform::get_string("[Killed]"));
            mSrcCodeView->Unbreak();
        } else {
            mCallStackView->SetCurLine(-1, platform::get_string("[Done]"));
        }
        mActiveRun = 0;
        KeyboardWaitChanged(false);
        break;
    }
    case debug_msg::ShowLine:
        if (hasLine) mSrcCodeView->ScrollToSpecifyLineNum(line);
        break;
    case kBreakPointChanged: {
        bool set = false;
        if (!hasLine || message->FindBool("BPSet", &set) != platform::kOk) break;
        WithDebugger([&](TDebugger& debugger) {
            if (set)
                debugger.AddBreakPoint(line);
            else
                debugger.RemoveBreakPoint(line);
        });
        break;
    }
    case kDebugRunMessage: MItemRunClicked(); break;
    case kDebugPauseMessage: MItemStopClicked(); break;
    case kDebugStepOverMessage: Unbreak(DRM_STEP_OVER); break;
    case kDebugStepInMessage: Unbreak(DRM_STEP_IN); break;
    case kDebugStepOutMessage: Unbreak(DRM_STEP_OUT); break;
    case kDebugKillMessage: MItemKillClicked(); break;
    default: TBasicView::MessageReceived(message); break;
    }
}

// --- the tool bar ---

void TDebugView::Unbreak(TDebugRunMode mode)
{
    if (!HasDebugger() || mState != DRM_BREAK) return;
    mState = mode;
    mSrcCodeView->Unbreak();
    WithDebugger([mode](TDebugger& debugger) {
        debugger.SetDebugRunMode(mode);
        debugger.Unbreak();
    });
}

void TDebugView::MItemRunClicked()
{
    if (mRunView != nullptr)
        if (TBasicWindow* window = mRunView->Window()) window->Appear();
    Unbreak(DRM_RUN);
}

void TDebugView::MItemStopClicked()
{
    WithDebugger([](TDebugger& debugger) { debugger.SetDebugRunMode(DRM_STOP); });
}

void TDebugView::MItemKillClicked()
{
    if (!HasDebugger() || mRunView == nullptr) return;
    mActiveRun = 0;
    mRunView->Session().KillBasic();
}
