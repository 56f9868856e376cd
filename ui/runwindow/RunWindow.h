#pragma once
// The run window: the run view below a menu bar with the two drive menus, "Copy" and
// "Window". It is of fixed size: exactly the 640 × 400 view, plus the bar when it is
// shown. The close box hides it and the run goes on; only the application's Quit
// closes it, storing its frame in "RWFr". The window manager's maximize request is
// taken as the zoom: it shows or hides the menu bar ("MBrS") instead of maximizing.
// Every key typed with Ctrl goes to the run view as 'ctkd' (CtrlKeyFilter.h).

#include <QMenuBar>
#include <array>

#include "platform/Messenger.h"
#include "ui/guibase/GUIBase.h"
#include "ui/runwindow/RunView.h"

// What the Window menu sends to the application.
inline constexpr uint32_t kShowMainWindowMessage = platform::fourcc("smwn");
inline constexpr uint32_t kShowDebugWindowMessage = platform::fourcc("sdwn");

class TRunWindow : public TBasicWindow {
public:
    // `frame`: the window's place ("RWFr"); `alerts` as for the run view.
    explicit TRunWindow(platform::Rect frame, TAlertSink* alerts = nullptr);
    ~TRunWindow() override;

    TRunView* RunView() const { return mRunView; }
    QMenuBar* MenuBar() const { return mMenuBar; }
    // Where the Window menu's items go (the application); none until it is set.
    void SetApplicationTarget(const platform::Messenger& target) { mAppTarget = target; }

    void Show() override;
    void IAPChanged(platform::Message* notice) override;
    void LanguageChanged() override;
    // Inverts "MBrS" and lays the window out again; the window keeps its size class.
    void Zoom();
    // The application's quit: stores the frame in "RWFr" and closes the window.
    bool Quit();

    void CreateMenu();
    void DestroyMenu();
    void SetLabelsCommon();
    void UpdateMBarVisibility();

protected:
    void changeEvent(QEvent* event) override;

private:
    void AddItem(QMenu* menu, const std::string& label, const platform::Message& message, bool toApplication);

    QMenuBar* mMenuBar;
    TRunView* mRunView;
    platform::Messenger mAppTarget;
    bool mZoomPending = false;  // a maximize request waits to be answered
};
