#include "ui/sharedprefs/IAPWindow.h"

#include "foundation/IAPPort.h"
#include "platform/Locale.h"

TIAPWindow::TIAPWindow(platform::Rect frame) : TDialogWindow(frame, "")
{
    platform::Rect origin{0, 0, frame.right - frame.left, frame.bottom - frame.top};
    mView = new TIAPView(origin);
    AddChild(mView);  // the view fits the window around itself
    SetWindowTitle();
}

TIAPWindow::~TIAPWindow()
{
    // Terminate, wake and wait: the thread ends before its messenger's target goes.
    mPortManager.reset();
}

bool TIAPWindow::QuitRequested()
{
    if (CurrentMessage() == nullptr) return true;
    if (!IsHidden()) Hide();
    mView->SetComponents(TIAPView::kCurrent);
    return false;
}

void TIAPWindow::Show()
{
    TDialogWindow::Show();
    if (mPortManager) return;
    mPortManager = std::make_unique<TIAPPortManager>(platform::Messenger(mView));
    mPortManager->Resume();
}

void TIAPWindow::LanguageChanged()
{
    SetWindowTitle();
}

int32_t TIAPWindow::Port() const
{
    return mPortManager ? mPortManager->Port() : kIAPNoPort;
}

void TIAPWindow::SetWindowTitle()
{
    setWindowTitle(QString::fromStdString(platform::get_string("TAVREN Common Preferences")));
}

void install_iap_window_maker(TInterAppPrefs* registry, std::unique_ptr<TIAPWindow>* owner)
{
    registry->SetWindowMaker([owner](const platform::Rect& frame) {
        *owner = std::make_unique<TIAPWindow>(frame);
        (*owner)->Show();
        return TIAPLocalWindow{(*owner)->Port(), platform::Messenger((*owner)->View())};
    });
}
