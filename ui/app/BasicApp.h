#pragma once
// The application object: it builds the long-lived windows at start-up (the splash,
// the main window with the editor, the run window), receives what is addressed to the
// application as a whole and either handles it or relays it to the window concerned,
// and puts the windows down in order when the application quits.
//
// It is a looper of its own on the GUI thread, like every window. The menu commands
// it handles and the codes it relays are tables, one row a code
// (BasicAppCommands.cpp); a command whose row has no handler yet is disabled in the
// menus.

#include <memory>
#include <string>

#include "foundation/IAPPortManager.h"
#include "platform/Looper.h"
#include "platform/qt/LooperPump.h"
#include "ui/app/CommandTable.h"

class TAppMessageSink;
class TAppDialogs;
class TBasicWindow;
class TDebugWindow;
class TKivoBasicWindow;
class TPrefsWindow;
class TRunWindow;
class TSplashWindow;

class TBasicApp : public platform::Looper, public TCommandReceiver {
public:
    // The start-up sequence; the windows are built but the event loop is not run.
    TBasicApp();
    ~TBasicApp() override;

    TBasicApp(const TBasicApp&) = delete;
    TBasicApp& operator=(const TBasicApp&) = delete;

    // Closes the splash and brings the main window up; runs once the event loop runs.
    void ReadyToRun();
    void MessageReceived(platform::Message* message) override;
    bool HandlesCommand(uint32_t what) const override;
    // The main window's answer, asked outside any of its messages.
    bool QuitRequested();
    // Sets the quitting flag, ends the run, hides and closes the windows in order
    // (each stores its frame) and ends the event loop.
    void Quit();
    bool IsQuitting() const { return mQuitting; }

    // Shows `text` in the splash's status bar while the splash exists.
    void SetSplashStr(const std::string& text);

    TKivoBasicWindow* MainWindow() const { return mMainWin.get(); }
    TRunWindow* RunWindow() const { return mRunWin.get(); }
    TBasicWindow* DebugWindow() const { return mDebugWin; }
    TSplashWindow* SplashWindow() const { return mSplashWin.get(); }
    TAppDialogs* Dialogs() const { return mDialogs.get(); }

    // --- commands (one row each in BasicAppCommands.cpp) ---
    void QuitRqtd(platform::Message* message);
    void ShowMainWindow(platform::Message* message);
    void ShowRunWindow(platform::Message* message);
    void ShowDebugWindow(platform::Message* message);
    void IAPChanged(platform::Message* notice);
    // Tool > Preferences...: the dialog, made on first use 20 pixels below the main
    // window's corner.
    void MItemPrefsClicked(platform::Message* message);
    // 'prcd': the dialog's OK.
    void PrefsDetermined(platform::Message* message);
    TPrefsWindow* PrefsWindow() const { return mPrefsWin.get(); }
    // The dialogs' and pages' commands (BasicAppDialogs.cpp).
    void MItemGoToLineClicked(platform::Message* message);
    void MItemRunLineClicked(platform::Message* message);
    void MItemRenumberClicked(platform::Message* message);
    void MItemRegisterMimeClicked(platform::Message* message);
    void MItemTAVRENCommonPrefsClicked(platform::Message* message);
    void MItemHelpClicked(platform::Message* message);
    void AboutRequested(platform::Message* message);
    void LanguageChanged(platform::Message* message);

private:
    // Relays a copy of `message` to the window its code is meant for; a window not
    // made yet gets nothing.
    bool Relay(const platform::Message& message);
    // The dialogs' commands, placed below the main window and sending to its editor.
    std::unique_ptr<TAppDialogs> MakeDialogs();

    platform::LooperPump mPump;
    std::unique_ptr<TSplashWindow> mSplashWin;
    std::unique_ptr<TKivoBasicWindow> mMainWin;
    std::unique_ptr<TRunWindow> mRunWin;
    // The debugger's window and the dialogs come with their commands.
    TBasicWindow* mDebugWin = nullptr;
    std::unique_ptr<TAppMessageSink> mPrefsSink;
    std::unique_ptr<TPrefsWindow> mPrefsWin;
    std::unique_ptr<TAppDialogs> mDialogs;
    std::unique_ptr<TDebugWindow> mDebugWindow;
    std::unique_ptr<TIAPInbox> mInbox;
    bool mQuitting = false;
};

// Moves `window` to the top-left corner of `frame`; a corner that lies off every
// screen is pulled into the main screen as IntelligentMoveTo does.
void place_window(TBasicWindow* window, const platform::Rect& frame);
// Places the debug window (debug_window_frame) on the screen it lies on, with the run
// window at `runFrame`.
void place_debug_window(TBasicWindow* window, const platform::Rect& runFrame);
