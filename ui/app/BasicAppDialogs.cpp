// The application's commands that open dialogs and pages; TAppDialogs
// (ui/appdialogs) makes and keeps the dialogs.

#include "ui/app/AppIdentity.h"
#include "ui/app/BasicApp.h"
#include "ui/app/KivoBasicWindow.h"
#include "ui/appdialogs/AppDialogs.h"

std::unique_ptr<TAppDialogs> TBasicApp::MakeDialogs()
{
    TAppDialogsHost host;
    host.MainFrame = [this] { return mMainWin ? mMainWin->Frame() : platform::Rect{}; };
    host.EditorView = [this] { return mMainWin ? platform::Messenger(mMainWin->BasicView()) : platform::Messenger(); };
    host.SetStatus = [this](const std::string& text) {
        if (mMainWin) mMainWin->SetStatBarStr(text);
    };
    return std::make_unique<TAppDialogs>(gAppNameE, std::move(host));
}

void TBasicApp::MItemGoToLineClicked(platform::Message*)
{
    mDialogs->MItemGoToLineClicked();
}

void TBasicApp::MItemRunLineClicked(platform::Message*)
{
    mDialogs->MItemRunLineClicked();
}

void TBasicApp::MItemRenumberClicked(platform::Message*)
{
    mDialogs->MItemRenumberClicked();
}

void TBasicApp::MItemRegisterMimeClicked(platform::Message*)
{
    mDialogs->MItemRegisterMimeClicked();
}

void TBasicApp::MItemTAVRENCommonPrefsClicked(platform::Message*)
{
    mDialogs->MItemTAVRENCommonPrefsClicked();
}

void TBasicApp::MItemHelpClicked(platform::Message*)
{
    mDialogs->MItemHelpClicked();
}

void TBasicApp::AboutRequested(platform::Message*)
{
    mDialogs->AboutRequested();
}

void TBasicApp::LanguageChanged(platform::Message*)
{
    mDialogs->LanguageChanged();
}
