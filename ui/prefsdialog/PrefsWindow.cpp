#include "ui/prefsdialog/PrefsWindow.h"

#include "foundation/MidiOutMessages.h"
#include "platform/Locale.h"

TPrefsWindow::TPrefsWindow(platform::Rect frame, const TPrefsServices& services) : TDialogWindow(frame, "PrefWin")
{
    setObjectName(QStringLiteral("PrefWin"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, false);
    mView = new TPrefsView(services);
    setFixedSize(mView->size());
    AddChild(mView);
    mView->SetDelaySender();
    SetWinTitle();
}

void TPrefsWindow::MessageReceived(platform::Message* message)
{
    if (message->what == kUpdateMenuMidiOutRqtd || message->what == kRecreateMenuMidiOutRqtd) {
        PostMessage(*message, mView);
        return;
    }
    TDialogWindow::MessageReceived(message);
}

bool TPrefsWindow::QuitRequested()
{
    if (CurrentMessage() != nullptr) mView->ButtonCancelClicked();
    return TDialogWindow::QuitRequested();
}

void TPrefsWindow::LanguageChanged()
{
    SetWinTitle();
}

void TPrefsWindow::SetWinTitle()
{
    setWindowTitle(QString::fromStdString(platform::get_string("Preferences")));
}
