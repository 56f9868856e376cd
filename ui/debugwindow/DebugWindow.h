#pragma once
// The debug window: holds the debug view; closing it hides it; it keeps its frame
// in "DWFr" when the application quits.

#include "ui/guibase/GUIBase.h"

class TDebugView;
class TRunView;

class TDebugWindow : public TBasicWindow {
public:
    explicit TDebugWindow(platform::Rect frame);
    ~TDebugWindow() override;

    void SetRunView(TRunView* runView);
    TDebugView* DebugView() const { return mDebugView; }

    // 'pdfc', relayed by the application from the preferences dialog, gives the view's
    // lists the debug font of gPrefs again.
    void MessageReceived(platform::Message* message) override;
    // The application posts '_ipc' to the window: the view's tool bar follows it.
    void IAPChanged(platform::Message* notice) override;
    void LanguageChanged() override;
    // Stores the frame as "DWFr", then closes for the application.
    bool Quit();

private:
    void SetWinTitle();

    TDebugView* mDebugView;
};
