// The application's messages: the commands it handles itself, one row a code, and the
// notices it relays to the window that owns the view concerned.

#include "foundation/Common.h"
#include "foundation/HeaderConstants.h"
#include "foundation/PrefsMessages.h"
#include "platform/Locale.h"
#include "ui/app/AppLooperSink.h"
#include "ui/app/AppMessages.h"
#include "ui/app/BasicApp.h"
#include "ui/app/KivoBasicWindow.h"
#include "ui/appdialogs/AppDialogs.h"
#include "ui/guibase/GUIBase.h"
#include "ui/prefsdialog/PrefsWindow.h"
#include "ui/runwindow/RunWindow.h"

namespace {

using A = TBasicApp;

const TCommandRow<A> kAppCommands[] = {
    {kGoToLineMessage, &A::MItemGoToLineClicked},
    {kRunLineMessage, &A::MItemRunLineClicked},
    {kRenumberMessage, &A::MItemRenumberClicked},
    {kRegisterMimeMessage, &A::MItemRegisterMimeClicked},
    {kPreferencesMessage, &A::MItemPrefsClicked},
    {kCommonPrefsMessage, &A::MItemTAVRENCommonPrefsClicked},
    {kHelpMessage, &A::MItemHelpClicked},
    // The project has no web page of its own yet, so the item stays disabled.
    {kAuthorWebMessage, nullptr},
    {kAboutRequestedMessage, &A::AboutRequested},
    {kShowMainWinMessage, &A::ShowMainWindow},
    {kShowRunWindowMessage, &A::ShowRunWindow},
    {kShowDebugWinMessage, &A::ShowDebugWindow},
    {kPrefsConfirmed, &A::PrefsDetermined},
    {kIAPChangedMessage, &A::IAPChanged},
    {kQuitMessage, &A::QuitRqtd},
    {platform::kLanguageChangedMessage, &A::LanguageChanged},
};

enum class TRelayTo { MainWindow, RunWindow, DebugWindow, PrefsWindow };

struct TRelayRow {
    uint32_t what;
    TRelayTo to;
};

const TRelayRow kRelays[] = {
    {kPrefsAutoSaveChanged, TRelayTo::MainWindow},    {kPrefsMainFontChanged, TRelayTo::MainWindow},
    {kPrefsWordWrapChanged, TRelayTo::MainWindow},    {kPrefsDefaultEncodingChanged, TRelayTo::MainWindow},
    {kPrefsRunFontChanged, TRelayTo::RunWindow},      {kPrefMidiOutChanged, TRelayTo::RunWindow},
    {kPrefsSpeedControlChanged, TRelayTo::RunWindow}, {kSetDriveFolderRequest, TRelayTo::RunWindow},
    {kPrefsDebugFontChanged, TRelayTo::DebugWindow},  {kRecreateMenuMidiOutRqtd, TRelayTo::PrefsWindow},
    {kUpdateMenuMidiOutRqtd, TRelayTo::PrefsWindow},
};

void post_to(TBasicWindow* window, const platform::Message& message)
{
    if (window) window->PostMessage(message);
}

}  // namespace

void TBasicApp::MessageReceived(platform::Message* message)
{
    if (auto handler = find_command(kAppCommands, message->what)) {
        (this->*handler)(message);
        return;
    }
    if (Relay(*message)) return;
    platform::Looper::MessageReceived(message);
}

bool TBasicApp::HandlesCommand(uint32_t what) const
{
    return find_command(kAppCommands, what) != nullptr;
}

bool TBasicApp::Relay(const platform::Message& message)
{
    for (const TRelayRow& row : kRelays) {
        if (row.what != message.what) continue;
        switch (row.to) {
        case TRelayTo::MainWindow: post_to(mMainWin.get(), message); break;
        case TRelayTo::RunWindow:
            // The run window passes these on to its run view.
            if (mRunWin) mRunWin->PostMessage(message, mRunWin->RunView());
            break;
        case TRelayTo::DebugWindow: post_to(mDebugWin, message); break;
        case TRelayTo::PrefsWindow: post_to(mPrefsWin.get(), message); break;
        }
        return true;
    }
    return false;
}

void TBasicApp::QuitRqtd(platform::Message*)
{
    if (QuitRequested()) Quit();
}

void TBasicApp::ShowMainWindow(platform::Message*)
{
    if (mMainWin) mMainWin->Appear();
}

void TBasicApp::ShowRunWindow(platform::Message*)
{
    if (mRunWin) mRunWin->Appear();
}

void TBasicApp::ShowDebugWindow(platform::Message*)
{
    if (mDebugWin) mDebugWin->Appear();
}

void TBasicApp::IAPChanged(platform::Message* notice)
{
    gIAPs.SetValue(*notice);
    // Then every window that shows labels: main, run, debug, renumber, preferences.
    post_to(mMainWin.get(), *notice);
    post_to(mRunWin.get(), *notice);
    post_to(mDebugWin, *notice);
    if (mDialogs) mDialogs->IAPChanged(*notice);
    post_to(mPrefsWin.get(), *notice);
}

void TBasicApp::MItemPrefsClicked(platform::Message*)
{
    if (!mPrefsWin) {
        // Building the dialog takes a moment; the status bar says so meanwhile.
        if (mMainWin) mMainWin->SetStatBarStr(platform::get_string("Just a moment") + FUC_ELLIPSIS);
        mPrefsSink = std::make_unique<TAppLooperSink>(this);
        TPrefsServices services;
        services.sink = mPrefsSink.get();
        // The MIDI-output menu lists the run view's roster.
        if (mRunWin) services.roster = &mRunWin->RunView()->Midi().Ports().Roster();
        mPrefsWin = std::make_unique<TPrefsWindow>(platform::Rect{0, 0, 1, 1}, services);
        const platform::Rect main = mMainWin ? mMainWin->Frame() : platform::Rect{};
        mPrefsWin->IntelligentMoveTo(platform::Point{main.left, main.top + 20});
    }
    if (mMainWin) mMainWin->SetStatBarStr(std::string());
    mPrefsWin->Appear();
}

void TBasicApp::PrefsDetermined(platform::Message*)
{
    if (mMainWin) mMainWin->SetStatBarStr(platform::get_string("Preferences changed."));
}
