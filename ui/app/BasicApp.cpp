#include "ui/app/BasicApp.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include "foundation/Common.h"
#include "foundation/HeaderConstants.h"
#include "foundation/IAPItemAccKeyFormat.h"
#include "foundation/IAPItemFlatToolBar.h"
#include "platform/Locale.h"
#include "ui/app/AppIdentity.h"
#include "ui/app/AppMessages.h"
#include "ui/app/DebugWindowPlace.h"
#include "ui/app/KivoBasicWindow.h"
#include "ui/app/SplashWindow.h"
#include "ui/appdialogs/AppDialogs.h"
#include "ui/debugwindow/DebugView.h"
#include "ui/debugwindow/DebugWindow.h"
#include "ui/guibase/GeometryQt.h"
#include "ui/prefsdialog/PrefsWindow.h"
#include "ui/runwindow/RunWindow.h"

void place_window(TBasicWindow* window, const platform::Rect& frame)
{
    const platform::Point corner{frame.left, frame.top};
    const QRect wanted(QPoint(static_cast<int>(frame.left), static_cast<int>(frame.top)), window->size());
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->geometry().intersects(wanted)) {
            window->MoveTo(corner);
            return;
        }
    }
    window->IntelligentMoveTo(corner);
}

void place_debug_window(TBasicWindow* window, const platform::Rect& runFrame)
{
    const QRect frame = window->geometry();
    const QScreen* screen = QGuiApplication::screenAt(frame.center());
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    // The title bar and borders a window manager adds must fit on the screen too.
    const QRect decorated = window->frameGeometry();
    const QRect room =
        screen->availableGeometry().adjusted(frame.left() - decorated.left(), frame.top() - decorated.top(),
                                             frame.right() - decorated.right(), frame.bottom() - decorated.bottom());
    window->setGeometry(to_qrect(debug_window_frame(from_qrect(frame), runFrame, from_qrect(room))));
}

namespace {

// Registers the shared preferences this application uses, once for the process.
void register_shared_prefs()
{
    gIAPs.SetAppSignatureRef(gAppSignature);
    std::string format;
    if (gIAPs.GetString("AccKeyFormat2", &format) != 0) gIAPs.AddItem(new TIAPItemAccKeyFormat);
    bool flat = false;
    if (gIAPs.GetBool("FlatToolBar", &flat) != 0) gIAPs.AddItem(new TIAPItemFlatToolBar);
}

}  // namespace

TBasicApp::TBasicApp() : platform::Looper("KivoBASIC"), mPump(this)
{
    if (gPrefs.ShowSplash.load()) {
        mSplashWin = std::make_unique<TSplashWindow>(platform::Rect{0, 0, 1, 1});
        mSplashWin->IntelligentCentering();
        mSplashWin->Show();
    }
    register_shared_prefs();
    SetSplashStr(platform::get_string("Creating windows") + FUC_ELLIPSIS);
    mDialogs = MakeDialogs();
    mDialogs->InstallBasicListMime(gExitStates.Version);

    mMainWin = std::make_unique<TKivoBasicWindow>(gExitStates.MainWindowFrame, this);
    mRunWin = std::make_unique<TRunWindow>(gExitStates.RunWindowFrame);
    mRunWin->SetApplicationTarget(platform::Messenger(this));
    mMainWin->SetRunView(mRunWin->RunView());
    mDebugWindow = std::make_unique<TDebugWindow>(gExitStates.DebugWindowFrame);
    mDebugWin = mDebugWindow.get();
    mDebugWindow->SetRunView(mRunWin->RunView());
    mRunWin->RunView()->Session().SetDebugSink(mDebugWindow->DebugView());
    mMainWin->SetDebugView(mDebugWindow->DebugView());

    SetSplashStr(platform::get_string("Adjusting sub windows") + FUC_ELLIPSIS);
    place_window(mMainWin.get(), gExitStates.MainWindowFrame);
    // The run window starts hidden at its place; Window > Run Window or a run shows it.
    place_window(mRunWin.get(), gExitStates.RunWindowFrame);
    place_debug_window(mDebugWin, mRunWin->Frame());
    mMainWin->Show();

    mInbox = std::make_unique<TIAPInbox>(platform::Messenger(this));
    mInbox->Resume();
    QTimer::singleShot(0, mMainWin.get(), [this] { ReadyToRun(); });
}

TBasicApp::~TBasicApp()
{
    if (mInbox) {
        mInbox->Terminate();
        mInbox->PreventBlocking();
        mInbox->Wait(nullptr);
    }
    mSplashWin.reset();
    mPrefsWin.reset();
    mDialogs.reset();
    // The run window ends its machine before the editor, the target of its run
    // requests, goes.
    mRunWin.reset();
    mMainWin.reset();
    // Last: the machines and the editor report to the debug view until they go.
    mDebugWin = nullptr;
    mDebugWindow.reset();
    Looper::Quit();
}

void TBasicApp::ReadyToRun()
{
    mSplashWin.reset();
    if (mMainWin) mMainWin->Appear();
}

void TBasicApp::SetSplashStr(const std::string& text)
{
    if (!mSplashWin) return;
    platform::Message message(kSplashStatusMessage);
    message.AddString("StatStr", text);
    mSplashWin->PostMessage(message);
    // The event loop does not run yet while the windows are built: let the splash
    // take the text and draw it now.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool TBasicApp::QuitRequested()
{
    return mMainWin == nullptr || mMainWin->QuitRequested();
}

void TBasicApp::Quit()
{
    if (mQuitting) return;
    mQuitting = true;
    gAppPrivacy.Quitting = true;
    if (mDialogs) mDialogs->CloseAbout();
    // The machine ends first, so that nothing it asks for arrives while the windows go.
    if (mMainWin) mMainWin->BasicView()->HandOff().QuitBasic();
    if (mPrefsWin) mPrefsWin->Hide();
    if (mDebugWin) mDebugWin->Hide();
    if (mRunWin) mRunWin->Hide();
    if (mMainWin) mMainWin->Hide();
    if (mPrefsWin) mPrefsWin->QuitForApplication();
    if (mDebugWindow) mDebugWindow->Quit();
    if (mRunWin) mRunWin->Quit();
    if (mMainWin) mMainWin->Quit();
    QCoreApplication::quit();
}
