#include "ui/debugwindow/DebugWindow.h"

#include "foundation/Common.h"
#include "foundation/PrefsMessages.h"
#include "platform/Locale.h"
#include "ui/debugwindow/DebugView.h"
#include "ui/runwindow/RunView.h"

TDebugWindow::TDebugWindow(platform::Rect frame)
    : TBasicWindow(frame, kRunAppName), mDebugView(new TDebugView(platform::Rect{0, 0, 499, 499}))
{
    AddChild(mDebugView);
    mDebugView->resize(width(), height());
    SetWinTitle();
}

TDebugWindow::~TDebugWindow() = default;

void TDebugWindow::SetRunView(TRunView* runView)
{
    mDebugView->SetRunView(runView);
}

void TDebugWindow::MessageReceived(platform::Message* message)
{
    if (message->what == kPrefsDebugFontChanged) {
        mDebugView->SetFontFamilyAndSize();
        return;
    }
    TBasicWindow::MessageReceived(message);
}

void TDebugWindow::IAPChanged(platform::Message* notice)
{
    mDebugView->IAPChanged(notice);
}

void TDebugWindow::LanguageChanged()
{
    SetWinTitle();
    mDebugView->LanguageChanged();
}

void TDebugWindow::SetWinTitle()
{
    setWindowTitle(QString::fromStdString(std::string(kRunAppName) + " " + platform::get_string("(Debug Window)")));
}

bool TDebugWindow::Quit()
{
    gExitStates.DebugWindowFrame = Frame();
    return QuitForApplication();
}
