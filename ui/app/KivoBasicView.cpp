#include "ui/app/KivoBasicView.h"

#include <QTimer>
#include <QVBoxLayout>

#include "foundation/Common.h"
#include "platform/Locale.h"
#include "ui/app/AppIdentity.h"
#include "ui/app/AppMessages.h"
#include "ui/guibase/ErrorAlertSink.h"
#include "ui/guibase/SpyFilter.h"
#include "ui/runwindow/RunView.h"

TKivoBasicView::TKivoBasicView(platform::Rect frame)
    : TBasicView(frame, "BasicView", kFollowAll), mTextView(new TEditTxtView(this)), mStatBar(new QLabel(this)),
      mHandOff(nullptr, *this, this), mListText(mTextView), mDocument(mListText, mAsker)
{
    mStatBar->setObjectName(QStringLiteral("StatBar"));
    mStatBar->setTextFormat(Qt::PlainText);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(mTextView, 1);
    layout->addWidget(mStatBar, 0);
    mTextView->viewport()->installEventFilter(new TListDropFilter(this, [this](const platform::Message& drop) {
        if (TBasicWindow* window = Window()) window->PostMessage(drop, this);
    }));
}

TKivoBasicView::~TKivoBasicView()
{
    // A normal end leaves no backup to offer at the next start.
    if (mAutoSaveTimer) mAutoSaveTimer->stop();
    if (mBackupSlot) mBackupSlot->Remove();
}

void TKivoBasicView::SetRunView(TRunView* runView)
{
    mRunView = runView;
    mHandOff.SetRunOperations(runView != nullptr ? &runView->Session() : nullptr);
}

void TKivoBasicView::SetDebugView(TDebugViewInterface* debugView)
{
    mDebugView = debugView;
    mHandOff.SetDebugView(debugView);
}

void TKivoBasicView::AttachedToWindow()
{
    if (TBasicWindow* window = Window())
        window->AddCommonFilter(new TSpyFilter(platform::kLanguageChangedMessage, platform::Messenger(this)));
    mTextView->setFocus();
    SetWinTitle();
    // The restore offer is a modal alert: it comes once the event loop runs, over the
    // shown window, rather than in the middle of building the windows. It goes
    // through the window's queue ahead of the lists named on the command line, so
    // they are opened after it is answered, never inside its modal loop.
    if (TBasicWindow* window = Window()) window->PostMessage(kStartUpOfferMessage, this);
}

void TKivoBasicView::StartUpOffer(platform::Message*)
{
    CheckAndLoadAutoSave();
    SetAutoSaveRegular();
    SetWinTitle();
}

void TKivoBasicView::LanguageChanged()
{
    SetWinTitle();
    SetStatBarStr(std::string());
}

void TKivoBasicView::SetStatBarStr(const std::string& text)
{
    mStatBar->setText(text.empty() ? QString() : QString::fromStdString(" " + text));
    // Compiling and loading keep the GUI thread busy; the text shows before they start.
    mStatBar->repaint();
}

std::string TKivoBasicView::WinTitle() const
{
    return mDocument.DisplayName() + " - " + gAppNameE + " " + platform::get_string("(Main: Edit Window)");
}

void TKivoBasicView::SetWinTitle()
{
    if (TBasicWindow* window = Window()) window->setWindowTitle(QString::fromStdString(WinTitle()));
}

// --- runs ---

void TKivoBasicView::RunRequested(const TRunRequest& request, TRunSerial from)
{
    if (TBasicWindow* window = Window())
        window->PostMessage(followed_request_message(kVMachineRunRequest, request, from), this);
}

void TKivoBasicView::AwaitEnding()
{
    // A look a little later, never a wait; through the window's queue, so that the
    // kept request does not run inside another handler. The hand-off looks again.
    QTimer::singleShot(kRunEndingLookMillis, this, [this] {
        if (TBasicWindow* window = Window()) window->PostMessage(kRunEndingOver, this);
    });
}

std::string TKivoBasicView::ListText() const
{
    return mTextView->Text();
}

void TKivoBasicView::SaveAutoBackup()
{
    WriteAutoBackup();
}

void TKivoBasicView::ShowAlert(const std::string& text)
{
    TErrorAlertSink(gAppNameE).ShowAlert(text);
}

void TKivoBasicView::BringDebugWindowForward()
{
    if (auto* view = dynamic_cast<TBasicView*>(mDebugView))
        if (TBasicWindow* window = view->Window()) window->Appear();
}

void TKivoBasicView::BringRunWindowForward()
{
    // In front and with the keyboard, so that what the user types goes to the program.
    // Ctrl+C there is the STOP key; Kill stays with the main window's Run menu.
    TBasicWindow* window = mRunView ? mRunView->Window() : nullptr;
    if (!window) return;
    window->Appear();
    // A window manager activates a window it shows; without one the window asks.
    window->activateWindow();
}

// --- run requests as messages ---

namespace {
constexpr const char* kRunSerialField = "RunSerial";
}  // namespace

TRunRequest run_request_of(const platform::Message& message)
{
    TRunRequest request;
    int32_t line = 0;
    std::string text;
    bool flag = false;
    if (message.FindInt32("LineNum", &line) == platform::kOk) request.LineNum = line;
    if (message.FindString("Label", &text) == platform::kOk) request.Label = text;
    if (message.FindString("FileName", &text) == platform::kOk) request.FileName = text;
    if (message.FindBool("Merge", &flag) == platform::kOk) request.Merge = flag;
    if (message.FindBool("ROpt", &flag) == platform::kOk) request.ROpt = flag;
    if (message.FindBool("NotFore", &flag) == platform::kOk) request.NotFore = flag;
    return request;
}

platform::Message run_request_message(uint32_t what, const TRunRequest& request)
{
    platform::Message message(what);
    if (request.LineNum) message.AddInt32("LineNum", *request.LineNum);
    if (request.Label) message.AddString("Label", *request.Label);
    if (request.FileName) message.AddString("FileName", *request.FileName);
    if (request.Merge) message.AddBool("Merge", true);
    if (request.ROpt) message.AddBool("ROpt", true);
    if (request.NotFore) message.AddBool("NotFore", true);
    return message;
}

platform::Message followed_request_message(uint32_t what, const TRunRequest& request, TRunSerial from)
{
    platform::Message message = run_request_message(what, request);
    message.AddInt64(kRunSerialField, static_cast<int64_t>(from));
    return message;
}

TRunSerial run_serial_of(const platform::Message& message)
{
    int64_t from = 0;
    if (message.FindInt64(kRunSerialField, &from) != platform::kOk || from < 0) return 0;
    return static_cast<TRunSerial>(from);
}
