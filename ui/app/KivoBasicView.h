#pragma once
// The program editor that fills the main window under its menu bar: the text view
// with the list, a one-line status bar under it, the list's identity (for the title),
// and the receiver of every message about the list: the menu commands the main window
// sends it, the dialogs' requests, the preference notices and the machine's run
// requests ('vmrr').
//
// Runs go through TRunHandOff (session/RunHandOff.h), which drives the run view. The
// machine's run requests arrive on its thread through RunRequested and are posted to
// the window as 'vmrr' with the run they came from; each is handled 20 ms later,
// through the window's queue again, so that a request never runs inside another
// handler (such as an open compile-error alert). One of a killed run is dropped.

#include <QLabel>
#include <QTimer>
#include <memory>
#include <string>

#include "document/ListDocument.h"
#include "machine/host/HostInterfaces.h"
#include "platform/Message.h"
#include "session/AutoBackup.h"
#include "session/RunHandOff.h"
#include "ui/app/CommandTable.h"
#include "ui/app/EditTxtView.h"
#include "ui/app/ListFileServices.h"
#include "ui/guibase/GUIBase.h"

class TRunView;

// The 20 ms after a 'vmrr' are over: run the request it carries.
inline constexpr uint32_t kVMachineRunDue = platform::fourcc("vmrd");

// The wait between a machine's run request and its run.
inline constexpr int kVMachineRunDelayMillis = 20;

// A killed machine may have ended: a run request kept meanwhile goes on.
inline constexpr uint32_t kRunEndingOver = platform::fourcc("vmeo");

// How often the editor looks whether a killed machine has ended.
inline constexpr int kRunEndingLookMillis = 10;

class TKivoBasicView : public TBasicView, public TRunFollower, public TRunHandOffHost, public TCommandReceiver {
public:
    explicit TKivoBasicView(platform::Rect frame);
    ~TKivoBasicView() override;

    void SetRunView(TRunView* runView);
    void SetDebugView(TDebugViewInterface* debugView);
    TEditTxtView* TextView() const { return mTextView; }
    QLabel* StatusBar() const { return mStatBar; }
    TRunHandOff& HandOff() { return mHandOff; }

    void MessageReceived(platform::Message* message) override;
    bool HandlesCommand(uint32_t what) const override;
    void AttachedToWindow() override;
    void LanguageChanged() override;

    // The status bar's text: one blank and `text`, or nothing for an empty text; drawn at once.
    void SetStatBarStr(const std::string& text) override;
    // "(New List)", "(Auto Backuped List)" or the file's name, then " - Kivo-BASIC (Main: Edit Window)".
    std::string WinTitle() const;
    void SetWinTitle();

    // --- commands (one row each in KivoBasicViewCommands.cpp) ---
    void MItemRunClicked(platform::Message* message);
    void MItemKillClicked(platform::Message* message);
    void RunLineRqtd(platform::Message* message);
    // Go to Line and Renumber (KivoBasicViewLineCommands.cpp).
    void GoToLineRqtd(platform::Message* message);
    void RenumberRqtd(platform::Message* message);
    void VMachineRunRqtdMessage(platform::Message* message);
    void VMachineRunDue(platform::Message* message);
    void RunEndingOver(platform::Message* message);
    void EditCommand(platform::Message* message);
    void PrefMainWinFontChanged(platform::Message* message);
    void PrefWordWrapChanged(platform::Message* message);

    // --- list files (KivoBasicViewListFiles.cpp) ---
    void RefsReceived(platform::Message* message);
    void SimpleData(platform::Message* message);
    void MItemNewClicked(platform::Message* message);
    void MItemSaveClicked(platform::Message* message);
    // The save panel's reply: saves there (asking before replacing a file) and, once
    // saved, remembers the folder as the last one saved to.
    void SaveRequested(platform::Message* message);
    // The folder of the last save through the save panel that succeeded, in this run;
    // empty before one.
    const std::string& LastSavedFolder() const { return mLastSavedFolder; }
    void AutoSaveTimerFired(platform::Message* message);
    void PrefAutoSaveRegularChanged(platform::Message* message);
    // The save question of an operation that would lose the list; `pending` comes
    // back to `target` after a save it asked for. True: go on at once.
    bool AskSave(const platform::Message& pending, platform::Handler* target);
    // The restore offer of the backups left by a crash; then the timer.
    void CheckAndLoadAutoSave();
    void StartUpOffer(platform::Message* message);
    void SetAutoSaveRegular();
    TListDocument& Document() { return mDocument; }
    TAlertListAsker& Asker() { return mAsker; }
    const TBackupSlot* BackupSlot() const { return mBackupSlot.get(); }
    QTimer* AutoSaveTimer() const { return mAutoSaveTimer; }
    // A machine's run request (machine thread): posted to the window as 'vmrr'.
    void RunRequested(const TRunRequest& request, TRunSerial from) override;

    // --- what a run asks of the editor ---
    std::string ListText() const override;
    void SaveAutoBackup() override;
    void ShowAlert(const std::string& text) override;
    void BringDebugWindowForward() override;
    void BringRunWindowForward() override;
    void LoadRequestedList(const std::string& path, bool merge, const TRunRequest& continuation,
                           TRunSerial from) override;
    void AwaitEnding() override;

    // The list's identity: a file, the restored backup, or a new list.
    bool AutoBackuped() const { return mDocument.AutoBackuped(); }
    platform::EntryRef CurERef() const { return platform::EntryRef{mDocument.FilePath()}; }

private:
    void SetCurERef(const std::string& path);
    void SendSetDrvFolderRqtd();
    void WriteAutoBackup();
    // Offers one backup for restoring: true when restored; a declined one is set aside.
    // `notes`: the status-bar notes of the offers so far, extended by this one's.
    bool OfferBackup(const TBackupSlot& slot, std::string* notes);

    TEditTxtView* mTextView;
    QLabel* mStatBar;
    TRunView* mRunView = nullptr;
    TDebugViewInterface* mDebugView = nullptr;
    TRunHandOff mHandOff;
    TEditorListText mListText;
    TAlertListAsker mAsker;
    TListDocument mDocument;
    std::unique_ptr<TBackupSlot> mBackupSlot;
    QTimer* mAutoSaveTimer = nullptr;
    std::string mLastSavedFolder;
};

// The run request a message carries, and the message that carries a run request.
TRunRequest run_request_of(const platform::Message& message);
platform::Message run_request_message(uint32_t what, const TRunRequest& request);
// The same with the run the request came from, and that run (0 when not given).
platform::Message followed_request_message(uint32_t what, const TRunRequest& request, TRunSerial from);
TRunSerial run_serial_of(const platform::Message& message);
