#pragma once
// The bases of every window and main view of the program, and of its dialogs.
//
// A window is a top-level QWidget and also the looper of its messages: messages posted
// to it or to its views are handled one at a time on the GUI thread (LooperPump), after
// the window's common filters have seen them. Windows are made once and hidden between
// uses: the close box hides a window; only the application's own quit closes it.
//
// All of a window's members are touched on the GUI thread only. A setter that another
// thread calls hands its change to the GUI thread with RunOnGuiThread.

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Looper.h"
#include "platform/Message.h"
#include "platform/Messenger.h"
#include "platform/SystemMessages.h"
#include "platform/qt/LooperPump.h"
#include "ui/guibase/ClickCounter.h"
#include "ui/guibase/MessageFilter.h"
#include "ui/guibase/MouseDownManager.h"
#include "ui/guibase/ResizingMode.h"

// The notice that a shared preference changed.
inline constexpr uint32_t kIAPChangedMessage = platform::fourcc("_ipc");

class TBasicView;

class TBasicWindow : public QWidget, public platform::Looper {
public:
    // `frame`: the content's place on the screen, right and bottom edges inclusive.
    TBasicWindow(platform::Rect frame, const char* title);
    ~TBasicWindow() override;

    // '_BLC' calls LanguageChanged, '_ipc' IAPChanged, a close-box request QuitRequested.
    void MessageReceived(platform::Message* message) override;
    // With no current message (the application quits its windows itself): true, the
    // window may close. Otherwise (the close box): hides the window, false.
    virtual bool QuitRequested();
    // Shows a hidden window, or brings a shown one to the front.
    virtual void Appear();
    virtual void IAPChanged(platform::Message* notice);
    virtual void LanguageChanged();
    virtual void Show();
    virtual void Hide();
    bool IsHidden() const { return isHidden(); }

    // Moves the window to `where`, kept 5 pixels off the main screen's right and bottom
    // edges and never above or left of its top-left corner; returns the point used.
    platform::Point IntelligentMoveTo(platform::Point where);
    // Centres the window on the main screen; returns its new top-left corner.
    platform::Point IntelligentCentering();
    void MoveTo(platform::Point where);
    // Left and top 0, right and bottom the width and height less one pixel.
    platform::Rect Bounds() const;
    platform::Rect Frame() const;

    // Makes `view` a child of the window and a handler of its messages, then calls its
    // AttachedToWindow. Views are kept in the order they were added.
    void AddChild(TBasicView* view);
    TBasicView* ChildAt(int index) const;
    // The window owns the filter from now on.
    void AddCommonFilter(TMessageFilter* filter);

    // The application's quit: asks QuitRequested outside any message and, when it
    // agrees, closes the window. True when the window closed.
    bool QuitForApplication();
    // Runs `change` on the GUI thread while the window still exists; at once when
    // called there. For setters that other threads call.
    void RunOnGuiThread(std::function<void()> change);

protected:
    void DispatchMessage(platform::Message* message, platform::Handler* target) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    platform::LooperPump mPump;
    std::vector<std::unique_ptr<TMessageFilter>> mFilters;
    std::vector<TBasicView*> mViews;
    bool mClosingForApplication = false;
};

class TBasicView : public QWidget, public platform::Handler, public TMouseDownManager {
public:
    TBasicView(platform::Rect frame, const char* name, uint32_t resizingMode);
    ~TBasicView() override;

    // '_BLC' calls LanguageChanged, '_ipc' IAPChanged. A notice addressed to the window
    // reaches a view only through a spy filter that the view adds in AttachedToWindow.
    void MessageReceived(platform::Message* message) override;
    virtual void AttachedToWindow();
    virtual void IAPChanged(platform::Message* notice);
    virtual void LanguageChanged();

    // The window the view was added to, or null.
    TBasicWindow* Window() const;
    uint32_t ResizingMode() const { return mResizingMode; }
    platform::Rect Frame() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    uint32_t mResizingMode;
    TClickCounter mClickCounter;
};

// Moves the TBasicView children of `parent` as their resizing modes ask after the
// parent changed from `oldSize` to `newSize`.
void follow_resize_of(QWidget* parent, QSize oldSize, QSize newSize);
