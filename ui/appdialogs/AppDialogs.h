#pragma once
// The application's commands that open dialogs and pages: Go to Line, Run with Line
// Number, Renumber, Help, About, the author's web page, the shared preferences window
// and Register MIME, and the program-list document type at start-up. Each dialog is
// made on its first use below the main window and kept, hidden between uses. All of
// it runs on the GUI thread.

#include <functional>
#include <memory>
#include <string>

#include "platform/Geometry.h"
#include "platform/Message.h"
#include "platform/Messenger.h"
#include "platform/qt/AlertService.h"
#include "ui/appdialogs/LineInputDialogs.h"
#include "ui/appdialogs/RenumWindow.h"
#include "ui/sharedprefs/IAPWindow.h"
#include "ui/widgets/TAVRENAbout.h"

// What the commands need of the application.
struct TAppDialogsHost {
    std::function<platform::Rect()> MainFrame;          // the main window's frame now
    std::function<platform::Messenger()> EditorView;    // the target of the dialogs' requests
    std::function<void(const std::string&)> SetStatus;  // the main window's status bar
};

// Shows an alert and returns the chosen button (show_alert2 unless a test puts
// another in its place).
using TAlertShower =
    std::function<int32_t(const std::string& title, const std::string& text, const std::string& button0,
                          const std::string& button1, int32_t escapeIndex, platform::AlertType type)>;

class TAppDialogs {
public:
    // Makes gIAPs open the shared-preferences window here, kept by this object, when
    // no other application's window answers.
    TAppDialogs(std::string appName, TAppDialogsHost host);
    ~TAppDialogs();

    TAppDialogs(const TAppDialogs&) = delete;
    TAppDialogs& operator=(const TAppDialogs&) = delete;

    void MItemGoToLineClicked();           // 'gtln'
    void MItemRunLineClicked();            // 'runl'
    void MItemRenumberClicked();           // 'rnmb'
    void MItemHelpClicked();               // '_hlp'
    void MItemTAVRENCommonPrefsClicked();  // '_Ssp'
    void MItemRegisterMimeClicked();       // 'rmim'
    void AboutRequested();                 // the About item
    // At start-up: the document type's missing files, unless the exit states were
    // written by this very version (`savedVersion`, empty when there were none).
    void InstallBasicListMime(const std::string& savedVersion);

    // A shared-preference notice, already applied to gIAPs: a new accelerator format
    // relabels the input dialogs; the Renumber dialog gets the notice too.
    void IAPChanged(const platform::Message& notice);
    // Relabels the input dialogs (the other dialogs relabel themselves).
    void LanguageChanged();
    // Hides and closes the About box at the application's end.
    void CloseAbout();

    TSimpleInputWindow* GoToLineWin() const { return mGoToLineWin.get(); }
    TSimpleInputWindow* RunLineWin() const { return mRunLineWin.get(); }
    TRenumWindow* RenumWin() const { return mRenumWin.get(); }
    TTAVRENAboutWindow* AboutWin() const { return mAboutWin.get(); }

    // For tests and for the application's own settings.
    void SetAlertShower(TAlertShower shower) { mShowAlert = std::move(shower); }
    void SetExecutable(std::string folder, std::string name);
    void SetMimeDatabaseCommand(std::string command) { mMimeDatabaseCommand = std::move(command); }

private:
    void ShowLineInput(std::unique_ptr<TSimpleInputWindow>& dialog, TLineInputKind kind);
    void ShowErrorAlert(const std::string& text);
    std::string AlertTitle() const;

    std::string mAppName;
    TAppDialogsHost mHost;
    TAlertShower mShowAlert;
    std::string mExeFolder;
    std::string mExeName;
    std::string mMimeDatabaseCommand = "update-mime-database";
    std::unique_ptr<TSimpleInputWindow> mGoToLineWin;
    std::unique_ptr<TSimpleInputWindow> mRunLineWin;
    std::unique_ptr<TRenumWindow> mRenumWin;
    std::unique_ptr<TTAVRENAboutWindow> mAboutWin;
    std::unique_ptr<TIAPWindow> mIAPWin;
};
