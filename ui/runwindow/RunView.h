#pragma once
// The run view: the 640 × 400 emulated screen a program runs on, is seen on and is
// typed to. It holds one run session (session/RunSession.h) for its whole life, as
// kivo-headless does, so a program runs the same way in the window and in the driver;
// the editor and the tests start, run and end programs through its run operations.
//
// Drawing. The machine thread never touches the view: a redraw request sets an atomic
// "pending" flag and, when it was clear, posts one call to the GUI thread. That call
// takes the changed area under the screen's lock, draws it into a persistent back
// buffer with the one screen renderer and asks Qt to repaint that part; paintEvent
// only copies the back buffer. Requests coalesce and none is lost.
//
// Input. Keys go into the key buffer of the devices; F1 to F10 type their strings and
// raise their interrupts; End raises HELP; a key typed with Ctrl (the Command key)
// reaches the view as 'ctkd' through the window's key filter, Ctrl+C being the STOP key
// (TRunSession::PressStopKey).
// Mouse presses, releases and every move are handed to the machine with their
// interrupts. Interrupts are raised only while a machine exists.
//
// The ON TIME$ alarm and the machine's run requests are the session's own: the alarm
// is forgotten when the next run is readied, and after a Kill it finds no machine, so
// an alarm of one run never reaches another.
//
// Drives. '_RRC' and 'sdfr' map a drive to a host folder, 'ejct' empties it; each
// change, and each relabelling, is told to the window as 'udfr'. The devices' access
// lamp requests come from the machine thread and reach the window as 'salr'.

#include <QFont>
#include <QImage>
#include <QTimer>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>

#include "foundation/AlertSink.h"
#include "machine/host/HostInterfaces.h"
#include "platform/SystemMessages.h"
#include "session/RunSession.h"
#include "ui/guibase/ErrorAlertSink.h"
#include "ui/guibase/GUIBase.h"
#include "ui/runwindow/HeldKeys.h"
#include "ui/runwindow/RunMidi.h"

class TVMachine;
class TMidCode;

// Messages the run view answers, besides 'pusc', 'prfc' (foundation/PrefsMessages.h)
// and 'pmoc' (foundation/MidiOutMessages.h).
inline constexpr uint32_t kCtrlKeyDownMessage = platform::fourcc("ctkd");
inline constexpr uint32_t kCopyTextMessage = platform::fourcc("cptx");
inline constexpr uint32_t kCopyGraphicMessage = platform::fourcc("cpgr");  // int32 "GrphPage": −1, 0 to 3
inline constexpr uint32_t kCopyCompositionMessage = platform::fourcc("cpcp");
// The drives: int32 "DrvFolderIdx" (0 to 13) and, to set a folder, entry_ref "refs".
using platform::kRefsReceivedMessage;
inline constexpr uint32_t kSetDrvFolderMessage = platform::fourcc("sdfr");
inline constexpr uint32_t kEjectDrvFolderMessage = platform::fourcc("ejct");
// To the window: int32 "DrvFolderIdx", entry_ref "DrvFolderERef" (empty path for no
// folder) and string "DrvFolderName" (the folder's own name, or "(Empty)").
inline constexpr uint32_t kUpdateMenuDrvFolderMessage = platform::fourcc("udfr");
// To the window: int32 "DrvFolderIdx" (0 or 1) and int32 "FDDALS" (+1 or −1).
inline constexpr uint32_t kFDDAccessLampMessage = platform::fourcc("salr");

// The application's name as the title and the boot banner show it.
inline constexpr const char* kRunAppName = "Kivo-BASIC";

// The run window's title for a compatibility mode: the mode's name ("DISK-BASIC" for
// 2, "DOS-BASIC" for 3, nothing otherwise), " - ", the application's name and
// "(Run Window)".
std::string run_window_title(int32_t mode);

class TRunView : public TBasicView, public TScreenUpdateSink, public TGlyphSource, public TDriveLamps {
public:
    // `alerts` receives compile and run-time errors; null shows them as alerts.
    // `midi`: the MIDI endpoints; null plays through the ALSA sequencer.
    explicit TRunView(platform::Rect frame, TAlertSink* alerts = nullptr,
                      std::unique_ptr<TRunMidiPorts> midi = nullptr);
    ~TRunView() override;

    // The session that runs the programs: its run operations are the editor's (the
    // hand-off drives them); the view shows each new run's mode and speed control.
    TRunSession& Session() { return *mSession; }
    TVMachine* VMachine() const { return mSession->VMachine(); }
    TMidCode* MidCode();
    // True when there is no machine or its program has ended.
    bool RunEnded() const;

    void MessageReceived(platform::Message* message) override;
    void AttachedToWindow() override;
    void LanguageChanged() override;

    // The title for the mode of the program last compiled.
    std::string WinTitle() const;
    void SetWinTitle();
    void SetFontFamilyAndSize();
    const QFont& RunFont() const { return mFont; }
    // What the view shows, cursor included.
    const QImage& BackBuffer() const { return mBackBuffer; }

    // A key typed without Ctrl: its bytes become one key-buffer entry; End raises HELP.
    void KeyDown(const std::string& bytes);
    // 'ctkd': Ctrl+C is the STOP key; any other key goes on as its letter.
    void CtrlKeyDown(const platform::Message& message);
    // F1 to F10: the key's string typed and its interrupt raised.
    void FuncKeyDown(int n);
    // Raises an interrupt of the machine, when there is one.
    void RaiseInterrupt(uint32_t bit);

    // The Copy menu.
    void MItemCopyTextClicked();
    void MItemCopyGrphClicked(const platform::Message& message);
    void MItemCopyCompositionClicked();

    // The drives ('_RRC', 'sdfr', 'ejct'). A folder that is not a readable folder
    // gives an alert and leaves the drive as it was.
    void RefsReceived(const platform::Message& message);
    void MItemEjectClicked(const platform::Message& message);
    // Posts 'udfr' for a drive to the window.
    void SendUpdateMenuDrvFolder(int drvFolderIdx);
    // The devices' lamp requests (any thread), posted to the window as 'salr'.
    void SetFDDAccessLampRqtd(int drvFolderIdx, int delta) override;

    // MIDI: where 'ummr' and 'rmmc' go, and the connections.
    void SetApplicationTarget(const platform::Messenger& target) { mMidi->SetApplicationTarget(target); }
    TRunMidi& Midi() { return *mMidi; }

    // The redraw request of the devices (any thread).
    void ScreenUpdateRqtd(const TScreenRect& area) override;
    // 16 × 16 glyphs of the run font for PUT@ KANJI (the machine thread).
    bool GlyphRows(const std::string& utf8, uint16_t rows[16]) const override;
    // Draws what changed into the back buffer (the GUI thread; posted by requests).
    void DrawPending();
    // Flips the cursor phase and redraws a shown cursor (the blink timer).
    void CursorBlinkRqtd();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void SetUseSpeedControl();
    void ShowBootStr();
    void MarkCursorCells();

    TErrorAlertSink mOwnAlerts{kRunAppName};
    TAlertSink* mAlerts;
    THeldKeys mHeldKeys;
    std::unique_ptr<TRunSession> mSession;
    std::unique_ptr<TRunMidi> mMidi;  // goes after the session, whose player plays through it
    QFont mFont;
    QImage mBackBuffer;
    QTimer mCursorBlink;
    std::atomic<bool> mUpdatePending{false};
    int mCursorDrawnAt = -1;  // the cell whose block the back buffer shows, or −1
    int32_t mMouseButtons = 0;
    mutable std::mutex mGlyphLock;
    QFont mGlyphFont;  // under mGlyphLock
};
