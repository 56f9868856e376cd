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
#include <mutex>

#include "machine/HostInterfaces.h"

class TMusicClock : public THostClock {
public:
    // Blocks the calling thread, which holds `lock`, until NowMicros() has reached
    // `deadline` or `woken()` is true. `woken` is evaluated with `lock` held; whoever
    // makes it true notifies `signal` after changing it under `lock`.
    virtual void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& signal,
                           int64_t deadline, const std::function<bool()>& woken) const = 0;
};

// The application's clock: std::chrono::steady_clock, the same time line as the
// platform's system_time and the MIDI backends.
class TSystemMusicClock : public TMusicClock {
public:
    int64_t NowMicros() const override;
    void SleepMicros(int64_t micros) const override;
    void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& signal,
                   int64_t deadline, const std::function<bool()>& woken) const override;

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
        : mNow(start), mAutoAdvance(autoAdvance) {}

    int64_t NowMicros() const override { return mNow.load(std::memory_order_acquire); }
    void SleepMicros(int64_t micros) const override;
    void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& signal,
                   int64_t deadline, const std::function<bool()>& woken) const override;

    void Set(int64_t now) { mNow.store(now, std::memory_order_release); }
    void Advance(int64_t micros) { mNow.fetch_add(micros, std::memory_order_acq_rel); }
    void SetAutoAdvance(bool on) { mAutoAdvance.store(on, std::memory_order_release); }

private:
    // Moves the clock forward to `deadline` unless it is already further.
    void MoveTo(int64_t deadline) const;

    mutable std::atomic<int64_t> mNow;
    std::atomic<bool> mAutoAdvance;
};
