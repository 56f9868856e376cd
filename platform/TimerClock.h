#pragma once
// The time that timers wait by: the system clock (system_time) with a wait on a
// condition that ends at a deadline. A timer thread waits on it until its next post is
// due and is woken early by whoever changes its state, who calls Notify. Tests put a
// manual clock in its place, so that a timer fires when the test moves the clock on
// and never while it holds it still.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>

#include "platform/Clock.h"

namespace platform {

class TimerClock {
public:
    virtual ~TimerClock() = default;

    // Microseconds of a monotonic clock.
    virtual bigtime_t NowMicros() const = 0;
    // Blocks the calling thread, which holds `lock`, until NowMicros() has reached
    // `deadline` (kInfiniteTimeout: never) or `woken()` is true. `woken` is evaluated
    // with `lock` held; whoever makes it true calls Notify(signal) after changing it
    // under `lock`.
    virtual void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& signal, bigtime_t deadline,
                           const std::function<bool()>& woken) const = 0;
    // Wakes the threads waiting on `signal`. Going through the clock lets a clock that
    // does not wait on `signal` itself wake them too.
    virtual void Notify(std::condition_variable& signal) const { signal.notify_all(); }

    // The system clock, which timers use unless they are given another.
    static const TimerClock& System();
};

// A clock that moves only when told to. Its waiters park on the clock itself; moving
// the clock or a Notify wakes every one of them to look again.
class ManualTimerClock : public TimerClock {
public:
    explicit ManualTimerClock(bigtime_t start = 1000000) : mNow(start) {}

    bigtime_t NowMicros() const override;
    void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& signal, bigtime_t deadline,
                   const std::function<bool()>& woken) const override;
    void Notify(std::condition_variable& signal) const override;

    void Advance(bigtime_t micros);
    // Waits, at most `timeout` of real time, until `count` threads are parked in
    // WaitUntil having seen the clock as it is now: each of them has looked at the time
    // and its condition since the last change and found nothing to do. False on timeout.
    bool WaitForParked(int count, bigtime_t timeout = 10 * 1000000LL) const;
    // Waits, at most `timeout` of real time, until no thread is in WaitUntil. A waiter
    // leaves it with its own lock held, so what it does next under that lock is done
    // before anyone else gets the lock. False on timeout.
    bool WaitForNoWaiters(bigtime_t timeout = 10 * 1000000LL) const;

private:
    // Wakes every parked waiter; the caller holds mMutex.
    void ChangedLocked() const;

    mutable std::mutex mMutex;
    mutable std::condition_variable mChanged;
    bigtime_t mNow;
    mutable uint64_t mGeneration = 0;  // counts changes: moves and notifications
    mutable int mParked = 0;           // waiters parked since the last change
    mutable int mWaiters = 0;          // threads in WaitUntil
};

}  // namespace platform
