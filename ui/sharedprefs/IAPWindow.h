#pragma once
// The shared-preferences window, "TAVREN Common Preferences": one per user session,
// made by the first application that asks for it while no other one's port answers,
// and kept (hidden between uses) until that application quits. Its first Show starts
// the port thread that brings the other applications' requests to its view.

#include <memory>

#include "foundation/IAPPortManager.h"
#include "foundation/InterAppPrefs.h"
#include "ui/guibase/DialogBase.h"
#include "ui/sharedprefs/IAPView.h"

class TIAPWindow : public TDialogWindow {
public:
    // Only the frame's top-left corner counts: the window takes the size of its view.
    explicit TIAPWindow(platform::Rect frame);
    // Stops the port thread, which closes the port.
    ~TIAPWindow() override;

    // The close box and a quit request through the port hide the window and put the
    // confirmed values back; only the application's own quit closes it.
    bool QuitRequested() override;
    void Show() override;
    void LanguageChanged() override;

    // The port thread's port, or kIAPNoPort before the first Show.
    int32_t Port() const;
    void SetWindowTitle();
    TIAPView* View() const { return mView; }

private:
    std::unique_ptr<TIAPPortManager> mPortManager;
    TIAPView* mView;
};

// Makes `registry` open its shared-preferences window as a TIAPWindow kept in
// `owner`, which the application destroys before its QApplication. The registry's
// ShowWindow must then be called on the GUI thread.
void install_iap_window_maker(TInterAppPrefs* registry, std::unique_ptr<TIAPWindow>* owner);
