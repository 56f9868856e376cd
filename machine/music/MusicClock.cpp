#include "machine/music/MusicClock.h"

#include <chrono>
#include <thread>

namespace {

using Steady = std::chrono::steady_clock;

// How often a sleeper on the manual clock looks at it again: Advance does not know
// the sleepers.
constexpr std::chrono::milliseconds kManualPoll{1};

}  // namespace

int64_t TSystemMusicClock::NowMicros() const
{
    return std::chrono::duration_cast<std::chrono::microseconds>(Steady::now().time_since_epoch()).count();
}

void TSystemMusicClock::SleepMicros(int64_t micros) const
{
    if (micros > 0) std::this_thread::sleep_for(std::chrono::microseconds(micros));
}

void TSystemMusicClock::WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& signal, int64_t deadline,
                                  const std::function<bool()>& woken) const
{
    const auto recheck = std::chrono::microseconds(kRecheckMicros);
    if (deadline == kNoDeadline) {
        while (!woken()) signal.wait_for(lock, recheck);
        return;
    }
    const Steady::time_point until{std::chrono::microseconds(deadline)};
    while (!woken() && Steady::now() < until) signal.wait_until(lock, std::min(until, Steady::now() + recheck));
}

const TSystemMusicClock& TSystemMusicClock::Instance()
{
    static const TSystemMusicClock clock;
    return clock;
}

void TManualMusicClock::MoveTo(int64_t deadline) const
{
    int64_t now = NowMicros();
    while (now < deadline && !mNow.compare_exchange_weak(now, deadline, std::memory_order_acq_rel)) {}
}

void TManualMusicClock::SleepMicros(int64_t micros) const
{
    const int64_t deadline = NowMicros() + micros;
    while (NowMicros() < deadline) {
        if (mAutoAdvance.load(std::memory_order_acquire)) {
            MoveTo(deadline);
            return;
        }
        std::this_thread::sleep_for(kManualPoll);
    }
}

void TManualMusicClock::WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& signal, int64_t deadline,
                                  const std::function<bool()>& woken) const
{
    while (!woken() && NowMicros() < deadline) {
        // Auto-advance moves the clock to a deadline, never to one that does not come.
        if (deadline != kNoDeadline && mAutoAdvance.load(std::memory_order_acquire)) {
            MoveTo(deadline);
            return;
        }
        signal.wait_for(lock, kManualPoll);
    }
}
