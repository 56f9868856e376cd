#pragma once
// The main window: the menu bar (built from MainMenuTable) over the program editor.
// Each title's and item's shown letter is its mnemonic (Alt+F opens File, N then
// chooses New), and F10 opens the first menu.
// Its menu items send bare messages to the editor view, to the application or to the
// window itself; an item whose receiver does not handle its code yet is disabled. It
// passes preference notices on to the editor, keeps the Repeat and Use Debugger marks
// in step with "RptR" and "UDbg", rebuilds its menus when the language or the
// accelerator format changes, and at quit stores its frame in "_WFr".
//
// Closing it or choosing Quit asks the application, which asks the window again
// outside any message (QuitRequested) before the whole application quits.

#include <QMenu>
#include <QMenuBar>

#include "session/RecentLists.h"
#include "ui/app/CommandTable.h"
#include "ui/app/KivoBasicView.h"
#include "ui/app/MainMenuTable.h"

class QCheckBox;
class QComboBox;
class QFileDialog;
#include "ui/guibase/GUIBase.h"

class TKivoBasicWindow : public TBasicWindow, public TCommandReceiver {
public:
    // `application`: the receiver of the application's items (also a TCommandReceiver);
    // null leaves those items disabled.
    explicit TKivoBasicWindow(platform::Rect frame, platform::Handler* application = nullptr);
    ~TKivoBasicWindow() override;

    TKivoBasicView* BasicView() const { return mBasicView; }
    QMenuBar* MenuBar() const { return mMenuBar; }
    // The Open submenu, where the recent lists are listed.
    QMenu* RecentListsMenu() const { return mRecentListsMenu; }
    QAction* RepeatItem() const { return mRepeatItem; }
    QAction* UseDebuggerItem() const { return mUseDebuggerItem; }

    void SetRunView(TRunView* runView) { mBasicView->SetRunView(runView); }
    void SetDebugView(TDebugViewInterface* debugView) { mBasicView->SetDebugView(debugView); }
    void SetStatBarStr(const std::string& text) { mBasicView->SetStatBarStr(text); }
    platform::Handler* Application() const { return mApplication; }

    void MessageReceived(platform::Message* message) override;
    bool HandlesCommand(uint32_t what) const override;
    // Inside a message (close box, Quit): asks the application and answers false.
    // Called directly by the application: true when the list may be given up.
    bool QuitRequested() override;
    // The application's quit: stores the frame in "_WFr" and closes the window.
    bool Quit();
    void IAPChanged(platform::Message* notice) override;
    void LanguageChanged() override;

    void CreateMenu();
    void DestroyMenu();
    void SetLabelsCommon();
    void UpdateMItemRepeatRun();
    void UpdateMItemUseDebugger();

    // --- commands (one row each in KivoBasicWindowCommands.cpp) ---
    void PassToBasicView(platform::Message* message);
    void MItemQuitClicked(platform::Message* message);
    void MItemRepeatRunClicked(platform::Message* message);
    void MItemUseDebuggerClicked(platform::Message* message);

    // --- recent lists and file panels (KivoBasicWindowListFiles.cpp) ---
    void GenerateMenuMRUF();
    void AddHistoryRqtd(platform::Message* message);
    void RemoveHistoryRqtd(platform::Message* message);
    void MItemDelAllMRULsClicked(platform::Message* message);
    void MItemOpenClicked(platform::Message* message);
    void MItemSaveAsClicked(platform::Message* message);
    void PanelClosed(platform::Message* message);
    void PrefDefaultEncodingChanged(platform::Message* message);
    TRecentLists& RecentLists() { return mRecentLists; }
    QFileDialog* OpenPanel() const { return mOpenPanel; }
    QFileDialog* SavePanel() const { return mSavePanel; }
    QComboBox* EncodingMenu() const { return mEncodingMenu; }
    QCheckBox* InsertCheckBox() const { return mInsertCheckBox; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void AddMenuItem(QMenu* menu, const TMainMenuRow& row, const std::string& format);
    bool ReceiverHandles(const TMainMenuRow& row) const;
    void SendMenuMessage(const TMainMenuRow& row);
    void LayOut();

    platform::Handler* mApplication;
    QMenuBar* mMenuBar;
    TKivoBasicView* mBasicView;
    QMenu* mRecentListsMenu = nullptr;
    QAction* mRepeatItem = nullptr;
    QAction* mUseDebuggerItem = nullptr;

    void CreateOpenPanel();
    void CreateSavePanel();
    void SetFilePanelLabel();
    void SetDefaultEncoding();
    void StorePanelFolder();

    TRecentLists mRecentLists{recent_lists_file()};
    QFileDialog* mOpenPanel = nullptr;
    QComboBox* mEncodingMenu = nullptr;
    QCheckBox* mInsertCheckBox = nullptr;
    QFileDialog* mSavePanel = nullptr;
    platform::Message mSavePanelMessage;  // 'SAVE' with the continuation of the last Save As
};

// A menu item's text: the catalogue text of `key` ("%AppAuthor%" filled in) with `letter`
// merged in `format` as the item's mnemonic, then "..." when `dots`.
std::string main_menu_label(const std::string& format, const char* key, const char* letter, bool dots);
