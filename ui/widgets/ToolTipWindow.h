#pragma once
// The small pale-yellow window that shows a tip's text, and the application's list
// of such windows in the order they were made.

#include <QPointer>
#include <QWidget>
#include <string>
#include <vector>

#include "foundation/CharColor.h"
#include "ui/widgets/logic/ToolTipServices.h"

class TToolTipWindow : public QWidget {
public:
    // The width of the border around the text.
    static constexpr int kBorder = 1;
    // The border's colour.
    static constexpr rgb_color kTipBorder{96, 96, 96, 255};

    // A window named `name` that shows " text " in the default font with its top-left
    // corner at `where` on the screen, inside a thin border. It closes itself after
    // `showTime`.
    TToolTipWindow(const std::string& name, const std::string& tip, platform::bigtime_t showTime, platform::Point where,
                   TipScheduler* scheduler);
    ~TToolTipWindow() override;

    // Stops the quit timer and forgets the scheduler, which may go before the window.
    void Detach();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TipScheduler* mScheduler;
    TipScheduler::TimerId mQuitTimer = 0;
};

class QtTipWindows : public TipWindows {
public:
    explicit QtTipWindows(TipScheduler* scheduler) : mScheduler(scheduler) {}
    // Windows still there forget the scheduler.
    ~QtTipWindows() override;

    bool AnyOpen() const override;
    bool Close(const std::string& name) override;
    void Open(const std::string& name, const std::string& text, platform::bigtime_t showTime,
              platform::Point where) override;

    // The windows still open, oldest first.
    std::vector<QWidget*> OpenWindows() const;

    // The list the application's tips share, on the shared scheduler.
    static QtTipWindows& Shared();

private:
    TipScheduler* mScheduler;
    std::vector<QPointer<TToolTipWindow>> mWindows;
};
