#include "platform/TimerClock.h"

#include <chrono>

namespace platform {

namespace {

class SystemTimerClock : public TimerClock {
public:
    bigtime_t NowMicros() const override { return system_time(); }

    void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& signal, bigtime_t deadline,
                   const std::function<bool()>& woken) const override
    {
        while (!woken()) {
            if (deadline == kInfiniteTimeout) {
                signal.wait(lock);
                continue;
            }
            const bigtime_t now = system_time();
            if (now >= deadline) return;
            signal.wait_for(lock, std::chrono::microseconds(deadline - now));
        }
    }
};

}  // namespace

const TimerClock& TimerClock::System()
{
    static const SystemTimerClock clock;
    return clock;
}

bigtime_t ManualTimerClock::NowMicros() const
{
    std::lock_guard own(mMutex);
    return mNow;
}

void ManualTimerClock::WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable&, bigtime_t deadline,
                                 const std::function<bool()>& woken) const
{
    std::unique_lock own(mMutex);
    ++mWaiters;
    own.unlock();
    for (;;) {
        // The clock's lock is taken before the caller's is let go, so that a change
        // made under the caller's lock after `woken` was looked at cannot reach its
        // Notify before this waiter is parked.
        const bool done = woken();
        own.lock();
        if (done || mNow >= deadline) break;
        const uint64_t seen = mGeneration;
        lock.unlock();
        ++mParked;
        mChanged.notify_all();  // for WaitForParked
        mChanged.wait(own, [&] { return mGeneration != seen; });
        // Never the caller's lock while holding the clock's: Notify may be called
        // with the caller's lock held, and takes the clock's.
        own.unlock();
        lock.lock();
    }
    --mWaiters;
    mChanged.notify_all();  // for WaitForNoWaiters
}

void ManualTimerClock::Notify(std::condition_variable& signal) const
{
    {
        std::lock_guard own(mMutex);
        ChangedLocked();
    }
    signal.notify_all();
}

void ManualTimerClock::Advance(bigtime_t micros)
{
    std::lock_guard own(mMutex);
    mNow += micros;
    ChangedLocked();
}

bool ManualTimerClock::WaitForParked(int count, bigtime_t timeout) const
{
    std::unique_lock own(mMutex);
    return mChanged.wait_for(own, std::chrono::microseconds(timeout), [&] { return mParked >= count; });
}

bool ManualTimerClock::WaitForNoWaiters(bigtime_t timeout) const
{
    std::unique_lock own(mMutex);
    return mChanged.wait_for(own, std::chrono::microseconds(timeout), [&] { return mWaiters == 0; });
}

void ManualTimerClock::ChangedLocked() const
{
    ++mGeneration;
    mParked = 0;
    mChanged.notify_all();
}

}  // namespace platform
