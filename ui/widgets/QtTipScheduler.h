#pragma once
// Tip timers as single-shot QTimers on the GUI thread, on the system clock.

#include <QTimer>
#include <map>
#include <memory>

#include "ui/widgets/logic/ToolTipServices.h"

class QtTipScheduler : public TipScheduler {
public:
    QtTipScheduler() = default;
    ~QtTipScheduler() override = default;

    platform::bigtime_t Now() const override;
    TimerId Start(platform::bigtime_t delay, std::function<void()> fire) override;
    void Cancel(TimerId id) override;

    // The one the application's tips share.
    static QtTipScheduler& Shared();

private:
    TimerId mLastId = 0;
    std::map<TimerId, std::unique_ptr<QTimer>> mTimers;
};
