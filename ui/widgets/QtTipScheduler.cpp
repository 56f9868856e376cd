#include "ui/widgets/QtTipScheduler.h"

#include "platform/Clock.h"

platform::bigtime_t QtTipScheduler::Now() const
{
    return platform::system_time();
}

TipScheduler::TimerId QtTipScheduler::Start(platform::bigtime_t delay, std::function<void()> fire)
{
    TimerId id = ++mLastId;
    auto timer = std::make_unique<QTimer>();
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer.get(), &QTimer::timeout, [this, id, fire = std::move(fire)] {
        // The timer goes before the call, which may start or cancel others.
        auto it = mTimers.find(id);
        if (it == mTimers.end()) return;
        it->second.release()->deleteLater();
        mTimers.erase(it);
        fire();
    });
    timer->start(static_cast<int>((delay + 999) / 1000));
    mTimers.emplace(id, std::move(timer));
    return id;
}

void QtTipScheduler::Cancel(TimerId id)
{
    auto it = mTimers.find(id);
    if (it == mTimers.end()) return;
    it->second->stop();
    mTimers.erase(it);
}

QtTipScheduler& QtTipScheduler::Shared()
{
    static QtTipScheduler scheduler;
    return scheduler;
}
