#pragma once
// The clock that times music: the host clock (microseconds of a monotonic clock) with
// one more operation, a sleep that another thread can cut short. The player sleeps on
// it until its next command is due and is woken early by new music or a stop request.
// Tests put a manual clock in its place, which can also serve the machine as its host
// clock, so that every stamp is exact and no test waits for real music.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <limits>
#include <mutex>

#include "machine/host/HostInterfaces.h"

class TMusicClock : public THostClock {
public:
    // A deadline that never comes: the wait ends only when it is woken.
    static constexpr int64_t kNoDeadline = std::numeric_limits<int64_t>::max();
    // How often, at the latest, a waiter looks at `woken` again by itself, for the
    // conditions that change without a notification (a machine told to terminate).
    static constexpr int64_t kRecheckMicros = 20000;

    // Blocks the calling thread, which holds `lock`, until NowMicros() has reached
    // `deadline` or `woken()` is true. `woken` is evaluated with `lock` held; whoever
    // makes it true calls Notify(signal) after changing it under `lock`, or else it is
    // noticed within kRecheckMicros of real time.
    virtual void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& signal, int64_t deadline,
                           const std::function<bool()>& woken) const = 0;

    // Wakes the threads waiting on `signal`. Going through the clock lets a clock that
    // simulates time know that they run again.
    virtual void Notify(std::condition_variable& signal) const { signal.notify_all(); }
    // Notify, for a thread that hands work to the waiters (the machine waking the
    // player): a clock that simulates time lets them run until they wait again before
    // the caller goes on, so that the two never work at the same simulated moment.
    // On such a clock only a thread it counts as a participant may hand over.
    virtual void Handover(std::condition_variable& signal) const { Notify(signal); }
};

// The application's clock: std::chrono::steady_clock, the same time line as the
// platform's system_time and the MIDI backends.
class TSystemMusicClock : public TMusicClock {
public:
    int64_t NowMicros() const override;
    void SleepMicros(int64_t micros) const override;
    void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& signal, int64_t deadline,
                   const std::function<bool()>& woken) const override;

    // The instance a player uses unless it is given another clock.
    static const TSystemMusicClock& Instance();
};

// A clock that moves only when told to. With auto-advance on, a sleep or a wait that
// is not woken moves the clock straight to its end, so a player runs its music at once
// in simulated time; with it off, a sleeper waits until Advance or Set carries the
// clock past its deadline.
class TManualMusicClock : public TMusicClock {
public:
    explicit TManualMusicClock(int64_t start = 1000000, bool autoAdvance = false)
        : mNow(start), mAutoAdvance(autoAdvance)
    {}

    int64_t NowMicros() const override { return mNow.load(std::memory_order_acquire); }
    void SleepMicros(int64_t micros) const override;
    void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& signal, int64_t deadline,
                   const std::function<bool()>& woken) const override;

    void Set(int64_t now) { mNow.store(now, std::memory_order_release); }
    void Advance(int64_t micros) { mNow.fetch_add(micros, std::memory_order_acq_rel); }
    void SetAutoAdvance(bool on) { mAutoAdvance.store(on, std::memory_order_release); }

private:
    // Moves the clock forward to `deadline` unless it is already further.
    void MoveTo(int64_t deadline) const;

    mutable std::atomic<int64_t> mNow;
    std::atomic<bool> mAutoAdvance;
};
