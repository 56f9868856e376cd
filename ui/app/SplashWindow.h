#pragma once
// The borderless window that shows the start-up image, with a one-line status bar
// under it, while the application builds its windows. It never takes the focus.

#include <QImage>
#include <QLabel>
#include <string>

#include "ui/guibase/GUIBase.h"

class TSplashView : public TBasicView {
public:
    explicit TSplashView(platform::Rect frame);

    // One blank and `text`; null empties the bar. Drawn at once.
    void SetStatBarStr(const char* text);
    QLabel* StatusBar() const { return mStatBar; }
    const QImage& Image() const { return mImage; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage mImage;
    QLabel* mStatBar;
};

class TSplashWindow : public TBasicWindow {
public:
    // Only the frame's corner counts: the window takes the size of its view.
    explicit TSplashWindow(platform::Rect frame);

    void MessageReceived(platform::Message* message) override;
    // 'sssr': the status text "StatStr"; a message without it changes nothing.
    void SetSplashStrRqtd(platform::Message* message);
    TSplashView* View() const { return mView; }

private:
    TSplashView* mView;
};
